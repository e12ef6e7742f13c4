#pragma once
// Turns the byte chunks a MIDI backend delivers into whole MIDI messages.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace KR::Platform
{

// Backends split input differently: JACK hands over whatever events the sender wrote
// (a long system-exclusive message may come as several events), ALSA's sequencer cuts
// system-exclusive messages into chunks of its own. This class reads the chunks as one
// MIDI 1.0 byte stream and hands on each complete message exactly once:
// - a system-exclusive message F0 .. F7 whole, however it was split; a new F0 drops an
//   unfinished one, and so does any status byte other than a real-time byte;
// - a channel or system common message with as many bytes as its status byte calls for
//   (F2 three, F1/F3 two, F4..F6 one);
// - a real-time byte (F8..FF) at once, even inside a system-exclusive message, which
//   goes on around it (MIDI 1.0 allows them there).
// Data bytes that belong to no message are dropped; running status is not taken (the
// backends always send the status byte). Not thread-safe: one reader feeds it.
class MidiMessageAssembler
{
public:
    // Longer system-exclusive messages are dropped whole: the keyboard's largest is 1350
    // bytes, so anything this long is a stuck or foreign stream, not a reply.
    static constexpr std::size_t kMaxSysExBytes = 64 * 1024;

    // Receives each complete message; the bytes are valid during the call only.
    using Sink = std::function<void(std::span<const std::uint8_t>)>;

    void Feed(std::span<const std::uint8_t> chunk, const Sink& sink);

    // Forgets any unfinished message, as after an input error: the bytes that follow
    // cannot be trusted to continue it.
    void Reset();

    bool HasPending() const { return state_ != State::kIdle; }

private:
    enum class State
    {
        kIdle,
        kSysEx,        // collecting F0 ..
        kDiscarding,   // an oversized system-exclusive message, skipped up to its end
        kShortMessage, // collecting a message of expected_ bytes
    };

    void Begin(State state, std::uint8_t status, std::size_t expected);

    State state_ = State::kIdle;
    std::size_t expected_ = 0;
    std::vector<std::uint8_t> message_;
};

// Number of bytes a message with this status byte has (1 for a real-time or undefined
// system status, 0 for a data byte, which starts no message). F0 gives 0: a
// system-exclusive message has no fixed length.
std::size_t MidiMessageLength(std::uint8_t status);

} // namespace KR::Platform
