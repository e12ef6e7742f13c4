// Construction, the child list and its orders, the tree's links, and the searches by name.

#include "kr/ui/Control.h"

#include "kr/core/Exception.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/ControlHelpers.h"
#include "kr/ui/FrameworkApp.h"

#include <algorithm>
#include <utility>

namespace KR
{
namespace
{

constexpr char kGetAtIndexText[] =
    "Runtime Error : KR::LControl::ChildControlList::GetAt : ControlBase\\Control : Line 3276";
constexpr char kGetAtOrderText[] =
    "Runtime Error : KR::LControl::ChildControlList::GetAt : ControlBase\\Control : Line 3296";
constexpr char kConstGetAtIndexText[] =
    "Runtime Error : KR::LControl::ChildControlList::GetAt : ControlBase\\Control : Line 3304";
constexpr char kConstGetAtOrderText[] =
    "Runtime Error : KR::LControl::ChildControlList::GetAt : ControlBase\\Control : Line 3324";

// What a child adds to its ancestors' unclipped-descendant counts.
std::int32_t UnclippedWeight(const LControl& child)
{
    return child.GetUnclippedCount() + (child.ClipsToParent() ? 0 : 1);
}

using ControlHelpers::DockedAxes;

std::int32_t ZOrder(const LControl& control)
{
    const LLayoutDescriptor* layout = control.ReadLayoutDescriptor();
    return layout ? layout->zOrder : 0;
}

// The control's texts: the factory's table for the parent's class and the control's name.
RCPtr<LStringTable> LookUpStringTable(const LControl* parent, const String& name)
{
    const RCPtr<LControlFactory> factory = IFrameworkApp::GetInstance().GetControlFactory();
    if (!factory)
    {
        return nullptr;
    }
    return factory->GetControlStringTable(parent ? parent->GetControlDescriptor().Get() : nullptr, name);
}

std::int32_t TabStop(const LControl& control)
{
    const LLayoutDescriptor* layout = control.ReadLayoutDescriptor();
    return layout ? layout->tabStop : 0;
}

} // namespace

// ---- the child list -----------------------------------------------------------------------

Result LControl::ChildControlList::Add(const RCPtr<LControl>& child)
{
    if (!child)
    {
        return kInvalidArg;
    }
    for (std::uint32_t i = mChildren.GetCount(); i-- > 0;)
    {
        if (ControlNamesMatch(mChildren.ElementAt(i)->mName, child->mName))
        {
            return kFail;
        }
    }
    Append(child);
    return kOk;
}

void LControl::ChildControlList::Append(const RCPtr<LControl>& child)
{
    // A child sits in one list at a time.
    if (child->mParent && child->mParent.Get() != mOwner)
    {
        child->mParent->mChildList.Remove(child);
    }
    if (const std::int32_t weight = UnclippedWeight(*child))
    {
        mOwner->IncrementUnclippedCount(weight);
    }
    // The child's link back is one of the owner's internal references: it is what lets a
    // tree that nobody else holds free itself.
    mOwner->AdjustInternalRefCount(1);
    child->mParent = RCPtr<LControl>(mOwner);
    mChildren.AddItem(child);
    RaiseGeneration();
}

std::int32_t LControl::ChildControlList::Remove(const RCPtr<LControl>& child)
{
    for (std::uint32_t i = mChildren.GetCount(); i-- > 0;)
    {
        if (mChildren.ElementAt(i) == child)
        {
            Detach(i);
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

void LControl::ChildControlList::RemoveAll()
{
    for (std::uint32_t i = mChildren.GetCount(); i-- > 0;)
    {
        Detach(i);
    }
}

void LControl::ChildControlList::Detach(std::uint32_t index)
{
    // The child stays alive until the books are done; should it be released for good,
    // its own cycles break when this reference goes.
    const RCPtr<LControl> child = mChildren.ElementAt(index);
    if (const std::int32_t weight = UnclippedWeight(*child))
    {
        mOwner->DecrementUnclippedCount(weight);
    }
    // Uncounted before it goes, and let go only at the end: the link may be the last
    // reference to the owner, which holds this list.
    mOwner->AdjustInternalRefCount(-1);
    RCPtr<LControl> link = std::move(child->mParent);
    mChildren.RemoveItems(index, 1);
    RaiseGeneration();
    mOwner->OnChildRemoved(static_cast<std::int32_t>(index));
}

void LControl::ChildControlList::SortIfStale() const
{
    if (mSortedGeneration == mGeneration)
    {
        return;
    }
    const std::uint32_t count = mChildren.GetCount();
    const RCPtr<LControl>* children = mChildren.GetData();
    mTabOrder.resize(count);
    mDrawingOrder.resize(count);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        mTabOrder[i] = i;
        mDrawingOrder[i] = i;
    }
    // Stable sorts: equal keys keep insertion order.
    std::stable_sort(mTabOrder.begin(), mTabOrder.end(),
                     [children](std::uint32_t a, std::uint32_t b)
                     { return TabStop(*children[a]) < TabStop(*children[b]); });
    std::stable_sort(mDrawingOrder.begin(), mDrawingOrder.end(),
                     [children](std::uint32_t a, std::uint32_t b)
                     {
                         const LControl& x = *children[a];
                         const LControl& y = *children[b];
                         if (x.ClipsToParent() != y.ClipsToParent())
                         {
                             return x.ClipsToParent();
                         }
                         if (DockedAxes(x) != DockedAxes(y))
                         {
                             return DockedAxes(x) < DockedAxes(y);
                         }
                         return ZOrder(x) < ZOrder(y);
                     });
    mSortedGeneration = mGeneration;
}

const RCPtr<LControl>& LControl::ChildControlList::GetAt(std::uint32_t index, std::int32_t order)
{
    if (index >= mChildren.GetCount())
    {
        Throw<std::runtime_error>(kGetAtIndexText);
    }
    switch (order)
    {
    case kInsertionOrder:
        return mChildren.ElementAt(index);
    case kDrawingOrder:
        SortIfStale();
        return mChildren.ElementAt(mDrawingOrder[index]);
    case kTabOrder:
        SortIfStale();
        return mChildren.ElementAt(mTabOrder[index]);
    default:
        Throw<std::runtime_error>(kGetAtOrderText);
    }
}

const RCPtr<LControl>& LControl::ChildControlList::GetAt(std::uint32_t index, std::int32_t order) const
{
    if (index >= mChildren.GetCount())
    {
        Throw<std::runtime_error>(kConstGetAtIndexText);
    }
    switch (order)
    {
    case kInsertionOrder:
        return mChildren.ElementAt(index);
    case kDrawingOrder:
        SortIfStale();
        return mChildren.ElementAt(mDrawingOrder[index]);
    case kTabOrder:
        SortIfStale();
        return mChildren.ElementAt(mTabOrder[index]);
    default:
        Throw<std::runtime_error>(kConstGetAtOrderText);
    }
}

// ---- construction -------------------------------------------------------------------------

LControl::LControl(const RCPtr<LControl>& parent, const String& name)
    : mName(name), mConditions(LConditionsParam::Create(0, 0, PointD{})),
      mHandler(LNotificationHandler<LControl>::Create(this)), mChildList(this)
{
    // Only an append that cannot be refused: a refused one would drop the temporary
    // reference below as the last, in the middle of construction. A control named like
    // a sibling stays without parent. The names were compared just now, so the append
    // does not compare them again.
    if (parent && !parent->FindChildControl(name))
    {
        parent->mChildList.Append(RCPtr<LControl>(this));
    }
    mStringTable = LookUpStringTable(parent.Get(), name);
}

LControl::LControl(const RCPtr<IRootWindowServices>& rootWindow, const String& name)
    : mName(name), mConditions(LConditionsParam::Create(0, 0, PointD{})), mRootWindow(rootWindow),
      mHandler(LNotificationHandler<LControl>::Create(this)), mChildList(this)
{
    mStringTable = LookUpStringTable(nullptr, name);
}

LControl::~LControl() = default;

Result LControl::ReleaseInternalReferences()
{
    RemoveAllClients();
    if (mMenuItemUpdater)
    {
        // The updater's link back is the internal reference it was counted as.
        const RCPtr<LMenuItemUpdater> updater = std::move(mMenuItemUpdater);
        AdjustInternalRefCount(-1);
        updater->control = nullptr;
    }
    for (Timer& timer : mTimers)
    {
        timer.target = nullptr;
    }
    mDropTarget = nullptr;
    mHandOverTarget = nullptr;
    mLastLeftPress = nullptr;
    mPendingRemovals.RemoveAll();
    mChildList.RemoveAll();
    return LNotificationClient::ReleaseInternalReferences();
}

Result LControl::Receive(const RCPtr<LNotificationDistributor>& sender,
                         const RCPtr<LNotification>& notification)
{
    if (mCreating)
    {
        return kOk;
    }
    return mHandler->HandleNotification(sender, notification);
}

Result LControl::UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                           NotificationName name)
{
    mHandler->Unregister(sender, name);
    return LNotificationClient::UnregisterForNotification(sender, name);
}

const RCPtr<LControl>& LControl::NullControl()
{
    static const RCPtr<LControl> null;
    return null;
}

void LControl::SetLayoutDescriptor(const RCPtr<LLayoutDescriptor>& layout)
{
    const std::int32_t before = mParent ? UnclippedWeight(*this) : 0;
    mLayout = layout;
    if (mParent)
    {
        // The parent chain counts this control by its new clipping.
        if (const std::int32_t change = UnclippedWeight(*this) - before)
        {
            mParent->IncrementUnclippedCount(change);
        }
        mParent->mChildList.RaiseGeneration();
    }
}

LLayoutDescriptor& LControl::EnsureLayout()
{
    if (!mLayout)
    {
        mLayout = LLayoutDescriptor::Create();
    }
    else if (SharesSkinLayout())
    {
        mLayout = mLayout->Clone();
    }
    return *mLayout;
}

bool LControl::SharesSkinLayout() const
{
    return mLayout && mDescriptor && mLayout.Get() == mDescriptor->GetLayout().Get();
}

const RCPtr<LLayoutDescriptor>& LControl::GetLayoutDescriptor() const
{
    // Whoever asks for it may change it: the skin's, and the controls that share it, must
    // not see that.
    if (SharesSkinLayout())
    {
        const_cast<LControl*>(this)->mLayout = mLayout->Clone();
    }
    return mLayout;
}

RCPtr<LStringTable> LControl::GetStringTable()
{
    return mStringTable;
}

// ---- the tree -----------------------------------------------------------------------------

Result LControl::SetParent(const RCPtr<LControl>& parent)
{
    if (parent.Get() == mParent.Get())
    {
        return kNothingDone;
    }
    const RCPtr<LControl> self(this);
    const RCPtr<IRootWindowServices> oldWindow = GetRootWindow();
    if (mParent)
    {
        Invalidate(RectD{0.0, 0.0, mSize.x, mSize.y}, ClipsToParent());
        mParent->mChildList.Remove(self);
    }
    else
    {
        mRootWindow = nullptr;
    }
    if (parent)
    {
        // Idle work leaves the old window; RegisterIdleHandlers takes it to the new one.
        if (oldWindow)
        {
            DropIdleRegistrations(oldWindow);
        }
        parent->mChildList.Add(self);
        RegisterIdleHandlers();
    }
    return kOk;
}

Result LControl::SetRootWindow(const RCPtr<IRootWindowServices>& rootWindow)
{
    if (mParent)
    {
        return kFail;
    }
    if (mRootWindow && mRootWindow != rootWindow)
    {
        DropIdleRegistrations(mRootWindow);
    }
    mRootWindow = rootWindow;
    // A window shows its root control's text as its title.
    if (mRootWindow && !mText.IsEmpty())
    {
        mRootWindow->SetTitle(mText);
    }
    RegisterIdleHandlers();
    return kOk;
}

RCPtr<IRootWindowServices> LControl::GetRootWindow() const
{
    const LControl* control = this;
    while (control->mParent)
    {
        control = control->mParent.Get();
    }
    return control->mRootWindow;
}

RCPtr<LControl> LControl::GetRootControl() const
{
    RCPtr<LControl> control(const_cast<LControl*>(this));
    while (control->mParent)
    {
        control = control->mParent;
    }
    return control;
}

Result LControl::DeferChildRemoval(const RCPtr<LControl>& child)
{
    if (!child || child->mParent.Get() != this)
    {
        return kInvalidArg;
    }
    if (child->mCapture)
    {
        child->OnCaptureLost();
    }
    child->SetVisible(false);
    const bool wasEmpty = mPendingRemovals.GetCount() == 0;
    if (Failed(mPendingRemovals.AddItem(child)))
    {
        return kInvalidArg;
    }
    if (wasEmpty)
    {
        BeginIdleProcessing();
    }
    return kOk;
}

const RCPtr<LControl>& LControl::FindChildControl(const String& name) const
{
    // The same test as ControlNamesMatch, with the sought name measured once: layout asks
    // this for every named reference of every placement.
    const String::View wanted = name.GetView();
    for (std::uint32_t i = mChildList.GetCount(); i-- > 0;)
    {
        const RCPtr<LControl>& child = mChildList.GetAt(i, kInsertionOrder);
        if (child->mName.SharesBufferWith(name) || child->mName.GetView() == wanted)
        {
            return child;
        }
    }
    return NullControl();
}

std::uint32_t LControl::FindDescendantControls(const String& name, RCPtrArray<LControl>& found) const
{
    // The answer is this tree's controls alone, whatever the caller's array held.
    found.RemoveAll();
    for (std::uint32_t i = mChildList.GetCount(); i-- > 0;)
    {
        const RCPtr<LControl>& child = mChildList.GetAt(i, kInsertionOrder);
        if (ControlNamesMatch(child->mName, name))
        {
            found.AddItem(child);
        }
        RCPtrArray<LControl> below;
        child->FindDescendantControls(name, below);
        for (std::uint32_t j = below.GetCount(); j-- > 0;)
        {
            found.AddItem(below.ElementAt(j));
        }
    }
    return found.GetCount();
}

std::int32_t LControl::GetChildIndex(const RCPtr<LControl>& child, std::int32_t order)
{
    for (std::uint32_t i = mChildList.GetCount(); i-- > 0;)
    {
        if (mChildList.GetAt(i, order) == child)
        {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

const RCPtr<LMenuItemUpdater>& LControl::GetMenuItemUpdater()
{
    if (!mMenuItemUpdater)
    {
        // The updater holds this control: one internal reference for as long as it does,
        // however often it is asked for.
        mMenuItemUpdater = LMenuItemUpdater::Create(RCPtr<LControl>(this));
        AdjustInternalRefCount(1);
    }
    return mMenuItemUpdater;
}

Result LControl::AddChildControl(const RCPtr<LControl>& child, ConstRCPtr<LControlDescriptor> descriptor)
{
    if (!child || !descriptor)
    {
        return kFail;
    }
    const Result result = child->SetParent(RCPtr<LControl>(this));
    if (Succeeded(result))
    {
        child->ApplyLayoutDescriptor(std::move(descriptor));
    }
    return result;
}

// ---- state tests ----------------------------------------------------------------------------

bool LControl::IsEnabled(bool withAncestors) const
{
    for (const LControl* control = this; control; control = control->mParent.Get())
    {
        if (!control->EnabledFlag())
        {
            return false;
        }
        if (!withAncestors)
        {
            break;
        }
    }
    return true;
}

bool LControl::IsShown(bool withAncestors) const
{
    for (const LControl* control = this; control; control = control->mParent.Get())
    {
        if (!control->VisibleFlag() || !(control->mSize.x > 0.0) || !(control->mSize.y > 0.0))
        {
            return false;
        }
        if (!withAncestors)
        {
            break;
        }
    }
    return true;
}

bool LControl::IsNotFocusable(bool withAncestors) const
{
    if (!withAncestors)
    {
        return mNotFocusable;
    }
    for (const LControl* control = this; control; control = control->mParent.Get())
    {
        if (control->mNotFocusable)
        {
            return true;
        }
        if (control->mFocusBarrier)
        {
            break;
        }
    }
    return false;
}

// ---- slots answered by the base ------------------------------------------------------------

RCPtr<LControl> LControl::GetEditTarget()
{
    if (IsEditTarget())
    {
        return RCPtr<LControl>(this);
    }
    return mParent ? mParent->GetEditTarget() : nullptr;
}

Result LControl::PerformEdit(std::int32_t)
{
    Throw<std::logic_error>(
        "Logic Error : LControl::PerformEdit must be overridden : KR::LControl::PerformEdit : "
        "krframework\\include\\../ControlBase/Control : Line 580");
}

Result LControl::SetDragMode(std::int32_t mode, std::int32_t axes)
{
    mDragMode = mode;
    mDragAxes = axes;
    return kOk;
}

Result LControl::OnClick(const RCPtr<LMouseButtonParam>& button)
{
    if (!button)
    {
        return kInvalidArg;
    }
    switch (button->button)
    {
    case MouseButton::kLeft:
        return OnLeftClick(button);
    case MouseButton::kMiddle:
        return OnMiddleClick(button);
    case MouseButton::kRight:
        return OnRightClick(button);
    default:
        return kInvalidArg;
    }
}

Result LControl::OnLeftClick(const RCPtr<LMouseButtonParam>& button)
{
    if (!button)
    {
        return kInvalidArg;
    }
    OnBeforeLeftClick(button);
    SendNotificationByName(u"NID_LEFT_CLICK", button);
    return kOk;
}

Result LControl::OnMiddleClick(const RCPtr<LMouseButtonParam>& button)
{
    if (!button)
    {
        return kInvalidArg;
    }
    OnBeforeMiddleClick(button);
    SendNotificationByName(u"NID_MIDDLE_CLICK", button);
    return kOk;
}

Result LControl::OnRightClick(const RCPtr<LMouseButtonParam>& button)
{
    if (!button)
    {
        return kInvalidArg;
    }
    OnBeforeRightClick(button);
    SendNotificationByName(u"NID_RIGHT_CLICK", button);
    OpenContextMenuAtPointer();
    return kOk;
}

} // namespace KR
