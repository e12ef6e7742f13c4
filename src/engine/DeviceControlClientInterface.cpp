#include "engine/DeviceControlClientInterface.h"

#include "engine/DeviceControlRecord.h"
#include "kr/core/Types.h"
#include "kr/thread/ThreadLog.h"
#include "platform/system/DynamicLibrary.h"
#include "platform/system/FileSystem.h"

#include <cstring>
#include <utility>

namespace KR
{

namespace
{

static_assert(sizeof(Guid) == sizeof(DCCI_Guid));

std::vector<DCCI_Guid> ToLibraryFilter(const Array<Guid>& filter)
{
    std::vector<DCCI_Guid> guids(filter.GetCount());
    for (std::uint32_t i = 0; i < filter.GetCount(); ++i)
    {
        const Guid& guid = filter.ElementAt(i);
        guids[i].data1 = guid.data1;
        guids[i].data2 = guid.data2;
        guids[i].data3 = guid.data3;
        std::memcpy(guids[i].data4, guid.data4, sizeof guids[i].data4);
    }
    return guids;
}

// Calls the entry point through body(entry, record pointers...) with the records of
// the values: kMissing without the entry point, kInvalidArg for a value without a
// record. The records live until body returns.
template <typename Entry, typename Body, typename... Values>
std::int32_t CallEntry(Entry entry, Body body, const Values&... values)
{
    if (entry == nullptr)
    {
        return DeviceControlClientInterface::kMissing;
    }
    const DeviceControlInRecord records[] = {DeviceControlInRecord(values)...};
    for (const DeviceControlInRecord& record : records)
    {
        if (!record.IsValid())
        {
            return kInvalidArg;
        }
    }
    return [&]<std::size_t... I>(std::index_sequence<I...>)
    {
        return body(entry, records[I].Get()...);
    }
    (std::index_sequence_for<Values...>{});
}

// The entry points that take the records and nothing else.
template <typename Entry, typename... Values>
std::int32_t PassRecords(Entry entry, const Values&... values)
{
    return CallEntry(
        entry, [](auto call, auto... records) { return call(records...); }, values...);
}

} // namespace

std::string DeviceControlClientInterface::DefaultLibraryPath()
{
    const std::string folder = Platform::ExecutableFolder();
    return folder.empty() ? std::string() : folder + "/" + DCCI_LIBRARY_FILE_NAME;
}

DeviceControlClientInterface::DeviceControlClientInterface(const std::string& libraryPath)
    : mLibraryPath(libraryPath.empty() ? DefaultLibraryPath() : libraryPath)
{
    if (mLibraryPath.empty())
    {
        mLoadError = "the program's own folder could not be read";
        return;
    }
    mLibrary = Platform::OpenLibrary(mLibraryPath, &mLoadError);
    if (mLibrary == nullptr)
    {
        return;
    }
#define KR_DCCI_RESOLVE(name)                                                                                \
    mEntry.name = reinterpret_cast<PFN_##name>(Platform::FindSymbol(mLibrary, #name));
    DCCI_FOR_EACH_ENTRY_POINT(KR_DCCI_RESOLVE)
#undef KR_DCCI_RESOLVE
}

DeviceControlClientInterface::~DeviceControlClientInterface()
{
    if (mLibrary == nullptr)
    {
        return;
    }
    if (mEntry.DCCI_ReleaseAll == nullptr)
    {
        // Without it nothing says that the library's threads have stopped calling
        // back; unloading their code under them would be worse than keeping it.
        return;
    }
    mEntry.DCCI_ReleaseAll();
    Platform::CloseLibrary(mLibrary);
}

std::vector<std::string> DeviceControlClientInterface::GetMissingEntryPoints() const
{
    std::vector<std::string> missing;
#define KR_DCCI_CHECK(name)                                                                                  \
    if (mEntry.name == nullptr)                                                                              \
    {                                                                                                        \
        missing.emplace_back(#name);                                                                         \
    }
    DCCI_FOR_EACH_ENTRY_POINT(KR_DCCI_CHECK)
#undef KR_DCCI_CHECK
    return missing;
}

std::int32_t DeviceControlClientInterface::FindDevices(const Array<Guid>& filter, Variant& devices)
{
    devices.Clear();
    if (mEntry.DCCI_FindDevices == nullptr)
    {
        return kMissing;
    }
    const std::vector<DCCI_Guid> guids = ToLibraryFilter(filter);
    return ReadDeviceControlOutput(
        [&](DCCI_ValueBuffer* buffer)
        { return mEntry.DCCI_FindDevices(guids.data(), static_cast<std::uint32_t>(guids.size()), buffer); },
        devices);
}

std::int32_t DeviceControlClientInterface::FindRemoteDevices(const Array<Guid>& filter, Variant& devices,
                                                             std::int32_t fullList)
{
    devices.Clear();
    if (mEntry.DCCI_FindRemoteDevices == nullptr)
    {
        return kMissing;
    }
    const std::vector<DCCI_Guid> guids = ToLibraryFilter(filter);
    return ReadDeviceControlOutput(
        [&](DCCI_ValueBuffer* buffer)
        {
            return mEntry.DCCI_FindRemoteDevices(guids.data(), static_cast<std::uint32_t>(guids.size()),
                                                 buffer, fullList);
        },
        devices);
}

DeviceControlClientInterface::DeliveryTarget*
DeviceControlClientInterface::TargetFor(DeliveryCallback callback, void* context)
{
    const MutexLocker lock(mTargetsLock);
    for (const std::unique_ptr<DeliveryTarget>& target : mTargets)
    {
        if (target->callback == callback && target->context == context)
        {
            return target.get();
        }
    }
    mTargets.push_back(std::make_unique<DeliveryTarget>(DeliveryTarget{callback, context}));
    return mTargets.back().get();
}

void DeviceControlClientInterface::Deliver(void* target, std::uint32_t sequence, const DCCI_Value* values)
{
    // Runs on the library's thread, inside the library: nothing may be thrown back.
    try
    {
        ParamValues list;
        if (values == nullptr || values->data == nullptr || !IsOneWholeRecord(values->data, values->size) ||
            Variant::Deserialize(list, values->data, values->size) != kOk ||
            list.GetType() != Variant::kArray)
        {
            LogThreadProblem(
                "KR::DeviceControlClientInterface: a delivery that is not a list record was dropped");
            return;
        }
        const DeliveryTarget& to = *static_cast<const DeliveryTarget*>(target);
        to.callback(to.context, sequence, list);
    }
    catch (...)
    {
        LogThreadProblem("KR::DeviceControlClientInterface: a delivery failed and was dropped");
    }
}

std::int32_t DeviceControlClientInterface::ConnectDevice(const Variant& device, DeliveryCallback callback,
                                                         void* context)
{
    DeliveryTarget* const target = callback != nullptr ? TargetFor(callback, context) : nullptr;
    return CallEntry(
        mEntry.DCCI_ConnectDevice,
        [&](auto entry, const DCCI_Value* deviceRecord)
        { return entry(deviceRecord, target != nullptr ? &Deliver : nullptr, target); },
        device);
}

std::int32_t DeviceControlClientInterface::RequestParamRanges(const Variant& device,
                                                              const ParamRanges& ranges)
{
    return PassRecords(mEntry.DCCI_RequestParamRanges, device, ranges);
}

std::int32_t DeviceControlClientInterface::RequestParamValues(const Variant& device,
                                                              const ParamDescriptors& descriptors)
{
    return PassRecords(mEntry.DCCI_RequestParamValues, device, descriptors);
}

std::int32_t DeviceControlClientInterface::GetParamRanges(const Variant& device, const Variant& request,
                                                          ParamRanges& ranges)
{
    ranges.Clear();
    return CallEntry(
        mEntry.DCCI_GetParamRanges,
        [&](auto entry, const DCCI_Value* deviceRecord, const DCCI_Value* requestRecord)
        {
            return ReadDeviceControlOutput(
                [&](DCCI_ValueBuffer* buffer) { return entry(deviceRecord, requestRecord, buffer); }, ranges);
        },
        device, request);
}

std::int32_t DeviceControlClientInterface::GetParamValues(const Variant& device,
                                                          const ParamDescriptors& descriptors,
                                                          ParamValues& values)
{
    values.Clear();
    return CallEntry(
        mEntry.DCCI_GetParamValues,
        [&](auto entry, const DCCI_Value* deviceRecord, const DCCI_Value* descriptorsRecord)
        {
            return ReadDeviceControlOutput([&](DCCI_ValueBuffer* buffer)
                                           { return entry(deviceRecord, descriptorsRecord, buffer); },
                                           values);
        },
        device, descriptors);
}

std::int32_t DeviceControlClientInterface::GetParamValue(const Variant& device,
                                                         const ParamDescriptor& descriptor, Variant& value)
{
    value.Clear();
    return CallEntry(
        mEntry.DCCI_GetParamValue,
        [&](auto entry, const DCCI_Value* deviceRecord, const DCCI_Value* selectorRecord)
        {
            const DCCI_ParamDescriptor libraryDescriptor{descriptor.id, *selectorRecord};
            return ReadDeviceControlOutput([&](DCCI_ValueBuffer* buffer)
                                           { return entry(deviceRecord, &libraryDescriptor, buffer); },
                                           value);
        },
        device, descriptor.selector);
}

std::int32_t DeviceControlClientInterface::SetParamValue(const Variant& device,
                                                         const ParamDescriptor& descriptor,
                                                         const Variant& value)
{
    return CallEntry(
        mEntry.DCCI_SetParamValue,
        [&](auto entry, const DCCI_Value* deviceRecord, const DCCI_Value* selectorRecord,
            const DCCI_Value* valueRecord)
        {
            const DCCI_ParamDescriptor libraryDescriptor{descriptor.id, *selectorRecord};
            return entry(deviceRecord, &libraryDescriptor, valueRecord);
        },
        device, descriptor.selector, value);
}

std::int32_t DeviceControlClientInterface::SetParamValues(const Variant& device, const ParamValues& values)
{
    return PassRecords(mEntry.DCCI_SetParamValues, device, values);
}

bool DeviceControlClientInterface::IsDeviceConnected(const Variant& device)
{
    return PassRecords(mEntry.DCCI_IsDeviceConnected, device) == DCCI_OK;
}

std::int32_t DeviceControlClientInterface::DisconnectDevice(const Variant& device)
{
    return PassRecords(mEntry.DCCI_DisconnectDevice, device);
}

std::int32_t DeviceControlClientInterface::GetDeviceInfo(const Variant& device, DCCI_DeviceInfo& info)
{
    std::memset(&info, 0, sizeof info);
    return CallEntry(
        mEntry.DCCI_GetDeviceInfo,
        [&](auto entry, const DCCI_Value* deviceRecord) { return entry(deviceRecord, &info); }, device);
}

} // namespace KR
