#pragma once
// The one pattern behind the ten control modules. A control owns exactly one
// parameter: it checks that an operation is addressed to its own id, passes reads
// and writes up to the root module, hands device meta values to the bridge and
// builds its factory default block. It stores no value.

#include "device/ParamLayout.h"
#include "device/ParameterizedModule.h"

#include <cstdint>

// What sets one kind of control apart from the others: its place in the
// parameter table and the texts of its logic errors.
struct ControlKindInfo
{
    ParamLayout::ControlKind kind;
    const char* invalidFirstParamID;
    const char* getLocalForeignID;
    const char* getDefaultForeignID;
};

// The rules every control follows, written once; the template below only binds
// them to each interface.
namespace ControlRules
{

std::int32_t SetParamValueLocal(LParameterizedModule& control, const KR::ParamDescriptor& descriptor,
                                const KR::Variant& value, bool fromDevice);
KR::Variant GetParamValueLocal(LParameterizedModule& control, const ControlKindInfo& info,
                               const KR::ParamDescriptor& descriptor);
KR::Variant GetParamValueDefault(const LParameterizedModule& control, const ControlKindInfo& info,
                                 std::int32_t id);

} // namespace ControlRules

// Interface is the kind's IX (what panels implement too); Self is the concrete LX.
template <class Interface, class Self>
class LControlModule : public Interface
{
public:
    // A new control, not yet placed: no parent, first id 0, index 0.
    static KR::RCPtr<Self> Create()
    {
        KR::RCPtr<Self> control(new Self());
        control->CreateChildren();
        return control;
    }

    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID, std::int32_t index) override
    {
        Interface::SetFirstParamID(parent, firstParamID, index);
        const ParamLayout::KindRow& row = ParamLayout::Row(mInfo.kind);
        this->CheckOffsetFromRoot(row.first, row.count, mInfo.invalidFirstParamID);
    }

    std::int32_t SetParamValueLocal(const KR::ParamDescriptor& descriptor, const KR::Variant& value,
                                    bool fromDevice) override
    {
        return ControlRules::SetParamValueLocal(*this, descriptor, value, fromDevice);
    }

    KR::Variant GetParamValueLocal(const KR::ParamDescriptor& descriptor) override
    {
        return ControlRules::GetParamValueLocal(*this, mInfo, descriptor);
    }

    KR::Variant GetParamValueDefault(std::int32_t id) override
    {
        return ControlRules::GetParamValueDefault(*this, mInfo, id);
    }

    // A control has no children.
    virtual void CreateChildren() {}

protected:
    explicit LControlModule(const ControlKindInfo& info) : mInfo(info) { this->mOwnParamCount = 1; }

private:
    const ControlKindInfo& mInfo;
};
