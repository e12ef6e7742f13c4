// Start-up cost of the editor's own resources: the framework's and the application's string
// tables and the skin read through the factory from the embedded documents, and the main
// window's control tree made from that skin (its classes not built yet standing as plain
// controls) in a window that shows nothing.

#include "kr/render/Font.h"
#include "kr/ui/RootWindow.h"
#include "resources_skin/SkinClassNames.h"
#include "support/FakeWindowServices.h"
#include "support/FrameworkAppStandIn.h"
#include "support/RecordingRenderer.h"

#include <benchmark/benchmark.h>

namespace
{

KR::RCPtr<KR::LControlFactory> ReadDocuments()
{
    KR::RCPtr<KR::LControlFactory> factory(new KR::LControlFactory(KR::String(u"PresetEditor")));
    factory->SetImagePathPrefix(KR::String(u"::"));
    factory->LoadStringTables(KR::String(u"::FRAMEWORK_STRINGS"), KR::String(u"::APP_STRINGS"), 0x0409);
    factory->LoadSkins(KR::String(u"::APP_SKINS"));
    return factory;
}

void BM_ReadTheThreeDocuments(benchmark::State& state)
{
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(ReadDocuments().Get());
    }
}
BENCHMARK(BM_ReadTheThreeDocuments)->Unit(benchmark::kMillisecond);

void BM_CreateTheMainControl(benchmark::State& state)
{
    KR::TestSupport::LStandInFrameworkApp app;
    app.factory = ReadDocuments();
    for (const char16_t* name : KR::SkinTest::kFrameworkClasses)
    {
        app.factory->RegisterControlClass(KR::String(name), &KR::LControl::CreateFromSkin<KR::LControl>);
    }
    for (const char16_t* name : KR::SkinTest::kApplicationClasses)
    {
        app.factory->RegisterControlClass(KR::String(name), &KR::LControl::CreateFromSkin<KR::LControl>);
    }
    app.defaultFont = KR::LFont::GetFont(KR::String(u"Arial"), 8.25f, 0);
    KR::RCPtr<KR::TestSupport::LFakeWindowServices> os(new KR::TestSupport::LFakeWindowServices);
    os->clientSize = KR::PointI{1200, 750};
    KR::RCPtr<KR::LRenderer> renderer(new KR::TestSupport::LRecordingRenderer);
    KR::RCPtr<KR::LRootWindow> window(new KR::LRootWindow(renderer, os.Get()));
    app.activeRootWindow = window;
    std::uint32_t controls = 0;
    for (auto _ : state)
    {
        const KR::RCPtr<KR::LControl> main =
            app.factory->CreateControlByName(KR::String(u"mainControl"), window);
        state.PauseTiming();
        KR::RCPtrArray<KR::LControl> all;
        controls = main->FindDescendantControls(KR::String(u"button"), all);
        main->Detach();
        state.ResumeTiming();
    }
    state.counters["buttons"] = controls;
    window->ReleaseInternalReferences();
}
BENCHMARK(BM_CreateTheMainControl)->Unit(benchmark::kMillisecond);

} // namespace
