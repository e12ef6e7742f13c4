#pragma once
// What a renderer draws into and the state it draws with. A render context
// (KR::LRenderContextInfo) belongs to one window or offscreen image and keeps, between
// frames, the current KR::RenderState (origin, clip, scale factor, stencil) and the
// saved states that the pushes stacked. Renderers derive their own context class.

#include "kr/core/Point.h"
#include "kr/core/RCPtr.h"
#include "kr/core/Rect.h"
#include "kr/core/RefCountedObject.h"
#include "kr/render/Region.h"

#include <cstdint>
#include <vector>

namespace KR
{

// The window a context draws into; null for a context without a window. What it points
// to is the window layer's own business.
using WindowHandle = void*;

// A stencil: its size and a rectangle that starts as the whole of it. Renderers carry,
// copy and restore stencils; the 2D renderer never reads one.
class LStencil : public virtual LRefCountedObject
{
public:
    // A new stencil of the size whose rectangle is the whole of it.
    static RCPtr<LStencil> Create(std::int32_t width, std::int32_t height)
    {
        return RCPtr<LStencil>(new LStencil(width, height));
    }

    LStencil(std::int32_t width, std::int32_t height)
        : width(width), height(height), rect{0, 0, width, height}
    {
    }

    std::int32_t width;
    std::int32_t height;
    RectI rect;
};

struct RenderState
{
    // No clipping: the single-precision values of -5e15 and 1e16, widened.
    static constexpr RectD kNoClip{-5000000136282112.0, -5000000136282112.0, 10000000272564224.0,
                                   10000000272564224.0};

    virtual ~RenderState() = default;

    // Translation of the drawing origin, in window pixels.
    PointD offset{};
    // In the coordinates of the current origin.
    RectD clip = kNoClip;
    // Carried, saved and restored but never applied by a renderer: controls multiply
    // their opacity into it while they draw.
    float scaleFactor = 1.0f;
    bool stencilInForce = false;
    RCPtr<LStencil> stencil;
};

class LRenderContextInfo : public virtual LRefCountedObject
{
public:
    LRenderContextInfo(const RectI& viewport, WindowHandle window, bool offscreen)
        : window(window), offscreen(offscreen), viewport(viewport)
    {
    }

    // The largest image this kind of context takes, width and height.
    virtual PointI GetMaxImageSize() const = 0;

    WindowHandle window = nullptr;
    // Only an offscreen context can be the source of DrawImage and ScrollImage.
    bool offscreen = false;
    // Filled by the window before a frame: the areas the frame repaints and presents.
    LRegion dirtyRegion;
    RectI viewport{};
    RenderState state;
    // Newest last. A vector keeps its room from frame to frame: a paint pushes and pops
    // a state per control.
    std::vector<RenderState> savedStates;
};

} // namespace KR
