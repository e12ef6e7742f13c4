// Recycling-pool allocate/free against the heap, for a small reference-counted class.

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/thread/ReuseAllocator.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace
{

struct Payload
{
    double x = 0;
    double y = 0;
    int modifiers = 0;
};

class HeapParam : public KR::LRefCountedObject
{
public:
    Payload data;
};

class PooledParam : public KR::LRefCountedObject, public KR::PooledObject<PooledParam, 4, false>
{
public:
    Payload data;
};

class LockedPooledParam : public KR::LRefCountedObject, public KR::PooledObject<LockedPooledParam, 1, true>
{
public:
    Payload data;
};

// Make one object, hold it in a smart pointer, let it go: the life of a notification
// parameter.
template <typename T>
void BM_CreateRelease(benchmark::State& state)
{
    for (auto _ : state)
    {
        KR::RCPtr<T> object(new T);
        benchmark::DoNotOptimize(object.Get());
    }
}
BENCHMARK(BM_CreateRelease<HeapParam>);
BENCHMARK(BM_CreateRelease<PooledParam>);
BENCHMARK(BM_CreateRelease<LockedPooledParam>);

// A burst of live objects, then all released: after the first round every block is
// reused.
template <typename T>
void BM_Burst(benchmark::State& state)
{
    std::vector<KR::RCPtr<T>> burst(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
    {
        for (auto& slot : burst)
        {
            slot = KR::RCPtr<T>(new T);
        }
        for (auto& slot : burst)
        {
            slot = nullptr;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Burst<HeapParam>)->Arg(256);
BENCHMARK(BM_Burst<PooledParam>)->Arg(256);

// The raw pool, without construction or reference counting.
void BM_PoolAllocateFree(benchmark::State& state)
{
    KR::ReuseAllocator<Payload, 4> pool(state.range(0) != 0);
    for (auto _ : state)
    {
        void* block = pool.Allocate(sizeof(Payload));
        benchmark::DoNotOptimize(block);
        pool.Free(block);
    }
}
BENCHMARK(BM_PoolAllocateFree)->ArgName("locked")->Arg(0)->Arg(1);

} // namespace
