#include "kr/ui/XmlAttributes.h"

#include "kr/core/StringFunctions.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace KR
{

namespace
{
// '*' to '?' by their low four bits, the letters a-f and A-F; -1 ends the number.
int HexDigitValue(char16_t c)
{
    if (c >= u'*' && c <= u'?')
    {
        return c & 0xF;
    }
    if (c >= u'a' && c <= u'f')
    {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F')
    {
        return c - u'A' + 10;
    }
    return -1;
}
} // namespace

bool XmlFlag(const String& value)
{
    return value == u"True";
}

float XmlReal(const String& value)
{
    const double result = ParseDouble(value);
    // Beyond a float the value is infinite, as the conversion of strtod's result would
    // give on the hardware, without the undefined cast.
    constexpr double kFloatMax = std::numeric_limits<float>::max();
    if (std::fabs(result) > kFloatMax)
    {
        return result < 0 ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(result);
}

std::int32_t XmlWhole(const String& value)
{
    return StringToInt(value);
}

std::int32_t XmlWholeHexAllowed(const String& value)
{
    const String::View text = value.GetView();
    if (!text.starts_with(u"0x"))
    {
        return XmlWhole(value);
    }
    std::int32_t result = 0;
    for (std::size_t at = 2; at < text.size() && at < 6; ++at)
    {
        const int digit = HexDigitValue(text[at]);
        if (digit < 0)
        {
            break;
        }
        result = result * 16 + digit;
    }
    return result;
}

const String* XmlAttributes::Find(const char16_t* name) const
{
    const auto found = mValues.find(String(name));
    return found == mValues.end() ? nullptr : &found->second;
}

bool XmlAttributes::Text(const char16_t* name, String& out) const
{
    const String* value = Find(name);
    if (value)
    {
        out = *value;
    }
    return value != nullptr;
}

bool XmlAttributes::Flag(const char16_t* name, bool& out) const
{
    const String* value = Find(name);
    if (value)
    {
        out = XmlFlag(*value);
    }
    return value != nullptr;
}

bool XmlAttributes::Real(const char16_t* name, float& out) const
{
    const String* value = Find(name);
    if (value)
    {
        out = XmlReal(*value);
    }
    return value != nullptr;
}

bool XmlAttributes::Whole(const char16_t* name, std::int32_t& out) const
{
    const String* value = Find(name);
    if (value)
    {
        out = XmlWhole(*value);
    }
    return value != nullptr;
}

bool XmlAttributes::WholeHexAllowed(const char16_t* name, std::int32_t& out) const
{
    const String* value = Find(name);
    if (value)
    {
        out = XmlWholeHexAllowed(*value);
    }
    return value != nullptr;
}

} // namespace KR
