#include "kr/core/Utf.h"
#include "kr/core/StringT.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

using KR::ConversionMode;
using KR::ConversionResult;

struct ToUtf8
{
    ConversionResult result;
    std::string bytes;
    std::size_t consumed; // UTF-16 units read before stopping
};

ToUtf8 Encode(std::u16string_view text, ConversionMode mode, std::size_t room = 64)
{
    std::string out(room, '\0');
    const char16_t* source = text.data();
    char* target = out.data();
    const ConversionResult result =
        KR::ConvertUtf16ToUtf8(source, text.data() + text.size(), target, out.data() + room, mode);
    out.resize(static_cast<std::size_t>(target - out.data()));
    return {result, out, static_cast<std::size_t>(source - text.data())};
}

struct ToUtf16
{
    ConversionResult result;
    std::u16string units;
    std::size_t consumed; // bytes read before stopping
};

ToUtf16 Decode(std::string_view bytes, ConversionMode mode, std::size_t room = 64)
{
    std::u16string out(room, u'\0');
    const char* source = bytes.data();
    char16_t* target = out.data();
    const ConversionResult result =
        KR::ConvertUtf8ToUtf16(source, bytes.data() + bytes.size(), target, out.data() + room, mode);
    out.resize(static_cast<std::size_t>(target - out.data()));
    return {result, out, static_cast<std::size_t>(source - bytes.data())};
}

TEST(Utf, AFourByteCharacterSurvivesBothDirections)
{
    const ToUtf8 encoded = Encode(u"\U0001F600", ConversionMode::Strict);
    EXPECT_EQ(encoded.result, ConversionResult::Ok);
    EXPECT_EQ(encoded.bytes, "\xF0\x9F\x98\x80");

    const ToUtf16 decoded = Decode(encoded.bytes, ConversionMode::Strict);
    EXPECT_EQ(decoded.result, ConversionResult::Ok);
    EXPECT_EQ(decoded.units, u"\U0001F600");
}

TEST(Utf, EveryLengthOfSequenceAtItsLimits)
{
    const std::u16string text = u"\u007F\u0080\u07FF\u0800\uD7FF\uE000\uFFFF\U00010000\U0010FFFF";
    const std::string bytes = "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF"
                              "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF";
    EXPECT_EQ(Encode(text, ConversionMode::Strict).bytes, bytes);
    EXPECT_EQ(Decode(bytes, ConversionMode::Strict).units, text);
}

TEST(Utf, LoneSurrogatesPassLenientlyAndStopStrictly)
{
    // A high surrogate followed by a letter.
    const ToUtf8 lenient = Encode(u"a\xD800z", ConversionMode::Lenient);
    EXPECT_EQ(lenient.result, ConversionResult::Ok);
    EXPECT_EQ(lenient.bytes, "a\xED\xA0\x80z");

    const ToUtf8 strict = Encode(u"a\xD800z", ConversionMode::Strict);
    EXPECT_EQ(strict.result, ConversionResult::SourceIllegal);
    EXPECT_EQ(strict.bytes, "a");
    EXPECT_EQ(strict.consumed, 1u);

    // A low surrogate without a high one.
    EXPECT_EQ(Encode(u"\xDC00", ConversionMode::Lenient).bytes, "\xED\xB0\x80");
    EXPECT_EQ(Encode(u"\xDC00", ConversionMode::Strict).result, ConversionResult::SourceIllegal);
}

TEST(Utf, AHighSurrogateAtTheEndIsAnIncompleteCharacter)
{
    for (const ConversionMode mode : {ConversionMode::Strict, ConversionMode::Lenient})
    {
        const ToUtf8 r = Encode(u"ab\xD83D", mode);
        EXPECT_EQ(r.result, ConversionResult::SourceExhausted);
        EXPECT_EQ(r.bytes, "ab");
        EXPECT_EQ(r.consumed, 2u);
    }
}

