#include "kr/ui/OSWindow.h"

#include "kr/notify/ApplicationCenter.h"
#include "kr/ui/Clipboard.h"
#include "kr/ui/Control.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/KeyCode.h"
#include "kr/ui/RootWindowOSAdapter.h"
#include "kr/ui/RootWindowServices.h"
#include "platform/window/MessageLoop.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace KR
{

namespace P = Platform;

namespace
{

// The cursor in force, one for the whole program.
std::uint32_t gCursor = 0;

constexpr std::uint32_t kModifierMaskCtrlAlt = ModifierFlag::kCtrl | ModifierFlag::kAlt;

// The window layer's pointer shapes follow the cursor shapes one for one.
static_assert(static_cast<int>(P::PointerShape::kNone) == static_cast<int>(CursorShape::kNone) &&
              static_cast<int>(P::PointerShape::kIBeam) == static_cast<int>(CursorShape::kIBeam) &&
              static_cast<int>(P::PointerShape::kWait) == static_cast<int>(CursorShape::kWait));

} // namespace

std::uint32_t CursorHandleFromShape(CursorShape shape)
{
    return shape == CursorShape::kArrow ? 0 : static_cast<std::uint32_t>(shape) + 1;
}

CursorShape CursorShapeFromHandle(std::uint32_t handle)
{
    if (handle == 0 || handle > static_cast<std::uint32_t>(CursorShape::kWait) + 1)
    {
        return CursorShape::kArrow;
    }
    return static_cast<CursorShape>(handle - 1);
}

IRootWindowServices* IOSWindowRoot::GetListedRootWindow()
{
    return dynamic_cast<IRootWindowServices*>(this);
}

OSWindow::OSWindow() = default;

OSWindow::~OSWindow()
{
    Unlist(mRoot);
    if (mHandle != 0)
    {
        P::DestroyWindow(mHandle);
    }
    ReleaseRootWindow();
}

Result OSWindow::CreateRenderer(std::int32_t kind)
{
    std::int32_t x = 0, y = 0, width = 0, height = 0;
    if (mHandle == 0 || Failed(GetClientRect(x, y, width, height)))
    {
        return kFail;
    }
    RCPtr<LRenderer> renderer =
        LRenderer::Create(kind, RectI{x, y, width, height}, reinterpret_cast<void*>(mHandle));
    if (!renderer)
    {
        return kFail;
    }
    P::SetTimer(mHandle, kTickTimer, kTickMs);
    return SetRenderer(renderer);
}

Result OSWindow::SetRenderer(const RCPtr<LRenderer>& renderer)
{
    mRenderer = renderer;
    mRenderTarget = nullptr;
    std::int32_t x = 0, y = 0, width = 0, height = 0;
    GetClientRect(x, y, width, height);
    if (!mRenderer)
    {
        return kOk;
    }
    mRenderer->InitRenderContextInfo(RectI{x, y, width, height}, reinterpret_cast<void*>(mHandle), false,
                                     mRenderTarget);
    const RCPtr<LRootWindow> previous = mRootWindow;
    mRootWindow = new LRootWindow(mRenderer, this);
    AttachRoot(new LRootWindowOSAdapter(mRootWindow));
    if (previous)
    {
        previous->ReleaseInternalReferences();
    }
    return kOk;
}

void OSWindow::AttachRoot(const RCPtr<IOSWindowRoot>& root)
{
    // A root replaced leaves the application's list with it.
    if (mRoot != root)
    {
        Unlist(mRoot);
    }
    mRoot = root;
    if (auto* listed = (mRoot ? mRoot->GetListedRootWindow() : nullptr))
    {
        IFrameworkApp::GetInstance().AddRootWindow(RCPtr<IRootWindowServices>(listed));
    }
}

bool OSWindow::IsMainWindow() const
{
    auto* listed = (mRoot ? mRoot->GetListedRootWindow() : nullptr);
    return listed && IFrameworkApp::GetInstance().GetMainWindow().Get() == listed;
}

void OSWindow::Unlist(const RCPtr<IOSWindowRoot>& root)
{
    if (auto* listed = (root ? root->GetListedRootWindow() : nullptr))
    {
        IFrameworkApp::GetInstance().RemoveRootWindow(RCPtr<IRootWindowServices>(listed));
    }
}

void OSWindow::ReleaseRootWindow()
{
    // The root window and its root control hold each other; only the window that made the
    // root window knows when neither is wanted any more.
    if (const RCPtr<LRootWindow> root = std::move(mRootWindow))
    {
        root->ReleaseInternalReferences();
        // Whoever still holds the root window (the application as its active window, a
        // control) must not reach this window through it once it is gone.
        root->DetachOSServices();
    }
}

void OSWindow::Destroy()
{
    const RCPtr<OSWindow> keep = mSelf;
    if (mHandle != 0)
    {
        const P::WindowHandle handle = mHandle;
        P::DestroyWindow(handle); // WM_DESTROY still finds the window listed
        mHandle = 0;
    }
    // A closed window is no longer one of the application's windows.
    Unlist(mRoot);
    ReleaseRootWindow();
    mSelf = nullptr;
}

// --- Services ------------------------------------------------------------------------------

Result OSWindow::SetTitle(const String& text)
{
    return P::SetWindowText(mHandle, text.ToUtf8().GetPtr()) ? kOk : kFail;
}

Result OSWindow::Invalidate()
{
    return P::InvalidateRect(mHandle, nullptr) ? kOk : kFail;
}

Result OSWindow::InvalidateRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height)
{
    const P::WindowRect rect{x, y, width, height};
    return P::InvalidateRect(mHandle, &rect) ? kOk : kFail;
}

