#pragma once
// KR::LBitmap: an image of the user interface, or a rectangle of an image sheet that it
// shares with the sheet. What stands here is what looks and the control framework read
// of a bitmap (its rectangle and the sheet it is cut from); decoding and pixels come with
// the renderers.

#include "kr/core/RCPtr.h"
#include "kr/core/Rect.h"
#include "kr/core/RefCountedObject.h"

#include <cstdint>

namespace KR
{

class LBitmap : public virtual LRefCountedObject
{
public:
    // A bitmap of its own, of the given size.
    LBitmap(std::int32_t width, std::int32_t height) : mRect{0, 0, width, height} {}
    // A rectangle of a sheet; the sheet is always a root, never another cut.
    LBitmap(const ConstRCPtr<LBitmap>& sheet, const RectI& rect)
        : mRect(rect), mParent(sheet && sheet->mParent ? sheet->mParent : sheet)
    {
    }

    std::int32_t GetWidth() const { return mRect.width; }
    std::int32_t GetHeight() const { return mRect.height; }
    // The bitmap's rectangle in the image that holds its pixels.
    const RectI& GetRect() const { return mRect; }
    const ConstRCPtr<LBitmap>& GetParent() const { return mParent; }

private:
    RectI mRect;
    ConstRCPtr<LBitmap> mParent;
};

} // namespace KR
