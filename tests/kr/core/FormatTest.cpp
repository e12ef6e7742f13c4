#include "kr/core/Format.h"
#include "kr/core/StringT.h"
#include "support/Utf8.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <string>

namespace
{

using KR::String;

using KR::TestSupport::Utf16;

TEST(Format, StringsAndCharactersTakeTheWindowsWideMeaning)
{
    const char16_t* wide = u"Pad \u00E9";
    const char* narrow = "Fader \xC3\xA9";
    EXPECT_EQ(Utf16(String::Format(u"[%s]", wide)), u"[Pad \u00E9]");
    EXPECT_EQ(Utf16(String::Format(u"[%S]", narrow)), u"[Fader \u00E9]");
    EXPECT_EQ(Utf16(String::Format(u"[%hs|%ls|%ws]", narrow, wide, wide)),
              u"[Fader \u00E9|Pad \u00E9|Pad \u00E9]");
    EXPECT_EQ(Utf16(String::Format(u"%c%C%hc%lc", u'\u00E9', 'x', 'y', u'z')), u"\u00E9xyz");
    EXPECT_EQ(Utf16(String::Format(u"%C", 0xC3)), u"\uFFFD");
    EXPECT_EQ(Utf16(String::Format(u"%s|%S", static_cast<const char16_t*>(nullptr),
                                   static_cast<const char*>(nullptr))),
              u"(null)|(null)");
}

TEST(Format, StringWidthAndPrecisionCountUnits)
{
    EXPECT_EQ(Utf16(String::Format(u"[%6s]", u"ab")), u"[    ab]");
    EXPECT_EQ(Utf16(String::Format(u"[%-6s]", u"ab")), u"[ab    ]");
    EXPECT_EQ(Utf16(String::Format(u"[%.2s]", u"abcdef")), u"[ab]");
    EXPECT_EQ(Utf16(String::Format(u"[%*.*S]", 5, 3, "abcdef")), u"[  abc]");
    EXPECT_EQ(Utf16(String::Format(u"[%-*s]", -4, u"a")), u"[a   ]");
    EXPECT_EQ(Utf16(String::Format(u"[%3c]", u'x')), u"[  x]");
}

TEST(Format, IntegersAreThirtyTwoBitUnlessWidened)
{
    EXPECT_EQ(Utf16(String::Format(u"%d %i %u", -42, 7, 3000000000u)), u"-42 7 3000000000");
    EXPECT_EQ(Utf16(String::Format(u"%x %X %o %#x", 255, 255, 8, 255)), u"ff FF 10 0xff");
    EXPECT_EQ(
        Utf16(String::Format(u"%ld %lu", static_cast<std::int32_t>(-1), static_cast<std::uint32_t>(-1))),
        u"-1 4294967295");
    EXPECT_EQ(Utf16(String::Format(u"%lld %I64d %I64u", INT64_MIN, INT64_MAX, UINT64_MAX)),
              u"-9223372036854775808 9223372036854775807 18446744073709551615");
    EXPECT_EQ(Utf16(String::Format(u"%zu %Id %I32d", std::size_t{5}, std::intptr_t{-6}, 7)), u"5 -6 7");
    EXPECT_EQ(Utf16(String::Format(u"%hd %hu %hhd %hhu", 70000, 70000, 300, 300)), u"4464 4464 44 44");
    EXPECT_EQ(Utf16(String::Format(u"[%5d|%-5d|%05d|%+d|% d|%.3d]", 42, 42, 42, 42, 42, 7)),
              u"[   42|42   |00042|+42| 42|007]");
    EXPECT_EQ(Utf16(String::Format(u"[%*d]", 4, 1)), u"[   1]");
}

TEST(Format, FloatingPointUsesTheCLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    // A locale with a decimal comma, when the system has one; the result must not change.
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(Utf16(String::Format(u"%f %.2f %e %g %G", 2.5, 3.14159, 1234.5, 0.0001, 1e20)),
              u"2.500000 3.14 1.234500e+03 0.0001 1E+20");
    EXPECT_EQ(Utf16(String::Format(u"%lf %8.3f %-8.1f|", 1.0, 2.0, 3.0)), u"1.000000    2.000 3.0     |");
    EXPECT_EQ(Utf16(String::Format(u"%Lf", 1.5L)), u"1.500000");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(Format, PointersPercentsAndOddDirectives)
{
    EXPECT_EQ(Utf16(String::Format(u"%p", reinterpret_cast<void*>(std::uintptr_t{0x12AB}))),
              u"00000000000012AB");
    EXPECT_EQ(Utf16(String::Format(u"100%% sure")), u"100% sure");
    int written = -1;
    EXPECT_EQ(Utf16(String::Format(u"a%nb%d", &written, 5)), u"ab5");
    EXPECT_EQ(written, -1);
    // Unknown conversions are copied and take no argument.
    EXPECT_EQ(Utf16(String::Format(u"%y %d", 3)), u"%y 3");
    EXPECT_EQ(Utf16(String::Format(u"end %")), u"end %");
}

TEST(Format, LongResultsAreNeverCut)
{
    const std::u16string big(40000, u'w');
    const String formatted = String::Format(u"<%s>", big.c_str());
    EXPECT_EQ(formatted.GetLength(), 40002u);
    EXPECT_EQ(Utf16(formatted), u"<" + big + u">");

    EXPECT_EQ(String::Format(u"%20000d", 1).GetLength(), 20000u);
    EXPECT_EQ(String::Format(u"%.400f", 1.0).GetLength(), 402u);
}

TEST(Format, AssignFormatReplacesTheText)
{
    String s(u"old");
    const String shared = s;
    s.AssignFormat(u"%s %d", u"Encoder", 8);
    EXPECT_EQ(Utf16(s), u"Encoder 8");
    EXPECT_EQ(Utf16(shared), u"old");

    s.AssignFormat(u"");
    EXPECT_TRUE(s.SharesBufferWith(String::Empty()));
}

TEST(Format, ANulCharacterEndsTheText)
{
    EXPECT_EQ(Utf16(String::Format(u"ab%ccd", 0)), u"ab");
}

TEST(Format, TheBufferGrowsPastItsInlineRoom)
{
    KR::FormatBuffer out;
    const std::u16string chunk(KR::FormatBuffer::kInlineUnits - 1, u'x');
    KR::FormatTo(out, u"%s", chunk.c_str());
    KR::FormatTo(out, u"%s|%d", chunk.c_str(), 12);
    ASSERT_EQ(out.GetSize(), 2 * chunk.size() + 3);
    EXPECT_EQ(std::u16string(out.GetData(), out.GetSize()), chunk + chunk + u"|12");
}

} // namespace
