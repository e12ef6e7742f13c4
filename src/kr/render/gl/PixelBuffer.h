#pragma once
// KR::LPixelBuffer: a rectangle of pixels with a pitch, shared by reference: glyph bitmaps
// on their way from the font renderer to a glyph processor, and glyph atlases.

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/Types.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace KR
{

template <typename T>
class LPixelBuffer : public virtual LRefCountedObject
{
public:
    // With a source, pitch x height units are copied from it as they are; without one the
    // pixels are zero and a pitch of 0 becomes the width rounded up to 16.
    LPixelBuffer(std::uint32_t width, std::uint32_t height, std::int32_t pitch, const T* source)
        : mWidth(width), mHeight(height),
          mPitch(source == nullptr && pitch == 0 ? static_cast<std::int32_t>((width + 15) & ~15u) : pitch)
    {
        const std::size_t size = static_cast<std::size_t>(std::max(mPitch, 0)) * height;
        if (source != nullptr)
        {
            mData.assign(source, source + size);
        }
        else
        {
            mData.assign(size, T{});
        }
    }
    static RCPtr<LPixelBuffer> Create(std::uint32_t width, std::uint32_t height, std::int32_t pitch,
                                      const T* source)
    {
        return RCPtr<LPixelBuffer>(new LPixelBuffer(width, height, pitch, source));
    }

    std::uint32_t GetWidth() const { return mWidth; }
    std::uint32_t GetHeight() const { return mHeight; }
    std::int32_t GetPitch() const { return mPitch; }
    // Null past the data.
    T* GetPixels(std::uint32_t x, std::uint32_t y)
    {
        const std::uint64_t offset = static_cast<std::uint64_t>(std::max(mPitch, 0)) * y + x;
        return offset + 1 > mData.size() ? nullptr : mData.data() + offset;
    }
    const T* GetPixels(std::uint32_t x, std::uint32_t y) const
    {
        return const_cast<LPixelBuffer*>(this)->GetPixels(x, y);
    }
    // Keeps the pitch; new rows are zero.
    Result SetHeight(std::uint32_t height)
    {
        mData.resize(static_cast<std::size_t>(std::max(mPitch, 0)) * height, T{});
        mHeight = height;
        return height != 0 && mData.empty() ? kFail : kOk;
    }

private:
    std::uint32_t mWidth;
    std::uint32_t mHeight;
    std::int32_t mPitch;
    std::vector<T> mData;
};

} // namespace KR
