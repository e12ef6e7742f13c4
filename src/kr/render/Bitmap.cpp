#include "kr/render/Bitmap.h"

#include "kr/core/Exception.h"
#include "kr/render/BitmapHoldScope.h"
#include "kr/render/PictureDecodeAhead.h"
#include "kr/system/DebugLog.h"
#include "platform/png/PngCodec.h"
#include "platform/system/FileSystem.h"
#include "platform/system/Resources.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <string>

namespace KR
{
namespace
{

constexpr char kColorizedSizeText[] =
    "Runtime Error : KR::LBitmap::CreateColorizedBitmap : Utilities\\Graphics\\Bitmap : Line 290";
constexpr char kFilledSizeText[] =
    "Runtime Error : KR::LBitmap::CreateFilledBitmap : Utilities\\Graphics\\Bitmap : Line 319";
constexpr char kGradientText[] =
    "Domain Error : KR::LBitmap::CreateGradientFilledBitmap : Utilities\\Graphics\\Bitmap : Line 354";
constexpr char kTintWithoutBitmapText[] =
    "Runtime Error : KR::LBitmap::ApplyColorizer : Utilities\\Graphics\\Bitmap : Line 366";
constexpr char kTintBothText[] =
    "Domain Error : KR::LBitmap::ApplyColorizer : Utilities\\Graphics\\Bitmap : Line 432";
constexpr char kCallerBufferText[] =
    "Domain Error : KR::LBitmapData::LBitmapData : Utilities\\Graphics\\Bitmap : Line 477";

constexpr char kResourceType[] = "GDIPLUS";

// Never destroyed: bitmaps held by objects that outlive main may still leave it.
std::map<String, ConstRCPtr<LBitmap>>& Table()
{
    static auto* table = new std::map<String, ConstRCPtr<LBitmap>>();
    return *table;
}

bool IsResourceName(const String& name)
{
    return name.GetView().starts_with(u"::");
}

// "::Session Skin 1C.png" -> "SESSION_SKIN_1C_PNG".
std::string ResourceName(const String& name)
{
    String resource = name.SubString(2).ToUpper();
    std::u16string units(resource.GetView());
    std::replace_if(
        units.begin(), units.end(), [](char16_t c) { return c == u'.' || c == u' '; }, u'_');
    return String(std::u16string_view(units)).ToUtf8().GetPtr();
}

// The decode GetBitmap makes of a name: the pixels, or none and why not.
DecodedPicture DecodeNamed(const String& name, bool resource, const std::string& path)
{
    DecodedPicture picture;
    picture.error = "no such file";
    if (resource)
    {
        const auto bytes = Platform::FindResource(kResourceType, ResourceName(name));
        picture.error = "no such resource";
        if (!bytes.empty())
        {
            Platform::DecodePng(bytes.data(), bytes.size(), picture.image, picture.error);
        }
    }
    else if (!path.empty())
    {
        Platform::DecodePngFile(path, picture.image, picture.error);
    }
    return picture;
}

bool IsGradient(const BitmapColorizer& colorizer)
{
    return colorizer.colorType != 0 && colorizer.gradientEndColor != colorizer.color;
}

bool IsImageSize(std::int32_t width, std::int32_t height)
{
    return width >= 1 && height >= 1 && static_cast<std::uint32_t>(width) <= Platform::kMaxPngSide &&
           static_cast<std::uint32_t>(height) <= Platform::kMaxPngSide;
}

// The pixel at a sheet position given in 64 bits, so rectangles near the 32-bit edges
// can't wrap onto the sheet; transparent off it.
std::uint32_t SheetPixel(const NativeImage& image, std::int64_t x, std::int64_t y)
{
    if (x < 0 || y < 0 || x >= image.GetWidth() || y >= image.GetHeight())
    {
        return 0;
    }
    return image.GetPixel(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
}

std::int32_t SaturatingAdd(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{a} + b, INT32_MIN, INT32_MAX));
}

std::uint8_t TintByte(std::uint32_t byte, float keep, float add)
{
    const float value = std::trunc((static_cast<float>(byte) / 255.0f * keep + add) * 255.0f + 0.5f);
    // Past 1 an alpha modulation pushes the sum outside a byte; the byte saturates.
    return static_cast<std::uint8_t>(std::clamp(value, 0.0f, 255.0f));
}

} // namespace

