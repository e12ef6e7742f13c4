#pragma once
// The one buffer template behind all raw storage of the framework.

#include "kr/core/Allocator.h"
#include "kr/core/Buffer.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <type_traits>
#include <utility>

namespace KR
{

// A block of bytes from an allocator, whose capacity follows two rules fixed by the
// instance:
// - G, granularity: every new or reallocated block is the size rounded up to a multiple
//   of G bytes (1 = exact).
// - S, slack: Resize keeps the present block while it is large enough and exceeds the new
//   size by at most max(S, G - 1) bytes; otherwise it reallocates to the rounded size.
//   So small changes of size move nothing, and a buffer that shrank a lot gives memory
//   back. A resize to 0 that does not keep the block frees it.
// A: the alignment the data needs; every heap block has at least that.
// T: the pointer type under which GetTypedData presents the data (char* for bytes, an
//   element pointer type for arrays).
// Alloc: the function that supplies the allocator.
//
// A heap failure never loses data: the buffer keeps its old block and size, and Resize,
// Allocate and the constructor report the size actually held.
//
// Examples: <1,128> (string characters) keeps a 300-byte block when resized to 200 and
// reallocates to exactly 100 when resized to 100; <512,512> (preset-file data) resized to
// 1338 bytes holds 1536.
template <std::size_t G, std::size_t S, std::size_t A = 8, typename T = char*,
          AllocatorSource Alloc = &GetSystemAllocator>
class BufferT : public virtual IBuffer
{
    static_assert(G >= 1, "granularity is at least one byte");
    static_assert(std::is_pointer_v<T>, "the data is presented through a pointer type");
    static_assert(A <= alignof(std::max_align_t), "heap blocks are not aligned beyond max_align_t");

public:
    static constexpr std::size_t kGranularity = G;
    static constexpr std::size_t kSlack = S;

    BufferT() = default;

    // Reserves max(size, reserve) bytes (rounded) first, then sizes to size, whose slack
    // rule decides whether the surplus stays. With zeroFill the size bytes are zero.
    BufferT(std::size_t size, std::size_t reserve, bool zeroFill)
    {
        if (reserve > size)
        {
            const std::size_t capacity = RoundUp(reserve);
            if (capacity != 0)
            {
                mData = static_cast<char*>(Alloc()->Allocate(capacity));
                mCapacity = mData ? capacity : 0;
            }
        }
        Resize(size);
        if (zeroFill && mSize != 0)
        {
            Fill(0, 0, -1);
        }
    }

    BufferT(const BufferT&) = delete;
    BufferT& operator=(const BufferT&) = delete;

    BufferT(BufferT&& other) noexcept
        : mData(std::exchange(other.mData, nullptr)), mSize(std::exchange(other.mSize, 0)),
          mCapacity(std::exchange(other.mCapacity, 0))
    {
    }

    BufferT& operator=(BufferT&& other) noexcept
    {
        if (this != &other)
        {
            FreeBlock();
            mData = std::exchange(other.mData, nullptr);
            mSize = std::exchange(other.mSize, 0);
            mCapacity = std::exchange(other.mCapacity, 0);
        }
        return *this;
    }

    ~BufferT() override { FreeBlock(); }

    std::size_t GetSize() const override { return mSize; }
    std::size_t GetCapacity() const override { return mCapacity; }
    char* GetData() override { return mData; }
    const char* GetData() const override { return mData; }

    // The data under the instance's pointer type.
    T GetTypedData() { return reinterpret_cast<T>(mData); }
    std::add_pointer_t<const std::remove_pointer_t<T>> GetTypedData() const
    {
        return reinterpret_cast<std::add_pointer_t<const std::remove_pointer_t<T>>>(mData);
    }

    std::size_t Allocate(std::size_t n) override
    {
        if (n == 0)
        {
            FreeBlock();
            return 0;
        }
        const std::size_t capacity = RoundUp(n);
        if (capacity == 0)
        {
            return mSize;
        }
        if (capacity != mCapacity)
        {
            // The new block is taken before the old one goes, so a failure keeps the old.
            char* block = static_cast<char*>(Alloc()->Allocate(capacity));
            if (!block)
            {
                return mSize;
            }
            FreeBlock();
            mData = block;
            mCapacity = capacity;
        }
        mSize = n;
        return n;
    }

    std::size_t Resize(std::size_t n) override
    {
        if (mCapacity == 0)
        {
            return Allocate(n);
        }
        if (mCapacity >= n && mCapacity - n <= std::max(S, G - 1))
        {
            mSize = n;
            return n;
        }
        if (n == 0)
        {
            FreeBlock();
            return 0;
        }
        const std::size_t capacity = RoundUp(n);
        if (capacity == 0)
        {
            return mSize;
        }
        char* block = static_cast<char*>(Alloc()->Reallocate(mData, capacity));
        if (!block)
        {
            return mSize;
        }
        mData = block;
        mCapacity = capacity;
        mSize = n;
        return n;
    }

    Result Fill(std::uint8_t value, std::size_t offset, std::ptrdiff_t count) override
    {
        return FillBytes(mData, mSize, value, offset, count);
    }

    Result Fill16(std::uint16_t value, std::size_t offset, std::ptrdiff_t count) override
    {
        return FillUnits16(mData, mSize, value, offset, count);
    }

private:
    // n rounded up to a multiple of G; 0 when that is not representable.
    static constexpr std::size_t RoundUp(std::size_t n)
    {
        if constexpr (G == 1)
        {
            return n;
        }
        else
        {
            if (n > std::numeric_limits<std::size_t>::max() - (G - 1))
            {
                return 0;
            }
            return (n + G - 1) / G * G;
        }
    }

    void FreeBlock()
    {
        if (mData)
        {
            Alloc()->Free(mData);
        }
        mData = nullptr;
        mSize = 0;
        mCapacity = 0;
    }

    char* mData = nullptr;
    std::size_t mSize = 0;
    std::size_t mCapacity = 0;
};

} // namespace KR
