#include "kr/render/gdi/GDIRenderer.h"

#include "platform/graphics/Present.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace KR
{
namespace
{

std::uint32_t MonotonicMilliseconds()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

} // namespace

LGDIRenderer::LGDIRenderer(Clock clock) : mClock(clock ? std::move(clock) : Clock(&MonotonicMilliseconds))
{
    mLastPurgeTime = mClock();
}

LGDIRenderer::~LGDIRenderer() = default;

Result LGDIRenderer::InitRenderContextInfo(const RectI& viewport, WindowHandle window, bool offscreen,
                                           RCPtr<LRenderContextInfo>& context)
{
    context = RCPtr<LRenderContextInfo>(new LGDIRenderContextInfo(viewport, window, offscreen));
    return context ? kOk : kFail;
}

void LGDIRenderer::FindCurrentContext()
{
    mCurrent = RCPtr<LGDIRenderContextInfo>(GetCurrentContext());
}

void LGDIRenderer::ApplyDeviceState(LGDIRenderContextInfo& context)
{
    Platform::Canvas& graphics = context.GetFrontSurface()->GetGraphics();
    const RenderState& state = context.state;
    const PointT<float> origin{static_cast<float>(state.offset.x), static_cast<float>(state.offset.y)};
    const RectT<float> clip{static_cast<float>(state.clip.x), static_cast<float>(state.clip.y),
                            static_cast<float>(state.clip.width), static_cast<float>(state.clip.height)};
    graphics.SetTranslation(origin.x, origin.y);
    graphics.SetClip(clip.x, clip.y, clip.width, clip.height);
    context.wanted = LGDIRenderContextInfo::DeviceState{clip, origin, origin};
    context.applied = context.wanted;
}

Platform::Canvas& LGDIRenderer::Graphics()
{
    LGDIRenderContextInfo& context = *mCurrent;
    Platform::Canvas& graphics = context.GetFrontSurface()->GetGraphics();
    LGDIRenderContextInfo::DeviceState& wanted = context.wanted;
    LGDIRenderContextInfo::DeviceState& applied = context.applied;
    if (wanted.clip != applied.clip || wanted.clipOrigin != applied.clipOrigin)
    {
        if (applied.translation != wanted.clipOrigin)
        {
            graphics.SetTranslation(wanted.clipOrigin.x, wanted.clipOrigin.y);
            applied.translation = wanted.clipOrigin;
        }
        graphics.SetClip(wanted.clip.x, wanted.clip.y, wanted.clip.width, wanted.clip.height);
        applied.clip = wanted.clip;
        applied.clipOrigin = wanted.clipOrigin;
    }
    if (applied.translation != wanted.translation)
    {
        graphics.SetTranslation(wanted.translation.x, wanted.translation.y);
        applied.translation = wanted.translation;
    }
    return graphics;
}

Result LGDIRenderer::RenderStart(const RCPtr<LRenderContextInfo>& context)
{
    LRenderer::RenderStart(context);
    FindCurrentContext();
    if (!mCurrent)
    {
        return kOk;
    }
    LGDIRenderContextInfo& gdi = *mCurrent;
    const RectI& viewport = gdi.viewport;
    const PointI size = gdi.GetFrontSurface()->GetSize();
    const PointI wanted{std::max(viewport.width, 1), std::max(viewport.height, 1)};
    const bool wholeFrame =
        gdi.dirtyRegion.GetRectCount() == 1 && RectFromEdges(gdi.dirtyRegion.GetFirst()->rect) == viewport;
    if (size != wanted)
    {
        gdi.GetFrontSurface()->Resize(viewport.width, viewport.height);
        gdi.GetBackSurface()->Resize(viewport.width, viewport.height);
    }
    // The image the window made once it could (first shown) starts transparent, or with
    // the last frame's pixels when this frame draws only part of it.
    else if (!gdi.GetFrontSurface()->TakeWindowImage(!wholeFrame) && wholeFrame)
    {
        // A whole frame starts from a transparent image, as a new one would, without
        // making one: only the front surface is drawn into, and ScrollImage clears the
        // back one itself.
        Platform::Canvas& graphics = gdi.GetFrontSurface()->GetGraphics();
        graphics.ResetClip();
        graphics.Clear(0x00000000);
    }
    if (gdi.GetFrontSurface()->GetBitmap().IsFromDisplay())
    {
        // The display server may still be reading the last frame out of the image it
        // shares; Cairo's flush waits for it before this frame draws over that.
        gdi.GetFrontSurface()->GetGraphics().Flush();
    }
    mScale = mFrameDpi > 0 ? 96.0f / static_cast<float>(mFrameDpi) : 1.0f;
    // The translation is set whole, never added: a surface kept from the last frame still
    // carries that frame's translation, and adding the offset again would draw this frame
    // twice as far out.
    ApplyDeviceState(gdi);
    return kOk;
}

Result LGDIRenderer::RenderFinish(const RCPtr<LRenderContextInfo>& context)
{
    if (!IsRendering() || GetCurrentContext() != context)
    {
        // The base throws its mismatch error; nothing is presented for a wrong context.
        return LRenderer::RenderFinish(context);
    }
    if (mCurrent)
    {
        LGDIRenderContextInfo& gdi = *mCurrent;
        gdi.GetFrontSurface()->GetGraphics().Flush();
        if (!gdi.offscreen)
        {
            std::vector<Platform::PixelRect> rects;
            for (const RegionNode* node = gdi.dirtyRegion.GetFirst(); node; node = node->next)
            {
                const RectI r = RectFromEdges(node->rect);
                rects.push_back(Platform::PixelRect{r.x, r.y, r.width, r.height});
            }
            Platform::PresentToWindow(gdi.window, gdi.GetFrontSurface()->GetBitmap(), rects);
        }
    }
    mCurrent = nullptr;
    LRenderer::RenderFinish(context);
    if (IsRendering())
    {
        FindCurrentContext();
    }
    const std::uint32_t now = mClock();
    if (static_cast<std::int32_t>(now - mLastPurgeTime) > static_cast<std::int32_t>(kPurgeInterval))
    {
        mBitmapCache.Purge();
        mLastPurgeTime = now;
    }
    return kOk;
}

Result LGDIRenderer::PushClip(const RectD& bounds, const RectD& clip, const RCPtr<LStencil>& stencil,
                              bool clipToBounds)
{
    if (!mCurrent || stencil || !clipToBounds)
    {
        return LRenderer::PushClip(bounds, clip, stencil, clipToBounds);
    }
    LGDIRenderContextInfo& context = *mCurrent;
    RenderState& state = context.state;
    const BoundsClip pushed = ComputeBoundsClip(state, bounds, clip, true);
    context.savedStates.push_back(state);
    // As SetClipRect(area), then Translate(translation) moving that clip to the new origin.
    LGDIRenderContextInfo::DeviceState& wanted = context.wanted;
    state.offset.x += pushed.translation.x;
    state.offset.y += pushed.translation.y;
    const PointT<float> moved{static_cast<float>(state.offset.x), static_cast<float>(state.offset.y)};
    wanted.clip = RectT<float>{static_cast<float>(pushed.area.x), static_cast<float>(pushed.area.y),
                               static_cast<float>(pushed.area.width), static_cast<float>(pushed.area.height)};
    wanted.clip.x += wanted.translation.x - moved.x;
    wanted.clip.y += wanted.translation.y - moved.y;
    wanted.clipOrigin = moved;
    wanted.translation = moved;
    state.clip = RectD{pushed.area.x - pushed.translation.x, pushed.area.y - pushed.translation.y,
                       pushed.area.width, pushed.area.height};
    return kOk;
}

Result LGDIRenderer::RestoreState()
{
    if (!mCurrent)
    {
        return LRenderer::RestoreState();
    }
    LGDIRenderContextInfo& context = *mCurrent;
    if (context.savedStates.empty())
    {
        return kOk;
    }
    RenderState& state = context.state;
    RenderState& saved = context.savedStates.back();
    // As Translate by the difference of the origins, then SetClipRect(saved clip).
    const PointT<float> moved{static_cast<float>(state.offset.x + (saved.offset.x - state.offset.x)),
                              static_cast<float>(state.offset.y + (saved.offset.y - state.offset.y))};
    state.offset = saved.offset;
    state.scaleFactor = saved.scaleFactor;
    state.clip = saved.clip;
    state.stencil = std::move(saved.stencil);
    state.stencilInForce = saved.stencilInForce;
    context.savedStates.pop_back();
    context.wanted = LGDIRenderContextInfo::DeviceState{
        RectT<float>{static_cast<float>(state.clip.x), static_cast<float>(state.clip.y),
                     static_cast<float>(state.clip.width), static_cast<float>(state.clip.height)},
        moved, moved};
    return kOk;
}

Result LGDIRenderer::SetClipRect(const RectD& clip)
{
    LRenderer::SetClipRect(clip);
    if (mCurrent)
    {
        mCurrent->wanted.clip = RectT<float>{static_cast<float>(clip.x), static_cast<float>(clip.y),
                                             static_cast<float>(clip.width), static_cast<float>(clip.height)};
        mCurrent->wanted.clipOrigin = mCurrent->wanted.translation;
    }
    return kOk;
}

Result LGDIRenderer::Translate(const PointD& offset)
{
    LRenderer::Translate(offset);
    if (mCurrent)
    {
        LGDIRenderContextInfo::DeviceState& wanted = mCurrent->wanted;
        const PointD& origin = mCurrent->state.offset;
        const PointT<float> moved{static_cast<float>(origin.x), static_cast<float>(origin.y)};
        // A clip given at the old origin is the same device area given at the new one,
        // moved against it: the next drawing then sets the translation once instead of
        // once for the clip and once more for itself. Whole offsets keep that exact.
        if (wanted.clipOrigin == wanted.translation)
        {
            wanted.clip.x += wanted.translation.x - moved.x;
            wanted.clip.y += wanted.translation.y - moved.y;
            wanted.clipOrigin = moved;
        }
        wanted.translation = moved;
    }
    return kOk;
}

Result LGDIRenderer::DrawImage(const RCPtr<LRenderContextInfo>& source, const PointI& destination,
                               const RectI& sourceRect)
{
    const RCPtr<LGDIRenderContextInfo> image(source);
    if (!image || !image->offscreen)
    {
        return kInvalidArg;
    }
    if (!mCurrent)
    {
        return kFail;
    }
    Platform::Canvas& target = Graphics();
    image->GetFrontSurface()->GetGraphics().Flush();
    target.DrawSurface(image->GetFrontSurface()->GetBitmap(), destination.x, destination.y,
                       Platform::PixelRect{sourceRect.x, sourceRect.y, sourceRect.width, sourceRect.height});
    return kOk;
}

Result LGDIRenderer::MoveFramePixels(const RectI& area, const PointI& delta)
{
    if (!mCurrent)
    {
        return kFail;
    }
    // In the image itself: the frame's drawing state stays as it is.
    const RCPtr<LGDIRendererOffscreenSurface>& front = mCurrent->GetFrontSurface();
    front->GetGraphics().Flush();
    front->GetBitmap().MovePixels(Platform::PixelRect{area.x, area.y, area.width, area.height}, delta.x,
                                  delta.y);
    return kOk;
}

Result LGDIRenderer::ScrollImage(const RCPtr<LRenderContextInfo>& context, const PointI& offset)
{
    const RCPtr<LGDIRenderContextInfo> image(context);
    if (!image || !image->offscreen)
    {
        return kInvalidArg;
    }
    const RCPtr<LGDIRendererOffscreenSurface> old = image->GetFrontSurface();
    image->SwapSurfaces();
    const RCPtr<LGDIRendererOffscreenSurface>& fresh = image->GetFrontSurface();
    if (fresh->GetSize() != old->GetSize())
    {
        const PointI size = old->GetSize();
        fresh->Resize(size.x, size.y);
    }
    // The move is in pixels, whatever translation and clip the surface kept; the
    // context's own state is put back afterwards.
    Platform::Canvas& graphics = fresh->GetGraphics();
    graphics.SetTranslation(0, 0);
    graphics.ResetClip();
    graphics.Clear(0x00000000);
    const PointI size = old->GetSize();
    old->GetGraphics().Flush();
    graphics.DrawSurface(old->GetBitmap(), offset.x, offset.y, Platform::PixelRect{0, 0, size.x, size.y});
    ApplyDeviceState(*image);
    return kOk;
}

} // namespace KR
