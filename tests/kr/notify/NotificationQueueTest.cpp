#include "kr/notify/NotificationQueue.h"

#include "kr/notify/NotifyTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using KR::LNotification;
using KR::LNotificationDistributor;
using KR::LNotificationQueue;
using KR::RCPtr;
using KR::Testing::NewLog;
using KR::Testing::Payload;
using KR::Testing::RecordingClient;
using Log = std::vector<std::string>;

constexpr const char16_t* kTick = u"NID_TEST_TICK";

class TrackedQueue : public LNotificationQueue, public KR::Testing::Tracked
{
};

// A queue delivering through its own distributor, with one client listening to it.
struct QueueAndClient
{
    RCPtr<LNotificationQueue> queue{new LNotificationQueue};
    RCPtr<LNotificationDistributor> distributor{new LNotificationDistributor};
    std::shared_ptr<Log> log = NewLog();
    RCPtr<RecordingClient> client{new RecordingClient("client", log)};

    QueueAndClient()
    {
        EXPECT_EQ(queue->SetDistributor(distributor), KR::kOk);
        client->RegisterForNotification(distributor, kTick);
    }
    ~QueueAndClient() { queue->Shutdown(); }

    RCPtr<LNotification> Post(int value)
    {
        const RCPtr<LNotification> n = LNotification::Create(kTick, RCPtr<Payload>(new Payload(value)));
        EXPECT_EQ(queue->PostNotification(n), KR::kOk);
        return n;
    }

    std::vector<int> ReceivedValues() const
    {
        std::vector<int> values;
        for (const RCPtr<LNotification>& n : client->received)
        {
            values.push_back(n->GetDataAs<Payload>() ? n->GetDataAs<Payload>()->value : -1);
        }
        return values;
    }
};

TEST(NotificationQueue, ANotificationWaitsInOneQueueOnce)
{
    QueueAndClient f;
    const RCPtr<LNotification> n = f.Post(1);
    EXPECT_TRUE(n->IsQueued());
    EXPECT_EQ(f.queue->PostNotification(n), KR::kInvalidArg);
    RCPtr<LNotificationQueue> second(new LNotificationQueue);
    second->SetDistributor(f.distributor);
    EXPECT_EQ(second->PostNotification(n), KR::kInvalidArg);
    EXPECT_EQ(f.queue->PostNotification(nullptr), KR::kInvalidArg);
    EXPECT_EQ(f.queue->PostNotificationByName(u""), KR::kInvalidArg);
    EXPECT_EQ(f.queue->GetQueuedCount(), 1u);
    EXPECT_FALSE(f.queue->ProcessNotifications(false));
    EXPECT_FALSE(n->IsQueued());
    EXPECT_EQ(f.ReceivedValues(), (std::vector<int>{1}));
    second->Shutdown();
}

TEST(NotificationQueue, PostingNeedsADistributor)
{
    RCPtr<LNotificationQueue> queue(new LNotificationQueue);
    const RCPtr<LNotification> n = LNotification::Create(kTick);
    EXPECT_EQ(queue->PostNotification(n), KR::kFail);
    EXPECT_FALSE(n->IsQueued());
    EXPECT_EQ(queue->GetQueuedCount(), 0u);
    // Draining without a distributor sends nothing, idle included.
    EXPECT_FALSE(queue->ProcessNotifications(true));
    EXPECT_EQ(queue->SetDistributor(nullptr), KR::kOk);
    EXPECT_EQ(queue->SetDistributor(RCPtr<LNotificationDistributor>(new LNotificationDistributor)), KR::kOk);
    EXPECT_EQ(queue->SetDistributor(RCPtr<LNotificationDistributor>(new LNotificationDistributor)),
              KR::kFail);
}

TEST(NotificationQueue, ThreeHundredPostingsAreKeptAndDrainedInOrder)
{
    QueueAndClient f;
    std::vector<int> expected;
    for (int i = 0; i < 300; ++i)
    {
        f.Post(i);
        expected.push_back(i);
    }
    EXPECT_EQ(f.queue->GetQueuedCount(), 300u);
    EXPECT_FALSE(f.queue->ProcessNotifications(false));
    EXPECT_EQ(f.ReceivedValues(), expected);
    for (const RCPtr<LNotification>& n : f.client->received)
    {
        EXPECT_FALSE(n->IsQueued());
    }
}

TEST(NotificationQueue, WhatAReceiverPostsDuringADrainComesWithTheNextDrain)
{
    QueueAndClient f;
    f.client->onReceive = [&](const RCPtr<LNotification>& n)
    {
        const int value = n->GetDataAs<Payload>()->value;
        if (value < 10)
        {
            f.Post(value + 10);
        }
    };
    f.Post(1);
    f.Post(2);
    EXPECT_TRUE(f.queue->ProcessNotifications(false));
    EXPECT_EQ(f.ReceivedValues(), (std::vector<int>{1, 2}));
    EXPECT_FALSE(f.queue->ProcessNotifications(false));
    EXPECT_EQ(f.ReceivedValues(), (std::vector<int>{1, 2, 11, 12}));
}

TEST(NotificationQueue, IdleFollowsTheQueuedNotificationsOnlyWhenAsked)
{
    QueueAndClient f;
    RCPtr<RecordingClient> idle(new RecordingClient("idle", f.log));
    idle->RegisterForNotification(f.distributor, KR::kNidIdle);
    f.Post(1);
    f.queue->ProcessNotifications(false);
    EXPECT_EQ(*f.log, (Log{"client"}));
    f.Post(2);
    f.queue->ProcessNotifications(true);
    EXPECT_EQ(*f.log, (Log{"client", "client", "idle"}));
    EXPECT_EQ(idle->received.at(0)->GetID(), KR::GetNotificationID(u"NID_IDLE"));
    idle->UnregisterForAllNotifications();
}

