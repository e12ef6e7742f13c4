// A seeded random loop over the preset-file reader: well-formed files with a few
// mutations each (words overwritten, bits flipped, the file cut short) and noise behind
// a valid header. Run under the sanitizers it is the everyday fuzz target; the long runs
// belong to the libFuzzer target. KR_FUZZ_ITERATIONS and KR_FUZZ_SEED change the run.

#include "PresetFileFuzzInput.h"
#include "PresetTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <utility>

namespace
{

std::uint64_t FromEnvironment(const char* name, std::uint64_t fallback)
{
    const char* text = std::getenv(name);
    return text != nullptr ? std::strtoull(text, nullptr, 10) : fallback;
}

class Mutator
{
public:
    // chunks: where the chunks of the unmutated file start.
    Mutator(std::uint64_t seed, std::vector<std::size_t> chunks) : mRandom(seed), mChunks(std::move(chunks))
    {
    }

    std::size_t Below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(mRandom() % n); }

    void Mutate(std::vector<std::uint8_t>& image)
    {
        switch (Below(4))
        {
        case 0: // a word that matters, set to something near a boundary
        {
            const std::size_t chunk = mChunks[Below(mChunks.size())];
            const std::size_t at = Below(3) == 0 ? Below(3) * 4 : chunk + Below(6) * 4;
            const std::uint32_t words[] = {0, 1, 2, 3, 11, 12, 23, 24, 130, 131, 0x7FFFFFFF, 0xFFFFFFFF};
            if (at + 4 <= image.size())
            {
                support::StoreU32(image, at,
                                  words[Below(std::size(words))] + static_cast<std::uint32_t>(Below(3)));
            }
            break;
        }
        case 1:
            if (!image.empty())
            {
                image[Below(image.size())] ^= static_cast<std::uint8_t>(1u << Below(8));
            }
            break;
        case 2:
            image.resize(Below(image.size() + 1));
            break;
        default: // noise behind the header
            image.resize(12 + Below(5000));
            for (std::size_t i = 12; i < image.size(); ++i)
            {
                image[i] = static_cast<std::uint8_t>(mRandom());
            }
            break;
        }
    }

private:
    std::mt19937_64 mRandom;
    std::vector<std::size_t> mChunks;
};

TEST(PresetFileFuzz, MutatedFilesAreRefusedOrReadAsAWholePreset)
{
    const std::uint64_t seed = FromEnvironment("KR_FUZZ_SEED", 20260101);
    const std::uint64_t iterations = FromEnvironment("KR_FUZZ_ITERATIONS", 20000);
    std::vector<std::uint8_t> good;
    ASSERT_EQ(KR::PresetFile::BuildPresetFile(support::PresetOf(support::RandomBlocks(1)), good), KR::kOk);
    std::vector<std::size_t> chunks = support::ChunkOffsets(good);
    chunks.pop_back();
    Mutator mutator(seed, chunks);
    std::uint64_t accepted = 0;
    for (std::uint64_t i = 0; i < iterations; ++i)
    {
        std::vector<std::uint8_t> image = good;
        const std::size_t mutations = 1 + mutator.Below(3);
        for (std::size_t m = 0; m < mutations; ++m)
        {
            mutator.Mutate(image);
        }
        const char* fault = KRTest::ExercisePresetFileBytes(image.data(), image.size());
        ASSERT_EQ(fault, nullptr) << fault << " (seed " << seed << ", iteration " << i << ")";
        KR::Array<KR::ParamValue> values;
        accepted += KR::PresetFile::ReadPresetFile(image, values) == KR::PresetFile::kLoaded;
    }
    // Some mutations leave a valid file (a flipped data bit); they must be read, too.
    EXPECT_GT(accepted, 0u);
}

} // namespace
