#pragma once
// The worker of the bridge's event-gated thread: each wake drains the delivery queue
// into the receiver.

#include "engine/DeviceDeliveryQueue.h"
#include "kr/core/RCPtr.h"
#include "kr/thread/ThreadWorker.h"

#include <memory>

class LDeviceCommunicationThreadWorker final : public KR::LThreadWorker
{
public:
    static KR::RCPtr<LDeviceCommunicationThreadWorker>
    Create(std::shared_ptr<DeviceDeliveryQueue> deliveries);

    KR::Result DoWork(KR::RCPtr<KR::LRefCountedObject>& param) override;

private:
    explicit LDeviceCommunicationThreadWorker(std::shared_ptr<DeviceDeliveryQueue> deliveries);

    const std::shared_ptr<DeviceDeliveryQueue> mDeliveries;
};
