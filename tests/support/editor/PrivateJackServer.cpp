#include "support/editor/PrivateJackServer.h"

#include "platform/window_display/DisplayFixture.h"
#include "support/Wait.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

extern char** environ;

namespace KR::TestSupport
{

PrivateJackServer::PrivateJackServer() : mName("kr-private-" + std::to_string(getpid()))
{
    if (const char* previous = std::getenv("JACK_DEFAULT_SERVER"))
    {
        mPreviousServer = previous;
    }
    std::vector<std::string> args = {"jackd", "--no-realtime", "-S", "-n", mName, "-d", "dummy",
                                     "-r",    "48000",         "-p", "256"};
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

void PrivateJackServer::Pause()
{
    if (mPid > 0 && !mPaused && kill(mPid, SIGSTOP) == 0)
    {
        mPaused = true;
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
    std::istringstream lines(Platform::Test::Capture("jack_lsp -s '" + mName + "' 2>/dev/null"));
    for (std::string line; std::getline(lines, line);)
    {
        if (!line.empty())
        {
            ports.push_back(line);
        }
    }
    return ports;
}

} // namespace KR::TestSupport