Result OSWindow::GetClientRect(std::int32_t& x, std::int32_t& y, std::int32_t& width, std::int32_t& height)
{
    P::WindowRect rect;
    if (!P::GetClientRect(mHandle, rect))
    {
        return kFail;
    }
    if (rect.width >= 0 && rect.height >= 0)
    {
        x = rect.x;
        y = rect.y;
        width = rect.width;
        height = rect.height;
    }
    return kOk;
}

Result OSWindow::ScreenToClient(PointI& out, PointI point)
{
    P::WindowPoint p{point.x, point.y};
    if (!P::ScreenToClient(mHandle, p))
    {
        return kFail;
    }
    out = PointI{p.x, p.y};
    return kOk;
}

Result OSWindow::ClientToScreen(PointI& out, PointI point)
{
    P::WindowPoint p{point.x, point.y};
    if (!P::ClientToScreen(mHandle, p))
    {
        return kFail;
    }
    out = PointI{p.x, p.y};
    return kOk;
}

Result OSWindow::SetWindowRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height)
{
    return P::SetWindowPos(mHandle, {x, y, width, height}) ? kOk : kFail;
}

bool OSWindow::Show(std::int32_t command)
{
    return P::ShowWindow(mHandle, command);
}

Result OSWindow::Redraw()
{
    return P::InvalidateRect(mHandle, nullptr) && P::UpdateWindow(mHandle) ? kOk : kFail;
}

Result OSWindow::BringToTop()
{
    return P::BringWindowToTop(mHandle) ? kOk : kFail;
}

Result OSWindow::SetTopMost(bool topMost)
{
    return P::SetTopMost(mHandle, topMost) ? kOk : kFail;
}

Result OSWindow::EndModal(Result result)
{
    if (mModal && mModalLoop)
    {
        mModalResult = result;
        mModal = false;
        mModalLoop->End();
    }
    else
    {
        Destroy();
    }
    return kOk;
}

