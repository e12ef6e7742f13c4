#pragma once
// One colorizer of a skin: a solid fill or a gradient that visual parts are painted
// with. Colours stay in their skin text ("0xFF000000") until the renderer parses them,
// so reading a skin needs nothing of the drawing code.

#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"

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
    String colorText;
    // Empty when not given: 0 in every channel.
    String gradientEndColorText;
    float gradientStartX = 0.0f;
    float gradientStartY = 0.0f;
    float gradientEndX = 0.0f;
    float gradientEndY = 0.0f;
};

} // namespace KR
