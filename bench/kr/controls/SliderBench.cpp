// The value controls dragged through a root window: a slider's thumb on a slanted track
// (each step projects the pointer onto the line, moves the thumb and sets the value), and
// a knob of 64 frames turned by the linear gesture (each step picks a frame).

#include "kr/controls/Button.h"
#include "kr/controls/Knob.h"
#include "kr/controls/Slider.h"
#include "kr/render/InertRenderer.h"
#include "kr/ui/NotificationParams.h"
#include "kr/ui/RootWindow.h"
#include "support/FakeWindowServices.h"
#include "support/FrameworkAppStandIn.h"
#include "support/GeneratedControlTree.h"

#include <benchmark/benchmark.h>

namespace
{

using namespace KR;

constexpr int kSteps = 1000;

struct Scene
{
    Scene()
    {
        window = RCPtr<LRootWindow>(new LRootWindow(renderer, os.Get()));
        root = RCPtr<LControl>(new LControl(RCPtr<LControl>(), String(u"root")));
        root->SetFrame(PointD{}, PointD{1024, 768});
        TestSupport::AddOpaqueLook(*root);
        window->SetRootControl(root);
    }
    ~Scene() { window->ReleaseInternalReferences(); }
    // Placed by its layout, as a skin's part is.
    static void Place(LControl& control, RectD frame)
    {
        DockedPositionSpec x;
        DockedPositionSpec y;
        SizeSpec width;
        SizeSpec height;
        x.absolute = frame.x;
        y.absolute = frame.y;
        width.absolute = frame.width;
        height.absolute = frame.height;
        control.SetPlacements(x, width, y, height);
    }
    static void Finish(LControl& control)
    {
        control.Initialize();
        control.PlaceParts();
        control.SetCreationFinished();
        control.InitializeConditions();
    }
    // Presses at `from`, then moves `steps` times along `at`.
    template <typename At>
    void Drag(benchmark::State& state, PointI from, At at)
    {
        os->buttons = MouseButton::kLeft;
        window->OnMouseMove(from, 0);
        window->OnMouseButton(MouseAction::kPress, MouseButton::kLeft, 0, from);
        for (auto _ : state)
        {
            for (int i = 0; i < kSteps; ++i)
            {
                window->OnMouseMove(at(i), 0);
            }
            state.PauseTiming();
            os->invalidated.clear();
            state.ResumeTiming();
        }
        window->OnMouseButton(MouseAction::kRelease, MouseButton::kLeft, 0, at(kSteps - 1));
        state.SetItemsProcessed(state.iterations() * kSteps);
    }

    TestSupport::LStandInFrameworkApp app;
    RCPtr<TestSupport::LFakeWindowServices> os{new TestSupport::LFakeWindowServices};
    RCPtr<LRenderer> renderer{new LInertRenderer(1)};
    RCPtr<LRootWindow> window;
    RCPtr<LControl> root;
};

// Markers (0, 0) and (400, 300); the pointer walks a line beside the track and back.
void BM_SlantedSliderDragSteps(benchmark::State& state)
{
    Scene scene;
    const RCPtr<LSlider> slider(new LSlider(scene.root, String(u"slider")));
    Scene::Place(*slider, RectD{100, 100, 420, 320});
    TestSupport::AddOpaqueLook(*slider);
    for (const auto& [name, x, y] :
         {std::tuple{u"thumbStart", 0.0, 0.0}, std::tuple{u"thumbEnd", 400.0, 300.0}})
    {
        const RCPtr<LControl> marker(new LControl(RCPtr<LControl>(slider), String(name)));
        Scene::Place(*marker, RectD{x, y, 20, 20});
    }
    Scene::Finish(*slider);
    const RCPtr<LButton> thumb(new LButton(nullptr, String(u"thumb")));
    slider->AddChildControl(RCPtr<LControl>(thumb), nullptr);
    TestSupport::AddOpaqueLook(*thumb);
    Scene::Finish(*thumb);
    slider->OnLookChanged();
    scene.Drag(state, PointI{110, 110},
               [](int i)
               {
                   const int step = i % 800;
                   const int along = step < 400 ? step : 800 - step;
                   return PointI{110 + along, 110 + along * 3 / 4 + 15};
               });
    if (!(slider->GetValue() > 0.0))
    {
        state.SkipWithError("the thumb did not move");
    }
}
BENCHMARK(BM_SlantedSliderDragSteps);

// 64 frames: the default travel of 128 pixels; the pointer goes right and back.
void BM_LinearKnobDragSteps(benchmark::State& state)
{
    Scene scene;
    const RCPtr<LKnob> knob(new LKnob(scene.root, String(u"knob")));
    Scene::Place(*knob, RectD{100, 100, 64, 64});
    for (int i = 0; i < 64; ++i)
    {
        TestSupport::AddOpaqueLook(*knob);
    }
    Scene::Finish(*knob);
    scene.Drag(state, PointI{130, 130},
               [](int i)
               {
                   const int step = i % 256;
                   return PointI{130 + (step < 128 ? step : 256 - step), 130};
               });
    if (!(knob->GetValue() > 0.0))
    {
        state.SkipWithError("the knob did not turn");
    }
}
BENCHMARK(BM_LinearKnobDragSteps);

} // namespace
