// Making the editor's window from its skin: creating and laying out a tree of about 300
// controls through the factory, and applying a whole skin again to that tree (what a skin
// change at run time costs).

#include "EditorSizedSkin.h"
#include "kr/ui/Control.h"
#include "kr/ui/ControlTestSupport.h"
#include "support/FrameworkAppStandIn.h"

#include <benchmark/benchmark.h>

namespace
{

// The application, its factory with the skin read, and a window stand-in.
struct Editor
{
    Editor()
    {
        app.factory = MakeEditorSizedFactory(&KR::LControl::CreateFromSkin<KR::LControl>);
        app.defaultFont = KR::LFont::GetFont(KR::String(u"Arial"), 9.0f, 0);
    }

    KR::RCPtr<KR::LControl> MakeMain()
    {
        return app.factory->CreateControlByName(KR::String(u"mainControl"), window);
    }

    KR::TestSupport::LStandInFrameworkApp app;
    KR::RCPtr<KR::UiTest::FakeRootWindow> window = KR::UiTest::FakeRootWindow::Create();
};

void BM_CreateEditorSizedTree(benchmark::State& state)
{
    Editor editor;
    for (auto _ : state)
    {
        const KR::RCPtr<KR::LControl> main = editor.MakeMain();
        benchmark::DoNotOptimize(main.Get());
        state.PauseTiming();
        main->Detach();
        editor.window->invalidated.clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CreateEditorSizedTree)->Unit(benchmark::kMicrosecond);

void BM_ReapplyWholeSkin(benchmark::State& state)
{
    Editor editor;
    const KR::RCPtr<KR::LControl> main = editor.MakeMain();
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(editor.app.factory->ApplySkinToControl(main));
        state.PauseTiming();
        editor.window->invalidated.clear();
        state.ResumeTiming();
    }
    main->Detach();
}
BENCHMARK(BM_ReapplyWholeSkin)->Unit(benchmark::kMicrosecond);

} // namespace
