#include "RendererFrame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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
        std::uint32_t expected; // at the first pixel of the rectangle inside the surface
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
        frame.renderer->FillRect(c.rect, Argb(0x80FF0000), c.blend);
        frame.Finish();
        const std::uint32_t got = frame.Pixel(std::max(c.rect.x, 0), std::max(c.rect.y, 0));
        EXPECT_EQ(got >> 8, c.expected >> 8) << c.name << std::hex << " " << got;
        EXPECT_LE(std::abs(static_cast<int>(got & 0xFF) - static_cast<int>(c.expected & 0xFF)), 1) << c.name;
        EXPECT_EQ(frame.Count(got), c.count) << c.name;
    }
}

TEST(GDIRendererDraw, UnblendedFillIgnoresTranslationAndClip)
{
    RendererFrame frame(20, 20);
    frame.Start();
    frame.renderer->PushClip({10, 10, 5, 5}, {0, 0, 100, 100}, nullptr, true);
    frame.renderer->FillRect({0, 0, 1, 1}, Argb(kRed), false);
    frame.renderer->FillRect({0, 0, 1, 1}, Argb(kBlue), true);
    frame.renderer->RestoreState();
    frame.Finish();
    EXPECT_EQ(frame.Pixel(0, 0), kRed);
    EXPECT_EQ(frame.Pixel(10, 10), kBlue);
}

TEST(GDIRendererDraw, OnePixelOutlineCoversItsEdgeColumnsAndRowsOnly)
{
    RendererFrame frame(40, 30);
    frame.Start();
    frame.renderer->DrawRect({10, 10, 20, 10}, Argb(kRed), 1.0f);
    frame.Finish();
    for (const auto& [x, y] : {std::pair{10, 15}, {30, 15}, {20, 10}, {20, 20}, {10, 10}, {30, 20}})
    {
        EXPECT_EQ(frame.Pixel(x, y), kRed) << x << "," << y;
    }
    EXPECT_EQ(frame.Pixel(11, 11), 0u);
    EXPECT_EQ(frame.Count(kRed), 2 * 21 + 2 * 9);
}

TEST(GDIRendererDraw, LineSegmentsTakePairsAndDropAnOddLastPoint)
{
    RendererFrame frame(20, 20);
    PolylineT<float> line;
    line.points = {{0, 1}, {5, 1}, {0, 3}, {5, 3}, {0, 10}};
    frame.Start();
    frame.renderer->DrawLineSegments(line, Argb(kRed), {0, 0}, {1, 1}, true);
    frame.Finish();
    EXPECT_EQ(frame.Pixel(2, 1), kRed);
    EXPECT_EQ(frame.Pixel(2, 3), kRed);
    EXPECT_EQ(frame.Pixel(0, 6), 0u) << "a segment from the fourth point to the fifth";
    EXPECT_EQ(frame.Count(kRed), 10) << "butt caps end at the last point";
}

TEST(GDIRendererDraw, PolylinePathsAreBuiltOnceAndAgainAfterAChange)
{
    RendererFrame frame(30, 30);
    PolylineT<float> line;
    line.points = {{1, 1}, {5, 1}, {5, 5}};
    const auto cached = [&]
    {
        const LGDIRenderer::PathCache& cache = frame.renderer->GetPathCache();
        const std::int32_t entry = cache.FindEntry(line.handle);
        return entry < 0 ? nullptr : cache.GetEntryAt(entry).object.Get();
    };
    frame.Start();
    frame.renderer->DrawPolyline(line, Argb(kRed), {0, 0}, {1, 1}, true);
    const ConstRCPtr<LGDIRenderer::LGraphicsPath> first(cached());
    frame.renderer->DrawPolyline(line, Argb(kRed), {0, 0}, {1, 1}, true);
    EXPECT_EQ(cached(), first.Get());
    EXPECT_FALSE(line.changed);

    // Scaled and moved: the drawing doubles, the cache keeps the points as given.
    frame.renderer->DrawPolyline(line, Argb(kBlue), {10, 10}, {2, 2}, true);
    EXPECT_EQ(cached(), first.Get());
    EXPECT_EQ(frame.Pixel(12, 12), kBlue);
    EXPECT_EQ(frame.Pixel(20, 12), kBlue);
    EXPECT_EQ(frame.Pixel(20, 19), kBlue);
    EXPECT_EQ(frame.Pixel(21, 12), 0u) << "the pen stays one pixel wide";
    EXPECT_EQ(cached()->path.GetPoints(), (std::vector<float>{1, 1, 5, 1, 5, 5}));

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
    list.scaleX = 2;
    list.scaleY = 2;
    frame.Start();
    frame.renderer->FillColorRects(list, {5, 5}, false);
    frame.renderer->FillRect({0, 0, 1, 1}, Argb(kBlue), true);
    frame.Finish();
    EXPECT_EQ(frame.Pixel(8, 8), kRed);
    EXPECT_EQ(frame.Pixel(10, 10), kBlue);
    EXPECT_EQ(frame.Pixel(0, 0), kBlue) << "the offset is taken back";
}

TEST(GDIRendererDraw, WildCoordinatesDrawNothingWrongAndLeaveTheSurfaceUsable)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float huge = 3e38f;
    RendererFrame frame(20, 20);
    PolylineT<float> line;
    line.points = {{nan, 0}, {huge, huge}, {-huge, 5}};
    frame.Start();
    frame.renderer->Translate({std::nan(""), 1e300});
    frame.renderer->DrawLine({nan, nan}, {huge, -huge}, Argb(kRed), nan);
    frame.renderer->FillPolygon(line, Argb(kRed), {huge, nan}, {nan, huge}, true);
    frame.renderer->DrawRect({-0x7FFFFFFF, 0, 0x7FFFFFFF, 0x7FFFFFFF}, Argb(kRed), huge);
    frame.renderer->Translate({-frame.context->state.offset.x, -frame.context->state.offset.y});
    frame.renderer->SetClipRect(RenderState::kNoClip);
    frame.renderer->FillRect({3, 3, 1, 1}, Argb(kBlue), true);
    frame.Finish();
    EXPECT_EQ(frame.Pixel(3, 3), kBlue);
}

} // namespace
} // namespace KR::Test
