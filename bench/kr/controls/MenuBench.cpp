// The menus: the File menu given to its popup (a deep copy, key texts, rows rebuilt), and
// a sub-menu opened from the skin and closed again, in the window of the menu tests.

#include "kr/controls/ControlsTestSupport.h"

#include <benchmark/benchmark.h>

namespace KR
{
namespace
{

void BM_SetMenuOfTheFileMenu(benchmark::State& state)
{
    ControlsTest::MenuScene scene;
    const RCPtr<LPopupMenu> popup = scene.Popup(0);
    const RCPtr<LMenuDescriptor> file = popup->GetMenu()->CopyFrom();
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(popup->SetMenu(file));
    }
}
BENCHMARK(BM_SetMenuOfTheFileMenu);

void BM_OpenAndCloseASubMenu(benchmark::State& state)
{
    ControlsTest::MenuScene scene;
    const RCPtr<LControl> owner = scene.main->FindChildControl(String(u"owner"));
    const RCPtr<LPopupMenu> popup(scene.app.factory->CreateChildControlByName(String(u"contextMenu"), owner));
    RCPtr<LMenuDescriptor> menu = LMenuDescriptor::Create();
    RCPtr<LMenuItemDescriptor> more = LMenuItemDescriptor::Create(u"More", String(), 1, 0);
    for (std::uint32_t i = 0; i < 6; ++i)
    {
        more->InsertItem(i, u"Row", u"NID_TEST_ROW", 1, 0);
    }
    menu->InsertItem(0, more);
    popup->SetMenu(menu);
    popup->SetVisible(true);
    for (auto _ : state)
    {
        popup->OpenSubMenu(0);
        popup->CloseSubMenus();
        // The closed one leaves at the idle step, as it would between two openings.
        scene.Step(0);
    }
}
BENCHMARK(BM_OpenAndCloseASubMenu);

} // namespace
} // namespace KR
