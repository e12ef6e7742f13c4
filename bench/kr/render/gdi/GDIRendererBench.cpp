// The 2D renderer's hot paths: a whole window repainted and presented, the text measure
// behind every label layout, and the cache lookups of paths and resized bitmaps.

#include "kr/render/Font.h"
#include "kr/render/gdi/GDIRenderer.h"
#include "platform/graphics/Present.h"

#include <benchmark/benchmark.h>

namespace
{

KR::ColorF Argb(std::uint32_t argb)
{
    KR::ColorF color;
    color.SetARGB(argb);
    return color;
}

// A 1200 x 750 window of 300 controls (20 x 15 of 60 x 50), each a fill, an outline, a
// 40 x 20 part copied from an offscreen image sheet and a 9-point label, repainted whole
// and presented into the window's draw.
void BM_FullRepaint(benchmark::State& state)
{
    const KR::RCPtr<KR::LGDIRenderer> renderer(new KR::LGDIRenderer);
    int window = 0;
    KR::RCPtr<KR::LRenderContextInfo> context;
    renderer->InitRenderContextInfo({0, 0, 1200, 750}, &window, false, context);
    KR::RCPtr<KR::LRenderContextInfo> sheet;
    renderer->InitRenderContextInfo({0, 0, 400, 40}, nullptr, true, sheet);
    renderer->RenderStart(sheet);
    renderer->FillRect({0, 0, 400, 40}, Argb(0xFF406080), true);
    renderer->FillRect({0, 0, 200, 20}, Argb(0x80FFFFFF), true);
    renderer->RenderFinish(sheet);
    const KR::RCPtr<KR::LFont> font = KR::LFont::GetFont(KR::String(u"DejaVu Sans"), 9.0f, 0);
    const KR::String label(u"Fader 12");
    KR::Platform::Surface shown(1200, 750);
    for (auto _ : state)
    {
        KR::Platform::WindowDrawScope draw(&window, shown);
        context->dirtyRegion.SetRect({0, 0, 1200, 750});
        renderer->RenderStart(context);
        renderer->SaveState();
        renderer->FillRect({0, 0, 1200, 750}, Argb(0xFF202020), true);
        for (int i = 0; i < 300; ++i)
        {
            const KR::RectD bounds{(i % 20) * 60.0, (i / 20) * 50.0, 60.0, 50.0};
            renderer->PushClip(bounds, bounds, nullptr, true);
            renderer->FillRect({0, 0, 60, 50}, Argb(0xFF303840), true);
            renderer->DrawRect({0, 0, 59, 49}, Argb(0xFF8090A0), 1.0f);
            renderer->DrawImage(sheet, {10, 5}, {(i % 10) * 40, 0, 40, 20});
            renderer->DrawText(label, font, {4, 32}, Argb(0xFFE0E0E0));
            renderer->RestoreState();
        }
        renderer->RestoreState();
        renderer->RenderFinish(context);
    }
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

void BM_MeasureText(benchmark::State& state)
{
    const KR::RCPtr<KR::LGDIRenderer> renderer(new KR::LGDIRenderer);
    const KR::RCPtr<KR::LFont> font = KR::LFont::GetFont(KR::String(u"DejaVu Sans"), 9.0f, 0);
    const KR::String text(u"Encoder 7 Bank 2");
    KR::RectT<float> box;
    for (auto _ : state)
    {
        renderer->MeasureText(box, text, font);
        benchmark::DoNotOptimize(box);
    }
}
BENCHMARK(BM_MeasureText);

void BM_PathCacheHit(benchmark::State& state)
{
    KR::LGDIRenderer::PathCache cache(256);
    std::vector<KR::PolylineT<float>> lines(200);
    for (auto& line : lines)
    {
        cache.GetEntry(line, false) = new KR::LGDIRenderer::LGraphicsPath;
    }
    std::size_t i = 0;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(cache.GetEntry(lines[i++ % lines.size()], false).Get());
    }
}
BENCHMARK(BM_PathCacheHit);

// Every lookup a new handle in a full cache: a replacement scan of 256 entries.
void BM_PathCacheMiss(benchmark::State& state)
{
    KR::LGDIRenderer::PathCache cache(256);
    std::vector<KR::PolylineT<float>> lines(512);
    std::size_t i = 0;
    for (auto _ : state)
    {
        KR::RCPtr<KR::LGDIRenderer::LGraphicsPath>& slot = cache.GetEntry(lines[i++ % lines.size()], false);
        if (!slot)
        {
            slot = new KR::LGDIRenderer::LGraphicsPath;
        }
    }
}
BENCHMARK(BM_PathCacheMiss);

void BM_BitmapCacheHit(benchmark::State& state)
{
    KR::LGDIRenderer::BitmapCache cache(256);
    const KR::RCPtr<KR::LBitmap> sheet(new KR::LBitmap(400, 400));
    std::vector<KR::LGDIRenderer::BitmapDescriptor> keys;
    for (int i = 0; i < 200; ++i)
    {
        keys.push_back({KR::RCPtr<KR::LBitmap>(new KR::LBitmap(sheet, {i, 0, 10, 10})), 20, 20});
        cache.GetEntry(keys.back(), false) = new KR::LGDIRenderer::LCachedBitmap(KR::Platform::Surface(1, 1));
    }
    std::size_t i = 0;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(cache.GetEntry(keys[i++ % keys.size()], false).Get());
    }
}
BENCHMARK(BM_BitmapCacheHit);

} // namespace
