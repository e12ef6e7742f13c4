#include "engine/RootModuleEngine.h"

#include "engine/DeviceCommunicationBridge.h"
#include "kr/core/Exception.h"
#include "kr/notify/ApplicationCenter.h"
#include "kr/notify/Notification.h"
#include "kr/thread/Thread.h"
#include "kr/thread/ThreadLog.h"

#include <string>
#include <utility>

namespace
{

constexpr std::string_view kInitializeRegistrationSite =
    " : LRootModuleEngine::Initialize : Engine\\PresetEditorCommon\\RootModuleEngine : Line 237";

// Device searches look at every device class.
const KR::Array<KR::Guid>& AnyDeviceClass()
{
    static const KR::Array<KR::Guid> none;
    return none;
}

} // namespace

KR::RCPtr<LRootModuleEngine> LRootModuleEngine::Create()
{
    return Create(KR::RCPtr<LDeviceCommunicationInterface>());
}

KR::RCPtr<LRootModuleEngine> LRootModuleEngine::Create(const KR::RCPtr<LDeviceCommunicationInterface>& bridge)
{
    return KR::RCPtr<LRootModuleEngine>(new LRootModuleEngine(bridge));
}

LRootModuleEngine::LRootModuleEngine(const KR::RCPtr<LDeviceCommunicationInterface>& bridge)
    : mBridge(bridge), mWorkerDone(KR::LEvent::Create(false))
{
}

LRootModuleEngine::~LRootModuleEngine()
{
    // Normally stopped at ReleaseInternalReferences already; an engine that never
    // registered anywhere goes straight here.
    StopWorker();
    if (mRootModule)
    {
        mRootModule->StopReceiving();
    }
}

// --- Start-up -----------------------------------------------------------------------

KR::Result LRootModuleEngine::Initialize(std::int32_t firstParamID)
{
    mHandler = KR::LNotificationHandler<LRootModuleEngine>::Create(this);
    if (!mHandler)
    {
        return KR::kFail;
    }
    const KR::Result registered =
        mHandler->Register(&LRootModuleEngine::OnParamModuleChangeRequest,
                           KR::GetApplicationNotificationCenter(), kNidParamModuleChangeReq);
    KR::ThrowIfFailed(registered, kInitializeRegistrationSite);

    if (!mBridge)
    {
        mBridge = LDeviceCommunicationBridge::Create();
    }
    mCache = LParamCache::Create(kParamCount);

    mNoDevice = false;
    KR::Array<KR::Variant> devices;
    if (KR::Failed(mBridge->Init()))
    {
        mNoDevice = true;
    }
    else
    {
        mBridge->FindDevices(AnyDeviceClass(), devices);
    }

    mRootModule = LRootModule::Create(mNoDevice);
    mRootModule->Setup(&LRootModuleEngine::OnValuesChanged, this, mCache, mBridge, firstParamID);
    mInitialized = true;

    RequestParamValues(KR::ParamDescriptors(KR::ParamRange{mRootModule->GetFirstParamID(), kParamCount}));

    if (!mNoDevice && devices.GetCount() > 0)
    {
        ConnectDevice(devices.ElementAt(0), false);
    }
    return KR::kOk;
}

std::int32_t LRootModuleEngine::GetFirstParamID() const
{
    return mRootModule ? mRootModule->GetFirstParamID() : 0;
}

// --- Parameter values ---------------------------------------------------------------

KR::Result LRootModuleEngine::GetParamValue(const KR::ParamDescriptor& descriptor, KR::Variant& value)
{
    if (!mRootModule)
    {
        value.Clear();
        return KR::kFail;
    }
    return mRootModule->GetParamValueByID(descriptor, value);
}

