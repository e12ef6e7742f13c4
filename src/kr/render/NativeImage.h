#pragma once
// The decoded pixels behind a bitmap sheet: 32-bit straight-alpha pixels (blue, green,
// red, alpha in memory; 0xAARRGGBB as a value), rows without padding. Tinting, colour
// queries and texture uploads read these; the 2D renderer keeps a premultiplied copy of
// its own for drawing, which goes whenever the pixels change.

#include <cstdint>
#include <memory>
#include <vector>

namespace KR
{

class NativeImage
{
public:
    // Transparent black pixels.
    NativeImage(std::int32_t width, std::int32_t height);
    NativeImage(std::int32_t width, std::int32_t height, std::vector<std::uint32_t> pixels);
    NativeImage(const NativeImage&) = delete;
    NativeImage& operator=(const NativeImage&) = delete;

    std::int32_t GetWidth() const { return mWidth; }
    std::int32_t GetHeight() const { return mHeight; }
    // Bytes per row.
    std::int32_t GetStride() const { return mWidth * 4; }
    // A process-wide number of its own, never that of another image.
    std::int32_t GetHandle() const { return mHandle; }

    bool Contains(std::int32_t x, std::int32_t y) const
    {
        return x >= 0 && y >= 0 && x < mWidth && y < mHeight;
    }
    // 0 (transparent) outside the image.
    std::uint32_t GetPixel(std::int32_t x, std::int32_t y) const
    {
        return Contains(x, y) ? mPixels[Index(x, y)] : 0u;
    }
    // Null outside the image.
    std::uint32_t* GetPixelAddress(std::int32_t x, std::int32_t y)
    {
        return Contains(x, y) ? &mPixels[Index(x, y)] : nullptr;
    }
    const std::uint32_t* GetPixels() const { return mPixels.data(); }
    std::uint32_t* GetPixels() { return mPixels.data(); }

    // Call after writing pixels: drops what was made from the old ones.
    void MarkChanged() { mDrawingCopy.reset(); }

    // What a renderer made from these pixels to draw them (its premultiplied surface),
    // kept until the pixels change.
    const std::shared_ptr<void>& GetDrawingCopy() const { return mDrawingCopy; }
    void SetDrawingCopy(std::shared_ptr<void> copy) const { mDrawingCopy = std::move(copy); }

private:
    std::size_t Index(std::int32_t x, std::int32_t y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(mWidth) + static_cast<std::size_t>(x);
    }

    std::int32_t mWidth;
    std::int32_t mHeight;
    std::int32_t mHandle;
    std::vector<std::uint32_t> mPixels;
    mutable std::shared_ptr<void> mDrawingCopy;
};

} // namespace KR
