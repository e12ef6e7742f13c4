// The checked combo box: its second set of looks while any item is checked, the face's
// check box following the selected item, the list's check changes passed on, and a list
// that is not a checked one.

#include "kr/controls/CheckedComboBox.h"
#include "ControlsTestSupport.h"
#include "kr/controls/Button.h"
#include "kr/controls/CheckedListBox.h"
#include "kr/controls/CheckedListBoxItem.h"
#include "kr/render/Bitmap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace KR
{
namespace
{

using namespace ControlsTest;

const std::string kSkin = R"(
<SubControl Class="Test.Group" Name="main" XSizeAbs="1024" YSizeAbs="768"><Skin Name="main">
  <SubControl Class="Framework.CheckedComboBox" Name="checked" XPositionAbs="10" YPositionAbs="100" XSizeAbs="120" YSizeAbs="20"><Skin Name="checked" LookList="b14">
    <SubControl Class="Framework.Button" Name="checkBox" XSizeAbs="12" YSizeAbs="12"><Skin Name="face" LookList="b14"/></SubControl>
    <SubControl Class="Framework.CheckedListBox" Name="listBox" ClipToParent="False" XSizeAbs="120" YSizeAbs="14"><Skin Name="list" LookList="one">
      <SubControl Class="Framework.CheckedListBoxItem" Name="templateItem" XSizeAbs="120" YSizeAbs="14"><Skin Name="row" LookList="b14">
        <SubControl Class="Framework.Button" Name="checkBox" XPositionAbs="3" XSizeAbs="10" YSizeAbs="10"><Skin Name="rowCheck" LookList="b14"/></SubControl>
      </Skin></SubControl>
      <SubControl Class="Framework.ScrollBar" Name="vBar" XPositionAbs="110" XSizeAbs="10" YSizeAbs="300" IsVisible="False"><Skin Name="bar" LookList="one"/></SubControl>
    </Skin></SubControl>
  </Skin></SubControl>
  <SubControl Class="Framework.CheckedComboBox" Name="plain" YPositionAbs="300" XSizeAbs="120" YSizeAbs="20"><Skin Name="plain" LookList="b14">
    <SubControl Class="Framework.ListBox" Name="listBox" XSizeAbs="120" YSizeAbs="14"><Skin Name="plainList" LookList="one"/></SubControl>
  </Skin></SubControl>
</Skin></SubControl>)";

TEST(CheckedComboBox, ChecksSwitchTheLooksAndTheFaceFollowsTheSelectedItem)
{
    Scene scene(kSkin);
    const RCPtr<LCheckedComboBox> combo = scene.Find<LCheckedComboBox>(u"checked");
    ASSERT_TRUE(combo && combo->GetCheckedList());
    const RCPtr<LCheckedListBox> list = combo->GetCheckedList();
    for (const char16_t* text : {u"a", u"b", u"c"})
    {
        combo->AddItem(String(text));
    }
    const RCPtr<Recorder> fromCombo = Recorder::Create();
    const RCPtr<Recorder> fromList = Recorder::Create();
    fromCombo->Listen(RCPtr<LControl>(combo), {u"NID_ITEM_CHECK_CHANGE"});
    fromList->Listen(RCPtr<LControl>(list), {u"NID_ITEM_CHECK_CHANGE"});
    combo->ShowDropDown(true);
    ASSERT_TRUE(list->GetRowControl(1));

    // The clicks on the rows' check boxes, the list open (look 4, or 11 while checked).
    const struct
    {
        const char* name;
        std::int32_t row;
        double value;
        std::int32_t look;
    } clicks[] = {{"the first checked", 0, 1.0, 11},
                  {"a second checked", 1, 1.0, 11},
                  {"one of two cleared", 0, 0.0, 11},
                  {"the last cleared", 1, 0.0, 4}};
    for (const auto& click : clicks)
    {
        fromCombo->received.clear();
        list->GetRowControl(click.row)->GetCheckBox()->SetValue(click.value);
        EXPECT_EQ(combo->GetActiveLookIndex(), click.look) << click.name;
        EXPECT_EQ(fromCombo->received, std::vector<std::string>{"checked:NID_ITEM_CHECK_CHANGE"})
            << click.name;
        EXPECT_EQ(fromCombo->last.Get(), fromList->last.Get()) << click.name << ": the list's own payload";
    }
    combo->OnFocusLost(); // the focus leaves the list: it closes
    list->SetItemChecked(1, true);
    combo->UpdateLook();
    EXPECT_EQ(combo->GetActiveLookIndex(), LCheckedComboBox::kCheckedLooks);

    // The face's check box shows the selected item: its state and its icon.
    const RCPtr<LButton> face(combo->FindChildControl(String(u"checkBox")));
    ASSERT_TRUE(face);
    EXPECT_TRUE(face->UsesParentToolTip());
    list->SetItemIcon(1, LBitmap::CreateFilledBitmap(4, 4, ColorF::FromARGB(0xFF00FF00)));
    const auto HasIcon = [&] { return static_cast<bool>(face->GetActiveLook(0)->GetClientPart()); };
    face->SetValue(1.0);
    combo->SetSelectedIndex(2);
    EXPECT_EQ(face->GetValue(), 0.0) << "an unchecked item";
    EXPECT_FALSE(HasIcon());
    combo->SetSelectedIndex(1);
    EXPECT_EQ(face->GetValue(), 1.0) << "a checked item";
    EXPECT_TRUE(HasIcon());
    combo->SetSelectedIndex(-1);
    EXPECT_EQ(face->GetValue(), 1.0) << "-1 keeps the value";
    EXPECT_FALSE(HasIcon()) << "and clears the images";

    const RCPtr<LCheckedComboBox> plain = scene.Find<LCheckedComboBox>(u"plain");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->Initialize(), kFail) << "a list that is not a checked list";
    EXPECT_FALSE(plain->GetCheckedList());
}

} // namespace
} // namespace KR
