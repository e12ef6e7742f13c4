// The 16 global settings: names by wire index, exact name lookup, and the values let
// through to the keyboard.

#include "engine/GlobalSettings.h"

#include "support/engine/SysExTestSupport.h"

#include <gtest/gtest.h>

namespace
{

using namespace KR;

TEST(GlobalSettings, EachNameHasItsWireIndexAndLetsThroughExactlyItsRange)
{
    struct Case
    {
        const char16_t* name;
        std::int32_t lowest, highest; // highest < lowest: never set
    };
    const Case cases[] = {
        {u"Global_Channel", 0, 16},   {u"XYPAD_VELOCITY", 0, -1},    {u"XYPAD_FRACTION", 0, -1},
        {u"XYPAD_REBOUND", 0, -1},    {u"MACKIE_HUI_ENABLED", 0, 1}, {u"KEY_OCTAVE", 2, 9},
        {u"KEY_TRANSPOSE", 0, 24},    {u"KEY_SENSITIVITY", 0, 6},    {u"PAD_OCTAVE", 0, 10},
        {u"PAD_TRANSPOSE", 0, 25},    {u"PAD_SENSITIVITY", 0, 9},    {u"CURVE_ACCELLERATION", 0, 3},
        {u"XY_SENSITIVITY", 0, 9},    {u"GLOBAL_PROGRAM", 0, 127},   {u"GLOBAL_BANK_MSB", 0, 127},
        {u"GLOBAL_BANK_LSB", 0, 127},
    };
    const StringArray names = GlobalSettings::GetNames();
    ASSERT_EQ(names.GetCount(), 16u);
    for (std::int32_t i = 0; i < 16; ++i)
    {
        const Case& c = cases[i];
        const String name(c.name);
        const std::string row = name.ToUtf8().GetPtr();
        EXPECT_TRUE(names[static_cast<std::uint32_t>(i)] == c.name) << row;
        EXPECT_EQ(GlobalSettings::GetIndex(name), i) << row;
        EXPECT_TRUE(GlobalSettings::GetName(i) == c.name) << row;
        for (std::int32_t value : {c.lowest - 1, c.lowest, c.highest, c.highest + 1, -1, INT32_MIN, 128})
        {
            EXPECT_EQ(GlobalSettings::IsValueInRange(name, value), value >= c.lowest && value <= c.highest)
                << row << " = " << value;
        }
    }
}

TEST(GlobalSettings, LookupIsExactAboutCaseAndWholeNames)
{
    for (const char16_t* name : {u"global_channel", u"GLOBAL_CHANNEL", u"KEY_TRANSPOS", u"KEY_TRANSPOSE ",
                                 u"CURVE_ACCELERATION", u""})
    {
        EXPECT_EQ(GlobalSettings::GetIndex(name), -1) << String(name).ToUtf8().GetPtr();
        EXPECT_FALSE(GlobalSettings::IsValueInRange(name, 0)) << String(name).ToUtf8().GetPtr();
    }
    EXPECT_TRUE(GlobalSettings::GetName(-1).IsEmpty());
    EXPECT_TRUE(GlobalSettings::GetName(16).IsEmpty());
}

TEST(GlobalSettings, AReplyNamesTheSettingOfItsByteEleven)
{
    using support::ParseHex;
    EXPECT_TRUE(GlobalSettings::GetNameOfReply(ParseHex("F0 00 01 05 7F 31 05 6C 00 04 00 0C 00 09 F7")) ==
                u"XY_SENSITIVITY");
    EXPECT_TRUE(GlobalSettings::GetNameOfReply(ParseHex("F0 00 01 05 7F 31 05 6C 00 04 00 00 00")) ==
                u"Global_Channel");
    EXPECT_TRUE(GlobalSettings::GetNameOfReply(ParseHex("F0 00 01 05 7F 31 05 6C 00 04 00 00")).IsEmpty());
    EXPECT_TRUE(
        GlobalSettings::GetNameOfReply(ParseHex("F0 00 01 05 7F 31 05 6C 00 04 00 10 00 09 F7")).IsEmpty());
}

} // namespace
