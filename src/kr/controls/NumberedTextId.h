#pragma once
// Numbered string ids such as "ITEM.07" or "MENU_LABEL.3": the lists and menus load their
// entries from them. String tables may come from files, so the number is taken only when
// it is one or more ASCII digits below kMaxNumberedTexts; anything else is no entry.

#include "kr/core/StringT.h"

#include <cstdint>

namespace KR
{

inline constexpr std::int32_t kMaxNumberedTexts = 4096;

// The number after `prefix` (which must start the id, case counting), or -1.
std::int32_t ReadNumberedTextId(const String& id, const char16_t* prefix);

} // namespace KR
