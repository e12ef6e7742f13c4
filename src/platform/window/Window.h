#pragma once
// Top-level windows over GTK 3 that speak the framework's window messages.
//
// Each window has a procedure; GDK events become messages sent to it at once (the
// "draw" signal is WM_PAINT, with the draw's Cairo context handed to the graphics
// layer's presenting for the time of the message), and PostMessage queues messages for
// the running message loop. A window draws nothing of its own: what is not painted in
// WM_PAINT stays as it was.
//
//     KR::Platform::InitializeWindowSystem();
//     WindowCreateParams params;
//     params.title = "Editor";
//     params.procedure = &myProcedure;
//     const WindowHandle window = CreateWindow(params);
//     ShowWindow(window, SW_SHOWNORMAL);
//     MessageLoop loop;
//     loop.Run();
//
// UI thread only, except PostMessage and PostQuitMessage.

#include "platform/window/Messages.h"

#include <cstdint>
#include <string>
#include <vector>

namespace KR::Platform
{

class IWindowProcedure
{
public:
    virtual ~IWindowProcedure() = default;
    virtual std::intptr_t WindowProc(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t lParam) = 0;
};

// Opens the display named by $DISPLAY once; false without one. Everything below needs
// it to have succeeded.
bool InitializeWindowSystem();

// What the desktop's frame offers for a window (the Motif hints' functions); moving is
// always offered, resizing with a resizable window.
enum WindowFunction : std::uint32_t
{
    kWindowFunctionClose = 1,
    kWindowFunctionMinimize = 2,
    kWindowFunctionMaximize = 4,
    kWindowFunctionsAll = 7,
};

struct WindowCreateParams
{
    std::string title;                 // UTF-8
    std::string className;             // the X class of the window
    WindowRect client{0, 0, 640, 480}; // client area in screen coordinates
    WindowHandle owner = 0;            // kept above its owner
    bool resizable = true;             // false: the minimum and maximum size are the client size
    bool decorated = true;             // a title bar and frame from the desktop
    std::uint32_t functions = kWindowFunctionsAll;
    bool dialog = false;                   // the dialog type hint, modal for its owner
    bool popup = false;                    // no frame, never takes the keyboard (menus, tooltips)
    IWindowProcedure* procedure = nullptr; // must outlive the window
};

// An icon image: width x height pixels, 0xAARRGGBB row by row, alpha not premultiplied.
struct IconImage
{
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> pixels;
};

// The window, hidden; 0 when it could not be made.
WindowHandle CreateWindow(const WindowCreateParams& params);
// Sends WM_DESTROY, then closes the window. False for a handle that is not a window.
bool DestroyWindow(WindowHandle window);
bool IsWindow(WindowHandle window);
// The procedure's answer, or 0 for a handle that is not a window.
std::intptr_t SendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam);
// Queues the message for the message loop; any thread.
bool PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

// Whether the window was visible before.
bool ShowWindow(WindowHandle window, int command);
bool IsWindowVisible(WindowHandle window);
bool SetWindowText(WindowHandle window, const std::string& utf8);
// A null rectangle is the whole client area.
bool InvalidateRect(WindowHandle window, const WindowRect* rect);
// Paints what is invalid now, before returning.
bool UpdateWindow(WindowHandle window);
// The area being painted, while the window handles WM_PAINT; false otherwise.
bool GetUpdateRect(WindowHandle window, WindowRect& rect);

// Client area (origin 0, 0) and its place on the screen. Without a window manager the
// window has no frame, so the window rectangle is the client area's.
bool GetClientRect(WindowHandle window, WindowRect& rect);
bool GetWindowRect(WindowHandle window, WindowRect& rect);
bool ClientToScreen(WindowHandle window, WindowPoint& point);
bool ScreenToClient(WindowHandle window, WindowPoint& point);
// Moves and sizes the client area (screen coordinates); a window that is not resizable
// keeps the new size as its fixed one.
bool SetWindowPos(WindowHandle window, const WindowRect& client);
// Whether the desktop shows the window minimised now.
bool IsIconic(WindowHandle window);
// The geometry of the monitor that holds the window's centre; the primary monitor's when
// none does.
WindowRect GetMonitorRect(WindowHandle window);
// The window's icons, every size the desktop may choose from (_NET_WM_ICON); images whose
// pixels do not match their size are left out.
bool SetWindowIcons(WindowHandle window, const std::vector<IconImage>& icons);
bool SetTopMost(WindowHandle window, bool topMost);
bool BringWindowToTop(WindowHandle window);
// Restores the window when minimised, shows it, puts it above the others and asks the
// desktop to give it the keyboard.
bool PresentWindow(WindowHandle window);
// A disabled window takes no input.
bool EnableWindow(WindowHandle window, bool enable);
bool IsWindowEnabled(WindowHandle window);
WindowHandle GetOwner(WindowHandle window);

