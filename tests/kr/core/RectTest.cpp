#include "kr/core/Rect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace
{

using KR::EdgesI;
using KR::PointD;
using KR::PointI;
using KR::RectD;
using KR::RectI;

constexpr std::int32_t kMinCoord = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMaxCoord = std::numeric_limits<std::int32_t>::max();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(RoundRectToInt, RoundsEachValueOnItsOwnAndClampsLikePoints)
{
    struct Case
    {
        double in;
        std::int32_t out;
    };
    const Case cases[] = {
        {2.5, 3},
        {-2.5, -3},
        {0.49999999, 0},
        {-0.5, -1},
        {-0.0, 0},
        {1e10, kMaxCoord},
        {-1e10, kMinCoord},
        {kNaN, kMinCoord},
        {2147483647.4, kMaxCoord},
        {2147483646.6, kMaxCoord},
        {2147483646.4, 2147483646},
        {-2147483648.0, kMinCoord},
        {-2147483648.4, kMinCoord},
    };
    for (const Case& c : cases)
    {
        const RectI r = KR::RoundRectToInt(RectD{c.in, c.in, c.in, c.in});
        EXPECT_EQ(r, (RectI{c.out, c.out, c.out, c.out})) << c.in;
        EXPECT_EQ(KR::RoundPointToInt(PointD{c.in, c.in}), (PointI{c.out, c.out})) << c.in;
    }
    // The size is rounded itself, not taken from rounded edges (0.5 + 1.0 would give 2 - 1).
    EXPECT_EQ(KR::RoundRectToInt(RectD{0.5, 0.5, 1.0, 1.0}), (RectI{1, 1, 1, 1}));
}

TEST(IntToDouble, KeepsEvery32BitValueAndClamps64BitOnesTo2Pow52)
{
    EXPECT_EQ(KR::IntPointToDouble(PointI{kMinCoord, kMaxCoord}), (PointD{-2147483648.0, 2147483647.0}));
    EXPECT_EQ(KR::IntRectToDouble(RectI{kMinCoord, -1, 0, kMaxCoord}),
              (RectD{-2147483648.0, -1.0, 0.0, 2147483647.0}));
    EXPECT_EQ(KR::IntToDouble(std::numeric_limits<std::int64_t>::max()), 4503599627370496.0);
    EXPECT_EQ(KR::IntToDouble(std::numeric_limits<std::int64_t>::min()), -4503599627370496.0);
    EXPECT_EQ(KR::IntToDouble(4503599627370495), 4503599627370495.0);
}

TEST(SnapRectToWholeUnits, FlipsNegativeSizesThenFloorsEdgesWithinTheRelativeTolerance)
{
    struct Case
    {
        RectD in;
        RectD out;
    };
    const double justBelowTwo = 2.0 - 2.220446049250313e-16;
    const Case cases[] = {
        {{1.5, 2.0, -1.0, 3.0}, {0.0, 2.0, 1.0, 3.0}},
        {{0.5, 0.5, 2.0, 2.0}, {0.0, 0.0, 2.0, 2.0}},
        {{justBelowTwo, 0.0, 1.0, 1.0}, {2.0, 0.0, 1.0, 1.0}},
        {{1.9, 0.0, 1.0, 1.0}, {1.0, 0.0, 1.0, 1.0}},
        {{-0.5, -3.0, 1.0, 1.0}, {-1.0, -3.0, 1.0, 1.0}},
        {{2.0, 3.0, -4.0, -5.0}, {-2.0, -2.0, 4.0, 5.0}},
    };
    for (const Case& c : cases)
    {
        RectD r = c.in;
        KR::SnapRectToWholeUnits(r);
        EXPECT_EQ(r, c.out) << c.in.x << " " << c.in.y << " " << c.in.width << " " << c.in.height;
    }
}

TEST(SnapRectToWholeUnits, EdgesBeyondThe64BitRangeOrNaNStayDefined)
{
    // A truncation through a 64-bit integer would be undefined for these.
    RectD r{kNaN, 1e300, 1.0, 1.0};
    KR::SnapRectToWholeUnits(r);
    EXPECT_TRUE(std::isnan(r.x));
    EXPECT_NEAR(r.y / 1e300, 1.0, 1e-15);
}

TEST(SizeDiffers, NeedsTheToleranceOrMore)
{
    EXPECT_FALSE(KR::SizeDiffers(10.0, 10.0 + 1e-15));
    EXPECT_TRUE(KR::SizeDiffers(10.0, 10.0 + 4e-15));
    EXPECT_TRUE(KR::SizeDiffers(0.0, KR::kSizeTolerance));
    EXPECT_TRUE(KR::SizeDiffers(kNaN, kNaN));
}

TEST(UnionRectInt, WidensBoundsByTheRoundedRectWithoutOverflowingAtTheClamp)
{
    EdgesI bounds{kMaxCoord, kMaxCoord, kMinCoord, kMinCoord};
    KR::UnionRectInt(RectD{1.5, -2.5, 10.4, 3.0}, bounds);
    EXPECT_EQ(bounds, (EdgesI{2, -3, 12, 0}));
    KR::UnionRectInt(RectD{5.0, 5.0, 1.0, 1.0}, bounds);
    EXPECT_EQ(bounds, (EdgesI{2, -3, 12, 6}));
    KR::UnionRectInt(RectD{3e9, 3e9, 3e9, 3e9}, bounds);
    EXPECT_EQ(bounds, (EdgesI{2, -3, kMaxCoord, kMaxCoord}));
}

} // namespace
