// What the desktop draws and offers around a window: decorations, the frame's functions
// (the Motif hints), the dialog hint, the size lock of a fixed window and the icons; and
// what the desktop tells of its place: minimised, and the monitor that holds it.

#include "platform/window/WindowInternal.h"

#include <algorithm>

namespace KR::Platform
{

using Detail::Find;
using Detail::WindowObject;

namespace
{

GdkWMFunction FunctionsOf(std::uint32_t functions, bool resizable)
{
    // Never GDK_FUNC_ALL: with it every bit given means "all but this one".
    unsigned bits = GDK_FUNC_MOVE;
    const auto offered = [](bool on, GdkWMFunction function)
    { return on ? static_cast<unsigned>(function) : 0u; };
    bits |= offered(resizable, GDK_FUNC_RESIZE);
    bits |= offered((functions & kWindowFunctionClose) != 0, GDK_FUNC_CLOSE);
    bits |= offered((functions & kWindowFunctionMinimize) != 0, GDK_FUNC_MINIMIZE);
    bits |= offered((functions & kWindowFunctionMaximize) != 0, GDK_FUNC_MAXIMIZE);
    return static_cast<GdkWMFunction>(bits);
}

// After GTK's own realize, which writes its hints first.
void OnToplevelRealize(GtkWidget* top, gpointer data)
{
    const WindowObject* window = Find(Detail::HandleOf(data));
    GdkWindow* native = gtk_widget_get_window(top);
    if (window && native)
    {
        gdk_window_set_functions(native, FunctionsOf(window->functions, window->resizable));
        // Modal for the desktop only: the modal loop disables the owner itself, and GTK's own
        // modality would add an input grab that outlives the dialog.
        gdk_window_set_modal_hint(native, window->dialog);
    }
}

GdkPixbuf* PixbufOf(const IconImage& icon)
{
    if (icon.width <= 0 || icon.height <= 0 ||
        icon.pixels.size() != static_cast<std::size_t>(icon.width) * static_cast<std::size_t>(icon.height))
    {
        return nullptr;
    }
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, icon.width, icon.height);
    if (!pixbuf)
    {
        return nullptr;
    }
    guchar* rows = gdk_pixbuf_get_pixels(pixbuf);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    for (int y = 0; y < icon.height; ++y)
    {
        guchar* out = rows + static_cast<std::ptrdiff_t>(y) * stride;
        for (int x = 0; x < icon.width; ++x)
        {
            const std::uint32_t argb = icon.pixels[static_cast<std::size_t>(y) * icon.width + x];
            *out++ = static_cast<guchar>(argb >> 16);
            *out++ = static_cast<guchar>(argb >> 8);
            *out++ = static_cast<guchar>(argb);
            *out++ = static_cast<guchar>(argb >> 24);
        }
    }
    return pixbuf;
}

bool Contains(const GdkRectangle& area, int x, int y)
{
    return x >= area.x && y >= area.y && x < area.x + area.width && y < area.y + area.height;
}

} // namespace

void Detail::ApplyFrameParams(WindowObject& window, const WindowCreateParams& params)
{
    window.resizable = params.resizable;
    window.functions = params.functions;
    if (params.popup)
    {
        return;
    }
    GtkWindow* top = GTK_WINDOW(window.toplevel);
    gtk_window_set_decorated(top, params.decorated);
    window.dialog = params.dialog;
    if (params.dialog)
    {
        gtk_window_set_type_hint(top, GDK_WINDOW_TYPE_HINT_DIALOG);
    }
    if (!params.resizable)
    {
        LockSize(window, params.client.width, params.client.height);
    }
    g_signal_connect(window.toplevel, "realize", G_CALLBACK(OnToplevelRealize),
                     Detail::DataOf(window.handle));
}

void Detail::LockSize(WindowObject& window, std::int32_t width, std::int32_t height)
{
    // The desktop reads a fixed window from its hints: the minimum equal to the maximum. GTK
    // sizes a window that is not resizable by what its content asks for, so the drawing
    // area asks for exactly that size.
    gtk_widget_set_size_request(window.area, std::max(1, width), std::max(1, height));
    GdkGeometry geometry{};
    geometry.min_width = geometry.max_width = std::max(1, width);
    geometry.min_height = geometry.max_height = std::max(1, height);
    gtk_window_set_geometry_hints(GTK_WINDOW(window.toplevel), nullptr, &geometry,
                                  static_cast<GdkWindowHints>(GDK_HINT_MIN_SIZE | GDK_HINT_MAX_SIZE));
}

bool SetWindowIcons(WindowHandle handle, const std::vector<IconImage>& icons)
{
    WindowObject* window = Find(handle);
    if (!window)
    {
        return false;
    }
    GList* list = nullptr;
    for (const IconImage& icon : icons)
    {
        if (GdkPixbuf* pixbuf = PixbufOf(icon))
        {
            list = g_list_append(list, pixbuf);
        }
    }
    gtk_window_set_icon_list(GTK_WINDOW(window->toplevel), list);
    g_list_free_full(list, g_object_unref);
    return true;
}

bool IsIconic(WindowHandle handle)
{
    const WindowObject* window = Find(handle);
    return window && window->minimized;
}

WindowRect GetMonitorRect(WindowHandle handle)
{
    if (!Detail::WindowSystem::Get().available)
    {
        return {};
    }
    GdkDisplay* display = gdk_display_get_default();
    WindowRect rect;
    if (GetWindowRect(handle, rect))
    {
        const int x = rect.x + rect.width / 2;
        const int y = rect.y + rect.height / 2;
        for (int index = 0, count = gdk_display_get_n_monitors(display); index < count; ++index)
        {
            GdkRectangle area;
            gdk_monitor_get_geometry(gdk_display_get_monitor(display, index), &area);
            if (Contains(area, x, y))
            {
                return {area.x, area.y, area.width, area.height};
            }
        }
    }
    GdkMonitor* monitor = Detail::PrimaryMonitor();
    if (!monitor)
    {
        return {};
    }
    GdkRectangle area;
    gdk_monitor_get_geometry(monitor, &area);
    return {area.x, area.y, area.width, area.height};
}

} // namespace KR::Platform
