#include "kr/core/CollectPairsWithPrefix.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace
{

using KR::String;
using Entries = std::vector<std::pair<std::u16string, std::u16string>>;

Entries Listed(const KR::Array<KR::Pair<String, String>>& pairs)
{
    Entries entries;
    for (const auto& pair : pairs)
    {
        entries.emplace_back(pair.first.GetView(), pair.second.GetView());
    }
    return entries;
}

TEST(CollectPairsWithPrefix, TakesTheMatchingEntriesSortedById)
{
    const std::map<String, String> table{
        {String(u"MENU_LABEL.1"), String(u"Edit")},       {String(u"CONTEXT_MENU.2"), String(u"Paste")},
        {String(u"MENU_LABEL.0"), String(u"File")},       {String(u"MENU_LABEL"), String(u"too short")},
        {String(u"menu_label.3"), String(u"wrong case")},
    };
    KR::Array<KR::Pair<String, String>> out;
    KR::CollectPairsWithPrefix(table, String(u"MENU_LABEL."), out);
    EXPECT_EQ(Listed(out), (Entries{{u"MENU_LABEL.0", u"File"}, {u"MENU_LABEL.1", u"Edit"}}));
}

TEST(CollectPairsWithPrefix, AppendsToWhatTheArrayHoldsAndSortsTheWhole)
{
    KR::Array<KR::Pair<String, String>> table;
    table.AddItem({String(u"CONTEXT_MENU.2"), String(u"Paste")});
    table.AddItem({String(u"CONTEXT_MENU.1"), String(u"Copy")});

    KR::Array<KR::Pair<String, String>> out;
    out.AddItem({String(u"CONTEXT_MENU.3"), String(u"Delete")});
    KR::CollectPairsWithPrefix(table, String(u"CONTEXT_MENU."), out);
    EXPECT_EQ(Listed(out), (Entries{{u"CONTEXT_MENU.1", u"Copy"},
                                    {u"CONTEXT_MENU.2", u"Paste"},
                                    {u"CONTEXT_MENU.3", u"Delete"}}));

    KR::Array<KR::Pair<String, String>> all;
    KR::CollectPairsWithPrefix(table, String(), all);
    EXPECT_EQ(all.GetCount(), 2u);
}

} // namespace
