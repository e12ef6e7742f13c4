// The idle step of a control: the two motion timers that scroll its content (with the
// drag steps they owe a dragged child and the slowing of a release throw), the size and
// move animations, the press handed over after a hold, and the children whose removal
// was deferred. Time comes only from the application's clocks.

#include "kr/ui/Control.h"

#include "kr/ui/ControlHelpers.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/KeyCode.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace KR
{
namespace
{

// A throw keeps its speed this long after the release, then slows down.
constexpr std::int32_t kThrowCoastMs = 1000;
// How long a left press is held before it is handed over.
constexpr std::int32_t kHandOverDelayMs = 100;

using ControlHelpers::AxisOf;
using ControlHelpers::Limit;
using ControlHelpers::Now;
using ControlHelpers::Since;

// Rounded half away from zero within +-2^52: a huge velocity or a long pause gives a
// large step, never an undefined one. NaN gives no step.
double WholeStep(double value)
{
    if (std::isnan(value))
    {
        return 0.0;
    }
    return RoundHalfAwayFromZero(std::clamp(value, -kMaxExactDouble, kMaxExactDouble));
}

// The modifier keys down now, as mouse events carry them.
std::uint32_t CurrentModifiers()
{
    IFrameworkApp& app = IFrameworkApp::GetInstance();
    return (app.GetKeyState(VirtualKey::kControl) ? ModifierFlag::kCtrl : 0) |
           (app.GetKeyState(VirtualKey::kShift) ? ModifierFlag::kShift : 0) |
           (app.GetKeyState(VirtualKey::kMenu) ? ModifierFlag::kAlt : 0);
}

} // namespace

Result LControl::StartSizeAnimation(std::int32_t axis, bool grow)
{
    if (axis != 0 && axis != 1)
    {
        return kInvalidArg;
    }
    AdoptFrameAsPlacement();
    const bool running = mGrowing[axis] || mShrinking[axis];
    mGrowing[axis] = grow;
    mShrinking[axis] = !grow;
    mSizeAnimTime[axis] = Now();
    if (!running)
    {
        BeginIdleProcessing();
    }
    return kOk;
}

Result LControl::StartMoveAnimation(const PointD& target)
{
    if (!std::isfinite(target.x) || !std::isfinite(target.y))
    {
        return kInvalidArg;
    }
    AdoptFrameAsPlacement();
    const LLayoutDescriptor& layout = EnsureLayout();
    mMoveCurrent = PointD{layout.xPosition.absolute, layout.yPosition.absolute};
    mMoveTarget = PointD{std::clamp(target.x, -kMaxExactDouble, kMaxExactDouble),
                         std::clamp(target.y, -kMaxExactDouble, kMaxExactDouble)};
    mMoveAnimTime = Now();
    if (!mMoving)
    {
        mMoving = true;
        BeginIdleProcessing();
    }
    return kOk;
}

void LControl::RequestPressHandOver(const RCPtr<LControl>& target, const PointI& point)
{
    mHandOverTarget = target;
    mHandOverPoint = point;
}

Result LControl::OnIdle(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&)
{
    // A step may take the control out of the tree.
    const RCPtr<LControl> self(this);
    if (!mIdlePaused)
    {
        for (std::int32_t axis = 0; axis < 2; ++axis)
        {
            StepTimer(axis);
            StepSizeAnimation(axis);
        }
        StepMoveAnimation();
        StepPressHandOver();
    }
    RemovePendingChildren();
    OnLayoutChanged();
    return kOk;
}

void LControl::StepTimer(std::int32_t axis)
{
    Timer& timer = mTimers[axis];
    if (!timer.running)
    {
        return;
    }
    const double now = IFrameworkApp::GetInstance().GetSecondsSinceStart();
    const double elapsed = now - timer.start;
    const double step = WholeStep(timer.values[0] * elapsed);
    timer.start = now;
    bool pinned = false;
    if (step != 0.0)
    {
        PointD offset = mScrollOffset;
        double& value = AxisOf(offset, axis);
        const double moved = Limit(value + step, timer.values[2], timer.values[1]);
        pinned = moved == value;
        value = moved;
        if (!pinned)
        {
            SetScrollOffset(offset);
        }
    }
    if (const RCPtr<LControl> target = timer.target)
    {
        // The content moved under a pointer that rests: the dragged control follows it.
        if (const RCPtr<IRootWindowServices> window = target->GetRootWindow())
        {
            const PointI pointer = window->GetMousePosition();
            const PointI corner = RoundPointToInt(target->GetAbsolutePosition());
            target->OnDragMove(
                LPointWithModifiersParam::Create(PointI{RoundToInt32(IntToDouble(pointer.x) - corner.x),
                                                        RoundToInt32(IntToDouble(pointer.y) - corner.y)},
                                                 CurrentModifiers()));
        }
    }
    if (!mThrowStarted[axis] || !timer.running)
    {
        return;
    }
    // A throw that has reached the end of the content has nothing left to move.
    if (pinned)
    {
        mThrowStarted[axis] = false;
        StopTimer(axis);
        return;
    }
    if (Since(Now(), mReleaseTime) > kThrowCoastMs)
    {
        const double slowing = WholeStep(mFriction * elapsed);
        double& velocity = timer.values[0];
        if ((velocity > 0.0 && velocity <= slowing) || (velocity < 0.0 && velocity >= -slowing))
        {
            mThrowStarted[axis] = false;
            StopTimer(axis);
        }
        else
        {
            velocity += velocity > 0.0 ? -slowing : slowing;
        }
    }
}

void LControl::StepSizeAnimation(std::int32_t axis)
{
    if (!mGrowing[axis] && !mShrinking[axis])
    {
        return;
    }
    const std::uint32_t now = Now();
    const std::int32_t elapsed = Since(now, mSizeAnimTime[axis]);
    if (elapsed <= 0)
    {
        return;
    }
    mSizeAnimTime[axis] = now;
    LLayoutDescriptor& layout = EnsureLayout();
    double& size = axis == 0 ? layout.xSize.absolute : layout.ySize.absolute;
    size = mGrowing[axis] ? std::min(size + elapsed, kMaxExactDouble) : std::max(size - elapsed, 0.0);
    mPlacedByLayout = true;
    if (UpdateLayout() == kNothingDone)
    {
        mGrowing[axis] = false;
        mShrinking[axis] = false;
        EndIdleProcessing();
    }
}

void LControl::StepMoveAnimation()
{
    if (!mMoving)
    {
        return;
    }
    const std::uint32_t now = Now();
    const std::int32_t elapsed = Since(now, mMoveAnimTime);
    if (elapsed <= 0)
    {
        return;
    }
    mMoveAnimTime = now;
    for (std::int32_t axis = 0; axis < 2; ++axis)
    {
        double& current = AxisOf(mMoveCurrent, axis);
        const double remaining = AxisOf(mMoveTarget, axis) - current;
        // The last step lands on the target even when the distance left is not whole.
        current = std::fabs(remaining) <= elapsed ? AxisOf(mMoveTarget, axis)
                                                  : current + (remaining > 0.0 ? elapsed : -elapsed);
    }
    LLayoutDescriptor& layout = EnsureLayout();
    layout.xPosition.absolute = mMoveCurrent.x;
    layout.yPosition.absolute = mMoveCurrent.y;
    mPlacedByLayout = true;
    if (UpdateLayout() == kNothingDone)
    {
        mMoving = false;
        EndIdleProcessing();
    }
}

void LControl::StepPressHandOver()
{
    if (!mHandOverPending)
    {
        return;
    }
    if (!mPressed[0] || !mHandOverTarget)
    {
        // The press ended, or became a drag, before the hold was long enough.
        mHandOverPending = false;
        EndIdleProcessing();
        return;
    }
    if (Since(Now(), mHandOverTime) <= kHandOverDelayMs)
    {
        return;
    }
    mHandOverPending = false;
    EndIdleProcessing();
    const RCPtr<LControl> target = mHandOverTarget;
    const RCPtr<LMouseButtonParam> last = mLastLeftPress;
    OnCaptureLost();
    const RCPtr<IRootWindowServices> window = GetRootWindow();
    if (window)
    {
        window->MakeHoverControl(target);
    }
    target->OnMouseDown(LMouseButtonParam::Create(last ? last->button : MouseButton::kLeft, mHandOverPoint,
                                                  last ? last->modifiers : 0, last && last->doubleClick,
                                                  window ? window->GetMouseButtons() : MouseButton::kLeft));
}

void LControl::RemovePendingChildren()
{
    if (mPendingRemovals.GetCount() == 0)
    {
        return;
    }
    RCPtrArray<LControl> leaving;
    std::swap(leaving, mPendingRemovals);
    for (std::uint32_t i = 0; i < leaving.GetCount(); ++i)
    {
        const RCPtr<LControl> child = leaving.ElementAt(i);
        if (child->mParent.Get() == this)
        {
            child->Detach();
        }
    }
    EndIdleProcessing();
}

} // namespace KR
