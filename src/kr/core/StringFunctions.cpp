#include "kr/core/StringFunctions.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace KR
{
namespace
{

// The digits of value with the decimal point placed as IntToString describes.
String PlacedDigits(bool negative, std::uint32_t value, std::int32_t places)
{
    char digits[16];
    const char* const end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    const auto count = static_cast<std::uint32_t>(end - digits);
    const std::uint32_t decimals = places > 0 ? static_cast<std::uint32_t>(places) : 0;

    // Sign, digits before the point, point, zeros, digits after it, NUL.
    const std::uint32_t before = count > decimals ? count - decimals : 0;
    const std::uint32_t zeros = decimals > count ? decimals - count : 0;
    const std::uint32_t length =
        (negative ? 1 : 0) + before + (decimals > 0 ? 1 : 0) + zeros + (count - before);
    String result;
    char16_t* out = result.Lock(length + 1);
    if (negative)
    {
        *out++ = u'-';
    }
    out = std::copy(digits, digits + before, out);
    if (decimals > 0)
    {
        *out++ = u'.';
        out = std::fill_n(out, zeros, u'0');
    }
    out = std::copy(static_cast<const char*>(digits) + before, end, out);
    *out = 0;
    result.Unlock();
    return result;
}

bool IsTrimmedWhitespace(char16_t unit)
{
    return unit == u' ' || unit == u'\t' || unit == u'\r' || unit == u'\n';
}

// The readings are ASCII only, so UTF-16 units and UTF-8 bytes give the same numbers: a
// unit or byte beyond ASCII is neither white space, sign nor digit.
template <typename Unit>
bool IsSpaceUnit(Unit unit)
{
    return unit == ' ' || (unit >= '\t' && unit <= '\r');
}

template <typename Unit>
std::int32_t WholeAtStart(std::basic_string_view<Unit> units)
{
    std::size_t i = 0;
    while (i < units.size() && IsSpaceUnit(units[i]))
    {
        ++i;
    }
    const bool negative = i < units.size() && units[i] == '-';
    if (i < units.size() && (units[i] == '-' || units[i] == '+'))
    {
        ++i;
    }
    // Capped one past INT32_MAX: enough for INT32_MIN, and no overflow on long inputs.
    std::int64_t value = 0;
    for (; i < units.size() && units[i] >= '0' && units[i] <= '9'; ++i)
    {
        value = std::min<std::int64_t>(value * 10 + (units[i] - '0'), std::int64_t{INT32_MAX} + 1);
    }
    if (negative)
    {
        return static_cast<std::int32_t>(-value);
    }
    return static_cast<std::int32_t>(std::min<std::int64_t>(value, INT32_MAX));
}

template <typename Unit>
double RealAtStart(std::basic_string_view<Unit> view)
{
    // The number is plain ASCII, so it is read from a narrow copy of the ASCII prefix: the
    // C library's strtod would follow the process locale, which GTK sets from the user's.
    std::size_t at = 0;
    while (at < view.size() && IsSpaceUnit(view[at]))
    {
        ++at;
    }
    if (at < view.size() && view[at] == '+')
    {
        ++at;
        if (at < view.size() && view[at] == '-')
        {
            return 0.0;
        }
    }
    char narrow[64];
    std::size_t length = 0;
    while (at < view.size() && length < sizeof(narrow) && view[at] > 0x20 && view[at] < 0x7F)
    {
        narrow[length++] = static_cast<char>(view[at++]);
    }
    double result = 0.0;
    const auto [end, error] = std::from_chars(narrow, narrow + length, result);
    return error != std::errc() || end == narrow ? 0.0 : result;
}

} // namespace

String IntToString(std::int32_t value, std::int32_t places)
{
    const std::uint32_t magnitude = value < 0 ? static_cast<std::uint32_t>(-static_cast<std::int64_t>(value))
                                              : static_cast<std::uint32_t>(value);
    return PlacedDigits(value < 0, magnitude, places);
}

String UIntToString(std::uint32_t value, std::int32_t places)
{
    return PlacedDigits(false, value, places);
}

String DoubleToString(double value, std::int32_t places)
{
    return places >= 0 ? String::Format(u"%.*f", static_cast<int>(places), value)
                       : String::Format(u"%f", value);
}

std::int32_t StringToInt(const String& text)
{
    return WholeAtStart(text.GetView());
}

std::int32_t StringToInt(std::string_view utf8)
{
    return WholeAtStart(utf8);
}

String TrimRightChars(const String& s, const String& set)
{
    const String::View text = s.GetView();
    const std::size_t last = text.find_last_not_of(set.GetView());
    if (last == String::View::npos)
    {
        return String();
    }
    return last + 1 == text.size() ? s : s.Left(static_cast<std::uint32_t>(last + 1));
}

String TrimLeftWhitespace(const String& s)
{
    const String::View text = s.GetView();
    std::size_t first = 0;
    while (first < text.size() && IsTrimmedWhitespace(text[first]))
    {
        ++first;
    }
    // A text of nothing but white space comes back whole.
    return first == 0 || first == text.size() ? s : s.SubString(static_cast<std::int32_t>(first));
}

String TrimWhitespace(const String& s)
{
    return TrimRightChars(TrimLeftWhitespace(s), String(u" \t\r\n"));
}

double ParseDouble(const String& text)
{
    return RealAtStart(text.GetView());
}

double ParseDouble(std::string_view utf8)
{
    return RealAtStart(utf8);
}

} // namespace KR