Result OSWindow::RunModalLoop()
{
    if (mHandle == 0)
    {
        return kFail;
    }
    const RCPtr<OSWindow> keep = mSelf;
    mModal = true;
    const P::WindowHandle owner = P::GetOwner(mHandle);
    const bool ownerDisabled = owner != 0 && P::IsWindowEnabled(owner);
    if (ownerDisabled)
    {
        P::EnableWindow(owner, false);
    }
    P::EnableWindow(mHandle, true);
    bool hidden = !P::IsWindowVisible(mHandle);
    P::MessageLoop loop(
        [&](int pass)
        {
            if (hidden)
            {
                hidden = false;
                P::ShowWindow(mHandle, P::SW_SHOWNORMAL);
                P::UpdateWindow(mHandle);
                // Shown normally a dialog is the active window, as the owner is again after
                // it: a desktop without a window manager would leave the keyboard, and with
                // it the mouse input the root window takes only while active, elsewhere.
                P::SetFocus(mHandle);
            }
            if (pass == 0 && owner != 0)
            {
                P::SendMessage(owner, P::WM_ENTERIDLE, P::MSGF_DIALOGBOX,
                               static_cast<std::intptr_t>(mHandle));
            }
            return P::SendMessage(mHandle, P::WM_KICKIDLE, P::MSGF_DIALOGBOX, pass) != 0;
        });
    mModalLoop = &loop;
    const bool quit = loop.Run() == P::MessageLoop::kQuit;
    mModalLoop = nullptr;
    mModal = false;
    if (ownerDisabled)
    {
        P::EnableWindow(owner, true);
    }
    if (owner != 0 && P::GetActiveWindow() == mHandle)
    {
        P::SetFocus(owner);
    }
    // A quit stays posted for the loops outside, which end too.
    const Result result = quit ? -1 : mModalResult;
    Destroy();
    return result;
}

bool OSWindow::IsActiveWindow()
{
    const P::WindowHandle active = P::GetActiveWindow();
    if (mHandle == 0 || active == 0)
    {
        return false;
    }
    return active == mHandle || (IsMainWindow() && active == P::GetOwner(mHandle));
}

bool OSWindow::HasFocus()
{
    return mHandle != 0 && P::GetFocus() == mHandle;
}

Result OSWindow::SetFocus()
{
    return P::SetFocus(mHandle) ? kOk : kFail;
}

std::uint32_t OSWindow::SetCursor(std::uint32_t cursor)
{
    const std::uint32_t previous = gCursor;
    if (cursor != gCursor &&
        P::SetWindowCursor(mHandle, static_cast<P::PointerShape>(CursorShapeFromHandle(cursor))))
    {
        gCursor = cursor;
    }
    return previous;
}

Result OSWindow::GetCursorPosition(PointI& out)
{
    if (mHandle == 0)
    {
        return kFail;
    }
    if (!mMouseCaptured)
    {
        P::WindowPoint point = P::GetCursorPos();
        P::ScreenToClient(mHandle, point);
        mMousePosition = PointI{point.x, point.y};
    }
    out = mMousePosition;
    return kOk;
}

std::uint32_t OSWindow::GetKeyState()
{
    if (!mMouseCaptured)
    {
        mMouseButtons = (mKeys->IsKeyDown(P::VK_LBUTTON) ? MouseButton::kLeft : 0) |
                        (mKeys->IsKeyDown(P::VK_MBUTTON) ? MouseButton::kMiddle : 0) |
                        (mKeys->IsKeyDown(P::VK_RBUTTON) ? MouseButton::kRight : 0);
    }
    return mMouseButtons;
}

// --- Messages ------------------------------------------------------------------------------

