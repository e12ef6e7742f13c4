#include "RendererFrame.h"

#include "kr/core/Exception.h"
#include "platform/png/PngCodec.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace KR::Test
{
namespace
{

// A bitmap whose every pixel tells where it is: opaque, x in green, y in blue.
ConstRCPtr<LBitmap> Sheet(std::int32_t width, std::int32_t height)
{
    std::vector<std::uint32_t> pixels;
    for (std::int32_t y = 0; y < height; ++y)
    {
        for (std::int32_t x = 0; x < width; ++x)
        {
            pixels.push_back(0xFF000000u | static_cast<std::uint32_t>(x) << 8 |
                             static_cast<std::uint32_t>(y));
        }
    }
    const std::vector<std::uint8_t> png = Platform::EncodePng(width, height, pixels.data());
    return LBitmap::CreateFromPng(png.data(), png.size());
}

constexpr std::uint32_t At(std::int32_t x, std::int32_t y)
{
    return 0xFF000000u | static_cast<std::uint32_t>(x) << 8 | static_cast<std::uint32_t>(y);
}

struct DrawCase
{
    const char* name;
    std::int32_t sourceWidth, sourceHeight;
    RectI destination;
    std::int32_t type;
    // (x, y) of the frame -> expected pixel; 0 is transparent
    std::vector<std::tuple<std::int32_t, std::int32_t, std::uint32_t>> pixels;
};

TEST(GDIRendererBitmap, ResizesByType)
{
    const DrawCase cases[] = {
        {"tiled by copies",
         10,
         10,
         {0, 0, 25, 25},
         1,
         {{0, 0, At(0, 0)},
          {10, 0, At(0, 0)},
          {20, 20, At(0, 0)},
          {24, 24, At(4, 4)},
          {25, 0, 0},
          {0, 25, 0}}},
        {"tiled by pattern",
         10,
         10,
         {0, 0, 30, 10},
         1,
         {{0, 0, At(0, 0)}, {29, 9, At(9, 9)}, {30, 0, 0}, {0, 10, 0}}},
        {"centred smaller", 20, 20, {0, 0, 10, 10}, 2, {{0, 0, At(5, 5)}, {9, 9, At(14, 14)}, {10, 0, 0}}},
        {"centred larger",
         20,
         20,
         {0, 0, 30, 30},
         2,
         {{4, 4, 0}, {5, 5, At(0, 0)}, {24, 24, At(19, 19)}, {25, 5, 0}}},
        {"stretched",
         2,
         2,
         {1, 1, 4, 4},
         0,
         {{1, 1, At(0, 0)}, {2, 2, At(0, 0)}, {3, 2, At(1, 0)}, {4, 4, At(1, 1)}}},
        {"unknown type at the source size",
         3,
         3,
         {2, 0, 3, 3},
         7,
         {{2, 0, At(0, 0)}, {4, 2, At(2, 2)}, {5, 0, 0}}},
    };
    for (const DrawCase& c : cases)
    {
        RendererFrame frame(40, 40);
        frame.Start();
        EXPECT_EQ(frame.renderer->DrawBitmap(Sheet(c.sourceWidth, c.sourceHeight), c.destination, c.type),
                  kOk);
        frame.Finish();
        for (const auto& [x, y, expected] : c.pixels)
        {
            EXPECT_EQ(frame.Pixel(x, y), expected) << c.name << " at " << x << ", " << y;
        }
    }
}

TEST(GDIRendererBitmap, PatternTilingMatchesCopies)
{
    const auto tile = Sheet(10, 7)->CreateSubBitmap(0, 0, 0, 0);
    RendererFrame copies(30, 10), pattern(30, 10);
    copies.Start(), pattern.Start();
    copies.renderer->DrawBitmap(tile, {0, 0, 29, 10}, 1);
    pattern.renderer->DrawBitmap(tile, {0, 0, 30, 10}, 1);
    copies.Finish(), pattern.Finish();
    for (std::int32_t y = 0; y < 10; ++y)
    {
        for (std::int32_t x = 0; x < 29; ++x)
        {
            ASSERT_EQ(pattern.Pixel(x, y), copies.Pixel(x, y)) << x << ", " << y;
        }
    }
}

TEST(GDIRendererBitmap, CachesByBitmapAndSizeOnly)
{
    const auto sheet = Sheet(2, 2);
    RendererFrame frame(20, 10);
    frame.Start();
    frame.renderer->SaveState();
    frame.renderer->PushOffset({10, 0});
    frame.renderer->DrawBitmap(sheet, {0, 0, 4, 4}, 0);
    frame.renderer->RestoreState();
    frame.renderer->RestoreState();
    frame.renderer->DrawBitmap(sheet, {0, 0, 4, 4}, 1);
    frame.Finish();
    for (std::int32_t x : {0, 10})
    {
        EXPECT_EQ(frame.Pixel(x + 1, 1), At(0, 0)) << x;
        EXPECT_EQ(frame.Pixel(x + 2, 3), At(1, 1)) << x;
    }

    RendererFrame full(20, 10);
    auto& cache = full.renderer->GetBitmapCache();
    auto entryOf = [&](std::int32_t width) { return cache.FindEntry({sheet, width, 1}); };
    full.Start();
    for (std::int32_t width = 1; width <= 256; ++width)
    {
        full.renderer->DrawBitmap(sheet, {0, 0, width, 1}, 0);
    }
    full.renderer->DrawBitmap(sheet, {0, 0, 1, 1}, 0);
    full.renderer->DrawBitmap(sheet, {0, 0, 300, 1}, 0);
    full.Finish();
    EXPECT_GE(entryOf(1), 0);
    EXPECT_EQ(entryOf(2), -1);
    EXPECT_GE(entryOf(300), 0);
}

TEST(GDIRendererBitmap, ACutAtItsOwnSizeComesFromTheSheetUncached)
{
    // Half transparent in the corner, so that a second premultiplication would show.
    const auto sheet = LBitmap::CreateFilledBitmap(4, 4, Argb(kBlue));
    sheet->GetNativeImage()->GetPixels()[5] = 0x8000FF00u;
    sheet->GetNativeImage()->MarkChanged();
    const auto cut = sheet->CreateSubBitmap(1, 1, 2, 2);
    const BitmapColorizer red{0, Argb(kRed), ColorF()};
    RendererFrame frame(10, 10);
    auto& cache = frame.renderer->GetBitmapCache();
    frame.Start();
    frame.renderer->DrawBitmap(cut, {3, 3, 2, 2}, 0);
    LBitmap::ApplyColorizer(cut, &red, 1.0f);
    frame.renderer->DrawBitmap(cut, {6, 6, 2, 2}, 0);
    frame.Finish();
    EXPECT_EQ(cache.FindEntry({cut, 2, 2}), -1);
    EXPECT_EQ(frame.Pixel(3, 3), 0x8000FF00u);
    EXPECT_EQ(frame.Pixel(4, 4), kBlue);
    EXPECT_EQ(frame.Pixel(7, 7), kRed);
    EXPECT_EQ(frame.Pixel(5, 5), 0u);
}

TEST(GDIRendererBitmap, ASheetOnceDrawnStillGivesItsStraightPixelsAndDrawsWhatIsWrittenNext)
{
    // Drawing keeps a sheet's pixels premultiplied; these are the ones that lose their
    // straight value there (a colour under alpha 0, colours rounded under partial alpha),
    // beside ones that keep it.
    const std::uint32_t straight[] = {0x00FF8000u, 0x01808080u, 0x7F010203u, 0x40112233u,
                                      0x80FF8040u, 0xFF102030u, 0x00000000u, 0xFE0A0B0Cu};
    const ConstRCPtr<LBitmap> sheet(new LBitmap(4, 2));
    {
        const RCPtr<LBitmapData> data = sheet->LockPixels();
        std::copy(std::begin(straight), std::end(straight), data->GetPixelAddress(0, 0));
    }
    sheet->GetNativeImage()->MarkChanged();
    RendererFrame frame(10, 10);
    frame.Start();
    frame.renderer->DrawBitmap(sheet, {0, 0, 4, 2}, 0);
    frame.Finish();
    EXPECT_EQ(frame.Pixel(3, 1), 0xFE0A0B0Cu);
    ASSERT_NE(sheet->GetNativeImage()->GetDrawingCopy(), nullptr);

    // Read by value, by a copy and through the pixels' memory, after the draw.
    const ConstRCPtr<LBitmap> copy = sheet->Clone();
    for (std::int32_t i = 0; i < 8; ++i)
    {
        EXPECT_EQ(sheet->GetColorAtPoint(i % 4, i / 4).GetARGB(), straight[i]) << i;
        EXPECT_EQ(copy->GetNativeImage()->GetPixel(i % 4, i / 4), straight[i]) << i;
    }
    ASSERT_NE(sheet->GetNativeImage()->GetDrawingCopy(), nullptr) << "reading by value keeps it";
    const RCPtr<LBitmapData> data = sheet->LockPixels();
    for (std::int32_t i = 0; i < 8; ++i)
    {
        EXPECT_EQ(*data->GetPixelAddress(i % 4, i / 4), straight[i]) << i;
    }

    // Written through that memory, the next draw shows it.
    *data->GetPixelAddress(3, 1) = 0xFF00FF00u;
    sheet->GetNativeImage()->MarkChanged();
    frame.Start();
    frame.renderer->DrawBitmap(sheet, {0, 0, 4, 2}, 0);
    frame.Finish();
    EXPECT_EQ(frame.Pixel(3, 1), 0xFF00FF00u);
    EXPECT_EQ(sheet->GetColorAtPoint(0, 0).GetARGB(), straight[0]);
}

TEST(GDIRendererBitmap, InPlaceTintReachesTheNextPicture)
{
    const auto bitmap = LBitmap::CreateFilledBitmap(2, 2, Argb(kRed));
    const BitmapColorizer blue{0, Argb(kBlue), ColorF()};
    RendererFrame frame(10, 10);
    frame.Start();
    frame.renderer->DrawBitmap(bitmap, {0, 0, 2, 2}, 0);
    LBitmap::ApplyColorizer(bitmap, &blue, 1.0f);
    frame.renderer->DrawBitmap(bitmap, {4, 0, 4, 4}, 0);
    frame.Finish();
    EXPECT_EQ(frame.Pixel(1, 1), kRed);
    EXPECT_EQ(frame.Pixel(7, 3), kBlue);
}

TEST(GDIRendererBitmap, RefusalsThrowTheirTexts)
{
    RendererFrame frame(10, 10);
    const auto sheet = Sheet(3, 3);
    const std::string site = "KR::LGDIRenderer::DrawBitmap : Renderer\\Gdi\\GDIRenderer : Line ";
    EXPECT_THAT(
        [&] {
            frame.renderer->DrawBitmap(sheet, {0, 0, 3, 3}, 0);
        },
        testing::ThrowsMessage<std::runtime_error>(testing::StrEq("Runtime Error : " + site + "562")));
    frame.Start();
    EXPECT_THAT(
        [&] {
            frame.renderer->DrawBitmap(sheet, {0, 0, 4, 3}, 7);
        },
        testing::ThrowsMessage<std::invalid_argument>(
            testing::StrEq("Invalid Argument : Invalid ResizeType passed to DrawBitmap. : " + site + "553")));
    frame.Finish();
}

} // namespace
} // namespace KR::Test
