#pragma once
// Plain values in a framework buffer: an array whose growth and slack are fixed by
// its type (flags, bytes, numbers, rectangles, the block lists of the recycling pools).

#include "kr/core/BufferT.h"
#include "kr/core/IArray.h"

#include <cstring>
#include <type_traits>

namespace KR
{

// N and M are the buffer's granularity and slack counted in elements (an instance
// with 1,1600 of 4-byte values keeps up to 6400 spare bytes before it shrinks). A
// has no effect; it completes the type's name as the framework writes it. B is the
// alignment handed to the buffer.
//
// New and opened elements are zero bytes. InsertItem and AddItem return the new
// count (not the index). A heap failure is reported as kFail and keeps the elements.
template <typename T, std::size_t N = 1, std::size_t M = 0, std::size_t A = 1, std::size_t B = 8,
          AllocatorSource Alloc = &GetSystemAllocator>
class ArrayBuffer : public IArray<T>
{
    static_assert(std::is_trivially_copyable_v<T>, "elements move as bytes");
    static_assert(N >= 1);

public:
    using IArray<T>::kMaxCount;
    using Storage = BufferT<sizeof(T) * N, sizeof(T) * M, B, T*, Alloc>;

    ArrayBuffer() = default;
    ArrayBuffer(const ArrayBuffer& other) : IArray<T>() { this->Assign(other); }
    ArrayBuffer& operator=(const ArrayBuffer& other)
    {
        this->Assign(other);
        return *this;
    }
    ArrayBuffer(ArrayBuffer&&) noexcept = default;
    ArrayBuffer& operator=(ArrayBuffer&&) noexcept = default;
    ~ArrayBuffer() override = default;

    std::uint32_t GetCount() const override
    {
        return static_cast<std::uint32_t>(mStorage.GetSize() / sizeof(T));
    }

    // Sizes the storage to `count` elements keeping the present ones; the new count,
    // or kFail when the heap could not supply it.
    Result Resize(std::uint32_t count)
    {
        if (count > kMaxCount)
        {
            return kInvalidArg;
        }
        const std::size_t bytes = std::size_t{count} * sizeof(T);
        return mStorage.Resize(bytes) == bytes ? static_cast<Result>(count) : kFail;
    }

    Result SetCount(std::uint32_t count) override
    {
        const std::uint32_t old = GetCount();
        const Result result = Resize(count);
        if (result >= 0 && count > old)
        {
            ZeroElements(old, count - old);
        }
        return result;
    }

    Result InsertSpace(std::uint32_t index, std::uint32_t count) override
    {
        const std::uint32_t own = GetCount();
        if (count == 0)
        {
            return static_cast<Result>(own);
        }
        if (index > own || count > kMaxCount - own)
        {
            return kInvalidArg;
        }
        if (index == own)
        {
            return SetCount(own + count);
        }
        const Result result = Resize(own + count);
        if (result < 0)
        {
            return result;
        }
        T* data = GetData();
        std::memmove(data + index + count, data + index, (own - index) * sizeof(T));
        ZeroElements(index, count);
        return result;
    }

    Result RemoveItems(std::uint32_t index, std::uint32_t count) override
    {
        const std::uint32_t own = GetCount();
        if (count == 0)
        {
            return static_cast<Result>(own);
        }
        if (index > own || count > own - index)
        {
            return kInvalidArg;
        }
        T* data = GetData();
        std::memmove(data + index, data + index + count, (own - index - count) * sizeof(T));
        return Resize(own - count);
    }

    // Returns the new count.
    Result InsertItem(std::uint32_t index, const T& element) override
    {
        const T copy = element;
        const Result result = InsertSpace(index, 1);
        if (result < 0)
        {
            return result;
        }
        GetData()[index] = copy;
        return result;
    }

    // Checks the index before reading, so a bad index never reads past the elements.
    Result RemoveItem(std::uint32_t index, T& out) override
    {
        if (index >= GetCount())
        {
            return kInvalidArg;
        }
        out = GetData()[index];
        return RemoveItems(index, 1);
    }

    const T* GetData() const override { return mStorage.GetTypedData(); }
    T* GetData() override { return mStorage.GetTypedData(); }

    // Bytes allocated, for callers that watch the footprint.
    std::size_t GetCapacityBytes() const { return mStorage.GetCapacity(); }

private:
    void ZeroElements(std::uint32_t index, std::uint32_t count)
    {
        if (count != 0)
        {
            std::memset(static_cast<void*>(GetData() + index), 0, std::size_t{count} * sizeof(T));
        }
    }

    Storage mStorage;
};

} // namespace KR
