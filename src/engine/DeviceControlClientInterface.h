#pragma once
// The framework's client of the device-control library (libDeviceControlClient.so),
// loaded at run time. It turns the library's C calls, where every value crosses as a
// serialised variant record, into calls on KR::Variant and the parameter lists.

#include "kr/core/Array.h"
#include "kr/core/Guid.h"
#include "kr/core/ParamValues.h"
#include "kr/core/Variant.h"
#include "kr/thread/Mutex.h"
#include "libs/devicecontrol/DeviceControlClientApi.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace KR
{

// Every call returns kMissing when the library or that entry point is not there,
// else the library's result (negative on failure). The object exists, and answers,
// even when the library did not load. Calls may come from any thread.
class DeviceControlClientInterface
{
public:
    static constexpr std::int32_t kMissing = -1;

    // Called on a thread of the library with each list of parameter values it
    // delivers; `values` may be moved from. sequence counts the connection's deliveries.
    using DeliveryCallback = void (*)(void* context, std::uint32_t sequence, ParamValues& values);

    // Where the program finds the library: its own folder.
    static std::string DefaultLibraryPath();

    // Loads the library at libraryPath (empty: DefaultLibraryPath) and resolves the
    // entry points by name.
    explicit DeviceControlClientInterface(const std::string& libraryPath = std::string());
    // Ends every connection (DCCI_ReleaseAll), after which no delivery runs, and
    // unloads the library.
    ~DeviceControlClientInterface();
    DeviceControlClientInterface(const DeviceControlClientInterface&) = delete;
    DeviceControlClientInterface& operator=(const DeviceControlClientInterface&) = delete;

    bool IsLoaded() const { return mLibrary != nullptr; }
    const std::string& GetLibraryPath() const { return mLibraryPath; }
    // Why the library did not load; empty when it did.
    const std::string& GetLoadError() const { return mLoadError; }
    // Entry points the loaded library lacks, by name.
    std::vector<std::string> GetMissingEntryPoints() const;

    // Every device of the filter's classes (all classes for an empty filter) as a list
    // variant with one device per element.
    std::int32_t FindDevices(const Array<Guid>& filter, Variant& devices);
    // The same with the caller's choice of a full list (fullList 1: a result of 1
    // means the list holds every device there is).
    std::int32_t FindRemoteDevices(const Array<Guid>& filter, Variant& devices, std::int32_t fullList);
    // From a successful connect until DisconnectDevice or the destructor returns, the
    // library may call callback(context, ...). A delivery that is not one whole list
    // record is dropped.
    std::int32_t ConnectDevice(const Variant& device, DeliveryCallback callback, void* context);
    std::int32_t RequestParamRanges(const Variant& device, const ParamRanges& ranges);
    std::int32_t RequestParamValues(const Variant& device, const ParamDescriptors& descriptors);
    std::int32_t GetParamRanges(const Variant& device, const Variant& request, ParamRanges& ranges);
    std::int32_t GetParamValues(const Variant& device, const ParamDescriptors& descriptors,
                                ParamValues& values);
    std::int32_t GetParamValue(const Variant& device, const ParamDescriptor& descriptor, Variant& value);
    std::int32_t SetParamValue(const Variant& device, const ParamDescriptor& descriptor,
                               const Variant& value);
    std::int32_t SetParamValues(const Variant& device, const ParamValues& values);
    // False also when the entry point is missing.
    bool IsDeviceConnected(const Variant& device);
    std::int32_t DisconnectDevice(const Variant& device);
    std::int32_t GetDeviceInfo(const Variant& device, DCCI_DeviceInfo& info);

private:
    struct EntryPoints
    {
#define KR_DCCI_ENTRY_POINTER(name) PFN_##name name = nullptr;
        DCCI_FOR_EACH_ENTRY_POINT(KR_DCCI_ENTRY_POINTER)
#undef KR_DCCI_ENTRY_POINTER
    };

    // Where the library's deliveries for one (callback, context) pair go. Kept until
    // the library is released, since a delivery may still be running when the
    // connection that asked for it is replaced.
    struct DeliveryTarget
    {
        DeliveryCallback callback;
        void* context;
    };

    static void Deliver(void* target, std::uint32_t sequence, const DCCI_Value* values);
    DeliveryTarget* TargetFor(DeliveryCallback callback, void* context);

    std::string mLibraryPath;
    std::string mLoadError;
    void* mLibrary = nullptr;
    EntryPoints mEntry;
    Mutex mTargetsLock;
    std::vector<std::unique_ptr<DeliveryTarget>> mTargets;
};

} // namespace KR
