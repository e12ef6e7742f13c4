// The costs every part of the program pays per message: a synchronous send, making a
// notification, and a post-and-drain round through a center's queue.

#include "kr/notify/NotificationCenter.h"
#include "kr/notify/NotificationClient.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace
{

using KR::LNotification;
using KR::RCPtr;

constexpr const char16_t* kBench = u"NID_BENCH";

class CountingClient : public KR::LNotificationClient
{
public:
    KR::Result Receive(const RCPtr<KR::LNotificationDistributor>&, const RCPtr<LNotification>&) override
    {
        ++count;
        return 1;
    }
    long count = 0;
};

class PoolingScope
{
public:
    explicit PoolingScope(bool enabled) { LNotification::SetPoolingEnabled(enabled); }
    ~PoolingScope() { LNotification::SetPoolingEnabled(false); }
};

// Arg: the number of registered clients.
void SendToClients(benchmark::State& state)
{
    RCPtr<KR::LNotificationDistributor> distributor(new KR::LNotificationDistributor);
    std::vector<RCPtr<CountingClient>> clients;
    for (int i = 0; i < state.range(0); ++i)
    {
        clients.emplace_back(new CountingClient);
        clients.back()->RegisterForNotification(distributor, kBench);
    }
    const RCPtr<LNotification> notification = LNotification::Create(kBench);
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(distributor->SendNotification(notification));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    for (const auto& client : clients)
    {
        client->UnregisterForAllNotifications();
    }
}
BENCHMARK(SendToClients)->Arg(1)->Arg(10);

// Arg: pooling off (0) or on (1).
void CreateAndRelease(benchmark::State& state)
{
    const PoolingScope pooling(state.range(0) != 0);
    const KR::NotificationID id = KR::GetNotificationID(kBench);
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(LNotification::Create(id).Get());
    }
}
BENCHMARK(CreateAndRelease)->Arg(0)->Arg(1);

// One notification made, posted and delivered to one client by a drain. Args: pooling
// off/on, notifications per drain.
void PostAndDrain(benchmark::State& state)
{
    const PoolingScope pooling(state.range(0) != 0);
    const long perDrain = state.range(1);
    RCPtr<KR::LNotificationCenter> center(new KR::LNotificationCenter(u"bench"));
    RCPtr<CountingClient> client(new CountingClient);
    client->RegisterForNotification(center, kBench);
    const KR::NotificationID id = KR::GetNotificationID(kBench);
    for (auto _ : state)
    {
        for (long i = 0; i < perDrain; ++i)
        {
            center->PostNotificationByName(id);
        }
        center->ProcessNotifications(false);
    }
    state.SetItemsProcessed(state.iterations() * perDrain);
    client->UnregisterForAllNotifications();
    center->Shutdown();
}
BENCHMARK(PostAndDrain)->Args({0, 1})->Args({1, 1})->Args({1, 100});

} // namespace
