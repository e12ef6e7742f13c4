#include "kr/core/ArrayUtils.h"

#include "kr/core/Array.h"
#include "kr/core/Exception.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace
{

using KR::Array;
namespace ArrayUtils = KR::ArrayUtils;

const auto kLess = [](int a, int b) { return a < b; };

template <typename Action>
std::string OutOfRangeText(Action action)
{
    try
    {
        action();
    }
    catch (const KR::Exception<std::out_of_range>& e)
    {
        return e.what();
    }
    return "no exception";
}

TEST(ArrayUtils, SortOrdersTheGivenRangeOnly)
{
    Array<int> a{9, 5, 3, 7, 1};
    ArrayUtils::Sort(a, 1, 3, kLess);
    EXPECT_EQ(a, (Array<int>{9, 3, 5, 7, 1}));
    ArrayUtils::Sort(a, 0, 5, [](int x, int y) { return x > y; });
    EXPECT_EQ(a, (Array<int>{9, 7, 5, 3, 1}));
}

TEST(ArrayUtils, SortOfFewerThanTwoElementsNeverThrows)
{
    Array<int> a{2, 1};
    EXPECT_NO_THROW(ArrayUtils::Sort(a, 0xFFFFFFFFu, 1, kLess));
    EXPECT_NO_THROW(ArrayUtils::Sort(a, 7, 0, kLess));
    EXPECT_EQ(a, (Array<int>{2, 1}));
}

TEST(ArrayUtils, SortPastTheCountThrowsOutOfRangeEvenWhenTheRangeWraps)
{
    const std::string text =
        "Out of Range : KR::ArrayUtils::Sort : krframework\\utilities\\Storage/ArrayUtils : Line 254";
    Array<int> a{3, 2, 1};
    EXPECT_EQ(OutOfRangeText([&] { ArrayUtils::Sort(a, 2, 2, kLess); }), text);
    EXPECT_EQ(OutOfRangeText([&] { ArrayUtils::Sort(a, 1, 0xFFFFFFFFu, kLess); }), text);
    EXPECT_EQ(OutOfRangeText([&] { ArrayUtils::Sort(a, 0xFFFFFFFFu, 2, kLess); }), text);
    EXPECT_EQ(a, (Array<int>{3, 2, 1}));
}

TEST(ArrayUtils, SortIndeciesOrdersIndicesByTheElementsTheyName)
{
    const Array<int> source{40, 10, 30, 20};
    Array<std::uint32_t> indices{99};
    ArrayUtils::SortIndecies(indices, source, 1, 3, kLess);
    EXPECT_EQ(indices, (Array<std::uint32_t>{1, 3, 2}));
    EXPECT_EQ(source, (Array<int>{40, 10, 30, 20}));

    ArrayUtils::SortIndecies(indices, source, 4, 0, kLess);
    EXPECT_EQ(indices.GetCount(), 0u);
}

TEST(ArrayUtils, SortIndeciesPastTheSourceThrowsOutOfRange)
{
    const std::string text =
        "Out of Range : KR::ArrayUtils::SortIndecies : krframework\\utilities\\Storage/ArrayUtils : Line 266";
    const Array<int> source{1, 2};
    Array<std::uint32_t> indices{7};
    EXPECT_EQ(OutOfRangeText([&] { ArrayUtils::SortIndecies(indices, source, 1, 2, kLess); }), text);
    EXPECT_EQ(OutOfRangeText([&] { ArrayUtils::SortIndecies(indices, source, 2, 0xFFFFFFFFu, kLess); }),
              text);
    EXPECT_EQ(indices, (Array<std::uint32_t>{7}));
}

} // namespace
