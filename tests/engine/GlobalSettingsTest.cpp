// The 16 global settings: names by wire index, exact name lookup, and the values let
// through to the keyboard.

#include "engine/GlobalSettings.h"

#include "SysExTestSupport.h"

#include <gtest/gtest.h>

namespace
{

using namespace KR;
using support::ParseHex;

TEST(GlobalSettings, NamesStandInWireIndexOrderSpelledAsTheKeyboardSpellsThem)
{
    const StringArray names = GlobalSettings::GetNames();
    ASSERT_EQ(names.GetCount(), 16u);
    const char16_t* expected[] = {
        u"Global_Channel",     u"XYPAD_VELOCITY", u"XYPAD_FRACTION",  u"XYPAD_REBOUND",
        u"MACKIE_HUI_ENABLED", u"KEY_OCTAVE",     u"KEY_TRANSPOSE",   u"KEY_SENSITIVITY",
        u"PAD_OCTAVE",         u"PAD_TRANSPOSE",  u"PAD_SENSITIVITY", u"CURVE_ACCELLERATION",
        u"XY_SENSITIVITY",     u"GLOBAL_PROGRAM", u"GLOBAL_BANK_MSB", u"GLOBAL_BANK_LSB",
    };
    for (std::uint32_t i = 0; i < 16; ++i)
    {
        EXPECT_TRUE(names[i] == expected[i]) << i;
        EXPECT_EQ(GlobalSettings::GetIndex(String(expected[i])), static_cast<std::int32_t>(i));
        EXPECT_TRUE(GlobalSettings::GetName(static_cast<std::int32_t>(i)) == expected[i]);
    }
}

TEST(GlobalSettings, LookupIsExactAboutCaseAndWholeNames)
{
    EXPECT_EQ(GlobalSettings::GetIndex(u"global_channel"), -1);
    EXPECT_EQ(GlobalSettings::GetIndex(u"GLOBAL_CHANNEL"), -1);
    EXPECT_EQ(GlobalSettings::GetIndex(u"KEY_TRANSPOS"), -1);
    EXPECT_EQ(GlobalSettings::GetIndex(u"KEY_TRANSPOSE "), -1);
    EXPECT_EQ(GlobalSettings::GetIndex(u"CURVE_ACCELERATION"), -1);
    EXPECT_EQ(GlobalSettings::GetIndex(u""), -1);
    EXPECT_FALSE(GlobalSettings::IsValueInRange(u"key_transpose", 5));
    EXPECT_TRUE(GlobalSettings::GetName(-1).IsEmpty());
    EXPECT_TRUE(GlobalSettings::GetName(16).IsEmpty());
}

TEST(GlobalSettings, RangesLetThroughExactlyTheirValues)
{
    struct Case
    {
        const char16_t* name;
        std::int32_t lowest;
        std::int32_t highest;
    };
    const Case cases[] = {
        {u"Global_Channel", 0, 16},   {u"MACKIE_HUI_ENABLED", 0, 1}, {u"KEY_OCTAVE", 2, 9},
        {u"KEY_TRANSPOSE", 0, 24},    {u"KEY_SENSITIVITY", 0, 6},    {u"PAD_OCTAVE", 0, 10},
        {u"PAD_TRANSPOSE", 0, 25},    {u"PAD_SENSITIVITY", 0, 9},    {u"CURVE_ACCELLERATION", 0, 3},
        {u"XY_SENSITIVITY", 0, 9},    {u"GLOBAL_PROGRAM", 0, 127},   {u"GLOBAL_BANK_MSB", 0, 127},
        {u"GLOBAL_BANK_LSB", 0, 127},
    };
    for (const Case& c : cases)
    {
        const String name(c.name);
        EXPECT_TRUE(GlobalSettings::IsValueInRange(name, c.lowest)) << name.ToUtf8().GetPtr();
        EXPECT_TRUE(GlobalSettings::IsValueInRange(name, c.highest)) << name.ToUtf8().GetPtr();
        EXPECT_FALSE(GlobalSettings::IsValueInRange(name, c.lowest - 1)) << name.ToUtf8().GetPtr();
        EXPECT_FALSE(GlobalSettings::IsValueInRange(name, c.highest + 1)) << name.ToUtf8().GetPtr();
        // A negative value would not fit two 7-bit bytes.
        EXPECT_FALSE(GlobalSettings::IsValueInRange(name, -1)) << name.ToUtf8().GetPtr();
        EXPECT_FALSE(GlobalSettings::IsValueInRange(name, INT32_MIN)) << name.ToUtf8().GetPtr();
    }
}

TEST(GlobalSettings, TheThreeTouchPadSettingsCanNeverBeSet)
{
    for (const char16_t* name : {u"XYPAD_VELOCITY", u"XYPAD_FRACTION", u"XYPAD_REBOUND"})
    {
        for (std::int32_t value : {-1, 0, 1, 64, 127, 128})
        {
            EXPECT_FALSE(GlobalSettings::IsValueInRange(String(name), value));
        }
    }
}

TEST(GlobalSettings, AReplyNamesTheSettingOfItsByteEleven)
{
    EXPECT_TRUE(GlobalSettings::GetNameOfReply(ParseHex("F0 00 01 05 7F 31 05 6C 00 04 00 0C 00 09 F7")) ==
                u"XY_SENSITIVITY");
    EXPECT_TRUE(GlobalSettings::GetNameOfReply(ParseHex("F0 00 01 05 7F 31 05 6C 00 04 00 00 00")) ==
                u"Global_Channel");
    EXPECT_TRUE(GlobalSettings::GetNameOfReply(ParseHex("F0 00 01 05 7F 31 05 6C 00 04 00 00")).IsEmpty());
    EXPECT_TRUE(
        GlobalSettings::GetNameOfReply(ParseHex("F0 00 01 05 7F 31 05 6C 00 04 00 10 00 09 F7")).IsEmpty());
}

} // namespace
