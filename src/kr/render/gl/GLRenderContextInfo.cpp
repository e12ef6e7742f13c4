#include "kr/render/gl/GLRenderContextInfo.h"

namespace KR
{

LGLRenderContextInfo::LGLRenderContextInfo(const RectI& viewport, WindowHandle window, bool offscreen,
                                           std::shared_ptr<Platform::IGLPlatform> platform)
    : LRenderContextInfo(viewport, window, offscreen), mPlatform(std::move(platform)),
      mDrawable(mPlatform->GetDrawable(offscreen ? nullptr : window, viewport.width, viewport.height))
{
}

LGLRenderContextInfo::~LGLRenderContextInfo()
{
    mPlatform->ReleaseDrawable(mDrawable);
}

void LGLRenderContextInfo::SwapBuffers()
{
    if (!offscreen)
    {
        mPlatform->SwapBuffers(mDrawable);
    }
}

} // namespace KR
