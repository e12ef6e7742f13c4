#pragma once
// The parts of input translation that need no display: display-system key symbols to
// virtual keys, the keys and buttons held, and the double-click rule. The window layer
// feeds them from GDK events.

#include "platform/window/Messages.h"

#include <array>
#include <cstdint>

namespace KR::Platform
{

// A key symbol's virtual key and, for the modifier keys, the sided key that is held
// (VK_LSHIFT for the left Shift, the plain key otherwise). vk 0: no virtual key.
struct VirtualKeyOf
{
    std::uint8_t vk = 0;
    std::uint8_t held = 0;
};

// Letters of either case, digits, keypad keys, F1-F24, Tab and the backward Tab,
// arrows, editing keys, punctuation keys and both sides of every modifier.
VirtualKeyOf VirtualKeyFromKeySymbol(std::uint32_t keySymbol);

// Which keys and mouse buttons are down, as the events reported them.
class KeysHeld
{
public:
    // Records a key going down or up (the sided key for modifiers); true when it was
    // down already.
    bool Set(std::uint8_t vk, bool down);
    // Plain Shift, Ctrl and Alt are down while either side is.
    bool IsDown(std::uint8_t vk) const;
    bool IsAltDown() const;
    // Everything up: the window lost the keyboard and will not see the releases.
    void Clear();

    // The lParam of a key message for this key, after Set.
    std::intptr_t KeyParam(bool down, bool wasDown, std::uint32_t scanCode) const;

private:
    std::array<bool, 256> mDown{};
};

// A second press of the same button in the same window, soon enough and near enough
// to the first, is a double click; the press after a double click starts afresh.
class DoubleClickDetector
{
public:
    void SetLimits(std::uint32_t timeMs, std::int32_t distance)
    {
        mTimeMs = timeMs;
        mDistance = distance;
    }
    // True when this press is a double click.
    bool Press(WindowHandle window, std::uint32_t button, WindowPoint point, std::uint32_t timeMs);
    void Reset() { mArmed = false; }

private:
    std::uint32_t mTimeMs = 500;
    std::int32_t mDistance = 4;
    bool mArmed = false;
    WindowHandle mWindow = 0;
    std::uint32_t mButton = 0;
    WindowPoint mPoint;
    std::uint32_t mTime = 0;
};

} // namespace KR::Platform
