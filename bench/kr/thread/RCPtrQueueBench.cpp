// The ring queue: its uncontended cost, and items per second from 1 and 4 producer
// threads into one consumer.

#include "kr/core/RCPtr.h"
#include "kr/thread/Mutex.h"
#include "kr/thread/RCPtrQueue.h"

#include <benchmark/benchmark.h>

#include <thread>
#include <vector>

namespace
{

class Payload : public virtual KR::LRefCountedObject
{
};

// One Enqueue and one Dequeue on a single thread, through the mutex.
void BM_QueueEnqueueDequeue(benchmark::State& state)
{
    KR::Mutex mutex;
    KR::RCPtrQueue<Payload, 256> queue(&mutex);
    KR::RCPtr<Payload> item(new Payload);
    for (auto _ : state)
    {
        queue.Enqueue(item);
        benchmark::DoNotOptimize(queue.Dequeue());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_QueueEnqueueDequeue);

// Producers each enqueue their share while this thread dequeues everything; one
// iteration moves kItems items. Each producer sends its own object, so the items'
// reference counts are not shared between producers.
void BM_QueueProducersToOneConsumer(benchmark::State& state)
{
    constexpr int kItems = 40000;
    const int producers = static_cast<int>(state.range(0));
    KR::Mutex mutex;
    KR::RCPtrQueue<Payload, 256> queue(&mutex);
    std::vector<KR::RCPtr<Payload>> items;
    for (int p = 0; p < producers; ++p)
    {
        items.emplace_back(new Payload);
    }
    for (auto _ : state)
    {
        std::vector<std::thread> threads;
        for (int p = 0; p < producers; ++p)
        {
            threads.emplace_back(
                [&, p]
                {
                    for (int i = 0; i < kItems / producers; ++i)
                    {
                        queue.Enqueue(items[p]);
                    }
                });
        }
        int received = 0;
        KR::RCPtr<Payload> out;
        while (received < kItems)
        {
            if (queue.TryDequeue(out))
            {
                ++received;
            }
        }
        for (std::thread& thread : threads)
        {
            thread.join();
        }
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_QueueProducersToOneConsumer)->Arg(1)->Arg(4)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
