#pragma once
// Base of every node of the device model and of every panel that shows or edits
// one. A node knows its parent, its first parameter id and its index among its
// parent's children; it stores no value. Writes and reads entered at any node
// climb the parent chain to the root module, which keeps the values.

#include "kr/core/ParamValues.h"
#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/Variant.h"

#include <cstdint>

class LParameterizedModule : public virtual KR::LRefCountedObject
{
public:
    // Stores parent, first id and index. Containers then number their children;
    // concrete classes check their place below the root and throw when it is wrong.
    virtual void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID, std::int32_t index);

    // GetModuleForParamID as a read-only pointer.
    virtual KR::ConstRCPtr<LParameterizedModule> GetConstModuleForParamID(std::int32_t id) const;
    // A leaf answers itself for any id; containers route the id to the child that
    // owns it, or answer null.
    virtual KR::RCPtr<LParameterizedModule> GetModuleForParamID(std::int32_t id);

    // Applies a value addressed to this node. fromDevice is true when the value came
    // from the keyboard. Throws on a node that owns no parameter; -1 without parent.
    virtual std::int32_t SetParamValueLocal(const KR::ParamDescriptor& descriptor, const KR::Variant& value,
                                            bool fromDevice);
    // Reads a parameter of this node. Throws on a node that owns no parameter; an
    // empty value without parent.
    virtual KR::Variant GetParamValueLocal(const KR::ParamDescriptor& descriptor);

    // Carry a write or read one level up; the root module ends the chain. Without a
    // parent: -1 and an empty value.
    virtual std::int32_t SetParamValue(const KR::ParamDescriptor& descriptor, const KR::Variant& value);
    virtual KR::Variant GetParamValue(const KR::ParamDescriptor& descriptor);

    // The factory value of parameter id; empty for nodes that own no parameter.
    virtual KR::Variant GetParamValueDefault(std::int32_t id);

    // Tree walks: containers pass them to each child in child order.
    virtual void VisitParams();
    virtual void VisitParamsConst();

    // Kept so that panels built on this base see the operations in the order the
    // model was generated with; nothing calls them.
    virtual bool ReservedQuery(std::int32_t argument);
    virtual void ReservedRelayA(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d);
    virtual void ReservedRelayB(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d);

    // Only the root module answers these from its parameter cache; without a parent
    // kFail and an empty value.
    virtual std::int32_t SetCachedParamValue(const KR::ParamDescriptor& descriptor, const KR::Variant& value);
    virtual KR::Variant GetCachedParamValue(const KR::ParamDescriptor& descriptor);

    KR::RCPtr<LParameterizedModule> GetParent() const;
    // The topmost node, following parent links; a node without parent is its own root.
    KR::RCPtr<LParameterizedModule> GetRootModule();

    std::int32_t GetFirstParamID() const { return mFirstParamID; }
    std::int32_t GetIndex() const { return mIndex; }
    std::int32_t GetOwnParamCount() const { return mOwnParamCount; }

protected:
    LParameterizedModule() = default;
    ~LParameterizedModule() override = default;

    // Throws `error` unless this node's first id lies lowest .. lowest + count - 1
    // above the root's. Concrete classes call it after numbering; the stored fields
    // stay as they are when it throws.
    void CheckOffsetFromRoot(std::int32_t lowest, std::int32_t count, const char* error);

    // 1 for the controls (set by their constructors), 0 for every container.
    std::int32_t mOwnParamCount = 0;

private:
    // Not counted: the parent owns the child, never the reverse.
    LParameterizedModule* mParent = nullptr;
    std::int32_t mFirstParamID = 0;
    std::int32_t mIndex = 0;
};

// Device meta values (-256 .. -129) are not part of the module tree.
constexpr bool IsDeviceMetaParamID(std::int32_t id)
{
    return static_cast<std::uint32_t>(id) + 256u <= 127u;
}
