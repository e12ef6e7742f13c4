#include "kr/ui/RootWindow.h"

#include "kr/render/AutoClip.h"
#include "kr/system/CursorNames.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/ControlHelpers.h"
#include "kr/ui/ControlPlacement.h"
#include "kr/ui/Dialog.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/KeyCode.h"
#include "kr/ui/LayoutDescriptor.h"
#include "kr/ui/NotificationParams.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace KR
{

namespace
{

using ControlHelpers::IsButton;

PointI ToLocal(const LControl& control, const PointI& point)
{
    const PointI corner = RoundPointToInt(control.GetAbsolutePosition());
    return PointI{point.x - corner.x, point.y - corner.y};
}

} // namespace

std::uint32_t GetModifierKeys()
{
    IFrameworkApp& app = IFrameworkApp::GetInstance();
    return (app.GetKeyState(VirtualKey::kControl) ? ModifierFlag::kCtrl : 0) |
           (app.GetKeyState(VirtualKey::kShift) ? ModifierFlag::kShift : 0) |
           (app.GetKeyState(VirtualKey::kMenu) ? ModifierFlag::kAlt : 0);
}

LRootWindow::LRootWindow(const RCPtr<LRenderer>& renderer, IWindowOSServices* osServices)
    : mRenderer(renderer), mOS(osServices)
{
    // The window sends what its queue delivers to the controls registered with it.
    AttachOwnDistributor(this);
    mHotKeys = LGlobalHotKeyManager::Create(RCPtr<LNotificationReceiver>(GetPostingReceiver()));
}

LRootWindow::~LRootWindow() = default;

Result LRootWindow::ReleaseInternalReferences()
{
    RemoveAllClients();
    SetRootControl(nullptr);
    Shutdown();
    return LRefCountedObject::ReleaseInternalReferences();
}

Result LRootWindow::SetRootControl(const RCPtr<LControl>& control)
{
    mFocusControl = nullptr;
    mSavedFocusControl = nullptr;
    mHoverControl = nullptr;
    mCaptureControl = nullptr;
    mToolTipControl = nullptr;
    if (mRootControl)
    {
        const RCPtr<LControl> old = std::move(mRootControl);
        old->Detach();
        old->SetRootWindow(nullptr);
        mHotKeys->GetHotKeyMap() = HotKeyMap();
    }
    if (!control)
    {
        return kOk;
    }
    mRootControl = control;
    if (const RCPtr<LStringTable> strings = control->GetStringTable())
    {
        mHotKeys->GetHotKeyMap().AddFromStringTable(strings, u"GHK");
    }
    if (!control->GetParent())
    {
        control->SetRootWindow(RCPtr<IRootWindowServices>(this));
    }
    // The root fills the window, and its layout says so for whoever lays it out again.
    control->FillWindow();
    const PointI size = GetClientSize();
    control->SetFrame(PointD{}, PointD{IntToDouble(size.x), IntToDouble(size.y)});
    if (!mFocusControl && mOS)
    {
        if (mOS->HasFocus())
        {
            control->SetFocus(true);
        }
        else
        {
            mOS->SetFocus();
        }
    }
    InvalidateRect(RectD{0.0, 0.0, IntToDouble(size.x), IntToDouble(size.y)});
    return kOk;
}

Result LRootWindow::SetRootControlByName(const String& name)
{
    RCPtr<LControl> control;
    if (!name.IsEmpty())
    {
        if (const RCPtr<LControlFactory> factory = IFrameworkApp::GetInstance().GetControlFactory())
        {
            control = factory->CreateControlByName(name, RCPtr<IRootWindowServices>(this));
        }
    }
    return SetRootControl(control);
}

// ---- geometry and painting --------------------------------------------------------------------

RectI LRootWindow::GetScreenClientRect()
{
    if (mOS)
    {
        RectI rect = mClientRect;
        if (mOS->GetClientRect(rect.x, rect.y, rect.width, rect.height) == kOk)
        {
            PointI corner{};
            if (mOS->ClientToScreen(corner, PointI{rect.x, rect.y}) == kOk)
            {
                rect.x = corner.x;
                rect.y = corner.y;
            }
            mClientRect = rect;
        }
    }
    return mClientRect;
}

void LRootWindow::SetWindowRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height)
{
    if (!mOS || GetScreenClientRect() == RectI{x, y, width, height})
    {
        return;
    }
    mOS->SetWindowRect(x, y, width, height);
}

