#pragma once
// One colorizer of a skin: a solid fill or a gradient that visual parts are painted
// with. Its colours are parsed from their skin text ("0xFF000000") while the skin is read.

#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/render/Color.h"

#include <cstdint>

namespace KR
{

enum ColorType : std::int32_t
{
    kColorSolidFill = 0,
    kColorLinearGradient = 1,
    kColorRadialGradient = 2,
};

class LColorizer : public virtual LRefCountedObject
{
public:
    String name;
    std::int32_t colorType = kColorSolidFill;
    // The fill, or the gradient's start colour.
    ColorF color;
    // 0 in every channel when not given.
    ColorF gradientEndColor;
    float gradientStartX = 0.0f;
    float gradientStartY = 0.0f;
    float gradientEndX = 0.0f;
    float gradientEndY = 0.0f;
};

} // namespace KR
