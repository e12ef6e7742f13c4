// Which controls may hold the keyboard focus, how it moves between them, and the walks
// along the tab order.

#include "kr/ui/Control.h"

#include <limits>

namespace KR
{
namespace
{

// The tab walk's test; the not-focusable flags are its callers' business.
bool QualifiesForTab(const LControl& control)
{
    const LLayoutDescriptor* layout = control.ReadLayoutDescriptor();
    const RCPtr<LControl>& parent = control.GetParent();
    return control.IsShown(true) && (!layout || layout->enabled) && (!parent || parent->IsEnabled(true));
}

bool CanHoldOrPassFocus(LControl& control)
{
    return control.CanTakeFocus() || control.ContainsFocusableControl();
}

} // namespace

bool LControl::CanTakeFocus()
{
    return IsShown(true) && EnabledFlag() && (!mParent || mParent->IsEnabled(true)) && !mNotFocusable &&
           (!mParent || mFocusBarrier || !mParent->IsNotFocusable(true)) && !ContainsFocusableControl();
}

bool LControl::ContainsFocusableControl()
{
    if (mChildList.GetCount() == 0 || mNotFocusable || !IsShown(true) || !IsEnabled(true))
    {
        return false;
    }
    for (std::uint32_t i = mChildList.GetCount(); i-- > 0;)
    {
        if (CanHoldOrPassFocus(*mChildList.GetAt(i, kInsertionOrder)))
        {
            return true;
        }
    }
    return false;
}

RCPtr<LControl> LControl::FindFocusHolderChild(const LControl* except) const
{
    for (std::uint32_t i = mChildList.GetCount(); i-- > 0;)
    {
        const RCPtr<LControl>& child = mChildList.GetAt(i, kInsertionOrder);
        if (child.Get() != except && (child->mHasFocus || child->mContainsFocus))
        {
            return child;
        }
    }
    return nullptr;
}

const RCPtr<LControl>& LControl::GetFocusedChild() const
{
    for (std::uint32_t i = mChildList.GetCount(); i-- > 0;)
    {
        const RCPtr<LControl>& child = mChildList.GetAt(i, kInsertionOrder);
        if (child->mHasFocus || child->mContainsFocus)
        {
            return child;
        }
    }
    return NullControl();
}

Result LControl::SetFocus(bool forward)
{
    const RCPtr<LControl> self(this);
    const RCPtr<IRootWindowServices> window = GetRootWindow();
    if (!mHasFocus && window)
    {
        const RCPtr<LControl> holder = window->GetFocusControl();
        if (holder && !holder->CanReleaseFocus())
        {
            return kFail;
        }
    }
    const bool hasFocusable = ContainsFocusableControl();
    const bool canTake = !hasFocusable && CanTakeFocus();
    if (mHasFocus && canTake)
    {
        return kOk;
    }
    if (hasFocusable)
    {
        if (mContainsFocus)
        {
            const RCPtr<LControl> holder = FindFocusHolderChild(nullptr);
            if (!holder)
            {
                return kFail;
            }
            if (CanHoldOrPassFocus(*holder))
            {
                return holder->SetFocus(forward);
            }
        }
        const RCPtr<LControl> next = forward ? GetFirstFocusableChild() : GetLastFocusableChild();
        return next ? next->SetFocus(forward) : kFail;
    }
    if (canTake)
    {
        Result result = kOk;
        mHasFocus = true;
        if (mContainsFocus)
        {
            mContainsFocus = false;
            if (const RCPtr<LControl> holder = FindFocusHolderChild(nullptr))
            {
                result = holder->OnFocusLost();
            }
        }
        else if (mParent)
        {
            result = mParent->ChildTakesFocus(self);
        }
        if (window)
        {
            window->SetFocusControl(self);
        }
        UpdateConditions();
        return result;
    }
    // Nothing here can hold the focus: it goes back to the root of the tree.
    const RCPtr<LControl> root = GetRootControl();
    if (mHasFocus || !root)
    {
        return kFail;
    }
    if (!root->mHasFocus && !root->mContainsFocus)
    {
        return kNothingDone;
    }
    // The root asking itself again would never end (its focused control was just
    // disabled and nothing else can hold the focus).
    if (root.Get() == this)
    {
        return kFail;
    }
    return root->SetFocus(true);
}

Result LControl::ChildTakesFocus(const RCPtr<LControl>& child)
{
    if (mContainsFocus)
    {
        const RCPtr<LControl> other = FindFocusHolderChild(child.Get());
        return !other || Succeeded(other->OnFocusLost()) ? 1 : 0;
    }
    mContainsFocus = true;
    if (mHasFocus)
    {
        mHasFocus = false;
    }
    else if (mParent)
    {
        mParent->ChildTakesFocus(RCPtr<LControl>(this));
    }
    UpdateConditions();
    return 1;
}

Result LControl::OnFocusLost()
{
    if (mHasFocus)
    {
        mHasFocus = false;
        UpdateConditions();
        if (const RCPtr<IRootWindowServices> window = GetRootWindow())
        {
            window->SaveAndClearFocus();
        }
        return 1;
    }
    mContainsFocus = false;
    const RCPtr<LControl> holder = FindFocusHolderChild(nullptr);
    const Result result = holder ? holder->OnFocusLost() : kFail;
    UpdateConditions();
    return Succeeded(result) ? 1 : 0;
}

void LControl::TakeFocusFromParent()
{
    if (mParent && mParent->mHasFocus && CanHoldOrPassFocus(*this))
    {
        SetFocus(true);
    }
}

void LControl::SetNotFocusable(bool notFocusable)
{
    const std::int32_t tabStop = mLayout ? mLayout->tabStop : 0;
    const bool consistent = notFocusable == (tabStop < 0);
    if (notFocusable == mNotFocusable && consistent)
    {
        return;
    }
    mNotFocusable = notFocusable;
    if (!consistent)
    {
        EnsureLayout().tabStop = tabStop == 0 ? -1
                                 : tabStop == std::numeric_limits<std::int32_t>::min()
                                     ? std::numeric_limits<std::int32_t>::max()
                                     : -tabStop;
    }
    if (mParent)
    {
        mParent->mChildList.RaiseGeneration();
    }
    if (mParent && mParent->mHasFocus && CanHoldOrPassFocus(*this))
    {
        SetFocus(true);
    }
    else if (notFocusable && mHasFocus && mParent)
    {
        mParent->SetFocus(true);
    }
}

Result LControl::RequestFocus(const RCPtr<LControl>&)
{
    if (!mNotFocusable && (!mParent || mFocusBarrier || !mParent->IsNotFocusable(true)))
    {
        SetFocus(true);
    }
    else if (mParent)
    {
        mParent->RequestFocus(RCPtr<LControl>(this));
    }
    return kOk;
}

const RCPtr<LControl>& LControl::GetNextTabControl(const RCPtr<LControl>& current, bool backward)
{
    if (!current || current->mParent.Get() != this)
    {
        return NullControl();
    }
    const std::int32_t count = static_cast<std::int32_t>(mChildList.GetCount());
    std::int32_t start = -1;
    for (std::int32_t i = count; i-- > 0;)
    {
        if (mChildList.GetAt(static_cast<std::uint32_t>(i), kTabOrder) == current)
        {
            start = i;
            break;
        }
    }
    if (start < 0)
    {
        return NullControl();
    }
    const auto step = [count, backward](std::int32_t i)
    { return backward ? (i + count - 1) % count : (i + 1) % count; };
    std::int32_t position = step(start);
    if (position == start)
    {
        const RCPtr<LControl>& only = mChildList.GetAt(static_cast<std::uint32_t>(start), kTabOrder);
        return QualifiesForTab(*only) ? only : NullControl();
    }
    for (; position != start; position = step(position))
    {
        const RCPtr<LControl>& candidate = mChildList.GetAt(static_cast<std::uint32_t>(position), kTabOrder);
        if (QualifiesForTab(*candidate))
        {
            return candidate;
        }
    }
    return NullControl();
}

const RCPtr<LControl>& LControl::FocusableChildFromEnd(bool fromLast)
{
    const std::uint32_t count = mChildList.GetCount();
    if (count == 0)
    {
        return NullControl();
    }
    const RCPtr<LControl>& first = mChildList.GetAt(fromLast ? count - 1 : 0, kTabOrder);
    if (CanHoldOrPassFocus(*first))
    {
        return first;
    }
    // The walk skips the children that do not qualify, so when the first one does not,
    // it never comes back to it: the steps are bounded by the count instead.
    RCPtr<LControl> candidate = first;
    for (std::uint32_t steps = 0; steps < count; ++steps)
    {
        const RCPtr<LControl>& next = GetNextTabControl(candidate, fromLast);
        if (!next || next == first)
        {
            return NullControl();
        }
        if (CanHoldOrPassFocus(*next))
        {
            return next;
        }
        candidate = next;
    }
    return NullControl();
}

const RCPtr<LControl>& LControl::GetFirstFocusableChild()
{
    return FocusableChildFromEnd(false);
}

const RCPtr<LControl>& LControl::GetLastFocusableChild()
{
    return FocusableChildFromEnd(true);
}

} // namespace KR
