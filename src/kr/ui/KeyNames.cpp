#include "kr/ui/KeyNames.h"

#include <map>
#include <string>

namespace KR
{

namespace
{

struct NamedKey
{
    const char16_t* name;
    std::uint8_t code;
};

struct DisplayedKey
{
    std::uint8_t code;
    const char16_t* text;
};

// Windows' virtual-key numbering, without the VK_ prefix; the ranges (digits, letters,
// number pad, function keys) are added in between by BuildNameMap.
constexpr NamedKey kNamesBeforeDigits[] = {
    {u"BACK", 8},        {u"TAB", 9},     {u"CLEAR", 12},   {u"RETURN", 13},     {u"SHIFT", 16},
    {u"CONTROL", 17},    {u"MENU", 18},   {u"PAUSE", 19},   {u"CAPITAL", 20},    {u"KANA", 21},
    {u"HANGEUL", 21},    {u"HANGUL", 21}, {u"JUNJA", 23},   {u"FINAL", 24},      {u"HANJA", 25},
    {u"KANJI", 25},      {u"ESCAPE", 27}, {u"CONVERT", 28}, {u"NONCONVERT", 29}, {u"ACCEPT", 30},
    {u"MODECHANGE", 31}, {u"SPACE", 32},  {u"PAGEUP", 33},  {u"PAGEDN", 34},     {u"END", 35},
    {u"HOME", 36},       {u"LEFT", 37},   {u"UP", 38},      {u"RIGHT", 39},      {u"DOWN", 40},
    {u"SELECT", 41},     {u"PRINT", 42},  {u"EXECUTE", 43}, {u"SNAPSHOT", 44},   {u"INSERT", 45},
    {u"DELETE", 46},     {u"HELP", 47},
};
constexpr NamedKey kNamesBeforeNumpad[] = {
    {u"LWIN", 91},
    {u"RWIN", 92},
    {u"APPS", 93},
    {u"SLEEP", 95},
};
constexpr NamedKey kNamesBeforeFunctionKeys[] = {
    {u"MULTIPLY", 106}, {u"ADD", 107},     {u"SEPARATOR", 108},
    {u"SUBTRACT", 109}, {u"DECIMAL", 110}, {u"DIVIDE", 111},
};
constexpr NamedKey kNamesAfterFunctionKeys[] = {
    {u"NUMLOCK", 144},
    {u"SCROLL", 145},
    {u"OEM_NEC_EQUAL", 146},
    {u"OEM_FJ_JISHO", 146},
    {u"OEM_FJ_MASSHOU", 147},
    {u"OEM_FJ_TOUROKU", 148},
    {u"OEM_FJ_LOYA", 149},
    {u"OEM_FJ_ROYA", 150},
    {u"LSHIFT", 160},
    {u"RSHIFT", 161},
    {u"LCONTROL", 162},
    {u"RCONTROL", 163},
    {u"LMENU", 164},
    {u"RMENU", 165},
    {u"BROWSER_BACK", 166},
    {u"BROWSER_FORWARD", 167},
    {u"BROWSER_REFRESH", 168},
    {u"BROWSER_STOP", 169},
    {u"BROWSER_SEARCH", 170},
    {u"BROWSER_FAVORITES", 171},
    {u"BROWSER_HOME", 172},
    {u"VOLUME_MUTE", 173},
    {u"VOLUME_DOWN", 174},
    {u"VOLUME_UP", 175},
    {u"MEDIA_NEXT_TRACK", 176},
    {u"MEDIA_PREV_TRACK", 177},
    {u"MEDIA_STOP", 178},
    {u"MEDIA_PLAY_PAUSE", 179},
    {u"LAUNCH_MAIL", 180},
    {u"LAUNCH_MEDIA_SELECT", 181},
    {u"LAUNCH_APP1", 182},
    {u"LAUNCH_APP2", 183},
};

// Display texts in the order of insertion; a code listed twice keeps its first text.
constexpr DisplayedKey kDisplayBeforeDigits[] = {
    {12, u"Clear"},    {13, u"Return"},      {16, u"Shift"},      {17, u"Control"},     {18, u"Menu"},
    {19, u"Pause"},    {20, u"Capital"},     {21, u"Kana"},       {21, u"Hangeul"},     {21, u"Hangul"},
    {23, u"Junja"},    {24, u"Final"},       {25, u"Hanja"},      {25, u"Kanji"},       {27, u"Escape"},
    {28, u"Convert"},  {29, u"Non-convert"}, {30, u"Accept"},     {31, u"Mode Change"}, {32, u"Space"},
    {33, u"Page Up"},  {34, u"Page Down"},   {35, u"End"},        {36, u"Home"},        {37, u"Left Arrow"},
    {38, u"Up Arrow"}, {39, u"Right Arrow"}, {40, u"Down Arrow"}, {41, u"Select"},      {42, u"Print"},
    {43, u"Execute"},  {44, u"Snapshot"},    {45, u"Insert"},     {46, u"Del"},         {47, u"Help"},
};
constexpr DisplayedKey kDisplayBeforeNumpad[] = {
    {91, u"Left Win"},
    {92, u"Right Win"},
    {93, u"Apps"},
    {95, u"Sleep"},
};
constexpr DisplayedKey kDisplayBeforeFunctionKeys[] = {
    {106, u"*"}, {107, u"+"}, {108, u"Separator"}, {109, u"-"}, {110, u"."}, {111, u"/"},
};
constexpr DisplayedKey kDisplayAfterFunctionKeys[] = {
    {144, u"Numlock"},
    {145, u"Scroll"},
    {146, u"NEC Equal"},
    {146, u"Jisho"},
    {147, u"Masshou"},
    {148, u"Touroku"},
    {149, u"Loya"},
    {150, u"Roya"},
    {160, u"Left Shift"},
    {161, u"Right Shift"},
    {162, u"Left Control"},
    {163, u"Right Control"},
    {164, u"Left Menu"},
    {165, u"Right Menu"},
    {166, u"Browser Back"},
    {167, u"Browser Forward"},
    {168, u"Browser Refresh"},
    {169, u"Browser Stop"},
    {170, u"Browser Search"},
    {171, u"Browser Favorites"},
    {172, u"Browser Home"},
    {173, u"Volume Mute"},
    {174, u"Volume Down"},
    {175, u"Volume Up"},
    {176, u"Media Next Track"},
    {177, u"Media Prev Track"},
    {178, u"Media Stop"},
    {179, u"Media Play Pause"},
    {180, u"Launch Mail"},
    {181, u"Launch Media Select"},
    {182, u"Launch App 1"},
    {183, u"Launch App 2"},
};

String Utf16(const std::u16string& text)
{
    return String(text.c_str());
}

std::u16string Number(int value)
{
    std::u16string digits;
    do
    {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value != 0);
    return digits;
}

// Both tables, built together once. The name map is ordered by code unit, as every map
// keyed by String is.
class KeyNameTables
{
public:
    static const KeyNameTables& Get()
    {
        static const KeyNameTables tables;
        return tables;
    }

