#pragma once
// Points, and the one rule by which a position computed in doubles becomes a
// whole-pixel position.

#include <cmath>
#include <cstdint>
#include <limits>

namespace KR
{

template <typename T>
struct PointT
{
    T x{};
    T y{};

    friend constexpr bool operator==(const PointT&, const PointT&) = default;
};

using PointD = PointT<double>;
using PointI = PointT<std::int32_t>;

// Rounds half away from zero (2.5 -> 3, -2.5 -> -3) and clamps into the signed
// 32-bit range. The first test is written as "not >=" on purpose: NaN fails every
// comparison, so it lands on the minimum instead of reaching the cast, which
// would be undefined for it and for every value outside the range.
constexpr std::int32_t RoundToInt32(double value)
{
    constexpr double kMin = static_cast<double>(std::numeric_limits<std::int32_t>::min());
    constexpr double kMax = static_cast<double>(std::numeric_limits<std::int32_t>::max());
    if (!(value >= kMin))
    {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (value > kMax)
    {
        return std::numeric_limits<std::int32_t>::max();
    }
    // Within the range the shifted value still truncates into it: the largest
    // input, 2147483647.0, gives 2147483647.5, which truncates to the maximum.
    return static_cast<std::int32_t>(value < 0.0 ? value - 0.5 : value + 0.5);
}

// Each coordinate by RoundToInt32, x first.
constexpr PointI RoundPointToInt(const PointD& point)
{
    return PointI{RoundToInt32(point.x), RoundToInt32(point.y)};
}

// Half away from zero, kept a double (no range to clamp to): 2.5 -> 3, -2.5 -> -3, -0.0 -> 0.
inline double RoundHalfAwayFromZero(double value)
{
    return std::round(value) + 0.0;
}

inline void RoundPointInPlace(PointD& point)
{
    point.x = RoundHalfAwayFromZero(point.x);
    point.y = RoundHalfAwayFromZero(point.y);
}

} // namespace KR
