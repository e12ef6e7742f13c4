#include "kr/controls/SplitterBase.h"

#include "kr/system/CursorNames.h"
#include "kr/ui/ControlPlacement.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/LayoutDescriptor.h"
#include "kr/ui/NotificationParams.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace KR
{

namespace
{
// The sizes a sibling's skin allows on the axis; a maximum of 0 sets none.
void LimitsOf(const LControl& sibling, std::int32_t axis, double& minimum, double& maximum)
{
    minimum = 0.0;
    maximum = 0.0;
    if (const RCPtr<LLayoutDescriptor>& layout = sibling.GetLayoutDescriptor())
    {
        LimitSpec low;
        LimitSpec high;
        layout->GetSizeLimits(axis, low, high);
        minimum = low.reference == kLimitToSelf ? low.absolute : 0.0;
        maximum = high.reference == kLimitToSelf ? high.absolute : 0.0;
    }
}

} // namespace

LSplitterBase::LSplitterBase(const RCPtr<LControl>& parent, const String& name, std::int32_t vertical)
    : LControl(parent, name), mVertical(vertical)
{
}

Result LSplitterBase::ReleaseInternalReferences()
{
    mAnchor = nullptr;
    return LControl::ReleaseInternalReferences();
}

// ---- creation ------------------------------------------------------------------------------

Result LSplitterBase::Initialize()
{
    const Result result = LControl::Initialize();
    SetCursor(IFrameworkApp::GetInstance().LoadCursorByName(mVertical != 0 ? kCursorSizeWE : kCursorSizeNS));
    ChooseLook();
    return result;
}

// ---- state to look ---------------------------------------------------------------------------

Result LSplitterBase::OnConditionsChanged(const RCPtr<LConditionsParam>& conditions)
{
    if (conditions)
    {
        const std::uint32_t turnedOn = conditions->current & ~conditions->previous;
        const std::uint32_t turnedOff = conditions->previous & ~conditions->current;
        if ((turnedOn & Condition::kLeftDrag) != 0 && IsEnabled(true))
        {
            SetDragMode(3, mVertical != 0 ? 1 : 2);
        }
        else if ((turnedOff & Condition::kLeftDrag) != 0)
        {
            mAnchor = nullptr;
        }
    }
    ChooseLook();
    return kOk;
}

void LSplitterBase::ChooseLook()
{
    const std::uint32_t conditions = GetConditions();
    std::int32_t look = kDisabledLook;
    if (IsEnabled(true))
    {
        const bool over = (conditions & Condition::kHover) != 0;
        const bool captured = (conditions & Condition::kCapture) != 0;
        const bool dragging = (conditions & Condition::kLeftDrag) != 0;
        look = captured && dragging && over                 ? kPressedLook
               : (over && !captured) || (dragging && !over) ? kHoverLook
                                                            : kNormalLook;
        if ((conditions & Condition::kHasFocus) != 0)
        {
            look += kFocusedLooks;
        }
    }
    SetLookWeight(look, 1.0f, true);
}

// ---- the range -----------------------------------------------------------------------------

void LSplitterBase::ComputeRange(double position, double size, bool measured)
{
    const std::int32_t axis = mVertical != 0 ? 0 : 1;
    mDragMin = 0.0;
    mDragMax = kUnbounded;
    if (!mAnchor)
    {
        return;
    }
    double minimum = 0.0;
    double maximum = 0.0;
    LimitsOf(*mAnchor, axis, minimum, maximum);
    mDragMin = std::max(mDragMin, position - (size - minimum));
    if (maximum > 0.0)
    {
        mDragMax = std::min(mDragMax, position + (maximum - size));
    }
    const RCPtr<LControl>& parent = GetParent();
    if (!parent)
    {
        return;
    }
    // Siblings laid out after the splitter that follow it: one sized to it grows with the
    // drag, one only placed against it shrinks.
    LControl::ChildControlList& siblings = parent->GetChildren();
    const std::int32_t own = parent->GetChildIndex(RCPtr<LControl>(this), kInsertionOrder);
    for (std::uint32_t i = static_cast<std::uint32_t>(own + 1); own >= 0 && i < siblings.GetCount(); ++i)
    {
        const RCPtr<LControl>& sibling = siblings.GetAt(i, kInsertionOrder);
        const RCPtr<LLayoutDescriptor>& layout = sibling ? sibling->GetLayoutDescriptor() : nullptr;
        if (!layout)
        {
            continue;
        }
        DockedPositionSpec place;
        SizeSpec extent;
        layout->GetPlacement(axis, place, extent);
        const bool sizedToThis =
            extent.reference == kSizeToNamed && ControlNamesMatch(extent.referenceName, GetName());
        const bool placedAgainstThis =
            place.reference == kPositionToNamed && ControlNamesMatch(place.referenceName, GetName());
        if (!sizedToThis && !placedAgainstThis)
        {
            continue;
        }
        // During layout the siblings after the splitter still have their old frames: each
        // is measured where the layout will put it.
        RectD placed{sibling->GetPosition().x, sibling->GetPosition().y, sibling->GetSize().x,
                     sibling->GetSize().y};
        if (measured)
        {
            ResolveControlPlacement(layout.Get(), parent.Get(), RootPlacementFrame{}, placed);
        }
        const double current = axis == 0 ? placed.width : placed.height;
        LimitsOf(*sibling, axis, minimum, maximum);
        if (sizedToThis)
        {
            mDragMin = std::max(mDragMin, position - (current - minimum));
            if (maximum > 0.0)
            {
                mDragMax = std::min(mDragMax, position + (maximum - current));
            }
        }
        else
        {
            mDragMax = std::min(mDragMax, position + (current - minimum));
            if (maximum > 0.0)
            {
                mDragMin = std::max(mDragMin, position - (maximum - current));
            }
        }
    }
}

// ---- the drag --------------------------------------------------------------------------------

void LSplitterBase::OnDragStart()
{
    const std::int32_t axis = mVertical != 0 ? 0 : 1;
    mDragMin = 0.0;
    mDragMax = kUnbounded;
    mAnchor = nullptr;
    const RCPtr<LLayoutDescriptor>& layout = GetLayoutDescriptor();
    const RCPtr<LControl>& parent = GetParent();
    if (!layout || !parent)
    {
        return;
    }
    DockedPositionSpec place;
    SizeSpec extent;
    layout->GetPlacement(axis, place, extent);
    if (place.reference != kPositionToNamed)
    {
        return;
    }
    mAnchor = parent->FindChildControl(place.referenceName);
    if (!mAnchor)
    {
        return;
    }
    // The split is measured from where the bar stands now; the anchor's spec comes back at
    // the end.
    const double position = axis == 0 ? GetPosition().x : GetPosition().y;
    mSavedAbsolute = place.absolute;
    mSavedRelative = place.relative;
    place.reference = kPositionToParent;
    place.referenceName = String();
    place.relative = 0.0f;
    place.absolute = position;
    SetPlacement(axis, place, extent);
    mStartPosition = position;
    mStartSize = extent.absolute;
    ComputeRange(mStartPosition, mStartSize, false);
}

Result LSplitterBase::OnDragMove(const RCPtr<LPointWithModifiersParam>& point)
{
    if (!point)
    {
        return kInvalidArg;
    }
    if (!mAnchor || !GetLayoutDescriptor())
    {
        return kOk;
    }
    const std::int32_t axis = mVertical != 0 ? 0 : 1;
    // The bar itself does not move while its size changes, so the pointer's offset from the
    // press is the drag's.
    const double press = AxisOf(GetPressPoint()) - AxisOf(GetPosition());
    const double offset = (axis == 0 ? point->x : point->y) - press;
    const double split = std::clamp(mStartPosition + offset, mDragMin, std::max(mDragMin, mDragMax));
    DockedPositionSpec place;
    SizeSpec extent;
    GetLayoutDescriptor()->GetPlacement(axis, place, extent);
    extent.absolute = mStartSize + (split - mStartPosition);
    SetPlacement(axis, place, extent);
    return kOk;
}

void LSplitterBase::OnDragEnd()
{
    if (mAnchor && GetLayoutDescriptor())
    {
        const std::int32_t axis = mVertical != 0 ? 0 : 1;
        DockedPositionSpec place;
        SizeSpec extent;
        GetLayoutDescriptor()->GetPlacement(axis, place, extent);
        place.reference = kPositionToNamed;
        place.referenceName = mAnchor->GetName();
        place.relative = mSavedRelative;
        place.absolute = mSavedAbsolute;
        SetPlacement(axis, place, extent);
    }
    LControl::OnDragEnd();
}

// ---- layout --------------------------------------------------------------------------------

Result LSplitterBase::OnUpdateLayout(std::int32_t parentWidth, std::int32_t parentHeight)
{
    const Result result = LControl::OnUpdateLayout(parentWidth, parentHeight);
    const RCPtr<LLayoutDescriptor>& layout = GetLayoutDescriptor();
    const RCPtr<LControl>& parent = GetParent();
    if (!layout || !parent || HasCapture())
    {
        return result;
    }
    const std::int32_t axis = mVertical != 0 ? 0 : 1;
    DockedPositionSpec place;
    SizeSpec extent;
    layout->GetPlacement(axis, place, extent);
    const RCPtr<LControl> anchor =
        place.reference == kPositionToNamed ? parent->FindChildControl(place.referenceName) : nullptr;
    if (!anchor)
    {
        return result;
    }
    const RCPtr<LControl> held = std::exchange(mAnchor, anchor);
    const double position = AxisOf(GetPosition());
    ComputeRange(position, extent.absolute, true);
    mAnchor = held;
    if (mDragMin > mDragMax)
    {
        std::swap(mDragMin, mDragMax);
    }
    const double inside = std::clamp(position, mDragMin, mDragMax);
    if (inside != position)
    {
        extent.absolute += inside - position;
        SetPlacement(axis, place, extent);
    }
    return result;
}

} // namespace KR
