// The editor told to end by a signal while it waits for the user's answer: PresetEditor with
// the simulated keyboard on a JACK server of the test's own, a box or GTK's chooser opened as
// a user opens it, then SIGTERM, SIGINT or SIGHUP. What waited goes as if cancelled, nothing
// modal comes after it, and the program ends as its close request ends it: its placement
// written and none of its JACK ports left.

#include "platform/window/Window.h"
#include "platform/window_display/DisplayFixture.h"
#include "support/Files.h"
#include "support/Wait.h"
#include "support/editor/DumpedTree.h"
#include "support/editor/EditorProcess.h"
#include "support/simkeyboard/PrivateJackServer.h"
#include "support/simkeyboard/SimKeyboardProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace
{

namespace P = KR::Platform;
using KR::TestSupport::DumpedControl;
using KR::TestSupport::EditorFolders;
using KR::TestSupport::EditorProcess;
using KR::TestSupport::SimKeyboardProcess;
using KR::TestSupport::WaitUntil;
using namespace std::chrono_literals;

// How long the program may take from the signal to its end.
constexpr std::chrono::milliseconds kEndBound = 1s;

// What waits for the user when the signal comes.
enum class Waiting
{
    kLoadChooser,     // the chooser of Ctrl+O over the main window
    kLoadFailedBox,   // a refused file's box over the main window
    kSendDialog,      // the send dialog, opened by its hot key, over the main window
    kSendResultBox,   // the send's box over that dialog
    kReplaceQuestion, // the question over the chooser of Ctrl+S
    kSaveFailedBox,   // a failed save's box, after which the chooser comes back
};

class EndBySignal : public P::Test::OnMainWindowDisplay
{
protected:
    void SetUp() override
    {
        OnMainWindowDisplay::SetUp();
        if (Stopped())
        {
            return;
        }
        if (std::system("command -v xdotool jackd >/dev/null 2>&1") != 0)
        {
            GTEST_SKIP() << "needs xdotool and jackd";
        }
        ASSERT_TRUE(server.Ready());
        std::string why;
        keyboard = SimKeyboardProcess::Start({}, &why);
        ASSERT_TRUE(keyboard) << why;
    }

    // The programs end before their server does.
    void TearDown() override
    {
        editor.reset();
        keyboard.reset();
    }

    void StartEditor()
    {
        editor = std::make_unique<EditorProcess>(folders);
        editor->SetEnvironment("KR_TEST_TREE_DUMP", dumpFile);
        ASSERT_TRUE(editor->Start({"-debug_console"}));
        window = editor->FindWindow();
        ASSERT_NE(window, 0u) << ::testing::PrintToString(editor->Lines());
        // The first dump comes from an idle pass, so the picture is built and laid out by then.
        ASSERT_FALSE(KR::TestSupport::RequestTreeDump(*editor, dumpFile).controls.empty());
    }

    void Focus(std::uint64_t id) { ASSERT_EQ(P::Test::Xdo("windowfocus --sync " + std::to_string(id)), 0); }

    void Keys(std::uint64_t id, const std::string& keys)
    {
        Focus(id);
        ASSERT_EQ(P::Test::Xdo("key --clearmodifiers " + keys), 0);
    }

    // Opens the chooser of `keys` and types `path` into it (a leading "~" or "/" opens its
    // location field), then Return.
    void Choose(const char* keys, const char* title, const std::string& path)
    {
        Keys(window, keys);
        const std::uint64_t chooser = editor->FindTitled(title);
        ASSERT_NE(chooser, 0u) << title;
        Focus(chooser);
        ASSERT_EQ(P::Test::Xdo("key ctrl+a"), 0);
        ASSERT_EQ(P::Test::Xdo("type --delay 15 '" + path + "'"), 0);
        ASSERT_EQ(P::Test::Xdo("key Return"), 0);
    }

    // The window of the box logged after the first `before`, once it maps.
    std::uint64_t NextBox(std::size_t before) const
    {
        std::vector<std::string> boxes;
        if (!WaitUntil([&] { return (boxes = editor->MessageBoxes()).size() > before; }))
        {
            return 0;
        }
        const std::string& line = boxes[before];
        return editor->FindTitled(line.substr(12, line.find(" | ") - 12));
    }

    // Opens what the row waits in, as a user does; the X id of the window that waits.
    std::uint64_t Open(Waiting waiting)
    {
        const std::string files = folders.Home() + "/files";
        std::filesystem::create_directories(files);
        const std::size_t before = editor->MessageBoxes().size();
        switch (waiting)
        {
        case Waiting::kLoadChooser:
            Keys(window, "ctrl+o");
            return editor->FindTitled("Select Preset File");
        case Waiting::kLoadFailedBox:
            KR::TestSupport::WriteBytes(files + "/refused.VantorPresetEditor", {'n', 'o', 't', ' ', 'a'});
            Choose("ctrl+o", "Select Preset File", "~/files/refused.VantorPresetEditor");
            return NextBox(before);
        case Waiting::kSendDialog:
            Keys(window, "ctrl+shift+s");
            return editor->FindTitled("Send Preset");
        case Waiting::kSendResultBox:
        {
            // The menu offers the send once discovery has found the keyboard.
            Keys(window, "ctrl+shift+s");
            const std::uint64_t dialog = editor->FindTitled("Send Preset");
            EXPECT_NE(dialog, 0u);
            DumpedControl send;
            EXPECT_TRUE(WaitUntil(
                [&]
                {
                    const KR::TestSupport::DumpedTree tree =
                        KR::TestSupport::RequestTreeDump(*editor, dumpFile);
                    const DumpedControl* found = tree.Find("dialogSendPreset/send");
                    send = found != nullptr ? *found : DumpedControl{};
                    return found != nullptr && found->shown;
                }));
            Focus(dialog);
            EXPECT_TRUE(P::Test::MovePointer(dialog, send.CentreX(), send.CentreY()));
            EXPECT_EQ(P::Test::Xdo("click 1"), 0);
            return NextBox(before);
        }
        case Waiting::kReplaceQuestion:
            KR::TestSupport::WriteBytes(files + "/kept.VantorPresetEditor", {'o', 'l', 'd'});
            Choose("ctrl+s", "Select Save Location", "~/files/kept.VantorPresetEditor");
            return editor->FindTitled("Confirm Save");
        case Waiting::kSaveFailedBox:
            // A folder in which even root cannot make a file.
            Choose("ctrl+s", "Select Save Location", "/sys/x");
            return NextBox(before);
        }
        return 0;
    }

    void EndWhile(Waiting waiting, int signal);

    KR::TestSupport::PrivateJackServer server;
    EditorFolders folders;
    const std::string dumpFile = folders.Home() + "/tree.txt";
    std::unique_ptr<SimKeyboardProcess> keyboard;
    std::unique_ptr<EditorProcess> editor;
    std::uint64_t window = 0;
};

// Ends the editor by the signal while `waiting` is open and checks the end as the close
// request's: within the bound, with the placement written, no port left and no box after.
void EndBySignal::EndWhile(Waiting waiting, int signal)
{
    ASSERT_NO_FATAL_FAILURE(StartEditor());
    ASSERT_NE(Open(waiting), 0u) << ::testing::PrintToString(editor->Lines());
    // The send leaves its ports open behind its box; the editor holds none while it only edits.
    const std::size_t ports = server.PortsOf(editor->Pid()).size();
    const std::size_t boxes = editor->MessageBoxes().size();
    std::filesystem::remove(folders.UserSettingsPath());

    const auto signalled = std::chrono::steady_clock::now();
    editor->Kill(signal);
    const std::optional<int> exit = editor->WaitForExit(kEndBound);
    const auto took =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - signalled);
    EXPECT_EQ(exit, 1) << "still running " << took.count() << " ms after the signal"
                       << ::testing::PrintToString(editor->Lines());
    std::printf("signal %d with %zu ports open: %s after %lld ms\n", signal, ports,
                exit ? "ended" : "running", static_cast<long long>(took.count()));
    if (!exit)
    {
        editor->Kill(SIGKILL);
        editor->WaitForExit();
    }
    // The placement is written when the main window closes.
    EXPECT_NE(folders.UserSettingsText().find("WP"), std::string::npos);
    // Its clients closed on the way out: a synchronous server is not left waiting for them.
    EXPECT_EQ(server.PortsOf(editor->Pid()), std::vector<std::string>{});
    EXPECT_EQ(editor->MessageBoxes().size(), boxes) << "a box after the signal";
    editor.reset();
}

