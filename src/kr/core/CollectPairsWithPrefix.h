#pragma once
// Picks the entries of a string table whose ids share a prefix ("CONTEXT_MENU.",
// "MENU_LABEL.") for the menu builders.

#include "kr/core/Array.h"
#include "kr/core/ArrayUtils.h"
#include "kr/core/Pair.h"
#include "kr/core/StringT.h"

namespace KR
{

// Appends to out every (id, text) entry of table whose id begins with prefix (its first
// prefix-length units equal the prefix), then sorts out by id, code unit by code unit.
// table: an ordered map from id to text, or any range of elements with `first` and
// `second` strings (a KR::Array of KR::Pair).
template <typename Table>
void CollectPairsWithPrefix(const Table& table, const String& prefix, Array<Pair<String, String>>& out)
{
    const String::View wanted = prefix.GetView();
    for (const auto& [id, text] : table)
    {
        if (id.GetView().starts_with(wanted))
        {
            out.AddItem(Pair<String, String>{id, text});
        }
    }
    ArrayUtils::Sort(out, 0, out.GetCount(),
                     [](const Pair<String, String>& a, const Pair<String, String>& b)
                     { return a.first < b.first; });
}

} // namespace KR
