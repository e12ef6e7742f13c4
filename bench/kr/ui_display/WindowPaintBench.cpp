// One full paint of a tree the size of the editor's main window to the screen: through a
// system window, its root window and the 2D renderer, beside the same rectangles drawn
// with the graphics layer's plain Cairo canvas and presented to a bare window. The ratio
// of the two is what the framework costs on top of the drawing itself.

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
#include <vector>

namespace
{

using namespace KR;
namespace P = Platform;

constexpr std::int32_t kWidth = 1024, kHeight = 768;

// The loop waiting for the paint in progress; the paint ends it.
P::MessageLoop* gWaiting = nullptr;

// Asks for a paint of the whole window and runs the messages until it was done. GTK paints
// on its frame clock, so the wall time holds a wait for the next frame: the CPU time is
// the cost.
template <typename Invalidate>
void PaintOnce(Invalidate&& invalidate)
{
    P::MessageLoop loop;
    gWaiting = &loop;
    invalidate();
    loop.Run();
    gWaiting = nullptr;
}

void PaintDone()
{
    if (gWaiting)
    {
        gWaiting->End();
    }
}

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

void BM_FullPaintThroughTheFramework(benchmark::State& state)
{
    if (!HasDisplay(state))
    {
        return;
    }
    TestSupport::LStandInFrameworkApp app;
    InstallStandardRenderers();
    {
        const RCPtr<OSWindow> window = new OSWindow;
        window->Create(u"Paint", RectI{0, 0, kWidth, kHeight}, 0);
        window->CreateRenderer(1);
        window->GetRootWindow()->SetRootControl(
            TestSupport::MakeGeneratedControlTree(RCPtr<IRootWindowServices>(), &MakeFilledLook));
        window->Show(P::SW_SHOWNORMAL);
        FilledLook::draws = 0;
        PaintOnce([&] { window->Invalidate(); });
        FilledLook::draws = 0;
        for (auto _ : state)
        {
            PaintOnce([&] { window->Invalidate(); });
        }
        // Each paint fills the root, 30 panels and 270 children: 301 looks.
        state.counters["looks per paint"] =
            static_cast<double>(FilledLook::draws) / static_cast<double>(state.iterations());
        window->EndModal(0);
    }
    SetRendererFactory(nullptr);
}
BENCHMARK(BM_FullPaintThroughTheFramework)->Unit(benchmark::kMillisecond);

struct PlainPainter : P::IWindowProcedure
{
    std::intptr_t WindowProc(P::WindowHandle handle, std::uint32_t message, std::uintptr_t,
                             std::intptr_t) override
    {
        if (message != P::WM_PAINT)
        {
            return 0;
        }
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
        return 0;
    }
    P::Surface surface{kWidth, kHeight};
    P::Canvas canvas{surface};
    std::vector<Fill> fills, unclipped;
    std::int64_t paints = 0;
};

void BM_FullPaintWithPlainCairo(benchmark::State& state)
{
    if (!HasDisplay(state))
    {
        return;
    }
    TestSupport::LStandInFrameworkApp app;
    PlainPainter painter;
    {
        const RCPtr<LControl> tree =
            TestSupport::MakeGeneratedControlTree(RCPtr<IRootWindowServices>(), &MakeFilledLook);
        CollectFills(*tree, PointD{}, RectD{0, 0, kWidth, kHeight}, painter.fills, painter.unclipped);
    }
    P::WindowCreateParams params;
    params.title = "Paint";
    params.client = {0, 0, kWidth, kHeight};
    params.procedure = &painter;
    const P::WindowHandle window = P::CreateWindow(params);
    P::ShowWindow(window, P::SW_SHOWNORMAL);
    PaintOnce([&] { P::InvalidateRect(window, nullptr); });
    painter.paints = 0;
    for (auto _ : state)
    {
        PaintOnce([&] { P::InvalidateRect(window, nullptr); });
    }
    state.counters["paints per iteration"] =
        static_cast<double>(painter.paints) / static_cast<double>(state.iterations());
    P::DestroyWindow(window);
}
BENCHMARK(BM_FullPaintWithPlainCairo)->Unit(benchmark::kMillisecond);

} // namespace
