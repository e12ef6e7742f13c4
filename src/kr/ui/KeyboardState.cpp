#include "kr/ui/KeyboardState.h"

#include "kr/ui/KeyCode.h"

namespace KR
{

std::uint32_t KeyEventModifierFlags(const IKeyboardState& keys, bool altHeld)
{
    using namespace ModifierFlag;
    std::uint32_t flags = 0;
    if (keys.IsKeyDown(VirtualKey::kShift))
    {
        flags |= kShift;
        flags |= keys.IsKeyDown(VirtualKey::kLeftShift) ? kLeftShift : 0;
        flags |= keys.IsKeyDown(VirtualKey::kRightShift) ? kRightShift : 0;
    }
    if (keys.IsKeyDown(VirtualKey::kControl))
    {
        flags |= kCtrl;
        flags |= keys.IsKeyDown(VirtualKey::kLeftControl) ? kLeftCtrl : 0;
        flags |= keys.IsKeyDown(VirtualKey::kRightControl) ? kRightCtrl : 0;
    }
    if (keys.IsKeyDown(VirtualKey::kLeftWin))
    {
        flags |= kWin | kLeftWin;
    }
    if (keys.IsKeyDown(VirtualKey::kRightWin))
    {
        flags |= kWin | kRightWin;
    }
    if (altHeld)
    {
        flags |= kAlt;
        flags |= keys.IsKeyDown(VirtualKey::kLeftMenu) ? kLeftAlt : 0;
        flags |= keys.IsKeyDown(VirtualKey::kRightMenu) ? kRightAlt : 0;
    }
    return flags;
}

std::uint32_t CharacterModifierFlags(const IKeyboardState& keys, bool altHeld)
{
    using namespace ModifierFlag;
    return (keys.IsKeyDown(VirtualKey::kShift) ? kShift : 0) |
           (keys.IsKeyDown(VirtualKey::kControl) ? kCtrl : 0) | (altHeld ? kAlt : 0);
}

bool IsWindowsKeyDown(const IKeyboardState& keys)
{
    return keys.IsKeyDown(VirtualKey::kLeftWin) || keys.IsKeyDown(VirtualKey::kRightWin);
}

} // namespace KR
