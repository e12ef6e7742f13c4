// Thread-pool job costs: submission to completion of one job on a free thread, and the
// throughput of a burst that goes through the priority queue.

#include "kr/core/RCPtr.h"
#include "kr/core/Types.h"
#include "kr/thread/Event.h"
#include "kr/thread/ThreadPool.h"

#include <benchmark/benchmark.h>

#include <atomic>

namespace
{

class SignallingWorker : public KR::LThreadWorker
{
public:
    KR::Result DoWork(KR::RCPtr<KR::LRefCountedObject>&) override
    {
        if (mRuns.fetch_add(1) + 1 == mSignalAt.load())
        {
            mDone.Set();
        }
        return KR::kOk;
    }

    std::atomic<int> mRuns{0};
    std::atomic<int> mSignalAt{1};
    KR::Event mDone{true};
};

// Execute on a one-thread pool whose thread is free, until the job has run: the path
// of every captured MIDI message.
void BM_PoolJobLatency(benchmark::State& state)
{
    auto pool = KR::LThreadPool::Create(1, KR::kThreadPriorityHighest);
    KR::RCPtr<SignallingWorker> worker(new SignallingWorker);
    for (auto _ : state)
    {
        worker->mRuns = 0;
        pool->Execute(worker, nullptr, KR::kThreadPriorityNormal);
        worker->mDone.Wait(KR::kInfinite);
        // The thread signals from inside the job; let it finish so the next job
        // meets a free thread.
        while (!pool->GetThreader(0).IsAvailable())
        {
        }
    }
}
BENCHMARK(BM_PoolJobLatency)->UseRealTime();

// A burst submitted at once: all but the first job go through the queue and the
// queue threader.
void BM_PoolBurst(benchmark::State& state)
{
    const int jobs = static_cast<int>(state.range(0));
    auto pool = KR::LThreadPool::Create(1, KR::kThreadPriorityHighest);
    KR::RCPtr<SignallingWorker> worker(new SignallingWorker);
    worker->mSignalAt = jobs;
    for (auto _ : state)
    {
        worker->mRuns = 0;
        for (int i = 0; i < jobs; ++i)
        {
            pool->Execute(worker, nullptr, KR::kThreadPriorityNormal);
        }
        worker->mDone.Wait(KR::kInfinite);
    }
    state.SetItemsProcessed(state.iterations() * jobs);
}
BENCHMARK(BM_PoolBurst)->Arg(1000)->UseRealTime();

} // namespace
