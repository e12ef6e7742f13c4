// The condition bits of a control, their one re-evaluation step and its notifications,
// and the state changes that feed it: hover, capture, enabled, visible.

#include "kr/ui/Control.h"
#include "kr/ui/ControlHelpers.h"

namespace KR
{
namespace
{

struct ConditionNotification
{
    std::uint32_t bits;
    const char16_t* name;
};

// Sent after "NID_CONDITION_CHANGE", in this order, when one of the bits changed.
constexpr ConditionNotification kConditionNotifications[] = {
    {Condition::kHasFocus, u"NID_HAS_FOCUS_CONDITION_CHANGE"},
    {Condition::kContainsFocus, u"NID_CONTAINS_FOCUS_CONDITION_CHANGE"},
    {Condition::kHoverOrForced, u"NID_HOVER_CONDITION_CHANGE"},
    {Condition::kCapture, u"NID_CAPTURE_CONDITION_CHANGE"},
    {Condition::kLeftPressed | Condition::kLeftDrag, u"NID_LEFT_DRAG_CONDITION_CHANGE"},
    {Condition::kMiddlePressed | Condition::kMiddleDrag, u"NID_MIDDLE_DRAG_CONDITION_CHANGE"},
    {Condition::kRightPressed | Condition::kRightDrag, u"NID_RIGHT_DRAG_CONDITION_CHANGE"},
    {Condition::kEnabled, u"NID_ENABLED_CONDITION_CHANGE"},
    {Condition::kShown, u"NID_VISIBLITY_CONDITION_CHANGE"},
};

using ControlHelpers::ButtonIndex;

} // namespace

std::uint32_t LControl::GetConditions() const
{
    std::uint32_t bits = 0;
    bits |= mHasFocus ? Condition::kHasFocus : 0;
    bits |= mContainsFocus ? Condition::kContainsFocus : 0;
    bits |= mHover ? Condition::kHover : 0;
    bits |= (mHover || mForcedHover) ? Condition::kHoverOrForced : 0;
    bits |= mCapture ? Condition::kCapture : 0;
    for (int i = 0; i < 3; ++i)
    {
        bits |= mPressed[i] ? (Condition::kLeftPressed << i) : 0;
        bits |= mDragging[i] ? (Condition::kLeftDrag << i) : 0;
    }
    if (EnabledFlag() && (!mParent || mParent->IsEnabled(true)))
    {
        bits |= Condition::kEnabled;
    }
    bits |= IsShown(true) ? Condition::kShown : 0;
    return bits;
}

void LControl::InitializeConditions()
{
    mConditions->previous = mConditions->current;
    mConditions->current = GetConditions();
    mConditions->point = mPressPoint;
}

void LControl::UpdateConditions()
{
    const std::uint32_t bits = GetConditions();
    LConditionsParam& record = *mConditions;
    if (bits == record.current)
    {
        return;
    }
    const std::uint32_t old = record.current;
    record.previous = old;
    record.current = bits;
    record.point = mPressPoint;
    const std::uint32_t changed = old ^ bits;
    const auto turnedOn = [&](std::uint32_t bit) { return (changed & bit) != 0 && (bits & bit) != 0; };
    const auto turnedOff = [&](std::uint32_t bit) { return (changed & bit) != 0 && (bits & bit) == 0; };
    const RCPtr<IRootWindowServices> window = GetRootWindow();

    if (mCursor != 0 && window)
    {
        if (turnedOn(Condition::kHover) && !mCapture)
        {
            mSavedCursor = window->SetCursor(mCursor);
        }
        else if ((turnedOff(Condition::kHover) && !mCapture) || (turnedOff(Condition::kCapture) && !mHover))
        {
            window->SetCursor(mSavedCursor);
        }
    }
    if (mDragMode != 0 && turnedOff(Condition::kLeftDrag))
    {
        OnDragEnd();
    }
    OnConditionsChanged(mConditions);
    // Nobody listening is the common case; it costs no notification object.
    if (LNotificationDistributor::GetRegistrationCount() > 0)
    {
        const RCPtr<LRefCountedObject> data(mConditions);
        SendNotificationByName(u"NID_CONDITION_CHANGE", data);
        for (const ConditionNotification& entry : kConditionNotifications)
        {
            if ((changed & entry.bits) != 0)
            {
                SendNotificationByName(entry.name, data);
            }
        }
    }
    if (mDragMode != 0 && turnedOn(Condition::kLeftDrag))
    {
        OnDragStart();
    }
    if (window &&
        ((mHover && (changed & Condition::kShown) != 0 && (bits & Condition::kShown) == 0 && !mCapture) ||
         (turnedOff(Condition::kCapture) && !mHover)))
    {
        window->UpdateHoverAtPointer();
    }
    // Both bits depend on the ancestors.
    if ((changed & (Condition::kEnabled | Condition::kShown)) != 0)
    {
        for (std::uint32_t i = mChildList.GetCount(); i-- > 0;)
        {
            mChildList.GetAt(i, kInsertionOrder)->UpdateConditions();
        }
    }
}

void LControl::SetForcedHover(bool forced)
{
    if (forced != mForcedHover)
    {
        mForcedHover = forced;
        UpdateConditions();
    }
}

void LControl::SetPressed(std::uint32_t button, bool pressed)
{
    mPressed[ButtonIndex(button)] = pressed;
}

void LControl::SetDragging(std::uint32_t button, bool dragging)
{
    mDragging[ButtonIndex(button)] = dragging;
}

Result LControl::ApplyCursor()
{
    const RCPtr<IRootWindowServices> window = GetRootWindow();
    return window ? static_cast<Result>(window->SetCursor(mCursor)) : kFail;
}

Result LControl::OnMouseEnter()
{
    mHover = true;
    UpdateConditions();
    return kOk;
}

Result LControl::OnMouseLeave()
{
    mHover = false;
    UpdateConditions();
    return kOk;
}

Result LControl::OnCaptureLost()
{
    if (!mCapture)
    {
        return kNothingDone;
    }
    mCapture = false;
    for (int i = 0; i < 3; ++i)
    {
        mPressed[i] = false;
        mDragging[i] = false;
    }
    const RCPtr<IRootWindowServices> window = GetRootWindow();
    const Result result = window ? window->ReleaseCapture() : kOk;
    UpdateConditions();
    return result;
}

void LControl::SetEnabled(bool enabled)
{
    if (enabled == EnabledFlag())
    {
        return;
    }
    EnsureLayout().enabled = enabled;
    if (!enabled && (mHasFocus || mContainsFocus) && mParent)
    {
        mParent->SetFocus(true);
    }
    TakeFocusFromParent();
    UpdateConditions();
    Invalidate(RectD{0.0, 0.0, mSize.x, mSize.y}, ClipsToParent());
    InvalidateSubtree();
}

bool LControl::SetVisible(bool visible)
{
    if (visible != VisibleFlag())
    {
        const RectD whole{0.0, 0.0, mSize.x, mSize.y};
        if (!visible)
        {
            Invalidate(whole, ClipsToParent());
            InvalidateSubtree();
        }
        EnsureLayout().visible = visible;
        if (visible)
        {
            TakeFocusFromParent();
            Invalidate(whole, ClipsToParent());
            InvalidateSubtree();
        }
        else if ((mHasFocus || mContainsFocus) && mParent)
        {
            mParent->SetFocus(true);
        }
        UpdateConditions();
    }
    return IsShown(true);
}

} // namespace KR
