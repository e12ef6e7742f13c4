#pragma once
// A map from objects to objects, keyed by the key object's identity (its address),
// built on the hash list (the font registry: which font file serves each font).

#include "kr/core/HashedList.h"
#include "kr/core/RCPtr.h"

#include <cstdint>

namespace KR
{

// The text of a held object: its ToString, or an empty text for null.
template <typename P>
String ToString(const P& pointer)
{
    return pointer ? pointer->ToString() : String();
}

// The key of an object: the address of its one LRefCountedObject part, which is the
// same whichever of its classes the object is seen through.
inline std::uintptr_t ObjectKey(const LRefCountedObject* object)
{
    return reinterpret_cast<std::uintptr_t>(object);
}

namespace Detail
{
template <typename Pair>
std::uintptr_t PairObjectKey(const RCPtr<Pair>& pair)
{
    return ObjectKey(pair->first.Get());
}
} // namespace Detail

// Each entry is a reference-counted (key, value) pair held by the hash list; the map
// holds a reference to every key and value it stores. Buckets take bits 4 to 11 of
// the key's address. Absence is reported by results (false, a null pointer), never
// by an exception. No lock: the owner keeps a map to one thread.
template <typename K, typename V, unsigned B = 8>
class RCPtrMap
    : public HashedList<RCPtr<LPair<ConstRCPtr<K>, RCPtr<V>, &ToString<ConstRCPtr<K>>>>, std::uintptr_t,
                        &Detail::PairObjectKey<LPair<ConstRCPtr<K>, RCPtr<V>, &ToString<ConstRCPtr<K>>>>, B,
                        &GetBits<B, 4, std::uintptr_t>>
{
public:
    using EntryPair = LPair<ConstRCPtr<K>, RCPtr<V>, &ToString<ConstRCPtr<K>>>;
    using EntryPointer = RCPtr<EntryPair>;

    // The stored pair of the key object, or a null pointer when the key is absent.
    const EntryPointer& FindEntry(const ConstRCPtr<LRefCountedObject>& key)
    {
        EntryPointer* entry = this->Find(ObjectKey(key.Get()), nullptr);
        return entry ? *entry : NullEntry();
    }

    bool RemoveKey(const LRefCountedObject* key) { return this->Remove(ObjectKey(key)); }

    // The value stored for the key, or a null pointer when the key is absent.
    const RCPtr<V>& Get(const ConstRCPtr<K>& key)
    {
        EntryPointer* entry = this->Find(ObjectKey(key.Get()), nullptr);
        return entry ? (*entry)->second : NullValue();
    }

    // true when the key was new, false when the value replaced an earlier one.
    bool Set(const ConstRCPtr<K>& key, const RCPtr<V>& value)
    {
        return this->Add(EntryPointer(new EntryPair(key, value)));
    }

private:
    static const EntryPointer& NullEntry()
    {
        static const EntryPointer null;
        return null;
    }

    static const RCPtr<V>& NullValue()
    {
        static const RCPtr<V> null;
        return null;
    }
};

} // namespace KR
