// The keyboard picture of the real main window on the test X server, in process: a click
// on an encoder of the picture (xdotool) opens the encoder edit panel on it, as the pixels
// the X server holds show, and a controller typed there comes back onto the picture; the
// touch pad's cells are drawn with their letters and glyphs.

#include "editor/support/InstalledEngine.h"
#include "editor/support/MainWindowOnScreen.h"
#include "kr/app/FrameworkApp.h"
#include "kr/controls/NumericUpDown.h"
#include "kr/controls/TextBox.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/RootWindow.h"
#include "platform/png/PngCodec.h"
#include "platform/window/Window.h"
#include "platform/window_display/DisplayFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

namespace
{

namespace P = KR::Platform;
using KR::RCPtr;
using KR::String;

class TestApp : public KR::LFrameworkApp
{
public:
    using KR::LFrameworkApp::LFrameworkApp;
    std::int32_t ShowMessageBox(const String&, const String&, std::uint32_t) override { return 1; }
};

// The window's pixels as the X server has them.
struct Pixels
{
    std::vector<std::uint32_t> data;
    std::int32_t width = 0;
    std::int32_t height = 0;

    // Whether the control's frame holds one colour only.
    bool Uniform(const KR::LControl& control) const
    {
        bool uniform = true;
        ForEach(control, [&](std::size_t i)
                { uniform = uniform && (data[i] & 0xFFFFFFu) == (First(control) & 0xFFFFFFu); });
        return uniform;
    }
    std::uint32_t First(const KR::LControl& control) const
    {
        std::uint32_t first = 0;
        bool found = false;
        ForEach(control,
                [&](std::size_t i)
                {
                    if (!found)
                    {
                        first = data[i];
                        found = true;
                    }
                });
        return first;
    }
    template <typename F>
    void ForEach(const KR::LControl& control, F&& visit) const
    {
        const KR::PointD at = control.GetAbsolutePosition();
        const KR::PointD size = control.GetSize();
        for (auto y = static_cast<std::int32_t>(at.y);
             y < static_cast<std::int32_t>(at.y + size.y) && y < height; ++y)
        {
            for (auto x = static_cast<std::int32_t>(at.x);
                 x < static_cast<std::int32_t>(at.x + size.x) && x < width; ++x)
            {
                visit(static_cast<std::size_t>(y * width + x));
            }
        }
    }
    // How many pixels of the control's frame differ from `other`'s.
    int Differing(const Pixels& other, const KR::LControl& control) const
    {
        int count = 0;
        ForEach(control, [&](std::size_t i)
                { count += (data[i] & 0xFFFFFFu) != (other.data[i] & 0xFFFFFFu) ? 1 : 0; });
        return count;
    }
};

// The editor's main window on the test display, over the real engine.
class PictureOnScreen : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (const std::string why = KR::Platform::Test::WhyTheMainWindowCannotBeDriven(); !why.empty())
        {
            GTEST_SKIP() << why;
        }
        ASSERT_NO_FATAL_FAILURE(shown.Open());
    }

    KR::TestSupport::InstalledEngine engine;
    const RCPtr<TestApp> app{new TestApp(u"PresetEditor")};
    KR::TestSupport::MainWindowOnScreen shown{*app};
};

