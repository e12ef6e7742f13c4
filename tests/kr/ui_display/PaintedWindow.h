#pragma once
// A system window carrying a root window whose tree comes from the skin the test program
// embeds (resources/PAINT_SKINS.xml), painted through the 2D renderer, and the window's
// pixels as the X server has them.

#include "kr/render/RendererFactory.h"
#include "kr/render/gdi/StandardRenderers.h"
#include "kr/ui/OSWindow.h"
#include "platform/png/PngCodec.h"
#include "platform/window_display/DisplayFixture.h"
#include "support/FrameworkAppStandIn.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace KR::UiDisplayTest
{

namespace P = Platform;

// The colours the test skins paint with, as the window's pixels read back (0xRRGGBB).
constexpr std::uint32_t kBlue = 0x0000FF, kGreen = 0x00C000, kRed = 0xFF0000, kGrey = 0x808080,
                        kWhite = 0xFFFFFF, kYellow = 0xFFFF00;
using P::Test::PumpUntil;
using P::Test::MovePointerOnScreen;
using P::Test::Xdo;

struct WindowPixels
{
    std::vector<std::uint32_t> argb;
    std::int32_t width = 0;
    std::int32_t height = 0;

    // Every pixel without alpha, for comparing whole windows.
    std::vector<std::uint32_t> Rgb() const
    {
        std::vector<std::uint32_t> rgb(argb);
        for (std::uint32_t& pixel : rgb)
        {
            pixel &= 0xFFFFFFu;
        }
        return rgb;
    }
    // Without alpha: the X server's pixels carry none.
    std::uint32_t At(std::int32_t x, std::int32_t y) const
    {
        return argb[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                    static_cast<std::size_t>(x)] &
               0xFFFFFFu;
    }
};

class PaintedWindow : public ::testing::Test
{
protected:
    // The skin's own classes; a test adds its own before Open.
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
        {
            GTEST_SKIP() << "no display";
        }
        InstallStandardRenderers();
        app.factory = RCPtr<LControlFactory>(new LControlFactory(String(u"PresetEditor")));
        ASSERT_EQ(app.factory->LoadSkins(String(u"::PAINT_SKINS")), kOk);
        app.factory->RegisterControlClass(String(u"Test.Panel"), &LControl::CreateFromSkin<LControl>);
        app.defaultFont = LFont::GetFont(String(u"Sans"), 9.0f, 0);
    }
    void TearDown() override
    {
        SetRendererFactory(nullptr);
        if (window->GetWindowHandle() != 0)
        {
            window->EndModal(0); // not modal: closes the window
        }
    }

    // Opens a window of the client size with the skin's control `name` as its root.
    void Open(const char16_t* name, std::int32_t width, std::int32_t height)
    {
        ASSERT_EQ(window->Create(u"Paint", RectI{200, 150, width, height}, 0), kOk);
        ASSERT_EQ(window->CreateRenderer(1), kOk);
        rootWindow = window->GetRootWindow();
        ASSERT_TRUE(rootWindow);
        app.activeRootWindow = rootWindow;
        main = app.factory->CreateControlByName(String(name), rootWindow);
        ASSERT_TRUE(main);
        ASSERT_EQ(rootWindow->SetRootControl(main), kOk);
        window->Show(P::SW_SHOWNORMAL);
    }
    WindowPixels Read() const
    {
        WindowPixels pixels;
        EXPECT_TRUE(P::ReadWindowPixels(window->GetWindowHandle(), pixels.argb, pixels.width, pixels.height));
        return pixels;
    }
    // Pumps until the pixel at (x, y) shows the colour (0xRRGGBB).
    bool WaitForPixel(std::int32_t x, std::int32_t y, std::uint32_t rgb)
    {
        return PumpUntil(
            [&]
            {
                const WindowPixels pixels = Read();
                return pixels.width > x && pixels.height > y && pixels.At(x, y) == rgb;
            });
    }
    // Into the test's temporary folder, for a person to look at.
    static void WritePng(const WindowPixels& pixels, const std::string& name)
    {
        std::vector<std::uint32_t> opaque(pixels.argb);
        for (std::uint32_t& pixel : opaque)
        {
            pixel |= 0xFF000000u;
        }
        const std::string path = ::testing::TempDir() + name;
        EXPECT_TRUE(P::WritePngFile(path, pixels.width, pixels.height, opaque.data())) << path;
    }
    // The display's keyboard focus to the window, and the window knowing it has it.
    void TakeFocus()
    {
        ASSERT_EQ(
            Xdo("windowfocus --sync " + std::to_string(P::GetNativeWindowId(window->GetWindowHandle()))), 0);
        ASSERT_TRUE(PumpUntil([&] { return window->HasFocus(); }));
    }
    // Pumps until `done`, the application's clocks on the real time since `clockStart` and
    // the window's idle step run on every pass: auto-repeat and menu delays run as for a user.
    bool RunUntil(const std::function<bool()>& done, double seconds = 10.0)
    {
        return PumpUntil(
            [&]
            {
                const double elapsed =
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - clockStart).count();
                app.seconds = elapsed;
                app.milliseconds = static_cast<std::uint32_t>(elapsed * 1000.0);
                rootWindow->OnIdle(true);
                return done();
            },
            seconds);
    }
    RCPtr<LControl> Child(const char16_t* name) const { return main->FindChildControl(String(name)); }
    void PointAt(std::int32_t x, std::int32_t y)
    {
        PointI screen{};
        window->ClientToScreen(screen, PointI{x, y});
        ASSERT_TRUE(MovePointerOnScreen(screen.x, screen.y));
    }

    TestSupport::LStandInFrameworkApp app;
    RCPtr<OSWindow> window = new OSWindow;
    RCPtr<LRootWindow> rootWindow;
    RCPtr<LControl> main;
    std::chrono::steady_clock::time_point clockStart = std::chrono::steady_clock::now();
};

} // namespace KR::UiDisplayTest
