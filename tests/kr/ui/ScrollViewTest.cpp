#include "kr/ui/ScrollView.h"

#include "ControlTestSupport.h"
#include "kr/render/MenuDescriptor.h"
#include "kr/ui/KeyCode.h"
#include "support/ScrollbarStandIn.h"

#include <gtest/gtest.h>

namespace KR
{
namespace
{

using Bar = TestSupport::LScrollbarStandIn;

void Place(const RCPtr<LControl>& control, double x, double y, double width, double height,
           bool docked = false)
{
    DockedPositionSpec px;
    px.absolute = x;
    px.docked = docked;
    DockedPositionSpec py = px;
    py.absolute = y;
    control->SetPlacements(px, SizeSpec{kSizeToSelf, String(), 0.0f, width}, py,
                           SizeSpec{kSizeToSelf, String(), 0.0f, height});
}

struct ScrollViewTest : ::testing::Test
{
    // A view of `size` with 10-unit bars docked right and bottom.
    void Make(double width, double height)
    {
        view = RCPtr<LScrollView>(new LScrollView(RCPtr<IRootWindowServices>(window), String(u"view")));
        view->SetFrame(PointD{}, PointD{width, height});
        v = RCPtr<Bar>(new Bar(RCPtr<LControl>(view), String(u"vBar")));
        h = RCPtr<Bar>(new Bar(RCPtr<LControl>(view), String(u"hBar")));
        Place(v, width - 10, 0, 10, height, true);
        Place(h, 0, height - 10, width, 10, true);
        ASSERT_EQ(view->Initialize(), kOk);
    }
    void TearDown() override
    {
        if (view)
        {
            view->ReleaseInternalReferences();
        }
    }
    RCPtr<UiTest::FakeRootWindow> window = UiTest::FakeRootWindow::Create();
    RCPtr<LScrollView> view;
    RCPtr<Bar> v, h;
};

TEST_F(ScrollViewTest, BarsTakeTheFractionsOfTheContentsTheyShow)
{
    struct Row
    {
        const char* name;
        double extentHeight;
        double thumb, page, line, range;
        bool shown;
    };
    // The view is 400 high once no horizontal bar takes room.
    const Row rows[] = {
        {"contents of 1000", 1000, 0.4, 400.0 / 600.0, 400.0 / 6000.0, 600, true},
        {"contents as large as the view", 400, 1.0, 1.0, 0.1, 0, false},
    };
    for (const Row& row : rows)
    {
        Make(300, 400);
        view->SetClientExtent(100, row.extentHeight);
        EXPECT_EQ(view->IsScrollBarShown(LScrollView::kVertical), row.shown) << row.name;
        EXPECT_FALSE(view->IsScrollBarShown(LScrollView::kHorizontal)) << row.name;
        EXPECT_NEAR(v->thumb, row.thumb, 1e-6) << row.name;
        EXPECT_NEAR(v->page, row.page, 1e-6) << row.name;
        EXPECT_NEAR(v->line, row.line, 1e-6) << row.name;
        EXPECT_NEAR(v->InterpolateValue(1.0), row.range, 1e-9) << row.name;
        EXPECT_EQ(view->GetScrollOffset().y, 0.0) << row.name;
        view->ReleaseInternalReferences();
    }
    Make(300, 400);
    view->SetClientExtent(100, 1000);
    v->SetValue(0.5);
    EXPECT_EQ(view->GetScrollOffset().y, 300.0);
}

// A bar's change reaches the view's bars' table before the control's own table, which here
// holds an entry for the same notification from any sender (a context-menu command of that
// name) and would otherwise take it.
TEST_F(ScrollViewTest, TheBarsTableIsAskedBeforeTheControlsOwn)
{
    Make(300, 400);
    view->SetClientExtent(100, 1000);
    const RCPtr<LMenuDescriptor> menu = LMenuDescriptor::Create();
    menu->InsertItem(0, String(u"Change"), String(u"NID_VALUE_CHANGE"), 1, 0);
    ASSERT_EQ(view->SetContextMenu(menu), kOk);
    v->SetValue(0.5);
    EXPECT_EQ(view->GetScrollOffset().y, 300.0);
}

TEST_F(ScrollViewTest, TheRoomOfOneBarCanMakeTheOtherNeeded)
{
    Make(300, 400);
    view->SetClientExtent(295, 1000); // fits across only without the vertical bar
    EXPECT_TRUE(view->IsScrollBarShown(LScrollView::kVertical));
    EXPECT_TRUE(view->IsScrollBarShown(LScrollView::kHorizontal));
    EXPECT_EQ(view->GetClientArea().width, 290.0);
    EXPECT_EQ(view->GetClientArea().height, 390.0);
    view->SetClientExtent(100, 100);
    EXPECT_FALSE(view->IsScrollBarShown(LScrollView::kVertical));
    EXPECT_FALSE(view->IsScrollBarShown(LScrollView::kHorizontal));
    view->SetClientExtent(100, 1000); // a hidden bar comes back
    EXPECT_TRUE(view->IsScrollBarShown(LScrollView::kVertical));
}

TEST_F(ScrollViewTest, LineModeCountsWholeLinesAndASizeOfZeroScrollsByUnits)
{
    Make(300, 110);
    view->SetLineSize(LScrollView::kVertical, 20);
    view->SetLineMode(LScrollView::kVertical, true);
    view->SetClientExtent(100, 500);
    EXPECT_NEAR(v->line, 0.05, 1e-9);
    EXPECT_NEAR(v->thumb, 0.2, 1e-9);
    EXPECT_NEAR(v->page, 0.25, 1e-9);
    EXPECT_NEAR(v->InterpolateValue(1.0), 20.0, 1e-9);
    v->SetValue(v->NormalizeValue(3.0));
    EXPECT_EQ(view->GetScrollOffset().y, 60.0);

    view->SetLineSize(LScrollView::kVertical, 0);
    EXPECT_NEAR(v->InterpolateValue(1.0), 390.0, 1e-9);
    v->SetValue(0.5);
    EXPECT_EQ(view->GetScrollOffset().y, 195.0);
}

TEST_F(ScrollViewTest, AnOffsetSetInCodeMovesTheBarWithoutComingBack)
{
    Make(300, 400);
    view->SetClientExtent(100, 1000);
    const RCPtr<UiTest::Recorder> recorder = UiTest::Recorder::Create();
    recorder->Listen(RCPtr<LControl>(view), {u"NID_SCROLL_OFFSET_CHANGE"});
    view->SetScrollOffset(PointD{0, 150});
    EXPECT_NEAR(v->GetValue(), 0.25, 1e-9);
    EXPECT_EQ(view->GetScrollOffset().y, 150.0);
    EXPECT_EQ(recorder->received.size(), 1u);
}

TEST_F(ScrollViewTest, TheWheelScrollsTheBarItsModifiersChoose)
{
    struct Row
    {
        const char* name;
        bool vertical;
        std::uint32_t modifiers;
        std::uint32_t direction;
        double dv, dh;
    };
    const Row rows[] = {
        {"vertical notch", true, 0, WheelDirection::kTowardsUser, 1, 0},
        {"away from the user", true, 0, WheelDirection::kAwayFromUser, -1, 0},
        {"Alt turns it across", true, ModifierFlag::kAlt, WheelDirection::kTowardsUser, 0, 1},
        {"Shift takes a page", true, ModifierFlag::kShift, WheelDirection::kTowardsUser, 10, 0},
        {"horizontal wheel", false, 0, WheelDirection::kLeft, 0, 1},
    };
    for (const Row& row : rows)
    {
        Make(300, 400);
        view->SetClientExtent(2000, 2000);
        v->SetValue(0.5);
        h->SetValue(0.5);
        v->line = h->line = 0.01;
        v->page = h->page = 0.1;
        const RCPtr<LMouseWheelParam> wheel =
            LMouseWheelParam::Create(PointI{}, row.modifiers, row.direction);
        EXPECT_EQ(row.vertical ? view->OnVerticalWheel(wheel) : view->OnHorizontalWheel(wheel), kOk)
            << row.name;
        // The bar snaps back to the whole unit the contents moved to: within one unit of the range.
        EXPECT_NEAR(v->GetValue(), 0.5 + row.dv * 0.01, 1e-3) << row.name;
        EXPECT_NEAR(h->GetValue(), 0.5 + row.dh * 0.01, 1e-3) << row.name;
        view->ReleaseInternalReferences();
    }
    Make(300, 400);
    EXPECT_EQ(view->OnVerticalWheel(LMouseWheelParam::Create(PointI{}, 0, 0)), kNothingDone);
}

TEST_F(ScrollViewTest, TheAutomaticExtentFollowsUndockedChildrenAndTheExtras)
{
    Make(300, 400);
    const RCPtr<UiTest::TestControl> child =
        UiTest::TestControl::Make(RCPtr<LControl>(view), u"child", RectD{20, 30, 500, 700});
    view->SetScrollOptions(LScrollView::kAutoWidth | LScrollView::kAutoHeight, 5, 7);
    EXPECT_EQ(view->GetClientExtent(), (PointD{525, 737}));
    view->SetScrollOptions(LScrollView::kAutoHeight, 0, 0);
    EXPECT_EQ(view->GetClientExtent(), (PointD{525, 730}));
}

} // namespace
} // namespace KR
