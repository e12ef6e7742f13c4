#include "editor/app/Application.h"
#include "editor/app/CommandsEditor.h"
#include "engine/MidiManager.h"
#include "support/ScriptedFileChooser.h"
#include "support/simkeyboard/SimKeyboardProcess.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <thread>

namespace
{

using KR::String;
using KR::TestSupport::CommandsEditor;

// Starts the simulated keyboard when the benchmark's argument asks for it; false, with the
// benchmark skipped, when it would not start.
bool StartKeyboardAsAsked(benchmark::State& state,
                          std::unique_ptr<KR::TestSupport::SimKeyboardProcess>& keyboard)
{
    if (state.range(0) == 0)
    {
        return true;
    }
    std::string error;
    keyboard = KR::TestSupport::SimKeyboardProcess::Start({}, &error);
    if (!keyboard)
    {
        state.SkipWithError(error.c_str());
    }
    return keyboard != nullptr;
}

// What the File menu asks before it shows: the state of each of its six items, on the
// program's own engine, whose discovery finds the keyboard among the JACK server's ports.
// The items read what discovery found, so an opening asks the ports nothing, with the
// keyboard or without. Argument 1: the simulated keyboard runs.
void BM_OpenFileMenu(benchmark::State& state)
{
    std::unique_ptr<KR::TestSupport::SimKeyboardProcess> keyboard;
    if (!StartKeyboardAsAsked(state, keyboard))
    {
        return;
    }
    CommandsEditor editor(String(u"::"), KR::TestSupport::CommandsEngine::kProgram);
    LDeviceView* view = editor.View();
    const String items[] = {
        String(u"NID_MENU_FILE_SEND_PRESET_TO_DEVICE"), String(u"NID_MENU_FILE_LOAD_PRESET_FROM_DEVICE"),
        String(u"NID_MENU_FILE_LOAD_PRESET_FROM_FILE"), String(u"NID_MENU_FILE_SAVE_PRESET_TO_FILE"),
        String(u"NID_MENU_FILE_GLOBALSETTINGS_REQ"),    String(u"NID_MENU_FILE_EXIT_REQ")};
    const auto sendOffered = [&]
    {
        KR::MenuItemInfo menuState;
        menuState.enabled = 1;
        view->UpdateMenuItem(0, items[0], menuState);
        return menuState.enabled != 0;
    };
    // Discovery's first look runs on the engine's worker.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (keyboard && !sendOffered() && std::chrono::steady_clock::now() < until)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    bool offered = true;
    for (auto _ : state)
    {
        for (const String& item : items)
        {
            KR::MenuItemInfo menuState;
            menuState.enabled = 1;
            view->UpdateMenuItem(0, item, menuState);
            offered = offered && (&item != &items[0] || menuState.enabled != 0);
        }
    }
    if (offered != (keyboard != nullptr))
    {
        state.SkipWithError("the keyboard items did not follow the keyboard");
    }
}
BENCHMARK(BM_OpenFileMenu)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// What each opening cost while every keyboard item opened both ports itself: three port
// checks. Argument 1: the simulated keyboard runs.
void BM_ThreePortChecks(benchmark::State& state)
{
    std::unique_ptr<KR::TestSupport::SimKeyboardProcess> keyboard;
    if (!StartKeyboardAsAsked(state, keyboard))
    {
        return;
    }
    CommandsEditor editor;
    const KR::RCPtr<KR::LMidiManager> midi = LApplication::GetApp()->GetMidiManager();
    bool all = true;
    for (auto _ : state)
    {
        for (int i = 0; i < 3; ++i)
        {
            all = midi->OpenMidiPorts(midi->GetMidiInPortName(), midi->GetMidiOutPortName()) && all;
        }
    }
    if (all != (state.range(0) != 0))
    {
        state.SkipWithError("the checks did not follow the keyboard's ports");
    }
}
BENCHMARK(BM_ThreePortChecks)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Save: the chooser answers at once, the engine's 131 values become the file that replaces
// the last one. Load: that file read, checked whole and taken into the engine.
void BM_PresetFileFlow(benchmark::State& state)
{
    CommandsEditor editor;
    LDeviceView* view = editor.View();
    const std::string path = (editor.folder / "bench.VantorPresetEditor").string();
    KR::TestSupport::ScriptedFileChooser chooser;
    const bool save = state.range(0) == 0;
    if (!save)
    {
        chooser.Accept({path});
        view->SavePreset();
    }
    KR::Result result = 0;
    for (auto _ : state)
    {
        chooser.Accept({path});
        result = save ? view->SavePreset() : view->LoadPreset();
        chooser.requests.clear();
    }
    if (result != KR::kOk || !editor.app->boxes.empty())
    {
        state.SkipWithError("the flow failed");
    }
    state.SetLabel(save ? "save" : "load");
}
BENCHMARK(BM_PresetFileFlow)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
