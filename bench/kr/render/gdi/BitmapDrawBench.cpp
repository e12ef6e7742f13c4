// A skin part drawn by DrawBitmap: every frame after the first only copies the cached
// picture; a miss resizes the part first.

#include "kr/render/gdi/GDIRenderer.h"
#include "platform/png/PngCodec.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace
{

// A 64 x 64 part cut from a 256 x 128 sheet of varied opaque and translucent pixels.
KR::ConstRCPtr<KR::LBitmap> Part()
{
    std::vector<std::uint32_t> pixels(256 * 128);
    for (std::size_t i = 0; i < pixels.size(); ++i)
    {
        pixels[i] =
            (i % 7 == 0 ? 0x80000000u : 0xFF000000u) | static_cast<std::uint32_t>(i * 2654435761u >> 8);
    }
    const std::vector<std::uint8_t> png = KR::Platform::EncodePng(256, 128, pixels.data());
    return KR::LBitmap::CreateFromPng(png.data(), png.size())->CreateSubBitmap(64, 32, 64, 64);
}

// Arguments: resize type (0 stretch, 1 tile), hit (1) or miss (0).
void BM_DrawBitmap(benchmark::State& state)
{
    const std::int32_t type = static_cast<std::int32_t>(state.range(0));
    const bool hit = state.range(1) != 0;
    const KR::RCPtr<KR::LGDIRenderer> renderer(new KR::LGDIRenderer);
    KR::RCPtr<KR::LRenderContextInfo> context;
    renderer->InitRenderContextInfo({0, 0, 400, 100}, nullptr, true, context);
    const auto part = Part();
    const KR::RectI destination{20, 30, 200, 40};
    renderer->RenderStart(context);
    for (auto _ : state)
    {
        if (!hit)
        {
            renderer->GetBitmapCache().Drop({part, destination.width, destination.height});
        }
        renderer->DrawBitmap(part, destination, type);
    }
    renderer->RenderFinish(context);
}
BENCHMARK(BM_DrawBitmap)->ArgsProduct({{0, 1}, {0, 1}})->ArgNames({"tile", "hit"});

} // namespace
