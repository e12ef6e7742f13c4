#pragma once
// KR::LVisualPart: the smallest drawable piece of a look, made from one skin Part: an
// image (a bitmap, stretched, tiled or centred) or a colour field painted by a colorizer,
// optionally through a mask. The skin model keeps one per part descriptor
// (LVisualPartDescriptor::GetVisualPart), and the part keeps a link back; that cycle is
// broken when the last holder from outside lets the part go.
//
// A colorizer with an image or a mask tints a copy of it, and a gradient colorizer makes a
// picture, when the part is made; only a solid colorizer without either stays a fill.

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"
#include "kr/render/Bitmap.h"
#include "kr/ui/Colorizer.h"

#include <cstdint>

namespace KR
{

class LRenderer;
class LVisualPartDescriptor;

class LVisualPart : public virtual LRefCountedObject
{
public:
    // Answered for points outside a part: white, alpha 0.
    static constexpr std::uint32_t kTransparent = 0x00FFFFFF;

    // An image part of the bitmap's own size; null, and nothing made, for a null bitmap.
    static RCPtr<LVisualPart> Create(const String& name, const ConstRCPtr<LBitmap>& bitmap,
                                     std::int32_t resizeType, const ConstRCPtr<LColorizer>& colorizer,
                                     float colorizerAlpha, const ConstRCPtr<LBitmap>& mask);

    // An image part; a bitmap's own size replaces the given one.
    LVisualPart(const String& name, const ConstRCPtr<LBitmap>& bitmap, std::int32_t resizeType,
                const ConstRCPtr<LColorizer>& colorizer, std::int32_t width, std::int32_t height,
                float colorizerAlpha, const ConstRCPtr<LBitmap>& mask);
    // A colour part.
    LVisualPart(const String& name, std::int32_t width, std::int32_t height,
                const ConstRCPtr<LColorizer>& colorizer, std::int32_t resizeType, float colorizerAlpha,
                const ConstRCPtr<LBitmap>& mask);
    ~LVisualPart() override;

    // Draws the part into (0, 0, width, height) of the renderer's current coordinates: its
    // bitmap resized its way, or its fill (a centred part's at its own size). A part with
    // neither bitmap nor colorizer throws.
    virtual Result Draw(LRenderer& renderer, float width, float height) const;
    // Packed 0xAARRGGBB of the part's own pixel.
    virtual std::uint32_t GetColorAtPoint(std::int32_t x, std::int32_t y) const;
    // Packed colour at a point of the part as drawn into a destination of that size. A
    // part shrunk by stretching answers the first visible pixel of the block a
    // destination pixel covers.
    virtual std::uint32_t GetColorAtPoint(float x, float y, float width, float height) const;

    const String& GetName() const { return mName; }
    const ConstRCPtr<LBitmap>& GetBitmap() const { return mBitmap; }
    std::int32_t GetWidth() const { return mWidth; }
    std::int32_t GetHeight() const { return mHeight; }
    std::int32_t GetResizeType() const { return mResizeType; }
    const ConstRCPtr<LColorizer>& GetColorizer() const { return mColorizer; }
    float GetColorizerAlpha() const { return mColorizerAlpha; }
    const ConstRCPtr<LBitmap>& GetMask() const { return mMask; }
    const ConstRCPtr<LVisualPartDescriptor>& GetDescriptor() const { return mDescriptor; }

    // Links the part to the descriptor that caches it; the descriptor's reference to the
    // part counts as one of the part's internal references.
    void SetDescriptor(const ConstRCPtr<LVisualPartDescriptor>& descriptor);
    // Called once only the descriptor's reference is left beside the caller's: the
    // descriptor lets go of its cached part, so both can go.
    Result ReleaseInternalReferences() override;

    // The colorizer's colour with its alpha times the modulation: every pixel of a fill
    // part. Only for a part with a colorizer.
    ColorF GetFillColor() const;

private:
    std::uint32_t GetStretchedColor(float x, float y, float width, float height, float ownWidth,
                                    float ownHeight) const;

    String mName;
    ConstRCPtr<LBitmap> mBitmap;
    std::int32_t mWidth;
    std::int32_t mHeight;
    std::int32_t mResizeType;
    ConstRCPtr<LColorizer> mColorizer;
    float mColorizerAlpha;
    ConstRCPtr<LBitmap> mMask;
    ConstRCPtr<LVisualPartDescriptor> mDescriptor;
};

} // namespace KR
