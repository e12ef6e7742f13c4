#pragma once
// KR::LRootWindow: the framework side of one top-level window. It holds the window's root
// control, its notification queue and the input state (focus, hover, capture, tooltip),
// turns the system window's pointer and key events into calls on the controls, keeps the
// region waiting to be painted and paints the tree through the renderer, deferred
// controls last, and hands a modal result to the system window only at the idle step
// after the notifications queued before it.
//
// UI thread only.

#include "kr/core/RCPtrArray.h"
#include "kr/notify/NotificationQueue.h"
#include "kr/render/Region.h"
#include "kr/ui/Control.h"
#include "kr/ui/GlobalHotKeyManager.h"
#include "kr/ui/OSWindowRoot.h"
#include "kr/ui/RootWindowServices.h"
#include "kr/ui/WindowOSServices.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace KR
{

namespace MouseAction
{
inline constexpr std::int32_t kPress = 0;
inline constexpr std::int32_t kRelease = 1;
inline constexpr std::int32_t kDoubleClick = 2;
} // namespace MouseAction

// The modifier keys held now, as the application sees them: ModifierFlag kCtrl, kShift,
// kAlt.
std::uint32_t GetModifierKeys();

class LRootWindow : public IRootWindowServices, public LNotificationQueue
{
public:
    // osServices is not owned and may be null.
    LRootWindow(const RCPtr<LRenderer>& renderer, IWindowOSServices* osServices);
    ~LRootWindow() override;

    Result ReleaseInternalReferences() override;

    // ---- tree -----------------------------------------------------------------------------
    // Clears focus, hover and capture, detaches the old root, fills the hot keys from the
    // new root's "GHK" strings and lets the new root fill the window.
    Result SetRootControl(const RCPtr<LControl>& control);
    // The control of that name from the current skin; an empty name (or none made)
    // installs none.
    Result SetRootControlByName(const String& name);
    const RCPtr<LControl>& GetRootControl() const { return mRootControl; }
    RCPtr<LGlobalHotKeyManager> GetHotKeyManager() const override { return mHotKeys; }

    // ---- geometry and painting --------------------------------------------------------------
    RectI GetScreenClientRect();
    RectI GetClientRectOnScreen() override { return GetScreenClientRect(); }
    // Moves and sizes the system window so that its client area covers the rectangle
    // (screen coordinates); nothing when it does already or there is no system window.
    void SetWindowRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);
    void MoveClientRect(const RectD& rect) override;
    PointI GetClientSize() override;
    void InvalidateRect(const RectD& rect) override;
    // The pixels of the last frame inside `area` move by `delta` at the next paint, before
    // anything is drawn; what they cover is presented without being drawn again, what
    // waits to be painted inside the area moves along, and the strip they leave is
    // invalidated. False, with nothing done, when the renderer cannot move pixels or the
    // whole window waits to be painted.
    bool MoveFramePixels(const RectI& area, const PointI& delta) override;
    using FrameMove = IOSWindowRoot::FrameMove;
    // The moves waiting, in their order, and the area they cover, for the paint; both
    // are emptied.
    void TakeFrameMoves(std::vector<FrameMove>& moves, LRegion& covered);
    void SetFullRepaintPending() { mFullRepaintPending = true; }
    // The client area changed size: the root fills it again and is painted whole.
    void UpdateLayout();
    // The waiting area, coalesced, into `out`; it is emptied. A pending full repaint adds
    // the whole client area and asks the system window to paint whatever of it lies
    // outside `paintingNow`, the area the system paints at this moment (all of it without
    // one): asking for what is being painted would paint it twice, as every resize did.
    void TakeInvalidRegion(LRegion& out, const RectI* paintingNow = nullptr);
    // The whole client area, painted now rather than at the next paint message.
    void RedrawNow();
    void Paint(const LRegion& region);
    // The size the root control's layout makes of a requested client size, never below 1
    // on either axis; true when it differs from the request.
    bool ConstrainClientSize(std::int32_t& width, std::int32_t& height);
    RCPtr<LRenderer> GetRenderer() const override { return mRenderer; }
    IWindowOSServices* GetOSServices() const { return mOS; }
    // The system window is gone: nothing reaches for it any more.
    void DetachOSServices() { mOS = nullptr; }
    std::uintptr_t GetSystemWindowHandle() const override
    {
        return mOS != nullptr ? mOS->GetWindowHandle() : 0;
    }

    // ---- input --------------------------------------------------------------------------------
    RCPtr<LControl> HitTest(const PointI& point, PointI& localPoint, bool updateHover);
    void OnMouseMove(const PointI& point, std::uint32_t modifiers);
    void OnMouseButton(std::int32_t action, std::uint32_t button, std::uint32_t modifiers,
                       const PointI& point);
    void OnMouseWheel(const PointI& point, std::uint32_t modifiers, std::uint32_t direction);
    Result DispatchKey(const RCPtr<LKeyParam>& key);
    void NotifyCaptureLost();
    void SetHoverControl(RCPtr<LControl> control);
    const RCPtr<LControl>& GetHoverControl() const { return mHoverControl; }
    const RCPtr<LControl>& GetCaptureControl() const { return mCaptureControl; }

    // ---- what controls ask ----------------------------------------------------------------------
    RCPtr<LControl> GetFocusControl() const override { return mFocusControl; }
    void SetFocusControl(const RCPtr<LControl>& control) override { mFocusControl = control; }
    void SaveAndClearFocus() override;
    RCPtr<LControl> GetLastFocusControl() const override
    {
        return mFocusControl ? mFocusControl : mSavedFocusControl;
    }
    // The system window lost the keyboard focus: no hover, the focused control is told and
    // kept for RestoreFocus.
    void LoseFocus();
    // The system window got the keyboard focus: the control kept by LoseFocus takes it
    // again, else the root control hands it to its first focusable control.
    void RestoreFocus();
    Result SetCapture(const RCPtr<LControl>& control) override;
    Result ReleaseCapture() override;
    std::uint32_t SetCursor(std::uint32_t cursor) override;
    // Text input (the input method) for a text control: on only for a control that takes
    // text input; kNothingDone otherwise or without a system window.
    Result SetTextInputState(bool on, const RCPtr<LControl>& control, std::uint32_t value);
    PointI GetMousePosition() override;
    std::uint32_t GetMouseButtons() override;
    void UpdateHoverAtPointer() override;
    void MakeHoverControl(const RCPtr<LControl>& control) override { SetHoverControl(control); }

    // ---- keys ---------------------------------------------------------------------------------
    // Only while the system window is active and runs no modal loop; 1 otherwise.
    Result FocusNextWindow(const RCPtr<LKeyParam>& key) override;
    Result FocusSystemWindow() override;

    // ---- modal end and idle -------------------------------------------------------------------
    // Stored until the next idle step; kFail without a system window.
    Result EndModal(Result result);
    bool OnIdle(bool sendIdle) override;
    void RequestClose();

private:
    // Puts a whole-pixel rectangle of the client area into the waiting region.
    void AddInvalid(const EdgesI& rect);
    void DrawControlTree(const RCPtr<LControl>& control, const LRegion& region, bool unclippedPass);
    void DrawDeferred(const RCPtr<LControl>& control, const LRegion& region);
    void HideToolTip();
    bool IsActive() const { return mOS && mOS->IsActiveWindow(); }

    RCPtr<LRenderer> mRenderer;
    IWindowOSServices* mOS = nullptr;
    RectI mClientRect{0, 0, 1024, 768};
    RCPtr<LControl> mRootControl;
    // Waiting to be painted; may overlap until taken (AddInvalid).
    LRegion mInvalidRegion;
    std::uint32_t mPendingRects = 0;
    static constexpr std::uint32_t kFoldPendingAt = 256;
    bool mFullRepaintPending = false;
    // The deferred controls of the paint in progress and the order they draw in: each
    // DrawControlTree adds its own behind those of the calls still running and takes them
    // off when it returns, so a paint allocates nothing once these have grown.
    RCPtrArray<LControl> mDeferred;
    // Pixel moves waiting for the paint, and the area they cover (MoveFramePixels).
    std::vector<FrameMove> mFrameMoves;
    LRegion mMovedArea;
    std::vector<std::pair<std::uint32_t, std::int32_t>> mDeferredOrder;
    std::uint32_t mDoubleClickButtons = 0;
    RCPtr<LGlobalHotKeyManager> mHotKeys;
    RCPtr<LControl> mFocusControl;
    RCPtr<LControl> mSavedFocusControl;
    RCPtr<LControl> mHoverControl;
    RCPtr<LControl> mToolTipControl;
    RCPtr<LControl> mCaptureControl;
    bool mModalEndPending = false;
    Result mModalResult = 0;
};

} // namespace KR
