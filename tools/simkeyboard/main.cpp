// simkeyboard: the keyboard, simulated as a JACK client, for the editor's MIDI tests.
//
// Its output port (the editor's input) is named "MIDIIN4 (Vantor)", its input port (the
// editor's output) "MIDIOUT4 (Vantor)". It answers the identity request, preset
// requests and global requests, stores preset dumps and global sets, and logs every
// message it receives as one hex line. It prints "ready" once both ports exist, then
// reads control commands from standard input, one per line, and answers each with "ok"
// or "error: <why>".
//
// With --linux NAME it shows itself as a USB keyboard does on Linux instead: one client
// NAME with numbered ports, "NAME MIDI 1" .. "NAME MIDI <n>" that send and "NAME MIDI 1
// in" .. that receive (JACK wants a port's name to be unique in its client, where ALSA
// has one port for both directions); n is 4 unless --linux-ports says otherwise. The
// last pair speaks the protocol; what reaches another port is logged as "port <k>: <hex>".
//
// Control commands:
//
//   send <hex>               send the bytes as one message, whatever they are
//   sendpieces <n> <hex>     send the bytes in pieces of n bytes, back to back
//   preset-reply <slot>      send a preset reply for the slot, unasked
//   stray-reply              send the unsolicited preset reply of the fault below
//   fault <name> [value]     add a fault: silent, reply-after N, wrong-length [delta],
//                            old-firmware, unsolicited; "fault none" clears them all
//   firmware <digits>        the four version digits of the identity reply
//   flood on|off             send note-ons (90 3C 64) without pause, one per millisecond
//   quit                     close the ports and end (so do end of input and SIGTERM)

#include "simkeyboard/HexText.h"
#include "simkeyboard/SimKeyboard.h"

#include "platform/midi/MidiApi.h"
#include "platform/midi/MidiInput.h"
#include "platform/midi/MidiOutput.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using KR::Platform::MidiInput;
using KR::Platform::MidiOutput;

namespace
{

constexpr const char* kUsage =
    "usage: simkeyboard [--log FILE] [--client NAME] [--firmware DIGITS] [--piece-size N]\n"
    "                   [--silent] [--reply-after N] [--wrong-length[=DELTA]] [--old-firmware]\n"
    "                   [--unsolicited] [--linux NAME [--linux-ports N]]\n";

const std::string kOutputPortName = "MIDIIN4 (Vantor)";
const std::string kInputPortName = "MIDIOUT4 (Vantor)";

struct Options
{
    std::string logPath;
    // With the process id: JACK 2 names a client's socket after the client alone, so
    // simulators of two test runs on one machine must not share a name.
    std::string clientName = "simkeyboard " + std::to_string(getpid());
    std::string firmware = "1041";
    std::size_t pieceSize = 0; // replies go out whole
    SimFaults faults;
    std::string linuxClient; // empty: the ports named as above
    int linuxPorts = 4;
};

bool ParseNumber(std::string_view text, long& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// Applies one fault by name; the value is optional where the fault has a default.
bool ApplyFault(SimFaults& faults, std::string_view name, std::string_view value)
{
    long number = 0;
    if (name == "silent" && value.empty())
    {
        faults.silent = true;
    }
    else if (name == "reply-after" && ParseNumber(value, number) && number >= 0)
    {
        faults.replyAfter = static_cast<unsigned>(number);
    }
    else if (name == "wrong-length" && (value.empty() || (ParseNumber(value, number) && number != 0)))
    {
        faults.lengthDelta = value.empty() ? -1 : static_cast<int>(number);
    }
    else if (name == "old-firmware" && value.empty())
    {
        faults.oldFirmware = true;
    }
    else if (name == "unsolicited" && value.empty())
    {
        faults.unsolicited = true;
    }
    else
    {
        return false;
    }
    return true;
}

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i)
    {
        const std::string_view arg = argv[i];
        const bool hasNext = i + 1 < argc;
        long number = 0;
        if (arg == "--log" && hasNext)
        {
            options.logPath = argv[++i];
        }
        else if (arg == "--client" && hasNext)
        {
            options.clientName = argv[++i];
        }
        else if (arg == "--linux" && hasNext)
        {
            options.linuxClient = argv[++i];
        }
        else if (arg == "--linux-ports" && hasNext && ParseNumber(argv[i + 1], number) && number > 0 &&
                 number <= 16)
        {
            options.linuxPorts = static_cast<int>(number);
            ++i;
        }
        else if (arg == "--firmware" && hasNext)
        {
            options.firmware = argv[++i];
        }
        else if (arg == "--piece-size" && hasNext && ParseNumber(argv[i + 1], number) && number > 0)
        {
            options.pieceSize = static_cast<std::size_t>(number);
            ++i;
        }
        else if (arg == "--reply-after" && hasNext)
        {
            if (!ApplyFault(options.faults, "reply-after", argv[++i]))
            {
                return false;
            }
        }
        else if (arg.starts_with("--wrong-length"))
        {
            const std::string_view rest = arg.substr(std::string_view("--wrong-length").size());
            if (!(rest.empty() || rest.starts_with('=')) ||
                !ApplyFault(options.faults, "wrong-length", rest.empty() ? rest : rest.substr(1)))
            {
                return false;
            }
        }
        else if (!arg.starts_with("--") || !ApplyFault(options.faults, arg.substr(2), ""))
        {
            return false;
        }
    }
    return true;
}

