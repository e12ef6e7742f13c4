#include "engine/DeviceDeliveryQueue.h"

#include "kr/thread/ThreadLog.h"

#include <exception>
#include <string>
#include <utility>

DeviceDeliveryQueue::DeviceDeliveryQueue() : mWake(KR::LEvent::Create(true)), mQueue(&mQueueLock)
{
}

void DeviceDeliveryQueue::Deliver(void* context, std::uint32_t /*sequence*/, KR::ParamValues& values)
{
    static_cast<DeviceDeliveryQueue*>(context)->Post(values);
}

KR::Result DeviceDeliveryQueue::Post(KR::ParamValues& values)
{
    const KR::RCPtr<Delivery> delivery(new Delivery());
    // The list moves as a variant: its payload changes hands, nothing is copied.
    static_cast<KR::Variant&>(delivery->GetValue()) = std::move(static_cast<KR::Variant&>(values));
    bool wasEmpty = false;
    KR::Result queued = KR::kOk;
    {
        // Tested and queued in one hold of the lock: a list that finds others waiting
        // is sure to be drained with them, since the worker empties the queue before
        // it waits again.
        const KR::MutexLocker lock(mQueueLock);
        wasEmpty = mQueue.GetCount() == 0;
        queued = mQueue.Enqueue(delivery);
    }
    if (wasEmpty)
    {
        mWake->Set();
    }
    return queued;
}

void DeviceDeliveryQueue::Drain()
{
    const KR::MutexLocker lock(mDeliveryLock);
    KR::RCPtr<Delivery> delivery;
    while (mQueue.TryDequeue(delivery))
    {
        DeviceCommunicationReceiver* const receiver = mReceiver.load();
        if (!mReceiving.load() || receiver == nullptr)
        {
            mDropped.fetch_add(1);
        }
        else
        {
            // One receiver failure loses its own list, not the ones queued behind it.
            try
            {
                receiver->ReceiveParamValues(delivery->GetValue());
            }
            catch (const std::exception& error)
            {
                KR::LogThreadProblem(std::string("LDeviceCommunicationThreadWorker: a delivery failed: ") +
                                     error.what());
            }
        }
    }
}

void DeviceDeliveryQueue::SetReceiver(DeviceCommunicationReceiver* receiver)
{
    const KR::MutexLocker lock(mDeliveryLock);
    mReceiver.store(receiver);
}

void DeviceDeliveryQueue::EnableReceiving(bool enable)
{
    mReceiving.store(enable);
    if (!enable)
    {
        // A delivery in progress holds the lock until it is done.
        const KR::MutexLocker wait(mDeliveryLock);
    }
}
