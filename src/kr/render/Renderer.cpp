#include "kr/render/Renderer.h"

#include "kr/core/Exception.h"
#include "kr/render/RendererFactory.h"

#include <algorithm>
#include <cmath>

namespace KR
{
namespace
{

constexpr char kCreateKindText[] = "Domain Error : KR::LRenderer::Create : Renderer\\Renderer : Line 114";

// x and y are the larger of the two, the far edges the smaller; the size may come out
// zero or negative, which the snapping that follows turns round.
RectD IntersectRects(const RectD& a, const RectD& b)
{
    const double left = std::max(a.x, b.x);
    const double top = std::max(a.y, b.y);
    const double right = std::min(a.Right(), b.Right());
    const double bottom = std::min(a.Bottom(), b.Bottom());
    return RectD{left, top, right - left, bottom - top};
}

bool Holds(const RectD& outer, const RectD& inner)
{
    return outer.x <= inner.x && outer.y <= inner.y && outer.Right() >= inner.Right() &&
           outer.Bottom() >= inner.Bottom();
}

} // namespace

RCPtr<LRenderer> LRenderer::Create(std::int32_t kind, const RectI& clientRect, WindowHandle window)
{
    if (kind < kRendererOpenGL || kind > kRendererInert)
    {
        Throw<std::domain_error>(kCreateKindText);
    }
    return MakeRenderer(kind, clientRect, window);
}

const RCPtr<LRenderContextInfo>& LRenderer::GetCurrentContext() const
{
    static const RCPtr<LRenderContextInfo> none;
    return mContexts.empty() ? none : mContexts.back();
}

Result LRenderer::SetViewport(const RectI& viewport)
{
    if (!mContexts.empty())
    {
        mContexts.back()->viewport = viewport;
    }
    return kOk;
}

Result LRenderer::SetStencil(const RCPtr<LStencil>& stencil)
{
    if (!mContexts.empty())
    {
        mContexts.back()->state.stencil = stencil;
    }
    return kOk;
}

Result LRenderer::RenderStart(const RCPtr<LRenderContextInfo>& context)
{
    if (!context)
    {
        Throw<std::runtime_error>(kContextNullText);
    }
    if (std::find(mContexts.begin(), mContexts.end(), context) != mContexts.end())
    {
        Throw<std::runtime_error>(kContextReenteredText);
    }
    mContexts.push_back(context);
    return kOk;
}

Result LRenderer::RenderFinish(const RCPtr<LRenderContextInfo>& context)
{
    if (mContexts.empty() || mContexts.back() != context)
    {
        Throw<std::runtime_error>(kContextMismatchText);
    }
    mContexts.pop_back();
    return kOk;
}

Result LRenderer::DrawFilledRect(const RectI& rect, const ColorF& fill, const ColorF& outline, float penWidth)
{
    if (fill.alpha > 0.0f)
    {
        FillRect(rect, fill, true);
    }
    if (outline.alpha > 0.0f)
    {
        DrawRect(rect, outline, penWidth);
    }
    return kOk;
}

Result LRenderer::PushOffset(const PointD& offset)
{
    if (mContexts.empty() || mContexts.back()->savedStates.empty())
    {
        return kOk;
    }
    SaveState();
    const PointD rounded{RoundHalfAway(offset.x), RoundHalfAway(offset.y)};
    Translate(rounded);
    RenderState& state = mContexts.back()->state;
    state.clip.x -= rounded.x;
    state.clip.y -= rounded.y;
    return kOk;
}

bool LRenderer::IsBoundsClipInForce(const RectD& bounds, const RectD& clip) const
{
    if (mContexts.empty() || RoundHalfAway(bounds.x) != 0.0 || RoundHalfAway(bounds.y) != 0.0)
    {
        return false;
    }
    const RectD& current = mContexts.back()->state.clip;
    // The clip in force is whole (PushClip snaps it, offsets are whole), so when both
    // rectangles hold it the snapped overlap below is that clip: most asks of a full
    // repaint end here.
    if (Holds(clip, current) && Holds(bounds, current))
    {
        return true;
    }
    RectD area = IntersectRects(IntersectRects(clip, bounds), current);
    SnapRectToWholeUnits(area);
    return area == current;
}

Result LRenderer::PushClip(const RectD& bounds, const RectD& clip, const RCPtr<LStencil>& stencil,
                           bool clipToBounds)
{
    if (mContexts.empty())
    {
        return kOk;
    }
    // Held across the virtual calls below: an override that ends the frame inside one
    // must not pull the context away from under this function.
    const RCPtr<LRenderContextInfo> context = mContexts.back();
    const BoundsClip pushed = ComputeBoundsClip(context->state, bounds, clip, clipToBounds);
    const PointD& translation = pushed.translation;

    SaveState();
    SetClipRect(pushed.area);
    Translate(translation);
    if (clipToBounds)
    {
        context->state.clip.x -= translation.x;
        context->state.clip.y -= translation.y;
    }
    if (stencil)
    {
        if (context->state.stencilInForce)
        {
            SetStencil(RCPtr<LStencil>(new LStencil(stencil->width, stencil->height)));
        }
        else
        {
            SetStencil(stencil);
            context->state.stencilInForce = true;
        }
    }
    return kOk;
}

Result LRenderer::SaveState()
{
    if (!mContexts.empty())
    {
        LRenderContextInfo& context = *mContexts.back();
        context.savedStates.push_back(context.state);
    }
    return kOk;
}

Result LRenderer::RestoreState()
{
    if (mContexts.empty() || mContexts.back()->savedStates.empty())
    {
        return kOk;
    }
    const RCPtr<LRenderContextInfo> context = mContexts.back();
    const RenderState saved = std::move(context->savedStates.back());
    context->savedStates.pop_back();
    Translate(PointD{saved.offset.x - context->state.offset.x, saved.offset.y - context->state.offset.y});
    // Translate took the difference; set outright so that no rounding drift piles up
    // over many pushes.
    context->state.offset = saved.offset;
    context->state.scaleFactor = saved.scaleFactor;
    SetClipRect(saved.clip);
    SetStencil(saved.stencil);
    context->state.stencilInForce = saved.stencilInForce;
    return kOk;
}

Result LRenderer::SetClipRect(const RectD& clip)
{
    if (!mContexts.empty())
    {
        mContexts.back()->state.clip = clip;
    }
    return kOk;
}

Result LRenderer::Translate(const PointD& offset)
{
    if (!mContexts.empty())
    {
        PointD& current = mContexts.back()->state.offset;
        current.x += offset.x;
        current.y += offset.y;
    }
    return kOk;
}

} // namespace KR
