#include "kr/notify/NotificationClient.h"

namespace KR
{

NotificationID LNotificationClient::RegisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                                            NotificationName name, std::uint32_t flags)
{
    if (!sender)
    {
        return 0;
    }
    const NotificationID id = name.Resolve();
    if (id == 0)
    {
        return 0;
    }
    const Result result = sender->AddRegistration(this, id, flags);
    if (Failed(result))
    {
        return 0;
    }
    if (result == kOk)
    {
        // The reference the new registration took is one of ours.
        AdjustInternalRefCount(1);
        ++mRegistrationCount;
    }
    if (mDistributors.IndexOf(sender.Get()) < 0)
    {
        mDistributors.AddItem(sender.Get());
    }
    return id;
}

Result LNotificationClient::UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                                      NotificationName name)
{
    if (mRegistrationCount == 0)
    {
        return kNothingDone;
    }
    if (!sender)
    {
        return kInvalidArg;
    }
    const NotificationID id = name.Resolve();
    if (id == 0)
    {
        return kInvalidArg;
    }
    // Held for the duration, and the registration's reference is uncounted before the
    // distributor lets it go, so that letting it go cannot look like "only internal
    // references left" halfway through the books.
    const RCPtr<LNotificationClient> self(this);
    AdjustInternalRefCount(-1);
    const Result result = sender->RemoveRegistration(this, id);
    if (result != kOk)
    {
        AdjustInternalRefCount(1);
        return result;
    }
    --mRegistrationCount;
    if (!sender->HasClient(this))
    {
        const std::int32_t index = mDistributors.IndexOf(sender.Get());
        if (index >= 0)
        {
            mDistributors.RemoveItems(static_cast<std::uint32_t>(index), 1);
        }
    }
    return kOk;
}

std::int32_t LNotificationClient::UnregisterForAllNotifications()
{
    if (mRegistrationCount < 1)
    {
        return 0;
    }
    const RCPtr<LNotificationClient> self(this);
    AdjustInternalRefCount(-mRegistrationCount);
    std::int32_t removed = 0;
    while (mDistributors.GetCount() > 0)
    {
        // Newest first, and taken off the list first: the removal may destroy it.
        const std::uint32_t last = mDistributors.GetCount() - 1;
        LNotificationDistributor* const distributor = mDistributors[last];
        mDistributors.RemoveItems(last, 1);
        const std::int32_t count = distributor->RemoveAllRegistrations(this);
        if (count > 0)
        {
            removed += count;
        }
    }
    mRegistrationCount = 0;
    return removed;
}

Result LNotificationClient::Receive(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&)
{
    return kOk;
}

Result LNotificationClient::ReleaseInternalReferences()
{
    UnregisterForAllNotifications();
    return GetRefCount() == 1 && GetInternalRefCount() == 0 ? kOk : kFail;
}

} // namespace KR