LBitmap::LBitmap(std::int32_t width, std::int32_t height)
    : mRect{0, 0, width, height},
      mImage(std::make_unique<NativeImage>(std::clamp<std::int32_t>(width, 1, Platform::kMaxPngSide),
                                           std::clamp<std::int32_t>(height, 1, Platform::kMaxPngSide)))
{
}

LBitmap::LBitmap(const ConstRCPtr<LBitmap>& sheet, const RectI& rect)
    : mRect(rect), mParent(sheet && sheet->mParent ? sheet->mParent : sheet)
{
}

LBitmap::LBitmap(FromImage, std::unique_ptr<NativeImage> image)
    : mRect{0, 0, image->GetWidth(), image->GetHeight()}, mImage(std::move(image))
{
}

LBitmap::~LBitmap() = default;

ConstRCPtr<LBitmap> LBitmap::CreateFromPng(const void* data, std::size_t size)
{
    Platform::DecodedImage decoded;
    std::string error;
    if (!Platform::DecodePng(data, size, decoded, error))
    {
        return nullptr;
    }
    return ConstRCPtr<LBitmap>(
        new LBitmap(FromImage{},
                    std::make_unique<NativeImage>(decoded.width, decoded.height, std::move(decoded.pixels))));
}

ConstRCPtr<LBitmap> LBitmap::GetBitmap(const String& name)
{
    const bool resource = IsResourceName(name);
    // Resource names ignore case; file names are the file system's, so "a.png" and
    // "A.png" stay two files.
    const std::string path = resource ? std::string() : Platform::CanonicalPath(name.ToUtf8().GetPtr());
    const String key = resource ? name.ToUpper() : path.empty() ? name : String(path.c_str());
    auto& table = Table();
    if (const auto found = table.find(key); found != table.end())
    {
        return found->second;
    }
    DecodedPicture picture;
    if (!resource || !PictureDecodeAhead::Take(key, picture))
    {
        picture = DecodeNamed(name, resource, path);
    }
    Platform::DecodedImage& decoded = picture.image;
    if (decoded.pixels.empty())
    {
        GetDebugLog().Narrow() << "Bitmap " << name.ToUtf8().GetPtr() << " not loaded: " << picture.error
                               << '\n';
        return nullptr;
    }
    ConstRCPtr<LBitmap> bitmap(
        new LBitmap(FromImage{},
                    std::make_unique<NativeImage>(decoded.width, decoded.height, std::move(decoded.pixels))));
    LBitmap& loaded = const_cast<LBitmap&>(*bitmap);
    loaded.mName = name;
    loaded.mKey = key;
    table.emplace(key, bitmap);
    loaded.AdjustInternalRefCount(1);
    LBitmapHoldScope::Hold(bitmap);
    return bitmap;
}

void LBitmap::DecodeAhead(const String& name)
{
    // Only the program's own pictures: a file may change before it is asked for.
    if (!IsResourceName(name))
    {
        return;
    }
    PictureDecodeAhead::Start(name.ToUpper(), [name] { return DecodeNamed(name, true, std::string()); });
}

std::size_t LBitmap::GetTableSize()
{
    return Table().size();
}

Result LBitmap::ReleaseInternalReferences()
{
    if (!mName.IsEmpty())
    {
        auto& table = Table();
        const auto found = table.find(mKey);
        if (found != table.end() && found->second.Get() == this)
        {
            mName.Clear();
            AdjustInternalRefCount(-1);
            table.erase(found);
        }
    }
    return LRefCountedObject::ReleaseInternalReferences();
}

