#pragma once
// The bridge between the device model and the device-control library: loads the
// library, remembers the device it talks to and passes requests through with it,
// answers the reserved meta ids itself while the library is not there, and turns the
// library's deliveries (on the library's thread) into calls on the receiver made on a
// worker thread of its own.

#include "device/DeviceCommunicationInterface.h"
#include "kr/core/RCPtr.h"
#include "kr/thread/Mutex.h"

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace KR
{
class DeviceControlClientInterface;
class LEventGatedThreader;
} // namespace KR

class DeviceDeliveryQueue;
class LDeviceCommunicationThreadWorker;

// Threads: the library's (deliveries: queue lock, then the wake event), the worker's
// (the delivery lock, then the receiver's locks) and the callers'. Callers take the
// state lock only to copy the client and the current device, and call the library
// after leaving it. Lock order: delivery lock, then the receiver's lock (the root
// module's mutex), then the state lock; the queue lock comes last, around each queue update.
class LDeviceCommunicationBridge final : public LDeviceCommunicationInterface
{
public:
    // Reserved parameter ids.
    static constexpr std::int32_t kConnectedID = -2;
    static constexpr std::int32_t kConnectionStatusID = -4;
    static constexpr std::int32_t kLibraryParamID = -8;
    static constexpr std::int32_t kMakerID = -9;
    static constexpr std::int32_t kProductID = -10;
    // -242 to -240: never sent to the device.
    static constexpr std::int32_t kFirstRefusedID = -242;
    static constexpr std::int32_t kLastRefusedID = -240;
    // GetCurrentDevice while not connected.
    static constexpr std::int32_t kNotConnected = -3;
    // How often WaitForDeviceListChange asks the library again.
    static constexpr std::uint32_t kListPollMs = 250;

    // The worker thread runs from here on, waiting for deliveries. libraryPath is the
    // library that Init loads; empty: libDeviceControlClient.so beside the program.
    static KR::RCPtr<LDeviceCommunicationBridge> Create(const std::string& libraryPath = std::string());

    std::int32_t Init() override;
    bool IsConnected() override;
    bool PostConnectionStatus(std::int64_t value) override;
    void Synchronize() override;
    std::int32_t FindDevices(const KR::Array<KR::Guid>& filter, KR::Array<KR::Variant>& devices) override;
    std::int32_t WaitForDeviceListChange(const KR::Array<KR::Guid>& filter, KR::Array<KR::Variant>& devices,
                                         std::uint32_t timeoutMs) override;
    void InterruptListWaits(bool interrupted) override;
    std::int32_t QueryDeviceList(const KR::Array<KR::Guid>& filter, KR::Array<KR::Variant>& devices) override;
    std::int32_t ConnectDevice(const KR::Variant& device) override;
    std::int32_t DisconnectDevice() override;
    std::int32_t GetCurrentDevice(KR::Variant& device) override;
    std::int32_t GetDeviceInfo(const KR::Variant& device, DeviceInfoRecord& info) override;
    std::int32_t RequestParamRanges(const KR::ParamRanges& ranges) override;
    std::int32_t RequestParamValues(const KR::ParamDescriptor& descriptor) override;
    std::int32_t RequestParamValuesForDescriptors(const KR::ParamDescriptors& descriptors) override;
    std::int32_t GetParamRanges(const KR::Variant& request, KR::ParamRanges& ranges) override;
    std::int32_t GetParamValues(const KR::ParamDescriptors& descriptors, KR::ParamValues& values) override;
    std::int32_t GetParamValue(const KR::ParamDescriptor& descriptor, KR::Variant& value) override;
    std::int32_t SetParamValue(const KR::ParamDescriptor& descriptor, const KR::Variant& value) override;
    std::int32_t SetParamValues(const KR::ParamValues& values) override;
    std::int32_t GetReservedParamValue(KR::Variant& value) override;
    std::int32_t SetReservedParamValue(const KR::Variant& value) override;
    std::int32_t GetDeviceTableIndex(std::int32_t& index) override;
    void SetReceiver(DeviceCommunicationReceiver* receiver) override;
    void EnableReceiving(bool enable) override;

    bool IsReceiving() const;
    // Deliveries queued and not yet handed on.
    std::uint32_t GetPendingDeliveryCount() const;
    // Deliveries dropped so far because receiving was off.
    std::uint64_t GetDroppedDeliveryCount() const;

private:
    explicit LDeviceCommunicationBridge(const std::string& libraryPath);
    // Stops deliveries (waiting for one in progress), disconnects and releases the
    // library, then stops the worker.
    ~LDeviceCommunicationBridge() override;

    // The client (null before Init) and, when asked, a copy of the current device,
    // both taken under the state lock.
    KR::DeviceControlClientInterface* GetClient(KR::Variant* device = nullptr);
    // The client when its library is loaded, else null.
    KR::DeviceControlClientInterface* GetLoadedClient();
    // Whether the bridge answers a meta id itself: only while there is no library.
    bool AnswerOwnID(std::int32_t id, KR::Variant& value, std::int32_t& result);

    const std::string mLibraryPath;
    // Guards the client pointer and the current device.
    KR::Mutex mStateLock;
    std::unique_ptr<KR::DeviceControlClientInterface> mClient;
    KR::Variant mCurrentDevice;
    // The pause between the questions of a list wait, and what cuts it short.
    std::mutex mListWaitLock;
    std::condition_variable mListWaitCut;
    bool mListWaitsInterrupted = false;
    std::shared_ptr<DeviceDeliveryQueue> mDeliveries;
    KR::RCPtr<LDeviceCommunicationThreadWorker> mWorker;
    KR::RCPtr<KR::LEventGatedThreader> mThreader;
};
