#pragma once
// The message object passed between the parts of the program: a notification id
// (NotificationID.h) and an optional payload, any reference-counted object (a key or
// mouse parameter, a string wrapper, a list of parameter values).
//
//     RCPtr<LNotification> n = LNotification::Create(u"NID_VALUE_CHANGE", valueParam);
//     distributor->SendNotification(n);          // synchronous (NotificationDistributor.h)
//     queue->PostNotification(n);                // later, on the UI thread (NotificationQueue.h)
//
//     // in a receiver:
//     if (RCPtr<LValueParam> value = n->GetDataAs<LValueParam>()) ...
//
// Notifications are made only by Create. While pooling is on (the application switches
// it on at start-up and off when it shuts the notification centers down), a notification
// whose last reference goes is not destroyed but kept on a process-wide free list,
// and the next Create reuses the most recently released one. A recycled notification
// drops its payload at once, so payloads never live on in the free list, and carries
// nothing of its former life into its next one.

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/notify/NotificationID.h"

#include <atomic>
#include <cstdint>

namespace KR
{

class LNotificationQueue;

class LNotification : public virtual LRefCountedObject
{
public:
    // A notification named `name` (a text or an id) carrying `data` (may be null).
    // Null when the name gives id 0. Safe on any thread.
    static RCPtr<LNotification> Create(NotificationName name, RCPtr<LRefCountedObject> data = nullptr);

    // Switches the reuse of released notifications on or off (off at start). Switching
    // it off destroys every notification on the free list. Safe on any thread; the
    // free list is emptied under the notification lock.
    static void SetPoolingEnabled(bool enabled);
    static bool IsPoolingEnabled();
    // How many released notifications wait on the free list.
    static std::uint32_t GetPooledCount();

    NotificationID GetID() const { return mID; }
    const RCPtr<LRefCountedObject>& GetData() const { return mData; }

    // The payload as a T, or null when there is none or it is not a T.
    template <typename T>
    RCPtr<T> GetDataAs() const
    {
        return RCPtr<T>(mData);
    }

    // True from a successful posting until a drain has sent it or a queue has discarded
    // it; a notification waits in at most one queue at a time.
    bool IsQueued() const { return mQueued.load(std::memory_order_acquire); }

    // The last release either destroys the notification or, with pooling on, puts it on
    // the free list.
    std::int32_t Release() override;

private:
    friend class LNotificationQueue;

    LNotification() = default;
    ~LNotification() override = default;

    // Clears the notification for its next life and, with pooling on, keeps it.
    void Recycle();

    NotificationID mID = 0;
    RCPtr<LRefCountedObject> mData;
    std::atomic<bool> mQueued{false};
    // Raised while Release hands the object to the free list, whose own reference
    // comes and goes through Release too.
    bool mRecycling = false;
};

} // namespace KR
