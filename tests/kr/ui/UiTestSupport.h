#pragma once
// Shared by the tests of kr_ui: readable failure output for framework strings.

#include "kr/core/StringT.h"

#include <ostream>

namespace KR
{
// GoogleTest finds it by argument-dependent lookup.
inline void PrintTo(const String& text, std::ostream* out)
{
    *out << '"' << text.ToUtf8().GetPtr() << '"';
}
} // namespace KR
