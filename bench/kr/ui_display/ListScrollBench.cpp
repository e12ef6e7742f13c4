// A wheel notch (three rows) over a list of 200 items in a shown window, and the paint
// that follows: with the rows that stay visible moved in the window (argument 1), and with
// every row drawn again, as a renderer that cannot move pixels makes it (argument 0).
// "painted share of the list" is the area the paint drew over the list's rectangle (its bar
// included), "painted share of the rows" over the area its rows show in.

#include "PaintTiming.h"
#include "kr/controls/ControlClasses.h"
#include "kr/controls/ListBox.h"
#include "kr/core/Wrapper.h"
#include "kr/render/RendererFactory.h"
#include "kr/render/gdi/GDIRenderer.h"
#include "kr/ui/ControlFactory.h"
#include "support/FrameworkAppStandIn.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>

namespace
{

using namespace KR;
namespace P = Platform;

constexpr std::int32_t kWidth = 120, kHeight = 160;
// The list in the skin: at (10, 10), 100 by 140; its rows show from x = 15 to 100.
constexpr EdgesI kList{10, 10, 110, 150};
constexpr EdgesI kRows{15, 10, 100, 150};

double Overlap(const EdgesI& a, const EdgesI& b)
{
    const double width = std::min(a.right, b.right) - std::max(a.left, b.left);
    const double height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0.0;
}

double Area(const EdgesI& a)
{
    return Overlap(a, a);
}

// The 2D renderer, counting the window area each frame draws; moving pixels only when
// allowed.
class CountingRenderer : public LGDIRenderer
{
public:
    explicit CountingRenderer(bool moves) : mMoves(moves) {}
    bool CanMoveFramePixels() const override { return mMoves; }
    Result RenderStart(const RCPtr<LRenderContextInfo>& context) override
    {
        if (context && !context->offscreen)
        {
            for (const RegionNode* node = context->dirtyRegion.GetFirst(); node; node = node->next)
            {
                drawnOverList += Overlap(node->rect, kList);
                drawnOverRows += Overlap(node->rect, kRows);
            }
            ++frames;
        }
        return LGDIRenderer::RenderStart(context);
    }
    double drawnOverList = 0.0;
    double drawnOverRows = 0.0;
    std::int64_t frames = 0;

private:
    bool mMoves;
};

void BM_WheelNotchOverALongList(benchmark::State& state)
{
    if (!std::getenv("DISPLAY") || !P::InitializeWindowSystem())
    {
        state.SkipWithError("no display");
        return;
    }
    const bool moves = state.range(0) != 0;
    RCPtr<CountingRenderer> renderer;
    SetRendererFactory(
        [&](std::int32_t, const RectI&, WindowHandle)
        {
            renderer = RCPtr<CountingRenderer>(new CountingRenderer(moves));
            return RCPtr<LRenderer>(renderer);
        });
    TestSupport::LStandInFrameworkApp app;
    app.factory = RCPtr<LControlFactory>(new LControlFactory(String(u"PresetEditor")));
    if (Failed(app.factory->LoadSkins(String(u"::PAINT_SKINS"))))
    {
        state.SkipWithError("no skin");
        return;
    }
    app.factory->RegisterControlClass(String(u"Test.Panel"), &LControl::CreateFromSkin<LControl>);
    app.factory->RegisterControlClass(String(u"Framework.ScrollChannel"),
                                      &LControl::CreateFromSkin<LControl>);
    RegisterFrameworkControlClasses(*app.factory);
    app.defaultFont = LFont::GetFont(String(u"Sans"), 9.0f, 0);
    const RCPtr<BenchSupport::PaintTimingWindow> window(new BenchSupport::PaintTimingWindow);
    window->Create(u"List", RectI{0, 0, kWidth, kHeight}, 0);
    window->CreateRenderer(1);
    app.activeRootWindow = window->GetRootWindow();
    const RCPtr<LControl> scene =
        app.factory->CreateControlByName(String(u"longList"), window->GetRootWindow());
    const RCPtr<LListBox> list(scene ? scene->FindChildControl(String(u"list")) : nullptr);
    if (!list)
    {
        state.SkipWithError("no list");
        return;
    }
    window->GetRootWindow()->SetRootControl(scene);
    for (std::int32_t i = 0; i < 200; ++i)
    {
        list->InsertItem(i, MakeStringTag(String::Format(u"item %d", i)));
    }
    BenchSupport::PaintOnce([&] { window->Show(P::SW_SHOWNORMAL); });
    window->paints = 0;
    window->paintMicroseconds = 0.0;
    renderer->drawnOverList = 0.0;
    renderer->drawnOverRows = 0.0;
    renderer->frames = 0;
    std::int32_t notch = 0;
    for (auto _ : state)
    {
        // Down and back up, so that every notch has rows to move.
        const std::int32_t first = (notch++ % 2 == 0) ? 3 : 0;
        BenchSupport::PaintOnce(
            [&] {
                list->SetScrollOffset(PointD{0.0, static_cast<double>(first * list->GetRowHeight())});
            });
    }
    state.counters["paint handler us"] = window->paintMicroseconds / static_cast<double>(window->paints);
    const double frames = static_cast<double>(renderer->frames);
    state.counters["painted share of the list"] = renderer->drawnOverList / frames / Area(kList);
    state.counters["painted share of the rows"] = renderer->drawnOverRows / frames / Area(kRows);
    state.counters["frames per notch"] = frames / static_cast<double>(state.iterations());
    window->EndModal(0);
    SetRendererFactory(nullptr);
}
BENCHMARK(BM_WheelNotchOverALongList)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
