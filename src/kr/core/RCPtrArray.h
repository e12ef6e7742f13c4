#pragma once
// The writable view of a pointer array: the same entries as its ConstRCPtrArray
// part, handed out as RCPtr<T>.

#include "kr/core/ConstRCPtrArray.h"
#include "kr/core/RefCountedObject.h"

namespace KR
{

// Each interface's InsertItem, RemoveItem and RemoveLast take its own pointer type, so
// the writable ones below hide the read-only part's on purpose (they stay reachable
// through AsConst); a using-declaration would make a call with nullptr ambiguous.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Woverloaded-virtual"

// Two interfaces over one storage. Sizing, insertion and every removal are those of
// the ConstRCPtrArray part, so RemoveItems and a shrinking SetCount throw that part's
// "Out of Range" text; only RemoveItem called through IArray<RCPtr<T>> has its own.
template <typename T, std::size_t N = 1, std::size_t M = 0, AllocatorSource Alloc = &GetSystemAllocator>
class RCPtrArray : public IArray<RCPtr<T>>, public ConstRCPtrArray<T, N, M, Alloc>
{
    using ConstPart = ConstRCPtrArray<T, N, M, Alloc>;
    using Entry = RCPtr<T>;

public:
    using Interface = IArray<RCPtr<T>>;
    using Iterator = typename Interface::Iterator;
    using ConstPart::kMaxCount;

    explicit RCPtrArray(std::uint32_t count = 0, std::uint32_t capacity = 0) : ConstPart(count, capacity) {}
    RCPtrArray(const RCPtrArray& other) : Interface(), ConstPart(other) {}
    RCPtrArray(RCPtrArray&& other) noexcept : Interface(), ConstPart(std::move(other)) {}
    RCPtrArray& operator=(const RCPtrArray& other)
    {
        ConstPart::operator=(other);
        return *this;
    }
    RCPtrArray& operator=(RCPtrArray&& other) noexcept
    {
        ConstPart::operator=(std::move(other));
        return *this;
    }
    ~RCPtrArray() override = default;

    // One body for both interfaces.
    std::uint32_t GetCount() const override { return ConstPart::GetCount(); }
    std::uint32_t GetMaxCount() const override { return ConstPart::GetMaxCount(); }
    Result SetCount(std::uint32_t count) override { return ConstPart::SetCount(count); }
    Result InsertSpace(std::uint32_t index, std::uint32_t count) override
    {
        return ConstPart::InsertSpace(index, count);
    }
    Result RemoveItems(std::uint32_t index, std::uint32_t count) override
    {
        return ConstPart::RemoveItems(index, count);
    }
    Result RemoveAll() override { return ConstPart::RemoveAll(); }
    Result Swap(std::uint32_t a, std::uint32_t b) override { return ConstPart::Swap(a, b); }

    Entry* GetData() override { return this->Entries(); }
    const Entry* GetData() const override { return this->Entries(); }
    Entry& ElementAt(std::uint32_t index) override { return this->Entries()[index]; }
    const Entry& ElementAt(std::uint32_t index) const override { return this->Entries()[index]; }

    // The writable interface's own operations; the read-only ones stay reachable
    // through the ConstRCPtrArray part.
    using Interface::AddItem;
    using Interface::Advance;
    using Interface::Append;
    using Interface::Assign;
    using Interface::Begin;
    using Interface::begin;
    using Interface::End;
    using Interface::end;
    using Interface::GetEndPosition;
    using Interface::GetFirstPosition;
    using Interface::GetValue;
    using Interface::IndexOf;
    using Interface::operator[];

    // Returns the index of the new entry.
    Result InsertItem(std::uint32_t index, const Entry& element) override
    {
        return this->InsertEntry(index, Entry(element));
    }

    Result RemoveItem(std::uint32_t index, Entry& out) override
    {
        if (index >= this->Count())
        {
            Detail::ThrowRCPtrArrayRemoveItem(TypeName<T>(), N, M);
        }
        out = nullptr;
        out = this->TakeEntry(index);
        return static_cast<Result>(this->Count());
    }

    // kFail, with `out` null, when the array is empty.
    Result RemoveLast(Entry& out) override
    {
        out = nullptr;
        if (this->Count() == 0)
        {
            return kFail;
        }
        out = this->TakeEntry(this->Count() - 1);
        return static_cast<Result>(this->Count());
    }

    // The element at `index`, or a null pointer at or past the count.
    const Entry& GetAt(std::uint32_t index) const
    {
        return index < this->Count() ? this->Entries()[index] : ConstPart::NullEntry();
    }

    // The read-only interface of the same entries.
    ConstPart& AsConst() { return *this; }
    const ConstPart& AsConst() const { return *this; }
};

#pragma GCC diagnostic pop

// A pointer array that is itself reference-counted, for arrays shared by several
// owners (look descriptors).
template <typename T, std::size_t N = 1, std::size_t M = 0>
class LRCPtrArray : public RCPtrArray<T, N, M>, public virtual LRefCountedObject
{
public:
    using RCPtrArray<T, N, M>::RCPtrArray;
};

} // namespace KR