TEST(NotificationQueue, ADrainStartedFromInsideADrainSendsOnlyIdle)
{
    QueueAndClient f;
    RCPtr<RecordingClient> idle(new RecordingClient("idle", f.log));
    idle->RegisterForNotification(f.distributor, KR::kNidIdle);
    f.client->onReceive = [&](const RCPtr<LNotification>&) { f.queue->ProcessNotifications(true); };
    f.Post(1);
    f.Post(2);
    f.queue->ProcessNotifications(false);
    EXPECT_EQ(*f.log, (Log{"client", "idle", "client", "idle"}));
    idle->UnregisterForAllNotifications();
}

TEST(NotificationQueue, OnlyTheLastPostedReachesAnOnlyLastPostedRegistration)
{
    QueueAndClient f;
    RCPtr<RecordingClient> status(new RecordingClient("status", f.log));
    status->RegisterForNotification(f.distributor, kTick, LNotificationDistributor::kOnlyLastPosted);
    f.Post(1);
    const RCPtr<LNotification> second = f.Post(2);
    f.queue->ProcessNotifications(false);
    ASSERT_EQ(status->received.size(), 1u);
    EXPECT_EQ(status->received[0].Get(), second.Get());
    EXPECT_EQ(f.ReceivedValues(), (std::vector<int>{1, 2}));
    // Delivered once: a later direct send of the same object does not reach it again.
    f.distributor->SendNotification(second);
    EXPECT_EQ(status->received.size(), 1u);
    status->UnregisterForAllNotifications();
}

TEST(NotificationQueue, APostingReceiverTurnsSendsIntoQueuedCopies)
{
    QueueAndClient f;
    RCPtr<LNotificationDistributor> worker(new LNotificationDistributor);
    const auto receiver = f.queue->GetPostingReceiver();
    ASSERT_TRUE(receiver);
    EXPECT_EQ(receiver->GetQueue().Get(), f.queue.Get());
    EXPECT_EQ(worker->AddClient(receiver, kTick), KR::kOk);

    const RCPtr<Payload> payload(new Payload(7));
    const RCPtr<LNotification> sent = LNotification::Create(kTick, payload);
    worker->SendNotification(sent);
    EXPECT_TRUE(f.client->received.empty());
    f.queue->ProcessNotifications(false);
    ASSERT_EQ(f.client->received.size(), 1u);
    EXPECT_NE(f.client->received[0].Get(), sent.Get());
    EXPECT_EQ(f.client->received[0]->GetID(), sent->GetID());
    EXPECT_EQ(f.client->received[0]->GetData().Get(), payload.Get());
    EXPECT_EQ(f.client->senders[0], f.distributor.Get());

    // It declines to leave when the distributor clears its clients.
    EXPECT_EQ(worker->RemoveAllClients(), KR::kOk);
    EXPECT_TRUE(worker->HasClient(receiver.Get()));
    EXPECT_EQ(worker->RemoveClient(receiver, kTick), KR::kOk);
    EXPECT_FALSE(worker->IsActive());
}

TEST(NotificationQueue, ShutdownDropsTheQueuedAndRefusesFurtherPostings)
{
    QueueAndClient f;
    const RCPtr<LNotification> waiting = f.Post(1);
    const auto receiver = f.queue->GetPostingReceiver();
    f.queue->Shutdown();
    EXPECT_FALSE(waiting->IsQueued());
    EXPECT_EQ(f.queue->GetQueuedCount(), 0u);
    EXPECT_FALSE(f.queue->GetPostingReceiver());
    EXPECT_FALSE(receiver->GetQueue());
    EXPECT_EQ(receiver->Receive(f.distributor, waiting), KR::kFail);
    EXPECT_EQ(f.queue->PostNotification(waiting), KR::kFail);
    EXPECT_EQ(f.queue->SetDistributor(f.distributor), KR::kFail);
    EXPECT_FALSE(f.queue->ProcessNotifications(true));
    EXPECT_TRUE(f.client->received.empty());
    f.queue->Shutdown();
}

TEST(NotificationQueue, DiscardingClearsTheQueuedMarks)
{
    QueueAndClient f;
    const RCPtr<LNotification> a = f.Post(1);
    const RCPtr<LNotification> b = f.Post(2);
    EXPECT_FALSE(f.queue->DiscardNotifications());
    EXPECT_FALSE(a->IsQueued());
    EXPECT_FALSE(b->IsQueued());
    f.queue->ProcessNotifications(false);
    EXPECT_TRUE(f.client->received.empty());
    // Discarded notifications may be posted again.
    EXPECT_EQ(f.queue->PostNotification(a), KR::kOk);
}

TEST(NotificationQueue, AQueueThatNobodyHoldsIsShutDownAndDestroyed)
{
    RCPtr<TrackedQueue> queue(new TrackedQueue);
    const auto destroyed = queue->DestroyedFlag();
    const auto receiver = queue->GetPostingReceiver();
    RCPtr<LNotificationDistributor> distributor(new LNotificationDistributor);
    queue->SetDistributor(distributor);
    queue->PostNotificationByName(kTick);
    queue = nullptr;
    EXPECT_TRUE(*destroyed);
    EXPECT_FALSE(receiver->GetQueue());
    EXPECT_EQ(distributor->GetRefCount(), 1);
}

} // namespace
