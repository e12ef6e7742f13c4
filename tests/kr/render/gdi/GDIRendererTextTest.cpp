#include "RendererFrame.h"

#include "kr/render/Font.h"
#include "kr/render/MeasurementRenderer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace KR::Test
{
namespace
{

RCPtr<LFont> DejaVu(float size)
{
    return LFont::GetFont(String(u"DejaVu Sans"), size, kFontStyleRegular);
}

TEST(GDIRendererText, MetricsFollowTheFontTables)
{
    struct Case
    {
        float size;
        std::int32_t lineHeight, ascent, descent;
    };
    const Case cases[] = {{9.0f, 14, -12, 3}, {12.0f, 19, -15, 4}, {8.25f, 13, -11, 3}};
    const RCPtr<LGDIRenderer> renderer(new LGDIRenderer);
    for (const Case& c : cases)
    {
        std::int32_t lineHeight = -1, ascent = -1, descent = -1;
        EXPECT_EQ(renderer->GetFontMetrics(DejaVu(c.size), lineHeight, ascent, descent), kOk);
        EXPECT_EQ(lineHeight, c.lineHeight) << c.size << " pt";
        EXPECT_EQ(ascent, c.ascent) << c.size << " pt";
        EXPECT_EQ(descent, c.descent) << c.size << " pt";
    }
}

TEST(GDIRendererText, MeasureGivesTheAdvanceWithTrailingSpacesAndTheLineBox)
{
    const RCPtr<LGDIRenderer> renderer(new LGDIRenderer);
    const RCPtr<LFont> font = DejaVu(9.0f);
    RectT<float> empty{1, 1, 1, 1}, ab, spaced;
    renderer->MeasureText(empty, String(u""), font);
    renderer->MeasureText(ab, String(u"ab"), font);
    renderer->MeasureText(spaced, String(u"ab  "), font);
    EXPECT_EQ(empty, (RectT<float>{0, 0, 0, 0}));
    EXPECT_EQ(ab.x, 0.0f);
    EXPECT_EQ(ab.y, -12.0f);
    EXPECT_EQ(ab.height, 14.0f);
    EXPECT_GT(ab.width, 10.0f);
    EXPECT_GT(spaced.width, ab.width + 5.0f);

    renderer->SetScreenDpi(120);
    RectT<float> at120;
    renderer->MeasureText(at120, String(u"ab"), font);
    EXPECT_EQ(at120.width, std::floor(0.8f * ab.width + 3.0f + 0.5f));
}

TEST(GDIRendererText, WidthOffNinetySixDpiFollowsTheScreenRule)
{
    struct Case
    {
        float right;
        std::int32_t dpi;
        float width;
    };
    const Case cases[] = {
        {100.0f, 96, 100.0f}, {100.0f, 120, 83.0f}, {100.5f, 96, 100.5f}, {10.0f, 144, 10.0f}};
    for (const Case& c : cases)
    {
        EXPECT_EQ(LGDIRenderer::ScaleMeasuredWidth(c.right, c.dpi), c.width) << c.right << " at " << c.dpi;
    }
}

TEST(GDIRendererText, TextDrawnAtAPointInksNothingAboveTheRowBefore)
{
    RendererFrame frame(60, 40);
    frame.Start();
    frame.renderer->DrawText(String(u"Hg"), DejaVu(12.0f), {10, 20}, Argb(0xFF000000));
    frame.Finish();
    int inked = 0, top = 40;
    for (int y = 0; y < 40; ++y)
    {
        for (int x = 0; x < 60; ++x)
        {
            if (frame.Pixel(x, y) >> 24)
            {
                ++inked;
                top = std::min(top, y);
                EXPECT_GE(x, 10) << x << "," << y;
            }
        }
    }
    EXPECT_GT(inked, 20);
    EXPECT_GE(top, 19);
    EXPECT_LE(top, 24) << "the cap height lies close under the cell's top";
}

// Counts the metrics a font asks for.
class CountingRenderer : public LGDIRenderer
{
public:
    Result GetFontMetrics(const RCPtr<LFont>& font, std::int32_t& lineHeight, std::int32_t& ascent,
                          std::int32_t& descent) override
    {
        ++calls;
        return LGDIRenderer::GetFontMetrics(font, lineHeight, ascent, descent);
    }
    int calls = 0;
};

class Source : public IMeasurementRendererSource
{
public:
    RCPtr<LMeasurementRenderer> GetMeasurementRenderer() override { return renderer; }
    RCPtr<LMeasurementRenderer> renderer;
};

TEST(GDIRendererText, AFontMeasuresOnFirstUseOnlyAndReadsZeroWithoutARenderer)
{
    const RCPtr<LFont> font = DejaVu(10.5f);
    EXPECT_EQ(font->GetLineHeight(), 0) << "no source installed";
    Source source;
    SetMeasurementRendererSource(&source);
    EXPECT_EQ(font->GetAscent(), 0) << "no renderer yet";
    const RCPtr<CountingRenderer> renderer(new CountingRenderer);
    source.renderer = renderer;
    EXPECT_EQ(font->GetLineHeight(), 17);
    EXPECT_EQ(font->GetAscent(), -13);
    EXPECT_EQ(font->GetDescent(), 4);
    EXPECT_EQ(renderer->calls, 1);
    SetMeasurementRendererSource(nullptr);
}

} // namespace
} // namespace KR::Test
