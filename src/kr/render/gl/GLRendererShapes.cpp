#include "kr/render/gl/GLRenderer.h"

#include "kr/render/gl/GLPolygon.h"
#include "platform/gl/GLFunctions.h"

namespace KR
{

using namespace Platform::GLc;
using Platform::GetGL;

namespace
{

void SetColor(const ColorF& color)
{
    GetGL().glColor4f(color.red, color.green, color.blue, color.alpha);
}

// The rectangle as doubles, turned round when negative and snapped to whole pixels.
RectD SnappedRect(const RectI& rect)
{
    RectD snapped = IntRectToDouble(rect);
    SnapRectToWholeUnits(snapped);
    return snapped;
}

void SendLineArray(const PolylineT<float>& line, Platform::GLenum mode, Platform::GLsizei stride)
{
    const Platform::GLFunctions& gl = GetGL();
    gl.glLineWidth(line.lineWidth);
    gl.glEnableClientState(kVertexArray);
    gl.glVertexPointer(2, kFloat, stride, line.points.data());
    gl.glDrawArrays(mode, 0, static_cast<Platform::GLsizei>(line.points.size()));
    gl.glDisableClientState(kVertexArray);
}

} // namespace

Result LGLRenderer::DrawLine(const PointT<float>& from, const PointT<float>& to, const ColorF& color,
                             float penWidth)
{
    const Platform::GLFunctions& gl = GetGL();
    gl.glLineWidth(penWidth);
    SetColor(color);
    gl.glBegin(kLines);
    gl.glVertex2d(from.x, from.y);
    gl.glVertex2d(to.x, to.y);
    gl.glEnd();
    return kOk;
}

Result LGLRenderer::DrawRect(const RectI& rect, const ColorF& color, float penWidth)
{
    const Platform::GLFunctions& gl = GetGL();
    gl.glLineWidth(penWidth);
    SetColor(color);
    const RectD r = SnappedRect(rect);
    gl.glBegin(kLineStrip);
    gl.glVertex2d(r.x, r.y);
    gl.glVertex2d(r.x + r.width, r.y);
    gl.glVertex2d(r.x + r.width, r.y + r.height);
    gl.glVertex2d(r.x, r.y + r.height);
    gl.glVertex2d(r.x, r.y);
    gl.glEnd();
    return kOk;
}

Result LGLRenderer::FillRect(const RectI& rect, const ColorF& color, bool blend)
{
    const Platform::GLFunctions& gl = GetGL();
    if (blend)
    {
        SetColor(color);
        gl.glDisable(kTexture2D);
        const RectD r = SnappedRect(rect);
        gl.glBegin(kQuads);
        gl.glVertex2d(r.x, r.y);
        gl.glVertex2d(r.x + r.width, r.y);
        gl.glVertex2d(r.x + r.width, r.y + r.height);
        gl.glVertex2d(r.x, r.y + r.height);
        gl.glEnd();
        return kOk;
    }
    const RenderState* state = GetCurrentState();
    if (state == nullptr)
    {
        return kOk;
    }
    // A clear writes the colour as it is, without blending; the clear colour goes back
    // to transparent black, which the rest of the renderer expects.
    SetScissor(RectD{rect.x + state->offset.x, rect.y + state->offset.y, IntToDouble(rect.width),
                     IntToDouble(rect.height)});
    gl.glClearColor(color.red, color.green, color.blue, color.alpha);
    gl.glClear(kColorBufferBit | kDepthBufferBit);
    gl.glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    SetScissor(RectD{state->clip.x + state->offset.x, state->clip.y + state->offset.y, state->clip.width,
                     state->clip.height});
    return kOk;
}

Result LGLRenderer::FillColorRects(ColorRectListT<float>& rects, const PointD& offset, bool keepCached)
{
    const Platform::GLFunctions& gl = GetGL();
    gl.glPushMatrix();
    gl.glTranslatef(static_cast<float>(offset.x), static_cast<float>(offset.y), 0.0f);
    auto draw = [&]
    {
        const std::size_t count = std::min(rects.rects.size(), rects.colors.size());
        for (std::size_t i = count; i-- > 0;)
        {
            const RectT<float>& r = rects.rects[i];
            const RectI rounded{RoundToInt32(r.x * rects.scaleX), RoundToInt32(r.y * rects.scaleY),
                                RoundToInt32(r.width * rects.scaleX), RoundToInt32(r.height * rects.scaleY)};
            FillRect(rounded, ColorF::FromARGB(rects.colors[i]), true);
        }
    };
    if (keepCached)
    {
        const bool changed = rects.changed;
        rects.changed = false;
        RCPtr<LGLDisplayList>& slot = mColorRects.GetEntry(rects, changed);
        if (!slot)
        {
            slot = LGLDisplayList::Create(1);
            const RCPtr<LGLDisplayList> list = slot;
            list->BeginList(0);
            draw();
            list->EndList();
        }
        const RCPtr<LGLDisplayList> list = slot;
        list->CallLists(0, 1);
    }
    else
    {
        mColorRects.Drop(rects);
        draw();
    }
    gl.glPopMatrix();
    return kOk;
}

Result LGLRenderer::DrawCachedLine(PolylineT<float>& line, const ColorF& color, const PointT<float>& offset,
                                   const PointT<float>& scale, bool keepCached, LineKind kind)
{
    const Platform::GLFunctions& gl = GetGL();
    gl.glPushMatrix();
    gl.glTranslatef(offset.x, offset.y, 0.0f);
    gl.glScalef(scale.x, scale.y, 1.0f);
    if (kind != LineKind::kOutline)
    {
        gl.glDisable(kTexture2D);
    }
    SetColor(color);
    if (kind == LineKind::kOutline)
    {
        gl.glLineWidth(line.lineWidth);
    }
    ListCache* own = &mSegments;
    ListCache* sibling = nullptr;
    switch (kind)
    {
    case LineKind::kSegments:
        break;
    case LineKind::kPolyline:
        own = &mPolylines;
        break;
    case LineKind::kOutline:
        own = &mPolygonOutlines;
        sibling = &mFilledPolygons;
        break;
    case LineKind::kFill:
        own = &mFilledPolygons;
        sibling = &mPolygonOutlines;
        break;
    }
    auto draw = [&]
    {
        switch (kind)
        {
        case LineKind::kSegments:
            SendLineArray(line, kLines, 0);
            break;
        case LineKind::kPolyline:
            SendLineArray(line, kLineStrip, 8);
            break;
        case LineKind::kOutline:
            gl.glBegin(kLineStrip);
            for (const PointT<float>& point : line.points)
            {
                gl.glVertex2f(point.x, point.y);
            }
            // Closed like every renderer's polygon outline, unless the caller closed it.
            if (line.points.size() > 2 && !(line.points.back() == line.points.front()))
            {
                gl.glVertex2f(line.points.front().x, line.points.front().y);
            }
            gl.glEnd();
            break;
        case LineKind::kFill:
            CGLPolygon().Fill(line.points);
            break;
        }
    };
    if (keepCached)
    {
        const bool changed = line.changed;
        line.changed = false;
        if (sibling != nullptr && changed)
        {
            sibling->Drop(line);
        }
        RCPtr<LGLDisplayList>& slot = own->GetEntry(line, changed);
        if (slot)
        {
            if (kind == LineKind::kOutline)
            {
                SetColor(color);
            }
        }
        else
        {
            slot = LGLDisplayList::Create(1);
            const RCPtr<LGLDisplayList> list = slot;
            list->BeginList(0);
            draw();
            list->EndList();
        }
        const RCPtr<LGLDisplayList> list = slot;
        list->CallLists(0, 1);
    }
    else
    {
        own->Drop(line);
        if (sibling != nullptr)
        {
            sibling->Drop(line);
        }
        draw();
    }
    gl.glPopMatrix();
    return kOk;
}

Result LGLRenderer::DrawLineSegments(PolylineT<float>& line, const ColorF& color, const PointT<float>& offset,
                                     const PointT<float>& scale, bool keepCached)
{
    return DrawCachedLine(line, color, offset, scale, keepCached, LineKind::kSegments);
}

Result LGLRenderer::DrawPolyline(PolylineT<float>& line, const ColorF& color, const PointT<float>& offset,
                                 const PointT<float>& scale, bool keepCached)
{
    return DrawCachedLine(line, color, offset, scale, keepCached, LineKind::kPolyline);
}

Result LGLRenderer::DrawPolygon(PolylineT<float>& line, const ColorF& color, const PointT<float>& offset,
                                const PointT<float>& scale, bool keepCached)
{
    return DrawCachedLine(line, color, offset, scale, keepCached, LineKind::kOutline);
}

Result LGLRenderer::FillPolygon(PolylineT<float>& line, const ColorF& color, const PointT<float>& offset,
                                const PointT<float>& scale, bool keepCached)
{
    return DrawCachedLine(line, color, offset, scale, keepCached, LineKind::kFill);
}

Result LGLRenderer::SetClipRect(const RectD& clip)
{
    LRenderer::SetClipRect(clip);
    const RenderState* state = GetCurrentState();
    if (mCurrent && state != nullptr)
    {
        SetScissor(RectD{clip.x + state->offset.x, clip.y + state->offset.y, clip.width, clip.height});
    }
    return kOk;
}

Result LGLRenderer::Translate(const PointD& offset)
{
    LRenderer::Translate(offset);
    if (mCurrent && (offset.x != 0.0 || offset.y != 0.0))
    {
        GetGL().glTranslatef(static_cast<float>(offset.x), static_cast<float>(offset.y), 0.0f);
    }
    return kOk;
}

void LGLRenderer::SetScissor(const RectD& rect)
{
    if (!mCurrent)
    {
        return;
    }
    const double width = mCurrent->viewport.width;
    const double height = mCurrent->viewport.height;
    // Cut to the viewport while still in doubles: the unclipped state's huge rectangle
    // would otherwise saturate on rounding and leave an empty box.
    const double left = std::max(rect.x, 0.0);
    const double right = std::min(rect.x + rect.width, width);
    const double bottom = std::max(height - (rect.y + rect.height), 0.0);
    const double top = std::min(height - rect.y, height);
    const std::int32_t x = RoundToInt32(left);
    const std::int32_t y = RoundToInt32(bottom);
    const std::int32_t w = RoundToInt32(right - left);
    const std::int32_t h = RoundToInt32(top - bottom);
    if (w > 0 && h > 0)
    {
        GetGL().glScissor(x, y, w, h);
    }
    else
    {
        GetGL().glScissor(mCurrent->viewport.width, 0, 1, 1);
    }
}

} // namespace KR