class Simulator
{
public:
    ~Simulator() { Stop(); }

    bool Start(const Options& options, std::string& error)
    {
        pieceSize_ = options.pieceSize;
        faults_ = options.faults;
        keyboard_.SetFaults(faults_);
        if (!keyboard_.SetFirmware(options.firmware))
        {
            error = "firmware must be four digits";
            return false;
        }
        if (!options.logPath.empty())
        {
            log_ = std::fopen(options.logPath.c_str(), "w");
            if (log_ == nullptr)
            {
                error = "cannot write " + options.logPath;
                return false;
            }
        }
        // The simulator is a JACK client whatever KR_MIDI_API says: ALSA would need a
        // sound card's sequencer, and the tests' JACK server needs none.
        KR::Platform::MidiPortOptions portOptions;
        portOptions.api = KR::Platform::MidiApi::kJack;
        if (!options.linuxClient.empty())
        {
            return StartNumbered(options, portOptions, error);
        }
        portOptions.clientName = options.clientName + "-out";
        output_ = MidiOutput::CreateVirtual(kOutputPortName, portOptions, &error);
        if (!output_)
        {
            return false;
        }
        portOptions.clientName = options.clientName + "-in";
        input_ = MidiInput::CreateVirtual(
            kInputPortName,
            [this](std::span<const std::uint8_t> message, std::uint32_t) { OnMessage(message); }, portOptions,
            &error);
        return input_ != nullptr;
    }

    void Stop()
    {
        SetFlood(false);
        input_.reset(); // no more replies after this
        silentInputs_.clear();
        output_.reset();
        silentOutputs_.clear();
        if (log_ != nullptr)
        {
            std::fclose(log_);
            log_ = nullptr;
        }
    }

    // Runs one control command; returns the line to answer with.
    std::string Execute(const std::string& line, bool& quit)
    {
        std::istringstream words(line);
        std::string command;
        words >> command;
        std::string rest;
        std::getline(words >> std::ws, rest);
        long number = 0;
        if (command == "send")
        {
            const auto bytes = HexText::Parse(rest);
            if (!bytes || bytes->empty())
            {
                return "error: send wants hex bytes";
            }
            return Result(Send(*bytes, 0));
        }
        if (command == "sendpieces")
        {
            const std::size_t blank = rest.find(' ');
            const auto bytes =
                blank == std::string::npos ? std::nullopt : HexText::Parse(rest.substr(blank + 1));
            if (!bytes || bytes->empty() || !ParseNumber(rest.substr(0, blank), number) || number <= 0)
            {
                return "error: sendpieces wants a piece size and hex bytes";
            }
            return Result(Send(*bytes, static_cast<std::size_t>(number)));
        }
        if (command == "preset-reply")
        {
            if (!ParseNumber(rest, number) || number < 0 || number > 127)
            {
                return "error: preset-reply wants a slot 0..127";
            }
            return Result(Send(keyboard_.PresetReply(static_cast<std::uint8_t>(number)), pieceSize_));
        }
        if (command == "stray-reply")
        {
            return Result(Send(keyboard_.StrayPresetReply(), pieceSize_));
        }
        if (command == "fault")
        {
            const std::size_t blank = rest.find(' ');
            const std::string name = rest.substr(0, blank);
            const std::string value = blank == std::string::npos ? "" : rest.substr(blank + 1);
            if (name == "none")
            {
                faults_ = SimFaults{};
            }
            else if (!ApplyFault(faults_, name, value))
            {
                return "error: unknown fault \"" + rest + "\"";
            }
            keyboard_.SetFaults(faults_);
            return "ok";
        }
        if (command == "firmware")
        {
            return keyboard_.SetFirmware(rest) ? "ok" : "error: firmware must be four digits";
        }
        if (command == "flood" && (rest == "on" || rest == "off"))
        {
            SetFlood(rest == "on");
            return "ok";
        }
        if (command == "quit")
        {
            quit = true;
            return "ok";
        }
        return "error: unknown command \"" + line + "\"";
    }

private:
    bool StartNumbered(const Options& options, KR::Platform::MidiPortOptions portOptions, std::string& error)
    {
        portOptions.clientName = options.linuxClient;
        for (int k = 1; k <= options.linuxPorts; ++k)
        {
            const std::string name = options.linuxClient + " MIDI " + std::to_string(k);
            auto output = MidiOutput::CreateVirtual(name, portOptions, &error);
            auto input = MidiInput::CreateVirtual(
                name + " in",
                [this, k, speaks = k == options.linuxPorts](std::span<const std::uint8_t> message,
                                                            std::uint32_t)
                {
                    if (speaks)
                    {
                        OnMessage(message);
                    }
                    else
                    {
                        Log("port " + std::to_string(k) + ": ", message);
                    }
                },
                portOptions, &error);
            if (!output || !input)
            {
                return false;
            }
            if (k < options.linuxPorts)
            {
                silentOutputs_.push_back(std::move(output));
                silentInputs_.push_back(std::move(input));
            }
            else
            {
                output_ = std::move(output);
                input_ = std::move(input);
            }
        }
        return true;
    }

