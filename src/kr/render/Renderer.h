#pragma once
// KR::LRenderer: the drawing interface of a window. A renderer draws into render contexts
// (RenderState.h), one per window or offscreen image; this base keeps the stack of
// entered contexts and the whole render-state stack once, and every renderer supplies the
// primitives and follows the state through the three virtual setters (SetStencil,
// SetClipRect, Translate).
//
// One frame:
//
//     renderer->RenderStart(context);
//     renderer->PushClip(bounds, clip, nullptr, true);   // or SaveState / PushOffset
//     renderer->FillRect(rect, color, true);
//     renderer->RestoreState();                          // one per push
//     renderer->RenderFinish(context);
//
// The state operations from SetViewport on act on the current context and do nothing
// while none is entered. A renderer may enter an offscreen context inside a frame and
// must leave it before the outer one. All of it runs on the user-interface thread.

#include "kr/core/Point.h"
#include "kr/core/RCPtr.h"
#include "kr/core/Rect.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"
#include "kr/render/Color.h"
#include "kr/render/DrawingData.h"
#include "kr/render/MeasurementRenderer.h"
#include "kr/render/RenderState.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace KR
{

class LBitmap;
class LFont;

enum RendererKind : std::int32_t
{
    kRendererOpenGL = 0,
    kRenderer2D = 1,
    kRendererInert = 2,
};

class LRenderer : public LMeasurementRenderer
{
public:
    static constexpr char kContextNullText[] =
        "Runtime Error : Render context is NULL : KR::LRenderer::RenderStart : Renderer\\Renderer : Line 231";
    static constexpr char kContextReenteredText[] =
        "Runtime Error : Render context reentered. : KR::LRenderer::RenderStart : Renderer\\Renderer : Line "
        "237";
    static constexpr char kContextMismatchText[] = "Runtime Error : RenderFinish context does not match "
                                                   "RenderStart context : KR::LRenderer::RenderFinish : "
                                                   "Renderer\\Renderer : Line 250";

    // The window's renderer of the given kind, made by the installed factory
    // (RendererFactory.h). Any kind but 0, 1 and 2 throws a domain error and makes
    // nothing. The client rectangle is taken and used by no kind.
    static RCPtr<LRenderer> Create(std::int32_t kind, const RectI& clientRect, WindowHandle window);

    // Slots 0 and 1, GetFontMetrics and MeasureText, come from LMeasurementRenderer.

    // 2: the kind Create was asked for.
    virtual std::int32_t GetKind() const = 0;
    // 3: this renderer's own kind of context; kOk when one results, else kFail.
    virtual Result InitRenderContextInfo(const RectI& viewport, WindowHandle window, bool offscreen,
                                         RCPtr<LRenderContextInfo>& context) = 0;
    // 4: replaces the current context's viewport.
    virtual Result SetViewport(const RectI& viewport);
    // 5: replaces the current state's stencil.
    virtual Result SetStencil(const RCPtr<LStencil>& stencil);
    // 6: enters the context, which becomes the current one. Throws, changing nothing, for
    // a null context or one already entered. Overrides call this first.
    virtual Result RenderStart(const RCPtr<LRenderContextInfo>& context);
    // 7: leaves the context. Throws, changing nothing, unless it is the current one.
    // Overrides call this.
    virtual Result RenderFinish(const RCPtr<LRenderContextInfo>& context);
    // 8
    virtual Result DrawText(const String& text, const RCPtr<LFont>& font, const PointI& position,
                            const ColorF& color) = 0;
    // 9: an outline.
    virtual Result DrawRect(const RectI& rect, const ColorF& color, float penWidth) = 0;
    // 10: blend false writes the colour into the pixels as it is.
    virtual Result FillRect(const RectI& rect, const ColorF& color, bool blend) = 0;
    // 11: FillRect (blended) when the fill is not transparent, then DrawRect when the
    // outline is not.
    virtual Result DrawFilledRect(const RectI& rect, const ColorF& fill, const ColorF& outline,
                                  float penWidth);
    // 12
    virtual Result FillColorRects(ColorRectListT<float>& rects, const PointD& offset, bool flag) = 0;
    // 13
    virtual Result DrawLine(const PointT<float>& from, const PointT<float>& to, const ColorF& color,
                            float penWidth) = 0;
    // 14: the points taken in pairs, one segment each.
    virtual Result DrawLineSegments(PolylineT<float>& line, const ColorF& color, const PointT<float>& offset,
                                    const PointT<float>& scale, bool keepCached) = 0;
    // 15: the points joined in order, open.
    virtual Result DrawPolyline(PolylineT<float>& line, const ColorF& color, const PointT<float>& offset,
                                const PointT<float>& scale, bool keepCached) = 0;
    // 16: the points as a closed outline.
    virtual Result DrawPolygon(PolylineT<float>& line, const ColorF& color, const PointT<float>& offset,
                               const PointT<float>& scale, bool keepCached) = 0;
    // 17: the closed shape filled.
    virtual Result FillPolygon(PolylineT<float>& line, const ColorF& color, const PointT<float>& offset,
                               const PointT<float>& scale, bool keepCached) = 0;
    // 18: the bitmap's rectangle of its image into the destination, stretched (0), tiled
    // (1) or centred (2).
    virtual Result DrawBitmap(const ConstRCPtr<LBitmap>& bitmap, const RectI& destination,
                              std::int32_t resizeType) = 0;
    // 19: part of an offscreen context's image into the current context.
    virtual Result DrawImage(const RCPtr<LRenderContextInfo>& source, const PointI& destination,
                             const RectI& sourceRect) = 0;
    // 20: moves an offscreen context's whole image by the offset.
    virtual Result ScrollImage(const RCPtr<LRenderContextInfo>& context, const PointI& offset) = 0;
    // Whether MoveFramePixels works: the current context keeps its pixels from frame to
    // frame. A renderer that redraws whole frames cannot.
    virtual bool CanMoveFramePixels() const { return false; }
    // Copies the pixels of the current context inside `area` (pixels, whatever the state)
    // by `delta`, cut to the area; what the copy leaves uncovered keeps its old pixels.
    virtual Result MoveFramePixels(const RectI& area, const PointI& delta)
    {
        (void)area;
        (void)delta;
        return kFail;
    }
    // 21: saves the state and moves the origin by the point rounded to whole pixels; the
    // stored clip follows into the new coordinates. Does nothing at all while no state
    // is saved, so a frame saves one (SaveState or PushClip) before its first offset.
    virtual Result PushOffset(const PointD& offset);
    // 22: saves the state, clips and moves the origin to the bounds (see Renderer.cpp).
    // With clipToBounds the bounds are relative to the current origin and the clip is
    // also cut to them and to the current clip; without, the bounds are window
    // coordinates.
    virtual Result PushClip(const RectD& bounds, const RectD& clip, const RCPtr<LStencil>& stencil,
                            bool clipToBounds);
    // 23: pushes a copy of the current state.
    virtual Result SaveState();
    // 24: brings back the newest saved state through Translate, SetClipRect and
    // SetStencil (one call each); nothing when none is saved.
    virtual Result RestoreState();
    // 25: the current clip becomes the rectangle. Overrides call this, then clip the device.
    virtual Result SetClipRect(const RectD& clip);
    // 26: adds the point to the current origin. Overrides call this, then move the device.
    virtual Result Translate(const PointD& offset);

    // Whether PushClip(bounds, clip, no stencil, clip to bounds) would leave the current
    // state as it is: no move of the origin and the very clip in force. Drawing walks skip
    // such pushes and their pops; they were most of what a full repaint spent on top of
    // the drawing. False between frames.
    bool IsBoundsClipInForce(const RectD& bounds, const RectD& clip) const;

    // The context last entered, null between frames.
    const RCPtr<LRenderContextInfo>& GetCurrentContext() const;
    // The current context's state, null between frames.
    const RenderState* GetCurrentState() const
    {
        return mContexts.empty() ? nullptr : &mContexts.back()->state;
    }
    bool IsRendering() const { return !mContexts.empty(); }
    // Frames in progress, the outermost first entered.
    std::size_t GetEnteredContextCount() const { return mContexts.size(); }

protected:
    // What PushClip makes of the state before it saves it: the snapped clip in the
    // current coordinates and the whole translation to the bounds.
    struct BoundsClip
    {
        RectD area;
        PointD translation;
    };
    static BoundsClip ComputeBoundsClip(const RenderState& state, const RectD& bounds, const RectD& clip,
                                        bool clipToBounds)
    {
        PointD translation{bounds.x, bounds.y};
        if (!clipToBounds)
        {
            translation.x -= state.offset.x;
            translation.y -= state.offset.y;
        }
        BoundsClip result{clip, PointD{RoundHalfAway(translation.x), RoundHalfAway(translation.y)}};
        if (clipToBounds)
        {
            // The overlap may come out of no or negative size, which the snapping turns round.
            IntersectRects(clip, bounds, result.area);
            IntersectRects(result.area, state.clip, result.area);
        }
        SnapRectToWholeUnits(result.area);
        return result;
    }
    // Half away from zero, kept a double: an origin far past the 32-bit range stays where
    // it is. A whole number within that range is itself (plus 0, which makes -0 the 0 the
    // rounding gives).
    static double RoundHalfAway(double value)
    {
        if (value > -2147483648.0 && value < 2147483648.0 &&
            static_cast<double>(static_cast<std::int32_t>(value)) == value)
        {
            return value + 0.0;
        }
        return value < 0.0 ? std::trunc(value - 0.5) : std::trunc(value + 0.5);
    }

private:
    std::vector<RCPtr<LRenderContextInfo>> mContexts;
};

} // namespace KR
