#pragma once
// The editor program (PresetEditor) as a child process of a test.
//
//     KR::TestSupport::EditorFolders folders;              // HOME, XDG folders, runtime folder
//     KR::TestSupport::EditorProcess editor(folders);
//     editor.Start({"-debug_console"});
//     const std::uint64_t window = editor.FindWindow();   // xdotool search --class
//     editor.SendDeleteRequest(window);
//     EXPECT_EQ(editor.WaitForExit(), 1);
//
// Each process gets the folders' HOME, XDG_CONFIG_HOME, XDG_DATA_HOME and XDG_RUNTIME_DIR
// (two processes on one EditorFolders meet as a first and a second instance), the test's
// DISPLAY and JACK server with KR_MIDI_API=jack, and optionally KR_RESOURCE_FOLDER and
// folders put first on PATH. Its standard error (the debug log) is read line by line on a
// thread of its own. A process still running when the object ends is asked to end
// (SIGTERM), and killed when it does not.

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace KR::TestSupport
{

using std::chrono::milliseconds;

class EditorFolders
{
public:
    EditorFolders();
    ~EditorFolders();
    EditorFolders(const EditorFolders&) = delete;
    EditorFolders& operator=(const EditorFolders&) = delete;

    const std::string& Home() const { return mHome; }
    const std::string& Runtime() const { return mRuntime; }
    // "UserSettings.ini" as the program keeps it, and its text ("" while there is none).
    std::string UserSettingsPath() const;
    std::string UserSettingsText() const;

private:
    std::string mHome;
    std::string mRuntime;
};

class EditorProcess
{
public:
    // A whole program under the sanitizers, started beside a full parallel test run, can take
    // more than 20 s to map its window; the bound only lengthens a run that fails.
    static constexpr milliseconds kPatience{60000};
    // How long a process left running at the end is given to end on SIGTERM.
    static constexpr milliseconds kTermPatience{15000};
    static constexpr const char* kWindowClass = "Tarsil_Vantor Preset Editor";

    static std::string ProgramPath();

    explicit EditorProcess(const EditorFolders& folders);
    ~EditorProcess();
    EditorProcess(const EditorProcess&) = delete;
    EditorProcess& operator=(const EditorProcess&) = delete;

    void SetResourceFolder(const std::string& folder) { mResourceFolder = folder; }
    void AddPathEntry(const std::string& folder) { mPathEntries.push_back(folder); }
    // A variable of the test's own in the program's environment.
    void SetEnvironment(const std::string& name, const std::string& value) { mEnvironment[name] = value; }
    // Empty: started without DISPLAY.
    void SetDisplay(const std::string& display) { mDisplay = display; }

    // Starts the program with these arguments; false when it cannot be started.
    bool Start(const std::vector<std::string>& arguments = {});
    pid_t Pid() const { return mPid; }

    // The debug log's lines so far; a wait until a line holds `part` (its line, or none).
    std::vector<std::string> Lines() const;
    std::optional<std::string> WaitForLine(const std::string& part, milliseconds limit = kPatience) const;

    // The X id of this process's mapped window of that class (xdotool search), 0 when none
    // maps within the limit.
    std::uint64_t FindWindow(milliseconds limit = kPatience, const char* windowClass = kWindowClass) const;
    // The same for its mapped window titled exactly `title` (a box, a chooser, a dialog).
    std::uint64_t FindTitled(const std::string& title, milliseconds limit = kPatience) const;
    // The message boxes it has logged so far, from "MessageBox: " on ("MessageBox: caption |
    // text | style"), in order.
    std::vector<std::string> MessageBoxes() const;
    // Asks the window to close as the desktop's close box does.
    static bool SendDeleteRequest(std::uint64_t window);

    // The exit code (-1 as 255), or none when the process is still running at the limit
    // (or was killed by a signal: then -signal).
    std::optional<int> WaitForExit(milliseconds limit = kPatience);
    void Kill(int signal);

private:
    void ReadOutput(int descriptor);
    // The first of this process's mapped windows that xdotool's search `what` finds.
    std::uint64_t Search(const std::string& what, milliseconds limit) const;

    const EditorFolders& mFolders;
    std::string mResourceFolder;
    std::vector<std::string> mPathEntries;
    std::map<std::string, std::string> mEnvironment;
    std::optional<std::string> mDisplay;
    pid_t mPid = -1;
    std::optional<int> mExit;
    std::thread mReader;
    mutable std::mutex mLock;
    mutable std::condition_variable mChanged;
    std::vector<std::string> mLines;
};

} // namespace KR::TestSupport
