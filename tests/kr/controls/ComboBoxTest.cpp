// The combo box: where its list opens, the press that goes on as a drag over the rows, the
// selection rules, the text box, keys and looks, and a skin without a list.

#include "kr/controls/ComboBox.h"
#include "ControlsTestSupport.h"
#include "SliderTestSupport.h"
#include "kr/controls/ListBoxItem.h"
#include "kr/controls/TextBox.h"
#include "kr/core/Wrapper.h"
#include "kr/ui/StringTable.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace KR
{
namespace
{

using namespace ControlsTest;

// A combo box at (10, y) of 120 x 20 with a list of 14-unit rows, without border or Y maximum,
// and a hidden bar as in the application's skins.
std::string Combo(const char* name, int y, const char* klass = "Framework.ComboBox", const char* extra = "",
                  const char* params = "")
{
    return std::string(R"(<SubControl Class=")") + klass + R"(" Name=")" + name +
           R"(" XPositionAbs="10" YPositionAbs=")" + std::to_string(y) +
           R"(" XSizeAbs="120" YSizeAbs="20"><Skin Name=")" + name + R"(" LookList="b14">
    <SubControl Class="Framework.ListBox" Name="listBox" ClipToParent="False" XSizeAbs="120" YSizeAbs="14"><Skin Name=")" +
           name + R"(List" LookList="one">
      <SubControl Class="Framework.ListBoxItem" Name="templateItem" XSizeAbs="120" YSizeAbs="14"><Skin Name=")" +
           name + R"(Row" LookList="b14"/></SubControl>
      <SubControl Class="Framework.ScrollBar" Name="vBar" XPositionAbs="110" XSizeAbs="10" YSizeAbs="300" IsVisible="False"><Skin Name=")" +
           name + R"(Bar" LookList="one"/></SubControl>
    </Skin></SubControl>)" +
           extra + "</Skin>" + params + "</SubControl>";
}

std::string Main(const std::string& children)
{
    return R"(<SubControl Class="Test.Group" Name="main" XSizeAbs="1024" YSizeAbs="768"><Skin Name="main">)" +
           children + "</Skin></SubControl>";
}

const std::string kTextBox =
    R"(<SubControl Class="Framework.TextBox" Name="textBox" XSizeAbs="100" YSizeAbs="20"><Skin Name="t" LookList="b14"/></SubControl>)";

std::string InitialIndex(const char* value)
{
    return std::string(R"(<CreateParamList><CreateParam ID="INITIAL_SELECTED_INDEX">)") + value +
           "</CreateParam></CreateParamList>";
}

constexpr const char* kComboStrings = R"(<?xml version="1.0" encoding="utf-8"?>
<Test_Strings>
  <StringTable ID="Test.Group|init2"><String ID="ITEM.00"><Locale LCID="9">a</Locale></String>
    <String ID="ITEM.01"><Locale LCID="9">b</Locale></String><String ID="ITEM.02"><Locale LCID="9">c</Locale></String></StringTable>
  <StringTable ID="Test.Group|init3"><String ID="ITEM.00"><Locale LCID="9">a</Locale></String>
    <String ID="ITEM.01"><Locale LCID="9">b</Locale></String><String ID="ITEM.02"><Locale LCID="9">c</Locale></String></StringTable>
</Test_Strings>)";

using SliderTest::Key;

struct ComboBoxTest : ::testing::Test
{
    Scene scene{Main(Combo("low", 700) + Combo("high", 100) +
                     Combo("text", 300, "Framework.ComboTextBox", kTextBox.c_str()) +
                     Combo("init2", 400, "Framework.ComboBox", "", InitialIndex("2").c_str()) +
                     Combo("init3", 450, "Framework.ComboBox", "", InitialIndex("3").c_str())),
                kComboStrings};
    RCPtr<Recorder> recorder = Recorder::Create();

