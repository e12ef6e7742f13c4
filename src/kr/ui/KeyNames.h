#pragma once
// The two process-wide tables of virtual-key names: the "VKEY_" names in which
// key-combination text names a key ("Ctrl+VKEY_C"), and the display names shown to the
// user ("Page Up"). Both are built together on the first lookup in either, from any
// thread, and never change afterwards.

#include "kr/core/StringT.h"

#include <cstdint>

namespace KR
{

// The virtual-key code of a "VKEY_" name; 0 for a name outside the table. Names are
// upper case and matched exactly: "vkey_a" is not found.
std::uint8_t VirtualKeyFromName(const String& name);

// The display text of a virtual-key code; empty for a code without one (Back and Tab
// among them). Where several names share a code, the first listed gives the text
// (21 shows "Kana").
String VirtualKeyDisplayName(std::uint8_t virtualKey);

// The sizes of the two tables (149 names, 143 codes with a display text).
std::uint32_t GetVirtualKeyNameCount();
std::uint32_t GetVirtualKeyDisplayNameCount();

} // namespace KR
