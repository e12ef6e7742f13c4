// A control dragged with the real pointer: xdotool presses, moves and releases on the
// test X server, and the window's pixels show the control where the pointer took it.

#include "PaintedWindow.h"
#include "kr/notify/NotificationID.h"

namespace KR::UiDisplayTest
{
namespace
{

// Makes a control draggable the way a listener of its press does: when the left button
// goes down on it, its drag mode becomes 2 (move) on both axes.
class MoveOnPress : public LNotificationClient
{
public:
    explicit MoveOnPress(const RCPtr<LControl>& control) : mControl(control)
    {
        RegisterForNotification(control, u"NID_LEFT_DRAG_CONDITION_CHANGE");
    }
    Result Receive(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>& notification) override
    {
        const RCPtr<LConditionsParam> conditions = notification->GetDataAs<LConditionsParam>();
        if (conditions && (conditions->current & ~conditions->previous & Condition::kLeftPressed) != 0)
        {
            mControl->SetDragMode(2, 3);
        }
        return kOk;
    }

private:
    RCPtr<LControl> mControl;
};

TEST_F(PaintedWindow, APressMoveAndReleaseDragsAModeTwoControlByThePointersDistance)
{
    Open(u"main", 160, 100);
    ASSERT_TRUE(WaitForPixel(50, 35, kRed)) << "the swatch at (20, 20), 60 by 30";
    const RCPtr<LControl> swatch = Child(u"swatch");
    const RCPtr<MoveOnPress> listener = new MoveOnPress(swatch);

    // A window that gains the focus meanwhile would end the capture; it has it first.
    TakeFocus();
    PointAt(30, 25);
    ASSERT_TRUE(PumpUntil([&] { return window->IsActiveWindow(); }));
    ASSERT_EQ(Xdo("mousedown 1"), 0);
    ASSERT_TRUE(PumpUntil([&] { return swatch->HasCapture(); })) << "the press takes the capture";
    PointAt(70, 55);
    ASSERT_EQ(Xdo("mouseup 1"), 0);
    ASSERT_TRUE(PumpUntil([&] { return !swatch->HasCapture(); })) << "the release ends the drag";
    EXPECT_EQ(swatch->GetFrame(), (RectD{60, 50, 60, 30})) << "moved by (40, 30), as the pointer was";

    const bool moved = WaitForPixel(25, 25, kGrey) && WaitForPixel(119, 79, kRed);
    const WindowPixels after = Read();
    WritePng(after, "drag-moved.png");
    ASSERT_TRUE(moved);
    std::int32_t red = 0;
    for (std::int32_t y = 0; y < after.height; ++y)
    {
        for (std::int32_t x = 0; x < after.width; ++x)
        {
            const bool inside = x >= 60 && x < 120 && y >= 50 && y < 80;
            EXPECT_EQ(after.At(x, y), inside ? kRed : kGrey) << x << ", " << y;
            red += after.At(x, y) == kRed ? 1 : 0;
            if (HasFailure())
            {
                return;
            }
        }
    }
    EXPECT_EQ(red, 60 * 30);
    listener->ReleaseInternalReferences();
}

} // namespace
} // namespace KR::UiDisplayTest
