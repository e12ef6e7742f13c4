#pragma once
// The selectors spell a number with the text that stands at that rank in a label's string
// table, the table's ids taken in order. The table keeps its ids in that very order (code
// unit by code unit), so the text is found by walking to it, with nothing copied or sorted.

#include "kr/ui/StringTable.h"

#include <cstddef>
#include <cstdint>
#include <iterator>

// The text of the entry at `rank` in id order; null past the last entry.
inline const KR::String* TableTextAtRank(const KR::LStringTable& table, std::uint32_t rank)
{
    const KR::TextMap& texts = table.GetTexts();
    if (rank >= texts.size())
    {
        return nullptr;
    }
    return &std::next(texts.begin(), static_cast<std::ptrdiff_t>(rank))->second;
}
