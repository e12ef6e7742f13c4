#include "kr/render/Color.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace
{

using KR::ColorF;

TEST(Color, HexTextChangesOnlyTheChannelsItsLengthGives)
{
    const ColorF red(1.0f, 0.0f, 0.0f, 1.0f);
    struct Case
    {
        const char* name;
        const char* text;
        std::uint32_t packed;
    };
    const Case cases[] = {
        {"eight digits with prefix", "0xFF336699", 0xFF336699},
        {"eight digits without prefix", "FF336699", 0xFF336699},
        {"upper-case prefix and digits", "0XFFABCDEF", 0xFFABCDEF},
        {"lower-case digits", "0x80abcdef", 0x80ABCDEF},
        {"two digits set alpha only", "0x80", 0x80FF0000},
        {"six digits keep alpha", "0x336699", 0xFF336699},
        {"not hexadecimal reads as zero", "0xZZ", 0x00FF0000},
        {"reading stops at the first non-digit", "0x12G45678", 0x00000012},
        {"empty text", "", 0xFFFF0000},
        {"prefix alone", "0x", 0xFFFF0000},
        {"one digit", "8", 0xFFFF0000},
        {"five digits", "0x12345", 0xFFFF0000},
        {"seven digits", "1234567", 0xFFFF0000},
        {"nine digits", "0x123456789", 0xFFFF0000},
        {"a long text", "0x1234567890ABCDEF1234567890ABCDEF", 0xFFFF0000},
        {"null text", nullptr, 0xFFFF0000},
    };
    for (const Case& c : cases)
    {
        ColorF color = red;
        color.SetFromHexText(c.text);
        EXPECT_EQ(color.GetARGB(), c.packed) << c.name;
    }
}

TEST(Color, TextConstructionStartsTransparentBlack)
{
    const ColorF fromText("0x336699");
    EXPECT_EQ(fromText.alpha, 0.0f);
    EXPECT_EQ(fromText.GetARGB(), 0x00336699u);
    const ColorF full("0xFF336699");
    EXPECT_FLOAT_EQ(full.red, 0.2f);
    EXPECT_FLOAT_EQ(full.green, 0.4f);
    EXPECT_FLOAT_EQ(full.blue, 0.6f);
    EXPECT_FLOAT_EQ(full.alpha, 1.0f);
}

TEST(Color, PackingRoundsHalfUpAndClampsEachChannel)
{
    EXPECT_EQ(ColorF(1.2f, -0.3f, 0.5f, 1.0f).GetARGB(), 0xFFFF0080u);
    EXPECT_EQ(ColorF(1e30f, -1e30f, 0.0f, 0.0f).GetARGB(), 0x00FF0000u);
    for (std::uint32_t byte = 0; byte < 256; ++byte)
    {
        const std::uint32_t packed = byte << 24 | (255 - byte) << 16 | byte << 8 | (byte ^ 0x5A);
        EXPECT_EQ(ColorF::FromARGB(packed).GetARGB(), packed) << byte;
    }
}

} // namespace
