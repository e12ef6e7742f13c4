// A short seeded loop over the preset-file reader, through the same checks as the
// libFuzzer target in fuzz/, which makes the long runs: a well-formed file with a few
// words that matter set near a boundary, bits flipped, the file cut short, or noise
// behind its header.

#include "PresetFileFuzzInput.h"
#include "PresetTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace
{

TEST(PresetFileFuzz, MutatedFilesAreRefusedOrReadAsAWholePreset)
{
    std::vector<std::uint8_t> good;
    ASSERT_EQ(KR::PresetFile::BuildPresetFile(support::PresetOf(support::RandomBlocks(1)), good), KR::kOk);
    std::vector<std::size_t> chunks = support::ChunkOffsets(good);
    chunks.back() = 0; // the header's words
    const std::uint32_t words[] = {0, 1, 2, 3, 11, 12, 23, 24, 130, 131, 0x7FFFFFFF, 0xFFFFFFFF};
    std::mt19937_64 random(20260101);
    int accepted = 0;
    for (int i = 0; i < 20000; ++i)
    {
        std::vector<std::uint8_t> image = good;
        for (auto m = 1 + random() % 3; m > 0 && !image.empty(); --m)
        {
            const std::size_t at = chunks[random() % chunks.size()] + random() % 6 * 4;
            switch (random() % 4)
            {
            case 0:
                if (at + 4 <= image.size())
                {
                    support::StoreU32(image, at, words[random() % std::size(words)] + random() % 3);
                }
                break;
            case 1:
                image[random() % image.size()] ^= static_cast<std::uint8_t>(1u << random() % 8);
                break;
            case 2:
                image.resize(random() % (image.size() + 1));
                break;
            default:
                image.resize(12 + random() % 5000);
                std::generate(image.begin() + 12, image.end(),
                              [&] { return static_cast<std::uint8_t>(random()); });
                break;
            }
        }
        const char* fault = KRTest::ExercisePresetFileBytes(image.data(), image.size());
        ASSERT_EQ(fault, nullptr) << fault << " (iteration " << i << ")";
        KR::Array<KR::ParamValue> values;
        accepted += KR::PresetFile::ReadPresetFile(image, values) == KR::PresetFile::kLoaded ? 1 : 0;
    }
    // Some mutations leave a valid file (a flipped data bit); they must be read, too.
    EXPECT_GT(accepted, 0);
}

} // namespace
