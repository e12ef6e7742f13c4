#pragma once
// At most N plain values stored inside the object: no allocation at all (MIDI
// message bytes).

#include "kr/core/IArray.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace KR
{

// Elements move as bytes; growing the count exposes whatever bytes the opened
// entries held before (zero for entries never used).
template <typename T, std::uint32_t N>
class SimpleFixedArray : public IArray<T>
{
    static_assert(std::is_trivially_copyable_v<T>, "elements move as bytes");
    static_assert(N > 0 && N <= IArray<T>::kMaxCount);

public:
    std::uint32_t GetCount() const override { return mCount; }
    std::uint32_t GetMaxCount() const override { return N; }

    // Stores at most N and returns what it stored.
    Result SetCount(std::uint32_t count) override
    {
        mCount = count < N ? count : N;
        return static_cast<Result>(mCount);
    }

    Result InsertSpace(std::uint32_t index, std::uint32_t count) override
    {
        if (count == 0)
        {
            return static_cast<Result>(mCount);
        }
        if (index > mCount || count > N - mCount)
        {
            return kInvalidArg;
        }
        // Both ends are within N after the check above; the clamps only say so to the
        // compiler, whose bounds analysis cannot follow the unsigned comparisons.
        const std::size_t to = std::min<std::size_t>(std::size_t{index} + count, N);
        const std::size_t tail = std::min<std::size_t>(mCount - index, N - to);
        std::memmove(mItems + to, mItems + index, tail * sizeof(T));
        mCount += count;
        return static_cast<Result>(mCount);
    }

    Result RemoveItems(std::uint32_t index, std::uint32_t count) override
    {
        if (count == 0)
        {
            return static_cast<Result>(mCount);
        }
        if (index > mCount || count > mCount - index)
        {
            return kInvalidArg;
        }
        std::memmove(mItems + index, mItems + index + count, (mCount - index - count) * sizeof(T));
        mCount -= count;
        return static_cast<Result>(mCount);
    }

    // Checks the index before reading, so a bad index never reads past the elements.
    Result RemoveItem(std::uint32_t index, T& out) override
    {
        if (index >= mCount)
        {
            return kInvalidArg;
        }
        out = mItems[index];
        return RemoveItems(index, 1);
    }

    const T* GetData() const override { return mItems; }
    T* GetData() override { return mItems; }

private:
    std::uint32_t mCount = 0;
    T mItems[N]{};
};

} // namespace KR
