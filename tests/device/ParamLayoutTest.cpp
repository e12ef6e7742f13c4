#include "device/ParamLayout.h"

#include "device/ExpectedPreset.h"

#include <gtest/gtest.h>

#include <array>

namespace
{

using ParamLayout::ControlKind;

std::vector<std::uint8_t> DefaultOf(ControlKind kind, std::int32_t index)
{
    std::array<std::uint8_t, ParamLayout::kMaxBlockSize> buffer{};
    const std::size_t n = ParamLayout::WriteDefaultBlock(kind, index, buffer);
    return {buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(n)};
}

TEST(ParamLayout, BlockSizesAndOffsetsMatchTheDocumentedDefaultsEndToEnd)
{
    const auto blocks = expected::DefaultBlocks();
    ASSERT_EQ(blocks.size(), 131u);
    std::uint32_t offset = 0;
    for (std::int32_t i = 0; i < 131; ++i)
    {
        EXPECT_EQ(ParamLayout::BlockSize(i), blocks[i].size()) << "index " << i;
        EXPECT_EQ(ParamLayout::BlockOffset(i), offset) << "index " << i;
        offset += ParamLayout::BlockSize(i);
    }
    EXPECT_EQ(offset, 1338u);
    EXPECT_EQ(ParamLayout::BlockOffset(131), 1338u);
}

TEST(ParamLayout, IndicesOutsideThePresetHaveNoBlock)
{
    for (std::int32_t i : {-1, 131, 132, INT32_MIN, INT32_MAX})
    {
        EXPECT_EQ(ParamLayout::BlockSize(i), 0u) << i;
        EXPECT_EQ(ParamLayout::RowOf(i), nullptr) << i;
    }
    EXPECT_EQ(ParamLayout::BlockOffset(-1), 0u);
    EXPECT_EQ(ParamLayout::BlockOffset(132), 0u);
}

TEST(ParamLayout, DefaultBlocksOfEveryControlMatchTheDocumentedPreset)
{
    const auto blocks = expected::DefaultBlocks();
    for (std::int32_t i = 0; i < 131; ++i)
    {
        const ParamLayout::KindRow* row = ParamLayout::RowOf(i);
        ASSERT_NE(row, nullptr);
        // Both pedals sit at index 0 of their group; every other control's index is its place in its row.
        const bool pedal = row->kind == ControlKind::VolumePedal || row->kind == ControlKind::SustainPedal;
        const std::int32_t index = pedal ? 0 : i - row->first;
        EXPECT_EQ(DefaultOf(row->kind, index), blocks[i]) << "index " << i;
    }
}

// A wrong row for an index would give that index another kind's default above.
TEST(ParamLayout, DefaultsBeyondTheModelWrapTheirIndexOrAreEmptyAndSmallBuffersAreRefused)
{
    EXPECT_TRUE(DefaultOf(ControlKind::TouchPadAxis, 2).empty());
    EXPECT_TRUE(DefaultOf(ControlKind::TouchPadAxis, -1).empty());
    std::array<std::uint8_t, 5> small{};
    EXPECT_EQ(ParamLayout::WriteDefaultBlock(ControlKind::Encoder, 0, small), 0u);
    EXPECT_EQ(ParamLayout::WriteDefaultBlock(ControlKind::Wheel, 0, small), 5u);
    EXPECT_EQ(DefaultOf(ControlKind::Wheel, 7), expected::Hex("00 00 00 00 7F"));
    // Sums wrap modulo 256 and only the low 8 bits of the index count.
    EXPECT_EQ(DefaultOf(ControlKind::Encoder, 0x1D8)[2], 0x00);
    EXPECT_EQ(DefaultOf(ControlKind::Fader, 0x105)[2], 0x05);
}

} // namespace
