#pragma once
// KR::OSWindow: the system window of one top-level framework window. It implements the
// window operations its root window uses (KR::IWindowOSServices), owns the renderer and
// its render target, turns the window layer's messages into calls on the root window,
// and runs the modal loop of dialogs.
//
//     RCPtr<OSWindow> window = new OSWindow;
//     window->Create(u"Editor", RectI{100, 100, 640, 480}, 0);
//     window->CreateRenderer(1);      // the 2D renderer, the 33 ms tick and the root window
//     window->GetRootWindow()->SetRootControl(mainControl);
//     window->Show(1);
//
// The window keeps itself alive while its system window exists: closing the window
// (WM_CLOSE, EndModal outside the modal loop, the end of the modal loop) drops that
// reference, takes its root window off the application's list and, for the root window
// it made itself, lets go of the root control (the two hold each other). UI thread only.

#include "kr/core/Point.h"
#include "kr/core/RCPtr.h"
#include "kr/core/Rect.h"
#include "kr/render/Renderer.h"
#include "kr/system/CursorNames.h"
#include "kr/ui/KeyboardState.h"
#include "kr/ui/OSWindowRoot.h"
#include "kr/ui/RootWindow.h"
#include "kr/ui/WindowOSServices.h"
#include "platform/window/Window.h"

#include <cstdint>

namespace KR
{

namespace Platform
{
class MessageLoop;
}

// Cursor handles as the application gives them out: 0 is the arrow.
std::uint32_t CursorHandleFromShape(CursorShape shape);
CursorShape CursorShapeFromHandle(std::uint32_t handle);

// The keys held as the window layer saw them.
class LWindowKeyboardState : public IKeyboardState
{
public:
    bool IsKeyDown(std::uint8_t virtualKey) const override { return Platform::GetKeyState(virtualKey); }
};

// The window style bits an application composes for a top-level window, in the system's
// numbers; OSWindow::Create makes of them what the desktop offers.
struct WindowStyle
{
    static constexpr std::uint32_t kPopup = 0x80000000;
    static constexpr std::uint32_t kCaption = 0x00C00000;
    static constexpr std::uint32_t kSysMenu = 0x00080000;
    static constexpr std::uint32_t kThickFrame = 0x00040000;
    static constexpr std::uint32_t kMinimizeBox = 0x00020000;
    static constexpr std::uint32_t kMaximizeBox = 0x00010000;
    // Extended style: a dialog's frame, modal for its owner.
    static constexpr std::uint32_t kExDialogModalFrame = 0x00000001;
};

class OSWindow : public IWindowOSServices, public Platform::IWindowProcedure
{
public:
    static constexpr char kClassName[] = "KRFrameworkWindow";
    static constexpr std::uintptr_t kCopyDataCommandLine = 0x465;
    static constexpr std::uintptr_t kTickTimer = 1;
    static constexpr std::uintptr_t kOffScreenCheckTimer = 2;
    static constexpr std::uint32_t kTickMs = 33;

    OSWindow();
    ~OSWindow() override;

    // Makes the system window (hidden) with its client area at `client` on the screen: X class
    // "KRFrameworkWindow", resizable, every frame function.
    Result Create(const String& title, const RectI& client, std::uintptr_t owner, bool popup = false);
    // The same with the X class and the style given: a caption is a decorated window, the
    // sizing frame a resizable one (else its size is locked), the system menu and the boxes
    // the frame's close, minimize and maximize, the dialog frame a dialog modal for its owner.
    // On X the desktop draws the frame outside the client area, which is the window's size.
    Result Create(const String& className, const String& title, std::uint32_t style, std::uint32_t exStyle,
                  const RectI& client, std::uintptr_t owner);
    // What the window layer is asked for a style (title, place and owner left empty).
    static Platform::WindowCreateParams ParamsForStyle(std::uint32_t style, std::uint32_t exStyle);
    // Lets the root window bring the size of a window rectangle (screen coordinates) within
    // its limits; the left and top edges stay. Nothing changes without a root window.
    void ConstrainSizingRect(RectI& windowRect);
    // The renderer for this window, the 33 ms tick, then SetRenderer.
    Result CreateRenderer(std::int32_t kind);
    // Stores the renderer, makes its render target for this window and, with a renderer,
    // a root window drawing through it, carried and listed with the application; 0.
    Result SetRenderer(const RCPtr<LRenderer>& renderer);
    const RCPtr<LRenderer>& GetRenderer() const { return mRenderer; }
    // The root window SetRenderer made; null before, and once the window is closed.
    const RCPtr<LRootWindow>& GetRootWindow() const { return mRootWindow; }
    // The framework window this system window carries; listed with the application when it
    // is one of its root windows.
    void AttachRoot(const RCPtr<IOSWindowRoot>& root);
    const RCPtr<IOSWindowRoot>& GetRoot() const { return mRoot; }
    const RCPtr<LRenderContextInfo>& GetRenderTarget() const { return mRenderTarget; }
    // Where the keys held are read (the window layer's unless a test gives its own).
    void SetKeyboardState(const IKeyboardState* keys) { mKeys = keys ? keys : &mLayerKeys; }

