// libFuzzer entry over the MIDI input parsers. The first input byte chooses how the rest
// is cut into chunks; the assembler must hand on the same well-formed messages however
// the stream was cut, and the joiner must pass only whole system-exclusive messages and
// give back a clean one whole from any cut.

#include "platform/midi/MidiMessageAssembler.h"
#include "platform/midi/SysExJoiner.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{

using KR::Platform::MidiMessageAssembler;
using KR::Platform::SysExJoiner;
using Bytes = std::vector<std::uint8_t>;

[[noreturn]] void Broken(const char* what)
{
    std::fprintf(stderr, "MIDI input invariant broken: %s\n", what);
    std::abort();
}

bool OnlyDataBytes(const std::uint8_t* first, const std::uint8_t* last)
{
    for (; first != last; ++first)
    {
        if (*first >= 0x80)
        {
            return false;
        }
    }
    return true;
}

bool IsWholeSysEx(const Bytes& m, std::size_t maxBytes)
{
    return m.size() >= 2 && m.size() <= maxBytes && m.front() == 0xF0 && m.back() == 0xF7 &&
           OnlyDataBytes(m.data() + 1, m.data() + m.size() - 1);
}

bool IsWellFormed(const Bytes& m)
{
    if (m.empty())
    {
        return false;
    }
    if (m.front() == 0xF0)
    {
        return IsWholeSysEx(m, MidiMessageAssembler::kMaxSysExBytes);
    }
    return m.size() == KR::Platform::MidiMessageLength(m.front()) &&
           OnlyDataBytes(m.data() + 1, m.data() + m.size());
}

// Pieces of 1 to 16 bytes, their lengths drawn from `seed`.
std::vector<std::span<const std::uint8_t>> Cut(const Bytes& stream, std::uint8_t seed)
{
    std::vector<std::span<const std::uint8_t>> pieces;
    std::uint32_t state = seed * 2654435761u + 1;
    for (std::size_t at = 0; at < stream.size();)
    {
        state = state * 1103515245u + 12345u;
        const std::size_t length = std::min<std::size_t>(1 + (state >> 16) % 16, stream.size() - at);
        pieces.emplace_back(stream.data() + at, length);
        at += length;
    }
    return pieces;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
    {
        return 0;
    }
    const Bytes stream(data + 1, data + size);
    const auto pieces = Cut(stream, data[0]);

    std::vector<Bytes> whole;
    std::vector<Bytes> cut;
    MidiMessageAssembler one;
    one.Feed(stream, [&](std::span<const std::uint8_t> m) { whole.emplace_back(m.begin(), m.end()); });
    MidiMessageAssembler many;
    for (const auto piece : pieces)
    {
        many.Feed(piece, [&](std::span<const std::uint8_t> m) { cut.emplace_back(m.begin(), m.end()); });
    }
    if (whole != cut)
    {
        Broken("the assembler's messages depend on how the stream was cut");
    }
    for (const Bytes& m : whole)
    {
        if (!IsWellFormed(m))
        {
            Broken("the assembler handed on a malformed message");
        }
    }

    SysExJoiner joiner;
    for (const auto piece : pieces)
    {
        joiner.Add(piece,
                   [](std::span<const std::uint8_t> m)
                   {
                       if (!IsWholeSysEx(Bytes(m.begin(), m.end()), SysExJoiner::kMaxSysExBytes))
                       {
                           Broken("the joiner handed on something other than a whole message");
                       }
                   });
    }
    // The stream made clean: one message, which any cut must give back whole.
    Bytes clean{0xF0};
    for (const std::uint8_t byte : stream)
    {
        clean.push_back(byte & 0x7F);
    }
    clean.push_back(0xF7);
    if (clean.size() > SysExJoiner::kMaxSysExBytes)
    {
        return 0;
    }
    std::vector<Bytes> joined;
    SysExJoiner fresh;
    for (const auto piece : Cut(clean, data[0]))
    {
        if (!fresh.Add(piece,
                       [&](std::span<const std::uint8_t> m) { joined.emplace_back(m.begin(), m.end()); }))
        {
            Broken("the joiner refused a piece of a clean message");
        }
    }
    if (joined != std::vector<Bytes>{clean} || fresh.HasPending())
    {
        Broken("the joiner did not give back a clean message whole");
    }
    return 0;
}
