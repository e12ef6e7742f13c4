// A seeded loop of mutated PNGs: byte flips, cuts, deleted and repeated slices, with the
// chunk checksums made right again so that most inputs get past them into the decoder.
// Under the sanitizers it is the everyday fuzz target; KR_FUZZ_ITERATIONS sets a longer
// run, KR_FUZZ_SEED another seed.

#include "kr/render/Bitmap.h"
#include "platform/png/PngCodec.h"
#include "support/PngChecksums.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

namespace
{

using Bytes = std::vector<std::uint8_t>;

std::uint64_t EnvNumber(const char* name, std::uint64_t fallback)
{
    const char* text = std::getenv(name);
    return text ? std::strtoull(text, nullptr, 0) : fallback;
}

// Decodes the bytes and, when that works, reads the last column locked and as colours,
// then clones and tints a cut reaching past the sheet. Returns a broken rule, or null.
const char* ExerciseBitmapPng(const Bytes& png)
{
    const auto bitmap = KR::LBitmap::CreateFromPng(png.data(), png.size());
    const std::int32_t width = bitmap ? bitmap->GetWidth() : 1, height = bitmap ? bitmap->GetHeight() : 1;
    const auto locked = bitmap ? bitmap->LockPixels() : nullptr;
    for (std::int32_t y = 0; locked && y < height; ++y)
    {
        if (bitmap->GetColorAtPoint(width - 1, y).GetARGB() != *locked->GetPixelAddress(width - 1, y))
        {
            return "a pixel reads differently locked and as a colour";
        }
    }
    const KR::BitmapColorizer colorizer{0, KR::ColorF(0.5f, 0.25f, 1.0f, 0.75f), KR::ColorF()};
    const auto tinted =
        bitmap ? KR::LBitmap::ApplyColorizer(&colorizer, 1.5f, 1, 1,
                                             bitmap->CreateSubBitmap(width / 2, 0, width, height), nullptr)
               : nullptr;
    const bool transparentPast = !bitmap || tinted->GetColorAtPoint(width - 1, 0).alpha == 0.0f;
    return transparentPast ? nullptr : "a cut past its sheet must clone and tint as transparent there";
}

// Changes a byte, cuts out a slice (or the tail) or repeats a slice, once or twice; then,
// three times in four, makes the chunk checksums right again.
Bytes Mutate(Bytes png, std::mt19937_64& random)
{
    auto upTo = [&](std::size_t n) { return static_cast<std::ptrdiff_t>(random() % (n + 1)); };
    for (int edits = 1 + static_cast<int>(upTo(1)); edits > 0; --edits)
    {
        const auto at = png.begin() + upTo(png.size());
        const std::ptrdiff_t rest = png.end() - at;
        if (const auto kind = random() % 3; kind == 0 && rest > 0)
        {
            *at = static_cast<std::uint8_t>(random());
        }
        else if (kind == 1)
        {
            png.erase(at, at + upTo(static_cast<std::size_t>(rest)));
        }
        else
        {
            const Bytes slice(at, at + std::min<std::ptrdiff_t>(rest, upTo(64)));
            png.insert(png.begin() + upTo(png.size()), slice.begin(), slice.end());
        }
    }
    if (random() % 4 != 0)
    {
        KRTest::FixPngChecksums(png.data(), png.size());
    }
    return png;
}

TEST(BitmapFuzz, MutatedPngsLoadOrAreRefused)
{
    const std::uint64_t seed = EnvNumber("KR_FUZZ_SEED", 20261207);
    const std::uint64_t iterations = EnvNumber("KR_FUZZ_ITERATIONS", 3000);
    std::vector<std::uint32_t> pixels(7 * 5);
    for (std::size_t i = 0; i < pixels.size(); ++i)
    {
        pixels[i] = static_cast<std::uint32_t>(i * 0x01234567u);
    }
    const Bytes seedPng = KR::Platform::EncodePng(7, 5, pixels.data());
    std::mt19937_64 random(seed);
    for (std::uint64_t i = 0; i < iterations; ++i)
    {
        const Bytes input = Mutate(seedPng, random);
        const char* fault = ExerciseBitmapPng(input);
        ASSERT_EQ(fault, nullptr) << fault << ": seed " << seed << " iteration " << i;
    }
}

} // namespace
