#include "kr/ui/XmlAttributes.h"

#include "kr/core/StringFunctions.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace KR
{

namespace
{
// '*' to '?' by their low four bits, the letters a-f and A-F; -1 ends the number.
int HexDigitValue(char c)
{
    if (c >= '*' && c <= '?')
    {
        return c & 0xF;
    }
    if (c >= 'a' && c <= 'f')
    {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F')
    {
        return c - 'A' + 10;
    }
    return -1;
}

constexpr std::string_view kNameTexts[] = {
#define KR_XML_NAME_TEXT(name) #name,
    KR_XML_ATTRIBUTE_NAMES(KR_XML_NAME_TEXT)
#undef KR_XML_NAME_TEXT
};
constexpr std::size_t kNameCount = static_cast<std::size_t>(XmlName::Count);
static_assert(std::size(kNameTexts) == kNameCount);

// The known names by a hash of their text, open addressing; a name is found with one hash
// and, nearly always, one comparison.
class NameTable
{
public:
    NameTable()
    {
        std::memset(mEntries, kEmpty, sizeof mEntries);
        for (std::size_t at = 0; at < kNameCount; ++at)
        {
            std::size_t slot = Hash(kNameTexts[at]) & kMask;
            while (mEntries[slot] != kEmpty)
            {
                slot = (slot + 1) & kMask;
            }
            mEntries[slot] = static_cast<std::uint8_t>(at);
        }
    }

    // The name's index, or kNameCount for a name that is not known.
    std::size_t Find(std::string_view text) const
    {
        for (std::size_t slot = Hash(text) & kMask;; slot = (slot + 1) & kMask)
        {
            const std::uint8_t entry = mEntries[slot];
            if (entry == kEmpty)
            {
                return kNameCount;
            }
            if (kNameTexts[entry] == text)
            {
                return entry;
            }
        }
    }

private:
    static constexpr std::size_t kSize = 256;
    static constexpr std::size_t kMask = kSize - 1;
    static constexpr std::uint8_t kEmpty = 0xFF;
    static_assert(kNameCount < kSize / 2 && kNameCount < kEmpty);

    static std::size_t Hash(std::string_view text)
    {
        std::uint32_t hash = 2166136261u;
        for (const char c : text)
        {
            hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
        }
        return hash ^ (hash >> 16);
    }

    std::uint8_t mEntries[kSize]{};
};

const NameTable& Names()
{
    static const NameTable table;
    return table;
}

} // namespace

std::string_view XmlNameText(XmlName name)
{
    return kNameTexts[static_cast<std::size_t>(name)];
}

bool XmlFlag(std::string_view value)
{
    return value == "True";
}

float XmlReal(std::string_view value)
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

std::int32_t XmlWhole(std::string_view value)
{
    return StringToInt(value);
}

std::int32_t XmlWholeHexAllowed(std::string_view value)
{
    if (!value.starts_with("0x"))
    {
        return XmlWhole(value);
    }
    std::int32_t result = 0;
    for (std::size_t at = 2; at < value.size() && at < 6; ++at)
    {
        const int digit = HexDigitValue(value[at]);
        if (digit < 0)
        {
            break;
        }
        result = result * 16 + digit;
    }
    return result;
}

XmlAttributes::XmlAttributes(const char* const* pairs) : mPairs(pairs)
{
    if (!pairs)
    {
        return;
    }
    const NameTable& names = Names();
    for (std::uint32_t slot = 1; pairs[2 * slot - 2] && pairs[2 * slot - 1]; ++slot)
    {
        ++mCount;
        const std::size_t known = names.Find(pairs[2 * slot - 2]);
        // The first of a name given twice is the one read.
        if (known < kNameCount && mSlots[known] == 0)
        {
            mSlots[known] = slot;
        }
    }
}

bool XmlAttributes::Text(XmlName name, String& out) const
{
    const char* value = Find(name);
    if (value)
    {
        // The parser hands over well-formed UTF-8 only.
        out.AssignUtf8(value);
    }
    return value != nullptr;
}

bool XmlAttributes::Flag(XmlName name, bool& out) const
{
    const char* value = Find(name);
    if (value)
    {
        out = XmlFlag(value);
    }
    return value != nullptr;
}

bool XmlAttributes::Real(XmlName name, float& out) const
{
    const char* value = Find(name);
    if (value)
    {
        out = XmlReal(value);
    }
    return value != nullptr;
}

bool XmlAttributes::Whole(XmlName name, std::int32_t& out) const
{
    const char* value = Find(name);
    if (value)
    {
        out = XmlWhole(value);
    }
    return value != nullptr;
}

bool XmlAttributes::WholeHexAllowed(XmlName name, std::int32_t& out) const
{
    const char* value = Find(name);
    if (value)
    {
        out = XmlWholeHexAllowed(value);
    }
    return value != nullptr;
}

} // namespace KR
