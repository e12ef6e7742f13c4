// The list box: items apart from the rows that show them, selection with anchor and caret,
// the numbered texts it loads, keys, scrolling by rebinding and the drop-down rules.

#include "kr/controls/ListBox.h"
#include "ControlsTestSupport.h"
#include "kr/core/Wrapper.h"
#include "kr/ui/StringTable.h"

#include <gtest/gtest.h>

#include <random>

namespace KR
{
namespace
{

using namespace ControlsTest;

// The skin's own rows, "item1".."item3", each an item.
const std::string kOwnRows = R"(
<SubControl Class="Test.Group" Name="main" XSizeAbs="400" YSizeAbs="300"><Skin Name="main">
  <SubControl Class="Framework.ListBox" Name="list" XSizeAbs="200" YSizeAbs="60"><Skin Name="list" LookList="one">
    <SubControl Class="Framework.ListBoxItem" Name="item1" XSizeAbs="180" YSizeAbs="14"><Skin Name="r1" LookList="r14"/></SubControl>
    <SubControl Class="Framework.ListBoxItem" Name="item2" YPositionAbs="14" XSizeAbs="180" YSizeAbs="14"><Skin Name="r2" LookList="r14"/></SubControl>
    <SubControl Class="Framework.ListBoxItem" Name="item3" YPositionAbs="28" XSizeAbs="180" YSizeAbs="14"><Skin Name="r3" LookList="r14"/></SubControl>
  </Skin></SubControl>
</Skin></SubControl>)";

struct ListBoxTest : ::testing::Test
{
    Scene scene{kTemplateList};
    RCPtr<LListBox> list = scene.Find<LListBox>(u"list");
    RCPtr<Recorder> recorder = Recorder::Create();

