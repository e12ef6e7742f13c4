#pragma once
// What a system window (KR::OSWindow) calls on the framework window it carries: input,
// focus, layout, painting and the close request. The root window implements it; tests
// use a recording stand-in.
//
// UI thread only.

#include "kr/core/Point.h"
#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/render/Region.h"
#include "kr/ui/NotificationParams.h"

#include <cstdint>
#include <vector>

namespace KR
{

class IRootWindowServices;

class IOSWindowRoot : public virtual LRefCountedObject
{
public:
    // Whether a control of the window holds the keyboard focus.
    virtual bool HasFocusControl() = 0;
    virtual void RestoreFocus() = 0;
    virtual void LoseFocus() = 0;
    // The client area changed size: lay the root control out again.
    virtual void UpdateLayout() = 0;
    // The next paint covers the whole client area.
    virtual void SetFullRepaint() = 0;
    virtual void NotifyCaptureLost() = 0;
    // action: 0 press, 1 release, 2 double click; button: a MouseButton; point: client.
    virtual void OnMouseButton(std::uint32_t action, std::uint32_t button, std::uint32_t modifiers,
                               PointI point) = 0;
    virtual void OnMouseMove(PointI point, std::uint32_t modifiers) = 0;
    // direction: a WheelDirection.
    virtual void OnMouseWheel(PointI point, std::uint32_t modifiers, std::uint32_t direction) = 0;
    virtual void DispatchKey(const RCPtr<LKeyParam>& key) = 0;
    // The close box of a window other than the main one.
    virtual void RequestClose() = 0;
    // The area waiting to be painted; it is emptied. `paintingNow`, when given, is what the
    // system is painting at this moment: a pending full repaint asks it for nothing more.
    virtual LRegion TakeInvalidRegion(const RectI* paintingNow) = 0;
    // A copy of the last frame's pixels inside `area` by `delta` (LRootWindow::MoveFramePixels).
    struct FrameMove
    {
        RectI area;
        PointI delta;
    };
    // The moves waiting for this paint, in their order, and the area they cover; both are
    // emptied. The paint makes the moves before it draws and presents that area too.
    virtual void TakeFrameMoves(std::vector<FrameMove>& moves, LRegion& covered)
    {
        moves.clear();
        covered.Clear();
    }
    virtual void Paint(const LRegion& region) = 0;
    // The window the application lists while the system window lives (null: none). A root
    // that is one answers itself; a stand-in in front of one answers the window behind it.
    virtual IRootWindowServices* GetListedRootWindow();
};

} // namespace KR
