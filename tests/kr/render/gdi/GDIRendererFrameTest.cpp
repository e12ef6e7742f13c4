#include "RendererFrame.h"

#include "kr/render/RendererFactory.h"
#include "kr/render/gdi/StandardRenderers.h"
#include "platform/graphics/Present.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace KR::Test
{
namespace
{

TEST(GDIRendererFrame, BackBuffersAreRemadeOnlyForAWholeDirtyViewportOrANewSize)
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
        {"no dirty area", {}, {0, 0, 10, 10}, true},
        {"a new size", {}, {0, 0, 12, 10}, false},
    };
    for (const Case& c : cases)
    {
        RendererFrame frame(10, 10);
        frame.Start();
        frame.renderer->FillRect({0, 0, 1, 1}, Argb(kRed), true);
        frame.Finish();
        for (const EdgesI& rect : c.dirty)
        {
            frame.context->dirtyRegion.AddRect(rect);
        }
        frame.context->viewport = c.viewport;
        frame.Start();
        frame.Finish();
        EXPECT_EQ(frame.Pixel(0, 0), c.kept ? kRed : 0u) << c.name;
    }
}

TEST(GDIRendererFrame, AViewportOfNoWidthGivesOnePixelSurfaces)
{
    RendererFrame frame(0, 7);
    EXPECT_EQ(frame.Gdi().GetFrontSurface()->GetSize(), (PointI{1, 7}));
    frame.Start();
    frame.Finish();
    EXPECT_EQ(frame.Gdi().GetBackSurface()->GetSize(), (PointI{1, 7}));
}

TEST(GDIRendererFrame, AnOffsetKeptFromTheLastFrameIsAppliedOnce)
{
    for (const bool kept : {true, false})
    {
        RendererFrame frame(30, 30);
        frame.Start();
        frame.renderer->Translate({5, 7});
        frame.Finish();
        if (!kept)
        {
            frame.context->dirtyRegion.AddRect({0, 0, 30, 30});
        }
        frame.Start();
        frame.renderer->FillRect({0, 0, 1, 1}, Argb(kBlue), true);
        frame.Finish();
        EXPECT_EQ(frame.Pixel(5, 7), kBlue) << (kept ? "kept surfaces" : "new surfaces");
        EXPECT_EQ(frame.Count(kBlue), 1) << (kept ? "kept surfaces" : "new surfaces");
    }
}

TEST(GDIRendererFrame, ScrollImageMovesTheImageAndLeavesTheUncoveredPartTransparent)
{
    RendererFrame frame(20, 20);
    frame.Start();
    frame.renderer->FillRect({0, 0, 20, 20}, Argb(kBlue), true);
    frame.renderer->FillRect({0, 0, 20, 1}, Argb(kRed), true);
    frame.renderer->Translate({3, 3});
    EXPECT_EQ(frame.renderer->ScrollImage(frame.context, {0, 10}), kOk);
    frame.renderer->FillRect({0, 0, 1, 1}, Argb(0xFF00FF00), true);
    frame.Finish();
    EXPECT_EQ(frame.Count(0u), 20 * 10 - 1);
    EXPECT_EQ(frame.Pixel(7, 10), kRed);
    EXPECT_EQ(frame.Pixel(7, 11), kBlue);
    EXPECT_EQ(frame.Pixel(3, 3), 0xFF00FF00u) << "the context's translation holds after the exchange";
}

TEST(GDIRendererFrame, DrawImageTakesOffscreenContextsOnly)
{
    RendererFrame target(10, 10, false);
    RendererFrame window(4, 4, false);
    RCPtr<LRenderContextInfo> image;
    target.renderer->InitRenderContextInfo({0, 0, 4, 4}, nullptr, true, image);
    target.Start();
    target.renderer->RenderStart(image);
    target.renderer->FillRect({1, 1, 2, 2}, Argb(kRed), true);
    target.renderer->RenderFinish(image);
    EXPECT_EQ(target.renderer->DrawImage(window.context, {0, 0}, {0, 0, 4, 4}), kInvalidArg);
    EXPECT_EQ(target.renderer->ScrollImage(window.context, {0, 1}), kInvalidArg);
    EXPECT_EQ(target.renderer->DrawImage(nullptr, {0, 0}, {0, 0, 4, 4}), kInvalidArg);
    EXPECT_EQ(target.renderer->DrawImage(image, {5, 5}, {1, 1, 1, 2}), kOk);
    target.Finish();
    EXPECT_EQ(target.Pixel(5, 5), kRed);
    EXPECT_EQ(target.Pixel(5, 6), kRed);
    EXPECT_EQ(target.Count(kRed), 2);
}

