#pragma once
// A framework string as UTF-8 or UTF-16, to compare with the literals of a test.

#include "kr/core/StringT.h"

#include <string>

namespace KR::TestSupport
{

inline std::string Utf8(const String& text)
{
    return text.ToUtf8().GetPtr();
}

inline std::u16string Utf16(const String& text)
{
    return std::u16string(text.GetView());
}

} // namespace KR::TestSupport