    std::map<String, std::uint8_t> byName;
    std::map<std::uint8_t, String> displayByCode;

private:
    KeyNameTables()
    {
        Name(kNamesBeforeDigits);
        for (int i = 0; i <= 9; ++i)
        {
            Name(std::u16string(1, static_cast<char16_t>(u'0' + i)), static_cast<std::uint8_t>(48 + i));
        }
        for (int i = 0; i < 26; ++i)
        {
            Name(std::u16string(1, static_cast<char16_t>(u'A' + i)), static_cast<std::uint8_t>(65 + i));
        }
        Name(kNamesBeforeNumpad);
        for (int i = 0; i <= 9; ++i)
        {
            Name(u"NUMPAD" + Number(i), static_cast<std::uint8_t>(96 + i));
        }
        Name(kNamesBeforeFunctionKeys);
        for (int i = 1; i <= 24; ++i)
        {
            Name(u"F" + Number(i), static_cast<std::uint8_t>(111 + i));
        }
        Name(kNamesAfterFunctionKeys);

        Display(kDisplayBeforeDigits);
        for (int i = 0; i <= 9; ++i)
        {
            Display(static_cast<std::uint8_t>(48 + i), std::u16string(1, static_cast<char16_t>(u'0' + i)));
        }
        for (int i = 0; i < 26; ++i)
        {
            Display(static_cast<std::uint8_t>(65 + i), std::u16string(1, static_cast<char16_t>(u'A' + i)));
        }
        Display(kDisplayBeforeNumpad);
        for (int i = 0; i <= 9; ++i)
        {
            Display(static_cast<std::uint8_t>(96 + i), u"Numpad " + Number(i));
        }
        Display(kDisplayBeforeFunctionKeys);
        for (int i = 1; i <= 24; ++i)
        {
            Display(static_cast<std::uint8_t>(111 + i), u"F" + Number(i));
        }
        Display(kDisplayAfterFunctionKeys);
    }

    void Name(const std::u16string& name, std::uint8_t code) { byName.emplace(Utf16(u"VKEY_" + name), code); }

    template <std::size_t N>
    void Name(const NamedKey (&keys)[N])
    {
        for (const NamedKey& key : keys)
        {
            Name(key.name, key.code);
        }
    }

    // emplace leaves a code that is present already with its first text.
    void Display(std::uint8_t code, const std::u16string& text) { displayByCode.emplace(code, Utf16(text)); }

    template <std::size_t N>
    void Display(const DisplayedKey (&keys)[N])
    {
        for (const DisplayedKey& key : keys)
        {
            Display(key.code, key.text);
        }
    }
};

} // namespace

std::uint8_t VirtualKeyFromName(const String& name)
{
    const auto& byName = KeyNameTables::Get().byName;
    const auto found = byName.find(name);
    return found == byName.end() ? 0 : found->second;
}

String VirtualKeyDisplayName(std::uint8_t virtualKey)
{
    const auto& displayByCode = KeyNameTables::Get().displayByCode;
    const auto found = displayByCode.find(virtualKey);
    return found == displayByCode.end() ? String() : found->second;
}

std::uint32_t GetVirtualKeyNameCount()
{
    return static_cast<std::uint32_t>(KeyNameTables::Get().byName.size());
}

std::uint32_t GetVirtualKeyDisplayNameCount()
{
    return static_cast<std::uint32_t>(KeyNameTables::Get().displayByCode.size());
}

} // namespace KR
