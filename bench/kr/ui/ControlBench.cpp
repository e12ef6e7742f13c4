// The hot paths of the control core: reading children in drawing order right after the
// tree changed, re-evaluating the conditions of a large subtree, and the pooled parameter
// made for every pointer move.

#include "kr/ui/Control.h"

#include <benchmark/benchmark.h>

namespace
{

KR::RCPtr<KR::LControl> MakeControl(const KR::RCPtr<KR::LControl>& parent, const KR::String& name)
{
    KR::RCPtr<KR::LControl> control(new KR::LControl(parent, name));
    control->SetFrame(KR::PointD{}, KR::PointD{10, 10});
    control->InitializeConditions();
    return control;
}

// One insertion and one removal per iteration, then a walk over all 200 children in
// drawing order: the first read after each change sorts again.
void BM_DrawingOrderAfterInsertion(benchmark::State& state)
{
    const KR::RCPtr<KR::LControl> parent = MakeControl(nullptr, u"parent");
    for (int i = 0; i < 199; ++i)
    {
        const KR::RCPtr<KR::LControl> child = MakeControl(parent, KR::String::Format(u"c%d", i));
        KR::RCPtr<KR::LLayoutDescriptor> layout = KR::LLayoutDescriptor::Create();
        layout->zOrder = (i * 37) % 11;
        child->SetLayoutDescriptor(layout);
    }
    const KR::RCPtr<KR::LControl> extra = MakeControl(nullptr, u"extra");
    KR::LControl::ChildControlList& children = parent->GetChildren();
    for (auto _ : state)
    {
        children.Add(extra);
        for (std::uint32_t i = 0; i < children.GetCount(); ++i)
        {
            benchmark::DoNotOptimize(children.GetAt(i, KR::kDrawingOrder).Get());
        }
        state.PauseTiming();
        children.Remove(extra);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DrawingOrderAfterInsertion);

// A disabled root re-evaluates its 500 descendants (10 panels of 49 children), each of
// which changes its enabled bit.
void BM_UpdateConditionsOfDisabledSubtree(benchmark::State& state)
{
    const KR::RCPtr<KR::LControl> root = MakeControl(nullptr, u"root");
    for (int p = 0; p < 10; ++p)
    {
        const KR::RCPtr<KR::LControl> panel = MakeControl(root, KR::String::Format(u"p%d", p));
        for (int c = 0; c < 49; ++c)
        {
            MakeControl(panel, KR::String::Format(u"c%d", c));
        }
    }
    bool enabled = true;
    for (auto _ : state)
    {
        enabled = !enabled;
        root->SetEnabled(enabled);
    }
}
BENCHMARK(BM_UpdateConditionsOfDisabledSubtree);

void BM_PointParamFromPool(benchmark::State& state)
{
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(KR::LPointWithModifiersParam::Create(KR::PointI{1, 2}, 8).Get());
    }
}
BENCHMARK(BM_PointParamFromPool);

// The same object from the general heap: the base class has no pool of its own.
class HeapPointParam : public KR::LPointParam
{
public:
    HeapPointParam() : KR::LPointParam(KR::PointI{1, 2}) {}
    std::uint32_t modifiers = 8;
};

void BM_PointParamFromHeap(benchmark::State& state)
{
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(KR::RCPtr<HeapPointParam>(new HeapPointParam()).Get());
    }
}
BENCHMARK(BM_PointParamFromHeap);

} // namespace