void LRootWindow::MoveClientRect(const RectD& rect)
{
    SetWindowRect(RoundToInt32(rect.x), RoundToInt32(rect.y), RoundToInt32(rect.width),
                  RoundToInt32(rect.height));
}

void LRootWindow::UpdateLayout()
{
    const PointI size = GetClientSize();
    if (mRootControl)
    {
        mRootControl->SetFrame(PointD{}, PointD{IntToDouble(size.x), IntToDouble(size.y)});
    }
    SetFullRepaintPending();
    InvalidateRect(RectD{0.0, 0.0, IntToDouble(size.x), IntToDouble(size.y)});
}

PointI LRootWindow::GetClientSize()
{
    // The size alone: where the window stands on the screen costs the display system a
    // round trip, and every invalidation asks for the size.
    if (mOS)
    {
        RectI rect = mClientRect;
        if (mOS->GetClientRect(rect.x, rect.y, rect.width, rect.height) == kOk)
        {
            mClientRect.width = rect.width;
            mClientRect.height = rect.height;
        }
    }
    return PointI{mClientRect.width, mClientRect.height};
}

void LRootWindow::InvalidateRect(const RectD& rect)
{
    const PointI size = GetClientSize();
    RectD area;
    IntersectRects(rect, RectD{0.0, 0.0, IntToDouble(size.x), IntToDouble(size.y)}, area);
    if (!(area.width >= 1.0 && area.height >= 1.0))
    {
        return;
    }
    // Half up, each value on its own; far values clamp to the 32-bit range first.
    const auto round = [](double value) { return RoundToInt32(std::floor(value + 0.5)); };
    const RectI whole{round(area.x), round(area.y), round(area.width), round(area.height)};
    AddInvalid(EdgesFromRect(whole));
    if (mOS)
    {
        mOS->InvalidateRect(whole.x, whole.y, whole.width, whole.height);
    }
}

bool LRootWindow::MoveFramePixels(const RectI& area, const PointI& delta)
{
    const PointI size = GetClientSize();
    const EdgesI inside{std::max(area.x, 0), std::max(area.y, 0), std::min(EdgesFromRect(area).right, size.x),
                        std::min(EdgesFromRect(area).bottom, size.y)};
    if (!mRenderer || !mRenderer->CanMoveFramePixels() || mFullRepaintPending ||
        (delta.x == 0 && delta.y == 0) || inside.right <= inside.left || inside.bottom <= inside.top)
    {
        return false;
    }
    LRegion whole;
    whole.SetRect(inside);
    // What waits to be painted is stale in the frame: where its pixels go, it waits too.
    LRegion staleMoved(mInvalidRegion);
    staleMoved.Intersect(whole);
    staleMoved.Offset(delta.x, delta.y);
    staleMoved.Intersect(whole);
    for (const RegionNode* node = staleMoved.GetFirst(); node; node = node->next)
    {
        AddInvalid(node->rect);
    }
    // The strip the move leaves keeps old pixels.
    LRegion left(whole);
    left.SubtractRect(
        EdgesI{inside.left + delta.x, inside.top + delta.y, inside.right + delta.x, inside.bottom + delta.y});
    for (const RegionNode* node = left.GetFirst(); node; node = node->next)
    {
        AddInvalid(node->rect);
    }
    const RectI moved = RectFromEdges(inside);
    mFrameMoves.push_back(FrameMove{moved, delta});
    mMovedArea.AddRect(inside);
    if (mOS)
    {
        mOS->InvalidateRect(moved.x, moved.y, moved.width, moved.height);
    }
    return true;
}