    void SetUp() override
    {
        ASSERT_TRUE(list);
        recorder->Listen(RCPtr<LControl>(list),
                         {u"NID_SELECTION_CHANGE", u"NID_ITEM_ACTIVATED", u"NID_ITEM_DOUBLE_CLICKED"});
    }
    void Fill(int count)
    {
        for (int i = 0; i < count; ++i)
        {
            list->InsertItem(list->GetItemDataCount(), MakeStringTag(String::Format(u"item %d", i)));
        }
    }
    Result Key(std::uint32_t code)
    {
        KeyCode key;
        key.code = code;
        return list->OnKeyDown(LKeyParam::Create(key, false));
    }
    std::vector<std::string> Received() { return std::exchange(recorder->received, {}); }
    // Row k shows item first shown + k; rows past the last item are disabled and empty.
    void ExpectRowsBound()
    {
        for (std::int32_t k = 0; k < list->GetRowCount(); ++k)
        {
            const std::int32_t index = list->GetFirstShown() + k;
            const RCPtr<LListBoxItem> row = list->GetRow(k);
            EXPECT_EQ(row->GetText(), list->GetItemText(index)) << k;
            EXPECT_EQ(row->IsEnabled(false), index < list->GetItemDataCount()) << k;
            EXPECT_EQ(row->GetValue() >= 0.5, list->IsItemSelected(index)) << k;
        }
    }
};

TEST_F(ListBoxTest, LoadsTheNumberedTextsAndIgnoresEveryOtherId)
{
    const struct
    {
        const char* name;
        std::vector<std::pair<const char16_t*, const char16_t*>> texts;
        std::int32_t count;
        std::int32_t index;
        const char16_t* text;
    } rows[] = {
        {"a gap stays empty", {{u"ITEM.00", u"a"}, {u"ITEM.02", u"c"}}, 3, 1, u""},
        {"a gap, the last", {{u"ITEM.00", u"a"}, {u"ITEM.02", u"c"}}, 3, 2, u"c"},
        {"one digit", {{u"ITEM.7", u"seven"}}, 8, 7, u"seven"},
        {"bad ids",
         {{u"ITEM.-1", u"x"},
          {u"ITEM.x", u"x"},
          {u"ITEM.", u"x"},
          {u"ITEM.4096", u"x"},
          {u"item.01", u"x"},
          {u"ITEM.1 ", u"x"}},
         0,
         0,
         u""},
        {"the largest number", {{u"ITEM.4095", u"last"}}, 4096, 4095, u"last"},
        {"other ids beside", {{u"TOOLTIP", u"t"}, {u"ITEM.01", u"b"}}, 2, 1, u"b"},
    };
    for (const auto& row : rows)
    {
        TextMap texts;
        for (const auto& [id, text] : row.texts)
        {
            texts[String(id)] = String(text);
        }
        const RCPtr<LStringTable> table(new LStringTable(texts));
        EXPECT_EQ(list->LoadItemTexts(ConstRCPtr<LStringTable>(table)), kOk) << row.name;
        EXPECT_EQ(list->GetItemDataCount(), row.count) << row.name;
        EXPECT_EQ(list->GetItemText(row.index), String(row.text)) << row.name;
        ExpectRowsBound();
    }
    EXPECT_EQ(list->LoadItemTexts(nullptr), kInvalidArg);
}

TEST_F(ListBoxTest, AnEmptyListTakesNoKeyAndHitsNoItem)
{
    EXPECT_EQ(list->GetRowCount(), 6);
    for (const std::uint32_t code : {0x20260000u, 0x20280000u, 0x200D0000u})
    {
        EXPECT_EQ(Key(code), kOk);
    }
    EXPECT_EQ(list->GetCaret(), -1);
    EXPECT_EQ(list->GetSelectedCount(), 0);
    EXPECT_TRUE(Received().empty());
    EXPECT_EQ(list->GetItemText(0), String());
    const PointD origin = list->GetAbsolutePosition();
    EXPECT_EQ(list->HitTestItem(PointD{origin.x + 5, origin.y + 5}), -1);
    ExpectRowsBound();
}

TEST_F(ListBoxTest, SelectionKeepsAnchorCaretAndCount)
{
    Fill(5);
    const struct
    {
        const char* name;
        std::function<Result()> call;
        Result result;
        std::int32_t anchor, caret, count;
        std::vector<std::string> sent;
    } rows[] = {
        {"select 1",
         [&] { return list->SelectRange(1, -1, true); },
         1,
         1,
         1,
         1,
         {"list:NID_SELECTION_CHANGE"}},
        {"1 again, alone", [&] { return list->SelectRange(1, -1, true); }, 1, 1, 1, 1, {}},
        {"4 to 2", [&] { return list->SelectRange(4, 2, true); }, 4, 4, 2, 3, {"list:NID_SELECTION_CHANGE"}},
        {"deselect the caret",
         [&] { return list->DeselectItem(2); },
         kOk,
         4,
         3,
         2,
         {"list:NID_SELECTION_CHANGE"}},
        {"deselect again", [&] { return list->DeselectItem(2); }, 1, 4, 3, 2, {}},
        {"first past the end", [&] { return list->SelectRange(5, 5, true); }, kInvalidArg, 4, 3, 2, {}},
        {"negative first", [&] { return list->SelectRange(-1, 2, true); }, kInvalidArg, 4, 3, 2, {}},
        {"add 0 to 1",
         [&] { return list->SelectRange(0, 1, false); },
         0,
         0,
         1,
         4,
         {"list:NID_SELECTION_CHANGE"}},
        {"SetItem value 0 on a selected item",
         [&]
         {
             list->SetItem(3, MakeStringTag(String(u"x")), 0.0, false, false);
             return kOk;
         },
         kOk,
         0,
         1,
         3,
         {}},
        {"Up from 1", [&] { return Key(0x20260000); }, kOk, 0, 0, 1, {"list:NID_SELECTION_CHANGE"}},
        {"Shift+Down as Down", [&] { return Key(0x22280000); }, kOk, 1, 1, 1, {"list:NID_SELECTION_CHANGE"}},
        {"Ctrl+Up is not taken", [&] { return Key(0x21260000); }, kNothingDone, 1, 1, 1, {}},
        {"Shift+Up as Up", [&] { return Key(0x22260000); }, kOk, 0, 0, 1, {"list:NID_SELECTION_CHANGE"}},
        {"Up at the top", [&] { return Key(0x20260000); }, kOk, 0, 0, 1, {}},
        {"Enter", [&] { return Key(0x200D0000); }, kOk, 0, 0, 1, {"list:NID_ITEM_ACTIVATED"}},
        {"Down", [&] { return Key(0x20280000); }, kOk, 1, 1, 1, {"list:NID_SELECTION_CHANGE"}},
        {"Down again", [&] { return Key(0x20280000); }, kOk, 2, 2, 1, {"list:NID_SELECTION_CHANGE"}},
        {"remove an item before the caret", [&] { return list->RemoveItem(0); }, 4, 1, 1, 1, {}},
        {"Down to the next item",
         [&] { return Key(0x20280000); },
         kOk,
         2,
         2,
         1,
         {"list:NID_SELECTION_CHANGE"}},
        {"remove the caret's item",
         [&] { return list->RemoveItem(2); },
         3,
         -1,
         -1,
         0,
         {"list:NID_SELECTION_CHANGE"}},
        {"deselect all of none",
         [&]
         {
             list->DeselectAll();
             return kOk;
         },
         kOk,
         -1,
         -1,
         0,
         {}},
    };
    for (const auto& row : rows)
    {
        EXPECT_EQ(row.call(), row.result) << row.name;
        EXPECT_EQ(list->GetAnchor(), row.anchor) << row.name;
        EXPECT_EQ(list->GetCaret(), row.caret) << row.name;
        EXPECT_EQ(list->GetSelectedCount(), row.count) << row.name;
        EXPECT_EQ(static_cast<std::int32_t>(list->GetSelectedIndices().size()), row.count) << row.name;
        EXPECT_EQ(Received(), row.sent) << row.name;
        ExpectRowsBound();
    }
}

TEST_F(ListBoxTest, PageKeysReachTheVerticalBar)
{
    const RCPtr<KeyBar> bar = scene.Find<KeyBar>(u"vBar");
    ASSERT_TRUE(bar);
    EXPECT_EQ(Key(0x20220000), kNothingDone) << "no items: the bar is hidden";
    EXPECT_EQ(bar->lastKey, 0u);
    Fill(20);
    EXPECT_EQ(Key(0x20220000), kOk);
    EXPECT_EQ(bar->lastKey, 0x20220000u);
    EXPECT_EQ(Key(0x20240000), kOk);
    EXPECT_EQ(bar->lastKey, 0x20240000u);
}

// The list of 5 whole rows with a real bar: a channel as long as the list, a thumb in it.
const std::string kRealBarList = ControlsTest::SkinDocument(R"(
<SubControl Class="Test.Group" Name="main" XSizeAbs="400" YSizeAbs="300"><Skin Name="main">
  <SubControl Class="Framework.ListBox" Name="list" XSizeAbs="200" YSizeAbs="75"><Skin Name="list" LookList="one">
    <SubControl Class="Framework.ListBoxItem" Name="templateItem" XSizeAbs="180" YSizeAbs="14"><Skin Name="row" LookList="r14"/></SubControl>
    <SubControl Class="Framework.ScrollBar" Name="vBar" XPositionAbs="190" XSizeAbs="10" YSizeAbs="75"><Skin Name="bar">
      <SubControl Class="Framework.ScrollChannel" Name="channel" XSizeAbs="10" YSizeAbs="75"><Skin Name="channel" LookList="c3">
        <SubControl Class="Framework.Button" Name="thumb" XSizeAbs="10" YSizeAbs="10"><Skin Name="thumb" LookList="b14"/></SubControl>
      </Skin></SubControl>
    </Skin></SubControl>
  </Skin></SubControl>
</Skin></SubControl>)",
                                                            ControlsTest::LookList("r14", 14));

