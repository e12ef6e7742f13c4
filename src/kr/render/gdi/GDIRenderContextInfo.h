#pragma once
// The render context of the 2D renderer: a window's or an offscreen image's two back
// surfaces. Frames draw into the front one; the window sees only the rectangles a frame
// presents, and ScrollImage exchanges the two.

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/render/RenderState.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Surface.h"

#include <cstdint>
#include <memory>

namespace KR
{

// An image with the drawing state of its own (translation and clip) that frames use.
class LGDIRendererOffscreenSurface : public virtual LRefCountedObject
{
public:
    LGDIRendererOffscreenSurface(const PointI& size, WindowHandle window);

    // Makes a new image of the size, transparent; sizes below 1 become 1. Returns kOk.
    Result Resize(std::int32_t width, std::int32_t height);
    PointI GetSize() const;

    // Copies the source rectangle of this image to `at` on the target, replacing what is there.
    void Blit(Platform::Canvas& target, const PointI& at, const RectI& source) const;

    Platform::Canvas& GetGraphics() const { return *mGraphics; }
    Platform::Surface& GetBitmap() const { return *mBitmap; }
    WindowHandle GetWindow() const { return mWindow; }

private:
    WindowHandle mWindow;
    std::unique_ptr<Platform::Surface> mBitmap;
    std::unique_ptr<Platform::Canvas> mGraphics;
};

class LGDIRenderContextInfo : public LRenderContextInfo
{
public:
    // Both surfaces take the viewport's size.
    LGDIRenderContextInfo(const RectI& viewport, WindowHandle window, bool offscreen);

    PointI GetMaxImageSize() const override { return PointI{4096, 4096}; }

    // What the frame asked of the front surface's canvas and what the canvas was last
    // given: the renderer brings the canvas up to date only when it draws, so clips
    // pushed and popped around nothing cost no canvas calls. The clip stands in the
    // coordinates of the translation in force when it was set.
    struct DeviceState
    {
        RectT<float> clip;
        PointT<float> clipOrigin;
        PointT<float> translation;
    };
    DeviceState wanted;
    DeviceState applied;

    const RCPtr<LGDIRendererOffscreenSurface>& GetFrontSurface() const { return mFront; }
    const RCPtr<LGDIRendererOffscreenSurface>& GetBackSurface() const { return mBack; }
    void SwapSurfaces() { std::swap(mFront, mBack); }

private:
    RCPtr<LGDIRendererOffscreenSurface> mFront;
    RCPtr<LGDIRendererOffscreenSurface> mBack;
};

} // namespace KR
