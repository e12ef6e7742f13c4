#pragma once
// The road of parameter values that the device-control library delivers on its own
// thread: queued there without waiting, handed to the receiver on the bridge's worker
// thread, in the order they came.

#include "device/DeviceCommunicationInterface.h"
#include "kr/core/ParamValues.h"
#include "kr/core/RCPtr.h"
#include "kr/core/Types.h"
#include "kr/core/Wrapper.h"
#include "kr/thread/Event.h"
#include "kr/thread/Mutex.h"
#include "kr/thread/RCPtrQueue.h"

#include <atomic>
#include <cstdint>

// Shared by the bridge and its worker, so that it outlives whichever lets go last
// (the bridge may be released from inside a delivery, on the worker's own thread).
//
// Locks: the delivery lock is held while a list is handed to the receiver, so the
// receiver's own locks come after it; the queue lock only around each queue update.
class DeviceDeliveryQueue
{
public:
    using Delivery = KR::LWrapper<KR::ParamValues, KR::LRefCountedObject>;

    DeviceDeliveryQueue();
    DeviceDeliveryQueue(const DeviceDeliveryQueue&) = delete;
    DeviceDeliveryQueue& operator=(const DeviceDeliveryQueue&) = delete;

    // The auto-reset event set for each queued list; the worker's threader waits on it.
    const KR::RCPtr<KR::LEvent>& GetWakeEvent() const { return mWake; }

    // The library's delivery callback; context is the queue. Never waits for a
    // delivery in progress.
    static void Deliver(void* context, std::uint32_t sequence, KR::ParamValues& values);
    // Queues the list (taking its contents) and wakes the worker. kFail when it
    // could not be queued.
    KR::Result Post(KR::ParamValues& values);

    // On the worker's thread: hands every queued list to the receiver while
    // receiving is on, oldest first; lists taken while it is off are dropped.
    void Drain();

    // Once it returns, no delivery into the previous receiver is in progress.
    void SetReceiver(DeviceCommunicationReceiver* receiver);
    DeviceCommunicationReceiver* GetReceiver() const { return mReceiver.load(); }
    // Switching off returns once no delivery is in progress.
    void EnableReceiving(bool enable);
    bool IsReceiving() const { return mReceiving.load(); }

    std::uint32_t GetPendingCount() const { return mQueue.GetCount(); }
    // Lists dropped so far because receiving was off or no receiver was set.
    std::uint64_t GetDroppedCount() const { return mDropped.load(); }

private:
    const KR::RCPtr<KR::LEvent> mWake;
    KR::Mutex mQueueLock;
    KR::RCPtrQueue<Delivery, 256> mQueue;
    KR::Mutex mDeliveryLock;
    std::atomic<bool> mReceiving{false};
    std::atomic<DeviceCommunicationReceiver*> mReceiver{nullptr};
    std::atomic<std::uint64_t> mDropped{0};
};
