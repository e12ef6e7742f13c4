// The model's two hot paths: a write from an edit panel or a received preset value
// (store, compare, announce), and reading the whole preset for a send or a save.

#include "device/DeviceCommunicationInterface.h"
#include "device/RootModule.h"

#include <benchmark/benchmark.h>

namespace
{

// A bridge that answers at once, so the figures are the model's own.
class SilentBridge final : public LDeviceCommunicationInterface
{
public:
    void SetReceiver(DeviceCommunicationReceiver*) override {}
    void EnableReceiving(bool) override {}
    std::int32_t ConnectDevice(const KR::Variant&) override { return 0; }
    std::int32_t DisconnectDevice() override { return 0; }
    std::int32_t RequestParamRanges(const KR::ParamRanges&) override { return 0; }
    std::int32_t RequestParamValues(const KR::ParamDescriptor&) override { return 0; }
    std::int32_t GetParamValue(const KR::ParamDescriptor&, KR::Variant&) override { return 0; }
    std::int32_t SetParamValue(const KR::ParamDescriptor&, const KR::Variant&) override { return 0; }
    bool PostConnectionStatus(std::int64_t) override { return true; }
    // Not on the model's paths.
    std::int32_t Init() override { return 0; }
    bool IsConnected() override { return true; }
    void Synchronize() override {}
    std::int32_t FindDevices(const KR::Array<KR::Guid>&, KR::Array<KR::Variant>&) override { return 0; }
    std::int32_t WaitForDeviceListChange(const KR::Array<KR::Guid>&, KR::Array<KR::Variant>&,
                                         std::uint32_t) override
    {
        return kListUnchanged;
    }
    void InterruptListWaits(bool) override {}
    std::int32_t QueryDeviceList(const KR::Array<KR::Guid>&, KR::Array<KR::Variant>&) override { return 0; }
    std::int32_t GetCurrentDevice(KR::Variant&) override { return 0; }
    std::int32_t GetDeviceInfo(const KR::Variant&, DeviceInfoRecord&) override { return 0; }
    std::int32_t RequestParamValuesForDescriptors(const KR::ParamDescriptors&) override { return 0; }
    std::int32_t GetParamRanges(const KR::Variant&, KR::ParamRanges&) override { return 0; }
    std::int32_t GetParamValues(const KR::ParamDescriptors&, KR::ParamValues&) override { return 0; }
    std::int32_t SetParamValues(const KR::ParamValues&) override { return 0; }
    std::int32_t GetReservedParamValue(KR::Variant&) override { return 0; }
    std::int32_t SetReservedParamValue(const KR::Variant&) override { return 0; }
    std::int32_t GetDeviceTableIndex(std::int32_t& index) override
    {
        index = 0;
        return 0;
    }
};

void CountChanges(void* context, KR::Array<KR::ParamValue>& changes)
{
    *static_cast<std::size_t*>(context) += changes.GetCount();
}

KR::RCPtr<LRootModule> MakeRoot(std::size_t* changes)
{
    KR::RCPtr<LRootModule> root = LRootModule::Create(false);
    root->Setup(&CountChanges, changes, LParamCache::Create(131), KR::RCPtr<SilentBridge>(new SilentBridge()),
                0);
    return root;
}

void SetRootParamValueWithCallback(benchmark::State& state)
{
    std::size_t changes = 0;
    const KR::RCPtr<LRootModule> root = MakeRoot(&changes);
    KR::Variant blocks[2];
    const std::uint8_t a[17] = {0, 4, 3, 7, 5, 1, 0x13, 1, 0, 0, 0, 0, 0, 0x7F, 0, 0, 0};
    const std::uint8_t b[17] = {0, 4, 3, 7, 5, 1, 0x13, 2, 0, 0, 0, 0, 0, 0x7F, 0, 0, 0};
    blocks[0].SetBlob(a, sizeof a);
    blocks[1].SetBlob(b, sizeof b);
    const KR::ParamDescriptor pushButton(40);
    std::size_t i = 0;
    for (auto _ : state)
    {
        // Alternating blocks, so every write is a change that reaches the callback.
        benchmark::DoNotOptimize(root->SetRootParamValue(pushButton, blocks[i++ & 1]));
    }
    if (changes != static_cast<std::size_t>(state.iterations()))
    {
        state.SkipWithError("a write was not announced");
    }
}
BENCHMARK(SetRootParamValueWithCallback);

void GetParamValueByIDForAll131(benchmark::State& state)
{
    std::size_t changes = 0;
    const KR::RCPtr<LRootModule> root = MakeRoot(&changes);
    KR::Variant value;
    for (auto _ : state)
    {
        std::uint32_t bytes = 0;
        for (std::int32_t id = 0; id < 131; ++id)
        {
            root->GetParamValueByID(KR::ParamDescriptor(id), value);
            bytes += value.GetSize();
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * 131);
}
BENCHMARK(GetParamValueByIDForAll131);

} // namespace