    RCPtr<LComboBox> Make(const char16_t* name, int items)
    {
        const RCPtr<LComboBox> combo = scene.Find<LComboBox>(name);
        EXPECT_TRUE(combo);
        for (int i = 0; i < items; ++i)
        {
            combo->AddItem(String::Format(u"item %d", i));
        }
        recorder->Listen(RCPtr<LControl>(combo), {u"NID_DROPDOWN_OPENING", u"NID_SELECTION_CHANGE",
                                                  u"NID_TEXTBOX_VALIDATED", u"NID_TEXTBOX_TEXT_CHANGE"});
        return combo;
    }
    std::vector<std::string> Received() { return std::exchange(recorder->received, {}); }
    // A press on the combo; when the list took the capture, the combo loses it, as the
    // window tells it.
    void PressCombo(LComboBox& combo, int x, int y)
    {
        Press(combo, x, y);
        if (scene.window->capture != &combo)
        {
            combo.OnCaptureLost();
        }
    }
};

TEST_F(ComboBoxTest, TheListOpensWhereTheWindowHasRoomAndAPressDragsOverItsRows)
{
    const struct
    {
        const char16_t* name;
        const char* narrow;
        double top;
        bool upwards;
    } rows[] = {{u"low", "low", 700, true}, {u"high", "high", 100, false}};
    for (const auto& row : rows)
    {
        const RCPtr<LComboBox> combo = Make(row.name, 10);
        const RCPtr<LListBox> list = combo->GetListBox();
        ASSERT_TRUE(list);
        EXPECT_FALSE(combo->IsDropDownShown());
        static_cast<LControl&>(*combo).SetText(String(u"no such item"));
        ASSERT_EQ(combo->ShowDropDown(true), kOk);
        const std::vector<std::string> opened = Received();
        ASSERT_FALSE(opened.empty());
        EXPECT_EQ(opened.front(), std::string(row.narrow) + ":NID_DROPDOWN_OPENING");
        EXPECT_TRUE(combo->IsDropDownShown());
        EXPECT_EQ(combo->GetActiveLookIndex(), LComboBox::kLookOpen);
        const PointD at = list->GetAbsolutePosition();
        EXPECT_EQ(list->GetSize().y, 140) << row.narrow;
        EXPECT_GE(list->GetSize().x, 120) << "at least as wide as the combo";
        EXPECT_EQ(row.upwards ? at.y + list->GetSize().y : at.y, row.upwards ? row.top : row.top + 20)
            << row.narrow;
        EXPECT_EQ(list->GetCaret(), 0) << "no item shows the text: item 0";
        EXPECT_TRUE(list->IsItemSelected(0));
        combo->ShowDropDown(false);
        EXPECT_FALSE(combo->IsDropDownShown());
    }

    // A press opens the list and goes on as a drag on it from that very press: a move
    // onto row 3 and the release there pick item 3 and close the list.
    const RCPtr<LComboBox> combo = scene.Find<LComboBox>(u"low");
    const RCPtr<LListBox> list = combo->GetListBox();
    PressCombo(*combo, 5, 5);
    Release(*list, -50, -50);
    EXPECT_FALSE(combo->IsDropDownShown()) << "a release outside the combo closes the list";
    Received();
    PressCombo(*combo, 30, 9);
    ASSERT_TRUE(combo->IsDropDownShown());
    EXPECT_TRUE(list->HasCapture());
    EXPECT_EQ(list->GetPressPoint(), (PointD{30, 9}))
        << "the list's press point, in the combo, is this press";
    const RCPtr<LListBoxItem> third = list->GetRow(3);
    ASSERT_TRUE(third) << list->GetRowCount() << " rows, list " << list->GetSize().y << " high, client "
                       << list->GetClientRect().height << " area " << list->GetClientArea().height << " row0 "
                       << list->GetRow(0)->GetPosition().y << "+" << list->GetRow(0)->GetSize().y;
    const PointD rowAt = third->GetAbsolutePosition();
    const PointD listAt = list->GetAbsolutePosition();
    const int x = static_cast<int>(rowAt.x - listAt.x) + 5;
    const int y = static_cast<int>(rowAt.y - listAt.y) + 5;
    Move(*list, x, y);
    EXPECT_EQ(list->GetCaret(), 3);
    Release(*list, x, y);
    EXPECT_EQ(combo->GetSelectedIndex(), 3);
    EXPECT_EQ(combo->GetText(), String(u"item 3"));
    EXPECT_EQ(Received(), (std::vector<std::string>{"low:NID_DROPDOWN_OPENING", "low:NID_SELECTION_CHANGE"}));
    EXPECT_FALSE(combo->IsDropDownShown());
}

