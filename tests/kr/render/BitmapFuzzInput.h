#pragma once
// The seeded loop's body: decode the bytes as a PNG and,
// when that works, read every pixel through the bitmap's own operations, cut, clone and
// tint it. Returns a text naming a broken invariant, or null.

#include "kr/render/Bitmap.h"

#include <cstddef>
#include <cstdint>

namespace KRTest
{

inline const char* ExerciseBitmapPng(const std::uint8_t* data, std::size_t size)
{
    const KR::ConstRCPtr<KR::LBitmap> bitmap = KR::LBitmap::CreateFromPng(data, size);
    if (!bitmap)
    {
        return nullptr;
    }
    const std::int32_t width = bitmap->GetWidth();
    const std::int32_t height = bitmap->GetHeight();
    if (width < 1 || height < 1 || width > 16384 || height > 16384)
    {
        return "decoded size outside the sizes read";
    }
    const auto locked = bitmap->LockPixels();
    for (std::int32_t y = 0; y < height; ++y)
    {
        if (bitmap->GetColorAtPoint(width - 1, y).GetARGB() != *locked->GetPixelAddress(width - 1, y))
        {
            return "a pixel reads differently locked and as a colour";
        }
    }
    const auto cut = bitmap->CreateSubBitmap(width / 2, height / 2, width, height);
    const KR::BitmapColorizer colorizer{0, KR::ColorF(0.5f, 0.25f, 1.0f, 0.75f), KR::ColorF()};
    const auto tinted = KR::LBitmap::ApplyColorizer(&colorizer, 1.5f, 1, 1, cut, nullptr);
    if (!tinted || tinted->GetWidth() != width ||
        tinted->GetColorAtPoint(width - 1, height - 1).alpha != 0.0f)
    {
        return "a cut past its sheet must clone and tint as transparent there";
    }
    return nullptr;
}

} // namespace KRTest