KR::Result LRootModuleEngine::GetParamValues(const KR::ParamRange& range, KR::Array<KR::ParamValue>& values,
                                             std::int32_t start)
{
    if (start < 0)
    {
        values.RemoveAll();
        start = 0;
    }
    const std::int32_t count = range.count > 0 ? range.count : 0;
    const auto first = static_cast<std::uint32_t>(start);
    if (values.GetCount() < first + static_cast<std::uint32_t>(count))
    {
        values.SetCount(first + static_cast<std::uint32_t>(count));
    }
    for (std::int32_t k = 0; k < count; ++k)
    {
        KR::ParamValue& entry = values.ElementAt(first + static_cast<std::uint32_t>(k));
        entry.descriptor = KR::ParamDescriptor(range.firstID + k);
        GetParamValue(entry.descriptor, entry.value);
    }
    return KR::kOk;
}

KR::Result LRootModuleEngine::SetParamValue(const KR::ParamDescriptor& descriptor, const KR::Variant& value)
{
    if (mState.load() != kConnected || !mRootModule)
    {
        return KR::kFail;
    }
    const KR::Result result = mRootModule->SetRootParamValue(descriptor, value);
    if (KR::Failed(result))
    {
        UpdateConnectionState();
    }
    return result;
}

KR::Result LRootModuleEngine::RequestParamValues(const KR::ParamDescriptors& descriptors)
{
    if (descriptors.GetType() != KR::Variant::kArray || !mRootModule)
    {
        return KR::kOk;
    }
    KR::Array<KR::ParamValue> values;
    const std::uint32_t count = descriptors.GetArraySize();
    for (std::uint32_t i = 0; i < count; ++i)
    {
        KR::ParamValue entry;
        if (descriptors.GetAt(i, entry.descriptor) == 0)
        {
            mRootModule->GetParamValueByID(entry.descriptor, entry.value);
            values.AddItem(entry);
        }
    }
    PostParamValues(values.GetData(), values.GetCount());
    return KR::kOk;
}

void LRootModuleEngine::OnValuesChanged(void* context, KR::Array<KR::ParamValue>& changes)
{
    static_cast<LRootModuleEngine*>(context)->PostParamValues(changes.GetData(), changes.GetCount());
}

KR::Result
LRootModuleEngine::OnParamModuleChangeRequest(const KR::RCPtr<KR::LNotificationDistributor>& /*sender*/,
                                              const KR::RCPtr<KR::LNotification>& notification)
{
    const KR::RCPtr<LParamChangePair> request = notification->GetDataAs<LParamChangePair>();
    if (request && mState.load() == kConnected && mRootModule &&
        KR::Failed(mRootModule->SetRootParamValue(request->first, request->second)))
    {
        UpdateConnectionState();
    }
    return 1;
}

// --- Posting ------------------------------------------------------------------------

void LRootModuleEngine::PostParamValues(const KR::ParamValue* values, std::uint32_t count)
{
    if (values == nullptr || count == 0)
    {
        return;
    }
    const KR::RCPtr<KR::LNotificationCenter> center = KR::GetApplicationNotificationCenter();
    if (!center)
    {
        return;
    }
    // A pair or two is cheaper to take apart one by one; more travel as one list.
    if (count <= 2)
    {
        for (std::uint32_t i = 0; i < count; ++i)
        {
            center->PostNotificationByName(kNidParamModuleStateChange,
                                           new LParamChangePair(values[i].descriptor, values[i].value));
        }
        return;
    }
    KR::ParamValues list;
    list.SetValues(values, count);
    center->PostNotificationByName(kNidParamModuleStateChange, new LParamValuesWrapper(std::move(list)));
}

void LRootModuleEngine::PostConnectionState(DeviceConnectionState state)
{
    if (const KR::RCPtr<KR::LNotificationCenter> center = KR::GetApplicationNotificationCenter())
    {
        center->PostNotificationByName(kNidDeviceConnectionStateChange, new StateHolder(state));
    }
}

void LRootModuleEngine::PostDeviceListChange(std::uint32_t count)
{
    if (const KR::RCPtr<KR::LNotificationCenter> center = KR::GetApplicationNotificationCenter())
    {
        center->PostNotificationByName(kNidRemoteDeviceListChange, new CountHolder(count));
    }
}

// --- Connection ---------------------------------------------------------------------

