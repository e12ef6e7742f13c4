// The application's share of start-up with the editor's real documents loaded as the
// program loads them: every control class of the class table, the global hot keys of the
// application's strings, the clipboard, the skin (fonts and looks of the current skin),
// the MIDI manager and the engine on a scripted bridge. The user settings go to a
// temporary folder.

#include "editor/app/Application.h"
#include "kr/ui/ControlFactory.h"
#include "support/engine/FakeKeyboardPorts.h"
#include "support/engine/ScriptedBridge.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace
{

class BenchApplication : public LApplication
{
public:
    BenchApplication(const KR::RCPtr<KR::LControlFactory>& factory,
                     const KR::RCPtr<KR::LStringTable>& framework)
        : LApplication(factory, framework, KR::String())
    {
    }

    support::FakeKeyboard keyboard;
    KR::RCPtr<ScriptedBridge> bridge = ScriptedBridge::Create();

protected:
    KR::RCPtr<KR::LMidiManager> CreateMidiManager() override
    {
        return KR::LMidiManager::Create(keyboard.ManagerOptions());
    }
    KR::RCPtr<LRootModuleEngine> CreateRootModuleEngine() override
    {
        return LRootModuleEngine::Create(bridge);
    }
};

KR::RCPtr<KR::LControlFactory> LoadedFactory()
{
    const KR::RCPtr<KR::LControlFactory> factory = LApplication::CreateControlFactory(u"PresetEditor");
    factory->SetImagePathPrefix(u"::");
    factory->LoadStringTables(u"::FRAMEWORK_STRINGS", u"::APP_STRINGS", 0x0409);
    factory->LoadSkins(u"::APP_SKINS");
    return factory;
}

void BM_RunApplicationStartup(benchmark::State& state)
{
    const std::filesystem::path settings = std::filesystem::temp_directory_path() / "bench_editor_app";
    ::setenv("XDG_CONFIG_HOME", settings.c_str(), 1);
    ::setenv("XDG_DATA_HOME", settings.c_str(), 1);
    for (auto _ : state)
    {
        state.PauseTiming();
        const KR::RCPtr<KR::LControlFactory> factory = LoadedFactory();
        KR::RCPtr<BenchApplication> app(new BenchApplication(factory, factory->GetFrameworkStringTable()));
        state.ResumeTiming();
        if (KR::Failed(app->RunApplicationStartup()))
        {
            state.SkipWithError("start-up failed");
        }
        state.PauseTiming();
        app->UnregisterForAllNotifications();
        app->Shutdown();
        app = nullptr;
        state.ResumeTiming();
    }
    std::filesystem::remove_all(settings);
}
BENCHMARK(BM_RunApplicationStartup)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