void LRootWindow::TakeFrameMoves(std::vector<FrameMove>& moves, LRegion& covered)
{
    moves = std::move(mFrameMoves);
    mFrameMoves.clear();
    covered = std::move(mMovedArea);
    mMovedArea.Clear();
}

void LRootWindow::AddInvalid(const EdgesI& rect)
{
    // Overlaps are left for the coalescing at the paint: cutting them out at once walked
    // every rectangle waiting, for each new one. The same rectangle again (a control
    // invalidated over and over) is not kept twice, and a long list is folded early, so
    // what waits stays short.
    if (const RegionNode* first = mInvalidRegion.GetFirst();
        first && first->rect.left <= rect.left && first->rect.top <= rect.top &&
        first->rect.right >= rect.right && first->rect.bottom >= rect.bottom)
    {
        return;
    }
    mInvalidRegion.AppendRect(rect);
    if (++mPendingRects > kFoldPendingAt)
    {
        mInvalidRegion.Coalesce();
        mPendingRects = mInvalidRegion.GetRectCount();
    }
}

void LRootWindow::TakeInvalidRegion(LRegion& out, const RectI* paintingNow)
{
    if (mFullRepaintPending)
    {
        mFullRepaintPending = false;
        const PointI size = GetClientSize();
        if (!paintingNow)
        {
            InvalidateRect(RectD{0.0, 0.0, IntToDouble(size.x), IntToDouble(size.y)});
        }
        else if (size.x > 0 && size.y > 0)
        {
            const EdgesI whole = EdgesFromRect(RectI{0, 0, size.x, size.y});
            AddInvalid(whole);
            LRegion outside;
            outside.SetRect(whole);
            outside.SubtractRect(EdgesFromRect(*paintingNow));
            for (const RegionNode* node = outside.GetFirst(); node && mOS; node = node->next)
            {
                const RectI r = RectFromEdges(node->rect);
                mOS->InvalidateRect(r.x, r.y, r.width, r.height);
            }
        }
    }
    mInvalidRegion.Coalesce();
    out = std::move(mInvalidRegion);
    mInvalidRegion.Clear();
    mPendingRects = 0;
}

void LRootWindow::RedrawNow()
{
    const PointI size = GetClientSize();
    InvalidateRect(RectD{0.0, 0.0, IntToDouble(size.x), IntToDouble(size.y)});
    if (mOS)
    {
        mOS->Redraw();
    }
}

void LRootWindow::Paint(const LRegion& region)
{
    if (!mRootControl || region.IsEmpty())
    {
        return;
    }
    // A paint that arrives while the renderer is inside another frame (an image being
    // drawn when a nested loop ran) cannot draw now: the window asks for it again.
    if (mRenderer && mRenderer->GetEnteredContextCount() > 1)
    {
        if (mOS)
        {
            mOS->Invalidate();
        }
        return;
    }
    EdgesI bounds{};
    region.GetBounds(bounds);
    const RectI box = RectFromEdges(bounds);
    RectD area;
    if (!IntersectRects(
            mRootControl->GetFrame(),
            RectD{IntToDouble(box.x), IntToDouble(box.y), IntToDouble(box.width), IntToDouble(box.height)},
            area))
    {
        return;
    }
    // Bounds at the window's corner: the tree draws in window coordinates.
    CAutoClip clip(mRenderer,
                   ClipDescriptor{ClipDescriptor::kClip, RectD{0.0, 0.0, area.Right(), area.Bottom()}, area,
                                  nullptr, true});
    DrawControlTree(mRootControl, region, false);
}

