#include "editor/edit/EncoderEditPanel.h"
#include "editor/support/InProcessEditor.h"
#include "editor/support/InstalledEngine.h"
#include "engine/MidiManager.h"
#include "kr/controls/NumericUpDown.h"
#include "support/simkeyboard/SimKeyboardProcess.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace
{

using KR::TestSupport::InProcessEditor;

// A click on an encoder of the picture as the window hands it on, then one idle pass: the
// group marks it, shows and binds the encoder edit panel, which asks the engine for the
// block; the idle pass brings the block to the edit panel and back to the picture. Two
// encoders in turn, so every click binds anew.
void BM_ClickEncoderToItsBlock(benchmark::State& state)
{
    KR::TestSupport::InstalledEngine engine;
    InProcessEditor editor;
    KR::LControl* encoders[] = {editor.Find("viewDevice/encoders/encoderBank1/encoder3/button"),
                                editor.Find("viewDevice/encoders/encoderBank1/encoder4/button")};
    auto* cc = editor.Find<KR::LNumericUpDown>("viewDevice/knobEditPanel/moveableTypePanel/tabControl/"
                                               "pageHolder/ccAbsolutePage/cc/ccSelector/numericUpDown");
    if (!encoders[0] || !encoders[1] || !cc)
    {
        state.SkipWithError("no encoder or no edit panel");
        return;
    }
    int i = 0;
    for (auto _ : state)
    {
        editor.Click(encoders[i++ & 1]);
        editor.Idle();
    }
    if (InProcessEditor::Number(*cc) != 42 + ((i - 1) & 1))
    {
        state.SkipWithError("the edit panel does not show the clicked encoder's block");
    }
}
BENCHMARK(BM_ClickEncoderToItsBlock)->Unit(benchmark::kMicrosecond);

// A preset's 131 values posted together, as the engine posts a loaded or received preset,
// and the idle pass that routes each to its panel on the picture (and the preset name's).
void BM_PresetReachesThePicture(benchmark::State& state)
{
    KR::TestSupport::InstalledEngine engine;
    InProcessEditor editor;
    KR::LControl* info = editor.Find("viewDevice/encoders/encoderBank1/encoder3/viewPanel/infoLabel");
    if (!info)
    {
        state.SkipWithError("no encoder read-out");
        return;
    }
    for (auto _ : state)
    {
        engine.engine->RequestParamValues(KR::ParamDescriptors(KR::ParamRange{0, 131}));
        editor.Idle();
    }
    if (info->GetText() != KR::String(u"CC:\n42"))
    {
        state.SkipWithError("the picture does not show the preset");
    }
}
BENCHMARK(BM_PresetReachesThePicture)->Unit(benchmark::kMicrosecond);

// A preset retrieved from the keyboard's slot 3, over JACK (dummy driver) from the
// simulated keyboard as the retrieve dialog asks for it, then the idle pass that routes its
// 131 values to the picture and the whole window painted. Needs the JACK server of
// scripts/lib/services.sh (start_services).
void BM_RetrievedPresetToThePicturePainted(benchmark::State& state)
{
    ::setenv("KR_MIDI_API", "jack", 1);
    std::string error;
    const auto keyboard = KR::TestSupport::SimKeyboardProcess::Start({}, &error);
    if (!keyboard)
    {
        state.SkipWithError(("no simulated keyboard: " + error).c_str());
        return;
    }
    KR::TestSupport::InstalledEngine engine;
    InProcessEditor editor;
    const KR::RCPtr<KR::LMidiManager> midi = KR::LMidiManager::Create();
    midi->SetRootModuleEngine(engine.engine);
    KR::LRegion window;
    window.AddRect(KR::EdgesI{0, 0, 1200, 750});
    for (auto _ : state)
    {
        if (midi->GetPresetFromMidiDevice(3) != KR::kOk)
        {
            state.SkipWithError("the retrieve failed");
            return;
        }
        editor.Idle();
        editor.window->Paint(window);
    }
}
BENCHMARK(BM_RetrievedPresetToThePicturePainted)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(10);

} // namespace
