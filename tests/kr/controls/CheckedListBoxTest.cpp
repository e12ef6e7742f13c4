// The checked list: check states and icons in its own records, shown by reused rows without
// a click being heard, the check box's click reported for the item it shows, the count of
// checked items through every change of the count.

#include "kr/controls/CheckedListBox.h"
#include "ControlsTestSupport.h"
#include "kr/controls/Button.h"
#include "kr/controls/CheckedListBoxItem.h"
#include "kr/controls/IndexedDataWithValueParam.h"
#include "kr/core/Wrapper.h"
#include "support/BitmapSourceStandIn.h"

#include <gtest/gtest.h>

namespace KR
{
namespace
{

using namespace ControlsTest;

// 5 whole rows of 14 in a list 75 high, each row with a check box.
const std::string kCheckedRows = R"(
  <SubControl Class="Framework.CheckedListBoxItem" Name="templateItem" XSizeAbs="180" YSizeAbs="14"><Skin Name="row" LookList="r14">
    <SubControl Class="Framework.Button" Name="checkBox" XPositionAbs="3" XSizeAbs="10" YSizeAbs="10"><Skin Name="check" LookList="r14"/></SubControl>
  </Skin></SubControl>)";

std::string ListSkin(const char* className, const char* lookList)
{
    return std::string(
               R"(<SubControl Class="Test.Group" Name="main" XSizeAbs="400" YSizeAbs="300"><Skin Name="main">)"
               R"(<SubControl Class=")") +
           className + R"(" Name="list" XSizeAbs="200" YSizeAbs="75"><Skin Name="list" LookList=")" +
           lookList + "\">" + kCheckedRows + "</Skin></SubControl></Skin></SubControl>";
}

// Look 3 of the icon list carries three image parts, cut side by side from one picture.
std::string IconSkin()
{
    std::string parts;
    std::string docked;
    for (int i = 0; i < 3; ++i)
    {
        parts += "<Part Name=\"icon" + std::to_string(i) +
                 R"(" Width="4" Height="4" ResizeType="Center" ImageFile="icons.png" ImageLocX=")" +
                 std::to_string(4 * i) + R"(" ImageLocY="0"/>)";
        docked += "<NonClientPart Name=\"icon" + std::to_string(i) + R"(" OffsetLeft="0" OffsetTop="0"/>)";
    }
    return R"(<?xml version="1.0" encoding="utf-8"?><Test_Skins><Application Name="PresetEditor"><Parts>)" +
           parts + R"(</Parts><Looks><Look Name="plain"/><Look Name="icons"><NonClientParts>)" + docked +
           "</NonClientParts></Look></Looks><LookLists>" + ControlsTest::LookList("r14", 14) +
           R"(<LookList Name="withIcons" NumLooks="4"><Look Name="plain" Index="0"/><Look Name="icons" Index="3"/></LookList>)"
           R"(</LookLists><Skins><Skin Name="One">)" +
           ListSkin("Framework.ListBoxWithIcons", "withIcons") + "</Skin></Skins></Application></Test_Skins>";
}

struct CheckedListBoxTest : ::testing::Test
{
    Scene scene{ListSkin("Framework.CheckedListBox", "one")};
    RCPtr<LCheckedListBox> list = scene.Find<LCheckedListBox>(u"list");
    RCPtr<Recorder> recorder = Recorder::Create();

    void SetUp() override
    {
        ASSERT_TRUE(list);
        ASSERT_EQ(list->GetRowCount(), 6);
        recorder->Listen(RCPtr<LControl>(list), {u"NID_ITEM_CHECK_CHANGE", u"NID_SELECTION_CHANGE"});
    }
    void Fill(int count)
    {
        for (int i = 0; i < count; ++i)
        {
            list->InsertItem(list->GetItemDataCount(), MakeStringTag(String::Format(u"item %d", i)));
        }
    }
    std::int32_t CountChecked()
    {
        std::int32_t checked = 0;
        for (std::int32_t i = 0; i < list->GetItemDataCount(); ++i)
        {
            checked += list->IsItemChecked(i) ? 1 : 0;
        }
        return checked;
    }
    // Each row's check box shows its item's state and is hidden past the last item.
    void ExpectCheckBoxesShowTheItems()
    {
        for (std::int32_t k = 0; k < list->GetRowCount(); ++k)
        {
            const std::int32_t index = list->GetFirstShown() + k;
            const RCPtr<LButton> checkBox = list->GetRowControl(k)->GetCheckBox();
            EXPECT_EQ(checkBox->GetValue() >= 0.5, list->IsItemChecked(index)) << k;
            EXPECT_EQ(checkBox->IsShown(false), index < list->GetItemDataCount()) << k;
        }
        EXPECT_EQ(list->GetCheckedCount(), CountChecked());
    }
};

