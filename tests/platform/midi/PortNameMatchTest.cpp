#include "platform/midi/PortNameMatch.h"

#include <gtest/gtest.h>

namespace KR::Platform
{
namespace
{

TEST(PortNameMatch, IgnoresLetterCaseOfAsciiAndLatin1)
{
    EXPECT_TRUE(PortNameContains("simkeyboard-out:MIDIIN4 (Vantor)", "midiin4 (vantor)"));
    EXPECT_TRUE(PortNameContains("midiout4 (vantor)", "MIDIOUT4 (Vantor)"));
    EXPECT_TRUE(PortNameContains("Clavier \xC3\x89tude 2", "\xC3\xA9tude")); // "Étude" by "étude"
    EXPECT_FALSE(PortNameContains("MIDIIN4 (Vantor)", "MIDIIN4(Vantor)"));   // no trimming
    EXPECT_FALSE(PortNameContains("a \xC3\x97 b", "a \xC3\xB7 b"));          // U+00D7 is no letter
}

TEST(PortNameMatch, EmptyPartMatchesEveryName)
{
    EXPECT_TRUE(PortNameContains("anything", ""));
    EXPECT_EQ(FindPortByNamePart({"first", "second"}, ""), 0u);
    EXPECT_EQ(FindPortByNamePart({}, ""), std::nullopt);
}

TEST(PortNameMatch, LowestNumberedMatchWins)
{
    const std::vector<std::string> names = {"Through Port", "Keys MIDIIN4 (Vantor) 2",
                                            "Keys midiin4 (vantor) 1"};
    EXPECT_EQ(FindPortByNamePart(names, "MidiIn4"), 1u);
    EXPECT_EQ(FindPortByNamePart(names, "through"), 0u);
    EXPECT_EQ(FindPortByNamePart(names, "MIDIOUT4"), std::nullopt);
}

TEST(PortNameMatch, NumberedNamesCountTheDevicesPortsWhenNoNameContainsThem)
{
    const std::vector<std::string> alsa = {"Midi Through:Midi Through Port-0 14:0",
                                           "VANTOR:VANTOR MIDI 1 24:0", "VANTOR:VANTOR MIDI 2 24:1",
                                           "VANTOR:VANTOR MIDI 3 24:2", "VANTOR:VANTOR MIDI 4 24:3"};
    const std::vector<std::string> bridge = {
        "a2j:Vantor [24] (capture): Vantor MIDI 1", "a2j:Vantor [24] (capture): Vantor MIDI 2",
        "a2j:Vantor [24] (capture): Vantor MIDI 3", "a2j:Vantor [24] (capture): Vantor MIDI 4"};
    const std::vector<std::string> two = {"Vantor:Vantor MIDI 1",    "Vantor:Vantor MIDI 2",
                                          "Vantor:Vantor MIDI 3",    "Vantor:Vantor MIDI 4",
                                          "Vantor-01:Vantor MIDI 1", "Vantor-01:Vantor MIDI 2",
                                          "Vantor-01:Vantor MIDI 3", "Vantor-01:Vantor MIDI 4"};
    const std::vector<std::string> exact = {"Vantor:Vantor MIDI 1", "Vantor:Vantor MIDI 2",
                                            "Vantor:Vantor MIDI 3", "Vantor:Vantor MIDI 4",
                                            "sim:MIDIIN4 (Vantor)"};
    const std::vector<std::string> three = {"Vantor:Vantor MIDI 1", "Vantor:Vantor MIDI 2",
                                            "Vantor:Vantor MIDI 3"};
    const std::vector<std::string> plain = {"x:MIDIIN0 (x)", "x:1", "x:2", "x:3", "x:MIDIIN (x)"};
    struct Case
    {
        const char* what;
        const std::vector<std::string>& names;
        const char* asked;
        PortDirection direction;
        std::optional<std::size_t> expected;
    };
    const Case cases[] = {
        {"exact name first", exact, "MIDIIN4 (Vantor)", PortDirection::kInput, 4},
        {"other letter case", alsa, "midiin4 (vantor)", PortDirection::kInput, 4},
        {"output form", alsa, "MIDIOUT2 (Vantor)", PortDirection::kOutput, 2},
        {"bridge names", bridge, "MIDIIN4 (Vantor)", PortDirection::kInput, 3},
        {"first of two keyboards", two, "MIDIIN4 (Vantor)", PortDirection::kInput, 3},
        {"three ports only", three, "MIDIIN4 (Vantor)", PortDirection::kInput, std::nullopt},
        {"form of the other direction", alsa, "MIDIOUT4 (Vantor)", PortDirection::kInput, std::nullopt},
        {"not the form", alsa, "Vantor MIDI", PortDirection::kInput, 1},
        {"number 0", plain, "MIDIIN0 (x)", PortDirection::kInput, 0},
        {"no number", plain, "MIDIIN (x)", PortDirection::kInput, 4},
        {"number 0 unmatched", plain, "MIDIIN0 (y)", PortDirection::kInput, std::nullopt},
        {"no number unmatched", plain, "MIDIIN (y)", PortDirection::kInput, std::nullopt},
        {"number too big", plain, "MIDIIN99999999999 (x)", PortDirection::kInput, std::nullopt},
        {"no device", plain, "MIDIIN2 ()", PortDirection::kInput, std::nullopt},
        {"nothing after the device", plain, "MIDIIN2 (x) ", PortDirection::kInput, std::nullopt},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(FindPortByName(c.names, c.asked, c.direction), c.expected) << c.what;
    }
}

} // namespace
} // namespace KR::Platform
