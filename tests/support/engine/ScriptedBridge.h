#pragma once
// A device-communication bridge whose answers the test scripts: whether it is
// connected, which devices exist, whether a device is worth watching, whether a
// connect succeeds. Safe to script from the test thread while the engine's worker
// asks it, and it counts what it was asked.

#include "device/DeviceCommunicationInterface.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

class ScriptedBridge final : public LDeviceCommunicationInterface
{
public:
    static KR::RCPtr<ScriptedBridge> Create() { return KR::RCPtr<ScriptedBridge>(new ScriptedBridge()); }

    // --- Script ---------------------------------------------------------------------
    std::atomic<bool> connected{true};
    std::atomic<std::int32_t> initResult{0};
    std::atomic<std::int32_t> connectResult{0};
    std::atomic<bool> watched{false};
    // The first list query of discovery answers this when set (a failure).
    std::atomic<std::int32_t> listFailure{0};
    std::atomic<std::int32_t> queryResult{0};
    // Change-waits answer "unchanged" at once, as a library that only a full query
    // shows the change to.
    std::atomic<bool> blindWaits{false};
    // When set, change-waits with a time-out last this long whatever it is, as a library slow
    // to see changes; only a change or an interrupt ends them sooner.
    std::atomic<std::uint32_t> listWaitMs{0};

    // Replaces the remote device list; a worker waiting for a change wakes up.
    void SetRemoteDevices(const KR::Array<KR::Variant>& devices)
    {
        {
            std::lock_guard lock(mMutex);
            mRemote = devices;
        }
        mChanged.notify_all();
    }

    // --- Counts ---------------------------------------------------------------------
    std::atomic<int> connects{0};
    std::atomic<int> listWaits{0};
    std::atomic<int> listQueries{0};
    std::atomic<int> infoRequests{0};
    std::atomic<int> sets{0};

    // --- LDeviceCommunicationInterface ----------------------------------------------
    std::int32_t Init() override { return initResult; }
    bool IsConnected() override { return connected; }
    bool PostConnectionStatus(std::int64_t /*value*/) override { return connected; }
    void Synchronize() override {}

    std::int32_t FindDevices(const KR::Array<KR::Guid>& /*filter*/, KR::Array<KR::Variant>& devices) override
    {
        devices.SetCount(1);
        devices.ElementAt(0).Clear();
        return 0;
    }
    std::int32_t WaitForDeviceListChange(const KR::Array<KR::Guid>& /*filter*/,
                                         KR::Array<KR::Variant>& devices, std::uint32_t timeoutMs) override
    {
        ++listWaits;
        if (listFailure != 0)
        {
            return listFailure;
        }
        if (blindWaits)
        {
            return kListUnchanged;
        }
        std::unique_lock lock(mMutex);
        const KR::Array<KR::Variant> before = devices;
        const std::uint32_t waitMs = listWaitMs != 0 && timeoutMs != 0 ? listWaitMs.load() : timeoutMs;
        mChanged.wait_for(lock, std::chrono::milliseconds(waitMs),
                          [&] { return !(mRemote == before) || mInterrupted; });
        devices = mRemote;
        return devices == before ? kListUnchanged : kListChanged;
    }
    void InterruptListWaits(bool interrupted) override
    {
        {
            std::lock_guard lock(mMutex);
            mInterrupted = interrupted;
        }
        mChanged.notify_all();
    }
    std::int32_t QueryDeviceList(const KR::Array<KR::Guid>& /*filter*/,
                                 KR::Array<KR::Variant>& devices) override
    {
        ++listQueries;
        std::lock_guard lock(mMutex);
        devices = mRemote;
        return queryResult;
    }

    std::int32_t ConnectDevice(const KR::Variant& /*device*/) override
    {
        ++connects;
        return connectResult;
    }
    std::int32_t DisconnectDevice() override { return 0; }
    std::int32_t GetCurrentDevice(KR::Variant& device) override
    {
        device.Clear();
        return connected ? 0 : -3;
    }
    std::int32_t GetDeviceInfo(const KR::Variant& /*device*/, DeviceInfoRecord& info) override
    {
        ++infoRequests;
        info.bytes[DeviceInfoRecord::kWatchFlagOffset] = watched ? 1 : 0;
        return 0;
    }

    // Parameter traffic is taken and forgotten, as the real library does.
    std::int32_t RequestParamRanges(const KR::ParamRanges& /*ranges*/) override { return 0; }
    std::int32_t RequestParamValues(const KR::ParamDescriptor& /*descriptor*/) override { return 0; }
    std::int32_t RequestParamValuesForDescriptors(const KR::ParamDescriptors& /*descriptors*/) override
    {
        return 0;
    }
    std::int32_t GetParamRanges(const KR::Variant& /*request*/, KR::ParamRanges& /*ranges*/) override
    {
        return kNoClient;
    }
    std::int32_t GetParamValues(const KR::ParamDescriptors& /*descriptors*/,
                                KR::ParamValues& /*values*/) override
    {
        return kNoClient;
    }
    std::int32_t GetParamValue(const KR::ParamDescriptor& /*descriptor*/, KR::Variant& value) override
    {
        value.Clear();
        return kNoClient;
    }
    std::int32_t SetParamValue(const KR::ParamDescriptor& /*descriptor*/,
                               const KR::Variant& /*value*/) override
    {
        ++sets;
        return 0;
    }
    std::int32_t SetParamValues(const KR::ParamValues& /*values*/) override { return 0; }
    std::int32_t GetReservedParamValue(KR::Variant& value) override
    {
        value.Clear();
        return kNoClient;
    }
    std::int32_t SetReservedParamValue(const KR::Variant& /*value*/) override { return kNoClient; }
    std::int32_t GetDeviceTableIndex(std::int32_t& index) override
    {
        index = 0;
        return 0;
    }
    void SetReceiver(DeviceCommunicationReceiver* /*receiver*/) override {}
    void EnableReceiving(bool /*enable*/) override {}

private:
    ScriptedBridge() = default;

    std::mutex mMutex;
    std::condition_variable mChanged;
    bool mInterrupted = false;
    KR::Array<KR::Variant> mRemote;
};
