#include "RendererFrame.h"

#include "platform/graphics/Present.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

namespace KR::Test
{
namespace
{

TEST(GDIRendererFrame, BackBuffersStartTransparentForAWholeDirtyViewportAndAreRemadeOnlyForANewSize)
{
    struct Case
    {
        const char* name;
        std::vector<EdgesI> dirty;
        RectI viewport;
        bool kept;
    };
    const Case cases[] = {
        {"one rectangle equal to the viewport", {{0, 0, 10, 10}}, {0, 0, 10, 10}, false},
        {"two rectangles covering the viewport", {{0, 0, 10, 5}, {0, 5, 10, 10}}, {0, 0, 10, 10}, true},
        {"a part", {{0, 0, 3, 3}}, {0, 0, 10, 10}, true},
        {"a new size", {}, {0, 0, 12, 10}, false},
        {"no width: one pixel", {}, {0, 0, 0, 10}, false},
    };
    for (const Case& c : cases)
    {
        for (const bool moved : {false, true})
        {
            RendererFrame frame(10, 10);
            frame.Start();
            frame.renderer->Translate({moved ? 5.0 : 0.0, moved ? 7.0 : 0.0});
            frame.renderer->FillRect({0, 0, 1, 1}, Argb(kRed), true);
            frame.Finish();
            for (const EdgesI& rect : c.dirty)
            {
                frame.context->dirtyRegion.AddRect(rect);
            }
            frame.context->viewport = c.viewport;
            frame.Start();
            frame.renderer->FillRect({1, 1, 1, 1}, Argb(kBlue), true);
            frame.Finish();
            // The origin kept from the last frame applies once, on kept and new surfaces.
            const int x = moved ? 5 : 0, y = moved ? 7 : 0;
            EXPECT_EQ(frame.Pixel(x, y), c.kept ? kRed : 0u) << c.name << (moved ? ", moved" : "");
            EXPECT_EQ(frame.Count(kBlue), c.viewport.width ? 1 : 0) << c.name << (moved ? ", moved" : "");
            EXPECT_EQ(frame.Pixel(x + 1, y + 1), c.viewport.width ? kBlue : 0u) << c.name;
            EXPECT_EQ(frame.Gdi().GetBackSurface()->GetSize(), (PointI{std::max(c.viewport.width, 1), 10}));
        }
    }
}

TEST(GDIRendererFrame, OffscreenImagesScrollAndCopyAndWindowContextsAreRefused)
{
    RendererFrame frame(20, 20), window(4, 4, false);
    RCPtr<LRenderContextInfo> image;
    frame.renderer->InitRenderContextInfo({0, 0, 20, 20}, nullptr, true, image);
    frame.Start();
    frame.renderer->RenderStart(image);
    frame.renderer->FillRect({0, 0, 20, 20}, Argb(kBlue), true);
    frame.renderer->FillRect({0, 0, 20, 1}, Argb(kRed), true);
    frame.renderer->Translate({3, 3});
    EXPECT_EQ(frame.renderer->ScrollImage(image, {0, 10}), kOk);
    frame.renderer->FillRect({0, 0, 1, 1}, Argb(0xFF00FF00), true); // the translation holds
    frame.renderer->RenderFinish(image);
    EXPECT_EQ(frame.renderer->DrawImage(window.context, {0, 0}, {0, 0, 4, 4}), kInvalidArg);
    EXPECT_EQ(frame.renderer->ScrollImage(window.context, {0, 1}), kInvalidArg);
    EXPECT_EQ(frame.renderer->DrawImage(nullptr, {0, 0}, {0, 0, 4, 4}), kInvalidArg);
    EXPECT_EQ(frame.renderer->DrawImage(image, {0, 0}, {0, 0, 20, 20}), kOk);
    EXPECT_THROW(frame.renderer->RenderFinish(image), std::runtime_error) << "not the current context";
    EXPECT_EQ(frame.renderer->GetCurrentGDIContext().Get(), &frame.Gdi());
    frame.Finish();
    EXPECT_EQ(frame.Count(0u), 20 * 10 - 1) << "rows 0-9 transparent";
    EXPECT_EQ(frame.Pixel(3, 3), 0xFF00FF00u);
    EXPECT_EQ(frame.Pixel(7, 10), kRed);
    EXPECT_EQ(frame.Pixel(7, 11), kBlue);
}

TEST(GDIRendererFrame, OnlyDirtyRectanglesReachTheWindowOrAreAskedForAgain)
{
    int window = 0;
    RendererFrame frame(20, 20, false, {}, &window);
    Platform::Surface shown(20, 20);
    std::vector<Platform::PixelRect> asked;
    Platform::SetWindowRedrawRequest(&window, [&](const Platform::PixelRect& r) { asked.push_back(r); });
    frame.context->dirtyRegion.SetRect({10, 10, 12, 12});
    for (const bool drawing : {true, false})
    {
        std::optional<Platform::WindowDrawScope> draw;
        if (drawing)
        {
            draw.emplace(&window, shown);
        }
        frame.Start();
        frame.renderer->FillRect({0, 0, 20, 20}, Argb(kBlue), true);
        frame.Finish();
    }
    EXPECT_EQ(shown.GetPixel(11, 11), kBlue);
    EXPECT_EQ(shown.GetPixel(12, 12), 0u);
    EXPECT_EQ(asked, (std::vector<Platform::PixelRect>{{10, 10, 2, 2}}));
    Platform::SetWindowRedrawRequest(&window, nullptr);
}

TEST(GDIRendererFrame, TheBitmapCacheIsPurgedAtMostEveryFiveMinutes)
{
    // Start time, time of the next frame's end, whether that end purges.
    const std::uint32_t cases[][3] = {{1000, 301001, 1},
                                      {1000, 300999, 0},
                                      {1000, 301000, 0},
                                      {0xFFFFFFF0u, 299985, 1},
                                      {0xFFFFFFF0u, 299983, 0}};
    for (const auto& [start, later, purged] : cases)
    {
        std::uint32_t now = start;
        RendererFrame frame(4, 4, true, [&] { return now; });
        LGDIRenderer::BitmapCache& cache = frame.renderer->GetBitmapCache();
        const ConstRCPtr<LBitmap> bitmap = LBitmap::CreateFilledBitmap(2, 2, ColorF{});
        cache.GetEntry({bitmap, 1, 1}, false) = new LGDIRenderer::LCachedBitmap(Platform::Surface(1, 1));
        cache.GetEntry({bitmap, 2, 2}, false) = new LGDIRenderer::LCachedBitmap(Platform::Surface(1, 1));
        for (const std::uint32_t at : {later, later + 300001})
        {
            now = at;
            frame.Start();
            frame.Finish();
            EXPECT_EQ(frame.renderer->GetLastPurgeTime(), at != later || purged ? at : start)
                << start << "+" << at;
        }
        // Only the second of two purges releases what was not drawn since the first.
        EXPECT_EQ(cache.GetEntryAt(0).IsEmpty(), purged != 0) << start << " to " << later;
        EXPECT_FALSE(cache.GetEntryAt(1).IsEmpty());
    }
}

} // namespace
} // namespace KR::Test
