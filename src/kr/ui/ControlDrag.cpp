// The drag modes: what one step of a left-button drag does to the control (move, resize,
// pan its content), how the pointer is held inside the parent, the parent's scrolling while
// the pointer rests near its edges, and the drop targets of mode 1.

#include "kr/ui/Control.h"

#include "kr/system/CursorNames.h"
#include "kr/ui/ControlHelpers.h"
#include "kr/ui/FrameworkApp.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace KR
{
namespace
{

constexpr std::int32_t kMoveWithDrop = 1;
constexpr std::int32_t kMoveScrolling = 3;
constexpr std::int32_t kResize = 4;
constexpr std::int32_t kResizeScrolling = 5;
constexpr std::int32_t kPan = 6;

constexpr std::int32_t kAxisX = 0x1;
constexpr std::int32_t kAxisY = 0x2;
constexpr std::int32_t kRightEdge = 0x4;
constexpr std::int32_t kLeftEdge = 0x8;
constexpr std::int32_t kTopEdge = 0x10;
constexpr std::int32_t kBottomEdge = 0x20;

// The parent scrolls while the pointer rests this close to its edge, faster the deeper in.
constexpr double kEdgeZone = 30.0;
constexpr double kEdgeSpeedPerUnit = 15.0;
// A velocity older than this is not averaged with the next one.
constexpr double kVelocityMemorySeconds = 0.2;

using ControlHelpers::AxisOf;
using ControlHelpers::Limit;

std::int32_t FarEdge(std::int32_t axis)
{
    return axis == 0 ? kRightEdge : kBottomEdge;
}

std::int32_t NearEdge(std::int32_t axis)
{
    return axis == 0 ? kLeftEdge : kTopEdge;
}

std::int32_t AxisBits(std::int32_t axis)
{
    return axis == 0 ? (kAxisX | kRightEdge | kLeftEdge) : (kAxisY | kTopEdge | kBottomEdge);
}

} // namespace

void LControl::SetSubtreeExcluded(bool excluded)
{
    mExcludedFromHitTest = excluded;
    for (std::uint32_t i = 0; i < mChildList.GetCount(); ++i)
    {
        mChildList.GetAt(i, kInsertionOrder)->SetSubtreeExcluded(excluded);
    }
}

void LControl::AdoptFrameAsPlacement()
{
    // A control made in code has a frame but no placement, and drags and animations move
    // placements. A root control is placed by its window.
    if (mDescriptor || mPlacedByLayout || !mParent)
    {
        return;
    }
    DockedPositionSpec x;
    DockedPositionSpec y;
    x.reference = y.reference = kPositionToClient;
    x.absolute = mPosition.x;
    y.absolute = mPosition.y;
    SizeSpec width;
    SizeSpec height;
    width.reference = height.reference = kSizeToSelf;
    width.absolute = mSize.x;
    height.absolute = mSize.y;
    SetPlacements(x, width, y, height);
}

void LControl::TakeDragOrigin()
{
    mDragStartSize = mSize;
    mParentStartScroll = mParent ? mParent->mScrollOffset : PointD{};
    if (mLayout)
    {
        mDragStartSpecs[0] = mLayout->xPosition.absolute;
        mDragStartSpecs[1] = mLayout->yPosition.absolute;
        mDragStartSpecs[2] = mLayout->xSize.absolute;
        mDragStartSpecs[3] = mLayout->ySize.absolute;
    }
    else
    {
        mDragStartSpecs[0] = mPosition.x;
        mDragStartSpecs[1] = mPosition.y;
        mDragStartSpecs[2] = mSize.x;
        mDragStartSpecs[3] = mSize.y;
    }
}

void LControl::OnDragStart()
{
    if (!mDragging[0])
    {
        return;
    }
    const RCPtr<LControl> self(this);
    if (mDragMode >= kMoveWithDrop && mDragMode <= kResizeScrolling)
    {
        AdoptFrameAsPlacement();
    }
    if (mDragMode == kMoveWithDrop)
    {
        mDropTarget = nullptr;
        mDropCursorShown = false;
        mUnclippedBeforeDrag = !ClipsToParent();
        SetClipToParent(false);
        // The control travels over its siblings wherever the pointer takes it: each axis
        // that is not docked is placed by its position alone. Positions of controls that
        // are not docked are content coordinates already, so the parent's scroll offset
        // needs no correction here or at the drop.
        for (std::int32_t axis = 0; axis < 2 && mParent; ++axis)
        {
            DockedPositionSpec position;
            SizeSpec size;
            EnsureLayout().GetPlacement(axis, position, size);
            if (!position.docked)
            {
                position.anchor = 0.0f;
                position.reference = kPositionToClient;
                position.referenceName = String();
                position.relative = 0.0f;
                position.absolute = AxisOf(mPosition, axis);
                SetPlacement(axis, position, size);
            }
        }
    }
    TakeDragOrigin();
}

void LControl::ResetDragOrigin()
{
    mPressPoint.x += mDragOffset.x;
    mPressPoint.y += mDragOffset.y;
    mDragOffset = PointD{};
    TakeDragOrigin();
}

Result LControl::OnDragMove(const RCPtr<LPointWithModifiersParam>& point)
{
    if (!point)
    {
        return kInvalidArg;
    }
    const RCPtr<LControl> self(this);
    // Hit tests that run meanwhile (the drop target's, the hover's after a move) look
    // through the dragged control.
    SetSubtreeExcluded(true);
    // Where the pointer is in the window, from where the control is before this step.
    const PointD at = GetAbsolutePosition();
    const PointD pointer{at.x + IntToDouble(point->x), at.y + IntToDouble(point->y)};
    PointD offset{mPosition.x + IntToDouble(point->x) - mPressPoint.x,
                  mPosition.y + IntToDouble(point->y) - mPressPoint.y};
    LimitDragOffset(offset);
    if (mDragMode == kPan)
    {
        TrackThrowVelocity(offset);
    }
    else
    {
        mDragOffset = offset;
        ApplyDragStep(offset);
    }
    if (mDragMode == kMoveWithDrop)
    {
        UpdateDropTarget(pointer);
    }
    if (mDragMode == kMoveScrolling || mDragMode == kResizeScrolling)
    {
        UpdateEdgeScrolling(offset);
    }
    SetSubtreeExcluded(false);
    return kOk;
}

void LControl::LimitDragOffset(PointD& offset) const
{
    if (mDragMode != kMoveWithDrop && mParent)
    {
        // The pointer stays inside what the parent shows of its content.
        const RectD area = mParent->GetClientArea();
        const PointD extent{area.width, area.height};
        for (std::int32_t axis = 0; axis < 2; ++axis)
        {
            const double lower = AxisOf(mParent->mScrollOffset, axis);
            const double upper = lower + std::max(AxisOf(extent, axis) - 1.0, 0.0);
            const double press = AxisOf(mPressPoint, axis);
            AxisOf(offset, axis) = Limit(AxisOf(offset, axis), lower - press, upper - press);
        }
    }
    if (mDragMode == kResize || mDragMode == kResizeScrolling)
    {
        // An edge dragged past the opposite one leaves the control one unit wide.
        for (std::int32_t axis = 0; axis < 2; ++axis)
        {
            const double start = AxisOf(mDragStartSize, axis);
            double& value = AxisOf(offset, axis);
            if ((mDragAxes & FarEdge(axis)) != 0)
            {
                value = std::max(value, 1.0 - start);
            }
            else if ((mDragAxes & NearEdge(axis)) != 0)
            {
                value = std::min(value, start - 1.0);
            }
        }
    }
}

void LControl::ApplyDragStep(const PointD& offset)
{
    if (!mParent)
    {
        return;
    }
    const PointD scroll = mParent->mScrollOffset;
    for (std::int32_t axis = 0; axis < 2; ++axis)
    {
        DockedPositionSpec position;
        SizeSpec size;
        EnsureLayout().GetPlacement(axis, position, size);
        // A docked control stays where it is shown while the parent scrolls under it.
        const double scrolled =
            position.docked ? AxisOf(scroll, axis) - AxisOf(mParentStartScroll, axis) : 0.0;
        const double moved = AxisOf(offset, axis);
        if (mDragMode < kResize)
        {
            if ((mDragAxes & (axis == 0 ? kAxisX : kAxisY)) == 0)
            {
                continue;
            }
            position.absolute = mDragStartSpecs[axis] + moved - scrolled;
        }
        else if ((mDragAxes & FarEdge(axis)) != 0)
        {
            size.absolute = mDragStartSpecs[2 + axis] + moved;
        }
        else if ((mDragAxes & NearEdge(axis)) != 0)
        {
            position.absolute = mDragStartSpecs[axis] + moved - scrolled;
            size.absolute = mDragStartSpecs[2 + axis] - moved;
        }
        else
        {
            continue;
        }
        SetPlacement(axis, position, size);
    }
}

void LControl::TrackThrowVelocity(const PointD& offset)
{
    const PointD change{offset.x - mDragOffset.x, offset.y - mDragOffset.y};
    const double seconds = static_cast<std::int32_t>(mMoveTime - mPreviousMoveTime) / 1000.0;
    if (seconds > 0.0)
    {
        for (std::int32_t axis = 0; axis < 2; ++axis)
        {
            const double raw = AxisOf(change, axis) / seconds;
            double& velocity = AxisOf(mThrowVelocity, axis);
            velocity = (velocity == 0.0 || seconds >= kVelocityMemorySeconds) ? raw : 0.5 * (raw + velocity);
        }
    }
    PointD least;
    PointD most;
    // The content's own bounds, the ones a throw on release stops at too.
    GetSizeLimits(this, least, most);
    PointD scroll = mScrollOffset;
    bool moved = false;
    for (std::int32_t axis = 0; axis < 2; ++axis)
    {
        if ((mDragAxes & (axis == 0 ? kAxisX : kAxisY)) != 0 && AxisOf(change, axis) != 0.0)
        {
            AxisOf(scroll, axis) =
                Limit(AxisOf(scroll, axis) + AxisOf(change, axis), AxisOf(least, axis), AxisOf(most, axis));
            moved = true;
        }
    }
    if (moved)
    {
        SetScrollOffset(scroll);
    }
    mDragOffset = offset;
}

RCPtr<LControl> LControl::FindDropTarget(const RCPtr<LControl>&, const PointI&)
{
    // Controls that take drops say so by overriding it.
    return nullptr;
}

void LControl::UpdateDropTarget(const PointD& pointer)
{
    const RCPtr<LControl> self(this);
    const RCPtr<IRootWindowServices> window = GetRootWindow();
    const RCPtr<LControl> root = GetRootControl();
    RCPtr<LControl> target;
    if (root && root != self)
    {
        const PointD corner = root->GetAbsolutePosition();
        PointI local{};
        const RCPtr<LControl> under =
            root->HitTest(RoundPointToInt(PointD{pointer.x - corner.x, pointer.y - corner.y}), local, true);
        if (under)
        {
            target = under->FindDropTarget(self, local);
        }
    }
    if (target == mDropTarget && mDropCursorShown)
    {
        return;
    }
    mDropTarget = target;
    if (window)
    {
        window->SetCursor(
            IFrameworkApp::GetInstance().LoadCursorByName(target ? kCursorDropMove : kCursorNoDrop));
        mDropCursorShown = true;
    }
}

void LControl::UpdateEdgeScrolling(const PointD& offset)
{
    if (!mParent)
    {
        return;
    }
    const RCPtr<LControl> self(this);
    const RCPtr<LControl> parent = mParent;
    const RectD area = parent->GetClientArea();
    const PointD extent{area.width, area.height};
    const PointD scroll = parent->mScrollOffset;
    PointD least;
    PointD most;
    parent->GetSizeLimits(parent.Get(), least, most);
    for (std::int32_t axis = 0; axis < 2; ++axis)
    {
        double velocity = 0.0;
        if ((mDragAxes & AxisBits(axis)) != 0)
        {
            // A zone only where there is content left to scroll to, and never more than
            // half the parent, so the two zones of an axis do not meet.
            const double widest = std::min(kEdgeZone, std::floor(AxisOf(extent, axis) / 2.0));
            const double s = AxisOf(scroll, axis);
            const double nearZone = Limit(s - AxisOf(least, axis), 0.0, widest);
            const double farZone = Limit(AxisOf(most, axis) - s, 0.0, widest);
            // The pointer in what the parent shows, and how deep it is in a zone (0 on
            // the zone's inner unit).
            const double at = AxisOf(mPressPoint, axis) + AxisOf(offset, axis) - s;
            const double farStart = AxisOf(extent, axis) - farZone;
            if (at < nearZone)
            {
                velocity = -kEdgeSpeedPerUnit * ((nearZone - 1.0 - at) + 1.0);
            }
            else if (at >= farStart)
            {
                velocity = kEdgeSpeedPerUnit * ((at - farStart) + 1.0);
            }
        }
        if (velocity != 0.0)
        {
            parent->StartTimer(axis, velocity, AxisOf(most, axis), AxisOf(least, axis), self);
        }
        else
        {
            parent->StopTimer(axis);
        }
    }
}

void LControl::OnDragEnd()
{
    const RCPtr<LControl> self(this);
    if (mDragMode != kMoveWithDrop)
    {
        if (const RCPtr<LControl> parent = mParent)
        {
            parent->StopTimer(0);
            parent->StopTimer(1);
        }
        return;
    }
    if (const RCPtr<IRootWindowServices> window = GetRootWindow())
    {
        window->SetCursor(0);
    }
    mDropCursorShown = false;
    if (!mUnclippedBeforeDrag)
    {
        SetClipToParent(true);
    }
    if (mDropTarget)
    {
        const RCPtr<LControl> target = std::move(mDropTarget);
        mDropTarget = nullptr;
        target->StopTimer(0);
        target->StopTimer(1);
        target->OnDrop(self);
        target->OnDropEnded(self);
    }
}

} // namespace KR
