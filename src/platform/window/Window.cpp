#include "platform/window/Window.h"

#include "platform/window/PowerEvents.h"
#include "platform/window/ToolkitTheme.h"
#include "platform/window/WindowInternal.h"

#include <array>
#include <cstdlib>
#include <map>
#include <memory>
#include <utility>

namespace KR::Platform
{

using namespace Detail;

namespace
{

// GDK probes OpenGL while it opens the display, to choose its visuals by what GL can draw
// on. That maps the GL driver and, with Mesa's software driver, LLVM: some 50 MB and tens of
// milliseconds before the first window, for windows that Cairo paints. The OpenGL renderer
// chooses its own visual when it is made (RealizeWithVisual), so GDK's probe serves nothing
// here. A GDK_GL the user set stands; ours is gone again before anything else runs.
bool OpenDisplayWithoutGLProbe()
{
    const bool ours = std::getenv("GDK_GL") == nullptr;
    if (ours)
    {
        setenv("GDK_GL", "disable", 0);
    }
    const bool opened = gtk_init_check(nullptr, nullptr);
    if (ours)
    {
        unsetenv("GDK_GL");
    }
    return opened;
}

const char* CursorName(PointerShape shape)
{
    switch (shape)
    {
    case PointerShape::kAppStarting:
        return "progress";
    case PointerShape::kCross:
        return "crosshair";
    case PointerShape::kDropCopy:
        return "copy";
    case PointerShape::kDropMove:
        return "move";
    case PointerShape::kHand:
        return "pointer";
    case PointerShape::kHelp:
        return "help";
    case PointerShape::kIBeam:
        return "text";
    case PointerShape::kNo:
        return "not-allowed";
    case PointerShape::kSizeAll:
        return "all-scroll";
    case PointerShape::kSizeNESW:
        return "nesw-resize";
    case PointerShape::kSizeNS:
        return "ns-resize";
    case PointerShape::kSizeNWSE:
        return "nwse-resize";
    case PointerShape::kSizeWE:
        return "ew-resize";
    case PointerShape::kWait:
        return "wait";
    case PointerShape::kNone:
    case PointerShape::kArrow:
    case PointerShape::kUpArrow:
        break;
    }
    return "default";
}

GdkCursor* CursorFor(PointerShape shape)
{
    WindowSystem& system = WindowSystem::Get();
    auto& cached = system.cursors[shape];
    if (!cached)
    {
        GdkDisplay* display = gdk_display_get_default();
        if (shape == PointerShape::kNone)
        {
            cached = gdk_cursor_new_for_display(display, GDK_BLANK_CURSOR);
        }
        else
        {
            cached = gdk_cursor_new_from_name(display, CursorName(shape));
            if (!cached)
            {
                // A cursor theme without the name: the core arrow is always there.
                cached = gdk_cursor_new_for_display(display, GDK_LEFT_PTR);
            }
        }
    }
    return cached;
}

} // namespace

void Detail::ApplyCursor(WindowObject& window)
{
    if (GdkWindow* native = gtk_widget_get_window(window.area))
    {
        const bool hidden = WindowSystem::Get().cursorDisplayCount < 0;
        gdk_window_set_cursor(native, CursorFor(hidden ? PointerShape::kNone : window.cursor));
    }
}

namespace
{

gboolean OnTimer(gpointer data);

struct TimerKey
{
    WindowHandle window;
    std::uintptr_t id;
};

gboolean OnTimer(gpointer data)
{
    const auto* key = static_cast<const TimerKey*>(data);
    Detail::Dispatch(key->window, WM_TIMER, key->id, 0);
    return G_SOURCE_CONTINUE;
}

void StopTimer(guint source)
{
    g_source_remove(source);
}

} // namespace

bool InitializeWindowSystem()
{
    WindowSystem& system = WindowSystem::Get();
    if (!system.initialized)
    {
        system.initialized = true;
        DeferToolkitTheme();
        system.available = OpenDisplayWithoutGLProbe();
        if (system.available)
        {
            GtkSettings* settings = gtk_settings_get_default();
            gint time = 400, distance = 5;
            g_object_get(settings, "gtk-double-click-time", &time, "gtk-double-click-distance", &distance,
                         nullptr);
            system.doubleClick.SetLimits(static_cast<std::uint32_t>(time), distance);
            ConnectDisplaySignals();
            WatchPowerEvents();
        }
    }
    return system.available;
}

WindowHandle CreateWindow(const WindowCreateParams& params)
{
    WindowSystem& system = WindowSystem::Get();
    if (!system.available || !params.procedure)
    {
        return 0;
    }
    auto window = std::make_unique<WindowObject>();
    const WindowHandle handle = system.next++;
    window->handle = handle;
    window->procedure = params.procedure;
    window->requested = params.client;
    window->owner = Find(params.owner) ? params.owner : 0;

    GtkWidget* top = gtk_window_new(params.popup ? GTK_WINDOW_POPUP : GTK_WINDOW_TOPLEVEL);
    window->toplevel = top;
    gtk_window_set_title(GTK_WINDOW(top), params.title.c_str());
    if (!params.className.empty())
    {
        G_GNUC_BEGIN_IGNORE_DEPRECATIONS
        gtk_window_set_wmclass(GTK_WINDOW(top), g_get_prgname(), params.className.c_str());
        G_GNUC_END_IGNORE_DEPRECATIONS
    }
    gtk_window_set_resizable(GTK_WINDOW(top), params.resizable);
    gtk_window_set_default_size(GTK_WINDOW(top), std::max(1, params.client.width),
                                std::max(1, params.client.height));
    gtk_window_move(GTK_WINDOW(top), params.client.x, params.client.y);
    if (window->owner)
    {
        gtk_window_set_transient_for(GTK_WINDOW(top), GTK_WINDOW(Find(window->owner)->toplevel));
    }

    GtkWidget* area = gtk_drawing_area_new();
    window->area = area;
    gtk_widget_set_can_focus(area, TRUE);
    gtk_widget_add_events(area, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK |
                                    GDK_LEAVE_NOTIFY_MASK | GDK_ENTER_NOTIFY_MASK | GDK_SCROLL_MASK);
    gtk_container_add(GTK_CONTAINER(top), area);
    window->input = gtk_im_multicontext_new();
    Detail::ApplyFrameParams(*window, params);

    ConnectWindowSignals(*window);
    SetWindowRedrawRequest(KeyOf(handle),
                           [handle](const PixelRect& rect)
                           {
                               const WindowRect area{rect.x, rect.y, rect.width, rect.height};
                               InvalidateRect(handle, &area);
                           });
    system.windows.emplace(handle, std::move(window));
    gtk_widget_show(area);
    return handle;
}

bool DestroyWindow(WindowHandle handle)
{
    if (!Find(handle))
    {
        return false;
    }
    WindowSystem& system = WindowSystem::Get();
    if (system.capture == handle)
    {
        system.capture = 0;
    }
    SendMessage(handle, WM_DESTROY, 0, 0);
    auto it = system.windows.find(handle);
    if (it == system.windows.end())
    {
        return true; // destroyed while handling WM_DESTROY
    }
    std::unique_ptr<WindowObject> window = std::move(it->second);
    system.windows.erase(it);
    SetWindowRedrawRequest(KeyOf(handle), nullptr);
    SetWindowImageMaker(KeyOf(handle), nullptr);
    for (const auto& [id, source] : window->timers)
    {
        StopTimer(source);
    }
    const gpointer data = DataOf(handle);
    g_signal_handlers_disconnect_by_data(window->area, data);
    g_signal_handlers_disconnect_by_data(window->toplevel, data);
    g_signal_handlers_disconnect_by_data(window->input, data);
    gtk_im_context_set_client_window(window->input, nullptr);
    g_object_unref(window->input);
    gtk_widget_destroy(window->toplevel);
    return true;
}

bool IsWindow(WindowHandle handle)
{
    return Find(handle) != nullptr;
}

std::intptr_t SendMessage(WindowHandle handle, std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam)
{
    WindowObject* window = Find(handle);
    return window ? window->procedure->WindowProc(handle, message, wParam, lParam) : 0;
}

bool ShowWindow(WindowHandle handle, int command)
{
    WindowObject* window = Find(handle);
    if (!window)
    {
        return false;
    }
    GtkWindow* top = GTK_WINDOW(window->toplevel);
    const bool wasVisible = gtk_widget_get_visible(window->toplevel);
    switch (command)
    {
    case SW_HIDE:
        gtk_widget_hide(window->toplevel);
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
        gtk_window_iconify(top);
        gtk_widget_show(window->toplevel);
        break;
    case SW_SHOWMAXIMIZED:
        gtk_window_maximize(top);
        gtk_widget_show(window->toplevel);
        break;
    case SW_RESTORE:
        gtk_window_deiconify(top);
        gtk_window_unmaximize(top);
        gtk_widget_show(window->toplevel);
        break;
    case SW_SHOWNA:
        gtk_window_set_focus_on_map(top, FALSE);
        gtk_widget_show(window->toplevel);
        break;
    default:
        gtk_widget_show(window->toplevel);
        break;
    }
    return wasVisible;
}

bool IsWindowVisible(WindowHandle handle)
{
    WindowObject* window = Find(handle);
    return window && gtk_widget_get_visible(window->toplevel);
}

bool SetWindowText(WindowHandle handle, const std::string& utf8)
{
    WindowObject* window = Find(handle);
    if (!window)
    {
        return false;
    }
    gtk_window_set_title(GTK_WINDOW(window->toplevel), utf8.c_str());
    return true;
}

bool InvalidateRect(WindowHandle handle, const WindowRect* rect)
{
    WindowObject* window = Find(handle);
    if (!window)
    {
        return false;
    }
    if (rect)
    {
        gtk_widget_queue_draw_area(window->area, rect->x, rect->y, rect->width, rect->height);
    }
    else
    {
        gtk_widget_queue_draw(window->area);
    }
    return true;
}

bool UpdateWindow(WindowHandle handle)
{
    WindowObject* window = Find(handle);
    if (!window)
    {
        return false;
    }
    if (GdkWindow* native = gtk_widget_get_window(window->toplevel))
    {
        G_GNUC_BEGIN_IGNORE_DEPRECATIONS
        gdk_window_process_updates(native, TRUE);
        G_GNUC_END_IGNORE_DEPRECATIONS
    }
    return true;
}

bool GetUpdateRect(WindowHandle handle, WindowRect& rect)
{
    WindowObject* window = Find(handle);
    if (!window || !window->painting)
    {
        return false;
    }
    rect = window->updateRect;
    return true;
}

bool GetClientRect(WindowHandle handle, WindowRect& rect)
{
    WindowObject* window = Find(handle);
    if (!window)
    {
        return false;
    }
    rect = {0, 0, window->requested.width, window->requested.height};
    return true;
}

bool GetWindowRect(WindowHandle handle, WindowRect& rect)
{
    WindowObject* window = Find(handle);
    if (!window)
    {
        return false;
    }
    GdkWindow* native = gtk_widget_get_window(window->toplevel);
    if (native && gtk_widget_get_mapped(window->toplevel))
    {
        GdkRectangle frame;
        gdk_window_get_frame_extents(native, &frame);
        rect = {frame.x, frame.y, frame.width, frame.height};
    }
    else
    {
        rect = window->requested;
    }
    return true;
}

bool ClientToScreen(WindowHandle handle, WindowPoint& point)
{
    WindowObject* window = Find(handle);
    if (!window)
    {
        return false;
    }
    gint x = window->requested.x, y = window->requested.y;
    if (GdkWindow* native = gtk_widget_get_window(window->area);
        native && gtk_widget_get_mapped(window->area))
    {
        gdk_window_get_origin(native, &x, &y);
    }
    point = {ClampToInt32(double(point.x) + x), ClampToInt32(double(point.y) + y)};
    return true;
}

bool ScreenToClient(WindowHandle handle, WindowPoint& point)
{
    WindowPoint origin;
    if (!ClientToScreen(handle, origin))
    {
        return false;
    }
    point = {ClampToInt32(double(point.x) - origin.x), ClampToInt32(double(point.y) - origin.y)};
    return true;
}

bool SetWindowPos(WindowHandle handle, const WindowRect& client)
{
    WindowObject* window = Find(handle);
    if (!window)
    {
        return false;
    }
    GtkWindow* top = GTK_WINDOW(window->toplevel);
    if (!window->resizable)
    {
        Detail::LockSize(*window, client.width, client.height);
    }
    gtk_window_move(top, client.x, client.y);
    gtk_window_resize(top, std::max(1, client.width), std::max(1, client.height));
    if (!gtk_widget_get_mapped(window->toplevel))
    {
        // The size it will be shown at; no configure event tells a hidden window where it
        // will stand.
        gtk_window_set_default_size(top, std::max(1, client.width), std::max(1, client.height));
        window->requested = {client.x, client.y, std::max(1, client.width), std::max(1, client.height)};
    }
    return true;
}

bool SetTopMost(WindowHandle handle, bool topMost)
{
    WindowObject* window = Find(handle);
    if (!window)
    {
        return false;
    }
    gtk_window_set_keep_above(GTK_WINDOW(window->toplevel), topMost);
    return true;
}

bool BringWindowToTop(WindowHandle handle)
{
    WindowObject* window = Find(handle);
    if (!window)
    {
        return false;
    }
    if (GdkWindow* native = gtk_widget_get_window(window->toplevel))
    {
        gdk_window_raise(native);
    }
    return true;
}

bool PresentWindow(WindowHandle handle)
{
    WindowObject* window = Find(handle);
    if (!window)
    {
        return false;
    }
    gtk_window_deiconify(GTK_WINDOW(window->toplevel));
    gtk_window_present(GTK_WINDOW(window->toplevel));
    if (GdkWindow* native = gtk_widget_get_window(window->toplevel))
    {
        // Without a window manager nothing else restacks it.
        gdk_window_raise(native);
    }
    return true;
}

bool EnableWindow(WindowHandle handle, bool enable)
{
    WindowObject* window = Find(handle);
    if (!window)
    {
        return false;
    }
    gtk_widget_set_sensitive(window->toplevel, enable);
    return true;
}

bool IsWindowEnabled(WindowHandle handle)
{
    WindowObject* window = Find(handle);
    return window && gtk_widget_get_sensitive(window->toplevel);
}

WindowHandle GetOwner(WindowHandle handle)
{
    WindowObject* window = Find(handle);
    return window && Find(window->owner) ? window->owner : 0;
}

WindowHandle GetActiveWindow()
{
    for (const auto& [handle, window] : WindowSystem::Get().windows)
    {
        if (gtk_window_is_active(GTK_WINDOW(window->toplevel)))
        {
            return handle;
        }
    }
    return 0;
}

WindowHandle GetFocus()
{
    for (const auto& [handle, window] : WindowSystem::Get().windows)
    {
        if (gtk_window_has_toplevel_focus(GTK_WINDOW(window->toplevel)))
        {
            return handle;
        }
    }
    return 0;
}

bool SetFocus(WindowHandle handle)
{
    WindowObject* window = Find(handle);
    if (!window)
    {
        return false;
    }
    gtk_widget_grab_focus(window->area);
    if (GdkWindow* native = gtk_widget_get_window(window->toplevel);
        native && gtk_widget_get_mapped(window->toplevel))
    {
        gdk_window_focus(native, GDK_CURRENT_TIME);
    }
    return true;
}

WindowHandle WindowUnderPointer()
{
    if (!WindowSystem::Get().available)
    {
        return 0;
    }
    GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
    GdkWindow* under = gdk_device_get_window_at_position(gdk_seat_get_pointer(seat), nullptr, nullptr);
    if (!under)
    {
        return 0;
    }
    GdkWindow* top = gdk_window_get_toplevel(under);
    for (const auto& [handle, window] : WindowSystem::Get().windows)
    {
        if (gtk_widget_get_window(window->toplevel) == top)
        {
            return handle;
        }
    }
    return 0;
}

WindowHandle SetCapture(WindowHandle handle)
{
    WindowSystem& system = WindowSystem::Get();
    const WindowHandle previous = system.capture;
    system.capture = Find(handle) ? handle : 0;
    if (previous != 0 && previous != system.capture)
    {
        SendMessage(previous, WM_CAPTURECHANGED, 0, static_cast<std::intptr_t>(system.capture));
    }
    return previous;
}

bool ReleaseCapture()
{
    WindowSystem& system = WindowSystem::Get();
    const WindowHandle previous = system.capture;
    system.capture = 0;
    if (previous != 0)
    {
        SendMessage(previous, WM_CAPTURECHANGED, 0, 0);
    }
    return true;
}

WindowHandle GetCapture()
{
    return WindowSystem::Get().capture;
}

bool SetWindowCursor(WindowHandle handle, PointerShape shape)
{
    WindowObject* window = Find(handle);
    if (!window)
    {
        return false;
    }
    window->cursor = shape;
    ApplyCursor(*window);
    return true;
}

bool GetKeyState(std::uint8_t virtualKey)
{
    return WindowSystem::Get().keys.IsDown(virtualKey);
}

int ShowCursor(bool show)
{
    WindowSystem& system = WindowSystem::Get();
    const bool wasHidden = system.cursorDisplayCount < 0;
    system.cursorDisplayCount += show ? 1 : -1;
    if (wasHidden != (system.cursorDisplayCount < 0))
    {
        for (auto& [handle, window] : system.windows)
        {
            ApplyCursor(*window);
        }
    }
    return system.cursorDisplayCount;
}

bool SetCursorPos(std::int32_t x, std::int32_t y)
{
    if (!WindowSystem::Get().available)
    {
        return false;
    }
    GdkDisplay* display = gdk_display_get_default();
    GdkScreen* screen = gdk_display_get_default_screen(display);
    gdk_device_warp(gdk_seat_get_pointer(gdk_display_get_default_seat(display)), screen, x, y);
    gdk_display_flush(display);
    return true;
}

WindowPoint GetCursorPos()
{
    if (!WindowSystem::Get().available)
    {
        return {};
    }
    GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
    gint x = 0, y = 0;
    gdk_device_get_position(gdk_seat_get_pointer(seat), nullptr, &x, &y);
    return {x, y};
}

std::uint32_t GetPointerButtons()
{
    if (!WindowSystem::Get().available)
    {
        return 0;
    }
    GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
    GdkModifierType mask = GdkModifierType(0);
    gdk_device_get_state(gdk_seat_get_pointer(seat), gdk_get_default_root_window(), nullptr, &mask);
    std::uint32_t buttons = 0;
    buttons |= (mask & GDK_BUTTON1_MASK) ? MK_LBUTTON : 0;
    buttons |= (mask & GDK_BUTTON2_MASK) ? MK_MBUTTON : 0;
    buttons |= (mask & GDK_BUTTON3_MASK) ? MK_RBUTTON : 0;
    return buttons;
}

WindowRect GetWorkArea()
{
    if (!WindowSystem::Get().available)
    {
        return {};
    }
    GdkMonitor* monitor = Detail::PrimaryMonitor();
    if (!monitor)
    {
        return {};
    }
    GdkRectangle area;
    gdk_monitor_get_workarea(monitor, &area);
    return {area.x, area.y, area.width, area.height};
}

GdkMonitor* Detail::PrimaryMonitor()
{
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    return monitor ? monitor : gdk_display_get_monitor(display, 0);
}

GdkWindow* Detail::NativeToplevel(WindowHandle handle)
{
    WindowObject* window = Find(handle);
    return window ? gtk_widget_get_window(window->toplevel) : nullptr;
}

GdkWindow* Detail::NativeClient(WindowHandle handle)
{
    WindowObject* window = Find(handle);
    return window ? gtk_widget_get_window(window->area) : nullptr;
}

bool QueuePointerMotion(WindowHandle handle, WindowPoint client)
{
    GdkWindow* native = Detail::NativeClient(handle);
    GdkSeat* seat = native ? gdk_display_get_default_seat(gdk_window_get_display(native)) : nullptr;
    if (!seat)
    {
        return false;
    }
    gint originX = 0, originY = 0;
    gdk_window_get_origin(native, &originX, &originY);
    GdkEvent* event = gdk_event_new(GDK_MOTION_NOTIFY);
    event->motion.window = GDK_WINDOW(g_object_ref(native));
    event->motion.send_event = TRUE;
    event->motion.time = GDK_CURRENT_TIME;
    event->motion.x = client.x;
    event->motion.y = client.y;
    event->motion.x_root = static_cast<gdouble>(originX) + client.x;
    event->motion.y_root = static_cast<gdouble>(originY) + client.y;
    gdk_event_set_device(event, gdk_seat_get_pointer(seat));
    gdk_event_put(event);
    gdk_event_free(event);
    return true;
}

bool SetTimer(WindowHandle handle, std::uintptr_t id, std::uint32_t periodMs)
{
    WindowObject* window = Find(handle);
    if (!window)
    {
        return false;
    }
    if (auto it = window->timers.find(id); it != window->timers.end())
    {
        StopTimer(it->second);
    }
    auto* key = new TimerKey{handle, id};
    GSource* source = g_timeout_source_new(std::max<std::uint32_t>(1, periodMs));
    // A modal loop started from WM_TIMER keeps its window's tick.
    g_source_set_can_recurse(source, TRUE);
    // Ticks rank below drawing: a handler slower than its period would otherwise keep the
    // source always due and the window would never paint.
    g_source_set_priority(source, GDK_PRIORITY_REDRAW + 1);
    g_source_set_callback(source, OnTimer, key, [](gpointer data) { delete static_cast<TimerKey*>(data); });
    window->timers[id] = g_source_attach(source, nullptr);
    g_source_unref(source);
    return true;
}

bool KillTimer(WindowHandle handle, std::uintptr_t id)
{
    WindowObject* window = Find(handle);
    if (!window)
    {
        return false;
    }
    auto it = window->timers.find(id);
    if (it == window->timers.end())
    {
        return false;
    }
    StopTimer(it->second);
    window->timers.erase(it);
    return true;
}

} // namespace KR::Platform
