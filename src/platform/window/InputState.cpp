#include "platform/window/InputState.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace KR::Platform
{
namespace
{

// Key symbols as the X keysym numbering has them (GDK's keyvals), spelled out so this
// file needs no display headers.
struct KeySymbolRow
{
    std::uint32_t symbol;
    std::uint8_t vk;
    std::uint8_t held;
};

constexpr KeySymbolRow kKeySymbols[] = {
    {0xFF08, 0x08, 0},    // BackSpace
    {0xFF09, 0x09, 0},    // Tab
    {0xFE20, 0x09, 0},    // ISO_Left_Tab: Shift+Tab
    {0xFF0B, 0x0C, 0},    // Clear
    {0xFF0D, 0x0D, 0},    // Return
    {0xFF8D, 0x0D, 0},    // KP_Enter
    {0xFF13, 0x13, 0},    // Pause
    {0xFFE5, 0x14, 0},    // Caps_Lock
    {0xFF1B, 0x1B, 0},    // Escape
    {0x0020, 0x20, 0},    // space
    {0xFF55, 0x21, 0},    // Prior (Page Up)
    {0xFF56, 0x22, 0},    // Next (Page Down)
    {0xFF57, 0x23, 0},    // End
    {0xFF50, 0x24, 0},    // Home
    {0xFF51, 0x25, 0},    // Left
    {0xFF52, 0x26, 0},    // Up
    {0xFF53, 0x27, 0},    // Right
    {0xFF54, 0x28, 0},    // Down
    {0xFF60, 0x29, 0},    // Select
    {0xFF61, 0x2C, 0},    // Print
    {0xFF63, 0x2D, 0},    // Insert
    {0xFFFF, 0x2E, 0},    // Delete
    {0xFF6A, 0x2F, 0},    // Help
    {0xFF67, 0x5D, 0},    // Menu (the application key)
    {0xFF9C, 0x23, 0},    // KP_End
    {0xFF95, 0x24, 0},    // KP_Home
    {0xFF96, 0x25, 0},    // KP_Left
    {0xFF97, 0x26, 0},    // KP_Up
    {0xFF98, 0x27, 0},    // KP_Right
    {0xFF99, 0x28, 0},    // KP_Down
    {0xFF9A, 0x21, 0},    // KP_Prior
    {0xFF9B, 0x22, 0},    // KP_Next
    {0xFF9E, 0x2D, 0},    // KP_Insert
    {0xFF9F, 0x2E, 0},    // KP_Delete
    {0xFFAA, 0x6A, 0},    // KP_Multiply
    {0xFFAB, 0x6B, 0},    // KP_Add
    {0xFFAC, 0x6C, 0},    // KP_Separator
    {0xFFAD, 0x6D, 0},    // KP_Subtract
    {0xFFAE, 0x6E, 0},    // KP_Decimal
    {0xFFAF, 0x6F, 0},    // KP_Divide
    {0xFF7F, 0x90, 0},    // Num_Lock
    {0xFF14, 0x91, 0},    // Scroll_Lock
    {0xFFE1, 0x10, 0xA0}, // Shift_L
    {0xFFE2, 0x10, 0xA1}, // Shift_R
    {0xFFE3, 0x11, 0xA2}, // Control_L
    {0xFFE4, 0x11, 0xA3}, // Control_R
    {0xFFE9, 0x12, 0xA4}, // Alt_L
    {0xFFEA, 0x12, 0xA5}, // Alt_R
    {0xFE03, 0x12, 0xA5}, // ISO_Level3_Shift (AltGr)
    {0xFFE7, 0x5B, 0x5B}, // Meta_L
    {0xFFE8, 0x5C, 0x5C}, // Meta_R
    {0xFFEB, 0x5B, 0x5B}, // Super_L
    {0xFFEC, 0x5C, 0x5C}, // Super_R
    {0x003B, 0xBA, 0},    // semicolon
    {0x003D, 0xBB, 0},    // equal
    {0x002C, 0xBC, 0},    // comma
    {0x002D, 0xBD, 0},    // minus
    {0x002E, 0xBE, 0},    // period
    {0x002F, 0xBF, 0},    // slash
    {0x0060, 0xC0, 0},    // grave
    {0x005B, 0xDB, 0},    // bracketleft
    {0x005C, 0xDC, 0},    // backslash
    {0x005D, 0xDD, 0},    // bracketright
    {0x0027, 0xDE, 0},    // apostrophe
    {0x003C, 0xE2, 0},    // less (the key beside the left Shift)
};

constexpr std::uint8_t kLeftShift = 0xA0, kRightShift = 0xA1, kLeftControl = 0xA2, kRightControl = 0xA3,
                       kLeftMenu = 0xA4, kRightMenu = 0xA5;

} // namespace

std::int32_t ClampToInt32(double value)
{
    if (std::isnan(value))
    {
        return 0;
    }
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    constexpr double kMin = std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(std::clamp(std::trunc(value), kMin, kMax));
}

VirtualKeyOf VirtualKeyFromKeySymbol(std::uint32_t symbol)
{
    auto plain = [](std::uint32_t vk) {
        return VirtualKeyOf{static_cast<std::uint8_t>(vk), static_cast<std::uint8_t>(vk)};
    };
    if (symbol >= 'a' && symbol <= 'z')
    {
        return plain(symbol - 'a' + 'A');
    }
    if ((symbol >= 'A' && symbol <= 'Z') || (symbol >= '0' && symbol <= '9'))
    {
        return plain(symbol);
    }
    if (symbol >= 0xFFB0 && symbol <= 0xFFB9) // KP_0 .. KP_9
    {
        return plain(0x60 + (symbol - 0xFFB0));
    }
    if (symbol >= 0xFFBE && symbol <= 0xFFD5) // F1 .. F24
    {
        return plain(0x70 + (symbol - 0xFFBE));
    }
    for (const KeySymbolRow& row : kKeySymbols)
    {
        if (row.symbol == symbol)
        {
            return {row.vk, row.held ? row.held : row.vk};
        }
    }
    return {};
}

bool KeysHeld::Set(std::uint8_t vk, bool down)
{
    const bool was = mDown[vk];
    mDown[vk] = down;
    return was;
}

bool KeysHeld::IsDown(std::uint8_t vk) const
{
    switch (vk)
    {
    case 0x10:
        return mDown[kLeftShift] || mDown[kRightShift];
    case 0x11:
        return mDown[kLeftControl] || mDown[kRightControl];
    case 0x12:
        return IsAltDown();
    default:
        return mDown[vk];
    }
}

bool KeysHeld::IsAltDown() const
{
    return mDown[kLeftMenu] || mDown[kRightMenu];
}

void KeysHeld::Clear()
{
    // The mouse buttons stay: their releases still arrive through the pointer grab.
    for (std::size_t vk = 0; vk < mDown.size(); ++vk)
    {
        if (vk != VK_LBUTTON && vk != VK_RBUTTON && vk != VK_MBUTTON)
        {
            mDown[vk] = false;
        }
    }
}

std::intptr_t KeysHeld::KeyParam(bool down, bool wasDown, std::uint32_t scanCode) const
{
    std::intptr_t param = 1 | static_cast<std::intptr_t>((scanCode & 0xFF) << 16);
    if (IsAltDown())
    {
        param |= kKeyContextBit;
    }
    if (wasDown)
    {
        param |= kKeyPreviousBit;
    }
    if (!down)
    {
        param |= kKeyTransitionBit;
    }
    return param;
}

bool DoubleClickDetector::Press(WindowHandle window, std::uint32_t button, WindowPoint point,
                                std::uint32_t timeMs)
{
    const bool isDouble = mArmed && window == mWindow && button == mButton && timeMs - mTime <= mTimeMs &&
                          std::abs(point.x - mPoint.x) <= mDistance &&
                          std::abs(point.y - mPoint.y) <= mDistance;
    // The press after a double click is a plain press again.
    mArmed = !isDouble;
    mWindow = window;
    mButton = button;
    mPoint = point;
    mTime = timeMs;
    return isDouble;
}

} // namespace KR::Platform
