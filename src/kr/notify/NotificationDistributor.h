#pragma once
// The sending side of notifications. A distributor keeps, for each notification id, a
// pool of registered receivers, and sends a notification to them at once, on the
// sending thread, the newest registration first.
//
//     RCPtr<LNotificationDistributor> button = ...;
//     listener->RegisterForNotification(button, u"NID_VALUE_CHANGE");   // NotificationClient.h
//     button->SendNotificationByName(u"NID_VALUE_CHANGE", valueParam);  // listener->Receive runs now
//
// Registrations:
// - One registration per (receiver, id). Registering again only replaces the flags; the
//   registration keeps its place.
// - Flag bit 0 (kOnlyLastPosted): the registration gets only posted notifications, and
//   of those only the one most recently posted for it before the queue is drained
//   (NotificationQueue.h). A notification sent directly, and a posted one that a newer
//   posting replaced, skip it. The other bits are stored and mean nothing here.
// - A registration holds a reference to its receiver: a distributor keeps its
//   receivers alive. It also makes the distributor hold a reference to itself, and
//   while it has any registration the distributor sits in the process-wide active
//   distributor list: a distributor lives as long as anything is registered with it,
//   so the clients that remember it (by plain pointer) never see it vanish.
// - Result codes: 0 done (for AddClient: a new registration); 1 nothing done (nobody
//   listens, already registered, not registered, no id); kInvalidArg for a null
//   argument; kFail for a failed query.
//
// Sending:
// - SendNotification walks the pool of the notification's id from the newest
//   registration to the oldest and calls each receiver's Receive. The walk holds a
//   reference to the receiver during the call, and to the distributor as sender.
// - A receiver may register and unregister anything during Receive, itself included:
//   a registration removed below the walk's position moves the walk down with it, one
//   removed at or above it changes nothing for the rest of the walk, and registrations
//   added during the walk are not called by it. Sends may nest (a receiver sending
//   again, even the same notification through the same distributor): every walk keeps
//   its own position, so no walk skips or repeats a receiver.
//
// Threads: registration, removal and sending may run on different threads; the
// distributor's lists are guarded by locks that are never held while a receiver runs,
// while a reference is released, or while anything outside this class is called.
// Receivers run on the sending thread (the MIDI port object sends on its worker
// thread). Queues record their postings here from any thread (NotificationQueue.h).
//
// Lifetime: create distributors with new and hold them by RCPtr; a send takes a
// reference to its distributor, which an object on the stack does not survive.

#include "kr/core/Array.h"
#include "kr/core/RCPtr.h"
#include "kr/core/RCPtrArray.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/Types.h"
#include "kr/notify/Notification.h"
#include "kr/notify/NotificationID.h"
#include "kr/notify/NotificationReceiver.h"
#include "kr/thread/Mutex.h"

#include <cstdint>

namespace KR
{

class LNotificationClient;
class LNotificationQueue;

class LNotificationDistributor : public virtual LRefCountedObject
{
public:
    class LNotificationClientPool;

    // Registration flag: deliver only the notification most recently posted for the
    // registration (the status bar shows only the newest of several status texts).
    static constexpr std::uint32_t kOnlyLastPosted = 1;

    LNotificationDistributor() = default;
    ~LNotificationDistributor() override;
    LNotificationDistributor(const LNotificationDistributor&) = delete;
    LNotificationDistributor& operator=(const LNotificationDistributor&) = delete;

    // Registers `client` for `name` with `flags`: 0 for a new registration, 1 when it
    // was registered already (its flags are replaced) or the name gives no id,
    // kInvalidArg for a null client. Clients normally register through their own
    // RegisterForNotification, which keeps their side of the books.
    Result AddClient(const RCPtr<LNotificationReceiver>& client, NotificationName name,
                     std::uint32_t flags = 0);

    // Removes the registration of `client` for `name`: 0, 1 when there is none,
    // kInvalidArg for a null client or a name without id. A LNotificationClient is
    // asked to unregister itself (its UnregisterForNotification), so that its own
    // count of registrations stays right.
    Result RemoveClient(const RCPtr<LNotificationReceiver>& client, NotificationName name);

    // Removes every registration of `client`; returns how many, or kInvalidArg for a
    // null client. A LNotificationClient is asked to unregister itself, as above.
    Result RemoveClientFromAllPools(const RCPtr<LNotificationReceiver>& client);

    // Whether `client` holds any registration here.
    bool HasClient(const LNotificationReceiver* client) const;

    // The pool of `id`, or null when nothing was ever registered for it.
    RCPtr<LNotificationClientPool> FindClientPool(NotificationID id) const;

    // Sends `notification` to the receivers registered for its id, synchronously:
    // 0 when a pool with registrations was walked (also when each one was skipped by
    // its flags), 1 when nobody is registered, kInvalidArg for null.
    Result SendNotification(const RCPtr<LNotification>& notification);

    // Creates the notification (LNotification::Create) and sends it; kInvalidArg when
    // the name gives no notification.
    Result SendNotificationByName(NotificationName name, RCPtr<LRefCountedObject> data = nullptr);

