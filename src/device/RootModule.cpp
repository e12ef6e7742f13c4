#include "device/RootModule.h"

#include "kr/core/Types.h"
#include "kr/thread/Mutex.h"

namespace
{

constexpr std::int32_t kConnectionStatusID = -4;
constexpr std::int32_t kConnectedID = -2;
// The bridge's own parameter, asked for after every connection; its meaning is
// the device-control library's.
constexpr std::int32_t kReservedDeviceParamID = -8;

} // namespace

struct LRootModule::LockBlock
{
    KR::Mutex mutex;
    // Reused for every announcement, so a change allocates no list of its own.
    KR::Array<KR::ParamValue> changes;
};

KR::RCPtr<LRootModule> LRootModule::Create(bool noDevice)
{
    KR::RCPtr<LRootModule> root(new LRootModule(noDevice));
    root->CreateDevice();
    return root;
}

LRootModule::LRootModule(bool noDevice) : mNoDevice(noDevice), mLock(std::make_unique<LockBlock>())
{
    mLock->changes.SetCount(1);
}

LRootModule::~LRootModule()
{
    if (mBridge)
    {
        // The bridge outlives us in the engine; it must not keep a pointer to a
        // receiver that is gone.
        mBridge->EnableReceiving(false);
        mBridge->SetReceiver(nullptr);
        mBridge->DisconnectDevice();
    }
    mLock.reset();
    mCache = KR::RCPtr<LParamCache>();
    mBridge = KR::RCPtr<LDeviceCommunicationInterface>();
    mDevice = KR::RCPtr<LDevice>();
}

void LRootModule::CreateDevice()
{
    mDevice = LDevice::Create();
}

std::int32_t LRootModule::Setup(ParamChangeCallback callback, void* context,
                                const KR::RCPtr<LParamCache>& cache,
                                const KR::RCPtr<LDeviceCommunicationInterface>& bridge,
                                std::int32_t firstParamID)
{
    {
        const KR::MutexLocker lock(mLock->mutex);
        mCallback = callback;
        mCallbackContext = context;
        mCache = cache;
        mBridge = bridge;
        SetFirstParamID(nullptr, firstParamID, 0);
        if (mCache)
        {
            for (std::int32_t i = 0; i < ParamLayout::kParamCount; ++i)
            {
                const std::int32_t id =
                    static_cast<std::int32_t>(static_cast<std::uint32_t>(firstParamID) + i);
                const KR::RCPtr<LParameterizedModule> node = GetModuleForParamID(id);
                if (node)
                {
                    mCache->SetValue(KR::ParamDescriptor(i), node->GetParamValueDefault(id), false);
                }
            }
            mCache->Enable(true);
        }
    }
    // Outside the mutex: the bridge's delivery lock is taken before ours on its
    // worker thread.
    if (mBridge)
    {
        mBridge->SetReceiver(this);
        mBridge->EnableReceiving(true);
    }
    return KR::kOk;
}

std::int32_t LRootModule::ConnectDevice(const KR::Variant& device)
{
    if (!mBridge)
    {
        mNoDevice = true;
        return -1;
    }
    mBridge->DisconnectDevice();
    const std::int32_t result = mBridge->ConnectDevice(device);
    if (result < 0)
    {
        mNoDevice = true;
        return result;
    }
    mNoDevice = false;
    KR::ParamRanges ranges;
    const KR::ParamRange all{GetFirstParamID(), ParamLayout::kParamCount};
    ranges.SetRanges(&all, 1);
    mBridge->RequestParamRanges(ranges);
    mBridge->RequestParamValues(KR::ParamDescriptor(kReservedDeviceParamID));
    return result;
}

std::int32_t LRootModule::StopReceiving()
{
    if (mBridge)
    {
        mBridge->EnableReceiving(false);
    }
    return KR::kOk;
}

KR::RCPtr<LParamCache> LRootModule::GetParamCache()
{
    return mCache;
}

void LRootModule::NotifyEngine(KR::Array<KR::ParamValue>& changes)
{
    if (mCallback)
    {
        mCallback(mCallbackContext, changes);
    }
}

