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

ConstRCPtr<LBitmap> LoadingBitmapSource::LoadBitmap(const ImageReference& reference)
{
    const ConstRCPtr<LBitmap> picture = LBitmap::GetBitmap(reference.path);
    if (!picture)
    {
        return nullptr;
    }
    return picture->CreateSubBitmap(reference.x, reference.y, reference.width, reference.height);
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