ConstRCPtr<LBitmap> LBitmap::CreateFilledBitmap(std::int32_t width, std::int32_t height, const ColorF& color)
{
    // Sizes come from skins; one past what any image may be would ask for gigabytes.
    if (!IsImageSize(width, height))
    {
        Throw<std::runtime_error>(kFilledSizeText);
    }
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                                      color.GetARGB());
    return ConstRCPtr<LBitmap>(
        new LBitmap(FromImage{}, std::make_unique<NativeImage>(width, height, std::move(pixels))));
}

ConstRCPtr<LBitmap> LBitmap::CreateGradientFilledBitmap(std::int32_t, std::int32_t, const ColorF&,
                                                        const ColorF&, const PointD&, const PointD&, bool)
{
    Throw<std::domain_error>(kGradientText);
}

ConstRCPtr<LBitmap> LBitmap::CreateColorizedBitmap(const BitmapColorizer* colorizer, float alphaModulation,
                                                   std::int32_t width, std::int32_t height)
{
    if (colorizer == nullptr || width < 1 || height < 1)
    {
        Throw<std::runtime_error>(kColorizedSizeText);
    }
    if (IsGradient(*colorizer))
    {
        CreateGradientFilledBitmap(width, height, colorizer->color, colorizer->gradientEndColor, PointD{},
                                   PointD{}, colorizer->colorType == 2);
    }
    const ColorF& c = colorizer->color;
    return CreateFilledBitmap(width, height, ColorF(c.red, c.green, c.blue, c.alpha * alphaModulation));
}

void LBitmap::Tint(NativeImage& image, const RectI& rect, const ColorF& color, float alphaModulation)
{
    const float a = color.alpha * alphaModulation;
    const float keep = 1.0f - a;
    const float red = color.red * a;
    const float green = color.green * a;
    const float blue = color.blue * a;
    const std::int32_t left = std::max(rect.x, 0);
    const std::int32_t top = std::max(rect.y, 0);
    const std::int64_t right = std::min<std::int64_t>(std::int64_t{rect.x} + rect.width, image.GetWidth());
    const std::int64_t bottom = std::min<std::int64_t>(std::int64_t{rect.y} + rect.height, image.GetHeight());
    for (std::int32_t y = top; y < bottom; ++y)
    {
        std::uint32_t* pixel = image.GetPixelAddress(left, y);
        for (std::int32_t x = left; x < right; ++x, ++pixel)
        {
            const std::uint32_t v = *pixel;
            *pixel = (v & 0xFF000000u) | std::uint32_t{TintByte((v >> 16) & 0xFF, keep, red)} << 16 |
                     std::uint32_t{TintByte((v >> 8) & 0xFF, keep, green)} << 8 |
                     TintByte(v & 0xFF, keep, blue);
        }
    }
    image.MarkChanged();
}

void LBitmap::ApplyColorizer(const ConstRCPtr<LBitmap>& bitmap, const BitmapColorizer* colorizer,
                             float alphaModulation)
{
    if (!bitmap || colorizer == nullptr)
    {
        Throw<std::runtime_error>(kTintWithoutBitmapText);
    }
    if (IsGradient(*colorizer))
    {
        CreateColorizedBitmap(colorizer, alphaModulation, bitmap->GetWidth(), bitmap->GetHeight());
    }
    if (NativeImage* image = bitmap->GetNativeImage())
    {
        Tint(*image, bitmap->mRect, colorizer->color, alphaModulation);
    }
}

ConstRCPtr<LBitmap> LBitmap::ApplyColorizer(const BitmapColorizer* colorizer, float alphaModulation,
                                            std::int32_t width, std::int32_t height,
                                            const ConstRCPtr<LBitmap>& bitmap,
                                            const ConstRCPtr<LBitmap>& mask)
{
    if (bitmap && mask)
    {
        Throw<std::domain_error>(kTintBothText);
    }
    if (!bitmap && !mask)
    {
        return CreateColorizedBitmap(colorizer, alphaModulation, width, height);
    }
    ConstRCPtr<LBitmap> copy = (bitmap ? bitmap : mask)->Clone();
    if (copy)
    {
        ApplyColorizer(copy, colorizer, alphaModulation);
    }
    return copy;
}

