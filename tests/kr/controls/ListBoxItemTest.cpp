// The list row: the look its flags, value and conditions choose, the press it hands to the
// list in drop-down mode and its text as tooltip when clipped.

#include "kr/controls/ListBoxItem.h"
#include "ControlsTestSupport.h"

#include <gtest/gtest.h>

namespace KR
{
namespace
{

using namespace ControlsTest;

const std::string kItemRows = R"(
<SubControl Class="Test.Group" Name="main" XSizeAbs="400" YSizeAbs="300"><Skin Name="main">
  <SubControl Class="Test.Group" Name="list" XSizeAbs="200" YSizeAbs="100"><Skin Name="list" LookList="one">
    <SubControl Class="Framework.ListBoxItem" Name="row" YPositionAbs="14" XSizeAbs="200" YSizeAbs="14"><Skin Name="row" LookList="r14"/></SubControl>
  </Skin></SubControl>
</Skin></SubControl>)";

enum class Pointer
{
    None,
    Hot,
    PressedHot,
    PressedOff
};

TEST(ListBoxItemTest, TheLookFollowsFlagsValueAndConditions)
{
    const struct
    {
        const char* name;
        bool blank, enabled, selected, alternate;
        Pointer pointer;
        std::int32_t look;
    } rows[] = {
        {"plain", false, true, false, false, Pointer::None, 0},
        {"blank", true, true, false, false, Pointer::None, 13},
        {"blank selected hot", true, true, true, false, Pointer::Hot, 13},
        {"disabled selected", false, false, true, false, Pointer::None, 13},
        {"disabled", false, false, false, false, Pointer::None, 6},
        {"disabled hot alternate", false, false, false, true, Pointer::Hot, 6},
        {"hot", false, true, false, false, Pointer::Hot, 1},
        {"hot alternate selected", false, true, true, true, Pointer::Hot, 11},
        {"pressed and hot", false, true, false, false, Pointer::PressedHot, 2},
        {"pressed and hot, alternate", false, true, false, true, Pointer::PressedHot, 5},
        {"pressed and hot, selected", false, true, true, false, Pointer::PressedHot, 9},
        {"pressed and hot, both", false, true, true, true, Pointer::PressedHot, 12},
        {"pressed, dragged off", false, true, false, false, Pointer::PressedOff, 1},
        {"pressed, dragged off, selected", false, true, true, false, Pointer::PressedOff, 8},
        {"selected alternate", false, true, true, true, Pointer::None, 10},
    };
    for (const auto& row : rows)
    {
        Scene scene(kItemRows);
        const RCPtr<LListBoxItem> item = scene.Find<LListBoxItem>(u"row");
        ASSERT_TRUE(item);
        item->SetText(String(u"text"));
        item->SetBlank(row.blank);
        item->SetAlternate(row.alternate);
        item->SetValue(row.selected ? 1.0 : 0.0);
        item->SetEnabled(row.enabled);
        if (row.pointer != Pointer::None)
        {
            item->OnMouseEnter();
        }
        if (row.pointer == Pointer::PressedHot || row.pointer == Pointer::PressedOff)
        {
            Press(*item, 5, 5);
            Move(*item, 60, 5);
        }
        if (row.pointer == Pointer::PressedOff)
        {
            item->OnMouseLeave();
        }
        EXPECT_EQ(item->GetVisualState(), row.look) << row.name;
        EXPECT_EQ(item->GetActiveLookIndex(), row.look) << row.name;
        EXPECT_EQ(item->GetText() == String(u"text"), !row.blank) << row.name;
    }
}

TEST(ListBoxItemTest, BlankTwiceChangesNothingAndClearingKeepsTheTextEmpty)
{
    Scene scene(kItemRows);
    const RCPtr<LListBoxItem> item = scene.Find<LListBoxItem>(u"row");
    ASSERT_TRUE(item);
    item->SetText(String(u"text"));
    item->SetBlank(true);
    item->SetText(String(u"bound again"));
    item->SetBlank(true);
    EXPECT_EQ(item->GetText(), String(u"bound again"));
    item->SetBlank(false);
    EXPECT_EQ(item->GetText(), String(u"bound again"));
    EXPECT_EQ(item->GetActiveLookIndex(), LListBoxItem::kNormalLook);
}

// Records where a begin-drag reached it.
class DragSink : public LControl
{
public:
    using LControl::LControl;
    Result BeginDrag(std::uint32_t button, std::int32_t x, std::int32_t y) override
    {
        seen = {x, y};
        ++count;
        (void)button;
        return kOk;
    }
    PointI seen{};
    int count = 0;
};

TEST(ListBoxItemTest, InDropDownModeAPressIsHandedToTheListInItsCoordinates)
{
    Scene scene(kItemRows);
    const RCPtr<DragSink> list(new DragSink(scene.main, String(u"sink")));
    const RCPtr<LListBoxItem> item(new LListBoxItem(RCPtr<LControl>(list), String(u"row")));
    item->SetFrame(PointD{3, 28}, PointD{100, 14});
    item->BeginDrag(MouseButton::kLeft, 5, 6);
    EXPECT_EQ(list->count, 0);
    item->SetDropDown(true);
    item->BeginDrag(MouseButton::kLeft, 5, 6);
    EXPECT_EQ(list->count, 1);
    EXPECT_EQ(list->seen.x, 8);
    EXPECT_EQ(list->seen.y, 34);
    item->ReleaseInternalReferences();
    list->ReleaseInternalReferences();
}

} // namespace
} // namespace KR
