// Event signal and wake costs: the uncontended path and a wake of another thread.

#include "kr/core/Types.h"
#include "kr/thread/Event.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <thread>

namespace
{

// Set then take the signal on one thread: the cost of the event itself.
void BM_EventSetThenWait(benchmark::State& state)
{
    KR::Event event(true);
    for (auto _ : state)
    {
        event.Set();
        benchmark::DoNotOptimize(event.Wait(KR::kInfinite));
    }
}
BENCHMARK(BM_EventSetThenWait);

// One thread sets, a second one blocked on the event wakes and answers on another
// event: one iteration is two signal-to-wake hand-overs.
void BM_EventPingPong(benchmark::State& state)
{
    KR::Event ping(true);
    KR::Event pong(true);
    std::atomic<bool> stop{false};
    std::thread partner(
        [&]
        {
            while (ping.Wait(KR::kInfinite) == KR::kWaitObject0 && !stop)
            {
                pong.Set();
            }
        });
    for (auto _ : state)
    {
        ping.Set();
        pong.Wait(KR::kInfinite);
    }
    stop = true;
    ping.Set();
    partner.join();
}
BENCHMARK(BM_EventPingPong)->UseRealTime();

} // namespace
