// A skinned checked list in a real window on the test X server, clicked with xdotool: the
// row clicked shows selected, the check box clicked shows checked, rows past the items show
// disabled without a check box.

#include "kr/controls/CheckedListBox.h"
#include "kr/controls/ControlClasses.h"
#include "kr/core/Wrapper.h"
#include "kr/ui/MouseTestSupport.h"
#include "kr/ui_display/PaintedWindow.h"

#include <chrono>

namespace KR::UiDisplayTest
{
namespace
{

// The list at (10, 60), 100 wide, rows 14 high; a row's check box 10 by 10 at (3, 2) in it.
constexpr std::int32_t kRowX = 60;
constexpr std::int32_t kCheckX = 18;
constexpr std::int32_t RowY(std::int32_t row)
{
    return 60 + 14 * row + 7;
}

class ListWindow : public PaintedWindow
{
protected:
    void SetUp() override
    {
        PaintedWindow::SetUp();
        if (IsSkipped())
        {
            return;
        }
        app.factory->RegisterControlClass(String(u"Framework.ScrollChannel"),
                                          &LControl::CreateFromSkin<LControl>);
        RegisterFrameworkControlClasses(*app.factory);
        Open(u"lists", 160, 120);
        list = RCPtr<LCheckedListBox>(Child(u"list"));
        ASSERT_TRUE(list);
        for (int i = 0; i < 3; ++i)
        {
            list->InsertItem(i, MakeStringTag(String::Format(u"item %d", i)));
        }
        ASSERT_TRUE(WaitForPixel(kRowX, RowY(0), kWhite)) << "row 0 shows item 0";
        TakeFocus();
    }
    void TearDown() override
    {
        recorder->UnregisterForAllNotifications();
        PaintedWindow::TearDown();
    }
    void Click(std::int32_t x, std::int32_t y)
    {
        PointAt(x, y);
        ASSERT_EQ(Xdo("click 1"), 0);
    }

    RCPtr<LCheckedListBox> list;
    RCPtr<UiTest::Recorder> recorder = UiTest::Recorder::Create();
};

TEST_F(ListWindow, AClickedRowShowsSelectedAndAClickedCheckBoxChecked)
{
    recorder->Listen(RCPtr<LControl>(list), {u"NID_ITEM_CHECK_CHANGE"});
    const WindowPixels first = Read();
    EXPECT_EQ(first.At(kCheckX, RowY(0)), kBlue) << "unchecked";
    EXPECT_EQ(first.At(kRowX, RowY(3)), kGrey) << "no item: disabled";
    EXPECT_EQ(first.At(kCheckX, RowY(3)), kGrey) << "no item: no check box";

    Click(kRowX, RowY(1));
    EXPECT_TRUE(RunUntil([&] { return Read().At(kRowX, RowY(1)) == kRed; })) << "row 1 selected";
    EXPECT_EQ(list->GetCaret(), 1);

    Click(kCheckX, RowY(2));
    EXPECT_TRUE(RunUntil([&] { return Read().At(kCheckX, RowY(2)) == kYellow; })) << "item 2 checked";
    const WindowPixels after = Read();
    WritePng(after, "checked-list.png");
    EXPECT_EQ(after.At(kRowX, RowY(2)), kRed) << "the checked item is selected";
    EXPECT_EQ(after.At(kRowX, RowY(1)), kWhite) << "and alone";
    EXPECT_TRUE(list->IsItemChecked(2));
    ASSERT_EQ(recorder->received, std::vector<std::string>{"list:NID_ITEM_CHECK_CHANGE"});
}

} // namespace
} // namespace KR::UiDisplayTest
