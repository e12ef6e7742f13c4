#include "kr/app/FrameworkApp.h"
#include "kr/app_display/ModalSupport.h"
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

using TestSupport::OnceReady;
using TestSupport::WindowOf;

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
        P::Test::MovePointerOnScreen(point.x, point.y);
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

TEST_F(DialogDisplay, TwoDialogsInARowEachTakeTheirClick)
{
    ClickAndExpect(*this, 50, 2);
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
