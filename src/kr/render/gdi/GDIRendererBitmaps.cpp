// DrawBitmap and its cache: each (bitmap, size) is resized once into a picture of its
// own, which later frames only copy; a bitmap at its own size is copied from its sheet.

#include "kr/core/Exception.h"
#include "kr/render/gdi/GDIRenderer.h"
#include "platform/graphics/Canvas.h"

#include <algorithm>
#include <memory>

namespace KR
{
namespace
{

constexpr char kInvalidResizeTypeText[] =
    "Invalid Argument : Invalid ResizeType passed to DrawBitmap. : "
    "KR::LGDIRenderer::DrawBitmap : Renderer\\Gdi\\GDIRenderer : Line 553";
constexpr char kNoContextText[] =
    "Runtime Error : KR::LGDIRenderer::DrawBitmap : Renderer\\Gdi\\GDIRenderer : Line 562";

constexpr std::int32_t kStretch = 0;
constexpr std::int32_t kTile = 1;
constexpr std::int32_t kCenter = 2;
// From three repeats in a direction one pattern fill is cheaper than copies.
constexpr double kTilePatternRatio = 3.0;
constexpr std::int32_t kSourceLimit = 8388608;

// The premultiplied copy of a sheet that drawing reads, made on the first draw out of the
// sheet's own pixels and kept until they change; the sheet reads its pixels back from it.
struct SheetCopy
{
    Platform::Surface surface;
    std::vector<Platform::Surface::LostPixel> lost;

