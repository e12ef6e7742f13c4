#include "device/ControlModule.h"

#include "device/DeviceCommunicationInterface.h"
#include "device/ModelErrors.h"
#include "device/RootModuleInterface.h"

#include <array>

namespace ControlRules
{

std::int32_t SetParamValueLocal(LParameterizedModule& control, const KR::ParamDescriptor& descriptor,
                                const KR::Variant& value, bool fromDevice)
{
    const std::int32_t id = descriptor.id;
    if (id >= 0)
    {
        if (id != control.GetFirstParamID())
        {
            return -1;
        }
        // Copies: the caller's records may be the very ones a change announcement
        // rewrites while the value climbs the chain.
        const KR::ParamDescriptor ownDescriptor(descriptor);
        const KR::Variant ownValue(value);
        return control.LParameterizedModule::SetParamValueLocal(ownDescriptor, ownValue, fromDevice);
    }
    if (!IsDeviceMetaParamID(id))
    {
        return -1;
    }
    // A meta value edited here goes to the keyboard; one that came from it stops.
    if (!fromDevice)
    {
        const KR::RCPtr<IRootModule> root(control.GetRootModule());
        if (root)
        {
            const KR::RCPtr<LDeviceCommunicationInterface> bridge = root->GetDeviceCommunicationInterface();
            if (bridge)
            {
                bridge->SetParamValue(descriptor, value);
            }
        }
    }
    return 1;
}

KR::Variant GetParamValueLocal(LParameterizedModule& control, const ControlKindInfo& info,
                               const KR::ParamDescriptor& descriptor)
{
    if (descriptor.id != control.GetFirstParamID())
    {
        ModelErrors::ThrowLogicError(info.getLocalForeignID);
    }
    return control.LParameterizedModule::GetParamValueLocal(descriptor);
}

KR::Variant GetParamValueDefault(const LParameterizedModule& control, const ControlKindInfo& info,
                                 std::int32_t id)
{
    if (id != control.GetFirstParamID())
    {
        ModelErrors::ThrowLogicError(info.getDefaultForeignID);
    }
    KR::Variant block;
    std::array<std::uint8_t, ParamLayout::kMaxBlockSize> bytes{};
    const std::size_t size = ParamLayout::WriteDefaultBlock(info.kind, control.GetIndex(), bytes);
    if (size > 0)
    {
        block.SetBlob(bytes.data(), static_cast<std::uint32_t>(size));
    }
    return block;
}

} // namespace ControlRules
