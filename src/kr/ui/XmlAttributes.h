#pragma once
// The attributes of one start element, gathered by name (UTF-16), and the value readings
// the skin and string-table documents use. Every reading takes any text: what is not a
// number reads as 0, as the C library reads it.

#include "kr/core/StringT.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace KR
{

// True only for the exact text "True".
bool XmlFlag(const String& value);
// A decimal real number at the start of the text (leading white space, sign, fraction,
// exponent), independent of the process locale; 0 when there is none.
float XmlReal(const String& value);
// The decimal whole number at the start of the text; 0 when there is none.
std::int32_t XmlWhole(const String& value);
// A whole number that may be written "0x" and hexadecimal digits. After "0x" at most four
// characters are read, most significant first: '*' to '?' count as their low four bits
// ('0' to '9' give 0 to 9), 'a' to 'f' and 'A' to 'F' give 10 to 15, anything else ends
// the number. Without "0x" it is XmlWhole.
std::int32_t XmlWholeHexAllowed(const String& value);

// The attributes of one start element as the parser hands them over: name and value pairs
// of UTF-8 that live as long as the element's event. A skin element carries dozens of
// attributes and the reader asks for a few of them by name, so nothing is converted until
// it is asked for, and then once.
class XmlAttributes
{
public:
    XmlAttributes() = default;
    // Over a null-terminated array of name, value, name, value... (the parser's own).
    explicit XmlAttributes(const char* const* pairs);
    XmlAttributes(const XmlAttributes&) = delete;
    XmlAttributes& operator=(const XmlAttributes&) = delete;

    // A name given twice keeps its first value.
    void Add(std::string_view name, std::string_view value);

    bool Has(const char16_t* name) const { return Find(name) != nullptr; }
    // The value, or null when the attribute is missing.
    const String* Find(const char16_t* name) const;

    // Each reading stores into `out` and returns true when the attribute is present, and
    // leaves `out` alone and returns false when it is missing.
    bool Text(const char16_t* name, String& out) const;
    bool Flag(const char16_t* name, bool& out) const;
    bool Real(const char16_t* name, float& out) const;
    bool Whole(const char16_t* name, std::int32_t& out) const;
    bool WholeHexAllowed(const char16_t* name, std::int32_t& out) const;

    std::size_t GetCount() const { return mEntries.size(); }

private:
    struct Entry
    {
        std::string_view name;
        std::string_view value;
        mutable String text;
        mutable bool converted = false;
    };
    std::vector<Entry> mEntries;
};

} // namespace KR
