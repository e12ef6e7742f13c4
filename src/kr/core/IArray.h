#pragma once
// The one interface behind every ordered container of the framework: callers
// count, index, iterate, insert, remove and copy without knowing the storage.
//
// Storages implement GetCount, SetCount, InsertSpace, RemoveItems and the data
// address; every other operation has a body here written in terms of those, and
// a storage overrides only what it can do better or must do differently.
//
// Counts and indices are unsigned 32-bit. Operations that return "a count or an
// error" return a Result: the count when non-negative, else kInvalidArg for an
// index or range beyond the array, kFail for any other failure.

#include "kr/core/Types.h"

#include <concepts>
#include <cstdint>
#include <cstring>
#include <utility>

namespace KR
{

// The equality IndexOf uses. Smart-pointer elements overload it to compare the
// objects' addresses (ConstRCPtrArray.h); it is found by argument-dependent lookup.
template <typename T>
constexpr bool ArrayElementsEqual(const T& a, const T& b)
{
    return a == b;
}

// Positions are element addresses; null stands for "no element" (an empty array).
template <typename T>
class IIterable
{
public:
    struct Iterator
    {
        const IIterable* iterable = nullptr;
        T* position = nullptr;
    };

    virtual ~IIterable() = default;

    // Iterators come back through an out parameter, so that an array seen through two
    // element types (RCPtrArray) can offer both sets side by side.
    virtual void Begin(Iterator& out) = 0;
    virtual void Begin(Iterator& out) const = 0;
    virtual void End(Iterator& out) = 0;
    virtual void End(Iterator& out) const = 0;
    virtual T& GetValue(T* position) = 0;
    virtual const T& GetValue(const T* position) const = 0;
    // position + step elements, clamped into [first position, end position].
    virtual T* Advance(const T* position, std::int32_t step) const = 0;
    virtual T* GetFirstPosition() const = 0;
    virtual T* GetEndPosition() const = 0;
};

template <typename T>
class IArray : public IIterable<T>
{
public:
    using Iterator = typename IIterable<T>::Iterator;
    using ValueType = T;

    // The largest count any growable array reaches; keeps every count representable
    // as a non-negative Result.
    static constexpr std::uint32_t kMaxCount = 0x7FFFFFFFu;

    virtual std::uint32_t GetCount() const = 0;
    virtual std::uint32_t GetMaxCount() const { return kMaxCount; }

    void Begin(Iterator& out) override { std::as_const(*this).Begin(out); }
    void Begin(Iterator& out) const override { out = Iterator{this, GetFirstPosition()}; }
    void End(Iterator& out) override { std::as_const(*this).End(out); }
    void End(Iterator& out) const override { out = Iterator{this, GetEndPosition()}; }

    T& GetValue(T* position) override { return *position; }
    const T& GetValue(const T* position) const override { return *position; }

    // No range check (but in Array<T>): callers index below the count.
    virtual T& ElementAt(std::uint32_t index) { return GetData()[index]; }
    virtual const T& ElementAt(std::uint32_t index) const { return GetData()[index]; }

    T* Advance(const T* position, std::int32_t step) const override
    {
        T* first = GetFirstPosition();
        T* end = GetEndPosition();
        if (first == nullptr || position == nullptr)
        {
            return first;
        }
        const std::ptrdiff_t offset = (position - first) + step;
        if (offset <= 0)
        {
            return first;
        }
        if (offset >= end - first)
        {
            return end;
        }
        return first + offset;
    }

    T* GetFirstPosition() const override { return GetCount() == 0 ? nullptr : const_cast<T*>(GetData()); }
    T* GetEndPosition() const override
    {
        return GetCount() == 0 ? nullptr : const_cast<T*>(GetData()) + GetCount();
    }

