#include "kr/render/gdi/GDIRenderContextInfo.h"

#include "platform/graphics/Present.h"

namespace KR
{

LGDIRendererOffscreenSurface::LGDIRendererOffscreenSurface(const PointI& size, WindowHandle window,
                                                           bool forWindow)
    : mWindow(window), mForWindow(forWindow)
{
    Resize(size.x, size.y);
}

Result LGDIRendererOffscreenSurface::Resize(std::int32_t width, std::int32_t height)
{
    // The canvas refers to the image, so it goes first.
    mGraphics.reset();
    if (mForWindow)
    {
        const Platform::WindowKey key = mWindow;
        mMadeByWindow = Platform::CanMakeWindowImage(key);
        mBitmap = std::make_unique<Platform::Surface>(Platform::MakeWindowImage(key, width, height));
    }
    else
    {
        mBitmap = std::make_unique<Platform::Surface>(width, height);
    }
    mGraphics = std::make_unique<Platform::Canvas>(*mBitmap);
    return kOk;
}

bool LGDIRendererOffscreenSurface::TakeWindowImage(bool keepPixels)
{
    if (!mForWindow || mMadeByWindow || !Platform::CanMakeWindowImage(mWindow))
    {
        return false;
    }
    mGraphics->Flush();
    std::unique_ptr<Platform::Surface> old = std::move(mBitmap);
    Resize(old->GetWidth(), old->GetHeight());
    if (keepPixels)
    {
        mGraphics->DrawSurface(*old, 0, 0, Platform::PixelRect{0, 0, old->GetWidth(), old->GetHeight()},
                               Platform::Canvas::Blend::kCopy);
    }
    return true;
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
      mFront(new LGDIRendererOffscreenSurface(PointI{viewport.width, viewport.height}, window, !offscreen)),
      mBack(new LGDIRendererOffscreenSurface(PointI{viewport.width, viewport.height}, window))
{
}

} // namespace KR
