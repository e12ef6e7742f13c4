#include "kr/ui/SplashScreen.h"

#include "platform/png/PngCodec.h"
#include "platform/window_display/DisplayFixture.h"
#include "support/FrameworkAppStandIn.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

namespace KR
{
namespace
{

namespace P = Platform;
using P::Test::Capture;
using P::Test::PumpUntil;

constexpr std::uint32_t kImageColor = 0xFF3060A0;

// A picture of one colour with a white square at its top left.
ConstRCPtr<LBitmap> Picture(std::int32_t width, std::int32_t height)
{
    const ConstRCPtr<LBitmap> bitmap(new LBitmap(width, height));
    const RCPtr<LBitmapData> data = bitmap->LockPixels();
    for (std::int32_t y = 0; y < height; ++y)
    {
        for (std::int32_t x = 0; x < width; ++x)
        {
            *data->GetPixelAddress(x, y) = (x < 10 && y < 10) ? 0xFFFFFFFF : kImageColor;
        }
    }
    bitmap->GetNativeImage()->MarkChanged();
    return bitmap;
}

// What xwininfo says of the window: "Absolute upper-left X", "Width", ... as numbers; empty
// when the X server knows no such window.
std::map<std::string, int> WindowInfo(std::uint64_t xid)
{
    std::map<std::string, int> info;
    const std::string out = Capture("xwininfo -id " + std::to_string(xid) + " 2>/dev/null");
    std::size_t line = 0;
    while (line < out.size())
    {
        const std::size_t end = std::min(out.find('\n', line), out.size());
        const std::string text = out.substr(line, end - line);
        const std::size_t colon = text.find(':');
        if (colon != std::string::npos)
        {
            const std::size_t first = text.find_first_not_of(' ');
            info[text.substr(first, colon - first)] = std::atoi(text.c_str() + colon + 1);
        }
        line = end + 1;
    }
    return info;
}

class SplashDisplay : public P::Test::OnDisplay
{
protected:
    void SetUp() override
    {
        OnDisplay::SetUp();
        if (Stopped())
        {
            return;
        }
        app.workArea = RectI{100, 50, 600, 400};
    }
    bool ReadPixels(std::vector<std::uint32_t>& pixels, std::int32_t& width, std::int32_t& height)
    {
        return P::ReadWindowPixels(splash.GetWindow(), pixels, width, height);
    }
    // Pumps until the pixel at (x, y) is the colour (0xRRGGBB).
    bool WaitForPixel(std::int32_t x, std::int32_t y, std::uint32_t rgb)
    {
        return PumpUntil(
            [&]
            {
                std::vector<std::uint32_t> pixels;
                std::int32_t width = 0, height = 0;
                return ReadPixels(pixels, width, height) && x < width && y < height &&
                       (pixels[static_cast<std::size_t>(y * width + x)] & 0xFFFFFFu) == rgb;
            });
    }

    TestSupport::LStandInFrameworkApp app;
    LSplashScreen splash;
};

TEST_F(SplashDisplay, TheWindowIsCentredInTheWorkAreaWithTheImagesSizeAndGoneAfterStop)
{
    // Without a window manager the X server gives the keyboard to the window under the
    // pointer, wherever an earlier test left it: the pointer goes where the splash does not
    // show, so only the splash itself could take the keyboard.
    ASSERT_TRUE(P::Test::MovePointerOnScreen(0, 0));
    splash.SetImage(Picture(200, 100));
    splash.Start();
    ASSERT_TRUE(splash.IsRunning());
    const P::WindowHandle window = splash.GetWindow();
    splash.Start();
    EXPECT_EQ(splash.GetWindow(), window);
    ASSERT_TRUE(WaitForPixel(50, 50, kImageColor & 0xFFFFFF));
    const std::uint64_t xid = P::GetNativeWindowId(window);
    std::map<std::string, int> info = WindowInfo(xid);
    // (100 + 700 - 200) / 2, (50 + 450 - 100) / 2
    EXPECT_EQ(info["Absolute upper-left X"], 300);
    EXPECT_EQ(info["Absolute upper-left Y"], 200);
    EXPECT_EQ(info["Width"], 200);
    EXPECT_EQ(info["Height"], 100);
    EXPECT_NE(Capture("xwininfo -id " + std::to_string(xid)).find("IsViewable"), std::string::npos);
    // Shown without taking the keyboard.
    EXPECT_NE(P::GetActiveWindow(), window);
    splash.Stop();
    EXPECT_FALSE(P::IsWindow(window));
    EXPECT_FALSE(splash.HasImage());
    EXPECT_TRUE(PumpUntil([&] { return WindowInfo(xid).empty(); }));
}

TEST_F(SplashDisplay, TheBarPaintsAtTheBottomAndStepsOnTheWindowsTimer)
{
    splash.SetImage(Picture(200, 100));
    splash.Start();
    ASSERT_TRUE(splash.IsRunning());
    splash.SetBarColor(0xFFD02020);
    splash.SetProgressPos(50);
    // The bar is inset 4 and sits 20 from the bottom, 16 high, with a frame of one pixel:
    // its trough runs from x 5 to 194, filled to the middle.
    ASSERT_TRUE(WaitForPixel(60, 88, 0xD02020));
    std::vector<std::uint32_t> pixels;
    std::int32_t width = 0, height = 0;
    ASSERT_TRUE(ReadPixels(pixels, width, height));
    const auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)] & 0xFFFFFFu; };
    EXPECT_EQ(at(5, 88), 0xD02020u);
    EXPECT_EQ(at(150, 88), 0xE6E6E6u);
    EXPECT_EQ(at(2, 88), kImageColor & 0xFFFFFFu);
    EXPECT_EQ(at(100, 78), kImageColor & 0xFFFFFFu);
    EXPECT_EQ(at(100, 97), kImageColor & 0xFFFFFFu);
    EXPECT_EQ(at(3, 3), 0xFFFFFFu);
    std::vector<std::uint32_t> opaque(pixels);
    for (std::uint32_t& pixel : opaque)
    {
        pixel |= 0xFF000000u;
    }
    P::WritePngFile(::testing::TempDir() + "splash.png", width, height, opaque.data());

    // One step of the range every 250 ms, from the range's start, by the window's timer.
    splash.SetProgressRange(0, 100, 1);
    EXPECT_EQ(splash.GetStep(), 25);
    ASSERT_TRUE(PumpUntil([&] { return splash.GetPosition() == 25; }));
    ASSERT_TRUE(WaitForPixel(5 + 190 / 4 - 2, 88, 0xD02020));
    ASSERT_TRUE(PumpUntil([&] { return !splash.IsStepping(); }));
    EXPECT_EQ(splash.GetPosition(), 100);
    ASSERT_TRUE(WaitForPixel(193, 88, 0xD02020));
}

} // namespace
} // namespace KR
