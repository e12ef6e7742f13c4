#include "kr/ui/ShortcutText.h"
#include "kr/ui/KeyNames.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace
{

using KR::FormatShortcutText;
using KR::KeyCode;
using KR::ParseShortcutText;
using KR::String;

TEST(KeyNames, TablesHoldEveryNameAndKeepTheFirstDisplayTextOfASharedCode)
{
    EXPECT_EQ(KR::GetVirtualKeyNameCount(), 149u);
    EXPECT_EQ(KR::GetVirtualKeyDisplayNameCount(), 143u);

    struct Name
    {
        const char16_t* name;
        std::uint8_t code;
    };
    const Name names[] = {
        {u"VKEY_BACK", 8},
        {u"VKEY_KANJI", 25},
        {u"VKEY_HANGEUL", 21},
        {u"VKEY_PAGEUP", 33},
        {u"VKEY_PAGEDN", 34},
        {u"VKEY_0", 48},
        {u"VKEY_Z", 90},
        {u"VKEY_NUMPAD9", 105},
        {u"VKEY_F1", 112},
        {u"VKEY_F24", 135},
        {u"VKEY_OEM_FJ_JISHO", 146},
        {u"VKEY_LAUNCH_APP2", 183},
        {u"vkey_a", 0},
        {u"VKEY_PRIOR", 0},
        {u"VKEY_", 0},
        {u"", 0},
    };
    for (const Name& n : names)
    {
        EXPECT_EQ(KR::VirtualKeyFromName(String(n.name)), n.code) << String(n.name).ToUtf8().GetPtr();
    }

    EXPECT_EQ(KR::VirtualKeyDisplayName(25), String(u"Hanja"));
    EXPECT_EQ(KR::VirtualKeyDisplayName(21), String(u"Kana"));
    EXPECT_EQ(KR::VirtualKeyDisplayName(146), String(u"NEC Equal"));
    EXPECT_EQ(KR::VirtualKeyDisplayName(100), String(u"Numpad 4"));
    EXPECT_EQ(KR::VirtualKeyDisplayName(135), String(u"F24"));
    EXPECT_TRUE(KR::VirtualKeyDisplayName(8).IsEmpty());
    EXPECT_TRUE(KR::VirtualKeyDisplayName(9).IsEmpty());
    EXPECT_TRUE(KR::VirtualKeyDisplayName(186).IsEmpty());
}

TEST(ParseShortcutText, KeyNamesTakeModifiersFoundAnywhereInAnyCase)
{
    struct Case
    {
        const char16_t* text;
        std::uint32_t code;
    };
    const Case cases[] = {
        {u"ctrl+shift+vkey_f5", 0x23740000}, {u"Alt+VKEY_X", 0x24580000},
        {u"VKEY_SHIFT", 0x22100000}, // "SHIFT" inside the name sets Shift
        {u"SHIFT+CTRL+VKEY_S", 0x23530000},  {u"VKEY_DELETE", 0x202E0000},
        {u"Ctrl+VKEY_C+", 0x21000000}, // trailing text: no such name, virtual key 0
        {u"Ctrl+VKEY_NOPE", 0x21000000},     {u"", 0x20000000},
    };
    for (const Case& c : cases)
    {
        const KeyCode key = ParseShortcutText(String(c.text));
        EXPECT_EQ(key.code, c.code) << String(c.text).ToUtf8().GetPtr();
        EXPECT_EQ(key.sides, 0u);
        EXPECT_EQ(key.repeat, 0);
    }
}

TEST(ParseShortcutText, CharacterFormKeepsOnlyAltAndTheCharactersCase)
{
    struct Case
    {
        const char16_t* text;
        std::uint32_t code;
    };
    const Case cases[] = {
        {u"Ctrl+A", 0x41},        {u"Shift+a", 0x61}, {u"Alt+[65]", 0x04000041},
        {u"[97]", 0x61},          {u"[ -1]", 0xFFFF}, {u"[x]", 0x0},
        {u"Alt+[65", 0x20000000}, {u"]5[66]", 0x42},  {u"[65536]", 0x0},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(ParseShortcutText(String(c.text)).code, c.code) << String(c.text).ToUtf8().GetPtr();
    }
}

TEST(FormatShortcutText, WritesModifiersThenTheKeyOrPrintableCharacter)
{
    struct Case
    {
        std::uint32_t code;
        const char16_t* text;
    };
    const Case cases[] = {
        {0x21430000, u"Ctrl+C"},
        {0x80000000, u""},
        {0x8F000000, u"Ctrl+Alt+Shift+Cmd+"},
        {0x21080000, u"Ctrl+"}, // Back has no display text
        {0x00090000, u""},
        {0x01000001, u"Ctrl+Ctrl+A"},
        {0x0000001A, u"Ctrl+Z"},
        {0x00000020, u""},
        {0x0000007F, u""},
        {0x0400007E, u"Alt+~"},
        {0x22210000, u"Shift+Page Up"},
        {0x20700000, u"F1"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(FormatShortcutText(c.code), String(c.text)) << std::hex << c.code;
    }
}

} // namespace
