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
    // `forWindow`: the image is the one the window's frames are presented from, made by the
    // window where it can (Platform::MakeWindowImage), so that its draws take it without a
    // copy.
    LGDIRendererOffscreenSurface(const PointI& size, WindowHandle window, bool forWindow = false);

    // Makes a new image of the size, transparent; sizes below 1 become 1. Returns kOk.
    Result Resize(std::int32_t width, std::int32_t height);
    PointI GetSize() const;

    // A window's image made before the window could make one (before it was first shown)
    // is made again by the window once it can; `keepPixels` copies the old one's pixels
    // into it, else it starts transparent. True when the image was made again.
    bool TakeWindowImage(bool keepPixels);

    // Copies the source rectangle of this image to `at` on the target, replacing what is there.
    void Blit(Platform::Canvas& target, const PointI& at, const RectI& source) const;

    Platform::Canvas& GetGraphics() const { return *mGraphics; }
    Platform::Surface& GetBitmap() const { return *mBitmap; }
    WindowHandle GetWindow() const { return mWindow; }

private:
    WindowHandle mWindow;
    bool mForWindow = false;
    // Whether the window's maker was there when the image was made.
    bool mMadeByWindow = false;
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
