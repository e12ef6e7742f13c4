// The knob: its create parameters and film strip, the linear drag with its diagonal rule
// and Ctrl, the radial gesture with its dead zone, values set during a drag, keys, the
// wheel and the overlays.

#include "kr/controls/Knob.h"
#include "ControlsTestSupport.h"
#include "SliderTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace KR
{
namespace
{

using namespace ControlsTest;
using SliderTest::Key;
using SliderTest::Listener;

// A look list of `slots` slots with plain looks at `indices`.
std::string Strip(const char* name, int slots, int frames, std::initializer_list<int> more)
{
    std::string list =
        std::string("<LookList Name=\"") + name + "\" NumLooks=\"" + std::to_string(slots) + "\">";
    std::vector<int> indices;
    for (int i = 0; i < frames; ++i)
    {
        indices.push_back(i);
    }
    indices.insert(indices.end(), more);
    for (const int i : indices)
    {
        list += "<Look Name=\"plain\" Index=\"" + std::to_string(i) + "\"/>";
    }
    return list + "</LookList>";
}

std::string KnobElement(const char* name, const char* looks, int x, int y, int size,
                        const std::string& params = "")
{
    return std::string("<SubControl Class=\"Framework.Knob\" Name=\"") + name + "\" XPositionAbs=\"" +
           std::to_string(x) + "\" YPositionAbs=\"" + std::to_string(y) + "\" XSizeAbs=\"" +
           std::to_string(size) + "\" YSizeAbs=\"" + std::to_string(size) + "\"><Skin Name=\"" + name +
           "\" LookList=\"" + looks + "\"/>" +
           (params.empty() ? "" : "<CreateParamList>" + params + "</CreateParamList>") + "</SubControl>";
}

std::string Param(const char* id, const char* value)
{
    return std::string("<CreateParam ID=\"") + id + "\">" + value + "</CreateParam>";
}

std::string Skin()
{
    return "<SubControl Class=\"Test.Group\" Name=\"main\" XSizeAbs=\"600\" YSizeAbs=\"600\"><Skin "
           "Name=\"main\">" +
           KnobElement("knob64", "k64", 10, 10, 64) + KnobElement("knob100", "k100", 100, 10, 64) +
           KnobElement("radial", "k64", 200, 200, 100,
                       Param("RADIAL_GESTURE_START_ANGLE", "225") +
                           Param("RADIAL_GESTURE_END_ANGLE", "135")) +
           KnobElement("turned", "k64", 10, 100, 64,
                       Param("RADIAL_GESTURE_START_ANGLE", "-90") +
                           Param("RADIAL_GESTURE_END_ANGLE", "810")) +
           KnobElement("fine", "k64", 100, 100, 64,
                       Param("FINE_ADJUST_MULTIPLIER", "-0.5") + Param("LINEAR_GESTURE_FULL_RANGE", "300")) +
           KnobElement("noFrames", "k0", 10, 400, 64) +
           KnobElement("short", "k64", 100, 400, 64, Param("LINEAR_GESTURE_FULL_RANGE", "1")) +
           KnobElement("coarse", "k64", 200, 400, 64,
                       Param("FINE_ADJUST_MULTIPLIER", "128") + Param("LINEAR_GESTURE_FULL_RANGE", "128")) +
           "</Skin></SubControl>";
}

struct KnobTest : ::testing::Test
{
    RCPtr<LKnob> Knob(const char16_t* name) { return scene.Find<LKnob>(name); }

    Scene scene{Skin(),
                nullptr,
                {},
                Strip("k64", 67, 64, {65, 66}) + Strip("k100", 101, 100, {}) + Strip("k0", 2, 0, {1})};
};

TEST_F(KnobTest, CreateParametersAndTheStripSetTheGestures)
{
    const struct
    {
        const char16_t* name;
        std::uint32_t frames;
        std::int32_t range;
        bool radial;
        double start, end, multiplier;
        std::int32_t focusLook, disabledLook;
    } rows[] = {
        {u"knob64", 64, 128, false, 0, 0, 0.25, 65, 66},  {u"knob100", 100, 100, false, 0, 0, 0.25, -1, -1},
        {u"radial", 64, 0, true, 225, 135, 0.25, 65, 66}, {u"turned", 64, 0, true, 270, 90, 0.25, 65, 66},
        {u"fine", 64, 300, false, 0, 0, -0.5, 65, 66},    {u"noFrames", 0, 0, false, 0, 0, 0.25, 1, -1},
    };
    for (const auto& row : rows)
    {
        const RCPtr<LKnob> knob = Knob(row.name);
        ASSERT_TRUE(knob) << String(row.name).ToUtf8().GetPtr();
        const char* name = String(row.name).ToUtf8().GetPtr();
        EXPECT_EQ(knob->GetFrameCount(), row.frames) << name;
        EXPECT_EQ(knob->GetLinearFullRange(), row.range) << name;
        EXPECT_EQ(knob->IsRadial(), row.radial) << name;
        EXPECT_EQ(knob->GetStartAngle(), row.start) << name;
        EXPECT_EQ(knob->GetEndAngle(), row.end) << name;
        EXPECT_EQ(knob->GetFineAdjustMultiplier(), row.multiplier) << name;
        EXPECT_EQ(knob->GetFocusLookIndex(), row.focusLook) << name;
        EXPECT_EQ(knob->GetDisabledLookIndex(), row.disabledLook) << name;
    }
    EXPECT_EQ(Knob(u"radial")->GetCentre(), (PointI{50, 50}));
    EXPECT_EQ(LKnob::NormalizeAngle(1e300), LKnob::NormalizeAngle(std::fmod(1e300, 360.0)));
}

TEST_F(KnobTest, TheValueShowsItsFrameAndTheOverlaysFollowFocusAndEnabling)
{
    const RCPtr<LKnob> knob = Knob(u"knob64");
    const struct
    {
        double value;
        std::int32_t frame;
    } rows[] = {{0.5, 32}, {0.0, 0}, {1.0, 63}, {0.25, 16}, {0.49, 31}};
    for (const auto& row : rows)
    {
        knob->SetValue(row.value);
        EXPECT_EQ(knob->GetActiveLookIndex(), row.frame) << row.value;
    }

    const RCPtr<LVisualPart> focus =
        LVisualPart::Create(String(u"focus"), nullptr, 0, nullptr, 1.0f, nullptr);
    const RCPtr<LVisualPart> disabled =
        LVisualPart::Create(String(u"disabled"), nullptr, 0, nullptr, 1.0f, nullptr);
    knob->GetActiveLook(65)->SetClientPart(focus);
    knob->GetActiveLook(66)->SetClientPart(disabled);
    const auto overlays = [&](const RCPtr<LVisualPart>& part)
    {
        for (std::int32_t frame = 0; frame < 64; ++frame)
        {
            if (knob->GetActiveLook(frame)->GetOverlayPart() != part)
            {
                return false;
            }
        }
        return true;
    };
    const std::uint32_t on = Condition::kEnabled;
    knob->OnConditionsChanged(LConditionsParam::Create(on, on | Condition::kHasFocus, PointD{}));
    EXPECT_TRUE(overlays(focus));
    knob->OnConditionsChanged(LConditionsParam::Create(on | Condition::kHasFocus, on, PointD{}));
    EXPECT_TRUE(overlays(nullptr));
    knob->SetEnabled(false);
    EXPECT_TRUE(overlays(disabled));
    knob->SetEnabled(true);
    EXPECT_TRUE(overlays(nullptr));
}

TEST_F(KnobTest, ALinearDragCountsTheAxisAStrokeMostlyFollows)
{
    struct Row
    {
        const char* name;
        const char16_t* knob;
        bool ctrl;
        double from;
        std::vector<PointI> moves; // after a press at (20, 20)
        double value;
    };
    const Row rows[] = {
        {"127 px right", u"knob64", false, 0.0, {{147, 20}}, 1.0},
        {"127 px up", u"knob64", false, 0.0, {{20, -107}}, 1.0},
        {"127 px left", u"knob64", false, 1.0, {{-107, 20}}, 0.0},
        {"Ctrl: a quarter, on 511 steps", u"knob64", true, 0.0, {{147, 20}}, 128.0 / 511},
        {"right and down, mostly right: dx alone", u"knob64", false, 0.0, {{30, 20}, {32, 25}}, 12.0 / 127},
        {"right and down, mostly down: dy alone",
         u"knob64",
         false,
         64.0 / 127,
         {{20, 30}, {25, 32}},
         52.0 / 127},
        {"right and up: both", u"knob64", false, 0.0, {{25, 15}}, 10.0 / 127},
        {"a negative multiplier is kept", u"fine", true, 0.5, {{79, 20}}, 241.0 / 601},
        {"no frames", u"noFrames", false, 0.0, {{147, 20}}, 0.0},
        {"a range of 1", u"short", false, 0.0, {{147, 20}}, 0.0},
        // R / multiplier - 1 is 0 steps: the value is taken unquantised, never 0 / 0.
        {"Ctrl, a multiplier as large as the range", u"coarse", true, 0.0, {{21, 20}}, 1.0},
    };
    for (const Row& row : rows)
    {
        const RCPtr<LKnob> knob = Knob(row.knob);
        knob->SetValue(row.from);
        if (row.ctrl)
        {
            scene.app.keysDown.insert(0x11);
        }
        Press(*knob, 20, 20);
        for (const PointI& move : row.moves)
        {
            Move(*knob, move.x, move.y);
        }
        Release(*knob, row.moves.back().x, row.moves.back().y);
        scene.app.keysDown.clear();
        EXPECT_NEAR(knob->GetValue(), row.value, 1e-12) << row.name;
    }
}

TEST_F(KnobTest, TheRadialGestureTakesThePointersAngleAndSnapsInTheDeadZone)
{
    const RCPtr<LKnob> knob = Knob(u"radial");
    const struct
    {
        const char* name;
        PointI pointer;
        double value;
    } rows[] = {
        {"straight up", {50, 10}, 0.5},          {"3 o'clock", {90, 50}, 225.0 / 270},
        {"9 o'clock", {10, 50}, 45.0 / 270},     {"180: the middle of the dead zone", {50, 90}, 1.0},
        {"190: past the middle", {43, 89}, 0.0}, {"the start", {22, 78}, 0.0},
    };
    for (const auto& row : rows)
    {
        knob->SetValue(0.3);
        // A press on the centre turns nothing; the move does.
        Press(*knob, 50, 50);
        Move(*knob, row.pointer.x, row.pointer.y);
        EXPECT_NEAR(knob->GetValue(), row.value, 1e-9) << row.name;
        Release(*knob, row.pointer.x, row.pointer.y);
    }
}

TEST_F(KnobTest, ADragHoldsValuesSetMeanwhileAndKeysRunAsTheSlidersDo)
{
    const RCPtr<LKnob> knob = Knob(u"knob64");
    const RCPtr<Listener> listener = Listener::On(RCPtr<LControl>(knob));
    Press(*knob, 20, 20);
    Move(*knob, 30, 20);
    EXPECT_EQ(knob->SetValue(0.7), 10.0 / 127);
    Release(*knob, 30, 20);
    EXPECT_DOUBLE_EQ(knob->GetValue(), 0.7);
    EXPECT_EQ(listener->Take(),
              (std::vector<std::string>{"capture 1", "value 0.0787", "value 0.7000", "capture 0"}));

    knob->SetValue(0.0);
    listener->Take();
    EXPECT_EQ(knob->OnKeyDown(Key(0x20270000)), kOk);
    EXPECT_EQ(knob->OnKeyDown(Key(0x20260000, 1)), kOk);
    EXPECT_EQ(knob->OnKeyDown(Key(0x22270000)), kNothingDone);
    EXPECT_EQ(knob->OnKeyDown(Key(0x00260000, 1)), kOk);
    EXPECT_EQ(knob->OnKeyDown(Key(0x20250000)), kOk);
    knob->OnConditionsChanged(
        LConditionsParam::Create(Condition::kEnabled | Condition::kHasFocus, Condition::kEnabled, PointD{}));
    EXPECT_EQ(listener->Take(),
              (std::vector<std::string>{"key down", "value 0.0078", "value 0.0157", "key up 1", "key down",
                                        "value 0.0078", "key up 0"}));
    knob->OnVerticalWheel(LMouseWheelParam::Create(PointI{}, 0, WheelDirection::kTowardsUser));
    knob->OnHorizontalWheel(LMouseWheelParam::Create(PointI{}, 0, WheelDirection::kRight));
    knob->OnHorizontalWheel(LMouseWheelParam::Create(PointI{}, 0, WheelDirection::kRight));
    EXPECT_NEAR(knob->GetValue(), 2 / 127.0, 1e-12);
}

} // namespace
} // namespace KR