TEST_F(ComboBoxTest, SelectionRules)
{
    const RCPtr<LComboBox> combo = Make(u"text", 0);
    for (const char16_t* text : {u"a", u"B", u"c", u"B"})
    {
        combo->AddItem(String(text));
    }
    const RCPtr<LTextBox> box = combo->GetTextBox();
    ASSERT_TRUE(box);
    const auto Text = [&] { return std::string(combo->GetText().ToUtf8().GetPtr()); };
    const struct
    {
        const char* name;
        std::function<void()> act;
        std::int32_t index;
        int changes;
        const char* text;
    } steps[] = {
        {"select 2", [&] { combo->SetSelectedIndex(2); }, 2, 1, "c"},
        {"the same index sets the text again, silently",
         [&]
         {
             static_cast<LControl&>(*combo).SetText(String(u"x"));
             combo->SetSelectedIndex(2);
         },
         2, 0, "c"},
        {"an insert before keeps the item", [&] { combo->InsertItem(0, MakeStringTag(String(u"z"))); }, 3, 0,
         "c"},
        {"shrinking to the selected index", [&] { combo->SetItemCount(3); }, -1, 0, "c"},
        {"an added item showing the text is selected", [&] { combo->AddItem(String(u"c")); }, 3, 1, "c"},
        {"-1", [&] { combo->SetSelectedIndex(-1); }, -1, 0, "c"},
        {"past the end", [&] { combo->SetSelectedIndex(9); }, -1, 0, "c"},
        {"SetText: the last match, any case",
         [&]
         {
             combo->AddItem(String(u"B"));
             combo->SetText(String(u"b"));
         },
         4, 1, "B"},
        {"a validated text: the first match, any case",
         [&]
         {
             box->SetText(String(u"b"), false);
             box->Validate();
         },
         2, 1, "B"},
        {"a validated text matching nothing",
         [&]
         {
             box->SetText(String(u"q"), false);
             box->Validate();
         },
         -1, 0, "B"},
    };
    for (const auto& step : steps)
    {
        Received();
        step.act();
        EXPECT_EQ(combo->GetSelectedIndex(), step.index) << step.name;
        int changes = 0;
        for (const std::string& entry : Received())
        {
            changes += entry == "text:NID_SELECTION_CHANGE" ? 1 : 0;
        }
        EXPECT_EQ(changes, step.changes) << step.name;
        EXPECT_EQ(Text(), step.text) << step.name;
    }
    // A value the list has no item for: no item, no text, no row marked when the list
    // opens, and no selection announced. The next selection shows its item again.
    combo->ClearShownItem();
    EXPECT_EQ(combo->GetSelectedIndex(), -1);
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(box->GetText(), String());
    ASSERT_EQ(combo->ShowDropDown(true), kOk);
    EXPECT_TRUE(combo->GetListBox()->GetSelectedIndices().empty());
    combo->ShowDropDown(false);
    for (const std::string& entry : Received())
    {
        EXPECT_NE(entry, "text:NID_SELECTION_CHANGE");
    }
    box->SetText(String(u"c"), false);
    box->Validate();
    EXPECT_EQ(Received(),
              (std::vector<std::string>{"text:NID_TEXTBOX_TEXT_CHANGE", "text:NID_SELECTION_CHANGE",
                                        "text:NID_TEXTBOX_VALIDATED"}))
        << "the text box's notifications are passed on";
    ASSERT_EQ(combo->ShowDropDown(true), kOk);
    EXPECT_EQ(combo->GetListBox()->GetSelectedIndices(),
              (std::vector<std::int32_t>{combo->GetSelectedIndex()}));
    combo->ShowDropDown(false);

    const RCPtr<LComboBox> init2 = scene.Find<LComboBox>(u"init2");
    const RCPtr<LComboBox> init3 = scene.Find<LComboBox>(u"init3");
    ASSERT_TRUE(init2 && init3);
    EXPECT_EQ(init2->GetItemCount(), 3);
    EXPECT_EQ(init2->GetSelectedIndex(), 2);
    EXPECT_EQ(init2->GetText(), String(u"c"));
    EXPECT_EQ(init3->GetSelectedIndex(), -1);
    EXPECT_EQ(init3->GetItemText(1), String(u"b"));
    EXPECT_EQ(init3->GetItemText(3), String());
}

