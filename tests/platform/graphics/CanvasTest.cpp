#include "platform/graphics/Canvas.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace KR::Platform
{
namespace
{

constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kBlue = 0xFF0000FF;

// The pixels of a rectangle that hold `colour`, as "x,y" texts, for readable failures.
std::vector<std::string> Inked(const Surface& s, std::uint32_t colour)
{
    std::vector<std::string> found;
    for (int y = 0; y < s.GetHeight(); ++y)
    {
        for (int x = 0; x < s.GetWidth(); ++x)
        {
            if (s.GetPixel(x, y) == colour)
            {
                found.push_back(std::to_string(x) + "," + std::to_string(y));
            }
        }
    }
    return found;
}

TEST(Canvas, BlendedFillComposesOverAndExactWriteKeepsTheColour)
{
    Surface s(4, 4);
    Canvas canvas(s);
    canvas.Clear(kWhite);
    canvas.FillRect(0, 0, 2, 4, 0x80FF0000);
    s.WritePixels({2, 0, 2, 4}, 0x80FF0000);
    const std::uint32_t blended = s.GetPixel(0, 0);
    EXPECT_EQ(blended >> 8, 0xFFFF7Fu) << std::hex << blended;
    EXPECT_LE(std::abs(static_cast<int>(blended & 0xFF) - 0x7F), 1) << std::hex << blended;
    EXPECT_EQ(s.GetPixel(3, 3), 0x80FF0000u);
}

TEST(Canvas, ExactWritesStayInsideTheImage)
{
    struct Case
    {
        const char* name;
        PixelRect area;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"top-left overhang", {-5, -5, 7, 7}, {"0,0", "1,0", "0,1", "1,1"}},
        {"right overhang", {3, 0, 100, 1}, {"3,0"}},
        {"far outside", {10, 10, 5, 5}, {}},
        {"huge extent", {3, 3, 0x7FFFFFFF, 0x7FFFFFFF}, {"3,3"}},
        {"negative size", {2, 2, -2, -2}, {}},
    };
    for (const Case& c : cases)
    {
        Surface s(4, 4);
        s.WritePixels(c.area, kRed);
        EXPECT_EQ(Inked(s, kRed), c.expected) << c.name;
    }
}

TEST(Canvas, OnePixelPenOutlinesOnTheGivenColumnsAndRows)
{
    Surface s(40, 30);
    Canvas canvas(s);
    canvas.StrokeRect(10, 10, 20, 10, kRed, 1.0);
    for (int i = 10; i <= 30; ++i)
    {
        EXPECT_EQ(s.GetPixel(i, 10), kRed) << "top row, column " << i;
        EXPECT_EQ(s.GetPixel(i, 20), kRed) << "bottom row, column " << i;
    }
    for (int i = 10; i <= 20; ++i)
    {
        EXPECT_EQ(s.GetPixel(10, i), kRed) << "left column, row " << i;
        EXPECT_EQ(s.GetPixel(30, i), kRed) << "right column, row " << i;
    }
    EXPECT_EQ(s.GetPixel(11, 11), 0u);
    EXPECT_EQ(s.GetPixel(9, 10), 0u);
    EXPECT_EQ(s.GetPixel(31, 20), 0u);
}

TEST(Canvas, TranslationIsSetWholeAndTheHugeClipStillDraws)
{
    Surface s(20, 20);
    Canvas canvas(s);
    canvas.SetTranslation(3, 4);
    canvas.SetTranslation(5, 7);
    canvas.SetClip(-5000000136282112.0 - 5, -5000000136282112.0 - 7, 10000000272564224.0,
                   10000000272564224.0);
    canvas.FillRect(0, 0, 1, 1, kRed);
    EXPECT_EQ(Inked(s, kRed), std::vector<std::string>{"5,7"});
}

TEST(Canvas, ClipReplacesTheLastOneAndIsGivenInTheCoordinatesOfTheCall)
{
    Surface s(10, 10);
    Canvas canvas(s);
    canvas.SetClip(0, 0, 2, 2);
    canvas.SetTranslation(4, 4);
    canvas.SetClip(0, 0, 1, 1); // pixel (4, 4) only, not an intersection with the first
    canvas.SetTranslation(0, 0);
    canvas.FillRect(0, 0, 10, 10, kRed);
    EXPECT_EQ(Inked(s, kRed), std::vector<std::string>{"4,4"});
    canvas.SetClip(0, 0, std::nan(""), 3);
    canvas.FillRect(0, 0, 10, 10, kBlue);
    EXPECT_TRUE(Inked(s, kBlue).empty());
}

// Rectangles go to Cairo in pixels and the other drawings under the translation: each
// drawing, following one of the other kind at another translation, lands where its own
// translation puts it.
TEST(Canvas, EveryKindOfDrawingAfterAnotherKindAtAnotherTranslationLandsAtItsOwn)
{
    Surface dot(1, 1);
    dot.WritePixels({0, 0, 1, 1}, kRed);
    const struct
    {
        const char* name;
        void (*draw)(Canvas&, const Surface&);
    } kinds[] = {
        {"fill", [](Canvas& c, const Surface&) { c.FillRect(1, 1, 1, 1, kRed); }},
        {"outline", [](Canvas& c, const Surface&) { c.StrokeRect(1, 1, 1, 1, kRed, 1.0); }},
        {"line", [](Canvas& c, const Surface&) { c.DrawLine(1, 1, 2, 1, kRed, 1.0); }},
        {"image",
         [](Canvas& c, const Surface& image) {
             c.DrawSurface(image, 1, 1, {0, 0, 1, 1});
         }},
        {"scaled image",
         [](Canvas& c, const Surface& image) {
             c.DrawSurfaceScaled(image, {0, 0, 1, 1}, 1, 1, 1, 1);
         }},
    };
    for (const auto& before : kinds)
    {
        for (const auto& after : kinds)
        {
            Surface s(12, 12);
            Canvas canvas(s);
            canvas.SetTranslation(6, 2);
            before.draw(canvas, dot);
            canvas.SetTranslation(2, 6);
            canvas.SetClip(0, 0, 3, 3);
            after.draw(canvas, dot);
            const std::vector<std::string> inked = Inked(s, kRed);
            EXPECT_EQ(std::count(inked.begin(), inked.end(), "7,3"), 1)
                << before.name << " then " << after.name;
            EXPECT_EQ(std::count(inked.begin(), inked.end(), "3,7"), 1)
                << before.name << " then " << after.name;
        }
    }
}

// A column of four pixels, rows 0..3 coloured 1..4, moved inside an area: the copy lands
// cut to the area and the image, and what it leaves keeps its pixels.
TEST(Surface, MovedPixelsLandCutToTheAreaAndTheImage)
{
    const struct
    {
        const char* name;
        PixelRect area;
        std::int32_t dy;
        std::vector<std::uint32_t> column;
    } cases[] = {
        {"up one, overlapping", {0, 0, 1, 4}, -1, {2, 3, 4, 4}},
        {"down one, overlapping", {0, 0, 1, 4}, 1, {1, 1, 2, 3}},
        {"down two inside rows 1..3", {0, 1, 1, 3}, 2, {1, 2, 3, 2}},
        {"area past the image", {0, -5, 1, 100}, -3, {4, 2, 3, 4}},
        {"by more than the area", {0, 0, 1, 4}, 9, {1, 2, 3, 4}},
    };
    for (const auto& c : cases)
    {
        Surface s(1, 4);
        for (std::int32_t y = 0; y < 4; ++y)
        {
            s.WritePixels({0, y, 1, 1}, 0xFF000000u | static_cast<std::uint32_t>(y + 1));
        }
        s.MovePixels(c.area, 0, c.dy);
        std::vector<std::uint32_t> column;
        for (std::int32_t y = 0; y < 4; ++y)
        {
            column.push_back(s.GetPixel(0, y) & 0xFFFFFFu);
        }
        EXPECT_EQ(column, c.column) << c.name;
    }
}

TEST(Canvas, PathsScaleTheirGeometryNotThePenAndFillEvenOdd)
{
    Surface s(40, 40);
    Canvas canvas(s);
    Path segments;
    segments.AddLine(0, 1, 5, 1);
    canvas.StrokePath(segments, kRed, 1.0, 2.0, 2.0);
    // Scaled to (0, 2)-(10, 2): one row thick, ten columns long.
    EXPECT_EQ(s.GetPixel(9, 2), kRed);
    EXPECT_EQ(s.GetPixel(10, 2), 0u);
    EXPECT_EQ(s.GetPixel(5, 3), 0u);

    // A square inside a square, one polygon each: the inner one is a hole.
    Path rings;
    const float outer[] = {10, 10, 30, 10, 30, 30, 10, 30};
    const float inner[] = {15, 15, 25, 15, 25, 25, 15, 25};
    rings.AddPolygon(outer, 4);
    rings.AddPolygon(inner, 4);
    canvas.FillPath(rings, kBlue);
    EXPECT_EQ(s.GetPixel(12, 12), kBlue);
    EXPECT_EQ(s.GetPixel(20, 20), 0u);
}

TEST(Canvas, ImagesDrawPlainNearestScaledAndTiled)
{
    const std::uint32_t pixels[] = {kRed, kBlue, kBlue, kRed};
    const Surface image = Surface::FromPixels(2, 2, pixels, 2);
    Surface s(12, 12);
    Canvas canvas(s);
    canvas.DrawSurface(image, 0, 0, {1, 0, 1, 2});
    EXPECT_EQ(s.GetPixel(0, 0), kBlue);
    EXPECT_EQ(s.GetPixel(0, 1), kRed);
    EXPECT_EQ(s.GetPixel(1, 0), 0u);

    canvas.DrawSurfaceScaled(image, {0, 0, 2, 2}, 2, 0, 4, 4);
    EXPECT_EQ(s.GetPixel(3, 1), kRed);
    EXPECT_EQ(s.GetPixel(4, 1), kBlue);
    EXPECT_EQ(s.GetPixel(5, 3), kRed);

    canvas.DrawSurfaceTiled(image, {0, 0, 2, 2}, 7, 7, 5, 3);
    EXPECT_EQ(s.GetPixel(7, 7), kRed);
    EXPECT_EQ(s.GetPixel(9, 7), kRed);
    EXPECT_EQ(s.GetPixel(11, 8), kBlue);
    EXPECT_EQ(s.GetPixel(11, 10), 0u);
}

TEST(Canvas, AnAdoptedImageDrawsAsACopyAndListsThePixelsPremultiplyingLoses)
{
    struct Case
    {
        std::uint32_t straight;
        bool lost;
    };
    const Case cases[] = {
        {kRed, false},       {0x00000000u, false}, {0x00FF8000u, true}, {0x80FF8040u, false},
        {0x01808080u, true}, {0x7F123456u, false}, {0x7F010203u, true}, {0x40112233u, true},
    };
    std::vector<std::uint32_t> pixels;
    for (const Case& c : cases)
    {
        pixels.push_back(c.straight);
    }
    const Surface copied = Surface::FromPixels(4, 2, pixels.data(), 4);
    std::vector<Surface::LostPixel> lost;
    const Surface adopted = Surface::Adopt(4, 2, std::move(pixels), lost);
    ASSERT_EQ(adopted.GetWidth(), 4);
    ASSERT_EQ(adopted.GetHeight(), 2);
    std::size_t next = 0;
    for (std::size_t i = 0; i < std::size(cases); ++i)
    {
        const auto x = static_cast<std::int32_t>(i % 4), y = static_cast<std::int32_t>(i / 4);
        EXPECT_EQ(adopted.GetPixel(x, y), copied.GetPixel(x, y)) << i;
        EXPECT_EQ(adopted.GetPixel(x, y) != cases[i].straight, cases[i].lost) << i;
        if (cases[i].lost)
        {
            ASSERT_LT(next, lost.size()) << i;
            EXPECT_EQ(lost[next].index, i);
            EXPECT_EQ(lost[next].argb, cases[i].straight);
            ++next;
        }
    }
    EXPECT_EQ(next, lost.size());

    // Drawn, the two are the same image.
    Surface fromCopy(4, 2), fromAdopted(4, 2);
    Canvas(fromCopy).DrawSurface(copied, 0, 0, {0, 0, 4, 2});
    Canvas(fromAdopted).DrawSurface(adopted, 0, 0, {0, 0, 4, 2});
    for (std::int32_t i = 0; i < 8; ++i)
    {
        EXPECT_EQ(fromAdopted.GetPixel(i % 4, i / 4), fromCopy.GetPixel(i % 4, i / 4)) << i;
    }

    // Pixels that are not width * height: a transparent image of the size.
    const Surface wrong = Surface::Adopt(3, 3, std::vector<std::uint32_t>(4, kRed), lost);
    EXPECT_EQ(wrong.GetWidth(), 3);
    EXPECT_EQ(wrong.GetPixel(0, 0), 0u);
    EXPECT_TRUE(lost.empty());
}

// What the display makes for a window's frames is taken, pixels and all, only when a frame
// can be drawn into it as into any image; else an ordinary transparent image stands in.
TEST(Surface, OnlyAnArgbImageOfTheSizeFromTheDisplayIsTakenAsItIs)
{
    const auto image = [](cairo_format_t format, int width, int height)
    {
        cairo_surface_t* made = cairo_image_surface_create(format, width, height);
        cairo_t* cr = cairo_create(made);
        cairo_set_source_rgb(cr, 1, 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
        return made;
    };
    struct Case
    {
        const char* what;
        cairo_surface_t* made;
        bool taken;
    };
    const Case cases[] = {
        {"nothing", nullptr, false},
        {"an image of its own", image(CAIRO_FORMAT_ARGB32, 5, 3), true},
        {"an image without alpha", image(CAIRO_FORMAT_RGB24, 5, 3), false},
        {"an image of another size", image(CAIRO_FORMAT_ARGB32, 3, 5), false},
        {"no image", cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, nullptr), false},
    };
    for (const Case& c : cases)
    {
        Surface s = Surface::FromDisplay(c.made, 5, 3);
        EXPECT_EQ(s.IsFromDisplay(), c.taken) << c.what;
        ASSERT_EQ(s.GetWidth(), 5) << c.what;
        ASSERT_EQ(s.GetHeight(), 3) << c.what;
        EXPECT_EQ(Inked(s, c.taken ? kRed : 0u).size(), 15u) << c.what;
        Canvas(s).Clear(kBlue);
        EXPECT_EQ(s.GetPixel(4, 2), kBlue) << c.what;
        // Moved, it stays what it was.
        const Surface moved(std::move(s));
        EXPECT_EQ(moved.IsFromDisplay(), c.taken) << c.what;
    }
}

// Every alpha with colours whose channels premultiply exactly, round and vanish, in a row of
// no multiple of four pixels that ends in an opaque run and one half-covered pixel: the
// adopted image must read back and draw as premultiplying each pixel on its own does (drawn
// over grey, so that colour left under alpha 0 would show), and list exactly the pixels that
// do not come back as they went in.
TEST(Canvas, AnAdoptedImageIsEachPixelPremultipliedForEveryAlpha)
{
    const std::uint32_t colours[] = {0x000000u, 0xFFFFFFu, 0x123456u, 0x80FF01u, 0x010203u, 0xFE7F00u};
    std::vector<std::uint32_t> pixels;
    for (std::uint32_t alpha = 0; alpha < 256; ++alpha)
    {
        for (const std::uint32_t colour : colours)
        {
            pixels.push_back(alpha << 24 | colour);
        }
    }
    pixels.insert(pixels.end(), 5, kRed);
    pixels.push_back(0x80FF8040u);
    const auto width = static_cast<std::int32_t>(pixels.size());
    constexpr std::int32_t kHeight = 1;
    const Surface copied = Surface::FromPixels(width, kHeight, pixels.data(), width);
    std::vector<Surface::LostPixel> lost;
    const Surface adopted = Surface::Adopt(width, kHeight, std::vector<std::uint32_t>(pixels), lost);
    ASSERT_EQ(adopted.GetWidth(), width);
    ASSERT_EQ(adopted.GetHeight(), kHeight);
    Surface overCopy(width, kHeight), overAdopted(width, kHeight);
    overCopy.WritePixels({0, 0, width, kHeight}, 0xFF808080u);
    overAdopted.WritePixels({0, 0, width, kHeight}, 0xFF808080u);
    Canvas(overCopy).DrawSurface(copied, 0, 0, {0, 0, width, kHeight});
    Canvas(overAdopted).DrawSurface(adopted, 0, 0, {0, 0, width, kHeight});
    std::size_t next = 0;
    for (std::size_t i = 0; i < pixels.size(); ++i)
    {
        const auto x = static_cast<std::int32_t>(i), y = 0;
        EXPECT_EQ(adopted.GetPixel(x, y), copied.GetPixel(x, y)) << std::hex << pixels[i];
        EXPECT_EQ(overAdopted.GetPixel(x, y), overCopy.GetPixel(x, y)) << std::hex << pixels[i];
        if (copied.GetPixel(x, y) != pixels[i])
        {
            ASSERT_LT(next, lost.size()) << std::hex << pixels[i];
            EXPECT_EQ(lost[next].index, i);
            EXPECT_EQ(lost[next].argb, pixels[i]);
            ++next;
        }
    }
    EXPECT_EQ(next, lost.size());
}

TEST(Canvas, WildCoordinatesDrawNothingWrongAndLeaveTheCanvasUsable)
{
    const double nan = std::nan("");
    Surface s(20, 20);
    Canvas canvas(s);
    Path wild;
    const float xy[] = {static_cast<float>(nan), 0, 3e38f, 3e38f, -3e38f, 5};
    wild.AddPolygon(xy, 3);
    canvas.SetTranslation(nan, 1e300);
    canvas.DrawLine(nan, nan, 3e38, -3e38, kRed, nan);
    canvas.FillPath(wild, kRed, nan, 3e38);
    canvas.DrawText(ResolveFont(u"DejaVu Sans", 0), 1e30, u"x", 0, 0, kRed);
    EXPECT_TRUE(Inked(s, kRed).empty());
    canvas.SetTranslation(0, 0);
    canvas.StrokeRect(-2147483647.0, 0, 2147483647.0, 2147483647.0, kRed, 1e30);
    canvas.FillRect(3, 3, 1, 1, kBlue);
    EXPECT_EQ(s.GetPixel(3, 3), kBlue);
    // Only the huge rectangle's right edge is in view, where it belongs: column 0.
    const std::vector<std::string> red = Inked(s, kRed);
    EXPECT_EQ(red.size(), 20u);
    EXPECT_EQ(red.front(), "0,0");
    EXPECT_EQ(red.back(), "0,19");
}

} // namespace
} // namespace KR::Platform
