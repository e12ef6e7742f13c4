#include "DisplayFixture.h"

#include "platform/graphics/Present.h"
#include "platform/graphics/Surface.h"

#include <algorithm>

namespace KR::Platform::Test
{
namespace
{

TEST_F(DisplayTest, OpensWithItsTitleAndClassAndPresentsWhatItPaints)
{
    Surface frame(200, 150);
    frame.WritePixels({0, 0, 200, 150}, 0xFF2040C0);
    bool presented = false;
    WindowRect update;
    procedure.hook = [&](WindowHandle handle, std::uint32_t message, std::uintptr_t, std::intptr_t)
    {
        if (message == WM_PAINT && GetUpdateRect(handle, update))
        {
            presented = PresentToWindow(reinterpret_cast<WindowKey>(handle), frame, {{10, 20, 50, 40}});
        }
        return std::intptr_t{0};
    };
    ASSERT_TRUE(SetWindowText(window, "Presets \xE2\x80\x94 one"));
    ASSERT_TRUE(InvalidateRect(window, nullptr));
    ASSERT_TRUE(PumpUntil([&] { return presented; }));
    EXPECT_EQ(update, (WindowRect{0, 0, 200, 150}));
    EXPECT_FALSE(GetUpdateRect(window, update)) << "only while painting";

    const std::string properties = Capture("xprop -id " + Xid() + " WM_CLASS _NET_WM_NAME");
    EXPECT_NE(properties.find("\"KRFrameworkWindow\""), std::string::npos) << properties;
    EXPECT_NE(properties.find("Presets \xE2\x80\x94 one"), std::string::npos) << properties;

    std::vector<std::uint32_t> pixels;
    std::int32_t width = 0, height = 0;
    ASSERT_TRUE(ReadWindowPixels(window, pixels, width, height));
    ASSERT_EQ(width, 200);
    EXPECT_EQ(pixels[30 * width + 20], 0xFF2040C0u) << "inside the presented rectangle";
    EXPECT_NE(pixels[5 * width + 5], 0xFF2040C0u) << "outside it";

    // A frame that ends outside a draw asks for one, and the draw brings it.
    presented = false;
    procedure.hook = nullptr;
    EXPECT_FALSE(PresentToWindow(reinterpret_cast<WindowKey>(window), frame, {{0, 0, 10, 10}}));
    const std::size_t paints = procedure.Of(WM_PAINT).size();
    EXPECT_TRUE(PumpUntil([&] { return procedure.Of(WM_PAINT).size() > paints; }));
}

TEST_F(DisplayTest, AWindowSizedPresentLandsRowForRowAcrossItsBands)
{
    // As large as a main window, so it goes in bands; every row its own colour, so a band
    // sent to the wrong place, twice or not at all would show. The small rectangle after it
    // goes at once.
    constexpr std::int32_t kWidth = 1000, kHeight = 600;
    RecordingProcedure large;
    const WindowHandle big = Open(large, {20, 20, kWidth, kHeight});
    const struct Closing
    {
        WindowHandle handle;
        ~Closing() { DestroyWindow(handle); }
    } closing{big};
    Surface frame(kWidth, kHeight);
    for (std::int32_t y = 0; y < kHeight; ++y)
    {
        frame.WritePixels({0, y, kWidth, 1}, 0xFF000000u | static_cast<std::uint32_t>(y) << 8 | 0x40u);
    }
    bool presented = false;
    large.hook = [&](WindowHandle handle, std::uint32_t message, std::uintptr_t, std::intptr_t)
    {
        if (message == WM_PAINT)
        {
            presented = PresentToWindow(reinterpret_cast<WindowKey>(handle), frame,
                                        {{0, 0, 200, 3}, {30, 5, kWidth - 40, kHeight - 10}});
        }
        return std::intptr_t{0};
    };
    ASSERT_TRUE(InvalidateRect(big, nullptr));
    ASSERT_TRUE(PumpUntil([&] { return presented; }));
    std::vector<std::uint32_t> pixels;
    std::int32_t width = 0, height = 0;
    ASSERT_TRUE(ReadWindowPixels(big, pixels, width, height));
    ASSERT_EQ(width, kWidth);
    ASSERT_EQ(height, kHeight);
    for (std::int32_t y = 5; y < kHeight - 5; ++y)
    {
        for (const std::int32_t x : {30, kWidth / 2, kWidth - 11})
        {
            EXPECT_EQ(pixels[y * width + x], frame.GetPixel(x, y)) << "row " << y << " column " << x;
        }
        EXPECT_NE(pixels[y * width + 29], frame.GetPixel(29, y)) << "row " << y << " left of the rectangle";
    }
    EXPECT_EQ(pixels[1 * width + 10], frame.GetPixel(10, 1));
    EXPECT_NE(pixels[(kHeight - 4) * width + 100], frame.GetPixel(100, kHeight - 4)) << "below the rectangle";
}

TEST_F(DisplayTest, ClicksReachTheWindowAtTheirLocalPointAndSecondPressesAreDoubleClicks)
{
    PointAt(30, 40);
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == window; })) << "focus follows the pointer";
    procedure.messages.clear();

    ASSERT_EQ(Xdo("click 1"), 0);
    ASSERT_TRUE(PumpUntil([&] { return !procedure.Of(WM_LBUTTONUP).empty(); }));
    const std::vector<Message> downs = procedure.Of(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(PointFromParam(downs[0].lParam), (WindowPoint{30, 40}));
    EXPECT_EQ(downs[0].wParam & MK_LBUTTON, MK_LBUTTON);
    EXPECT_EQ(procedure.Of(WM_LBUTTONUP)[0].wParam & MK_LBUTTON, 0u);

    PointAt(120, 90); // far from the first click, so the next press starts afresh
    procedure.messages.clear();
    ASSERT_EQ(Xdo("click --repeat 2 --delay 60 1 click 3"), 0);
    ASSERT_TRUE(PumpUntil([&] { return !procedure.Of(WM_RBUTTONUP).empty(); }));
    const std::vector<std::uint32_t> expected{WM_LBUTTONDOWN, WM_LBUTTONUP,   WM_LBUTTONDBLCLK,
                                              WM_LBUTTONUP,   WM_RBUTTONDOWN, WM_RBUTTONUP};
    EXPECT_EQ(procedure.Sequence({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
                                  WM_RBUTTONUP, WM_RBUTTONDBLCLK}),
              expected);
}

