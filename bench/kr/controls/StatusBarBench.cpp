// A status bar fed from another thread: 1000 texts posted there, then drained at one idle
// pass on this one, the label keeping the last.

#include "kr/controls/StatusBar.h"
#include "kr/ui/ControlTestSupport.h"
#include "support/FrameworkAppStandIn.h"

#include <benchmark/benchmark.h>

#include <string>
#include <thread>
#include <vector>

namespace KR
{
namespace
{

void BM_StatusBarThousandPostsFromAThreadDrainedAtIdle(benchmark::State& state)
{
    TestSupport::LStandInFrameworkApp app;
    const RCPtr<UiTest::FakeRootWindow> window = UiTest::FakeRootWindow::Create();
    const RCPtr<UiTest::TestControl> root = UiTest::TestControl::MakeRoot(window);
    const RCPtr<LStatusBar> bar(new LStatusBar(RCPtr<LControl>(root), String(u"status")));
    UiTest::TestControl::Make(RCPtr<LControl>(bar), String(u"label1"));
    bar->Initialize();
    bar->SetCreationFinished();
    std::vector<String> texts;
    for (int i = 0; i < 1000; ++i)
    {
        texts.emplace_back(("Reading preset " + std::to_string(i)).c_str());
    }
    for (auto _ : state)
    {
        std::thread poster(
            [&]
            {
                for (const String& text : texts)
                {
                    bar->PostText(text);
                }
            });
        poster.join();
        window->Idle();
        benchmark::DoNotOptimize(bar->GetLabel()->GetText());
    }
    state.SetItemsProcessed(state.iterations() * 1000);
    bar->ReleaseInternalReferences();
    root->ReleaseInternalReferences();
}
BENCHMARK(BM_StatusBarThousandPostsFromAThreadDrainedAtIdle)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace KR
