#include "kr/render/NativeImage.h"

#include <atomic>

namespace KR
{
namespace
{

// Identities come from a counter, never from addresses: two images alive at once never
// share one, so caches keyed by it can't mix them up.
std::atomic<std::int32_t> gLastHandle{0};

} // namespace

NativeImage::NativeImage(std::int32_t width, std::int32_t height)
    : NativeImage(
          width, height,
          std::vector<std::uint32_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)))
{
}

NativeImage::NativeImage(std::int32_t width, std::int32_t height, std::vector<std::uint32_t> pixels)
    : mWidth(width), mHeight(height), mHandle(gLastHandle.fetch_add(1, std::memory_order_relaxed) + 1),
      mPixels(std::move(pixels))
{
}

void NativeImage::HandOverToDrawingCopy(
    const std::function<DrawingCopy(std::vector<std::uint32_t>&&)>& make) const
{
    TakeBack();
    std::vector<std::uint32_t> pixels = std::move(mPixels);
    DrawingCopy made = make(std::move(pixels));
    if (made.copy && made.straight)
    {
        mPixels = std::vector<std::uint32_t>();
        mHandedOver = std::move(made);
        return;
    }
    // Nothing made: the pixels stay, unless `make` took them.
    mPixels = std::move(pixels);
    mPixels.resize(static_cast<std::size_t>(mWidth) * static_cast<std::size_t>(mHeight));
    mHandedOver = {};
}

void NativeImage::TakeBack() const
{
    if (!mPixels.empty() || !mHandedOver.straight)
    {
        return;
    }
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(mWidth) * static_cast<std::size_t>(mHeight));
    for (std::size_t i = 0; i < pixels.size(); ++i)
    {
        pixels[i] = mHandedOver.straight(i);
    }
    mPixels = std::move(pixels);
}

} // namespace KR
