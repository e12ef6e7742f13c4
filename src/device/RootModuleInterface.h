#pragma once
// The top of the device model and its one door to the rest of the program. The
// main control implements IRootModule too and shares the routing below.

#include "device/Device.h"
#include "device/DeviceCommunicationInterface.h"
#include "device/ModuleContainer.h"

#include <cstdint>

class IRootModule : public IModuleContainer
{
public:
    // Announces one changed value.
    virtual void OnModuleParamValueChanged(const KR::ParamDescriptor& descriptor,
                                           const KR::Variant& value) = 0;
    virtual KR::RCPtr<LDeviceCommunicationInterface> GetDeviceCommunicationInterface() = 0;
    // The owner of a device meta id (-256 .. -129): none in this model.
    virtual KR::ConstRCPtr<LParameterizedModule> GetConstGlobalParamModule(std::int32_t id) const;
    virtual KR::RCPtr<LParameterizedModule> GetGlobalParamModule(std::int32_t id);
    // The write entry: updates the model (or only the cache without a device) and
    // sends the value to the device; the device's result.
    virtual std::int32_t SetRootParamValue(const KR::ParamDescriptor& descriptor, const KR::Variant& value);
    // The read entry: 0 and the value, or kFail and an empty value for an id no
    // control owns.
    virtual std::int32_t GetParamValueByID(const KR::ParamDescriptor& descriptor, KR::Variant& value);
    virtual KR::ConstRCPtr<IDevice> GetDeviceConst() const;
    virtual KR::RCPtr<IDevice> GetDevice() = 0;

protected:
    // True when reads and writes go to the cache only, with no device to send to.
    virtual bool IsWithoutDevice() const { return false; }

    // The node that takes a value for id: a control for ids 0 and up, the global
    // module for device meta ids, null otherwise.
    KR::RCPtr<LParameterizedModule> FindModuleForValue(std::int32_t id);

    // One child, the device, numbered with the root's own first id; it spans the
    // 131 parameters.
    std::int32_t GetChildCount() const override { return 1; }
    KR::RCPtr<LParameterizedModule> GetChildModule(std::int32_t slot) override;
    std::int32_t GetChildOffset(std::int32_t /*slot*/) const override { return 0; }
    std::int32_t GetChildIndex(std::int32_t /*slot*/) const override { return 0; }
    std::int32_t GetParamSpan() const override { return ParamLayout::kParamCount; }
    std::int32_t GetChildSlot(std::int32_t /*offset*/) const override { return 0; }
};
