// The protocol layer byte by byte: every message built exactly as the keyboard expects
// it, and one table of good and malformed replies for each recogniser.

#include "engine/SysExMessages.h"

#include "support/engine/SysExTestSupport.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

namespace
{

using namespace KeyboardSysEx;
using support::Hex;
using support::ParseHex;

Bytes PresetData(std::uint8_t seed)
{
    Bytes data(kPresetDataBytes);
    for (std::size_t i = 0; i < data.size(); ++i)
    {
        data[i] = static_cast<std::uint8_t>((i + seed) % 128);
    }
    return data;
}

// A reply as the keyboard would send it: header, command, body, F7.
Bytes Reply(std::uint8_t command, const Bytes& body)
{
    Bytes message(kDeviceHeader.begin(), kDeviceHeader.end());
    message.push_back(command);
    message.insert(message.end(), body.begin(), body.end());
    message.push_back(kSysExEnd);
    return message;
}

Bytes PresetReply(const Bytes& data)
{
    Bytes body = {0x0A, 0x3B, 0x05};
    body.insert(body.end(), data.begin(), data.end());
    return Reply(kPresetReply, body);
}

TEST(SysExMessages, MessagesAreBuiltByteExactOrNotAtAllWhenAByteWouldPass7Bits)
{
    Bytes highByte = PresetData(0);
    highByte[700] = 0x80;
    struct Case
    {
        const char* what;
        Bytes built;
        std::string hex; // empty: refused
    };
    const Case cases[] = {
        {"prefix", PrefixMessage(), "F0 00 01 05 7F 31 05 6D 00 01 01 F7"},
        {"identity request", IdentityRequest(), "F0 7E 7F 06 01 F7"},
        {"preset request 0", PresetRequest(0x00), "F0 00 01 05 7F 31 05 62 00 F7"},
        {"preset request 7F", PresetRequest(0x7F), "F0 00 01 05 7F 31 05 62 7F F7"},
        {"global request 15", GlobalRequest(15), "F0 00 01 05 7F 31 05 6B 00 02 00 0F F7"},
        {"global set 6 = 5", GlobalSet(6, 5), "F0 00 01 05 7F 31 05 6A 00 04 00 06 00 05 F7"},
        {"global set 13 = 133", GlobalSet(13, 133), "F0 00 01 05 7F 31 05 6A 00 04 00 0D 01 05 F7"},
        {"global set 0 = 3FFF", GlobalSet(0, 0x3FFF), "F0 00 01 05 7F 31 05 6A 00 04 00 00 7F 7F F7"},
        {"preset request 80", PresetRequest(0x80), ""},
        {"dump to slot 80", PresetDump(0x80, PresetData(0)), ""},
        {"dump of a byte 80", PresetDump(1, highByte), ""},
        {"dump a byte short", PresetDump(1, Bytes(kPresetDataBytes - 1)), ""},
        {"dump a byte long", PresetDump(1, Bytes(kPresetDataBytes + 1)), ""},
        {"global request 16", GlobalRequest(16), ""},
        {"global set 16", GlobalSet(16, 0), ""},
        {"global set 0 = 4000", GlobalSet(0, 0x4000), ""},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(Hex(c.built), c.hex) << c.what;
    }
    const Bytes data = PresetData(3);
    const Bytes dump = PresetDump(3, data);
    ASSERT_EQ(dump.size(), kPresetMessageBytes);
    EXPECT_EQ(Hex(Bytes(dump.begin(), dump.begin() + 11)), "F0 00 01 05 7F 31 05 61 0A 3B 03");
    EXPECT_TRUE(std::equal(data.begin(), data.end(), dump.begin() + 11));
    EXPECT_EQ(dump.back(), 0xF7);
}

TEST(SysExMessages, PresetReplyIsRecognisedByLengthHeaderAndCommandOnly)
{
    const Bytes data = PresetData(5);
    const Bytes good = PresetReply(data);
    const auto read = PresetReplyData(good);
    ASSERT_TRUE(read.has_value());
    EXPECT_TRUE(std::equal(read->begin(), read->end(), data.begin(), data.end()));

    // Bytes 8..10 are not examined.
    Bytes otherCount = good;
    otherCount[8] = 0x11;
    otherCount[9] = 0x22;
    otherCount[10] = 0x33;
    EXPECT_TRUE(PresetReplyData(otherCount).has_value());

    struct Case
    {
        const char* what;
        Bytes message;
    };
    Bytes shorter = good;
    shorter.erase(shorter.end() - 2);
    Bytes longer = good;
    longer.insert(longer.end() - 1, 0x00);
    Bytes dumpCommand = good;
    dumpCommand[7] = kPresetDump;
    Bytes otherDevice = good;
    otherDevice[6] = 0x06;
    Bytes statusInside = good;
    statusInside[600] = 0x90;
    const std::vector<Case> refused = {
        {"1349 bytes", shorter},
        {"1351 bytes", longer},
        {"command a", dumpCommand},
        {"other device", otherDevice},
        {"status byte inside", statusInside},
        {"empty", {}},
        {"header alone", Bytes(kDeviceHeader.begin(), kDeviceHeader.end())},
    };
    for (const Case& c : refused)
    {
        EXPECT_FALSE(PresetReplyData(c.message).has_value()) << c.what;
    }
}

TEST(SysExMessages, GlobalReplyTable)
{
    struct Case
    {
        const char* hex;
        bool accepted;
        int index;
        int value;
    };
    const std::vector<Case> cases = {
        {"F0 00 01 05 7F 31 05 6C 00 04 00 06 00 05 F7", true, 6, 5},
        {"F0 00 01 05 7F 31 05 6C 00 04 00 0C 00 09 F7", true, 12, 9},
        {"F0 00 01 05 7F 31 05 6C 00 04 00 00 01 05 F7", true, 0, 133},
        {"F0 00 01 05 7F 31 05 6C 00 04 00 0F 7F 7F F7", true, 15, 16383},
        // Bytes 8..10 and 14 are not read.
        {"F0 00 01 05 7F 31 05 6C 7F 7F 7F 03 00 02 00", true, 3, 2},
        // A wire index that names no setting.
        {"F0 00 01 05 7F 31 05 6C 00 04 00 10 00 01 F7", false, 0, 0},
        {"F0 00 01 05 7F 31 05 6C 00 04 00 7F 00 01 F7", false, 0, 0},
        // 14 and 16 bytes.
        {"F0 00 01 05 7F 31 05 6C 00 04 00 06 00 F7", false, 0, 0},
        {"F0 00 01 05 7F 31 05 6C 00 04 00 06 00 05 00 F7", false, 0, 0},
        // Other command, other device, a status byte where the value goes.
        {"F0 00 01 05 7F 31 05 6A 00 04 00 06 00 05 F7", false, 0, 0},
        {"F0 00 01 06 7F 31 05 6C 00 04 00 06 00 05 F7", false, 0, 0},
        {"F0 00 01 05 7F 31 05 6C 00 04 00 06 80 05 F7", false, 0, 0},
    };
    for (const Case& c : cases)
    {
        const auto reply = ParseGlobalReply(ParseHex(c.hex));
        ASSERT_EQ(reply.has_value(), c.accepted) << c.hex;
        if (reply)
        {
            EXPECT_EQ(reply->index, c.index) << c.hex;
            EXPECT_EQ(reply->value, c.value) << c.hex;
        }
    }
}

TEST(SysExMessages, IdentityReplyTable)
{
    // F0 7E id 06 02, five unread bytes, four digits, F7.
    auto reply = [](const char* id, const char* digits)
    {
        Bytes message = ParseHex(std::string("F0 7E ") + id + " 06 02 00 01 05 31 05");
        message.insert(message.end(), digits, digits + 4);
        message.push_back(0xF7);
        return message;
    };
    struct Case
    {
        Bytes message;
        bool recognised;
        bool usable;
    };
    const std::vector<Case> cases = {
        {reply("00", "1041"), true, true},
        {reply("7F", "1100"), true, true},
        {reply("10", "2000"), true, true},
        {reply("00", "1042"), true, true},
        {reply("00", "1040"), true, false},
        {reply("00", "0999"), true, false},
        {reply("00", "1039"), true, false},
        {reply("00", "1030"), true, false},
        // Below '0' counts as a negative digit, so it loses to the digit it stands against.
        {reply("00", "1/99"), true, false},
        {reply("00", "1:00"), true, true},
        {ParseHex("F0 7E 00 06 01 00 01 05 31 05 31 30 34 31 F7"), false, false},
        {ParseHex("F0 7D 00 06 02 00 01 05 31 05 31 30 34 31 F7"), false, false},
        {ParseHex("F0 7E 00 06 02 00 01 05 31 05 31 30 34 F7"), false, false},
        {ParseHex("F0 7E 00 06 02 00 01 05 31 05 31 30 34 31 00 F7"), false, false},
        {ParseHex("F0 7E 7F 06 01 F7"), false, false},
    };
    for (const Case& c : cases)
    {
        const auto digits = ParseIdentityReply(c.message);
        ASSERT_EQ(digits.has_value(), c.recognised) << Hex(c.message);
        if (digits)
        {
            EXPECT_EQ(IsFirmwareUsable(*digits), c.usable) << Hex(c.message);
        }
    }
}

TEST(SysExMessages, OnlyTheBytesBetweenTheFirstAndLastAreHeldToDataBytes)
{
    EXPECT_TRUE(HasOnlyDataBytesInside(ParseHex("F0 00 7F F7")));
    EXPECT_FALSE(HasOnlyDataBytesInside(ParseHex("F0 00 80 F7")));
    EXPECT_FALSE(HasOnlyDataBytesInside(ParseHex("F0 F7 F7")));
    EXPECT_TRUE(HasOnlyDataBytesInside(ParseHex("F0 F7")));
    EXPECT_TRUE(HasOnlyDataBytesInside({}));
}

} // namespace