TEST(GDIRendererFrame, PresentCopiesOnlyTheDirtyRectanglesIntoTheWindow)
{
    int window = 0;
    RendererFrame frame(20, 20, false, {}, &window);
    Platform::Surface shown(20, 20);
    std::vector<Platform::PixelRect> asked;
    Platform::SetWindowRedrawRequest(&window, [&](const Platform::PixelRect& r) { asked.push_back(r); });
    {
        Platform::WindowDrawScope draw(&window, shown);
        frame.context->dirtyRegion.AddRect({0, 0, 20, 20});
        frame.Start();
        frame.renderer->FillRect({2, 2, 5, 5}, Argb(kRed), true);
        frame.Finish();
        frame.context->dirtyRegion.SetRect({10, 10, 12, 12});
        frame.Start();
        frame.renderer->FillRect({0, 0, 20, 20}, Argb(kBlue), true);
        frame.Finish();
    }
    EXPECT_EQ(shown.GetPixel(2, 2), kRed);
    EXPECT_EQ(shown.GetPixel(11, 11), kBlue);
    EXPECT_EQ(shown.GetPixel(12, 12), 0u);
    EXPECT_EQ(shown.GetPixel(0, 0), 0u);
    EXPECT_TRUE(asked.empty());

    frame.Start();
    frame.Finish();
    EXPECT_EQ(asked, (std::vector<Platform::PixelRect>{{10, 10, 2, 2}})) << "outside a draw: asked again";
    Platform::SetWindowRedrawRequest(&window, nullptr);
}

TEST(GDIRendererFrame, TheBitmapCacheIsPurgedAtMostEveryFiveMinutes)
{
    struct Case
    {
        const char* name;
        std::uint32_t start;
        std::uint32_t later;
        bool purged;
    };
    const Case cases[] = {
        {"just past", 1000, 1000 + 300001, true},
        {"not yet", 1000, 1000 + 299999, false},
        {"exactly five minutes", 1000, 1000 + 300000, false},
        {"across the wrap", 0xFFFFFFF0u, 0xFFFFFFF0u + 300001u, true},
        {"across the wrap, not yet", 0xFFFFFFF0u, 0xFFFFFFF0u + 299999u, false},
    };
    for (const Case& c : cases)
    {
        std::uint32_t now = c.start;
        RendererFrame frame(4, 4, true, [&] { return now; });
        LGDIRenderer::BitmapCache& cache = frame.renderer->GetBitmapCache();
        const RCPtr<LBitmap> bitmap(new LBitmap(2, 2));
        cache.GetEntry({bitmap, 1, 1}, false) = new LGDIRenderer::LCachedBitmap(Platform::Surface(1, 1));
        cache.GetEntry({bitmap, 2, 2}, false) = new LGDIRenderer::LCachedBitmap(Platform::Surface(1, 1));
        now = c.later;
        frame.Start();
        frame.Finish();
        EXPECT_EQ(frame.renderer->GetLastPurgeTime(), c.purged ? c.later : c.start) << c.name;
        // A purge for every case now: the second one for those that purged above, and only
        // a second purge releases what was not drawn since the first.
        now = c.later + 300001;
        frame.Start();
        frame.Finish();
        EXPECT_EQ(cache.GetEntryAt(0).IsEmpty(), c.purged) << c.name;
        EXPECT_FALSE(cache.GetEntryAt(1).IsEmpty()) << c.name << ": the newest lookup survives";
    }
}

TEST(GDIRendererFrame, CreateMakesTheStandardKinds)
{
    InstallStandardRenderers();
    EXPECT_EQ(LRenderer::Create(1, {}, nullptr)->GetKind(), 1);
    EXPECT_NE(dynamic_cast<LGDIRenderer*>(LRenderer::Create(1, {}, nullptr).Get()), nullptr);
    EXPECT_EQ(LRenderer::Create(2, {}, nullptr)->GetKind(), 2);
    try
    {
        LRenderer::Create(3, {}, nullptr);
        ADD_FAILURE() << "kind 3 made a renderer";
    }
    catch (const std::domain_error& e)
    {
        EXPECT_EQ(std::string(e.what()),
                  "Domain Error : KR::LRenderer::Create : Renderer\\Renderer : Line 114");
    }
    SetRendererFactory({});
}

} // namespace
} // namespace KR::Test
