// Coordinates of a control: its looks and their weights, its place in root coordinates,
// client areas, point tests, the children's bounds, and the invalidation that climbs to
// the window.

#include "kr/ui/Control.h"

#include "kr/ui/RegionFromRect.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace KR
{
namespace
{

// Collects the controls below `control` that do not clip to their parent.
void CollectUnclipped(const LControl& control, std::vector<RCPtr<LControl>>& out)
{
    const LControl::ChildControlList& children = control.GetChildren();
    for (std::uint32_t i = 0; i < children.GetCount(); ++i)
    {
        const RCPtr<LControl>& child = children.GetAt(i, kInsertionOrder);
        if (!child->ClipsToParent())
        {
            out.push_back(child);
        }
        if (child->GetUnclippedCount() > 0)
        {
            CollectUnclipped(*child, out);
        }
    }
}

// Where a child's coordinates start inside its parent's: the child's position, moved by
// the parent's scroll offset and the origin of the parent's client area.
PointD ChildOrigin(const LControl& child, LControl& parent, PointD parentClientOrigin)
{
    const PointD position = child.GetPosition();
    const PointD scroll = parent.GetScrollOffset();
    return PointD{position.x - scroll.x + parentClientOrigin.x, position.y - scroll.y + parentClientOrigin.y};
}

} // namespace

// ---- looks ------------------------------------------------------------------------------------

const RCPtr<LLook>& LControl::GetActiveLook(std::int32_t index) const
{
    const std::uint32_t count = mLooks.GetCount();
    if (index >= 0 && static_cast<std::uint32_t>(index) < count)
    {
        return LookAt(static_cast<std::uint32_t>(index));
    }
    if (mActiveLookSlot == kActiveLookUnknown)
    {
        // The weighted look, else the first slot that has one.
        std::int32_t slot = GetActiveLookIndex();
        for (std::uint32_t i = 0; slot < 0 && i < count; ++i)
        {
            if (HasLookAt(i))
            {
                slot = static_cast<std::int32_t>(i);
            }
        }
        mActiveLookSlot = slot;
    }
    if (mActiveLookSlot >= 0)
    {
        const auto slot = static_cast<std::uint32_t>(mActiveLookSlot);
        // Made already, mostly: LookAt only has to make it the first time.
        const RCPtr<LLook>& made = mLooks.GetAt(slot);
        return made ? made : LookAt(slot);
    }
    static const RCPtr<LLook> null;
    return null;
}

std::int32_t LControl::GetActiveLookIndex() const
{
    // Asked for on every measure and draw: looks past the last weight set weigh nothing,
    // so only those with a weight are looked at.
    const std::size_t weighed = std::min<std::size_t>(mLooks.GetCount(), mLookWeights.size());
    for (std::size_t i = 0; i < weighed; ++i)
    {
        if (mLookWeights[i] > 0.0f && HasLookAt(static_cast<std::uint32_t>(i)))
        {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

float LControl::GetLookWeight(std::int32_t index) const
{
    return index >= 0 && static_cast<std::size_t>(index) < mLookWeights.size() ? mLookWeights[index] : 0.0f;
}

Result LControl::SetLookWeight(std::int32_t index, float weight, bool exclusive)
{
    if (index < 0 || static_cast<std::uint32_t>(index) >= mLooks.GetCount())
    {
        return kInvalidArg;
    }
    mLookWeights.resize(mLooks.GetCount(), 0.0f);
    mActiveLookSlot = kActiveLookUnknown;
    bool changed = false;
    for (std::size_t i = 0; i < mLookWeights.size(); ++i)
    {
        // A weight outside 0..1 leaves the look's own as it was; the others still follow
        // the exclusive flag.
        const float wanted = i == static_cast<std::size_t>(index)
                                 ? (weight >= 0.0f && weight <= 1.0f ? weight : mLookWeights[i])
                                 : (exclusive ? 0.0f : mLookWeights[i]);
        changed = changed || wanted != mLookWeights[i];
        mLookWeights[i] = wanted;
    }
    if (!changed)
    {
        return kNothingDone;
    }
    Invalidate(RectD{0.0, 0.0, mSize.x, mSize.y}, ClipsToParent());
    return kOk;
}

Result LControl::SelectLook(std::int32_t index)
{
    return SetLookWeight(index, 1.0f, true);
}

Result LControl::AddLook(const RCPtr<LLook>& look)
{
    const Result result = mLooks.AddItem(look);
    if (Failed(result))
    {
        return result;
    }
    if (mLookWeights.size() < mLooks.GetCount())
    {
        mLookWeights.push_back(0.0f);
    }
    mActiveLookSlot = kActiveLookUnknown;
    if (look)
    {
        look->SetSize(RoundToInt32(mSize.x), RoundToInt32(mSize.y));
    }
    return kOk;
}

RectD LControl::GetLookRect(std::int32_t index) const
{
    const RCPtr<LLook>& look = GetActiveLook(index);
    return look ? IntRectToDouble(look->GetClientRect()) : RectD{0.0, 0.0, mSize.x, mSize.y};
}

void LControl::ClearLookRegion(std::int32_t index)
{
    if (index >= 0 && static_cast<std::uint32_t>(index) < mLooks.GetCount())
    {
        if (const RCPtr<LLook>& look = mLooks.ElementAt(static_cast<std::uint32_t>(index)))
        {
            look->GetRegion().Clear();
        }
    }
}

void LControl::ClearLookRegions()
{
    for (std::uint32_t i = mLooks.GetCount(); i-- > 0;)
    {
        ClearLookRegion(static_cast<std::int32_t>(i));
    }
}

void LControl::CombineLookRegions(std::int32_t i, std::int32_t j)
{
    const auto lookAt = [this](std::int32_t index) -> LLook*
    { return index >= 0 ? LookAt(static_cast<std::uint32_t>(index)).Get() : nullptr; };
    LLook* target = lookAt(i);
    LLook* other = lookAt(j);
    if (!target || !other)
    {
        return;
    }
    const LRegion added = other->GetRegion();
    RegionFromRect(RectD{0.0, 0.0, mSize.x, mSize.y}, target->GetRegion());
    for (const RegionNode* node = added.GetFirst(); node; node = node->next)
    {
        target->GetRegion().AddRect(node->rect);
    }
    Invalidate(RectD{0.0, 0.0, mSize.x, mSize.y}, ClipsToParent());
}

// ---- coordinates --------------------------------------------------------------------------------

PointD LControl::GetClientOrigin()
{
    const RectD client = GetClientArea();
    return PointD{client.x, client.y};
}

PointD LControl::GetAbsolutePosition() const
{
    PointD position = mPosition;
    for (LControl* ancestor = mParent.Get(); ancestor; ancestor = ancestor->mParent.Get())
    {
        const PointD origin = ancestor->GetClientOrigin();
        position.x += origin.x - ancestor->mScrollOffset.x + ancestor->mPosition.x;
        position.y += origin.y - ancestor->mScrollOffset.y + ancestor->mPosition.y;
    }
    return position;
}

PointI LControl::ConvertPointFromControl(const PointI& point, const LControl& other) const
{
    const PointI from = RoundPointToInt(other.GetAbsolutePosition());
    const PointI to = RoundPointToInt(GetAbsolutePosition());
    const auto clamp = [](std::int64_t v)
    {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                                  std::numeric_limits<std::int32_t>::max()));
    };
    return PointI{clamp(std::int64_t{point.x} + from.x - to.x), clamp(std::int64_t{point.y} + from.y - to.y)};
}

RectD LControl::GetChildrenBounds()
{
    EdgesI bounds{std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::max(),
                  std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::min()};
    bool folded = false;
    for (std::uint32_t i = mChildList.GetCount(); i-- > 0;)
    {
        const RCPtr<LControl>& child = mChildList.GetAt(i, kInsertionOrder);
        if (!child->IsDocked())
        {
            UnionRectInt(child->GetFrame(), bounds);
            folded = true;
        }
    }
    if (!folded)
    {
        return RectD{};
    }
    return RectD{IntToDouble(bounds.left), IntToDouble(bounds.top),
                 IntToDouble(std::int64_t{bounds.right} - bounds.left),
                 IntToDouble(std::int64_t{bounds.bottom} - bounds.top)};
}

bool LControl::ContainsPoint(const PointI& point)
{
    const PointI origin = RoundPointToInt(mPosition);
    const double x = static_cast<double>(std::int64_t{point.x} + origin.x);
    const double y = static_cast<double>(std::int64_t{point.y} + origin.y);
    return mPosition.x <= x && x < mPosition.x + mSize.x && mPosition.y <= y && y < mPosition.y + mSize.y;
}

PointD LControl::GetMinSize()
{
    if (!mLayout)
    {
        return PointD{};
    }
    // Only sizes given in whole units are known before layout.
    return PointD{mLayout->xMinSize.relative == 0.0f ? mLayout->xMinSize.absolute : 0.0,
                  mLayout->yMinSize.relative == 0.0f ? mLayout->yMinSize.absolute : 0.0};
}

void LControl::GetSizeLimits(const LControl*, PointD& minimum, PointD& maximum)
{
    minimum = PointD{};
    maximum = PointD{kMaxExactDouble, kMaxExactDouble};
}

RectD LControl::GetClientArea()
{
    return GetLookRect(-1);
}

RectD LControl::GetClientRect()
{
    const RectD area = GetClientArea();
    return RectD{mScrollOffset.x, mScrollOffset.y, area.width, area.height};
}

bool LControl::IsPointInLooks(const PointI& point)
{
    for (std::uint32_t i = 0; i < mLooks.GetCount(); ++i)
    {
        if (!(GetLookWeight(static_cast<std::int32_t>(i)) > 0.0f))
        {
            continue;
        }
        const RCPtr<LLook>& look = LookAt(i);
        if (look && (look->GetColorAtPoint(point) >> 24) != 0)
        {
            return false;
        }
    }
    return true;
}

std::uint32_t LControl::GetLookColorAt(const PointI& point)
{
    const RCPtr<LLook>& look = GetActiveLook(-1);
    return look ? look->GetColorAtPoint(point) : 0xFFFFFF;
}

// ---- invalidation ---------------------------------------------------------------------------

void LControl::Invalidate(const RectD& rect, bool clip)
{
    // A tree being built hangs under no root window until it is complete, and every control
    // in it invalidates as it is placed, sized and given its font: a walk to the top that
    // works out each ancestor's origin and clip for a repaint that has nowhere to go. The
    // parent links alone tell whether the walk could reach anything: a root window at the
    // top, or retained contents on the way that must hear of it.
    bool reaches = false;
    for (const LControl* control = this; control != nullptr && !reaches; control = control->mParent.Get())
    {
        reaches = control->mScrollsByCopying || (!control->mParent && control->mRootWindow);
    }
    if (!reaches)
    {
        return;
    }
    const PointD corner = GetAbsolutePosition();
    InvalidateInParent(RectD{rect.x + corner.x, rect.y + corner.y, rect.width, rect.height}, clip, rect);
}

void LControl::InvalidateInParent(const RectD& rect, bool clip, const RectD& clipRect)
{
    if (mHoldingRepaints)
    {
        return;
    }
    if (mScrollsByCopying && !mScrolling && !mFrameChangeInProgress)
    {
        // What is repainted here is stale in the retained contents too.
        const PointD offset = GetRootToControlOffset();
        MarkStale(RectD{rect.x + offset.x + mScrollOffset.x, rect.y + offset.y + mScrollOffset.y, rect.width,
                        rect.height});
    }
    RectD clipped = clipRect;
    const bool clips = clip && ClipsToParent();
    if (mParent)
    {
        LControl& parent = *mParent;
        const PointD origin = ChildOrigin(*this, parent, parent.GetClientOrigin());
        if (clips && !IntersectRects(clipped, GetParentRectInControl(), clipped))
        {
            return;
        }
        // What a control that does not clip to its parent shows is drawn outside its
        // ancestors too (menus, tooltips): from it up, nothing clips the repaint.
        parent.InvalidateInParent(
            rect, clips, RectD{clipped.x + origin.x, clipped.y + origin.y, clipped.width, clipped.height});
        return;
    }
    if (!mRootWindow)
    {
        return;
    }
    RectD area = rect;
    if (clips)
    {
        const PointI client = mRootWindow->GetClientSize();
        const RectD window{-mPosition.x, -mPosition.y, IntToDouble(client.x), IntToDouble(client.y)};
        if (!IntersectRects(clipped, window, clipped) ||
            !IntersectRects(
                area, RectD{clipped.x + mPosition.x, clipped.y + mPosition.y, clipped.width, clipped.height},
                area))
        {
            return;
        }
    }
    mRootWindow->InvalidateRect(area);
}

void LControl::InvalidateSubtree()
{
    if (mUnclippedCount > 0)
    {
        std::vector<RCPtr<LControl>> unclipped;
        CollectUnclipped(*this, unclipped);
        for (auto it = unclipped.rbegin(); it != unclipped.rend(); ++it)
        {
            LControl& control = **it;
            control.Invalidate(RectD{0.0, 0.0, control.mSize.x, control.mSize.y}, control.ClipsToParent());
        }
    }
    else if (!ClipsToParent())
    {
        Invalidate(RectD{0.0, 0.0, mSize.x, mSize.y}, false);
    }
}

} // namespace KR
