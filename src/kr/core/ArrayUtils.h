#pragma once
// Sorting of arrays and of index arrays over them.

#include "kr/core/ArrayErrors.h"
#include "kr/core/IArray.h"

#include <algorithm>
#include <cstdint>

namespace KR::ArrayUtils
{

// Sorts elements start .. start + count - 1 with `less` (a less-than test on two
// elements); the order of equal elements is not kept. Ranges of fewer than two
// elements are left alone, wherever they start; a longer range that runs past the
// count throws "Out of Range".
template <typename T, typename Less>
void Sort(IArray<T>& array, std::uint32_t start, std::uint32_t count, Less less)
{
    if (count < 2)
    {
        return;
    }
    const std::uint32_t own = array.GetCount();
    if (start > own || count > own - start)
    {
        Detail::ThrowSortOutOfRange();
    }
    T* first = array.GetData() + start;
    std::sort(first, first + count, less);
}

// Fills `indices` with start .. start + count - 1 and, for two or more, sorts them
// by `less` applied to the source elements they name. Throws "Out of Range" when the
// range runs past the source's count.
template <typename T, typename Less>
void SortIndecies(IArray<std::uint32_t>& indices, const IArray<T>& source, std::uint32_t start,
                  std::uint32_t count, Less less)
{
    const std::uint32_t own = source.GetCount();
    if (start > own || count > own - start)
    {
        Detail::ThrowSortIndeciesOutOfRange();
    }
    indices.SetCount(count);
    std::uint32_t* first = indices.GetData();
    const std::uint32_t filled = indices.GetCount();
    for (std::uint32_t i = 0; i < filled; ++i)
    {
        first[i] = start + i;
    }
    if (filled >= 2)
    {
        const T* elements = source.GetData();
        std::sort(first, first + filled,
                  [&](std::uint32_t a, std::uint32_t b) { return less(elements[a], elements[b]); });
    }
}

} // namespace KR::ArrayUtils
