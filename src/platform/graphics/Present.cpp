#include "platform/graphics/Present.h"

#include <X11/Xlib.h>
#include <cairo-xlib.h>
#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <mutex>
#include <utility>

namespace KR::Platform
{
namespace
{

// Cairo sends an ordinary image to an X window through a shared-memory segment the size of
// the part it sends, and a segment is free again only once the server has read it. A whole
// frame sent at once held a segment as large as the window (3.5 MB for the editor's, the
// largest part of its peak memory beyond the bare toolkit's). A rectangle larger than this
// goes in bands of about this size, with the server caught up between them, so one band's
// segment serves them all; catching up costs a round trip, so smaller rectangles (every
// update but a whole frame) go at once, as do all rectangles to targets other than X and
// all from an image the display made: the server reads that one where it lies.
constexpr std::int64_t kPresentBandBytes = std::int64_t{512} * 1024;

// Rows of `rectangle` sent between two catch-ups with the server: all of them but for a
// large rectangle of an ordinary image on an X target.
std::int64_t BandRows(const Surface& image, cairo_surface_t* target, const PixelRect& rectangle)
{
    const std::int64_t rowBytes = std::int64_t{rectangle.width} * 4;
    if (image.IsFromDisplay() || cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_XLIB || rowBytes <= 0 ||
        rowBytes * rectangle.height <= kPresentBandBytes)
    {
        return std::max<std::int64_t>(rectangle.height, 1);
    }
    return std::max<std::int64_t>(kPresentBandBytes / rowBytes, 1);
}

// Waits until the X server has read all that was sent to the X target: the segments of
// the bands sent are then free for the next.
void CatchUpWithTheServer(cairo_surface_t* target)
{
    cairo_surface_flush(target);
    XSync(cairo_xlib_surface_get_display(target), False);
}

struct WindowTargets
{
    std::mutex mutex;
    std::map<WindowKey, cairo_t*> drawing;
    std::map<WindowKey, std::function<void(const PixelRect&)>> redraw;
    std::map<WindowKey, WindowImageMaker> makers;
};

WindowTargets& Targets()
{
    static WindowTargets targets;
    return targets;
}

} // namespace

WindowDrawScope::WindowDrawScope(WindowKey window, cairo_t* context)
    : window_(window), context_(cairo_reference(context))
{
    WindowTargets& targets = Targets();
    std::lock_guard lock(targets.mutex);
    targets.drawing[window_] = context_;
}

WindowDrawScope::WindowDrawScope(WindowKey window, Surface& target)
    : window_(window), context_(cairo_create(target.GetNative()))
{
    WindowTargets& targets = Targets();
    std::lock_guard lock(targets.mutex);
    targets.drawing[window_] = context_;
}

WindowDrawScope::~WindowDrawScope()
{
    {
        WindowTargets& targets = Targets();
        std::lock_guard lock(targets.mutex);
        auto it = targets.drawing.find(window_);
        if (it != targets.drawing.end() && it->second == context_)
        {
            targets.drawing.erase(it);
        }
    }
    cairo_destroy(context_);
}

namespace
{

// An empty function takes the window's entry away.
template <typename Function>
void SetOrClear(std::map<WindowKey, Function> WindowTargets::*entries, WindowKey window, Function function)
{
    WindowTargets& targets = Targets();
    std::lock_guard lock(targets.mutex);
    if (function)
    {
        (targets.*entries)[window] = std::move(function);
    }
    else
    {
        (targets.*entries).erase(window);
    }
}

} // namespace

void SetWindowRedrawRequest(WindowKey window, std::function<void(const PixelRect&)> request)
{
    SetOrClear(&WindowTargets::redraw, window, std::move(request));
}

void SetWindowImageMaker(WindowKey window, WindowImageMaker maker)
{
    SetOrClear(&WindowTargets::makers, window, std::move(maker));
}

bool CanMakeWindowImage(WindowKey window)
{
    WindowTargets& targets = Targets();
    std::lock_guard lock(targets.mutex);
    return targets.makers.count(window) != 0;
}

Surface MakeWindowImage(WindowKey window, std::int32_t width, std::int32_t height)
{
    WindowImageMaker maker;
    {
        WindowTargets& targets = Targets();
        std::lock_guard lock(targets.mutex);
        if (auto it = targets.makers.find(window); it != targets.makers.end())
        {
            maker = it->second;
        }
    }
    const std::int32_t w = std::max(width, 1);
    const std::int32_t h = std::max(height, 1);
    return maker ? Surface::FromDisplay(maker(w, h), w, h) : Surface(w, h);
}

bool PresentToWindow(WindowKey window, const Surface& image, const std::vector<PixelRect>& rectangles)
{
    cairo_t* context = nullptr;
    std::function<void(const PixelRect&)> request;
    {
        WindowTargets& targets = Targets();
        std::lock_guard lock(targets.mutex);
        auto drawing = targets.drawing.find(window);
        if (drawing != targets.drawing.end())
        {
            context = drawing->second;
        }
        else if (auto redraw = targets.redraw.find(window); redraw != targets.redraw.end())
        {
            request = redraw->second;
        }
    }
    if (!context)
    {
        if (request)
        {
            for (auto it = rectangles.rbegin(); it != rectangles.rend(); ++it)
            {
                request(*it);
            }
        }
        return false;
    }
    cairo_surface_flush(image.GetNative());
    cairo_save(context);
    cairo_set_operator(context, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(context, image.GetNative(), 0, 0);
    cairo_surface_t* target = cairo_get_group_target(context);
    bool waiting = false;
    for (auto it = rectangles.rbegin(); it != rectangles.rend(); ++it)
    {
        const std::int64_t bottom = std::int64_t{it->y} + it->height;
        const std::int64_t band = BandRows(image, target, *it);
        for (std::int64_t y = it->y; y < bottom; y += band)
        {
            if (waiting)
            {
                CatchUpWithTheServer(target);
                waiting = false;
            }
            const std::int64_t rows = std::min(band, bottom - y);
            cairo_new_path(context);
            cairo_rectangle(context, it->x, static_cast<double>(y), it->width, static_cast<double>(rows));
            cairo_fill(context);
            waiting = rows < it->height;
        }
    }
    cairo_restore(context);
    return true;
}

} // namespace KR::Platform