TEST_F(DisplayTest, WheelClicksAreOneStepEachWithUpAndRightPositive)
{
    PointAt(50, 50);
    struct Row
    {
        const char* button;
        std::uint32_t message;
        int total;
    };
    const Row rows[] = {{"4", WM_MOUSEWHEEL, 240},
                        {"5", WM_MOUSEWHEEL, -240},
                        {"6", WM_MOUSEHWHEEL, -240},
                        {"7", WM_MOUSEHWHEEL, 240}};
    for (const Row& row : rows)
    {
        procedure.messages.clear();
        ASSERT_EQ(Xdo(std::string("click --repeat 2 ") + row.button), 0) << row.button;
        auto sum = [&]
        {
            int total = 0;
            for (const Message& m : procedure.Of(row.message))
            {
                total += WheelDeltaFromParam(m.wParam);
            }
            return total;
        };
        EXPECT_TRUE(PumpUntil([&] { return sum() == row.total; }, 5))
            << "button " << row.button << ": " << sum();
        WindowPoint screen{50, 50};
        ClientToScreen(window, screen);
        ASSERT_FALSE(procedure.Of(row.message).empty()) << row.button;
        EXPECT_EQ(PointFromParam(procedure.Of(row.message)[0].lParam), screen)
            << "screen point, " << row.button;
    }
}

