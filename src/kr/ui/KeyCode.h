#pragma once
// The one value in which the framework carries a keystroke: a key going down or up in a
// window, a typed character, a hot key read from a string table, a key stroke written as
// text. Plain data and pure functions; the only platform knowledge is the numbering of
// the virtual keys, which the window layer translates its keys into.

#include <cstdint>

namespace KR
{

// Modifier flags: the input of the builders below, and what travels with mouse events.
// A side flag never stands without its general flag (left Ctrl down is 0x3).
namespace ModifierFlag
{
inline constexpr std::uint32_t kCtrl = 0x1;
inline constexpr std::uint32_t kLeftCtrl = 0x2;
inline constexpr std::uint32_t kRightCtrl = 0x4;
inline constexpr std::uint32_t kShift = 0x8;
inline constexpr std::uint32_t kLeftShift = 0x10;
inline constexpr std::uint32_t kRightShift = 0x20;
inline constexpr std::uint32_t kAlt = 0x40;
inline constexpr std::uint32_t kLeftAlt = 0x80;
inline constexpr std::uint32_t kRightAlt = 0x100;
inline constexpr std::uint32_t kWin = 0x200;
inline constexpr std::uint32_t kLeftWin = 0x400;
inline constexpr std::uint32_t kRightWin = 0x800;
// A further modifier that no input path sets; kept so a code word can carry it.
inline constexpr std::uint32_t kExtra = 0x1000;
} // namespace ModifierFlag

// The virtual keys the framework itself needs to name; the full set is in KeyNames.h.
namespace VirtualKey
{
inline constexpr std::uint8_t kBack = 0x08;
inline constexpr std::uint8_t kTab = 0x09;
inline constexpr std::uint8_t kShift = 0x10;
inline constexpr std::uint8_t kControl = 0x11;
inline constexpr std::uint8_t kMenu = 0x12; // Alt
inline constexpr std::uint8_t kLeftWin = 0x5B;
inline constexpr std::uint8_t kRightWin = 0x5C;
inline constexpr std::uint8_t kLeftShift = 0xA0;
inline constexpr std::uint8_t kRightShift = 0xA1;
inline constexpr std::uint8_t kLeftControl = 0xA2;
inline constexpr std::uint8_t kRightControl = 0xA3;
inline constexpr std::uint8_t kLeftMenu = 0xA4;
inline constexpr std::uint8_t kRightMenu = 0xA5;
} // namespace VirtualKey

struct KeyCode
{
    // The packed code word.
    static constexpr std::uint32_t kCharacterMask = 0x0000FFFF;  // a typed character (one UTF-16 unit)
    static constexpr std::uint32_t kVirtualKeyMask = 0x00FF0000; // a key's virtual-key code
    static constexpr int kVirtualKeyShift = 16;
    static constexpr std::uint32_t kCtrlBit = 0x01000000;
    static constexpr std::uint32_t kShiftBit = 0x02000000;
    static constexpr std::uint32_t kAltBit = 0x04000000;
    static constexpr std::uint32_t kWinBit = 0x08000000; // written "Cmd+" in text
    static constexpr std::uint32_t kExtraBit = 0x10000000;
    static constexpr std::uint32_t kDownBit = 0x20000000; // clear for keys going up and characters
    static constexpr std::uint32_t kNoKey = 0x80000000;   // alone: the absence of a key code

    // Which physical modifier keys are down (the sides field).
    static constexpr std::uint32_t kSideLeftShift = 0x1;
    static constexpr std::uint32_t kSideRightShift = 0x2;
    static constexpr std::uint32_t kSideLeftCtrl = 0x4;
    static constexpr std::uint32_t kSideRightCtrl = 0x8;
    static constexpr std::uint32_t kSideLeftAlt = 0x10;
    static constexpr std::uint32_t kSideRightAlt = 0x20;
    static constexpr std::uint32_t kSideLeftWin = 0x40;
    static constexpr std::uint32_t kSideRightWin = 0x80;

    // The default is the no-key code, which is also what an empty element of an array of
    // key codes holds.
    std::uint32_t code = kNoKey;
    std::uint32_t sides = 0;
    // For a key going down, 1 when it was down already (auto-repeat); 1 for a key going
    // up; 0 for characters and key codes read from text.
    std::uint8_t repeat = 0;

    // The key code of a key event.
    static KeyCode FromVirtualKey(std::uint8_t virtualKey, bool down, std::uint8_t repeat,
                                  std::uint32_t modifiers);
    // The key code of a typed character; the down bit stays clear.
    static KeyCode FromCharacter(std::uint16_t character, std::uint32_t modifiers);
    // The sides field for a set of modifier flags: a side counts only together with its
    // general flag.
    static std::uint32_t SideBits(std::uint32_t modifiers);
    // The code-word bits of the general modifier flags (Ctrl, Shift, Alt, Windows key,
    // the extra flag).
    static std::uint32_t ModifierBits(std::uint32_t modifiers);

    // Whether a code word is a key going down: a virtual key, the down flag, and not
    // the no-key bit. Characters (no virtual key) and keys going up are not.
    static constexpr bool IsVirtualKeyDown(std::uint32_t code)
    {
        return (code & kVirtualKeyMask) != 0 && (code & kNoKey) == 0 && (code & kDownBit) != 0;
    }

    bool IsNoKey() const { return (code & kNoKey) != 0; }
    std::uint8_t GetVirtualKey() const
    {
        return static_cast<std::uint8_t>((code & kVirtualKeyMask) >> kVirtualKeyShift);
    }
    char16_t GetCharacter() const { return static_cast<char16_t>(code & kCharacterMask); }

    friend bool operator==(const KeyCode&, const KeyCode&) = default;
};

// Whether two key codes stand for the same hot key (sides and repeat never count). Two
// characters match when their code words are equal apart from Ctrl and Shift, so a
// character binding answers the character however Ctrl or Shift were held, but not
// with Alt. Anything else matches only an equal code word: a key going up never matches
// a binding read from text, whose down bit is set.
bool KeyCodesMatch(const KeyCode& a, const KeyCode& b);

} // namespace KR
