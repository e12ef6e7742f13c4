// A skinned button, scroll bar, slider, knob and combo box in a real window on the test X server,
// pressed with xdotool; the application's clocks follow the real time and the window's idle step
// runs while the test waits.

#include "kr/controls/Button.h"
#include "kr/controls/ComboBox.h"
#include "kr/controls/ControlClasses.h"
#include "kr/controls/Knob.h"
#include "kr/controls/Scrollbar.h"
#include "kr/controls/Slider.h"
#include "kr/notify/NotificationID.h"
#include "kr/ui/MouseTestSupport.h"
#include "kr/ui_display/PaintedWindow.h"

#include <chrono>

namespace KR::UiDisplayTest
{
namespace
{

class ControlsWindow : public PaintedWindow
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
        Open(u"main", 160, 120);
        ASSERT_TRUE(WaitForPixel(50, 35, kBlue)) << "the button at (20, 20), 60 by 30";
        TakeFocus();
    }
    void TearDown() override
    {
        if (main)
        {
            recorder->UnregisterForAllNotifications();
        }
        PaintedWindow::TearDown();
    }
    std::size_t Count(const std::string& entry) const
    {
        return static_cast<std::size_t>(
            std::count(recorder->received.begin(), recorder->received.end(), entry));
    }

    RCPtr<UiTest::Recorder> recorder = UiTest::Recorder::Create();
};

TEST_F(ControlsWindow, AClickOnTheButtonIsItsLeftClickAndThePressShowsRed)
{
    const RCPtr<LControl> go = Child(u"go");
    recorder->Listen(go, {u"NID_LEFT_CLICK"});
    PointAt(50, 35);
    ASSERT_TRUE(RunUntil([&] { return Read().At(50, 35) == kGreen; }, 10.0)) << "hover";
    ASSERT_EQ(Xdo("mousedown 1"), 0);
    const bool pressed = RunUntil([&] { return Read().At(50, 35) == kRed; }, 10.0);
    WritePng(Read(), "button-pressed.png");
    EXPECT_TRUE(pressed);
    ASSERT_EQ(Xdo("mouseup 1"), 0);
    EXPECT_TRUE(RunUntil([&] { return Count("go:NID_LEFT_CLICK") == 1; }, 10.0));
}

TEST_F(ControlsWindow, HoldingTheIncreaseArrowRepeatsAndMovesTheThumb)
{
    const RCPtr<LScrollbar> bar(Child(u"bar"));
    ASSERT_TRUE(bar);
    bar->SetThumbSize(0.25);
    bar->Recompute();
    const RCPtr<LControl> inc = bar->FindChildControl(String(u"inc"));
    recorder->Listen(inc, {u"NID_BUTTON_AUTOREPEAT"});
    clockStart = std::chrono::steady_clock::now();
    PointAt(126, 104);
    ASSERT_EQ(Xdo("mousedown 1"), 0);
    const bool repeated = RunUntil([&] { return Count("inc:NID_BUTTON_AUTOREPEAT") >= 5; }, 3.0);
    ASSERT_EQ(Xdo("mouseup 1"), 0);
    EXPECT_TRUE(repeated) << Count("inc:NID_BUTTON_AUTOREPEAT") << " repeats";
    EXPECT_GE(bar->GetValue(), 0.1 - 1e-9);
    // The thumb (19 high on a track of 76) moved down with the value.
    EXPECT_GT(bar->FindChildControl(String(u"channel"))->FindChildControl(String(u"thumb"))->GetPosition().y,
              0.0);
}

