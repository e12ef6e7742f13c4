#include "kr/core/RCPtr.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdint>

namespace
{

class Widget : public virtual KR::LRefCountedObject
{
};

class Button : public Widget
{
};

// What two locked instructions cost on this machine, for comparison with the pair below.
void BM_AtomicIncrementDecrementBaseline(benchmark::State& state)
{
    std::atomic<std::int32_t> count{1};
    for (auto _ : state)
    {
        count.fetch_add(1, std::memory_order_relaxed);
        benchmark::DoNotOptimize(count.fetch_sub(1, std::memory_order_acq_rel));
    }
}
BENCHMARK(BM_AtomicIncrementDecrementBaseline);

void BM_AddRefReleasePair(benchmark::State& state)
{
    KR::RCPtr<Widget> owner(new Widget);
    KR::LRefCountedObject* object = owner.Get();
    for (auto _ : state)
    {
        object->AddRef();
        benchmark::DoNotOptimize(object->Release());
    }
}
BENCHMARK(BM_AddRefReleasePair);
BENCHMARK(BM_AddRefReleasePair)->Threads(4);

void BM_PointerCopy(benchmark::State& state)
{
    static KR::RCPtr<Widget> shared(new Widget);
    for (auto _ : state)
    {
        KR::RCPtr<Widget> copy(shared);
        benchmark::DoNotOptimize(copy.Get());
    }
}
BENCHMARK(BM_PointerCopy);
BENCHMARK(BM_PointerCopy)->Threads(4);

void BM_PointerUpcastCopy(benchmark::State& state)
{
    KR::RCPtr<Button> button(new Button);
    for (auto _ : state)
    {
        KR::ConstRCPtr<KR::LRefCountedObject> copy(button);
        benchmark::DoNotOptimize(copy.Get());
    }
}
BENCHMARK(BM_PointerUpcastCopy);

void BM_PointerDowncastCopy(benchmark::State& state)
{
    KR::ConstRCPtr<KR::LRefCountedObject> untyped(new Button);
    for (auto _ : state)
    {
        KR::ConstRCPtr<Button> copy(untyped);
        benchmark::DoNotOptimize(copy.Get());
    }
}
BENCHMARK(BM_PointerDowncastCopy);

void BM_PointerAssign(benchmark::State& state)
{
    KR::RCPtr<Widget> a(new Widget);
    KR::RCPtr<Widget> b(new Widget);
    KR::RCPtr<Widget> target;
    bool flip = false;
    for (auto _ : state)
    {
        target = flip ? a : b;
        flip = !flip;
        benchmark::DoNotOptimize(target.Get());
    }
}
BENCHMARK(BM_PointerAssign);

void BM_CreateAndDestroy(benchmark::State& state)
{
    for (auto _ : state)
    {
        KR::RCPtr<Widget> fresh(new Widget);
        benchmark::DoNotOptimize(fresh.Get());
    }
}
BENCHMARK(BM_CreateAndDestroy);

} // namespace
