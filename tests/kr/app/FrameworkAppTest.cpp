#include "kr/app/FrameworkApp.h"

#include "kr/notify/NotificationCenterManager.h"

#include <gtest/gtest.h>

namespace
{

TEST(FrameworkApp, TheNotificationCenterIsTheOneNamedApplicationAndStaysTheSame)
{
    const KR::RCPtr<KR::LNotificationCenter> center = KR::LFrameworkApp::GetNotificationCenter();
    ASSERT_TRUE(center);
    EXPECT_TRUE(center->GetName() == KR::String(u"application"));
    EXPECT_EQ(KR::LFrameworkApp::GetNotificationCenter().Get(), center.Get());
    EXPECT_EQ(KR::LNotificationCenterManager::GetInstance()->FindCenter(u"application").Get(), center.Get());
}

TEST(FrameworkApp, AfterTheCenterManagerIsReleasedANewCenterIsMade)
{
    const KR::LNotificationCenter* first = KR::LFrameworkApp::GetNotificationCenter().Get();
    ASSERT_NE(first, nullptr);
    KR::LNotificationCenterManager::ReleaseInstance();
    const KR::RCPtr<KR::LNotificationCenter> second = KR::LFrameworkApp::GetNotificationCenter();
    ASSERT_TRUE(second);
    EXPECT_EQ(KR::LNotificationCenterManager::GetInstance()->FindCenter(u"application").Get(), second.Get());
}

} // namespace
