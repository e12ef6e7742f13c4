// The GL renderer on Mesa's software rasteriser: the 2D renderer's repaint scene without
// text or pictures, with every control's geometry drawn from warm display lists (1) or
// sent again each frame (0).

#include "kr/render/gl/GLRenderer.h"
#include "platform/gl/GLFunctions.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace
{

// 300 controls of 60 x 50 in a 1200 x 750 pbuffer: a fill, an outline, a 16-point curve,
// a filled 12-sided shape and a list of four coloured bars each.
void BM_Repaint(benchmark::State& state)
{
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    setenv("EGL_PLATFORM", "surfaceless", 1);
    std::shared_ptr<KR::Platform::IGLPlatform> platform = KR::Platform::MakeEglPlatform();
    if (!platform)
    {
        state.SkipWithError("no EGL display");
        return;
    }
    const bool cached = state.range(0) != 0;
    const KR::RCPtr<KR::LGLRenderer> renderer(new KR::LGLRenderer(nullptr, platform));
    KR::RCPtr<KR::LRenderContextInfo> context;
    renderer->InitRenderContextInfo({0, 0, 1200, 750}, nullptr, true, context);

    std::vector<KR::PolylineT<float>> curves(300);
    std::vector<KR::PolylineT<float>> shapes(300);
    std::vector<KR::ColorRectListT<float>> bars(300);
    for (int i = 0; i < 300; ++i)
    {
        for (int p = 0; p < 16; ++p)
        {
            curves[i].points.push_back({3.0f * p + 4.0f, 25.0f + 10.0f * std::sin(0.4f * (p + i))});
        }
        for (int p = 0; p < 12; ++p)
        {
            const float angle = 0.5235988f * p;
            shapes[i].points.push_back({45.0f + 8.0f * std::cos(angle), 15.0f + 8.0f * std::sin(angle)});
        }
        for (int b = 0; b < 4; ++b)
        {
            bars[i].rects.push_back({4.0f + 6.0f * b, 40.0f, 5.0f, 6.0f});
            bars[i].colors.push_back(0xFF20A040u + 0x100000u * static_cast<std::uint32_t>(b));
        }
    }
    const KR::ColorF back = KR::ColorF::FromARGB(0xFF202020);
    const KR::ColorF fill = KR::ColorF::FromARGB(0xFF303840);
    const KR::ColorF line = KR::ColorF::FromARGB(0xFF8090A0);
    for (auto _ : state)
    {
        renderer->RenderStart(context);
        renderer->SaveState();
        renderer->FillRect({0, 0, 1200, 750}, back, true);
        for (int i = 0; i < 300; ++i)
        {
            const KR::RectD bounds{(i % 20) * 60.0, (i / 20) * 50.0, 60.0, 50.0};
            renderer->PushClip(bounds, bounds, nullptr, true);
            renderer->FillRect({0, 0, 60, 50}, fill, true);
            renderer->DrawRect({0, 0, 59, 49}, line, 1.0f);
            renderer->DrawPolyline(curves[i], line, {0, 0}, {1, 1}, cached);
            renderer->FillPolygon(shapes[i], line, {0, 0}, {1, 1}, cached);
            renderer->FillColorRects(bars[i], {0, 0}, cached);
            renderer->RestoreState();
        }
        renderer->RestoreState();
        KR::Platform::GetGL().glFinish();
        renderer->RenderFinish(context);
    }
}
BENCHMARK(BM_Repaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
