#pragma once
// A hash list of 2^B buckets (256 in every instance): the engine of the renderer
// caches, the glyph cache and the font map.

#include "kr/core/Pair.h"
#include "kr/core/RCPtrArray.h"
#include "kr/core/StringT.h"

#include <cstdint>
#include <string>
#include <type_traits>

namespace KR
{

template <typename V, typename K>
class IHashedList
{
public:
    virtual ~IHashedList() = default;

    virtual std::uint32_t GetCount() const = 0;
    virtual void RemoveAll() = 0;
    // Stores the value under its key: true when the key was new, false when the
    // value replaced the one stored under that key.
    virtual bool Add(const V& value) = 0;
    // The stored value of `key`, or `notFound` when the key is absent.
    virtual V* Find(const K& key, V* notFound = nullptr) = 0;
    // false when the key is absent.
    virtual bool Remove(const K& key) = 0;
};

// The bucket of a key: Bits bits of the key from bit Shift on. <8,0> takes the low
// byte (characters of the glyph cache); <8,4> skips the low four bits, which handles
// and heap addresses share, and takes bits 4 to 11.
template <unsigned Bits, unsigned Shift, typename K>
constexpr std::uint32_t GetBits(const K& key)
{
    static_assert(std::is_integral_v<K> || std::is_enum_v<K>,
                  "integer keys; give other keys their own function");
    static_assert(Bits >= 1 && Bits <= 16 && Shift + Bits <= 8 * sizeof(std::uintmax_t));
    return static_cast<std::uint32_t>((static_cast<std::uintmax_t>(key) >> Shift) & ((1u << Bits) - 1));
}

// The text of a hash list's key: decimal for numbers.
template <typename K>
String HashKeyToString(const K& key)
{
    if constexpr (std::is_integral_v<K> || std::is_enum_v<K>)
    {
        using Number = std::conditional_t<std::is_enum_v<K>, std::underlying_type<K>, std::type_identity<K>>;
        return String(std::to_string(static_cast<typename Number::type>(key)).c_str());
    }
    else
    {
        return String(TypeName<K>().c_str());
    }
}

// V: the stored value; K: its key, compared with ==; GetKey: a function giving a
// value's key; B: bucket bits; GetBucket: the function that picks a key's bucket
// (GetBits<B,0,K> unless given).
//
// Each bucket is a pointer array of reference-counted (key, value) pairs, searched
// from its newest entry backwards, so recently added keys are found first. No lock:
// the owner keeps a list to one thread.
template <typename V, typename K, auto GetKey, unsigned B = 8, auto GetBucket = &GetBits<B, 0, K>>
class HashedList : public IHashedList<V, K>
{
public:
    using Entry = LPair<K, V, &HashKeyToString<K>>;
    using Bucket = RCPtrArray<Entry, 1, 0>;
    static constexpr std::uint32_t kBucketCount = 1u << B;

    HashedList() = default;
    HashedList(const HashedList&) = delete;
    HashedList& operator=(const HashedList&) = delete;
    ~HashedList() override = default;

    std::uint32_t GetCount() const override { return mCount; }

    void RemoveAll() override
    {
        for (Bucket& bucket : mBuckets)
        {
            bucket.SetCount(0);
        }
        mCount = 0;
    }

    bool Add(const V& value) override
    {
        const K key = GetKey(value);
        Bucket& bucket = BucketOf(key);
        const std::int32_t index = FindIndex(bucket, key);
        if (index >= 0)
        {
            bucket[static_cast<std::uint32_t>(index)]->second = value;
            return false;
        }
        if (bucket.AddItem(RCPtr<Entry>(new Entry(key, value))) < 0)
        {
            return false;
        }
        ++mCount;
        return true;
    }

    V* Find(const K& key, V* notFound = nullptr) override
    {
        Bucket& bucket = BucketOf(key);
        const std::int32_t index = FindIndex(bucket, key);
        return index >= 0 ? &bucket[static_cast<std::uint32_t>(index)]->second : notFound;
    }

    const V* Find(const K& key, const V* notFound = nullptr) const
    {
        return const_cast<HashedList*>(this)->Find(key, const_cast<V*>(notFound));
    }

    bool Remove(const K& key) override
    {
        Bucket& bucket = BucketOf(key);
        const std::int32_t index = FindIndex(bucket, key);
        if (index < 0)
        {
            return false;
        }
        bucket.RemoveItems(static_cast<std::uint32_t>(index), 1);
        --mCount;
        return true;
    }

    // The bucket a key goes to, for callers that check their spread.
    static std::uint32_t BucketIndex(const K& key) { return GetBucket(key) & (kBucketCount - 1); }

    // Visits every entry, bucket by bucket, oldest first within a bucket.
    template <typename Visit>
    void ForEach(Visit visit) const
    {
        for (const Bucket& bucket : mBuckets)
        {
            for (const RCPtr<Entry>& entry : bucket)
            {
                visit(entry->first, entry->second);
            }
        }
    }

private:
    Bucket& BucketOf(const K& key) { return mBuckets[BucketIndex(key)]; }

    static std::int32_t FindIndex(const Bucket& bucket, const K& key)
    {
        for (std::uint32_t i = bucket.GetCount(); i-- > 0;)
        {
            if (bucket[i]->first == key)
            {
                return static_cast<std::int32_t>(i);
            }
        }
        return -1;
    }

    std::uint32_t mCount = 0;
    Bucket mBuckets[kBucketCount];
};

} // namespace KR
