// Kept apart from Window.cpp: the X11 headers define names (CursorShape among them) as
// macros, which collide with plain names elsewhere.
#include "platform/window/Window.h"
#include "platform/window/WindowInternal.h"

#include <X11/Xutil.h>
#include <gdk/gdkx.h>

namespace KR::Platform
{
namespace
{

// The window's pixels as 0xAARRGGBB row by row, from the display server.
bool ReadGdkWindowPixels(GdkWindow* native, std::vector<std::uint32_t>& pixels, std::int32_t& width,
                         std::int32_t& height)
{
    width = gdk_window_get_width(native);
    height = gdk_window_get_height(native);
    GdkPixbuf* image = gdk_pixbuf_get_from_window(native, 0, 0, width, height);
    if (!image)
    {
        return false;
    }
    const int channels = gdk_pixbuf_get_n_channels(image);
    const int stride = gdk_pixbuf_get_rowstride(image);
    const guchar* bytes = gdk_pixbuf_read_pixels(image);
    pixels.assign(static_cast<std::size_t>(width) * height, 0);
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            const guchar* p = bytes + y * stride + x * channels;
            const std::uint32_t alpha = channels == 4 ? p[3] : 0xFF;
            pixels[static_cast<std::size_t>(y) * width + x] =
                (alpha << 24) | (p[0] << 16) | (p[1] << 8) | p[2];
        }
    }
    g_object_unref(image);
    return true;
}

} // namespace

std::uint64_t GetNativeWindowId(WindowHandle handle)
{
    GdkWindow* native = Detail::NativeToplevel(handle);
    if (!native || !GDK_IS_X11_WINDOW(native))
    {
        return 0;
    }
    return gdk_x11_window_get_xid(native);
}

namespace
{

void SendDeleteRequest(Display* display, ::Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

} // namespace

bool SendNativeCloseRequest(std::uint64_t nativeId)
{
    GdkDisplay* display = gdk_display_get_default();
    if (nativeId == 0 || !display || !GDK_IS_X11_DISPLAY(display))
    {
        return false;
    }
    gdk_x11_display_error_trap_push(display);
    SendDeleteRequest(GDK_DISPLAY_XDISPLAY(display), static_cast<::Window>(nativeId));
    return gdk_x11_display_error_trap_pop(display) == 0;
}

bool SendDesktopCloseRequest(WindowHandle handle)
{
    GdkWindow* native = Detail::NativeToplevel(handle);
    if (!native || !GDK_IS_X11_WINDOW(native))
    {
        return false;
    }
    SendDeleteRequest(GDK_WINDOW_XDISPLAY(native), GDK_WINDOW_XID(native));
    return true;
}

bool ReadWindowPixels(WindowHandle handle, std::vector<std::uint32_t>& pixels, std::int32_t& width,
                      std::int32_t& height)
{
    GdkWindow* native = Detail::NativeClient(handle);
    if (!native || !gdk_window_is_viewable(native))
    {
        return false;
    }
    return ReadGdkWindowPixels(native, pixels, width, height);
}

bool CaptureNativeWindow(std::uint64_t id, std::vector<std::uint32_t>& pixels, std::int32_t& width,
                         std::int32_t& height)
{
    GdkDisplay* display = gdk_display_get_default();
    if (id == 0 || !display || !GDK_IS_X11_DISPLAY(display))
    {
        return false;
    }
    for (const auto& [handle, window] : Detail::WindowSystem::Get().windows)
    {
        GdkWindow* own = Detail::NativeToplevel(handle);
        if (own != nullptr && GDK_IS_X11_WINDOW(own) && GDK_WINDOW_XID(own) == id)
        {
            return gdk_window_is_viewable(own) && ReadGdkWindowPixels(own, pixels, width, height);
        }
    }
    // Another program's window may go at any moment: its errors are trapped, not fatal.
    // Read through Xlib, not a GDK wrapper: GDK keeps wrappers of foreign windows by id, and
    // a later program's window with the same id would come back with the old one's size.
    Display* xdisplay = GDK_DISPLAY_XDISPLAY(display);
    gdk_x11_display_error_trap_push(display);
    XWindowAttributes attributes{};
    XImage* image = nullptr;
    if (XGetWindowAttributes(xdisplay, static_cast<::Window>(id), &attributes) != 0 &&
        attributes.map_state == IsViewable && attributes.width > 0 && attributes.height > 0)
    {
        image = XGetImage(xdisplay, static_cast<::Window>(id), 0, 0, static_cast<unsigned>(attributes.width),
                          static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    }
    const bool trapped = gdk_x11_display_error_trap_pop(display) != 0;
    if (image == nullptr)
    {
        return false;
    }
    const bool read = !trapped && image->bits_per_pixel == 32 && attributes.visual != nullptr &&
                      attributes.visual->red_mask == 0xFF0000 && attributes.visual->green_mask == 0xFF00 &&
                      attributes.visual->blue_mask == 0xFF;
    if (read)
    {
        width = attributes.width;
        height = attributes.height;
        pixels.assign(static_cast<std::size_t>(width) * height, 0);
        for (int y = 0; y < height; ++y)
        {
            for (int x = 0; x < width; ++x)
            {
                pixels[static_cast<std::size_t>(y) * width + x] =
                    0xFF000000u | (static_cast<std::uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFFu);
            }
        }
    }
    XDestroyImage(image);
    return read;
}

void* GetNativeDisplay()
{
    GdkDisplay* display = gdk_display_get_default();
    if (!display || !GDK_IS_X11_DISPLAY(display))
    {
        return nullptr;
    }
    return gdk_x11_display_get_xdisplay(display);
}

std::uint64_t RealizeWithVisual(WindowHandle handle, std::uint64_t visualId)
{
    Detail::WindowObject* window = Detail::Find(handle);
    if (!window)
    {
        return 0;
    }
    GtkWidget* top = window->toplevel;
    if (gtk_widget_get_realized(top))
    {
        GdkWindow* native = gtk_widget_get_window(top);
        if (!GDK_IS_X11_WINDOW(native) ||
            XVisualIDFromVisual(gdk_x11_visual_get_xvisual(gdk_window_get_visual(native))) != visualId)
        {
            return 0;
        }
        return gdk_x11_window_get_xid(native);
    }
    GdkScreen* screen = gtk_widget_get_screen(top);
    if (!GDK_IS_X11_SCREEN(screen))
    {
        return 0;
    }
    GdkVisual* visual = gdk_x11_screen_lookup_visual(screen, static_cast<VisualID>(visualId));
    if (!visual)
    {
        return 0;
    }
    gtk_widget_set_visual(top, visual);
    gtk_widget_realize(top);
    GdkWindow* native = gtk_widget_get_window(top);
    return native && GDK_IS_X11_WINDOW(native) ? gdk_x11_window_get_xid(native) : 0;
}

} // namespace KR::Platform