bool LRootModuleEngine::IsWatched(const KR::Variant& device)
{
    if (device.IsEmpty() || !mBridge)
    {
        return false;
    }
    DeviceInfoRecord info;
    return KR::Succeeded(mBridge->GetDeviceInfo(device, info)) && info.IsWatched();
}

void LRootModuleEngine::UpdateConnectionState()
{
    if (!mBridge)
    {
        return;
    }
    const KR::MutexLocker lock(mLock);
    const DeviceConnectionState old = mState.load();
    DeviceConnectionState next = kNoDevice;
    if (mBridge->IsConnected())
    {
        next = kConnected;
    }
    else if (mWaitingForDevice.load())
    {
        next = kWaitingForDevice;
    }
    else if (mWatchLostDevice.load() && IsWatched(mCurrentDevice))
    {
        if (old == kConnected)
        {
            mLastDevice = mCurrentDevice;
        }
        next = mLastDevice.IsEmpty() ? kNoDevice : kLostDevice;
    }
    if (next != old)
    {
        mState = next;
        PostConnectionState(next);
    }
}

KR::Result LRootModuleEngine::ConnectDevice(const KR::Variant& device, bool wait)
{
    if (!mRootModule)
    {
        return KR::kFail;
    }
    mConnecting = true;
    Disconnect();
    KR::Result result = KR::kFail;
    bool startWorker = false;
    {
        const KR::MutexLocker lock(mLock);
        result = mRootModule->ConnectDevice(device);
        if (KR::Succeeded(result))
        {
            mCurrentDevice = device;
            startWorker = IsWatched(mCurrentDevice);
        }
        else if (!wait)
        {
            mCurrentDevice.Clear();
        }
        else if (!device.IsEmpty() && IsWatched(device))
        {
            mWaitingForDevice = true;
            mCurrentDevice = device;
            startWorker = true;
        }
    }
    // Outside the lock: starting may first wait for a stopping worker, which may be
    // waiting for this very lock.
    if (startWorker)
    {
        StartWorker();
    }
    mConnecting = false;
    UpdateConnectionState();
    StopWorkerIfIdle();
    return result;
}

KR::Result LRootModuleEngine::Disconnect()
{
    if (!mBridge)
    {
        return KR::kFail;
    }
    KR::Result result = KR::kFail;
    {
        const KR::MutexLocker lock(mLock);
        mWaitingForDevice = false;
        mLastDevice.Clear();
        mCurrentDevice.Clear();
        result = mBridge->DisconnectDevice();
    }
    if (!mConnecting.load())
    {
        UpdateConnectionState();
        StopWorkerIfIdle();
    }
    return result;
}

// --- Remote devices -----------------------------------------------------------------

KR::Result LRootModuleEngine::GetRemoteDeviceList(KR::Array<KR::Variant>& devices)
{
    if (mDiscoveryEnabled.load())
    {
        const KR::MutexLocker lock(mLock);
        devices = mRemoteDevices;
        return KR::kOk;
    }
    if (!mBridge)
    {
        return KR::kFail;
    }
    KR::Array<KR::Variant> fresh;
    const KR::Result result = mBridge->WaitForDeviceListChange(AnyDeviceClass(), fresh, 0);
    const KR::MutexLocker lock(mLock);
    if (KR::Failed(result))
    {
        mRemoteDevices.RemoveAll();
        return result;
    }
    mRemoteDevices = fresh;
    devices = fresh;
    return KR::kOk;
}

KR::Result LRootModuleEngine::EnableRemoteDeviceDiscovery(bool enable)
{
    if (enable == mDiscoveryEnabled.load())
    {
        return KR::kOk;
    }
    mDiscoveryEnabled = enable;
    if (!enable)
    {
        StopWorkerIfIdle();
        return KR::kOk;
    }
    if (!mDiscoveryQueried)
    {
        KR::Array<KR::Variant> scratch;
        mFirstQueryResult =
            mBridge ? mBridge->WaitForDeviceListChange(AnyDeviceClass(), scratch, 0) : KR::kFail;
        mDiscoveryQueried = true;
    }
    if (KR::Failed(mFirstQueryResult))
    {
        mDiscoveryEnabled = false;
        return mFirstQueryResult;
    }
    StartWorker();
    return mFirstQueryResult;
}

