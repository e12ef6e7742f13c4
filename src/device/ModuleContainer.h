#pragma once
// A node whose children own parts of its parameter span: the root module (its
// device), the device (the preset name and the eight groups) and the groups (their
// controls). Numbering, routing and the walks are written only in terms of the
// child accessor, so the panels that implement the same interfaces with their own
// children (group panels, the keyboard panel, the main control) share them.

#include "device/ParameterizedModule.h"

#include <cstdint>

class IModuleContainer : public LParameterizedModule
{
public:
    // Stores the fields, then numbers each present child, in child order, with the
    // first id plus its offset and its index. A child's own check may throw
    // mid-way, leaving the children before it numbered.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::int32_t index) override;

    // The control that owns id, or null for an id outside the span (any id below
    // the first id included: the offset is unsigned) and for a missing child.
    KR::RCPtr<LParameterizedModule> GetModuleForParamID(std::int32_t id) override;

    // Each present child's walk, in child order.
    void VisitParams() override;
    void VisitParamsConst() override;

protected:
    virtual std::int32_t GetChildCount() const = 0;
    // Child number slot, through the container's own accessor; may be null.
    virtual KR::RCPtr<LParameterizedModule> GetChildModule(std::int32_t slot) = 0;
    // Where child slot's parameters start, counted from the container's first id.
    virtual std::int32_t GetChildOffset(std::int32_t slot) const { return slot; }
    // The index child slot is numbered with.
    virtual std::int32_t GetChildIndex(std::int32_t slot) const { return slot; }
    // How many parameters the container spans.
    virtual std::int32_t GetParamSpan() const { return GetChildCount(); }
    // The child whose parameters hold offset (below the span).
    virtual std::int32_t GetChildSlot(std::int32_t offset) const { return offset; }

private:
    void WalkChildren(void (LParameterizedModule::*walk)());
};
