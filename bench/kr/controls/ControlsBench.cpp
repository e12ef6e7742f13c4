// The standard controls under the pointer through a root window: moves across a grid of
// 300 buttons (each move changes two buttons' looks), and a scroll bar's thumb dragged
// while the panel it belongs to scrolls 200 children with its value.

#include "kr/controls/Button.h"
#include "kr/controls/Scrollbar.h"
#include "kr/render/InertRenderer.h"
#include "kr/ui/NotificationParams.h"
#include "kr/ui/Panel.h"
#include "kr/ui/RootWindow.h"
#include "support/FakeWindowServices.h"
#include "support/FrameworkAppStandIn.h"
#include "support/GeneratedControlTree.h"

#include <benchmark/benchmark.h>

namespace
{

using namespace KR;

template <typename T>
RCPtr<T> Make(const RCPtr<LControl>& parent, const String& name, RectD frame, int looks)
{
    RCPtr<T> control(new T(parent, name));
    control->SetFrame(PointD{frame.x, frame.y}, PointD{frame.width, frame.height});
    for (int i = 0; i < looks; ++i)
    {
        TestSupport::AddOpaqueLook(*control);
    }
    control->InitializeConditions();
    return control;
}

struct Window
{
    Window()
    {
        window = RCPtr<LRootWindow>(new LRootWindow(renderer, os.Get()));
        root = Make<LControl>(nullptr, u"root", RectD{0, 0, 1024, 768}, 1);
        window->SetRootControl(root);
    }
    ~Window() { window->ReleaseInternalReferences(); }
    // Initialises a control made in code the way its creator would.
    static void Finish(LControl& control)
    {
        control.Initialize();
        control.PlaceParts();
        control.SetCreationFinished();
    }

    TestSupport::LStandInFrameworkApp app;
    RCPtr<TestSupport::LFakeWindowServices> os{new TestSupport::LFakeWindowServices};
    RCPtr<LRenderer> renderer{new LInertRenderer(1)};
    RCPtr<LRootWindow> window;
    RCPtr<LControl> root;
};

constexpr int kMoves = 1000;

// 20 rows of 15 buttons, 40 x 25 with a gap of 10; the pointer walks a diagonal across
// them, so most moves leave one button and enter the next.
void BM_PointerMovesAcross300Buttons(benchmark::State& state)
{
    Window scene;
    for (int i = 0; i < 300; ++i)
    {
        const RCPtr<LButton> button =
            Make<LButton>(scene.root, String::Format(u"b%d", i),
                          RectD{10.0 + (i % 15) * 50.0, 10.0 + (i / 15) * 35.0, 40, 25}, LButton::kLookCount);
        Window::Finish(*button);
    }
    for (auto _ : state)
    {
        for (int i = 0; i < kMoves; ++i)
        {
            scene.window->OnMouseMove(PointI{(i * 7) % 760, (i * 11) % 710}, 0);
        }
        state.PauseTiming();
        scene.os->invalidated.clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kMoves);
}
BENCHMARK(BM_PointerMovesAcross300Buttons);

void BM_ThumbDragStepsScrollingAViewOf200Children(benchmark::State& state)
{
    Window scene;
    // A panel as the skin makes it: rows of 22 (4400 in all), a bar along its right edge
    // whose channel is a panel too; each part finished before its parent, as a creator does.
    const RCPtr<LPanel> view = Make<LPanel>(scene.root, u"view", RectD{0, 0, 412, 400}, 1);
    for (int i = 0; i < 200; ++i)
    {
        Make<LControl>(view, String::Format(u"row%d", i), RectD{0, i * 22.0, 380, 20}, 1);
    }
    const RCPtr<LScrollbar> bar = Make<LScrollbar>(view, u"vBar", RectD{400, 0, 12, 400}, 1);
    // Docked, so that it stays where it is while the rows scroll.
    DockedPositionSpec x;
    x.absolute = 400;
    x.docked = true;
    DockedPositionSpec y;
    y.docked = true;
    bar->SetPlacements(x, SizeSpec{kSizeToSelf, String(), 0.0f, 12}, y,
                       SizeSpec{kSizeToSelf, String(), 0.0f, 400});
    const RCPtr<LPanel> channel = Make<LPanel>(bar, u"channel", RectD{0, 0, 12, 400}, 3);
    const RCPtr<LButton> thumb = Make<LButton>(channel, u"thumb", RectD{0, 0, 12, 40}, LButton::kLookCount);
    Window::Finish(*thumb);
    Window::Finish(*channel);
    Window::Finish(*bar);
    Window::Finish(*view);
    view->SetClientExtent(400, 4400);

    scene.os->buttons = MouseButton::kLeft;
    scene.window->OnMouseMove(PointI{406, 10}, 0);
    scene.window->OnMouseButton(MouseAction::kPress, MouseButton::kLeft, 0, PointI{406, 10});
    for (auto _ : state)
    {
        for (int i = 0; i < kMoves; ++i)
        {
            // Down the track and back, one unit a step.
            const int step = i % 700;
            scene.window->OnMouseMove(PointI{406, 10 + (step < 350 ? step : 700 - step)}, 0);
        }
        state.PauseTiming();
        scene.os->invalidated.clear();
        state.ResumeTiming();
    }
    if (view->GetScrollOffset().y <= 0.0)
    {
        state.SkipWithError("the drag did not scroll the panel");
    }
    scene.window->OnMouseButton(MouseAction::kRelease, MouseButton::kLeft, 0, PointI{406, 10});
    state.SetItemsProcessed(state.iterations() * kMoves);
}
BENCHMARK(BM_ThumbDragStepsScrollingAViewOf200Children);

} // namespace