std::int32_t LRootModule::SetParamValue(const KR::ParamDescriptor& descriptor, const KR::Variant& value)
{
    return SetCachedParamValue(descriptor, value);
}

KR::Variant LRootModule::GetParamValue(const KR::ParamDescriptor& descriptor)
{
    return GetCachedParamValue(descriptor);
}

std::int32_t LRootModule::SetCachedParamValue(const KR::ParamDescriptor& descriptor, const KR::Variant& value)
{
    const KR::MutexLocker lock(mLock->mutex);
    const std::int32_t index = ParamLayout::RelativeIndex(descriptor.id, GetFirstParamID());
    if (!ParamLayout::IsParamIndex(index) || !mCache)
    {
        return -1;
    }
    KR::ParamDescriptor key(index);
    key.selector = descriptor.selector;
    KR::Variant cached;
    mCache->GetValue(key, cached);
    if (value.GetType() == KR::Variant::kEmpty || value == cached)
    {
        return KR::kOk;
    }
    const std::int32_t stored = mCache->SetValue(key, value, true);
    if (stored < 0)
    {
        // Nothing was stored, so there is no change to announce.
        return stored;
    }
    OnModuleParamValueChanged(descriptor, value);
    return KR::kOk;
}

KR::Variant LRootModule::GetCachedParamValue(const KR::ParamDescriptor& descriptor)
{
    const KR::MutexLocker lock(mLock->mutex);
    KR::Variant value;
    if (mCache)
    {
        KR::ParamDescriptor key(ParamLayout::RelativeIndex(descriptor.id, GetFirstParamID()));
        key.selector = descriptor.selector;
        mCache->GetValue(key, value);
    }
    return value;
}

void LRootModule::OnModuleParamValueChanged(const KR::ParamDescriptor& descriptor, const KR::Variant& value)
{
    KR::ParamValue& change = mLock->changes.ElementAt(0);
    change.descriptor = descriptor;
    change.value = value;
    NotifyEngine(mLock->changes);
}

KR::RCPtr<LDeviceCommunicationInterface> LRootModule::GetDeviceCommunicationInterface()
{
    return mBridge;
}

std::int32_t LRootModule::SetRootParamValue(const KR::ParamDescriptor& descriptor, const KR::Variant& value)
{
    const KR::MutexLocker lock(mLock->mutex);
    if (descriptor.id == kConnectionStatusID)
    {
        if (!mBridge)
        {
            return 1;
        }
        return mBridge->PostConnectionStatus(value.ToInt64()) ? 0 : 1;
    }
    return IRootModule::SetRootParamValue(descriptor, value);
}

std::int32_t LRootModule::GetParamValueByID(const KR::ParamDescriptor& descriptor, KR::Variant& value)
{
    const KR::MutexLocker lock(mLock->mutex);
    if (descriptor.id < 0)
    {
        if (!mBridge)
        {
            value.Clear();
            return KR::kFail;
        }
        return mBridge->GetParamValue(descriptor, value);
    }
    return IRootModule::GetParamValueByID(descriptor, value);
}

void LRootModule::ReceiveParamValues(const KR::ParamValues& values)
{
    const KR::MutexLocker lock(mLock->mutex);
    const std::uint32_t count = values.GetArraySize();
    for (std::uint32_t i = 0; i < count; ++i)
    {
        KR::ParamDescriptor descriptor(-1);
        KR::Variant value;
        values.GetAt(i, value, descriptor.id, descriptor.selector);
        const std::int32_t id = descriptor.id;
        const KR::RCPtr<LParameterizedModule> node = FindModuleForValue(id);
        if (id == kConnectedID && value.ToBool())
        {
            // The device reports that it is connected.
            VisitParams();
        }
        if (node)
        {
            node->SetParamValueLocal(descriptor, value, true);
        }
        else
        {
            OnModuleParamValueChanged(KR::ParamDescriptor(id), value);
        }
    }
}

std::int32_t LRootModule::ReceiveReserved(std::int32_t /*a*/, std::int32_t /*b*/)
{
    return KR::kFail;
}
