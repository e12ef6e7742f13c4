#pragma once
// Finished frames reach a window only while the window layer draws it: GTK hands the
// window layer a Cairo context in its "draw" signal, the window layer opens a
// WindowDrawScope with it for the window's handle, and frames that end meanwhile copy
// their dirty rectangles into it. A frame that ends outside a draw asks the window to be
// drawn again over those rectangles instead; its back buffer keeps the pixels until then.
//
// Window handles are opaque here; the UI thread is the only caller.

#include "platform/graphics/Surface.h"

#include <functional>
#include <vector>

struct _cairo;

namespace KR::Platform
{

using WindowKey = const void*;

class WindowDrawScope
{
public:
    // A draw of `window` into a Cairo context in progress (the window layer's form).
    WindowDrawScope(WindowKey window, _cairo* context);
    // A draw into an image (offscreen targets and tests).
    WindowDrawScope(WindowKey window, Surface& target);
    ~WindowDrawScope();
    WindowDrawScope(const WindowDrawScope&) = delete;
    WindowDrawScope& operator=(const WindowDrawScope&) = delete;

private:
    WindowKey window_;
    _cairo* context_;
};

// How a window asks to be drawn again over a rectangle (gtk_widget_queue_draw_area in the
// window layer). Null removes it.
void SetWindowRedrawRequest(WindowKey window, std::function<void(const PixelRect&)> request);

// How a window makes images for its frames that its draws take without a copy (in memory
// the display server shares, where it can): set by the window layer once the window has
// its native side, removed (null) before that goes. The maker gives a Cairo image surface
// of the size that starts transparent (cairo_surface_create_similar_image's), or null.
using WindowImageMaker = std::function<_cairo_surface*(std::int32_t width, std::int32_t height)>;
void SetWindowImageMaker(WindowKey window, WindowImageMaker maker);
bool CanMakeWindowImage(WindowKey window);
// An image for the frames of `window` from its maker (Surface::IsFromDisplay), else an
// ordinary one; either starts transparent.
Surface MakeWindowImage(WindowKey window, std::int32_t width, std::int32_t height);

// Copies the rectangles of the image (from the last to the first, replacing what is
// there) into the draw of `window` in progress and returns true; without one, asks for
// the rectangles to be drawn again and returns false.
bool PresentToWindow(WindowKey window, const Surface& image, const std::vector<PixelRect>& rectangles);

} // namespace KR::Platform
