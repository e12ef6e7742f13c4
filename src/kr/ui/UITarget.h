#pragma once
// The input side of a control: the operations through which the root window hands
// pointer, key, capture and focus events to the control under the pointer, the capture
// holder or the focused control. Results: 0 the control took the event, 1 it did not (the
// caller offers it to the next candidate), negative codes for refusals.

#include "kr/core/RCPtr.h"
#include "kr/core/Types.h"

#include <cstdint>

namespace KR
{

class LPointWithModifiersParam;
class LMouseButtonParam;
class LMouseWheelParam;
class LKeyParam;

class UITarget
{
public:
    virtual ~UITarget() = default;

    virtual Result OnMouseEnter() = 0;
    virtual Result OnMouseMove(const RCPtr<LPointWithModifiersParam>& point) = 0;
    virtual Result OnMouseDown(const RCPtr<LMouseButtonParam>& button) = 0;
    virtual Result OnMouseUp(const RCPtr<LMouseButtonParam>& button) = 0;
    virtual Result OnMouseLeave() = 0;
    // Turns an accepted press into pressed and drag state; called by the press handling.
    virtual Result BeginDrag(std::uint32_t button, std::int32_t x, std::int32_t y) = 0;
    virtual Result OnCaptureLost() = 0;
    virtual Result OnKey(const RCPtr<LKeyParam>& key) = 0;
    // Directions 0 and 1 come here, 2 and 3 to OnHorizontalMouseWheel; a control may
    // answer both through one body.
    virtual Result OnMouseWheel(const RCPtr<LMouseWheelParam>& wheel) = 0;
    virtual Result OnHorizontalMouseWheel(const RCPtr<LMouseWheelParam>& wheel) = 0;
    // The parent's size changed to (width, height) whole units; the control re-places itself.
    virtual Result OnUpdateLayout(std::int32_t parentWidth, std::int32_t parentHeight) = 0;
    // Asked before the focus moves away from the focused control; false keeps it there.
    virtual bool CanReleaseFocus() = 0;
    virtual Result OnFocusLost() = 0;
};

} // namespace KR
