#pragma once
// A string table's (key, text) entries as an array sorted by key.

#include "kr/core/Array.h"
#include "kr/core/ArrayUtils.h"
#include "kr/core/Pair.h"
#include "kr/core/StringT.h"

namespace KR
{

// Empties `out`, appends one pair per entry of `map` (anything whose elements have
// `first` and `second` strings, an ordered or a hashed map) and sorts the pairs by
// key, code unit by code unit. Returns kOk.
template <typename Map>
Result MapToSortedPairArray(const Map& map, Array<Pair<String, String>>& out)
{
    out.RemoveAll();
    for (const auto& [key, text] : map)
    {
        out.AddItem(Pair<String, String>{key, text});
    }
    ArrayUtils::Sort(out, 0, out.GetCount(),
                     [](const Pair<String, String>& a, const Pair<String, String>& b)
                     { return a.first < b.first; });
    return kOk;
}

} // namespace KR
