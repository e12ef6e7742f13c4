#pragma once
// Outlines kept as plain points: open and closed figures, untransformed, so one stored
// path can be drawn at any scale and offset.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace KR::Platform
{

class Path
{
public:
    struct Figure
    {
        std::size_t first = 0; // index of the figure's first point
        std::size_t count = 0;
        bool closed = false;
    };

    // `xy` holds x, y pairs; `points` of them are read.
    void AddLine(float x1, float y1, float x2, float y2);
    void AddPolyline(const float* xy, std::size_t points);
    void AddPolygon(const float* xy, std::size_t points);
    void Clear();

    const std::vector<float>& GetPoints() const { return xy_; }
    const std::vector<Figure>& GetFigures() const { return figures_; }

private:
    void AddFigure(const float* xy, std::size_t points, bool closed);

    std::vector<float> xy_;
    std::vector<Figure> figures_;
};

} // namespace KR::Platform
