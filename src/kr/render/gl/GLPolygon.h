#pragma once
// KR::CGLPolygon: fills any simple or concave outline through the GLU tessellator. One
// tessellator and one vertex array serve the whole process; the array is grown to the
// whole polygon before the first vertex reaches GLU, which keeps pointers to it until the
// polygon ends.

#include "kr/core/Point.h"

#include <vector>

namespace KR
{

class CGLPolygon
{
public:
    CGLPolygon();

    // One contour through the points in order, filled with the current colour (odd winding).
    void Fill(const std::vector<PointT<float>>& points);
};

} // namespace KR
