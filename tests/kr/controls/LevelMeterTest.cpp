// The level meter: the bar's length on either axis, the clip light with and without
// latching, the click that unlatches it, the peak mark, and a skin without parts.

#include "kr/controls/LevelMeter.h"
#include "kr/ui/ControlTestSupport.h"
#include "support/FrameworkAppStandIn.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace KR
{
namespace
{

using UiTest::TestControl;

struct LevelMeterTest : ::testing::Test
{
    // A meter of `size` with the parts named, each at (x, 0) in a 4 x 4 frame.
    RCPtr<LLevelMeter> Make(PointD size, std::initializer_list<std::pair<const char16_t*, double>> parts)
    {
        RCPtr<LLevelMeter> meter(new LLevelMeter(RCPtr<LControl>(root), String(u"meter")));
        meter->SetFrame(PointD{}, size);
        for (const auto& [name, x] : parts)
        {
            Place(TestControl::Make(RCPtr<LControl>(meter), String(name)), x);
        }
        meter->Initialize();
        meter->SetCreationFinished();
        meter->PlaceParts();
        recorder->Listen(RCPtr<LControl>(meter), {u"NID_CLIPLIGHT_UNLATCHED"});
        return meter;
    }
    // As a skin places a part: at (x, 0), 4 x 4.
    static void Place(const RCPtr<TestControl>& part, double x)
    {
        DockedPositionSpec left;
        DockedPositionSpec top;
        SizeSpec four;
        left.absolute = x;
        four.absolute = 4;
        part->SetPlacements(left, four, top, four);
    }
    ~LevelMeterTest() override { root->ReleaseInternalReferences(); }
    static RCPtr<LControl> Part(const RCPtr<LLevelMeter>& meter, const char16_t* name)
    {
        return meter->FindChildControl(String(name));
    }

    TestSupport::LStandInFrameworkApp app;
    RCPtr<UiTest::FakeRootWindow> window = UiTest::FakeRootWindow::Create();
    RCPtr<TestControl> root = TestControl::MakeRoot(window);
    RCPtr<UiTest::Recorder> recorder = UiTest::Recorder::Create();
};

const std::initializer_list<std::pair<const char16_t*, double>> kAllParts = {
    {u"activeOverlay", 0}, {u"peakLo", 10}, {u"peakHi", 90}, {u"clipButton", 0}};

TEST_F(LevelMeterTest, TheBarSpansTheLevelAlongTheLongAxis)
{
    const struct
    {
        const char* name;
        PointD size;
        double level;
        bool shown;
        PointD barSize;
    } rows[] = {
        {"horizontal", {100, 10}, 0.25, true, {25, 4}},
        {"vertical covers the unlit part", {10, 100}, 0.25, true, {4, 75}},
        {"horizontal full", {100, 10}, 1.0, true, {100, 4}},
        {"zero", {100, 10}, 0.0, false, {4, 4}},
        {"under one unit", {100, 10}, 0.004, false, {4, 4}},
        {"half a unit rounds away from zero", {100, 10}, 0.005, true, {1, 4}},
    };
    for (const auto& row : rows)
    {
        const RCPtr<LLevelMeter> meter = Make(row.size, kAllParts);
        EXPECT_EQ(meter->SetLevel(row.level, 0.0), kOk) << row.name;
        const RCPtr<LControl> bar = Part(meter, u"activeOverlay");
        EXPECT_EQ(bar->IsShown(false), row.shown) << row.name;
        EXPECT_EQ(bar->GetSize(), row.barSize) << row.name;
        EXPECT_DOUBLE_EQ(meter->GetValue(), row.level) << row.name;
        EXPECT_TRUE(meter->IsNotFocusable(false)) << row.name;
        meter->ReleaseInternalReferences();
        root->GetChildren().RemoveAll();
    }
}

TEST_F(LevelMeterTest, ANewClipCountLightsTheLightAndTheNextLevelPutsItOutUnlessLatching)
{
    for (const bool latching : {false, true})
    {
        const RCPtr<LLevelMeter> meter = Make({100, 10}, kAllParts);
        EXPECT_EQ(meter->SetClipLatching(latching), kOk);
        EXPECT_EQ(meter->Update(0.5, 0.5, 1), kOk);
        EXPECT_TRUE(meter->IsClipLightOn()) << latching;
        EXPECT_EQ(meter->GetClipCount(), 1);
        meter->SetLevel(0.4, 0.0);
        EXPECT_EQ(meter->IsClipLightOn(), latching) << latching;
        meter->ReleaseInternalReferences();
        root->GetChildren().RemoveAll();
    }
}

TEST_F(LevelMeterTest, AClickPutsALitLatchedLightOutAndSaysSoAndOnAnUnlitOneNothing)
{
    const RCPtr<LLevelMeter> meter = Make({100, 10}, kAllParts);
    const RCPtr<LControl> light = Part(meter, u"clipButton");
    meter->SetClipLatching(true);
    light->SendNotificationByName(u"NID_LEFT_CLICK");
    EXPECT_TRUE(recorder->received.empty());
    meter->Update(0.1, 0.0, 7);
    meter->SetLevel(0.2, 0.0);
    EXPECT_TRUE(meter->IsClipLightOn());
    light->SendNotificationByName(u"NID_LEFT_CLICK");
    EXPECT_FALSE(meter->IsClipLightOn());
    EXPECT_EQ(recorder->received, std::vector<std::string>{"meter:NID_CLIPLIGHT_UNLATCHED"});
    // Latching off again: a click on a lit light is no business of the meter's.
    meter->SetClipLatching(false);
    meter->Update(0.1, 0.0, 8);
    light->SendNotificationByName(u"NID_LEFT_CLICK");
    EXPECT_TRUE(meter->IsClipLightOn());
    EXPECT_EQ(recorder->received.size(), 1u);
}

TEST_F(LevelMeterTest, ThePeakMarkMovesFromItsPlaceTowardsPeakHiAndNeedsBoth)
{
    const RCPtr<LLevelMeter> meter = Make({100, 10}, kAllParts);
    const RCPtr<LControl> mark = Part(meter, u"peakLo");
    EXPECT_FALSE(Part(meter, u"peakHi")->IsShown(false));
    const struct
    {
        double peak;
        bool shown;
        double x;
    } rows[] = {{0.5, true, 50}, {1.0, true, 90}, {0.0, false, 90}, {0.25, true, 30}};
    for (const auto& row : rows)
    {
        meter->SetLevel(0.5, row.peak);
        EXPECT_EQ(mark->IsShown(false), row.shown) << row.peak;
        EXPECT_EQ(mark->GetPosition().x, row.x) << row.peak;
    }
    const RCPtr<LLevelMeter> lonely = Make({100, 10}, {{u"peakLo", 10}});
    lonely->SetLevel(0.5, 1.0);
    EXPECT_FALSE(Part(lonely, u"peakLo")->IsShown(false));
    lonely->ReleaseInternalReferences();
    meter->ReleaseInternalReferences();
}

TEST_F(LevelMeterTest, WithoutPartsTheMeterKeepsItsValueAndRefusesLatching)
{
    const RCPtr<LLevelMeter> meter = Make({100, 10}, {});
    EXPECT_EQ(meter->SetClipLatching(true), kFail);
    EXPECT_EQ(meter->Update(0.75, 0.5, 3), kOk);
    meter->SetValue(0.3);
    EXPECT_DOUBLE_EQ(meter->GetValue(), 0.3);
    EXPECT_FALSE(meter->IsClipLightOn());
    meter->ReleaseInternalReferences();
}

} // namespace
} // namespace KR
