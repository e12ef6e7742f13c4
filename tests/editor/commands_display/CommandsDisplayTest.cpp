// The editor's commands as a user gives them: PresetEditor on the test display, its hot
// keys pressed and its menu clicked with xdotool, GTK's file chooser answered by typing,
// the boxes and the about box found by their titles and read back from the X server.

#include "platform/png/PngCodec.h"
#include "platform/window/Window.h"
#include "platform/window_display/DisplayFixture.h"
#include "support/Files.h"
#include "support/Wait.h"
#include "support/editor/EditorProcess.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{

namespace P = KR::Platform;
using KR::TestSupport::EditorFolders;
using KR::TestSupport::EditorProcess;
using KR::TestSupport::FileBytes;
using KR::TestSupport::TempFolder;
using KR::TestSupport::WaitUntil;
using namespace std::chrono_literals;

// Where the menu bar puts things in the editor's skin (main window coordinates).
constexpr int kFileTitleX = 30;
constexpr int kHelpTitleX = 92;
constexpr int kTitleY = 12;
constexpr int kRowX = 60;
constexpr int kUserGuideRowY = 38;
constexpr int kAboutRowY = 62;
constexpr int kExitRowY = 231;
// A line through the first row of either open menu, on the device picture otherwise.
constexpr int kMenuProbeRight = 340;
constexpr int kMenuProbeY = 40;
// The status bar's face, drawn last of the main window.
constexpr std::uint32_t kStatusBar = 0x1B1D21;

constexpr const char* kCorruptBox =
    "MessageBox: Preset File Load | Preset file is not compatible with this vesion of the preset editor | 16";

int Xdo(const std::string& arguments)
{
    return P::Test::Xdo(arguments);
}

// Whether a file of the path's folder has a longer name that begins with the path's name.
bool BeginsAnotherName(const std::filesystem::path& typed)
{
    const std::string name = typed.filename().string();
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(typed.parent_path(), error))
    {
        const std::string other = entry.path().filename().string();
        if (other.size() > name.size() && other.compare(0, name.size(), name) == 0)
        {
            return true;
        }
    }
    return false;
}

bool IsMapped(std::uint64_t window)
{
    return P::Test::Capture("xwininfo -id " + std::to_string(window) + " 2>/dev/null").find("IsViewable") !=
           std::string::npos;
}

bool WaitGone(std::uint64_t window)
{
    return WaitUntil([&] { return !IsMapped(window); });
}

// Writes the window as the X server has it to a PNG of the test's folder.
std::vector<std::uint32_t> Capture(std::uint64_t window, const std::string& name, std::int32_t& width,
                                   std::int32_t& height)
{
    std::vector<std::uint32_t> pixels;
    if (P::CaptureNativeWindow(window, pixels, width, height))
    {
        P::WritePngFile(::testing::TempDir() + name, width, height, pixels.data());
    }
    return pixels;
}

// The window's pixels once two reads 100 ms apart agree (GTK's buttons fade into their
// states), written to a PNG of the test's folder too; none when it does not settle.
std::vector<std::uint32_t> SettledPixels(std::uint64_t window, const std::string& name)
{
    std::int32_t width = 0, height = 0;
    std::vector<std::uint32_t> last = Capture(window, name, width, height);
    auto read = std::chrono::steady_clock::now();
    const bool settled = WaitUntil(
        [&]
        {
            if (std::chrono::steady_clock::now() - read < 100ms)
            {
                return false;
            }
            std::vector<std::uint32_t> now = Capture(window, name, width, height);
            read = std::chrono::steady_clock::now();
            std::swap(now, last);
            return !last.empty() && now == last;
        });
    return settled ? last : std::vector<std::uint32_t>{};
}

using P::Test::MovePointer;
using P::Test::Pixel;

