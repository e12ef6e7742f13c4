#pragma once
// What the parts of the window layer share: the window records, the layer's state, and
// the dispatch that starts the idle passes again.

#include "platform/graphics/Present.h"
#include "platform/window/InputState.h"
#include "platform/window/Messages.h"
#include "platform/window/Window.h"

#include <gtk/gtk.h>

#include <array>
#include <cstdint>
#include <map>
#include <memory>

namespace KR::Platform::Detail
{

struct WindowObject
{
    WindowHandle handle = 0;
    IWindowProcedure* procedure = nullptr;
    GtkWidget* toplevel = nullptr;
    GtkWidget* area = nullptr;
    GtkIMContext* input = nullptr;
    WindowRect requested;
    bool allocated = false;
    bool painting = false;
    WindowRect updateRect;
    bool moved = false;
    WindowPoint lastMove;
    WindowPoint lastPosition{INT32_MIN, INT32_MIN};
    bool minimized = false;
    bool maximized = false;
    std::intptr_t keyParam = 0;
    PointerShape cursor = PointerShape::kArrow;
    WindowHandle owner = 0;
    bool resizable = true;
    bool dialog = false;
    std::uint32_t functions = kWindowFunctionsAll;
    std::map<std::uintptr_t, guint> timers;
};

struct WindowSystem
{
    bool initialized = false;
    bool available = false;
    WindowHandle next = 1;
    std::map<WindowHandle, std::unique_ptr<WindowObject>> windows;
    KeysHeld keys;
    DoubleClickDetector doubleClick;
    WindowHandle capture = 0;
    std::map<PointerShape, GdkCursor*> cursors;
    // ShowCursor's count: the pointer is hidden over our windows while it is below 0.
    int cursorDisplayCount = 0;

    static WindowSystem& Get()
    {
        static WindowSystem system;
        return system;
    }
};

// Gives a message dialog the icon of a message box style's bits (0x10, 0x20, 0x30, 0x40).
void SetMessageIcon(GtkWidget* messageDialog, std::uint32_t style);

inline WindowObject* Find(WindowHandle handle)
{
    WindowSystem& system = WindowSystem::Get();
    auto it = system.windows.find(handle);
    return it == system.windows.end() ? nullptr : it->second.get();
}

inline WindowHandle HandleOf(gpointer data)
{
    return static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(data));
}
inline gpointer DataOf(WindowHandle handle)
{
    return reinterpret_cast<gpointer>(static_cast<std::uintptr_t>(handle));
}
inline WindowKey KeyOf(WindowHandle handle)
{
    return reinterpret_cast<WindowKey>(handle);
}

// Sends a message that came from outside (an event, a posted message, a timer): the
// idle passes start again afterwards unless startsIdle is false.
std::intptr_t Dispatch(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                       std::intptr_t lParam, bool startsIdle = true);

// A message from outside to every window there is, as Dispatch sends it.
void DispatchToEveryWindow(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

// The GDK signals of one window, and the display's own (monitors).
void ConnectWindowSignals(WindowObject& window);
void ConnectDisplaySignals();
void ApplyCursor(WindowObject& window);

// Decorations, frame functions, the dialog hint and the size lock of a new window.
void ApplyFrameParams(WindowObject& window, const WindowCreateParams& params);
// The minimum and maximum size hints of a window that is not resizable.
void LockSize(WindowObject& window, std::int32_t width, std::int32_t height);

// The primary monitor, else the first; null without one.
GdkMonitor* PrimaryMonitor();

// The window's GDK windows, null before it is realised or for no window.
GdkWindow* NativeToplevel(WindowHandle window);
GdkWindow* NativeClient(WindowHandle window);

} // namespace KR::Platform::Detail
