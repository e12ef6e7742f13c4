#include "libs/devicecontrol/DeviceControlClientApi.h"

#include "libs/RunTimeLibrary.h"
#include "platform/midi/PortList.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace
{

void DeviceListWithLongLivedProbes(benchmark::State& state)
{
    KRTest::RunTimeLibrary library(DCCI_LIBRARY_FILE_NAME);
    auto find = library.Resolve<PFN_DCCI_FindRemoteDevices>("DCCI_FindRemoteDevices");
    auto release = library.Resolve<PFN_DCCI_ReleaseAll>("DCCI_ReleaseAll");
    if (find == nullptr || release == nullptr)
    {
        state.SkipWithError("library not found");
        return;
    }
    std::vector<std::uint8_t> bytes(4096);
    for (auto _ : state)
    {
        DCCI_ValueBuffer buffer{bytes.data(), static_cast<std::uint32_t>(bytes.size()), 0};
        benchmark::DoNotOptimize(find(nullptr, 0, &buffer, 1));
    }
    release();
}
BENCHMARK(DeviceListWithLongLivedProbes);

// What each poll would cost if it opened its own MIDI clients, as a one-off listing does.
void DeviceListWithFreshClients(benchmark::State& state)
{
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(KR::Platform::ListInputPorts());
        benchmark::DoNotOptimize(KR::Platform::ListOutputPorts());
    }
}
BENCHMARK(DeviceListWithFreshClients);

} // namespace
