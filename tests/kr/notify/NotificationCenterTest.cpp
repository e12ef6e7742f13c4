#include "kr/notify/NotificationCenterManager.h"

#include "kr/notify/ApplicationCenter.h"
#include "kr/notify/NotifyTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace
{

using KR::LNotificationCenter;
using KR::LNotificationCenterManager;
using KR::RCPtr;
using KR::Testing::NewLog;
using KR::Testing::RecordingClient;
using Log = std::vector<std::string>;

constexpr const char16_t* kExit = u"NID_TEST_EXIT_REQ";

// Every test starts without a manager and leaves none behind.
class NotificationCenterManagerTest : public ::testing::Test
{
protected:
    void TearDown() override { LNotificationCenterManager::ReleaseInstance(); }
};

TEST_F(NotificationCenterManagerTest, TheApplicationCenterIsMadeOnceAndAnEmptyNameGivesNone)
{
    const RCPtr<LNotificationCenterManager> manager = LNotificationCenterManager::GetInstance();
    EXPECT_EQ(LNotificationCenterManager::GetInstance().Get(), manager.Get());
    EXPECT_FALSE(manager->FindCenter(KR::kApplicationCenterName));
    const RCPtr<LNotificationCenter> app = manager->GetNotificationCenter(KR::kApplicationCenterName);
    ASSERT_TRUE(app);
    EXPECT_TRUE(app->GetName() == u"application");
    EXPECT_EQ(manager->GetNotificationCenter(KR::String(u"application")).Get(), app.Get());
    EXPECT_EQ(manager->FindCenter(u"application").Get(), app.Get());
    EXPECT_NE(manager->GetNotificationCenter(u"Application").Get(), app.Get());
    EXPECT_FALSE(manager->GetNotificationCenter(u""));
    EXPECT_FALSE(manager->FindCenter(u""));
}

TEST_F(NotificationCenterManagerTest,
       TheApplicationCenterKeptAtHandIsTheOneOfThatNameHoweverItWasFirstAskedFor)
{
    // Asked for by name first, then at hand; at hand first, then by name; and again after
    // the manager was let go, from threads that ask at once.
    const RCPtr<LNotificationCenter> byName =
        LNotificationCenterManager::GetInstance()->GetNotificationCenter(KR::kApplicationCenterName);
    EXPECT_EQ(KR::GetApplicationNotificationCenter().Get(), byName.Get());
    LNotificationCenterManager::ReleaseInstance();

    const RCPtr<LNotificationCenter> atHand = KR::GetApplicationNotificationCenter();
    ASSERT_TRUE(atHand);
    EXPECT_NE(atHand.Get(), byName.Get());
    EXPECT_EQ(LNotificationCenterManager::GetInstance()->FindCenter(u"application").Get(), atHand.Get());
    EXPECT_EQ(KR::GetApplicationNotificationCenter().Get(), atHand.Get());
    LNotificationCenterManager::ReleaseInstance();

    constexpr int kThreads = 6;
    std::vector<RCPtr<LNotificationCenter>> seen(kThreads);
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i)
    {
        threads.emplace_back(
            [&, i]
            {
                while (!go.load(std::memory_order_acquire))
                {
                    std::this_thread::yield();
                }
                seen[i] = i % 2 == 0 ? KR::GetApplicationNotificationCenter()
                                     : LNotificationCenterManager::GetInstance()->GetNotificationCenter(
                                           KR::kApplicationCenterName);
            });
    }
    go.store(true, std::memory_order_release);
    for (std::thread& thread : threads)
    {
        thread.join();
    }
    const RCPtr<LNotificationCenter> after = KR::GetApplicationNotificationCenter();
    for (int i = 0; i < kThreads; ++i)
    {
        EXPECT_EQ(seen[i].Get(), after.Get()) << i;
    }
}

TEST_F(NotificationCenterManagerTest, TheManagerDrainsEveryCenterThenSendsIdle)
{
    auto log = NewLog();
    const auto manager = LNotificationCenterManager::GetInstance();
    const auto app = manager->GetNotificationCenter(KR::kApplicationCenterName);
    const auto midi = manager->GetNotificationCenter(u"midi");
    RCPtr<RecordingClient> appClient(new RecordingClient("app", log));
    RCPtr<RecordingClient> midiClient(new RecordingClient("midi", log));
    RCPtr<RecordingClient> idle(new RecordingClient("idle", log));
    appClient->RegisterForNotification(app, kExit);
    midiClient->RegisterForNotification(midi, kExit);
    idle->RegisterForNotification(app, KR::kNidIdle);

    EXPECT_EQ(app->PostNotificationByName(kExit), KR::kOk);
    EXPECT_EQ(midi->PostNotificationByName(kExit), KR::kOk);
    EXPECT_TRUE(log->empty());
    // The newest center first; each center's idle after its own queue.
    EXPECT_FALSE(manager->ProcessNotifications(true));
    EXPECT_EQ(*log, (Log{"midi", "app", "idle"}));
    EXPECT_EQ(appClient->senders.at(0), static_cast<const KR::LNotificationDistributor*>(app.Get()));

    appClient->onReceive = [&](const auto&) { app->PostNotificationByName(kExit); };
    app->PostNotificationByName(kExit);
    EXPECT_TRUE(manager->ProcessNotifications(false));
}

TEST_F(NotificationCenterManagerTest, ReleasingTheManagerTearsItsCentersDown)
{
    auto log = NewLog();
    RCPtr<RecordingClient> client(new RecordingClient("c", log));
    RCPtr<LNotificationCenter> app =
        LNotificationCenterManager::GetInstance()->GetNotificationCenter(KR::kApplicationCenterName);
    const auto receiver = app->GetPostingReceiver();
    client->RegisterForNotification(app, kExit);
    const auto waiting = KR::LNotification::Create(kExit);
    app->PostNotification(waiting);
    app = nullptr;

    LNotificationCenterManager::ReleaseInstance();
    EXPECT_EQ(client->GetRegistrationCount(), 0);
    EXPECT_FALSE(receiver->GetQueue());
    EXPECT_FALSE(waiting->IsQueued());
    EXPECT_TRUE(log->empty());
    // A new manager makes a new center.
    const auto again =
        LNotificationCenterManager::GetInstance()->GetNotificationCenter(KR::kApplicationCenterName);
    EXPECT_EQ(again->GetQueuedCount(), 0u);
}

TEST(NotificationCenter, ACenterIsItsOwnQueuesDistributor)
{
    auto log = NewLog();
    RCPtr<LNotificationCenter> center(new LNotificationCenter(u"own"));
    EXPECT_EQ(center->GetDistributor().Get(), static_cast<KR::LNotificationDistributor*>(center.Get()));
    RCPtr<RecordingClient> client(new RecordingClient("c", log));
    client->RegisterForNotification(center, kExit);
    center->SendNotificationByName(kExit);
    center->PostNotificationByName(kExit);
    center->ProcessNotifications(false);
    EXPECT_EQ(*log, (Log{"c", "c"}));
    EXPECT_EQ(center->SetDistributor(RCPtr<KR::LNotificationDistributor>(new KR::LNotificationDistributor)),
              KR::kFail);
    const auto receiver = center->GetPostingReceiver();
    // Nothing but its own parts and its registrations hold it now: it sends its
    // clients away and shuts down.
    center = nullptr;
    EXPECT_FALSE(receiver->GetQueue());
    EXPECT_EQ(client->GetRegistrationCount(), 0);
}

} // namespace