// The active window (the one the keyboard goes to) of this program, or 0.
WindowHandle GetActiveWindow();
WindowHandle GetFocus();
bool SetFocus(WindowHandle window);
// The window of this program under the pointer, or 0.
WindowHandle WindowUnderPointer();

// The pointer capture: the window keeps the pointer's messages while a button is held
// outside it. Losing it to the display system sends WM_CAPTURECHANGED.
WindowHandle SetCapture(WindowHandle window);
bool ReleaseCapture();
WindowHandle GetCapture();

// The pointer shapes a window shows; the framework's cursor shapes in the same order.
enum class PointerShape
{
    kNone, // no pointer at all
    kAppStarting,
    kArrow,
    kCross,
    kDropCopy,
    kDropMove,
    kHand,
    kHelp,
    kIBeam,
    kNo,
    kSizeAll,
    kSizeNESW,
    kSizeNS,
    kSizeNWSE,
    kSizeWE,
    kUpArrow,
    kWait,
};

// kNone hides the pointer over the window.
bool SetWindowCursor(WindowHandle window, PointerShape shape);
// The display count of the pointer, one up (show) or down; while it is below 0 the
// pointer is hidden over every window of the program. The new count.
int ShowCursor(bool show);
// Moves the pointer to that screen point; false without a display.
bool SetCursorPos(std::int32_t x, std::int32_t y);

// Keys and buttons held, as this program's windows saw them go down and up: virtual
// keys, the sided modifiers, VK_LBUTTON, VK_MBUTTON, VK_RBUTTON.
bool GetKeyState(std::uint8_t virtualKey);
// The pointer in screen coordinates, the MK_ button flags down now, the usable screen.
WindowPoint GetCursorPos();
std::uint32_t GetPointerButtons();
WindowRect GetWorkArea();

// The display system's own id of the window (the X window), for tools and tests.
std::uint64_t GetNativeWindowId(WindowHandle window);
// Asks the window to close as the desktop's close box does (the delete protocol), through
// the display server. For tests: without a window manager nothing else sends it.
bool SendDesktopCloseRequest(WindowHandle window);
// The same for any window of the display by the display system's id, another program's
// too. For tests that end a program as the desktop would.
bool SendNativeCloseRequest(std::uint64_t nativeId);
// Puts a pointer motion to `client` over the window's client area into the display
// system's event queue, as if the pointer had moved there. For benchmarks: it measures
// the way from the event to the window's procedure without another program.
bool QueuePointerMotion(WindowHandle window, WindowPoint client);
// The client area's pixels as the display server has them now, 0xAARRGGBB row by row.
bool ReadWindowPixels(WindowHandle window, std::vector<std::uint32_t>& pixels, std::int32_t& width,
                      std::int32_t& height);
// The same for any mapped window of the display, this program's or another's, by the
// display system's id (GetNativeWindowId, xwininfo); false for an unknown or unmapped one.
bool CaptureNativeWindow(std::uint64_t nativeId, std::vector<std::uint32_t>& pixels, std::int32_t& width,
                         std::int32_t& height);
// The X display connection the windows live on (a Display*), for the GL platform; null
// without one.
void* GetNativeDisplay();
// Realises the window, still hidden, with the X visual of that id, so that GL contexts of
// that visual can draw on it, and gives its X window; 0 when the visual is unknown or the
// window was realised with another one already.
std::uint64_t RealizeWithVisual(WindowHandle window, std::uint64_t visualId);

// Sets a timer that sends WM_TIMER with the id every period (at least 1 ms); setting it
// again restarts it.
bool SetTimer(WindowHandle window, std::uintptr_t id, std::uint32_t periodMs);
bool KillTimer(WindowHandle window, std::uintptr_t id);

} // namespace KR::Platform