TEST_F(CheckedListBoxTest, AClickOnACheckBoxReportsTheItemItShowsAndSelectsIt)
{
    Fill(10);
    list->EnsureItemVisible(6);
    ASSERT_EQ(list->GetFirstShown(), 2);
    const RCPtr<LButton> checkBox = list->GetRowControl(2)->GetCheckBox();
    EXPECT_TRUE(checkBox->IsAutoValueSet());
    Press(*checkBox, 2, 2);
    Release(*checkBox, 2, 2);
    ASSERT_EQ(recorder->received,
              (std::vector<std::string>{"list:NID_SELECTION_CHANGE", "list:NID_ITEM_CHECK_CHANGE"}));
    const RCPtr<LIndexedDataWithValueParam> param(recorder->last);
    ASSERT_TRUE(param);
    EXPECT_EQ(param->index, 4);
    EXPECT_EQ(param->value, 1.0);
    EXPECT_FALSE(param->data);
    EXPECT_TRUE(list->IsItemChecked(4));
    EXPECT_EQ(list->GetCaret(), 4);
    EXPECT_EQ(list->GetSelectedIndices(), std::vector<std::int32_t>{4});
    ExpectCheckBoxesShowTheItems();

    // Reused rows show other items' states without a word.
    recorder->received.clear();
    for (const std::int32_t index : {0, 9, 3})
    {
        list->EnsureItemVisible(index);
        ExpectCheckBoxesShowTheItems();
    }
    EXPECT_TRUE(recorder->received.empty());
    list->SetItemCount(3);
    ExpectCheckBoxesShowTheItems();
    EXPECT_EQ(recorder->received, std::vector<std::string>{"list:NID_SELECTION_CHANGE"}) << "item 4 left";
}

TEST_F(CheckedListBoxTest, TheCheckedCountFollowsEveryChangeOfTheItems)
{
    const struct
    {
        const char* name;
        std::function<std::int32_t()> call;
        std::int32_t result;
        std::int32_t count;
        std::int32_t checked;
    } rows[] = {
        {"grow", [&] { return list->SetItemCount(8); }, 8, 8, 0},
        {"check 1, 5, 7",
         [&]
         {
             for (const std::int32_t index : {1, 5, 7})
             {
                 list->SetItemChecked(index, true);
             }
             return 0;
         },
         0, 8, 3},
        {"checked again changes nothing",
         [&]
         {
             list->SetItemChecked(5, true);
             return 0;
         },
         0, 8, 3},
        {"past the end is ignored",
         [&]
         {
             list->SetItemChecked(8, true);
             list->SetItemChecked(-1, true);
             return 0;
         },
         0, 8, 3},
        {"the same count", [&] { return list->SetItemCount(8); }, 8, 8, 3},
        {"shrink below 5", [&] { return list->SetItemCount(4); }, 4, 4, 1},
        {"grow again, unchecked", [&] { return list->SetItemCount(9); }, 9, 9, 1},
        {"remove the checked item", [&] { return list->RemoveItem(1); }, 8, 8, 0},
        {"insert at the end", [&] { return list->InsertItem(8, nullptr); }, 8, 9, 0},
    };
    for (const auto& row : rows)
    {
        EXPECT_EQ(row.call(), row.result) << row.name;
        EXPECT_EQ(list->GetItemDataCount(), row.count) << row.name;
        EXPECT_EQ(list->GetCheckedCount(), row.checked) << row.name;
        ExpectCheckBoxesShowTheItems();
    }
    EXPECT_FALSE(list->IsItemChecked(8));
    EXPECT_FALSE(list->GetItemIcon(8));
    EXPECT_TRUE(recorder->received.empty());
}

TEST_F(CheckedListBoxTest, ARowWithoutAnIconKeepsItsCheckBoxLooks)
{
    Fill(3);
    const RCPtr<LButton> checkBox = list->GetRowControl(0)->GetCheckBox();
    const RCPtr<LVisualPart> skinPart = checkBox->GetActiveLook(0)->GetClientPart();
    list->EnsureItemVisible(2);
    EXPECT_EQ(checkBox->GetActiveLook(0)->GetClientPart().Get(), skinPart.Get());
    const ConstRCPtr<LBitmap> icon(new LBitmap(4, 4));
    list->SetItemIcon(0, icon);
    for (std::uint32_t look = 0; look < checkBox->GetLookCount(); ++look)
    {
        ASSERT_TRUE(checkBox->GetActiveLook(static_cast<std::int32_t>(look))->GetClientPart()) << look;
        EXPECT_EQ(
            checkBox->GetActiveLook(static_cast<std::int32_t>(look))->GetClientPart()->GetBitmap().Get(),
            icon.Get())
            << look;
    }
    EXPECT_EQ(list->GetItemIcon(0).Get(), icon.Get());
}

TEST(CheckedListBoxIconTest, ThreeIconsRepeatDownTheItems)
{
    TestSupport::SizedBitmapSource bitmaps({{u"icons.png", {12, 4}}});
    Scene scene(IconSkin());
    const RCPtr<LCheckedListBox> list = scene.Find<LCheckedListBox>(u"list");
    ASSERT_TRUE(list);
    ASSERT_EQ(list->GetIcons().size(), 3u);
    EXPECT_TRUE(list->GetCheckBoxLookFollowsRow());
    for (int i = 0; i < 7; ++i)
    {
        list->InsertItem(i, MakeStringTag(String::Format(u"i%d", i)));
    }
    for (std::int32_t i = 0; i < 7; ++i)
    {
        EXPECT_EQ(list->GetItemIcon(i).Get(), list->GetIcons()[static_cast<std::size_t>(i % 3)].Get()) << i;
    }
    for (std::int32_t k = 0; k < list->GetRowCount(); ++k)
    {
        const RCPtr<LButton> checkBox = list->GetRowControl(k)->GetCheckBox();
        EXPECT_TRUE(checkBox->mouseTransparent) << k;
        const RCPtr<LVisualPart>& part = checkBox->GetActiveLook(0)->GetClientPart();
        ASSERT_TRUE(part) << k;
        EXPECT_EQ(part->GetBitmap().Get(), list->GetIcons()[static_cast<std::size_t>(k % 3)].Get()) << k;
    }
}

} // namespace
} // namespace KR