TEST_F(PictureOnScreen, AClickOnAnEncoderOpensItsEditPanelAndAnEditComesBackToThePicture)
{
    const RCPtr<KR::LControl>& main = shown.main;
    const RCPtr<KR::LRootWindow>& root = shown.root;
    const P::WindowHandle window = shown.window;
    const auto find = [&main](const char* path)
    {
        RCPtr<KR::LControl> at = main->FindChildControl(String(u"viewDevice"));
        std::string rest = path;
        while (at && !rest.empty())
        {
            const std::size_t slash = rest.find('/');
            at = at->FindChildControl(String(rest.substr(0, slash).c_str()));
            rest = slash == std::string::npos ? std::string() : rest.substr(slash + 1);
        }
        return at;
    };
    const RCPtr<KR::LControl> encoder = find("encoders/encoderBank1/encoder3");
    const RCPtr<KR::LControl> info = find("encoders/encoderBank1/encoder3/viewPanel/infoLabel");
    const RCPtr<KR::LControl> editPanel = find("knobEditPanel");
    ASSERT_TRUE(encoder && info && editPanel);

    // Every value, as the engine posts them when it starts.
    engine.engine->RequestParamValues(KR::ParamDescriptors(KR::ParamRange{0, 131}));
    ASSERT_TRUE(shown.Pump([&] { return info->GetText() == String(u"CC:\n42"); }));
    ASSERT_NO_FATAL_FAILURE(shown.Focus());
    // The pixels of the window, and whether the regions that matter agree with the read
    // before: what is drawn there has settled (a caret elsewhere may blink meanwhile).
    Pixels last;
    const auto read = [&window, &last](Pixels& pixels, std::initializer_list<const KR::LControl*> regions)
    {
        bool settled = P::ReadWindowPixels(window, pixels.data, pixels.width, pixels.height) &&
                       pixels.data.size() == last.data.size();
        for (const KR::LControl* region : regions)
        {
            settled = settled && pixels.Differing(last, *region) == 0;
        }
        last = pixels;
        return settled;
    };
    // Drawn once the read-out's text differs from its cell's own background.
    Pixels before;
    ASSERT_TRUE(shown.Pump(
        [&] {
            return read(before, {encoder.Get(), editPanel.Get()}) && !before.Uniform(*info);
        }));

    ASSERT_NO_FATAL_FAILURE(shown.ClickOn(*encoder));
    ASSERT_TRUE(shown.Pump([&] { return editPanel->IsShown(false); }));
    EXPECT_EQ(find("encoders/encoderBank1/encoder3/button")->GetValue(), 1.0);
    EXPECT_EQ(find("knobEditPanel/knobName")->GetText(), String(u"ENCODER 3"));
    // The edit panel is drawn where nothing was, and the encoder's cell shows its mark.
    const KR::PointD panelSize = editPanel->GetSize();
    Pixels opened;
    EXPECT_TRUE(shown.Pump(
        [&]
        {
            return read(opened, {encoder.Get(), editPanel.Get()}) &&
                   opened.Differing(before, *editPanel) > static_cast<int>(panelSize.x * panelSize.y / 20) &&
                   opened.Differing(before, *encoder) > 50;
        }));
    EXPECT_EQ(opened.Differing(before, *find("encoders/encoderBank1/encoder5")), 0);

    // A controller typed into the edit panel comes back onto the picture.
    auto* cc = dynamic_cast<KR::LNumericUpDown*>(find("knobEditPanel/moveableTypePanel/tabControl/pageHolder/"
                                                      "ccAbsolutePage/cc/ccSelector/numericUpDown")
                                                     .Get());
    ASSERT_TRUE(cc && cc->GetTextBox());
    ASSERT_NO_FATAL_FAILURE(shown.ClickOn(*cc->GetTextBox()));
    ASSERT_TRUE(shown.Pump([&] { return root->GetFocusControl().Get() == cc->GetTextBox().Get(); }));
    ASSERT_EQ(P::Test::Xdo("key End BackSpace BackSpace BackSpace type --delay 30 60"), 0);
    ASSERT_EQ(P::Test::Xdo("key Return"), 0);
    EXPECT_TRUE(shown.Pump([&] { return info->GetText() == String(u"CC:\n60"); }))
        << info->GetText().ToUtf8().GetPtr();
    EXPECT_EQ(engine.Bytes(99), (std::vector<int>{0x00, 0x00, 60, 0x00, 0x00, 0x7F}));
    Pixels edited;
    EXPECT_TRUE(
        shown.Pump([&] { return read(edited, {info.Get()}) && edited.Differing(opened, *info) > 30; }))
        << "the read-out is drawn anew";
    P::WritePngFile(::testing::TempDir() + "picture_encoder_edited.png", edited.width, edited.height,
                    edited.data.data());
}