// The row marked when the list opens is the one Return picks: where the shown text stands
// for more than one item, it must be the selected one, or Return silently changes the value.
TEST_F(ComboBoxTest, TheListOpensOnTheSelectedItemWhenItShowsTheText)
{
    const RCPtr<LComboBox> combo = Make(u"high", 0);
    const RCPtr<LListBox> list = combo->GetListBox();
    const struct
    {
        const char* name;
        std::vector<const char16_t*> items;
        std::int32_t selected;
        const char16_t* text; // set on the face after the selection; null keeps the item's
        std::int32_t marked;
    } rows[] = {
        {"a repeated text, the first of the two selected", {u"a", u"b", u"b", u"c"}, 1, nullptr, 1},
        {"a repeated text, the second selected", {u"a", u"b", u"b", u"c"}, 2, nullptr, 2},
        {"every item one text", {u"x", u"x", u"x"}, 0, nullptr, 0},
        {"every item one text, the middle selected", {u"x", u"x", u"x"}, 1, nullptr, 1},
        {"every item empty", {u"", u"", u""}, 1, nullptr, 1},
        {"the selected item shows another text: the last item showing it", {u"a", u"b", u"b"}, 0, u"b", 2},
        {"no item shows the text: item 0", {u"a", u"b", u"b"}, 2, u"q", 0},
    };
    for (const auto& row : rows)
    {
        combo->SetItemCount(0);
        for (const char16_t* item : row.items)
        {
            combo->AddItem(String(item));
        }
        combo->SetSelectedIndex(row.selected);
        if (row.text)
        {
            static_cast<LControl&>(*combo).SetText(String(row.text));
        }
        Received();
        ASSERT_EQ(combo->ShowDropDown(true), kOk) << row.name;
        Received();
        EXPECT_EQ(list->GetSelectedIndices(), std::vector<std::int32_t>{row.marked}) << row.name;
        EXPECT_EQ(list->OnKeyDown(Key(0x200D0000)), kOk) << row.name;
        EXPECT_FALSE(combo->IsDropDownShown()) << row.name;
        EXPECT_EQ(combo->GetSelectedIndex(), row.marked) << row.name << ": Return picks the marked row";
        const bool changed = row.marked != row.selected;
        EXPECT_EQ(Received(), changed ? std::vector<std::string>{"high:NID_SELECTION_CHANGE"}
                                      : std::vector<std::string>{})
            << row.name;
    }
}

