#include "support/editor/EditorProcess.h"

#include "TestPaths.h"
#include "platform/window/Window.h"
#include "platform/window_display/DisplayFixture.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

extern char** environ;

namespace KR::TestSupport
{
namespace
{

using Clock = std::chrono::steady_clock;
constexpr milliseconds kPollInterval{10};

std::string MakeFolder(const char* stem)
{
    // Short and in /tmp: the runtime folder holds a socket, whose path is limited.
    std::string pattern = std::string("/tmp/") + stem + "-XXXXXX";
    return mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

} // namespace

EditorFolders::EditorFolders() : mHome(MakeFolder("kr-home")), mRuntime(MakeFolder("kr-rt"))
{
    chmod(mRuntime.c_str(), 0700);
}

EditorFolders::~EditorFolders()
{
    std::error_code ignored;
    std::filesystem::remove_all(mHome, ignored);
    std::filesystem::remove_all(mRuntime, ignored);
}

std::string EditorFolders::UserSettingsPath() const
{
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(mHome + "/config", error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error))
    {
        if (it->path().filename() == "UserSettings.ini")
        {
            return it->path().string();
        }
    }
    return std::string();
}

std::string EditorFolders::UserSettingsText() const
{
    std::ifstream file(UserSettingsPath());
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string EditorProcess::ProgramPath()
{
    return KR_EDITOR_PROGRAM;
}

EditorProcess::EditorProcess(const EditorFolders& folders) : mFolders(folders)
{
}

EditorProcess::~EditorProcess()
{
    if (mPid > 0 && !mExit)
    {
        // Asked first, so its MIDI clients close and a synchronous JACK server does not
        // wait for them; killed when it does not end.
        Kill(SIGTERM);
        if (!WaitForExit(kTermPatience))
        {
            Kill(SIGKILL);
            WaitForExit(kPatience);
        }
    }
    if (mReader.joinable())
    {
        mReader.join();
    }
}

bool EditorProcess::Start(const std::vector<std::string>& arguments)
{
    std::map<std::string, std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry)
    {
        const std::string text(*entry);
        const std::size_t equals = text.find('=');
        if (equals != std::string::npos)
        {
            environment[text.substr(0, equals)] = text.substr(equals + 1);
        }
    }
    environment["HOME"] = mFolders.Home();
    environment["XDG_CONFIG_HOME"] = mFolders.Home() + "/config";
    environment["XDG_DATA_HOME"] = mFolders.Home() + "/data";
    environment["XDG_RUNTIME_DIR"] = mFolders.Runtime();
    environment["KR_MIDI_API"] = "jack";
    environment.erase("KR_RESOURCE_FOLDER");
    if (!mResourceFolder.empty())
    {
        environment["KR_RESOURCE_FOLDER"] = mResourceFolder;
    }
    for (const auto& [name, value] : mEnvironment)
    {
        environment[name] = value;
    }
    for (const std::string& folder : mPathEntries)
    {
        environment["PATH"] = folder + ":" + environment["PATH"];
    }
    if (mDisplay)
    {
        if (mDisplay->empty())
        {
            environment.erase("DISPLAY");
        }
        else
        {
            environment["DISPLAY"] = *mDisplay;
        }
    }
    std::vector<std::string> entries;
    for (const auto& [name, value] : environment)
    {
        entries.push_back(name + "=" + value);
    }
    std::vector<char*> envp;
    for (std::string& entry : entries)
    {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);

    std::vector<std::string> argStrings = {ProgramPath()};
    argStrings.insert(argStrings.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : argStrings)
    {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    int output[2];
    if (pipe2(output, O_CLOEXEC) != 0)
    {
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    const int spawned = posix_spawn(&mPid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    if (spawned != 0)
    {
        mPid = -1;
        close(output[0]);
        return false;
    }
    mReader = std::thread([this, descriptor = output[0]] { ReadOutput(descriptor); });
    return true;
}

void EditorProcess::ReadOutput(int descriptor)
{
    std::string pending;
    char buffer[1024];
    for (;;)
    {
        const ssize_t got = read(descriptor, buffer, sizeof buffer);
        if (got <= 0)
        {
            break;
        }
        pending.append(buffer, static_cast<std::size_t>(got));
        std::size_t end = 0;
        std::lock_guard lock(mLock);
        while ((end = pending.find('\n')) != std::string::npos)
        {
            mLines.push_back(pending.substr(0, end));
            pending.erase(0, end + 1);
        }
        mChanged.notify_all();
    }
    std::lock_guard lock(mLock);
    if (!pending.empty())
    {
        mLines.push_back(pending);
    }
    close(descriptor);
    mChanged.notify_all();
}

std::vector<std::string> EditorProcess::Lines() const
{
    std::lock_guard lock(mLock);
    return mLines;
}

std::optional<std::string> EditorProcess::WaitForLine(const std::string& part, milliseconds limit) const
{
    std::unique_lock lock(mLock);
    std::optional<std::string> found;
    mChanged.wait_for(lock, limit,
                      [&]
                      {
                          for (const std::string& line : mLines)
                          {
                              if (line.find(part) != std::string::npos)
                              {
                                  found = line;
                                  return true;
                              }
                          }
                          return false;
                      });
    return found;
}

std::uint64_t EditorProcess::FindWindow(milliseconds limit, const char* windowClass) const
{
    return Search("--class '" + std::string(windowClass) + "'", limit);
}

std::uint64_t EditorProcess::FindTitled(const std::string& title, milliseconds limit) const
{
    return Search("--name '^" + title + "$'", limit);
}

std::uint64_t EditorProcess::Search(const std::string& what, milliseconds limit) const
{
    const std::string command =
        "xdotool search --all --onlyvisible --pid " + std::to_string(mPid) + " " + what + " 2>/dev/null";
    const auto deadline = Clock::now() + limit;
    do
    {
        const std::string found = Platform::Test::Capture(command);
        if (!found.empty())
        {
            return std::strtoull(found.c_str(), nullptr, 10);
        }
        std::this_thread::sleep_for(kPollInterval);
    } while (Clock::now() < deadline);
    return 0;
}

std::vector<std::string> EditorProcess::MessageBoxes() const
{
    std::vector<std::string> boxes;
    for (const std::string& line : Lines())
    {
        if (const std::size_t at = line.find("MessageBox: "); at != std::string::npos)
        {
            boxes.push_back(line.substr(at));
        }
    }
    return boxes;
}

bool EditorProcess::SendDeleteRequest(std::uint64_t window)
{
    return Platform::InitializeWindowSystem() && Platform::SendNativeCloseRequest(window);
}

std::optional<int> EditorProcess::WaitForExit(milliseconds limit)
{
    if (mExit || mPid <= 0)
    {
        return mExit;
    }
    const auto deadline = Clock::now() + limit;
    do
    {
        int status = 0;
        if (waitpid(mPid, &status, WNOHANG) == mPid)
        {
            mExit = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
            if (mReader.joinable())
            {
                mReader.join();
            }
            return mExit;
        }
        std::this_thread::sleep_for(kPollInterval);
    } while (Clock::now() < deadline);
    return std::nullopt;
}

void EditorProcess::Kill(int signal)
{
    if (mPid > 0 && !mExit)
    {
        kill(mPid, signal);
    }
}

} // namespace KR::TestSupport
