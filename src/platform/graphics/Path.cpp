#include "platform/graphics/Path.h"

namespace KR::Platform
{

void Path::AddLine(float x1, float y1, float x2, float y2)
{
    const float xy[4] = {x1, y1, x2, y2};
    AddFigure(xy, 2, false);
}

void Path::AddPolyline(const float* xy, std::size_t points)
{
    AddFigure(xy, points, false);
}

void Path::AddPolygon(const float* xy, std::size_t points)
{
    AddFigure(xy, points, true);
}

void Path::Clear()
{
    xy_.clear();
    figures_.clear();
}

void Path::AddFigure(const float* xy, std::size_t points, bool closed)
{
    if (points == 0)
    {
        return;
    }
    figures_.push_back(Figure{xy_.size() / 2, points, closed});
    xy_.insert(xy_.end(), xy, xy + 2 * points);
}

} // namespace KR::Platform
