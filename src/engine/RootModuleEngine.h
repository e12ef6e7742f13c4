#pragma once
// The one object through which the program reaches the keyboard's 131 preset
// parameters. The engine builds the device model (root module), the parameter cache
// and the device-communication bridge, tracks the device's connection, watches the
// connection and the list of remote devices on a worker thread of its own, and posts
// every change it sees to the application-wide notification center, whose queue the
// UI thread drains at idle.
//
//     KR::RCPtr<LRootModuleEngine> engine = LRootModuleEngine::Create();
//     engine->Initialize(0);                      // UI thread, once, at start-up
//     engine->SetParamValue(KR::ParamDescriptor(12), blockVariant);
//
// Threads: the UI thread (start-up, notification handlers, the main control), the
// MIDI manager's capture thread (SetParamValue, GetFirstParamID, GetParamValues), the
// bridge's delivery thread (value changes reported by the root module) and the
// engine's own worker. The engine lock guards the connection state, the devices and
// the bridge's connection calls; parameter reads and writes go through the root
// module's own mutex instead. Nothing is ever sent synchronously: every notification
// below is posted.

#include "device/DeviceCommunicationInterface.h"
#include "device/ParamCache.h"
#include "device/RootModule.h"
#include "kr/core/Array.h"
#include "kr/core/Holder.h"
#include "kr/core/Pair.h"
#include "kr/core/ParamValues.h"
#include "kr/core/RCPtr.h"
#include "kr/core/Types.h"
#include "kr/core/Variant.h"
#include "kr/core/Wrapper.h"
#include "kr/notify/NotificationClient.h"
#include "kr/notify/NotificationHandler.h"
#include "kr/thread/Event.h"
#include "kr/thread/Mutex.h"
#include "kr/thread/RetriggerableThreader.h"
#include "kr/thread/ThreadWorker.h"

#include <atomic>
#include <cstdint>
#include <thread>

// Posted by the engine (any thread) when parameter values changed or were asked for:
// for one or two values one notification each, carrying an LParamChangePair; for
// three or more one notification carrying all of them as an LParamValuesWrapper.
inline constexpr const char16_t* kNidParamModuleStateChange = u"NID_PARAM_MODULE_STATE_CHANGE";
// Posted by the engine (any thread, the worker above all) when the connection state
// changed; payload LRootModuleEngine::StateHolder with the new state.
inline constexpr const char16_t* kNidDeviceConnectionStateChange = u"NID_DEVICE_CONNECTION_STATE_CHANGE";
// Posted by the engine's worker when the list of remote devices changed; payload
// LRootModuleEngine::CountHolder with the number of devices in the new list.
inline constexpr const char16_t* kNidRemoteDeviceListChange = u"NID_REMOTE_DEVICE_LIST_CHANGE";
// Received from the application center (UI thread): a request to set one parameter,
// payload LParamChangePair (the parameter and its requested value).
inline constexpr const char16_t* kNidParamModuleChangeReq = u"NID_PARAM_MODULE_CHANGE_REQ";

// One parameter and its value, as a notification carries it.
using LParamChangePair = KR::LPair<KR::ParamDescriptor, KR::Variant, &ParamDescriptorToString>;
// Several parameter values, as one notification carries them.
using LParamValuesWrapper = KR::LWrapper<KR::ParamValues, KR::LRefCountedObject>;

class LRootModuleEngine final : public KR::LNotificationClient, private KR::LThreadWorker
{
public:
    enum DeviceConnectionState : std::int32_t
    {
        kNoDevice = 0,
        // A connect was asked to wait for its device, which is not there yet.
        kWaitingForDevice = 1,
        // The connected device was reported lost; it is reconnected when it returns.
        kLostDevice = 2,
        // Parameter values can be written only in this state.
        kConnected = 3,
    };
    using StateHolder = KR::LHolder<DeviceConnectionState>;
    using CountHolder = KR::LHolder<unsigned int>;

    static constexpr std::int32_t kParamCount = 131;
    // The worker's rhythm: between connection checks, between full device-list
    // queries, and the longest wait for a device-list change.
    static constexpr std::uint32_t kPollIntervalMs = 1500;
    // Change-waits of discovery before a full query of the device list.
    static constexpr int kChangeWaitRounds = 8;
    // StopWorker reports a worker that takes longer than this to end, and goes on waiting.
    static constexpr std::uint32_t kStopWaitMs = 10000;

    // An engine that makes its own bridge to the device-control library at Initialize.
    static KR::RCPtr<LRootModuleEngine> Create();
    // An engine that uses `bridge` instead (a scripted bridge in tests).
    static KR::RCPtr<LRootModuleEngine> Create(const KR::RCPtr<LDeviceCommunicationInterface>& bridge);

    // Start-up, once, on the UI thread: registers for "NID_PARAM_MODULE_CHANGE_REQ",
    // makes the bridge, the cache and the root module numbered from firstParamID,
    // posts the 131 initial values and connects the first device the bridge finds.
    // 0; kFail when the handler table cannot be made. Throws KR::FailedResultException
    // when the registration fails.
    KR::Result Initialize(std::int32_t firstParamID);

    std::int32_t GetFirstParamID() const;
    DeviceConnectionState GetConnectionState() const { return mState.load(); }
    KR::RCPtr<LRootModule> GetRootModule() const { return mRootModule; }

