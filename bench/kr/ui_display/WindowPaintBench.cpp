// One full paint of a tree the size of the editor's main window to the screen: through a
// system window, its root window and the 2D renderer, beside the same rectangles drawn
// with the graphics layer's plain Cairo canvas and presented to a bare window. The ratio
// of the two is what the framework costs on top of the drawing itself.

#include "PaintTiming.h"
#include "kr/render/RendererFactory.h"
#include "kr/render/gdi/StandardRenderers.h"
#include "kr/ui/OSWindow.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Present.h"
#include "platform/window/MessageLoop.h"
#include "support/FrameworkAppStandIn.h"
#include "support/GeneratedControlTree.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <vector>

namespace
{

using namespace KR;
namespace P = Platform;
using BenchSupport::PaintDone;
using BenchSupport::PaintOnce;
using BenchSupport::PaintTimingWindow;
using BenchSupport::ThreadCpuMicroseconds;

constexpr std::int32_t kWidth = 1024, kHeight = 768;

// A look that fills its control in one of a few colours, as a skin's solid parts do.
class FilledLook : public TestSupport::LStandInLook
{
public:
    explicit FilledLook(std::uint32_t argb) : LStandInLook(nullptr, false) { fill = argb; }
    bool SetSize(std::int32_t width, std::int32_t height) override
    {
        size = PointI{width, height};
        return LStandInLook::SetSize(width, height);
    }
    Result DrawClientPart(LRenderer& renderer, const LRegion&) override
    {
        if (++draws % 301 == 0)
        {
            PaintDone(); // the loop ends after this paint
        }
        renderer.FillRect(RectI{0, 0, size.x, size.y}, ColorF::FromARGB(fill), true);
        return kOk;
    }
    std::uint32_t fill;
    PointI size{};
    static inline std::int64_t draws = 0;
};

RCPtr<TestSupport::LStandInLook> MakeFilledLook()
{
    static std::uint32_t next = 0;
    constexpr std::uint32_t colours[] = {0xFF808080, 0xFF3060A0, 0xFFA04030, 0xFF40A050};
    return RCPtr<TestSupport::LStandInLook>(new FilledLook(colours[next++ % 4]));
}

// Where each control of the tree is filled and what clips it, in window pixels.
struct Fill
{
    RectD rect;
    RectD clip;
    std::uint32_t argb;
};

void CollectFills(const LControl& control, PointD origin, RectD clip, std::vector<Fill>& fills,
                  std::vector<Fill>& unclipped)
{
    const PointD at{origin.x + control.GetPosition().x, origin.y + control.GetPosition().y};
    const RectD rect{at.x, at.y, control.GetSize().x, control.GetSize().y};
    RectD own = rect;
    if (control.ClipsToParent())
    {
        IntersectRects(rect, clip, own);
    }
    const auto* look = dynamic_cast<const FilledLook*>(control.GetActiveLook(0).Get());
    (control.ClipsToParent() ? fills : unclipped).push_back(Fill{rect, own, look ? look->fill : 0u});
    LControl& mutableControl = const_cast<LControl&>(control);
    for (std::uint32_t i = 0; i < mutableControl.GetChildren().GetCount(); ++i)
    {
        CollectFills(*mutableControl.GetChildren().GetAt(i, kDrawingOrder), at, own, fills, unclipped);
    }
}

bool HasDisplay(benchmark::State& state)
{
    if (std::getenv("DISPLAY") && P::InitializeWindowSystem())
    {
        return true;
    }
    state.SkipWithError("no display");
    return false;
}

// The editor-sized tree in a shown window, painted whole once.
struct FrameworkScene
{
    FrameworkScene()
    {
        InstallStandardRenderers();
        window->Create(u"Paint", RectI{0, 0, kWidth, kHeight}, 0);
        window->CreateRenderer(1);
        tree = TestSupport::MakeGeneratedControlTree(RCPtr<IRootWindowServices>(), &MakeFilledLook);
        window->GetRootWindow()->SetRootControl(tree);
        window->Show(P::SW_SHOWNORMAL);
        PaintOnce([&] { window->Invalidate(); });
    }
    ~FrameworkScene()
    {
        window->EndModal(0);
        SetRendererFactory(nullptr);
    }
    // Per paint since the last Reset.
    void Report(benchmark::State& state) const
    {
        state.counters["paint handler us"] = window->paintMicroseconds / static_cast<double>(window->paints);
        state.counters["paints per iteration"] =
            static_cast<double>(window->paints) / static_cast<double>(state.iterations());
    }
    void Reset()
    {
        window->paints = 0;
        window->paintMicroseconds = 0.0;
        FilledLook::draws = 0;
    }

