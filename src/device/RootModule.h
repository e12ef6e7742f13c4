#pragma once
// The model's root: owns the device tree, keeps the 131 values in the parameter
// cache, announces every change through the engine's callback, and receives the
// values that arrive from the keyboard. Every entry that another thread can
// reach runs under one re-entrant mutex.

#include "device/ParamCache.h"
#include "device/RootModuleInterface.h"
#include "kr/core/Array.h"

#include <atomic>
#include <cstdint>
#include <memory>

class LRootModule final : public IRootModule, public DeviceCommunicationReceiver
{
public:
    // Called with one element per changed value, on the thread that made the
    // change, with the root's mutex held.
    using ParamChangeCallback = void (*)(void* context, KR::Array<KR::ParamValue>& changes);

    // The root with its whole device tree, not yet numbered. noDevice: reads and
    // writes go to the cache only until ConnectDevice succeeds.
    static KR::RCPtr<LRootModule> Create(bool noDevice);

    // Once, right after Create: numbers the tree from firstParamID, fills the cache
    // with every control's default (announcing nothing), enables the cache and
    // registers with the bridge for deliveries. Always 0.
    std::int32_t Setup(ParamChangeCallback callback, void* context, const KR::RCPtr<LParamCache>& cache,
                       const KR::RCPtr<LDeviceCommunicationInterface>& bridge, std::int32_t firstParamID);

    // Reconnects the bridge to device and, on success, asks it for all 131 values
    // and parameter -8; on failure the model works on the cache alone. May run on
    // the engine's poller thread. The bridge's connect result.
    std::int32_t ConnectDevice(const KR::Variant& device);
    // Stops deliveries from the bridge; a delivery in progress finishes first.
    // Must not be called with the root's mutex held. Always 0.
    std::int32_t StopReceiving();

    bool IsNoDevice() const { return mNoDevice.load(); }
    KR::RCPtr<LParamCache> GetParamCache();
    // Hands changes to the engine's callback as they are.
    void NotifyEngine(KR::Array<KR::ParamValue>& changes);

    std::int32_t SetParamValue(const KR::ParamDescriptor& descriptor, const KR::Variant& value) override;
    KR::Variant GetParamValue(const KR::ParamDescriptor& descriptor) override;
    // Stores a value that differs from the cached one (an empty value is ignored)
    // and announces it; -1 for an id outside the 131.
    std::int32_t SetCachedParamValue(const KR::ParamDescriptor& descriptor,
                                     const KR::Variant& value) override;
    KR::Variant GetCachedParamValue(const KR::ParamDescriptor& descriptor) override;

    void OnModuleParamValueChanged(const KR::ParamDescriptor& descriptor, const KR::Variant& value) override;
    KR::RCPtr<LDeviceCommunicationInterface> GetDeviceCommunicationInterface() override;
    // Id -4 goes to the bridge's connection status: 0 on success, 1 on failure.
    std::int32_t SetRootParamValue(const KR::ParamDescriptor& descriptor, const KR::Variant& value) override;
    // Negative ids are the bridge's to answer.
    std::int32_t GetParamValueByID(const KR::ParamDescriptor& descriptor, KR::Variant& value) override;
    KR::ConstRCPtr<IDevice> GetDeviceConst() const override { return mDevice; }
    KR::RCPtr<IDevice> GetDevice() override { return mDevice; }

    // Applies a delivery from the keyboard: each element goes to the control that
    // owns its id; values no control owns go straight to the callback. A
    // malformed element is announced with id -1 and an empty value.
    void ReceiveParamValues(const KR::ParamValues& values) override;
    std::int32_t ReceiveReserved(std::int32_t a, std::int32_t b) override;

    // Replaces the device tree by a new, unnumbered one.
    virtual void CreateDevice();

protected:
    bool IsWithoutDevice() const override { return IsNoDevice(); }

private:
    struct LockBlock;

    explicit LRootModule(bool noDevice);
    ~LRootModule() override;

    // Written by ConnectDevice, possibly on the engine's poller thread.
    std::atomic<bool> mNoDevice;
    KR::RCPtr<LDevice> mDevice;
    ParamChangeCallback mCallback = nullptr;
    void* mCallbackContext = nullptr;
    KR::RCPtr<LDeviceCommunicationInterface> mBridge;
    KR::RCPtr<LParamCache> mCache;
    // The mutex and the one-element change record, apart from the object.
    std::unique_ptr<LockBlock> mLock;
};