KR::Result LRootModuleEngine::StartRemoteDeviceDiscovery()
{
    if (mDiscoveryEnabled.load())
    {
        return KR::kOk;
    }
    if (mDiscoveryQueried.load() && KR::Failed(mFirstQueryResult.load()))
    {
        return mFirstQueryResult;
    }
    mDiscoveryEnabled = true;
    StartWorker();
    return KR::kOk;
}

void LRootModuleEngine::QueryDevicesFirstTime()
{
    KR::Array<KR::Variant> scratch;
    {
        const KR::MutexLocker lock(mLock);
        scratch = mRemoteDevices;
    }
    const KR::Result result =
        mBridge ? mBridge->WaitForDeviceListChange(AnyDeviceClass(), scratch, 0) : KR::kFail;
    mFirstQueryResult = result;
    mDiscoveryQueried = true;
    if (KR::Failed(result))
    {
        KR::LogThreadProblem("LRootModuleEngine: remote-device discovery is off (" +
                             KR::ResultToString(result) + ")");
        mDiscoveryEnabled = false;
        StopWorkerIfIdle();
    }
    else if (result == LDeviceCommunicationInterface::kListChanged && !mStopRequested.load())
    {
        const KR::MutexLocker lock(mLock);
        mRemoteDevices = scratch;
        PostDeviceListChange(scratch.GetCount());
    }
}

// --- Worker -------------------------------------------------------------------------

bool LRootModuleEngine::IsWorkerRunning() const
{
    // A threader whose thread has ended runs nothing, whatever its busy flag says.
    return mThreader.IsBusy() && !mThreader.IsFinished();
}

KR::Result LRootModuleEngine::StartWorker()
{
    if (IsWorkerRunning())
    {
        if (!mStopRequested.load())
        {
            return 1;
        }
        if (!StopWorker())
        {
            return KR::kFail;
        }
    }
    mStopRequested = false;
    if (mBridge)
    {
        mBridge->InterruptListWaits(false);
    }
    mWake.Reset();
    // The threader's reference to the engine counts as internal while the worker runs,
    // so that the owner's last release still reaches ReleaseInternalReferences, which
    // stops the worker. DoWork gives it back.
    AdjustInternalRefCount(1);
    const KR::Result result = mThreader.Trigger(KR::RCPtr<KR::LThreadWorker>(this), nullptr, mWorkerDone,
                                                KR::kThreadPriorityNormal);
    if (KR::Failed(result))
    {
        AdjustInternalRefCount(-1);
        RequestStop();
    }
    return result;
}

bool LRootModuleEngine::StopWorker()
{
    if (!IsWorkerRunning())
    {
        return true;
    }
    RequestStop();
    if (mWorkerThread.load() == std::this_thread::get_id())
    {
        // The worker itself is letting go of the engine: its loop ends on its own.
        return false;
    }
    while (IsWorkerRunning())
    {
        if (mWorkerDone->Wait(kStopWaitMs) == KR::kWaitTimeout)
        {
            KR::LogThreadProblem("LRootModuleEngine::StopWorker: the worker has not ended after 10000 ms; "
                                 "still waiting");
        }
    }
    return true;
}

void LRootModuleEngine::StopWorkerIfIdle()
{
    if (!IsWorkerRunning() || mStopRequested.load() || mDiscoveryEnabled.load() || mConnecting.load())
    {
        return;
    }
    const DeviceConnectionState state = mState.load();
    bool stop = state == kNoDevice;
    if (state == kConnected)
    {
        const KR::MutexLocker lock(mLock);
        stop = !IsWatched(mCurrentDevice);
    }
    if (stop)
    {
        RequestStop();
    }
}

void LRootModuleEngine::RequestStop()
{
    mStopRequested = true;
    // The worker may be in the bridge's wait for a device-list change, or pausing.
    if (mBridge)
    {
        mBridge->InterruptListWaits(true);
    }
    mWake.Set();
}

