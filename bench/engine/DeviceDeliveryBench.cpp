// The bridge's hot path: a list of parameter values that the device-control library
// delivers on its thread, read from its record, queued, and handed to the receiver
// on the bridge's worker thread. Measured for a whole preset (131 values).

#include "engine/DeviceCommunicationThreadWorker.h"
#include "engine/DeviceDeliveryQueue.h"
#include "kr/core/Types.h"
#include "kr/thread/Event.h"
#include "kr/thread/EventGatedThreader.h"
#include "kr/thread/Thread.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <memory>
#include <vector>

namespace
{

constexpr std::uint32_t kPresetParams = 131;
// A preset's 131 value blocks take 1338 bytes.
constexpr std::uint32_t kBlockBytes = 10;

// The record of a preset's worth of values, as the library hands it over.
std::vector<std::uint8_t> PresetRecord()
{
    std::vector<KR::ParamValue> values(kPresetParams);
    const std::vector<std::uint8_t> block(kBlockBytes, 0x11);
    for (std::uint32_t i = 0; i < kPresetParams; ++i)
    {
        values[i].descriptor.id = static_cast<std::int32_t>(i);
        values[i].value.SetBlob(block.data(), kBlockBytes);
    }
    KR::ParamValues list;
    list.SetValues(values.data(), kPresetParams);
    std::vector<std::uint8_t> record(static_cast<std::size_t>(KR::Variant::GetRecordLength(list)));
    KR::Variant::Serialize(list, record.data(), static_cast<std::uint32_t>(record.size()));
    return record;
}

// Counts the values it receives and wakes the benchmark after every `batch` lists.
class CountingReceiver final : public DeviceCommunicationReceiver
{
public:
    explicit CountingReceiver(std::uint32_t batch) : mBatch(batch) {}

    void ReceiveParamValues(const KR::ParamValues& values) override
    {
        mValues += values.GetArraySize();
        if (++mLists % mBatch == 0)
        {
            mDone.Set();
        }
    }
    std::int32_t ReceiveReserved(std::int32_t, std::int32_t) override { return 0; }

    void WaitForBatch() { mDone.Wait(KR::kInfinite); }
    std::uint64_t Values() const { return mValues.load(); }

private:
    const std::uint32_t mBatch;
    std::atomic<std::uint64_t> mLists{0};
    std::atomic<std::uint64_t> mValues{0};
    KR::Event mDone{true};
};

// The bridge's delivery road on its own: queue, worker and event-gated thread.
struct DeliveryRoad
{
    explicit DeliveryRoad(DeviceCommunicationReceiver& receiver)
        : deliveries(std::make_shared<DeviceDeliveryQueue>()),
          threader(KR::LEventGatedThreader::Create(
              deliveries->GetWakeEvent(), LDeviceCommunicationThreadWorker::Create(deliveries),
              KR::RCPtr<KR::LRefCountedObject>(), KR::kThreadPriorityNormal))
    {
        deliveries->SetReceiver(&receiver);
        deliveries->EnableReceiving(true);
    }
    ~DeliveryRoad()
    {
        deliveries->EnableReceiving(false);
        deliveries->SetReceiver(nullptr);
    }

    // What the library's thread does with one delivery.
    void Deliver(const std::vector<std::uint8_t>& record)
    {
        KR::ParamValues values;
        KR::Variant::Deserialize(values, record.data(), static_cast<std::uint32_t>(record.size()));
        DeviceDeliveryQueue::Deliver(deliveries.get(), 0, values);
    }

    std::shared_ptr<DeviceDeliveryQueue> deliveries;
    KR::RCPtr<KR::LEventGatedThreader> threader;
};

// One preset list from the library's side until the receiver has it: the latency of
// a single delivery, thread hand-over included.
void DeliverPresetAndWaitForTheReceiver(benchmark::State& state)
{
    const std::vector<std::uint8_t> record = PresetRecord();
    CountingReceiver receiver(1);
    DeliveryRoad road(receiver);
    for (auto _ : state)
    {
        road.Deliver(record);
        receiver.WaitForBatch();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(receiver.Values()));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(record.size()));
}
BENCHMARK(DeliverPresetAndWaitForTheReceiver)->UseRealTime();

// A burst of preset lists queued back to back while the worker drains them: the
// library's thread never waits, so this is the throughput of the road.
void DeliverPresetBursts(benchmark::State& state)
{
    const auto burst = static_cast<std::uint32_t>(state.range(0));
    const std::vector<std::uint8_t> record = PresetRecord();
    CountingReceiver receiver(burst);
    DeliveryRoad road(receiver);
    for (auto _ : state)
    {
        for (std::uint32_t i = 0; i < burst; ++i)
        {
            road.Deliver(record);
        }
        receiver.WaitForBatch();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(receiver.Values()));
    state.SetBytesProcessed(state.iterations() * burst * static_cast<std::int64_t>(record.size()));
}
BENCHMARK(DeliverPresetBursts)->Arg(100)->UseRealTime();

// One thread alone: reading the record, queueing it and taking it out again.
void ReadQueueAndTakeOnePreset(benchmark::State& state)
{
    const std::vector<std::uint8_t> record = PresetRecord();
    DeviceDeliveryQueue deliveries;
    for (auto _ : state)
    {
        KR::ParamValues values;
        KR::Variant::Deserialize(values, record.data(), static_cast<std::uint32_t>(record.size()));
        deliveries.Post(values);
        deliveries.Drain();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(record.size()));
}
BENCHMARK(ReadQueueAndTakeOnePreset);

} // namespace
