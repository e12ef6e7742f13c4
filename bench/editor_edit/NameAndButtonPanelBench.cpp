#include "editor/edit/ButtonEditPanel.h"
#include "editor/edit/PresetNamePanel.h"
#include "editor/support/InProcessEditor.h"
#include "editor/support/InstalledEngine.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace
{

using KR::TestSupport::InProcessEditor;

// One keystroke in the preset name's box down to the name's block in the model: the box's
// change, the block built, the main control and the engine's write. A letter typed and
// taken back in turn, so the name stays within its six characters.
void BM_NameKeystrokeToTheModel(benchmark::State& state)
{
    KR::TestSupport::InstalledEngine engine;
    InProcessEditor editor;
    auto* panel = editor.Find<LPresetNamePanel>("viewDevice/presetNameEditPanel");
    editor.Click(panel->GetTextBox().Get());
    editor.Type(u"ABCDE");
    int i = 0;
    for (auto _ : state)
    {
        if ((i++ & 1) == 0)
        {
            editor.Type(u"X");
        }
        else
        {
            editor.Press(0x08); // Back Space
        }
    }
    const std::vector<int> name = engine.Bytes(0);
    const std::string typed = panel->GetTextBox()->GetText().ToUtf8().GetPtr();
    if (std::string(name.begin(), name.begin() + static_cast<std::ptrdiff_t>(typed.size())) != typed)
    {
        state.SkipWithError("the model did not take the name");
    }
}
BENCHMARK(BM_NameKeystrokeToTheModel);

// A push button's 17-byte block shown on its panel: the mode record on the MIDI page, the
// seven lists, and the writes the show makes through the main control into the model.
// Two blocks of different modes and colours in turn, so every list changes each time.
void BM_ShowPushButtonBlock(benchmark::State& state)
{
    KR::TestSupport::InstalledEngine engine;
    InProcessEditor editor;
    KR::RCPtr<KR::TestSupport::LRecordingParentModule> parent(new KR::TestSupport::LRecordingParentModule);
    auto* panel = editor.Find<LButtonEditPanel>("viewDevice/buttonEditPanel");
    panel->SetVisible(true);
    panel->SetFirstParamID(parent.Get(), 38, 13);
    const KR::Variant blocks[] = {
        KR::TestSupport::Blob({0x00, 0x04, 0x03, 0x07, 0x05, 0x01, 0x13, 0x0D, 0, 0, 0, 0, 0, 0x7F, 0, 0, 0}),
        KR::TestSupport::Blob(
            {0x02, 0x01, 0x02, 0x03, 0x04, 0x00, 0x07, 0x00, 0, 0, 0, 0, 0, 0x64, 3, 12, 5}),
    };
    int i = 0;
    for (auto _ : state)
    {
        panel->SetParamValueLocal(KR::ParamDescriptor(38), blocks[i++ & 1], true);
        parent->received.clear();
    }
    if (!(KR::TestSupport::Blob(engine.Bytes(38)) == blocks[(i - 1) & 1]))
    {
        state.SkipWithError("the model does not hold the block shown last");
    }
}
BENCHMARK(BM_ShowPushButtonBlock);

} // namespace
