#include "platform/graphics/Surface.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace KR::Platform
{
namespace
{

std::uint32_t Premultiply(std::uint32_t argb)
{
    const std::uint32_t a = argb >> 24;
    const auto scale = [a](std::uint32_t c) { return (c * a + 127) / 255; };
    return (a << 24) | (scale((argb >> 16) & 0xFF) << 16) | (scale((argb >> 8) & 0xFF) << 8) |
           scale(argb & 0xFF);
}

std::uint32_t Unpremultiply(std::uint32_t pixel)
{
    const std::uint32_t a = pixel >> 24;
    if (a == 0)
    {
        return 0;
    }
    const auto scale = [a](std::uint32_t c) { return std::min<std::uint32_t>(255, (c * 255 + a / 2) / a); };
    return (a << 24) | (scale((pixel >> 16) & 0xFF) << 16) | (scale((pixel >> 8) & 0xFF) << 8) |
           scale(pixel & 0xFF);
}

std::uint32_t* Row(cairo_surface_t* surface, std::int32_t y)
{
    unsigned char* data = cairo_image_surface_get_data(surface);
    return reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) *
                                                       cairo_image_surface_get_stride(surface));
}

} // namespace

Surface::Surface(std::int32_t width, std::int32_t height)
    : width_(std::max(width, 1)), height_(std::max(height, 1)),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width_, height_))
{
    if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS)
    {
        // Too large for Cairo (over 32767 pixels a side) or for memory: one pixel stands
        // in, so callers never meet an image without pixels.
        cairo_surface_destroy(surface_);
        width_ = 1;
        height_ = 1;
        surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    }
}

Surface::Surface(Surface&& other) noexcept
    : width_(other.width_), height_(other.height_), surface_(std::exchange(other.surface_, nullptr)),
      fromDisplay_(other.fromDisplay_)
{
}

Surface Surface::FromDisplay(cairo_surface_t* native, std::int32_t width, std::int32_t height)
{
    const bool usable = native && cairo_surface_status(native) == CAIRO_STATUS_SUCCESS &&
                        cairo_surface_get_type(native) == CAIRO_SURFACE_TYPE_IMAGE &&
                        cairo_image_surface_get_format(native) == CAIRO_FORMAT_ARGB32 && width >= 1 &&
                        height >= 1 && cairo_image_surface_get_width(native) == width &&
                        cairo_image_surface_get_height(native) == height;
    if (!usable)
    {
        if (native)
        {
            cairo_surface_destroy(native);
        }
        return Surface(width, height);
    }
    Surface image(1, 1);
    cairo_surface_destroy(image.surface_);
    image.width_ = width;
    image.height_ = height;
    image.surface_ = native;
    image.fromDisplay_ = true;
    return image;
}

Surface::~Surface()
{
    if (surface_)
    {
        cairo_surface_destroy(surface_);
    }
}

Surface Surface::FromPixels(std::int32_t width, std::int32_t height, const std::uint32_t* pixels,
                            std::int32_t stride)
{
    Surface image(width, height);
    if (pixels && width == image.width_ && height == image.height_)
    {
        cairo_surface_flush(image.surface_);
        for (std::int32_t y = 0; y < height; ++y)
        {
            std::uint32_t* row = Row(image.surface_, y);
            const std::uint32_t* from = pixels + static_cast<std::ptrdiff_t>(y) * stride;
            std::transform(from, from + width, row, Premultiply);
        }
        cairo_surface_mark_dirty(image.surface_);
    }
    return image;
}

