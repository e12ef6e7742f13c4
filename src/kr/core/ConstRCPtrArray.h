#pragma once
// An array of owned references to reference-counted objects, seen read-only.
// RCPtrArray (RCPtrArray.h) is the writable view of the same entries.

#include "kr/core/Allocator.h"
#include "kr/core/ArrayErrors.h"
#include "kr/core/BufferT.h"
#include "kr/core/IArray.h"
#include "kr/core/RCPtr.h"
#include "kr/core/TypeName.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace KR
{

// Each entry is one RCPtr<T> living in a framework buffer: a null entry or one
// reference. Entries move as bytes (a smart pointer is one address and refers to
// nothing of its own), so inserting or removing moves the tail with one block
// move and never touches a reference count.
//
// N and M are the growth step and the slack of the entry storage, counted in
// entries: with 1,0 the storage always matches the count; with 16,16 or 256,256 it
// moves in steps of 16 or 256 entries. Alloc supplies the heap.
//
// Failures are result codes (kInvalidArg for a position beyond the end or a count
// beyond the maximum, kFail when the heap refuses to grow), except RemoveItem and
// every removal made through it (RemoveItems, a shrinking SetCount), which throw
// "Out of Range" for an index not below the count.
template <typename T, std::size_t N = 1, std::size_t M = 0, AllocatorSource Alloc = &GetSystemAllocator>
class ConstRCPtrArray : public IArray<ConstRCPtr<T>>
{
    static_assert(N >= 1);

protected:
    using Entry = RCPtr<T>;
    // The read-only interface hands out the entries as their ConstRCPtr<T> part;
    // positions step over both views alike only while the two have one size.
    static_assert(sizeof(Entry) == sizeof(ConstRCPtr<T>) && sizeof(Entry) == sizeof(T*));

public:
    using ConstInterface = IArray<ConstRCPtr<T>>;
    using Storage = BufferT<sizeof(Entry) * N, sizeof(Entry) * M, alignof(Entry), Entry*, Alloc>;
    static constexpr std::uint32_t kMaxCount = ConstInterface::kMaxCount;

    // Holds `count` null entries; storage for `capacity` entries is taken first, and
    // the sizing rule then decides whether the surplus stays.
    explicit ConstRCPtrArray(std::uint32_t count = 0, std::uint32_t capacity = 0)
        : mStorage(std::size_t{count} * sizeof(Entry), std::size_t{capacity} * sizeof(Entry), false)
    {
        ConstructNull(0, Count());
    }

    ConstRCPtrArray(const ConstRCPtrArray& other) : ConstInterface() { AssignEntries(other); }
    ConstRCPtrArray& operator=(const ConstRCPtrArray& other)
    {
        if (this != &other)
        {
            AssignEntries(other);
        }
        return *this;
    }
    // The entries move with their block; the source is left empty.
    ConstRCPtrArray(ConstRCPtrArray&& other) noexcept : ConstInterface(), mStorage(std::move(other.mStorage))
    {
    }
    ConstRCPtrArray& operator=(ConstRCPtrArray&& other) noexcept
    {
        if (this != &other)
        {
            ReleaseAll();
            mStorage = std::move(other.mStorage);
        }
        return *this;
    }

    // Releases the elements first to last.
    ~ConstRCPtrArray() override { ReleaseAll(); }

    std::uint32_t GetCount() const override { return Count(); }

    Result SetCount(std::uint32_t count) override
    {
        const std::uint32_t own = Count();
        if (count < own)
        {
            return RemoveEntries(own, count, own - count);
        }
        if (count == own)
        {
            return static_cast<Result>(count);
        }
        if (count > kMaxCount)
        {
            return kInvalidArg;
        }
        if (!ResizeStorage(count))
        {
            return kFail;
        }
        ConstructNull(own, count - own);
        return static_cast<Result>(count);
    }

    Result InsertSpace(std::uint32_t index, std::uint32_t count) override
    {
        const std::uint32_t own = Count();
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
        if (!ResizeStorage(own + count))
        {
            return kFail;
        }
        Entry* entries = Entries();
        MoveEntries(entries + index + count, entries + index, own - index);
        ConstructNull(index, count);
        return static_cast<Result>(own + count);
    }

    // Removes `count` entries from `index` and returns the new count. The removed
    // elements are released first to last, once the array is already without them.
    // A range that runs past the end removes what it covers and then throws.
    Result RemoveItems(std::uint32_t index, std::uint32_t count) override
    {
        return RemoveEntries(Count(), index, count);
    }

    // Returns the index of the new entry.
    Result InsertItem(std::uint32_t index, const ConstRCPtr<T>& element) override
    {
        return InsertEntry(index, Entry(element));
    }

    // Moves the element's reference into `out` (whose former object is released
    // first) and returns the new count.
    Result RemoveItem(std::uint32_t index, ConstRCPtr<T>& out) override
    {
        if (index >= Count())
        {
            Detail::ThrowConstRCPtrArrayRemoveItem(TypeName<T>(), N, M);
        }
        out = nullptr;
        out = TakeEntry(index);
        return static_cast<Result>(Count());
    }

    // kFail, with `out` null, when the array is empty.
    Result RemoveLast(ConstRCPtr<T>& out) override
    {
        out = nullptr;
        if (Count() == 0)
        {
            return kFail;
        }
        out = TakeEntry(Count() - 1);
        return static_cast<Result>(Count());
    }

    // Checks both indices: an exchange with an entry past the end would corrupt the
    // heap rather than fail.
    Result Swap(std::uint32_t a, std::uint32_t b) override
    {
        const std::uint32_t count = Count();
        if (a >= count || b >= count)
        {
            return kInvalidArg;
        }
        std::swap(Entries()[a], Entries()[b]);
        return kOk;
    }

    const ConstRCPtr<T>* GetData() const override { return Entries(); }
    ConstRCPtr<T>* GetData() override { return Entries(); }

    // The element at `index`, or a null pointer at or past the count.
    const ConstRCPtr<T>& GetAt(std::uint32_t index) const
    {
        return index < Count() ? Entries()[index] : NullEntry();
    }

    // Bytes allocated, for callers and tests that watch the footprint.
    std::size_t GetCapacityBytes() const { return mStorage.GetCapacity(); }

protected:
    std::uint32_t Count() const { return static_cast<std::uint32_t>(mStorage.GetSize() / sizeof(Entry)); }
    Entry* Entries() { return mStorage.GetTypedData(); }
    const Entry* Entries() const { return mStorage.GetTypedData(); }

    static const Entry& NullEntry()
    {
        static const Entry null;
        return null;
    }

    // Inserts an entry that already holds its own reference.
    Result InsertEntry(std::uint32_t index, Entry&& entry)
    {
        const Result result = InsertSpace(index, 1);
        if (result < 0)
        {
            return result;
        }
        Entries()[index] = std::move(entry);
        return static_cast<Result>(index);
    }

    // Takes the entry out with its reference and closes the gap.
    Entry TakeEntry(std::uint32_t index)
    {
        Entry* entries = Entries();
        Entry taken = std::move(entries[index]);
        const std::uint32_t count = Count();
        MoveEntries(entries + index, entries + index + 1, count - index - 1);
        ShrinkTo(count - 1);
        return taken;
    }

    void AssignEntries(const ConstRCPtrArray& other)
    {
        SetCount(0);
        const std::uint32_t count = other.Count();
        if (SetCount(count) == static_cast<Result>(count))
        {
            for (std::uint32_t i = 0; i < count; ++i)
            {
                Entries()[i] = other.Entries()[i];
            }
        }
    }

private:
    // Nulls every entry in order (releasing it), then lets the storage go.
    void ReleaseAll() noexcept
    {
        Entry* entries = Entries();
        const std::uint32_t count = Count();
        for (std::uint32_t i = 0; i < count; ++i)
        {
            entries[i] = nullptr;
        }
        mStorage.Allocate(0);
    }

    // `own` is the count when the removal began (the range check is against it).
    Result RemoveEntries(std::uint32_t own, std::uint32_t index, std::uint32_t count)
    {
        const std::uint32_t covered = index < own ? std::min(count, own - index) : 0;
        if (covered == 1)
        {
            // The common case needs no list: hold the element until the array is consistent.
            const Entry removed = TakeEntry(index);
        }
        else if (covered > 1)
        {
            std::vector<Entry> removed;
            removed.reserve(covered);
            Entry* entries = Entries();
            for (std::uint32_t i = 0; i < covered; ++i)
            {
                removed.push_back(std::move(entries[index + i]));
            }
            MoveEntries(entries + index, entries + index + covered, own - index - covered);
            ShrinkTo(own - covered);
            for (Entry& element : removed)
            {
                element = nullptr;
            }
        }
        if (covered != count)
        {
            Detail::ThrowConstRCPtrArrayRemoveItem(TypeName<T>(), N, M);
        }
        return static_cast<Result>(Count());
    }

    bool ResizeStorage(std::uint32_t count)
    {
        const std::size_t bytes = std::size_t{count} * sizeof(Entry);
        return mStorage.Resize(bytes) == bytes;
    }

    // After the tail moved down, the last entries are stale copies of moved ones.
    // Should the storage fail to shrink, they are reset to null without releasing,
    // so no reference is ever owned twice.
    void ShrinkTo(std::uint32_t count)
    {
        const std::uint32_t own = Count();
        if (!ResizeStorage(count))
        {
            ConstructNull(count, own - count);
        }
    }

    void ConstructNull(std::uint32_t index, std::uint32_t count)
    {
        Entry* entries = Entries();
        for (std::uint32_t i = 0; i < count; ++i)
        {
            new (entries + index + i) Entry();
        }
    }

    static void MoveEntries(Entry* to, const Entry* from, std::size_t count)
    {
        if (count != 0)
        {
            std::memmove(static_cast<void*>(to), static_cast<const void*>(from), count * sizeof(Entry));
        }
    }

    Storage mStorage;
};

} // namespace KR
