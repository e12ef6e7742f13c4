#pragma once
// The modifier flags of a key or character event, composed from which keys are down at
// the time of the event. Where that comes from is the window layer's business (it asks
// the windowing system); what the framework needs of it is one question, put behind
// IKeyboardState, so the composition rules here are the same for every window and can
// be tested without a display.

#include <cstdint>

namespace KR
{

class IKeyboardState
{
public:
    virtual ~IKeyboardState() = default;
    // Whether the key with this virtual-key code is down at the time of the event.
    virtual bool IsKeyDown(std::uint8_t virtualKey) const = 0;
};

// The flags of a key going down or up: Shift and Ctrl, each with the side that is down;
// either Windows key with its side; Alt only when the event says Alt is held (altHeld),
// then with its side. Alt is taken from the event rather than from the key state
// because the window system reports Alt combinations as their own kind of event.
std::uint32_t KeyEventModifierFlags(const IKeyboardState& keys, bool altHeld);

// The flags of a typed character: Ctrl, Shift and the event's Alt, without sides.
std::uint32_t CharacterModifierFlags(const IKeyboardState& keys, bool altHeld);

// While either Windows key is down, typed characters are not handed on at all: the
// combination belongs to the desktop.
bool IsWindowsKeyDown(const IKeyboardState& keys);

} // namespace KR
