#include "kr/notify/NotificationDistributor.h"

#include <algorithm>
#include <utility>

namespace KR
{

using Pool = LNotificationDistributor::LNotificationClientPool;

// Keeps a walk linked into its pool for the length of one send. The send links and
// unlinks it under locks it takes anyway; the destructor only steps in when a receiver
// throws, since a walk left linked would be a dangling stack address that the next
// removal writes to.
class Pool::WalkScope
{
public:
    WalkScope(Pool& pool, Walk& walk) : mPool(pool), mWalk(walk) {}
    ~WalkScope()
    {
        if (mLinked)
        {
            const MutexLocker lock(mPool.mLock);
            UnlinkLocked();
        }
    }
    WalkScope(const WalkScope&) = delete;
    WalkScope& operator=(const WalkScope&) = delete;

    void LinkLocked()
    {
        mWalk.next = mPool.mWalks;
        mPool.mWalks = &mWalk;
        mLinked = true;
    }

    void UnlinkLocked()
    {
        for (Walk** link = &mPool.mWalks; *link != nullptr; link = &(*link)->next)
        {
            if (*link == &mWalk)
            {
                *link = mWalk.next;
                break;
            }
        }
        mLinked = false;
    }

private:
    Pool& mPool;
    Walk& mWalk;
    bool mLinked = false;
};

std::uint32_t Pool::GetCombinedFlags() const
{
    const MutexLocker lock(mLock);
    return mCombinedFlags;
}

std::uint32_t Pool::GetClientCount() const
{
    const MutexLocker lock(mLock);
    return mClients.GetCount();
}

RCPtr<LNotificationReceiver> Pool::GetClient(std::uint32_t index) const
{
    const MutexLocker lock(mLock);
    return index < mClients.GetCount() ? mClients[index].client : nullptr;
}

std::int32_t Pool::FindClient(const LNotificationReceiver* client) const
{
    const MutexLocker lock(mLock);
    return FindClientLocked(client);
}

std::int32_t Pool::FindClientLocked(const LNotificationReceiver* client) const
{
    for (std::uint32_t i = mClients.GetCount(); i-- > 0;)
    {
        if (mClients[i].client.Get() == client)
        {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

Result Pool::SendNotification(const RCPtr<LNotificationDistributor>& sender,
                              const RCPtr<LNotification>& notification)
{
    if (!notification)
    {
        return kInvalidArg;
    }
    Walk walk;
    WalkScope scope(*this, walk);
    for (bool first = true;; first = false)
    {
        // Declared before the lock, so both are released after it is left.
        RCPtr<LNotificationReceiver> receiver;
        RCPtr<LNotification> record;
        {
            const MutexLocker lock(mLock);
            const auto count = static_cast<std::int32_t>(mClients.GetCount());
            if (first)
            {
                if (count == 0)
                {
                    return kNothingDone;
                }
                // The walk starts one above the newest registration and steps down
                // before each delivery; removals meanwhile move it (TakeClient).
                walk.index = count;
                scope.LinkLocked();
            }
            walk.index = std::min(walk.index - 1, count - 1);
            if (walk.index < 0)
            {
                scope.UnlinkLocked();
                break;
            }
            receiver = TakeDeliveryLocked(static_cast<std::uint32_t>(walk.index), notification.Get(), record);
        }
        if (receiver)
        {
            receiver->Receive(sender, notification);
        }
    }
    return kOk;
}

Result Pool::SendNotificationToClient(const RCPtr<LNotificationDistributor>& sender, std::uint32_t index,
                                      const RCPtr<LNotification>& notification)
{
    if (!notification)
    {
        return kInvalidArg;
    }
    RCPtr<LNotificationReceiver> receiver;
    RCPtr<LNotification> record;
    {
        const MutexLocker lock(mLock);
        if (index >= mClients.GetCount())
        {
            return kInvalidArg;
        }
        receiver = TakeDeliveryLocked(index, notification.Get(), record);
    }
    if (!receiver)
    {
        return kNothingDone;
    }
    receiver->Receive(sender, notification);
    return kOk;
}

RCPtr<LNotificationReceiver> Pool::TakeDeliveryLocked(std::uint32_t index, const LNotification* notification,
                                                      RCPtr<LNotification>& record)
{
    Registration& registration = mClients[index];
    if ((registration.flags & LNotificationDistributor::kOnlyLastPosted) != 0)
    {
        if (registration.lastPosted.Get() != notification)
        {
            return nullptr;
        }
        record = std::move(registration.lastPosted);
    }
    return registration.client;
}

Result Pool::AddClient(LNotificationReceiver* client, std::uint32_t flags)
{
    if (client == nullptr)
    {
        return kInvalidArg;
    }
    const MutexLocker lock(mLock);
    const std::int32_t index = FindClientLocked(client);
    if (index >= 0)
    {
        Registration& registration = mClients[static_cast<std::uint32_t>(index)];
        if (registration.flags != flags)
        {
            // A re-registration keeps its place; the combined flags follow the change.
            registration.flags = flags;
            std::uint32_t combined = 0;
            for (std::uint32_t i = 0; i < mClients.GetCount(); ++i)
            {
                combined |= mClients[i].flags;
            }
            mCombinedFlags = combined;
        }
        return kNothingDone;
    }
    const std::uint32_t count = mClients.GetCount();
    mClients.SetCount(count + 1);
    mClients[count].client = client;
    mClients[count].flags = flags;
    mCombinedFlags |= flags;
    return kOk;
}

bool Pool::TakeClient(const LNotificationReceiver* client, Registration& out)
{
    const MutexLocker lock(mLock);
    const std::int32_t index = FindClientLocked(client);
    if (index < 0)
    {
        return false;
    }
    out = std::move(mClients[static_cast<std::uint32_t>(index)]);
    mClients.RemoveItems(static_cast<std::uint32_t>(index), 1);
    // Every send in progress above the removed registration moves down with the
    // registrations above it, so that it neither skips nor repeats one.
    for (Walk* walk = mWalks; walk != nullptr; walk = walk->next)
    {
        if (index < walk->index)
        {
            --walk->index;
        }
    }
    return true;
}

bool Pool::GetFlags(const LNotificationReceiver* client, std::uint32_t& flags) const
{
    const MutexLocker lock(mLock);
    const std::int32_t index = FindClientLocked(client);
    if (index < 0)
    {
        return false;
    }
    flags = mClients[static_cast<std::uint32_t>(index)].flags;
    return true;
}

void Pool::RecordPosted(const RCPtr<LNotification>& notification, Array<RCPtr<LNotification>>& replaced)
{
    const MutexLocker lock(mLock);
    if ((mCombinedFlags & LNotificationDistributor::kOnlyLastPosted) == 0)
    {
        return;
    }
    for (std::uint32_t i = mClients.GetCount(); i-- > 0;)
    {
        Registration& registration = mClients[i];
        if ((registration.flags & LNotificationDistributor::kOnlyLastPosted) == 0)
        {
            continue;
        }
        if (registration.lastPosted)
        {
            const std::uint32_t count = replaced.GetCount();
            replaced.SetCount(count + 1);
            replaced[count] = std::move(registration.lastPosted);
        }
        registration.lastPosted = notification;
    }
}

} // namespace KR
