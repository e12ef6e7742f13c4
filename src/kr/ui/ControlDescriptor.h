#pragma once
// One SubControl of a skin, or the root of a skin (class "Application"): what a control
// is made from. The factory creates controls from it; a control keeps its descriptor for
// its whole life.

#include "kr/core/RCPtr.h"
#include "kr/core/RCPtrArray.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/ui/LayoutDescriptor.h"
#include "kr/ui/SkinDescriptor.h"
#include "kr/ui/StringTable.h"

namespace KR
{

class LControl;
class LControlDescriptor;

// Makes the control of one registered skin class: receives the parent (null for a
// window's root control) and the descriptor, and returns the control with its
// descriptor applied, its children created and itself initialised.
using ControlCreateFunction = RCPtr<LControl> (*)(const RCPtr<LControl>& parent,
                                                  const RCPtr<LControlDescriptor>& descriptor);

// A boolean create parameter: true only for "true", whatever the case and the blanks
// around it. Absent: false, and `present` says so.
bool CreateParamIsTrue(const RCPtr<LStringTable>& params, const char16_t* id, bool* present = nullptr);

class LControlDescriptor : public virtual LRefCountedObject
{
public:
    using Children = RCPtrArray<LControlDescriptor, 1, 0>;

    // `parent` is not held: the parent's children array holds this descriptor.
    LControlDescriptor(String className, String name, LControlDescriptor* parent)
        : mClass(std::move(className)), mName(std::move(name)), mParent(parent)
    {
    }

    const String& GetClass() const { return mClass; }
    const String& GetName() const { return mName; }
    void SetName(const String& name) { mName = name; }
    LControlDescriptor* GetParent() const { return mParent; }

    const Children& GetChildren() const { return mChildren; }
    void AddChild(const RCPtr<LControlDescriptor>& child) { mChildren.AddItem(child); }
    // Ascending layout order; children of equal order keep the order they were added in.
    void SortChildrenByLayoutOrder();

    const RCPtr<LSkinDescriptor>& GetSkin() const { return mSkin; }
    void SetSkin(const RCPtr<LSkinDescriptor>& skin) { mSkin = skin; }
    const RCPtr<LLayoutDescriptor>& GetLayout() const { return mLayout; }
    void SetLayout(const RCPtr<LLayoutDescriptor>& layout) { mLayout = layout; }
    // May be null: the control has no create parameters.
    const RCPtr<LStringTable>& GetCreateParams() const { return mCreateParams; }
    void SetCreateParams(const RCPtr<LStringTable>& params) { mCreateParams = params; }
    // Null until the first control is made from this descriptor; then the registry's
    // creator for the class, kept so a later registration changes nothing here.
    ControlCreateFunction GetCreateFunction() const { return mCreateFunction; }
    void SetCreateFunction(ControlCreateFunction creator) { mCreateFunction = creator; }

private:
    String mClass;
    String mName;
    LControlDescriptor* mParent;
    Children mChildren;
    RCPtr<LSkinDescriptor> mSkin;
    RCPtr<LLayoutDescriptor> mLayout;
    RCPtr<LStringTable> mCreateParams;
    ControlCreateFunction mCreateFunction = nullptr;
};

} // namespace KR
