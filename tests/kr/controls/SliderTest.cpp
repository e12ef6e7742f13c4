// The slider: the thumb from the value and the value from the thumb on straight, slanted
// and broken tracks, paging and its repeat on the driven clock, drags with values set
// meanwhile, key runs, the wheel and the looks.

#include "kr/controls/Slider.h"
#include "ControlsTestSupport.h"
#include "SliderTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace KR
{
namespace
{

using namespace ControlsTest;
using SliderTest::Key;
using SliderTest::Listener;

// "slider" at (20, 20), markers (10, 20) and (110, 20), the start 10 x 10; "noEnd" lacks
// its end marker.
const std::string kSliders = R"(
<SubControl Class="Test.Group" Name="main" XSizeAbs="400" YSizeAbs="400"><Skin Name="main">
  <SubControl Class="Framework.Slider" Name="slider" XPositionAbs="20" YPositionAbs="20" XSizeAbs="200" YSizeAbs="150"><Skin Name="slider" LookList="c3">
    <SubControl Class="Framework.Button" Name="thumbStart" XPositionAbs="10" YPositionAbs="20" XSizeAbs="10" YSizeAbs="10"><Skin Name="thumbStart" LookList="b14"/></SubControl>
    <SubControl Class="Test.Group" Name="thumbEnd" XPositionAbs="110" YPositionAbs="20" XSizeAbs="10" YSizeAbs="10"><Skin Name="thumbEnd" LookList="one"/></SubControl>
  </Skin></SubControl>
  <SubControl Class="Framework.Slider" Name="noEnd" YPositionAbs="200" XSizeAbs="200" YSizeAbs="40"><Skin Name="noEnd" LookList="c3">
    <SubControl Class="Framework.Button" Name="thumbStart" XPositionAbs="10" YPositionAbs="20" XSizeAbs="10" YSizeAbs="10"><Skin Name="noEndStart" LookList="b14"/></SubControl>
  </Skin></SubControl>
</Skin></SubControl>)";

void PlaceAt(LControl& control, double x, double y)
{
    DockedPositionSpec position;
    SizeSpec size;
    for (std::int32_t axis = 0; axis < 2; ++axis)
    {
        control.GetLayoutDescriptor()->GetPlacement(axis, position, size);
        position.absolute = axis == 0 ? x : y;
        control.SetPlacement(axis, position, size);
    }
}

struct SliderTest : ::testing::Test
{
    SliderTest()
    {
        slider = scene.Find<LSlider>(u"slider");
        thumb = RCPtr<LButton>(slider->GetThumb());
    }
    PointD ThumbAt() const { return thumb->GetPosition(); }
    // A drag of the thumb from its middle to `target` (the thumb's position the pointer asks for).
    void DragTo(const PointI& target)
    {
        const PointI at = RoundPointToInt(ThumbAt());
        Press(*thumb, 5, 5);
        Move(*thumb, target.x - at.x + 5, target.y - at.y + 5);
    }
    // The pointer over the slider at (x, y) of its own.
    void PointAt(std::int32_t x, std::int32_t y)
    {
        const PointD origin = slider->GetAbsolutePosition();
        scene.window->mouse =
            PointI{static_cast<std::int32_t>(origin.x) + x, static_cast<std::int32_t>(origin.y) + y};
        slider->OnMouseEnter();
    }

    Scene scene{kSliders};
    RCPtr<LSlider> slider;
    RCPtr<LButton> thumb;
};

TEST_F(SliderTest, TheThumbIsACopyOfTheStartMarkerPlacedByTheValue)
{
    ASSERT_TRUE(thumb);
    EXPECT_EQ(thumb->GetName(), u"thumb");
    EXPECT_TRUE(thumb->pressedWhenDraggedOff);
    EXPECT_EQ(thumb->GetSize(), (PointD{10, 10}));
    EXPECT_FALSE(slider->FindChildControl(String(u"thumbStart"))->IsShown(false));
    EXPECT_FALSE(slider->FindChildControl(String(u"thumbEnd"))->IsShown(false));
    EXPECT_EQ(slider->GetAnchorOffset(), (PointI{5, 5}));
    EXPECT_DOUBLE_EQ(slider->InterpolateValue(1.0), 127.0);
    const struct
    {
        double value, x;
    } rows[] = {{0.5, 60}, {0.0, 10}, {1.0, 110}, {0.333, 43}, {2.0, 110}};
    for (const auto& row : rows)
    {
        slider->SetValue(row.value);
        EXPECT_EQ(ThumbAt(), (PointD{row.x, 20})) << row.value;
    }
}

TEST_F(SliderTest, KeysAndTheWheelStepOneUnitAndArrowRunsAreReported)
{
    const RCPtr<Listener> listener = Listener::On(RCPtr<LControl>(slider));
    const struct
    {
        const char* name;
        std::uint32_t code;
        std::uint8_t repeat;
        Result result;
        double units; // the value after, in 127ths
    } rows[] = {
        {"Right", 0x20270000, 0, kOk, 1},
        {"Right again", 0x20270000, 1, kOk, 2},
        {"Up", 0x20260000, 1, kOk, 3},
        {"Right up", 0x00270000, 1, kOk, 3},
        {"Left", 0x20250000, 0, kOk, 2},
        {"Down", 0x20280000, 1, kOk, 1},
        {"Shift+Right", 0x22270000, 0, kNothingDone, 1},
        {"Home", 0x20240000, 0, kNothingDone, 1},
    };
    for (const auto& row : rows)
    {
        EXPECT_EQ(slider->OnKeyDown(Key(row.code, row.repeat)), row.result) << row.name;
        EXPECT_NEAR(slider->GetValue(), row.units / 127.0, 1e-12) << row.name;
    }
    EXPECT_EQ(listener->Take(),
              (std::vector<std::string>{"key down", "value 0.0078", "value 0.0157", "value 0.0236",
                                        "key up 1", "key down", "value 0.0157", "value 0.0078"}));
    // Shift+Right climbs to the parent, which offers it to its children's receivers.
    const RCPtr<Recorder> parent = Recorder::Create();
    parent->Listen(scene.main, {u"NID_SIBLING_KEY"});
    slider->OnKey(Key(0x20270000, 1));
    EXPECT_TRUE(parent->received.empty());
    slider->OnKey(Key(0x22270000));
    EXPECT_EQ(parent->received, (std::vector<std::string>{"main:NID_SIBLING_KEY"}));
    parent->UnregisterForAllNotifications();
    slider->SetValue(1 / 127.0);
    listener->Take();

    // The focus leaves during the run: it ends without a key; once more, nothing.
    const std::uint32_t focused = Condition::kEnabled | Condition::kContainsFocus;
    slider->OnConditionsChanged(LConditionsParam::Create(Condition::kEnabled, focused, PointD{}));
    EXPECT_EQ(slider->GetLookWeight(LSlider::kFocusLook), 1.0f);
    slider->OnConditionsChanged(LConditionsParam::Create(focused, Condition::kEnabled, PointD{}));
    slider->OnConditionsChanged(LConditionsParam::Create(focused, Condition::kEnabled, PointD{}));
    EXPECT_EQ(listener->Take(), (std::vector<std::string>{"key up 0"}));
    EXPECT_EQ(slider->GetLookWeight(LSlider::kNormalLook), 1.0f);
    slider->SetEnabled(false);
    EXPECT_EQ(slider->GetLookWeight(LSlider::kDisabledLook), 1.0f);
    slider->SetEnabled(true);

    const struct
    {
        std::uint32_t direction;
        bool vertical;
        double units;
    } notches[] = {{WheelDirection::kAwayFromUser, true, 2},
                   {WheelDirection::kTowardsUser, true, 1},
                   {WheelDirection::kRight, false, 2},
                   {WheelDirection::kLeft, false, 1}};
    for (const auto& notch : notches)
    {
        const RCPtr<LMouseWheelParam> wheel = LMouseWheelParam::Create(PointI{}, 0, notch.direction);
        EXPECT_EQ(notch.vertical ? slider->OnVerticalWheel(wheel) : slider->OnHorizontalWheel(wheel), kOk);
        EXPECT_NEAR(slider->GetValue(), notch.units / 127.0, 1e-12) << notch.direction;
    }
}

// Once a press gave the thumb the focus, the arrows it passes on move the value and stop
// there; with Shift they climb on past the slider.
TEST_F(SliderTest, TheArrowsTheThumbPassesOnMoveTheValue)
{
    const RCPtr<LControl>& thumb = slider->GetThumb();
    ASSERT_TRUE(thumb);
    const RCPtr<Recorder> parent = Recorder::Create();
    parent->Listen(scene.main, {u"NID_SIBLING_KEY"});
    const struct
    {
        const char* name;
        std::uint32_t code;
        double units;
        std::vector<std::string> climbed;
    } rows[] = {
        {"Right", 0x20270000, 1, {}},
        {"Right again", 0x20270000, 2, {}},
        {"Left", 0x20250000, 1, {}},
        {"Shift+Right", 0x22270000, 1, {"main:NID_SIBLING_KEY"}},
    };
    for (const auto& row : rows)
    {
        thumb->OnKey(Key(row.code));
        EXPECT_NEAR(slider->GetValue(), row.units / 127.0, 1e-12) << row.name;
        EXPECT_EQ(std::exchange(parent->received, {}), row.climbed) << row.name;
    }
    parent->UnregisterForAllNotifications();
}

TEST_F(SliderTest, TheTrackPagesTowardTheClickAndRepeatsWhileHeldNeverPassingThePointer)
{
    PointAt(100, 25);
    Press(*slider, 100, 25);
    Release(*slider, 100, 25);
    EXPECT_DOUBLE_EQ(slider->GetValue(), 0.1);
    EXPECT_EQ(ThumbAt().x, 20);

    PointAt(100, 25);
    Press(*slider, 99, 25);
    Move(*slider, 100, 25);
    EXPECT_TRUE(slider->IsRepeating());
    std::vector<std::pair<std::uint32_t, double>> steps;
    double last = slider->GetValue();
    while (scene.app.milliseconds < 1500)
    {
        scene.Step(50);
        if (slider->GetValue() != last)
        {
            last = slider->GetValue();
            steps.emplace_back(scene.app.milliseconds, std::round(last * 100) / 100);
        }
    }
    const std::vector<std::pair<std::uint32_t, double>> expected = {
        {300, 0.2}, {400, 0.3}, {500, 0.4}, {600, 0.5}, {700, 0.6}, {800, 0.7}, {900, 0.8}, {1000, 0.85}};
    EXPECT_EQ(steps, expected);
    Release(*slider, 100, 25);
    EXPECT_FALSE(slider->IsRepeating());
    EXPECT_EQ(slider->GetIdleRequestCount(), 0);

    // Back toward the start.
    PointAt(30, 25);
    Press(*slider, 30, 25);
    Release(*slider, 30, 25);
    EXPECT_NEAR(slider->GetValue(), 0.75, 1e-12);
}

TEST_F(SliderTest, ADragHoldsValuesSetMeanwhileAndReportsItsCapture)
{
    const RCPtr<Listener> listener = Listener::On(RCPtr<LControl>(slider));
    DragTo(PointI{60, 20});
    EXPECT_TRUE(slider->IsDragging());
    EXPECT_DOUBLE_EQ(slider->GetValue(), 0.5);
    EXPECT_EQ(slider->SetValue(0.3), 0.5);
    EXPECT_EQ(ThumbAt().x, 60);
    Release(*thumb, 5, 5);
    EXPECT_DOUBLE_EQ(slider->GetValue(), 0.3);
    EXPECT_EQ(ThumbAt().x, 40);
    EXPECT_EQ(listener->Take(),
              (std::vector<std::string>{"capture 1", "value 0.5000", "value 0.3000", "capture 0"}));

    // A value set during the drag equal to the value: one notification only when asked for.
    for (const bool always : {false, true})
    {
        slider->SetAlwaysNotifyAtRelease(always);
        DragTo(PointI{70, 20});
        slider->SetValue(0.6);
        Release(*thumb, 5, 5);
        std::vector<std::string> expected = {"capture 1", "value 0.6000", "capture 0"};
        if (always)
        {
            expected.insert(expected.begin() + 2, "value 0.6000");
        }
        EXPECT_EQ(listener->Take(), expected) << always;
        slider->SetValue(0.3);
        listener->Take();
    }
}

TEST_F(SliderTest, TheThumbFollowsThePointerAlongEveryKindOfTrack)
{
    const RCPtr<LControl> start = slider->FindChildControl(String(u"thumbStart"));
    const RCPtr<LControl> end = slider->FindChildControl(String(u"thumbEnd"));
    const struct
    {
        const char* name;
        PointD from, to;
        PointI target;
        PointD thumb; // (-1, -1): where it was
        double value;
    } rows[] = {
        {"slanted", {0, 0}, {100, 100}, {100, 0}, {50, 50}, 0.5},
        {"slanted, past the end", {0, 0}, {100, 100}, {300, 300}, {100, 100}, 1.0},
        {"slanted up", {0, 100}, {100, 0}, {0, 0}, {50, 50}, 0.5},
        {"vertical", {10, 0}, {10, 100}, {40, 30}, {10, 30}, 0.3},
        {"horizontal", {0, 20}, {100, 20}, {70, 90}, {70, 20}, 0.7},
        {"slanted onto one column", {10.2, 0}, {9.8, 100}, {50, 50}, {10, 50}, 0.5},
        {"slanted onto one row", {0, 20.2}, {100, 19.8}, {50, 50}, {50, 20}, 0.5},
        {"both markers at one point", {30, 30}, {30, 30}, {80, 30}, {-1, -1}, 0.0},
    };
    for (const auto& row : rows)
    {
        PlaceAt(*start, row.from.x, row.from.y);
        PlaceAt(*end, row.to.x, row.to.y);
        slider->SetValue(0.0);
        const PointD before = ThumbAt();
        DragTo(row.target);
        EXPECT_EQ(ThumbAt(), row.thumb.x < 0 ? before : row.thumb) << row.name;
        EXPECT_NEAR(slider->GetValue(), row.value, 1e-3) << row.name;
        Release(*thumb, 5, 5);
        EXPECT_FALSE(std::isnan(slider->GetValue())) << row.name;
    }
    // With both markers at one point the track pages nothing either; keys still step.
    Press(*slider, 150, 100);
    Release(*slider, 150, 100);
    EXPECT_EQ(slider->GetValue(), 0.0);
    slider->OnKeyDown(Key(0x20270000));
    EXPECT_NEAR(slider->GetValue(), 1 / 127.0, 1e-12);
}

TEST_F(SliderTest, WithoutAnEndMarkerOnlyKeysAndTheWheelMoveTheValue)
{
    const RCPtr<LSlider> noEnd = scene.Find<LSlider>(u"noEnd");
    const RCPtr<LControl> noEndThumb = noEnd->GetThumb();
    ASSERT_TRUE(noEndThumb);
    const PointD at = noEndThumb->GetPosition();
    noEnd->SetValue(0.5);
    EXPECT_EQ(noEndThumb->GetPosition(), at);
    Press(*noEndThumb, 5, 5);
    Move(*noEndThumb, 60, 5);
    Release(*noEndThumb, 60, 5);
    Press(*noEnd, 150, 25);
    Release(*noEnd, 150, 25);
    EXPECT_DOUBLE_EQ(noEnd->GetValue(), 0.5);
    noEnd->OnVerticalWheel(LMouseWheelParam::Create(PointI{}, 0, WheelDirection::kAwayFromUser));
    EXPECT_NEAR(noEnd->GetValue(), 0.5 + 1 / 127.0, 1e-12);
}

TEST_F(SliderTest, AThumbAddedLaterTakesTheStartMarkersPlaceAndDrags)
{
    RCPtr<LSlider> made(new LSlider(scene.main, String(u"made")));
    made->SetFrame(PointD{0, 300}, PointD{200, 40});
    RCPtr<LControl> start(new LControl(RCPtr<LControl>(made), String(u"thumbStart")));
    RCPtr<LControl> end(new LControl(RCPtr<LControl>(made), String(u"thumbEnd")));
    for (const auto& [marker, x] : {std::pair{start, 0.0}, std::pair{end, 100.0}})
    {
        DockedPositionSpec position;
        SizeSpec size;
        size.absolute = 10;
        position.absolute = x;
        marker->SetPlacements(position, size, DockedPositionSpec{}, size);
    }
    ASSERT_EQ(made->Initialize(), kOk);
    made->SetCreationFinished();
    EXPECT_FALSE(made->GetThumb()) << "a start marker made in code has no skin element to copy";
    made->SetValue(0.25);

    RCPtr<LButton> late(new LButton(nullptr, String(u"thumb")));
    EXPECT_EQ(made->AddChildControl(RCPtr<LControl>(late), nullptr), kOk);
    made->OnLookChanged();
    ASSERT_EQ(made->GetThumb(), RCPtr<LControl>(late));
    EXPECT_EQ(late->GetPosition(), (PointD{25, 0}));
    EXPECT_EQ(late->GetSize(), (PointD{10, 10}));
    Press(*late, 5, 5);
    Move(*late, 55, 5);
    EXPECT_DOUBLE_EQ(made->GetValue(), 0.75);
    Release(*late, 55, 5);
    made->ReleaseInternalReferences();
}

} // namespace
} // namespace KR
