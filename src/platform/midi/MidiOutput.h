#pragma once
// An open MIDI output port: short messages, whole system-exclusive messages and pieces.

#include "platform/midi/MidiApi.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

namespace KR::Platform
{

// Sends are serialised per port and may come from any thread. A send returns once the
// bytes are handed over (copied into the backend's queue or joined message); the
// caller's storage is free again.
class MidiOutput
{
public:
    // Opens the MIDI destination that `namePart` names (FindPortByName). Null, with the
    // reason in `error`, when none does or the MIDI system refuses. On JACK the port is
    // a connection of a port the process keeps, live when this returns: a message sent
    // right after it is not lost.
    static std::unique_ptr<MidiOutput> Open(std::string_view namePart, const MidiPortOptions& options = {},
                                            std::string* error = nullptr);

    // Creates a port of this program's own, named `portName`, that other programs can
    // connect to and receive from.
    static std::unique_ptr<MidiOutput> CreateVirtual(const std::string& portName,
                                                     const MidiPortOptions& options = {},
                                                     std::string* error = nullptr);

    ~MidiOutput();
    MidiOutput(const MidiOutput&) = delete;
    MidiOutput& operator=(const MidiOutput&) = delete;

    // Bytes whose first byte is F0, F7 or a data byte are system-exclusive: a whole
    // message or one piece of one (pieces follow each other in order, the first
    // beginning with F0, the last ending with F7). Any other first byte is a status byte:
    // the message it starts goes out with as many bytes as that status calls for, and
    // fewer bytes than that are refused. False on refusal or when the backend fails
    // (LastError says why); an empty span is refused.
    bool Send(std::span<const std::uint8_t> bytes);

    // Waits until what was sent has left for the MIDI system, keeping the port open: at
    // once but on JACK, where it waits as Close does. False when it had not (LastError says
    // why); what is queued still goes if the server runs again. True on a closed port.
    bool WaitUntilSent();

    // Closing twice is harmless; sends after Close fail. False when what was sent could
    // not be seen to leave (LastError says why): on JACK, when the server held it back
    // longer than it may keep a request waiting, or went away.
    bool Close();

    const std::string& Name() const { return name_; }
    std::string LastError() const;

private:
    struct Impl;

    MidiOutput(std::unique_ptr<Impl> impl, std::string name);
    static std::unique_ptr<MidiOutput> OpenPort(std::string_view name, bool isVirtual,
                                                const MidiPortOptions& options, std::string* error);
    bool SendSysEx(std::span<const std::uint8_t> bytes);
    bool SendWhole(std::span<const std::uint8_t> message);

    mutable std::mutex mutex_;
    std::unique_ptr<Impl> impl_;
    std::string name_;
};

} // namespace KR::Platform