std::intptr_t OSWindow::WindowProc(P::WindowHandle, std::uint32_t message, std::uintptr_t wParam,
                                   std::intptr_t lParam)
{
    // A handler may close the window; it lives until the message is handled.
    const RCPtr<OSWindow> keep = mSelf;
    switch (message)
    {
    case P::WM_PAINT:
        OnPaint();
        return 0;
    case P::WM_KEYDOWN:
    case P::WM_KEYUP:
    case P::WM_SYSKEYDOWN:
    case P::WM_SYSKEYUP:
        OnKey(message, wParam, lParam);
        return 0;
    case P::WM_CHAR:
        OnChar(wParam, lParam);
        return 0;
    case P::WM_LBUTTONDOWN:
    case P::WM_MBUTTONDOWN:
    case P::WM_RBUTTONDOWN:
    case P::WM_LBUTTONDBLCLK:
    case P::WM_MBUTTONDBLCLK:
    case P::WM_RBUTTONDBLCLK:
    {
        const std::uint32_t button =
            (message == P::WM_LBUTTONDOWN || message == P::WM_LBUTTONDBLCLK)   ? MouseButton::kLeft
            : (message == P::WM_MBUTTONDOWN || message == P::WM_MBUTTONDBLCLK) ? MouseButton::kMiddle
                                                                               : MouseButton::kRight;
        const bool isDouble = message == P::WM_LBUTTONDBLCLK || message == P::WM_MBUTTONDBLCLK ||
                              message == P::WM_RBUTTONDBLCLK;
        OnButton(isDouble ? 2 : 0, button, wParam, lParam);
        return 0;
    }
    case P::WM_LBUTTONUP:
        OnButtonUp(MouseButton::kLeft, wParam, lParam);
        return 0;
    case P::WM_MBUTTONUP:
        OnButtonUp(MouseButton::kMiddle, wParam, lParam);
        return 0;
    case P::WM_RBUTTONUP:
        OnButtonUp(MouseButton::kRight, wParam, lParam);
        return 0;
    case P::WM_MOUSEMOVE:
    {
        const P::WindowPoint point = P::PointFromParam(lParam);
        mMousePosition = PointI{point.x, point.y};
        if (mRoot)
        {
            mRoot->OnMouseMove(mMousePosition, MouseModifiers(wParam));
        }
        return 0;
    }
    case P::WM_MOUSELEAVE:
        OnLeave();
        return 0;
    case P::WM_MOUSEWHEEL:
        OnWheel(0, wParam, lParam);
        return 0;
    case P::WM_MOUSEHWHEEL:
        OnWheel(1, wParam, lParam);
        return 0;
    case P::WM_CAPTURECHANGED:
        if (static_cast<P::WindowHandle>(lParam) != mHandle || mHandle == 0)
        {
            mPressedCount = 0;
            mMouseCaptured = false;
            if (mRoot)
            {
                mRoot->NotifyCaptureLost();
            }
        }
        return 0;
    case P::WM_KICKIDLE:
    {
        const bool more = IFrameworkApp::GetInstance().OnIdle(lParam == 0);
        return more && lParam < 2 ? 1 : 0;
    }
    case P::WM_SETFOCUS:
        if (mRoot)
        {
            mRoot->RestoreFocus();
        }
        return 0;
    case P::WM_KILLFOCUS:
        if (mMouseCaptured)
        {
            mMouseCaptured = false;
            P::ReleaseCapture();
        }
        if (mRoot)
        {
            mRoot->LoseFocus();
        }
        return 0;
    case P::WM_SIZE:
        OnSize(wParam, lParam);
        return 0;
    case P::WM_MOVE:
        OnMove(lParam);
        return 0;
    case P::WM_TIMER:
        if (wParam == kOffScreenCheckTimer)
        {
            P::KillTimer(mHandle, kOffScreenCheckTimer);
            if (mOffScreenCheckDue && mRoot)
            {
                CheckPartlyOffScreen(PointI{});
            }
        }
        return 0;
    case P::WM_SYSCOMMAND:
        OnSysCommand(wParam);
        return 0;
    case P::WM_COPYDATA:
        OnCopyData(lParam);
        return 0;
    case P::WM_POWERBROADCAST:
        return OnPowerBroadcast(wParam, lParam);
    case P::WM_DESTROYCLIPBOARD:
        if (const RCPtr<LClipboard> clipboard = IFrameworkApp::GetInstance().GetClipboard())
        {
            clipboard->OnClipboardReplaced();
        }
        return 0;
    case P::WM_DISPLAYCHANGE:
        if (mRoot)
        {
            Invalidate();
        }
        return 1;
    case P::WM_CLOSE:
        Destroy();
        return 0;
    case P::WM_DESTROY:
        if (IsMainWindow())
        {
            SavePlacement();
        }
        return 0;
    default:
        return 0;
    }
}

