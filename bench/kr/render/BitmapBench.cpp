// Bitmaps are asked for by name every time a visual part is made, and each skin sheet is
// decoded once at start-up.

#include "kr/render/Bitmap.h"
#include "platform/png/PngCodec.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace
{

void BM_GetLoadedBitmap(benchmark::State& state)
{
    const auto held = KR::LBitmap::GetBitmap(u"::Button.png");
    const KR::String name(u"::Button.png");
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(KR::LBitmap::GetBitmap(name).Get());
    }
}
BENCHMARK(BM_GetLoadedBitmap);

// A sheet the size of a large skin's: 1024 x 1024 of shaded panels with sharp edges and a
// little grain, which compresses about as rendered skin artwork does (far from noise,
// far from flat).
std::vector<std::uint8_t> SkinSheet()
{
    constexpr int kSide = 1024;
    std::vector<std::uint32_t> pixels(kSide * kSide);
    for (int y = 0; y < kSide; ++y)
    {
        for (int x = 0; x < kSide; ++x)
        {
            const int cell = (x / 64 + y / 48) % 5;
            const std::uint32_t grain = (static_cast<std::uint32_t>(x * 2654435761u) ^ (y * 40503u)) >> 29;
            const auto shade =
                static_cast<std::uint32_t>(96 + 64 * std::sin((x % 64) * 0.05) + cell * 12) + grain;
            const std::uint32_t alpha = (x % 64 < 2 || y % 48 < 2) ? 0x40 : 0xFF;
            pixels[static_cast<std::size_t>(y) * kSide + x] =
                alpha << 24 | shade << 16 | (shade * 3 / 4) << 8 | static_cast<std::uint32_t>(cell * 40);
        }
    }
    return KR::Platform::EncodePng(kSide, kSide, pixels.data());
}

void BM_DecodeSkinSheet(benchmark::State& state)
{
    const std::vector<std::uint8_t> png = SkinSheet();
    state.counters["png_bytes"] = static_cast<double>(png.size());
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(KR::LBitmap::CreateFromPng(png.data(), png.size()).Get());
    }
}
BENCHMARK(BM_DecodeSkinSheet)->Unit(benchmark::kMillisecond);

} // namespace
