#include "engine/DeviceCommunicationThreadWorker.h"

#include <utility>

KR::RCPtr<LDeviceCommunicationThreadWorker>
LDeviceCommunicationThreadWorker::Create(std::shared_ptr<DeviceDeliveryQueue> deliveries)
{
    return KR::RCPtr<LDeviceCommunicationThreadWorker>(
        new LDeviceCommunicationThreadWorker(std::move(deliveries)));
}

LDeviceCommunicationThreadWorker::LDeviceCommunicationThreadWorker(
    std::shared_ptr<DeviceDeliveryQueue> deliveries)
    : mDeliveries(std::move(deliveries))
{
}

KR::Result LDeviceCommunicationThreadWorker::DoWork(KR::RCPtr<KR::LRefCountedObject>& /*param*/)
{
    mDeliveries->Drain();
    return KR::kOk;
}
