#include "kr/ui/SplashScreen.h"

#include <gtest/gtest.h>

namespace KR
{
namespace
{

// The window's timer is not needed to step the bar: the tests call the tick themselves.
TEST(SplashScreen, ARangeStepsTheBarByItsShareUntilTheCountdownIsOut)
{
    struct Row
    {
        std::int32_t start, end, steps;
        std::int32_t step, ticks, finalPosition;
    };
    const Row rows[] = {
        {0, 100, 8, 3, 32, 96},                          // 100 / 32 by integer division
        {10, 100, 1, 22, 4, 98},  {0, 100, 0, 10, 0, 0}, // no automatic steps
        {50, 100, -3, 10, 0, 50}, {0, 1, 1, 0, 4, 0},    // a step of 0 still counts down
    };
    for (const Row& row : rows)
    {
        LSplashScreen splash;
        splash.SetProgressRange(row.start, row.end, row.steps);
        EXPECT_TRUE(splash.HasBar());
        EXPECT_EQ(splash.GetPosition(), row.start);
        EXPECT_EQ(splash.GetTicksLeft(), row.ticks) << row.end << "/" << row.steps;
        EXPECT_EQ(splash.IsStepping(), row.ticks > 0);
        if (row.ticks > 0)
        {
            EXPECT_EQ(splash.GetStep(), row.step);
        }
        for (std::int32_t i = 0; i < row.ticks + 3; ++i)
        {
            splash.Tick();
        }
        EXPECT_EQ(splash.GetPosition(), row.finalPosition) << row.end << "/" << row.steps;
        EXPECT_EQ(splash.GetTicksLeft(), 0);
        EXPECT_FALSE(splash.IsStepping());
    }
}

TEST(SplashScreen, PositionsSetTheBarWithinItsRangeAndANewRangeRestartsTheSteps)
{
    LSplashScreen splash;
    EXPECT_FALSE(splash.HasBar());
    const std::pair<std::int32_t, std::int32_t> rows[] = {{50, 50}, {150, 100}, {-5, 0}, {100, 100}};
    for (const auto& [given, shown] : rows)
    {
        splash.SetProgressPos(given);
        EXPECT_EQ(splash.GetPosition(), shown) << given;
    }
    splash.SetProgressRange(0, 100, 8);
    for (int i = 0; i < 10; ++i)
    {
        splash.Tick();
    }
    EXPECT_EQ(splash.GetPosition(), 30);
    // The caller's own position counts; the steps go on from there.
    splash.SetProgressPos(90);
    splash.Tick();
    EXPECT_EQ(splash.GetPosition(), 93);
    EXPECT_EQ(splash.GetTicksLeft(), 21);
    splash.SetProgressRange(20, 100, 2);
    EXPECT_EQ(splash.GetPosition(), 20);
    EXPECT_EQ(splash.GetTicksLeft(), 8);
    EXPECT_EQ(splash.GetStep(), 10);
    // Past the end the bar starts over, as a stepping bar does.
    splash.SetProgressPos(95);
    splash.Tick();
    EXPECT_EQ(splash.GetPosition(), 5);
}

TEST(SplashScreen, TheBarColourMakesTheBarAtTheStartAndIsOpaque)
{
    LSplashScreen splash;
    splash.SetBarColor(0x00123456);
    EXPECT_TRUE(splash.HasBar());
    EXPECT_EQ(splash.GetPosition(), 0);
    EXPECT_EQ(splash.GetBarColor(), 0xFF123456u);
}

TEST(SplashScreen, StopWithoutStartOnlyResetsTheFieldsAndTheImageIsKeptOnce)
{
    LSplashScreen splash;
    const ConstRCPtr<LBitmap> first(new LBitmap(40, 30));
    splash.SetImage(first);
    splash.SetImage(ConstRCPtr<LBitmap>(new LBitmap(80, 60)));
    splash.SetTitle(u"Editor");
    splash.SetProgressPos(40);
    ASSERT_TRUE(splash.HasImage());
    splash.Stop();
    EXPECT_FALSE(splash.HasImage());
    EXPECT_FALSE(splash.IsRunning());
    EXPECT_TRUE(splash.GetTitle().IsEmpty());
    EXPECT_FALSE(splash.HasBar());
    EXPECT_EQ(splash.GetPosition(), 0);
    // Nothing to show: no window.
    splash.Start();
    EXPECT_FALSE(splash.IsRunning());
    splash.SetImage(first);
    EXPECT_TRUE(splash.HasImage());
}

} // namespace
} // namespace KR
