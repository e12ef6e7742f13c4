// Text of the GL renderer: 300 nine-point labels from warm glyph atlases against the 2D
// renderer drawing the same labels, the FreeType layout of one label, and a scan of the
// machine's font files into the registry.

#include "kr/render/Font.h"
#include "kr/render/gdi/GDIRenderer.h"
#include "kr/render/gl/FontFileInfo.h"
#include "kr/render/gl/FreetypeFontRenderer.h"
#include "kr/render/gl/GLGlyphRenderer.h"
#include "kr/render/gl/GLRenderer.h"
#include "platform/gl/GLFunctions.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace
{

std::shared_ptr<KR::Platform::IGLPlatform> Egl()
{
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    setenv("EGL_PLATFORM", "surfaceless", 1);
    static std::shared_ptr<KR::Platform::IGLPlatform> platform = KR::Platform::MakeEglPlatform();
    return platform;
}

KR::RCPtr<KR::LFontRenderer> MakeFontRenderer()
{
    const KR::RCPtr<KR::LGlyphProcessor> glyphs(KR::LGLGlyphRenderer::Create());
    return KR::RCPtr<KR::LFontRenderer>(new KR::LFreetypeFontRenderer(glyphs, glyphs));
}

// 300 labels "Fader 12" in a 1200 x 750 offscreen image: 0 the 2D renderer, 1 the GL
// renderer on llvmpipe (glFinish per frame).
void BM_Labels(benchmark::State& state)
{
    const bool gl = state.range(0) != 0;
    KR::RCPtr<KR::LRenderer> renderer;
    KR::RCPtr<KR::LGLRenderer> glRenderer;
    if (gl)
    {
        if (!Egl())
        {
            state.SkipWithError("no EGL display");
            return;
        }
        glRenderer = KR::RCPtr<KR::LGLRenderer>(new KR::LGLRenderer(nullptr, Egl()));
        glRenderer->SetFontRenderer(MakeFontRenderer());
        renderer = KR::RCPtr<KR::LRenderer>(glRenderer);
    }
    else
    {
        renderer = KR::RCPtr<KR::LRenderer>(new KR::LGDIRenderer);
    }
    KR::RCPtr<KR::LRenderContextInfo> context;
    renderer->InitRenderContextInfo({0, 0, 1200, 750}, nullptr, true, context);
    const KR::RCPtr<KR::LFont> font = KR::LFont::GetFont(KR::String(u"DejaVu Sans"), 9.0f, 0);
    const KR::String label(u"Fader 12");
    const KR::ColorF color = KR::ColorF::FromARGB(0xFFE0E0E0);
    for (auto _ : state)
    {
        renderer->RenderStart(context);
        for (int i = 0; i < 300; ++i)
        {
            renderer->DrawText(label, font, {(i % 20) * 60 + 4, (i / 20) * 50 + 32}, color);
        }
        if (gl)
        {
            KR::Platform::GetGL().glFinish();
        }
        renderer->RenderFinish(context);
    }
}
BENCHMARK(BM_Labels)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One label laid out for measuring, glyphs already cached.
void BM_ProcessText(benchmark::State& state)
{
    const KR::RCPtr<KR::LFontRenderer> fonts = MakeFontRenderer();
    const KR::RCPtr<KR::LFont> font = KR::LFont::GetFont(KR::String(u"DejaVu Sans"), 9.0f, 0);
    const KR::String label(u"Fader 12");
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(fonts->ProcessText(label, font, fonts->GetSecondProcessor(), 0, 0.0f,
                                                    KR::LFontRenderer::kMeasureFlags));
    }
}
BENCHMARK(BM_ProcessText);

void BM_RegistryScan(benchmark::State& state)
{
    for (auto _ : state)
    {
        KR::LFontFileInfo::ScanFontFolder();
    }
    state.counters["records"] = static_cast<double>(KR::LFontFileInfo::GetRecords().size());
    KR::LFontFileInfo::Clear();
}
BENCHMARK(BM_RegistryScan)->Unit(benchmark::kMillisecond);

} // namespace
