#include "editor/app/CommandsEditor.h"
#include "support/ScriptedFileChooser.h"
#include "support/simkeyboard/SimKeyboardProcess.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace
{

using KR::String;
using KR::TestSupport::CommandsEditor;

// What the menu asks before it shows the File menu: the three keyboard items, each a port
// check that opens both of the keyboard's ports. Argument 1: the simulated keyboard runs.
void BM_UpdateKeyboardMenuItems(benchmark::State& state)
{
    std::unique_ptr<KR::TestSupport::SimKeyboardProcess> keyboard;
    if (state.range(0) != 0)
    {
        std::string error;
        keyboard = KR::TestSupport::SimKeyboardProcess::Start({}, &error);
        if (!keyboard)
        {
            state.SkipWithError(error.c_str());
            return;
        }
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
