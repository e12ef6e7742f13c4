#include "simkeyboard/SimKeyboard.h"
#include "simkeyboard/HexText.h"

#include <gtest/gtest.h>

namespace
{

namespace kp = KeyboardProtocol;
using Bytes = kp::Bytes;

Bytes Hex(std::string_view text)
{
    return HexText::Parse(text).value();
}

std::vector<std::size_t> Sizes(const std::vector<Bytes>& messages)
{
    std::vector<std::size_t> sizes;
    for (const Bytes& message : messages)
    {
        sizes.push_back(message.size());
    }
    return sizes;
}

TEST(SimKeyboard, AnswersTheIdentityRequestWithItsFirmwareDigits)
{
    SimKeyboard keyboard;
    EXPECT_EQ(keyboard.Receive(kp::kIdentityRequest),
              std::vector<Bytes>{Hex("F0 7E 00 06 02 00 01 05 31 05 31 30 34 31 F7")});
    ASSERT_TRUE(keyboard.SetFirmware("2000"));
    EXPECT_FALSE(keyboard.SetFirmware("20a0"));
    EXPECT_EQ(keyboard.Receive(kp::kIdentityRequest)[0], kp::IdentityReply(0x00, "2000"));
    EXPECT_TRUE(keyboard.Receive(Hex("F0 7E 05 06 01 F7")).empty()); // asks another device
}

TEST(SimKeyboard, AnswersPresetRequestsFromItsSlots)
{
    SimKeyboard keyboard;
    const std::vector<Bytes> replies = keyboard.Receive(Hex("F0 00 01 05 7F 31 05 62 03 F7"));
    ASSERT_EQ(Sizes(replies), std::vector<std::size_t>{1350});
    const Bytes& reply = replies[0];
    EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 11), Hex("F0 00 01 05 7F 31 05 63 0A 3B 03"));
    EXPECT_EQ(reply[11], 3); // a fresh slot holds (i + slot) % 128
    EXPECT_EQ(reply[11 + 200], (200 + 3) % 128);
    EXPECT_EQ(reply.back(), 0xF7);

    Bytes data(kp::kPresetDataBytes, 0x22);
    keyboard.Receive(kp::PresetMessage(kp::kPresetDump, 3, data));
    EXPECT_EQ(keyboard.Receive(kp::PresetRequest(3)),
              std::vector<Bytes>{kp::PresetMessage(kp::kPresetReply, 3, data)});

    // A dump one byte short is no dump.
    Bytes shortDump = kp::PresetMessage(kp::kPresetDump, 3, Bytes(kp::kPresetDataBytes, 0x33));
    shortDump.erase(shortDump.end() - 2);
    EXPECT_TRUE(keyboard.Receive(shortDump).empty());
    EXPECT_EQ(keyboard.SlotData(3)[0], 0x22);
}

TEST(SimKeyboard, StoresGlobalSetsAndAnswersGlobalRequests)
{
    SimKeyboard keyboard;
    // KEY_TRANSPOSE (wire index 6) to 5, then back.
    EXPECT_TRUE(keyboard.Receive(Hex("F0 00 01 05 7F 31 05 6A 00 04 00 06 00 05 F7")).empty());
    EXPECT_EQ(keyboard.Receive(Hex("F0 00 01 05 7F 31 05 6B 00 02 00 06 F7")),
              std::vector<Bytes>{Hex("F0 00 01 05 7F 31 05 6C 00 04 00 06 00 05 F7")});
    keyboard.Receive(kp::GlobalMessage(kp::kGlobalSet, 12, 133));
    EXPECT_EQ(keyboard.Receive(kp::GlobalRequest(12)),
              std::vector<Bytes>{Hex("F0 00 01 05 7F 31 05 6C 00 04 00 0C 01 05 F7")});
    // There are 16 settings.
    EXPECT_TRUE(keyboard.Receive(kp::GlobalRequest(16)).empty());
    EXPECT_TRUE(keyboard.Receive(kp::GlobalMessage(kp::kGlobalSet, 16, 1)).empty());
}

TEST(SimKeyboard, IgnoresThePrefixAndForeignMessages)
{
    SimKeyboard keyboard;
    EXPECT_TRUE(keyboard.Receive(kp::kPrefixMessage).empty());
    EXPECT_TRUE(keyboard.Receive(Hex("90 3C 64")).empty());
    EXPECT_TRUE(keyboard.Receive(Hex("F0 00 01 05 7F 31 05 62 03 00 F7")).empty()); // request too long
    EXPECT_TRUE(keyboard.Receive(Hex("F0 00 01 06 7F 31 05 62 03 F7")).empty());    // another maker
}

TEST(SimKeyboard, FaultModesShapeTheReplies)
{
    SimKeyboard keyboard;
    keyboard.SetFaults({.silent = true});
    EXPECT_TRUE(keyboard.Receive(kp::kIdentityRequest).empty());

    keyboard.SetFaults({.replyAfter = 2});
    EXPECT_TRUE(keyboard.Receive(kp::kIdentityRequest).empty());
    EXPECT_TRUE(keyboard.Receive(kp::GlobalRequest(0)).empty());
    EXPECT_EQ(keyboard.Receive(kp::PresetRequest(1)).size(), 1u);

    keyboard.SetFaults({.lengthDelta = -1});
    EXPECT_EQ(Sizes(keyboard.Receive(kp::PresetRequest(1))), std::vector<std::size_t>{1349});
    EXPECT_EQ(Sizes(keyboard.Receive(kp::GlobalRequest(1))), std::vector<std::size_t>{14});
    keyboard.SetFaults({.lengthDelta = 1});
    const Bytes longer = keyboard.Receive(kp::kIdentityRequest).at(0);
    EXPECT_EQ(longer.size(), 16u);
    EXPECT_EQ(longer.back(), 0xF7);

    keyboard.SetFaults({.oldFirmware = true});
    EXPECT_EQ(keyboard.Receive(kp::kIdentityRequest), std::vector<Bytes>{kp::IdentityReply(0x00, "1040")});

    keyboard.SetFaults({.unsolicited = true});
    const std::vector<Bytes> replies = keyboard.Receive(kp::GlobalRequest(5));
    ASSERT_EQ(Sizes(replies), (std::vector<std::size_t>{15, 1350}));
    EXPECT_EQ(replies[1], kp::PresetMessage(kp::kPresetReply, 0, Bytes(kp::kPresetDataBytes, 0x55)));
}

TEST(HexText, FormatsAndParsesBytes)
{
    EXPECT_EQ(HexText::Format(Hex("f07e7F0601F7")), "F0 7E 7F 06 01 F7");
    EXPECT_EQ(HexText::Parse(""), Bytes{});
    EXPECT_EQ(HexText::Parse("F0 7"), std::nullopt);
    EXPECT_EQ(HexText::Parse("F 07"), std::nullopt);
    EXPECT_EQ(HexText::Parse("G0"), std::nullopt);
}

} // namespace
