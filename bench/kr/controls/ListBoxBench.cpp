// The list box over 10000 items: 100 wheel notches, each rebinding the few rows to other
// items (a plain list, and a checked one whose check boxes are set quietly), a search for
// a text no item has, and loading 128 numbered texts from a string table.

#include "kr/controls/CheckedListBox.h"
#include "kr/controls/ControlsTestSupport.h"
#include "kr/controls/ListBox.h"
#include "kr/core/Wrapper.h"
#include "kr/ui/StringTable.h"

#include <benchmark/benchmark.h>

namespace KR
{
namespace
{

constexpr int kItems = 10000;
constexpr int kNotches = 100;

// 20 rows of 14 shown, a bar beside them.
std::string ListSkin(const char* listClass, const char* rowClass)
{
    return std::string(
               R"(<SubControl Class="Test.Group" Name="main" XSizeAbs="400" YSizeAbs="400"><Skin Name="main">)") +
           R"(<SubControl Class=")" + listClass +
           R"(" Name="list" XSizeAbs="200" YSizeAbs="280"><Skin Name="list" LookList="one">)"
           R"(<SubControl Class=")" +
           rowClass +
           R"(" Name="templateItem" XSizeAbs="180" YSizeAbs="14"><Skin Name="row" LookList="r14">)"
           R"(<SubControl Class="Framework.Button" Name="checkBox" XPositionAbs="3" XSizeAbs="10" YSizeAbs="10"><Skin Name="check" LookList="r14"/></SubControl>)"
           R"(</Skin></SubControl>)"
           R"(<SubControl Class="Test.Bar" Name="vBar" XPositionAbs="190" XSizeAbs="10" YSizeAbs="280"><Skin Name="bar" LookList="one"/></SubControl>)"
           R"(</Skin></SubControl></Skin></SubControl>)";
}

void FillTexts(LListBox& list)
{
    list.SetItemCount(kItems);
    for (int i = 0; i < kItems; ++i)
    {
        list.SetItemTag(i, MakeStringTag(String::Format(u"Preset %d", i)));
    }
}

void WheelNotches(benchmark::State& state, const char* listClass, const char* rowClass)
{
    ControlsTest::Scene scene(ListSkin(listClass, rowClass));
    const RCPtr<LListBox> list = scene.Find<LListBox>(u"list");
    if (!list || list->GetRowCount() < 20)
    {
        state.SkipWithError("no list of 20 rows");
        return;
    }
    FillTexts(*list);
    const RCPtr<LMouseWheelParam> notch =
        LMouseWheelParam::Create(PointI{5, 5}, 0, WheelDirection::kTowardsUser);
    for (auto _ : state)
    {
        for (int i = 0; i < kNotches; ++i)
        {
            list->OnVerticalWheel(notch);
        }
        state.PauseTiming();
        if (list->GetFirstShown() != kNotches)
        {
            state.SkipWithError("the wheel did not scroll by rows");
            break;
        }
        list->SetScrollOffset(PointD{});
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kNotches);
}

void BM_ListBoxHundredWheelNotchesOver10000Items(benchmark::State& state)
{
    WheelNotches(state, "Framework.ListBox", "Framework.ListBoxItem");
}
BENCHMARK(BM_ListBoxHundredWheelNotchesOver10000Items);

void BM_CheckedListBoxHundredWheelNotchesOver10000Items(benchmark::State& state)
{
    WheelNotches(state, "Framework.CheckedListBox", "Framework.CheckedListBoxItem");
}
BENCHMARK(BM_CheckedListBoxHundredWheelNotchesOver10000Items);

void BM_ListBoxFindMissingTextAmong10000Items(benchmark::State& state)
{
    ControlsTest::Scene scene(ListSkin("Framework.ListBox", "Framework.ListBoxItem"));
    const RCPtr<LListBox> list = scene.Find<LListBox>(u"list");
    if (!list)
    {
        state.SkipWithError("no list");
        return;
    }
    FillTexts(*list);
    const String missing(u"preset missing");
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(list->FindItemByText(missing, -1));
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_ListBoxFindMissingTextAmong10000Items);

void BM_ListBoxLoad128NumberedTexts(benchmark::State& state)
{
    ControlsTest::Scene scene(ListSkin("Framework.ListBox", "Framework.ListBoxItem"));
    const RCPtr<LListBox> list = scene.Find<LListBox>(u"list");
    if (!list)
    {
        state.SkipWithError("no list");
        return;
    }
    TextMap texts;
    for (int i = 0; i < 128; ++i)
    {
        texts[String::Format(u"ITEM.%03d", i)] = String::Format(u"Program %d", i);
    }
    texts[String(u"LABEL")] = String(u"Programs");
    const ConstRCPtr<LStringTable> table(new LStringTable(texts));
    for (auto _ : state)
    {
        list->LoadItemTexts(table);
    }
    if (list->GetItemDataCount() != 128)
    {
        state.SkipWithError("not 128 items");
    }
    state.SetItemsProcessed(state.iterations() * 128);
}
BENCHMARK(BM_ListBoxLoad128NumberedTexts);

} // namespace
} // namespace KR
