// Rectangles, lines, coloured rectangle lists and the four polyline operations of the 2D
// renderer, whose outlines stay in the path cache between frames.

#include "kr/render/gdi/GDIRenderer.h"

#include <algorithm>
#include <cmath>

namespace KR
{
namespace
{

// Offsets are held to +-2^52, where a double still holds every whole number.
double ClampOffset(float value)
{
    return std::clamp(static_cast<double>(value), -kMaxExactDouble, kMaxExactDouble);
}

bool IsOne(float scale)
{
    return std::fabs(scale - 1.0f) <= 1.1920929e-6f;
}

} // namespace

Result LGDIRenderer::DrawRect(const RectI& rect, const ColorF& color, float penWidth)
{
    if (mCurrent)
    {
        Graphics().StrokeRect(rect.x, rect.y, rect.width, rect.height, color.GetARGB(), penWidth);
    }
    return kOk;
}

Result LGDIRenderer::FillRect(const RectI& rect, const ColorF& color, bool blend)
{
    if (!mCurrent)
    {
        return kOk;
    }
    LGDIRendererOffscreenSurface& front = *mCurrent->GetFrontSurface();
    if (blend)
    {
        Graphics().FillRect(rect.x, rect.y, rect.width, rect.height, color.GetARGB());
    }
    else
    {
        front.GetGraphics().Flush();
        front.GetBitmap().WritePixels(Platform::PixelRect{rect.x, rect.y, rect.width, rect.height},
                                      color.GetARGB());
    }
    return kOk;
}

Result LGDIRenderer::FillColorRects(ColorRectListT<float>& rects, const PointD& offset, bool)
{
    Translate(offset);
    const std::size_t count = std::min(rects.rects.size(), rects.colors.size());
    // Last to first, so the first rectangle of the list ends on top.
    for (std::size_t i = count; i-- > 0;)
    {
        const RectT<float>& r = rects.rects[i];
        const RectI whole{RoundToInt32(r.x * rects.scaleX), RoundToInt32(r.y * rects.scaleY),
                          RoundToInt32(r.width * rects.scaleX), RoundToInt32(r.height * rects.scaleY)};
        ColorF color;
        color.SetARGB(rects.colors[i]);
        FillRect(whole, color, true);
    }
    Translate(PointD{-offset.x, -offset.y});
    return kOk;
}

Result LGDIRenderer::DrawLine(const PointT<float>& from, const PointT<float>& to, const ColorF& color,
                              float penWidth)
{
    if (mCurrent)
    {
        Graphics().DrawLine(from.x, from.y, to.x, to.y, color.GetARGB(), penWidth);
    }
    return kOk;
}

Result LGDIRenderer::DrawPath(PolylineT<float>& line, const ColorF& color, const PointT<float>& offset,
                              const PointT<float>& scale, bool keepCached, PathKind kind, bool fill)
{
    if (!mCurrent)
    {
        return kOk;
    }
    RCPtr<LGraphicsPath>& slot = mPathCache.GetEntry(line, false);
    if (line.changed)
    {
        line.changed = false;
        slot = nullptr;
    }
    if (!slot)
    {
        slot = RCPtr<LGraphicsPath>(new LGraphicsPath);
        Platform::Path& path = slot->path;
        const std::vector<PointT<float>>& points = line.points;
        std::vector<float> xy;
        xy.reserve(2 * points.size());
        for (const PointT<float>& p : points)
        {
            xy.push_back(p.x);
            xy.push_back(p.y);
        }
        switch (kind)
        {
        case PathKind::kSegments:
            for (std::size_t i = 0; i + 1 < points.size(); i += 2)
            {
                path.AddLine(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y);
            }
            break;
        case PathKind::kPolyline:
            path.AddPolyline(xy.data(), points.size());
            break;
        case PathKind::kPolygon:
            path.AddPolygon(xy.data(), points.size());
            break;
        }
    }
    const RCPtr<LGraphicsPath> path = slot;
    const PointD shift{ClampOffset(offset.x), ClampOffset(offset.y)};
    Translate(shift);
    if (mCurrent)
    {
        Platform::Canvas& graphics = Graphics();
        const bool unscaled = IsOne(scale.x) && IsOne(scale.y);
        const double sx = unscaled ? 1.0 : scale.x;
        const double sy = unscaled ? 1.0 : scale.y;
        if (fill)
        {
            graphics.FillPath(path->path, color.GetARGB(), sx, sy);
        }
        else
        {
            graphics.StrokePath(path->path, color.GetARGB(), line.lineWidth, sx, sy);
        }
    }
    Translate(PointD{-shift.x, -shift.y});
    if (!keepCached)
    {
        // The entry keeps its handle; only the path goes.
        slot = nullptr;
    }
    return kOk;
}

Result LGDIRenderer::DrawLineSegments(PolylineT<float>& line, const ColorF& color,
                                      const PointT<float>& offset, const PointT<float>& scale,
                                      bool keepCached)
{
    return DrawPath(line, color, offset, scale, keepCached, PathKind::kSegments, false);
}

Result LGDIRenderer::DrawPolyline(PolylineT<float>& line, const ColorF& color, const PointT<float>& offset,
                                  const PointT<float>& scale, bool keepCached)
{
    return DrawPath(line, color, offset, scale, keepCached, PathKind::kPolyline, false);
}

Result LGDIRenderer::DrawPolygon(PolylineT<float>& line, const ColorF& color, const PointT<float>& offset,
                                 const PointT<float>& scale, bool keepCached)
{
    return DrawPath(line, color, offset, scale, keepCached, PathKind::kPolygon, false);
}

Result LGDIRenderer::FillPolygon(PolylineT<float>& line, const ColorF& color, const PointT<float>& offset,
                                 const PointT<float>& scale, bool keepCached)
{
    return DrawPath(line, color, offset, scale, keepCached, PathKind::kPolygon, true);
}

} // namespace KR
