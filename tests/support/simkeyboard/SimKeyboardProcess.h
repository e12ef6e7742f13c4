#pragma once
// The simulated keyboard (tools/simkeyboard) as a child process of a test.

#include <sys/types.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace KR::TestSupport
{

// Starts the simulator, waits (bounded) until its ports exist, sends it control
// commands and reads its log of received messages (one hex line per message, such as
// "F0 7E 7F 06 01 F7"). The simulator connects to the JACK server named by
// JACK_DEFAULT_SERVER, which the test scripts start.
class SimKeyboardProcess
{
public:
    using Duration = std::chrono::milliseconds;
    // Opening a JACK client waits on the server, which a loaded machine can keep busy for
    // many seconds; the bound only lengthens a run that fails.
    static constexpr Duration kStartTimeout{30000};
    static constexpr Duration kCommandTimeout{5000};

    // The simulator program built with the tests.
    static std::string ProgramPath();

    // `args` are the simulator's options (faults, firmware, ...); the log option is
    // added here. Null, with the reason in `error`, when it does not report "ready" in time.
    static std::unique_ptr<SimKeyboardProcess> Start(const std::vector<std::string>& args = {},
                                                     std::string* error = nullptr,
                                                     Duration timeout = kStartTimeout);

    // Asks the simulator to quit and waits for it (killing it after a bounded wait);
    // removes its log.
    ~SimKeyboardProcess();
    SimKeyboardProcess(const SimKeyboardProcess&) = delete;
    SimKeyboardProcess& operator=(const SimKeyboardProcess&) = delete;

    // Sends one command line (see tools/simkeyboard/main.cpp) and waits for the answer;
    // true when it is "ok". The answer stays in LastAnswer().
    bool Command(const std::string& line, Duration timeout = kCommandTimeout);
    const std::string& LastAnswer() const { return lastAnswer_; }

    std::vector<std::string> LogLines() const;
    // Waits until the log holds at least `count` lines and returns them all (fewer when
    // the time runs out).
    std::vector<std::string> WaitForLogLines(std::size_t count, Duration timeout = kCommandTimeout) const;

    pid_t Pid() const { return pid_; }

private:
    SimKeyboardProcess() = default;
    bool ReadLine(std::string& line, Duration timeout);

    pid_t pid_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
    std::string folder_;
    std::string logPath_;
    std::string received_; // output read past the last whole line
    std::string lastAnswer_;
};

// The simulator's client, named as a USB keyboard's on Linux. With the process id: two test
// runs on one machine share JACK's socket folder, where a client's socket is named after it.
inline const std::string kLinuxClient = "Vantor-" + std::to_string(getpid());

} // namespace KR::TestSupport