TEST_F(DisplayTest, KeysBecomeVirtualKeysWithTheirSidesRepeatAltAndCharacters)
{
    PointAt(20, 20);
    ASSERT_EQ(Xdo("windowfocus --sync " + Xid()), 0);
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == window; }));
    std::vector<std::pair<std::uintptr_t, bool>> controlHeldAt;
    procedure.hook = [&](WindowHandle, std::uint32_t message, std::uintptr_t wParam, std::intptr_t)
    {
        if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)
        {
            controlHeldAt.emplace_back(wParam, GetKeyState(0xA3) && GetKeyState(0x11));
        }
        return std::intptr_t{0};
    };
    struct Row
    {
        const char* keys;
        std::uint32_t message; // of the last key going down
        std::uintptr_t vk;
        bool alt;
    };
    const Row rows[] = {
        {"key Control_R+c", WM_KEYDOWN, 'C', false}, {"key shift+Tab", WM_KEYDOWN, 0x09, false},
        {"key F5", WM_KEYDOWN, 0x74, false},         {"key Right", WM_KEYDOWN, 0x27, false},
        {"key shift+1", WM_KEYDOWN, '1', false},     {"key alt+x", WM_SYSKEYDOWN, 'X', true},
    };
    for (const Row& row : rows)
    {
        procedure.messages.clear();
        controlHeldAt.clear();
        ASSERT_EQ(Xdo(row.keys), 0) << row.keys;
        ASSERT_TRUE(PumpUntil(
            [&]
            {
                return !procedure.Of(WM_KEYUP).empty() && !GetKeyState(0x10) && !GetKeyState(0x11) &&
                       !GetKeyState(0x12) && !GetKeyState(static_cast<std::uint8_t>(row.vk));
            }))
            << row.keys;
        const std::vector<Message> downs = procedure.Of(row.message);
        ASSERT_FALSE(downs.empty()) << row.keys;
        const Message& last = downs.back();
        EXPECT_EQ(last.wParam, row.vk) << row.keys;
        EXPECT_EQ(last.lParam & kKeyPreviousBit, 0) << row.keys;
        EXPECT_EQ((last.lParam & kKeyContextBit) != 0, row.alt) << row.keys;
    }
    // The right Ctrl was held, and seen as the right one, when C went down (xdotool also
    // presses the left one for the Ctrl mask).
    procedure.messages.clear();
    controlHeldAt.clear();
    ASSERT_EQ(Xdo("key Control_R+c"), 0);
    ASSERT_TRUE(PumpUntil([&] { return procedure.Of(WM_KEYUP).size() >= 2; }));
    const std::pair<std::uintptr_t, bool> atC{'C', true};
    EXPECT_NE(std::find(controlHeldAt.begin(), controlHeldAt.end(), atC), controlHeldAt.end());

    procedure.messages.clear();
    ASSERT_EQ(Xdo("type aZ"), 0);
    ASSERT_TRUE(PumpUntil([&] { return procedure.Of(WM_CHAR).size() == 2; }));
    EXPECT_EQ(procedure.Of(WM_CHAR)[0].wParam, u'a');
    EXPECT_EQ(procedure.Of(WM_CHAR)[1].wParam, u'Z');
}

TEST_F(DisplayTest, LeavingSizingClosingAndLosingTheCaptureAreMessages)
{
    PointAt(10, 10);
    procedure.messages.clear();
    ASSERT_TRUE(MovePointerOnScreen(900, 900));
    EXPECT_TRUE(PumpUntil([&] { return !procedure.Of(WM_MOUSELEAVE).empty(); }));

    ASSERT_EQ(Xdo("windowsize " + Xid() + " 320 240"), 0);
    ASSERT_TRUE(PumpUntil(
        [&]
        {
            const std::vector<Message> sizes = procedure.Of(WM_SIZE);
            return !sizes.empty() && PointFromParam(sizes.back().lParam) == WindowPoint{320, 240};
        }));
    WindowRect client;
    ASSERT_TRUE(GetClientRect(window, client));
    EXPECT_EQ(client, (WindowRect{0, 0, 320, 240}));

    ASSERT_TRUE(SendDesktopCloseRequest(window));
    ASSERT_TRUE(PumpUntil([&] { return !procedure.Of(WM_SYSCOMMAND).empty(); }));
    EXPECT_EQ(procedure.Of(WM_SYSCOMMAND)[0].wParam, SC_CLOSE);
    EXPECT_TRUE(IsWindow(window)) << "the procedure decides whether it closes";

    RecordingProcedure otherProcedure;
    const WindowHandle other = Open(otherProcedure, {400, 100, 100, 100});
    SetCapture(window);
    SetCapture(other);
    ASSERT_EQ(procedure.Of(WM_CAPTURECHANGED).size(), 1u);
    EXPECT_EQ(procedure.Of(WM_CAPTURECHANGED)[0].lParam, static_cast<std::intptr_t>(other));
    ReleaseCapture();
    ASSERT_EQ(otherProcedure.Of(WM_CAPTURECHANGED).size(), 1u);
    EXPECT_EQ(GetCapture(), 0u);

    EXPECT_TRUE(DestroyWindow(other));
    EXPECT_FALSE(IsWindow(other));
    EXPECT_EQ(SendMessage(other, WM_USER, 0, 0), 0) << "a closed window's handle finds nothing";
    EXPECT_FALSE(PostMessage(0, WM_USER, 0, 0));
}

} // namespace
} // namespace KR::Platform::Test
