// The editor end to end: PresetEditor started as a user starts it, with the simulated keyboard
// on the JACK server, driven only by the pointer and the keyboard on the X server at the frames
// its tree dump gives; what it shows read from the dump and from the window's pixels.

#include "platform/png/PngCodec.h"
#include "platform/window/Window.h"
#include "platform/window_display/DisplayFixture.h"
#include "support/Wait.h"
#include "support/editor/DumpedTree.h"
#include "support/editor/EditorProcess.h"
#include "support/simkeyboard/SimKeyboardProcess.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace
{

namespace P = KR::Platform;
using KR::TestSupport::DumpedControl;
using KR::TestSupport::DumpedTree;
using KR::TestSupport::EditorFolders;
using KR::TestSupport::EditorProcess;
using KR::TestSupport::SimKeyboardProcess;

const std::string kView = "mainControl/viewDevice/";

// The window as the X server has it; written to a PNG under `name` for a reviewer.
struct Picture
{
    std::vector<std::uint32_t> pixels;
    std::int32_t width = 0, height = 0;

    std::uint32_t At(int x, int y) const
    {
        return pixels[static_cast<std::size_t>(y) * width + x] & 0xFFFFFFu;
    }
    // Pixels inside the control's frame that differ from `other`'s.
    int ChangedWithin(const Picture& other, const DumpedControl& frame) const
    {
        int changed = 0;
        for (int y = frame.y; y < frame.y + frame.height && y < height && y < other.height; ++y)
        {
            for (int x = frame.x; x < frame.x + frame.width && x < width && x < other.width; ++x)
            {
                changed += At(x, y) != other.At(x, y) ? 1 : 0;
            }
        }
        return changed;
    }
};

class EndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY") || !std::getenv("JACK_DEFAULT_SERVER") ||
            std::system("command -v xdotool >/dev/null 2>&1") != 0)
        {
            GTEST_SKIP() << "needs the test X server, the JACK server and xdotool";
        }
        ASSERT_TRUE(P::InitializeWindowSystem());
        std::string why;
        keyboard = SimKeyboardProcess::Start({}, &why);
        ASSERT_TRUE(keyboard) << why;
        StartEditor();
    }

    void StartEditor()
    {
        editor = std::make_unique<EditorProcess>(folders);
        editor->SetEnvironment("KR_TEST_TREE_DUMP", dumpFile);
        ASSERT_TRUE(editor->Start({"-debug_console"}));
        window = editor->FindWindow();
        ASSERT_NE(window, 0u);
        // The first dump comes from an idle pass, so the picture is built and laid out by then.
        ASSERT_FALSE(Dump().controls.empty());
    }

    DumpedTree Dump() { return KR::TestSupport::RequestTreeDump(*editor, dumpFile); }

    // The control of the view's `path` in a fresh dump, shown; fails the test otherwise.
    DumpedControl Shown(const std::string& path)
    {
        const DumpedTree tree = Dump();
        const DumpedControl* control = tree.Find(kView + path);
        EXPECT_TRUE(control && control->shown) << path;
        return control ? *control : DumpedControl{};
    }

    void Click(const DumpedControl& control)
    {
        ASSERT_EQ(P::Test::Xdo("mousemove --sync --window " + std::to_string(window) + " " +
                               std::to_string(control.CentreX()) + " " + std::to_string(control.CentreY()) +
                               " click 1"),
                  0)
            << control.path;
    }

    // Clicks into a text box, replaces what it holds by `text` and confirms with Return.
    void TypeInto(const DumpedControl& box, const std::string& text)
    {
        Click(box);
        ASSERT_EQ(P::Test::Xdo("key --delay 30 ctrl+a BackSpace"), 0);
        ASSERT_EQ(P::Test::Xdo("type --delay 30 '" + text + "'"), 0);
        ASSERT_EQ(P::Test::Xdo("key Return"), 0);
    }

    // Waits until the dumped control shows `text`.
    bool ShowsText(const std::string& path, const std::string& text)
    {
        std::string last;
        const bool shown = KR::TestSupport::WaitUntil(
            [&]
            {
                const DumpedTree tree = Dump();
                const DumpedControl* control = tree.Find(kView + path);
                last = control ? control->text : "<none>";
                return last == text;
            });
        EXPECT_TRUE(shown) << path << " shows \"" << last << "\", not \"" << text << "\"";
        return shown;
    }

    Picture Capture(const std::string& name)
    {
        Picture picture;
        EXPECT_TRUE(P::CaptureNativeWindow(window, picture.pixels, picture.width, picture.height));
        if (picture.width > 0)
        {
            P::WritePngFile(::testing::TempDir() + name, picture.width, picture.height,
                            picture.pixels.data());
        }
        return picture;
    }

    EditorFolders folders;
    const std::string dumpFile = folders.Home() + "/tree.txt";
    std::unique_ptr<SimKeyboardProcess> keyboard;
    std::unique_ptr<EditorProcess> editor;
    std::uint64_t window = 0;
};

TEST_F(EndToEnd, EditsMadeWithThePointerAndTheKeysShowOnTheWindow)
{
    const Picture before = Capture("endtoend-start.png");
    for (const char* group : {"presetNameEditPanel", "pads", "encoders", "faders", "wheels", "pedals",
                              "keybedZones", "buttons", "xyPad"})
    {
        Shown(group);
    }

    // The name: six characters typed into its box.
    const DumpedControl nameBox = Shown("presetNameEditPanel/textBox");
    TypeInto(nameBox, "E2E OK");
    ASSERT_TRUE(ShowsText("presetNameEditPanel/textBox", "E2E OK"));

    const Picture after = Capture("endtoend-edited.png");
    EXPECT_GT(after.ChangedWithin(before, nameBox), 20) << "the typed name is not drawn";
}

} // namespace
