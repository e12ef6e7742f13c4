#pragma once
// Images in memory: 32-bit ARGB pixels, kept premultiplied (the form Cairo blends in)
// and read and written straight at this interface, so a colour written exactly comes
// back as written.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct _cairo_surface;

namespace KR::Platform
{

// x, y, width, height in pixels.
struct PixelRect
{
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

class Surface
{
public:
    // Sizes below 1 become 1: a window may be 0 wide for a moment, and an image of no
    // pixels cannot be drawn on. A size Cairo cannot make (over 32767 a side) gives 1 x 1.
    // The pixels start transparent black.
    Surface(std::int32_t width, std::int32_t height);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // An image holding a copy of straight-alpha ARGB pixels, `stride` pixels per row.
    static Surface FromPixels(std::int32_t width, std::int32_t height, const std::uint32_t* pixels,
                              std::int32_t stride);

    // A pixel whose straight value premultiplying loses: its index (y * width + x) and value.
    struct LostPixel
    {
        std::size_t index = 0;
        std::uint32_t argb = 0;
    };
    // An image made of straight-alpha pixels, width * height of them, that it takes over and
    // premultiplies where they lie instead of copying them; `lost` receives, in index order,
    // the pixels whose straight value GetPixel cannot give back (a colour under alpha 0, or
    // one rounded under partial alpha). A count other than width * height gives a transparent
    // image, as the constructor makes it.
    static Surface Adopt(std::int32_t width, std::int32_t height, std::vector<std::uint32_t>&& pixels,
                         std::vector<LostPixel>& lost);
    Surface(Surface&& other) noexcept;

    // An image the display made for a window's frames (one in memory the display server
    // shares, where it can), taken over with its reference and its pixels as they are (a
    // similar image Cairo makes starts transparent). Anything but a 32-bit ARGB image of the
    // size asked for gives an ordinary, transparent image.
    static Surface FromDisplay(_cairo_surface* native, std::int32_t width, std::int32_t height);
    // True for an image FromDisplay took over: frames go from it to the window whole.
    bool IsFromDisplay() const { return fromDisplay_; }

    std::int32_t GetWidth() const { return width_; }
    std::int32_t GetHeight() const { return height_; }

    // Straight ARGB; 0 outside the image.
    std::uint32_t GetPixel(std::int32_t x, std::int32_t y) const;

    // Sets every pixel of the rectangle inside the image to the colour, unblended. The
    // part of the rectangle outside the image is ignored.
    void WritePixels(const PixelRect& area, std::uint32_t argb);

    // Copies the pixels inside `area` by (dx, dy), cut to the area and the image, in place
    // (the parts may overlap); what the copy leaves uncovered keeps its pixels.
    void MovePixels(const PixelRect& area, std::int32_t dx, std::int32_t dy);

    // False when the file could not be written.
    bool WritePng(const std::string& path) const;

    _cairo_surface* GetNative() const { return surface_; }

private:
    std::int32_t width_ = 1;
    std::int32_t height_ = 1;
    _cairo_surface* surface_ = nullptr;
    bool fromDisplay_ = false;
};

} // namespace KR::Platform
