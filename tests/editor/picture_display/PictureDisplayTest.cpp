// The keyboard picture of the real main window on the test X server, in process: a click
// on an encoder of the picture (xdotool) opens the encoder edit panel on it, as the pixels
// the X server holds show, and a controller typed there comes back onto the picture.

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

TEST(PictureOnScreen, AClickOnAnEncoderOpensItsEditPanelAndAnEditComesBackToThePicture)
{
    if (!std::getenv("DISPLAY") || std::system("command -v xdotool >/dev/null 2>&1") != 0)
    {
        GTEST_SKIP() << "no display or no xdotool";
    }
    KR::TestSupport::InstalledEngine engine;
    const RCPtr<TestApp> app(new TestApp(u"PresetEditor"));
    KR::TestSupport::MainWindowOnScreen shown(*app);
    ASSERT_NO_FATAL_FAILURE(shown.Open());
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

} // namespace
