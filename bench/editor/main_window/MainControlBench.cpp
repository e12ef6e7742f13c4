#include "editor/support/InProcessEditor.h"
#include "editor/support/InstalledEngine.h"

#include <benchmark/benchmark.h>

namespace
{

using KR::RCPtr;
using KR::TestSupport::InProcessEditor;
using KR::TestSupport::InstalledEngine;

// The whole tree below "mainControl" from the loaded skin: every control constructed,
// laid out and initialised, the main control numbering the module tree.
void BM_CreateMainControlTree(benchmark::State& state)
{
    InstalledEngine engine;
    InProcessEditor editor(false);
    benchmark::IterationCount made = 0;
    for (auto _ : state)
    {
        const RCPtr<KR::LControl> main =
            editor.factory->CreateControlByName(KR::String(u"mainControl"), editor.window);
        made += main ? 1 : 0;
        if (main)
        {
            main->Detach();
        }
    }
    if (made != state.iterations())
    {
        state.SkipWithError("the tree was not made");
    }
}
BENCHMARK(BM_CreateMainControlTree)->Unit(benchmark::kMillisecond);

// The engine's announcement of all 131 values (as after a preset is loaded or retrieved),
// applied by the main control to the panels that own the ids.
void BM_ApplyTheEnginesListOf131Values(benchmark::State& state)
{
    InstalledEngine engine;
    InProcessEditor editor;
    KR::LMainControl* main = editor.MainControl();
    std::vector<KR::ParamValue> values;
    for (std::int32_t id = 0; id < InstalledEngine::kParamCount; ++id)
    {
        values.emplace_back(KR::ParamDescriptor(id), engine.Value(id));
    }
    KR::ParamValues list;
    list.SetValues(values.data(), static_cast<std::uint32_t>(values.size()));
    const RCPtr<KR::LNotification> notification = KR::LNotification::Create(
        kNidParamModuleStateChange, RCPtr<KR::LRefCountedObject>(LParamValuesWrapper::Create(list)));
    for (auto _ : state)
    {
        main->OnModuleStateChange(nullptr, notification);
    }
    if (!main || engine.Writes() != 0)
    {
        state.SkipWithError("a value went back to the engine");
    }
}
BENCHMARK(BM_ApplyTheEnginesListOf131Values)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
