#include "kr/ui/GlobalHotKeyManager.h"

#include "kr/notify/NotificationClient.h"
#include "kr/notify/NotificationDistributor.h"
#include "kr/notify/NotificationQueue.h"
#include "kr/ui/HotKeyTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

using KR::KeyCode;
using KR::LGlobalHotKeyManager;
using KR::LNotification;
using KR::LNotificationDistributor;
using KR::LNotificationQueue;
using KR::RCPtr;
using KR::String;
namespace Flag = KR::ModifierFlag;

class NameRecorder : public KR::LNotificationClient
{
public:
    KR::Result Receive(const RCPtr<LNotificationDistributor>&,
                       const RCPtr<LNotification>& notification) override
    {
        names.push_back(KR::GetNotificationName(notification->GetID()));
        payloads.push_back(notification->GetData().Get() != nullptr);
        return 1;
    }

    std::vector<String> names;
    std::vector<bool> payloads;
};

// A window's queue, a client listening at its distributor, and a manager posting into it.
struct Fixture
{
    RCPtr<LNotificationQueue> queue{new LNotificationQueue};
    RCPtr<LNotificationDistributor> distributor{new LNotificationDistributor};
    RCPtr<NameRecorder> client{new NameRecorder};
    RCPtr<LGlobalHotKeyManager> manager;

    Fixture()
    {
        EXPECT_EQ(queue->SetDistributor(distributor), KR::kOk);
        for (const char16_t* name : {u"NID_EDIT_COPY_REQ", u"NID_MENU_FILE_SEND_PRESET_TO_DEVICE",
                                     u"NID_MENU_FILE_SAVE_PRESET_TO_FILE"})
        {
            client->RegisterForNotification(distributor, name);
        }
        manager = LGlobalHotKeyManager::Create(RCPtr<KR::LNotificationReceiver>(queue->GetPostingReceiver()));
        manager->GetHotKeyMap().AddFromStringTable(KR::Testing::ApplicationHotKeyTable(), u"GHK");
    }
    ~Fixture() { queue->Shutdown(); }
};

TEST(GlobalHotKeyManager, OnlyABoundKeyIsPostedAndItIsDeliveredAtTheNextDrain)
{
    Fixture f;
    EXPECT_EQ(f.manager->HandleKey(KeyCode::FromVirtualKey(0x43, false, 1, Flag::kCtrl)), KR::kNothingDone);
    EXPECT_EQ(f.manager->HandleKey(KeyCode::FromVirtualKey(0x43, true, 0, Flag::kCtrl | Flag::kShift)),
              KR::kNothingDone);
    EXPECT_EQ(f.queue->GetQueuedCount(), 0u);

    EXPECT_EQ(f.manager->HandleKey(KeyCode::FromVirtualKey(0x43, true, 0, Flag::kCtrl | Flag::kLeftCtrl)),
              KR::kOk);
    EXPECT_TRUE(f.client->names.empty());
    EXPECT_EQ(f.queue->GetQueuedCount(), 1u);

    f.queue->ProcessNotifications(false);
    ASSERT_EQ(f.client->names.size(), 1u);
    EXPECT_EQ(f.client->names[0], String(u"NID_EDIT_COPY_REQ"));
    EXPECT_FALSE(f.client->payloads[0]);
}

TEST(GlobalHotKeyManager, EachRepeatAndEachCombinationMakesItsOwnNotificationInOrder)
{
    Fixture f;
    EXPECT_EQ(f.manager->HandleKey(KeyCode::FromVirtualKey(0x43, true, 0, Flag::kCtrl)), KR::kOk);
    EXPECT_EQ(f.manager->HandleKey(KeyCode::FromVirtualKey(0x43, true, 1, Flag::kCtrl)), KR::kOk);
    EXPECT_EQ(f.manager->HandleKey(KeyCode::FromVirtualKey(0x53, true, 0, Flag::kCtrl | Flag::kShift)),
              KR::kOk);
    EXPECT_EQ(f.manager->HandleKey(KeyCode::FromVirtualKey(0x53, true, 0, Flag::kCtrl)), KR::kOk);
    f.queue->ProcessNotifications(false);
    const std::vector<String> expected{String(u"NID_EDIT_COPY_REQ"), String(u"NID_EDIT_COPY_REQ"),
                                       String(u"NID_MENU_FILE_SEND_PRESET_TO_DEVICE"),
                                       String(u"NID_MENU_FILE_SAVE_PRESET_TO_FILE")};
    EXPECT_EQ(f.client->names, expected);
}

TEST(GlobalHotKeyManager, WithoutATargetABoundKeyStillCounts)
{
    const RCPtr<LGlobalHotKeyManager> manager = LGlobalHotKeyManager::Create(nullptr);
    manager->GetHotKeyMap().AddFromStringTable(KR::Testing::ApplicationHotKeyTable(), u"GHK");
    EXPECT_EQ(manager->HandleKey(KeyCode::FromVirtualKey(0x2E, true, 0, 0)), KR::kOk);
    EXPECT_EQ(manager->HandleKey(KeyCode::FromVirtualKey(0x2F, true, 0, 0)), KR::kNothingDone);
}

} // namespace
