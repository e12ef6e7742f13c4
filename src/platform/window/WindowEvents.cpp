// GDK events become the window's messages here.
#include "platform/window/WindowInternal.h"

namespace KR::Platform::Detail
{
namespace
{

std::uintptr_t MouseKeyFlags(guint state)
{
    const KeysHeld& keys = WindowSystem::Get().keys;
    std::uintptr_t flags = 0;
    flags |= keys.IsDown(VK_LBUTTON) ? MK_LBUTTON : 0;
    flags |= keys.IsDown(VK_RBUTTON) ? MK_RBUTTON : 0;
    flags |= keys.IsDown(VK_MBUTTON) ? MK_MBUTTON : 0;
    flags |= (state & GDK_SHIFT_MASK) ? MK_SHIFT : 0;
    flags |= (state & GDK_CONTROL_MASK) ? MK_CONTROL : 0;
    return flags;
}

std::intptr_t PointParam(double x, double y)
{
    return MakePointParam(ClampToInt32(x), ClampToInt32(y));
}

// Signal handlers: the data is the window's handle, looked up again after every
// message, because a procedure may destroy its window while handling one.

void OnRealize(GtkWidget*, gpointer data)
{
    const WindowHandle handle = HandleOf(data);
    if (WindowObject* window = Find(handle))
    {
        GdkWindow* native = gtk_widget_get_window(window->area);
        gtk_im_context_set_client_window(window->input, native);
        ApplyCursor(*window);
        // Frames drawn into an image the display shares reach the window without being
        // copied on their way (and without a segment of their own for the copy).
        SetWindowImageMaker(KeyOf(handle),
                            [native](std::int32_t width, std::int32_t height) {
                                return gdk_window_create_similar_image_surface(native, CAIRO_FORMAT_ARGB32,
                                                                               width, height, 1);
                            });
    }
}

void OnUnrealize(GtkWidget*, gpointer data)
{
    SetWindowImageMaker(KeyOf(HandleOf(data)), nullptr);
}

gboolean OnDraw(GtkWidget*, cairo_t* context, gpointer data)
{
    const WindowHandle handle = HandleOf(data);
    WindowObject* window = Find(handle);
    GdkRectangle clip;
    if (!window || !gdk_cairo_get_clip_rectangle(context, &clip))
    {
        return TRUE;
    }
    window->painting = true;
    window->updateRect = {clip.x, clip.y, clip.width, clip.height};
    {
        WindowDrawScope scope(KeyOf(handle), context);
        Detail::Dispatch(handle, WM_PAINT, 0, 0, false);
    }
    if ((window = Find(handle)))
    {
        window->painting = false;
    }
    return TRUE;
}

gboolean OnButton(GtkWidget*, GdkEventButton* event, gpointer data)
{
    const WindowHandle handle = HandleOf(data);
    if (!Find(handle) || (event->type != GDK_BUTTON_PRESS && event->type != GDK_BUTTON_RELEASE))
    {
        // The display system's own double and triple clicks: ours are found below.
        return TRUE;
    }
    static constexpr std::uint8_t kKeys[] = {VK_LBUTTON, VK_MBUTTON, VK_RBUTTON};
    static constexpr std::uint32_t kDown[] = {WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN};
    static constexpr std::uint32_t kDouble[] = {WM_LBUTTONDBLCLK, WM_MBUTTONDBLCLK, WM_RBUTTONDBLCLK};
    static constexpr std::uint32_t kUp[] = {WM_LBUTTONUP, WM_MBUTTONUP, WM_RBUTTONUP};
    if (event->button < 1 || event->button > 3)
    {
        return FALSE;
    }
    const std::size_t b = event->button - 1;
    WindowSystem& system = WindowSystem::Get();
    const bool down = event->type == GDK_BUTTON_PRESS;
    system.keys.Set(kKeys[b], down);
    const WindowPoint point{ClampToInt32(event->x), ClampToInt32(event->y)};
    std::uint32_t message = kUp[b];
    if (down)
    {
        message = system.doubleClick.Press(handle, event->button, point, event->time) ? kDouble[b] : kDown[b];
    }
    Detail::Dispatch(handle, message, MouseKeyFlags(event->state), MakePointParam(point.x, point.y));
    return TRUE;
}

gboolean OnMotion(GtkWidget*, GdkEventMotion* event, gpointer data)
{
    const WindowHandle handle = HandleOf(data);
    WindowObject* window = Find(handle);
    if (!window)
    {
        return TRUE;
    }
    const WindowPoint point{ClampToInt32(event->x), ClampToInt32(event->y)};
    // A move to where the pointer already was is no reason for another idle pass.
    const bool same = window->moved && window->lastMove == point;
    window->moved = true;
    window->lastMove = point;
    Detail::Dispatch(handle, WM_MOUSEMOVE, MouseKeyFlags(event->state), MakePointParam(point.x, point.y),
                     !same);
    return TRUE;
}

gboolean OnLeave(GtkWidget*, GdkEventCrossing* event, gpointer data)
{
    const WindowHandle handle = HandleOf(data);
    WindowObject* window = Find(handle);
    if (window && event->mode == GDK_CROSSING_NORMAL && event->detail != GDK_NOTIFY_INFERIOR)
    {
        window->moved = false;
        Detail::Dispatch(handle, WM_MOUSELEAVE, 0, 0);
    }
    return FALSE;
}

gboolean OnScroll(GtkWidget*, GdkEventScroll* event, gpointer data)
{
    const WindowHandle handle = HandleOf(data);
    WindowObject* window = Find(handle);
    if (!window)
    {
        return TRUE;
    }
    int axis = 0;
    std::int16_t delta = 0;
    switch (event->direction)
    {
    case GDK_SCROLL_UP:
        delta = WHEEL_DELTA;
        break;
    case GDK_SCROLL_DOWN:
        delta = -WHEEL_DELTA;
        break;
    case GDK_SCROLL_RIGHT:
        axis = 1;
        delta = WHEEL_DELTA;
        break;
    case GDK_SCROLL_LEFT:
        axis = 1;
        delta = -WHEEL_DELTA;
        break;
    case GDK_SCROLL_SMOOTH:
        // Not asked for: smooth deltas of the X input extension are measured from the
        // last one seen, and any window that appears on the display resets that, so the
        // first notch after it would be lost. Whole notches never are.
        return TRUE;
    }
    Detail::Dispatch(handle, axis == 0 ? WM_MOUSEWHEEL : WM_MOUSEHWHEEL,
                     MakeWheelParam(delta, MouseKeyFlags(event->state)),
                     PointParam(event->x_root, event->y_root));
    return TRUE;
}

VirtualKeyOf KeyOfEvent(const GdkEventKey* event)
{
    // The keypad answers with what NumLock makes of it; every other key with the symbol
    // on its first level, so Shift+1 is still the key 1.
    if (event->keyval >= 0xFF80 && event->keyval <= 0xFFBD)
    {
        return VirtualKeyFromKeySymbol(event->keyval);
    }
    guint first = 0;
    GdkKeymap* keymap = gdk_keymap_get_for_display(gdk_window_get_display(event->window));
    if (gdk_keymap_translate_keyboard_state(keymap, event->hardware_keycode, GdkModifierType(0), event->group,
                                            &first, nullptr, nullptr, nullptr))
    {
        const VirtualKeyOf key = VirtualKeyFromKeySymbol(first);
        if (key.vk != 0)
        {
            return key;
        }
    }
    return VirtualKeyFromKeySymbol(event->keyval);
}

gboolean OnKey(GtkWidget*, GdkEventKey* event, gpointer data)
{
    const WindowHandle handle = HandleOf(data);
    WindowObject* window = Find(handle);
    if (!window)
    {
        return TRUE;
    }
    WindowSystem& system = WindowSystem::Get();
    const VirtualKeyOf key = KeyOfEvent(event);
    const bool down = event->type == GDK_KEY_PRESS;
    // Alt as it was before this event: its own release still counts as a system key.
    const bool altBefore = system.keys.IsAltDown();
    bool wasDown = !down;
    if (key.held != 0)
    {
        const bool held = system.keys.Set(key.held, down);
        wasDown = down ? held : true;
    }
    const bool system_key =
        down ? (system.keys.IsAltDown() || key.vk == 0x79) : (altBefore || key.vk == 0x79);
    std::intptr_t param = system.keys.KeyParam(down, wasDown, event->hardware_keycode);
    if (!down && altBefore)
    {
        param |= kKeyContextBit;
    }
    const std::uint32_t message =
        down ? (system_key ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system_key ? WM_SYSKEYUP : WM_KEYUP);
    window->keyParam = param;
    Detail::Dispatch(handle, message, key.vk, param);
    if ((window = Find(handle)))
    {
        gtk_im_context_filter_keypress(window->input, event);
    }
    return TRUE;
}

void OnCommit(GtkIMContext*, const gchar* text, gpointer data)
{
    const WindowHandle handle = HandleOf(data);
    glong count = 0;
    gunichar2* units = g_utf8_to_utf16(text, -1, nullptr, &count, nullptr);
    for (glong i = 0; units && i < count; ++i)
    {
        WindowObject* window = Find(handle);
        if (!window)
        {
            break;
        }
        Detail::Dispatch(handle, WM_CHAR, units[i],
                         window->keyParam & ~(kKeyPreviousBit | kKeyTransitionBit));
    }
    g_free(units);
}

gboolean OnFocus(GtkWidget*, GdkEventFocus* event, gpointer data)
{
    const WindowHandle handle = HandleOf(data);
    WindowObject* window = Find(handle);
    if (!window)
    {
        return FALSE;
    }
    if (event->in)
    {
        gtk_im_context_focus_in(window->input);
        Detail::Dispatch(handle, WM_SETFOCUS, 0, 0);
    }
    else
    {
        // The releases of keys held now go to another window.
        WindowSystem::Get().keys.Clear();
        gtk_im_context_focus_out(window->input);
        Detail::Dispatch(handle, WM_KILLFOCUS, 0, 0);
    }
    return FALSE;
}

void OnSizeAllocate(GtkWidget*, GdkRectangle* allocation, gpointer data)
{
    const WindowHandle handle = HandleOf(data);
    WindowObject* window = Find(handle);
    if (!window)
    {
        return;
    }
    window->allocated = true;
    window->requested.width = allocation->width;
    window->requested.height = allocation->height;
    const std::uintptr_t type = window->minimized   ? SIZE_MINIMIZED
                                : window->maximized ? SIZE_MAXIMIZED
                                                    : SIZE_RESTORED;
    Detail::Dispatch(handle, WM_SIZE, type, MakePointParam(allocation->width, allocation->height));
}

gboolean OnConfigure(GtkWidget*, GdkEventConfigure* event, gpointer data)
{
    const WindowHandle handle = HandleOf(data);
    WindowObject* window = Find(handle);
    if (window && (event->x != window->lastPosition.x || event->y != window->lastPosition.y))
    {
        window->lastPosition = {event->x, event->y};
        window->requested.x = event->x;
        window->requested.y = event->y;
        Detail::Dispatch(handle, WM_MOVE, 0, MakePointParam(event->x, event->y));
    }
    return FALSE;
}

gboolean OnWindowState(GtkWidget*, GdkEventWindowState* event, gpointer data)
{
    const WindowHandle handle = HandleOf(data);
    WindowObject* window = Find(handle);
    if (!window)
    {
        return FALSE;
    }
    const bool wasMinimized = window->minimized;
    window->minimized = (event->new_window_state & GDK_WINDOW_STATE_ICONIFIED) != 0;
    window->maximized = (event->new_window_state & GDK_WINDOW_STATE_MAXIMIZED) != 0;
    if (window->minimized && !wasMinimized)
    {
        Detail::Dispatch(handle, WM_SIZE, SIZE_MINIMIZED,
                         MakePointParam(window->requested.width, window->requested.height));
    }
    return FALSE;
}

gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data)
{
    Detail::Dispatch(HandleOf(data), WM_SYSCOMMAND, SC_CLOSE, 0);
    return TRUE; // the procedure decides whether the window goes
}

gboolean OnGrabBroken(GtkWidget*, GdkEventGrabBroken*, gpointer data)
{
    const WindowHandle handle = HandleOf(data);
    WindowSystem& system = WindowSystem::Get();
    if (system.capture == handle)
    {
        system.capture = 0;
        Detail::Dispatch(handle, WM_CAPTURECHANGED, 0, 0);
    }
    return FALSE;
}

void OnMonitorsChanged(GdkScreen*, gpointer)
{
    DispatchToEveryWindow(WM_DISPLAYCHANGE, 0, 0);
}

} // namespace

