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

} // namespace
} // namespace KR::Platform
