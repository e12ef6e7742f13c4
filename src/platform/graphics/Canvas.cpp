#include "platform/graphics/Canvas.h"

#include "platform/graphics/FontInternal.h"

#include <algorithm>
#include <cmath>

namespace KR::Platform
{
namespace
{

// Device coordinates are kept within +-2^20 pixels, far past any image yet well inside
// the 24.8 fixed point in which Cairo rasterises (beyond it coordinates wrap around).
// NaN goes far off to the top left, where it draws nothing.
constexpr double kDeviceLimit = 1048576.0;

double ClampDevice(double value)
{
    return value >= -kDeviceLimit ? std::min(value, kDeviceLimit) : -kDeviceLimit;
}

// A pen of no width, or of no usable width, draws the thinnest line there is, as the
// framework's pens do.
double UsablePen(double penWidth)
{
    return penWidth > 0.0 && penWidth < kDeviceLimit ? penWidth : 1.0;
}

// Keeps a rectangle edge inside [low, high]; NaN goes to low.
double ClampEdge(double value, double low, double high)
{
    return value >= low ? std::min(value, high) : low;
}

cairo_font_options_t* TextOptions()
{
    // Unhinted outlines and linear advances: text measures and draws at exactly the
    // design widths, whatever the size.
    static cairo_font_options_t* options = []
    {
        cairo_font_options_t* o = cairo_font_options_create();
        cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
        return o;
    }();
    return options;
}

} // namespace

double PenAlignment(double penWidth)
{
    const double whole = std::round(penWidth);
    return whole == penWidth && std::fmod(whole, 2.0) == 1.0 ? 0.5 : 0.0;
}

Canvas::Canvas(Surface& target) : target_(target), cr_(cairo_create(target.GetNative()))
{
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
    cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_MITER);
    cairo_set_font_options(cr_, TextOptions());
}

Canvas::~Canvas()
{
    cairo_destroy(cr_);
}

double Canvas::X(double x) const
{
    const double device = x + translateX_;
    return ClampDevice(device) == device ? x : ClampDevice(device) - translateX_;
}

double Canvas::Y(double y) const
{
    const double device = y + translateY_;
    return ClampDevice(device) == device ? y : ClampDevice(device) - translateY_;
}

void Canvas::SetTranslation(double x, double y)
{
    // A matrix with NaN or infinity would put the Cairo context into a lasting error state.
    translateX_ = std::isfinite(x) ? x : 0.0;
    translateY_ = std::isfinite(y) ? y : 0.0;
}

void Canvas::InDrawingCoordinates()
{
    if (matrixX_ != translateX_ || matrixY_ != translateY_)
    {
        cairo_matrix_t matrix;
        cairo_matrix_init_translate(&matrix, translateX_, translateY_);
        cairo_set_matrix(cr_, &matrix);
        matrixX_ = translateX_;
        matrixY_ = translateY_;
    }
}

void Canvas::InPixels()
{
    if (matrixX_ != 0.0 || matrixY_ != 0.0)
    {
        cairo_identity_matrix(cr_);
        matrixX_ = 0.0;
        matrixY_ = 0.0;
    }
}

void Canvas::SetClip(double x, double y, double width, double height)
{
    cairo_reset_clip(cr_);
    const double w = target_.GetWidth();
    const double h = target_.GetHeight();
    const double left = ClampEdge(x + translateX_, 0.0, w);
    const double top = ClampEdge(y + translateY_, 0.0, h);
    const double right = ClampEdge(x + width + translateX_, 0.0, w);
    const double bottom = ClampEdge(y + height + translateY_, 0.0, h);
    // A save and restore around the clip would undo it.
    InPixels();
    cairo_new_path(cr_);
    if (right > left && bottom > top)
    {
        cairo_rectangle(cr_, left, top, right - left, bottom - top);
    }
    cairo_clip(cr_);
}

void Canvas::ResetClip()
{
    cairo_reset_clip(cr_);
}

void Canvas::SetColour(std::uint32_t argb)
{
    cairo_set_source_rgba(cr_, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0,
                          (argb & 0xFF) / 255.0, (argb >> 24) / 255.0);
}

void Canvas::Stroke(double penWidth)
{
    cairo_set_line_width(cr_, UsablePen(penWidth));
    cairo_stroke(cr_);
}

void Canvas::FillRect(double x, double y, double width, double height, std::uint32_t argb)
{
    SetColour(argb);
    InPixels();
    cairo_new_path(cr_);
    cairo_rectangle(cr_, X(x) + translateX_, Y(y) + translateY_, X(x + width) - X(x), Y(y + height) - Y(y));
    cairo_fill(cr_);
}

void Canvas::StrokeRect(double x, double y, double width, double height, std::uint32_t argb, double penWidth)
{
    const double shift = PenAlignment(UsablePen(penWidth));
    SetColour(argb);
    InDrawingCoordinates();
    cairo_new_path(cr_);
    cairo_rectangle(cr_, X(x) + shift, Y(y) + shift, X(x + width) - X(x), Y(y + height) - Y(y));
    Stroke(penWidth);
}

void Canvas::DrawLine(double x1, double y1, double x2, double y2, std::uint32_t argb, double penWidth)
{
    const double shift = PenAlignment(UsablePen(penWidth));
    SetColour(argb);
    InDrawingCoordinates();
    cairo_new_path(cr_);
    cairo_move_to(cr_, X(x1) + shift, Y(y1) + shift);
    cairo_line_to(cr_, X(x2) + shift, Y(y2) + shift);
    Stroke(penWidth);
}