TEST_F(ComboBoxTest, KeysAndLooks)
{
    const RCPtr<LComboBox> combo = Make(u"high", 3);
    const struct
    {
        const char* name;
        std::uint32_t code;
        Result result;
        bool shownAfter;
    } keys[] = {{"Down opens", 0x20280000, kOk, true},
                {"Down again is not taken", 0x20280000, kNothingDone, true},
                {"Escape closes", 0x201B0000, kOk, false},
                {"Enter opens", 0x200D0000, kOk, true},
                {"A letter", 0x20410000, kNothingDone, true}};
    for (const auto& key : keys)
    {
        EXPECT_EQ(combo->OnKeyDown(Key(key.code)), key.result) << key.name;
        EXPECT_EQ(combo->IsDropDownShown(), key.shownAfter) << key.name;
    }
    EXPECT_EQ(combo->DispatchKey(Key(0x201B0000)), kOk) << "Escape a child leaves closes the list";
    EXPECT_FALSE(combo->IsDropDownShown());
    EXPECT_EQ(combo->DispatchKey(Key(0x201B0000)), kNothingDone)
        << "with the list closed, Escape goes on (a dialog's cancel)";

    const struct
    {
        const char* name;
        bool hot;
        bool focused;
        bool open;
        std::int32_t look;
    } looks[] = {{"normal", false, false, false, 0}, {"focused", false, true, false, 1},
                 {"hot", true, false, false, 2},     {"hot and focused", true, true, false, 3},
                 {"open", false, false, true, 4},    {"open and hot", true, false, true, 5}};
    for (const auto& look : looks)
    {
        combo->ShowDropDown(false);
        look.focused ? combo->SetFocus(true) : combo->OnFocusLost();
        look.hot ? combo->OnMouseEnter() : combo->OnMouseLeave();
        if (look.open)
        {
            combo->ShowDropDown(true);
        }
        EXPECT_EQ(combo->GetActiveLookIndex(), look.look) << look.name;
    }
    combo->SetEnabled(false);
    EXPECT_EQ(combo->GetActiveLookIndex(), LComboBox::kLookDisabled);
}

TEST_F(ComboBoxTest, UnregisteringFromTheListClearsTheCombosEntry)
{
    const RCPtr<LComboBox> combo = Make(u"high", 3);
    const RCPtr<LNotificationDistributor> list(combo->GetListBox());
    const RCPtr<LNotification> activated = LNotification::Create(u"NID_ITEM_ACTIVATED");
    EXPECT_NE(combo->Receive(list, activated), 0);
    EXPECT_EQ(combo->UnregisterForNotification(list, u"NID_ITEM_ACTIVATED"), kOk);
    EXPECT_EQ(combo->Receive(list, activated), 0);
}

TEST(ComboBoxWithoutList, RefusesWhatNeedsTheList)
{
    Scene scene(Main(
        R"(<SubControl Class="Framework.ComboBox" Name="bare" XSizeAbs="120" YSizeAbs="20"><Skin Name="bare" LookList="b14"/></SubControl>)"));
    const RCPtr<LComboBox> combo = scene.Find<LComboBox>(u"bare");
    ASSERT_TRUE(combo);
    EXPECT_EQ(combo->Initialize(), kFail);
    EXPECT_EQ(combo->PlaceParts(), kFail);
    EXPECT_EQ(combo->ShowDropDown(true), kFail);
    EXPECT_EQ(combo->SetItemCount(3), kFail);
    EXPECT_EQ(combo->InsertItem(0, MakeStringTag(String(u"a"))), kFail);
    EXPECT_EQ(combo->InsertItem(0, nullptr), kInvalidArg);
    EXPECT_EQ(combo->AddItem(String(u"a")), kFail);
    EXPECT_EQ(combo->SetSelectedIndex(0), -1);
    EXPECT_EQ(combo->GetItemText(0), String());
    EXPECT_FALSE(combo->IsDropDownShown());
}

