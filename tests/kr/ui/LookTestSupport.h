#pragma once
// Parts, bitmaps and frames for the tests of visual parts and looks.

#include "kr/render/Bitmap.h"
#include "kr/render/Region.h"
#include "kr/render/gdi/RendererFrame.h"
#include "kr/ui/VisualPartDescriptor.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace KR::LookTest
{

inline constexpr std::uint32_t kInk = 0xFF3060C0;

// A colour part of the size, its solid colorizer at the modulation.
inline RCPtr<LVisualPartDescriptor> ColourPart(std::int32_t width, std::int32_t height, std::uint32_t argb,
                                               std::int32_t resizeType, float alpha)
{
    RCPtr<LColorizer> colorizer(new LColorizer);
    colorizer->color = ColorF::FromARGB(argb);
    RCPtr<LVisualPartDescriptor> part(new LVisualPartDescriptor);
    part->width = width;
    part->height = height;
    part->resizeType = resizeType;
    part->colorizer = colorizer;
    part->colorizerAlpha = alpha;
    return part;
}

constexpr std::uint32_t At(std::int32_t x, std::int32_t y)
{
    return 0xFF000000u | static_cast<std::uint32_t>(x) << 8 | static_cast<std::uint32_t>(y);
}

// Every pixel opaque and telling where it is (At), but the listed ones transparent.
inline ConstRCPtr<LBitmap> PositionBitmap(std::int32_t width, std::int32_t height,
                                          const std::vector<std::pair<std::int32_t, std::int32_t>>& clear)
{
    ConstRCPtr<LBitmap> bitmap(new LBitmap(width, height));
    const RCPtr<LBitmapData> pixels = bitmap->LockPixels();
    for (std::int32_t i = 0; i < width * height; ++i)
    {
        const std::pair<std::int32_t, std::int32_t> at{i % width, i / width};
        *pixels->GetPixelAddress(at.first, at.second) =
            std::find(clear.begin(), clear.end(), at) == clear.end() ? At(at.first, at.second) : 0;
    }
    return bitmap;
}

struct Ink
{
    RectI bounds;  // of every pixel not transparent; empty for none
    int solid = 0; // pixels at least half covered
};

// Where the frame holds ink; each pixel at least half covered is checked to carry the
// colour (a glyph's edge may be a unit off after unpremultiplying).
inline Ink FindInk(const Test::RendererFrame& frame, std::int32_t width, std::int32_t height,
                   std::uint32_t color)
{
    EdgesI edges{width, height, 0, 0};
    int solid = 0;
    for (std::int32_t y = 0; y < height; ++y)
    {
        for (std::int32_t x = 0; x < width; ++x)
        {
            const std::uint32_t pixel = frame.Pixel(x, y);
            if ((pixel >> 24) == 0)
            {
                continue;
            }
            UnionRectInt(RectD{static_cast<double>(x), static_cast<double>(y), 1.0, 1.0}, edges);
            solid += (pixel >> 24) >= 0x80 ? 1 : 0;
            for (const int shift : {0, 8, 16})
            {
                EXPECT_NEAR((pixel >> shift) & 0xFF, (color >> shift) & 0xFF, (pixel >> 24) >= 0x80 ? 2 : 255)
                    << x << "," << y;
            }
        }
    }
    return Ink{edges.right > edges.left ? RectFromEdges(edges) : RectI{}, solid};
}

template <typename F>
std::string ThrownText(F&& f)
{
    try
    {
        f();
    }
    catch (const std::exception& e)
    {
        return e.what();
    }
    return {};
}

} // namespace KR::LookTest
