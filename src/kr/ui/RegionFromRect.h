#pragma once
// The region of a control's rectangle. Unlike the rounding of RoundRectToInt, each edge
// is taken by adding 0.5 and truncating toward zero, so negative halves round toward
// zero (x = -2.5 gives left -2). Values are clamped into the 32-bit range before they are
// truncated, and the far edges are clamped again after the sum: 1e10 or NaN still give a
// defined rectangle.

#include "kr/core/Rect.h"
#include "kr/render/Region.h"

namespace KR
{

// The edges RegionFromRect sets.
EdgesI RegionEdgesFromRect(const RectD& rect);

// Sets `region` to the rectangle (empty when the rectangle is).
void RegionFromRect(const RectD& rect, LRegion& region);

} // namespace KR
