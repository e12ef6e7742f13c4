#include "kr/render/gdi/GDIRenderContextInfo.h"

namespace KR
{

LGDIRendererOffscreenSurface::LGDIRendererOffscreenSurface(const PointI& size, WindowHandle window)
    : mWindow(window)
{
    Resize(size.x, size.y);
}

Result LGDIRendererOffscreenSurface::Resize(std::int32_t width, std::int32_t height)
{
    // The canvas refers to the image, so it goes first.
    mGraphics.reset();
    mBitmap = std::make_unique<Platform::Surface>(width, height);
    mGraphics = std::make_unique<Platform::Canvas>(*mBitmap);
    return kOk;
}

PointI LGDIRendererOffscreenSurface::GetSize() const
{
    return mBitmap ? PointI{mBitmap->GetWidth(), mBitmap->GetHeight()} : PointI{};
}

void LGDIRendererOffscreenSurface::Blit(Platform::Canvas& target, const PointI& at, const RectI& source) const
{
    target.DrawSurface(*mBitmap, at.x, at.y,
                       Platform::PixelRect{source.x, source.y, source.width, source.height},
                       Platform::Canvas::Blend::kCopy);
}

LGDIRenderContextInfo::LGDIRenderContextInfo(const RectI& viewport, WindowHandle window, bool offscreen)
    : LRenderContextInfo(viewport, window, offscreen),
      mFront(new LGDIRendererOffscreenSurface(PointI{viewport.width, viewport.height}, window)),
      mBack(new LGDIRendererOffscreenSurface(PointI{viewport.width, viewport.height}, window))
{
}

} // namespace KR