    // The flags of the registration of `client` for `name`: 0 with `flags` set, or
    // kFail when there is no such registration or no id.
    Result GetClientFlags(const LNotificationReceiver* client, NotificationName name,
                          std::uint32_t& flags) const;

    // Asks every registered receiver, pool by pool and newest first, to unregister
    // itself from this distributor (UnregisterForNotification). A queue's posting
    // receiver declines and stays registered. Returns 0.
    Result RemoveAllClients();

    // Registrations in all pools together.
    std::int32_t GetRegistrationCount() const;

    // Whether this distributor is in the process-wide active distributor list, which
    // holds exactly the distributors with at least one registration.
    bool IsActive() const;

private:
    friend class LNotificationClient;
    friend class LNotificationQueue;

    struct Removal;

    // The bookkeeping behind RemoveClient and RemoveClientFromAllPools, without asking
    // the client; the client side calls these.
    Result RemoveRegistration(const LNotificationReceiver* client, NotificationID id);
    std::int32_t RemoveAllRegistrations(const LNotificationReceiver* client);
    // AddClient for a receiver that may not be held by any RCPtr yet (a client that
    // registers in its constructor): the registration takes the first reference.
    Result AddRegistration(LNotificationReceiver* client, NotificationID id, std::uint32_t flags);

    // Called by a queue, under its lock, as it posts `notification`: records it in the
    // registrations of its id that want only the last posted one. Records it replaces
    // go into `replaced`, for the caller to release once its locks are left.
    void RecordPosted(const RCPtr<LNotification>& notification, Array<RCPtr<LNotification>>& replaced) const;

    bool IsRegistered(const LNotificationReceiver* client, NotificationID id) const;
    RCPtr<LNotificationClientPool> FindPoolByIndex(std::uint32_t index) const;

    // Under mLock. PoolLocked does not take a reference: the pools list holds one.
    RCPtr<LNotificationClientPool> FindPoolLocked(NotificationID id) const;
    LNotificationClientPool* PoolLocked(NotificationID id) const;
    void BookRemovalLocked(Removal& removal);

    mutable Mutex mLock;
    RCPtrArray<LNotificationClientPool, 4, 4> mClientPools;
    std::int32_t mRegistrationCount = 0;
};

// The registrations of one notification id at one distributor, oldest first. Reached
// through FindClientPool; registering and removing go through the distributor, which
// keeps the counts and references that belong with each registration.
class LNotificationDistributor::LNotificationClientPool : public LRefCountedObject
{
public:
    explicit LNotificationClientPool(NotificationID id) : mID(id) {}

    NotificationID GetID() const { return mID; }
    // The OR of the flags of every registration made so far (not lowered by removals).
    std::uint32_t GetCombinedFlags() const;
    std::uint32_t GetClientCount() const;
    // The receiver of the registration at `index` (0 = oldest), or null past the end.
    RCPtr<LNotificationReceiver> GetClient(std::uint32_t index) const;
    // The index of the registration of `client`, or -1.
    std::int32_t FindClient(const LNotificationReceiver* client) const;

    // Walks the registrations newest first, as LNotificationDistributor::
    // SendNotification describes, with `sender` as the sender. 1 when the pool is
    // empty, else 0.
    Result SendNotification(const RCPtr<LNotificationDistributor>& sender,
                            const RCPtr<LNotification>& notification);
    // Delivers to the one registration at `index`, with the flag rule of a send.
    // 0 when delivered, 1 when skipped by its flags, kInvalidArg past the end.
    Result SendNotificationToClient(const RCPtr<LNotificationDistributor>& sender, std::uint32_t index,
                                    const RCPtr<LNotification>& notification);

private:
    friend class LNotificationDistributor;

    struct Registration
    {
        RCPtr<LNotificationReceiver> client;
        // With kOnlyLastPosted: the notification posted last for it and not yet sent.
        RCPtr<LNotification> lastPosted;
        std::uint32_t flags = 0;
    };

    // The position of one send in progress. Walks live on their senders' stacks and are
    // linked here, so that a removal can move each of them.
    struct Walk
    {
        std::int32_t index = -1;
        Walk* next = nullptr;
    };
    class WalkScope;

    // Under mLock: the receiver to call for the registration at `index`, or null when
    // its flags skip this notification. A delivered last-posted record moves to `record`.
    RCPtr<LNotificationReceiver> TakeDeliveryLocked(std::uint32_t index, const LNotification* notification,
                                                    RCPtr<LNotification>& record);

    // Used by the distributor, under its own lock. kOk for a new registration,
    // kNothingDone when `client` was registered already (only its flags change).
    Result AddClient(LNotificationReceiver* client, std::uint32_t flags);
    // Moves the registration of `client` out into `out`; false when there is none.
    bool TakeClient(const LNotificationReceiver* client, Registration& out);
    bool GetFlags(const LNotificationReceiver* client, std::uint32_t& flags) const;
    void RecordPosted(const RCPtr<LNotification>& notification, Array<RCPtr<LNotification>>& replaced);

    std::int32_t FindClientLocked(const LNotificationReceiver* client) const;

    mutable Mutex mLock;
    const NotificationID mID;
    std::uint32_t mCombinedFlags = 0;
    Array<Registration> mClients;
    Walk* mWalks = nullptr;
};

} // namespace KR
