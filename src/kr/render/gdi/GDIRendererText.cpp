// Font metrics, text measuring and text drawing of the 2D renderer.

#include "kr/render/Font.h"
#include "kr/render/gdi/GDIRenderer.h"

#include <cmath>

namespace KR
{
namespace
{

// Half away from zero.
std::int32_t Round(double value)
{
    return RoundToInt32(value);
}

} // namespace

const Platform::Font& LGDIRenderer::FontFor(const LFont& font)
{
    auto [it, added] = mFonts.try_emplace(font.GetUniqueID(), nullptr);
    if (added)
    {
        it->second = &Platform::ResolveFont(font.GetFaceName().GetView(), font.GetStyle());
    }
    return *it->second;
}

double LGDIRenderer::PixelsPerPoint() const
{
    // A point is DPI / 72 pixels on the frame's surface; text sizes carry the renderer's
    // scale, 96 / DPI, so the two meet at 96 / 72 whatever the DPI.
    const double dpi = mFrameDpi > 0 ? mFrameDpi : 96;
    return mScale * dpi / 72.0;
}

Result LGDIRenderer::GetFontMetrics(const RCPtr<LFont>& font, std::int32_t& lineHeight, std::int32_t& ascent,
                                    std::int32_t& descent)
{
    lineHeight = 0;
    ascent = 0;
    descent = 0;
    if (!font)
    {
        return kInvalidArg;
    }
    const Platform::FontDesign design = Platform::GetFontDesign(FontFor(*font));
    if (design.unitsPerEm <= 0)
    {
        return kFail;
    }
    // The font's size taken as pixels (the measuring font's unit), its height asked for at
    // 72 DPI and brought to 96; the ±0.499 rounds away from zero unless within 0.001 of a
    // whole number.
    const double size = font->GetSize();
    const double em = design.unitsPerEm;
    const double height = design.lineSpacing * size / em;
    lineHeight = Round(height * 96.0 / 72.0 + 0.499);
    ascent = Round(-(design.cellAscent * size * 96.0) / (em * 72.0) - 0.499);
    descent = Round((design.cellDescent * size * 96.0) / (em * 72.0) + 0.499);
    return kOk;
}

float LGDIRenderer::ScaleMeasuredWidth(float right, std::int32_t screenDpi)
{
    if (screenDpi == 96 || screenDpi <= 0)
    {
        return right;
    }
    return static_cast<float>(Round((9600.0 / screenDpi) * right / 100.0 + 3.0));
}

Result LGDIRenderer::MeasureText(RectT<float>& box, const String& text, const RCPtr<LFont>& font)
{
    box = RectT<float>{};
    if (text.GetLength() == 0)
    {
        return kOk;
    }
    if (!font)
    {
        return kInvalidArg;
    }
    std::int32_t lineHeight = 0;
    std::int32_t ascent = 0;
    std::int32_t descent = 0;
    GetFontMetrics(font, lineHeight, ascent, descent);
    // Measured at the font's own size in points: the renderer's scale is for drawing.
    const double right =
        Platform::MeasureTextAdvance(FontFor(*font), font->GetSize() * 96.0 / 72.0, text.GetView());
    box = RectT<float>{0.0f, static_cast<float>(ascent),
                       ScaleMeasuredWidth(static_cast<float>(right), mScreenDpi),
                       static_cast<float>(lineHeight)};
    return kOk;
}

Result LGDIRenderer::DrawText(const String& text, const RCPtr<LFont>& font, const PointI& position,
                              const ColorF& color)
{
    if (!mCurrent || !font)
    {
        return kOk;
    }
    const Platform::Font& face = FontFor(*font);
    const Platform::FontDesign design = Platform::GetFontDesign(face);
    if (design.unitsPerEm <= 0)
    {
        return kOk;
    }
    // The line's box starts one pixel above the position; the baseline lies a cell
    // ascent below its top.
    const double pixels = font->GetSize() * PixelsPerPoint();
    const double top = static_cast<double>(position.y) - 1.0;
    const double baseline = top + design.cellAscent * pixels / design.unitsPerEm;
    Graphics().DrawText(face, pixels, text.GetView(), position.x, baseline, color.GetARGB());
    return kOk;
}

} // namespace KR
