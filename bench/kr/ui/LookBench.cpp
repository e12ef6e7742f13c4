// A window's worth of skinned controls drawn through their looks: 300 looks of 60 x 50
// (a client fill inside a border, a corner mark, a tiled top edge and a 9-point label),
// each drawn in its three steps into a 1200 x 750 back buffer of the 2D renderer.

#include "kr/render/Bitmap.h"
#include "kr/render/gdi/GDIRenderer.h"
#include "kr/ui/Look.h"

#include <benchmark/benchmark.h>

namespace
{

KR::RCPtr<KR::LVisualPartDescriptor> Part(std::int32_t width, std::int32_t height, std::uint32_t argb,
                                          std::int32_t resizeType)
{
    KR::RCPtr<KR::LColorizer> colorizer(new KR::LColorizer);
    colorizer->color = KR::ColorF::FromARGB(argb);
    KR::RCPtr<KR::LVisualPartDescriptor> part(new KR::LVisualPartDescriptor);
    part->width = width;
    part->height = height;
    part->resizeType = resizeType;
    part->colorizer = colorizer;
    return part;
}

KR::RCPtr<KR::LDockedPart> Docked(const KR::RCPtr<KR::LVisualPartDescriptor>& part, std::int32_t mask,
                                  std::int32_t inset)
{
    KR::RCPtr<KR::LDockedPart> docked(new KR::LDockedPart);
    docked->part = part;
    docked->edgeMask = mask;
    docked->left = docked->top = inset;
    docked->right = docked->bottom = -inset;
    return docked;
}

KR::RCPtr<KR::LLookDescriptor> Skin()
{
    KR::RCPtr<KR::LLookDescriptor> look(new KR::LLookDescriptor(u"normal"));
    look->clientPart = Docked(Part(1, 1, 0xFF303840, KR::kResizeStretch), KR::kDockAllEdges, 2);
    look->nonClientParts.AddItem(
        Docked(Part(8, 8, 0xFFE0A020, KR::kResizeStretch), KR::kDockTop | KR::kDockRight, 0));
    // The top edge: a tinted image, tiled.
    KR::RCPtr<KR::LVisualPartDescriptor> edge = Part(4, 2, 0xFF8090A0, KR::kResizeTile);
    edge->visualPart = KR::RCPtr<KR::LVisualPart>(
        new KR::LVisualPart(u"edge", KR::LBitmap::CreateFilledBitmap(4, 2, KR::ColorF::FromARGB(0xFFFFFFFF)),
                            KR::kResizeTile, edge->colorizer, 0, 0, 1.0f, nullptr));
    look->nonClientParts.AddItem(Docked(edge, KR::kDockLeft | KR::kDockTop | KR::kDockRight, 0));
    look->text.hasTextProperties = true;
    look->text.leftAbsolute = 4;
    look->text.rightRelative = 1.0f;
    look->text.rightAbsolute = -4;
    look->text.topRelative = 0.5f;
    look->text.bottomRelative = 1.0f;
    look->text.horizontalAlignment = 0.5f;
    look->text.foregroundPart = Part(1, 1, 0xFFE0E0E0, KR::kResizeStretch);
    return look;
}

class Measuring : public KR::IMeasurementRendererSource
{
public:
    Measuring() { KR::SetMeasurementRendererSource(this); }
    ~Measuring() override { KR::SetMeasurementRendererSource(nullptr); }
    KR::RCPtr<KR::LMeasurementRenderer> GetMeasurementRenderer() override { return renderer; }
    KR::RCPtr<KR::LGDIRenderer> renderer{new KR::LGDIRenderer};
};

void BM_DrawLooks(benchmark::State& state)
{
    Measuring measuring;
    const KR::RCPtr<KR::LGDIRenderer>& renderer = measuring.renderer;
    KR::RCPtr<KR::LRenderContextInfo> context;
    renderer->InitRenderContextInfo({0, 0, 1200, 750}, nullptr, true, context);
    const KR::RCPtr<KR::LLookDescriptor> skin = Skin();
    const KR::RCPtr<KR::LFont> font = KR::LFont::GetFont(u"DejaVu Sans", 9.0f, 0);
    std::vector<KR::RCPtr<KR::LLook>> looks;
    for (int i = 0; i < 300; ++i)
    {
        looks.push_back(KR::LLook::Create(skin, false));
        looks.back()->SetSize(60, 50);
        looks.back()->SetFont(font);
        looks.back()->SetText(KR::String::Format(u"Fader %d", i));
    }
    KR::LRegion dirty;
    dirty.SetRect({0, 0, 1200, 750});
    for (auto _ : state)
    {
        renderer->RenderStart(context);
        renderer->SaveState();
        for (int i = 0; i < 300; ++i)
        {
            renderer->PushOffset({(i % 20) * 60.0, (i / 20) * 50.0});
            looks[i]->DrawClientPart(*renderer, dirty);
            looks[i]->DrawNonClientParts(*renderer, dirty);
            looks[i]->DrawLabelText(*renderer, dirty, {});
            renderer->RestoreState();
        }
        renderer->RestoreState();
        renderer->RenderFinish(context);
    }
}
BENCHMARK(BM_DrawLooks)->Unit(benchmark::kMillisecond);

} // namespace
