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

namespace
{

// Attribute names are compared as the UTF-16 text they stand for.
bool NameIs(std::string_view utf8, const char16_t* name)
{
    std::size_t at = 0;
    for (; name[at] != u'\0'; ++at)
    {
        if (name[at] >= 0x80)
        {
            String converted;
            converted.AssignUtf8(utf8.data(), static_cast<std::uint32_t>(utf8.size()));
            return converted.GetView() == String::View(name);
        }
        if (at >= utf8.size() || static_cast<unsigned char>(utf8[at]) != name[at])
        {
            return false;
        }
    }
    return at == utf8.size();
}

} // namespace

XmlAttributes::XmlAttributes(const char* const* pairs)
{
    std::size_t count = 0;
    while (pairs && pairs[count] && pairs[count + 1])
    {
        count += 2;
    }
    mEntries.reserve(count / 2);
    for (std::size_t at = 0; at < count; at += 2)
    {
        Add(pairs[at], pairs[at + 1]);
    }
}

void XmlAttributes::Add(std::string_view name, std::string_view value)
{
    mEntries.push_back(Entry{name, value, String(), false});
}

const String* XmlAttributes::Find(const char16_t* name) const
{
    for (const Entry& entry : mEntries)
    {
        if (NameIs(entry.name, name))
        {
            if (!entry.converted)
            {
                // The parser hands over well-formed UTF-8 only.
                entry.text.AssignUtf8(entry.value.data(), static_cast<std::uint32_t>(entry.value.size()));
                entry.converted = true;
            }
            return &entry.text;
        }
    }
    return nullptr;
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
