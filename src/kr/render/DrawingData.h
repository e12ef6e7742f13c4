#pragma once
// Point and rectangle lists that callers own and renderers draw. A renderer may build an
// object of its own from one (a path, a display list) and key it by the list's handle;
// the owner sets the changed flag whenever it changes the list, and the renderer rebuilds
// and clears it.

#include "kr/core/Point.h"
#include "kr/core/Rect.h"

#include <cstdint>
#include <vector>

namespace KR
{

// Identities for cached drawing objects come from one counter, never from addresses,
// which on 64 bits would have to be cut to fit and could then collide.
std::int32_t NextDrawingHandle();

template <typename T>
struct PolylineT;

template <>
struct PolylineT<float>
{
    std::vector<PointT<float>> points;
    float lineWidth = 1.0f;
    bool changed = true;
    std::int32_t handle = NextDrawingHandle();
};

template <typename T>
struct ColorRectListT;

template <>
struct ColorRectListT<float>
{
    std::vector<RectT<float>> rects;
    // Packed 0xAARRGGBB, one per rectangle.
    std::vector<std::uint32_t> colors;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    bool changed = true;
    std::int32_t handle = NextDrawingHandle();
};

} // namespace KR
