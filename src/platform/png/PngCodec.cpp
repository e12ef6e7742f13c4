#include "platform/png/PngCodec.h"

#include "platform/system/FileDescriptor.h"

#include <png.h>

#include <algorithm>

#include <cstdio>
#include <cstring>
#include <memory>

namespace KR::Platform
{
namespace
{

// The largest PNG file read: one holding the largest image drawn, stored without
// compression, fits with room to spare.
constexpr std::size_t kMaxPngFileBytes = std::size_t{96} << 20;

// Deflate turns one byte into at most 1032; a little more is allowed for the stream's
// own header and checksum.
constexpr std::uint64_t kMaxInflation = 1032;
constexpr std::uint64_t kStreamOverhead = 16;

std::uint32_t ReadBigEndian(const std::uint8_t* bytes)
{
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
           (std::uint32_t{bytes[2]} << 8) | bytes[3];
}

// The bytes of compressed pixel data present in the file: the IDAT chunks, as far as
// the data reaches.
std::uint64_t CompressedPixelBytes(const std::uint8_t* png, std::size_t size)
{
    std::uint64_t total = 0;
    for (std::size_t at = 8; at + 8 <= size;)
    {
        const std::uint64_t length = ReadBigEndian(png + at);
        if (std::memcmp(png + at + 4, "IDAT", 4) == 0)
        {
            total += std::min<std::uint64_t>(length, size - at - 8);
        }
        at += static_cast<std::size_t>(std::min<std::uint64_t>(length + 12, size - at));
    }
    return total;
}

// The fewest bytes the image's rows take before compression: a filter byte per row and
// the pixels at the header's bit depth (interlaced images take more, never fewer). The
// header was checked by libpng before this is asked.
std::uint64_t UncompressedRowBytes(const std::uint8_t* png, std::uint32_t width, std::uint32_t height)
{
    const std::uint64_t bitDepth = png[24];
    std::uint64_t channels = 1;
    switch (png[25])
    {
    case 2: // RGB
        channels = 3;
        break;
    case 4: // grey and alpha
        channels = 2;
        break;
    case 6: // RGBA
        channels = 4;
        break;
    default: // grey, palette
        break;
    }
    return std::uint64_t{height} * (1 + (std::uint64_t{width} * channels * bitDepth + 7) / 8);
}

struct ImageGuard
{
    png_image image;
    ImageGuard()
    {
        std::memset(&image, 0, sizeof image);
        image.version = PNG_IMAGE_VERSION;
    }
    ~ImageGuard() { png_image_free(&image); }
};

} // namespace

bool DecodePng(const void* data, std::size_t size, DecodedImage& out, std::string& error)
{
    out = DecodedImage{};
    if (data == nullptr || size == 0)
    {
        error = "no PNG data";
        return false;
    }
    ImageGuard guard;
    png_image& image = guard.image;
    if (!png_image_begin_read_from_memory(&image, data, size))
    {
        error = image.message;
        return false;
    }
    if (image.width == 0 || image.height == 0 || image.width > kMaxPngSide || image.height > kMaxPngSide ||
        std::uint64_t{image.width} * image.height > kMaxPngPixels)
    {
        error = "PNG of " + std::to_string(image.width) + " x " + std::to_string(image.height) +
                " pixels is outside the sizes read";
        return false;
    }
    // Checked before the pixel buffer is made: a small file claiming a large image is
    // refused without the memory it claims.
    const std::uint8_t* png = static_cast<const std::uint8_t*>(data);
    if (UncompressedRowBytes(png, image.width, image.height) >
        (CompressedPixelBytes(png, size) + kStreamOverhead) * kMaxInflation)
    {
        error = "PNG claims more pixels than its data can hold";
        return false;
    }
    image.format = PNG_FORMAT_BGRA;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(image.width) * image.height);
    if (!png_image_finish_read(&image, nullptr, pixels.data(), static_cast<png_int_32>(image.width * 4),
                               nullptr))
    {
        error = image.message;
        return false;
    }
    out.width = static_cast<std::int32_t>(image.width);
    out.height = static_cast<std::int32_t>(image.height);
    out.pixels = std::move(pixels);
    return true;
}

bool DecodePngFile(const std::string& path, DecodedImage& out, std::string& error)
{
    out = DecodedImage{};
    // Only a regular file opens, and without waiting: a FIFO would hold the program, a
    // device like /dev/zero would never end.
    const int descriptor = OpenFile(path, FileOpenMode{});
    if (descriptor < 0)
    {
        error = "cannot open " + path + " as a file";
        return false;
    }
    const std::int64_t size = GetFileSize(descriptor);
    std::vector<std::uint8_t> bytes;
    bool read = size >= 0 && static_cast<std::uint64_t>(size) <= kMaxPngFileBytes;
    if (read)
    {
        // One byte past the bound tells a file that grew since it was measured.
        bytes.resize(static_cast<std::size_t>(size) + 1);
        std::size_t total = 0;
        while (total < bytes.size())
        {
            const std::int64_t got = ReadFile(descriptor, bytes.data() + total, bytes.size() - total);
            if (got <= 0)
            {
                read = got == 0;
                break;
            }
            total += static_cast<std::size_t>(got);
        }
        bytes.resize(total);
        read = read && total <= kMaxPngFileBytes;
    }
    CloseFile(descriptor);
    if (!read)
    {
        error = "cannot read " + path + " whole, or it is too large for an image";
        return false;
    }
    return DecodePng(bytes.data(), bytes.size(), out, error);
}

std::vector<std::uint8_t> EncodePng(std::int32_t width, std::int32_t height, const std::uint32_t* pixels)
{
    if (width <= 0 || height <= 0 || pixels == nullptr)
    {
        return {};
    }
    ImageGuard guard;
    png_image& image = guard.image;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_BGRA;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels, width * 4, nullptr))
    {
        return {};
    }
    std::vector<std::uint8_t> bytes(size);
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels, width * 4, nullptr))
    {
        return {};
    }
    bytes.resize(size);
    return bytes;
}

bool WritePngFile(const std::string& path, std::int32_t width, std::int32_t height,
                  const std::uint32_t* pixels)
{
    const std::vector<std::uint8_t> bytes = EncodePng(width, height, pixels);
    if (bytes.empty())
    {
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
    {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

} // namespace KR::Platform
