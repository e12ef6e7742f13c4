#include "device/ParameterizedModule.h"

#include "device/ModelErrors.h"
#include "kr/core/Types.h"

namespace
{

constexpr const char* kSetLocalOnContainer = "Logic Error : LParameterizedModule::SetParamValueLocal : "
                                             "DeviceControl\\GeneratedCode\\Engine\\Inc\\RootModuleInterface"
                                             " : Line 102";
constexpr const char* kGetLocalOnContainer = "Logic Error : LParameterizedModule::GetParamValueLocal : "
                                             "DeviceControl\\GeneratedCode\\Engine\\Inc\\RootModuleInterface"
                                             " : Line 116";

} // namespace

void LParameterizedModule::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                                           std::int32_t index)
{
    mParent = parent;
    mFirstParamID = firstParamID;
    mIndex = index;
}

KR::ConstRCPtr<LParameterizedModule> LParameterizedModule::GetConstModuleForParamID(std::int32_t id) const
{
    // Routing changes nothing; the non-const form only hands out writable pointers.
    return const_cast<LParameterizedModule*>(this)->GetModuleForParamID(id);
}

KR::RCPtr<LParameterizedModule> LParameterizedModule::GetModuleForParamID(std::int32_t /*id*/)
{
    return KR::RCPtr<LParameterizedModule>(this);
}

std::int32_t LParameterizedModule::SetParamValueLocal(const KR::ParamDescriptor& descriptor,
                                                      const KR::Variant& value, bool /*fromDevice*/)
{
    if (mOwnParamCount == 0)
    {
        ModelErrors::ThrowLogicError(kSetLocalOnContainer);
    }
    return LParameterizedModule::SetParamValue(descriptor, value);
}

KR::Variant LParameterizedModule::GetParamValueLocal(const KR::ParamDescriptor& descriptor)
{
    if (mOwnParamCount == 0)
    {
        ModelErrors::ThrowLogicError(kGetLocalOnContainer);
    }
    return LParameterizedModule::GetParamValue(descriptor);
}

std::int32_t LParameterizedModule::SetParamValue(const KR::ParamDescriptor& descriptor,
                                                 const KR::Variant& value)
{
    // Held for the call: the parent must outlive a write that it is carrying.
    const KR::RCPtr<LParameterizedModule> parent = GetParent();
    return parent ? parent->SetParamValue(descriptor, value) : -1;
}

KR::Variant LParameterizedModule::GetParamValue(const KR::ParamDescriptor& descriptor)
{
    const KR::RCPtr<LParameterizedModule> parent = GetParent();
    return parent ? parent->GetParamValue(descriptor) : KR::Variant();
}

KR::Variant LParameterizedModule::GetParamValueDefault(std::int32_t /*id*/)
{
    return KR::Variant();
}

void LParameterizedModule::VisitParams()
{
}

void LParameterizedModule::VisitParamsConst()
{
}

bool LParameterizedModule::ReservedQuery(std::int32_t /*argument*/)
{
    return true;
}

void LParameterizedModule::ReservedRelayA(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d)
{
    if (mParent)
    {
        mParent->ReservedRelayB(a, b, c, d);
    }
}

void LParameterizedModule::ReservedRelayB(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d)
{
    LParameterizedModule::ReservedRelayA(a, b, c, d);
}

std::int32_t LParameterizedModule::SetCachedParamValue(const KR::ParamDescriptor& descriptor,
                                                       const KR::Variant& value)
{
    const KR::RCPtr<LParameterizedModule> parent = GetParent();
    return parent ? parent->SetCachedParamValue(descriptor, value) : KR::kFail;
}

KR::Variant LParameterizedModule::GetCachedParamValue(const KR::ParamDescriptor& descriptor)
{
    const KR::RCPtr<LParameterizedModule> parent = GetParent();
    return parent ? parent->GetCachedParamValue(descriptor) : KR::Variant();
}

KR::RCPtr<LParameterizedModule> LParameterizedModule::GetParent() const
{
    return KR::RCPtr<LParameterizedModule>(mParent);
}

KR::RCPtr<LParameterizedModule> LParameterizedModule::GetRootModule()
{
    LParameterizedModule* node = this;
    while (node->mParent)
    {
        node = node->mParent;
    }
    return KR::RCPtr<LParameterizedModule>(node);
}

void LParameterizedModule::CheckOffsetFromRoot(std::int32_t lowest, std::int32_t count, const char* error)
{
    const KR::RCPtr<LParameterizedModule> root = GetRootModule();
    const std::int64_t offset = std::int64_t{mFirstParamID} - root->mFirstParamID;
    if (offset < lowest || offset >= std::int64_t{lowest} + count)
    {
        ModelErrors::ThrowLogicError(error);
    }
}
