#pragma once
// One Part of a skin: an image cut from a picture file, or a colour field painted by a
// colorizer, with the way it fills a larger area. The drawable part is made from it by
// the renderer; reading records only what to load and how.

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/render/ImageReference.h"
#include "kr/ui/Colorizer.h"
#include "kr/ui/VisualPart.h"

#include <cstdint>

namespace KR
{

enum ResizeType : std::int32_t
{
    kResizeStretch = 0,
    kResizeTile = 1,
    kResizeCenter = 2,
};

class LVisualPartDescriptor : public virtual LRefCountedObject
{
public:
    String name;
    // Empty for a colour part.
    ImageReference image;
    // The natural size; an image part takes its bitmap's size instead.
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t resizeType = kResizeStretch;
    ConstRCPtr<LColorizer> colorizer;
    float colorizerAlpha = 1.0f;
    ImageReference mask;

    bool IsImagePart() const { return !image.IsEmpty(); }

    // The drawable part, made on the first call (its bitmaps loaded through the bitmap
    // source) and kept while anyone holds it; null when the image can't be loaded. Two
    // docked parts naming one part share it.
    RCPtr<LVisualPart> GetVisualPart() const;

    // The cache of GetVisualPart; the part clears it when it goes.
    mutable RCPtr<LVisualPart> visualPart;
};

} // namespace KR
