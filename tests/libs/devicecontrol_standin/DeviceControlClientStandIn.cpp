// A stand-in for the device-control library that does deliver parameter values:
// StandIn.h says what it sends. Only what callers' tests need is real.

#include "StandIn.h"

#include "libs/devicecontrol/DeviceControlClientApi.h"
#include "libs/devicecontrol/VariantRecord.h"

#include <atomic>
#include <cstring>
#include <mutex>
#include <thread>

namespace
{

namespace Record = DeviceControl::Record;

class Deliveries
{
public:
    ~Deliveries() { Stop(); }

    void Start(DCCI_DeliveryCallback callback, void* context)
    {
        const std::lock_guard guard(lock_);
        StopLocked();
        stop_ = false;
        if (callback != nullptr)
        {
            thread_ = std::thread([this, callback, context] { Run(callback, context); });
        }
    }

    // False when called from a delivery, which cannot wait for itself.
    bool Stop()
    {
        const std::lock_guard guard(lock_);
        if (thread_.get_id() == std::this_thread::get_id())
        {
            return false;
        }
        StopLocked();
        return true;
    }

private:
    void StopLocked()
    {
        stop_ = true;
        if (thread_.joinable())
        {
            thread_.join();
        }
    }

    void Run(DCCI_DeliveryCallback callback, void* context)
    {
        for (std::uint32_t n = 0; n < StandIn::kStandInDeliveryCount && !stop_; ++n)
        {
            const Record::Bytes entry =
                Record::Array({Record::Int32(static_cast<std::int32_t>(n)),
                               Record::Int32(StandIn::kStandInFirstParamId + static_cast<std::int32_t>(n)),
                               Record::Empty()});
            const Record::Bytes list = Record::Array({entry});
            const DCCI_Value values{list.data(), static_cast<std::uint32_t>(list.size())};
            callback(context, n, &values);
        }
    }

    std::mutex lock_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

Deliveries& TheDeliveries()
{
    static Deliveries deliveries;
    return deliveries;
}

} // namespace

// The entry points keep the C linkage their declarations in the header give them.

DCCI_API int32_t DCCI_FindRemoteDevices(const DCCI_Guid*, uint32_t, DCCI_ValueBuffer* devices,
                                        int32_t fullList)
{
    return Record::CopyOut(Record::Array({Record::String(StandIn::kStandInDeviceName)}), devices,
                           fullList != 0 ? DCCI_LIST_COMPLETE : DCCI_OK);
}

DCCI_API int32_t DCCI_FindDevices(const DCCI_Guid* filter, uint32_t filterCount, DCCI_ValueBuffer* devices)
{
    return DCCI_FindRemoteDevices(filter, filterCount, devices, 1);
}

DCCI_API int32_t DCCI_ConnectDevice(const DCCI_Value* device, DCCI_DeliveryCallback callback, void* context)
{
    if (!Record::IsWholeRecord(device))
    {
        return DCCI_E_INVALIDARG;
    }
    TheDeliveries().Start(callback, context);
    return DCCI_OK;
}

DCCI_API int32_t DCCI_DisconnectDevice(const DCCI_Value*)
{
    return TheDeliveries().Stop() ? DCCI_OK : DCCI_E_FAIL;
}

DCCI_API int32_t DCCI_ReleaseAll(void)
{
    return TheDeliveries().Stop() ? DCCI_OK : DCCI_E_FAIL;
}

DCCI_API int32_t DCCI_RequestParamRanges(const DCCI_Value*, const DCCI_Value*)
{
    return DCCI_OK;
}
DCCI_API int32_t DCCI_RequestParamValues(const DCCI_Value*, const DCCI_Value*)
{
    return DCCI_OK;
}
DCCI_API int32_t DCCI_GetParamRanges(const DCCI_Value*, const DCCI_Value*, DCCI_ValueBuffer*)
{
    return DCCI_E_NOTIMPL;
}
DCCI_API int32_t DCCI_GetParamValues(const DCCI_Value*, const DCCI_Value*, DCCI_ValueBuffer*)
{
    return DCCI_E_NOTIMPL;
}
DCCI_API int32_t DCCI_GetParamValue(const DCCI_Value*, const DCCI_ParamDescriptor*, DCCI_ValueBuffer*)
{
    return DCCI_E_NOTIMPL;
}
DCCI_API int32_t DCCI_SetParamValue(const DCCI_Value*, const DCCI_ParamDescriptor*, const DCCI_Value*)
{
    return DCCI_OK;
}
DCCI_API int32_t DCCI_SetParamValues(const DCCI_Value*, const DCCI_Value*)
{
    return DCCI_OK;
}
DCCI_API int32_t DCCI_IsDeviceConnected(const DCCI_Value*)
{
    return DCCI_OK;
}

DCCI_API int32_t DCCI_GetDeviceInfo(const DCCI_Value*, DCCI_DeviceInfo* info)
{
    if (info == nullptr)
    {
        return DCCI_E_INVALIDARG;
    }
    std::memset(info, 0, sizeof(*info));
    std::strncpy(info->product, StandIn::kStandInDeviceName, sizeof(info->product) - 1);
    info->present = 1;
    return DCCI_OK;
}
