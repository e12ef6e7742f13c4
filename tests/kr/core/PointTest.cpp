#include "kr/core/Point.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace
{

using KR::PointD;
using KR::PointI;
using KR::RoundPointToInt;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(RoundPointToInt, RoundsHalvesAwayFromZero)
{
    EXPECT_EQ(RoundPointToInt(PointD{1.5, -1.5}), (PointI{2, -2}));
    EXPECT_EQ(RoundPointToInt(PointD{0.5, -0.5}), (PointI{1, -1}));
    EXPECT_EQ(RoundPointToInt(PointD{2.5, -2.5}), (PointI{3, -3}));
    EXPECT_EQ(RoundPointToInt(PointD{-0.4, 0.4}), (PointI{0, 0}));
    EXPECT_EQ(RoundPointToInt(PointD{0.49999999, -0.0}), (PointI{0, 0}));
}

TEST(RoundPointToInt, ClampsIntoTheSigned32BitRange)
{
    EXPECT_EQ(RoundPointToInt(PointD{3.0e9, -3.0e9}), (PointI{kMax, kMin}));
    EXPECT_EQ(RoundPointToInt(PointD{2147483647.0, -2147483648.0}), (PointI{kMax, kMin}));
    // Just inside the range, rounding reaches the extremes without overflowing.
    EXPECT_EQ(RoundPointToInt(PointD{2147483646.6, -2147483647.6}), (PointI{kMax, kMin}));
    // Just outside, the clamp decides.
    EXPECT_EQ(RoundPointToInt(PointD{2147483647.4, -2147483648.4}), (PointI{kMax, kMin}));
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(RoundPointToInt(PointD{inf, -inf}), (PointI{kMax, kMin}));
}

static_assert(RoundPointToInt(PointD{10.5, -10.5}) == PointI{11, -11}, "usable at compile time");

TEST(RoundPointToInt, TurnsNotANumberIntoTheMinimum)
{
    const double nan = std::nan("");
    EXPECT_EQ(RoundPointToInt(PointD{nan, 1.0}), (PointI{kMin, 1}));
    EXPECT_EQ(RoundPointToInt(PointD{-7.0, -nan}), (PointI{-7, kMin}));
}

TEST(RoundHalfAwayFromZero, KeepsADoubleWithoutClamping)
{
    const double rows[][2] = {{2.5, 3.0}, {-2.5, -3.0}, {0.49, 0.0}, {1e300, 1e300}, {-0.0, 0.0}};
    for (const auto& row : rows)
    {
        EXPECT_EQ(KR::RoundHalfAwayFromZero(row[0]), row[1]) << row[0];
    }
    EXPECT_FALSE(std::signbit(KR::RoundHalfAwayFromZero(-0.0)));
    PointD point{10.5, -0.4};
    KR::RoundPointInPlace(point);
    EXPECT_EQ(point, (PointD{11.0, 0.0}));
}

} // namespace
