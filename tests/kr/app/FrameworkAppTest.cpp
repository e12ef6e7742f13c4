#include "kr/app/FrameworkApp.h"

#include "kr/notify/NotificationCenterManager.h"
#include "kr/notify/NotificationClient.h"
#include "kr/ui/GlobalHotKeyManager.h"
#include "kr/ui/RootWindowServices.h"
#include "support/FrameworkAppStandIn.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using KR::IFrameworkApp;
using KR::IRootWindowServices;
using KR::LFrameworkApp;
using KR::RCPtr;

// What happened during an idle step, in order.
using Log = std::vector<std::string>;

class IdleWindow : public IRootWindowServices
{
public:
    IdleWindow(Log& log, std::string name) : log(log), name(std::move(name)) {}
    bool OnIdle(bool) override
    {
        log.push_back(name);
        return false;
    }
    RCPtr<KR::LControl> GetFocusControl() const override { return nullptr; }
    void SetFocusControl(const RCPtr<KR::LControl>&) override {}
    void SaveAndClearFocus() override {}
    KR::Result SetCapture(const RCPtr<KR::LControl>&) override { return KR::kOk; }
    KR::Result ReleaseCapture() override { return KR::kOk; }
    std::uint32_t SetCursor(std::uint32_t) override { return 0; }
    KR::PointI GetMousePosition() override { return {}; }
    std::uint32_t GetMouseButtons() override { return 0; }
    void UpdateHoverAtPointer() override {}
    void InvalidateRect(const KR::RectD&) override {}
    KR::PointI GetClientSize() override { return {}; }

    Log& log;
    std::string name;
};

class CenterListener : public KR::LNotificationClient
{
public:
    explicit CenterListener(Log& log) : log(log) {}
    KR::Result Receive(const RCPtr<KR::LNotificationDistributor>&,
                       const RCPtr<KR::LNotification>& notification) override
    {
        log.push_back(KR::GetNotificationName(notification->GetID()).ToUtf8().GetPtr());
        return 1;
    }
    Log& log;
};

TEST(FrameworkApp, TheNotificationCenterIsTheOneNamedApplicationAndOutlivesItsManager)
{
    const RCPtr<KR::LNotificationCenter> center = LFrameworkApp::GetNotificationCenter();
    ASSERT_TRUE(center);
    EXPECT_TRUE(center->GetName() == KR::String(u"application"));
    EXPECT_EQ(KR::LNotificationCenterManager::GetInstance()->FindCenter(u"application").Get(), center.Get());
    KR::LNotificationCenterManager::ReleaseInstance();
    const RCPtr<KR::LNotificationCenter> second = LFrameworkApp::GetNotificationCenter();
    ASSERT_TRUE(second);
    EXPECT_EQ(KR::LNotificationCenterManager::GetInstance()->FindCenter(u"application").Get(), second.Get());
}

TEST(FrameworkApp, IdleDrainsTheApplicationCenterFirstThenAsksTheWindowsLastToFirst)
{
    LFrameworkApp app(u"Test");
    Log log;
    RCPtr<CenterListener> listener(new CenterListener(log));
    listener->RegisterForNotification(LFrameworkApp::GetNotificationCenter(), u"NID_TEST_POSTED");
    const RCPtr<IRootWindowServices> main(new IdleWindow(log, "main"));
    const RCPtr<IRootWindowServices> dialog(new IdleWindow(log, "dialog"));
    EXPECT_EQ(app.AddRootWindow(main), KR::kOk);
    EXPECT_EQ(app.AddRootWindow(dialog), KR::kOk);
    EXPECT_EQ(app.AddRootWindow(main), KR::kNothingDone);
    EXPECT_EQ(app.GetMainWindow(), main);

    LFrameworkApp::GetNotificationCenter()->PostNotificationByName(u"NID_TEST_POSTED");
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(app.OnIdle(false));
    EXPECT_EQ(log, (Log{"NID_TEST_POSTED", "dialog", "main"}));

    app.SetActiveRootWindow(dialog);
    EXPECT_EQ(app.RemoveRootWindow(dialog), KR::kOk);
    EXPECT_FALSE(app.GetActiveRootWindow());
    EXPECT_EQ(app.RemoveRootWindow(dialog), KR::kNothingDone);
    EXPECT_EQ(app.GetRootWindowCount(), 1u);
    listener->UnregisterForAllNotifications();
}

TEST(FrameworkApp, AHotKeyHandedToTheApplicationArrivesAtTheNextIdleStep)
{
    LFrameworkApp app(u"Test");
    Log log;
    RCPtr<CenterListener> listener(new CenterListener(log));
    listener->RegisterForNotification(LFrameworkApp::GetNotificationCenter(), u"NID_EDIT_COPY_REQ");
    const KR::KeyCode key = KR::KeyCode::FromVirtualKey(0x43, true, 0, KR::ModifierFlag::kCtrl);
    app.GetGlobalHotKeyManager()->GetHotKeyMap().AddHotKey(key, u"NID_EDIT_COPY_REQ");
    EXPECT_EQ(IFrameworkApp::GetInstance().GetGlobalHotKeyManager()->HandleKey(key), KR::kOk);
    EXPECT_TRUE(log.empty());
    app.OnIdle(true);
    EXPECT_EQ(log, (Log{"NID_EDIT_COPY_REQ"}));
    listener->UnregisterForAllNotifications();
}

TEST(FrameworkApp, OneApplicationPerProcessInstalledWhileItLives)
{
    KR::TestSupport::LStandInFrameworkApp standIn;
    {
        LFrameworkApp app(u"Test");
        EXPECT_EQ(&IFrameworkApp::GetInstance(), &app);
        EXPECT_THROW(LFrameworkApp second(u"Second"), std::logic_error);
        EXPECT_EQ(&IFrameworkApp::GetInstance(), &app);
        EXPECT_TRUE(app.GetControlFactory());
        EXPECT_TRUE(app.GetClipboard());
        const double start = app.GetSecondsSinceStart();
        EXPECT_GE(start, 0.0);
        EXPECT_GE(app.GetSecondsSinceStart(), start);
    }
    EXPECT_EQ(&IFrameworkApp::GetInstance(), &standIn);
    LFrameworkApp again(u"Again");
    EXPECT_EQ(&IFrameworkApp::GetInstance(), &again);
}

} // namespace
