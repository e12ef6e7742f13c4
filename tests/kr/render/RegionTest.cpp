#include "kr/render/Region.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace
{

using KR::EdgesI;
using KR::LRegion;
using KR::PointD;
using KR::RectD;

std::vector<EdgesI> Nodes(const LRegion& region)
{
    std::vector<EdgesI> nodes;
    for (const KR::RegionNode* node = region.GetFirst(); node; node = node->next)
    {
        nodes.push_back(node->rect);
    }
    return nodes;
}

using Pixels = std::set<std::pair<int, int>>;

// The pixels the region covers; fails the test when two nodes share a pixel or a node
// is empty.
Pixels Cover(const LRegion& region, bool mayOverlap = false)
{
    Pixels pixels;
    for (const EdgesI& r : Nodes(region))
    {
        EXPECT_TRUE(r.right > r.left && r.bottom > r.top) << "empty node";
        for (int y = r.top; y < r.bottom; ++y)
        {
            for (int x = r.left; x < r.right; ++x)
            {
                const bool fresh = pixels.insert({x, y}).second;
                EXPECT_TRUE(fresh || mayOverlap) << "overlap at " << x << "," << y;
            }
        }
    }
    return pixels;
}

Pixels CoverOf(const std::vector<EdgesI>& rects)
{
    Pixels pixels;
    for (const EdgesI& r : rects)
    {
        for (int y = r.top; y < r.bottom; ++y)
        {
            for (int x = r.left; x < r.right; ++x)
            {
                pixels.insert({x, y});
            }
        }
    }
    return pixels;
}

TEST(Region, OverlappingAddsLeaveDisjointNodesCoveringTheUnion)
{
    LRegion region;
    region.AddRect({0, 0, 10, 10});
    region.AddRect({5, 5, 15, 15});
    EXPECT_EQ(Nodes(region), (std::vector<EdgesI>{{5, 5, 15, 15}, {0, 5, 5, 10}, {0, 0, 10, 5}}));
    region.AddRect({3, 3, 3, 20});
    region.AddRect({3, 3, 20, 3});
    EXPECT_EQ(region.GetRectCount(), 3u);
    EdgesI bounds;
    ASSERT_TRUE(region.GetBounds(bounds));
    EXPECT_EQ(bounds, (EdgesI{0, 0, 15, 15}));
}

TEST(Region, CuttingAHoleLeavesFourNodesAndHandsTheCutPieceOver)
{
    LRegion region;
    region.AddRect({0, 0, 30, 30});
    LRegion cut;
    region.SubtractRect({10, 10, 20, 20}, &cut);
    EXPECT_EQ(region.GetRectCount(), 4u);
    EXPECT_EQ(Cover(region).size(), 900u - 100u);
    EXPECT_EQ(Nodes(cut), (std::vector<EdgesI>{{10, 10, 20, 20}}));
    region.Intersect(cut);
    EXPECT_TRUE(region.IsEmpty());
    EdgesI bounds{1, 1, 1, 1};
    EXPECT_FALSE(region.GetBounds(bounds));
    EXPECT_EQ(bounds, EdgesI{});
}

TEST(Region, NeighboursCoalesce)
{
    struct Case
    {
        const char* name;
        std::vector<EdgesI> add;
        std::vector<EdgesI> result;
    };
    const Case cases[] = {
        {"side by side", {{0, 0, 10, 10}, {10, 0, 20, 10}}, {{0, 0, 20, 10}}},
        {"one above the other", {{0, 0, 10, 10}, {0, 10, 10, 20}}, {{0, 0, 10, 20}}},
        {"apart", {{0, 0, 10, 10}, {11, 0, 20, 10}}, {{0, 0, 10, 10}, {11, 0, 20, 10}}},
        {"an L stays two bands", {{0, 0, 10, 10}, {0, 10, 20, 20}}, {{0, 0, 10, 10}, {0, 10, 20, 20}}},
        {"a column through unequal bands",
         {{0, 0, 10, 5}, {30, 0, 40, 5}, {0, 5, 10, 9}, {50, 5, 60, 9}},
         {{0, 0, 10, 9}, {30, 0, 40, 5}, {50, 5, 60, 9}}},
    };
    for (const Case& c : cases)
    {
        LRegion region;
        for (const EdgesI& r : c.add)
        {
            region.AddRect(r);
        }
        region.Coalesce();
        EXPECT_EQ(Nodes(region), c.result) << c.name;
    }
}

TEST(Region, CoalesceKeepsTheCoverOfRandomAddsAndAppendsAndRemovesOverlaps)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(0, 40);
    for (int round = 0; round < 40; ++round)
    {
        LRegion region;
        LRegion appended;
        std::vector<EdgesI> added;
        for (int i = 0; i < 12; ++i)
        {
            const int x = coordinate(random);
            const int y = coordinate(random);
            const EdgesI r{x, y, x + coordinate(random) / 2, y + coordinate(random) / 2};
            (i % 3 == 0 ? appended : region).AddRect(r);
            added.push_back(r);
        }
        region.AppendRegion(appended);
        const Pixels expected = CoverOf(added);
        ASSERT_EQ(Cover(region, true), expected) << "round " << round;
        region.Coalesce();
        ASSERT_EQ(Cover(region), expected) << "round " << round;
    }
}

