#include "engine/PresetFile.h"
#include "PresetTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace
{

using namespace KR::PresetFile;
using support::LoadU32;
using support::StoreU32;

std::vector<std::uint8_t> FactoryImage()
{
    std::vector<std::uint8_t> image;
    EXPECT_EQ(BuildPresetFile(support::FactoryPreset(), image), KR::kOk);
    return image;
}

KR::Result Read(const std::vector<std::uint8_t>& image, KR::Array<KR::ParamValue>& values)
{
    return ReadPresetFile(std::span<const std::uint8_t>(image.data(), image.size()), values);
}

KR::Result ReadLeavesNothing(const std::vector<std::uint8_t>& image)
{
    KR::Array<KR::ParamValue> values;
    values.AddItem(KR::ParamValue());
    const KR::Result result = Read(image, values);
    if (result != kLoaded)
    {
        EXPECT_EQ(values.GetCount(), 0u) << "a refused file hands out no value";
    }
    return result;
}

TEST(PresetFile, TheKeyboardsPresetIs4494BytesOfHeaderAnd131Chunks)
{
    const std::vector<std::uint8_t> image = FactoryImage();
    ASSERT_EQ(image.size(), 4494u);
    ASSERT_EQ(image.size(), kPresetFileSize);
    EXPECT_EQ(std::vector<std::uint8_t>(image.begin(), image.begin() + 12),
              expected::Hex("01 00 00 00 00 00 00 00 00 00 00 00"));
    EXPECT_EQ(std::vector<std::uint8_t>(image.begin() + 12, image.begin() + 36),
              expected::Hex("1E 00 00 00 00 00 00 00 00 00 00 00 12 00 00 00 00 00 00 00 08 00 00 00"));

    const auto blocks = expected::DefaultBlocks();
    const auto offsets = support::ChunkOffsets(image);
    ASSERT_EQ(offsets.size(), 132u);
    for (std::uint32_t i = 0; i < 131; ++i)
    {
        const std::size_t at = offsets[i];
        const auto length = static_cast<std::uint32_t>(blocks[i].size());
        EXPECT_EQ(LoadU32(image, at), length + 24) << "chunk " << i;
        EXPECT_EQ(LoadU32(image, at + 4), 0u);
        EXPECT_EQ(LoadU32(image, at + 8), i);
        EXPECT_EQ(LoadU32(image, at + 12), length + 12);
        EXPECT_EQ(LoadU32(image, at + 16), 0u);
        EXPECT_EQ(LoadU32(image, at + 20), 8u);
        EXPECT_EQ(std::vector<std::uint8_t>(image.begin() + at + 24, image.begin() + at + 24 + length),
                  blocks[i]);
    }
}

TEST(PresetFile, RandomPresetsSurviveWritingAndReading)
{
    for (std::uint32_t seed = 1; seed <= 20; ++seed)
    {
        const KR::Array<KR::ParamValue> preset = support::PresetOf(support::RandomBlocks(seed));
        std::vector<std::uint8_t> image;
        ASSERT_EQ(BuildPresetFile(preset, image), KR::kOk) << "seed " << seed;
        ASSERT_EQ(image.size(), kPresetFileSize);
        KR::Array<KR::ParamValue> values;
        ASSERT_EQ(Read(image, values), kLoaded) << "seed " << seed;
        ASSERT_EQ(values, preset) << "seed " << seed;
    }
}

TEST(PresetFile, WritingRefusesAnythingButACompletePresetOfWellFormedBlocks)
{
    std::vector<std::uint8_t> image{1, 2, 3};
    KR::Array<KR::ParamValue> preset = support::FactoryPreset();
    preset.SetCount(130);
    EXPECT_EQ(BuildPresetFile(preset, image), KR::kFail);
    EXPECT_TRUE(image.empty());
    EXPECT_EQ(BuildPresetFile(KR::Array<KR::ParamValue>(), image), KR::kFail);

    const std::vector<std::function<void(KR::Variant&)>> spoil = {
        [](KR::Variant& v) { v.Clear(); },
        [](KR::Variant& v) { v.SetInt32(5); },
        [](KR::Variant& v) { v.SetString("PRESET"); },
        [](KR::Variant& v) {
            v = support::Blob({1, 2, 3, 4, 5});
        },
        [](KR::Variant& v) {
            v = support::Blob({1, 2, 3, 4, 5, 6, 7});
        },
        [](KR::Variant& v) {
            v = support::Blob({1, 2, 3, 4, 5, 0x80});
        },
    };
    for (std::size_t k = 0; k < spoil.size(); ++k)
    {
        preset = support::FactoryPreset();
        spoil[k](preset.ElementAt(0).value);
        image = {1};
        EXPECT_EQ(BuildPresetFile(preset, image), KR::kFail) << "spoiled value " << k;
        EXPECT_TRUE(image.empty());
    }
}

TEST(PresetFile, TheDeviceWordsAreCheckedBeforeTheVersion)
{
    struct Case
    {
        std::uint32_t version, word1, word2;
        KR::Result result;
    };
    const Case cases[] = {
        {0, 0, 0, kOlderFormat}, {2, 0, 0, kNewerFormat}, {0xFFFFFFFF, 0, 0, kNewerFormat},
        {1, 1, 0, kOtherDevice}, {1, 0, 1, kOtherDevice}, {2, 1, 0, kOtherDevice},
        {0, 0, 7, kOtherDevice},
    };
    for (const Case& c : cases)
    {
        std::vector<std::uint8_t> image = FactoryImage();
        StoreU32(image, 0, c.version);
        StoreU32(image, 4, c.word1);
        StoreU32(image, 8, c.word2);
        EXPECT_EQ(ReadLeavesNothing(image), c.result) << c.version << " " << c.word1 << " " << c.word2;
        // The header alone decides; the chunks behind it do not matter.
        image.resize(12);
        EXPECT_EQ(ReadLeavesNothing(image), c.result) << "header only";
    }
}

TEST(PresetFile, MalformedChunksAreRefusedAsCorrupt)
{
    const std::vector<std::uint8_t> good = FactoryImage();
    const auto offsets = support::ChunkOffsets(good);
    const std::size_t first = offsets[0];
    const std::size_t second = offsets[1];
    const std::size_t last = offsets[130];
    // Changes a chunk's block length to n bytes, keeping every length word consistent.
    const auto resizeBlock = [&](std::vector<std::uint8_t>& image, std::size_t at, std::uint32_t n)
    {
        const std::uint32_t old = LoadU32(image, at) - 24;
        image.erase(image.begin() + at + 24, image.begin() + at + 24 + old);
        image.insert(image.begin() + at + 24, n, 0x11);
        StoreU32(image, at, n + 24);
        StoreU32(image, at + 12, n + 12);
    };

    const std::vector<std::pair<std::string, std::function<void(std::vector<std::uint8_t>&)>>> cases = {
        {"chunk length 3", [&](auto& image) { StoreU32(image, first, 3); }},
        {"chunk length 0", [&](auto& image) { StoreU32(image, first, 0); }},
        {"chunk length shorter than its value", [&](auto& image) { StoreU32(image, first, 29); }},
        {"chunk length past the end", [&](auto& image) { StoreU32(image, last, LoadU32(image, last) + 1); }},
        {"chunk length 0xFFFFFFFF", [&](auto& image) { StoreU32(image, second, 0xFFFFFFFF); }},
        {"reserved word", [&](auto& image) { StoreU32(image, first + 4, 1); }},
        {"index 131", [&](auto& image) { StoreU32(image, first + 8, 131); }},
        {"index -1", [&](auto& image) { StoreU32(image, last + 8, 0xFFFFFFFF); }},
        {"index seen twice", [&](auto& image) { StoreU32(image, second + 8, 0); }},
        {"value record longer than its chunk", [&](auto& image) { StoreU32(image, first + 12, 19); }},
        {"value record shorter than its chunk", [&](auto& image) { StoreU32(image, first + 12, 17); }},
        {"value record reserved word", [&](auto& image) { StoreU32(image, first + 16, 1); }},
        {"value type string", [&](auto& image) { StoreU32(image, first + 20, 9); }},
        {"value type byte range", [&](auto& image) { StoreU32(image, first + 20, 6); }},
        {"value type 11", [&](auto& image) { StoreU32(image, first + 20, 11); }},
        {"value type int32 of 4 bytes",
         [&](auto& image)
         {
             resizeBlock(image, first, 4);
             StoreU32(image, first + 20, 2);
         }},
        {"empty value",
         [&](auto& image)
         {
             resizeBlock(image, first, 0);
             StoreU32(image, first + 20, 0);
         }},
        {"block one byte short", [&](auto& image) { resizeBlock(image, second, 8); }},
        {"block one byte long", [&](auto& image) { resizeBlock(image, second, 10); }},
        // No system-exclusive message could carry a data byte of 80 or more.
        {"data byte 80 in the first block", [&](auto& image) { image[first + 24] = 0x80; }},
        {"data byte FF in a middle block", [&](auto& image) { image[offsets[65] + 26] = 0xFF; }},
        {"data byte 80 ending the last block", [&](auto& image) { image.back() = 0x80; }},
        {"three stray bytes at the end",
         [&](auto& image) {
             image.insert(image.end(), {0, 0, 0});
         }},
        {"a 132nd chunk",
         [&](auto& image) { image.insert(image.end(), image.begin() + first, image.begin() + second); }},
        {"a file larger than any preset", [&](auto& image) { image.resize(kMaxFileSize + 1); }},
        {"a zero length word at the end",
         [&](auto& image) {
             image.insert(image.end(), {0, 0, 0, 0});
         }},
    };
    for (const auto& [name, spoil] : cases)
    {
        std::vector<std::uint8_t> image = good;
        spoil(image);
        EXPECT_EQ(ReadLeavesNothing(image), kCorrupt) << name;
    }
}

TEST(PresetFile, ChunksAreTakenByTheirIndexNotTheirPlace)
{
    std::vector<std::uint8_t> image = FactoryImage();
    const auto offsets = support::ChunkOffsets(image);
    // Move the first chunk to the end.
    std::vector<std::uint8_t> chunk(image.begin() + offsets[0], image.begin() + offsets[1]);
    image.erase(image.begin() + offsets[0], image.begin() + offsets[1]);
    image.insert(image.end(), chunk.begin(), chunk.end());
    KR::Array<KR::ParamValue> values;
    ASSERT_EQ(Read(image, values), kLoaded);
    EXPECT_EQ(values, support::FactoryPreset());
}

// Cut inside the header, or where one whole chunk ends and the next would begin: every
// chunk read so far is well formed, and only the count tells the file is short.
TEST(PresetFile, AFileCutShortAtTheHeaderOrAnyChunkBoundaryIsRefused)
{
    const std::vector<std::uint8_t> image = FactoryImage();
    std::vector<std::size_t> cuts = support::ChunkOffsets(image);
    cuts.back() = 0;
    cuts.push_back(11);
    for (const std::size_t length : cuts)
    {
        const std::vector<std::uint8_t> cut(image.begin(),
                                            image.begin() + static_cast<std::ptrdiff_t>(length));
        ASSERT_EQ(ReadLeavesNothing(cut), kCorrupt) << "cut at " << length;
    }
}

TEST(PresetFile, AChunkReadAloneNamesItsIndexAndValue)
{
    std::vector<std::uint8_t> chunk;
    const KR::Variant block = support::Blob(expected::DefaultBlocks()[129]);
    ASSERT_EQ(BuildPresetFileChunk(129, block, chunk), KR::kOk);
    ASSERT_EQ(chunk.size(), 15u + 24u);
    std::int32_t index = -1;
    KR::Variant value;
    ASSERT_EQ(ParsePresetFileChunk(chunk, index, value), KR::kOk);
    EXPECT_EQ(index, 129);
    EXPECT_EQ(value, block);
    // Read with one byte more than the chunk claims: the chunk does not fill what it was given.
    chunk.push_back(0);
    EXPECT_EQ(ParsePresetFileChunk(chunk, index, value), kCorrupt);
    EXPECT_EQ(index, -1);
    EXPECT_TRUE(value.IsEmpty());
}

} // namespace
