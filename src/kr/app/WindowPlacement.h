#pragma once
// The main window's placement as the profile keeps it ("WP"): the 44-byte record the
// system window writes when it is destroyed (eleven little-endian 32-bit values: length
// 44, flags, show state, the minimised and maximised positions, the normal rectangle's
// left, top, right and bottom), stored as upper-case hexadecimal, two digits a byte.

#include "kr/core/Rect.h"
#include "kr/core/StringT.h"

#include <cstddef>
#include <optional>

namespace KR
{

// Two upper-case hexadecimal digits for each byte.
String FormatProfileBinary(const void* bytes, std::size_t count);

// The normal rectangle of a stored record (x, y, width, height), only when the text is the
// exact form written: 88 digits, length 44, show state 1, positive width and height, every
// edge within +-1,000,000. The settings file is the user's to edit: anything else is no
// placement at all.
std::optional<RectI> ParseWindowPlacement(const String& text);

} // namespace KR
