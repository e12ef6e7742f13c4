#include "editor/app/Application.h"
#include "editor/app/CommandsEditor.h"
#include "engine/MidiManager.h"
#include "support/ScriptedFileChooser.h"
#include "support/simkeyboard/SimKeyboardProcess.h"

#include <benchmark/benchmark.h>

#include <memory>

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

// What the menu asks before it shows the File menu: the three keyboard items. The first
// opening checks the keyboard's ports by opening both; later ones find the MIDI system's
// ports as they were and keep that answer. Argument 1: the simulated keyboard runs.
void BM_UpdateKeyboardMenuItems(benchmark::State& state)
{
    std::unique_ptr<KR::TestSupport::SimKeyboardProcess> keyboard;
    if (!StartKeyboardAsAsked(state, keyboard))
    {
        return;
    }
    CommandsEditor editor;
    LDeviceView* view = editor.View();
    const String items[] = {String(u"NID_MENU_FILE_SEND_PRESET_TO_DEVICE"),
                            String(u"NID_MENU_FILE_LOAD_PRESET_FROM_DEVICE"),
                            String(u"NID_MENU_FILE_GLOBALSETTINGS_REQ")};
    bool all = true;
    for (auto _ : state)
    {
        for (const String& item : items)
        {
            KR::MenuItemInfo menuState;
            menuState.enabled = 1;
            view->UpdateMenuItem(0, item, menuState);
            all = all && menuState.enabled != 0;
        }
    }
    if (all != (state.range(0) != 0))
    {
        state.SkipWithError("the items did not follow the keyboard's ports");
    }
}
BENCHMARK(BM_UpdateKeyboardMenuItems)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

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
