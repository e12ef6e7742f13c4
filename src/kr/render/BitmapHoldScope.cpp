#include "kr/render/BitmapHoldScope.h"

#include "kr/render/Bitmap.h"

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