    // Returns the new count (or the count the storage could reach).
    virtual Result SetCount(std::uint32_t count) = 0;
    // Opens `count` default entries before `index`; the new count, or kInvalidArg
    // when index is beyond the end or the array cannot grow that far.
    virtual Result InsertSpace(std::uint32_t index, std::uint32_t count) = 0;
    // Removes `count` entries from `index`; the new count, or kInvalidArg for a
    // range beyond the end (pointer arrays throw instead, see ConstRCPtrArray).
    virtual Result RemoveItems(std::uint32_t index, std::uint32_t count) = 0;

    virtual Result RemoveAll()
    {
        SetCount(0);
        return GetCount() == 0 ? kOk : kFail;
    }

    // Returns the new count; Array<T> and the pointer arrays return the index.
    virtual Result InsertItem(std::uint32_t index, const T& element)
    {
        // The element may live in this very array; copy it before the storage moves.
        T copy(element);
        const Result result = InsertSpace(index, 1);
        if (result < 0)
        {
            return result;
        }
        ElementAt(index) = std::move(copy);
        return result;
    }

    virtual Result RemoveItem(std::uint32_t index, T& out)
    {
        out = ElementAt(index);
        return RemoveItems(index, 1);
    }

    virtual Result Append(const IArray& other)
    {
        const std::uint32_t own = GetCount();
        const std::uint32_t added = other.GetCount();
        if (added == 0)
        {
            return static_cast<Result>(own);
        }
        if (added > kMaxCount - own)
        {
            return kFail;
        }
        const std::uint32_t total = own + added;
        if (SetCount(total) != static_cast<Result>(total))
        {
            return kFail;
        }
        // Read the other array only now: when it is this array, the positions
        // of its first `added` elements are those after the growth.
        const T* position = other.GetFirstPosition();
        for (std::uint32_t i = 0; i < added; ++i)
        {
            ElementAt(own + i) = other.GetValue(position);
            position = other.Advance(position, 1);
        }
        return static_cast<Result>(total);
    }

    virtual Result AddItem(const T& element) { return InsertItem(GetCount(), element); }

    // On an empty array the index wraps to the largest unsigned value, which every
    // storage rejects: Array<T> throws std::out_of_range, the others return an error.
    virtual Result RemoveLast(T& out) { return RemoveItem(GetCount() - 1, out); }

    virtual Result Assign(const IArray& other)
    {
        if (&other == this)
        {
            return static_cast<Result>(GetCount());
        }
        SetCount(0);
        return Append(other);
    }

    virtual Result Swap(std::uint32_t a, std::uint32_t b)
    {
        const std::uint32_t count = GetCount();
        if (a >= count || b >= count)
        {
            return kInvalidArg;
        }
        using std::swap;
        swap(ElementAt(a), ElementAt(b));
        return kOk;
    }

    virtual const T* GetData() const = 0;
    virtual T* GetData() = 0;

    // Index of the first element equal to `element` (smart pointers: the same
    // object), or -1.
    std::int32_t IndexOf(const T& element) const
    {
        const std::uint32_t count = GetCount();
        const T* data = GetData();
        for (std::uint32_t i = 0; i < count; ++i)
        {
            if (ArrayElementsEqual(data[i], element))
            {
                return static_cast<std::int32_t>(i);
            }
        }
        return -1;
    }

    // Copies bytes over the elements from `start`, never past the count; returns
    // how many were copied.
    std::uint32_t CopyFrom(const signed char* source, std::uint32_t start,
                           std::uint32_t count) requires std::same_as<T, signed char>
    {
        const std::uint32_t own = GetCount();
        if (start >= own)
        {
            return 0;
        }
        const std::uint32_t copied = count < own - start ? count : own - start;
        if (copied != 0)
        {
            std::memcpy(GetData() + start, source, copied);
        }
        return copied;
    }

    // The storage's ElementAt: unchecked but in Array<T>.
    T& operator[](std::uint32_t index) { return ElementAt(index); }
    const T& operator[](std::uint32_t index) const { return ElementAt(index); }

    // Lets range-for walk any array.
    T* begin() { return GetData(); }
    T* end() { return GetData() + GetCount(); }
    const T* begin() const { return GetData(); }
    const T* end() const { return GetData() + GetCount(); }
};

} // namespace KR