Surface Surface::Adopt(std::int32_t width, std::int32_t height, std::vector<std::uint32_t>&& pixels,
                       std::vector<LostPixel>& lost)
{
    lost.clear();
    if (width < 1 || height < 1 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) ||
        cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, width) != width * 4)
    {
        return Surface(width, height);
    }
    // Most of a picture is opaque, and an opaque pixel is its own premultiplied form; a
    // transparent one premultiplies to 0 and loses any colour it had. Only the pixels in
    // between need the arithmetic. Opaque runs are passed four pixels at a time: all four
    // have alpha 0xFF exactly when the AND of the four does.
    std::uint32_t* const data = pixels.data();
    const std::size_t count = pixels.size();
    std::size_t i = 0;
    while (i < count)
    {
        while (i + 4 <= count && (data[i] & data[i + 1] & data[i + 2] & data[i + 3]) >= 0xFF000000u)
        {
            i += 4;
        }
        const std::size_t end = std::min(i + 4, count);
        for (; i < end; ++i)
        {
            const std::uint32_t straight = data[i];
            const std::uint32_t alpha = straight >> 24;
            if (alpha == 0xFF)
            {
                continue;
            }
            data[i] = alpha == 0 ? 0 : Premultiply(straight);
            if ((alpha == 0 && straight != 0) || (alpha != 0 && Unpremultiply(data[i]) != straight))
            {
                lost.push_back({i, straight});
            }
        }
    }
    // The vector moves to the heap, so the surface owns the pixels whatever becomes of the
    // one it was given; moving leaves them where they are.
    auto* owned = new std::vector<std::uint32_t>(std::move(pixels));
    cairo_surface_t* native = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(owned->data()), CAIRO_FORMAT_ARGB32, width, height, width * 4);
    static const cairo_user_data_key_t kOwnedPixels{};
    if (cairo_surface_status(native) == CAIRO_STATUS_SUCCESS &&
        cairo_surface_set_user_data(native, &kOwnedPixels, owned,
                                    [](void* data) {
                                        delete static_cast<std::vector<std::uint32_t>*>(data);
                                    }) == CAIRO_STATUS_SUCCESS)
    {
        Surface image(1, 1);
        cairo_surface_destroy(image.surface_);
        image.width_ = width;
        image.height_ = height;
        image.surface_ = native;
        return image;
    }
    // Cairo could not wrap them (out of memory): a surface of its own gets a copy.
    cairo_surface_destroy(native);
    Surface image(width, height);
    if (image.width_ == width && image.height_ == height)
    {
        cairo_surface_flush(image.surface_);
        for (std::int32_t y = 0; y < height; ++y)
        {
            std::copy_n(owned->data() + static_cast<std::ptrdiff_t>(y) * width, width,
                        Row(image.surface_, y));
        }
        cairo_surface_mark_dirty(image.surface_);
    }
    delete owned;
    return image;
}

std::uint32_t Surface::GetPixel(std::int32_t x, std::int32_t y) const
{
    if (!surface_ || x < 0 || y < 0 || x >= width_ || y >= height_)
    {
        return 0;
    }
    cairo_surface_flush(surface_);
    return Unpremultiply(Row(surface_, y)[x]);
}

void Surface::WritePixels(const PixelRect& area, std::uint32_t argb)
{
    // In 64 bits: the far edges of a rectangle near the 32-bit limits would overflow.
    const std::int64_t left = std::max<std::int64_t>(area.x, 0);
    const std::int64_t top = std::max<std::int64_t>(area.y, 0);
    const std::int64_t right = std::min<std::int64_t>(std::int64_t{area.x} + area.width, width_);
    const std::int64_t bottom = std::min<std::int64_t>(std::int64_t{area.y} + area.height, height_);
    if (!surface_ || left >= right || top >= bottom)
    {
        return;
    }
    cairo_surface_flush(surface_);
    const std::uint32_t pixel = Premultiply(argb);
    for (std::int64_t y = top; y < bottom; ++y)
    {
        std::uint32_t* row = Row(surface_, static_cast<std::int32_t>(y));
        std::fill(row + left, row + right, pixel);
    }
    cairo_surface_mark_dirty_rectangle(surface_, static_cast<int>(left), static_cast<int>(top),
                                       static_cast<int>(right - left), static_cast<int>(bottom - top));
}

void Surface::MovePixels(const PixelRect& area, std::int32_t dx, std::int32_t dy)
{
    // The destination: the area moved, cut to the area and the image; in 64 bits, as above.
    const std::int64_t areaLeft = std::max<std::int64_t>(area.x, 0);
    const std::int64_t areaTop = std::max<std::int64_t>(area.y, 0);
    const std::int64_t areaRight = std::min<std::int64_t>(std::int64_t{area.x} + area.width, width_);
    const std::int64_t areaBottom = std::min<std::int64_t>(std::int64_t{area.y} + area.height, height_);
    const std::int64_t left = std::max(areaLeft, areaLeft + dx);
    const std::int64_t top = std::max(areaTop, areaTop + dy);
    const std::int64_t right = std::min(areaRight, areaRight + dx);
    const std::int64_t bottom = std::min(areaBottom, areaBottom + dy);
    if (!surface_ || left >= right || top >= bottom)
    {
        return;
    }
    cairo_surface_flush(surface_);
    const std::size_t count = static_cast<std::size_t>(right - left);
    // Rows in the order that reads each before it is written over.
    for (std::int64_t i = 0; i < bottom - top; ++i)
    {
        const std::int64_t y = dy > 0 ? bottom - 1 - i : top + i;
        std::uint32_t* to = Row(surface_, static_cast<std::int32_t>(y)) + left;
        const std::uint32_t* from = Row(surface_, static_cast<std::int32_t>(y - dy)) + (left - dx);
        std::memmove(to, from, count * sizeof(std::uint32_t));
    }
    cairo_surface_mark_dirty_rectangle(surface_, static_cast<int>(left), static_cast<int>(top),
                                       static_cast<int>(right - left), static_cast<int>(bottom - top));
}

bool Surface::WritePng(const std::string& path) const
{
    return surface_ && cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

} // namespace KR::Platform
