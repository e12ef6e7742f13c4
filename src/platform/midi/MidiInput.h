#pragma once
// An open MIDI input port: whole messages, on a thread of the port's own.

#include "platform/midi/MidiApi.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace KR::Platform
{

// Each received MIDI message reaches the callback whole and once, in the order of
// arrival: a system-exclusive message F0 .. F7 however the backend split it, a short
// message with its status byte. Rules for what is dropped: MidiMessageAssembler.
//
// The callback runs on a delivery thread that belongs to the port, never on the
// backend's own thread (JACK's process thread must not wait for the program's locks).
// It may take any lock except one that is held while Close runs: Close waits for a
// running callback to return. Close may be called from the callback itself.
class MidiInput
{
public:
    // `bytes`: one whole message, valid during the call. `timeMs`: milliseconds since
    // the port was opened, when the backend handed over the message's last byte.
    using Callback = std::function<void(std::span<const std::uint8_t> bytes, std::uint32_t timeMs)>;

    // Opens the MIDI source that `namePart` names (FindPortByName). Null, with the
    // reason in `error`, when none does or the MIDI system refuses. On JACK the port is
    // a connection of a port the process keeps, live when this returns: a message sent
    // right after it is not lost.
    static std::unique_ptr<MidiInput> Open(std::string_view namePart, Callback callback,
                                           const MidiPortOptions& options = {}, std::string* error = nullptr);

    // Creates a port of this program's own, named `portName`, that other programs can
    // connect to and send to (ALSA and JACK both offer this).
    static std::unique_ptr<MidiInput> CreateVirtual(const std::string& portName, Callback callback,
                                                    const MidiPortOptions& options = {},
                                                    std::string* error = nullptr);

    ~MidiInput();
    MidiInput(const MidiInput&) = delete;
    MidiInput& operator=(const MidiInput&) = delete;

    // Disconnects and stops delivery. After it returns (called from elsewhere than the
    // callback) the callback is not called again. Closing twice is harmless.
    void Close();

    // The port's full name as the MIDI system lists it (for a virtual port, its own name).
    const std::string& Name() const { return name_; }

private:
    struct Impl;

    MidiInput(std::shared_ptr<Impl> impl, std::string name);
    static std::unique_ptr<MidiInput> OpenPort(std::string_view name, bool isVirtual, Callback callback,
                                               const MidiPortOptions& options, std::string* error);

    std::shared_ptr<Impl> impl_;
    std::string name_;
};

} // namespace KR::Platform
