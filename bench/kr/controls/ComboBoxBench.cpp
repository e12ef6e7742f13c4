// Opening a combo box of 128 items in a 1024 x 768 window: the list placed against the
// window, snapped to whole rows, the combo's item selected and made visible, the list shown
// with the focus, then one paint of the window recorded. The list is closed again between
// rounds, outside the timing.

#include "kr/controls/ComboBox.h"
#include "kr/controls/ControlClasses.h"
#include "kr/render/Region.h"
#include "kr/ui/ControlTestSupport.h"
#include "kr/ui/RootWindow.h"
#include "support/FakeWindowServices.h"
#include "support/FrameworkAppStandIn.h"
#include "support/RecordingRenderer.h"

#include <benchmark/benchmark.h>

#include <string>

namespace KR
{
namespace
{

std::string LookList(const char* name, int count)
{
    std::string list =
        std::string("<LookList Name=\"") + name + "\" NumLooks=\"" + std::to_string(count) + "\">";
    for (int i = 0; i < count; ++i)
    {
        list += "<Look Name=\"grey\" Index=\"" + std::to_string(i) + "\"/>";
    }
    return list + "</LookList>";
}

// As the application's skins make their combo boxes: a list of at most 222 with rows of
// 22 and a hidden bar.
const std::string kSkin =
    R"(<?xml version="1.0" encoding="utf-8"?><Test_Skins><Application Name="PresetEditor">)"
    R"(<Colorizers><Colorizer Name="grey" ColorType="SolidFill" Color="0xFF808080"/></Colorizers>)"
    R"(<Parts><Part Name="grey" Width="1" Height="1" ResizeType="Stretch" ColorizerName="grey"/></Parts>)"
    R"(<Looks><Look Name="grey"><ClientPart Name="grey" OffsetLeft="0" OffsetTop="0" OffsetRight="0" OffsetBottom="0"/></Look></Looks><LookLists>)" +
    LookList("one", 1) + LookList("b14", 14) + R"(</LookLists><Skins><Skin Name="One">
<SubControl Class="Test.Group" Name="main" XSizeAbs="1024" YSizeAbs="768"><Skin Name="main" LookList="one">
  <SubControl Class="Framework.ComboBox" Name="combo" XPositionAbs="100" YPositionAbs="300" XSizeAbs="112" YSizeAbs="26"><Skin Name="combo" LookList="b14">
    <SubControl Class="Framework.ListBox" Name="listBox" YPositionAbs="26" XSizeAbs="112" YSizeAbs="222" IsVisible="False" ClipToParent="False" Z_Order="1000" YMaxSizeAbs="222"><Skin Name="listBox" LookList="one">
      <SubControl Class="Framework.ListBoxItem" Name="templateItem" XSizeAbs="100" YSizeAbs="22"><Skin Name="templateItem" LookList="b14"/></SubControl>
      <SubControl Class="Framework.ScrollBar" Name="vBar" XPositionAbs="101" YPositionAbs="1" XSizeAbs="10" YSizeAbs="220" IsVisible="False"><Skin Name="vBar" LookList="one"/></SubControl>
    </Skin></SubControl>
  </Skin></SubControl>
</Skin></SubControl></Skin></Skins></Application></Test_Skins>)";

void BM_OpenComboOf128Items(benchmark::State& state)
{
    TestSupport::LStandInFrameworkApp app;
    app.factory = UiTest::MakeFactory(kSkin.c_str(), nullptr);
    RegisterFrameworkControlClasses(*app.factory);
    app.factory->RegisterControlClass(String(u"Test.Group"), &LControl::CreateFromSkin<LControl>);
    const RCPtr<TestSupport::LRecordingRenderer> renderer(new TestSupport::LRecordingRenderer);
    const RCPtr<TestSupport::LFakeWindowServices> os(new TestSupport::LFakeWindowServices);
    const RCPtr<LRootWindow> window(new LRootWindow(RCPtr<LRenderer>(renderer), os.Get()));
    app.activeRootWindow = window;
    const RCPtr<LControl> main = app.factory->CreateControlByName(String(u"main"), window);
    window->SetRootControl(main);
    main->UpdateLayout();
    const RCPtr<LComboBox> combo(main->FindChildControl(String(u"combo")));
    if (!combo)
    {
        state.SkipWithError("no combo");
        return;
    }
    for (int i = 0; i < 128; ++i)
    {
        combo->AddItem(String::Format(u"Preset %d", i));
    }
    combo->SetSelectedIndex(100);
    LRegion whole;
    whole.AddRect(EdgesI{0, 0, 1024, 768});
    const auto context = renderer->MakeContext(RectI{0, 0, 1024, 768});
    std::size_t calls = 0;
    for (auto _ : state)
    {
        combo->ShowDropDown(true);
        renderer->RenderStart(context);
        window->Paint(whole);
        renderer->RenderFinish(context);
        benchmark::DoNotOptimize(renderer->calls.size());
        state.PauseTiming();
        if (!combo->IsDropDownShown())
        {
            state.SkipWithError("the list did not open");
            break;
        }
        calls = renderer->calls.size();
        combo->ShowDropDown(false);
        renderer->ClearRecord();
        state.ResumeTiming();
    }
    // What one paint of the open list recorded.
    state.counters["drawCalls"] = static_cast<double>(calls);
    window->ReleaseInternalReferences();
}
BENCHMARK(BM_OpenComboOf128Items)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace KR
