// Regions and the clip stack sit on every repaint: invalidations pile rectangles into a
// region that is coalesced before the frame, and every control of the frame pushes and
// pops a clip.

#include "kr/render/InertRenderer.h"
#include "kr/render/Region.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace
{

std::vector<KR::EdgesI> OverlappingRects(int count)
{
    std::mt19937 random(42);
    std::uniform_int_distribution<int> position(0, 600);
    std::uniform_int_distribution<int> extent(10, 200);
    std::vector<KR::EdgesI> rects;
    for (int i = 0; i < count; ++i)
    {
        const int x = position(random);
        const int y = position(random);
        rects.push_back({x, y, x + extent(random), y + extent(random)});
    }
    return rects;
}

void BM_RegionAddOverlappingAndCoalesce(benchmark::State& state)
{
    const std::vector<KR::EdgesI> rects = OverlappingRects(static_cast<int>(state.range(0)));
    std::size_t nodes = 0;
    for (auto _ : state)
    {
        KR::LRegion region;
        for (const KR::EdgesI& r : rects)
        {
            region.AddRect(r);
        }
        nodes = region.GetRectCount();
        region.Coalesce();
        benchmark::DoNotOptimize(region.GetFirst());
        state.counters["coalesced"] = region.GetRectCount();
    }
    state.counters["nodes"] = static_cast<double>(nodes);
}
BENCHMARK(BM_RegionAddOverlappingAndCoalesce)->Arg(100);

void BM_ClipStackPushPop(benchmark::State& state)
{
    const int depth = static_cast<int>(state.range(0));
    KR::RCPtr<KR::LRenderer> renderer(new KR::LInertRenderer(KR::kRenderer2D));
    KR::RCPtr<KR::LRenderContextInfo> context;
    renderer->InitRenderContextInfo({0, 0, 1024, 768}, nullptr, false, context);
    renderer->RenderStart(context);
    for (auto _ : state)
    {
        for (int i = 0; i < depth; ++i)
        {
            renderer->PushClip({1.5, 2.5, 900.0 - i, 700.0 - i}, {0, 0, 1000, 1000}, nullptr, true);
        }
        for (int i = 0; i < depth; ++i)
        {
            renderer->RestoreState();
        }
    }
    renderer->RenderFinish(context);
}
BENCHMARK(BM_ClipStackPushPop)->Arg(20);

} // namespace
