#include "editor/edit/XYPadEditPanel.h"
#include "editor/support/InProcessEditor.h"
#include "editor/support/InstalledEngine.h"

#include <benchmark/benchmark.h>

namespace
{

struct BoundAxis
{
    BoundAxis()
    {
        panel = editor.Find<LXYPadEditPanel>("viewDevice/xyPadEditPanel");
        panel->SetVisible(true);
        panel->SetFirstParamID(parent.Get(), 129, 0);
        panel->SetParamValueLocal(KR::ParamDescriptor(129), engine.Value(129), false);
    }

    KR::TestSupport::InstalledEngine engine;
    KR::TestSupport::InProcessEditor editor;
    KR::RCPtr<KR::TestSupport::LRecordingParentModule> parent{new KR::TestSupport::LRecordingParentModule};
    LXYPadEditPanel* panel = nullptr;
};

// The two axes' defaults in turn: the MIDI page shows silently, the note page runs its
// handlers as it shows (scale applied from the new first note, then detected again), and
// each of its reports writes the whole block into the model.
void BM_ShowAxisBlock(benchmark::State& state)
{
    BoundAxis bound;
    const KR::Variant blocks[] = {bound.engine.Value(129), bound.engine.Value(130)};
    int i = 0;
    for (auto _ : state)
    {
        bound.panel->SetParamValueLocal(KR::ParamDescriptor(129), blocks[i++ & 1], false);
    }
    if (bound.engine.Bytes(129) != KR::TestSupport::BytesOf(blocks[(i - 1) & 1]))
    {
        state.SkipWithError("the model does not hold the last block shown");
    }
}
BENCHMARK(BM_ShowAxisBlock);

// "Major" and "Minor" chosen in turn: eight boxes set with the editor's handlers off, its
// registrations made again, one report, and the block written into the model.
void BM_ApplyScaleToEightBoxes(benchmark::State& state)
{
    BoundAxis bound;
    KR::LComboBox& scales = *bound.panel->GetNoteModePage()->GetNoteScaleTypeSelector();
    int i = 0;
    for (auto _ : state)
    {
        scales.SetSelectedIndex(1 + (i++ & 1));
    }
    if (bound.engine.Bytes(129).at(10) != ((i - 1) & 1 ? 63 : 64))
    {
        state.SkipWithError("the model does not hold the scale chosen last");
    }
}
BENCHMARK(BM_ApplyScaleToEightBoxes);

} // namespace
