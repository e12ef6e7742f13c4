#include "kr/notify/Notification.h"

#include "kr/notify/NotificationQueue.h"
#include "kr/notify/NotifyTestSupport.h"

#include <gtest/gtest.h>

namespace
{

using KR::LNotification;
using KR::RCPtr;
using KR::Testing::Payload;
using KR::Testing::PoolingScope;

// Reaches the queued mark the way a queue does.
class QueueMarks : public KR::LNotificationQueue
{
public:
    static bool Mark(LNotification& notification) { return MarkQueued(notification); }
};

TEST(Notification, CreateWithoutANameGivesNothingWhetherPooledOrNot)
{
    for (const bool pooled : {false, true})
    {
        const PoolingScope pooling(pooled);
        EXPECT_FALSE(LNotification::Create(nullptr));
        EXPECT_FALSE(LNotification::Create(u""));
        EXPECT_FALSE(LNotification::Create(KR::NotificationID{77}));
    }
}

TEST(Notification, WithoutPoolingTheLastReleaseDestroysItAndItsPayload)
{
    const PoolingScope pooling(false);
    RCPtr<LNotification> n = LNotification::Create(u"NID_UNPOOLED", RCPtr<Payload>(new Payload));
    const auto payloadGone = n->GetDataAs<Payload>()->DestroyedFlag();
    n = nullptr;
    EXPECT_TRUE(*payloadGone);
    EXPECT_EQ(LNotification::GetPooledCount(), 0u);
}

TEST(Notification, PoolingReusesTheNewestReleasedNotificationWithTheNewIDAndPayload)
{
    const PoolingScope pooling(true);
    RCPtr<LNotification> first = LNotification::Create(u"NID_POOLED_A", RCPtr<Payload>(new Payload(1)));
    RCPtr<LNotification> second = LNotification::Create(u"NID_POOLED_B");
    const auto firstPayloadGone = first->GetDataAs<Payload>()->DestroyedFlag();
    const LNotification* const firstObject = first.Get();
    const LNotification* const secondObject = second.Get();

    first = nullptr;
    // Recycled notifications drop their payload at once.
    EXPECT_TRUE(*firstPayloadGone);
    second = nullptr;
    EXPECT_EQ(LNotification::GetPooledCount(), 2u);

    const RCPtr<Payload> payload(new Payload(3));
    const RCPtr<LNotification> reused = LNotification::Create(u"NID_POOLED_C", payload);
    EXPECT_EQ(reused.Get(), secondObject);
    EXPECT_EQ(reused->GetID(), KR::GetNotificationID(u"NID_POOLED_C"));
    EXPECT_EQ(reused->GetData().Get(), payload.Get());
    EXPECT_EQ(reused->GetDataAs<Payload>()->value, 3);
    EXPECT_FALSE(reused->GetDataAs<LNotification>());
    EXPECT_EQ(LNotification::Create(u"NID_POOLED_D").Get(), firstObject);
}

TEST(Notification, SwitchingPoolingOffDestroysThePooledNotifications)
{
    LNotification::SetPoolingEnabled(true);
    for (int i = 0; i < 3; ++i)
    {
        // Each is released at once, the next one reuses it: one pooled object.
        LNotification::Create(u"NID_POOLED_OFF");
    }
    RCPtr<LNotification> a = LNotification::Create(u"NID_POOLED_OFF");
    RCPtr<LNotification> b = LNotification::Create(u"NID_POOLED_OFF");
    a = nullptr;
    b = nullptr;
    EXPECT_EQ(LNotification::GetPooledCount(), 2u);
    LNotification::SetPoolingEnabled(false);
    EXPECT_EQ(LNotification::GetPooledCount(), 0u);
    // With pooling off a release no longer keeps anything.
    LNotification::Create(u"NID_POOLED_OFF");
    EXPECT_EQ(LNotification::GetPooledCount(), 0u);
}

TEST(Notification, ANotificationReleasedWhileMarkedQueuedIsReusedClean)
{
    const PoolingScope pooling(true);
    RCPtr<LNotification> stale = LNotification::Create(u"NID_STALE", RCPtr<Payload>(new Payload(1)));
    const auto payloadGone = stale->GetDataAs<Payload>()->DestroyedFlag();
    ASSERT_TRUE(QueueMarks::Mark(*stale));
    const LNotification* const object = stale.Get();
    stale = nullptr;
    EXPECT_TRUE(*payloadGone);

    const RCPtr<Payload> payload(new Payload(2));
    const RCPtr<LNotification> fresh = LNotification::Create(u"NID_FRESH", payload);
    ASSERT_EQ(fresh.Get(), object);
    EXPECT_EQ(fresh->GetID(), KR::GetNotificationID(u"NID_FRESH"));
    EXPECT_EQ(fresh->GetData().Get(), payload.Get());
    EXPECT_FALSE(fresh->IsQueued());
}

} // namespace
