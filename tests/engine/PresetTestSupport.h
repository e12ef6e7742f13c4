#pragma once
// Presets and file images for the preset-file and preset-manager tests.

#include "device/ExpectedPreset.h"
#include "device/ModelTestSupport.h"
#include "device/ParamLayout.h"
#include "kr/core/Array.h"
#include "kr/core/ParamValues.h"
#include "kr/core/Variant.h"

#include <cstdint>
#include <random>
#include <vector>

namespace support
{

// The 131 values of a preset from their blocks, by position.
inline KR::Array<KR::ParamValue> PresetOf(const std::vector<std::vector<std::uint8_t>>& blocks)
{
    KR::Array<KR::ParamValue> values;
    for (std::size_t i = 0; i < blocks.size(); ++i)
    {
        values.AddItem(KR::ParamValue(KR::ParamDescriptor(static_cast<std::int32_t>(i)), Blob(blocks[i])));
    }
    return values;
}

inline KR::Array<KR::ParamValue> FactoryPreset()
{
    return PresetOf(expected::DefaultBlocks());
}

// A preset of random MIDI data bytes (each below 0x80), the same for the same seed.
inline std::vector<std::vector<std::uint8_t>> RandomBlocks(std::uint32_t seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> dataByte(0, 0x7F);
    std::vector<std::vector<std::uint8_t>> blocks;
    for (std::int32_t i = 0; i < ParamLayout::kParamCount; ++i)
    {
        std::vector<std::uint8_t> block(ParamLayout::BlockSize(i));
        for (std::uint8_t& byte : block)
        {
            byte = static_cast<std::uint8_t>(dataByte(random));
        }
        blocks.push_back(block);
    }
    return blocks;
}

inline std::uint32_t LoadU32(const std::vector<std::uint8_t>& image, std::size_t offset)
{
    return static_cast<std::uint32_t>(image[offset]) | static_cast<std::uint32_t>(image[offset + 1]) << 8 |
           static_cast<std::uint32_t>(image[offset + 2]) << 16 |
           static_cast<std::uint32_t>(image[offset + 3]) << 24;
}

inline void StoreU32(std::vector<std::uint8_t>& image, std::size_t offset, std::uint32_t value)
{
    for (int k = 0; k < 4; ++k)
    {
        image[offset + k] = static_cast<std::uint8_t>(value >> (8 * k));
    }
}

// Where each chunk of a well-formed image starts, and the end of the file last.
inline std::vector<std::size_t> ChunkOffsets(const std::vector<std::uint8_t>& image)
{
    std::vector<std::size_t> offsets;
    std::size_t at = 12;
    // A zero length would never move on; the images here are well formed, but a test
    // that goes wrong should fail, not hang.
    for (; at + 4 <= image.size() && LoadU32(image, at) != 0; at += LoadU32(image, at))
    {
        offsets.push_back(at);
    }
    offsets.push_back(image.size());
    return offsets;
}

} // namespace support
