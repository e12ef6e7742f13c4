// The road of a keystroke nobody takes, from a control deep in a window to the
// application's hot keys, and the context menu a right click builds.

#include "kr/ui/RootWindow.h"
#include "support/FakeWindowServices.h"
#include "support/FrameworkAppStandIn.h"
#include "support/RecordingRenderer.h"

#include <benchmark/benchmark.h>

namespace
{

using KR::RCPtr;

// Two dozen bindings in each manager, none of them for the key typed.
void BindCommands(KR::HotKeyMap& map)
{
    for (std::uint8_t i = 0; i < 24; ++i)
    {
        map.AddHotKey(KR::KeyCode::FromVirtualKey(0x70 + i, true, 0, KR::ModifierFlag::kShift),
                      KR::String::Format(u"NID_BENCH_COMMAND_%d", i));
    }
}

// 10000 keys per iteration from the fifth level below the root; each climbs to the
// parent, is offered to the window's hot keys and then to the application's.
void BM_RouteUnhandledKeysFromFiveLevelsDeep(benchmark::State& state)
{
    KR::TestSupport::LStandInFrameworkApp app;
    app.hotKeys = KR::LGlobalHotKeyManager::Create(nullptr);
    BindCommands(app.hotKeys->GetHotKeyMap());
    RCPtr<KR::TestSupport::LFakeWindowServices> os(new KR::TestSupport::LFakeWindowServices);
    const RCPtr<KR::LRootWindow> window(
        new KR::LRootWindow(RCPtr<KR::LRenderer>(new KR::TestSupport::LRecordingRenderer), os.Get()));
    BindCommands(window->GetHotKeyManager()->GetHotKeyMap());
    RCPtr<KR::LControl> control(new KR::LControl(RCPtr<KR::IRootWindowServices>(window), u"root"));
    control->SetNotFocusable(false);
    window->SetRootControl(control);
    for (int level = 1; level <= 5; ++level)
    {
        control = RCPtr<KR::LControl>(new KR::LControl(control, KR::String::Format(u"level%d", level)));
        control->SetFrame(KR::PointD{}, KR::PointD{10, 10});
        control->SetNotFocusable(false);
    }
    control->SetFocus(true);
    if (window->GetFocusControl() != control)
    {
        state.SkipWithError("the deepest control did not take the focus");
    }
    const KR::KeyCode key = KR::KeyCode::FromVirtualKey('A', true, 0, 0);
    for (auto _ : state)
    {
        for (int i = 0; i < 10000; ++i)
        {
            window->DispatchKey(KR::LKeyParam::Create(key, false));
        }
    }
    state.SetItemsProcessed(state.iterations() * 10000);
    window->ReleaseInternalReferences();
}
BENCHMARK(BM_RouteUnhandledKeysFromFiveLevelsDeep)->Unit(benchmark::kMillisecond);

class MenuControl : public KR::LControl
{
public:
    using LControl::LControl;
    RCPtr<KR::LStringTable> GetStringTable() override { return strings; }
    RCPtr<KR::LStringTable> strings;
};

// A context menu of 40 entries: 36 commands and 4 separators.
void BM_BuildFortyEntryContextMenu(benchmark::State& state)
{
    const RCPtr<MenuControl> control(new MenuControl(RCPtr<KR::LControl>(), u"control"));
    control->strings = RCPtr<KR::LStringTable>(new KR::LStringTable);
    for (int i = 0; i < 40; ++i)
    {
        const bool separator = i % 10 == 9;
        control->strings->SetString(
            separator ? KR::String::Format(u"CONTEXT_MENU.%02d.-", i)
                      : KR::String::Format(u"CONTEXT_MENU.%02d.NID_BENCH_COMMAND_%d", i, i),
            separator ? KR::String(u"-") : KR::String::Format(u"Command %d|What command %d does", i, i));
    }
    for (auto _ : state)
    {
        KR::RCPtrArray<KR::LMenuDescriptor> menus;
        control->BuildContextMenu(menus);
        benchmark::DoNotOptimize(menus.GetAt(0)->GetItemCount());
    }
}
BENCHMARK(BM_BuildFortyEntryContextMenu);

} // namespace
