#pragma once
// Joins system-exclusive pieces sent one by one into whole messages.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace KR::Platform
{

// Callers send a long system-exclusive message in pieces (the first begins with F0, the
// others with a data byte, the last ends with F7). Some backends can only send whole
// messages; this class holds the pieces until the message is complete. It accepts only
// F0, F7 and data bytes: a piece that continues nothing, holds another status byte, or
// grows the message past kMaxSysExBytes is refused and drops what was held. A new F0
// drops an unfinished message, as it would end it on a MIDI cable.
class SysExJoiner
{
public:
    static constexpr std::size_t kMaxSysExBytes = 64 * 1024;

    // Receives each completed message; the bytes are valid during the call only.
    using Sink = std::function<void(std::span<const std::uint8_t>)>;

    // Returns false when the piece was refused (in part: messages it completed before
    // the fault have been handed on).
    bool Add(std::span<const std::uint8_t> piece, const Sink& sink);

    bool HasPending() const { return !message_.empty(); }
    void Clear() { message_.clear(); }

private:
    std::vector<std::uint8_t> message_;
};

} // namespace KR::Platform