void LRootWindow::DrawControlTree(const RCPtr<LControl>& control, const LRegion& region, bool unclippedPass)
{
    const std::uint32_t first = mDeferred.GetCount();
    const std::size_t firstOrder = mDeferredOrder.size();
    // Whatever this call added goes again when it ends, also when a drawing throws.
    struct Truncate
    {
        LRootWindow& window;
        std::uint32_t count;
        std::size_t orderCount;
        ~Truncate()
        {
            window.mDeferred.SetCount(count);
            window.mDeferredOrder.resize(orderCount);
        }
    } truncate{*this, first, firstOrder};
    control->Draw(mRenderer, region, mDeferred, unclippedPass);
    for (std::uint32_t i = first; i < mDeferred.GetCount(); ++i)
    {
        const LLayoutDescriptor* layout = mDeferred.ElementAt(i)->ReadLayoutDescriptor();
        mDeferredOrder.emplace_back(i, layout ? layout->zOrder : 0);
    }
    // By z-order, equal ones in the order they were found (std::sort needs no buffer).
    std::sort(mDeferredOrder.begin() + static_cast<std::ptrdiff_t>(firstOrder), mDeferredOrder.end(),
              [](const auto& a, const auto& b)
              { return a.second != b.second ? a.second < b.second : a.first < b.first; });
    const std::size_t endOrder = mDeferredOrder.size();
    for (std::size_t k = firstOrder; k < endOrder; ++k)
    {
        for (std::size_t ahead = 1; ahead <= 3; ++ahead)
        {
            if (k + ahead < endOrder)
            {
                mDeferred.ElementAt(mDeferredOrder[k + ahead].first)
                    ->PrefetchForDrawing(3 - static_cast<std::int32_t>(ahead));
            }
        }
        // Copied: the drawing below adds to both lists, which may move their entries.
        const RCPtr<LControl> next = mDeferred.ElementAt(mDeferredOrder[k].first);
        DrawDeferred(next, region);
    }
}

void LRootWindow::DrawDeferred(const RCPtr<LControl>& control, const LRegion& region)
{
    CAutoSaveState state(mRenderer);
    DrawControlTree(control, region, true);
}

bool LRootWindow::ConstrainClientSize(std::int32_t& width, std::int32_t& height)
{
    const std::int32_t askedWidth = width;
    const std::int32_t askedHeight = height;
    if (mRootControl)
    {
        const RectI client = GetScreenClientRect();
        RootPlacementFrame frame;
        frame.screen = IntRectToDouble(IFrameworkApp::GetInstance().GetWorkArea());
        frame.clientSize = PointD{IntToDouble(width), IntToDouble(height)};
        frame.clientOrigin = PointD{IntToDouble(client.x), IntToDouble(client.y)};
        RectD placed;
        if (mRootControl->ComputeRootPlacement(frame, placed))
        {
            width = RoundToInt32(placed.width);
            height = RoundToInt32(placed.height);
        }
    }
    width = std::max(width, 1);
    height = std::max(height, 1);
    return width != askedWidth || height != askedHeight;
}

// ---- input ----------------------------------------------------------------------------------------

RCPtr<LControl> LRootWindow::HitTest(const PointI& point, PointI& localPoint, bool updateHover)
{
    if (!mRootControl)
    {
        return nullptr;
    }
    const PointI corner = RoundPointToInt(mRootControl->GetPosition());
    RCPtr<LControl> found =
        mRootControl->HitTest(PointI{point.x - corner.x, point.y - corner.y}, localPoint, true);
    if (updateHover)
    {
        SetHoverControl(found);
    }
    return found;
}

void LRootWindow::SetHoverControl(RCPtr<LControl> control)
{
    if (mCaptureControl && control != mCaptureControl)
    {
        control = nullptr;
    }
    if (control == mHoverControl)
    {
        return;
    }
    // A control without a tooltip shows its parent's only when it asks to.
    RCPtr<LControl> owner = control;
    while (owner && owner->GetToolTipText().IsEmpty() && owner->GetText().IsEmpty() &&
           owner->UsesParentToolTip() && owner->GetParent())
    {
        owner = owner->GetParent();
    }
    if (owner && owner->GetToolTipText().IsEmpty())
    {
        owner = nullptr;
    }
    if (owner != mToolTipControl)
    {
        if (mToolTipControl)
        {
            mToolTipControl->CreateToolTip(false);
        }
        mToolTipControl = owner;
        if (owner)
        {
            owner->CreateToolTip(true);
        }
    }
    const RCPtr<LControl> old = std::exchange(mHoverControl, control);
    if (old && (old->GetParent() || old->GetRootWindow()))
    {
        old->OnMouseLeave();
    }
    if (control)
    {
        control->OnMouseEnter();
    }
}

