#include "support/simkeyboard/PrivateJackServer.h"

#include "support/Wait.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

extern char** environ;

namespace KR::TestSupport
{

PrivateJackServer::PrivateJackServer() : mName("kr-private-" + std::to_string(getpid()))
{
    if (const char* previous = std::getenv("JACK_DEFAULT_SERVER"))
    {
        mPreviousServer = previous;
    }
    // Realtime where allowed, as scripts/lib/services.sh starts the shared server.
    const std::string realtime = getuid() == 0 ? "--realtime" : "--no-realtime";
    std::vector<std::string> args = {"jackd", realtime, "-S",    "-n", mName, "-d",
                                     "dummy", "-r",     "48000", "-p", "256"};
    std::vector<char*> argv;
    for (std::string& arg : args)
    {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const int spawned = posix_spawnp(&mPid, "jackd", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
    {
        mPid = -1;
        return;
    }
    setenv("JACK_DEFAULT_SERVER", mName.c_str(), 1);
    mReady = WaitUntil([this]
                       { return std::system(("jack_lsp -s '" + mName + "' >/dev/null 2>&1").c_str()) == 0; });
}

PrivateJackServer::~PrivateJackServer()
{
    if (mPid > 0)
    {
        Resume();
        kill(mPid, SIGTERM);
        int status = 0;
        if (!WaitUntil([&] { return waitpid(mPid, &status, WNOHANG) == mPid; }))
        {
            kill(mPid, SIGKILL);
            waitpid(mPid, &status, 0);
        }
    }
    if (mPreviousServer)
    {
        setenv("JACK_DEFAULT_SERVER", mPreviousServer->c_str(), 1);
    }
    else
    {
        unsetenv("JACK_DEFAULT_SERVER");
    }
}

namespace
{

// Whether every thread of `pid` is stopped, as /proc tells.
bool AllThreadsStopped(pid_t pid)
{
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator(tasks, error))
    {
        std::ifstream file(task.path() / "stat");
        const std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        const std::size_t state = stat.rfind(") ") + 2; // the name before it may hold anything
        if (state >= stat.size() || (stat[state] != 'T' && stat[state] != 't'))
        {
            return false;
        }
    }
    return !error;
}

} // namespace

void PrivateJackServer::Pause()
{
    if (mPid > 0 && !mPaused && kill(mPid, SIGSTOP) == 0)
    {
        mPaused = true;
        WaitUntil([this] { return AllThreadsStopped(mPid); });
    }
}

void PrivateJackServer::Resume()
{
    if (mPid > 0 && mPaused && kill(mPid, SIGCONT) == 0)
    {
        mPaused = false;
    }
}

std::vector<std::string> PrivateJackServer::Ports() const
{
    std::vector<std::string> ports;
    FILE* const listing = popen(("jack_lsp -s '" + mName + "' 2>/dev/null").c_str(), "r");
    if (listing == nullptr)
    {
        return ports;
    }
    std::string line;
    for (int c = std::fgetc(listing); c != EOF; c = std::fgetc(listing))
    {
        if (c != '\n')
        {
            line += static_cast<char>(c);
        }
        else if (!line.empty())
        {
            ports.push_back(std::exchange(line, std::string()));
        }
    }
    pclose(listing);
    return ports;
}

std::vector<std::string> PrivateJackServer::PortsOf(pid_t pid) const
{
    std::vector<std::string> ports;
    for (const std::string& port : Ports())
    {
        if (port.find(" " + std::to_string(pid) + ":") != std::string::npos)
        {
            ports.push_back(port);
        }
    }
    return ports;
}

} // namespace KR::TestSupport
