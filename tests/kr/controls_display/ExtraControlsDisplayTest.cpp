// The meters, the progress bar, the status line, the file dropper, a splitter and the
// multi-column list in a real window on the test X server: what each shows is read back
// from the server's pixels, and the pointer is xdotool's.

#include "kr/controls/ControlClasses.h"
#include "kr/controls/LevelMeter.h"
#include "kr/controls/ListBox.h"
#include "kr/controls/MultiColumnListBox.h"
#include "kr/controls/ProgressBar.h"
#include "kr/controls/StatusBar.h"
#include "kr/core/Wrapper.h"
#include "kr/ui_display/PaintedWindow.h"

#include <functional>
#include <string>

namespace KR::UiDisplayTest
{
namespace
{

class ExtrasWindow : public PaintedWindow
{
protected:
    void SetUp() override
    {
        PaintedWindow::SetUp();
        if (IsSkipped())
        {
            return;
        }
        RegisterFrameworkControlClasses(*app.factory);
        Open(u"extras", 320, 250);
        ASSERT_TRUE(WaitForPixel(280, 20, kRed)) << "the dropper at (270, 10), 20 by 20";
    }
    // Pumps with the window's idle step until `done`.
    bool RunUntil(const std::function<bool()>& done)
    {
        return PumpUntil(
            [&]
            {
                rootWindow->OnIdle(true);
                return done();
            });
    }
    // Pumps until every listed pixel shows its colour; on failure writes what is there.
    bool Shows(std::initializer_list<std::tuple<std::int32_t, std::int32_t, std::uint32_t>> pixels,
               const std::string& png)
    {
        const bool shown = RunUntil(
            [&]
            {
                const WindowPixels now = Read();
                for (const auto& [x, y, rgb] : pixels)
                {
                    if (now.At(x, y) != rgb)
                    {
                        return false;
                    }
                }
                return true;
            });
        if (!shown)
        {
            WritePng(Read(), png);
        }
        return shown;
    }
    template <typename T>
    RCPtr<T> Find(const char16_t* name)
    {
        RCPtrArray<LControl> found;
        main->FindDescendantControls(String(name), found);
        return found.GetCount() > 0 ? RCPtr<T>(found.GetAt(0)) : nullptr;
    }
};

TEST_F(ExtrasWindow, LevelMetersShowTheLevelAlongTheirLongAxis)
{
    const RCPtr<LLevelMeter> across = Find<LLevelMeter>(u"meterH");
    const RCPtr<LLevelMeter> down = Find<LLevelMeter>(u"meterV");
    ASSERT_TRUE(across && down);
    across->SetLevel(0.25, 0.0);
    down->SetLevel(0.25, 0.0);
    // Across: the lit bar, 25 of 100 wide from (10, 10). Down: the unlit cover, 75 of 100
    // high from (120, 10), the meter's own look below it.
    EXPECT_TRUE(Shows({{34, 20, kGreen}, {35, 20, kBlue}, {130, 84, kRed}, {130, 85, kBlue}}, "meters.png"));
    across->SetLevel(0.004, 0.0);
    EXPECT_TRUE(Shows({{10, 20, kBlue}}, "meter-hidden.png")) << "under one unit: no bar";
}

TEST_F(ExtrasWindow, TheProgressBarFillsItsShareAndNothingAtZero)
{
    const RCPtr<LProgressBar> progress = Find<LProgressBar>(u"progress");
    ASSERT_TRUE(progress);
    struct Step
    {
        double value;
        std::int32_t lastGreen; // -1: none
    };
    for (const Step step : {Step{0.454, 44}, Step{1.0, 99}, Step{0.0, -1}})
    {
        progress->SetValue(step.value);
        if (step.lastGreen < 0)
        {
            EXPECT_TRUE(Shows({{150, 20, kBlue}}, "progress-empty.png"));
        }
        else if (step.lastGreen == 99)
        {
            EXPECT_TRUE(Shows({{150, 20, kGreen}, {249, 20, kGreen}}, "progress-full.png"));
        }
        else
        {
            EXPECT_TRUE(Shows(
                {{150, 20, kGreen}, {150 + step.lastGreen, 20, kGreen}, {151 + step.lastGreen, 20, kBlue}},
                "progress-part.png"))
                << step.value;
        }
    }
}

TEST_F(ExtrasWindow, TheStatusLineShowsTheTextSetAtOnce)
{
    const RCPtr<LStatusBar> status = Find<LStatusBar>(u"status");
    ASSERT_TRUE(status);
    // The text is drawn red on the label's grey, from x = 152.
    const auto redInLabel = [&]
    {
        const WindowPixels pixels = Read();
        int red = 0;
        for (std::int32_t y = 42; y < 58; ++y)
        {
            for (std::int32_t x = 150; x < 200; ++x)
            {
                const std::uint32_t pixel = pixels.At(x, y);
                red += (pixel >> 16) > ((pixel >> 8) & 0xFF) + 0x40 ? 1 : 0;
            }
        }
        return red;
    };
    EXPECT_EQ(redInLabel(), 0);
    ASSERT_EQ(status->SetTextNow(String(u"MMMM")), kOk);
    const bool drawn = RunUntil([&] { return redInLabel() > 20; });
    WritePng(Read(), "status.png");
    EXPECT_TRUE(drawn);
    ASSERT_EQ(status->SetTextNow(String()), kOk);
    EXPECT_TRUE(RunUntil([&] { return redInLabel() == 0; }));
}

TEST_F(ExtrasWindow, TheDropperIsCarriedAlongBothAxesAndThenGone)
{
    PointAt(280, 20);
    ASSERT_EQ(Xdo("mousedown 1"), 0);
    RunUntil([] { return true; });
    PointAt(250, 80);
    const bool carried = Shows({{250, 80, kRed}, {280, 20, kGrey}}, "dropper-carried.png");
    ASSERT_EQ(Xdo("mouseup 1"), 0);
    EXPECT_TRUE(carried);
    EXPECT_TRUE(Shows({{250, 80, kGrey}, {280, 20, kGrey}}, "dropper-gone.png"));
    EXPECT_TRUE(RunUntil([&] { return !Find<LControl>(u"dropper"); }));
}

TEST_F(ExtrasWindow, TheVerticalSplitterMovesTheSplitAlongXOnlyAndStopsAtTheMinimum)
{
    // The splitter lies over its anchor pane "left", 60 wide from (10, 120); "right" takes
    // the rest, at least 40 of the area's 160.
    ASSERT_TRUE(Shows({{69, 140, kRed}, {70, 140, kGreen}}, "split-before.png"));
    PointAt(40, 140);
    ASSERT_EQ(Xdo("mousedown 1"), 0);
    RunUntil([] { return true; });
    PointAt(70, 150);
    const bool moved = Shows({{99, 140, kRed}, {100, 140, kGreen}, {99, 121, kRed}}, "split-moved.png");
    WritePng(Read(), "split-moved.png");
    PointAt(200, 150);
    const bool stopped = Shows({{129, 140, kRed}, {130, 140, kGreen}}, "split-stopped.png");
    ASSERT_EQ(Xdo("mouseup 1"), 0);
    EXPECT_TRUE(moved) << "30 along X, nothing along Y";
    EXPECT_TRUE(stopped) << "the right pane keeps its 40";
}

TEST_F(ExtrasWindow, ARowClickedOrPointedAtInOneColumnShowsSoInEveryColumn)
{
    const RCPtr<LMultiColumnListBox> table = Find<LMultiColumnListBox>(u"table");
    ASSERT_TRUE(table && table->GetColumnCount() == 3);
    for (std::int32_t c = 0; c < 3; ++c)
    {
        for (const char16_t* text : {u"a", u"b", u"c"})
        {
            table->GetColumn(c)->InsertItem(table->GetColumn(c)->GetItemDataCount(),
                                            MakeStringTag(String(text)));
        }
    }
    // Rows 14 high from y = 190; the right end of each row, past its text.
    const auto at = [](std::int32_t column, std::int32_t row) {
        return std::pair<std::int32_t, std::int32_t>{10 + 100 * column + 95, 190 + 14 * row + 7};
    };
    ASSERT_TRUE(Shows({{at(1, 2).first, at(1, 2).second, kBlue}}, "table-before.png"));
    PointAt(at(0, 2).first, at(0, 2).second);
    ASSERT_EQ(Xdo("click 1"), 0);
    EXPECT_TRUE(Shows({{at(0, 2).first, at(0, 2).second, kRed},
                       {at(1, 2).first, at(1, 2).second, kRed},
                       {at(2, 2).first, at(2, 2).second, kRed},
                       {at(1, 1).first, at(1, 1).second, kBlue}},
                      "table-selected.png"));
    EXPECT_EQ(table->GetColumn(2)->GetSelectedIndices(), std::vector<std::int32_t>{2});
    WritePng(Read(), "table-selected.png");
    // The pointer over row 1 of the middle column lights row 1 of every column, until it
    // leaves the table.
    PointAt(at(1, 1).first, at(1, 1).second);
    EXPECT_TRUE(Shows({{at(0, 1).first, at(0, 1).second, kGreen},
                       {at(1, 1).first, at(1, 1).second, kGreen},
                       {at(2, 1).first, at(2, 1).second, kGreen},
                       {at(2, 0).first, at(2, 0).second, kBlue}},
                      "table-hover.png"));
    WritePng(Read(), "table-hover.png");
    PointAt(5, 245);
    EXPECT_TRUE(Shows({{at(0, 1).first, at(0, 1).second, kBlue}, {at(2, 1).first, at(2, 1).second, kBlue}},
                      "table-left.png"));
}

} // namespace
} // namespace KR::UiDisplayTest
