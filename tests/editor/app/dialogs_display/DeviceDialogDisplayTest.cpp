// The send, retrieve and global settings dialogs in the running editor, opened as a user
// opens them, against the simulated keyboard over JACK: what the keyboard logs, the
// message box the program writes to its log, and the dialogs' pixels read back from the
// X server (written as PNG files to be looked at).

#include "platform/png/PngCodec.h"
#include "platform/window/Window.h"
#include "platform/window_display/DisplayFixture.h"
#include "support/Wait.h"
#include "support/editor/EditorProcess.h"
#include "support/simkeyboard/SimKeyboardProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace
{

namespace P = KR::Platform;
using KR::TestSupport::EditorFolders;
using KR::TestSupport::EditorProcess;
using KR::TestSupport::SimKeyboardProcess;
using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

const std::string kDumpToRam = "F0 00 01 05 7F 31 05 61 0A 3B 00 ";
const std::string kIdentityRequest = "F0 7E 7F 06 01 F7";

// The window's width and height as xdotool reports them.
std::pair<int, int> WindowSize(std::uint64_t window)
{
    std::pair<int, int> size{0, 0};
    std::istringstream in(P::Test::Capture("xdotool getwindowgeometry --shell " + std::to_string(window)));
    for (std::string line; std::getline(in, line);)
    {
        if (line.rfind("WIDTH=", 0) == 0)
        {
            size.first = std::atoi(line.c_str() + 6);
        }
        else if (line.rfind("HEIGHT=", 0) == 0)
        {
            size.second = std::atoi(line.c_str() + 7);
        }
    }
    return size;
}

// The visible windows of the editor's process.
std::set<std::uint64_t> WindowsOf(const EditorProcess& editor)
{
    std::set<std::uint64_t> windows;
    std::istringstream in(
        P::Test::Capture("xdotool search --onlyvisible --pid " + std::to_string(editor.Pid())));
    for (std::string id; std::getline(in, id);)
    {
        windows.insert(std::stoull(id));
    }
    return windows;
}

// The visible window of the editor's process of that size; 0 when none shows within the
// limit.
std::uint64_t FindWindowOfSize(const EditorProcess& editor, int width, int height)
{
    std::uint64_t found = 0;
    KR::TestSupport::WaitUntil(
        [&]
        {
            for (const std::uint64_t window : WindowsOf(editor))
            {
                if (WindowSize(window) == std::pair<int, int>(width, height))
                {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        10s);
    return found;
}

// A window takes the mouse only while it is active: it is focused first (there is no
// window manager to do it).
bool Click(std::uint64_t window, int x, int y)
{
    return P::Test::Xdo("windowfocus --sync " + std::to_string(window)) == 0 &&
           P::Test::MovePointer(window, x, y) && P::Test::Xdo("click 1") == 0;
}

using P::Test::Pixel;

// Where the menu bar puts "File" and its "Global Settings" row (main window coordinates):
// rows of 24 below the bar, separators too.
constexpr int kFileTitleX = 30;
constexpr int kTitleY = 12;
constexpr int kRowX = 60;
constexpr int kGlobalSettingsRowY = 24 + 6 * 24 + 15;
// The status bar's face, drawn last of the main window.
constexpr std::uint32_t kStatusBar = 0x1B1D21;

bool Keys(std::uint64_t window, const std::string& keys)
{
    return P::Test::Xdo("windowfocus --sync " + std::to_string(window)) == 0 &&
           P::Test::Xdo("key --clearmodifiers " + keys) == 0;
}

std::size_t Count(const Lines& lines, const std::string& prefix)
{
    return static_cast<std::size_t>(std::count_if(
        lines.begin(), lines.end(), [&](const std::string& line) { return line.rfind(prefix, 0) == 0; }));
}

// The pixels of a rectangle of the window as the X server has it.
std::vector<std::uint32_t> Pixels(std::uint64_t window, int x, int y, int width, int height)
{
    std::vector<std::uint32_t> pixels, part;
    std::int32_t w = 0, h = 0;
    if (P::CaptureNativeWindow(window, pixels, w, h) && x + width <= w && y + height <= h)
    {
        for (int row = y; row < y + height; ++row)
        {
            part.insert(part.end(), pixels.begin() + row * w + x, pixels.begin() + row * w + x + width);
        }
    }
    return part;
}

// The dialog's pixels, once it shows more than one colour, as a PNG under `name`.
bool Screenshot(std::uint64_t window, const std::string& name, int width, int height)
{
    std::vector<std::uint32_t> pixels;
    std::int32_t w = 0, h = 0;
    const bool drawn = KR::TestSupport::WaitUntil(
        [&]
        {
            if (!P::CaptureNativeWindow(window, pixels, w, h) || w != width || h != height)
            {
                return false;
            }
            const std::set<std::uint32_t> colours(pixels.begin(), pixels.end());
            return colours.size() > 8;
        },
        10s);
    if (w > 0)
    {
        P::WritePngFile(::testing::TempDir() + name, w, h, pixels.data());
    }
    return drawn;
}

// The dialogs as the user opens them: by their hot keys in the running program.
class DeviceDialogsOnScreen : public P::Test::OnMainWindowDisplay
{
protected:
    // The program started, its main window found.
    std::uint64_t Start()
    {
        EXPECT_TRUE(editor.Start());
        main = editor.FindWindow();
        EXPECT_NE(main, 0u) << ::testing::PrintToString(editor.Lines());
        // Input before the first paint could meet a tree not yet laid out.
        EXPECT_TRUE(KR::TestSupport::WaitUntil([&] { return Pixel(main, 800, 740) == kStatusBar; }));
        return main;
    }
    // A dialog of 400 x 150 (send, retrieve), opened by its hot key.
    std::uint64_t OpenByHotKey(const std::string& keys)
    {
        EXPECT_TRUE(Keys(main, keys));
        dialog = FindWindowOfSize(editor, 400, 150);
        return dialog;
    }
    // The dialog closed by its close button, then the program by the desktop's close
    // request: a program killed with its ports open would leave the JACK server waiting
    // for it.
    void Finish(int closeX, int closeY)
    {
        if (dialog != 0)
        {
            // The windows take no input until a transfer has ended, which may be some time
            // after the keyboard logged its last message (each send then lets go of its ports):
            // the close button is clicked again, as a user would, until the dialog goes.
            EXPECT_TRUE(KR::TestSupport::WaitUntil(
                [&]
                {
                    Click(dialog, closeX, closeY);
                    return KR::TestSupport::WaitUntil([&] { return !WindowsOf(editor).count(dialog); }, 1s);
                }));
        }
        EXPECT_TRUE(EditorProcess::SendDeleteRequest(main));
        EXPECT_EQ(editor.WaitForExit(10s), 1);
    }
    // The next message box's log line once the box shows; the box is then closed with
    // Return. Empty when none comes.
    std::string NextBox()
    {
        std::string line;
        const bool logged = KR::TestSupport::WaitUntil(
            [&]
            {
                const Lines lines = editor.Lines();
                const std::size_t count = Count(lines, "MessageBox: ");
                if (count <= mBoxes)
                {
                    return false;
                }
                for (const std::string& l : lines)
                {
                    if (l.rfind("MessageBox: ", 0) == 0)
                    {
                        line = l;
                    }
                }
                return true;
            },
            30s);
        if (!logged)
        {
            return std::string();
        }
        ++mBoxes;
        std::uint64_t box = 0;
        KR::TestSupport::WaitUntil(
            [&]
            {
                for (const std::uint64_t window : WindowsOf(editor))
                {
                    if (window != main && window != dialog)
                    {
                        box = window;
                        return true;
                    }
                }
                return false;
            },
            10s);
        EXPECT_NE(box, 0u) << "no box window for " << line;
        if (box != 0)
        {
            EXPECT_TRUE(Keys(box, "Return"));
            EXPECT_TRUE(KR::TestSupport::WaitUntil([&] { return !WindowsOf(editor).count(box); }, 10s));
        }
        return line;
    }

    EditorFolders folders;
    EditorProcess editor{folders};
    std::uint64_t main = 0;
    std::uint64_t dialog = 0;
    std::size_t mBoxes = 0;
};

const std::string kSentBox =
    "MessageBox: Send Sucess | The preset has been sucessfully sent to the device | 0";
const std::string kFirmwareBox = "MessageBox: Send Preset Error | The firmware version of your device is not "
                                 "compatible with this version of the Preset Editor.  Visit "
                                 "https://www.tarsil.example/firmware for the latest firmware updates. | 0";
const std::string kConnectionBox = "MessageBox: Send Preset Error | Error connecting to device. Verify your "
                                   "Quillan Keyboard is plugged into the USB port and try again. | 0";

TEST_F(DeviceDialogsOnScreen, SendingToRamReachesTheKeyboardAndOldFirmwareSendsNothing)
{
    std::string error;
    const auto keyboard = SimKeyboardProcess::Start({}, &error);
    ASSERT_TRUE(keyboard) << error;
    ASSERT_NE(Start(), 0u);
    ASSERT_NE(OpenByHotKey("shift+ctrl+s"), 0u) << ::testing::PrintToString(editor.Lines());
    EXPECT_TRUE(Screenshot(dialog, "dialog-send-preset.png", 400, 150));

    ASSERT_TRUE(Click(dialog, 340, 118)); // "send", "RAM" selected
    EXPECT_EQ(NextBox(), kSentBox);
    EXPECT_TRUE(KR::TestSupport::WaitUntil([&] { return Count(keyboard->LogLines(), kDumpToRam) == 1; }, 5s))
        << ::testing::PrintToString(keyboard->LogLines());

    ASSERT_TRUE(keyboard->Command("fault old-firmware"));
    ASSERT_TRUE(Click(dialog, 340, 118)); // the dialog is still open
    EXPECT_EQ(NextBox(), kFirmwareBox);
    EXPECT_EQ(Count(keyboard->LogLines(), "F0 00 01 05 7F 31 05 61"), 1u) << "no second dump";
    Finish(240, 118);
}

TEST_F(DeviceDialogsOnScreen, WithoutTheKeyboardTheSendIsAConnectionFailure)
{
    ASSERT_NE(Start(), 0u);
    ASSERT_NE(OpenByHotKey("shift+ctrl+s"), 0u);
    ASSERT_TRUE(Click(dialog, 340, 118));
    EXPECT_EQ(NextBox(), kConnectionBox);
    Finish(240, 118);
}

TEST_F(DeviceDialogsOnScreen, ASilentKeyboardIsARetrieveErrorAfterTenRequests)
{
    std::string error;
    const auto keyboard = SimKeyboardProcess::Start({"--silent"}, &error);
    ASSERT_TRUE(keyboard) << error;
    ASSERT_NE(Start(), 0u);
    ASSERT_NE(OpenByHotKey("shift+ctrl+r"), 0u);
    ASSERT_TRUE(Click(dialog, 340, 118)); // "getButton"
    const std::string box = NextBox();
    EXPECT_EQ(box.rfind("MessageBox: Retrieve Preset Error | ", 0), 0u) << box;
    // The box comes when the last request's wait has run out, which does not wait for the
    // keyboard to log that request: the log may still be a line short.
    EXPECT_TRUE(
        KR::TestSupport::WaitUntil([&] { return Count(keyboard->LogLines(), kIdentityRequest) == 10u; }))
        << ::testing::PrintToString(keyboard->LogLines());
    Finish(240, 118);
}

// The global requests ('k') or sets ('j', as "index=value") in the keyboard's log, in order.
Lines Globals(const Lines& log, const std::string& command)
{
    const std::string head = "F0 00 01 05 7F 31 05 " + command + " ";
    Lines globals;
    for (const std::string& line : log)
    {
        if (line.rfind(head, 0) != 0)
        {
            continue;
        }
        std::istringstream in(line.substr(head.size()));
        std::vector<int> bytes;
        for (std::string hex; in >> hex;)
        {
            bytes.push_back(std::stoi(hex, nullptr, 16));
        }
        // count (2 bytes), 00, index, [high, low], F7
        std::string entry = std::to_string(bytes.at(3));
        if (command == "6A")
        {
            entry += "=" + std::to_string(bytes.at(4) * 128 + bytes.at(5));
        }
        globals.push_back(entry);
    }
    return globals;
}

TEST_F(DeviceDialogsOnScreen, GlobalSettingsAreAskedForInWireOrderAndSentBackAsReported)
{
    std::string error;
    const auto keyboard = SimKeyboardProcess::Start({}, &error);
    ASSERT_TRUE(keyboard) << error;
    ASSERT_NE(Start(), 0u);
    // "File", then "Global Settings".
    ASSERT_TRUE(P::Test::Xdo("windowfocus --sync " + std::to_string(main)) == 0);
    const std::uint32_t closed = Pixel(main, 150, 40); // inside the open menu, on the picture otherwise
    ASSERT_TRUE(Click(main, kFileTitleX, kTitleY));
    ASSERT_TRUE(KR::TestSupport::WaitUntil([&] { return Pixel(main, 150, 40) != closed; }));
    ASSERT_TRUE(Click(main, kRowX, kGlobalSettingsRowY));
    dialog = FindWindowOfSize(editor, 552, 344);
    ASSERT_NE(dialog, 0u) << ::testing::PrintToString(editor.Lines());
    EXPECT_TRUE(Screenshot(dialog, "dialog-global-settings.png", 552, 344));

    // The key curve's face: "C1" as the dialog opens.
    const auto keyCurve = [&] { return Pixels(dialog, 282, 140, 96, 22); };
    const std::vector<std::uint32_t> before = keyCurve();
    ASSERT_TRUE(Click(dialog, 72, 320)); // "Get Settings"
    const Lines wireOrder = {"0", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15"};
    EXPECT_TRUE(
        KR::TestSupport::WaitUntil([&] { return Globals(keyboard->LogLines(), "6B") == wireOrder; }, 20s))
        << ::testing::PrintToString(keyboard->LogLines());
    // The reported curves (key "C4", pad "F2", XY pad "S4") show once the replies are taken
    // in, after the press has been handled: a press before that would send what was shown.
    EXPECT_TRUE(KR::TestSupport::WaitUntil([&] { return keyCurve() != before; }, 10s));
    Screenshot(dialog, "dialog-global-settings-received.png", 552, 344);
    ASSERT_TRUE(Click(dialog, 192, 320)); // "Send Settings"
    // The simulator's factory values, as it reported them.
    const Lines reported = {"0=0",  "4=0",  "5=5",  "6=12", "7=3",  "8=5", "9=12",
                            "10=5", "11=0", "12=5", "13=0", "14=0", "15=0"};
    EXPECT_TRUE(
        KR::TestSupport::WaitUntil([&] { return Globals(keyboard->LogLines(), "6A") == reported; }, 20s))
        << ::testing::PrintToString(Globals(keyboard->LogLines(), "6A"));
    EXPECT_EQ(Count(editor.Lines(), "MessageBox: "), 0u)
        << ::testing::PrintToString(editor.Lines()) << ::testing::PrintToString(keyboard->LogLines());
    Finish(496, 320);
}

} // namespace
