#include "kr/core/Pair.h"
#include "kr/core/Holder.h"
#include "kr/core/MapToSortedPairArray.h"

#include <gtest/gtest.h>

#include <map>
#include <unordered_map>

namespace
{

using KR::String;
using StringPair = KR::Pair<String, String>;

String DescriptorText(int id)
{
    return String::Format(u"param %d", id);
}

TEST(LPair, ItsTextIsTheTextOfItsFirstValue)
{
    KR::RCPtr<KR::LPair<int, double, &DescriptorText>> pair(
        new KR::LPair<int, double, &DescriptorText>(7, 0.5));
    EXPECT_EQ(pair->first, 7);
    EXPECT_EQ(pair->second, 0.5);
    EXPECT_EQ(pair->ToString(), u"param 7");
}

TEST(LHolder, StartsAtZeroAndKeepsWhatIsSet)
{
    KR::RCPtr<KR::LHolder<unsigned int>> count(new KR::LHolder<unsigned int>);
    EXPECT_EQ(count->Get(), 0u);
    count->Set(3);
    KR::RCPtr<KR::LHolder<unsigned int>> shared = count;
    EXPECT_EQ(shared->Get(), 3u);
    EXPECT_FALSE(KR::LHolder<bool>().Get());
    EXPECT_TRUE(KR::LHolder<bool>(true).Get());
}

TEST(MapToSortedPairArray, ReplacesTheArrayWithTheEntriesSortedByKey)
{
    const std::unordered_map<String, String> table{
        {u"ITEM.10", u"Bb"}, {u"ITEM.02", u"D"}, {u"ITEM.1", u"Db"}};
    KR::Array<StringPair> pairs{{u"old", u"entry"}};
    EXPECT_EQ(KR::MapToSortedPairArray(table, pairs), KR::kOk);
    EXPECT_EQ(pairs, (KR::Array<StringPair>{{u"ITEM.02", u"D"}, {u"ITEM.1", u"Db"}, {u"ITEM.10", u"Bb"}}));
}

TEST(MapToSortedPairArray, OrdersByCodeUnitsNotByLetters)
{
    const std::map<String, String> table{{u"b", u"1"}, {u"B", u"2"}, {u"\u00e9", u"3"}, {u"a", u"4"}};
    KR::Array<StringPair> pairs;
    KR::MapToSortedPairArray(table, pairs);
    ASSERT_EQ(pairs.GetCount(), 4u);
    EXPECT_EQ(pairs[0].first, u"B");
    EXPECT_EQ(pairs[1].first, u"a");
    EXPECT_EQ(pairs[2].first, u"b");
    EXPECT_EQ(pairs[3].first, u"\u00e9");
}

TEST(MapToSortedPairArray, AnEmptyMapLeavesAnEmptyArray)
{
    KR::Array<StringPair> pairs{{u"x", u"y"}};
    EXPECT_EQ(KR::MapToSortedPairArray(std::map<String, String>(), pairs), KR::kOk);
    EXPECT_EQ(pairs.GetCount(), 0u);
}

} // namespace
