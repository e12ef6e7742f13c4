#include "MouseTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace KR
{
namespace
{

using namespace MouseTest;

// Idle steps of `ms` each until `done` or `limit` steps; the steps taken.
template <typename Done>
int IdleUntil(Scene& scene, std::uint32_t ms, int limit, Done done)
{
    int steps = 0;
    while (steps < limit && !done())
    {
        scene.app.Advance(ms);
        scene.window->Idle();
        ++steps;
    }
    return steps;
}

TEST(ControlIdle, AThrowKeepsItsSpeedForASecondThenFrictionStopsIt)
{
    Scene scene;
    const RCPtr<MouseControl> c = MouseControl::Make(scene.root, u"c", RectD{0, 0, 100, 100});
    c->modeOnPress = 6;
    c->axesOnPress = 1;
    c->SetThrowFriction(1000.0);
    Press(*c, 0, 0);
    Move(*c, 1, 0);
    scene.app.Advance(10);
    Move(*c, 21, 0); // 2000 units per second
    Release(*c, 21, 0);
    ASSERT_TRUE(c->IsThrowing(0));
    const double start = c->GetScrollOffset().x;

    IdleUntil(scene, 100, 10, [] { return false; });
    EXPECT_DOUBLE_EQ(c->GetTimer(0).values[0], 2000.0) << "no slowing in the first second";
    EXPECT_NEAR(c->GetScrollOffset().x - start, 2000.0, 1.0);

    const int steps = IdleUntil(scene, 100, 100, [&] { return !c->GetTimer(0).running; });
    EXPECT_GE(steps, 19);
    EXPECT_LE(steps, 21) << "about two more seconds";
    EXPECT_FALSE(c->IsThrowing(0));
    EXPECT_EQ(c->GetIdleRequestCount(), 0);
}

TEST(ControlIdle, AThrowStopsWhereTheContentEnds)
{
    Scene scene;
    const RCPtr<MouseControl> c = MouseControl::Make(scene.root, u"c", RectD{0, 0, 100, 100});
    c->modeOnPress = 6;
    c->axesOnPress = 1;
    Press(*c, 50, 0);
    Move(*c, 49, 0);
    scene.app.Advance(10);
    Move(*c, 29, 0); // -2000 units per second, the content held at its start
    Release(*c, 29, 0);
    ASSERT_TRUE(c->IsThrowing(0));
    EXPECT_EQ(c->GetScrollOffset().x, 0.0);
    scene.app.Advance(16);
    scene.window->Idle();
    EXPECT_FALSE(c->IsThrowing(0)) << "nothing left to move";
    EXPECT_EQ(c->GetIdleRequestCount(), 0);
}

TEST(ControlIdle, TimerStepsAreWholeUnitsWithinTheBoundsWhateverTheVelocity)
{
    const struct Row
    {
        const char* name;
        double velocity;
        std::uint32_t pauseMs;
        double expected;
        int scrolls;
    } rows[] = {
        {"a step that rounds to 0", 1.0, 100, 100.0, 0},
        {"half a unit rounds away from zero", 5.0, 100, 101.0, 1},
        {"backwards", -30.0, 100, 97.0, 1},
        {"a huge velocity stops at the upper bound", 1e300, 100, 500.0, 1},
        {"a huge one backwards at the lower bound", -1e300, 100, 0.0, 1},
        {"a long pause", 1000.0, 0xFFFFFFF0u, 500.0, 1},
        {"no velocity at all", std::numeric_limits<double>::quiet_NaN(), 100, 100.0, 0},
    };
    for (const Row& row : rows)
    {
        Scene scene;
        scene.root->SetScrollOffset(PointD{100, 0});
        const RCPtr<UiTest::Recorder> recorder = UiTest::Recorder::Create();
        recorder->Listen(scene.root, {u"NID_SCROLL_OFFSET_CHANGE"});
        ASSERT_EQ(scene.root->StartTimer(0, row.velocity, 500.0, 0.0, nullptr), kOk);
        scene.app.Advance(row.pauseMs);
        scene.window->Idle();
        EXPECT_EQ(scene.root->GetScrollOffset().x, row.expected) << row.name;
        EXPECT_EQ(static_cast<int>(recorder->received.size()), row.scrolls) << row.name;
        EXPECT_EQ(scene.root->idleHooks, 1) << row.name << ": the idle hook ran";
        recorder->ReleaseInternalReferences();
    }
}

TEST(ControlIdle, ADeferredChildIsHiddenAtOnceAndLeavesAtTheNextIdleEvenWhilePaused)
{
    Scene scene;
    const RCPtr<MouseControl> panel = MouseControl::Make(scene.root, u"panel", RectD{0, 0, 50, 50});
    const RCPtr<MouseControl> child = MouseControl::Make(panel, u"child", RectD{5, 5, 10, 10});
    const RCPtr<MouseControl> other = MouseControl::Make(scene.root, u"other", RectD{60, 0, 10, 10});

    EXPECT_EQ(scene.root->DeferChildRemoval(child), kInvalidArg) << "not its parent";
    EXPECT_TRUE(child->IsShown(true));

    panel->SetIdlePaused(true);
    ASSERT_EQ(panel->DeferChildRemoval(child), kOk);
    EXPECT_FALSE(child->IsShown(false));
    EXPECT_EQ(child->GetParent().Get(), panel.Get()) << "still in the tree until the idle step";
    scene.window->Idle();
    EXPECT_FALSE(child->GetParent());
    EXPECT_EQ(panel->GetChildren().GetCount(), 0u);
    EXPECT_EQ(panel->GetIdleRequestCount(), 0);
    EXPECT_EQ(other->GetParent().Get(), scene.root.Get());
}

TEST(ControlIdle, SizeAndMoveAnimationsEndAtTheFirstRelayoutThatChangesNothing)
{
    Scene scene;
    const RCPtr<MouseControl> c = MouseControl::Make(scene.root, u"c", RectD{10, 10, 20, 20});
    DockedPositionSpec x;
    x.absolute = 10.0;
    SizeSpec width;
    width.absolute = 20.0;
    c->SetPlacements(x, width, x, width);
    LimitSpec none;
    LimitSpec most;
    most.absolute = 50.0;
    c->SetSizeLimits(0, none, most);
    ASSERT_EQ(c->GetFrame(), (RectD{10, 10, 20, 20}));

    ASSERT_EQ(c->StartSizeAnimation(0, true), kOk);
    EXPECT_EQ(c->StartSizeAnimation(2, true), kInvalidArg);
    scene.window->Idle();
    EXPECT_TRUE(c->IsAnimating()) << "an idle step in the same millisecond changes nothing and ends nothing";
    scene.app.Advance(10);
    scene.window->Idle();
    EXPECT_EQ(c->GetSize().x, 30.0) << "a unit per millisecond";
    const int growth = IdleUntil(scene, 10, 20, [&] { return !c->IsAnimating(); });
    EXPECT_EQ(growth, 3) << "two steps to the limit, then one that changes nothing";
    EXPECT_EQ(c->GetSize().x, 50.0);

    ASSERT_EQ(c->StartSizeAnimation(1, false), kOk);
    IdleUntil(scene, 15, 20, [&] { return !c->IsAnimating(); });
    EXPECT_EQ(c->GetSize().y, 0.0) << "shrinks to nothing, not below";

    ASSERT_EQ(c->StartMoveAnimation(PointD{40.5, 5}), kOk);
    EXPECT_EQ(c->StartMoveAnimation(PointD{std::numeric_limits<double>::quiet_NaN(), 0}), kInvalidArg);
    scene.app.Advance(10);
    scene.window->Idle();
    EXPECT_EQ(c->GetPosition(), (PointD{20, 5})) << "ten units towards the target on each axis, at most";
    IdleUntil(scene, 10, 20, [&] { return !c->IsAnimating(); });
    EXPECT_EQ(c->GetLayoutDescriptor()->xPosition.absolute, 40.5) << "the last step lands on the target";
    EXPECT_EQ(c->GetPosition(), (PointD{41, 5})) << "placed in whole units";
    EXPECT_EQ(c->GetIdleRequestCount(), 0);
}

class PressTarget : public MouseControl
{
public:
    using MouseControl::MouseControl;
    Result OnMouseDown(const RCPtr<LMouseButtonParam>& button) override
    {
        presses.push_back(button);
        return MouseControl::OnMouseDown(button);
    }
    std::vector<RCPtr<LMouseButtonParam>> presses;
};

TEST(ControlIdle, AHeldPressIsHandedOverAfterAHundredMilliseconds)
{
    Scene scene;
    const RCPtr<MouseControl> c = MouseControl::Make(scene.root, u"c", RectD{10, 10, 20, 20});
    const RCPtr<PressTarget> target(new PressTarget(RCPtr<LControl>(scene.root), u"target"));
    target->SetFrame(PointD{40, 10}, PointD{30, 30});
    c->RequestPressHandOver(target, PointI{3, 4});

    // A press released in time is not handed over.
    Press(*c, 5, 5);
    scene.app.Advance(50);
    Release(*c, 5, 5);
    scene.app.Advance(100);
    scene.window->Idle();
    EXPECT_TRUE(target->presses.empty());
    EXPECT_EQ(c->GetIdleRequestCount(), 0);

    Press(*c, 5, 5, MouseButton::kLeft, ModifierFlag::kShift);
    scene.app.Advance(100);
    scene.window->Idle();
    EXPECT_TRUE(target->presses.empty()) << "not before the hold is over";
    scene.app.Advance(1);
    scene.window->Idle();
    ASSERT_EQ(target->presses.size(), 1u);
    EXPECT_EQ(target->presses[0]->button, MouseButton::kLeft);
    EXPECT_EQ(target->presses[0]->modifiers, ModifierFlag::kShift);
    EXPECT_EQ(target->presses[0]->GetPoint(), (PointI{3, 4}));
    EXPECT_FALSE(c->HasCapture());
    EXPECT_TRUE(target->HasCapture());
    EXPECT_EQ(scene.window->hover, target.Get());
    EXPECT_EQ(c->GetIdleRequestCount(), 0);
}

} // namespace
} // namespace KR
