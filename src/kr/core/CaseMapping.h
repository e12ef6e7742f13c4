#pragma once
// Case mapping of single code units, the same in every locale: ASCII letters, and for
// UTF-16 also the Latin-1 letters (U+00C0-U+00DE <-> U+00E0-U+00FE, without the
// multiplication and division signs). Letters without a one-unit partner in that range
// (U+00DF sharp s, U+00FF y with diaeresis, U+00B5 micro sign) and every other unit stay
// as they are. UTF-8 bytes above 0x7F are parts of characters and are never changed.

#include <type_traits>

namespace KR
{

constexpr char16_t ToUpperUnit(char16_t unit)
{
    if ((unit >= u'a' && unit <= u'z') || (unit >= 0xE0 && unit <= 0xFE && unit != 0xF7))
    {
        return static_cast<char16_t>(unit - 0x20);
    }
    return unit;
}

constexpr char16_t ToLowerUnit(char16_t unit)
{
    if ((unit >= u'A' && unit <= u'Z') || (unit >= 0xC0 && unit <= 0xDE && unit != 0xD7))
    {
        return static_cast<char16_t>(unit + 0x20);
    }
    return unit;
}

constexpr char ToUpperUnit(char unit)
{
    return unit >= 'a' && unit <= 'z' ? static_cast<char>(unit - 0x20) : unit;
}

constexpr char ToLowerUnit(char unit)
{
    return unit >= 'A' && unit <= 'Z' ? static_cast<char>(unit + 0x20) : unit;
}

// Compares two NUL-terminated texts ignoring case, unit by unit after mapping both to
// lower case (the order _wcsicmp gives for these letters): negative, 0 or positive.
// A null text counts as empty.
template <typename C>
constexpr int CompareNoCase(const C* a, const C* b)
{
    constexpr C empty[1] = {};
    a = a ? a : empty;
    b = b ? b : empty;
    using Unsigned = std::conditional_t<sizeof(C) == 1, unsigned char, char16_t>;
    for (;; ++a, ++b)
    {
        const auto x = static_cast<Unsigned>(ToLowerUnit(*a));
        const auto y = static_cast<Unsigned>(ToLowerUnit(*b));
        if (x != y || x == 0)
        {
            return static_cast<int>(x) - static_cast<int>(y);
        }
    }
}

} // namespace KR
