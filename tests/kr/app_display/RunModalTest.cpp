#include "kr/app/FrameworkApp.h"
#include "kr/app_display/ModalSupport.h"
#include "kr/notify/Notification.h"
#include "kr/ui/ControlTestSupport.h"
#include "kr/ui/RootWindow.h"
#include "platform/window_display/DisplayFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace KR
{
namespace
{

// Ends its dialog from its first paint, after noting the size of the window it got.
class Dialog : public LControl
{
public:
    using LControl::LControl;
    Result DrawContent(const RCPtr<LRenderer>&) override
    {
        if (auto* root = dynamic_cast<LRootWindow*>(GetRootWindow().Get()); root && clientSize.x == 0)
        {
            clientSize = root->GetClientSize();
            listed = IFrameworkApp::GetInstance().GetRootWindowCount();
            root->EndModal(9);
        }
        return kOk;
    }
    PointI clientSize{};
    std::uint32_t listed = 0;
};

TEST(RunModal, TheControlGetsAWindowOfItsSizeAndTheModalEndIsTheResult)
{
    if (!std::getenv("DISPLAY"))
    {
        GTEST_SKIP() << "no display";
    }
    LFrameworkApp app(u"Test");
    const RCPtr<Dialog> dialog(new Dialog(RCPtr<LControl>(), String(u"dialog")));
    dialog->SetFrame(PointD{}, PointD{160, 90});
    EXPECT_EQ(app.RunModal(nullptr, true), kFail);

    EXPECT_EQ(app.RunModal(dialog, true), 9);
    EXPECT_EQ(dialog->clientSize, (PointI{160, 90}));
    EXPECT_EQ(dialog->listed, 1u) << "listed while it lives";
    EXPECT_EQ(app.GetRootWindowCount(), 0u) << "and no longer after";
    EXPECT_FALSE(dialog->GetRootWindow()) << "the control is let go";
}

TEST(RunModal, ADialogAskedForOnceTheProgramIsExitingIsNotShownAndEndsAsAQuitWould)
{
    if (!std::getenv("DISPLAY"))
    {
        GTEST_SKIP() << "no display";
    }
    LFrameworkApp app(u"Test");
    const RCPtr<Dialog> dialog(new Dialog(RCPtr<LControl>(), String(u"dialog")));
    dialog->SetFrame(PointD{}, PointD{160, 90});
    app.Receive(nullptr, LNotification::Create(u"NID_APP_EXIT_REQ"));
    ASSERT_TRUE(app.IsExiting());

    EXPECT_EQ(app.RunModal(dialog, true), -1);
    EXPECT_EQ(dialog->clientSize, (PointI{})) << "never painted";
    EXPECT_EQ(app.GetRootWindowCount(), 0u);
}

using TestSupport::WindowOf;

// Windows left open: the first is the main window, whose close box asks the application to
// exit; a second one's close box closes it at the next idle step and lets its control go.
TEST(RunModal, AWindowThatIsNotModalStaysOpenAndItsCloseBoxActsAsTheWindowsPlaceWants)
{
    if (!std::getenv("DISPLAY"))
    {
        GTEST_SKIP() << "no display";
    }
    namespace P = Platform;
    LFrameworkApp app(u"Test");
    auto idle = [&](int pass) { return app.OnIdle(pass == 0); };
    const RCPtr<UiTest::Recorder> listener = UiTest::Recorder::Create();
    listener->RegisterForNotification(LFrameworkApp::GetNotificationCenter(), u"NID_APP_EXIT_REQ");

    const RCPtr<LControl> main(new LControl(RCPtr<LControl>(), String(u"main")));
    main->SetFrame(PointD{}, PointD{200, 120});
    ASSERT_EQ(app.RunModal(main, false), kOk);
    const std::uintptr_t mainWindow = WindowOf(main);
    ASSERT_NE(mainWindow, 0u);
    EXPECT_EQ(app.GetMainWindow().Get(), main->GetRootWindow().Get());
    ASSERT_TRUE(P::Test::PumpUntil([&] { return P::IsWindowVisible(mainWindow); }, 10.0, idle));

    const RCPtr<LControl> second(new LControl(RCPtr<LControl>(), String(u"second")));
    second->SetFrame(PointD{}, PointD{120, 80});
    ASSERT_EQ(app.RunModal(second, false), kOk);
    const std::uintptr_t secondWindow = WindowOf(second);
    ASSERT_NE(secondWindow, 0u);
    EXPECT_EQ(P::GetOwner(secondWindow), mainWindow);
    EXPECT_EQ(app.GetRootWindowCount(), 2u);

    ASSERT_TRUE(P::SendDesktopCloseRequest(mainWindow));
    ASSERT_TRUE(P::Test::PumpUntil([&] { return !listener->received.empty(); }, 10.0, idle));
    EXPECT_EQ(listener->received, (std::vector<std::string>{"?:NID_APP_EXIT_REQ"}));
    EXPECT_TRUE(P::IsWindow(mainWindow)) << "the application decides";

    ASSERT_TRUE(P::SendDesktopCloseRequest(secondWindow));
    ASSERT_TRUE(P::Test::PumpUntil([&] { return !P::IsWindow(secondWindow); }, 10.0, idle));
    EXPECT_EQ(app.GetRootWindowCount(), 1u);
    EXPECT_FALSE(second->GetRootWindow()) << "the closed window let its control go";
    EXPECT_EQ(listener->received.size(), 1u) << "no exit request from a second window";

    dynamic_cast<LRootWindow*>(main->GetRootWindow().Get())->GetOSServices()->EndModal(0);
    EXPECT_EQ(app.GetRootWindowCount(), 0u);
    EXPECT_FALSE(main->GetRootWindow());
    listener->UnregisterForAllNotifications();
}

} // namespace
} // namespace KR
