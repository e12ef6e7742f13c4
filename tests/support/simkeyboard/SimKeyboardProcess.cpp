#include "support/simkeyboard/SimKeyboardProcess.h"

#include "TestPaths.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

extern char** environ;

namespace KR::TestSupport
{
namespace
{

using Clock = std::chrono::steady_clock;

// How often file and process states are looked at while waiting for them to change.
constexpr std::chrono::milliseconds kPollInterval{5};

std::string MakeFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/kr-simkeyboard-XXXXXX";
    return mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

} // namespace

std::string SimKeyboardProcess::ProgramPath()
{
    return KR_SIMKEYBOARD_PROGRAM;
}

std::unique_ptr<SimKeyboardProcess> SimKeyboardProcess::Start(const std::vector<std::string>& args,
                                                              std::string* error, Duration timeout)
{
    auto fail = [error](const std::string& why) -> std::unique_ptr<SimKeyboardProcess>
    {
        if (error != nullptr)
        {
            *error = why;
        }
        return nullptr;
    };
    // A simulator that died must fail the test's write, not end the test.
    signal(SIGPIPE, SIG_IGN);

    std::unique_ptr<SimKeyboardProcess> process(new SimKeyboardProcess);
    process->folder_ = MakeFolder();
    if (process->folder_.empty())
    {
        return fail("cannot make a temporary folder");
    }
    process->logPath_ = process->folder_ + "/received.log";

    int input[2];
    int output[2];
    if (pipe2(input, O_CLOEXEC) != 0)
    {
        return fail("cannot make a pipe");
    }
    if (pipe2(output, O_CLOEXEC) != 0)
    {
        close(input[0]);
        close(input[1]);
        return fail("cannot make a pipe");
    }
    process->toChild_ = input[1];
    process->fromChild_ = output[0];

    std::vector<std::string> argStrings = {ProgramPath(), "--log", process->logPath_};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argStrings)
    {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    const int spawned = posix_spawn(&process->pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(input[0]);
    close(output[1]);
    if (spawned != 0)
    {
        process->pid_ = -1;
        return fail("cannot start " + ProgramPath());
    }

    std::string line;
    if (!process->ReadLine(line, timeout) || line != "ready")
    {
        return fail("the simulated keyboard did not get ready (is the JACK server running?)");
    }
    return process;
}

SimKeyboardProcess::~SimKeyboardProcess()
{
    if (toChild_ >= 0)
    {
        static constexpr char kQuit[] = "quit\n";
        [[maybe_unused]] const ssize_t written = write(toChild_, kQuit, sizeof kQuit - 1);
        close(toChild_);
    }
    if (pid_ > 0)
    {
        const auto deadline = Clock::now() + kStartTimeout;
        int status = 0;
        while (waitpid(pid_, &status, WNOHANG) == 0)
        {
            if (Clock::now() > deadline)
            {
                kill(pid_, SIGKILL);
                waitpid(pid_, &status, 0);
                break;
            }
            std::this_thread::sleep_for(kPollInterval);
        }
    }
    if (fromChild_ >= 0)
    {
        close(fromChild_);
    }
    if (!folder_.empty())
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
}

bool SimKeyboardProcess::ReadLine(std::string& line, Duration timeout)
{
    const auto deadline = Clock::now() + timeout;
    for (;;)
    {
        const std::size_t end = received_.find('\n');
        if (end != std::string::npos)
        {
            line = received_.substr(0, end);
            received_.erase(0, end + 1);
            return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
        {
            return false;
        }
        pollfd fd = {fromChild_, POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(left.count())) <= 0)
        {
            continue; // timeout or EINTR: the deadline decides
        }
        char buffer[1024];
        const ssize_t got = read(fromChild_, buffer, sizeof buffer);
        if (got <= 0)
        {
            return false; // the simulator ended
        }
        received_.append(buffer, static_cast<std::size_t>(got));
    }
}

bool SimKeyboardProcess::Command(const std::string& line, Duration timeout)
{
    lastAnswer_.clear();
    const std::string text = line + "\n";
    if (write(toChild_, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
    {
        lastAnswer_ = "error: the simulator is gone";
        return false;
    }
    if (!ReadLine(lastAnswer_, timeout))
    {
        lastAnswer_ = "error: no answer in time";
        return false;
    }
    return lastAnswer_ == "ok";
}

std::vector<std::string> SimKeyboardProcess::LogLines() const
{
    std::vector<std::string> lines;
    std::ifstream log(logPath_);
    std::string line;
    // The simulator flushes whole lines, but a line being written may be read half.
    while (std::getline(log, line) && !log.eof())
    {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> SimKeyboardProcess::WaitForLogLines(std::size_t count, Duration timeout) const
{
    const auto deadline = Clock::now() + timeout;
    std::vector<std::string> lines = LogLines();
    while (lines.size() < count && Clock::now() < deadline)
    {
        std::this_thread::sleep_for(kPollInterval);
        lines = LogLines();
    }
    return lines;
}

} // namespace KR::TestSupport