void LRootModuleEngine::PauseWorker()
{
    if (!mStopRequested.load())
    {
        mWake.Wait(kPollIntervalMs);
    }
}

KR::Result LRootModuleEngine::DoWork(KR::RCPtr<KR::LRefCountedObject>& /*param*/)
{
    // The threader keeps one thread for its whole life, so this stays true of it.
    mWorkerThread = std::this_thread::get_id();
    // Gives back the internal reference StartWorker counted, also when the loop throws.
    struct InternalReference
    {
        LRootModuleEngine& engine;
        ~InternalReference() { engine.AdjustInternalRefCount(-1); }
    } internalReference{*this};

    bool listComplete = false;
    int rounds = 0;
    KR::Array<KR::Variant> scratch;
    const bool haveCenter = static_cast<bool>(KR::GetApplicationNotificationCenter());
    while (haveCenter && !mStopRequested.load())
    {
        if (mDiscoveryEnabled.load() && !mDiscoveryQueried.load())
        {
            QueryDevicesFirstTime();
            continue;
        }
        bool check = false;
        {
            const KR::MutexLocker lock(mLock);
            check = IsWatched(mCurrentDevice);
        }
        if (check)
        {
            UpdateConnectionState();
            const KR::MutexLocker lock(mLock);
            const DeviceConnectionState state = mState.load();
            const KR::Variant candidate = state == kWaitingForDevice ? mCurrentDevice
                                          : state == kLostDevice     ? mLastDevice
                                                                     : KR::Variant();
            if (!candidate.IsEmpty() && KR::Succeeded(mRootModule->ConnectDevice(candidate)))
            {
                if (state == kLostDevice)
                {
                    mLastDevice.Clear();
                }
                else
                {
                    mWaitingForDevice = false;
                }
                mState = kConnected;
                PostConnectionState(kConnected);
            }
        }

        if (!mDiscoveryEnabled.load())
        {
            PauseWorker();
        }
        else if (!listComplete && rounds < kChangeWaitRounds)
        {
            // The bridge's own wait sets the pace here.
            ++rounds;
            {
                const KR::MutexLocker lock(mLock);
                scratch = mRemoteDevices;
            }
            const KR::Result result =
                mBridge->WaitForDeviceListChange(AnyDeviceClass(), scratch, kPollIntervalMs);
            if (!mStopRequested.load() && result == LDeviceCommunicationInterface::kListChanged)
            {
                const KR::MutexLocker lock(mLock);
                mRemoteDevices = scratch;
                PostDeviceListChange(scratch.GetCount());
            }
        }
        else
        {
            rounds = 0;
            scratch.RemoveAll();
            const KR::Result result = mBridge->QueryDeviceList(AnyDeviceClass(), scratch);
            if (!mStopRequested.load())
            {
                if (KR::Succeeded(result))
                {
                    listComplete = result == LDeviceCommunicationInterface::kListComplete;
                    const KR::MutexLocker lock(mLock);
                    if (!(scratch == mRemoteDevices))
                    {
                        mRemoteDevices = scratch;
                        PostDeviceListChange(scratch.GetCount());
                    }
                }
                PauseWorker();
            }
        }
    }
    return KR::kOk;
}

// --- Notifications and shut-down ----------------------------------------------------

KR::Result LRootModuleEngine::Receive(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                      const KR::RCPtr<KR::LNotification>& notification)
{
    if (!mHandler || !mInitialized.load())
    {
        return 0;
    }
    return mHandler->HandleNotification(sender, notification);
}

KR::Result LRootModuleEngine::UnregisterForNotification(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                                        KR::NotificationName name)
{
    if (mHandler)
    {
        mHandler->Unregister(sender, name);
    }
    return KR::LNotificationClient::UnregisterForNotification(sender, name);
}

KR::Result LRootModuleEngine::ReleaseInternalReferences()
{
    StopWorker();
    return KR::LNotificationClient::ReleaseInternalReferences();
}
