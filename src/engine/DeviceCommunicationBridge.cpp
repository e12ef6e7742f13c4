#include "engine/DeviceCommunicationBridge.h"

#include "engine/DeviceCommunicationThreadWorker.h"
#include "engine/DeviceControlClientInterface.h"
#include "engine/DeviceDeliveryQueue.h"
#include "kr/core/Types.h"
#include "kr/thread/EventGatedThreader.h"
#include "kr/thread/Thread.h"

#include <chrono>
#include <cstddef>
#include <cstring>
#include <new>
#include <thread>

static_assert(sizeof(DCCI_DeviceInfo) == DeviceInfoRecord::kSize);
static_assert(offsetof(DCCI_DeviceInfo, watch) == DeviceInfoRecord::kWatchFlagOffset);

namespace
{

// The devices the bridge knows by name, in device-table order (GetDeviceTableIndex).
struct DeviceTableEntry
{
    const char* maker;
    const char* product;
};
constexpr DeviceTableEntry kDeviceTable[] = {{"Tarsil", "Vantor"}};

// The editor edits, loads and saves presets whether or not a keyboard is attached, so
// the bridge reports itself connected; the keyboard's presence is the MIDI ports'
// business.
constexpr bool kAlwaysConnected = true;

// The devices of a list variant, one per element; false (devices untouched) for
// anything but a list.
bool ReadDeviceList(const KR::Variant& list, KR::Array<KR::Variant>& devices)
{
    if (list.GetType() != KR::Variant::kArray)
    {
        return false;
    }
    const std::uint32_t count = list.GetArraySize();
    devices.SetCount(count);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        list.GetArrayElement(i, devices.ElementAt(i));
    }
    return true;
}

} // namespace

KR::RCPtr<LDeviceCommunicationBridge> LDeviceCommunicationBridge::Create(const std::string& libraryPath)
{
    return KR::RCPtr<LDeviceCommunicationBridge>(new LDeviceCommunicationBridge(libraryPath));
}

LDeviceCommunicationBridge::LDeviceCommunicationBridge(const std::string& libraryPath)
    : mLibraryPath(libraryPath), mDeliveries(std::make_shared<DeviceDeliveryQueue>()),
      mWorker(LDeviceCommunicationThreadWorker::Create(mDeliveries)),
      mThreader(KR::LEventGatedThreader::Create(mDeliveries->GetWakeEvent(), mWorker,
                                                KR::RCPtr<KR::LRefCountedObject>(),
                                                KR::kThreadPriorityNormal))
{
}

LDeviceCommunicationBridge::~LDeviceCommunicationBridge()
{
    EnableReceiving(false);
    if (mClient)
    {
        KR::Variant device;
        {
            const KR::MutexLocker lock(mStateLock);
            device = mCurrentDevice;
        }
        mClient->DisconnectDevice(device);
        // Releases the library: no delivery runs into the queue after this.
        mClient.reset();
    }
    SetReceiver(nullptr);
    // Stops and joins the worker thread (at once when this runs on it: the worker
    // keeps the queue alive until it lets go).
    mThreader = KR::RCPtr<KR::LEventGatedThreader>();
    mWorker = KR::RCPtr<LDeviceCommunicationThreadWorker>();
    mDeliveries.reset();
}

KR::DeviceControlClientInterface* LDeviceCommunicationBridge::GetClient(KR::Variant* device)
{
    const KR::MutexLocker lock(mStateLock);
    if (device != nullptr)
    {
        *device = mCurrentDevice;
    }
    // The client, once made, lives as long as the bridge: the pointer stays good.
    return mClient.get();
}

KR::DeviceControlClientInterface* LDeviceCommunicationBridge::GetLoadedClient()
{
    KR::DeviceControlClientInterface* const client = GetClient();
    return client != nullptr && client->IsLoaded() ? client : nullptr;
}

std::int32_t LDeviceCommunicationBridge::Init()
{
    const KR::MutexLocker lock(mStateLock);
    if (mClient)
    {
        return 1;
    }
    try
    {
        mClient = std::make_unique<KR::DeviceControlClientInterface>(mLibraryPath);
    }
    catch (const std::bad_alloc&)
    {
        return KR::kFail;
    }
    return KR::kOk;
}

bool LDeviceCommunicationBridge::IsConnected()
{
    return kAlwaysConnected;
}

bool LDeviceCommunicationBridge::PostConnectionStatus(std::int64_t value)
{
    // No lock of the bridge is held while the receiver runs: the root module calls
    // this with its mutex held and also calls into the bridge's state lock with it
    // held, so a receiver call inside the state lock could close a cycle with any
    // other caller.
    DeviceCommunicationReceiver* const receiver = mDeliveries->GetReceiver();
    if (receiver == nullptr)
    {
        return false;
    }
    const bool connected = IsConnected();
    KR::Variant status[2];
    status[0].SetInt64(value);
    status[1].SetBool(connected);
    KR::ParamValue entry;
    entry.descriptor.id = kConnectionStatusID;
    entry.value.SetArray(status, 2);
    KR::ParamValues values;
    values.SetValues(&entry, 1);
    receiver->ReceiveParamValues(values);
    return connected;
}