void OSWindow::OnPaint()
{
    if (!mRoot)
    {
        return;
    }
    P::WindowRect update{};
    const bool painting = P::GetUpdateRect(mHandle, update);
    if (painting && !mDrawn)
    {
        mDrawn = true;
        if (mOffScreenCheckDue)
        {
            // Ticks rank below drawing: this one comes once the first frame is out.
            P::SetTimer(mHandle, kOffScreenCheckTimer, 1);
        }
    }
    const RectI updateRect{update.x, update.y, update.width, update.height};
    LRegion region = mRoot->TakeInvalidRegion(painting ? &updateRect : nullptr);
    std::vector<IOSWindowRoot::FrameMove> moves;
    LRegion moved;
    mRoot->TakeFrameMoves(moves, moved);
    if (painting)
    {
        // What the system paints is drawn again, apart from the pixels moved into place.
        LRegion update;
        update.SetRect(EdgesFromRect(updateRect));
        for (const RegionNode* node = moved.GetFirst(); node; node = node->next)
        {
            update.SubtractRect(node->rect);
        }
        for (const RegionNode* node = update.GetFirst(); node; node = node->next)
        {
            region.AddRect(node->rect);
        }
    }
    if (!mRenderer || !mRenderTarget)
    {
        mRoot->Paint(region);
        return;
    }
    // The frame presents its target's dirty region and nothing else, so that region is
    // what the tree is asked to draw, cut to the window's surfaces.
    LRegion viewport;
    viewport.SetRect(EdgesFromRect(mRenderTarget->viewport));
    region.Intersect(viewport);
    moved.Intersect(viewport);
    if (region.IsEmpty() && moved.IsEmpty())
    {
        return;
    }
    region.Coalesce();
    mRenderTarget->dirtyRegion = region;
    mRenderer->RenderStart(mRenderTarget);
    for (const IOSWindowRoot::FrameMove& move : moves)
    {
        mRenderer->MoveFramePixels(move.area, move.delta);
    }
    mRoot->Paint(region);
    // Presented as well: the moved pixels, drawn in an earlier frame.
    for (const RegionNode* node = moved.GetFirst(); node; node = node->next)
    {
        mRenderTarget->dirtyRegion.AddRect(node->rect);
    }
    mRenderer->RenderFinish(mRenderTarget);
    mRenderTarget->dirtyRegion.Clear();
}

void OSWindow::OnKey(std::uint32_t message, std::uintptr_t vk, std::intptr_t lParam)
{
    if (!mRoot)
    {
        return;
    }
    const std::uint32_t flags = P::KeyFlagsFromParam(lParam);
    const bool altHeld = (flags & 0x2000) != 0;
    const bool down = message == P::WM_KEYDOWN || message == P::WM_SYSKEYDOWN;
    const bool system = message == P::WM_SYSKEYDOWN || message == P::WM_SYSKEYUP;
    const std::uint32_t mask = KeyEventModifierFlags(*mKeys, altHeld);
    const bool wasDown = !down || (flags & 0x4000) != 0;
    if (vk == 0 && !system && (mask & kModifierMaskCtrlAlt) != kModifierMaskCtrlAlt)
    {
        return; // a key without a virtual key counts only as Ctrl+Alt with it
    }
    const KeyCode key = KeyCode::FromVirtualKey(static_cast<std::uint8_t>(vk), down, wasDown ? 1 : 0, mask);
    mRoot->DispatchKey(LKeyParam::Create(key, false));
}

void OSWindow::OnChar(std::uintptr_t character, std::intptr_t lParam)
{
    if (!mRoot || IsWindowsKeyDown(*mKeys))
    {
        return;
    }
    const bool altHeld = (P::KeyFlagsFromParam(lParam) & 0x2000) != 0;
    const KeyCode key = KeyCode::FromCharacter(static_cast<std::uint16_t>(character),
                                               CharacterModifierFlags(*mKeys, altHeld));
    mRoot->DispatchKey(LKeyParam::Create(key, false));
}

