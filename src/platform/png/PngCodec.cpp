#include "platform/png/PngCodec.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace KR::Platform
{
namespace
{

constexpr std::size_t kMaxPngFileBytes = std::size_t{256} << 20;

// Deflate turns one input byte into at most 1032 output bytes, and a pixel row of a
// 1-bit image needs an eighth of a byte per pixel: no PNG of `size` bytes holds more
// pixels than this, whatever its header claims. Generous on purpose; it only stops a
// tiny file from asking for gigabytes.
std::uint64_t MaxPixelsFor(std::size_t size)
{
    return (static_cast<std::uint64_t>(size) + 64) * 1032 * 8;
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
    if (image.width == 0 || image.height == 0 || image.width > kMaxPngSide || image.height > kMaxPngSide)
    {
        error = "PNG of " + std::to_string(image.width) + " x " + std::to_string(image.height) +
                " pixels is outside the sizes read";
        return false;
    }
    if (static_cast<std::uint64_t>(image.width) * image.height > MaxPixelsFor(size))
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
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
    {
        error = "cannot open " + path;
        return false;
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file.get())) > 0;)
    {
        if (bytes.size() + n > kMaxPngFileBytes)
        {
            error = path + " is too large for an image";
            return false;
        }
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    if (std::ferror(file.get()))
    {
        error = "cannot read " + path;
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
