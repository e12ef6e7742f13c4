#include "device/ModuleContainer.h"

void IModuleContainer::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                                       std::int32_t index)
{
    LParameterizedModule::SetFirstParamID(parent, firstParamID, index);
    const std::int32_t count = GetChildCount();
    for (std::int32_t slot = 0; slot < count; ++slot)
    {
        const KR::RCPtr<LParameterizedModule> child = GetChildModule(slot);
        if (child)
        {
            child->SetFirstParamID(this, firstParamID + GetChildOffset(slot), GetChildIndex(slot));
        }
    }
}

KR::RCPtr<LParameterizedModule> IModuleContainer::GetModuleForParamID(std::int32_t id)
{
    const std::uint32_t offset =
        static_cast<std::uint32_t>(id) - static_cast<std::uint32_t>(GetFirstParamID());
    if (offset >= static_cast<std::uint32_t>(GetParamSpan()))
    {
        return KR::RCPtr<LParameterizedModule>();
    }
    const KR::RCPtr<LParameterizedModule> child =
        GetChildModule(GetChildSlot(static_cast<std::int32_t>(offset)));
    return child ? child->GetModuleForParamID(id) : KR::RCPtr<LParameterizedModule>();
}

void IModuleContainer::VisitParams()
{
    WalkChildren(&LParameterizedModule::VisitParams);
}

void IModuleContainer::VisitParamsConst()
{
    WalkChildren(&LParameterizedModule::VisitParamsConst);
}

void IModuleContainer::WalkChildren(void (LParameterizedModule::*walk)())
{
    const std::int32_t count = GetChildCount();
    for (std::int32_t slot = 0; slot < count; ++slot)
    {
        const KR::RCPtr<LParameterizedModule> child = GetChildModule(slot);
        if (child)
        {
            (child.Get()->*walk)();
        }
    }
}