    // --- IWindowOSServices ---------------------------------------------------------------
    Result SetTitle(const String& text) override;
    Result Invalidate() override;
    Result InvalidateRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) override;
    Result GetClientRect(std::int32_t& x, std::int32_t& y, std::int32_t& width,
                         std::int32_t& height) override;
    Result ScreenToClient(PointI& out, PointI point) override;
    Result ClientToScreen(PointI& out, PointI point) override;
    Result SetWindowRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) override;
    bool Show(std::int32_t command) override;
    Result Redraw() override;
    Result BringToTop() override;
    Result SetTopMost(bool topMost) override;
    Result EndModal(Result result) override;
    Result RunModalLoop() override;
    bool IsModal() override { return mModal; }
    bool IsActiveWindow() override;
    bool HasFocus() override;
    Result SetFocus() override;
    std::uint32_t SetCursor(std::uint32_t cursor) override;
    Result GetCursorPosition(PointI& out) override;
    std::uint32_t GetKeyState() override;
    std::uintptr_t GetWindowHandle() override { return mHandle; }
    Result SetTextInputState(std::uint32_t, std::uint32_t) override { return kOk; }

    // The message table.
    std::intptr_t WindowProc(Platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) override;

private:
    Result CreateWith(Platform::WindowCreateParams& params, const String& title, const RectI& client,
                      std::uintptr_t owner);
    bool IsMainWindow() const;
    void Destroy();
    void Unlist(const RCPtr<IOSWindowRoot>& root);
    void ReleaseRootWindow();
    void OnPaint();
    void OnKey(std::uint32_t message, std::uintptr_t vk, std::intptr_t lParam);
    void OnChar(std::uintptr_t character, std::intptr_t lParam);
    void OnButton(std::uint32_t action, std::uint32_t button, std::uintptr_t keyFlags, std::intptr_t lParam);
    void OnButtonUp(std::uint32_t button, std::uintptr_t keyFlags, std::intptr_t lParam);
    void OnWheel(int axis, std::uintptr_t wParam, std::intptr_t lParam);
    void OnLeave();
    void OnSize(std::uintptr_t type, std::intptr_t lParam);
    // The window's new client position.
    void OnMove(std::intptr_t lParam);
    // Whether the window, moved by `shift` from where it is, lies partly outside the work
    // area: its next move then repaints it whole.
    void CheckPartlyOffScreen(const PointI& shift);
    void OnSysCommand(std::uintptr_t command);
    void OnCopyData(std::intptr_t lParam);
    // The machine's sleep or wake-up: the application hears of it through its first
    // window, and every window is drawn afresh. The application's answer.
    std::intptr_t OnPowerBroadcast(std::uintptr_t event, std::intptr_t data);
    void SavePlacement();
    std::uint32_t MouseModifiers(std::uintptr_t keyFlags) const;

    Platform::WindowHandle mHandle = 0;
    RCPtr<OSWindow> mSelf; // while the system window exists
    RCPtr<IOSWindowRoot> mRoot;
    RCPtr<LRootWindow> mRootWindow; // made by SetRenderer, carried as mRoot
    RCPtr<LRenderer> mRenderer;
    RCPtr<LRenderContextInfo> mRenderTarget;
    PointI mMousePosition{};
    std::uint32_t mMouseButtons = 0;
    std::int32_t mPressedCount = 0;
    std::int32_t mWheelAccumulator[2] = {0, 0};
    bool mMouseCaptured = false;
    bool mModal = false;
    bool mPartlyOffScreen = false;
    // Whether the window has had its first draw, and a move before it left its check for
    // after it.
    bool mDrawn = false;
    bool mOffScreenCheckDue = false;
    Platform::WindowPoint mOffScreenCheckAt{};
    Result mModalResult = 0;
    Platform::MessageLoop* mModalLoop = nullptr;
    LWindowKeyboardState mLayerKeys;
    const IKeyboardState* mKeys = &mLayerKeys;
};

} // namespace KR