TEST(ComboBoxWithoutWindow, OpensItsListWhereTheSkinPutsIt)
{
    // A combo made in a tree that no window holds.
    Scene windowless(Main(Combo("loose", 700)));
    const RCPtr<LComboBox> combo = windowless.Find<LComboBox>(u"loose");
    ASSERT_TRUE(combo);
    windowless.main->SetRootWindow(nullptr);
    ASSERT_FALSE(combo->GetRootWindow());
    combo->AddItem(String(u"a"));
    const RectD before = combo->GetListBox()->GetFrame();
    EXPECT_EQ(combo->ShowDropDown(true), kOk);
    EXPECT_EQ(combo->GetListBox()->GetFrame().y, before.y);
    EXPECT_TRUE(combo->GetListBox()->IsShown(false));
}

TEST(ComboBoxClosedList, MakesOneRowUntilItOpensAndScrollsAsItWillShow)
{
    // A list four rows high at most, as the application's lists are ten.
    std::string skin = Combo("short", 100);
    skin.insert(skin.find(R"(Name="listBox")") + 14, R"( YMaxSizeAbs="56")");
    Scene scene(Main(skin));
    const RCPtr<LComboBox> combo = scene.Find<LComboBox>(u"short");
    ASSERT_TRUE(combo);
    const RCPtr<LListBox> list = combo->GetListBox();
    for (int i = 0; i < 12; ++i)
    {
        combo->AddItem(String::Format(u"item %d", i));
    }
    EXPECT_EQ(list->GetRowCount(), 1) << "the first row measures the items";
    EXPECT_EQ(list->GetOwedRowCount(), 3);

    // Selected while closed, the list scrolls as it does with its four rows made.
    const struct
    {
        int select;
        int firstShown;
    } steps[] = {{2, 0}, {9, 6}, {11, 8}, {7, 7}, {8, 7}, {0, 0}, {10, 7}};
    for (const auto& step : steps)
    {
        combo->SetSelectedIndex(step.select);
        EXPECT_EQ(list->GetFirstShown(), step.firstShown) << step.select;
        EXPECT_EQ(list->GetRowCount(), 1) << step.select;
    }

    ASSERT_EQ(combo->ShowDropDown(true), kOk);
    ASSERT_EQ(list->GetRowCount(), 4);
    EXPECT_EQ(list->GetOwedRowCount(), 0);
    EXPECT_EQ(list->GetFirstShown(), 7);
    for (std::int32_t k = 0; k < list->GetRowCount(); ++k)
    {
        const RCPtr<LListBoxItem> row = list->GetRow(k);
        EXPECT_EQ(row->GetText(), list->GetItemText(7 + k)) << k;
        EXPECT_EQ(row->GetValue() >= 0.5, k == 3) << k;
        EXPECT_EQ(row->GetSize(), list->GetRow(0)->GetSize()) << k;
        EXPECT_EQ(row->GetPosition().y, list->GetRow(0)->GetPosition().y + 14.0 * k) << k;
        EXPECT_TRUE(row->IsShown(true)) << k;
    }
    // Down from the last row scrolls by one, with the rows now made.
    list->OnKeyDown(Key(0x20280000));
    EXPECT_EQ(list->GetCaret(), 11);
    EXPECT_EQ(list->GetFirstShown(), 8);
    EXPECT_EQ(list->GetRow(3)->GetText(), String(u"item 11"));
}

TEST(ComboBoxItemTexts, ALoadedListIsSizedAsOneFilledItemByItem)
{
    Scene scene(Main(Combo("init2", 100) + Combo("filled", 300)), kComboStrings);
    const RCPtr<LComboBox> loaded = scene.Find<LComboBox>(u"init2");
    const RCPtr<LComboBox> filled = scene.Find<LComboBox>(u"filled");
    ASSERT_TRUE(loaded && filled);
    for (const char16_t* text : {u"a", u"b", u"c"})
    {
        filled->AddItem(String(text));
    }
    const RCPtr<LListBox> a = loaded->GetListBox();
    const RCPtr<LListBox> b = filled->GetListBox();
    ASSERT_EQ(a->GetItemDataCount(), 3);
    EXPECT_EQ(a->GetWidestWidth(), b->GetWidestWidth());
    EXPECT_EQ(a->GetSize(), b->GetSize());
    EXPECT_EQ(a->GetClientExtent(), b->GetClientExtent());
    EXPECT_EQ(a->GetRowCount(), b->GetRowCount());
    EXPECT_EQ(a->GetRow(0)->GetText(), String(u"a"));
    EXPECT_EQ(a->GetRow(0)->GetSize(), b->GetRow(0)->GetSize());
}

