#include "kr/ui/ShortcutText.h"

#include "kr/core/StringFunctions.h"
#include "kr/ui/KeyNames.h"

namespace KR
{

KeyCode ParseShortcutText(const String& text)
{
    const KeyCode nothing{KeyCode::kDownBit, 0, 0};
    if (text.IsEmpty())
    {
        return nothing;
    }
    const String upper = text.ToUpper();
    const bool ctrl = upper.Find(String(u"CTRL")) >= 0;
    const bool alt = upper.Find(String(u"ALT")) >= 0;
    const bool shift = upper.Find(String(u"SHIFT")) >= 0;

    const std::int32_t keyName = upper.Find(String(u"VKEY_"));
    if (keyName >= 0)
    {
        const std::uint32_t modifiers = (ctrl ? ModifierFlag::kCtrl : 0) | (alt ? ModifierFlag::kAlt : 0) |
                                        (shift ? ModifierFlag::kShift : 0);
        return KeyCode::FromVirtualKey(VirtualKeyFromName(upper.SubString(keyName)), true, 0, modifiers);
    }

    const std::uint32_t modifiers = alt ? ModifierFlag::kAlt : 0;
    const std::int32_t open = text.Find(u'[');
    if (open < 0)
    {
        return KeyCode::FromCharacter(text.GetPtr()[text.GetLength() - 1], modifiers);
    }
    const std::int32_t close = text.Find(u']', static_cast<std::uint32_t>(open));
    if (close < 0)
    {
        return nothing;
    }
    const String number = text.SubString(open + 1, static_cast<std::uint32_t>(close - open - 1));
    return KeyCode::FromCharacter(static_cast<std::uint16_t>(StringToInt(number)), modifiers);
}

String FormatShortcutText(std::uint32_t code)
{
    String text;
    if (code & KeyCode::kCtrlBit)
    {
        text += u"Ctrl+";
    }
    if (code & KeyCode::kAltBit)
    {
        text += u"Alt+";
    }
    if (code & KeyCode::kShiftBit)
    {
        text += u"Shift+";
    }
    if (code & KeyCode::kWinBit)
    {
        text += u"Cmd+";
    }
    if (code & KeyCode::kNoKey)
    {
        return text;
    }
    const KeyCode key{code, 0, 0};
    if (const std::uint8_t virtualKey = key.GetVirtualKey())
    {
        text += VirtualKeyDisplayName(virtualKey);
        return text;
    }
    const char16_t character = key.GetCharacter();
    if (character >= 1 && character <= 26)
    {
        // Control characters are typed as Ctrl and a letter; the prefix is written even
        // when the Ctrl bit wrote one already.
        text += u"Ctrl+";
        text.AppendChar(static_cast<char16_t>(character + 64));
    }
    else if (character >= 33 && character <= 126)
    {
        text.AppendChar(character);
    }
    return text;
}

} // namespace KR
