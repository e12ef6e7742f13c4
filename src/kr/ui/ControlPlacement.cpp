// The placement passes behind UpdateLayout: position and size from the specs, then the
// minimum and the maximum size (the maximum last, so it wins), then the size limits of the
// parent and the snap to whole units.

#include "kr/ui/ControlPlacement.h"

#include "kr/ui/Control.h"
#include "kr/ui/ControlHelpers.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/Look.h"

#include <algorithm>
#include <cmath>

namespace KR
{
namespace
{

constexpr char16_t kChildrenName[] = u"Children";

// One axis of a reference frame.
struct AxisFrame
{
    double origin = 0.0;
    double size = 0.0;
};

using ControlHelpers::AxisOf;
using ControlHelpers::DockedOn;

// The parent's whole frame, measured from its client origin.
AxisFrame ParentFrame(const LControl* parent, const RootPlacementFrame& root, int axis)
{
    if (!parent)
    {
        return axis == 0 ? AxisFrame{root.screen.x, root.screen.width}
                         : AxisFrame{root.screen.y, root.screen.height};
    }
    const RectD client = parent->GetLookRect(-1);
    return AxisFrame{-(axis == 0 ? client.x : client.y), AxisOf(parent->GetSize(), axis)};
}

AxisFrame ClientFrame(const LControl* parent, const RootPlacementFrame& root, int axis)
{
    if (!parent)
    {
        return AxisFrame{0.0, AxisOf(root.clientSize, axis)};
    }
    const RectD client = parent->GetLookRect(-1);
    return AxisFrame{0.0, axis == 0 ? client.width : client.height};
}

AxisFrame NamedFrame(const LControl* parent, const RootPlacementFrame& root, const String& name, int axis)
{
    if (!parent)
    {
        return AxisFrame{AxisOf(root.clientOrigin, axis), 0.0};
    }
    const RCPtr<LControl>& sibling = parent->FindChildControl(name);
    if (!sibling)
    {
        return AxisFrame{};
    }
    double origin = AxisOf(sibling->GetPosition(), axis);
    if (DockedOn(*sibling, axis))
    {
        origin -= AxisOf(parent->GetScrollOffset(), axis);
    }
    return AxisFrame{origin, AxisOf(sibling->GetSize(), axis)};
}

void ResolveAxis(const LLayoutDescriptor& layout, const LControl* parent, const RootPlacementFrame& root,
                 int axis, double& position, double& size)
{
    const PositionSpec& place = axis == 0 ? layout.xPosition : layout.yPosition;
    const SizeSpec& extent = axis == 0 ? layout.xSize : layout.ySize;
    const double anchor = place.anchor;

    const AxisFrame from = place.reference == kPositionToClient ? ClientFrame(parent, root, axis)
                           : place.reference == kPositionToNamed
                               ? NamedFrame(parent, root, place.referenceName, axis)
                               : ParentFrame(parent, root, axis);
    position =
        from.origin + RoundHalfAwayFromZero(static_cast<double>(place.relative) * from.size) + place.absolute;

    if (extent.reference == kSizeToSelf)
    {
        size = extent.absolute > 0.0 ? extent.absolute : 0.0;
    }
    else
    {
        const AxisFrame to = extent.reference == kSizeToClient ? ClientFrame(parent, root, axis)
                             : extent.reference == kSizeToNamed
                                 ? NamedFrame(parent, root, extent.referenceName, axis)
                                 : ParentFrame(parent, root, axis);
        const double edge = to.origin +
                            RoundHalfAwayFromZero(static_cast<double>(extent.relative) * to.size) +
                            extent.absolute;
        const double span = edge - position;
        // The span is the part of the control on one side of its anchor point; the factor
        // that makes it the whole size is taken in single precision, as the skin's anchor is.
        size = 0.0;
        if (span > 0.0 && place.anchor >= 0.0f && place.anchor < 1.0f)
        {
            size = span * static_cast<double>(1.0f / (1.0f - place.anchor));
        }
        else if (span < 0.0 && place.anchor > 0.0f && place.anchor <= 1.0f)
        {
            size = span * static_cast<double>(1.0f / -place.anchor);
        }
    }
    position -= anchor * size;
    if (parent && (axis == 0 ? layout.xDocked : layout.yDocked))
    {
        position += AxisOf(parent->GetScrollOffset(), axis);
    }
}

// A child's rectangle in the coordinates the control's own position is given in.
RectD TakeIn(const LControl& control, const LControl& child, const PointD& position)
{
    const RectD client = control.GetLookRect(-1);
    const PointD scroll = control.GetScrollOffset();
    RectD rect{child.GetPosition().x - scroll.x + client.x + position.x,
               child.GetPosition().y - scroll.y + client.y + position.y, child.GetSize().x,
               child.GetSize().y};
    if (DockedOn(child, 0))
    {
        rect.x -= scroll.x;
    }
    if (DockedOn(child, 1))
    {
        rect.y -= scroll.y;
    }
    return rect;
}

void Widen(RectD& box, const RectD& rect)
{
    if (rect.Right() > box.Right())
    {
        box.width += rect.Right() - box.Right();
    }
    if (rect.x < box.x)
    {
        box.width += box.x - rect.x;
        box.x = rect.x;
    }
    if (rect.Bottom() > box.Bottom())
    {
        box.height += rect.Bottom() - box.Bottom();
    }
    if (rect.y < box.y)
    {
        box.height += box.y - rect.y;
        box.y = rect.y;
    }
}

// What a named minimum or maximum is measured against: the child of that name, or for
// "Children" the box of the children.
struct LimitBasis
{
    bool found = false;
    bool childrenBox = false;
    RectD rect;
};

LimitBasis FindLimitBasis(const LControl& control, const String& name, const PointD& position,
                          bool forMaximum)
{
    const RCPtr<LControl>& named = control.FindChildControl(name);
    if (named)
    {
        return LimitBasis{true, false, TakeIn(control, *named, position)};
    }
    const LControl::ChildControlList& children = control.GetChildren();
    if (name != kChildrenName || children.GetCount() == 0)
    {
        return LimitBasis{};
    }
    const LControl& first = *children.GetAt(0, kInsertionOrder);
    if (forMaximum && DockedOn(first, 0) && DockedOn(first, 1))
    {
        return LimitBasis{};
    }
    RectD box = TakeIn(control, first, position);
    for (std::uint32_t i = children.GetCount(); i-- > 1;)
    {
        const LControl& child = *children.GetAt(i, kInsertionOrder);
        // A child drawn outside its parent does not make the parent grow for it.
        if (forMaximum || child.ClipsToParent())
        {
            Widen(box, TakeIn(control, child, position));
        }
    }
    const LLayoutDescriptor* layout = control.ReadLayoutDescriptor();
    box.x = position.x - static_cast<double>(layout->xPosition.anchor) * box.width;
    box.y = position.y - static_cast<double>(layout->yPosition.anchor) * box.height;
    return LimitBasis{true, true, box};
}

// What the control's look takes around its client area on one axis.
double NonClientMargin(const LControl& control, int axis)
{
    const RCPtr<LLook>& look = control.GetActiveLook(-1);
    if (!look)
    {
        return 0.0;
    }
    const RectI client = look->GetClientRect();
    return AxisOf(control.GetSize(), axis) - (axis == 0 ? client.width : client.height);
}

// The children's box has to fit the client area, not the whole control: what the look
// takes around it is added. True when that changed the size.
bool AddChildrenMargin(const LControl& control, const LimitBasis& basis, int axis, double& extent)
{
    if (!basis.childrenBox)
    {
        return false;
    }
    const double margin = NonClientMargin(control, axis);
    extent += margin;
    return margin != 0.0;
}

// The least size a "Self" minimum takes on one axis once the label's text has its say. X
// "Expand" grows by the unwrapped text's overflow of the text area, scaled up by the share
// of the size that area spans, and under a smaller "Self" maximum stops there and lets the
// text wrap; Y "Expand" and "Wrap" grow by the overflow of the text wrapped where the look
// wraps it. A text area that spans no share of the size cannot grow by growing the control.
double TextMinimum(const LControl& control, int axis, double least, const PointD& size)
{
    const LLayoutDescriptor& layout = *control.ReadLayoutDescriptor();
    const std::int32_t overflow = axis == 0 ? layout.textOverflowX : layout.textOverflowY;
    const RCPtr<LLook>& look = control.GetActiveLook(-1);
    if (overflow == kTextOverflowClip || (axis == 0 && overflow != kTextOverflowExpand) || !look ||
        !look->GetFontText() || !look->GetDescriptor())
    {
        return least;
    }
    LFontText& text = *look->GetFontText();
    const LTextProperties& properties = look->GetDescriptor()->text;
    const auto extent = [](double v)
    { return std::isnan(v) ? 0.0f : static_cast<float>(std::clamp(v, -8388608.0, 8388608.0)); };
    const TextRect area = properties.GetTextRect(extent(size.x), extent(size.y));
    if (axis == 0)
    {
        text.SetWrap(false);
    }
    const double overflowing =
        axis == 0
            ? static_cast<double>(text.GetNaturalWidth()) - area.width
            : static_cast<double>(text.GetHeightForWidth(static_cast<std::int32_t>(extent(area.width)))) -
                  area.height;
    const double span = axis == 0 ? properties.rightRelative - properties.leftRelative
                                  : properties.bottomRelative - properties.topRelative;
    const double excess = std::ceil(overflowing);
    if (!(excess > 0.0 && span > 0.0))
    {
        return least;
    }
    least = std::max(least, std::ceil(excess / span) + AxisOf(size, axis));
    if (axis == 0 && layout.xMaxSize.reference == kLimitToSelf && layout.xMaxSize.absolute > 0.0 &&
        layout.xMaxSize.absolute < least)
    {
        least = layout.xMaxSize.absolute;
        text.SetWrap(true);
    }
    return least;
}

} // namespace

Result ResolveControlPlacement(const LLayoutDescriptor* layout, const LControl* parent,
                               const RootPlacementFrame& root, RectD& rect)
{
    if (!layout)
    {
        return kInvalidArg;
    }
    ResolveAxis(*layout, parent, root, 0, rect.x, rect.width);
    ResolveAxis(*layout, parent, root, 1, rect.y, rect.height);
    RoundRectEdges(rect);
    return kOk;
}

void RoundRectEdges(RectD& rect)
{
    const double right = RoundHalfAwayFromZero(rect.x + rect.width);
    const double bottom = RoundHalfAwayFromZero(rect.y + rect.height);
    rect.x = RoundHalfAwayFromZero(rect.x);
    rect.y = RoundHalfAwayFromZero(rect.y);
    rect.width = right - rect.x;
    rect.height = bottom - rect.y;
}

bool PositionSpecsEqual(const DockedPositionSpec& a, const DockedPositionSpec& b)
{
    return a.anchor == b.anchor && a.reference == b.reference && a.relative == b.relative &&
           a.absolute == b.absolute && a.docked == b.docked &&
           (a.reference != kPositionToNamed || ControlNamesMatch(a.referenceName, b.referenceName));
}

bool SizeSpecsEqual(const SizeSpec& a, const SizeSpec& b)
{
    return a.reference == b.reference && a.relative == b.relative && a.absolute == b.absolute &&
           (a.reference != kSizeToNamed || ControlNamesMatch(a.referenceName, b.referenceName));
}

bool LimitSpecsEqual(const LimitSpec& a, const LimitSpec& b)
{
    return a.reference == b.reference && a.relative == b.relative && a.absolute == b.absolute &&
           (a.reference == kLimitToSelf || ControlNamesMatch(a.referenceName, b.referenceName));
}

// ---- the control's passes ------------------------------------------------------------------

Result LControl::ApplyMinimumSize(PointD& position, PointD& size)
{
    if (!mLayout)
    {
        return kOk;
    }
    bool changed = false;
    bool failed = false;
    const PointD start = position;
    for (int axis = 0; axis < 2; ++axis)
    {
        const LimitSpec& minimum = axis == 0 ? mLayout->xMinSize : mLayout->yMinSize;
        const double anchor = axis == 0 ? mLayout->xPosition.anchor : mLayout->yPosition.anchor;
        double& place = AxisOf(position, axis);
        double& extent = AxisOf(size, axis);
        if (minimum.reference == kLimitToSelf)
        {
            const double least = TextMinimum(*this, axis, minimum.absolute, size);
            if (extent < least)
            {
                place -= RoundHalfAwayFromZero(anchor * (least - extent));
                extent = least;
                changed = true;
            }
            continue;
        }
        if (mChildList.GetCount() == 0)
        {
            continue;
        }
        const LimitBasis reference = FindLimitBasis(*this, minimum.referenceName, start, false);
        if (!reference.found)
        {
            continue;
        }
        const double referencePosition = axis == 0 ? reference.rect.x : reference.rect.y;
        const double referenceSize = axis == 0 ? reference.rect.width : reference.rect.height;
        if (referenceSize > 0.0)
        {
            const double edge =
                referencePosition + static_cast<double>(minimum.relative) * referenceSize + minimum.absolute;
            if (place <= edge && place + extent < edge)
            {
                if (!(anchor >= 0.0 && anchor < 1.0))
                {
                    failed = true;
                    continue;
                }
                place -= RoundHalfAwayFromZero(anchor * (edge - (place + extent)) / (1.0 - anchor));
                extent = RoundHalfAwayFromZero(edge) - place;
                changed = true;
            }
            else if (edge < place)
            {
                if (!(anchor > 0.0 && anchor <= 1.0))
                {
                    failed = true;
                    continue;
                }
                const double beyond = place - edge;
                place = edge;
                extent += RoundHalfAwayFromZero(beyond / anchor);
                changed = true;
            }
        }
        changed = AddChildrenMargin(*this, reference, axis, extent) || changed;
    }
    if (failed)
    {
        return kFail;
    }
    return changed ? kNothingDone : kOk;
}

Result LControl::ApplyMaximumSize(PointD& position, PointD& size)
{
    if (!mLayout)
    {
        return kOk;
    }
    bool changed = false;
    const PointD start = position;
    for (int axis = 0; axis < 2; ++axis)
    {
        const LimitSpec& maximum = axis == 0 ? mLayout->xMaxSize : mLayout->yMaxSize;
        const double anchor = axis == 0 ? mLayout->xPosition.anchor : mLayout->yPosition.anchor;
        double& place = AxisOf(position, axis);
        double& extent = AxisOf(size, axis);
        if (maximum.reference == kLimitToSelf)
        {
            // A maximum of 0 is no maximum.
            if (maximum.absolute != 0.0 && extent > maximum.absolute)
            {
                place -= RoundHalfAwayFromZero(anchor * (maximum.absolute - extent));
                extent = maximum.absolute;
                changed = true;
            }
            continue;
        }
        if (mChildList.GetCount() == 0)
        {
            continue;
        }
        const LimitBasis reference = FindLimitBasis(*this, maximum.referenceName, start, true);
        if (!reference.found || !(reference.rect.width > kWholeUnitEpsilon) ||
            !(reference.rect.height > kWholeUnitEpsilon))
        {
            continue;
        }
        const double referencePosition = axis == 0 ? reference.rect.x : reference.rect.y;
        const double referenceSize = axis == 0 ? reference.rect.width : reference.rect.height;
        const double edge =
            referencePosition + static_cast<double>(maximum.relative) * referenceSize + maximum.absolute;
        if (place < edge && edge < place + extent)
        {
            place -= RoundHalfAwayFromZero(anchor * (edge - (place + extent)));
            extent = RoundHalfAwayFromZero(edge) - place;
            changed = true;
        }
        changed = AddChildrenMargin(*this, reference, axis, extent) || changed;
    }
    return changed ? kNothingDone : kOk;
}

RCPtr<IRootWindowServices> LControl::GetPlacementWindow() const
{
    return mRootWindow ? mRootWindow : IFrameworkApp::GetInstance().GetActiveRootWindow();
}

Result LControl::UpdateLayout()
{
    if (!mLayout)
    {
        return kFail;
    }
    if (!mDescriptor && !mPlacedByLayout)
    {
        // Placed by code through SetFrame: nothing in the descriptor says otherwise.
        return kNothingDone;
    }
    RootPlacementFrame root;
    if (!mParent)
    {
        const RCPtr<IRootWindowServices> window = GetPlacementWindow();
        if (!window)
        {
            return kFail;
        }
        const RectI client = window->GetClientRectOnScreen();
        root.screen = IntRectToDouble(IFrameworkApp::GetInstance().GetWorkArea());
        root.clientSize = PointD{IntToDouble(client.width), IntToDouble(client.height)};
        root.clientOrigin = PointD{IntToDouble(client.x), IntToDouble(client.y)};
    }
    const RectD placed = Place(root);
    return SetFrame(PointD{placed.x, placed.y}, PointD{placed.width, placed.height});
}

RectD LControl::Place(const RootPlacementFrame& root)
{
    RectD rect;
    ResolveControlPlacement(mLayout.Get(), mParent.Get(), root, rect);
    PointD position{rect.x, rect.y};
    PointD size{rect.width, rect.height};
    ApplyMinimumSize(position, size);
    ApplyMaximumSize(position, size);

    PointD least;
    PointD most;
    (mParent ? *mParent : *this).GetSizeLimits(this, least, most);
    // Written so that a NaN size lands on the minimum.
    size.x = !(size.x >= least.x) ? least.x : (size.x > most.x ? most.x : size.x);
    size.y = !(size.y >= least.y) ? least.y : (size.y > most.y ? most.y : size.y);
    RectD placed{position.x, position.y, size.x, size.y};
    SnapRectToWholeUnits(placed);
    return placed;
}

bool LControl::ComputeRootPlacement(const RootPlacementFrame& root, RectD& placed)
{
    if (!mLayout || mParent || (!mDescriptor && !mPlacedByLayout))
    {
        return false;
    }
    placed = Place(root);
    return true;
}

void LControl::FillWindow()
{
    EnsureLayout();
    ApplyNamedRootPlacement(true);
}

} // namespace KR