class Commands : public P::Test::OnMainWindowDisplay
{
protected:
    void SetUp() override
    {
        OnMainWindowDisplay::SetUp();
        if (Stopped())
        {
            return;
        }
        // An opener that records what it is given and finds no viewer for it.
        const std::string script = (opener.Path() / "xdg-open").string();
        std::ofstream(script) << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '"
                              << (opener.Path() / "opened").string() << "'\nexit 1\n";
        ::chmod(script.c_str(), 0755);
        editor.AddPathEntry(opener.Path().string());
        std::filesystem::create_directory(Files());
        ASSERT_TRUE(editor.Start());
        window = editor.FindWindow();
        ASSERT_NE(window, 0u) << ::testing::PrintToString(editor.Lines());
        // Input before the first paint could meet a tree not yet laid out.
        ASSERT_TRUE(WaitUntil([&] { return Pixel(window, 800, 740) == kStatusBar; }));
        Focus(window);
    }
    void Focus(std::uint64_t id) { ASSERT_EQ(Xdo("windowfocus --sync " + std::to_string(id)), 0); }
    void Click(std::uint64_t id, int x, int y)
    {
        ASSERT_TRUE(MovePointer(id, x, y));
        ASSERT_EQ(Xdo("click 1"), 0);
    }
    // Presses the keys in the main window, waits for the chooser of that title, types the
    // path into it (nothing for an Escape) and waits until it is gone.
    void Choose(const char* keys, const char* title, const std::string& path)
    {
        const std::uint64_t chooser = OpenChooser(keys, title);
        ASSERT_NE(chooser, 0u) << title;
        Answer(chooser, path);
        ASSERT_TRUE(WaitGone(chooser)) << title;
    }
    std::uint64_t OpenChooser(const char* keys, const char* title)
    {
        Focus(window);
        EXPECT_EQ(Xdo(std::string("key --clearmodifiers ") + keys), 0);
        return editor.FindTitled(title);
    }
    void Answer(std::uint64_t chooser, const std::string& path)
    {
        Focus(chooser);
        if (path.empty())
        {
            ASSERT_EQ(Xdo("key Escape"), 0);
        }
        else
        {
            // A leading "~" opens the chooser's location field in both dialogs.
            ASSERT_EQ(Xdo("key ctrl+a"), 0);
            ASSERT_EQ(Xdo("type --delay 15 '" + path + "'"), 0);
            if (path.rfind("~/", 0) == 0 && BeginsAnotherName(folders.Home() + path.substr(1)))
            {
                // The chooser lists the names the typed one begins once it has read the folder;
                // the list showing says the folder is read and the name typed whole, so the
                // Return goes to the name as typed.
                EXPECT_TRUE(WaitUntil([&] { return CompletionShown(); }, 10s)) << path;
            }
            ASSERT_EQ(Xdo("key Return"), 0);
        }
    }
    // The chooser's completion list: a window of the editor's that the window manager never sees.
    bool CompletionShown() const
    {
        const std::string ids = P::Test::Capture("xdotool search --all --onlyvisible --pid " +
                                                 std::to_string(editor.Pid()) + " --name '.' 2>/dev/null");
        std::istringstream lines(ids);
        for (std::string id; std::getline(lines, id);)
        {
            if (!id.empty() && P::Test::Capture("xwininfo -id " + id + " 2>/dev/null")
                                       .find("Override Redirect State: yes") != std::string::npos)
            {
                return true;
            }
        }
        return false;
    }
    // Clicks a title of the menu bar and waits until its menu is drawn below it: the strip
    // under the bar changes somewhere.
    void OpenMenu(int titleX)
    {
        Focus(window);
        const std::vector<std::uint32_t> before = Strip();
        Click(window, titleX, kTitleY);
        ASSERT_TRUE(WaitUntil(
            [&]
            {
                const auto now = Strip();
                return !now.empty() && now != before;
            }));
    }
    std::vector<std::uint32_t> Strip() const
    {
        std::vector<std::uint32_t> pixels;
        std::int32_t width = 0, height = 0;
        std::vector<std::uint32_t> strip;
        if (P::CaptureNativeWindow(window, pixels, width, height) && width >= kMenuProbeRight &&
            height > kMenuProbeY)
        {
            for (int x = kFileTitleX; x < kMenuProbeRight; ++x)
            {
                strip.push_back(pixels[static_cast<std::size_t>(kMenuProbeY) * width + x] & 0xFFFFFF);
            }
        }
        return strip;
    }
    std::size_t Boxes() const
    {
        std::size_t count = 0;
        for (const std::string& line : editor.Lines())
        {
            count += line.find("MessageBox:") != std::string::npos ? 1 : 0;
        }
        return count;
    }

