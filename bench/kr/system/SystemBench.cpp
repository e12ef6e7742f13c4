#include "kr/system/DebugLog.h"
#include "kr/system/IniFileManagerProxy.h"

#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace
{

// The log of the benchmarks: pieces are counted, not printed.
KR::DebugLog& QuietLog()
{
    static KR::DebugLog log;
    static bool quiet = []
    {
        log.SetDebuggerOutput([](std::string_view piece) { benchmark::DoNotOptimize(piece.data()); });
        return true;
    }();
    benchmark::DoNotOptimize(quiet);
    return log;
}

// One short message with a number, as the program's diagnostics write them; run on 1 and
// 4 threads to see what serialising the writers costs.
void BM_LogMessage(benchmark::State& state)
{
    KR::DebugLog& log = QuietLog();
    int i = 0;
    for (auto _ : state)
    {
        log.Narrow() << "MIDI reply " << ++i << " took " << 3 << " ms\n";
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LogMessage)->Threads(1)->Threads(4)->UseRealTime();

void BM_LogWideMessage(benchmark::State& state)
{
    KR::DebugLog& log = QuietLog();
    const KR::String name = u"Fader 3 \u00E9dit\u00E9";
    for (auto _ : state)
    {
        log.Wide() << u"Panel " << name << u" opened\n";
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LogWideMessage);

// 3000 bytes without a flush between: three pieces per iteration.
void BM_LogLongText(benchmark::State& state)
{
    KR::DebugLog& log = QuietLog();
    const std::string text(3000, 'x');
    for (auto _ : state)
    {
        log.Write(text);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_LogLongText);

// A settings text read through the proxy: one call for a short value, two (the
// too-small-buffer path) for one of 2000 bytes.
void BM_IniTextRead(benchmark::State& state)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kr-systembench-XXXXXX").string();
    const std::filesystem::path folder = ::mkdtemp(pattern.data());
    CIniFileManagerProxy proxy;
    if (proxy.LoadLibrary(KR::String()) != 0)
    {
        state.SkipWithError("libIniFileManager.so not found beside the benchmark");
        return;
    }
    std::int32_t handle = 0;
    proxy.OpenIniFile(KR::String((folder / "UserSettings.ini").c_str()), u"1_0_0", u"PresetEditor", handle);
    const KR::String value(std::string(static_cast<std::size_t>(state.range(0)), 'v').c_str());
    proxy.SetIniValueStr(handle, u"Presets/LastFile", value);
    KR::String read;
    for (auto _ : state)
    {
        proxy.GetIniValueStr(handle, u"Presets/LastFile", KR::String(), read);
        benchmark::DoNotOptimize(read.GetPtr());
    }
    proxy.CloseIniFile(handle, 0);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_IniTextRead)->Arg(40)->Arg(2000);

} // namespace
