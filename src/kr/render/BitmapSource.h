#pragma once
// How looks and visual parts get the bitmaps their skins name. The program installs the
// source that decodes pictures; tests install one that answers the sizes they give. With
// none installed no image loads.

#include "kr/core/RCPtr.h"
#include "kr/render/Bitmap.h"
#include "kr/render/ImageReference.h"

namespace KR
{

class IBitmapSource
{
public:
    virtual ~IBitmapSource() = default;
    // The bitmap of the reference's rectangle of its picture; null when the picture
    // can't be had.
    virtual ConstRCPtr<LBitmap> LoadBitmap(const ImageReference& reference) = 0;
};

// The program's source: the picture by name through the shared table (LBitmap::GetBitmap),
// cut to the reference's rectangle.
class LoadingBitmapSource : public IBitmapSource
{
public:
    ConstRCPtr<LBitmap> LoadBitmap(const ImageReference& reference) override;
};

// Installs the source; null removes it. The caller keeps it alive while installed.
// User-interface thread.
void SetBitmapSource(IBitmapSource* source);
IBitmapSource* GetBitmapSource();

// Null for an empty reference and without a source.
ConstRCPtr<LBitmap> LoadBitmap(const ImageReference& reference);

} // namespace KR
