#include "kr/core/Utf.h"

#include <cstdint>

namespace KR
{
namespace
{

constexpr char32_t kHighFirst = 0xD800;
constexpr char32_t kHighLast = 0xDBFF;
constexpr char32_t kLowFirst = 0xDC00;
constexpr char32_t kLowLast = 0xDFFF;
constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kMaxCodePoint = 0x10FFFF;

constexpr bool IsHigh(char32_t ch)
{
    return ch >= kHighFirst && ch <= kHighLast;
}
constexpr bool IsLow(char32_t ch)
{
    return ch >= kLowFirst && ch <= kLowLast;
}

// Continuation bytes announced by a first byte. 0x80-0xBF announce none (and are refused
// by the legality test); 0xF8-0xFF announce the old 5- and 6-byte forms, refused too.
constexpr int TrailingBytes(std::uint8_t first)
{
    if (first < 0xC0)
    {
        return 0;
    }
    if (first < 0xE0)
    {
        return 1;
    }
    if (first < 0xF0)
    {
        return 2;
    }
    if (first < 0xF8)
    {
        return 3;
    }
    return first < 0xFC ? 4 : 5;
}

// What the accumulated bytes of an n-byte sequence exceed the code point by: the lead
// marks and continuation marks, summed after the shifts.
constexpr char32_t kOffsets[6] = {0x00000000, 0x00003080, 0x000E2080, 0x03C82080, 0xFA082080, 0x82082080};

constexpr std::uint8_t kFirstMarks[5] = {0x00, 0x00, 0xC0, 0xE0, 0xF0};

// The shortest-form and range rules of UTF-8 for one sequence of `length` bytes.
bool IsLegalUtf8(const std::uint8_t* bytes, int length)
{
    if (length < 1 || length > 4)
    {
        return false;
    }
    if (length == 4 && (bytes[3] < 0x80 || bytes[3] > 0xBF))
    {
        return false;
    }
    if (length >= 3 && (bytes[2] < 0x80 || bytes[2] > 0xBF))
    {
        return false;
    }
    if (length >= 2)
    {
        const std::uint8_t second = bytes[1];
        if (second > 0xBF)
        {
            return false;
        }
        switch (bytes[0])
        {
        case 0xE0:
            if (second < 0xA0)
            {
                return false;
            }
            break;
        case 0xED:
            if (second < 0x80 || second > 0x9F)
            {
                return false;
            }
            break;
        case 0xF0:
            if (second < 0x90)
            {
                return false;
            }
            break;
        case 0xF4:
            if (second < 0x80 || second > 0x8F)
            {
                return false;
            }
            break;
        default:
            if (second < 0x80)
            {
                return false;
            }
        }
    }
    return !(bytes[0] >= 0x80 && bytes[0] < 0xC2) && bytes[0] <= 0xF4;
}

} // namespace

ConversionResult ConvertUtf16ToUtf8(const char16_t*& source, const char16_t* sourceEnd, char*& target,
                                    char* targetEnd, ConversionMode mode)
{
    const bool strict = mode == ConversionMode::Strict;
    ConversionResult result = ConversionResult::Ok;
    const char16_t* in = source;
    char* out = target;
    while (in < sourceEnd)
    {
        // Runs of ASCII, the bulk of the program's texts, go straight through.
        while (in < sourceEnd && out < targetEnd && *in < 0x80)
        {
            *out++ = static_cast<char>(*in++);
        }
        if (in == sourceEnd)
        {
            break;
        }
        const char16_t* start = in;
        char32_t ch = *in++;
        if (IsHigh(ch))
        {
            if (in == sourceEnd)
            {
                in = start;
                result = ConversionResult::SourceExhausted;
                break;
            }
            const char32_t low = *in;
            if (IsLow(low))
            {
                ch = ((ch - kHighFirst) << 10) + (low - kLowFirst) + 0x10000;
                ++in;
            }
            else if (strict)
            {
                in = start;
                result = ConversionResult::SourceIllegal;
                break;
            }
        }
        else if (strict && IsLow(ch))
        {
            in = start;
            result = ConversionResult::SourceIllegal;
            break;
        }

        int bytes = 3;
        if (ch < 0x80)
        {
            bytes = 1;
        }
        else if (ch < 0x800)
        {
            bytes = 2;
        }
        else if (ch >= 0x10000)
        {
            bytes = 4;
        }
        if (targetEnd - out < bytes)
        {
            in = start;
            result = ConversionResult::TargetExhausted;
            break;
        }
        for (int i = bytes - 1; i > 0; --i)
        {
            out[i] = static_cast<char>(0x80 | (ch & 0x3F));
            ch >>= 6;
        }
        out[0] = static_cast<char>(ch | kFirstMarks[bytes]);
        out += bytes;
    }
    source = in;
    target = out;
    return result;
}

ConversionResult ConvertUtf8ToUtf16(const char*& source, const char* sourceEnd, char16_t*& target,
                                    char16_t* targetEnd, ConversionMode mode)
{
    const bool strict = mode == ConversionMode::Strict;
    ConversionResult result = ConversionResult::Ok;
    const auto* in = reinterpret_cast<const std::uint8_t*>(source);
    const auto* end = reinterpret_cast<const std::uint8_t*>(sourceEnd);
    char16_t* out = target;
    while (in < end)
    {
        while (in < end && out < targetEnd && *in < 0x80)
        {
            *out++ = *in++;
        }
        if (in == end)
        {
            break;
        }
        const int trailing = TrailingBytes(*in);
        if (end - in <= trailing)
        {
            result = ConversionResult::SourceExhausted;
            break;
        }
        if (!IsLegalUtf8(in, trailing + 1))
        {
            result = ConversionResult::SourceIllegal;
            break;
        }
        char32_t ch = 0;
        for (int i = 0; i <= trailing; ++i)
        {
            ch = (ch << 6) + in[i];
        }
        ch -= kOffsets[trailing];

        if (out == targetEnd)
        {
            result = ConversionResult::TargetExhausted;
            break;
        }
        if (ch <= 0xFFFF || ch > kMaxCodePoint)
        {
            if (ch > kMaxCodePoint || (ch >= kHighFirst && ch <= kLowLast))
            {
                if (strict)
                {
                    result = ConversionResult::SourceIllegal;
                    break;
                }
                ch = kReplacement;
            }
            *out++ = static_cast<char16_t>(ch);
        }
        else
        {
            if (targetEnd - out < 2)
            {
                result = ConversionResult::TargetExhausted;
                break;
            }
            ch -= 0x10000;
            *out++ = static_cast<char16_t>(kHighFirst + (ch >> 10));
            *out++ = static_cast<char16_t>(kLowFirst + (ch & 0x3FF));
        }
        in += trailing + 1;
    }
    source = reinterpret_cast<const char*>(in);
    target = out;
    return result;
}

} // namespace KR
