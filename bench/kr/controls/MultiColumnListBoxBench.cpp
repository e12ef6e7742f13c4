// A multi-column list of 3 columns and 1000 rows sorted by its second column, ascending and
// descending in turn, with two rows selected that move with their rows.

#include "kr/controls/ControlClasses.h"
#include "kr/controls/ListBox.h"
#include "kr/controls/MultiColumnListBox.h"
#include "kr/core/Wrapper.h"
#include "kr/ui/ControlTestSupport.h"
#include "support/FrameworkAppStandIn.h"
#include "support/LookStandIn.h"
#include "support/ScrollbarStandIn.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

namespace KR
{
namespace
{

std::string TableSkin()
{
    std::string looks = "<LookList Name=\"r14\" NumLooks=\"14\">";
    for (int i = 0; i < 14; ++i)
    {
        looks += "<Look Name=\"plain\" Index=\"" + std::to_string(i) + "\"/>";
    }
    looks += "</LookList><LookList Name=\"one\" NumLooks=\"1\"><Look Name=\"plain\" Index=\"0\"/></LookList>";
    std::string parts;
    for (int n = 1; n <= 3; ++n)
    {
        const std::string x = std::to_string(100 * (n - 1));
        parts += "<SubControl Class=\"Framework.Button\" Name=\"buttonColumnHeader" + std::to_string(n) +
                 "\" XPositionAbs=\"" + x +
                 "\" XSizeAbs=\"100\" YSizeAbs=\"20\"><Skin Name=\"h\" LookList=\"r14\"/>"
                 "</SubControl><SubControl Class=\"Framework.listboxNoScroll\" Name=\"listboxNoScroll" +
                 std::to_string(n) + "\" XPositionAbs=\"" + x +
                 "\" YPositionAbs=\"20\" XSizeAbs=\"100\" YSizeAbs=\"280\"><Skin Name=\"c\" LookList=\"one\">"
                 "<SubControl Class=\"Framework.ListBoxItem\" Name=\"templateItem\" XSizeAbs=\"100\" "
                 "YSizeAbs=\"14\"><Skin Name=\"row\" LookList=\"r14\"/></SubControl></Skin></SubControl>";
    }
    return R"(<?xml version="1.0" encoding="utf-8"?><Test_Skins><Application Name="PresetEditor">)"
           R"(<Looks><Look Name="plain"/></Looks><LookLists>)" +
           looks + R"(</LookLists><Skins><Skin Name="One">)" +
           R"(<SubControl Class="Framework.listbox2ColumnSortable" Name="table" XSizeAbs="310" YSizeAbs="300">)"
           R"(<Skin Name="table" LookList="one">)" +
           parts +
           R"(<SubControl Class="Test.Bar" Name="vBar" XPositionAbs="300" XSizeAbs="10" YSizeAbs="300">)"
           R"(<Skin Name="bar" LookList="one"/></SubControl></Skin></SubControl>)"
           "</Skin></Skins></Application></Test_Skins>";
}

void BM_MultiColumnSortThreeColumnsOfThousandRows(benchmark::State& state)
{
    TestSupport::LookStandIns looks;
    TestSupport::LStandInFrameworkApp app;
    const std::string skin = TableSkin();
    app.factory = UiTest::MakeFactory(skin.c_str(), nullptr);
    RegisterFrameworkControlClasses(*app.factory);
    app.factory->RegisterControlClass(String(u"Test.Bar"),
                                      &LControl::CreateFromSkin<TestSupport::LScrollbarStandIn>);
    const RCPtr<UiTest::FakeRootWindow> window = UiTest::FakeRootWindow::Create();
    app.activeRootWindow = window;
    const RCPtr<LMultiColumnListBox> table(app.factory->CreateControlByName(String(u"table"), window));
    table->UpdateLayout();
    std::mt19937 random(43);
    for (int row = 0; row < 1000; ++row)
    {
        for (std::int32_t c = 0; c < 3; ++c)
        {
            LListBox& column = *table->GetColumn(c);
            const std::string text = "Preset " + std::to_string(random() % 100000);
            column.InsertItem(column.GetItemDataCount(), MakeStringTag(String(text.c_str())));
        }
    }
    table->GetColumn(0)->SelectRange(10, 10, true);
    for (auto _ : state)
    {
        table->SortByColumn(1);
    }
    state.SetItemsProcessed(state.iterations() * 1000);
    table->ReleaseInternalReferences();
}
BENCHMARK(BM_MultiColumnSortThreeColumnsOfThousandRows)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace KR
