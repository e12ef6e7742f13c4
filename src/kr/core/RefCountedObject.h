#pragma once
// The intrusive reference count behind nearly every framework object. Objects are made
// with new, start with a count of 0 and are handed straight to a smart pointer (RCPtr.h),
// which takes the first reference; the last Release deletes the object. Classes derive
// from LRefCountedObject virtually, so an object reached through several bases still has
// exactly one count.

#include "kr/core/Types.h"

#include <atomic>
#include <cstdint>

namespace KR
{

template <typename T>
class ConstRCPtr;
template <typename C, typename O>
class StringT;

// Anything with a text form, as lists and logs show it.
class IStringable
{
public:
    virtual ~IStringable() = default;
    virtual StringT<char16_t, char> ToString() const = 0;
};

class IUndoable : public IStringable
{
public:
    virtual void Undo() = 0;
};

class LRefCountedObject : public IUndoable
{
public:
    LRefCountedObject() = default;
    // A copy is a new object: no holders, no internal references, shareable.
    LRefCountedObject(const LRefCountedObject&) noexcept {}
    LRefCountedObject& operator=(const LRefCountedObject&) noexcept { return *this; }
    ~LRefCountedObject() override = default;

    // The name of the object's class ("class KR::LControl"), see TypeName.h.
    StringT<char16_t, char> ToString() const override;

    // No class of the framework undoes anything; the base refuses.
    void Undo() override;

    // Returns the new count.
    virtual std::int32_t AddRef();

    // Returns the count after the release; at 0 the object has deleted itself. When only
    // the caller's reference and internal references are left, the object is first asked
    // (once) to drop its internal references. An override does its own work, then calls
    // this one.
    virtual std::int32_t Release();

    // Drops the references that objects owned by this one hold back to it. The base owns
    // none: kOk when it is held once and has no internal references, else kFail.
    virtual Result ReleaseInternalReferences();

    // A new, shareable copy of this object; classes that can be copied on write provide it.
    virtual ConstRCPtr<LRefCountedObject> CreateCopy() const;

    // Marks the object as unshareable (true) or shareable again (false). Refused with a
    // runtime error while more than one reference exists.
    void SetUnshareable(bool unshareable);

    // Adds `delta` to the count of references held by objects this one owns.
    void AdjustInternalRefCount(std::int32_t delta)
    {
        mInternalRefCount.fetch_add(delta, std::memory_order_acq_rel);
    }

    std::int32_t GetRefCount() const { return mRefCount.load(std::memory_order_acquire); }
    std::int32_t GetInternalRefCount() const { return mInternalRefCount.load(std::memory_order_acquire); }
    bool IsShareable() const { return mShareable.load(std::memory_order_acquire); }

private:
    std::atomic<std::int32_t> mRefCount{0};
    std::atomic<std::int32_t> mInternalRefCount{0};
    std::atomic<std::int32_t> mReleaseGuard{0};
    std::atomic<bool> mShareable{true};
};

} // namespace KR
