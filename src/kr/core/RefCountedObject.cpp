#include "kr/core/RefCountedObject.h"

#include "kr/core/Exception.h"
#include "kr/core/RCPtr.h"
#include "kr/core/StringT.h"
#include "kr/core/TypeName.h"

#include <typeinfo>

namespace KR
{
namespace
{

constexpr char kUndoText[] =
    "Logic Error : Undo() not implemented for RefCountedObject : "
    "KR::LRefCountedObject::Undo : krframework\\objectbase\\RefCountedObject : Line 155";
constexpr char kCreateCopyDetail[] = "CreateCopy() not implemented for RefCountedObject";
constexpr char kCreateCopySite[] =
    " : KR::LRefCountedObject::CreateCopy : krframework\\objectbase\\RefCountedObject : Line 228";
constexpr char kSetUnshareableText[] =
    "Runtime Error : KR::LRefCountedObject::SetUnshareable : ObjectBase\\RefCountedObject : Line 29";

// Keeps the release guard raised for exactly as long as ReleaseInternalReferences runs,
// even when it throws.
class ReleaseGuardScope
{
public:
    explicit ReleaseGuardScope(std::atomic<std::int32_t>& guard) : mGuard(guard)
    {
        mGuard.fetch_add(1, std::memory_order_acq_rel);
    }
    ~ReleaseGuardScope() { mGuard.fetch_sub(1, std::memory_order_acq_rel); }
    ReleaseGuardScope(const ReleaseGuardScope&) = delete;
    ReleaseGuardScope& operator=(const ReleaseGuardScope&) = delete;

private:
    std::atomic<std::int32_t>& mGuard;
};

} // namespace

String LRefCountedObject::ToString() const
{
    return String(TypeName(typeid(*this)).c_str());
}

void LRefCountedObject::Undo()
{
    Throw<std::logic_error>(kUndoText);
}

std::int32_t LRefCountedObject::AddRef()
{
    return mRefCount.fetch_add(1, std::memory_order_relaxed) + 1;
}

std::int32_t LRefCountedObject::Release()
{
    const std::int32_t references = mRefCount.load(std::memory_order_acquire);
    const std::int32_t internal = mInternalRefCount.load(std::memory_order_acquire);
    // Only the reference being released comes from outside: let the object break its cycles
    // while that reference still keeps it alive. The releases this causes on the object
    // itself find the guard raised and do not ask again.
    if (internal > 0 && references == internal + 1 && mReleaseGuard.load(std::memory_order_acquire) == 0)
    {
        ReleaseGuardScope guard(mReleaseGuard);
        ReleaseInternalReferences();
    }
    const std::int32_t remaining = mRefCount.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (remaining == 0)
    {
        delete this;
    }
    return remaining;
}

Result LRefCountedObject::ReleaseInternalReferences()
{
    return GetInternalRefCount() == 0 && GetRefCount() == 1 ? kOk : kFail;
}

ConstRCPtr<LRefCountedObject> LRefCountedObject::CreateCopy() const
{
    Throw<std::logic_error>(std::string("Logic Error : ") + kCreateCopyDetail + kCreateCopySite);
}

void LRefCountedObject::SetUnshareable(bool unshareable)
{
    if (unshareable && GetRefCount() > 1)
    {
        Throw<std::runtime_error>(kSetUnshareableText);
    }
    mShareable.store(!unshareable, std::memory_order_release);
}

} // namespace KR