struct Row
{
    const char* what;
    Waiting waiting;
    int signal;
};

TEST_F(EndBySignal, TheLoadChooserIsCancelledByEachSignal)
{
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
    {
        SCOPED_TRACE(signal);
        EndWhile(Waiting::kLoadChooser, signal);
    }
}

TEST_F(EndBySignal, TheSendsBoxIsCancelledByEachSignalAndItsDialogEndsToo)
{
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
    {
        SCOPED_TRACE(signal);
        EndWhile(Waiting::kSendResultBox, signal);
    }
}

TEST_F(EndBySignal, ABoxOverTheWindowOrOverTheChooserIsCancelledAndNoChooserComesBack)
{
    const Row rows[] = {
        {"the send dialog alone", Waiting::kSendDialog, SIGTERM},
        {"a refused file's box", Waiting::kLoadFailedBox, SIGTERM},
        {"the question over the save chooser", Waiting::kReplaceQuestion, SIGINT},
        {"a failed save's box, after which the chooser would come back", Waiting::kSaveFailedBox, SIGHUP},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.what);
        EndWhile(row.waiting, row.signal);
    }
    // The question was answered no.
    EXPECT_EQ(KR::TestSupport::FileBytes(folders.Home() + "/files/kept.VantorPresetEditor"),
              (std::vector<std::uint8_t>{'o', 'l', 'd'}));
}

} // namespace
