#include "kr/notify/NotificationDistributor.h"

#include "kr/notify/NotificationClient.h"

#include <utility>

namespace KR
{
namespace
{

// Every distributor that holds at least one registration, each with one reference.
// Thousands of them while the main window's controls are made, so the list grows in
// large steps: in steps of 16 it was copied to a new block every 16 additions.
struct ActiveDistributors
{
    Mutex lock;
    RCPtrArray<LNotificationDistributor, 256, 256> list;
};

ActiveDistributors& GetActiveDistributors()
{
    // Never destroyed: a distributor may lose its last registration while the
    // program's static objects are being destroyed.
    static ActiveDistributors* const active = new ActiveDistributors;
    return *active;
}

// Under active.lock. By address, so that no reference is taken or dropped under it.
// From the newest entry: a distributor mostly loses its last registration soon after
// gaining its first (a control's registrations dropped as the tree is put together),
// and the list holds every active distributor of the process, thousands at start.
std::int32_t IndexInActiveList(const ActiveDistributors& active, const LNotificationDistributor* distributor)
{
    for (std::uint32_t i = active.list.GetCount(); i-- > 0;)
    {
        if (active.list.GetAt(i).Get() == distributor)
        {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

} // namespace

// The references that removing registrations lets go of, collected under the locks and
// released after them: a release can run a receiver's or the distributor's own
// teardown, which must find no lock of ours held.
struct LNotificationDistributor::Removal
{
    Array<LNotificationClientPool::Registration> registrations;
    RCPtr<LNotificationDistributor> activeEntry;
    std::int32_t selfReferences = 0;

    // Drops everything; the distributor's own references go last, since the last of
    // them may destroy it.
    static void Release(Removal& removal, LNotificationDistributor* distributor)
    {
        removal.registrations.SetCount(0);
        removal.activeEntry = nullptr;
        const std::int32_t selfReferences = removal.selfReferences;
        for (std::int32_t i = 0; i < selfReferences; ++i)
        {
            distributor->Release();
        }
    }
};

// --- LNotificationDistributor ---------------------------------------------------------

LNotificationDistributor::~LNotificationDistributor() = default;

Result LNotificationDistributor::AddClient(const RCPtr<LNotificationReceiver>& client, NotificationName name,
                                           std::uint32_t flags)
{
    if (!client)
    {
        return kInvalidArg;
    }
    const NotificationID id = name.Resolve();
    if (auto* asClient = dynamic_cast<LNotificationClient*>(client.Get()); asClient && id != 0)
    {
        // Through the client, so that it counts the registration and remembers us.
        const bool known = IsRegistered(asClient, id);
        if (asClient->RegisterForNotification(RCPtr<LNotificationDistributor>(this), id, flags) == 0)
        {
            return kFail;
        }
        return known ? kNothingDone : kOk;
    }
    return AddRegistration(client.Get(), id, flags);
}

Result LNotificationDistributor::AddRegistration(LNotificationReceiver* client, NotificationID id,
                                                 std::uint32_t flags)
{
    if (client == nullptr)
    {
        return kInvalidArg;
    }
    if (id == 0)
    {
        return kNothingDone;
    }
    const MutexLocker lock(mLock);
    LNotificationClientPool* pool = PoolLocked(id);
    if (pool == nullptr)
    {
        RCPtr<LNotificationClientPool> created(new LNotificationClientPool(id));
        mClientPools.AddItem(created);
        pool = created.Get();
    }
    // The pool looks for an earlier registration once, as it adds or updates it.
    const Result added = pool->AddClient(client, flags);
    if (added == kOk)
    {
        // The registration's hold on this distributor, and while any registration
        // exists, the active list's; both count as internal references.
        AddRef();
        AdjustInternalRefCount(1);
        if (++mRegistrationCount == 1)
        {
            ActiveDistributors& active = GetActiveDistributors();
            const MutexLocker activeLock(active.lock);
            const std::uint32_t count = active.list.GetCount();
            active.list.SetCount(count + 1);
            active.list[count] = this;
            AdjustInternalRefCount(1);
        }
    }
    return added;
}

Result LNotificationDistributor::RemoveClient(const RCPtr<LNotificationReceiver>& client,
                                              NotificationName name)
{
    if (!client)
    {
        return kInvalidArg;
    }
    const NotificationID id = name.Resolve();
    if (id == 0)
    {
        return kInvalidArg;
    }
    if (auto* asClient = dynamic_cast<LNotificationClient*>(client.Get()))
    {
        if (!IsRegistered(asClient, id))
        {
            return kNothingDone;
        }
        return asClient->UnregisterForNotification(RCPtr<LNotificationDistributor>(this), id);
    }
    return RemoveRegistration(client.Get(), id);
}

Result LNotificationDistributor::RemoveRegistration(const LNotificationReceiver* client, NotificationID id)
{
    if (client == nullptr || id == 0)
    {
        return kInvalidArg;
    }
    Removal removal;
    {
        const MutexLocker lock(mLock);
        const RCPtr<LNotificationClientPool> pool = FindPoolLocked(id);
        if (!pool)
        {
            return kNothingDone;
        }
        removal.registrations.SetCount(1);
        if (!pool->TakeClient(client, removal.registrations[0]))
        {
            return kNothingDone;
        }
        BookRemovalLocked(removal);
    }
    Removal::Release(removal, this);
    return kOk;
}

Result LNotificationDistributor::RemoveClientFromAllPools(const RCPtr<LNotificationReceiver>& client)
{
    if (!client)
    {
        return kInvalidArg;
    }
    if (auto* asClient = dynamic_cast<LNotificationClient*>(client.Get()))
    {
        // One unregistration per pool, newest pool first, each through the client.
        std::int32_t removed = 0;
        const RCPtr<LNotificationDistributor> self(this);
        std::uint32_t pools = 0;
        {
            const MutexLocker lock(mLock);
            pools = mClientPools.GetCount();
        }
        // Pools are only ever appended, so the indices hold while the client leaves.
        for (std::uint32_t i = pools; i-- > 0;)
        {
            const RCPtr<LNotificationClientPool> pool = FindPoolByIndex(i);
            if (pool && pool->FindClient(asClient) >= 0 &&
                asClient->UnregisterForNotification(self, pool->GetID()) == kOk)
            {
                ++removed;
            }
        }
        return removed;
    }
    return RemoveAllRegistrations(client.Get());
}

std::int32_t LNotificationDistributor::RemoveAllRegistrations(const LNotificationReceiver* client)
{
    if (client == nullptr)
    {
        return kInvalidArg;
    }
    Removal removal;
    std::int32_t removed = 0;
    {
        const MutexLocker lock(mLock);
        for (std::uint32_t i = mClientPools.GetCount(); i-- > 0;)
        {
            LNotificationClientPool::Registration taken;
            if (mClientPools[i]->TakeClient(client, taken))
            {
                // Moved, not copied: a copy's release would happen under the locks.
                const std::uint32_t count = removal.registrations.GetCount();
                removal.registrations.SetCount(count + 1);
                removal.registrations[count] = std::move(taken);
                BookRemovalLocked(removal);
                ++removed;
            }
        }
    }
    Removal::Release(removal, this);
    return removed;
}

void LNotificationDistributor::BookRemovalLocked(Removal& removal)
{
    if (--mRegistrationCount == 0)
    {
        ActiveDistributors& active = GetActiveDistributors();
        const MutexLocker activeLock(active.lock);
        const std::int32_t index = IndexInActiveList(active, this);
        if (index >= 0)
        {
            active.list.RemoveItem(static_cast<std::uint32_t>(index), removal.activeEntry);
            AdjustInternalRefCount(-1);
        }
    }
    AdjustInternalRefCount(-1);
    ++removal.selfReferences;
}

bool LNotificationDistributor::HasClient(const LNotificationReceiver* client) const
{
    if (client == nullptr)
    {
        return false;
    }
    const MutexLocker lock(mLock);
    for (std::uint32_t i = mClientPools.GetCount(); i-- > 0;)
    {
        if (mClientPools[i]->FindClient(client) >= 0)
        {
            return true;
        }
    }
    return false;
}

RCPtr<LNotificationDistributor::LNotificationClientPool>
LNotificationDistributor::FindClientPool(NotificationID id) const
{
    const MutexLocker lock(mLock);
    return FindPoolLocked(id);
}

RCPtr<LNotificationDistributor::LNotificationClientPool>
LNotificationDistributor::FindPoolLocked(NotificationID id) const
{
    return RCPtr<LNotificationClientPool>(PoolLocked(id));
}

LNotificationDistributor::LNotificationClientPool*
LNotificationDistributor::PoolLocked(NotificationID id) const
{
    if (id == 0)
    {
        return nullptr;
    }
    for (std::uint32_t i = mClientPools.GetCount(); i-- > 0;)
    {
        LNotificationClientPool* const pool = mClientPools.GetAt(i).Get();
        if (pool->GetID() == id)
        {
            return pool;
        }
    }
    return nullptr;
}

bool LNotificationDistributor::IsRegistered(const LNotificationReceiver* client, NotificationID id) const
{
    const RCPtr<LNotificationClientPool> pool = FindClientPool(id);
    return pool && pool->FindClient(client) >= 0;
}

RCPtr<LNotificationDistributor::LNotificationClientPool>
LNotificationDistributor::FindPoolByIndex(std::uint32_t index) const
{
    const MutexLocker lock(mLock);
    return mClientPools.GetAt(index);
}

Result LNotificationDistributor::SendNotification(const RCPtr<LNotification>& notification)
{
    if (!notification)
    {
        return kInvalidArg;
    }
    const RCPtr<LNotificationClientPool> pool = FindClientPool(notification->GetID());
    if (!pool)
    {
        return kNothingDone;
    }
    return pool->SendNotification(RCPtr<LNotificationDistributor>(this), notification);
}

Result LNotificationDistributor::SendNotificationByName(NotificationName name, RCPtr<LRefCountedObject> data)
{
    const RCPtr<LNotification> notification = LNotification::Create(name, std::move(data));
    return notification ? SendNotification(notification) : kInvalidArg;
}

Result LNotificationDistributor::GetClientFlags(const LNotificationReceiver* client, NotificationName name,
                                                std::uint32_t& flags) const
{
    const RCPtr<LNotificationClientPool> pool = FindClientPool(name.Resolve());
    return pool && pool->GetFlags(client, flags) ? kOk : kFail;
}

Result LNotificationDistributor::RemoveAllClients()
{
    struct Entry
    {
        RCPtr<LNotificationReceiver> receiver;
        NotificationID id = 0;
    };
    // The registrations as they are now, pool by pool from the newest, each newest
    // first; the receivers are asked outside the locks, since they come back to
    // remove themselves.
    Array<Entry> entries;
    {
        const MutexLocker lock(mLock);
        for (std::uint32_t i = mClientPools.GetCount(); i-- > 0;)
        {
            const LNotificationClientPool& pool = *mClientPools[i];
            for (std::uint32_t j = pool.GetClientCount(); j-- > 0;)
            {
                // Filled in place: a temporary's release here, under the lock, could be
                // the one that sets a client's own teardown going.
                const std::uint32_t count = entries.GetCount();
                entries.SetCount(count + 1);
                entries[count].receiver = pool.GetClient(j);
                entries[count].id = pool.GetID();
            }
        }
    }
    const RCPtr<LNotificationDistributor> self(this);
    for (std::uint32_t i = 0; i < entries.GetCount(); ++i)
    {
        if (entries[i].receiver)
        {
            entries[i].receiver->UnregisterForNotification(self, entries[i].id);
        }
    }
    return kOk;
}

std::int32_t LNotificationDistributor::GetRegistrationCount() const
{
    const MutexLocker lock(mLock);
    return mRegistrationCount;
}

bool LNotificationDistributor::IsActive() const
{
    ActiveDistributors& active = GetActiveDistributors();
    const MutexLocker activeLock(active.lock);
    return IndexInActiveList(active, this) >= 0;
}

void LNotificationDistributor::RecordPosted(const RCPtr<LNotification>& notification,
                                            Array<RCPtr<LNotification>>& replaced) const
{
    if (const RCPtr<LNotificationClientPool> pool = FindClientPool(notification->GetID()))
    {
        pool->RecordPosted(notification, replaced);
    }
}

} // namespace KR
