// The system window on a display (Xvfb): from creating a window to its first paint, for a
// window carrying a tree of about 300 controls made from a skin against a bare window of
// the window layer that paints one rectangle with plain Cairo; and one pointer motion
// from the display system's event queue to the control that takes it. Run with $DISPLAY
// set (scripts/lib/services.sh starts a private Xvfb).

#include "EditorSizedSkin.h"
#include "kr/render/RendererFactory.h"
#include "kr/render/gdi/StandardRenderers.h"
#include "kr/ui/OSWindow.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Present.h"
#include "platform/window/MessageLoop.h"
#include "platform/window/Window.h"
#include "support/FrameworkAppStandIn.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace
{

namespace P = KR::Platform;

// The loop waiting for the next paint or motion.
P::MessageLoop* gWaiting = nullptr;

void EndWait()
{
    if (gWaiting)
    {
        gWaiting->End();
    }
}

// Runs the message loop until EndWait; false when that took longer than `ms`.
bool Wait(std::uint32_t ms = 10000)
{
    struct Guard : P::IWindowProcedure
    {
        std::intptr_t WindowProc(P::WindowHandle, std::uint32_t message, std::uintptr_t,
                                 std::intptr_t) override
        {
            if (message == P::WM_TIMER)
            {
                timedOut = true;
                EndWait();
            }
            return 0;
        }
        bool timedOut = false;
    } guard;
    P::WindowCreateParams params;
    params.procedure = &guard;
    const P::WindowHandle timer = P::CreateWindow(params);
    P::SetTimer(timer, 1, ms);
    P::MessageLoop loop;
    gWaiting = &loop;
    loop.Run();
    gWaiting = nullptr;
    P::DestroyWindow(timer);
    return !guard.timedOut;
}

// The editor-sized tree's main control: its first paint and each move end the wait.
class MainControl : public KR::LControl
{
public:
    using KR::LControl::LControl;
    KR::Result DrawContent(const KR::RCPtr<KR::LRenderer>&) override
    {
        EndWait();
        return KR::kOk;
    }
    KR::Result OnMouseMove(const KR::RCPtr<KR::LPointWithModifiersParam>&) override
    {
        EndWait();
        return KR::kOk;
    }
};

struct Editor
{
    Editor()
    {
        app.factory = MakeEditorSizedFactory(&KR::LControl::CreateFromSkin<MainControl>);
        app.defaultFont = KR::LFont::GetFont(KR::String(u"Arial"), 9.0f, 0);
        KR::InstallStandardRenderers();
    }
    ~Editor() { KR::SetRendererFactory(nullptr); }

    // A window with the tree, shown; false when it could not be made.
    bool Open(KR::RCPtr<KR::OSWindow>& window, KR::RCPtr<KR::LControl>& main)
    {
        window = new KR::OSWindow;
        if (KR::Failed(window->Create(u"Editor", KR::RectI{0, 0, 1024, 768}, 0)) ||
            KR::Failed(window->CreateRenderer(1)))
        {
            return false;
        }
        main = app.factory->CreateControlByName(KR::String(u"mainControl"), window->GetRootWindow());
        app.activeRootWindow = window->GetRootWindow();
        window->GetRootWindow()->SetRootControl(main);
        window->Show(P::SW_SHOWNORMAL);
        return main != nullptr;
    }

    KR::TestSupport::LStandInFrameworkApp app;
};

bool HaveDisplay(benchmark::State& state)
{
    if (!std::getenv("DISPLAY") || !P::InitializeWindowSystem())
    {
        state.SkipWithError("no display");
        return false;
    }
    return true;
}

void BM_StartToFirstPaintEditorSizedWindow(benchmark::State& state)
{
    if (!HaveDisplay(state))
    {
        return;
    }
    Editor editor;
    for (auto _ : state)
    {
        KR::RCPtr<KR::OSWindow> window;
        KR::RCPtr<KR::LControl> main;
        if (!editor.Open(window, main) || !Wait())
        {
            state.SkipWithError("the window did not paint");
            break;
        }
        state.PauseTiming();
        window->EndModal(0);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartToFirstPaintEditorSizedWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

// A bare window of the window layer that paints one rectangle with plain Cairo.
struct BareWindow : P::IWindowProcedure
{
    std::intptr_t WindowProc(P::WindowHandle window, std::uint32_t message, std::uintptr_t,
                             std::intptr_t) override
    {
        if (message == P::WM_PAINT)
        {
            canvas.FillRect(10, 10, 200, 100, 0xFF336699);
            canvas.Flush();
            P::PresentToWindow(reinterpret_cast<P::WindowKey>(window), surface, {{0, 0, 1024, 768}});
            EndWait();
        }
        return 0;
    }
    P::Surface surface{1024, 768};
    P::Canvas canvas{surface};
};

void BM_StartToFirstPaintBareWindow(benchmark::State& state)
{
    if (!HaveDisplay(state))
    {
        return;
    }
    BareWindow bare;
    for (auto _ : state)
    {
        P::WindowCreateParams params;
        params.title = "Bare";
        params.client = {0, 0, 1024, 768};
        params.procedure = &bare;
        const P::WindowHandle window = P::CreateWindow(params);
        P::ShowWindow(window, P::SW_SHOWNORMAL);
        if (!Wait())
        {
            state.SkipWithError("the window did not paint");
            break;
        }
        state.PauseTiming();
        P::DestroyWindow(window);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartToFirstPaintBareWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OneMotionEventToTheControl(benchmark::State& state)
{
    if (!HaveDisplay(state))
    {
        return;
    }
    Editor editor;
    KR::RCPtr<KR::OSWindow> window;
    KR::RCPtr<KR::LControl> main;
    if (!editor.Open(window, main) || !Wait())
    {
        state.SkipWithError("the window did not paint");
        return;
    }
    // Input reaches the controls of the active window only.
    const std::string xid = std::to_string(P::GetNativeWindowId(window->GetWindowHandle()));
    std::system(("xdotool windowfocus --sync " + xid + " >/dev/null 2>&1").c_str());
    // The main control holds the capture, so every move reaches it after the hit test.
    for (int i = 0; i < 500 && !window->IsActiveWindow(); ++i)
    {
        Wait(10);
    }
    window->GetRootWindow()->SetCapture(main);
    std::int32_t step = 0;
    for (auto _ : state)
    {
        // Never twice at one point: the window layer skips a move that goes nowhere.
        step = (step + 7) % 700;
        if (!P::QueuePointerMotion(window->GetWindowHandle(), P::WindowPoint{100 + step, 300}) || !Wait())
        {
            state.SkipWithError("the move did not arrive");
            break;
        }
    }
    window->EndModal(0);
}
BENCHMARK(BM_OneMotionEventToTheControl)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