    // One value, as the root module reads it.
    KR::Result GetParamValue(const KR::ParamDescriptor& descriptor, KR::Variant& value);
    // The values of range.count ids from range.firstID into values[start + k] (id,
    // empty selector, value); the array grows to hold them. A negative start empties
    // the array first and counts as 0. Returns 0.
    KR::Result GetParamValues(const KR::ParamRange& range, KR::Array<KR::ParamValue>& values,
                              std::int32_t start);
    // Writes one value through the root module: its result, or kFail unless connected.
    // A failed write makes the engine look at the connection again.
    KR::Result SetParamValue(const KR::ParamDescriptor& descriptor, const KR::Variant& value);
    // Posts the current values of the listed parameters (the posting rule above);
    // nothing for an empty or malformed list. Returns 0.
    KR::Result RequestParamValues(const KR::ParamDescriptors& descriptors);

    // The remote devices: with discovery on the list the worker keeps, otherwise a
    // fresh query of the bridge. 0 or the bridge's failure.
    KR::Result GetRemoteDeviceList(KR::Array<KR::Variant>& devices);
    // Switches remote-device discovery on or off. 0 when nothing changes or when
    // switched off; switched on, the result of the first list query ever made (a
    // failure switches discovery off again).
    KR::Result EnableRemoteDeviceDiscovery(bool enable);
    // Switches discovery on without waiting for the MIDI system, for a caller that must not
    // (the user interface at start-up: a MIDI server that does not answer would keep the
    // window from showing). The first list query is then the worker's first step, and a
    // failed one switches discovery off again there. 0, or what the first query answered
    // when one was made before.
    KR::Result StartRemoteDeviceDiscovery();
    // Connects `device`. When that fails and wait is set, the engine waits for the
    // device (state 1) and its worker connects it once it is there, provided the
    // library says the device's connection is worth watching. The root module's result.
    KR::Result ConnectDevice(const KR::Variant& device, bool wait);
    // The bridge's result.
    KR::Result Disconnect();

    // True while the worker thread is running a loop.
    bool IsWorkerRunning() const;

    // LNotificationClient: dispatches through the handler table once initialised.
    KR::Result Receive(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                       const KR::RCPtr<KR::LNotification>& notification) override;
    KR::Result UnregisterForNotification(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                         KR::NotificationName name) override;
    // Shut-down: stops the worker, unregisters everywhere; kOk when only the caller's
    // reference is left.
    KR::Result ReleaseInternalReferences() override;

private:
    explicit LRootModuleEngine(const KR::RCPtr<LDeviceCommunicationInterface>& bridge);
    ~LRootModuleEngine() override;

    // The worker loop, on the threader's thread.
    KR::Result DoWork(KR::RCPtr<KR::LRefCountedObject>& param) override;

    // The root module's change callback (context: the engine).
    static void OnValuesChanged(void* context, KR::Array<KR::ParamValue>& changes);
    KR::Result OnParamModuleChangeRequest(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                          const KR::RCPtr<KR::LNotification>& notification);

    // The posting rule of "NID_PARAM_MODULE_STATE_CHANGE".
    void PostParamValues(const KR::ParamValue* values, std::uint32_t count);
    void PostConnectionState(DeviceConnectionState state);
    void PostDeviceListChange(std::uint32_t count);

    // Works out the state from the bridge and the devices and posts it when it changed.
    void UpdateConnectionState();
    // Whether the library says `device` is worth watching; false for no device.
    bool IsWatched(const KR::Variant& device);

    // 0 started, 1 running already, kFail when a stopping worker could not be waited
    // for or the threader refused.
    KR::Result StartWorker();
    // Asks the worker to stop and waits until it has (not when called on the worker
    // itself). True when it is not running at the end.
    bool StopWorker();
    // Asks the worker to stop, without waiting, when nothing needs it any more.
    void StopWorkerIfIdle();
    // Asks the worker to stop and wakes it from its waits.
    void RequestStop();
    // The first query of discovery, on the worker (StartRemoteDeviceDiscovery).
    void QueryDevicesFirstTime();
    // Sleeps kPollIntervalMs, or less when a stop is asked for.
    void PauseWorker();

    KR::RCPtr<KR::LNotificationHandler<LRootModuleEngine>> mHandler;
    std::atomic<bool> mInitialized{false};
    std::atomic<bool> mNoDevice{false};
    std::atomic<bool> mStopRequested{true};
    std::atomic<bool> mWaitingForDevice{false};
    // Lets the state computation report a lost device; nothing sets it in this program,
    // whose bridge always reports itself connected.
    std::atomic<bool> mWatchLostDevice{false};
    std::atomic<bool> mDiscoveryEnabled{false};
    std::atomic<bool> mDiscoveryQueried{false};
    std::atomic<bool> mConnecting{false};
    std::atomic<KR::Result> mFirstQueryResult{KR::kOk};
    std::atomic<DeviceConnectionState> mState{kNoDevice};

    // Guards the devices, the device list and the connection calls on the bridge.
    mutable KR::Mutex mLock;
    KR::Array<KR::Variant> mRemoteDevices;
    KR::Variant mCurrentDevice;
    KR::Variant mLastDevice;

    KR::RCPtr<LDeviceCommunicationInterface> mBridge;
    KR::RCPtr<LParamCache> mCache;
    KR::RCPtr<LRootModule> mRootModule;

    // Wakes a pausing worker when a stop is asked for.
    KR::Event mWake{true};
    // Set by the threader when a worker run has ended and the threader is free again.
    KR::RCPtr<KR::LEvent> mWorkerDone;
    std::atomic<std::thread::id> mWorkerThread{};
    // Last member: destroyed first, so its thread never outlives what it works on.
    KR::RetriggerableThreader mThreader;
};