// The touch pad's cells read "X" and "Y" beside their glyphs, level on X and upright on Y,
// and the letter turns with the glyph to the accent when its axis is marked.
TEST_F(PictureOnScreen, TheTouchPadCellsReadXAndYAndTheYGlyphStandsUpright)
{
    const RCPtr<KR::LControl> pad =
        shown.main->FindChildControl(String(u"viewDevice"))->FindChildControl(String(u"xyPad"));
    ASSERT_TRUE(pad);
    const RCPtr<KR::LControl> xCell =
        pad->FindChildControl(String(u"xAxis"))->FindChildControl(String(u"button"));
    const RCPtr<KR::LControl> yCell =
        pad->FindChildControl(String(u"yAxis"))->FindChildControl(String(u"button"));
    ASSERT_TRUE(xCell && yCell);
    const int width = static_cast<int>(xCell->GetSize().x);

    // What a cell draws inside its frames and above its read-out (which starts 28 down): the
    // letter left of x 20, the glyph right of it.
    struct Marks
    {
        std::vector<bool> letter;
        int letters = 0;
        int accentLetters = 0;
        int left = 1 << 20, right = -1, top = 1 << 20, bottom = -1; // the glyph's bounds
    };
    const auto marksOf = [width](const std::vector<std::uint32_t>& pixels)
    {
        Marks marks;
        constexpr int kBand = 26;
        constexpr int kLetterEnd = 20;
        constexpr int kFrames = 3;
        for (int y = kFrames; y < kBand && (y + 1) * width <= static_cast<int>(pixels.size()); ++y)
        {
            for (int x = kFrames; x < width - kFrames; ++x)
            {
                const std::uint32_t p = pixels[static_cast<std::size_t>(y * width + x)];
                const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
                const bool bright = std::max({r, g, b}) >= 0x60;
                if (x < kLetterEnd)
                {
                    marks.letter.push_back(bright);
                    marks.letters += bright ? 1 : 0;
                    marks.accentLetters += r >= 0xC0 && b < 0x60 ? 1 : 0;
                }
                else if (bright)
                {
                    marks.left = std::min(marks.left, x);
                    marks.right = std::max(marks.right, x);
                    marks.top = std::min(marks.top, y);
                    marks.bottom = std::max(marks.bottom, y);
                }
            }
        }
        return marks;
    };
    std::vector<std::uint32_t> xPixels, yPixels;
    const auto settled = [&]
    {
        const std::vector<std::uint32_t> x = shown.PixelsOf(*xCell);
        const std::vector<std::uint32_t> y = shown.PixelsOf(*yCell);
        const bool same = !x.empty() && x == xPixels && y == yPixels && marksOf(y).right >= 0;
        xPixels = x;
        yPixels = y;
        return same;
    };
    ASSERT_TRUE(shown.Pump(settled));
    const Marks x = marksOf(xPixels);
    const Marks y = marksOf(yPixels);
    EXPECT_GT(x.letters, 8) << "X has its letter";
    EXPECT_GT(y.letters, 8) << "Y has its letter";
    int differing = 0;
    for (std::size_t i = 0; i < std::min(x.letter.size(), y.letter.size()); ++i)
    {
        differing += x.letter[i] != y.letter[i] ? 1 : 0;
    }
    EXPECT_GT(differing, 8) << "the two letters differ";
    EXPECT_GT(x.right - x.left, 2 * (x.bottom - x.top)) << "the X glyph lies level";
    EXPECT_GT(y.bottom - y.top, y.right - y.left) << "the Y glyph stands upright";
    EXPECT_EQ(x.accentLetters + y.accentLetters, 0);

    ASSERT_NO_FATAL_FAILURE(shown.Focus());
    ASSERT_NO_FATAL_FAILURE(shown.ClickOn(*yCell));
    ASSERT_TRUE(shown.Pump([&] { return yCell->GetValue() == 1.0; }));
    EXPECT_TRUE(shown.Pump([&] { return settled() && marksOf(yPixels).accentLetters > 4; }))
        << "the marked axis' letter takes the accent";
    Pixels window;
    ASSERT_TRUE(P::ReadWindowPixels(shown.window, window.data, window.width, window.height));
    P::WritePngFile(::testing::TempDir() + "picture_touch_pad_cells.png", window.width, window.height,
                    window.data.data());
}

} // namespace
