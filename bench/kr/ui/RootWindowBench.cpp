// The root window over a tree the size of the editor's main window: hit tests, a full
// paint through a renderer that draws nothing, and a burst of small invalidations.

#include "kr/render/InertRenderer.h"
#include "kr/ui/RootWindow.h"
#include "support/FakeWindowServices.h"
#include "support/GeneratedControlTree.h"

#include <benchmark/benchmark.h>

namespace
{

struct Scene
{
    Scene()
    {
        window = KR::RCPtr<KR::LRootWindow>(new KR::LRootWindow(renderer, os.Get()));
        window->SetRootControl(
            KR::TestSupport::MakeGeneratedControlTree(KR::RCPtr<KR::IRootWindowServices>()));
    }
    ~Scene() { window->ReleaseInternalReferences(); }

    KR::RCPtr<KR::TestSupport::LFakeWindowServices> os{new KR::TestSupport::LFakeWindowServices};
    KR::RCPtr<KR::LRenderer> renderer{new KR::LInertRenderer(1)};
    KR::RCPtr<KR::LRootWindow> window;
};

void BM_HitTestThousandPoints(benchmark::State& state)
{
    Scene scene;
    for (auto _ : state)
    {
        for (std::int32_t i = 0; i < 1000; ++i)
        {
            KR::PointI local{};
            benchmark::DoNotOptimize(
                scene.window->HitTest(KR::PointI{(i * 37) % 1024, (i * 53) % 768}, local, false));
        }
    }
}
BENCHMARK(BM_HitTestThousandPoints);

void BM_FullWindowPaint(benchmark::State& state)
{
    Scene scene;
    KR::RCPtr<KR::LRenderContextInfo> context;
    scene.renderer->InitRenderContextInfo(KR::RectI{0, 0, 1024, 768}, nullptr, false, context);
    KR::LRegion region;
    region.AddRect(KR::EdgesI{0, 0, 1024, 768});
    for (auto _ : state)
    {
        scene.renderer->RenderStart(context);
        scene.window->Paint(region);
        scene.renderer->RenderFinish(context);
    }
}
BENCHMARK(BM_FullWindowPaint);

void BM_HundredSmallInvalidations(benchmark::State& state)
{
    Scene scene;
    KR::LRegion taken;
    for (auto _ : state)
    {
        for (std::int32_t i = 0; i < 100; ++i)
        {
            scene.window->InvalidateRect(KR::RectD{(i * 97) % 1000 + 0.5, (i * 61) % 740 + 0.5, 12.0, 9.0});
        }
        scene.window->TakeInvalidRegion(taken);
        scene.os->invalidated.clear();
    }
}
BENCHMARK(BM_HundredSmallInvalidations);

} // namespace
