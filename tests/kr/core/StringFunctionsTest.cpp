#include "kr/core/StringFunctions.h"
#include "support/Utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

using KR::String;

using KR::TestSupport::Utf16;

TEST(StringFunctions, IntegerTextsPlaceTheDecimalPoint)
{
    EXPECT_EQ(Utf16(KR::IntToString(1234, 2)), u"12.34");
    EXPECT_EQ(Utf16(KR::IntToString(5, 2)), u".05");
    EXPECT_EQ(Utf16(KR::IntToString(0, 1)), u".0");
    EXPECT_EQ(Utf16(KR::IntToString(12, 2)), u".12");
    EXPECT_EQ(Utf16(KR::IntToString(1234, 0)), u"1234");
    EXPECT_EQ(Utf16(KR::IntToString(-1234, -3)), u"-1234");
    EXPECT_EQ(Utf16(KR::IntToString(INT32_MIN)), u"-2147483648");
    EXPECT_EQ(Utf16(KR::UIntToString(4294967295u)), u"4294967295");
    EXPECT_EQ(Utf16(KR::UIntToString(7, 3)), u".007");
}

TEST(StringFunctions, NegativeIntegerTextsKeepTheSignInFront)
{
    EXPECT_EQ(Utf16(KR::IntToString(-5, 2)), u"-.05");
    EXPECT_EQ(Utf16(KR::IntToString(-1234, 2)), u"-12.34");
    EXPECT_EQ(Utf16(KR::IntToString(INT32_MIN, 3)), u"-2147483.648");
}

TEST(StringFunctions, DoubleTextsHaveTheGivenDecimals)
{
    EXPECT_EQ(Utf16(KR::DoubleToString(2.5, 2)), u"2.50");
    EXPECT_EQ(Utf16(KR::DoubleToString(2.5, 0)), u"2");
    EXPECT_EQ(Utf16(KR::DoubleToString(2.5, -1)), u"2.500000");
    EXPECT_EQ(Utf16(KR::DoubleToString(-0.125, 3)), u"-0.125");
}

TEST(StringFunctions, TrimRightRemovesTrailingMembersOfTheSet)
{
    const String set(u"0.");
    EXPECT_EQ(Utf16(KR::TrimRightChars(String(u"12.500"), set)), u"12.5");
    EXPECT_EQ(Utf16(KR::TrimRightChars(String(u"12.00"), set)), u"12");
    EXPECT_TRUE(KR::TrimRightChars(String(u"0.00"), set).IsEmpty());
    const String untouched(u"125");
    EXPECT_TRUE(KR::TrimRightChars(untouched, set).SharesBufferWith(untouched));
    EXPECT_EQ(Utf16(KR::TrimRightChars(untouched, String())), u"125");
}

TEST(StringFunctions, TrimLeftRemovesBlanksTabsAndLineEnds)
{
    EXPECT_EQ(Utf16(KR::TrimLeftWhitespace(String(u" \t\r\nword  "))), u"word  ");
    const String plain(u"word");
    EXPECT_TRUE(KR::TrimLeftWhitespace(plain).SharesBufferWith(plain));
    EXPECT_EQ(Utf16(KR::TrimLeftWhitespace(String(u"  a"))), u"a");
    // A text of white space only comes back unchanged.
    EXPECT_EQ(Utf16(KR::TrimLeftWhitespace(String(u" \t\r\n"))), u" \t\r\n");
    EXPECT_TRUE(KR::TrimLeftWhitespace(String()).IsEmpty());
    EXPECT_EQ(Utf16(KR::TrimWhitespace(String(u"\t True \r\n"))), u"True");
}

TEST(StringFunctions, ParseDoubleReadsTheLeadingNumberWithAPointInEveryLocale)
{
    const struct
    {
        const char16_t* text;
        double value;
    } rows[] = {{u" 0.25", 0.25}, {u"-1.5e2x", -150.0}, {u"+3", 3.0}, {u"1,5", 1.0},
                {u"+-2", 0.0},    {u"abc", 0.0},        {u"", 0.0},   {u"1e999", 0.0}};
    for (const auto& row : rows)
    {
        EXPECT_EQ(KR::ParseDouble(String(row.text)), row.value) << "row " << &row - rows;
    }
}

TEST(StringFunctions, CaseInsensitiveComparisonFoldsAsciiAndLatin1)
{
    EXPECT_TRUE(KR::EqualsNoCase(String(u"ABC"), String(u"abc")));
    EXPECT_TRUE(KR::EqualsNoCase(String(u"\u00C9t\u00C9"), String(u"\u00E9T\u00E9")));
    EXPECT_FALSE(KR::EqualsNoCase(String(u"abc"), String(u"abd")));
    EXPECT_LT(KR::CompareNoCase(String(u"apple"), String(u"BANANA")), 0);
    EXPECT_GT(KR::CompareNoCase(String(u"abc"), String(u"AB")), 0);
    // Letters sort after '_' as _wcsicmp has them, by their lower-case form.
    EXPECT_GT(KR::CompareNoCase(String(u"A"), String(u"_")), 0);
    EXPECT_TRUE(KR::EqualsNoCase(KR::Utf8String("MIDIIN4"), KR::Utf8String("midiin4")));
    EXPECT_EQ(KR::CompareNoCase<char16_t>(nullptr, u""), 0);
}

} // namespace

namespace
{

TEST(StringFunctions, StringToIntReadsLikeWtoi)
{
    EXPECT_EQ(KR::StringToInt(String(u"42")), 42);
    EXPECT_EQ(KR::StringToInt(String(u"  \t-17abc")), -17);
    EXPECT_EQ(KR::StringToInt(String(u"+8")), 8);
    EXPECT_EQ(KR::StringToInt(String(u"x12")), 0);
    EXPECT_EQ(KR::StringToInt(String(u"")), 0);
    EXPECT_EQ(KR::StringToInt(String(u"2147483647")), INT32_MAX);
    EXPECT_EQ(KR::StringToInt(String(u"2147483648")), INT32_MAX);
    EXPECT_EQ(KR::StringToInt(String(u"-2147483648")), INT32_MIN);
    EXPECT_EQ(KR::StringToInt(String(u"-99999999999999999999999")), INT32_MIN);
}

} // namespace

namespace
{

// The skin reader reads numbers straight from the parser's UTF-8: each text must read as
// its UTF-16 form does, non-ASCII white space and digits included.
TEST(StringFunctions, NumbersReadFromUtf8AsFromTheirUtf16Form)
{
    const char16_t* texts[] = {u" \t-17abc",    u"+8",         u"0.25e1",         u"\u00A012",
                               u"\uFF11\uFF12", u"\u2003 3.5", u"1\u00B75",       u"-2147483649",
                               u"7\u20AC",      u"+-2",        u"\u3000\t 1e999", u""};
    for (const char16_t* text : texts)
    {
        const String wide(text);
        const std::string utf8 = wide.ToUtf8().GetPtr();
        EXPECT_EQ(KR::StringToInt(std::string_view(utf8)), KR::StringToInt(wide)) << utf8;
        EXPECT_EQ(KR::ParseDouble(std::string_view(utf8)), KR::ParseDouble(wide)) << utf8;
    }
    EXPECT_EQ(KR::StringToInt(std::string_view(" -17abc")), -17);
    EXPECT_EQ(KR::ParseDouble(std::string_view("1.5e2x")), 150.0);
}

} // namespace