    // "x" saved with Ctrl+S into the files folder, then given other bytes than a save writes
    // and an hour-old time, so that a file replaced or written again shows.
    void SaveOldX()
    {
        Choose("ctrl+s", "Select Save Location", "~/files/x");
        const std::string saved = Files() + "/x.VantorPresetEditor";
        ASSERT_TRUE(WaitUntil([&] { return FileBytes(saved).size() == 4494; })) << saved;
        KR::TestSupport::WriteBytes(saved, old);
        std::filesystem::last_write_time(saved, oldTime);
    }
    const std::vector<std::uint8_t> old{'o', 'l', 'd'};
    const std::filesystem::file_time_type oldTime = std::filesystem::file_time_type::clock::now() - 1h;

    // The files the tests choose, in the editor's home and typed from "~": a path through the
    // shared /tmp makes the chooser list and complete thousands of names while it is typed.
    std::string Files() const { return folders.Home() + "/files"; }

    TempFolder opener;
    EditorFolders folders;
    EditorProcess editor{folders};
    std::uint64_t window = 0;
};

TEST_F(Commands, APresetSavedWithCtrlSLoadsBackWithCtrlOAndARefusedFileChangesNothing)
{
    Choose("ctrl+s", "Select Save Location", "~/files/first");
    const std::string saved = Files() + "/first.VantorPresetEditor";
    ASSERT_TRUE(WaitUntil([&] { return FileBytes(saved).size() == 4494; })) << saved;
    const std::vector<std::uint8_t> good = FileBytes(saved);

    // The first chunk's length word says 3: the file is refused whole.
    std::vector<std::uint8_t> bytes = good;
    bytes[12] = 3;
    bytes[13] = bytes[14] = bytes[15] = 0;
    KR::TestSupport::WriteBytes(Files() + "/corrupt.VantorPresetEditor", bytes);
    Choose("ctrl+o", "Select Preset File", "~/files/corrupt.VantorPresetEditor");
    ASSERT_TRUE(editor.WaitForLine(kCorruptBox)) << ::testing::PrintToString(editor.Lines());
    const std::uint64_t box = editor.FindTitled("Preset File Load");
    ASSERT_NE(box, 0u);
    Focus(box);
    ASSERT_EQ(Xdo("key Return"), 0);
    ASSERT_TRUE(WaitGone(box));

    Choose("ctrl+s", "Select Save Location", "~/files/second");
    const std::string second = Files() + "/second.VantorPresetEditor";
    ASSERT_TRUE(WaitUntil([&] { return FileBytes(second).size() == 4494; }));
    EXPECT_EQ(FileBytes(second), good) << "nothing of the refused file was applied";

    Choose("ctrl+o", "Select Preset File", "~/files/first.VantorPresetEditor");
    // Escape in the next chooser: the load before it has ended, and nothing is written.
    Choose("ctrl+o", "Select Preset File", "");
    EXPECT_EQ(Boxes(), 1u) << ::testing::PrintToString(editor.Lines());
    EXPECT_EQ(KR::TestSupport::NamesIn(Files()),
              (std::vector<std::string>{"corrupt.VantorPresetEditor", "first.VantorPresetEditor",
                                        "second.VantorPresetEditor"}));
}

TEST_F(Commands, SavingTheSameNameTwiceAsksTheSecondTimeAndNoKeepsTheFileAndTheChooser)
{
    ASSERT_NO_FATAL_FAILURE(SaveOldX());
    const std::string saved = Files() + "/x.VantorPresetEditor";

    const std::uint64_t chooser = OpenChooser("ctrl+s", "Select Save Location");
    ASSERT_NE(chooser, 0u);
    // The whole name the first save wrote; a name typed without its extension is the next test's.
    Answer(chooser, "~/files/x.VantorPresetEditor");
    const std::uint64_t question = editor.FindTitled("Confirm Save");
    ASSERT_NE(question, 0u) << "no question before the file was replaced";
    Focus(question);
    ASSERT_EQ(Xdo("key Return"), 0); // the question's default: no
    ASSERT_TRUE(WaitGone(question));
    EXPECT_TRUE(IsMapped(chooser)) << "the chooser stays open for another name";
    Answer(chooser, "");
    ASSERT_TRUE(WaitGone(chooser));
    EXPECT_EQ(FileBytes(saved), old);
    EXPECT_EQ(Boxes(), 0u) << ::testing::PrintToString(editor.Lines());
}