    TestSupport::LStandInFrameworkApp app;
    RCPtr<PaintTimingWindow> window{new PaintTimingWindow};
    RCPtr<LControl> tree;
};

void BM_FullPaintThroughTheFramework(benchmark::State& state)
{
    if (!HasDisplay(state))
    {
        return;
    }
    FrameworkScene scene;
    scene.Reset();
    for (auto _ : state)
    {
        PaintOnce([&] { scene.window->Invalidate(); });
    }
    // Each paint fills the root, 30 panels and 270 children: 301 looks.
    state.counters["looks per paint"] =
        static_cast<double>(FilledLook::draws) / static_cast<double>(state.iterations());
    scene.Report(state);
}
BENCHMARK(BM_FullPaintThroughTheFramework)->Unit(benchmark::kMillisecond);

// One child the size of a knob invalidated and painted: its own look, and the parts of its
// panel and the root behind it.
void BM_OneKnobRepaint(benchmark::State& state)
{
    if (!HasDisplay(state))
    {
        return;
    }
    FrameworkScene scene;
    const RCPtr<LControl> knob =
        scene.tree->FindChildControl(String(u"panel7"))->FindChildControl(String(u"c4"));
    scene.Reset();
    for (auto _ : state)
    {
        PaintOnce([&] { knob->Invalidate(RectD{0.0, 0.0, knob->GetSize().x, knob->GetSize().y}, true); });
    }
    state.counters["looks per paint"] =
        static_cast<double>(FilledLook::draws) / static_cast<double>(state.iterations());
    scene.Report(state);
}
BENCHMARK(BM_OneKnobRepaint)->Unit(benchmark::kMillisecond);

// The window made 24 pixels smaller and larger in turn: its layout, and what it paints,
// which should be one whole window per resize.
void BM_ResizeAndPaint(benchmark::State& state)
{
    if (!HasDisplay(state))
    {
        return;
    }
    FrameworkScene scene;
    const RectI client = scene.window->GetRootWindow()->GetScreenClientRect();
    scene.Reset();
    std::int32_t step = 0;
    for (auto _ : state)
    {
        const std::int32_t shrink = (step++ % 2 == 0) ? 24 : 0;
        PaintOnce(
            [&] {
                scene.window->GetRootWindow()->SetWindowRect(client.x, client.y, kWidth - shrink,
                                                             kHeight - shrink);
            });
    }
    // A second paint queued by the first would end the next wait instead, so each iteration
    // still sees one: let the last settle before counting.
    PaintOnce([&] { scene.window->InvalidateRect(0, 0, 1, 1); });
    scene.window->paints -= 1;
    scene.Report(state);
}
BENCHMARK(BM_ResizeAndPaint)->Unit(benchmark::kMillisecond);

// A hundred small rectangles invalidated on a shown window and the region taken, as the
// paint takes it: each invalidation asks the window for its size and tells the system.
void BM_HundredInvalidationsOfAShownWindow(benchmark::State& state)
{
    if (!HasDisplay(state))
    {
        return;
    }
    FrameworkScene scene;
    const RCPtr<LRootWindow> root = scene.window->GetRootWindow();
    LRegion taken;
    for (auto _ : state)
    {
        for (std::int32_t i = 0; i < 100; ++i)
        {
            root->InvalidateRect(RectD{(i * 97) % 1000 + 0.5, (i * 61) % 740 + 0.5, 12.0, 9.0});
        }
        root->TakeInvalidRegion(taken);
    }
    state.counters["rectangles taken"] = static_cast<double>(taken.GetRectCount());
    // What the system was told is painted before the window goes.
    PaintOnce([&] { scene.window->Invalidate(); });
}
BENCHMARK(BM_HundredInvalidationsOfAShownWindow)->Unit(benchmark::kMicrosecond);

struct PlainPainter : P::IWindowProcedure
{
    std::intptr_t WindowProc(P::WindowHandle handle, std::uint32_t message, std::uintptr_t,
                             std::intptr_t) override
    {
        if (message != P::WM_PAINT)
        {
            return 0;
        }
        const double start = ThreadCpuMicroseconds();
        canvas.SetTranslation(0, 0);
        canvas.ResetClip();
        canvas.Clear(0x00000000);
        for (const std::vector<Fill>* list : {&fills, &unclipped})
        {
            for (const Fill& fill : *list)
            {
                canvas.SetTranslation(0, 0);
                canvas.SetClip(fill.clip.x, fill.clip.y, fill.clip.width, fill.clip.height);
                canvas.FillRect(fill.rect.x, fill.rect.y, fill.rect.width, fill.rect.height, fill.argb);
            }
        }
        canvas.Flush();
        ++paints;
        PaintDone();
        P::PresentToWindow(reinterpret_cast<P::WindowKey>(handle), surface, {{0, 0, kWidth, kHeight}});
        paintMicroseconds += ThreadCpuMicroseconds() - start;
        return 0;
    }
    P::Surface surface{kWidth, kHeight};
    P::Canvas canvas{surface};
    std::vector<Fill> fills, unclipped;
    std::int64_t paints = 0;
    double paintMicroseconds = 0.0;
};

// The same fills in a bare window of the same size, presented the same way.
struct PlainScene
{
    PlainScene()
    {
        {
            const RCPtr<LControl> tree =
                TestSupport::MakeGeneratedControlTree(RCPtr<IRootWindowServices>(), &MakeFilledLook);
            CollectFills(*tree, PointD{}, RectD{0, 0, kWidth, kHeight}, painter.fills, painter.unclipped);
        }
        P::WindowCreateParams params;
        params.title = "Paint";
        params.client = {0, 0, kWidth, kHeight};
        params.procedure = &painter;
        window = P::CreateWindow(params);
        P::ShowWindow(window, P::SW_SHOWNORMAL);
        Paint();
        painter.paints = 0;
        painter.paintMicroseconds = 0.0;
    }
    ~PlainScene() { P::DestroyWindow(window); }
    void Paint()
    {
        PaintOnce([&] { P::InvalidateRect(window, nullptr); });
    }

