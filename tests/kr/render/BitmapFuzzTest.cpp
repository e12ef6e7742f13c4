// A seeded loop of mutated PNGs: byte flips, cuts, deleted and repeated slices, with the
// chunk checksums made right again so that most inputs get past them into the decoder.
// Under the sanitizers it is the everyday fuzz target; KR_FUZZ_ITERATIONS sets a longer
// run, KR_FUZZ_SEED another seed.

#include "kr/render/BitmapFuzzInput.h"
#include "kr/render/PngChecksums.h"
#include "platform/png/PngCodec.h"

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

Bytes Mutate(Bytes png, std::mt19937_64& random)
{
    auto below = [&](std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(random() % n); };
    for (int edits = 1 + static_cast<int>(below(3)); edits > 0; --edits)
    {
        const std::size_t at = below(png.size() + 1);
        switch (below(4))
        {
        case 0:
            if (!png.empty())
            {
                png[below(png.size())] = static_cast<std::uint8_t>(random());
            }
            break;
        case 1:
            png.resize(at);
            break;
        case 2:
            png.erase(png.begin() + static_cast<std::ptrdiff_t>(at),
                      png.begin() + static_cast<std::ptrdiff_t>(std::min(png.size(), at + below(16))));
            break;
        default:
        {
            const std::size_t from = below(png.size() + 1);
            const Bytes slice(png.begin() + static_cast<std::ptrdiff_t>(from),
                              png.begin() +
                                  static_cast<std::ptrdiff_t>(std::min(png.size(), from + below(64))));
            png.insert(png.begin() + static_cast<std::ptrdiff_t>(at), slice.begin(), slice.end());
            break;
        }
        }
    }
    if (below(4) != 0)
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
        const char* fault = KRTest::ExerciseBitmapPng(input.data(), input.size());
        ASSERT_EQ(fault, nullptr) << fault << ": seed " << seed << " iteration " << i;
    }
}

} // namespace
