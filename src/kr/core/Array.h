#pragma once
// The value array: a growable vector behind the array interface.

#include "kr/core/IArray.h"

#include <initializer_list>
#include <type_traits>
#include <vector>

namespace KR
{

// Element access is bounds-tested: an index not below the count throws
// std::out_of_range (and so do RemoveItem and RemoveLast with such an index).
// Nothing else throws; every other failure is a result code.
template <typename T>
class Array : public IArray<T>
{
    // std::vector<bool> hands out proxies, not element references.
    static_assert(!std::is_same_v<T, bool>, "use ArrayBuffer<bool> for flags");

public:
    using IArray<T>::kMaxCount;

    Array() = default;
    Array(std::initializer_list<T> items) : mItems(items) {}
    Array(const Array&) = default;
    Array(Array&&) noexcept = default;
    Array& operator=(const Array&) = default;
    Array& operator=(Array&&) noexcept = default;
    ~Array() override = default;

    std::uint32_t GetCount() const override { return static_cast<std::uint32_t>(mItems.size()); }

    T& ElementAt(std::uint32_t index) override { return mItems.at(index); }
    const T& ElementAt(std::uint32_t index) const override { return mItems.at(index); }

    Result SetCount(std::uint32_t count) override
    {
        if (count > kMaxCount)
        {
            return kInvalidArg;
        }
        mItems.resize(count);
        return static_cast<Result>(count);
    }

    Result InsertSpace(std::uint32_t index, std::uint32_t count) override
    {
        const std::uint32_t own = GetCount();
        if (index > own || count > kMaxCount - own)
        {
            return kInvalidArg;
        }
        mItems.insert(mItems.begin() + index, count, T{});
        return static_cast<Result>(own + count);
    }

    Result RemoveItems(std::uint32_t index, std::uint32_t count) override
    {
        const std::uint32_t own = GetCount();
        if (index >= own || count > own - index)
        {
            return kInvalidArg;
        }
        mItems.erase(mItems.begin() + index, mItems.begin() + index + count);
        return static_cast<Result>(GetCount());
    }

    // Returns the index of the new element.
    Result InsertItem(std::uint32_t index, const T& element) override
    {
        const std::uint32_t own = GetCount();
        if (index > own || own >= kMaxCount)
        {
            return kInvalidArg;
        }
        mItems.insert(mItems.begin() + index, element);
        return static_cast<Result>(index);
    }

    const T* GetData() const override { return mItems.data(); }
    T* GetData() override { return mItems.data(); }

    friend bool operator==(const Array& a, const Array& b) { return a.mItems == b.mItems; }

private:
    std::vector<T> mItems;
};

} // namespace KR