TEST_F(Commands, ABareNameSavedAgainAsksAboutTheFileWithTheExtensionAndNoLeavesItAndTheChooser)
{
    ASSERT_NO_FATAL_FAILURE(SaveOldX());
    const std::string saved = Files() + "/x.VantorPresetEditor";

    const std::uint64_t chooser = OpenChooser("ctrl+s", "Select Save Location");
    ASSERT_NE(chooser, 0u);
    // The bare name first; then the whole name, whose question is about x.VantorPresetEditor
    // for sure, so the bare name's question, drawn alike, names that file too.
    std::vector<std::vector<std::uint32_t>> questions;
    for (const std::string& typed : {std::string("x"), std::string("x.VantorPresetEditor")})
    {
        Answer(chooser, "~/files/" + typed);
        const std::uint64_t question = editor.FindTitled("Confirm Save");
        ASSERT_NE(question, 0u) << typed << ": no question, and the file holds " << FileBytes(saved).size()
                                << " bytes";
        questions.push_back(SettledPixels(question, "question-" + typed + ".png"));
        Focus(question);
        ASSERT_EQ(Xdo("key Return"), 0); // the question's default: no
        ASSERT_TRUE(WaitGone(question));
        EXPECT_TRUE(IsMapped(chooser)) << typed << ": the chooser stays open for another name";
        EXPECT_EQ(FileBytes(saved), old) << typed;
        EXPECT_EQ(std::filesystem::last_write_time(saved), oldTime) << typed;
    }
    EXPECT_FALSE(questions[0].empty());
    EXPECT_TRUE(questions[0] == questions[1])
        << "the bare name's question is about another file: see question-x.png and "
           "question-x.VantorPresetEditor.png in "
        << ::testing::TempDir();
    Answer(chooser, "");
    ASSERT_TRUE(WaitGone(chooser));
    EXPECT_EQ(FileBytes(saved), old);
    EXPECT_EQ(std::filesystem::last_write_time(saved), oldTime);
    EXPECT_EQ(KR::TestSupport::NamesIn(Files()), std::vector<std::string>{"x.VantorPresetEditor"});
    EXPECT_EQ(Boxes(), 0u) << ::testing::PrintToString(editor.Lines());
}

TEST_F(Commands, TheUserGuideTheAboutBoxAndFileExit)
{
    // Help > Open User Guide: the opener gets the guide beside the program; its failure is
    // shown and the editor goes on.
    OpenMenu(kHelpTitleX);
    Click(window, kRowX + kHelpTitleX, kUserGuideRowY);
    ASSERT_TRUE(
        editor.WaitForLine("MessageBox: Open User Guide Error | The user guide could not be opened. | 0"))
        << ::testing::PrintToString(editor.Lines());
    const std::vector<std::uint8_t> opened = FileBytes(opener.Path() / "opened");
    EXPECT_EQ(std::string(opened.begin(), opened.end()),
              std::filesystem::path(EditorProcess::ProgramPath()).parent_path().string() +
                  "/Vantor Preset Editor - User Guide - v1.0.pdf\n");
    const std::uint64_t box = editor.FindTitled("Open User Guide Error");
    ASSERT_NE(box, 0u);
    Focus(box);
    ASSERT_EQ(Xdo("key Return"), 0);
    ASSERT_TRUE(WaitGone(box));

    // Help > About: the box maps under its own title; its OK closes it.
    OpenMenu(kHelpTitleX);
    Click(window, kRowX + kHelpTitleX, kAboutRowY);
    const std::uint64_t about = editor.FindTitled("About Tarsil Vantor Preset Editor");
    ASSERT_NE(about, 0u) << ::testing::PrintToString(editor.Lines())
                         << P::Test::Capture("xwininfo -root -tree");
    // Compare by eye with the design's dialog-about.png.
    ASSERT_TRUE(WaitUntil([&] { return Pixel(about, 340, 190) != Pixel(about, 200, 150); }));
    std::int32_t width = 0, height = 0;
    Capture(about, "dialog-about.png", width, height);
    EXPECT_EQ(width, 400);
    EXPECT_EQ(height, 220);
    Click(about, 340, 190);
    ASSERT_TRUE(WaitGone(about));

    // File > Exit: the program ends as by its close box and keeps its place.
    OpenMenu(kFileTitleX);
    Click(window, kRowX, kExitRowY);
    EXPECT_EQ(editor.WaitForExit(), 1);
    const std::string settings = folders.UserSettingsText();
    EXPECT_NE(settings.find("WP"), std::string::npos) << settings;
}

} // namespace