TEST(ListBoxRealBarTest, PageHomeAndEndMoveTheRowsThroughTheBar)
{
    Scene scene{kRealBarList};
    const RCPtr<LListBox> list = scene.Find<LListBox>(u"list");
    ASSERT_TRUE(list && list->GetScrollBar(LScrollView::kVertical));
    const auto key = [&](std::uint32_t code)
    {
        KeyCode pressed;
        pressed.code = code;
        return list->OnKeyDown(LKeyParam::Create(pressed, false));
    };
    EXPECT_EQ(key(0x20220000), kNothingDone) << "Page Down without items";
    for (int i = 0; i < 40; ++i)
    {
        list->InsertItem(i, MakeStringTag(String::Format(u"item %d", i)));
    }
    const struct
    {
        const char* name;
        std::uint32_t code;
        Result result;
        std::int32_t first;
    } rows[] = {
        {"Page Down", 0x20220000, kOk, 5},
        {"Page Down again", 0x20220000, kOk, 10},
        {"End", 0x20230000, kOk, 35},
        {"Page Up", 0x20210000, kOk, 30},
        {"Home", 0x20240000, kOk, 0},
        {"Right: no horizontal bar", 0x20270000, kNothingDone, 0},
        {"Shift+Page Down", 0x22220000, kNothingDone, 0},
    };
    for (const auto& row : rows)
    {
        EXPECT_EQ(key(row.code), row.result) << row.name;
        EXPECT_EQ(list->GetFirstShown(), row.first) << row.name;
        EXPECT_EQ(list->GetScrollOffset().y, 14.0 * row.first) << row.name;
    }
    list->GetScrollBar(LScrollView::kVertical)->SetVisible(false);
    EXPECT_EQ(key(0x20230000), kNothingDone) << "End with the bar hidden";
    EXPECT_EQ(list->GetFirstShown(), 0);
}