    PlainPainter painter;
    P::WindowHandle window{};
};

void BM_FullPaintWithPlainCairo(benchmark::State& state)
{
    if (!HasDisplay(state))
    {
        return;
    }
    TestSupport::LStandInFrameworkApp app;
    PlainScene scene;
    for (auto _ : state)
    {
        scene.Paint();
    }
    state.counters["paints per iteration"] =
        static_cast<double>(scene.painter.paints) / static_cast<double>(state.iterations());
    state.counters["paint handler us"] =
        scene.painter.paintMicroseconds / static_cast<double>(scene.painter.paints);
}
BENCHMARK(BM_FullPaintWithPlainCairo)->Unit(benchmark::kMillisecond);

// The two above in one loop, each iteration painting both, first one then the other in
// turn, so that a change in the machine's load reaches both alike and neither always
// finds the caches as the other left them. The ratios are what the framework costs.
void BM_FullPaintFrameworkAgainstPlainCairo(benchmark::State& state)
{
    if (!HasDisplay(state))
    {
        return;
    }
    FrameworkScene framework;
    PlainScene plain;
    framework.Reset();
    double frameworkCpu = 0.0, plainCpu = 0.0;
    const auto timed = [](double& total, auto&& paint)
    {
        const double start = ThreadCpuMicroseconds();
        paint();
        total += ThreadCpuMicroseconds() - start;
    };
    const auto paintFramework = [&] { PaintOnce([&] { framework.window->Invalidate(); }); };
    const auto paintPlain = [&] { plain.Paint(); };
    std::int64_t turn = 0;
    for (auto _ : state)
    {
        if (turn++ % 2 == 0)
        {
            timed(frameworkCpu, paintFramework);
            timed(plainCpu, paintPlain);
        }
        else
        {
            timed(plainCpu, paintPlain);
            timed(frameworkCpu, paintFramework);
        }
    }
    const double iterations = static_cast<double>(state.iterations());
    const double frameworkHandler =
        framework.window->paintMicroseconds / static_cast<double>(framework.window->paints);
    const double plainHandler = plain.painter.paintMicroseconds / static_cast<double>(plain.painter.paints);
    state.counters["framework us"] = frameworkCpu / iterations;
    state.counters["plain us"] = plainCpu / iterations;
    state.counters["framework / plain"] = frameworkCpu / plainCpu;
    state.counters["handler framework / plain"] = frameworkHandler / plainHandler;
    state.counters["paints per iteration"] =
        static_cast<double>(framework.window->paints + plain.painter.paints) / iterations;
}
BENCHMARK(BM_FullPaintFrameworkAgainstPlainCairo)->Unit(benchmark::kMillisecond);

} // namespace
