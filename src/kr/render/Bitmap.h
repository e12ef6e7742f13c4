#pragma once
// KR::LBitmap: an image of the user interface, or a rectangle of an image sheet that it
// shares with the sheet. Images are PNGs, from the program's "GDIPLUS" resources ("::"
// names) or from files, decoded once into one process-wide table by name. A bitmap
// stays in the table while anyone outside holds it (the table's reference counts as an
// internal reference), so the next request after the last holder let go decodes afresh.
//
//     auto sheet = KR::LBitmap::GetBitmap(u"::Session Skin 1C.png");   // SESSION_SKIN_1C_PNG
//     auto knob = sheet->CreateSubBitmap(40, 0, 32, 32);
//
// A rectangle may reach past its sheet (skin rectangles come from files): it reads as
// transparent there, and nothing reads or writes outside the sheet's pixels.

#include "kr/core/Point.h"
#include "kr/core/RCPtr.h"
#include "kr/core/Rect.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/render/Color.h"
#include "kr/render/NativeImage.h"

#include <cstdint>
#include <memory>

namespace KR
{

class LBitmapData;

// What tinting reads of a skin colorizer; the skin model above this library hands it over.
struct BitmapColorizer
{
    // 0 solid fill, 1 linear gradient, 2 radial gradient.
    std::int32_t colorType = 0;
    ColorF color;
    ColorF gradientEndColor;
};

class LBitmap : public virtual LRefCountedObject
{
public:
    // A bitmap of its own, of the given size, transparent. Its image has at least one
    // pixel and at most the largest side a PNG may have.
    LBitmap(std::int32_t width, std::int32_t height);
    // A rectangle of a sheet; the sheet is always a root, never another cut.
    LBitmap(const ConstRCPtr<LBitmap>& sheet, const RectI& rect);
    ~LBitmap() override;

    // Null when the name can't be loaded; the table is then unchanged.
    static ConstRCPtr<LBitmap> GetBitmap(const String& name);
    // Starts decoding the resource picture of that name ("::" names only) on a thread of
    // its own, for the next GetBitmap of it to take (PictureDecodeAhead.h). Any thread.
    static void DecodeAhead(const String& name);
    // Bitmaps in the table now.
    static std::size_t GetTableSize();
    // A bitmap of the PNG's pixels, outside the table; null for a PNG that can't be read.
    static ConstRCPtr<LBitmap> CreateFromPng(const void* data, std::size_t size);

    static ConstRCPtr<LBitmap> CreateFilledBitmap(std::int32_t width, std::int32_t height,
                                                  const ColorF& color);
    // Gradient fills are not provided: always throws.
    [[noreturn]] static ConstRCPtr<LBitmap>
    CreateGradientFilledBitmap(std::int32_t width, std::int32_t height, const ColorF& color1,
                               const ColorF& color2, const PointD& start, const PointD& end, bool radial);
    static ConstRCPtr<LBitmap> CreateColorizedBitmap(const BitmapColorizer* colorizer, float alphaModulation,
                                                     std::int32_t width, std::int32_t height);
    // Tints the bitmap's rectangle of its image in place (the sheet's pixels, for a cut).
    static void ApplyColorizer(const ConstRCPtr<LBitmap>& bitmap, const BitmapColorizer* colorizer,
                               float alphaModulation);
    // A tinted copy of the bitmap or of the mask (not both), or a filled bitmap of the
    // size when neither is given.
    static ConstRCPtr<LBitmap> ApplyColorizer(const BitmapColorizer* colorizer, float alphaModulation,
                                              std::int32_t width, std::int32_t height,
                                              const ConstRCPtr<LBitmap>& bitmap,
                                              const ConstRCPtr<LBitmap>& mask);
    // The identity of the bitmap's native image, shared by every cut of one sheet; 0 for null.
    static std::int32_t GetHandle(const ConstRCPtr<LBitmap>& bitmap);

    // A width or height below 1 takes the whole bitmap. The rectangle is not clipped.
    ConstRCPtr<LBitmap> CreateSubBitmap(std::int32_t x, std::int32_t y, double width, double height) const;
    // The image holding this bitmap's pixels: its own, or its sheet's.
    NativeImage* GetNativeImage() const;
    // A bitmap owning a copy of this one's rectangle (transparent where it leaves the
    // sheet); null for a rectangle beyond the sizes an image may have.
    ConstRCPtr<LBitmap> Clone() const;
    // The whole sheet's pixels, locked for as long as the result lives.
    RCPtr<LBitmapData> LockPixels() const;
    // Channels of the pixel at (x, y) of this bitmap; transparent (all 0) off the sheet.
    ColorF GetColorAtPoint(std::int32_t x, std::int32_t y) const;

    std::int32_t GetWidth() const { return mRect.width; }
    std::int32_t GetHeight() const { return mRect.height; }
    // The bitmap's rectangle in the image that holds its pixels.
    const RectI& GetRect() const { return mRect; }
    const ConstRCPtr<LBitmap>& GetParent() const { return mParent; }
    const String& GetName() const { return mName; }

    // Takes the bitmap out of the table when only the table holds it besides the caller.
    Result ReleaseInternalReferences() override;

private:
    struct FromImage
    {
    };
    LBitmap(FromImage, std::unique_ptr<NativeImage> image);

    // Tints the image's pixels inside rect (clipped to the image).
    static void Tint(NativeImage& image, const RectI& rect, const ColorF& color, float alphaModulation);

    RectI mRect;
    ConstRCPtr<LBitmap> mParent;
    String mName;
    String mKey;
    std::unique_ptr<NativeImage> mImage;
};

// The pixel access of a locked image, as texture uploads read it.
template <typename T>
class IPixelBuffer
{
public:
    virtual ~IPixelBuffer() = default;
    virtual std::int32_t GetWidth() const = 0;
    virtual std::int32_t GetHeight() const = 0;
    // Bytes per row.
    virtual std::int32_t GetStride() const = 0;
    virtual const T* GetPixelAddress(std::int32_t x, std::int32_t y) const = 0;
    virtual T* GetPixelAddress(std::int32_t x, std::int32_t y) = 0;
};

// The locked pixels of a bitmap sheet: straight 0xAARRGGBB values. Addresses outside
// the sheet are null.
class LBitmapData : public IPixelBuffer<std::uint32_t>, public virtual LRefCountedObject
{
public:
    explicit LBitmapData(const ConstRCPtr<LBitmap>& bitmap);
    // Locking over a caller's own pixel buffer is not provided: always throws.
    explicit LBitmapData(IPixelBuffer<std::uint32_t>& buffer);
    LBitmapData(const LBitmapData&) = delete;
    LBitmapData& operator=(const LBitmapData&) = delete;

    std::int32_t GetWidth() const override;
    std::int32_t GetHeight() const override;
    std::int32_t GetStride() const override;
    const std::uint32_t* GetPixelAddress(std::int32_t x, std::int32_t y) const override;
    std::uint32_t* GetPixelAddress(std::int32_t x, std::int32_t y) override;

private:
    ConstRCPtr<LBitmap> mBitmap;
    NativeImage* mImage = nullptr;
};

} // namespace KR
