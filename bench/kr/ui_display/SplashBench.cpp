// The splash screen on a display (Xvfb): one step of its bar with the repaint of the
// window it causes (the picture and the bar composed and copied to the window).

#include "kr/ui/SplashScreen.h"
#include "platform/window/MessageLoop.h"
#include "platform/window/Window.h"
#include "support/FrameworkAppStandIn.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace
{

namespace P = KR::Platform;

void BM_SplashTickWithRepaint(benchmark::State& state)
{
    if (!std::getenv("DISPLAY") || !P::InitializeWindowSystem())
    {
        state.SkipWithError("no display");
        return;
    }
    KR::TestSupport::LStandInFrameworkApp app;
    const KR::ConstRCPtr<KR::LBitmap> picture(new KR::LBitmap(480, 320));
    KR::LSplashScreen splash;
    splash.SetImage(picture);
    splash.Start();
    if (!splash.IsRunning())
    {
        state.SkipWithError("no splash window");
        return;
    }
    // Mapped and painted once before measuring.
    for (int i = 0; i < 50 && !P::IsWindowVisible(splash.GetWindow()); ++i)
    {
        splash.PaintPending();
    }
    splash.PaintPending();
    for (auto _ : state)
    {
        // A step of 1 with 100 ticks to go, so every tick moves the bar.
        if (splash.GetTicksLeft() == 0)
        {
            splash.SetProgressRange(0, 100, 25);
        }
        splash.Tick();
        P::UpdateWindow(splash.GetWindow());
    }
    splash.Stop();
}
BENCHMARK(BM_SplashTickWithRepaint)->Unit(benchmark::kMicrosecond);

} // namespace