void LDeviceCommunicationBridge::Synchronize()
{
    const KR::MutexLocker lock(mStateLock);
}

std::int32_t LDeviceCommunicationBridge::FindDevices(const KR::Array<KR::Guid>& /*filter*/,
                                                     KR::Array<KR::Variant>& devices)
{
    // One connection to no device: the library lets it be made with or without a
    // keyboard, so start-up always has a device to connect.
    devices.SetCount(1);
    devices.ElementAt(0).Clear();
    return KR::kOk;
}

std::int32_t LDeviceCommunicationBridge::WaitForDeviceListChange(const KR::Array<KR::Guid>& filter,
                                                                 KR::Array<KR::Variant>& devices,
                                                                 std::uint32_t timeoutMs)
{
    KR::DeviceControlClientInterface* const client = GetLoadedClient();
    if (client == nullptr)
    {
        return kNoClient;
    }
    const KR::Array<KR::Variant> before = devices;
    std::uint32_t elapsed = 0;
    for (;;)
    {
        KR::Variant answer;
        if (client->FindRemoteDevices(filter, answer, 0) < 0 || !ReadDeviceList(answer, devices))
        {
            return KR::kFail;
        }
        if (!(devices == before))
        {
            return kListChanged;
        }
        std::unique_lock lock(mListWaitLock);
        if (elapsed >= timeoutMs || mListWaitCut.wait_for(lock, std::chrono::milliseconds(kListPollMs),
                                                          [this] { return mListWaitsInterrupted; }))
        {
            return kListUnchanged;
        }
        elapsed += kListPollMs;
    }
}

void LDeviceCommunicationBridge::InterruptListWaits(bool interrupted)
{
    {
        const std::lock_guard lock(mListWaitLock);
        mListWaitsInterrupted = interrupted;
    }
    mListWaitCut.notify_all();
}

std::int32_t LDeviceCommunicationBridge::QueryDeviceList(const KR::Array<KR::Guid>& filter,
                                                         KR::Array<KR::Variant>& devices)
{
    KR::DeviceControlClientInterface* const client = GetLoadedClient();
    if (client == nullptr)
    {
        return kNoClient;
    }
    KR::Variant answer;
    const std::int32_t result = client->FindRemoteDevices(filter, answer, 1);
    if (result < 0)
    {
        return result;
    }
    return ReadDeviceList(answer, devices) ? result : KR::kFail;
}

std::int32_t LDeviceCommunicationBridge::ConnectDevice(const KR::Variant& device)
{
    KR::DeviceControlClientInterface* client = nullptr;
    {
        const KR::MutexLocker lock(mStateLock);
        mCurrentDevice = device;
        client = mClient.get();
    }
    if (client == nullptr)
    {
        return kNoClient;
    }
    return client->ConnectDevice(device, &DeviceDeliveryQueue::Deliver, mDeliveries.get());
}

std::int32_t LDeviceCommunicationBridge::DisconnectDevice()
{
    KR::Variant device;
    KR::DeviceControlClientInterface* const client = GetClient(&device);
    return client == nullptr ? kNoClient : client->DisconnectDevice(device);
}

std::int32_t LDeviceCommunicationBridge::GetCurrentDevice(KR::Variant& device)
{
    GetClient(&device);
    return IsConnected() ? KR::kOk : kNotConnected;
}

std::int32_t LDeviceCommunicationBridge::GetDeviceInfo(const KR::Variant& device, DeviceInfoRecord& info)
{
    info.bytes.fill(0);
    KR::DeviceControlClientInterface* const client = GetClient();
    if (client == nullptr)
    {
        return kNoClient;
    }
    DCCI_DeviceInfo record{};
    const std::int32_t result = client->GetDeviceInfo(device, record);
    std::memcpy(info.bytes.data(), &record, sizeof record);
    return result;
}

std::int32_t LDeviceCommunicationBridge::RequestParamRanges(const KR::ParamRanges& ranges)
{
    KR::Variant device;
    KR::DeviceControlClientInterface* const client = GetClient(&device);
    return client == nullptr ? kNoClient : client->RequestParamRanges(device, ranges);
}

std::int32_t LDeviceCommunicationBridge::RequestParamValues(const KR::ParamDescriptor& descriptor)
{
    KR::ParamDescriptors one;
    one.SetDescriptors(&descriptor, 1);
    return RequestParamValuesForDescriptors(one);
}

std::int32_t
LDeviceCommunicationBridge::RequestParamValuesForDescriptors(const KR::ParamDescriptors& descriptors)
{
    KR::Variant device;
    KR::DeviceControlClientInterface* const client = GetClient(&device);
    return client == nullptr ? kNoClient : client->RequestParamValues(device, descriptors);
}

