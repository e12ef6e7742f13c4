#pragma once
// Rectangles, and the conversions between the doubles in which controls keep their
// geometry and the whole units of regions, windows and clip stacks. Every crossing goes
// through these few functions so that one rounding rule holds everywhere: a control at
// x = 10.5 lands on the same pixel column when it is painted, hit-tested and
// invalidated. They live beside the point type (not with the controls) because the
// renderers, which sit below the controls, convert the same way.

#include "kr/core/Point.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace KR
{

// x, y, width, height; the edges are x, y, x + width, y + height.
template <typename T>
struct RectT
{
    T x{};
    T y{};
    T width{};
    T height{};

    constexpr T Right() const { return x + width; }
    constexpr T Bottom() const { return y + height; }

    // The overlap of a and b into out; true only when both sides exceed the type's
    // epsilon, so rectangles that merely touch do not intersect.
    static constexpr bool Intersect(const RectT& a, const RectT& b, RectT& out)
    {
        out.x = std::max(a.x, b.x);
        out.y = std::max(a.y, b.y);
        out.width = std::min(a.x + a.width, b.x + b.width) - out.x;
        out.height = std::min(a.y + a.height, b.y + b.height) - out.y;
        return out.width > std::numeric_limits<T>::epsilon() &&
               out.height > std::numeric_limits<T>::epsilon();
    }

    friend constexpr bool operator==(const RectT&, const RectT&) = default;
};

using RectD = RectT<double>;
using RectI = RectT<std::int32_t>;

// Integer bounds by their edges, the form in which bounds are folded together.
struct EdgesI
{
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    friend constexpr bool operator==(const EdgesI&, const EdgesI&) = default;
};

// Two sizes count as different when they are this far apart or more; anything closer is
// arithmetic noise from layout passes, and treating it as a change would make controls
// rebuild their contents endlessly.
inline constexpr double kSizeTolerance = 2.220446049250313e-15;

// The relative tolerance of snapping (the spacing of doubles just above 1.0); also the
// extent at or below which a rectangle counts as empty.
inline constexpr double kWholeUnitEpsilon = 2.220446049250313e-16;

// The largest magnitude an integer takes when it becomes a double: every integer up to
// it is exact, so a converted value never lands between two whole numbers.
inline constexpr double kMaxExactDouble = 4503599627370496.0; // 2^52

// True when a and b differ by kSizeTolerance or more (NaN always differs).
constexpr bool SizeDiffers(double a, double b)
{
    const double difference = a < b ? b - a : a - b;
    return !(difference < kSizeTolerance);
}

// Each of the four values on its own by RoundToInt32: the width and height are rounded
// themselves, not derived from rounded edges, so a rectangle keeps its rounded size
// wherever it sits.
constexpr RectI RoundRectToInt(const RectD& rect)
{
    return RectI{RoundToInt32(rect.x), RoundToInt32(rect.y), RoundToInt32(rect.width),
                 RoundToInt32(rect.height)};
}

// An integer as a double, clamped to +-2^52. No 32-bit value reaches the clamp; it keeps
// 64-bit values on whole numbers.
constexpr double IntToDouble(std::int64_t value)
{
    return std::clamp(static_cast<double>(value), -kMaxExactDouble, kMaxExactDouble);
}

constexpr PointD IntPointToDouble(const PointI& point)
{
    return PointD{IntToDouble(point.x), IntToDouble(point.y)};
}

constexpr RectD IntRectToDouble(const RectI& rect)
{
    return RectD{IntToDouble(rect.x), IntToDouble(rect.y), IntToDouble(rect.width), IntToDouble(rect.height)};
}

// Axis 0 is x; every other axis is y.
constexpr double& GetPointAxis(PointD& point, int axis)
{
    return axis == 0 ? point.x : point.y;
}

constexpr const double& GetPointAxis(const PointD& point, int axis)
{
    return axis == 0 ? point.x : point.y;
}

// One edge snapped down to a whole unit, except that a value a hair below a whole number
// (within the relative tolerance) snaps up to it. The truncation is done on the double:
// a cast to a 64-bit integer would be undefined for NaN and beyond +-2^63, and every
// double of 2^52 or more is whole already.
inline double SnapEdgeToWholeUnit(double edge)
{
    return edge >= 0.0 ? std::trunc(edge + edge * kWholeUnitEpsilon)
                       : std::trunc(edge - (edge * kWholeUnitEpsilon + 1.0));
}

// Used before a rectangle becomes a clip or an invalid area: a negative width or height
// is turned round by moving x or y, then the four edges are snapped to whole units and
// the size is taken from the snapped edges.
inline void SnapRectToWholeUnits(RectD& rect)
{
    // Whole edges within the 32-bit range snap to themselves: most clips pushed by a paint
    // are made of whole control frames, and the truncations below cost a call each.
    const auto whole = [](double edge)
    {
        return edge > -2147483648.0 && edge < 2147483648.0 &&
               static_cast<double>(static_cast<std::int32_t>(edge)) == edge;
    };
    if (rect.width >= 0.0 && rect.height >= 0.0 && whole(rect.x) && whole(rect.y) &&
        whole(rect.x + rect.width) && whole(rect.y + rect.height))
    {
        rect = RectD{rect.x, rect.y, (rect.x + rect.width) - rect.x, (rect.y + rect.height) - rect.y};
        return;
    }
    if (rect.width < 0.0)
    {
        rect.x += rect.width;
        rect.width = -rect.width;
    }
    if (rect.height < 0.0)
    {
        rect.y += rect.height;
        rect.height = -rect.height;
    }
    const double left = SnapEdgeToWholeUnit(rect.x);
    const double top = SnapEdgeToWholeUnit(rect.y);
    const double right = SnapEdgeToWholeUnit(rect.x + rect.width);
    const double bottom = SnapEdgeToWholeUnit(rect.y + rect.height);
    rect = RectD{left, top, right - left, bottom - top};
}

// Writes the overlap of a and b to out; true when it has a positive width and height.
constexpr bool IntersectRects(const RectD& a, const RectD& b, RectD& out)
{
    const double left = std::max(a.x, b.x);
    const double top = std::max(a.y, b.y);
    const double right = std::min(a.Right(), b.Right());
    const double bottom = std::min(a.Bottom(), b.Bottom());
    out = RectD{left, top, right - left, bottom - top};
    return out.width > 0.0 && out.height > 0.0;
}

// Widens bounds to take in rect, rounded by RoundRectToInt. The far edges are summed in
// 64 bits and clamped: both parts may be clamped to the 32-bit maximum already.
constexpr void UnionRectInt(const RectD& rect, EdgesI& bounds)
{
    const RectI r = RoundRectToInt(rect);
    const auto clampToInt32 = [](std::int64_t v)
    {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                                  std::numeric_limits<std::int32_t>::max()));
    };
    bounds.left = std::min(bounds.left, r.x);
    bounds.top = std::min(bounds.top, r.y);
    bounds.right = std::max(bounds.right, clampToInt32(std::int64_t{r.x} + r.width));
    bounds.bottom = std::max(bounds.bottom, clampToInt32(std::int64_t{r.y} + r.height));
}

} // namespace KR
