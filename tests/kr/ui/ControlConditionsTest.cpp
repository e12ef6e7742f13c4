#include "ControlTestSupport.h"

#include <gtest/gtest.h>

namespace KR
{
namespace
{

using UiTest::FakeRootWindow;
using UiTest::Recorder;
using UiTest::TestControl;

using Names = std::vector<std::string>;

class ControlConditions : public ::testing::Test
{
protected:
    void TearDown() override { root->Detach(); }

    RCPtr<FakeRootWindow> window = FakeRootWindow::Create();
    RCPtr<TestControl> root = TestControl::MakeRoot(window);
    RCPtr<Recorder> recorder = Recorder::Create();
};

TEST_F(ControlConditions, ForcedHoverSendsOnlyTheHoverChangeAndNothingOverThePointer)
{
    const RCPtr<TestControl> item = TestControl::Make(root, u"item");
    recorder->Listen(item, UiTest::kConditionNames);

    item->SetForcedHover(true);
    EXPECT_EQ(recorder->received, (Names{"item:NID_CONDITION_CHANGE", "item:NID_HOVER_CONDITION_CHANGE"}));
    const RCPtr<LConditionsParam> record(recorder->last);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->current ^ record->previous, Condition::kHoverOrForced);

    item->SetForcedHover(false);
    item->OnMouseEnter();
    recorder->received.clear();
    item->SetForcedHover(true);
    item->UpdateConditions();
    EXPECT_TRUE(recorder->received.empty());
}

TEST_F(ControlConditions, DisablingAPanelNotifiesItThenItsChildrenLastFirst)
{
    const RCPtr<TestControl> panel = TestControl::Make(root, u"panel");
    const RCPtr<TestControl> a = TestControl::Make(panel, u"a");
    const RCPtr<TestControl> b = TestControl::Make(panel, u"b");
    const RCPtr<TestControl> off = TestControl::Make(panel, u"off");
    off->SetEnabled(false);
    for (const auto& control : {panel, a, b, off})
    {
        recorder->Listen(control, {u"NID_ENABLED_CONDITION_CHANGE"});
    }
    panel->SetEnabled(false);
    EXPECT_EQ(recorder->received,
              (Names{"panel:NID_ENABLED_CONDITION_CHANGE", "b:NID_ENABLED_CONDITION_CHANGE",
                     "a:NID_ENABLED_CONDITION_CHANGE"}));
    recorder->received.clear();
    panel->SetEnabled(false);
    EXPECT_TRUE(recorder->received.empty());
}

TEST_F(ControlConditions, TabStopSignFollowsFocusability)
{
    const RCPtr<TestControl> control = TestControl::Make(root, u"c");
    control->SetLayoutDescriptor(LLayoutDescriptor::Create());
    const struct
    {
        bool notFocusable;
        std::int32_t tabStop;
    } steps[] = {{false, 0}, {true, -1}, {false, 1}, {false, 1}, {true, -1}};
    for (const auto& step : steps)
    {
        control->SetNotFocusable(step.notFocusable);
        EXPECT_EQ(control->GetLayoutDescriptor()->tabStop, step.tabStop) << step.notFocusable;
        EXPECT_EQ(control->IsNotFocusable(false), step.notFocusable);
    }
}

TEST_F(ControlConditions, FocusMovesThroughTheWindowAndAHolderCanKeepIt)
{
    const RCPtr<TestControl> a = TestControl::Make(root, u"a");
    const RCPtr<TestControl> b = TestControl::Make(root, u"b");
    ASSERT_TRUE(Succeeded(a->SetFocus(true)));
    EXPECT_EQ(window->focus, a.Get());
    EXPECT_TRUE(root->ContainsFocus());

    a->releasesFocus = false;
    EXPECT_EQ(b->SetFocus(true), kFail);
    EXPECT_TRUE(a->HasFocus());
    a->releasesFocus = true;
    EXPECT_TRUE(Succeeded(b->SetFocus(true)));
    EXPECT_FALSE(a->HasFocus());
    EXPECT_TRUE(b->HasFocus());
    EXPECT_EQ(window->focus, b.Get());
}

TEST_F(ControlConditions, HidingTheFocusedControlFocusesItsParent)
{
    const RCPtr<TestControl> child = TestControl::Make(root, u"child");
    // The root can hold the focus only while no child can.
    const RCPtr<TestControl> panel = TestControl::Make(root, u"panel");
    const RCPtr<TestControl> inner = TestControl::Make(panel, u"inner");
    child->SetVisible(false);
    ASSERT_TRUE(Succeeded(inner->SetFocus(true)));
    inner->SetVisible(false);
    EXPECT_TRUE(panel->HasFocus());
    EXPECT_FALSE(inner->HasFocus());
    EXPECT_EQ(window->focus, panel.Get());
}

TEST_F(ControlConditions, DisablingTheOnlyFocusableControlUnderAnUnfocusableRootReturns)
{
    root->SetNotFocusable(true);
    const RCPtr<TestControl> only = TestControl::Make(root, u"only");
    root->SetNotFocusable(false);
    ASSERT_TRUE(Succeeded(only->SetFocus(true)));
    root->SetNotFocusable(true);
    only->SetEnabled(false);
    EXPECT_FALSE(only->IsEnabled(false));
    EXPECT_EQ(root->SetFocus(true), kFail);
}

TEST_F(ControlConditions, CaptureLostClearsButtonsAndRestoresTheCursor)
{
    struct Capturing : TestControl
    {
        using TestControl::TestControl;
        void Press()
        {
            SetHover(true);
            UpdateConditions();
            SetCaptureFlag(true);
            SetDragging(MouseButton::kLeft, true);
            UpdateConditions();
            SetHover(false);
            UpdateConditions();
        }
    };
    const RCPtr<Capturing> control(new Capturing(RCPtr<LControl>(root), u"c"));
    control->SetFrame(PointD{}, PointD{5, 5});
    control->SetCursor(7);
    window->cursor = 3;
    control->Press();
    EXPECT_EQ(window->cursor, 7u);
    EXPECT_EQ(control->OnCaptureLost(), kOk);
    EXPECT_EQ(control->GetConditions() & (Condition::kCapture | Condition::kLeftDrag), 0u);
    EXPECT_EQ(window->cursor, 3u);
    EXPECT_EQ(window->hoverUpdates, 1);
    EXPECT_EQ(control->OnCaptureLost(), 1);
}

} // namespace
} // namespace KR