// Scattered rectangles, clusters of touching ones and rectangles meeting at a corner, as a
// burst of invalidations leaves them: the coalesced form covers what they cover, and
// nothing in it is left to merge, so coalescing it again changes nothing.
TEST(Region, CoalescedRegionsHaveNothingLeftToMerge)
{
    std::mt19937 random(11);
    std::uniform_int_distribution<int> coordinate(0, 200);
    std::uniform_int_distribution<int> extent(1, 12);
    for (int round = 0; round < 60; ++round)
    {
        LRegion region;
        std::vector<EdgesI> added;
        const int count = 2 + round * 2;
        for (int i = 0; i < count; ++i)
        {
            const int x = coordinate(random) / (round % 3 == 0 ? 8 : 1);
            const int y = coordinate(random) / (round % 3 == 0 ? 8 : 1);
            const EdgesI r{x, y, x + extent(random), y + extent(random)};
            region.AppendRect(r);
            added.push_back(r);
            if (i % 5 == 0)
            {
                // One touching its corner, one its side.
                const EdgesI corner{r.right, r.bottom, r.right + 3, r.bottom + 3};
                const EdgesI side{r.right, r.top, r.right + 4, r.bottom};
                region.AppendRect(corner);
                region.AppendRect(side);
                added.push_back(corner);
                added.push_back(side);
            }
        }
        region.Coalesce();
        ASSERT_EQ(Cover(region), CoverOf(added)) << "round " << round;
        const std::vector<EdgesI> nodes = Nodes(region);
        for (const EdgesI& a : nodes)
        {
            for (const EdgesI& b : nodes)
            {
                EXPECT_FALSE(a.top == b.top && a.bottom == b.bottom && a.right == b.left)
                    << "round " << round;
                EXPECT_FALSE(a.bottom == b.top && a.left == b.left && a.right == b.right)
                    << "round " << round;
            }
        }
        region.Coalesce();
        ASSERT_EQ(Nodes(region), nodes) << "round " << round;
    }
}

TEST(Region, RectanglesPastTheNodePoolRoundTrip)
{
    std::vector<EdgesI> added;
    LRegion region;
    for (int i = 0; i < 600; ++i)
    {
        const EdgesI r{(i % 30) * 4, (i / 30) * 4, (i % 30) * 4 + 3, (i / 30) * 4 + 3};
        region.AddRect(r);
        added.push_back(r);
    }
    LRegion copy(region);
    EXPECT_EQ(copy.GetRectCount(), 600u);
    region.Clear();
    std::vector<EdgesI> nodes = Nodes(copy);
    std::reverse(nodes.begin(), nodes.end());
    EXPECT_EQ(nodes, added);
    copy.Offset(std::numeric_limits<std::int32_t>::max(), 0);
    EXPECT_EQ(Nodes(copy).front().right, std::numeric_limits<std::int32_t>::max());
}

TEST(Region, RectangleOfDoublesIsTestedClampedAndRounded)
{
    LRegion region;
    region.AddRect({10, 10, 20, 20});
    region.AddRect({2147483000, 0, 2147483647, 5});
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case
    {
        const char* name;
        RectD rect;
        PointD offset;
        bool overlaps;
    };
    const Case cases[] = {
        {"inside", {12, 12, 2, 2}, {0, 0}, true},
        {"moved onto it by the offset", {0, 0, 5, 5}, {8, 8}, true},
        {"touching only after rounding down", {0, 0, 10.4, 10.4}, {0, 0}, false},
        {"reaching in after rounding up", {0, 0, 10.5, 10.5}, {0, 0}, true},
        {"empty width", {12, 12, 0, 5}, {0, 0}, false},
        {"wholly at negative coordinates", {-50, -50, 40, 40}, {0, 0}, false},
        {"huge offset", {12, 12, 5, 5}, {1e10, 1e10}, false},
        {"huge extent clamped to the last column", {2147483600.0, 0, 1e12, 3}, {0, 0}, true},
        {"NaN offset", {12, 12, 5, 5}, {nan, 0}, false},
        {"NaN width", {12, 12, nan, 5}, {0, 0}, false},
        {"infinite offset", {12, 12, 5, 5}, {-INFINITY, 0}, false},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(region.IntersectsRectF(c.rect, c.offset), c.overlaps) << c.name;
        EXPECT_EQ(region.AddRectF(c.rect, c.offset), c.overlaps) << c.name;
    }
    EXPECT_EQ(region.GetRectCount(), 2u);
}

} // namespace
