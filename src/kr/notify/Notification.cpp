#include "kr/notify/Notification.h"

#include "kr/core/RCPtrArray.h"

#include <utility>

namespace KR
{
namespace
{

// Read without the lock on every creation and release; written under it.
constinit std::atomic<bool> gPoolingEnabled{false};

// Released notifications, newest last; used under the notification lock. It grows in
// steps, so that keeping and reusing a notification does not itself allocate each time.
using FreeList = RCPtrArray<LNotification, 32, 32>;

FreeList& GetFreeList()
{
    // Never destroyed, like the name table: a notification may be released while the
    // program's static objects are being destroyed. What is left on it at exit holds
    // no payload.
    static FreeList* const list = new FreeList;
    return *list;
}

} // namespace

RCPtr<LNotification> LNotification::Create(NotificationName name, RCPtr<LRefCountedObject> data)
{
    NotificationID id = 0;
    RCPtr<LNotification> notification;
    if (gPoolingEnabled.load(std::memory_order_acquire))
    {
        const MutexLocker lock(GetNotificationLock());
        id = name.Resolve();
        if (id == 0)
        {
            return nullptr;
        }
        GetFreeList().RemoveLast(notification);
    }
    else
    {
        id = name.Resolve();
        if (id == 0)
        {
            return nullptr;
        }
    }
    if (!notification)
    {
        notification = new LNotification;
    }
    // Nobody else can see a notification taken off the free list, so it is set up
    // outside the lock.
    notification->mID = id;
    notification->mData = std::move(data);
    return notification;
}

void LNotification::SetPoolingEnabled(bool enabled)
{
    FreeList released;
    {
        const MutexLocker lock(GetNotificationLock());
        gPoolingEnabled.store(enabled, std::memory_order_release);
        if (!enabled)
        {
            released = std::move(GetFreeList());
        }
    }
    // `released` is destroyed here, outside the lock; with pooling off each of its
    // notifications is destroyed rather than kept again.
}

bool LNotification::IsPoolingEnabled()
{
    return gPoolingEnabled.load(std::memory_order_acquire);
}

std::uint32_t LNotification::GetPooledCount()
{
    const MutexLocker lock(GetNotificationLock());
    return GetFreeList().GetCount();
}

std::int32_t LNotification::Release()
{
    // A count of 1 means the caller holds the only reference, so no other thread can
    // be looking at the object while it is cleared.
    if (GetRefCount() == 1 && !mRecycling)
    {
        mRecycling = true;
        Recycle();
        mRecycling = false;
    }
    return LRefCountedObject::Release();
}

void LNotification::Recycle()
{
    // Everything of the old life goes, whatever state the notification was left in: a
    // reused notification must never come back with an old payload or a stale queued
    // mark, which would make every queue refuse it.
    mData = nullptr;
    mQueued.store(false, std::memory_order_release);
    mID = 0;
    if (!gPoolingEnabled.load(std::memory_order_acquire))
    {
        return;
    }
    RCPtr<LNotification> self(this);
    const MutexLocker lock(GetNotificationLock());
    // Pooling may have been switched off while this thread waited for the lock.
    FreeList& list = GetFreeList();
    const std::uint32_t count = list.GetCount();
    if (gPoolingEnabled.load(std::memory_order_relaxed) &&
        list.SetCount(count + 1) == static_cast<Result>(count + 1))
    {
        list[count] = std::move(self);
    }
}

} // namespace KR
