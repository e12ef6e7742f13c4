// Start-up cost of the skins: a generated skin the size of the editor's (about 300
// controls, 60 looks) and 600 strings read through the factory from memory, and the
// string-table lookups every new control makes.

#include "EditorSizedSkin.h"
#include "kr/ui/ControlFactory.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace
{

void BM_LoadEditorSizedSkinAndStrings(benchmark::State& state)
{
    const std::string skins = GeneratedSkin();
    const std::string strings = GeneratedStrings();
    for (auto _ : state)
    {
        const KR::RCPtr<KR::LControlFactory> factory = MakeFactory(skins, strings);
        factory->LoadStringTables(KR::String(u"::BENCH_STRINGS"), KR::String(u"::NONE"), 0x0409);
        if (factory->LoadSkins(KR::String(u"::BENCH_SKINS")) != KR::kOk)
        {
            state.SkipWithError("the generated skin did not load");
            break;
        }
        benchmark::DoNotOptimize(factory->FindControlDescriptor(KR::String(u"mainControl")));
    }
    state.counters["skin_bytes"] = static_cast<double>(skins.size());
    state.counters["string_bytes"] = static_cast<double>(strings.size());
}
BENCHMARK(BM_LoadEditorSizedSkinAndStrings)->Unit(benchmark::kMillisecond);

// What 300 controls ask of the factory as they are made: each its table, by its parent's
// class and its own name.
void BM_Lookup300ControlStringTables(benchmark::State& state)
{
    const KR::RCPtr<KR::LControlFactory> factory = MakeFactory(GeneratedSkin(), GeneratedStrings());
    factory->LoadStringTables(KR::String(u"::BENCH_STRINGS"), KR::String(u"::NONE"), 0x0409);
    factory->LoadSkins(KR::String(u"::BENCH_SKINS"));
    const KR::RCPtr<KR::LControlDescriptor> main = factory->FindControlDescriptor(KR::String(u"mainControl"));
    std::vector<std::pair<const KR::LControlDescriptor*, KR::String>> asks;
    for (std::uint32_t p = 0; p < main->GetChildren().GetCount(); ++p)
    {
        const KR::RCPtr<KR::LControlDescriptor>& panel = main->GetChildren().GetAt(p);
        for (std::uint32_t c = 0; c < panel->GetChildren().GetCount(); ++c)
        {
            asks.emplace_back(panel.Get(), panel->GetChildren().GetAt(c)->GetName());
        }
        asks.emplace_back(panel.Get(), KR::String(u"child9"));
    }
    for (const auto& [parent, name] : asks)
    {
        if (!factory->GetControlStringTable(parent, name))
        {
            state.SkipWithError("a control's table is missing");
            return;
        }
    }
    for (auto _ : state)
    {
        for (const auto& [parent, name] : asks)
        {
            benchmark::DoNotOptimize(factory->GetControlStringTable(parent, name));
        }
    }
    state.counters["lookups"] = static_cast<double>(asks.size());
}
BENCHMARK(BM_Lookup300ControlStringTables)->Unit(benchmark::kMicrosecond);

} // namespace
