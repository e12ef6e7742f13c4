// The button: its looks, the keyboard and simulated clicks, auto-repeat on the driven
// clocks, radio groups, toggles and the flags its owners set.

#include "kr/controls/Button.h"
#include "ControlsTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace KR
{
namespace
{

using namespace ControlsTest;

const std::string kButtons = R"(
<SubControl Class="Test.Group" Name="main" XSizeAbs="400" YSizeAbs="300"><Skin Name="main">
  <SubControl Class="Framework.Button" Name="push" XSizeAbs="40" YSizeAbs="20"><Skin Name="push" LookList="b14"/></SubControl>
  <SubControl Class="Framework.Button" Name="toggle" XPositionAbs="50" XSizeAbs="40" YSizeAbs="20"><Skin Name="toggle" LookList="b14"/>
    <CreateParamList><CreateParam ID="AUTO_VALUE_SET">True</CreateParam></CreateParamList></SubControl>
  <SubControl Class="Framework.Button" Name="yes" XPositionAbs="100" XSizeAbs="40" YSizeAbs="20"><Skin Name="yes" LookList="b14"/>
    <CreateParamList><CreateParam ID="AUTO_VALUE_SET">yes</CreateParam></CreateParamList></SubControl>
  <SubControl Class="Framework.Button" Name="r1" YPositionAbs="50" XSizeAbs="40" YSizeAbs="20"><Skin Name="r1" LookList="b14"/>
    <CreateParamList><CreateParam ID="AUTO_VALUE_SET">TRUE</CreateParam><CreateParam ID="IS_RADIO">true</CreateParam></CreateParamList></SubControl>
  <SubControl Class="Framework.Button" Name="r2" XPositionAbs="50" YPositionAbs="50" XSizeAbs="40" YSizeAbs="20"><Skin Name="r2" LookList="b14"/>
    <CreateParamList><CreateParam ID="AUTO_VALUE_SET">true</CreateParam><CreateParam ID="IS_RADIO">true</CreateParam></CreateParamList></SubControl>
  <SubControl Class="Test.Group" Name="other" YPositionAbs="100" XSizeAbs="200" YSizeAbs="50"><Skin Name="other">
    <SubControl Class="Framework.Button" Name="r3" XSizeAbs="40" YSizeAbs="20"><Skin Name="r3" LookList="b14"/>
      <CreateParamList><CreateParam ID="IS_RADIO">true</CreateParam></CreateParamList></SubControl>
  </Skin></SubControl>
</Skin></SubControl>)";

struct ButtonTest : ::testing::Test
{
    Scene scene{kButtons};
    RCPtr<Recorder> recorder = Recorder::Create();

    RCPtr<LButton> Button(const char16_t* name)
    {
        RCPtr<LButton> button = scene.Find<LButton>(name);
        recorder->Listen(RCPtr<LControl>(button), {u"NID_LEFT_CLICK", u"NID_BUTTON_AUTOREPEAT"});
        return button;
    }
    // A left press and release at (5, 5) with the pointer over the button.
    void Click(const RCPtr<LButton>& button)
    {
        button->OnMouseEnter();
        Press(*button, 5, 5);
        Release(*button, 5, 5);
    }
    std::vector<std::string> Received() { return std::exchange(recorder->received, {}); }
};

TEST_F(ButtonTest, EnterShowsThePressedLookThenClicksAndOtherKeysClimbOn)
{
    const RCPtr<LButton> push = Button(u"push");
    push->SetNotFocusable(false);
    const struct
    {
        std::uint32_t code;
        Result result;
    } keys[] = {{0x200D0000, kOk},
                {0x220D0000, kNothingDone},
                {0x210D0000, kNothingDone},
                {0x20200000, kNothingDone}};
    for (const auto& key : keys)
    {
        KeyCode code;
        code.code = key.code;
        EXPECT_EQ(push->OnKeyDown(LKeyParam::Create(code, false)), key.result) << std::hex << key.code;
    }
    EXPECT_EQ(push->GetActiveLookIndex(), LButton::kPressedLook);
    EXPECT_TRUE(push->HasFocus());
    for (int step = 0; step < 2; ++step)
    {
        scene.Step(50);
        EXPECT_TRUE(Received().empty()) << step;
        EXPECT_EQ(push->GetActiveLookIndex(), LButton::kPressedLook);
    }
    scene.Step(50);
    EXPECT_EQ(Received(), std::vector<std::string>{"push:NID_LEFT_CLICK"});
    EXPECT_EQ(push->GetActiveLookIndex(), LButton::kNormalLook + LButton::kFocusedLooks);
    EXPECT_EQ(push->GetIdleRequestCount(), 0);
}

TEST_F(ButtonTest, TwoSimulatedClicksCloseTogetherGiveTwoClicksAndReleaseTheIdleOnce)
{
    const RCPtr<LButton> push = Button(u"push");
    push->SimulateClick();
    scene.Step(100);
    push->Receive(nullptr, LNotification::Create(u"NID_SIMULATE_CLICK"));
    EXPECT_EQ(Received(), std::vector<std::string>{"push:NID_LEFT_CLICK"});
    for (int step = 0; step < 4; ++step)
    {
        scene.Step(50);
    }
    EXPECT_EQ(Received(), std::vector<std::string>{"push:NID_LEFT_CLICK"});
    EXPECT_EQ(push->GetIdleRequestCount(), 0);

    push->SetEnabled(false);
    EXPECT_EQ(push->Receive(nullptr, LNotification::Create(u"NID_SIMULATE_CLICK")), 1);
    EXPECT_FALSE(push->IsSimulatedPressShowing());
}

TEST_F(ButtonTest, HeldAutoRepeatRepeatsOnTimePausesOutsideAndResumesTheCountdown)
{
    const struct
    {
        const char* name;
        std::uint32_t leave, back, end;
        std::vector<std::uint32_t> times;
    } rows[] = {{"held over the button", 10000, 10000, 500, {0, 300, 400, 500}},
                {"off at 0.35 s, back at 2 s", 350, 2000, 2100, {0, 300, 2050}}};
    for (const auto& row : rows)
    {
        const RCPtr<LButton> push = Button(u"push");
        const std::uint32_t start = scene.app.milliseconds;
        Received(); // the last row's click
        push->autoRepeat = true;
        push->OnMouseEnter();
        Press(*push, 5, 5);
        std::vector<std::uint32_t> times;
        while (true)
        {
            for (const std::string& entry : Received())
            {
                EXPECT_EQ(entry, "push:NID_BUTTON_AUTOREPEAT");
                times.push_back(scene.app.milliseconds - start);
            }
            const std::uint32_t now = scene.app.milliseconds - start;
            if (now >= row.end)
            {
                break;
            }
            now == row.leave ? push->OnMouseLeave() : now == row.back ? push->OnMouseEnter() : Result{};
            scene.Step(50);
        }
        EXPECT_EQ(times, (std::vector<std::uint32_t>(row.times.begin(), row.times.end()))) << row.name;
        Release(*push, 5, 5);
        EXPECT_FALSE(push->IsRepeating());
        EXPECT_EQ(push->GetIdleRequestCount(), 0);
    }
}

TEST_F(ButtonTest, ARepeatOverlappingASimulatedPressLeavesNoIdleBehind)
{
    const struct
    {
        const char* name;
        bool releaseFirst;
    } rows[] = {{"release before the simulated click ends", true}, {"release after it", false}};
    for (const auto& row : rows)
    {
        const RCPtr<LButton> push = Button(u"push");
        push->autoRepeat = true;
        push->OnMouseEnter();
        Press(*push, 5, 5);
        push->SimulateClick();
        if (row.releaseFirst)
        {
            Release(*push, 5, 5);
        }
        for (int step = 0; step < 4; ++step)
        {
            scene.Step(50);
        }
        if (!row.releaseFirst)
        {
            Release(*push, 5, 5);
        }
        EXPECT_EQ(push->GetIdleRequestCount(), 0) << row.name;
        EXPECT_FALSE(push->IsRepeating()) << row.name;
    }
}

TEST_F(ButtonTest, RadiosAndTogglesFollowTheirClicks)
{
    const RCPtr<LButton> r1 = Button(u"r1");
    const RCPtr<LButton> r2 = Button(u"r2");
    const RCPtr<LButton> r3 = Button(u"r3");
    const RCPtr<LButton> toggle = Button(u"toggle");
    const RCPtr<LButton> yes = Button(u"yes");
    EXPECT_TRUE(r1->IsRadio() && r1->IsAutoValueSet());
    EXPECT_FALSE(yes->IsAutoValueSet());

    r3->SetValue(1.0);
    r2->SetValue(1.0);
    Click(r1);
    EXPECT_EQ(r1->GetValue(), 1.0);
    EXPECT_EQ(r2->GetValue(), 0.0);
    EXPECT_EQ(r3->GetValue(), 1.0) << "another parent's radio";
    Click(r1);
    EXPECT_EQ(r1->GetValue(), 1.0) << "an on radio stays on";

    std::vector<double> toggles;
    std::vector<double> unchanged;
    for (int i = 0; i < 3; ++i)
    {
        Click(toggle);
        toggles.push_back(toggle->GetValue());
        Click(yes);
        unchanged.push_back(yes->GetValue());
    }
    EXPECT_EQ(toggles, (std::vector<double>{1, 0, 1}));
    EXPECT_EQ(unchanged, (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(toggle->GetActiveLookIndex(), LButton::kHoverLook + LButton::kOnLooks);
}

TEST_F(ButtonTest, DisabledLooksHoldWhateverThePointerDoesAndATransparentButtonIsNeverHit)
{
    const RCPtr<LButton> push = Button(u"push");
    const RCPtr<LButton> toggle = Button(u"toggle");
    toggle->SetValue(1.0);
    for (const RCPtr<LButton>& button : {push, toggle})
    {
        button->SetEnabled(false);
        const std::int32_t expected = button->GetValue() >= 0.5 ? 13 : 6;
        EXPECT_EQ(button->GetActiveLookIndex(), expected);
        button->OnMouseEnter();
        EXPECT_EQ(button->GetActiveLookIndex(), expected);
        Press(*button, 5, 5);
        EXPECT_EQ(button->GetActiveLookIndex(), expected);
        Release(*button, 5, 5);
        button->OnMouseLeave();
        EXPECT_EQ(button->GetActiveLookIndex(), expected);
    }

    PointI local;
    EXPECT_EQ(scene.main->HitTest(PointI{10, 10}, local, true).Get(), push.Get());
    push->mouseTransparent = true;
    push->SetLookWeight(4, 1.0f, true);
    EXPECT_NE(scene.main->HitTest(PointI{10, 10}, local, true).Get(), push.Get());
    push->OnMouseEnter();
    EXPECT_EQ(push->GetActiveLookIndex(), 4) << "its owner's look stays";
}

TEST_F(ButtonTest, TheLookFollowsThePointerAndThePress)
{
    const struct
    {
        const char* name;
        bool thumb;
        std::int32_t hover, pressed, draggedOff, draggedBack;
    } rows[] = {{"push", false, 1, 2, 1, 2}, {"pressed when dragged off", true, 1, 2, 2, 2}};
    for (const auto& row : rows)
    {
        const RCPtr<LButton> push = Button(u"push");
        push->pressedWhenDraggedOff = row.thumb;
        push->SetNotFocusable(true); // the focused looks aside
        push->OnMouseEnter();
        EXPECT_EQ(push->GetActiveLookIndex(), row.hover) << row.name;
        Press(*push, 5, 5);
        EXPECT_EQ(push->GetActiveLookIndex(), row.pressed) << row.name;
        push->OnMouseLeave();
        Move(*push, 80, 5);
        EXPECT_EQ(push->GetActiveLookIndex(), row.draggedOff) << row.name;
        push->OnMouseEnter();
        Move(*push, 6, 5);
        EXPECT_EQ(push->GetActiveLookIndex(), row.draggedBack) << row.name;
        Release(*push, 6, 5);
        push->OnMouseLeave();
    }
}

TEST(ControlClasses, TheTableRegistersEveryRowAndARefusedRowNamesItsLine)
{
    TestSupport::LStandInFrameworkApp app;
    RCPtr<LControlFactory> factory(new LControlFactory(String(u"PresetEditor")));
    RegisterFrameworkControlClasses(*factory);
    for (const ControlClassRow& row : GetFrameworkControlClasses())
    {
        ControlCreateFunction create = nullptr;
        EXPECT_GE(factory->GetControlCreateFunction(String(row.name), create), 0);
        EXPECT_EQ(create, row.create);
    }
}

} // namespace
} // namespace KR
