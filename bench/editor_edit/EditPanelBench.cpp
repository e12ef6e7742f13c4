#include "editor/edit/EncoderEditPanel.h"
#include "editor/support/InProcessEditor.h"
#include "editor/support/InstalledEngine.h"

#include <benchmark/benchmark.h>

namespace
{

using KR::TestSupport::InProcessEditor;

struct BoundEncoder
{
    BoundEncoder()
    {
        panel = dynamic_cast<LEncoderEditPanel*>(editor.Find("viewDevice/knobEditPanel"));
        panel->SetVisible(true);
        panel->SetFirstParamID(parent.Get(), 107, 10);
        panel->SetParamValueLocal(KR::ParamDescriptor(107), engine.Value(107), true);
        max = editor.Find<KR::LNumericUpDown>("moveableTypePanel/tabControl/pageHolder/ccAbsolutePage/"
                                              "minMaxSelectors/max/numericUpDown",
                                              KR::RCPtr<KR::LControl>(panel));
    }

    KR::TestSupport::InstalledEngine engine;
    InProcessEditor editor;
    KR::RCPtr<KR::TestSupport::LRecordingParentModule> parent{new KR::TestSupport::LRecordingParentModule};
    LEncoderEditPanel* panel = nullptr;
    KR::LNumericUpDown* max = nullptr;
};

// Typing a maximum and Return: the editor's report, the build, the stand-in main control
// and the engine's write into the model.
void BM_NumberBoxChangeToTheModel(benchmark::State& state)
{
    BoundEncoder bound;
    const char16_t* values[] = {u"100", u"101"};
    int i = 0;
    for (auto _ : state)
    {
        InProcessEditor::Enter(bound.max, values[i++ & 1]);
    }
    if (bound.engine.Bytes(107).at(5) != 100 + ((i - 1) & 1))
    {
        state.SkipWithError("the model did not take the block");
    }
}
BENCHMARK(BM_NumberBoxChangeToTheModel);

// Two blocks on different pages in turn, so every show moves the page and the boxes.
void BM_ShowMoveableBlock(benchmark::State& state)
{
    BoundEncoder bound;
    const KR::Array<signed char> blocks[] = {{0, 0, 7, 0, 0, 127}, {3, 1, 6, 0, 5, 2}};
    LMoveableControlEditPanel& editor = *bound.panel->GetMoveableTypePanel();
    int i = 0;
    for (auto _ : state)
    {
        editor.ShowMoveableBlock(blocks[i++ & 1]);
    }
}
BENCHMARK(BM_ShowMoveableBlock);

} // namespace
