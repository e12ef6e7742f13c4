// The checked row: its check box never takes the focus and keeps the row hot while the
// pointer is on it; its looks by index.

#include "kr/controls/CheckedListBoxItem.h"
#include "ControlsTestSupport.h"
#include "kr/controls/Button.h"

#include <gtest/gtest.h>

namespace KR
{
namespace
{

using namespace ControlsTest;

const std::string kCheckedRow = R"(
<SubControl Class="Test.Group" Name="main" XSizeAbs="400" YSizeAbs="300"><Skin Name="main">
  <SubControl Class="Framework.CheckedListBoxItem" Name="row" XSizeAbs="200" YSizeAbs="20"><Skin Name="row" LookList="r14">
    <SubControl Class="Framework.Button" Name="checkBox" XPositionAbs="3" XSizeAbs="16" YSizeAbs="16"><Skin Name="check" LookList="r14"/></SubControl>
  </Skin></SubControl>
</Skin></SubControl>)";

TEST(CheckedListBoxItemTest, TheRowStaysHotWhileThePointerIsOnItsCheckBox)
{
    Scene scene(kCheckedRow);
    const RCPtr<LCheckedListBoxItem> row = scene.Find<LCheckedListBoxItem>(u"row");
    ASSERT_TRUE(row);
    const RCPtr<LButton> checkBox = row->GetCheckBox();
    ASSERT_TRUE(checkBox);
    EXPECT_TRUE(checkBox->IsNotFocusable(false));
    EXPECT_TRUE(checkBox->UsesParentToolTip());
    checkBox->OnMouseEnter();
    EXPECT_EQ(row->GetVisualState(), LListBoxItem::kHotLook);
    checkBox->OnMouseLeave();
    EXPECT_EQ(row->GetVisualState(), LListBoxItem::kNormalLook);

    EXPECT_EQ(row->SetRowLook(20, false), 0);
    EXPECT_EQ(row->GetActiveLookIndex(), LListBoxItem::kNormalLook);
    EXPECT_EQ(row->SetRowLook(4, false), 1);
    EXPECT_EQ(row->GetActiveLookIndex(), 4);
    EXPECT_EQ(row->SetCheckBoxLook(3, false), kOk);
    EXPECT_EQ(checkBox->GetActiveLookIndex(), 3);
}

} // namespace
} // namespace KR
