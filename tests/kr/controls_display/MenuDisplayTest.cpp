// The menu bar in a real window on the test X server, used with xdotool: a click on
// "File" paints its nine rows below the title, and a press on "File", a slide onto "Exit"
// and a release post "Exit" into the window's queue. Rows are blue, separators white,
// the chosen row red; the window grey.

#include "kr/controls/ComboMenu.h"
#include "kr/controls/ControlClasses.h"
#include "kr/controls/MainMenu.h"
#include "kr/controls/PopupMenu.h"
#include "kr/ui/MouseTestSupport.h"
#include "kr/ui_display/PaintedWindow.h"

#include <chrono>

namespace KR::UiDisplayTest
{
namespace
{

class MenuWindow : public PaintedWindow
{
protected:
    void SetUp() override
    {
        PaintedWindow::SetUp();
        if (IsSkipped())
        {
            return;
        }
        app.factory = RCPtr<LControlFactory>(new LControlFactory(String(u"PresetEditor")));
        ASSERT_EQ(app.factory->LoadSkins(String(u"::MENU_SKINS")), kOk);
        ASSERT_EQ(app.factory->LoadStringTables(String(u"::NONE"), String(u"::MENU_STRINGS"), 9), kOk);
        app.factory->RegisterControlClass(String(u"Test.Panel"), &LControl::CreateFromSkin<LControl>);
        RegisterFrameworkControlClasses(*app.factory);
        Open(u"main", 400, 300);
        ASSERT_TRUE(WaitForPixel(300, 200, kGrey));
        TakeFocus();
        bar = RCPtr<LMainMenu>(Child(u"mainMenu"));
        ASSERT_TRUE(bar);
        ASSERT_EQ(bar->GetMenuTitleCount(), 2);
        popup = bar->GetMenuTitle(0)->GetPopup();
        heard->RegisterForNotification(RCPtr<LNotificationDistributor>(rootWindow),
                                       u"NID_MENU_FILE_EXIT_REQ");
    }
    void TearDown() override
    {
        if (rootWindow)
        {
            heard->UnregisterForAllNotifications();
        }
        PaintedWindow::TearDown();
    }
    // The colours down the menu's rows, at x 60: row k's middle is at 30 + 20 k.
    std::vector<std::uint32_t> RowColours()
    {
        const WindowPixels pixels = Read();
        std::vector<std::uint32_t> colours;
        for (std::int32_t k = 0; k < 10; ++k)
        {
            colours.push_back(pixels.At(60, 30 + 20 * k));
        }
        return colours;
    }

    RCPtr<LMainMenu> bar;
    RCPtr<LPopupMenu> popup;
    RCPtr<UiTest::Recorder> heard = UiTest::Recorder::Create();
};

TEST_F(MenuWindow, AClickOnFileShowsItsNineRowsBelowTheTitle)
{
    const std::vector<std::uint32_t> shown{kBlue,  kBlue, kWhite, kBlue, kBlue,
                                           kWhite, kBlue, kWhite, kBlue, kGrey};
    PointAt(30, 10);
    ASSERT_EQ(Xdo("click 1"), 0);
    const bool painted = RunUntil([&] { return RowColours() == shown; });
    WritePng(Read(), "menu-file-open.png");
    EXPECT_TRUE(painted) << "the nine rows, three of them separators, then the window";
    EXPECT_EQ(popup->GetItemDataCount(), 9);
}

TEST_F(MenuWindow, APressOnFileASlideOntoExitAndAReleasePostExit)
{
    // Not where the other test left the pointer: a move to the same place never arrives.
    PointAt(36, 12);
    ASSERT_EQ(Xdo("mousedown 1"), 0);
    ASSERT_TRUE(RunUntil([&] { return popup->IsShown(true); }));
    PointAt(60, 110);
    ASSERT_TRUE(RunUntil([&] { return popup->GetCaret() == 4; })) << "sliding over Save Preset";
    PointAt(60, 190);
    const bool onExit = RunUntil([&] { return Read().At(60, 190) == kRed; });
    WritePng(Read(), "menu-file-exit.png");
    ASSERT_TRUE(onExit) << "Exit chosen, caret " << popup->GetCaret();
    ASSERT_EQ(Xdo("mouseup 1"), 0);
    EXPECT_TRUE(RunUntil([&] { return heard->received.size() == 1; }));
    EXPECT_FALSE(popup->IsShown(false));
}

} // namespace
} // namespace KR::UiDisplayTest
