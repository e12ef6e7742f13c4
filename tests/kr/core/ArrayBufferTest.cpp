#include "kr/core/ArrayBuffer.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

using KR::kInvalidArg;
using UInts = KR::ArrayBuffer<unsigned int, 1, 0>;

std::vector<unsigned> Items(const UInts& array)
{
    return std::vector<unsigned>(array.begin(), array.end());
}

UInts Of(std::initializer_list<unsigned> values)
{
    UInts array;
    for (unsigned v : values)
    {
        array.AddItem(v);
    }
    return array;
}

TEST(ArrayBuffer, OpenedAndGrownElementsAreZero)
{
    UInts a = Of({7});
    EXPECT_EQ(a.InsertSpace(0, 2), 3);
    EXPECT_EQ(Items(a), (std::vector<unsigned>{0, 0, 7}));

    UInts b = Of({5});
    EXPECT_EQ(b.SetCount(3), 3);
    EXPECT_EQ(Items(b), (std::vector<unsigned>{5, 0, 0}));

    // Shrinking and growing again does not bring old values back.
    UInts c = Of({1, 2, 3});
    c.SetCount(1);
    c.SetCount(3);
    EXPECT_EQ(Items(c), (std::vector<unsigned>{1, 0, 0}));
}

TEST(ArrayBuffer, RangeChecksCannotWrap)
{
    UInts a = Of({1, 2, 3});
    EXPECT_EQ(a.InsertSpace(4, 1), kInvalidArg);
    EXPECT_EQ(a.InsertSpace(1, 0xFFFFFFFFu), kInvalidArg);
    EXPECT_EQ(a.InsertSpace(1, 0), 3);
    EXPECT_EQ(a.RemoveItems(1, 0xFFFFFFFFu), kInvalidArg);
    EXPECT_EQ(a.RemoveItems(2, 2), kInvalidArg);
    EXPECT_EQ(a.RemoveItems(9, 0), 3);
    EXPECT_EQ(Items(a), (std::vector<unsigned>{1, 2, 3}));
    EXPECT_EQ(a.RemoveItems(0, 2), 1);
    EXPECT_EQ(Items(a), (std::vector<unsigned>{3}));
}

TEST(ArrayBuffer, AddsAndInsertsGiveTheNewCountAndRemovalsRefuseIndicesPastItWithoutReading)
{
    UInts a;
    EXPECT_EQ(a.AddItem(4), 1);
    EXPECT_EQ(a.InsertItem(1, 8), 2);
    EXPECT_EQ(a.InsertItem(3, 9), kInvalidArg);
    unsigned out = 99;
    EXPECT_EQ(a.RemoveItem(2, out), kInvalidArg);
    EXPECT_EQ(out, 99u);
    EXPECT_EQ(a.RemoveLast(out), 1);
    EXPECT_EQ(out, 8u);
    EXPECT_EQ(a.RemoveLast(out), 0);
    EXPECT_EQ(a.RemoveLast(out), kInvalidArg);
    EXPECT_EQ(out, 4u);
}

TEST(ArrayBuffer, StorageFollowsTheTypesGranularityAndSlack)
{
    // Exact instance: the block always matches the elements.
    UInts exact = Of({1, 2, 3});
    EXPECT_EQ(exact.GetCapacityBytes(), 12u);
    exact.RemoveAll();
    EXPECT_EQ(exact.GetCapacityBytes(), 0u);

    // Steps of 16 elements with 16 elements of slack.
    KR::ArrayBuffer<unsigned int, 16, 16> stepped;
    stepped.SetCount(17);
    EXPECT_EQ(stepped.GetCapacityBytes(), 32u * 4u);
    stepped.SetCount(1);
    EXPECT_EQ(stepped.GetCapacityBytes(), 16u * 4u);
}

} // namespace
