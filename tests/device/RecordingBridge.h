#pragma once
// A stand-in for the device-communication bridge that records what the model asks
// of it and answers with results the test chooses.

#include "device/DeviceCommunicationInterface.h"

#include <mutex>
#include <string>
#include <vector>

class RecordingBridge final : public LDeviceCommunicationInterface
{
public:
    struct Call
    {
        std::string operation;
        std::int32_t id = 0;
        KR::Variant value;
    };

    static KR::RCPtr<RecordingBridge> Create() { return KR::RCPtr<RecordingBridge>(new RecordingBridge()); }

    // Answers chosen by the test.
    std::int32_t connectResult = 0;
    std::int32_t setResult = 0;
    std::int32_t getResult = 0;
    bool connectionStatusResult = true;
    KR::Variant getAnswer;

    void SetReceiver(DeviceCommunicationReceiver* receiver) override
    {
        Record("SetReceiver");
        std::lock_guard lock(mMutex);
        mReceiver = receiver;
    }
    void EnableReceiving(bool enable) override
    {
        Record(enable ? "EnableReceiving(true)" : "EnableReceiving(false)");
    }
    std::int32_t ConnectDevice(const KR::Variant& device) override
    {
        Record("ConnectDevice", 0, device);
        return connectResult;
    }
    std::int32_t DisconnectDevice() override
    {
        Record("DisconnectDevice");
        return 0;
    }
    std::int32_t RequestParamRanges(const KR::ParamRanges& ranges) override
    {
        KR::ParamRange range{};
        ranges.GetAt(0, range);
        Record("RequestParamRanges " + std::to_string(ranges.GetArraySize()) + " " +
               std::to_string(range.firstID) + " " + std::to_string(range.count));
        return 0;
    }
    std::int32_t RequestParamValues(const KR::ParamDescriptor& descriptor) override
    {
        Record("RequestParamValues", descriptor.id);
        return 0;
    }
    std::int32_t GetParamValue(const KR::ParamDescriptor& descriptor, KR::Variant& value) override
    {
        Record("GetParamValue", descriptor.id);
        value = getAnswer;
        return getResult;
    }
    std::int32_t SetParamValue(const KR::ParamDescriptor& descriptor, const KR::Variant& value) override
    {
        Record("SetParamValue", descriptor.id, value);
        return setResult;
    }
    bool PostConnectionStatus(std::int64_t value) override
    {
        Record("PostConnectionStatus", static_cast<std::int32_t>(value));
        return connectionStatusResult;
    }

    // What the model does not call answers as a bridge without its library would.
    std::int32_t Init() override { return kNoClient; }
    bool IsConnected() override { return true; }
    void Synchronize() override {}
    std::int32_t FindDevices(const KR::Array<KR::Guid>&, KR::Array<KR::Variant>&) override
    {
        return kNoClient;
    }
    std::int32_t WaitForDeviceListChange(const KR::Array<KR::Guid>&, KR::Array<KR::Variant>&,
                                         std::uint32_t) override
    {
        return kNoClient;
    }
    void InterruptListWaits(bool) override {}
    std::int32_t QueryDeviceList(const KR::Array<KR::Guid>&, KR::Array<KR::Variant>&) override
    {
        return kNoClient;
    }
    std::int32_t GetCurrentDevice(KR::Variant&) override { return kNoClient; }
    std::int32_t GetDeviceInfo(const KR::Variant&, DeviceInfoRecord&) override { return kNoClient; }
    std::int32_t RequestParamValuesForDescriptors(const KR::ParamDescriptors&) override { return kNoClient; }
    std::int32_t GetParamRanges(const KR::Variant&, KR::ParamRanges&) override { return kNoClient; }
    std::int32_t GetParamValues(const KR::ParamDescriptors&, KR::ParamValues&) override { return kNoClient; }
    std::int32_t SetParamValues(const KR::ParamValues&) override { return kNoClient; }
    std::int32_t GetReservedParamValue(KR::Variant&) override { return kNoClient; }
    std::int32_t SetReservedParamValue(const KR::Variant&) override { return kNoClient; }
    std::int32_t GetDeviceTableIndex(std::int32_t& index) override
    {
        index = 0;
        return 0;
    }

    DeviceCommunicationReceiver* Receiver()
    {
        std::lock_guard lock(mMutex);
        return mReceiver;
    }
    std::vector<Call> Calls()
    {
        std::lock_guard lock(mMutex);
        return mCalls;
    }
    std::vector<std::string> Operations()
    {
        std::lock_guard lock(mMutex);
        std::vector<std::string> names;
        for (const Call& call : mCalls)
        {
            names.push_back(call.operation);
        }
        return names;
    }
    void Forget()
    {
        std::lock_guard lock(mMutex);
        mCalls.clear();
    }

private:
    RecordingBridge() = default;

    void Record(std::string operation, std::int32_t id = 0, const KR::Variant& value = KR::Variant())
    {
        std::lock_guard lock(mMutex);
        mCalls.push_back(Call{std::move(operation), id, value});
    }

    std::mutex mMutex;
    std::vector<Call> mCalls;
    DeviceCommunicationReceiver* mReceiver = nullptr;
};
