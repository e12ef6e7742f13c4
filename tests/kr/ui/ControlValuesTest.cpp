#include "ControlTestSupport.h"
#include "support/FrameworkAppStandIn.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace KR
{
namespace
{

using UiTest::FakeRootWindow;
using UiTest::Recorder;
using UiTest::TestControl;

class ControlValues : public ::testing::Test
{
protected:
    void TearDown() override { root->Detach(); }

    RCPtr<FakeRootWindow> window = FakeRootWindow::Create();
    RCPtr<TestControl> root = TestControl::MakeRoot(window);
    RCPtr<TestControl> control = TestControl::Make(root, u"c");
    RCPtr<Recorder> recorder = Recorder::Create();
};

TEST_F(ControlValues, ValueIsClampedAndOnlyAChangeIsSent)
{
    recorder->Listen(control, {u"NID_VALUE_CHANGE"});
    ASSERT_EQ(control->SetValueScaling(20.0, 20000.0, 1), kOk);
    const struct
    {
        double in;
        double stored;
        std::size_t sent;
    } steps[] = {{1.7, 1.0, 1}, {2.0, 1.0, 1}, {std::nan(""), 0.0, 2}, {-3.0, 0.0, 2}, {0.5, 0.5, 3}};
    for (const auto& step : steps)
    {
        EXPECT_EQ(control->SetValue(step.in), step.stored) << step.in;
        EXPECT_EQ(recorder->received.size(), step.sent) << step.in;
    }
    const RCPtr<LValueParam> value(recorder->last);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->normalized, 0.5);
    EXPECT_NEAR(value->value, 20.0 * std::sqrt(1000.0), 1e-9);
}

TEST_F(ControlValues, BadScalingIsRefusedAndTheOldOneKept)
{
    ASSERT_EQ(control->SetValueScaling(0.0, 10.0, 0), kOk);
    EXPECT_EQ(control->SetValueScaling(0.0, 10.0, 1), kInvalidArg);
    EXPECT_EQ(control->SetValueScaling(1.0, -1.0, 1), kInvalidArg);
    EXPECT_EQ(control->SetValueScaling(1.0, 10.0, 2), kInvalidArg);
    EXPECT_DOUBLE_EQ(control->InterpolateValue(0.5), 5.0);
}

TEST_F(ControlValues, IdleRegistrationFollowsTheRequestCount)
{
    const auto registered = [&] { return window->HasClient(control.Get()); };
    EXPECT_EQ(control->BeginIdleProcessing(), kOk);
    EXPECT_EQ(control->BeginIdleProcessing(), kOk);
    EXPECT_EQ(control->EndIdleProcessing(), kOk);
    EXPECT_TRUE(registered());
    EXPECT_EQ(control->EndIdleProcessing(), kOk);
    EXPECT_FALSE(registered());
    EXPECT_EQ(control->EndIdleProcessing(), kFail);
    EXPECT_EQ(control->BeginIdleProcessing(), kOk);
    EXPECT_TRUE(registered());

    // Moved to a tree without a window, the request waits; attached again, it registers.
    const RCPtr<TestControl> loose = TestControl::Make(nullptr, u"loose");
    control->SetParent(loose);
    EXPECT_FALSE(registered());
    control->SetParent(root);
    EXPECT_TRUE(registered());
    control->Detach();
    EXPECT_EQ(control->GetIdleRequestCount(), 0);
    EXPECT_FALSE(registered());
}

TEST_F(ControlValues, RunningTimersHoldOneIdleRequestEach)
{
    TestSupport::LStandInFrameworkApp app;
    app.Advance(1500);
    EXPECT_EQ(control->StopTimer(0), 1);
    EXPECT_EQ(control->StartTimer(2, 0, 0, 0, nullptr), kInvalidArg);
    ASSERT_EQ(control->StartTimer(0, 1, 2, 3, nullptr), kOk);
    app.Advance(500);
    ASSERT_EQ(control->StartTimer(0, 4, 5, 6, root), kOk);
    ASSERT_EQ(control->StartTimer(1, 0, 0, 0, nullptr), kOk);
    EXPECT_EQ(control->GetIdleRequestCount(), 2);
    EXPECT_EQ(control->GetTimer(0).start, 1.5);
    EXPECT_EQ(control->GetTimer(0).values[2], 6.0);
    EXPECT_EQ(control->StopTimer(0), kOk);
    EXPECT_FALSE(control->GetTimer(0).target);
    EXPECT_EQ(control->StopTimer(1), kOk);
    EXPECT_EQ(control->GetIdleRequestCount(), 0);
    EXPECT_FALSE(window->HasClient(control.Get()));
}

TEST_F(ControlValues, ScrollOffsetIsRoundedAndOnlyAChangeIsSent)
{
    recorder->Listen(control, {u"NID_SCROLL_OFFSET_CHANGE"});
    control->SetScrollOffset(PointD{10.4, -3.5});
    EXPECT_EQ(control->GetScrollOffset(), (PointD{10, -4}));
    control->SetScrollOffset(PointD{10.2, -3.6});
    EXPECT_EQ(recorder->received.size(), 1u);
    control->SetScrollOffset(PointD{1e300, std::nan("")});
    EXPECT_EQ(control->GetScrollOffset(), (PointD{2147483647.0, -2147483648.0}));
}

TEST_F(ControlValues, FrameRelaysChildrenOnlyForARealSizeChange)
{
    const RCPtr<TestControl> child = TestControl::Make(control, u"child");
    window->invalidated.clear();
    const PointD position = control->GetPosition();
    EXPECT_EQ(control->SetFrame(position, control->GetSize()), 1);
    EXPECT_TRUE(window->invalidated.empty());

    const struct
    {
        double width;
        int layouts;
    } steps[] = {{10.0 + 1e-15, 0}, {20.0, 1}, {20.0 + 3e-15, 2}};
    for (const auto& step : steps)
    {
        EXPECT_EQ(control->SetFrame(position, PointD{step.width, 10.0}), kOk);
        EXPECT_EQ(control->GetSize().x, step.width);
        EXPECT_EQ(child->layoutCalls, step.layouts) << step.width;
    }
    EXPECT_FALSE(window->invalidated.empty());
}

TEST_F(ControlValues, ShrinkingTheFocusedControlToNothingFocusesItsParent)
{
    const RCPtr<TestControl> panel = TestControl::Make(root, u"panel");
    const RCPtr<TestControl> inner = TestControl::Make(panel, u"inner");
    control->SetVisible(false);
    ASSERT_TRUE(Succeeded(inner->SetFocus(true)));
    inner->SetFrame(PointD{}, PointD{0, 10});
    EXPECT_TRUE(panel->HasFocus());
}

} // namespace
} // namespace KR