    // Runs on an input port's delivery thread.
    void Log(const std::string& prefix, std::span<const std::uint8_t> message)
    {
        std::lock_guard lock(logMutex_);
        if (log_ != nullptr)
        {
            std::fputs((prefix + HexText::Format(message) + "\n").c_str(), log_);
            std::fflush(log_);
        }
    }

    static std::string Result(bool sent) { return sent ? "ok" : "error: the send failed"; }

    // Runs on the speaking input port's delivery thread.
    void OnMessage(std::span<const std::uint8_t> message)
    {
        Log("", message);
        for (const auto& reply : keyboard_.Receive(message))
        {
            Send(reply, pieceSize_);
        }
    }

    bool Send(std::span<const std::uint8_t> bytes, std::size_t pieceSize)
    {
        if (pieceSize == 0)
        {
            pieceSize = bytes.size();
        }
        bool sent = true;
        for (std::size_t at = 0; at < bytes.size(); at += pieceSize)
        {
            sent = output_->Send(bytes.subspan(at, std::min(pieceSize, bytes.size() - at))) && sent;
        }
        return sent;
    }

    void SetFlood(bool on)
    {
        {
            std::lock_guard lock(floodMutex_);
            if (flooding_ == on)
            {
                return;
            }
            flooding_ = on;
        }
        floodWake_.notify_all();
        if (on)
        {
            flood_ = std::thread([this] { Flood(); });
        }
        else if (flood_.joinable())
        {
            flood_.join();
        }
    }

    void Flood()
    {
        static constexpr std::uint8_t kNoteOn[] = {0x90, 0x3C, 0x64};
        std::unique_lock lock(floodMutex_);
        while (flooding_)
        {
            output_->Send(kNoteOn);
            floodWake_.wait_for(lock, std::chrono::milliseconds(1), [this] { return !flooding_; });
        }
    }

    SimKeyboard keyboard_;
    SimFaults faults_; // control thread only
    std::size_t pieceSize_ = 0;
    std::FILE* log_ = nullptr;
    std::unique_ptr<MidiOutput> output_;
    std::unique_ptr<MidiInput> input_;
    std::vector<std::unique_ptr<MidiOutput>> silentOutputs_;
    std::vector<std::unique_ptr<MidiInput>> silentInputs_;
    std::mutex logMutex_; // the ports' delivery threads all log

    std::mutex floodMutex_;
    std::condition_variable floodWake_;
    bool flooding_ = false;
    std::thread flood_;
};

void Answer(const std::string& line)
{
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options))
    {
        std::fputs(kUsage, stderr);
        return 2;
    }

    // Termination arrives through a descriptor beside standard input, so the ports are
    // closed in order (and leave no client behind on the JACK server) however it ends.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr); // before any thread exists
    signal(SIGPIPE, SIG_IGN);
    const int signalFd = signalfd(-1, &stopSignals, SFD_CLOEXEC);

    // A test waits for the simulator as long as it allows a loaded JACK server; the
    // simulator waits as long, instead of the few seconds the editor gives a server.
    KR::Platform::SetMidiServerTimeout(std::chrono::seconds(30));
    Simulator simulator;
    std::string error;
    if (!simulator.Start(options, error))
    {
        std::fprintf(stderr, "simkeyboard: %s\n", error.c_str());
        return 1;
    }
    Answer("ready");

    std::string pending;
    bool quit = false;
    while (!quit)
    {
        pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {signalFd, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0)
        {
            continue; // EINTR
        }
        if (fds[1].revents != 0)
        {
            break;
        }
        char buffer[4096];
        const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0)
        {
            break; // the controlling test is gone
        }
        pending.append(buffer, static_cast<std::size_t>(got));
        std::size_t end;
        while (!quit && (end = pending.find('\n')) != std::string::npos)
        {
            std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r')
            {
                line.pop_back();
            }
            if (!line.empty())
            {
                Answer(simulator.Execute(line, quit));
            }
        }
    }
    simulator.Stop();
    return 0;
}
