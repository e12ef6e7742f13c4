#include "MouseTestSupport.h"

#include <gtest/gtest.h>

namespace KR
{
namespace
{

using namespace MouseTest;

constexpr std::initializer_list<const char16_t*> kPointerNames = {
    u"NID_MOUSE_DOWN", u"NID_MOUSE_UP", u"NID_LEFT_CLICK", u"NID_MIDDLE_CLICK", u"NID_RIGHT_CLICK"};

TEST(ControlMouse, APressAndReleaseInPlaceIsAClickOfThatButton)
{
    const struct Row
    {
        std::uint32_t button;
        const char* click;
    } rows[] = {{MouseButton::kLeft, "c:NID_LEFT_CLICK"},
                {MouseButton::kMiddle, "c:NID_MIDDLE_CLICK"},
                {MouseButton::kRight, "c:NID_RIGHT_CLICK"}};
    for (const Row& row : rows)
    {
        Scene scene;
        const RCPtr<MouseControl> c = MouseControl::Make(scene.root, u"c", RectD{10, 10, 20, 20});
        const RCPtr<UiTest::Recorder> recorder = UiTest::Recorder::Create();
        recorder->Listen(c, kPointerNames);
        ASSERT_EQ(Press(*c, 5, 5, row.button), kOk) << row.click;
        EXPECT_EQ(scene.window->capture, c.Get()) << row.click;
        EXPECT_EQ(Release(*c, 5, 5, row.button), kOk) << row.click;
        EXPECT_EQ(recorder->received,
                  (std::vector<std::string>{"c:NID_MOUSE_DOWN", "c:NID_MOUSE_UP", row.click}))
            << row.click;
        EXPECT_EQ(scene.window->capture, nullptr) << row.click << ": the release ends the capture";
        EXPECT_EQ(c->GetConditions() & (Condition::kCapture | 0x3F0), 0u) << row.click;
        recorder->ReleaseInternalReferences();
    }
}

TEST(ControlMouse, AMoveOfTheThresholdTurnsThePressIntoADragThatClicksOnlyInModeZeroOverTheControl)
{
    const struct Row
    {
        const char* name;
        std::int32_t mode;
        bool overAtRelease;
        bool clicks;
    } rows[] = {{"mode 0, over the control", 0, true, true},
                {"mode 0, pointer left it", 0, false, false},
                {"mode 2, over the control", 2, true, false}};
    for (const Row& row : rows)
    {
        Scene scene;
        const RCPtr<MouseControl> c = MouseControl::Make(scene.root, u"c", RectD{10, 10, 20, 20});
        c->modeOnPress = row.mode;
        c->axesOnPress = 3;
        const RCPtr<UiTest::Recorder> recorder = UiTest::Recorder::Create();
        recorder->Listen(c, kPointerNames);
        c->OnMouseEnter();
        Press(*c, 5, 5);
        EXPECT_EQ(c->GetConditions() & Condition::kLeftPressed, Condition::kLeftPressed) << row.name;
        Move(*c, 6, 5);
        EXPECT_EQ(c->moves, (std::vector<PointI>{{5, 5}, {6, 5}})) << row.name << ": the press point first";
        EXPECT_EQ(c->GetConditions() & (Condition::kLeftPressed | Condition::kLeftDrag), Condition::kLeftDrag)
            << row.name;
        if (!row.overAtRelease)
        {
            c->OnMouseLeave();
        }
        Release(*c, 6, 5);
        const bool clicked = recorder->received.back() == "c:NID_LEFT_CLICK";
        EXPECT_EQ(clicked, row.clicks) << row.name;
        recorder->ReleaseInternalReferences();
    }
}

TEST(ControlMouse, ASecondButtonWhileTheCaptureIsHeldNeitherFocusesNorDrags)
{
    Scene scene;
    const RCPtr<MouseControl> a = MouseControl::Make(scene.root, u"a", RectD{10, 10, 20, 20});
    const RCPtr<MouseControl> b = MouseControl::Make(scene.root, u"b", RectD{40, 10, 20, 20});
    Press(*a, 5, 5);
    EXPECT_TRUE(a->HasFocus());
    b->SetFocus(true);
    ASSERT_TRUE(b->HasFocus());
    EXPECT_EQ(Press(*a, 6, 6, MouseButton::kRight), kOk);
    EXPECT_TRUE(b->HasFocus()) << "the focus stays";
    EXPECT_EQ(a->GetConditions() & (Condition::kRightPressed | Condition::kRightDrag), 0u);
    EXPECT_EQ(a->GetPressPoint(), (PointD{15, 15})) << "the first press holds";
}

TEST(ControlMouse, ThresholdZeroStartsTheDragAtThePressAndStepsOnceThere)
{
    Scene scene;
    const RCPtr<MouseControl> c = MouseControl::Make(scene.root, u"c", RectD{10, 10, 20, 20});
    c->modeOnPress = 2;
    c->axesOnPress = 3;
    ASSERT_EQ(c->SetDragThreshold(0), kOk);
    Press(*c, 4, 7);
    EXPECT_EQ(c->GetConditions() & (Condition::kLeftPressed | Condition::kLeftDrag), Condition::kLeftDrag);
    EXPECT_EQ(c->dragMoves, (std::vector<PointI>{{4, 7}}));
    EXPECT_EQ(c->GetPosition(), (PointD{10, 10})) << "a step at the press point moves nothing";
}

TEST(ControlMouse, ADragModeSetBeforeThePressHasNoEffect)
{
    Scene scene;
    const RCPtr<MouseControl> c = MouseControl::Make(scene.root, u"c", RectD{10, 10, 20, 20});
    c->SetDragMode(2, 3);
    Press(*c, 5, 5);
    EXPECT_EQ(c->GetDragMode(), 0);
    Move(*c, 15, 15);
    EXPECT_EQ(c->GetPosition(), (PointD{10, 10}));
    EXPECT_TRUE(c->dragMoves.empty());
}

TEST(ControlMouse, APressFocusesTheControlOrItsFirstFocusableAncestor)
{
    Scene scene;
    scene.root->SetNotFocusable(false);
    const RCPtr<MouseControl> holder = MouseControl::Make(scene.root, u"holder", RectD{0, 0, 80, 80});
    const RCPtr<MouseControl> plain = MouseControl::Make(holder, u"plain", RectD{10, 10, 20, 20}, false);
    Press(*plain, 1, 1);
    Release(*plain, 1, 1);
    EXPECT_FALSE(plain->HasFocus());
    EXPECT_TRUE(holder->HasFocus()) << "the first focusable ancestor";

    // A control without a parent that cannot take the focus leaves it where it is.
    const RCPtr<MouseControl> lone(new MouseControl(RCPtr<LControl>(), u"lone"));
    lone->SetFrame(PointD{}, PointD{10, 10});
    EXPECT_EQ(Press(*lone, 1, 1), kOk);
    EXPECT_TRUE(holder->HasFocus());
}

TEST(ControlMouse, RefusalsAndGuards)
{
    Scene scene;
    const RCPtr<MouseControl> c = MouseControl::Make(scene.root, u"c", RectD{10, 10, 20, 20});
    const RCPtr<MouseControl> hidden = MouseControl::Make(scene.root, u"hidden", RectD{40, 10, 20, 20});
    hidden->SetVisible(false);
    const RCPtr<MouseControl> disabled = MouseControl::Make(scene.root, u"disabled", RectD{70, 10, 20, 20});
    disabled->SetEnabled(false);
    const struct Row
    {
        const char* name;
        Result got;
        Result expected;
    } rows[] = {
        {"null press", c->OnMouseDown(nullptr), kInvalidArg},
        {"button 8 press", Press(*c, 1, 1, 8), kInvalidArg},
        {"null release", c->OnMouseUp(nullptr), kInvalidArg},
        {"null move", c->OnMouseMove(nullptr), kInvalidArg},
        {"null wheel", c->OnMouseWheel(nullptr), -1},
        {"click of button 8", c->OnClick(LMouseButtonParam::Create(8, PointI{}, 0, false, 0)), kInvalidArg},
        {"null click", c->OnClick(nullptr), kInvalidArg},
        {"hidden press", Press(*hidden, 1, 1), kNothingDone},
        {"disabled press", Press(*disabled, 1, 1), kNothingDone},
        {"disabled release", Release(*disabled, 1, 1), kNothingDone},
        {"negative threshold", c->SetDragThreshold(-1), kInvalidArg},
    };
    for (const Row& row : rows)
    {
        EXPECT_EQ(row.got, row.expected) << row.name;
    }
    EXPECT_EQ(c->GetDragThreshold(), 1) << "the refused threshold keeps the old one";
    EXPECT_EQ(scene.window->capture, nullptr);

    // A button that came up before the press reached the control starts nothing.
    scene.window->buttons = 0;
    EXPECT_EQ(Press(*c, 1, 1), kOk);
    EXPECT_EQ(c->GetConditions() & (Condition::kCapture | Condition::kLeftPressed), 0u);
}

TEST(ControlMouse, TheWheelClimbsToTheFirstTakerPastControlsDrawnOutsideTheirParent)
{
    Scene scene;
    scene.root->takesWheel = true;
    const RCPtr<MouseControl> panel = MouseControl::Make(scene.root, u"panel", RectD{0, 0, 50, 50});
    const RCPtr<MouseControl> inner = MouseControl::Make(panel, u"inner", RectD{5, 5, 10, 10});
    // Reaches outside its parent; below it on screen lies "under".
    const RCPtr<MouseControl> popup = MouseControl::Make(panel, u"popup", RectD{40, 40, 30, 30});
    popup->SetClipToParent(false);
    const RCPtr<MouseControl> under = MouseControl::Make(scene.root, u"under", RectD{55, 55, 40, 40});
    for (const RCPtr<MouseControl>& c : {panel, inner, popup, under})
    {
        c->AddOpaqueLook();
    }
    const auto notch = [](std::int32_t x, std::int32_t y) {
        return LMouseWheelParam::Create(PointI{x, y}, 0, WheelDirection::kAwayFromUser);
    };

    EXPECT_EQ(inner->OnMouseWheel(notch(8, 8)), kOk);
    EXPECT_EQ(inner->wheel, (std::vector<std::string>{"inner"}));
    EXPECT_EQ(panel->wheel, (std::vector<std::string>{"panel"}));
    EXPECT_EQ(scene.root->wheel, (std::vector<std::string>{"root"}));

    under->takesWheel = true;
    EXPECT_EQ(popup->OnMouseWheel(notch(60, 60)), kOk);
    EXPECT_EQ(popup->wheel, (std::vector<std::string>{"popup"}));
    EXPECT_EQ(under->wheel, (std::vector<std::string>{"under"}))
        << "what lies under the notch, not the parent";
    EXPECT_EQ(panel->wheel.size(), 1u);
    EXPECT_FALSE(popup->IsExcludedFromHitTest()) << "excluded only while the hit test ran";
}

TEST(ControlMouse, AModeSixReleaseThrowsOnlySoonAfterTheLastMoveAndFastEnough)
{
    const struct Row
    {
        const char* name;
        std::uint32_t moveAfterMs;
        std::int32_t distance;
        std::uint32_t releaseAfterMs;
        bool throws;
    } rows[] = {
        {"1000 u/s, released at once", 10, 10, 0, true},
        {"1000 u/s, released 99 ms later", 10, 10, 99, true},
        {"1000 u/s, released 100 ms later", 10, 10, 100, false},
        {"999.9 u/s", 10000, 9999, 0, false},
        {"1000.0 u/s after a pause", 10000, 10000, 0, true},
    };
    for (const Row& row : rows)
    {
        Scene scene;
        scene.root->SetFrame(PointD{}, PointD{20000, 20000});
        const RCPtr<MouseControl> c = MouseControl::Make(scene.root, u"c", RectD{0, 0, 20000, 20000});
        c->modeOnPress = 6;
        c->axesOnPress = 1;
        Press(*c, 0, 0);
        Move(*c, 1, 0);
        c->moves.clear();
        scene.app.Advance(row.moveAfterMs);
        Move(*c, 1 + row.distance, 0);
        scene.app.Advance(row.releaseAfterMs);
        Release(*c, 1 + row.distance, 0);
        EXPECT_EQ(c->IsThrowing(0), row.throws) << row.name;
        EXPECT_EQ(c->GetTimer(0).running, row.throws) << row.name;
        EXPECT_FALSE(c->IsThrowing(1)) << row.name << ": the axis is not allowed";
    }
}

TEST(ControlMouse, AModeSixDragPansTheContentAndAveragesTheVelocityOverShortGaps)
{
    Scene scene;
    const RCPtr<MouseControl> c = MouseControl::Make(scene.root, u"c", RectD{0, 0, 100, 100});
    c->modeOnPress = 6;
    c->axesOnPress = 3;
    Press(*c, 10, 10);
    Move(*c, 11, 10);
    scene.app.Advance(10);
    Move(*c, 16, 10); // 5 units in 10 ms
    EXPECT_DOUBLE_EQ(c->GetThrowVelocity().x, 500.0);
    scene.app.Advance(10);
    Move(*c, 26, 10); // raw 1000
    EXPECT_DOUBLE_EQ(c->GetThrowVelocity().x, 750.0);
    scene.app.Advance(200);
    Move(*c, 36, 10); // raw 50 after a pause
    EXPECT_DOUBLE_EQ(c->GetThrowVelocity().x, 50.0);
    EXPECT_EQ(c->GetScrollOffset(), (PointD{26, 0})) << "the content moved with each step";
}

} // namespace
} // namespace KR
