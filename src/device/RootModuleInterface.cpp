#include "device/RootModuleInterface.h"

#include "kr/core/Types.h"

KR::RCPtr<LParameterizedModule> IRootModule::GetChildModule(std::int32_t slot)
{
    return slot == 0 ? KR::RCPtr<LParameterizedModule>(GetDevice()) : KR::RCPtr<LParameterizedModule>();
}

KR::RCPtr<LParameterizedModule> IRootModule::FindModuleForValue(std::int32_t id)
{
    if (id >= 0)
    {
        return GetModuleForParamID(id);
    }
    if (IsDeviceMetaParamID(id))
    {
        return GetGlobalParamModule(id);
    }
    return KR::RCPtr<LParameterizedModule>();
}

KR::ConstRCPtr<LParameterizedModule> IRootModule::GetConstGlobalParamModule(std::int32_t id) const
{
    return const_cast<IRootModule*>(this)->GetGlobalParamModule(id);
}

KR::RCPtr<LParameterizedModule> IRootModule::GetGlobalParamModule(std::int32_t /*id*/)
{
    return KR::RCPtr<LParameterizedModule>();
}

std::int32_t IRootModule::SetRootParamValue(const KR::ParamDescriptor& descriptor, const KR::Variant& value)
{
    if (IsWithoutDevice())
    {
        return SetCachedParamValue(descriptor, value);
    }
    const KR::RCPtr<LParameterizedModule> node = FindModuleForValue(descriptor.id);
    const std::int32_t local = node ? node->SetParamValueLocal(descriptor, value, false) : -1;
    const KR::RCPtr<LDeviceCommunicationInterface> bridge = GetDeviceCommunicationInterface();
    return bridge ? bridge->SetParamValue(descriptor, value) : local;
}

std::int32_t IRootModule::GetParamValueByID(const KR::ParamDescriptor& descriptor, KR::Variant& value)
{
    if (IsWithoutDevice())
    {
        value = GetCachedParamValue(descriptor);
        return KR::kOk;
    }
    const KR::RCPtr<LParameterizedModule> node = GetModuleForParamID(descriptor.id);
    if (!node)
    {
        value.Clear();
        return KR::kFail;
    }
    value = node->GetParamValueLocal(descriptor);
    return KR::kOk;
}

KR::ConstRCPtr<IDevice> IRootModule::GetDeviceConst() const
{
    return const_cast<IRootModule*>(this)->GetDevice();
}