void Canvas::TracePath(const Path& path, double scaleX, double scaleY, double shift)
{
    InDrawingCoordinates();
    cairo_new_path(cr_);
    const std::vector<float>& xy = path.GetPoints();
    for (const Path::Figure& figure : path.GetFigures())
    {
        for (std::size_t i = 0; i < figure.count; ++i)
        {
            const std::size_t at = 2 * (figure.first + i);
            const double px = X(xy[at] * scaleX) + shift;
            const double py = Y(xy[at + 1] * scaleY) + shift;
            if (i == 0)
            {
                cairo_move_to(cr_, px, py);
            }
            else
            {
                cairo_line_to(cr_, px, py);
            }
        }
        if (figure.closed)
        {
            cairo_close_path(cr_);
        }
    }
}

void Canvas::StrokePath(const Path& path, std::uint32_t argb, double penWidth, double scaleX, double scaleY)
{
    SetColour(argb);
    TracePath(path, scaleX, scaleY, PenAlignment(UsablePen(penWidth)));
    Stroke(penWidth);
}

void Canvas::FillPath(const Path& path, std::uint32_t argb, double scaleX, double scaleY)
{
    SetColour(argb);
    TracePath(path, scaleX, scaleY, 0.0);
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_fill(cr_);
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_WINDING);
}

void Canvas::DrawText(const Font& font, double pixelSize, std::u16string_view text, double x,
                      double baselineY, std::uint32_t argb)
{
    if (font.IsEmpty() || text.empty() || !(pixelSize > 0.0) || pixelSize > kDeviceLimit || X(x) != x ||
        Y(baselineY) != baselineY)
    {
        return;
    }
    thread_local std::vector<cairo_glyph_t> glyphs;
    glyphs.clear();
    font.Layout(text, pixelSize, x, baselineY, &glyphs);
    SetColour(argb);
    InDrawingCoordinates();
    cairo_set_font_face(cr_, font.GetCairoFace());
    cairo_set_font_size(cr_, pixelSize);
    cairo_show_glyphs(cr_, glyphs.data(), static_cast<int>(glyphs.size()));
}

void Canvas::DrawSurface(const Surface& image, double x, double y, const PixelRect& source, Blend blend)
{
    if (source.width <= 0 || source.height <= 0 || X(x) != x || Y(y) != y)
    {
        return;
    }
    if (image.GetNative() == target_.GetNative())
    {
        // Reading and writing one image at once would smear overlapping parts: copy first.
        Surface part(source.width, source.height);
        Canvas(part).DrawSurface(image, 0, 0, source, Blend::kCopy);
        DrawSurface(part, x, y, PixelRect{0, 0, source.width, source.height}, blend);
        return;
    }
    InDrawingCoordinates();
    cairo_save(cr_);
    if (blend == Blend::kCopy)
    {
        cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
    }
    cairo_set_source_surface(cr_, image.GetNative(), x - source.x, y - source.y);
    cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_NEAREST);
    cairo_new_path(cr_);
    cairo_rectangle(cr_, x, y, source.width, source.height);
    cairo_fill(cr_);
    cairo_restore(cr_);
}

void Canvas::DrawSurfaceScaled(const Surface& image, const PixelRect& source, double x, double y,
                               double width, double height)
{
    if (source.width <= 0 || source.height <= 0 || !(width > 0.0) || !(height > 0.0) || X(x) != x ||
        Y(y) != y || X(x + width) != x + width || Y(y + height) != y + height)
    {
        return;
    }
    InDrawingCoordinates();
    cairo_save(cr_);
    cairo_translate(cr_, x, y);
    cairo_scale(cr_, width / source.width, height / source.height);
    cairo_set_source_surface(cr_, image.GetNative(), -source.x, -source.y);
    cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_NEAREST);
    cairo_pattern_set_extend(cairo_get_source(cr_), CAIRO_EXTEND_PAD);
    cairo_new_path(cr_);
    cairo_rectangle(cr_, 0, 0, source.width, source.height);
    cairo_fill(cr_);
    cairo_restore(cr_);
}

void Canvas::DrawSurfaceTiled(const Surface& image, const PixelRect& source, double x, double y, double width,
                              double height)
{
    if (source.width <= 0 || source.height <= 0 || !(width > 0.0) || !(height > 0.0) || X(x) != x ||
        Y(y) != y)
    {
        return;
    }
    width = X(x + width) - x;
    height = Y(y + height) - y;
    cairo_surface_t* tile = cairo_surface_create_for_rectangle(image.GetNative(), source.x, source.y,
                                                               source.width, source.height);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(tile);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
    cairo_matrix_t matrix;
    cairo_matrix_init_translate(&matrix, -x, -y);
    cairo_pattern_set_matrix(pattern, &matrix);
    InDrawingCoordinates();
    cairo_save(cr_);
    cairo_set_source(cr_, pattern);
    cairo_new_path(cr_);
    cairo_rectangle(cr_, x, y, width, height);
    cairo_fill(cr_);
    cairo_restore(cr_);
    cairo_pattern_destroy(pattern);
    cairo_surface_destroy(tile);
}

void Canvas::Clear(std::uint32_t argb)
{
    cairo_save(cr_);
    cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
    SetColour(argb);
    cairo_paint(cr_);
    cairo_restore(cr_);
}

void Canvas::Flush()
{
    cairo_surface_flush(target_.GetNative());
}

} // namespace KR::Platform
