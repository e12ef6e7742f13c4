// A view holding 200 children scrolled by 100 wheel notches: the bar's value, the offset,
// the children's moves and the invalidations each notch costs.
#include "kr/ui/ScrollView.h"

#include "kr/ui/ControlTestSupport.h"
#include "support/ScrollbarStandIn.h"

#include <benchmark/benchmark.h>

namespace
{

using namespace KR;
using Bar = TestSupport::LScrollbarStandIn;

void BM_ScrollViewWheel(benchmark::State& state)
{
    const RCPtr<UiTest::FakeRootWindow> window = UiTest::FakeRootWindow::Create();
    const RCPtr<LScrollView> view(new LScrollView(RCPtr<IRootWindowServices>(window), String(u"view")));
    view->SetFrame(PointD{}, PointD{400, 300});
    const RCPtr<Bar> bar(new Bar(RCPtr<LControl>(view), String(u"vBar")));
    DockedPositionSpec x;
    x.absolute = 390;
    x.docked = true;
    DockedPositionSpec y;
    y.docked = true;
    bar->SetPlacements(x, SizeSpec{kSizeToSelf, String(), 0.0f, 10.0}, y,
                       SizeSpec{kSizeToSelf, String(), 0.0f, 300.0});
    for (int i = 0; i < 200; ++i)
    {
        UiTest::TestControl::Make(RCPtr<LControl>(view), String::Format(u"c%d", i),
                                  RectD{0, 20.0 * i, 380, 20});
    }
    view->Initialize();
    view->SetScrollOptions(LScrollView::kAutoHeight, 0, 0);
    const RCPtr<LMouseWheelParam> down = LMouseWheelParam::Create(PointI{}, 0, WheelDirection::kTowardsUser);
    const RCPtr<LMouseWheelParam> up = LMouseWheelParam::Create(PointI{}, 0, WheelDirection::kAwayFromUser);
    for (auto _ : state)
    {
        for (int notch = 0; notch < 100; ++notch)
        {
            view->OnVerticalWheel(notch < 50 ? down : up);
        }
        window->invalidated.clear();
    }
    benchmark::DoNotOptimize(view->GetScrollOffset());
    view->ReleaseInternalReferences();
}
BENCHMARK(BM_ScrollViewWheel)->Unit(benchmark::kMicrosecond);

} // namespace
