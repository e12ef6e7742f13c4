#include "kr/app/FrameworkApp.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/Dialog.h"
#include "kr/ui/RootWindow.h"
#include "platform/window_display/DisplayFixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace KR
{
namespace
{

namespace P = Platform;

constexpr Result kGaveUp = -99;

// The system window of the root window a control lives in.
std::uintptr_t WindowOf(const RCPtr<LControl>& control)
{
    const auto* root = dynamic_cast<LRootWindow*>(control->GetRootWindow().Get());
    return root && root->GetOSServices() ? root->GetOSServices()->GetWindowHandle() : 0;
}

// Does `act` once, from inside whatever loop runs, as soon as `ready` holds: the modal
// loop of DoModal does not return to the test before the dialog ends.
class OnceReady : public P::IWindowProcedure
{
public:
    OnceReady(std::function<bool()> ready, std::function<void()> act, std::function<void()> giveUp)
        : mReady(std::move(ready)), mAct(std::move(act)), mGiveUp(std::move(giveUp))
    {
        P::WindowCreateParams params;
        params.procedure = this;
        mTimer = P::CreateWindow(params);
        P::SetTimer(mTimer, 1, 5);
    }
    ~OnceReady() override { P::DestroyWindow(mTimer); }
    std::intptr_t WindowProc(P::WindowHandle, std::uint32_t message, std::uintptr_t, std::intptr_t) override
    {
        if (message != P::WM_TIMER)
        {
            return 0;
        }
        if (!done && mReady())
        {
            done = true;
            mAct();
        }
        else if (std::chrono::steady_clock::now() > mDeadline && mGiveUp)
        {
            // Bounded: a dialog that never ends would hold the test for good.
            P::KillTimer(mTimer, 1);
            mGiveUp();
        }
        return 0;
    }
    bool done = false;

private:
    std::function<bool()> mReady;
    std::function<void()> mAct;
    std::function<void()> mGiveUp;
    std::chrono::steady_clock::time_point mDeadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(10);
    P::WindowHandle mTimer = 0;
};

class DialogDisplay : public ::testing::Test
{
public:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
        {
            GTEST_SKIP() << "no display";
        }
        factory = app.GetControlFactory();
        factory->RegisterControlClass(String(u"Test.Dialog"), &LControl::CreateFromSkin<LDialog>);
        factory->RegisterControlClass(String(u"Test.Button"), &LControl::CreateFromSkin<LControl>);
        ASSERT_EQ(factory->LoadSkins(String(u"::DIALOG_SKINS")), kOk);
        app.SetDefaultFont(LFont::GetFont(String(u"Sans"), 9.0f, 0));
        // The desktop's close box of the first window asks the program to exit, so the
        // dialogs open over a main window as in the program.
        main = RCPtr<LControl>(new LControl(RCPtr<LControl>(), String(u"main")));
        main->SetFrame(PointD{}, PointD{300, 200});
        ASSERT_EQ(app.RunModal(main, false), kOk);
    }
    void TearDown() override
    {
        if (main && main->GetRootWindow())
        {
            dynamic_cast<LRootWindow*>(main->GetRootWindow().Get())->GetOSServices()->EndModal(0);
        }
    }
    RCPtr<LDialog> MakeDialog()
    {
        const RCPtr<LDialog> dialog(factory->CreateControlByName(String(u"dialog"), nullptr));
        EXPECT_TRUE(dialog);
        if (dialog)
        {
            dialog->SetFrame(PointD{}, PointD{200, 100});
        }
        return dialog;
    }
    // The dialog's window is on the screen with the button at (x, y) painted (the skin's
    // buttons are blue).
    static bool Shown(const RCPtr<LDialog>& dialog, std::int32_t x, std::int32_t y)
    {
        const std::uintptr_t window = WindowOf(dialog);
        std::vector<std::uint32_t> pixels;
        std::int32_t width = 0, height = 0;
        return window != 0 && P::ReadWindowPixels(window, pixels, width, height) && x < width && y < height &&
               (pixels[static_cast<std::size_t>(y * width + x)] & 0xFFFFFFu) == 0x0000FFu;
    }
    static void ClickAt(const RCPtr<LDialog>& dialog, std::int32_t x, std::int32_t y)
    {
        P::WindowPoint point{x, y};
        P::ClientToScreen(WindowOf(dialog), point);
        P::Test::Xdo("mousemove --sync " + std::to_string(point.x) + " " + std::to_string(point.y));
        P::Test::Xdo("click 1");
    }

    LFrameworkApp app{u"PresetEditor"};
    RCPtr<LControlFactory> factory;
    RCPtr<LControl> main;
};

// buttonCancel at (20, 60), buttonNo at (120, 60), both 60 x 24.
void ClickAndExpect(DialogDisplay& test, std::int32_t x, Result expected)
{
    const RCPtr<LDialog> dialog = test.MakeDialog();
    ASSERT_TRUE(dialog);
    OnceReady click([&] { return test.Shown(dialog, x, 72); }, [&] { test.ClickAt(dialog, x, 72); },
                    [&] { dialog->Close(kGaveUp); });
    EXPECT_EQ(dialog->DoModal(), expected);
    EXPECT_TRUE(click.done);
    EXPECT_FALSE(dialog->GetRootWindow()) << "the window is gone with the loop";
}

TEST_F(DialogDisplay, CancelGivesTheCallerOfDoModalTwo)
{
    ClickAndExpect(*this, 50, 2);
}

TEST_F(DialogDisplay, NoGivesTheCallerOfDoModalSeven)
{
    ClickAndExpect(*this, 150, 7);
}

TEST_F(DialogDisplay, TheDesktopsCloseRequestCancelsTheDialog)
{
    const RCPtr<LDialog> dialog = MakeDialog();
    ASSERT_TRUE(dialog);
    OnceReady close([&] { return Shown(dialog, 50, 72); },
                    [&] { P::SendDesktopCloseRequest(WindowOf(dialog)); }, [&] { dialog->Close(kGaveUp); });
    EXPECT_EQ(dialog->DoModal(), 2);
    EXPECT_EQ(dialog->GetResult(), 2);
}

} // namespace
} // namespace KR