std::uint32_t OSWindow::MouseModifiers(std::uintptr_t keyFlags) const
{
    return ((keyFlags & P::MK_CONTROL) ? ModifierFlag::kCtrl : 0) |
           ((keyFlags & P::MK_SHIFT) ? ModifierFlag::kShift : 0) |
           (mKeys->IsKeyDown(VirtualKey::kMenu) ? ModifierFlag::kAlt : 0);
}

void OSWindow::OnButton(std::uint32_t action, std::uint32_t button, std::uintptr_t keyFlags,
                        std::intptr_t lParam)
{
    const P::WindowPoint point = P::PointFromParam(lParam);
    mMousePosition = PointI{point.x, point.y};
    if (mRoot && !mRoot->HasFocusControl())
    {
        P::SetFocus(mHandle);
    }
    mMouseButtons |= button;
    if (!mRoot)
    {
        return;
    }
    if (mPressedCount++ == 0 && !mMouseCaptured && mHandle != 0)
    {
        P::SetCapture(mHandle);
        mMouseCaptured = true;
    }
    mRoot->OnMouseButton(action, button, MouseModifiers(keyFlags), mMousePosition);
}

void OSWindow::OnButtonUp(std::uint32_t button, std::uintptr_t keyFlags, std::intptr_t lParam)
{
    mMouseButtons &= ~button;
    const P::WindowPoint point = P::PointFromParam(lParam);
    mMousePosition = PointI{point.x, point.y};
    if (!mRoot)
    {
        return;
    }
    const bool noneDown = !mKeys->IsKeyDown(P::VK_LBUTTON) && !mKeys->IsKeyDown(P::VK_MBUTTON) &&
                          !mKeys->IsKeyDown(P::VK_RBUTTON);
    if ((mHandle == 0 || P::WindowUnderPointer() != mHandle) && noneDown && mPressedCount != 0)
    {
        mPressedCount = 0;
        mMouseCaptured = false;
        mRoot->OnMouseButton(1, button, MouseModifiers(keyFlags), mMousePosition);
        P::ReleaseCapture();
        return;
    }
    mRoot->OnMouseButton(1, button, MouseModifiers(keyFlags), mMousePosition);
}

void OSWindow::OnLeave()
{
    // The pointer left the client area. With a button down the capture keeps its
    // messages coming; otherwise whatever the pointer hovered is left too.
    if (mMouseButtons != 0)
    {
        return;
    }
    if (mMouseCaptured && P::GetCapture() == mHandle)
    {
        P::ReleaseCapture(); // WM_CAPTURECHANGED tells the root window
        return;
    }
    mPressedCount = 0;
    mMouseCaptured = false;
    if (mRoot)
    {
        mRoot->NotifyCaptureLost();
    }
}

void OSWindow::OnWheel(int axis, std::uintptr_t wParam, std::intptr_t lParam)
{
    std::int32_t& accumulator = mWheelAccumulator[axis];
    accumulator += P::WheelDeltaFromParam(wParam);
    bool stepped = false;
    std::uint32_t direction = 0;
    while (accumulator >= P::WHEEL_DELTA)
    {
        accumulator -= P::WHEEL_DELTA;
        direction = axis == 0 ? WheelDirection::kAwayFromUser : WheelDirection::kRight;
        stepped = true;
    }
    while (accumulator <= -P::WHEEL_DELTA)
    {
        accumulator += P::WHEEL_DELTA;
        direction = axis == 0 ? WheelDirection::kTowardsUser : WheelDirection::kLeft;
        stepped = true;
    }
    if (!stepped)
    {
        return;
    }
    const P::WindowPoint screen = P::PointFromParam(lParam);
    PointI client{screen.x, screen.y};
    ScreenToClient(client, client);
    mMousePosition = client;
    if (mRoot)
    {
        mRoot->OnMouseWheel(mMousePosition, MouseModifiers(wParam & 0xFFFF), direction);
    }
}

void OSWindow::OnSize(std::uintptr_t type, std::intptr_t lParam)
{
    if (!mRoot)
    {
        return;
    }
    const P::WindowPoint size = P::PointFromParam(lParam);
    if (mRenderTarget)
    {
        mRenderTarget->viewport = RectI{0, 0, size.x, size.y};
    }
    if (type == P::SIZE_RESTORED || type == P::SIZE_MAXIMIZED)
    {
        mRoot->UpdateLayout();
        mRoot->SetFullRepaint();
    }
}

