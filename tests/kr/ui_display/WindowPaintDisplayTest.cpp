// What the controls draw reaches the window's pixels, and a repaint of one control's
// rectangle changes nothing else.

#include "PaintedWindow.h"

namespace KR::UiDisplayTest
{
namespace
{

TEST_F(PaintedWindow, TheWindowShowsWhatItsControlsDrawAndARepaintOfOneControlTouchesOnlyItsRectangle)
{
    Open(u"main", 160, 100);
    const bool red = WaitForPixel(50, 35, kRed);
    const WindowPixels before = Read();
    WritePng(before, "paint-red.png");
    ASSERT_TRUE(red) << "the swatch's look";
    ASSERT_EQ(before.width, 160);
    EXPECT_EQ(before.At(10, 10), kGrey) << "the panel beside it";
    EXPECT_EQ(before.At(20, 20), kRed) << "the swatch's corner";
    EXPECT_EQ(before.At(79, 49), kRed);
    EXPECT_EQ(before.At(80, 50), kGrey);

    // The second look invalidates the swatch's rectangle alone.
    const RCPtr<LControl> swatch = Child(u"swatch");
    ASSERT_EQ(swatch->SelectLook(1), kOk);
    ASSERT_TRUE(WaitForPixel(50, 35, kGreen));
    const WindowPixels after = Read();
    WritePng(after, "paint-green.png");
    std::int32_t changedInside = 0, changedOutside = 0;
    for (std::int32_t y = 0; y < after.height; ++y)
    {
        for (std::int32_t x = 0; x < after.width; ++x)
        {
            const bool inside = x >= 20 && x < 80 && y >= 20 && y < 50;
            const bool changed = after.At(x, y) != before.At(x, y);
            (inside ? changedInside : changedOutside) += changed ? 1 : 0;
        }
    }
    EXPECT_EQ(changedInside, 60 * 30);
    EXPECT_EQ(changedOutside, 0);
}

} // namespace
} // namespace KR::UiDisplayTest
