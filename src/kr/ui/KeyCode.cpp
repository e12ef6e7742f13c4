#include "kr/ui/KeyCode.h"

namespace KR
{

std::uint32_t KeyCode::ModifierBits(std::uint32_t modifiers)
{
    std::uint32_t bits = 0;
    if (modifiers & ModifierFlag::kShift)
    {
        bits |= kShiftBit;
    }
    if (modifiers & ModifierFlag::kCtrl)
    {
        bits |= kCtrlBit;
    }
    if (modifiers & ModifierFlag::kAlt)
    {
        bits |= kAltBit;
    }
    if (modifiers & ModifierFlag::kWin)
    {
        bits |= kWinBit;
    }
    if (modifiers & ModifierFlag::kExtra)
    {
        bits |= kExtraBit;
    }
    return bits;
}

std::uint32_t KeyCode::SideBits(std::uint32_t modifiers)
{
    struct Side
    {
        std::uint32_t general;
        std::uint32_t side;
        std::uint32_t bit;
    };
    static constexpr Side kSides[] = {
        {ModifierFlag::kShift, ModifierFlag::kLeftShift, kSideLeftShift},
        {ModifierFlag::kShift, ModifierFlag::kRightShift, kSideRightShift},
        {ModifierFlag::kCtrl, ModifierFlag::kLeftCtrl, kSideLeftCtrl},
        {ModifierFlag::kCtrl, ModifierFlag::kRightCtrl, kSideRightCtrl},
        {ModifierFlag::kAlt, ModifierFlag::kLeftAlt, kSideLeftAlt},
        {ModifierFlag::kAlt, ModifierFlag::kRightAlt, kSideRightAlt},
        {ModifierFlag::kWin, ModifierFlag::kLeftWin, kSideLeftWin},
        {ModifierFlag::kWin, ModifierFlag::kRightWin, kSideRightWin},
    };
    std::uint32_t sides = 0;
    for (const Side& s : kSides)
    {
        if ((modifiers & s.general) && (modifiers & s.side))
        {
            sides |= s.bit;
        }
    }
    return sides;
}

KeyCode KeyCode::FromVirtualKey(std::uint8_t virtualKey, bool down, std::uint8_t repeat,
                                std::uint32_t modifiers)
{
    const std::uint32_t code =
        (std::uint32_t{virtualKey} << kVirtualKeyShift) | (down ? kDownBit : 0) | ModifierBits(modifiers);
    return KeyCode{code, SideBits(modifiers), repeat};
}

KeyCode KeyCode::FromCharacter(std::uint16_t character, std::uint32_t modifiers)
{
    return KeyCode{std::uint32_t{character} | ModifierBits(modifiers), SideBits(modifiers), 0};
}

bool KeyCodesMatch(const KeyCode& a, const KeyCode& b)
{
    constexpr std::uint32_t kNotACharacter = KeyCode::kNoKey | KeyCode::kVirtualKeyMask;
    if ((a.code & kNotACharacter) == 0 && (b.code & kNotACharacter) == 0)
    {
        constexpr std::uint32_t kIgnored = KeyCode::kCtrlBit | KeyCode::kShiftBit;
        return (a.code & ~kIgnored) == (b.code & ~kIgnored);
    }
    return a.code == b.code;
}

} // namespace KR
