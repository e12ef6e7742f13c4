#pragma once
// PNG images to and from 32-bit pixels with straight (not premultiplied) alpha, laid out
// in memory as blue, green, red, alpha: on this little-endian machine one pixel reads as
// the 32-bit value 0xAARRGGBB.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace KR::Platform
{

struct DecodedImage
{
    std::int32_t width = 0;
    std::int32_t height = 0;
    // width * height pixels, rows top to bottom with no padding.
    std::vector<std::uint32_t> pixels;
};

// Images claiming more pixels than this on a side, or more pixels in all than the
// largest image the renderers draw (4096 x 4096), are refused before any pixel buffer
// is made.
inline constexpr std::uint32_t kMaxPngSide = 16384;
inline constexpr std::uint64_t kMaxPngPixels = std::uint64_t{4096} * 4096;

// False, with `out` left empty and a reason in `error`, for anything that is not a whole,
// sound PNG within the sizes above. A file whose compressed data is too short to hold the
// pixels it claims is refused before its buffer is made, however large the claim.
bool DecodePng(const void* data, std::size_t size, DecodedImage& out, std::string& error);
// Reads the whole file first, then decodes it. Only a regular file is read, and none
// larger than an image of the largest size can be: a FIFO or device is refused at once.
bool DecodePngFile(const std::string& path, DecodedImage& out, std::string& error);

// An RGBA PNG of the pixels (`width` * `height` values). Empty on failure.
std::vector<std::uint8_t> EncodePng(std::int32_t width, std::int32_t height, const std::uint32_t* pixels);
bool WritePngFile(const std::string& path, std::int32_t width, std::int32_t height,
                  const std::uint32_t* pixels);

} // namespace KR::Platform
