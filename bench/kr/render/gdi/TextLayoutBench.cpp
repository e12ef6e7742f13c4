// The label layout every control with text runs: a 200-character label wrapped at 120
// pixels through the 2D renderer's measure, once laid out (the cached path that every
// frame takes) and laid out afresh after a size change.

#include "kr/render/FontText.h"
#include "kr/render/gdi/GDIRenderer.h"

#include <benchmark/benchmark.h>

namespace
{

class Measuring : public KR::IMeasurementRendererSource
{
public:
    Measuring() { KR::SetMeasurementRendererSource(this); }
    ~Measuring() override { KR::SetMeasurementRendererSource(nullptr); }
    KR::RCPtr<KR::LMeasurementRenderer> GetMeasurementRenderer() override { return renderer; }
    KR::RCPtr<KR::LGDIRenderer> renderer{new KR::LGDIRenderer};
};

KR::RCPtr<KR::LFontText> Label()
{
    const KR::String text(u"Assign the fader to a control change number, choose its channel and range, "
                          u"and set how the value moves when the fader is pulled down past its lower end "
                          u"or pushed up.");
    KR::RCPtr<KR::LFontText> label(new KR::LFontText(text, KR::LFont::GetFont(u"DejaVu Sans", 9.0f, 0)));
    label->SetWrap(true);
    label->SetAlignment(0.5f, 0.5f);
    label->SetBoxSize(120, 200);
    return label;
}

void BM_LineCountCached(benchmark::State& state)
{
    Measuring measuring;
    const KR::RCPtr<KR::LFontText> label = Label();
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(label->GetLineCount());
    }
}
BENCHMARK(BM_LineCountCached);

void BM_LineCountAfterSizeChange(benchmark::State& state)
{
    Measuring measuring;
    const KR::RCPtr<KR::LFontText> label = Label();
    std::int32_t width = 120;
    for (auto _ : state)
    {
        width = width == 120 ? 121 : 120;
        label->SetBoxSize(width, 200);
        benchmark::DoNotOptimize(label->GetLineCount());
    }
    state.counters["lines"] = label->GetLineCount();
}
BENCHMARK(BM_LineCountAfterSizeChange);

} // namespace
