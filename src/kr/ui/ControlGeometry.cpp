// Coordinates of a control: its place in root coordinates, client areas, point tests,
// the children's bounds, and the invalidation that climbs to the window.

#include "kr/ui/Control.h"

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
    return RectD{0.0, 0.0, mSize.x, mSize.y};
}

RectD LControl::GetClientRect()
{
    const RectD area = GetClientArea();
    return RectD{mScrollOffset.x, mScrollOffset.y, area.width, area.height};
}

void LControl::UpdateClientRect()
{
    mClientRect = GetClientArea();
}

void LControl::CheckClientRect()
{
}

bool LControl::IsPointInLooks(const PointI&)
{
    return true;
}

std::uint32_t LControl::GetLookColorAt(const PointI&)
{
    return 0xFFFFFF;
}

// ---- invalidation ---------------------------------------------------------------------------

void LControl::Invalidate(const RectD& rect, bool clip)
{
    const PointD corner = GetAbsolutePosition();
    InvalidateInParent(RectD{rect.x + corner.x, rect.y + corner.y, rect.width, rect.height}, clip, rect);
}

void LControl::InvalidateInParent(const RectD& rect, bool clip, const RectD& clipRect)
{
    RectD clipped = clipRect;
    const bool clips = clip && ClipsToParent();
    if (mParent)
    {
        LControl& parent = *mParent;
        const PointD origin = ChildOrigin(*this, parent, parent.GetClientOrigin());
        if (clips &&
            !IntersectRects(clipped, RectD{-origin.x, -origin.y, parent.mSize.x, parent.mSize.y}, clipped))
        {
            return;
        }
        parent.InvalidateInParent(
            rect, clip, RectD{clipped.x + origin.x, clipped.y + origin.y, clipped.width, clipped.height});
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
