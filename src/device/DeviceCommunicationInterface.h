#pragma once
// The seam between the device model and the device-control library. The model
// declares what it needs of the bridge; the engine supplies the bridge itself
// (library loading, worker thread, delivery queue), so the model does not depend
// on the engine that depends on it.

#include "kr/core/ParamValues.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/Variant.h"

#include <cstdint>

// What the bridge hands received values to: the root module.
class DeviceCommunicationReceiver
{
public:
    // Called on the bridge's worker thread, once per delivery.
    virtual void ReceiveParamValues(const KR::ParamValues& values) = 0;
    // Nothing calls it; kept for the receivers that implement it.
    virtual std::int32_t ReceiveReserved(std::int32_t a, std::int32_t b) = 0;

protected:
    ~DeviceCommunicationReceiver() = default;
};

class LDeviceCommunicationInterface : public virtual KR::LRefCountedObject
{
public:
    // The receiver of every delivery; not owned.
    virtual void SetReceiver(DeviceCommunicationReceiver* receiver) = 0;
    // Switching off returns only when no delivery is in progress any more.
    virtual void EnableReceiving(bool enable) = 0;

    // Connects the device (remembered as the current one); negative on failure,
    // -1 without client library.
    virtual std::int32_t ConnectDevice(const KR::Variant& device) = 0;
    virtual std::int32_t DisconnectDevice() = 0;

    // Ask the current device for values; they arrive later through the receiver.
    virtual std::int32_t RequestParamRanges(const KR::ParamRanges& ranges) = 0;
    virtual std::int32_t RequestParamValues(const KR::ParamDescriptor& descriptor) = 0;

    // One value of the device; a few meta ids the bridge answers itself. 0 or a failure.
    virtual std::int32_t GetParamValue(const KR::ParamDescriptor& descriptor, KR::Variant& value) = 0;
    // Sends one value to the connected device; its result.
    virtual std::int32_t SetParamValue(const KR::ParamDescriptor& descriptor, const KR::Variant& value) = 0;

    // The connection status (parameter -4): true on success.
    virtual bool PostConnectionStatus(std::int64_t value) = 0;

protected:
    ~LDeviceCommunicationInterface() override = default;
};