std::int32_t LBitmap::GetHandle(const ConstRCPtr<LBitmap>& bitmap)
{
    const NativeImage* image = bitmap ? bitmap->GetNativeImage() : nullptr;
    return image ? image->GetHandle() : 0;
}

ConstRCPtr<LBitmap> LBitmap::CreateSubBitmap(std::int32_t x, std::int32_t y, double width,
                                             double height) const
{
    if (!(width > 0.0 && height > 0.0))
    {
        width = mRect.width;
        height = mRect.height;
        x = 0;
        y = 0;
    }
    const PointI size = RoundPointToInt(PointD{width, height});
    const ConstRCPtr<LBitmap> self(this);
    return ConstRCPtr<LBitmap>(
        new LBitmap(self, RectI{SaturatingAdd(mRect.x, x), SaturatingAdd(mRect.y, y), size.x, size.y}));
}

NativeImage* LBitmap::GetNativeImage() const
{
    if (mImage)
    {
        return mImage.get();
    }
    return mParent ? mParent->GetNativeImage() : nullptr;
}

ConstRCPtr<LBitmap> LBitmap::Clone() const
{
    const NativeImage* image = GetNativeImage();
    if (!image || !IsImageSize(mRect.width, mRect.height))
    {
        return nullptr;
    }
    auto copy = std::make_unique<NativeImage>(mRect.width, mRect.height);
    for (std::int32_t y = 0; y < mRect.height; ++y)
    {
        for (std::int32_t x = 0; x < mRect.width; ++x)
        {
            *copy->GetPixelAddress(x, y) =
                SheetPixel(*image, std::int64_t{mRect.x} + x, std::int64_t{mRect.y} + y);
        }
    }
    return ConstRCPtr<LBitmap>(new LBitmap(FromImage{}, std::move(copy)));
}

RCPtr<LBitmapData> LBitmap::LockPixels() const
{
    if (mParent)
    {
        return mParent->LockPixels();
    }
    return RCPtr<LBitmapData>(new LBitmapData(ConstRCPtr<LBitmap>(this)));
}

ColorF LBitmap::GetColorAtPoint(std::int32_t x, std::int32_t y) const
{
    const NativeImage* image = GetNativeImage();
    // A point off the bitmap would read its neighbour on the sheet.
    if (!image || x < 0 || y < 0 || x >= mRect.width || y >= mRect.height)
    {
        return ColorF();
    }
    return ColorF::FromARGB(SheetPixel(*image, std::int64_t{mRect.x} + x, std::int64_t{mRect.y} + y));
}

LBitmapData::LBitmapData(const ConstRCPtr<LBitmap>& bitmap)
    : mBitmap(bitmap), mImage(bitmap ? bitmap->GetNativeImage() : nullptr)
{
}

LBitmapData::LBitmapData(IPixelBuffer<std::uint32_t>&)
{
    Throw<std::domain_error>(kCallerBufferText);
}

std::int32_t LBitmapData::GetWidth() const
{
    return mImage ? mImage->GetWidth() : 0;
}

std::int32_t LBitmapData::GetHeight() const
{
    return mImage ? mImage->GetHeight() : 0;
}

std::int32_t LBitmapData::GetStride() const
{
    return mImage ? mImage->GetStride() : 0;
}

const std::uint32_t* LBitmapData::GetPixelAddress(std::int32_t x, std::int32_t y) const
{
    return const_cast<LBitmapData*>(this)->GetPixelAddress(x, y);
}

std::uint32_t* LBitmapData::GetPixelAddress(std::int32_t x, std::int32_t y)
{
    return mImage ? mImage->GetPixelAddress(x, y) : nullptr;
}

} // namespace KR
