#pragma once
// A JACK server of the test's own, started as the test scripts start theirs (dummy driver,
// synchronous), for a test that stops it (SIGSTOP) to see what the program does with a
// server that does not answer: the server the scripts start is shared by every test and
// must never be stopped. While the object lives, JACK_DEFAULT_SERVER names this server, so
// the programs the test starts (the editor, the simulated keyboard) use it; the previous
// value comes back afterwards.
//
//     PrivateJackServer server;
//     ASSERT_TRUE(server.Ready());
//     auto keyboard = SimKeyboardProcess::Start();   // on this server
//     server.Pause();  ...  server.Resume();

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace KR::TestSupport
{

class PrivateJackServer
{
public:
    PrivateJackServer();
    // Resumes the server, ends it (bounded, then killed) and restores JACK_DEFAULT_SERVER.
    ~PrivateJackServer();
    PrivateJackServer(const PrivateJackServer&) = delete;
    PrivateJackServer& operator=(const PrivateJackServer&) = delete;

    // Whether it answered within the start's bound.
    bool Ready() const { return mReady; }
    const std::string& Name() const { return mName; }

    // Stops the server and returns once each of its threads has stopped (a stop signal lands
    // on them later than kill returns), bounded; a cycle the server had already handed to
    // its clients may still end in them.
    void Pause();
    void Resume();
    bool IsPaused() const { return mPaused; }

    // The full names of the ports it lists now (jack_lsp); only while it runs.
    std::vector<std::string> Ports() const;
    // Those of a process of the editor's, whose client names carry its process id.
    std::vector<std::string> PortsOf(pid_t pid) const;

private:
    std::string mName;
    pid_t mPid = -1;
    bool mReady = false;
    bool mPaused = false;
    std::optional<std::string> mPreviousServer;
};

} // namespace KR::TestSupport
