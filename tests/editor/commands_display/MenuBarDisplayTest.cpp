// The menu bar of the running editor clicked as a user clicks it: PresetEditor on the test
// display, xdotool's clicks on its titles, and what is open read back from the X server in
// two bands under the bar that only one of the two menus covers.

#include "platform/png/PngCodec.h"
#include "platform/window/Window.h"
#include "platform/window_display/DisplayFixture.h"
#include "support/Wait.h"
#include "support/editor/EditorProcess.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace KR::EditorMenuBarDisplay
{
namespace
{

namespace P = KR::Platform;
using KR::TestSupport::EditorFolders;
using KR::TestSupport::EditorProcess;
using KR::TestSupport::WaitUntil;

// The titles in the editor's skin (main window coordinates): two points on each, farther
// apart than a double click may stray, so that quick clicks on them alternately stay single.
constexpr int kFileTitleX[] = {20, 44};
constexpr int kHelpTitleX[] = {78, 104};
constexpr int kTitleY = 12;
// Under the bar: File's menu spans x 8 to 288 and y 24 to 245, Help's x 64 to 344 and y 24 to
// 80, so each of the first two bands lies under one menu only, and the three after them hold
// both menus whole but for the preset name's box, whose caret blinks and whose focus frame
// goes with a click on the bar.
struct Band
{
    int left, top, right, bottom;
};
constexpr Band kFileOnly{10, 110, 60, 230};
constexpr Band kHelpOnly{300, 30, 340, 90};
// The left of every row of the File menu, beside the Help menu: the row Down marks first is
// Send Preset while a keyboard's ports are on the JACK server (another test's, the tests
// sharing one server), else Load Preset.
constexpr Band kFileRows{10, 30, 60, 240};
constexpr Band kBelowBar[] = {{0, 25, 380, 40}, {256, 40, 380, 102}, {0, 102, 380, 260}};
// The status bar's face, drawn last of the main window.
constexpr std::uint32_t kStatusBar = 0x1B1D21;

struct Frame
{
    std::vector<std::uint32_t> pixels;
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool Holds(const Band& band) const { return width >= band.right && height >= band.bottom; }
    std::vector<std::uint32_t> Cut(const Band& band) const
    {
        std::vector<std::uint32_t> cut;
        for (int y = band.top; Holds(band) && y < band.bottom; ++y)
        {
            for (int x = band.left; x < band.right; ++x)
            {
                cut.push_back(pixels[static_cast<std::size_t>(y) * width + x] & 0xFFFFFF);
            }
        }
        return cut;
    }
    std::vector<std::uint32_t> BelowBar() const
    {
        std::vector<std::uint32_t> cut;
        for (const Band& band : kBelowBar)
        {
            const std::vector<std::uint32_t> part = Cut(band);
            cut.insert(cut.end(), part.begin(), part.end());
        }
        return cut;
    }
};

class MenuBar : public P::Test::OnMainWindowDisplay
{
protected:
    void SetUp() override
    {
        OnMainWindowDisplay::SetUp();
        if (Stopped())
        {
            return;
        }
        if (!P::Test::CanDriveDisplay())
        {
            GTEST_SKIP() << "no xdotool";
        }
        ASSERT_TRUE(editor.Start());
        window = editor.FindWindow();
        ASSERT_NE(window, 0u) << ::testing::PrintToString(editor.Lines());
        // Input before the first paint could meet a tree not yet laid out.
        ASSERT_TRUE(WaitUntil([&] { return P::Test::Pixel(window, 800, 740) == kStatusBar; }));
        ASSERT_EQ(P::Test::Xdo("windowfocus --sync " + std::to_string(window)), 0);
        // The picture under the bar as it is with both menus closed; the pointer on a title
        // changes only the bar.
        ASSERT_TRUE(P::Test::MovePointer(window, kFileTitleX[0], kTitleY));
        closed = Grab();
        ASSERT_TRUE(closed.Holds(kBelowBar[2]));
    }

    Frame Grab() const
    {
        Frame frame;
        if (!P::CaptureNativeWindow(window, frame.pixels, frame.width, frame.height))
        {
            frame = Frame{};
        }
        return frame;
    }
    // "closed" when nothing is drawn under the bar, "File" or "Help" when that menu alone is.
    std::string State(const Frame& frame) const
    {
        if (!frame.Holds(kBelowBar[2]))
        {
            return "unreadable";
        }
        if (frame.BelowBar() == closed.BelowBar())
        {
            return "closed";
        }
        const bool file = frame.Cut(kFileOnly) != closed.Cut(kFileOnly);
        const bool help = frame.Cut(kHelpOnly) != closed.Cut(kHelpOnly);
        return file && !help ? "File" : (help && !file ? "Help" : "something else");
    }
    // Waits until the window shows `expected`; what it showed last, written to `png` or, when
    // that was not what was expected, to menubar-unexpected.png.
    std::string WaitFor(const std::string& expected, const char* png)
    {
        Frame last;
        const bool shown = WaitUntil(
            [&]
            {
                last = Grab();
                return State(last) == expected;
            });
        png = shown ? png : "menubar-unexpected.png";
        if (png && last.Holds(kBelowBar[2]))
        {
            P::WritePngFile(::testing::TempDir() + png, last.width, last.height, last.pixels.data());
        }
        return State(last);
    }
    void Click(int x, const char* how = "click 1")
    {
        ASSERT_TRUE(P::Test::MovePointer(window, x, kTitleY));
        ASSERT_EQ(P::Test::Xdo(how), 0);
    }

    EditorFolders folders;
    EditorProcess editor{folders};
    std::uint64_t window = 0;
    Frame closed;
};

TEST_F(MenuBar, ATitleClickedAgainClosesItsMenuAndSlidingOntoTheOtherTitleOpensThatOne)
{
    const auto file = [&](int at) { return [&, at] { Click(kFileTitleX[at]); }; };
    const auto help = [&](int at) { return [&, at] { Click(kHelpTitleX[at]); }; };
    // Two presses within the double-click time and distance: the second comes as a double click.
    const auto doubleOnFile = [&] { Click(kFileTitleX[0], "click --repeat 2 --delay 60 1"); };
    const auto slideOntoHelp = [&] { ASSERT_TRUE(P::Test::MovePointer(window, kHelpTitleX[0], kTitleY)); };
    struct Step
    {
        const char* what;
        std::function<void()> act;
        const char* shows;
        const char* png;
    };
    const Step steps[] = {
        {"first click on File", file(0), "File", "menubar-file-open.png"},
        {"second click on File", file(1), "closed", nullptr},
        {"third click on File", file(0), "File", nullptr},
        {"pointer slid onto Help", slideOntoHelp, "Help", "menubar-help-slid.png"},
        {"click on the Help slid open", help(1), "closed", nullptr},
        {"first click on Help", help(0), "Help", nullptr},
        {"second click on Help", help(1), "closed", nullptr},
        {"third click on Help", help(0), "Help", nullptr},
        {"fourth click on Help", help(1), "closed", nullptr},
        {"double click on File", doubleOnFile, "closed", "menubar-after-double-click.png"},
        {"click on File after the double click", file(1), "File", nullptr},
        {"click on File", file(0), "closed", nullptr},
    };
    for (const Step& step : steps)
    {
        ASSERT_NO_FATAL_FAILURE(step.act()) << step.what;
        ASSERT_EQ(WaitFor(step.shows, step.png), step.shows) << step.what;
    }
}

TEST_F(MenuBar, EscapeInAnOpenMenuClosesNothing)
{
    Click(kFileTitleX[0]);
    ASSERT_EQ(WaitFor("File", nullptr), "File");
    const std::vector<std::uint32_t> opened = Grab().Cut(kFileRows);
    // Keys are taken in order: when Down has marked a row, Escape before it has been handled.
    ASSERT_EQ(P::Test::Xdo("key Escape Down"), 0);
    Frame last;
    EXPECT_TRUE(WaitUntil(
        [&]
        {
            last = Grab();
            return last.Cut(kFileRows) != opened;
        }))
        << "Down marked no row";
    EXPECT_EQ(State(last), "File");
}

} // namespace
} // namespace KR::EditorMenuBarDisplay
