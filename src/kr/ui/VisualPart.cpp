#include "kr/ui/VisualPart.h"

#include "kr/core/Exception.h"
#include "kr/render/BitmapSource.h"
#include "kr/render/Renderer.h"
#include "kr/ui/DockedPart.h"
#include "kr/ui/VisualPartDescriptor.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace KR
{
namespace
{

constexpr char kDrawWithoutColorizerText[] =
    "Runtime Error : KR::LVisualPart::Draw : ControlBase\\VisualPart : Line 218";
constexpr char kColorWithoutColorizerText[] =
    "Runtime Error : KR::LVisualPart::GetColorAtPoint : ControlBase\\VisualPart : Line 91";
constexpr char kLinearGradientColorText[] =
    "Runtime Error : KR::LVisualPart::GetColorAtPoint : ControlBase\\VisualPart : Line 76";
constexpr char kOtherGradientColorText[] =
    "Runtime Error : KR::LVisualPart::GetColorAtPoint : ControlBase\\VisualPart : Line 81";
constexpr char kResizeTypeText[] =
    "Runtime Error : KR::LVisualPart::GetColorAtPoint : ControlBase\\VisualPart : Line 165";

constexpr float kSizeEpsilon = 1.1920929e-6f;
constexpr double kBlockTolerance = 1.1920929e-7;
constexpr float kMaxSize = 8388608.0f;

BitmapColorizer TintOf(const LColorizer& colorizer)
{
    return BitmapColorizer{colorizer.colorType, colorizer.color, colorizer.gradientEndColor};
}

// Towards zero, saturating: destination points come from layout arithmetic and may be
// anything a float holds.
std::int32_t TruncToInt32(double value)
{
    if (!(value > static_cast<double>(std::numeric_limits<std::int32_t>::min())))
    {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (value >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
    {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

// Down to a whole pixel, except that a value a rounding error below a whole number
// counts as that number.
std::int32_t SnapDown(double value)
{
    return TruncToInt32(value >= 0.0 ? std::trunc(value + value * kBlockTolerance)
                                     : std::trunc(value - (value * kBlockTolerance + 1.0)));
}

// The bitmap the part draws: a tinted copy of its image or mask, or a filled picture of a
// gradient; a plain solid fill stays a fill.
ConstRCPtr<LBitmap> ColorizedBitmap(const ConstRCPtr<LBitmap>& bitmap,
                                    const ConstRCPtr<LColorizer>& colorizer, float alpha, std::int32_t width,
                                    std::int32_t height, const ConstRCPtr<LBitmap>& mask)
{
    if (!colorizer || !(bitmap || mask || colorizer->colorType != kColorSolidFill))
    {
        return bitmap;
    }
    const BitmapColorizer tint = TintOf(*colorizer);
    return LBitmap::ApplyColorizer(&tint, alpha, width, height, bitmap, mask);
}

} // namespace

RCPtr<LVisualPart> LVisualPart::Create(const String& name, const ConstRCPtr<LBitmap>& bitmap,
                                       std::int32_t resizeType, const ConstRCPtr<LColorizer>& colorizer,
                                       float colorizerAlpha, const ConstRCPtr<LBitmap>& mask)
{
    if (!bitmap)
    {
        return nullptr;
    }
    return RCPtr<LVisualPart>(new LVisualPart(name, bitmap, resizeType, colorizer, bitmap->GetWidth(),
                                              bitmap->GetHeight(), colorizerAlpha, mask));
}

LVisualPart::LVisualPart(const String& name, const ConstRCPtr<LBitmap>& bitmap, std::int32_t resizeType,
                         const ConstRCPtr<LColorizer>& colorizer, std::int32_t width, std::int32_t height,
                         float colorizerAlpha, const ConstRCPtr<LBitmap>& mask)
    : mName(name), mBitmap(bitmap), mWidth(bitmap ? bitmap->GetWidth() : width),
      mHeight(bitmap ? bitmap->GetHeight() : height), mResizeType(resizeType), mColorizer(colorizer),
      mColorizerAlpha(colorizerAlpha), mMask(mask)
{
    mBitmap = ColorizedBitmap(mBitmap, mColorizer, mColorizerAlpha, mWidth, mHeight, mMask);
}

LVisualPart::LVisualPart(const String& name, std::int32_t width, std::int32_t height,
                         const ConstRCPtr<LColorizer>& colorizer, std::int32_t resizeType,
                         float colorizerAlpha, const ConstRCPtr<LBitmap>& mask)
    : LVisualPart(name, nullptr, resizeType, colorizer, width, height, colorizerAlpha, mask)
{
}

LVisualPart::~LVisualPart() = default;

Result LVisualPart::Draw(LRenderer& renderer, float width, float height) const
{
    const std::int32_t w = RoundToInt32(width);
    const std::int32_t h = RoundToInt32(height);
    if (mBitmap)
    {
        renderer.DrawBitmap(mBitmap, RectI{0, 0, w, h}, mResizeType);
        return kOk;
    }
    if (!mColorizer)
    {
        Throw<std::runtime_error>(kDrawWithoutColorizerText);
    }
    const ColorF fill = GetFillColor();
    if (!(fill.alpha > 0.0f))
    {
        return kOk;
    }
    const RectI rect =
        mResizeType == kResizeCenter
            ? RectI{static_cast<std::int32_t>((std::int64_t{w} - mWidth) / 2),
                    static_cast<std::int32_t>((std::int64_t{h} - mHeight) / 2), mWidth, mHeight}
            : RectI{0, 0, w, h};
    renderer.FillRect(rect, fill, true);
    return kOk;
}

ColorF LVisualPart::GetFillColor() const
{
    ColorF fill = mColorizer->color;
    fill.alpha *= mColorizerAlpha;
    return fill;
}

std::uint32_t LVisualPart::GetColorAtPoint(std::int32_t x, std::int32_t y) const
{
    if (x < 0 || x >= mWidth || y < 0 || y >= mHeight)
    {
        return kTransparent;
    }
    if (mBitmap)
    {
        return mBitmap->GetColorAtPoint(x, y).GetARGB();
    }
    if (!mColorizer)
    {
        Throw<std::runtime_error>(kColorWithoutColorizerText);
    }
    switch (mColorizer->colorType)
    {
    case kColorSolidFill:
        return GetFillColor().GetARGB();
    case kColorLinearGradient:
        Throw<std::runtime_error>(kLinearGradientColorText);
    default:
        Throw<std::runtime_error>(kOtherGradientColorText);
    }
}

std::uint32_t LVisualPart::GetColorAtPoint(float x, float y, float width, float height) const
{
    const float ownWidth = std::clamp(static_cast<float>(mWidth), -kMaxSize, kMaxSize);
    const float ownHeight = std::clamp(static_cast<float>(mHeight), -kMaxSize, kMaxSize);
    if (std::fabs(width - ownWidth) < kSizeEpsilon && std::fabs(height - ownHeight) < kSizeEpsilon)
    {
        return GetColorAtPoint(RoundToInt32(x), RoundToInt32(y));
    }
    if (!(x >= 0.0f && x < width && y >= 0.0f && y < height))
    {
        return kTransparent;
    }
    switch (mResizeType)
    {
    case kResizeTile:
    {
        const std::int32_t tileWidth = TruncToInt32(ownWidth + 0.5);
        const std::int32_t tileHeight = TruncToInt32(ownHeight + 0.5);
        // A part without pixels (a colour part without a skin size) has nothing to repeat.
        if (tileWidth <= 0 || tileHeight <= 0)
        {
            return kTransparent;
        }
        return GetColorAtPoint(TruncToInt32(x + 0.5) % tileWidth, TruncToInt32(y + 0.5) % tileHeight);
    }
    case kResizeCenter:
        return GetColorAtPoint(RoundToInt32(x - (width - ownWidth) * 0.5f),
                               RoundToInt32(y - (height - ownHeight) * 0.5f));
    case kResizeStretch:
        return GetStretchedColor(x, y, width, height, ownWidth, ownHeight);
    default:
        Throw<std::runtime_error>(kResizeTypeText);
    }
}

std::uint32_t LVisualPart::GetStretchedColor(float x, float y, float width, float height, float ownWidth,
                                             float ownHeight) const
{
    const float sx = ownWidth / width;
    const float sy = ownHeight / height;
    if (width >= ownWidth && height >= ownHeight)
    {
        return GetColorAtPoint(TruncToInt32(sx * x), TruncToInt32(sy * y));
    }
    // Shrunk: the destination pixel covers a block of source pixels, and the first one
    // that shows (column by column) answers for it, so thin lines stay hittable.
    const double left = static_cast<double>(sx * x);
    const double top = static_cast<double>(sy * y);
    const std::int32_t x0 = SnapDown(left);
    const std::int32_t y0 = SnapDown(top);
    const std::int32_t x1 = SnapDown(left + std::max(static_cast<double>(sx), 1.0));
    const std::int32_t y1 = SnapDown(top + std::max(static_cast<double>(sy), 1.0));
    std::uint32_t color = kTransparent;
    for (std::int32_t column = x0; column < x1; ++column)
    {
        for (std::int32_t row = y0; row < y1; ++row)
        {
            color = GetColorAtPoint(column, row);
            if ((color >> 24) != 0)
            {
                return color;
            }
        }
    }
    return color;
}

void LVisualPart::SetDescriptor(const ConstRCPtr<LVisualPartDescriptor>& descriptor)
{
    if (descriptor.Get() != mDescriptor.Get())
    {
        mDescriptor = descriptor;
    }
    AdjustInternalRefCount(1);
}

Result LVisualPart::ReleaseInternalReferences()
{
    if (GetInternalRefCount() < 1)
    {
        return 1;
    }
    if (!mDescriptor)
    {
        return kOk;
    }
    AdjustInternalRefCount(-1);
    // Taken out of the cache first, so the cache is empty before the part's count drops.
    RCPtr<LVisualPart> cached = std::exchange(mDescriptor->visualPart, nullptr);
    return kOk;
}

RCPtr<LVisualPart> LVisualPartDescriptor::GetVisualPart() const
{
    if (visualPart)
    {
        return visualPart;
    }
    const ConstRCPtr<LBitmap> maskBitmap = mask.IsEmpty() ? nullptr : LoadBitmap(mask);
    RCPtr<LVisualPart> part;
    if (IsImagePart())
    {
        part =
            LVisualPart::Create(name, LoadBitmap(image), resizeType, colorizer, colorizerAlpha, maskBitmap);
    }
    else
    {
        part = RCPtr<LVisualPart>(
            new LVisualPart(name, width, height, colorizer, resizeType, colorizerAlpha, maskBitmap));
    }
    if (part)
    {
        visualPart = part;
        part->SetDescriptor(ConstRCPtr<LVisualPartDescriptor>(this));
    }
    return part;
}

RCPtr<LVisualPart> LDockedPart::GetVisualPart() const
{
    return part ? part->GetVisualPart() : nullptr;
}

} // namespace KR
