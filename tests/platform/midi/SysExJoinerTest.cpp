#include "platform/midi/SysExJoiner.h"

#include <gtest/gtest.h>

#include <vector>

namespace KR::Platform
{
namespace
{

using Bytes = std::vector<std::uint8_t>;

struct Joined
{
    std::vector<bool> accepted; // per piece
    std::vector<Bytes> messages;
};

Joined AddAll(SysExJoiner& joiner, const std::vector<Bytes>& pieces)
{
    Joined joined;
    for (const Bytes& piece : pieces)
    {
        joined.accepted.push_back(joiner.Add(piece, [&](std::span<const std::uint8_t> m)
                                             { joined.messages.emplace_back(m.begin(), m.end()); }));
    }
    return joined;
}

TEST(SysExJoiner, JoinsPiecesIntoOneMessage)
{
    Bytes dump(1350, 0x11);
    dump.front() = 0xF0;
    dump.back() = 0xF7;
    std::vector<Bytes> pieces;
    for (std::size_t at = 0; at < dump.size(); at += 256)
    {
        pieces.emplace_back(dump.begin() + static_cast<std::ptrdiff_t>(at),
                            dump.begin() + static_cast<std::ptrdiff_t>(std::min(at + 256, dump.size())));
    }
    SysExJoiner joiner;
    const Joined joined = AddAll(joiner, pieces);
    EXPECT_EQ(joined.accepted, std::vector<bool>(6, true));
    EXPECT_EQ(joined.messages, std::vector<Bytes>{dump});
    EXPECT_FALSE(joiner.HasPending());
}

TEST(SysExJoiner, PassesWholeMessagesAtOnce)
{
    SysExJoiner joiner;
    const Joined joined =
        AddAll(joiner, {{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7}, {0xF0, 0x01, 0xF7, 0xF0, 0x02, 0xF7}});
    EXPECT_EQ(joined.accepted, (std::vector<bool>{true, true}));
    EXPECT_EQ(
        joined.messages,
        (std::vector<Bytes>{{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7}, {0xF0, 0x01, 0xF7}, {0xF0, 0x02, 0xF7}}));
}

TEST(SysExJoiner, RefusesPiecesThatContinueNothingOrHoldStatusBytes)
{
    SysExJoiner joiner;
    EXPECT_EQ(AddAll(joiner, {{0x01, 0x02, 0xF7}}).accepted, std::vector<bool>{false});
    EXPECT_EQ(AddAll(joiner, {{0xF7}}).accepted, std::vector<bool>{false});
    EXPECT_EQ(AddAll(joiner, {{}}).accepted, std::vector<bool>{false});

    // A status byte inside refuses the piece and drops the held start.
    const Joined broken = AddAll(joiner, {{0xF0, 0x01}, {0x02, 0x90, 0x03}, {0x04, 0xF7}});
    EXPECT_EQ(broken.accepted, (std::vector<bool>{true, false, false}));
    EXPECT_TRUE(broken.messages.empty());
}

TEST(SysExJoiner, NewStartDropsTheUnfinishedMessage)
{
    SysExJoiner joiner;
    const Joined joined = AddAll(joiner, {{0xF0, 0x01}, {0xF0, 0x02}, {0x03, 0xF7}});
    EXPECT_EQ(joined.messages, std::vector<Bytes>{Bytes({0xF0, 0x02, 0x03, 0xF7})});
}

TEST(SysExJoiner, RefusesMessagesOver64KiB)
{
    SysExJoiner joiner;
    Bytes start(SysExJoiner::kMaxSysExBytes, 0x01);
    start.front() = 0xF0;
    EXPECT_EQ(AddAll(joiner, {start, {0xF7}}).accepted, (std::vector<bool>{true, false}));
    EXPECT_FALSE(joiner.HasPending());
    start.back() = 0xF7; // exactly 64 KiB with its F7
    EXPECT_EQ(AddAll(joiner, {start}).messages.size(), 1u);
}

} // namespace
} // namespace KR::Platform
