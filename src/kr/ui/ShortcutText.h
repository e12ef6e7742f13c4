#pragma once
// Key-combination text, the form in which string tables bind hot keys and menus show
// them: "Ctrl+VKEY_C", "SHIFT+CTRL+VKEY_S", "VKEY_DELETE", or a character, "Alt+[65]".

#include "kr/core/StringT.h"
#include "kr/ui/KeyCode.h"

#include <cstdint>

namespace KR
{

// The key code written in a key-combination text. The reading is deliberately loose, as
// the tables written for it rely on:
// - Modifiers are found anywhere in the text, case-insensitively, as plain substrings:
//   "VKEY_SHIFT" also sets Shift, and any name containing "ALT" sets Alt.
// - With "VKEY_", the rest of the text from there names the key (upper-cased first);
//   Ctrl, Alt and Shift apply, and the key code is that of the key going down. A name
//   not in the table gives virtual key 0, a key code no key event produces.
// - Without it, the text names a character and only Alt applies: the last character as
//   written, or the decimal number between "[" and the next "]" ("[97]" is "a"). A "["
//   without a closing "]" names nothing: the result is the empty key-down code.
// An empty text also gives the empty key-down code (0x20000000). Sides and repeat are 0.
KeyCode ParseShortcutText(const String& text);

// The text of a code word, as the menus show it: the modifiers ("Ctrl+", "Alt+",
// "Shift+", "Cmd+", in that order), then the key's display name, or a printable ASCII
// character, or "Ctrl+" and a letter for the control characters 1 to 26. The no-key
// code gives its modifiers alone (none: the empty text).
String FormatShortcutText(std::uint32_t code);

} // namespace KR