std::int32_t LDeviceCommunicationBridge::GetParamRanges(const KR::Variant& request, KR::ParamRanges& ranges)
{
    KR::Variant device;
    KR::DeviceControlClientInterface* const client = GetClient(&device);
    return client == nullptr ? kNoClient : client->GetParamRanges(device, request, ranges);
}

std::int32_t LDeviceCommunicationBridge::GetParamValues(const KR::ParamDescriptors& descriptors,
                                                        KR::ParamValues& values)
{
    KR::Variant device;
    KR::DeviceControlClientInterface* const client = GetClient(&device);
    return client == nullptr ? kNoClient : client->GetParamValues(device, descriptors, values);
}

bool LDeviceCommunicationBridge::AnswerOwnID(std::int32_t id, KR::Variant& value, std::int32_t& result)
{
    std::int32_t row = 0;
    GetDeviceTableIndex(row);
    const DeviceTableEntry& entry = kDeviceTable[row];
    result = KR::kOk;
    switch (id)
    {
    case kConnectedID:
        value.SetBool(IsConnected());
        return true;
    case kMakerID:
        value.SetString(entry.maker);
        return true;
    case kProductID:
        value.SetString(entry.product);
        return true;
    case kLibraryParamID:
        result = GetReservedParamValue(value);
        return true;
    default:
        return false;
    }
}

std::int32_t LDeviceCommunicationBridge::GetParamValue(const KR::ParamDescriptor& descriptor,
                                                       KR::Variant& value)
{
    KR::Variant device;
    KR::DeviceControlClientInterface* const client = GetClient(&device);
    std::int32_t result = KR::kFail;
    // A library that did not load is as good as none: the names and the connected
    // flag stay available all the same.
    if ((client == nullptr || !client->IsLoaded()) && AnswerOwnID(descriptor.id, value, result))
    {
        return result;
    }
    if (client == nullptr)
    {
        value.Clear();
        return KR::kFail;
    }
    return client->GetParamValue(device, descriptor, value);
}

std::int32_t LDeviceCommunicationBridge::SetParamValue(const KR::ParamDescriptor& descriptor,
                                                       const KR::Variant& value)
{
    if (mDeliveries->GetReceiver() == nullptr)
    {
        return KR::kFail;
    }
    const std::int32_t id = descriptor.id;
    if (id == kConnectionStatusID)
    {
        return PostConnectionStatus(value.ToInt64()) ? 0 : 1;
    }
    if (id >= kFirstRefusedID && id <= kLastRefusedID)
    {
        return KR::kFail;
    }
    KR::Variant device;
    KR::DeviceControlClientInterface* const client = GetClient(&device);
    if (client != nullptr)
    {
        return client->SetParamValue(device, descriptor, value);
    }
    return id == kLibraryParamID ? SetReservedParamValue(value) : KR::kFail;
}

std::int32_t LDeviceCommunicationBridge::SetParamValues(const KR::ParamValues& values)
{
    KR::Variant device;
    KR::DeviceControlClientInterface* const client = GetClient(&device);
    return client == nullptr ? kNoClient : client->SetParamValues(device, values);
}

std::int32_t LDeviceCommunicationBridge::GetReservedParamValue(KR::Variant& value)
{
    KR::Variant device;
    KR::DeviceControlClientInterface* const client = GetClient(&device);
    if (client == nullptr)
    {
        value.Clear();
        return kNoClient;
    }
    return client->GetParamValue(device, KR::ParamDescriptor(kLibraryParamID), value);
}

std::int32_t LDeviceCommunicationBridge::SetReservedParamValue(const KR::Variant& value)
{
    KR::Variant device;
    KR::DeviceControlClientInterface* const client = GetClient(&device);
    return client == nullptr ? kNoClient
                             : client->SetParamValue(device, KR::ParamDescriptor(kLibraryParamID), value);
}

std::int32_t LDeviceCommunicationBridge::GetDeviceTableIndex(std::int32_t& index)
{
    index = 0;
    return KR::kOk;
}

void LDeviceCommunicationBridge::SetReceiver(DeviceCommunicationReceiver* receiver)
{
    mDeliveries->SetReceiver(receiver);
}

void LDeviceCommunicationBridge::EnableReceiving(bool enable)
{
    mDeliveries->EnableReceiving(enable);
}

bool LDeviceCommunicationBridge::IsReceiving() const
{
    return mDeliveries->IsReceiving();
}

std::uint32_t LDeviceCommunicationBridge::GetPendingDeliveryCount() const
{
    return mDeliveries->GetPendingCount();
}

std::uint64_t LDeviceCommunicationBridge::GetDroppedDeliveryCount() const
{
    return mDeliveries->GetDroppedCount();
}