TEST_F(ListBoxTest, KeepingAnItemVisibleScrollsByWholeRowsAndRebinds)
{
    Fill(20);
    ASSERT_EQ(list->GetRowHeight(), 14);
    const struct
    {
        std::int32_t index;
        double offset;
        std::int32_t first;
    } rows[] = {{9, 70, 5}, {2, 28, 2}, {19, 28 + 14 * 13, 15}, {0, 0, 0}};
    for (const auto& row : rows)
    {
        EXPECT_EQ(list->EnsureItemVisible(row.index), kOk) << row.index;
        EXPECT_EQ(list->GetScrollOffset().y, row.offset) << row.index;
        EXPECT_EQ(list->GetFirstShown(), row.first) << row.index;
        ExpectRowsBound();
    }
    EXPECT_EQ(list->EnsureItemVisible(20), kInvalidArg);
    EXPECT_EQ(list->EnsureItemVisible(-1), kInvalidArg);
}

TEST_F(ListBoxTest, WithFewerItemsThanRowsTheTopStaysAtTheFirstItem)
{
    Fill(20);
    list->EnsureItemVisible(9);
    list->SetItemCount(3);
    list->SetScrollOffset(PointD{0, 42});
    EXPECT_EQ(list->EnsureItemVisible(2), kOk);
    EXPECT_EQ(list->GetScrollOffset().y, 0);
    EXPECT_EQ(list->GetFirstShown(), 0);
    ExpectRowsBound();
}

TEST_F(ListBoxTest, FindsTextsIgnoringCase)
{
    Fill(4);
    list->SetItemTag(3, MakeStringTag(String(u"ITEM 1")));
    EXPECT_EQ(list->FindItemByText(String(u"item 1"), -1), 1);
    EXPECT_EQ(list->FindItemByText(String(u"item 1"), 1), 3);
    EXPECT_EQ(list->FindItemByText(String(u"item 1"), 99), 1);
    EXPECT_EQ(list->FindItemByText(String(u"item 1")), 3);
    EXPECT_EQ(list->FindItemByText(String(u"none"), -1), -1);
}

TEST_F(ListBoxTest, AGeneratedRunOfCallsKeepsTheInvariants)
{
    std::mt19937 random(37);
    for (int step = 0; step < 400; ++step)
    {
        const std::int32_t count = list->GetItemDataCount();
        const std::int32_t index = static_cast<std::int32_t>(random() % 30) - 3;
        switch (random() % 7)
        {
        case 0:
            list->InsertItem(index, MakeStringTag(String::Format(u"n%d", step)));
            break;
        case 1:
            list->RemoveItem(index);
            break;
        case 2:
            list->SelectRange(index, static_cast<std::int32_t>(random() % 30) - 3, random() % 2 == 0);
            break;
        case 3:
            list->DeselectItem(index);
            break;
        case 4:
            list->EnsureItemVisible(index);
            break;
        case 5:
            list->SetItemCount(static_cast<std::int32_t>(random() % 25));
            break;
        default:
        {
            // Generated ids, only some of them well formed.
            static const char16_t* const forms[] = {u"ITEM.%d", u"ITEM.-%d", u"item.%d", u"ITEM.%dx",
                                                    u"ITEM.0%d"};
            TextMap texts;
            std::int32_t expected = 0;
            for (int n = 0; n < 3; ++n)
            {
                const std::size_t form = random() % 5;
                const int number = static_cast<int>(random() % 40);
                texts[String::Format(forms[form], number)] = String::Format(u"t%d", number);
                if (form == 0 || form == 4)
                {
                    expected = std::max(expected, number + 1);
                }
            }
            ASSERT_EQ(list->LoadItemTexts(ConstRCPtr<LStringTable>(new LStringTable(texts))), kOk) << step;
            ASSERT_EQ(list->GetItemDataCount(), expected) << step;
            break;
        }
        }
        (void)count;
        std::int32_t selected = 0;
        for (std::int32_t i = 0; i < list->GetItemDataCount(); ++i)
        {
            selected += list->IsItemSelected(i) ? 1 : 0;
        }
        ASSERT_EQ(list->GetSelectedCount(), selected) << step;
        ASSERT_LT(list->GetAnchor(), std::max(1, list->GetItemDataCount())) << step;
        ASSERT_LT(list->GetCaret(), std::max(1, list->GetItemDataCount())) << step;
        ASSERT_GE(list->GetAnchor(), -1) << step;
        ASSERT_GE(list->GetCaret(), -1) << step;
        ExpectRowsBound();
    }
}

