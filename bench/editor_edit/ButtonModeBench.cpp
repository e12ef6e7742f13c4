#include "editor/edit/ButtonControlEditPanel.h"
#include "editor/picture/ButtonControlViewPanel.h"
#include "editor/support/InProcessEditor.h"

#include <benchmark/benchmark.h>

namespace
{

using KR::TestSupport::InProcessEditor;

// A CC cycle record on the sustain pedal's mode editor: everything unregistered, the
// page filled, the value fields shown and relabelled, everything registered again. Three
// and four values in turn, so the labels change every time.
void BM_ShowCcCycleRecord(benchmark::State& state)
{
    InProcessEditor editor;
    auto* panel = editor.Find<LButtonControlEditPanel>("viewDevice/sustainEditPage/buttonTypePanel");
    const KR::Array<signed char> records[] = {{0, 1, 0x12, 11, 0, 0, 5, 1, 0, 127},
                                              {0, 1, 0x12, 12, 0, 0, 5, 0, 9, 127}};
    int i = 0;
    for (auto _ : state)
    {
        KR::Array<signed char> record = records[i++ & 1];
        panel->ShowModeRecord(record);
    }
    if (panel->BuildModeRecord()[3] != 11 + ((i - 1) & 1))
    {
        state.SkipWithError("the editor did not show the record");
    }
}
BENCHMARK(BM_ShowCcCycleRecord);

// One MMC record on a push button's read-out, the search for the window's MMC list
// included. Two commands in turn, so the text changes every time.
void BM_ReadOutMmcRecord(benchmark::State& state)
{
    InProcessEditor editor;
    auto* view = editor.Find<LButtonControlViewPanel>("viewDevice/buttons/buttonBank1/button1/viewPanel");
    const KR::Array<signed char> records[] = {{0, 1, 0x15, 0, 10, 0, 0, 0, 0, 0},
                                              {0, 1, 0x15, 0, 2, 0, 0, 0, 0, 0}};
    int i = 0;
    for (auto _ : state)
    {
        KR::Array<signed char> record = records[i++ & 1];
        view->ShowModeRecord(record);
    }
    if (editor.Find("infoLabel", KR::RCPtr<KR::LControl>(view))->GetText().IsEmpty())
    {
        state.SkipWithError("the read-out shows nothing");
    }
}
BENCHMARK(BM_ReadOutMmcRecord);

} // namespace