void OSWindow::OnMove(std::intptr_t lParam)
{
    if (!mRoot)
    {
        return;
    }
    const P::WindowPoint at = P::PointFromParam(lParam);
    if (mOffScreenCheckDue)
    {
        // Left for after the first frame by an earlier move: made now, for where the window
        // stood then.
        CheckPartlyOffScreen(PointI{mOffScreenCheckAt.x - at.x, mOffScreenCheckAt.y - at.y});
    }
    if (mPartlyOffScreen)
    {
        mRoot->SetFullRepaint();
        mPartlyOffScreen = false;
    }
    if (!mDrawn)
    {
        // The check waits for the server several times (the window's frame, the work
        // area). The move of a window just shown comes while the server maps it, and the
        // first frame would wait behind those answers: checked once that frame is out.
        mOffScreenCheckDue = true;
        mOffScreenCheckAt = at;
        return;
    }
    CheckPartlyOffScreen(PointI{});
}

void OSWindow::CheckPartlyOffScreen(const PointI& shift)
{
    mOffScreenCheckDue = false;
    P::WindowRect window;
    const RectI area = IFrameworkApp::GetInstance().GetWorkArea();
    if (P::GetWindowRect(mHandle, window))
    {
        window.x += shift.x;
        window.y += shift.y;
        mPartlyOffScreen = window.x < area.x || window.y < area.y ||
                           std::int64_t{window.x} + window.width > std::int64_t{area.x} + area.width ||
                           std::int64_t{window.y} + window.height > std::int64_t{area.y} + area.height;
    }
}

void OSWindow::OnSysCommand(std::uintptr_t command)
{
    if (command != P::SC_CLOSE)
    {
        return;
    }
    if (IsMainWindow())
    {
        GetApplicationNotificationCenter()->PostNotificationByName(u"NID_APP_EXIT_REQ");
    }
    else if (mRoot)
    {
        mRoot->RequestClose();
    }
}

void OSWindow::OnCopyData(std::intptr_t lParam)
{
    const auto* data = reinterpret_cast<const P::CopyData*>(lParam);
    // A window that a modal dialog has disabled takes no command line meanwhile.
    if (!data || data->dwData != kCopyDataCommandLine || (!data->lpData && data->cbData != 0) ||
        (mHandle != 0 && !P::IsWindowEnabled(mHandle)))
    {
        return;
    }
    // The sender's text need not end in a terminator: read no further than its bytes.
    const std::size_t units = data->cbData / 2;
    std::vector<char16_t> text(units + 1, u'\0');
    if (units != 0)
    {
        std::memcpy(text.data(), data->lpData, units * 2);
    }
    IFrameworkApp::GetInstance().OnCommandLineReceived(String(text.data()));
}

std::intptr_t OSWindow::OnPowerBroadcast(std::uintptr_t event, std::intptr_t data)
{
    // Every window hears it; the application only once, through the main window.
    const std::intptr_t answer =
        IsMainWindow() ? IFrameworkApp::GetInstance().OnPowerBroadcast(event, data) : 1;
    if (mRoot)
    {
        // What the screen showed before the sleep is not to be trusted after it.
        Invalidate();
    }
    return answer;
}

void OSWindow::SavePlacement()
{
    // The placement record as the profile keeps it: length, flags, show command, the
    // minimised and maximised positions (unused: -1) and the normal rectangle's edges.
    P::WindowRect rect;
    if (!P::GetWindowRect(mHandle, rect))
    {
        return;
    }
    const std::int32_t record[11] = {
        44, 0, 1, -1, -1, -1, -1, rect.x, rect.y, rect.x + rect.width, rect.y + rect.height};
    IFrameworkApp& app = IFrameworkApp::GetInstance();
    app.WriteProfileBinary(app.GetProfileSectionName(), u"WP", record, sizeof record);
}

} // namespace KR
