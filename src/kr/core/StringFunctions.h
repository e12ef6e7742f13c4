#pragma once
// Free functions over strings: number texts, trimming and case-insensitive comparison.

#include "kr/core/CaseMapping.h"
#include "kr/core/StringT.h"

#include <cstdint>
#include <string_view>

namespace KR
{

// Decimal text of value. With places > 0 a decimal point goes before the last `places`
// digits, with zeros added in front as needed and no digit before the point:
// 1234, 2 -> "12.34"; 5, 2 -> ".05"; 0, 1 -> ".0". A negative value keeps its sign in
// front: -5, 2 -> "-.05".
String IntToString(std::int32_t value, std::int32_t places = 0);
String UIntToString(std::uint32_t value, std::int32_t places = 0);

// Decimal text of value with `places` decimals ("%.<places>f"); a negative count gives
// the C library's default of six: 2.5, 2 -> "2.50"; 2.5, -1 -> "2.500000". The decimal
// point is '.' in every locale.
String DoubleToString(double value, std::int32_t places);

// The decimal number at the start of text as _wtoi reads it: leading white space, an
// optional sign, then digits up to the first other unit; 0 when there are none. Values
// beyond the 32-bit range give INT32_MAX or INT32_MIN.
std::int32_t StringToInt(const String& text);
// The same over UTF-8 text: only ASCII takes part in a number, so the value is the one the
// text's UTF-16 form gives.
std::int32_t StringToInt(std::string_view utf8);

// A copy of s without the trailing units that appear in set.
String TrimRightChars(const String& s, const String& set);
// A copy of s from its first unit that is not a blank, tab, CR or LF; s itself when
// there is none (a text of white space only is not trimmed to nothing).
String TrimLeftWhitespace(const String& s);
// A copy of s without leading and trailing blanks, tabs, CRs and LFs.
String TrimWhitespace(const String& s);

// The decimal real number at the start of text as _wtof reads it (leading white space,
// sign, fraction, exponent), but with '.' as the decimal point in every locale; 0.0 when
// there is none or it lies beyond a double.
double ParseDouble(const String& text);
// The same over UTF-8 text, with the same value as its UTF-16 form.
double ParseDouble(std::string_view utf8);

// Case-insensitive comparison of ASCII and Latin-1 letters (CaseMapping.h): negative, 0
// or positive, as _wcsicmp orders texts.
template <typename C, typename O>
int CompareNoCase(const StringT<C, O>& a, const StringT<C, O>& b)
{
    return a.SharesBufferWith(b) ? 0 : CompareNoCase(a.GetPtr(), b.GetPtr());
}

template <typename C, typename O>
bool EqualsNoCase(const StringT<C, O>& a, const StringT<C, O>& b)
{
    return CompareNoCase(a, b) == 0;
}

} // namespace KR
