#include "platform/midi/MidiMessageAssembler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace KR::Platform
{
namespace
{

using Bytes = std::vector<std::uint8_t>;

// A system-exclusive message of `size` bytes, F0 and F7 included.
Bytes SysEx(std::size_t size)
{
    Bytes message(size, 0);
    message.front() = 0xF0;
    for (std::size_t i = 1; i + 1 < size; ++i)
    {
        message[i] = static_cast<std::uint8_t>(i & 0x7F);
    }
    message.back() = 0xF7;
    return message;
}

Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t to)
{
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                 bytes.begin() + static_cast<std::ptrdiff_t>(to));
}

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
    {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

std::vector<Bytes> Assemble(MidiMessageAssembler& assembler, const std::vector<Bytes>& chunks)
{
    std::vector<Bytes> messages;
    for (const Bytes& chunk : chunks)
    {
        assembler.Feed(chunk,
                       [&](std::span<const std::uint8_t> m) { messages.emplace_back(m.begin(), m.end()); });
    }
    return messages;
}

struct Case
{
    std::string name;
    std::vector<Bytes> chunks;
    std::vector<Bytes> expected;
};

TEST(MidiMessageAssembler, DeliversEachWholeMessageOnceHoweverSplit)
{
    const Bytes s300 = SysEx(300);
    const Bytes s1350 = SysEx(1350);
    const Bytes s256 = SysEx(256);
    const Bytes noteOn = {0x90, 0x3C, 0x64};
    const Bytes program = {0xC0, 0x05};
    const std::vector<Case> cases = {
        {"300 bytes as 256 + 44", {Slice(s300, 0, 256), Slice(s300, 256, 300)}, {s300}},
        {"1350 bytes as six pieces",
         {Slice(s1350, 0, 256), Slice(s1350, 256, 512), Slice(s1350, 512, 768), Slice(s1350, 768, 1024),
          Slice(s1350, 1024, 1280), Slice(s1350, 1280, 1350)},
         {s1350}},
        {"256 bytes ending in F7 in one chunk", {s256}, {s256}},
        {"F7 alone in the last chunk", {Slice(s300, 0, 299), {0xF7}}, {s300}},
        {"byte by byte", {{0xF0}, {0x01}, {0x02}, {0xF7}}, {{0xF0, 0x01, 0x02, 0xF7}}},
        {"short messages in one chunk", {Join({noteOn, program, {0xF8}})}, {noteOn, program, {0xF8}}},
        {"a short message split", {{0x90}, {0x3C, 0x64}}, {noteOn}},
        {"song position keeps its data", {{0xF2, 0x10, 0x20}}, {{0xF2, 0x10, 0x20}}},
        {"tune request is one byte", {{0xF6}}, {{0xF6}}},
        {"clock inside a system-exclusive message",
         {{0xF0, 0x01, 0xF8, 0x02}, {0xFE, 0x03, 0xF7}},
         {{0xF8}, {0xFE}, {0xF0, 0x01, 0x02, 0x03, 0xF7}}},
        {"two messages back to back", {Join({s256, s300})}, {s256, s300}},
    };
    for (const Case& c : cases)
    {
        MidiMessageAssembler assembler;
        EXPECT_EQ(Assemble(assembler, c.chunks), c.expected) << c.name;
        EXPECT_FALSE(assembler.HasPending()) << c.name;
    }
}

TEST(MidiMessageAssembler, DropsStrayAndTruncatedBytes)
{
    const Bytes s300 = SysEx(300);
    const Bytes noteOn = {0x90, 0x3C, 0x64};
    const std::vector<Case> cases = {
        {"a continuation that follows nothing", {Slice(s300, 256, 300)}, {}},
        {"stray data bytes, then a message", {{0x01, 0x02}, noteOn}, {noteOn}},
        {"a stray F7", {{0xF7}, noteOn}, {noteOn}},
        {"a new F0 drops the unfinished message", {Slice(s300, 0, 256), s300}, {s300}},
        {"a status byte ends an unfinished message",
         {Slice(s300, 0, 256), noteOn, Slice(s300, 256, 300)},
         {noteOn}},
        {"a truncated note-on", {{0x90, 0x3C}, {0xC0, 0x05}}, {{0xC0, 0x05}}},
        {"no running status", {{0x90, 0x3C, 0x64, 0x3E, 0x64}}, {noteOn}},
    };
    for (const Case& c : cases)
    {
        MidiMessageAssembler assembler;
        EXPECT_EQ(Assemble(assembler, c.chunks), c.expected) << c.name;
    }
}

TEST(MidiMessageAssembler, ResetDropsThePendingMessage)
{
    const Bytes s300 = SysEx(300);
    MidiMessageAssembler assembler;
    EXPECT_TRUE(Assemble(assembler, {Slice(s300, 0, 256)}).empty());
    EXPECT_TRUE(assembler.HasPending());
    assembler.Reset();
    EXPECT_FALSE(assembler.HasPending());
    EXPECT_TRUE(Assemble(assembler, {Slice(s300, 256, 300)}).empty());
    EXPECT_EQ(Assemble(assembler, {s300}), std::vector<Bytes>{s300});
}

TEST(MidiMessageAssembler, CapsSystemExclusiveMessagesAt64KiB)
{
    const Bytes largest = SysEx(MidiMessageAssembler::kMaxSysExBytes);
    const Bytes tooLong = SysEx(MidiMessageAssembler::kMaxSysExBytes + 1);
    const Bytes noteOn = {0x90, 0x3C, 0x64};
    MidiMessageAssembler assembler;
    EXPECT_EQ(Assemble(assembler, {largest}), std::vector<Bytes>{largest});
    // The oversized message is skipped up to its F7, and what follows is read again.
    EXPECT_EQ(Assemble(assembler, {Slice(tooLong, 0, 40000), Slice(tooLong, 40000, tooLong.size()), noteOn}),
              std::vector<Bytes>{noteOn});
}

} // namespace
} // namespace KR::Platform