TEST(Utf, IllegalUtf8StopsInBothModes)
{
    const char* const illegal[] = {
        "\xC0\x80",             // overlong NUL
        "\xC1\xBF",             // overlong two-byte form
        "\xE0\x9F\xBF",         // overlong three-byte form
        "\xF0\x8F\xBF\xBF",     // overlong four-byte form
        "\xED\xA0\x80",         // encoded high surrogate
        "\xED\xBF\xBF",         // encoded low surrogate
        "\xF4\x90\x80\x80",     // above U+10FFFF
        "\xF5\x80\x80\x80",     // lead byte beyond the range
        "\x80",                 // stray continuation byte
        "\xC3\x28",             // missing continuation byte
        "\xF8\x88\x80\x80\x80", // five-byte form
        "\xFC\x84\x80\x80\x80\x80",
    };
    for (const char* bytes : illegal)
    {
        for (const ConversionMode mode : {ConversionMode::Strict, ConversionMode::Lenient})
        {
            const ToUtf16 r = Decode(std::string("ok") + bytes + "!", mode);
            EXPECT_EQ(r.result, ConversionResult::SourceIllegal) << testing::PrintToString(bytes);
            EXPECT_EQ(r.units, u"ok");
            EXPECT_EQ(r.consumed, 2u);
        }
    }
}

TEST(Utf, TruncatedUtf8IsAnIncompleteCharacter)
{
    const ToUtf16 r = Decode("ab\xF0\x9F\x98", ConversionMode::Lenient);
    EXPECT_EQ(r.result, ConversionResult::SourceExhausted);
    EXPECT_EQ(r.units, u"ab");
    EXPECT_EQ(r.consumed, 2u);
}

TEST(Utf, AFullTargetStopsBeforeTheWholeCharacter)
{
    const ToUtf8 bytes = Encode(u"a\U0001F600", ConversionMode::Strict, 4);
    EXPECT_EQ(bytes.result, ConversionResult::TargetExhausted);
    EXPECT_EQ(bytes.bytes, "a");
    EXPECT_EQ(bytes.consumed, 1u);

    // A pair needs two units; one free unit is not enough.
    const ToUtf16 units = Decode("a\xF0\x9F\x98\x80", ConversionMode::Strict, 2);
    EXPECT_EQ(units.result, ConversionResult::TargetExhausted);
    EXPECT_EQ(units.units, u"a");
    EXPECT_EQ(units.consumed, 1u);
}

TEST(Utf, StringConversionsKeepThePrefixOnFailure)
{
    KR::Utf8String narrow;
    const char16_t loneHighAtEnd[] = {u'o', u'k', 0xD800};
    EXPECT_EQ(KR::Utf16ToUtf8(narrow, loneHighAtEnd, 3), KR::kFail);
    EXPECT_EQ(std::string(narrow.GetView()), "ok");
    EXPECT_EQ(narrow.GetLength(), 2u);

    // Through the NUL, the lone surrogate is followed by a unit and passes leniently.
    const char16_t loneHigh[] = {u'o', u'k', 0xD800, 0};
    EXPECT_EQ(KR::Utf16ToUtf8(narrow, loneHigh, -1), KR::kOk);
    EXPECT_EQ(std::string(narrow.GetView()), "ok\xED\xA0\x80");

    KR::String wide;
    EXPECT_EQ(KR::Utf8ToUtf16(wide, "ok\xC0\x80more", -1), KR::kFail);
    EXPECT_EQ(std::u16string(wide.GetView()), u"ok");
    EXPECT_EQ(wide.GetLength(), 2u);

    EXPECT_EQ(KR::Utf8ToUtf16(wide, "", -1), KR::kOk);
    EXPECT_TRUE(wide.SharesBufferWith(KR::String::Empty()));
    EXPECT_EQ(KR::Utf16ToUtf8(narrow, nullptr, 5), KR::kOk);
    EXPECT_TRUE(narrow.IsEmpty());
}

TEST(Utf, ConvertingIntoALockedStringKeepsItsLock)
{
    KR::String target;
    target.Lock(2);
    EXPECT_EQ(KR::Utf8ToUtf16(target, "a longer text than the lock", -1), KR::kOk);
    EXPECT_TRUE(target.IsLocked());
    target.Unlock();
    EXPECT_EQ(std::u16string(target.GetView()), u"a longer text than the lock");
}

} // namespace
