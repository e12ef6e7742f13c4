#include "kr/notify/NotificationQueue.h"

#include <utility>

namespace KR
{
namespace
{

// Clears a notification's queued mark when a drain is done with it, also when a
// receiver throws out of the send.
class QueuedMarkScope
{
public:
    explicit QueuedMarkScope(LNotification& notification, void (*clear)(LNotification&))
        : mNotification(notification), mClear(clear)
    {
    }
    ~QueuedMarkScope() { mClear(mNotification); }
    QueuedMarkScope(const QueuedMarkScope&) = delete;
    QueuedMarkScope& operator=(const QueuedMarkScope&) = delete;

private:
    LNotification& mNotification;
    void (*mClear)(LNotification&);
};

class ProcessingScope
{
public:
    explicit ProcessingScope(std::atomic<bool>& processing) : mProcessing(processing) {}
    ~ProcessingScope() { mProcessing.store(false, std::memory_order_release); }
    ProcessingScope(const ProcessingScope&) = delete;
    ProcessingScope& operator=(const ProcessingScope&) = delete;

private:
    std::atomic<bool>& mProcessing;
};

} // namespace

// --- LNotificationQueue ---------------------------------------------------------------

LNotificationQueue::LNotificationQueue() : mQueue(&mLock), mIdleNotification(LNotification::Create(kNidIdle))
{
    // The receiver's reference to this queue is one the queue's own member holds
    // (through the receiver), so it counts as internal.
    mPostingReceiver = new LPostingReceiver(this);
    AdjustInternalRefCount(1);
}

LNotificationQueue::~LNotificationQueue()
{
    DiscardNotifications();
}

bool LNotificationQueue::MarkQueued(LNotification& notification)
{
    return !notification.mQueued.exchange(true, std::memory_order_acq_rel);
}

void LNotificationQueue::ClearQueued(LNotification& notification)
{
    notification.mQueued.store(false, std::memory_order_release);
}

Result LNotificationQueue::PostNotification(const RCPtr<LNotification>& notification)
{
    if (!notification || !MarkQueued(*notification))
    {
        return kInvalidArg;
    }
    // Records that newer postings replace; released once the lock is left.
    Array<RCPtr<LNotification>> replaced;
    Result result = kFail;
    {
        const MutexLocker lock(mLock);
        if (mDistributor)
        {
            // Recorded and queued under one lock, so that the record of the last posted
            // notification always names the one queued last.
            mDistributor->RecordPosted(notification, replaced);
            result = mQueue.Enqueue(notification);
        }
    }
    if (result != kOk)
    {
        ClearQueued(*notification);
    }
    return result;
}

Result LNotificationQueue::PostNotificationByName(NotificationName name, RCPtr<LRefCountedObject> data)
{
    const RCPtr<LNotification> notification = LNotification::Create(name, std::move(data));
    return notification ? PostNotification(notification) : kInvalidArg;
}

bool LNotificationQueue::ProcessNotifications(bool sendIdle)
{
    const RCPtr<LNotificationDistributor> distributor = GetDistributor();
    if (distributor && !mProcessing.exchange(true, std::memory_order_acq_rel))
    {
        const ProcessingScope processing(mProcessing);
        // Only what is queued now; postings made by the sends below wait for the next drain.
        for (std::uint32_t pending = mQueue.GetCount(); pending > 0; --pending)
        {
            RCPtr<LNotification> notification;
            if (!mQueue.TryDequeue(notification))
            {
                break; // discarded by a receiver meanwhile
            }
            const QueuedMarkScope mark(*notification, &ClearQueued);
            distributor->SendNotification(notification);
        }
    }
    if (sendIdle && distributor)
    {
        distributor->SendNotification(mIdleNotification);
    }
    return mQueue.GetCount() != 0;
}

bool LNotificationQueue::DiscardNotifications()
{
    for (std::uint32_t pending = mQueue.GetCount(); pending > 0; --pending)
    {
        RCPtr<LNotification> notification;
        if (!mQueue.TryDequeue(notification))
        {
            break;
        }
        ClearQueued(*notification);
    }
    return mQueue.GetCount() != 0;
}

Result LNotificationQueue::SetDistributor(const RCPtr<LNotificationDistributor>& distributor)
{
    const MutexLocker lock(mLock);
    if (mDistributor || !mPostingReceiver)
    {
        return kFail;
    }
    mDistributor = distributor;
    return kOk;
}

Result LNotificationQueue::AttachOwnDistributor(LNotificationDistributor* self)
{
    const MutexLocker lock(mLock);
    if (mDistributor || !mPostingReceiver || self == nullptr)
    {
        return kFail;
    }
    mDistributor = self;
    mDistributorIsOwn = true;
    AdjustInternalRefCount(1);
    return kOk;
}

RCPtr<LNotificationDistributor> LNotificationQueue::GetDistributor() const
{
    const MutexLocker lock(mLock);
    return mDistributor;
}

RCPtr<LNotificationQueue::LPostingReceiver> LNotificationQueue::GetPostingReceiver() const
{
    const MutexLocker lock(mLock);
    return mPostingReceiver;
}

void LNotificationQueue::Shutdown()
{
    RCPtr<LNotificationDistributor> distributor;
    RCPtr<LPostingReceiver> receiver;
    bool ownDistributor = false;
    {
        // Detached first, so that nothing can be posted after the discard below.
        const MutexLocker lock(mLock);
        distributor = std::move(mDistributor);
        ownDistributor = std::exchange(mDistributorIsOwn, false);
        receiver = std::move(mPostingReceiver);
    }
    DiscardNotifications();
    // Each internal count is lowered before the reference it stands for is let go, so
    // that letting it go never finds the books claiming "only internal references".
    RCPtr<LNotificationQueue> receiverHold;
    if (receiver)
    {
        AdjustInternalRefCount(-1);
        receiverHold = receiver->Unbind();
    }
    if (distributor && ownDistributor)
    {
        AdjustInternalRefCount(-1);
    }
    distributor = nullptr;
    receiver = nullptr;
    // receiverHold, possibly the last reference to this queue, goes last.
}

std::uint32_t LNotificationQueue::GetQueuedCount() const
{
    return mQueue.GetCount();
}

Result LNotificationQueue::ReleaseInternalReferences()
{
    Shutdown();
    return LRefCountedObject::ReleaseInternalReferences();
}

// --- LPostingReceiver -----------------------------------------------------------------

Result LNotificationQueue::LPostingReceiver::Receive(const RCPtr<LNotificationDistributor>&,
                                                     const RCPtr<LNotification>& notification)
{
    const RCPtr<LNotificationQueue> queue = GetQueue();
    if (!queue)
    {
        return kFail;
    }
    if (!notification)
    {
        return kInvalidArg;
    }
    return queue->PostNotificationByName(notification->GetID(), notification->GetData());
}

Result LNotificationQueue::LPostingReceiver::UnregisterForNotification(const RCPtr<LNotificationDistributor>&,
                                                                       NotificationName)
{
    return kFail;
}

RCPtr<LNotificationQueue> LNotificationQueue::LPostingReceiver::GetQueue() const
{
    const MutexLocker lock(mLock);
    return mQueue;
}

RCPtr<LNotificationQueue> LNotificationQueue::LPostingReceiver::Unbind()
{
    const MutexLocker lock(mLock);
    return std::move(mQueue);
}

} // namespace KR
