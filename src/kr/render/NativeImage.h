#pragma once
// The decoded pixels behind a bitmap sheet: 32-bit straight-alpha pixels (blue, green,
// red, alpha in memory; 0xAARRGGBB as a value), rows without padding. Tinting, colour
// queries and texture uploads read these; the 2D renderer draws from a premultiplied copy
// of its own, which goes whenever the pixels change.
//
// The renderer makes that copy out of the pixels themselves (HandOverToDrawingCopy), so a
// picture is held once, not twice: colour queries then read the copy, and whatever asks
// for the pixels' memory gets them back from it first.

#include <cstddef>
#include <cstdint>
#include <functional>
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
        if (!Contains(x, y))
        {
            return 0u;
        }
        return mPixels.empty() ? mHandedOver.straight(Index(x, y)) : mPixels[Index(x, y)];
    }
    // Null outside the image.
    std::uint32_t* GetPixelAddress(std::int32_t x, std::int32_t y)
    {
        if (!Contains(x, y))
        {
            return nullptr;
        }
        TakeBack();
        return &mPixels[Index(x, y)];
    }
    const std::uint32_t* GetPixels() const
    {
        TakeBack();
        return mPixels.data();
    }
    std::uint32_t* GetPixels()
    {
        TakeBack();
        return mPixels.data();
    }

    // Call after writing pixels: drops what was made from the old ones.
    void MarkChanged()
    {
        TakeBack();
        mHandedOver = {};
    }

    // What a renderer made from these pixels to draw them (its premultiplied surface),
    // kept until the pixels change.
    const std::shared_ptr<void>& GetDrawingCopy() const { return mHandedOver.copy; }

    // A drawing copy made of the pixels themselves, which then keep living only in it:
    // `copy` owns them, changed as it needs, and `straight` gives back a pixel's value as
    // this image held it (by index, y * width + x).
    struct DrawingCopy
    {
        std::shared_ptr<void> copy;
        std::function<std::uint32_t(std::size_t index)> straight;
    };
    // Hands the pixels to `make` (straight, width * height of them) and keeps the copy it
    // makes of them, until the pixels change.
    void HandOverToDrawingCopy(const std::function<DrawingCopy(std::vector<std::uint32_t>&&)>& make) const;

private:
    std::size_t Index(std::int32_t x, std::int32_t y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(mWidth) + static_cast<std::size_t>(x);
    }

    // The pixels back from the drawing copy that holds them, when it does.
    void TakeBack() const;

    std::int32_t mWidth;
    std::int32_t mHeight;
    std::int32_t mHandle;
    // Empty while the drawing copy holds the pixels.
    mutable std::vector<std::uint32_t> mPixels;
    mutable DrawingCopy mHandedOver;
};

} // namespace KR
