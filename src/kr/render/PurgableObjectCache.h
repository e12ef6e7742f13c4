#pragma once
// KR::PurgableObjectCache: the small fixed-size caches in which renderers keep objects
// that are expensive to make (paths, resized bitmaps, display lists, textures), keyed by
// the handle of what they were made from. The cache never makes objects: GetEntry hands
// back the entry's object slot and the caller fills it when it is empty.
//
//     RCPtr<LPath>& slot = cache.GetEntry(polyline, false);
//     if (!slot)
//         slot = new LPath(polyline);
//
// A full cache gives the entry unused for longest to a new handle (the fewer uses win
// among equals); Purge releases what was not looked up since the previous Purge. Only
// handles are stored, so two keys with one handle share an entry. One thread.

#include "kr/core/HashedList.h"
#include "kr/core/RCPtr.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace KR
{

template <typename T, typename H>
class PurgableCacheEntry
{
public:
    virtual ~PurgableCacheEntry() = default;

    virtual bool IsEmpty() const { return !object; }

    // The handle stays: a cleared entry is still the one its handle finds.
    void Clear()
    {
        useCount = 0;
        lastUse = 0;
        object = nullptr;
    }

    H handle{};
    RCPtr<T> object;
    std::uint32_t lastUse = 0;
    std::uint32_t useCount = 0;
};

// T: the cached class; K: what callers look up with; H: its handle, given by GetHandle(key);
// GetBucket(handle): the index bucket, bits 4 to 11 of an integer handle unless given.
template <typename T, typename K, typename H, auto GetHandle, auto GetBucket = &GetBits<8, 4, H>>
class PurgableObjectCache
{
public:
    using Entry = PurgableCacheEntry<T, H>;

    // At least one entry, so a full cache always has a victim.
    explicit PurgableObjectCache(std::int32_t capacity)
        : mCapacity(std::max<std::int32_t>(capacity, 1)), mEntries(static_cast<std::size_t>(mCapacity))
    {
    }
    PurgableObjectCache(const PurgableObjectCache&) = delete;
    PurgableObjectCache& operator=(const PurgableObjectCache&) = delete;

    // The object slot of the key's entry, claiming or replacing an entry for a new handle.
    // With discard the entry is emptied first, for a caller that makes a fresh object.
    RCPtr<T>& GetEntry(const K& key, bool discard)
    {
        const H handle = GetHandle(key);
        Entry* entry = nullptr;
        if (const IndexItem* found = mIndex.Find(handle))
        {
            entry = &mEntries[static_cast<std::size_t>(found->entry)];
            if (discard)
            {
                entry->Clear();
            }
        }
        else
        {
            std::int32_t taken = static_cast<std::int32_t>(mIndex.GetCount());
            if (taken >= mCapacity)
            {
                taken = ChooseVictim();
                mIndex.Remove(mEntries[static_cast<std::size_t>(taken)].handle);
            }
            entry = &mEntries[static_cast<std::size_t>(taken)];
            entry->Clear();
            entry->handle = handle;
            mIndex.Add(IndexItem{handle, taken});
        }
        if (entry->useCount != 0xFFFFFFFFu)
        {
            ++entry->useCount;
        }
        entry->lastUse = ++mStamp;
        return entry->object;
    }

    // Empties the key's entry, which keeps its handle; nothing when the handle is unknown.
    void Drop(const K& key)
    {
        if (const IndexItem* found = mIndex.Find(GetHandle(key)))
        {
            mEntries[static_cast<std::size_t>(found->entry)].Clear();
        }
    }

    // Empties every entry not looked up since the previous purge; returns how many held
    // an object. The stamp difference is read signed, so the count survives the wrap.
    std::int32_t Purge()
    {
        std::int32_t released = 0;
        for (Entry& entry : mEntries)
        {
            if (static_cast<std::int32_t>(entry.lastUse - mPurgeMark) < 0)
            {
                released += entry.IsEmpty() ? 0 : 1;
                entry.Clear();
            }
        }
        mPurgeMark = mStamp;
        return released;
    }

    // Releases every object now; the entries keep their handles.
    void Clear()
    {
        for (Entry& entry : mEntries)
        {
            entry.Clear();
        }
    }

    std::int32_t GetCapacity() const { return mCapacity; }
    std::uint32_t GetIndexCount() const { return mIndex.GetCount(); }
    const Entry& GetEntryAt(std::int32_t index) const { return mEntries.at(static_cast<std::size_t>(index)); }
    // The entry a handle finds, or -1.
    std::int32_t FindEntry(const H& handle) const
    {
        const IndexItem* found = mIndex.Find(handle);
        return found ? found->entry : -1;
    }

private:
    struct IndexItem
    {
        H handle{};
        std::int32_t entry = 0;
    };
    static H KeyOfItem(const IndexItem& item) { return item.handle; }

    // The first empty entry, else the oldest (greater age, then fewer uses, then first).
    std::int32_t ChooseVictim() const
    {
        std::int32_t victim = 0;
        std::uint32_t victimAge = 0;
        std::uint32_t victimUses = 0xFFFFFFFFu;
        for (std::int32_t i = 0; i < mCapacity; ++i)
        {
            const Entry& entry = mEntries[static_cast<std::size_t>(i)];
            if (entry.IsEmpty())
            {
                return i;
            }
            const std::uint32_t age = mStamp - entry.lastUse;
            if (age > victimAge || (age == victimAge && entry.useCount < victimUses))
            {
                victim = i;
                victimAge = age;
                victimUses = entry.useCount;
            }
        }
        return victim;
    }

    std::int32_t mCapacity;
    std::uint32_t mStamp = 0;
    std::uint32_t mPurgeMark = 0;
    std::vector<Entry> mEntries;
    HashedList<IndexItem, H, &KeyOfItem, 8, GetBucket> mIndex;
};

} // namespace KR
