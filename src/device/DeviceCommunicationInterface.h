#pragma once
// The seam between the device model and the device-control library. The model and
// the engine call the bridge through this interface; the engine supplies the bridge
// itself (LDeviceCommunicationBridge: library loading, worker thread, delivery
// queue), so the model does not depend on the engine that depends on it, and tests
// of either can put a scripted bridge in its place.

#include "kr/core/Array.h"
#include "kr/core/Guid.h"
#include "kr/core/ParamValues.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/Variant.h"

#include <array>
#include <cstddef>
#include <cstdint>

// What the bridge hands received values to: the root module.
class DeviceCommunicationReceiver
{
public:
    // Called on the bridge's worker thread, once per delivery, with the bridge's
    // delivery lock held (so the receiver's own lock comes after it).
    virtual void ReceiveParamValues(const KR::ParamValues& values) = 0;
    // Nothing calls it; kept for the receivers that implement it.
    virtual std::int32_t ReceiveReserved(std::int32_t a, std::int32_t b) = 0;

protected:
    ~DeviceCommunicationReceiver() = default;
};

// The device-control library's information record about one device. Its layout is
// the library's; the engine reads only the watch flag.
struct DeviceInfoRecord
{
    static constexpr std::size_t kSize = 256;
    static constexpr std::size_t kWatchFlagOffset = 252;

    std::array<std::uint8_t, kSize> bytes{};

    // Non-zero watch flag: the device comes and goes, its connection is worth watching.
    bool IsWatched() const { return bytes[kWatchFlagOffset] != 0; }
};

// A device is a KR::Variant whose content only the library interprets; the empty
// variant means no device. "Device" below is the current one, the device of the last
// ConnectDevice. Operations that need the library return kNoClient (-1) while it
// is not there (before Init, or when it could not be loaded).
class LDeviceCommunicationInterface : public virtual KR::LRefCountedObject
{
public:
    static constexpr std::int32_t kNoClient = -1;
    // WaitForDeviceListChange: the list changed / stayed as it was until the time-out.
    static constexpr std::int32_t kListChanged = 0;
    static constexpr std::int32_t kListUnchanged = 1;
    // QueryDeviceList: the list holds every device there is.
    static constexpr std::int32_t kListComplete = 1;

    // Makes the library client once: 0, 1 when it exists already, a failure when it
    // cannot be made. A library that does not load is not a failure here: the client
    // then answers kNoClient.
    virtual std::int32_t Init() = 0;
    virtual bool IsConnected() = 0;
    // Loops the connection status (parameter -4) back to the receiver as the list
    // {value as int64, IsConnected()}; false without a receiver, else IsConnected().
    virtual bool PostConnectionStatus(std::int64_t value) = 0;
    // Returns once no caller is inside the bridge's state lock.
    virtual void Synchronize() = 0;

    // One empty device (a connection to no device), without asking the library; 0.
    virtual std::int32_t FindDevices(const KR::Array<KR::Guid>& filter, KR::Array<KR::Variant>& devices) = 0;
    // Asks the library until `devices` differs from what it held on entry (kListChanged)
    // or timeoutMs has passed (kListUnchanged; a time-out of 0 asks once); `devices`
    // holds the last answer. 0x80004005 when the library fails or answers garbage.
    virtual std::int32_t WaitForDeviceListChange(const KR::Array<KR::Guid>& filter,
                                                 KR::Array<KR::Variant>& devices,
                                                 std::uint32_t timeoutMs) = 0;
    // While `interrupted` holds, WaitForDeviceListChange asks once and returns as with a
    // time-out of 0, and a wait under way ends at once: the thread that waits is being
    // stopped, and its stop (the program's exit among them) need not sit out the time-out.
    virtual void InterruptListWaits(bool interrupted) = 0;
    // One full query; the library's result (kListComplete when the list is whole).
    virtual std::int32_t QueryDeviceList(const KR::Array<KR::Guid>& filter,
                                         KR::Array<KR::Variant>& devices) = 0;

    // Remembers the device as the current one and connects it; deliveries for it
    // reach the receiver from then on. Negative on failure.
    virtual std::int32_t ConnectDevice(const KR::Variant& device) = 0;
    virtual std::int32_t DisconnectDevice() = 0;
    // Copies the current device; 0 while connected.
    virtual std::int32_t GetCurrentDevice(KR::Variant& device) = 0;
    virtual std::int32_t GetDeviceInfo(const KR::Variant& device, DeviceInfoRecord& info) = 0;

    // Ask the current device for values; they arrive later through the receiver.
    virtual std::int32_t RequestParamRanges(const KR::ParamRanges& ranges) = 0;
    virtual std::int32_t RequestParamValues(const KR::ParamDescriptor& descriptor) = 0;
    virtual std::int32_t RequestParamValuesForDescriptors(const KR::ParamDescriptors& descriptors) = 0;
    // Read from the current device at once.
    virtual std::int32_t GetParamRanges(const KR::Variant& request, KR::ParamRanges& ranges) = 0;
    virtual std::int32_t GetParamValues(const KR::ParamDescriptors& descriptors, KR::ParamValues& values) = 0;

    // One value of the device: 0 or a failure. The bridge answers -2 (connected),
    // -9 (maker) and -10 (product) itself while it has no library.
    virtual std::int32_t GetParamValue(const KR::ParamDescriptor& descriptor, KR::Variant& value) = 0;
    // Sends one value to the device; -4 is looped back (PostConnectionStatus: 0 when it
    // answered true, else 1); -242 to -240 and any call without a receiver are refused
    // with 0x80004005.
    virtual std::int32_t SetParamValue(const KR::ParamDescriptor& descriptor, const KR::Variant& value) = 0;
    virtual std::int32_t SetParamValues(const KR::ParamValues& values) = 0;
    // The library's own parameter of the current device (id -8).
    virtual std::int32_t GetReservedParamValue(KR::Variant& value) = 0;
    virtual std::int32_t SetReservedParamValue(const KR::Variant& value) = 0;
    // The device's row in the bridge's table of maker and product names; always 0.
    virtual std::int32_t GetDeviceTableIndex(std::int32_t& index) = 0;

    // The receiver of every delivery; not owned. Once it returns, no delivery into
    // the previous receiver is in progress.
    virtual void SetReceiver(DeviceCommunicationReceiver* receiver) = 0;
    // Deliveries are handed on only while enabled (off at first); what arrives while
    // off is dropped. Switching off returns only when no delivery is in progress any
    // more, so it must not be called holding a lock that the receiver takes.
    virtual void EnableReceiving(bool enable) = 0;

protected:
    ~LDeviceCommunicationInterface() override = default;
};
