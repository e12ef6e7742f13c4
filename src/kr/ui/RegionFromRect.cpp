#include "kr/ui/RegionFromRect.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace KR
{
namespace
{

constexpr double kMin = static_cast<double>(std::numeric_limits<std::int32_t>::min());
constexpr double kMax = static_cast<double>(std::numeric_limits<std::int32_t>::max());

// v + 0.5 truncated toward zero, clamped first; NaN lands on the minimum as in
// RoundToInt32.
std::int32_t TruncateHalfUp(double v)
{
    const double shifted = v + 0.5;
    if (!(shifted >= kMin))
    {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (shifted > kMax)
    {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(std::trunc(shifted));
}

std::int32_t ClampSum(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{a} + b,
                                                              std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

} // namespace

EdgesI RegionEdgesFromRect(const RectD& rect)
{
    const std::int32_t left = TruncateHalfUp(rect.x);
    const std::int32_t top = TruncateHalfUp(rect.y);
    return EdgesI{left, top, ClampSum(TruncateHalfUp(rect.width), left),
                  ClampSum(TruncateHalfUp(rect.height), top)};
}

void RegionFromRect(const RectD& rect, LRegion& region)
{
    region.SetRect(RegionEdgesFromRect(rect));
}

} // namespace KR
