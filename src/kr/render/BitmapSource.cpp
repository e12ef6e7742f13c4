#include "kr/render/BitmapSource.h"

namespace KR
{
namespace
{

IBitmapSource* gSource = nullptr;

} // namespace

void SetBitmapSource(IBitmapSource* source)
{
    gSource = source;
}

IBitmapSource* GetBitmapSource()
{
    return gSource;
}

ConstRCPtr<LBitmap> LoadBitmap(const ImageReference& reference)
{
    if (!gSource || reference.IsEmpty())
    {
        return nullptr;
    }
    return gSource->LoadBitmap(reference);
}

} // namespace KR