    std::uint32_t Straight(std::size_t index) const
    {
        const auto found = std::lower_bound(lost.begin(), lost.end(), index,
                                            [](const Platform::Surface::LostPixel& pixel, std::size_t i)
                                            { return pixel.index < i; });
        if (found != lost.end() && found->index == index)
        {
            return found->argb;
        }
        const auto width = static_cast<std::size_t>(surface.GetWidth());
        return surface.GetPixel(static_cast<std::int32_t>(index % width),
                                static_cast<std::int32_t>(index / width));
    }
};

const Platform::Surface& DrawingSurface(const NativeImage& image)
{
    if (!image.GetDrawingCopy())
    {
        image.HandOverToDrawingCopy(
            [&image](std::vector<std::uint32_t>&& pixels)
            {
                std::vector<Platform::Surface::LostPixel> lost;
                Platform::Surface surface =
                    Platform::Surface::Adopt(image.GetWidth(), image.GetHeight(), std::move(pixels), lost);
                auto copy = std::make_shared<SheetCopy>(SheetCopy{std::move(surface), std::move(lost)});
                const SheetCopy* kept = copy.get();
                return NativeImage::DrawingCopy{std::move(copy),
                                                [kept](std::size_t index) { return kept->Straight(index); }};
            });
    }
    return static_cast<const SheetCopy*>(image.GetDrawingCopy().get())->surface;
}

// Where a picture's pixels come from: the sheet, or for a rectangle reaching past its
// sheet a copy of the rectangle that is transparent outside the sheet.
struct PictureSource
{
    ConstRCPtr<LBitmap> own;
    const Platform::Surface* surface = nullptr;
    Platform::PixelRect rect;
};

// The bitmap's rectangle on its sheet, when it lies wholly on it.
bool RectOnSheet(const LBitmap& bitmap, const NativeImage& sheet, Platform::PixelRect& rect)
{
    const RectI& r = bitmap.GetRect();
    auto limit = [](std::int32_t v) { return std::clamp(v, -kSourceLimit, kSourceLimit); };
    rect = Platform::PixelRect{limit(r.x), limit(r.y), limit(r.width), limit(r.height)};
    return rect.x >= 0 && rect.y >= 0 && rect.x + rect.width <= sheet.GetWidth() &&
           rect.y + rect.height <= sheet.GetHeight();
}

bool FindSource(const LBitmap& bitmap, PictureSource& source)
{
    const NativeImage* sheet = bitmap.GetNativeImage();
    if (!sheet)
    {
        return false;
    }
    if (RectOnSheet(bitmap, *sheet, source.rect))
    {
        source.surface = &DrawingSurface(*sheet);
        return true;
    }
    source.own = bitmap.Clone();
    if (!source.own)
    {
        return false;
    }
    source.surface = &DrawingSurface(*source.own->GetNativeImage());
    source.rect = Platform::PixelRect{0, 0, source.own->GetWidth(), source.own->GetHeight()};
    return true;
}

Platform::Surface MakePicture(const LBitmap& bitmap, std::int32_t width, std::int32_t height,
                              std::int32_t resizeType)
{
    PictureSource source;
    const bool found = FindSource(bitmap, source);
    const Platform::PixelRect& s = source.rect;
    // A picture the size of its source is a plain copy, whatever the type says.
    const std::int32_t type = width == s.width && height == s.height ? kStretch : resizeType;
    if (type != kStretch && type != kTile && type != kCenter)
    {
        Throw<std::invalid_argument>(kInvalidResizeTypeText);
    }
    Platform::Surface picture(width, height);
    if (!found || s.width <= 0 || s.height <= 0 || width <= 0 || height <= 0)
    {
        return picture;
    }
    Platform::Canvas canvas(picture);
    if (type == kStretch)
    {
        canvas.DrawSurfaceScaled(*source.surface, s, 0, 0, width, height);
    }
    else if (type == kCenter)
    {
        // A larger source is cropped, a smaller one framed by transparent pixels.
        canvas.DrawSurface(*source.surface, (width - s.width) * 0.5, (height - s.height) * 0.5, s);
    }
    else if (static_cast<double>(width) / s.width < kTilePatternRatio &&
             static_cast<double>(height) / s.height < kTilePatternRatio)
    {
        for (std::int32_t x = 0; x < width; x += s.width)
        {
            for (std::int32_t y = 0; y < height; y += s.height)
            {
                canvas.DrawSurface(*source.surface, x, y, s);
            }
        }
    }
    else
    {
        canvas.DrawSurfaceTiled(*source.surface, s, 0, 0, width, height);
    }
    canvas.Flush();
    return picture;
}

} // namespace

std::uint32_t LGDIRenderer::BitmapBucket(const BitmapDescriptor& key)
{
    // Every cut of one sheet shares the sheet's handle, and so a bucket.
    return GetBits<8, 4>(static_cast<std::uint32_t>(LBitmap::GetHandle(key.bitmap)));
}

Result LGDIRenderer::DrawBitmap(const ConstRCPtr<LBitmap>& bitmap, const RectI& destination,
                                std::int32_t resizeType)
{
    if (!mCurrent)
    {
        Throw<std::runtime_error>(kNoContextText);
    }
    if (!bitmap)
    {
        return kInvalidArg;
    }
    // A cut of a sheet drawn at its own size is copied from the sheet's drawing copy: a
    // picture of it would be the same pixels again (the keyboard picture is 2 MB).
    const NativeImage* sheet = bitmap->GetNativeImage();
    Platform::PixelRect onSheet{};
    if (sheet && destination.width == bitmap->GetRect().width &&
        destination.height == bitmap->GetRect().height && RectOnSheet(*bitmap, *sheet, onSheet))
    {
        Graphics().DrawSurface(DrawingSurface(*sheet), destination.x, destination.y, onSheet);
        return kOk;
    }
    RCPtr<LCachedBitmap>& cached =
        mBitmapCache.GetEntry(BitmapDescriptor{bitmap, destination.width, destination.height}, false);
    if (!cached)
    {
        cached = new LCachedBitmap(MakePicture(*bitmap, destination.width, destination.height, resizeType));
    }
    Graphics().DrawSurface(cached->image, destination.x, destination.y,
                           Platform::PixelRect{0, 0, destination.width, destination.height});
    return kOk;
}

} // namespace KR
