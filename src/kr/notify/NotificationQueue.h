#pragma once
// The asynchronous half of notifications. Any thread posts into a queue; the UI thread
// drains it at idle and sends each queued notification through the queue's
// distributor, on the UI thread.
//
//     // a worker thread:
//     center->PostNotificationByName(u"NID_DEVICE_CONNECTION_STATE_CHANGE", state);
//     // the UI thread, at idle (the application does this for every center):
//     center->ProcessNotifications(true);
//
// A posting receiver turns sends into postings: registered with a distributor that
// sends on another thread, it posts a copy (same id, same payload) of each
// notification it gets into its queue, so that the queue's distributor delivers it on
// the UI thread:
//
//     midiComm->AddClient(center->GetPostingReceiver(), u"NID_MIDI_DATA_CAPTURED");
//
// Rules:
// - A notification waits in at most one queue at a time: posting one that is queued
//   already gives kInvalidArg. Posting before a distributor is attached, or after
//   Shutdown, gives kFail. Nothing is queued in either case.
// - The ring never drops: it holds 255 before it first grows, then grows by one slot
//   per posting that finds it full.
// - A drain sends exactly the notifications queued when it began, in posting order.
//   What receivers post meanwhile waits for the next drain, so a receiver that keeps
//   posting cannot hold the UI thread in one drain. A drain started from inside a
//   drain of the same queue sends nothing.
// - With send idle, a drain then sends "NID_IDLE" through the distributor.
// - Registrations with LNotificationDistributor::kOnlyLastPosted get only the newest
//   of the notifications posted for them before a drain.
//
// Threads: posting is safe from any thread. Draining, discarding and Shutdown belong
// to the UI thread. The queue's lock guards its ring, its distributor and its
// last-posted records, and is never held while a notification is sent.
//
// Lifetime: the posting receiver holds the queue, counted as an internal reference.
// When nothing else holds the queue, it shuts itself down (ReleaseInternalReferences),
// which unbinds the receiver and lets the queue go. Create queues with new and hold
// them by RCPtr.

#include "kr/core/Array.h"
#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/Types.h"
#include "kr/notify/Notification.h"
#include "kr/notify/NotificationDistributor.h"
#include "kr/notify/NotificationID.h"
#include "kr/notify/NotificationReceiver.h"
#include "kr/thread/Mutex.h"
#include "kr/thread/RCPtrQueue.h"

#include <atomic>
#include <cstdint>

namespace KR
{

// "NID_IDLE": sent by a queue's distributor at the end of an idle drain that asks for
// it (the application's first idle pass after a message), on the UI thread; no payload.
inline constexpr const char16_t* kNidIdle = u"NID_IDLE";

class LNotificationQueue : public virtual LRefCountedObject
{
public:
    class LPostingReceiver;

    // The ring starts with this many slots.
    static constexpr std::uint32_t kInitialSlots = 256;

    LNotificationQueue();
    ~LNotificationQueue() override;
    LNotificationQueue(const LNotificationQueue&) = delete;
    LNotificationQueue& operator=(const LNotificationQueue&) = delete;

    // Queues `notification` for the next drain: 0; kInvalidArg when it is null or
    // queued already; kFail without a distributor, after Shutdown, or when memory for
    // the ring runs out.
    Result PostNotification(const RCPtr<LNotification>& notification);

    // Creates the notification (LNotification::Create) and posts it; kInvalidArg when
    // the name gives no notification.
    Result PostNotificationByName(NotificationName name, RCPtr<LRefCountedObject> data = nullptr);

    // Sends what was queued when the drain began through the distributor, clearing
    // each one's queued mark after its send; then, with `sendIdle`, sends "NID_IDLE"
    // (also when a drain was already running further up the stack). Without a
    // distributor nothing is sent. Returns true when notifications remain queued.
    bool ProcessNotifications(bool sendIdle);

    // Takes out, unsent, as many notifications as were queued when it began, clearing
    // their queued marks. Returns true when notifications remain queued.
    bool DiscardNotifications();

    // Attaches the distributor through which queued notifications are sent: 0 (a null
    // distributor changes nothing); kFail when one is attached already or the queue was
    // shut down.
    Result SetDistributor(const RCPtr<LNotificationDistributor>& distributor);
    RCPtr<LNotificationDistributor> GetDistributor() const;

    // The receiver to register with distributors whose notifications are to come
    // through this queue; null after Shutdown.
    RCPtr<LPostingReceiver> GetPostingReceiver() const;

    // Discards what is queued, detaches the distributor and unbinds the posting
    // receiver. Afterwards posting and SetDistributor give kFail. A second call does
    // nothing.
    void Shutdown();

    std::uint32_t GetQueuedCount() const;

    // Shuts the queue down when nothing but its posting receiver holds it.
    Result ReleaseInternalReferences() override;

protected:
    // For a class that is both the queue and its distributor (a notification center):
    // attaches `self` as the distributor, counting that reference as internal, since it
    // is one the object holds on itself.
    Result AttachOwnDistributor(LNotificationDistributor* self);

    // A queue's view of a notification's queued mark: true when it was set by this call
    // (the notification was not queued before).
    static bool MarkQueued(LNotification& notification);
    static void ClearQueued(LNotification& notification);

private:
    friend class LPostingReceiver;

    mutable Mutex mLock;
    RCPtrQueue<LNotification, kInitialSlots> mQueue;
    std::atomic<bool> mProcessing{false};
    RCPtr<LNotificationDistributor> mDistributor;
    bool mDistributorIsOwn = false;
    RCPtr<LPostingReceiver> mPostingReceiver;
    RCPtr<LNotification> mIdleNotification;
};

// Posts a copy of each notification it receives into its queue. It stays registered
// when a distributor removes all its clients (it answers UnregisterForNotification with
// kFail), so a queue keeps listening until it is shut down.
class LNotificationQueue::LPostingReceiver : public LNotificationReceiver
{
public:
    // Posts a new notification with the same id and payload into the queue: the posting
    // result, or kFail once the receiver is unbound.
    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;

    // Declines: kFail, and nothing changes.
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;

    // The queue it posts into; null once unbound.
    RCPtr<LNotificationQueue> GetQueue() const;

private:
    friend class LNotificationQueue;

    explicit LPostingReceiver(LNotificationQueue* queue) : mQueue(queue) {}
    // Lets go of the queue; returns the reference it held, for the caller to drop.
    RCPtr<LNotificationQueue> Unbind();

    mutable Mutex mLock;
    RCPtr<LNotificationQueue> mQueue;
};

} // namespace KR
