#pragma once
// Drawing on a Surface. One canvas per surface keeps its own translation and clip, as a
// graphics object of the framework does.
//
// Shapes are drawn without antialiasing, images with nearest-neighbour sampling, colours
// composited over what is there. Pens are in world units with butt caps and mitred
// corners; a pen of no width draws one pixel wide; a pen of odd whole width runs along pixel centres (its
// path is moved by half a pixel), so an outline at x = 10 with a 1-pixel pen covers column 10 only.

#include "platform/graphics/Font.h"
#include "platform/graphics/Path.h"
#include "platform/graphics/Surface.h"

#include <cstdint>
#include <string_view>

struct _cairo;

namespace KR::Platform
{

class Canvas
{
public:
    explicit Canvas(Surface& target);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    Surface& GetSurface() const { return target_; }

    // The whole translation from drawing coordinates to pixels (not added to the last);
    // a NaN or infinite part counts as 0.
    void SetTranslation(double x, double y);

    // Replaces the clip. The rectangle is in the drawing coordinates in force now; it is
    // cut to the surface in pixels first, so the framework's "no clip" rectangle of
    // +-5e15 never reaches Cairo's fixed-point range (where it would clip everything).
    // A rectangle with a NaN clips everything away.
    void SetClip(double x, double y, double width, double height);
    void ResetClip();

    void FillRect(double x, double y, double width, double height, std::uint32_t argb);
    void StrokeRect(double x, double y, double width, double height, std::uint32_t argb, double penWidth);
    void DrawLine(double x1, double y1, double x2, double y2, std::uint32_t argb, double penWidth);

    // The path's points are scaled by (scaleX, scaleY) about the origin; the pen is not.
    void StrokePath(const Path& path, std::uint32_t argb, double penWidth, double scaleX = 1.0,
                    double scaleY = 1.0);
    // Even-odd rule.
    void FillPath(const Path& path, std::uint32_t argb, double scaleX = 1.0, double scaleY = 1.0);

    // One line of text, its pen starting at x on the baseline y.
    void DrawText(const Font& font, double pixelSize, std::u16string_view text, double x, double baselineY,
                  std::uint32_t argb);

    // Part `source` of an image at (x, y), unscaled. kCopy replaces the pixels under it.
    enum class Blend
    {
        kOver,
        kCopy,
    };
    void DrawSurface(const Surface& image, double x, double y, const PixelRect& source,
                     Blend blend = Blend::kOver);
    // Part `source` of an image stretched to the destination, nearest neighbour.
    void DrawSurfaceScaled(const Surface& image, const PixelRect& source, double x, double y, double width,
                           double height);
    // Part `source` repeated from the destination's corner, the last copies cut at its edges.
    void DrawSurfaceTiled(const Surface& image, const PixelRect& source, double x, double y, double width,
                          double height);

    // Sets every pixel inside the clip to the colour, unblended.
    void Clear(std::uint32_t argb);

    // Finishes pending drawing so the surface's pixels can be read or copied.
    void Flush();

private:
    // A coordinate kept where Cairo can rasterise it.
    double X(double x) const;
    double Y(double y) const;
    void SetColour(std::uint32_t argb);
    void TracePath(const Path& path, double scaleX, double scaleY, double shift);
    void Stroke(double penWidth);

    // Rectangles and clips are given to Cairo in pixels, under its identity matrix, which
    // takes its fastest paths; the rest in drawing coordinates under the translation. The
    // matrix changes only when the kind of drawing does.
    void InDrawingCoordinates();
    void InPixels();

    Surface& target_;
    _cairo* cr_ = nullptr;
    double translateX_ = 0.0;
    double translateY_ = 0.0;
    // The translation Cairo's matrix holds now.
    double matrixX_ = 0.0;
    double matrixY_ = 0.0;
};

// Half a pixel for pens of odd whole width, else 0.
double PenAlignment(double penWidth);

} // namespace KR::Platform