void LRootWindow::HideToolTip()
{
    if (mToolTipControl)
    {
        mToolTipControl->CreateToolTip(false);
    }
}

void LRootWindow::OnMouseMove(const PointI& point, std::uint32_t modifiers)
{
    if (!IsActive())
    {
        return;
    }
    PointI local{};
    const RCPtr<LControl> found = HitTest(point, local, true);
    if (mCaptureControl)
    {
        const RCPtr<LControl> holder = mCaptureControl;
        holder->OnMouseMove(LPointWithModifiersParam::Create(ToLocal(*holder, point), modifiers));
    }
    else if (found)
    {
        found->OnMouseMove(LPointWithModifiersParam::Create(local, modifiers));
    }
}

void LRootWindow::OnMouseButton(std::int32_t action, std::uint32_t button, std::uint32_t modifiers,
                                const PointI& point)
{
    if (!IsActive() || !IsButton(button))
    {
        return;
    }
    const PointI at = GetMousePosition();
    if (at.x != point.x || at.y != point.y)
    {
        OnMouseMove(point, modifiers);
    }
    HideToolTip();
    if (action == MouseAction::kRelease)
    {
        if (!mCaptureControl)
        {
            return;
        }
        const RCPtr<LControl> holder = mCaptureControl;
        const bool doubleClick = (mDoubleClickButtons & button) != 0;
        mDoubleClickButtons &= ~button;
        holder->OnMouseUp(LMouseButtonParam::Create(button, ToLocal(*holder, point), modifiers, doubleClick,
                                                    GetMouseButtons()));
        return;
    }
    RCPtr<LControl> target = mCaptureControl;
    PointI local{};
    if (target)
    {
        local = ToLocal(*target, point);
    }
    else
    {
        target = HitTest(point, local, true);
    }
    if (!target)
    {
        return;
    }
    const bool doubleClick = action == MouseAction::kDoubleClick;
    if (doubleClick)
    {
        mDoubleClickButtons |= button;
    }
    else
    {
        mDoubleClickButtons &= ~button;
    }
    target->OnMouseDown(LMouseButtonParam::Create(button, local, modifiers, doubleClick, GetMouseButtons()));
}

void LRootWindow::OnMouseWheel(const PointI& point, std::uint32_t modifiers, std::uint32_t direction)
{
    if (!IsActive())
    {
        return;
    }
    HideToolTip();
    RCPtr<LControl> target = mCaptureControl;
    if (!target)
    {
        PointI local{};
        target = HitTest(point, local, true);
    }
    if (!target)
    {
        return;
    }
    const RCPtr<LMouseWheelParam> wheel = LMouseWheelParam::Create(point, modifiers, direction);
    const bool vertical = direction < 2;
    const auto send = [&](LControl& control)
    { return vertical ? control.OnMouseWheel(wheel) : control.OnHorizontalMouseWheel(wheel); };
    if (send(*target) == kNothingDone && mFocusControl && mFocusControl != target)
    {
        const RCPtr<LControl> focus = mFocusControl;
        send(*focus);
    }
}

Result LRootWindow::DispatchKey(const RCPtr<LKeyParam>& key)
{
    HideToolTip();
    Result result = kNothingDone;
    if (mFocusControl)
    {
        const RCPtr<LControl> focus = mFocusControl;
        result = focus->OnKey(key);
    }
    // A key no control took is the window's hot key, if it is one.
    if (result == kNothingDone && key)
    {
        result = mHotKeys->HandleKey(key->key);
    }
    return result;
}

void LRootWindow::NotifyCaptureLost()
{
    if (mCaptureControl)
    {
        const RCPtr<LControl> holder = mCaptureControl;
        holder->OnCaptureLost();
    }
}