void ConnectWindowSignals(WindowObject& window)
{
    GtkWidget* area = window.area;
    GtkWidget* top = window.toplevel;
    const gpointer data = DataOf(window.handle);
    g_signal_connect(area, "realize", G_CALLBACK(OnRealize), data);
    g_signal_connect(area, "unrealize", G_CALLBACK(OnUnrealize), data);
    g_signal_connect(area, "draw", G_CALLBACK(OnDraw), data);
    g_signal_connect(area, "button-press-event", G_CALLBACK(OnButton), data);
    g_signal_connect(area, "button-release-event", G_CALLBACK(OnButton), data);
    g_signal_connect(area, "motion-notify-event", G_CALLBACK(OnMotion), data);
    g_signal_connect(area, "leave-notify-event", G_CALLBACK(OnLeave), data);
    g_signal_connect(area, "scroll-event", G_CALLBACK(OnScroll), data);
    g_signal_connect(area, "grab-broken-event", G_CALLBACK(OnGrabBroken), data);
    g_signal_connect(area, "size-allocate", G_CALLBACK(OnSizeAllocate), data);
    g_signal_connect(top, "key-press-event", G_CALLBACK(OnKey), data);
    g_signal_connect(top, "key-release-event", G_CALLBACK(OnKey), data);
    g_signal_connect(top, "focus-in-event", G_CALLBACK(OnFocus), data);
    g_signal_connect(top, "focus-out-event", G_CALLBACK(OnFocus), data);
    g_signal_connect(top, "configure-event", G_CALLBACK(OnConfigure), data);
    g_signal_connect(top, "window-state-event", G_CALLBACK(OnWindowState), data);
    g_signal_connect(top, "delete-event", G_CALLBACK(OnDelete), data);
    g_signal_connect(window.input, "commit", G_CALLBACK(OnCommit), data);
}

void DispatchToEveryWindow(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)
{
    // A window's procedure may close windows; each is looked up again before its turn.
    std::vector<WindowHandle> handles;
    for (const auto& [handle, window] : WindowSystem::Get().windows)
    {
        handles.push_back(handle);
    }
    for (WindowHandle handle : handles)
    {
        if (Find(handle))
        {
            Dispatch(handle, message, wParam, lParam);
        }
    }
}

void ConnectDisplaySignals()
{
    g_signal_connect(gdk_screen_get_default(), "monitors-changed", G_CALLBACK(OnMonitorsChanged), nullptr);
    g_signal_connect(gdk_screen_get_default(), "size-changed", G_CALLBACK(OnMonitorsChanged), nullptr);
}

} // namespace KR::Platform::Detail
