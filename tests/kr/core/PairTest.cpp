#include "kr/core/Pair.h"
#include "kr/core/MapToSortedPairArray.h"

#include <gtest/gtest.h>

#include <map>
#include <unordered_map>

namespace
{

using KR::String;
using StringPair = KR::Pair<String, String>;

TEST(MapToSortedPairArray, ReplacesTheArrayWithTheEntriesSortedByKey)
{
    const std::unordered_map<String, String> table{
        {u"ITEM.10", u"Bb"}, {u"ITEM.02", u"D"}, {u"ITEM.1", u"Db"}};
    KR::Array<StringPair> pairs{{u"old", u"entry"}};
    EXPECT_EQ(KR::MapToSortedPairArray(table, pairs), KR::kOk);
    EXPECT_EQ(pairs, (KR::Array<StringPair>{{u"ITEM.02", u"D"}, {u"ITEM.1", u"Db"}, {u"ITEM.10", u"Bb"}}));
    EXPECT_EQ(KR::MapToSortedPairArray(std::map<String, String>(), pairs), KR::kOk);
    EXPECT_EQ(pairs.GetCount(), 0u);
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

} // namespace
