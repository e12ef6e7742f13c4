#include "platform/graphics/Present.h"

#include <cairo.h>

#include <map>
#include <mutex>
#include <utility>

namespace KR::Platform
{
namespace
{

struct WindowTargets
{
    std::mutex mutex;
    std::map<WindowKey, cairo_t*> drawing;
    std::map<WindowKey, std::function<void(const PixelRect&)>> redraw;
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

void SetWindowRedrawRequest(WindowKey window, std::function<void(const PixelRect&)> request)
{
    WindowTargets& targets = Targets();
    std::lock_guard lock(targets.mutex);
    if (request)
    {
        targets.redraw[window] = std::move(request);
    }
    else
    {
        targets.redraw.erase(window);
    }
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
    for (auto it = rectangles.rbegin(); it != rectangles.rend(); ++it)
    {
        cairo_new_path(context);
        cairo_rectangle(context, it->x, it->y, it->width, it->height);
        cairo_fill(context);
    }
    cairo_restore(context);
    return true;
}

} // namespace KR::Platform
