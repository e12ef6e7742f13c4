#pragma once
// A control as the root of a window of the application's own on the test display, shown the
// way the program shows its main window (RunModal without entering the loop), and closed
// however the test ends: the window must not outlive the application.
//
//     KR::TestSupport::ShownWindow shown(*app);
//     ASSERT_NO_FATAL_FAILURE(shown.Show(box));
//     ASSERT_NO_FATAL_FAILURE(shown.Focus());
//     ASSERT_TRUE(shown.Pump([&] { return ...; }));

#include "kr/app/FrameworkApp.h"
#include "kr/ui/RootWindow.h"
#include "platform/window_display/DisplayFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace KR::TestSupport
{

class ShownWindow
{
public:
    explicit ShownWindow(LFrameworkApp& app) : mApp(app) {}
    ~ShownWindow() { Close(); }
    ShownWindow(const ShownWindow&) = delete;
    ShownWindow& operator=(const ShownWindow&) = delete;

    void Show(const RCPtr<LControl>& control)
    {
        ASSERT_EQ(mApp.RunModal(control, false), kOk);
        root = RCPtr<LRootWindow>(dynamic_cast<LRootWindow*>(control->GetRootWindow().Get()));
        ASSERT_TRUE(root && root->GetOSServices());
        window = root->GetOSServices()->GetWindowHandle();
    }
    // The application's idle step on every pass, as its own loop would run it.
    bool Pump(const std::function<bool()>& done, double seconds = 10.0)
    {
        return Platform::Test::PumpUntil(done, seconds, [this](int pass) { return mApp.OnIdle(pass == 0); });
    }
    // The display's keyboard focus to the window, and the application finding its active
    // window through the window layer. Retried: the focus is refused until the display has
    // mapped the window.
    void Focus()
    {
        const std::string id = std::to_string(Platform::GetNativeWindowId(window));
        ASSERT_TRUE(Pump([&] { return Platform::Test::Xdo("windowfocus --sync " + id) == 0; }));
        ASSERT_TRUE(Pump([&] { return mApp.GetActiveRootWindow().Get() == root.Get(); }));
    }
    // A left click with the display's pointer at a point of the window, or amid a control.
    void ClickAt(double x, double y)
    {
        Platform::WindowPoint screen{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
        Platform::ClientToScreen(window, screen);
        ASSERT_TRUE(Platform::Test::MovePointerOnScreen(screen.x, screen.y));
        ASSERT_EQ(Platform::Test::Xdo("click 1"), 0);
    }
    void ClickOn(const LControl& control)
    {
        const PointD at = control.GetAbsolutePosition();
        ClickAt(at.x + control.GetSize().x / 2, at.y + control.GetSize().y / 2);
    }
    // The control's pixels as the display server has them, row by row; none when the window
    // cannot be read.
    std::vector<std::uint32_t> PixelsOf(const LControl& control) const
    {
        std::vector<std::uint32_t> pixels;
        std::int32_t width = 0;
        std::int32_t height = 0;
        if (!Platform::ReadWindowPixels(window, pixels, width, height))
        {
            return {};
        }
        const PointD at = control.GetAbsolutePosition();
        std::vector<std::uint32_t> part;
        for (std::int32_t y = static_cast<std::int32_t>(at.y);
             y < static_cast<std::int32_t>(at.y + control.GetSize().y) && y < height; ++y)
        {
            for (std::int32_t x = static_cast<std::int32_t>(at.x);
                 x < static_cast<std::int32_t>(at.x + control.GetSize().x) && x < width; ++x)
            {
                part.push_back(pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                      static_cast<std::size_t>(x)]);
            }
        }
        return part;
    }
    void Close()
    {
        if (root && root->GetOSServices())
        {
            // Hidden first, so that it lies over no later test's window while it goes.
            root->GetOSServices()->Show(0);
            root->GetOSServices()->EndModal(0);
        }
        root = nullptr;
    }

    RCPtr<LRootWindow> root;
    Platform::WindowHandle window{};

protected:
    LFrameworkApp& mApp;
};

} // namespace KR::TestSupport
