// The splitters between two panes with minimum sizes: the cursor and the one axis each
// moves on, the anchor's and the far pane's limits, the bar brought back inside after the
// window shrinks, and the disabled look.

#include "kr/controls/SplitterH.h"
#include "kr/controls/SplitterV.h"
#include "kr/ui/MouseTestSupport.h"
#include "support/LookStandIn.h"

#include <gtest/gtest.h>

#include <string>

namespace KR
{
namespace
{

using MouseTest::MouseControl;

// Along the splitter's axis: "left" (the anchor) at 60, 100 long and at least 50, the
// splitter placed against "left" and 100 long, "right" from the splitter's far edge to the
// parent's (at least 80). The other axis spans the parent's 100.
struct SplitterScene
{
    explicit SplitterScene(bool vertical) : axis(vertical ? 0 : 1)
    {
        scene.root->SetFrame(PointD{}, PointD{400, 400});
        left = MouseControl::Make(scene.root, u"left", RectD{});
        if (vertical)
        {
            splitter = new LSplitterV(RCPtr<LControl>(scene.root), String(u"split"));
        }
        else
        {
            splitter = new LSplitterH(RCPtr<LControl>(scene.root), String(u"split"));
        }
        right = MouseControl::Make(scene.root, u"right", RectD{});
        Place(*left, Position(kPositionToClient, u"", 0.0f, 60), Size(kSizeToSelf, u"", 0.0f, 100), 50);
        Place(*splitter, Position(kPositionToNamed, u"left", 0.0f, 0), Size(kSizeToSelf, u"", 0.0f, 100), 0);
        Place(*right, Position(kPositionToNamed, u"split", 1.0f, 0), Size(kSizeToParent, u"", 1.0f, 0), 80);
        for (int i = 0; i < 7; ++i)
        {
            splitter->AddLook(RCPtr<LLook>(new TestSupport::LStandInLook(nullptr, false)));
        }
        splitter->InitializeConditions();
        splitter->Initialize();
        splitter->SetCreationFinished();
        Layout();
    }
    ~SplitterScene() { splitter->ReleaseInternalReferences(); }

    static DockedPositionSpec Position(std::int32_t reference, const char16_t* name, float relative,
                                       double absolute)
    {
        DockedPositionSpec spec;
        spec.reference = reference;
        spec.referenceName = String(name);
        spec.relative = relative;
        spec.absolute = absolute;
        return spec;
    }
    static SizeSpec Size(std::int32_t reference, const char16_t* name, float relative, double absolute)
    {
        SizeSpec spec;
        spec.reference = reference;
        spec.referenceName = String(name);
        spec.relative = relative;
        spec.absolute = absolute;
        return spec;
    }
    void Place(LControl& control, const DockedPositionSpec& position, const SizeSpec& size, double minimum)
    {
        const DockedPositionSpec across;
        const SizeSpec whole = Size(kSizeToSelf, u"", 0.0f, 100);
        if (axis == 0)
        {
            control.SetPlacements(position, size, across, whole);
        }
        else
        {
            control.SetPlacements(across, whole, position, size);
        }
        LimitSpec low;
        low.absolute = minimum;
        control.SetSizeLimits(axis, low, LimitSpec{});
    }
    void Layout()
    {
        scene.root->UpdateLayout();
        scene.root->UpdateLayout();
    }
    // The pointer pressed at 95 along the axis, dragged to `to`, released there.
    void Drag(double to)
    {
        const PointI press = axis == 0 ? PointI{95, 50} : PointI{50, 95};
        const PointI at =
            axis == 0 ? PointI{static_cast<std::int32_t>(to), 70} : PointI{70, static_cast<std::int32_t>(to)};
        MouseTest::Press(*splitter, press.x, press.y);
        MouseTest::Move(*splitter, at.x, at.y);
        MouseTest::Release(*splitter, at.x, at.y);
        Layout();
    }
    double Along(const PointD& point) const { return axis == 0 ? point.x : point.y; }
    double Across(const PointD& point) const { return axis == 0 ? point.y : point.x; }

    MouseTest::Scene scene;
    std::int32_t axis;
    RCPtr<MouseControl> left;
    RCPtr<LSplitterBase> splitter;
    RCPtr<MouseControl> right;
};

TEST(Splitter, EachShowsItsCursorAndMovesTheSplitOnItsAxisWithinThePanesLimits)
{
    const struct
    {
        const char* name;
        double to;
        double split; // where "right" then starts
    } rows[] = {
        {"along", 135, 200},
        {"past the anchor's minimum", -300, 110},
        {"past the far pane's minimum", 900, 320},
    };
    for (const bool vertical : {true, false})
    {
        for (const auto& row : rows)
        {
            SplitterScene s(vertical);
            const char* cursor = vertical ? "UI_CURSOR_SIZE_WE" : "UI_CURSOR_SIZE_NS";
            ASSERT_FALSE(s.scene.app.cursorNames.empty());
            EXPECT_EQ(s.scene.app.cursorNames.back(), String(cursor)) << vertical;
            EXPECT_EQ(s.splitter->GetCursor(), s.scene.app.cursorNames.size()) << vertical;
            ASSERT_EQ(s.Along(s.right->GetPosition()), 160) << vertical;
            s.Drag(row.to);
            EXPECT_EQ(s.Along(s.right->GetPosition()), row.split) << row.name << vertical;
            EXPECT_EQ(s.Across(s.right->GetPosition()), 0) << row.name << vertical;
            EXPECT_EQ(s.Across(s.splitter->GetPosition()), 0) << row.name << vertical << " stays on its axis";
            EXPECT_EQ(s.Along(s.splitter->GetPosition()), 60) << row.name << vertical;
            DockedPositionSpec place;
            SizeSpec extent;
            s.splitter->GetLayoutDescriptor()->GetPlacement(s.axis, place, extent);
            EXPECT_EQ(place.reference, kPositionToNamed)
                << row.name << vertical << " the anchor's spec comes back";
            EXPECT_EQ(place.referenceName, String(u"left")) << row.name << vertical;
        }
    }
}

TEST(Splitter, AWindowShrunkBelowTheRangeGetsTheSplitBackInsideAtTheNextLayout)
{
    SplitterScene s(true);
    s.scene.root->SetFrame(PointD{}, PointD{200, 400});
    s.Layout();
    EXPECT_EQ(s.right->GetPosition().x, 120);
    EXPECT_EQ(s.right->GetSize().x, 80);
}

TEST(Splitter, DisabledShowsLookSixAndDoesNotDrag)
{
    SplitterScene s(false);
    EXPECT_EQ(s.splitter->GetActiveLookIndex(), LSplitterBase::kNormalLook);
    s.splitter->SetEnabled(false);
    s.splitter->UpdateConditions();
    EXPECT_EQ(s.splitter->GetActiveLookIndex(), LSplitterBase::kDisabledLook);
    s.Drag(135);
    EXPECT_EQ(s.right->GetPosition().y, 160);
}

} // namespace
} // namespace KR
