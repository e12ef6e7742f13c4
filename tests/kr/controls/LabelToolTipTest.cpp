// The label (never focused, its text as tooltip when clipped) and the tooltip's timing
// and placement on the driven millisecond clock.

#include "ControlsTestSupport.h"
#include "kr/controls/Label.h"
#include "kr/controls/ToolTip.h"

#include <gtest/gtest.h>

#include <string>

namespace KR
{
namespace
{

using namespace ControlsTest;

const std::string kLabels = R"(
<SubControl Class="Test.Group" Name="main" XSizeAbs="1024" YSizeAbs="768"><Skin Name="main">
  <SubControl Class="Framework.Label" Name="clipped" TabStop="3" XSizeAbs="40" YSizeAbs="20"><Skin Name="l1" LookList="one"/></SubControl>
  <SubControl Class="Framework.Label" Name="plain" XPositionAbs="300" YPositionAbs="200" XSizeAbs="40" YSizeAbs="20"><Skin Name="l2" LookList="one"/></SubControl>
</Skin></SubControl>
<SubControl Class="Framework.ToolTip" Name="toolTip" ClipToParent="False" XSizeAbs="100" YSizeAbs="20"><Skin Name="tip" LookList="one"/></SubControl>)";

constexpr const char* kToolTipStrings = R"(<?xml version="1.0" encoding="utf-8"?>
<Test_Strings>
  <StringTable ID="Test.Group|clipped"><String ID="TOOLTIP"><Locale LCID="9">Entry</Locale></String></StringTable>
  <StringTable ID="Test.Group|plain"><String ID="TOOLTIP"><Locale LCID="9">Plain entry</Locale></String></StringTable>
</Test_Strings>)";

struct LabelToolTipTest : ::testing::Test
{
    LabelToolTipTest()
    {
        LToolTip::ForgetLastHide();
        scene.app.milliseconds = 100000;
    }
    // The tooltip of the label "plain", asked for now.
    RCPtr<LToolTip> Ask()
    {
        const RCPtr<LControl> plain = scene.Find(u"plain");
        plain->CreateToolTip(true);
        return RCPtr<LToolTip>(plain->FindChildControl(String(u"toolTip")));
    }
    void Dismiss()
    {
        scene.Find(u"plain")->CreateToolTip(false);
        scene.Step(0); // the hidden tooltip leaves its parent
    }

    Scene scene{kLabels, kToolTipStrings};
};

TEST_F(LabelToolTipTest, ALabelIsNeverFocusedAndShowsItsTextWhenClipped)
{
    const RCPtr<LLabel> clipped = scene.Find<LLabel>(u"clipped");
    const RCPtr<LLabel> plain = scene.Find<LLabel>(u"plain");
    EXPECT_TRUE(clipped->IsNotFocusable(false));
    EXPECT_FALSE(clipped->CanTakeFocus());

    // Without laid-out lines a text counts as clipped as soon as there is one.
    const struct
    {
        RCPtr<LLabel> label;
        const char16_t* text;
        const char16_t* tip;
    } rows[] = {{clipped, u"A text too long", u"A text too long"}, {plain, u"", u"Plain entry"}};
    for (const auto& row : rows)
    {
        row.label->SetText(String(row.text));
        EXPECT_EQ(std::string(row.label->GetToolTipText().ToUtf8().GetPtr()),
                  std::string(String(row.tip).ToUtf8().GetPtr()));
    }
}

TEST_F(LabelToolTipTest, ATooltipAppearsAfterItsDelayAndLeavesAfterItsLife)
{
    const RCPtr<LToolTip> tip = Ask();
    ASSERT_TRUE(tip);
    EXPECT_EQ(tip->GetText(), u"Plain entry");
    EXPECT_FALSE(tip->IsNotFocusable(false) == false);
    scene.Step(500);
    EXPECT_EQ(tip->GetState(), LToolTip::kWaiting) << "not at 500 ms";
    EXPECT_FALSE(tip->IsShown(false));
    scene.Step(1);
    EXPECT_EQ(tip->GetState(), LToolTip::kShown) << "at 501 ms";
    EXPECT_TRUE(tip->IsShown(false));
    scene.Step(5000);
    EXPECT_EQ(tip->GetState(), LToolTip::kShown);
    scene.Step(1);
    EXPECT_EQ(tip->GetState(), LToolTip::kIdle);
    EXPECT_EQ(tip->GetIdleRequestCount(), 0);
    scene.Step(0);
    EXPECT_FALSE(scene.Find(u"plain")->FindChildControl(String(u"toolTip")));
}

TEST_F(LabelToolTipTest, OneAskedSoonAfterAHideShowsAtOnce)
{
    const struct
    {
        std::uint32_t after;
        LToolTip::State state;
    } rows[] = {{40, LToolTip::kShown}, {60, LToolTip::kWaiting}};
    for (const auto& row : rows)
    {
        const RCPtr<LToolTip> first = Ask();
        scene.Step(501);
        ASSERT_EQ(first->GetState(), LToolTip::kShown);
        Dismiss();
        scene.app.Advance(row.after);
        const RCPtr<LToolTip> next = Ask();
        ASSERT_TRUE(next);
        EXPECT_NE(next.Get(), first.Get());
        EXPECT_EQ(next->GetState(), row.state) << row.after;
        Dismiss();
        scene.app.Advance(1000);
    }

    // One hidden before it appeared sets no hide time.
    LToolTip::ForgetLastHide();
    Ask();
    Dismiss();
    EXPECT_EQ(Ask()->GetState(), LToolTip::kWaiting);
}

TEST_F(LabelToolTipTest, ATooltipStandsBelowThePointerInsideTheWindow)
{
    const struct
    {
        PointI pointer;
        PointD at; // in the window
    } rows[] = {
        {{1000, 700}, {924, 720}}, {{10, 760}, {10, 748}}, {{200, 100}, {200, 120}}, {{-5, 0}, {0, 20}}};
    for (const auto& row : rows)
    {
        scene.window->mouse = row.pointer;
        const RCPtr<LToolTip> tip = Ask();
        scene.Step(501);
        EXPECT_EQ(tip->GetAbsolutePosition(), row.at) << row.pointer.x << ", " << row.pointer.y;
        LimitSpec minimum;
        LimitSpec maximum;
        tip->GetLayoutDescriptor()->GetSizeLimits(0, minimum, maximum);
        EXPECT_EQ(maximum.absolute, 1016.0);
        Dismiss();
        scene.app.Advance(1000);
    }
}

} // namespace
} // namespace KR
