// The progress bar: the time-left words, the bar and percentage for a value, the
// estimate on the driven clock (clamped for a tiny rate) and its end at 1.

#include "kr/controls/ProgressBar.h"
#include "kr/ui/ControlTestSupport.h"
#include "support/FrameworkAppStandIn.h"
#include "support/Utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace KR
{
namespace
{

using UiTest::TestControl;

constexpr const char* kWords = R"(<?xml version="1.0" encoding="utf-8"?><Test_Strings>
<StringTable ID="Framework">
<String ID="HOURS_SINGULAR"><Locale LCID="9">Hour</Locale></String>
<String ID="HOURS_PLURAL"><Locale LCID="9">Hours</Locale></String>
<String ID="MINUTES_SINGULAR"><Locale LCID="9">Minute</Locale></String>
<String ID="MINUTES_PLURAL"><Locale LCID="9">Minutes</Locale></String>
<String ID="SECONDS_SINGULAR"><Locale LCID="9">Second</Locale></String>
<String ID="SECONDS_PLURAL"><Locale LCID="9">Seconds</Locale></String>
<String ID="REMAINING"><Locale LCID="9">Remaining</Locale></String>
</StringTable></Test_Strings>)";

using KR::TestSupport::Utf8;

struct ProgressBarTest : ::testing::Test
{
    ProgressBarTest()
    {
        app.factory = UiTest::MakeFactory(nullptr, kWords);
        bar = new LProgressBar(RCPtr<LControl>(root), String(u"progress"));
        bar->SetFrame(PointD{}, PointD{200, 20});
        for (const char16_t* name : {u"activeOverlay", u"timeRemainingLabel", u"percentCompleteLabel"})
        {
            TestControl::Make(RCPtr<LControl>(bar), String(name), RectD{0, 0, 4, 4});
        }
        bar->Initialize();
        bar->SetCreationFinished();
        bar->PlaceParts();
    }
    ~ProgressBarTest() override
    {
        bar->ReleaseInternalReferences();
        root->ReleaseInternalReferences();
    }
    RCPtr<LControl> Part(const char16_t* name) const { return bar->FindChildControl(String(name)); }
    std::string TimeText() const { return Utf8(Part(u"timeRemainingLabel")->GetText()); }

    TestSupport::LStandInFrameworkApp app;
    RCPtr<UiTest::FakeRootWindow> window = UiTest::FakeRootWindow::Create();
    RCPtr<TestControl> root = TestControl::MakeRoot(window);
    RCPtr<LProgressBar> bar;
};

TEST_F(ProgressBarTest, TheTimeLeftInWords)
{
    const struct
    {
        std::int32_t seconds;
        const char* text;
    } rows[] = {
        {0, "0 Seconds Remaining"},
        {1, "1 Second Remaining"},
        {65, "1 Minute 5 Seconds Remaining"},
        {3600, "1 Hour 0 Minutes 0 Seconds Remaining"},
        {7322, "2 Hours 2 Minutes 2 Seconds Remaining"},
        {-5, "0 Seconds Remaining"},
        {2147483647, "596523 Hours 14 Minutes 7 Seconds Remaining"},
    };
    EXPECT_FALSE(Part(u"timeRemainingLabel")->IsShown(false));
    for (const auto& row : rows)
    {
        bar->SetTimeRemaining(row.seconds);
        EXPECT_EQ(TimeText(), row.text) << row.seconds;
    }
    EXPECT_TRUE(Part(u"timeRemainingLabel")->IsShown(false));
}

TEST_F(ProgressBarTest, TheBarAndThePercentageFollowTheValue)
{
    const struct
    {
        double value;
        bool shown;
        double width;
        const char* percent;
    } rows[] = {
        {0.0, false, 4, "0"}, {1.0, true, 200, "100"}, {0.454, true, 91, "45"}, {0.002, false, 91, "0"}};
    for (const auto& row : rows)
    {
        bar->SetValue(row.value);
        EXPECT_EQ(Part(u"activeOverlay")->IsShown(false), row.shown) << row.value;
        EXPECT_EQ(Part(u"activeOverlay")->GetSize().x, row.width) << row.value;
        EXPECT_EQ(Utf8(Part(u"percentCompleteLabel")->GetText()), row.percent) << row.value;
    }
    EXPECT_TRUE(bar->IsNotFocusable(false));
}

TEST_F(ProgressBarTest, TheEstimateIsTheAverageRateClampedAndEndsAtOne)
{
    const struct
    {
        const char* name;
        double start;
        double next;
        const char* text;
    } rows[] = {
        {"average rate", 0.1, 0.2, "1 Minute 20 Seconds Remaining"},
        {"tiny rate", 0.1, 0.1 + 1e-11, "596523 Hours 14 Minutes 7 Seconds Remaining"},
    };
    for (const auto& row : rows)
    {
        bar->SetValue(row.start);
        bar->SetEstimating(true);
        app.Advance(10000);
        bar->SetValue(row.next);
        EXPECT_EQ(TimeText(), row.text) << row.name;
        // No rise, no new estimate.
        app.Advance(10000);
        bar->SetValue(row.next);
        EXPECT_EQ(TimeText(), row.text) << row.name;
        bar->SetEstimating(false);
    }
    bar->SetEstimating(true);
    bar->SetValue(1.0);
    EXPECT_FALSE(bar->IsEstimating());
}

} // namespace
} // namespace KR