// ---- what controls ask ----------------------------------------------------------------------------

RCPtr<LControl> IRootWindowServices::GetLastFocusControl() const
{
    return GetFocusControl();
}

void LRootWindow::SaveAndClearFocus()
{
    mSavedFocusControl = std::move(mFocusControl);
    mFocusControl = nullptr;
}

void LRootWindow::LoseFocus()
{
    SetHoverControl(nullptr);
    // The focused control hears it first (its focus look goes), then the window keeps it
    // for RestoreFocus.
    if (mRootControl)
    {
        const RCPtr<LControl> root = mRootControl;
        root->OnFocusLost();
    }
    if (mFocusControl)
    {
        SaveAndClearFocus();
    }
}

void LRootWindow::RestoreFocus()
{
    if (mFocusControl)
    {
        return;
    }
    const RCPtr<LControl> saved = std::exchange(mSavedFocusControl, nullptr);
    // A control that left this window's tree since does not take it.
    if (saved && saved->GetRootWindow().Get() == this)
    {
        saved->SetFocus(true);
    }
    else if (mRootControl)
    {
        const RCPtr<LControl> root = mRootControl;
        root->SetFocus(true);
    }
}

Result LRootWindow::SetCapture(const RCPtr<LControl>& control)
{
    if (!control)
    {
        return kInvalidArg;
    }
    if (mCaptureControl && mCaptureControl != control)
    {
        const RCPtr<LControl> previous = mCaptureControl;
        previous->OnCaptureLost();
    }
    mCaptureControl = control;
    return kOk;
}

Result LRootWindow::ReleaseCapture()
{
    mCaptureControl = nullptr;
    return kOk;
}

std::uint32_t LRootWindow::SetCursor(std::uint32_t cursor)
{
    if (!mOS)
    {
        return 0;
    }
    if (cursor == 0)
    {
        cursor = IFrameworkApp::GetInstance().LoadCursorByName(kCursorArrowControls);
    }
    return mOS->SetCursor(cursor);
}

Result LRootWindow::SetTextInputState(bool on, const RCPtr<LControl>& control, std::uint32_t value)
{
    if (!mOS || (on && (!control || !control->TakesTextInput())))
    {
        return kNothingDone;
    }
    return mOS->SetTextInputState(on ? 1u : 0u, value);
}

PointI LRootWindow::GetMousePosition()
{
    PointI point{};
    if (!mOS)
    {
        return point;
    }
    if (mOS->IsActiveWindow())
    {
        mOS->GetCursorPosition(point);
        return point;
    }
    mOS->ScreenToClient(point, IFrameworkApp::GetInstance().GetCursorPos());
    return point;
}

std::uint32_t LRootWindow::GetMouseButtons()
{
    if (!mOS)
    {
        return 0;
    }
    return mOS->IsActiveWindow() ? mOS->GetKeyState() : IFrameworkApp::GetInstance().GetMouseButtons();
}

void LRootWindow::UpdateHoverAtPointer()
{
    PointI local{};
    HitTest(GetMousePosition(), local, true);
}

// ---- modal end and idle ----------------------------------------------------------------------------

Result LRootWindow::EndModal(Result result)
{
    if (!mOS)
    {
        return kFail;
    }
    mModalResult = result;
    mModalEndPending = true;
    return kOk;
}

bool LRootWindow::OnIdle(bool sendIdle)
{
    const bool more = ProcessNotifications(sendIdle);
    if (mModalEndPending && mOS)
    {
        mModalEndPending = false;
        mOS->EndModal(mModalResult);
    }
    return more;
}

void LRootWindow::RequestClose()
{
    // A dialog's close box is its Cancel button.
    if (auto* dialog = dynamic_cast<LDialog*>(mRootControl.Get()))
    {
        dialog->Close(LDialog::kCancel);
        return;
    }
    if (mOS)
    {
        mModalResult = 0;
        mModalEndPending = true;
    }
}

} // namespace KR
