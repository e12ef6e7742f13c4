#include "kr/core/SimpleFixedArray.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

using KR::kFail;
using KR::kInvalidArg;
using EightBytes = KR::SimpleFixedArray<signed char, 8>;

std::vector<int> Items(const EightBytes& array)
{
    return std::vector<int>(array.begin(), array.end());
}

TEST(SimpleFixedArray, CountNeverPassesTheCapacity)
{
    EightBytes a;
    EXPECT_EQ(a.GetMaxCount(), 8u);
    EXPECT_EQ(a.SetCount(9), 8);
    EXPECT_EQ(a.GetCount(), 8u);
    EXPECT_EQ(a.InsertSpace(0, 1), kInvalidArg);
    EXPECT_EQ(a.AddItem(1), kInvalidArg);
    EXPECT_EQ(a.SetCount(2), 2);
    EXPECT_EQ(a.InsertSpace(0, 0xFFFFFFFFu), kInvalidArg);
    EXPECT_EQ(a.InsertSpace(3, 1), kInvalidArg);
    EXPECT_EQ(a.InsertSpace(2, 6), 8);
}

TEST(SimpleFixedArray, RemovalsRefuseIndicesAtOrPastTheCountWithoutReading)
{
    EightBytes a;
    EXPECT_EQ(a.AddItem(1), 1);
    EXPECT_EQ(a.AddItem(3), 2);
    EXPECT_EQ(a.InsertItem(1, 2), 3);
    EXPECT_EQ(a.InsertItem(4, 4), kInvalidArg);
    signed char out = 42;
    EXPECT_EQ(a.RemoveItem(3, out), kInvalidArg);
    EXPECT_EQ(out, 42);
    EXPECT_EQ(a.RemoveItems(1, 0xFFFFFFFFu), kInvalidArg);
    EXPECT_EQ(a.RemoveItems(2, 2), kInvalidArg);
    EXPECT_EQ(a.RemoveItems(5, 0), 3);
    EXPECT_EQ(a.RemoveItem(0, out), 2);
    EXPECT_EQ(out, 1);
    EXPECT_EQ(a.RemoveLast(out), 1);
    EXPECT_EQ(out, 3);
    EXPECT_EQ(a.RemoveLast(out), 0);
    EXPECT_EQ(a.RemoveLast(out), kInvalidArg);
    EXPECT_EQ(out, 2);
}

TEST(SimpleFixedArray, AppendBeyondTheCapacityFails)
{
    EightBytes a;
    EightBytes b;
    b.SetCount(5);
    EXPECT_EQ(a.Append(b), 5);
    EXPECT_EQ(a.Append(b), kFail);
}

TEST(SimpleFixedArray, CopyFromStopsAtTheCount)
{
    EightBytes a;
    a.SetCount(4);
    const signed char source[] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(a.CopyFrom(source, 4, 1), 0u);
    EXPECT_EQ(a.CopyFrom(source, 1, 6), 3u);
    EXPECT_EQ(Items(a), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(a.CopyFrom(source, 0, 0xFFFFFFFFu), 4u);
    EXPECT_EQ(Items(a), (std::vector<int>{1, 2, 3, 4}));
}

} // namespace
