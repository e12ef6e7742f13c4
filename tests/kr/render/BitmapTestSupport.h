#pragma once
// Pixels for the bitmap tests: PNG files written into a fresh folder, and pixels read
// back from bitmaps.

#include "kr/render/Bitmap.h"
#include "platform/png/PngCodec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace KR::Test
{

// A folder of its own under the system's temporary folder, for one test's files.
inline std::string MakeTempFolder()
{
    std::string pattern = ::testing::TempDir() + "bitmapXXXXXX";
    return mkdtemp(pattern.data()) ? pattern : std::string();
}

inline std::string WritePng(const std::string& folder, const std::string& name, std::int32_t width,
                            std::int32_t height, const std::vector<std::uint32_t>& pixels)
{
    const std::string path = folder + "/" + name;
    EXPECT_TRUE(Platform::WritePngFile(path, width, height, pixels.data())) << path;
    return path;
}

// The bitmap's own rectangle as straight 0xAARRGGBB values, row by row.
inline std::vector<std::uint32_t> ReadPixels(const LBitmap& bitmap)
{
    std::vector<std::uint32_t> pixels;
    for (std::int32_t y = 0; y < bitmap.GetHeight(); ++y)
    {
        for (std::int32_t x = 0; x < bitmap.GetWidth(); ++x)
        {
            pixels.push_back(bitmap.GetColorAtPoint(x, y).GetARGB());
        }
    }
    return pixels;
}

} // namespace KR::Test
