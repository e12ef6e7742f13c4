#include "kr/core/Array.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace
{

using KR::Array;
using KR::kFail;
using KR::kInvalidArg;
using KR::kOk;

template <typename T>
std::vector<T> Items(const KR::IArray<T>& array)
{
    return std::vector<T>(array.begin(), array.end());
}

using UIntArray = Array<unsigned int>;

TEST(Array, InsertsAndAddsReturningTheIndex)
{
    UIntArray a;
    EXPECT_EQ(a.AddItem(5), 0);
    EXPECT_EQ(a.AddItem(7), 1);
    EXPECT_EQ(a.InsertItem(1, 6), 1);
    EXPECT_EQ(a.InsertItem(4, 9), kInvalidArg);
    EXPECT_EQ(Items(a), (std::vector<unsigned>{5, 6, 7}));
}

TEST(Array, InsertItemCopesWithAnElementOfTheSameArray)
{
    Array<std::string> a{"first", "second"};
    a.InsertItem(0, a[1]);
    a.AddItem(a[0]);
    EXPECT_EQ(Items(a), (std::vector<std::string>{"second", "first", "second", "second"}));
}

TEST(Array, InsertSpaceOpensDefaultElementsWithinTheCount)
{
    UIntArray a{7};
    EXPECT_EQ(a.InsertSpace(0, 2), 3);
    EXPECT_EQ(a.InsertSpace(3, 1), 4);
    EXPECT_EQ(Items(a), (std::vector<unsigned>{0, 0, 7, 0}));
    EXPECT_EQ(a.InsertSpace(5, 1), kInvalidArg);
    // A count that would wrap or pass the maximum is refused, not attempted.
    EXPECT_EQ(a.InsertSpace(0, 0xFFFFFFFFu), kInvalidArg);
    EXPECT_EQ(a.InsertSpace(0, 0x7FFFFFFFu), kInvalidArg);
    EXPECT_EQ(a.GetCount(), 4u);
}

TEST(Array, RemoveItemsRefusesRangesBeyondTheEndEvenWhenTheyWrap)
{
    UIntArray a{1, 2, 3, 4};
    EXPECT_EQ(a.RemoveItems(4, 0), kInvalidArg);
    EXPECT_EQ(a.RemoveItems(2, 3), kInvalidArg);
    EXPECT_EQ(a.RemoveItems(1, 0xFFFFFFFFu), kInvalidArg);
    EXPECT_EQ(a.RemoveItems(0xFFFFFFFFu, 2), kInvalidArg);
    EXPECT_EQ(Items(a), (std::vector<unsigned>{1, 2, 3, 4}));
    EXPECT_EQ(a.RemoveItems(1, 2), 2);
    EXPECT_EQ(Items(a), (std::vector<unsigned>{1, 4}));
}

TEST(Array, ElementAccessPastTheCountThrowsOutOfRangeAndLeavesOutUntouched)
{
    UIntArray a{3, 4};
    EXPECT_THROW(a.ElementAt(2), std::out_of_range);
    EXPECT_THROW(std::as_const(a).ElementAt(2), std::out_of_range);

    unsigned out = 99;
    EXPECT_THROW(a.RemoveItem(2, out), std::out_of_range);
    EXPECT_EQ(out, 99u);
    EXPECT_EQ(a.RemoveItem(0, out), 1);
    EXPECT_EQ(out, 3u);
    EXPECT_EQ(a.RemoveLast(out), 0);
    EXPECT_EQ(out, 4u);

    out = 99;
    EXPECT_THROW(a.RemoveLast(out), std::out_of_range);
    EXPECT_EQ(out, 99u);
}

TEST(Array, SetCountGrowsWithValueInitialisedElementsAndShrinksFromTheEnd)
{
    UIntArray a{5};
    EXPECT_EQ(a.SetCount(3), 3);
    EXPECT_EQ(Items(a), (std::vector<unsigned>{5, 0, 0}));
    EXPECT_EQ(a.SetCount(1), 1);
    EXPECT_EQ(Items(a), (std::vector<unsigned>{5}));
    EXPECT_EQ(a.SetCount(0x80000000u), kInvalidArg);
    EXPECT_EQ(a.RemoveAll(), kOk);
    EXPECT_EQ(a.GetCount(), 0u);
}

TEST(Array, AppendAndAssignCopyEveryElement)
{
    UIntArray a{1, 2};
    const UIntArray b{3, 4};
    const UIntArray empty;
    EXPECT_EQ(a.Append(empty), 2);
    EXPECT_EQ(a.Append(b), 4);
    EXPECT_EQ(Items(a), (std::vector<unsigned>{1, 2, 3, 4}));
    EXPECT_EQ(a.Append(a), 8);
    EXPECT_EQ(Items(a), (std::vector<unsigned>{1, 2, 3, 4, 1, 2, 3, 4}));

    EXPECT_EQ(a.Assign(b), 2);
    EXPECT_EQ(Items(a), (std::vector<unsigned>{3, 4}));
    // Assigning an array to itself keeps its elements.
    EXPECT_EQ(a.Assign(a), 2);
    EXPECT_EQ(Items(a), (std::vector<unsigned>{3, 4}));
    EXPECT_EQ(a.Assign(empty), 0);
    EXPECT_EQ(a.GetCount(), 0u);
}

TEST(Array, SwapChecksBothIndices)
{
    UIntArray a{1, 2, 3};
    EXPECT_EQ(a.Swap(0, 2), kOk);
    EXPECT_EQ(Items(a), (std::vector<unsigned>{3, 2, 1}));
    EXPECT_EQ(a.Swap(0, 3), kInvalidArg);
    EXPECT_EQ(a.Swap(3, 0), kInvalidArg);
    EXPECT_EQ(Items(a), (std::vector<unsigned>{3, 2, 1}));
}

TEST(Array, IndexOfComparesWholeElements)
{
    // 0.5 and 1.0 share their low 32 bits; only a comparison of the whole value
    // tells them apart.
    const Array<double> a{0.5, 1.0, 1.0};
    EXPECT_EQ(a.IndexOf(1.0), 1);
    EXPECT_EQ(a.IndexOf(0.5), 0);
    EXPECT_EQ(a.IndexOf(2.0), -1);

    const Array<std::string> names{"alpha", "beta"};
    EXPECT_EQ(names.IndexOf(std::string("beta")), 1);
}

TEST(Array, EqualityIsElementWise)
{
    EXPECT_EQ((UIntArray{1, 2}), (UIntArray{1, 2}));
    EXPECT_NE((UIntArray{1, 2}), (UIntArray{1, 3}));
    EXPECT_NE((UIntArray{1, 2}), (UIntArray{1, 2, 0}));
    EXPECT_EQ(UIntArray{}, UIntArray{});
}

TEST(Array, PositionsWalkTheElementsAndClampAtBothEnds)
{
    UIntArray a;
    EXPECT_EQ(a.GetFirstPosition(), nullptr);
    EXPECT_EQ(a.GetEndPosition(), nullptr);
    UIntArray::Iterator begin;
    UIntArray::Iterator end;
    a.Begin(begin);
    a.End(end);
    EXPECT_EQ(begin.position, end.position);

    a = UIntArray{10, 20, 30};
    unsigned* first = a.GetFirstPosition();
    EXPECT_EQ(a.GetValue(a.Advance(first, 2)), 30u);
    EXPECT_EQ(a.Advance(first, 7), a.GetEndPosition());
    EXPECT_EQ(a.Advance(a.GetEndPosition(), -9), first);
    a.Begin(begin);
    a.End(end);
    EXPECT_EQ(begin.iterable, &a);
    EXPECT_EQ(end.position - begin.position, 3);
}

} // namespace
