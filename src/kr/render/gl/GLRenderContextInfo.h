#pragma once
// The render context of the GL renderer: a window's (or an offscreen image's) drawable
// from the GL platform, and the largest viewport the GL takes, which the renderer fills
// in while its rendering context is current on the drawable.

#include "kr/render/RenderState.h"
#include "platform/gl/GLPlatform.h"

#include <cstdint>
#include <memory>

namespace KR
{

class LGLRenderContextInfo : public LRenderContextInfo
{
public:
    LGLRenderContextInfo(const RectI& viewport, WindowHandle window, bool offscreen,
                         std::shared_ptr<Platform::IGLPlatform> platform);
    ~LGLRenderContextInfo() override;

    PointI GetMaxImageSize() const override { return PointI{maxViewportWidth, maxViewportHeight}; }
    // Shows the back buffer of a window context; an offscreen one has nothing to show.
    void SwapBuffers();

    Platform::GLDrawable GetDrawable() const { return mDrawable; }
    // The texture that holds the image, for drawing it elsewhere: none is kept yet, so
    // the default texture 0.
    std::uint32_t GetTextureName() const { return 0; }

    std::int32_t maxViewportWidth = 0;
    std::int32_t maxViewportHeight = 0;

private:
    std::shared_ptr<Platform::IGLPlatform> mPlatform;
    Platform::GLDrawable mDrawable;
};

} // namespace KR
