// A text box holding 200 characters, measured with a real font: a character typed at the
// end (and taken back by Backspace), the character under a point of that line, and the
// looks worked out again with a selection.

#include "kr/controls/TextBox.h"
#include "kr/render/gdi/RendererFrame.h"
#include "kr/ui/ControlTestSupport.h"
#include "kr/ui/Look.h"
#include "kr/ui/NotificationParams.h"
#include "support/FrameworkAppStandIn.h"

#include <benchmark/benchmark.h>

namespace
{

using KR::RCPtr;

struct Field
{
    Field()
    {
        app.measurementRenderer = frame.renderer;
        app.activeRootWindow = window;
        root = KR::UiTest::TestControl::MakeRoot(window);
        box = RCPtr<KR::LTextBox>(new KR::LTextBox(RCPtr<KR::LControl>(root), KR::String(u"box")));
        box->SetFrame(KR::PointD{}, KR::PointD{300, 20});
        box->ApplyFont(KR::LFont::GetFont(u"DejaVu Sans", 9.0f, 0));
        RCPtr<KR::LLookDescriptor> look(new KR::LLookDescriptor(KR::String(u"look")));
        look->text.hasTextProperties = true;
        look->text.leftAbsolute = 2;
        look->text.rightRelative = 1.0f;
        look->text.rightAbsolute = -2;
        look->text.bottomRelative = 1.0f;
        for (int i = 0; i < 14; ++i)
        {
            box->AddLook(KR::LLook::Create(look, false));
        }
        box->SetNotFocusable(false);
        box->InitializeConditions();
        box->Initialize();
        box->SetAutoScroll(0, true);
        KR::String text;
        for (int i = 0; i < 200; ++i)
        {
            text.AppendChar(static_cast<char16_t>(i % 7 == 6 ? u' ' : u'a' + i % 26));
        }
        box->SetText(text, false);
        box->SetFocus(true);
        box->UpdateConditions();
        box->SetCaretPosition(200, true);
    }
    ~Field() { root->ReleaseInternalReferences(); }

    KR::TestSupport::LStandInFrameworkApp app;
    KR::Test::RendererFrame frame{300, 20};
    RCPtr<KR::UiTest::FakeRootWindow> window = KR::UiTest::FakeRootWindow::Create();
    RCPtr<KR::UiTest::TestControl> root;
    RCPtr<KR::LTextBox> box;
};

void BM_TypeAtTheEndOfTwoHundredCharacters(benchmark::State& state)
{
    Field field;
    const RCPtr<KR::LKeyParam> typed = KR::LKeyParam::Create(KR::KeyCode{u'x'}, false);
    const RCPtr<KR::LKeyParam> back = KR::LKeyParam::Create(KR::KeyCode{0x20080000u}, false);
    for (auto _ : state)
    {
        field.box->OnKeyDown(typed);
        field.box->OnKeyDown(back);
    }
    if (field.box->GetTextLength() != 200)
    {
        state.SkipWithError("typing and Backspace did not cancel out");
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_TypeAtTheEndOfTwoHundredCharacters);

void BM_HitTestAlongTheLine(benchmark::State& state)
{
    Field field;
    const double width = field.box->GetClientExtent().x;
    double x = 0.0;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(field.box->HitTestCharacter(KR::PointD{x, 5.0}));
        x = x >= width ? 0.0 : x + 7.0;
    }
}
BENCHMARK(BM_HitTestAlongTheLine);

void BM_UpdateLooksWithASelection(benchmark::State& state)
{
    Field field;
    field.box->SetSelection(180, 15, 180);
    for (auto _ : state)
    {
        field.box->UpdateLooks();
    }
}
BENCHMARK(BM_UpdateLooksWithASelection);

} // namespace
