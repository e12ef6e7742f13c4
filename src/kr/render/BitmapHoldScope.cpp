#include "kr/render/BitmapHoldScope.h"

#include "kr/render/Bitmap.h"
#include "kr/render/PictureDecodeAhead.h"

namespace KR
{
namespace
{

LBitmapHoldScope* gScope = nullptr;

} // namespace

LBitmapHoldScope::LBitmapHoldScope()
{
    if (!gScope)
    {
        gScope = this;
        mInstalled = true;
    }
}

LBitmapHoldScope::~LBitmapHoldScope()
{
    if (mInstalled)
    {
        gScope = nullptr;
        // Decoded ahead for this build and not asked for by it.
        PictureDecodeAhead::DropUntaken();
    }
}

void LBitmapHoldScope::Hold(const ConstRCPtr<LBitmap>& bitmap)
{
    if (gScope && bitmap)
    {
        gScope->mHeld.push_back(bitmap);
    }
}

} // namespace KR