TEST_F(ListBoxTest, InDropDownModeTheListFollowsItsItemsHoverSelectsAndAReleaseActivates)
{
    list->SetDropDownMode(true);
    Fill(2);
    const double height = list->GetSize().y;
    Fill(1);
    EXPECT_EQ(list->GetSize().y, height + 14);
    const RCPtr<LListBoxItem> row = list->GetRow(1);
    row->OnMouseEnter();
    EXPECT_EQ(list->GetCaret(), 1);
    row->SendNotificationByName(u"NID_MOUSE_DOWN", LMouseButtonParam::Create(MouseButton::kLeft, PointI{3, 3},
                                                                             0, true, MouseButton::kLeft));
    EXPECT_TRUE(Received().empty()) << "no selection change nor double click in drop-down mode";
    const PointD at = row->GetPosition();
    list->OnLeftButtonUp(LMouseButtonParam::Create(
        MouseButton::kLeft, PointI{static_cast<int>(at.x) + 2, static_cast<int>(at.y) + 2}, 0, false, 0));
    EXPECT_EQ(Received(), std::vector<std::string>{"list:NID_ITEM_ACTIVATED"});
    EXPECT_FALSE(list->IsShown(false));
    list->SetVisible(true);
    list->OnLeftButtonUp(LMouseButtonParam::Create(MouseButton::kLeft, PointI{-500, 5}, 0, false, 0));
    EXPECT_TRUE(Received().empty());
    EXPECT_FALSE(list->IsShown(false)) << "a release outside the parent hides the list";
}

TEST_F(ListBoxTest, SnapsToWholeRowsAndMeasuresItemWidths)
{
    Fill(1);
    EXPECT_EQ(list->GetItemWidth(0), static_cast<std::int32_t>(list->GetItemWidth(0)));
    EXPECT_EQ(list->GetItemWidth(1), 0);
    EXPECT_EQ(list->GetItemWidth(-1), 0);
    const struct
    {
        double size;
        double snapped;
    } rows[] = {{50, 42}, {5, 14}, {75, 70}};
    for (const auto& row : rows)
    {
        DockedPositionSpec position;
        SizeSpec size;
        list->GetLayoutDescriptor()->GetPlacement(1, position, size);
        size.absolute = row.size;
        list->SetPlacement(1, position, size);
        list->SnapToRows();
        EXPECT_EQ(list->GetSize().y, row.snapped) << row.size;
    }
}

TEST(ListBoxOwnRowsTest, TheSkinsRowsGiveTheItemsAndAClickSelects)
{
    Scene scene(kOwnRows);
    const RCPtr<LListBox> list = scene.Find<LListBox>(u"list");
    ASSERT_TRUE(list);
    ASSERT_EQ(list->GetRowCount(), 3);
    EXPECT_EQ(list->GetItemDataCount(), 3);
    EXPECT_EQ(list->GetItemText(2), list->GetRow(2)->GetText());
    const RCPtr<Recorder> recorder = Recorder::Create();
    recorder->Listen(RCPtr<LControl>(list), {u"NID_SELECTION_CHANGE", u"NID_ITEM_DOUBLE_CLICKED"});
    const RCPtr<LListBoxItem> row = list->GetRow(1);
    row->SendNotificationByName(u"NID_MOUSE_DOWN", LMouseButtonParam::Create(MouseButton::kLeft, PointI{3, 3},
                                                                             0, true, MouseButton::kLeft));
    EXPECT_EQ(list->GetCaret(), 1);
    EXPECT_EQ(recorder->received,
              (std::vector<std::string>{"list:NID_SELECTION_CHANGE", "list:NID_ITEM_DOUBLE_CLICKED"}));
    const PointD at = row->GetAbsolutePosition();
    EXPECT_EQ(list->HitTestItem(PointD{at.x + 2, at.y + 2}), 1);
}

} // namespace
} // namespace KR