// How a closed list is sized, and which rows it has made, once its texts are loaded does not
// depend on whether it was emptied, and so sized for no items, just before. (The selection
// does: a combo box selects its first item only when it is made with its texts.)
TEST(ComboBoxItemTexts, TextsLoadedIntoAnEmptyListSizeItAsAfterEmptyingIt)
{
    const struct
    {
        const char* name;
        std::vector<const char16_t*> ids;
        const char16_t* text;
    } rows[] = {
        {"one short text", {u"ITEM.00"}, u"a"},
        {"texts wider than the list", {u"ITEM.00", u"ITEM.01"}, u"a text much wider than the list is"},
        {"more items than the bar holds", {u"ITEM.00", u"ITEM.29"}, u"b"},
        {"no numbered text", {u"TOOLTIP"}, u"t"},
    };
    const auto state = [](LComboBox& combo)
    {
        LListBox& l = *combo.GetListBox();
        const RectD area = l.GetClientArea();
        std::ostringstream out;
        out << l.GetItemDataCount() << " items " << l.GetSize().x << "x" << l.GetSize().y << " area "
            << area.x << "," << area.y << "," << area.width << "," << area.height << " extent "
            << l.GetClientExtent().x << "," << l.GetClientExtent().y << " offset " << l.GetScrollOffset().y
            << " bars " << l.IsScrollBarShown(0) << l.IsScrollBarShown(1) << " widest " << l.GetWidestWidth()
            << " rows " << l.GetRowCount() << "+" << l.GetOwedRowCount() << " first " << l.GetFirstShown();
        for (std::int32_t k = 0; k < l.GetRowCount(); ++k)
        {
            const RCPtr<LListBoxItem> row = l.GetRow(k);
            out << " [" << row->GetPosition().x << "," << row->GetPosition().y << " " << row->GetSize().x
                << "x" << row->GetSize().y << " " << row->GetText().ToUtf8().GetPtr() << "]";
        }
        return out.str();
    };
    for (const auto& row : rows)
    {
        // "loaded" takes its texts while it is made, "emptied" once it is made.
        std::string strings =
            R"(<?xml version="1.0" encoding="utf-8"?><Test_Strings><StringTable ID="Test.Group|loaded">)";
        for (const char16_t* id : row.ids)
        {
            strings += std::string(R"(<String ID=")") + String(id).ToUtf8().GetPtr() +
                       R"("><Locale LCID="9">)" + String(row.text).ToUtf8().GetPtr() + "</Locale></String>";
        }
        strings += "</StringTable></Test_Strings>";
        Scene scene(Main(Combo("loaded", 100) + Combo("emptied", 300)), strings.c_str());
        const RCPtr<LComboBox> loaded = scene.Find<LComboBox>(u"loaded");
        const RCPtr<LComboBox> emptied = scene.Find<LComboBox>(u"emptied");
        ASSERT_TRUE(loaded && emptied && loaded->GetStringTable()) << row.name;
        ASSERT_EQ(emptied->GetListBox()->RemoveAllItems(), kOk) << row.name;
        ASSERT_EQ(emptied->GetListBox()->LoadItemTexts(ConstRCPtr<LStringTable>(loaded->GetStringTable())),
                  kOk)
            << row.name;
        EXPECT_EQ(state(*loaded), state(*emptied)) << row.name;
    }
}

} // namespace
} // namespace KR
