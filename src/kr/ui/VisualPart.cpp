#include "kr/ui/VisualPart.h"

#include "kr/render/BitmapSource.h"
#include "kr/ui/DockedPart.h"
#include "kr/ui/VisualPartDescriptor.h"

#include <utility>

namespace KR
{

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
}

LVisualPart::LVisualPart(const String& name, std::int32_t width, std::int32_t height,
                         const ConstRCPtr<LColorizer>& colorizer, std::int32_t resizeType,
                         float colorizerAlpha, const ConstRCPtr<LBitmap>& mask)
    : LVisualPart(name, nullptr, resizeType, colorizer, width, height, colorizerAlpha, mask)
{
}

LVisualPart::~LVisualPart() = default;

Result LVisualPart::Draw(LRenderer&, float, float) const
{
    return kOk;
}

std::uint32_t LVisualPart::GetColorAtPoint(std::int32_t, std::int32_t) const
{
    return kTransparent;
}

std::uint32_t LVisualPart::GetColorAtPoint(float, float, float, float) const
{
    return kTransparent;
}

void LVisualPart::SetDescriptor(const ConstRCPtr<LVisualPartDescriptor>& descriptor)
{
    mDescriptor = descriptor;
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
