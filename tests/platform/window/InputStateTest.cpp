#include "platform/window/InputState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace KR::Platform
{
namespace
{

TEST(KeySymbolTest, KeySymbolsGiveTheirVirtualKeyAndTheSideHeld)
{
    struct Row
    {
        const char* name;
        std::uint32_t symbol;
        std::uint8_t vk;
        std::uint8_t held;
    };
    const Row rows[] = {
        {"a", 'a', 'A', 'A'},
        {"Z", 'Z', 'Z', 'Z'},
        {"7", '7', '7', '7'},
        {"KP_3", 0xFFB3, 0x63, 0x63},
        {"F1", 0xFFBE, 0x70, 0x70},
        {"F12", 0xFFC9, 0x7B, 0x7B},
        {"F24", 0xFFD5, 0x87, 0x87},
        {"Tab", 0xFF09, 0x09, 0x09},
        {"ISO_Left_Tab", 0xFE20, 0x09, 0x09},
        {"Left", 0xFF51, 0x25, 0x25},
        {"Down", 0xFF54, 0x28, 0x28},
        {"Shift_L", 0xFFE1, 0x10, 0xA0},
        {"Shift_R", 0xFFE2, 0x10, 0xA1},
        {"Control_R", 0xFFE4, 0x11, 0xA3},
        {"Alt_L", 0xFFE9, 0x12, 0xA4},
        {"Super_R", 0xFFEC, 0x5C, 0x5C},
        {"semicolon", ';', 0xBA, 0xBA},
        {"unknown", 0x1008FF13, 0, 0},
    };
    for (const Row& row : rows)
    {
        const VirtualKeyOf key = VirtualKeyFromKeySymbol(row.symbol);
        EXPECT_EQ(key.vk, row.vk) << row.name;
        EXPECT_EQ(key.held, row.held) << row.name;
    }
}

TEST(KeysHeldTest, RepeatSidesAndAltComeFromTheKeysHeld)
{
    KeysHeld keys;
    EXPECT_FALSE(keys.Set('A', true));
    EXPECT_TRUE(keys.Set('A', true)) << "a second press without release repeats";
    EXPECT_EQ(keys.KeyParam(true, true, 38) & kKeyPreviousBit, kKeyPreviousBit);
    EXPECT_EQ((keys.KeyParam(true, false, 38) >> 16) & 0xFF, 38);

    keys.Set(0xA1, true); // right Shift
    EXPECT_TRUE(keys.IsDown(0x10));
    EXPECT_TRUE(keys.IsDown(0xA1));
    EXPECT_FALSE(keys.IsDown(0xA0));

    EXPECT_EQ(keys.KeyParam(true, false, 0) & kKeyContextBit, 0) << "no Alt yet";
    keys.Set(0xA4, true);
    EXPECT_TRUE(keys.IsDown(0x12));
    EXPECT_EQ(keys.KeyParam(true, false, 0) & kKeyContextBit, kKeyContextBit);
    keys.Set(0xA4, false);
    EXPECT_FALSE(keys.IsAltDown()) << "Alt only while held";

    keys.Set(VK_LBUTTON, true);
    keys.Clear();
    EXPECT_FALSE(keys.IsDown('A'));
    EXPECT_FALSE(keys.IsDown(0x10));
    EXPECT_TRUE(keys.IsDown(VK_LBUTTON)) << "a button's release still arrives after the keyboard leaves";
    EXPECT_NE(keys.KeyParam(false, true, 0) & kKeyTransitionBit, 0);
}

TEST(DoubleClickTest, SecondPressSoonNearAndOfTheSameButtonInTheSameWindow)
{
    struct Row
    {
        const char* name;
        WindowHandle window;
        std::uint32_t button;
        WindowPoint point;
        std::uint32_t time;
        bool isDouble;
    };
    // Each row is a second press after a first one of button 1 in window 1 at (10, 10), time 1000.
    const Row rows[] = {
        {"same place", 1, 1, {10, 10}, 1100, true},    {"at the time limit", 1, 1, {10, 10}, 1400, true},
        {"too late", 1, 1, {10, 10}, 1401, false},     {"at the distance", 1, 1, {14, 6}, 1100, true},
        {"too far", 1, 1, {15, 10}, 1100, false},      {"other button", 1, 3, {10, 10}, 1100, false},
        {"other window", 2, 1, {10, 10}, 1100, false},
    };
    for (const Row& row : rows)
    {
        DoubleClickDetector detector;
        detector.SetLimits(400, 4);
        ASSERT_FALSE(detector.Press(1, 1, {10, 10}, 1000)) << row.name;
        EXPECT_EQ(detector.Press(row.window, row.button, row.point, row.time), row.isDouble) << row.name;
    }

    DoubleClickDetector detector;
    detector.SetLimits(400, 4);
    detector.Press(1, 1, {0, 0}, 0xFFFFFF00u);
    EXPECT_TRUE(detector.Press(1, 1, {0, 0}, 0x10)) << "the clock wraps between the presses";
    EXPECT_FALSE(detector.Press(1, 1, {0, 0}, 0x20)) << "the press after a double click is a plain one";
    EXPECT_TRUE(detector.Press(1, 1, {0, 0}, 0x30));
}

TEST(ParamPackingTest, PointsDeltasAndClampsSurviveTheTrip)
{
    const WindowPoint far = PointFromParam(MakePointParam(-70000, 2147483647));
    EXPECT_EQ(far, (WindowPoint{-70000, 2147483647}));
    EXPECT_EQ(WheelDeltaFromParam(MakeWheelParam(-120, MK_SHIFT)), -120);
    EXPECT_EQ(MakeWheelParam(-120, MK_SHIFT) & 0xFFFF, MK_SHIFT);
    EXPECT_EQ(KeyFlagsFromParam(kKeyContextBit | kKeyPreviousBit), 0x6000u);
    EXPECT_EQ(ClampToInt32(1e300), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ClampToInt32(-1e300), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(ClampToInt32(-3.7), -3);
    EXPECT_EQ(ClampToInt32(std::nan("")), 0);
}

} // namespace
} // namespace KR::Platform