TEST_F(ControlsWindow, DraggingTheSlidersThumbMovesItOnScreenAndSetsTheValue)
{
    const RCPtr<LSlider> slider(Child(u"slide"));
    ASSERT_TRUE(slider);
    // The thumb, a copy of the start marker, at the track's start: (10, 65), 10 by 10.
    ASSERT_TRUE(RunUntil([&] { return Read().At(15, 70) != kGrey; }, 10.0));
    PointAt(15, 70);
    ASSERT_EQ(Xdo("mousedown 1"), 0);
    for (const int x : {25, 40, 60})
    {
        PointAt(x, 70);
    }
    ASSERT_EQ(Xdo("mouseup 1"), 0);
    EXPECT_TRUE(RunUntil([&] { return slider->GetValue() == 0.5 && !slider->IsDragging(); }, 10.0))
        << slider->GetValue();
    // The thumb left the start for (55, 65); the track shows where it was.
    const bool moved = RunUntil(
        [&]
        {
            const WindowPixels pixels = Read();
            return pixels.At(15, 70) == kGrey && pixels.At(60, 70) != kGrey && pixels.At(68, 70) == kGrey;
        },
        10.0);
    WritePng(Read(), "slider-dragged.png");
    EXPECT_TRUE(moved);
    EXPECT_EQ(slider->GetThumb()->GetPosition(), (PointD{45, 5}));
}

TEST_F(ControlsWindow, DraggingTheKnobRightShowsTheFrameOfItsNewValue)
{
    const RCPtr<LKnob> knob(Child(u"turn"));
    ASSERT_TRUE(knob);
    // Three frames, red, green and blue: 129 pixels of travel for the whole range.
    ASSERT_EQ(knob->GetLinearFullRange(), 129);
    ASSERT_TRUE(RunUntil([&] { return Read().At(30, 100) == kRed; }, 10.0)) << "frame 0";
    PointAt(30, 100);
    ASSERT_EQ(Xdo("mousedown 1"), 0);
    for (const int x : {40, 70, 95})
    {
        PointAt(x, 100);
    }
    ASSERT_EQ(Xdo("mouseup 1"), 0);
    EXPECT_TRUE(RunUntil([&] { return knob->GetValue() == 65.0 / 128; }, 10.0)) << knob->GetValue();
    const bool turned = RunUntil([&] { return Read().At(30, 100) == kGreen; }, 10.0);
    WritePng(Read(), "knob-turned.png");
    EXPECT_TRUE(turned) << "frame 1";
}

TEST_F(ControlsWindow, APressOnTheComboSlidesOntoTheThirdRowAndTheReleasePicksIt)
{
    const RCPtr<LComboBox> combo(Child(u"combo"));
    ASSERT_TRUE(combo);
    for (const char16_t* text : {u"one", u"two", u"three"})
    {
        combo->AddItem(String(text));
    }
    recorder->Listen(RCPtr<LControl>(combo), {u"NID_SELECTION_CHANGE"});
    // No room below the combo (45..115 x 100..114 in a window 120 high): the list opens
    // upwards, three rows of 14 from 58; the third is 86..100.
    ASSERT_EQ(Read().At(80, 93), kGrey) << "closed: the panel shows there";
    PointAt(60, 106);
    ASSERT_EQ(Xdo("mousedown 1"), 0);
    const bool opened =
        RunUntil([&] { return combo->IsDropDownShown() && Read().At(80, 93) != kGrey; }, 10.0);
    EXPECT_TRUE(opened) << "the press opens the list";
    PointAt(80, 93);
    const bool slid = RunUntil([&] { return combo->GetListBox()->GetCaret() == 2; }, 10.0);
    WritePng(Read(), "combo-open.png");
    ASSERT_EQ(Xdo("mouseup 1"), 0);
    EXPECT_TRUE(slid) << "the slide onto the third row selects it";
    EXPECT_TRUE(RunUntil(
        [&] { return Count("combo:NID_SELECTION_CHANGE") == 1 && Read().At(80, 93) == kGrey; }, 10.0))
        << "the release picks the row and closes the list";
    EXPECT_EQ(combo->GetSelectedIndex(), 2);
    EXPECT_EQ(combo->GetText(), String(u"three"));
    EXPECT_FALSE(combo->IsDropDownShown());
}

} // namespace
} // namespace KR::UiDisplayTest
