#pragma once
// What a control tree asks of the window it lives in: who holds the keyboard focus and
// the pointer capture, the cursor, the pointer, repainting, and a new look at what lies
// under the pointer. The root window of each top-level window implements it; the control
// tree reaches it through its root control's link (LControl::GetRootWindow).
//
// It is also the distributor of the window's "NID_IDLE": controls with idle work
// register there (LControl::BeginIdleProcessing).
//
// UI thread only, like the controls.

#include "kr/core/Point.h"
#include "kr/core/RCPtr.h"
#include "kr/core/Rect.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"
#include "kr/notify/NotificationDistributor.h"
#include "kr/render/Renderer.h"
#include "kr/ui/GlobalHotKeyManager.h"

#include <cstdint>

namespace KR
{

class LControl;
class LKeyParam;

class IRootWindowServices : public virtual LNotificationDistributor
{
public:
    // The control with the keyboard focus, or null.
    virtual RCPtr<LControl> GetFocusControl() const = 0;
    virtual void SetFocusControl(const RCPtr<LControl>& control) = 0;
    // The focus left the window's controls: the holder is kept aside to be given the
    // focus again later, and no control has it meanwhile.
    virtual void SaveAndClearFocus() = 0;
    // The control that holds the focus, or else the one kept aside when the focus left
    // the window's controls: where the focus was last.
    // The base answers GetFocusControl's.
    virtual RCPtr<LControl> GetLastFocusControl() const;

    // The previous holder is told it lost the capture first; kInvalidArg for null.
    virtual Result SetCapture(const RCPtr<LControl>& control) = 0;
    virtual Result ReleaseCapture() = 0;

    // Shows a cursor (0: the default arrow) and returns the one in force before.
    virtual std::uint32_t SetCursor(std::uint32_t cursor) = 0;
    // The pointer in the window's client coordinates, and the buttons down (MouseButton bits).
    virtual PointI GetMousePosition() = 0;
    virtual std::uint32_t GetMouseButtons() = 0;
    // Hit-tests again at the pointer and updates the hovered control: what lies under
    // the pointer changed although the pointer did not move.
    virtual void UpdateHoverAtPointer() = 0;
    // Makes the control the one under the pointer, as a press handed over to it needs.
    virtual void MakeHoverControl(const RCPtr<LControl>& control) { (void)control; }

    // Adds a rectangle of the client area (doubles) to the area repainted next.
    virtual void InvalidateRect(const RectD& rect) = 0;
    // Moves what the window shows inside `area` by `delta` without drawing it again, and
    // invalidates the strip the move leaves; false, with nothing done, when the window
    // cannot (the caller invalidates instead).
    virtual bool MoveFramePixels(const RectI& area, const PointI& delta)
    {
        (void)area;
        (void)delta;
        return false;
    }
    // The client area's size in whole units.
    virtual PointI GetClientSize() = 0;
    // The client area in screen coordinates: where a root control is placed from.
    virtual RectI GetClientRectOnScreen()
    {
        const PointI size = GetClientSize();
        return RectI{0, 0, size.x, size.y};
    }
    // Moves the window so that its client area covers `rect` (screen coordinates).
    virtual void MoveClientRect(const RectD& rect) { (void)rect; }
    // The window's title: the text of its root control.
    virtual void SetTitle(const String& title) { (void)title; }

    // The handle of the system window the root window lives in (the window layer's), or 0:
    // what system dialogs are kept above.
    virtual std::uintptr_t GetSystemWindowHandle() const { return 0; }

    // The renderer the window's system window draws through; null before that window
    // exists. The main window's renderer is the one text is measured with.
    virtual RCPtr<LRenderer> GetRenderer() const { return nullptr; }

    // The window's own hot keys: the stop of a key no control took before the
    // application's. Null for a window without any.
    virtual RCPtr<LGlobalHotKeyManager> GetHotKeyManager() const { return nullptr; }
    // Tab left the window's control tree: the focus goes round to the tree's other end,
    // or on to the application's next window (Shift: the previous one).
    virtual Result FocusNextWindow(const RCPtr<LKeyParam>& key)
    {
        (void)key;
        return kNothingDone;
    }
    // Asks the system window to take the keyboard focus, unless it is the active one.
    virtual Result FocusSystemWindow() { return kNothingDone; }

    // The window's share of the application's idle step: drains the window's queue (with
    // "NID_IDLE" when sendIdle) and hands over a pending modal result; true while
    // notifications remain. A window with nothing queued has nothing to do.
    virtual bool OnIdle(bool sendIdle)
    {
        (void)sendIdle;
        return false;
    }
};

} // namespace KR
