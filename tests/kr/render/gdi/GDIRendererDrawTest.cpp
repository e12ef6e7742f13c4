#include "RendererFrame.h"

#include "kr/render/Font.h"

#include <gtest/gtest.h>

#include <cmath>

namespace KR::Test
{
namespace
{

TEST(GDIRendererDraw, FillBlendsOrWritesExactlyAndOnlyInsideTheSurface)
{
    struct Case
    {
        const char* name;
        RectI rect;
        bool blend;
        std::uint32_t expected; // the first pixel of the rectangle inside the surface
        int count;              // pixels that hold it
    };
    const Case cases[] = {
        {"blended over white", {0, 0, 10, 10}, true, 0xFFFF7F7F, 100},
        {"written as it is", {0, 0, 10, 10}, false, 0x80FF0000, 100},
        {"written, overhanging the top left", {-5, -5, 10, 10}, false, 0x80FF0000, 25},
        {"written, overhanging the right", {95, 0, 100, 1}, false, 0x80FF0000, 5},
        {"written, at the 32-bit limits", {99, 99, 0x7FFFFFFF, 0x7FFFFFFF}, false, 0x80FF0000, 1},
    };
    for (const Case& c : cases)
    {
        RendererFrame frame(100, 100);
        frame.Start();
        frame.renderer->FillRect({0, 0, 100, 100}, Argb(0xFFFFFFFF), true);
        frame.renderer->Translate({3, 3}); // the unblended write is in surface pixels
        frame.renderer->FillRect(c.rect, Argb(0x80FF0000), c.blend);
        frame.Finish();
        const int shift = c.blend ? 3 : 0;
        const std::uint32_t got = frame.Pixel(std::max(c.rect.x, 0) + shift, std::max(c.rect.y, 0) + shift);
        EXPECT_EQ(got >> 8, c.expected >> 8) << c.name << std::hex << " " << got;
        EXPECT_LE(std::abs(static_cast<int>(got & 0xFF) - static_cast<int>(c.expected & 0xFF)), 1) << c.name;
        EXPECT_EQ(frame.Count(got), c.count) << c.name;
    }
}

TEST(GDIRendererDraw, OutlinesAndSegmentsCoverTheirPixelsOnly)
{
    RendererFrame frame(40, 30);
    PolylineT<float> segments;
    segments.points = {{0, 1}, {5, 1}, {0, 3}, {5, 3}, {0, 10}}; // the fifth point pairs with nothing
    frame.Start();
    frame.renderer->DrawRect({10, 10, 20, 10}, Argb(kRed), 1.0f);
    frame.renderer->DrawLineSegments(segments, Argb(kBlue), {0, 0}, {1, 1}, true);
    frame.Finish();
    EXPECT_EQ(frame.Pixel(10, 10), kRed);
    EXPECT_EQ(frame.Pixel(30, 20), kRed);
    EXPECT_EQ(frame.Pixel(11, 11), 0u);
    EXPECT_EQ(frame.Count(kRed), 2 * 21 + 2 * 9);
    EXPECT_EQ(frame.Pixel(2, 1), kBlue);
    EXPECT_EQ(frame.Pixel(2, 3), kBlue);
    EXPECT_EQ(frame.Count(kBlue), 10) << "two segments, butt caps ending at their last points";
}

TEST(GDIRendererDraw, PolylinePathsAreBuiltOnceUnscaledAndAgainAfterAChange)
{
    RendererFrame frame(30, 30);
    PolylineT<float> line;
    line.points = {{1, 1}, {5, 1}, {5, 5}};
    const auto cached = [&]
    {
        const std::int32_t entry = frame.renderer->GetPathCache().FindEntry(line.handle);
        return entry < 0 ? nullptr : frame.renderer->GetPathCache().GetEntryAt(entry).object.Get();
    };
    frame.Start();
    frame.renderer->DrawPolyline(line, Argb(kRed), {0, 0}, {1, 1}, true);
    const ConstRCPtr<LGDIRenderer::LGraphicsPath> first(cached());
    frame.renderer->DrawPolyline(line, Argb(kBlue), {10, 10}, {2, 2}, true);
    EXPECT_EQ(cached(), first.Get());
    EXPECT_EQ(cached()->path.GetPoints(), (std::vector<float>{1, 1, 5, 1, 5, 5}));
    EXPECT_EQ(frame.Pixel(20, 12), kBlue) << "the corner, doubled and moved";
    EXPECT_EQ(frame.Pixel(20, 19), kBlue);
    EXPECT_EQ(frame.Pixel(21, 12), 0u) << "the pen is not scaled";
    line.changed = true;
    frame.renderer->DrawPolyline(line, Argb(kRed), {0, 0}, {1, 1}, true);
    EXPECT_NE(cached(), first.Get());
    frame.renderer->DrawPolyline(line, Argb(kRed), {0, 0}, {1, 1}, false);
    EXPECT_EQ(cached(), nullptr);
    frame.Finish();
}

TEST(GDIRendererDraw, ColourRectsDrawLastFirstSoTheFirstIsOnTop)
{
    RendererFrame frame(20, 20);
    ColorRectListT<float> list;
    list.rects = {{0, 0, 2, 2}, {1, 1, 2, 2}};
    list.colors = {kRed, kBlue};
    list.scaleX = list.scaleY = 2;
    frame.Start();
    frame.renderer->FillColorRects(list, {5, 5}, false);
    frame.renderer->FillRect({0, 0, 1, 1}, Argb(kBlue), true);
    frame.Finish();
    EXPECT_EQ(frame.Count(kRed), 16);
    EXPECT_EQ(frame.Pixel(10, 10), kBlue);
    EXPECT_EQ(frame.Pixel(0, 0), kBlue) << "the offset is taken back";
}

RCPtr<LFont> DejaVu(float size)
{
    return LFont::GetFont(String(u"DejaVu Sans"), size, kFontStyleRegular);
}

TEST(GDIRendererText, MetricsFollowTheFontTables)
{
    const float sizes[] = {9.0f, 12.0f, 8.25f};
    const std::int32_t expected[][3] = {{14, -12, 3}, {19, -15, 4}, {13, -11, 3}};
    const RCPtr<LGDIRenderer> renderer(new LGDIRenderer);
    for (int i = 0; i < 3; ++i)
    {
        std::int32_t m[3] = {-1, -1, -1};
        EXPECT_EQ(renderer->GetFontMetrics(DejaVu(sizes[i]), m[0], m[1], m[2]), kOk);
        EXPECT_EQ(std::vector(m, m + 3), std::vector(expected[i], expected[i] + 3)) << sizes[i] << " pt";
    }
}

TEST(GDIRendererText, MeasureGivesTheAdvanceWithTrailingSpacesAndTheLineBox)
{
    const RCPtr<LGDIRenderer> renderer(new LGDIRenderer);
    RectT<float> empty{1, 1, 1, 1}, ab, spaced, at120;
    renderer->MeasureText(empty, String(u""), DejaVu(9));
    renderer->MeasureText(ab, String(u"ab"), DejaVu(9));
    renderer->MeasureText(spaced, String(u"ab  "), DejaVu(9));
    renderer->SetScreenDpi(120);
    renderer->MeasureText(at120, String(u"ab"), DejaVu(9));
    EXPECT_EQ(empty, (RectT<float>{0, 0, 0, 0}));
    EXPECT_EQ(ab.y, -12.0f);
    EXPECT_EQ(ab.height, 14.0f);
    EXPECT_GT(spaced.width, ab.width + 5.0f);
    EXPECT_EQ(at120.width, std::floor(0.8f * ab.width + 3.5f));
    EXPECT_EQ(LGDIRenderer::ScaleMeasuredWidth(100.0f, 120), 83.0f);
}

TEST(GDIRendererText, TextDrawnAtAPointInksNothingAboveTheRowBefore)
{
    RendererFrame frame(60, 40);
    frame.Start();
    frame.renderer->DrawText(String(u"Hg"), DejaVu(12.0f), {10, 20}, Argb(0xFF000000));
    frame.Finish();
    int top = 40;
    for (int i = 0; i < 60 * 40; ++i)
    {
        top = std::min(top, frame.Pixel(i % 60, i / 60) >> 24 ? i / 60 : 40);
    }
    EXPECT_GE(top, 19);
    EXPECT_LE(top, 24) << "the cap height lies close under the cell's top";
}

} // namespace
} // namespace KR::Test
