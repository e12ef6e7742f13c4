// The program host on the test display: its splash, the picture from the resource folder in
// a window of its own until it is hidden; the pointer its application hides and moves.

#include "kr/app/ApplicationHost.h"
#include "kr/app/FrameworkApp.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/SplashScreen.h"
#include "platform/png/PngCodec.h"
#include "platform/window/Window.h"
#include "platform/window_display/DisplayFixture.h"
#include "support/ApplicationHostStandIn.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{

namespace P = KR::Platform;

class SplashHost : public KR::TestSupport::LApplicationHostStandIn
{
public:
    explicit SplashHost(KR::String path) : mPath(std::move(path)) {}
    KR::String GetSplashImagePath() override { return mPath; }

private:
    KR::String mPath;
};

TEST(SplashHost, TheSplashShowsItsPictureUntilItIsHiddenAndNothingWithoutOne)
{
    if (!std::getenv("DISPLAY") || !P::InitializeWindowSystem())
    {
        GTEST_SKIP() << "no display";
    }
    KR::TestSupport::TempFolder folder;
    std::vector<std::uint32_t> picture(160 * 120, 0xFF336699u);
    ASSERT_TRUE(P::WritePngFile((folder / "Splash.png").string(), 160, 120, picture.data()));

    SplashHost host(folder.Text("Splash.png"));
    host.ShowSplashScreen();
    ASSERT_NE(host.GetSplashScreen(), nullptr);
    const P::WindowHandle window = host.GetSplashScreen()->GetWindow();
    std::vector<std::uint32_t> pixels;
    std::int32_t width = 0, height = 0;
    EXPECT_TRUE(P::Test::PumpUntil(
        [&]
        {
            return P::ReadWindowPixels(window, pixels, width, height) && width == 160 && height == 120 &&
                   (pixels[10 * 160 + 10] & 0xFFFFFFu) == 0x336699u;
        }));
    // Centred in the system's work area, as no application exists yet to tell another.
    P::WindowRect placed{};
    ASSERT_TRUE(P::GetWindowRect(window, placed));
    const P::WindowRect area = P::GetWorkArea();
    EXPECT_EQ(placed.x, (area.x + area.x + area.width - 160) / 2);
    EXPECT_EQ(placed.y, (area.y + area.y + area.height - 120) / 2);
    host.HideSplashScreen();
    EXPECT_EQ(host.GetSplashScreen(), nullptr);
    EXPECT_FALSE(P::IsWindow(window));

    SplashHost without{KR::String()};
    without.ShowSplashScreen();
    EXPECT_EQ(without.GetSplashScreen(), nullptr);
    without.HideSplashScreen();
}

} // namespace

namespace
{

TEST(HostPointer, ThePointersDisplayCountStepsAndAWarpMovesIt)
{
    if (!std::getenv("DISPLAY") || !P::InitializeWindowSystem())
    {
        GTEST_SKIP() << "no display";
    }
    KR::RCPtr<KR::LFrameworkApp> app = new KR::LFrameworkApp(u"Pointer");
    EXPECT_EQ(app->ShowCursor(false), -1);
    EXPECT_EQ(app->ShowCursor(false), -2);
    EXPECT_EQ(app->ShowCursor(true), -1);
    EXPECT_EQ(app->ShowCursor(true), 0);
    for (const KR::PointI to : {KR::PointI{123, 45}, KR::PointI{600, 500}})
    {
        ASSERT_EQ(app->SetCursorPos(to.x, to.y), KR::kOk);
        EXPECT_TRUE(P::Test::PumpUntil([&] { return app->GetCursorPos() == to; }));
    }
}

} // namespace
