// What a control does with the pointer: the guards on press and release, focus on press,
// the press that becomes a drag past the threshold, the click rule, the release throw of
// a mode-6 drag, and the wheel climbing the chain.

#include "kr/ui/Control.h"

#include "kr/ui/ControlHelpers.h"
#include "kr/ui/FrameworkApp.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace KR
{
namespace
{

// A release less than this long after the last move throws the content on.
constexpr std::int32_t kThrowWindowMs = 100;
// The least pointer speed, units per second, that throws the content on an axis.
constexpr double kThrowMinimumVelocity = 1000.0;

using ControlHelpers::ButtonIndex;
using ControlHelpers::IsButton;
using ControlHelpers::Now;
using ControlHelpers::Since;

} // namespace

Result LControl::SetDragThreshold(std::int32_t threshold)
{
    if (threshold < 0)
    {
        return kInvalidArg;
    }
    mDragThreshold = threshold;
    return kOk;
}

void LControl::FocusOnPress()
{
    if (!mNotFocusable && !(mParent && !mFocusBarrier && mParent->IsNotFocusable(true)))
    {
        SetFocus(true);
    }
    else if (mParent)
    {
        mParent->RequestFocus(RCPtr<LControl>(this));
    }
}

Result LControl::OnMouseDown(const RCPtr<LMouseButtonParam>& button)
{
    if (!button || !IsButton(button->button))
    {
        return kInvalidArg;
    }
    // A hook or a listener may take the control out of the tree.
    const RCPtr<LControl> self(this);
    const bool hadCapture = mCapture;
    if (!hadCapture)
    {
        if (!IsShown(true) || !IsEnabled(true))
        {
            return kNothingDone;
        }
        FocusOnPress();
    }
    switch (button->button)
    {
    case MouseButton::kLeft:
        mLastLeftPress = button;
        OnLeftButtonDown(button);
        break;
    case MouseButton::kMiddle:
        OnMiddleButtonDown(button);
        break;
    default:
        OnRightButtonDown(button);
        break;
    }
    if (LNotificationDistributor::GetRegistrationCount() > 0)
    {
        SendNotificationByName(u"NID_MOUSE_DOWN", button);
    }
    if (!hadCapture)
    {
        BeginDrag(button->button, button->x, button->y);
    }
    return kOk;
}

Result LControl::BeginDrag(std::uint32_t button, std::int32_t x, std::int32_t y)
{
    if (!IsButton(button) || !IsShown(true) || !IsEnabled(true) || mCapture)
    {
        return kNothingDone;
    }
    const RCPtr<IRootWindowServices> window = GetRootWindow();
    // The button may have come up before the press reached the control.
    if (window && (window->GetMouseButtons() & button) == 0)
    {
        return kNothingDone;
    }
    const RCPtr<LControl> self(this);
    mPressPoint = PointD{IntToDouble(x) + mPosition.x, IntToDouble(y) + mPosition.y};
    mDragOffset = PointD{};
    // A press catches content still flying from a throw: the drag goes on from here.
    bool wasThrowing = false;
    for (std::int32_t axis = 0; axis < 2; ++axis)
    {
        if (mThrowStarted[axis])
        {
            wasThrowing = wasThrowing || mTimers[axis].running;
            mThrowStarted[axis] = false;
            StopTimer(axis);
        }
    }
    mCapture = true;
    const std::uint32_t now = Now();
    mMoveTime = now;
    mPreviousMoveTime = now;
    mHandOverTime = now;
    mThrowVelocity = PointD{};
    if (window)
    {
        window->SetCapture(self);
    }
    SetPressed(button, true);
    if (button == MouseButton::kLeft)
    {
        mDragMode = 0;
        if (mHandOverTarget && !mHandOverPending)
        {
            mHandOverPending = true;
            BeginIdleProcessing();
        }
    }
    UpdateConditions();
    if (mDragThreshold == 0 || (wasThrowing && button == MouseButton::kLeft))
    {
        SetPressed(button, false);
        SetDragging(button, true);
        UpdateConditions();
        if (mDragging[0] && mDragMode != 0)
        {
            OnDragMove(LPointWithModifiersParam::Create(PointI{x, y}, 0));
        }
    }
    return kOk;
}

Result LControl::OnMouseMove(const RCPtr<LPointWithModifiersParam>& point)
{
    if (!point)
    {
        return kInvalidArg;
    }
    const RCPtr<LControl> self(this);
    mMoveTime = Now();
    if (!mInSyntheticMove && (mPressed[0] || mPressed[1] || mPressed[2]))
    {
        const PointI press =
            RoundPointToInt(PointD{mPressPoint.x - mPosition.x, mPressPoint.y - mPosition.y});
        const std::int64_t dx = std::llabs(std::int64_t{point->x} - press.x);
        const std::int64_t dy = std::llabs(std::int64_t{point->y} - press.y);
        if (std::max(dx, dy) >= mDragThreshold)
        {
            // Whoever follows the moves sees the drag leave from the press point.
            mInSyntheticMove = true;
            OnMouseMove(LPointWithModifiersParam::Create(press, point->modifiers));
            mInSyntheticMove = false;
            const int first = mPressed[0] ? 0 : (mPressed[1] ? 1 : 2);
            mDragging[first] = true;
            mPressed[0] = mPressed[1] = mPressed[2] = false;
            UpdateConditions();
        }
    }
    OnMouseMoved(point);
    if (LNotificationDistributor::GetRegistrationCount() > 0)
    {
        SendNotificationByName(u"NID_MOUSE_MOVE", point);
    }
    if (mDragging[0] && mDragMode != 0)
    {
        OnDragMove(point);
    }
    mPreviousMoveTime = mMoveTime;
    return kOk;
}

Result LControl::OnMouseUp(const RCPtr<LMouseButtonParam>& button)
{
    if (!button || !IsButton(button->button))
    {
        return kInvalidArg;
    }
    if ((!IsShown(true) || !IsEnabled(true)) && !mCapture)
    {
        return kNothingDone;
    }
    const RCPtr<LControl> self(this);
    const int index = ButtonIndex(button->button);
    switch (button->button)
    {
    case MouseButton::kLeft:
        OnLeftButtonUp(button);
        break;
    case MouseButton::kMiddle:
        OnMiddleButtonUp(button);
        break;
    default:
        OnRightButtonUp(button);
        break;
    }
    const bool click = mPressed[index] || (mDragging[index] && mDragMode == 0 && mHover);
    if (index == 0 && mDragging[0] && mDragMode == 6)
    {
        mReleaseTime = Now();
        if (Since(mReleaseTime, mPreviousMoveTime) < kThrowWindowMs)
        {
            PointD least;
            PointD most;
            GetSizeLimits(this, least, most);
            const double velocity[2] = {mThrowVelocity.x, mThrowVelocity.y};
            const double upper[2] = {most.x, most.y};
            for (std::int32_t axis = 0; axis < 2; ++axis)
            {
                if ((mDragAxes & (axis == 0 ? 1 : 2)) != 0 &&
                    std::fabs(velocity[axis]) >= kThrowMinimumVelocity)
                {
                    StartTimer(axis, velocity[axis], upper[axis], 0.0, nullptr);
                    mThrowStarted[axis] = true;
                }
            }
        }
    }
    if (LNotificationDistributor::GetRegistrationCount() > 0)
    {
        SendNotificationByName(u"NID_MOUSE_UP", button);
    }
    // The window never hands a release on to another control, so the release ends the capture.
    if (mCapture)
    {
        OnCaptureLost();
    }
    if (click && IsEnabled(true))
    {
        OnClick(button);
    }
    return kOk;
}

Result LControl::OnMouseWheel(const RCPtr<LMouseWheelParam>& wheel)
{
    if (!wheel)
    {
        return -1;
    }
    const bool vertical =
        wheel->direction == WheelDirection::kTowardsUser || wheel->direction == WheelDirection::kAwayFromUser;
    const RCPtr<IRootWindowServices> window = GetRootWindow();
    const RCPtr<LControl> root = GetRootControl();
    // Every control offered the notch: none is offered it twice, and the hit tests that
    // pass controls drawn outside their parent skip them.
    RCPtrArray<LControl> offered;
    RCPtr<LControl> control(this);
    while (control)
    {
        bool seen = false;
        for (std::uint32_t i = 0; i < offered.GetCount() && !seen; ++i)
        {
            seen = offered.ElementAt(i) == control;
        }
        if (!seen)
        {
            const Result result =
                vertical ? control->OnVerticalWheel(wheel) : control->OnHorizontalWheel(wheel);
            if (result != kNothingDone)
            {
                return result;
            }
            offered.AddItem(control);
        }
        const RCPtr<LControl> parent = control->mParent;
        if (!parent)
        {
            break;
        }
        if (control->ClipsToParent() && parent->ClipsToParent())
        {
            control = parent;
            continue;
        }
        // What lies under the notch is not necessarily the parent: the control or its
        // parent reaches outside the parent's area.
        if (!window || !root)
        {
            break;
        }
        for (std::uint32_t i = 0; i < offered.GetCount(); ++i)
        {
            offered.ElementAt(i)->SetExcludedFromHitTest(true);
        }
        const PointI corner = RoundPointToInt(root->GetAbsolutePosition());
        PointI local{};
        control = root->HitTest(PointI{wheel->x - corner.x, wheel->y - corner.y}, local, true);
        for (std::uint32_t i = 0; i < offered.GetCount(); ++i)
        {
            offered.ElementAt(i)->SetExcludedFromHitTest(false);
        }
    }
    return kNothingDone;
}

} // namespace KR
