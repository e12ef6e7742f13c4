#include "kr/ui/ScrollView.h"

#include "kr/ui/ControlHelpers.h"
#include "kr/ui/KeyCode.h"
#include "kr/ui/Scrollbar.h"

#include <algorithm>
#include <cmath>

namespace KR
{
namespace
{

// In lines; far below any drag's share of a line.
constexpr double kLineTolerance = 1e-6;

double ClampExact(double value)
{
    return std::clamp(value, -kMaxExactDouble, kMaxExactDouble);
}

double Along(const PointD& point, std::int32_t axis)
{
    return axis == LScrollView::kVertical ? point.y : point.x;
}

double Along(const RectD& rect, std::int32_t axis)
{
    return axis == LScrollView::kVertical ? rect.height : rect.width;
}

using ControlHelpers::DockedOn;

} // namespace

// ---- creation ---------------------------------------------------------------------------------------

LScrollView::LScrollView(const RCPtr<LControl>& parent, const String& name) : LControl(parent, name)
{
}

LScrollView::LScrollView(const RCPtr<IRootWindowServices>& rootWindow, const String& name)
    : LControl(rootWindow, name)
{
}

LScrollView::~LScrollView() = default;

Result LScrollView::ReleaseInternalReferences()
{
    mHBar = nullptr;
    mVBar = nullptr;
    mCorner = nullptr;
    return LControl::ReleaseInternalReferences();
}

Result LScrollView::Receive(const RCPtr<LNotificationDistributor>& sender,
                            const RCPtr<LNotification>& notification)
{
    if (mBarHandler)
    {
        const Result handled = mBarHandler->HandleNotification(sender, notification);
        if (handled != 0)
        {
            return handled;
        }
    }
    return LControl::Receive(sender, notification);
}

Result LScrollView::UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                              NotificationName name)
{
    if (mBarHandler)
    {
        mBarHandler->Unregister(sender, name);
    }
    return LControl::UnregisterForNotification(sender, name);
}

IScrollbar* LScrollView::AsBar(const RCPtr<LControl>& control)
{
    return dynamic_cast<IScrollbar*>(control.Get());
}

void LScrollView::FindParts()
{
    // Made once: every scroll view of a tree looks for its parts.
    static const String corner(u"corner");
    static const String hBar(u"hBar");
    static const String vBar(u"vBar");
    mCorner = FindChildControl(corner);
    const RCPtr<LControl>& h = FindChildControl(hBar);
    const RCPtr<LControl>& v = FindChildControl(vBar);
    mHBar = AsBar(h) != nullptr ? h : nullptr;
    mVBar = AsBar(v) != nullptr ? v : nullptr;
}

void LScrollView::TakeBarThickness(bool registerBars)
{
    mVBarThickness = 0.0;
    mHBarThickness = 0.0;
    if (mCorner)
    {
        // The skin's own sizes: hiding a bar places the corner at 0, which must not
        // become the thickness the next skin application reads back.
        const ConstRCPtr<LControlDescriptor>& descriptor = mCorner->GetControlDescriptor();
        const RCPtr<LLayoutDescriptor> layout =
            descriptor && descriptor->GetLayout() ? descriptor->GetLayout() : mCorner->GetLayoutDescriptor();
        if (layout)
        {
            mVBarThickness = layout->xSize.absolute;
            mHBarThickness = layout->ySize.absolute;
        }
    }
    if (registerBars && mBarHandler && !mBarsRegistered)
    {
        for (const RCPtr<LControl>& bar : {mHBar, mVBar})
        {
            if (bar)
            {
                mBarHandler->Register(&LScrollView::OnBarValueChange, RCPtr<LNotificationDistributor>(bar),
                                      u"NID_VALUE_CHANGE");
            }
        }
        mBarsRegistered = true;
    }
    if (mVBarThickness == 0.0 && mVBar)
    {
        mVBarThickness = mVBar->GetSize().x;
    }
    if (mHBarThickness == 0.0 && mHBar)
    {
        mHBarThickness = mHBar->GetSize().y;
    }
}

Result LScrollView::Initialize()
{
    const Result result = LControl::Initialize();
    if (Failed(result))
    {
        return result;
    }
    if (!mBarHandler)
    {
        mBarHandler = LNotificationHandler<LScrollView>::Create(this);
    }
    FindParts();
    TakeBarThickness(!IsCreationFinished());
    UpdateScrollLayout();
    return kOk;
}

Result LScrollView::ReadCreateParams()
{
    const Result result = LControl::ReadCreateParams();
    const ConstRCPtr<LControlDescriptor>& descriptor = GetControlDescriptor();
    const RCPtr<LStringTable> params = descriptor ? descriptor->GetCreateParams() : nullptr;
    if (params)
    {
        mAutoClientExtent = (CreateParamIsTrue(params, u"AUTO_CLIENT_EXTENT_X") ? kAutoWidth : 0) |
                            (CreateParamIsTrue(params, u"AUTO_CLIENT_EXTENT_Y") ? kAutoHeight : 0);
        mExtraWidth = 0;
        mExtraHeight = 0;
        UpdateAutoClientExtent();
    }
    return result;
}

Result LScrollView::ApplyLayoutDescriptor(ConstRCPtr<LControlDescriptor> descriptor)
{
    if (!IsCreationFinished())
    {
        return LControl::ApplyLayoutDescriptor(descriptor);
    }
    // The children come and go while a new skin is applied; measuring them meanwhile
    // would shrink the contents.
    const std::int32_t automatic = mAutoClientExtent;
    mAutoClientExtent = 0;
    const Result result = LControl::ApplyLayoutDescriptor(descriptor);
    TakeBarThickness(false);
    UpdateScrollLayout();
    mAutoClientExtent = automatic;
    UpdateAutoClientExtent();
    return result;
}

// ---- extent -----------------------------------------------------------------------------------------

Result LScrollView::SetClientExtent(double width, double height)
{
    if (!SizeDiffers(width, mClientExtent.x) && !SizeDiffers(height, mClientExtent.y))
    {
        return kNothingDone;
    }
    mClientExtent = PointD{width, height};
    OnClientExtentChanged();
    SendNotificationByName(u"NID_CLIENT_EXTENT_CHANGE");
    return kOk;
}

Result LScrollView::SetScrollOptions(std::int32_t autoClientExtent, std::int32_t extraWidth,
                                     std::int32_t extraHeight)
{
    mAutoClientExtent = autoClientExtent;
    mExtraWidth = extraWidth;
    mExtraHeight = extraHeight;
    UpdateAutoClientExtent();
    return kOk;
}

PointD LScrollView::MeasureChildren()
{
    PointD far{};
    ChildControlList& children = GetChildren();
    for (std::uint32_t i = children.GetCount(); i-- > 0;)
    {
        const RCPtr<LControl>& child = children.GetAt(i, kInsertionOrder);
        const RectI frame = RoundRectToInt(child->GetFrame());
        if (!DockedOn(*child, 0))
        {
            far.x = std::max(far.x, static_cast<double>(std::int64_t{frame.x} + frame.width));
        }
        if (!DockedOn(*child, 1))
        {
            far.y = std::max(far.y, static_cast<double>(std::int64_t{frame.y} + frame.height));
        }
    }
    return far;
}

Result LScrollView::UpdateAutoClientExtent()
{
    if (mAutoClientExtent == 0)
    {
        return kNothingDone;
    }
    const PointD far = MeasureChildren();
    const double width = ClampExact(far.x + mExtraWidth);
    const double height = ClampExact(far.y + mExtraHeight);
    switch (mAutoClientExtent)
    {
    case kAutoWidth:
        return SetClientExtent(width, mClientExtent.y);
    case kAutoHeight:
        return SetClientExtent(mClientExtent.x, height);
    case kAutoWidth | kAutoHeight:
        return SetClientExtent(width, height);
    default:
        return kOk;
    }
}

void LScrollView::OnClientExtentChanged()
{
    UpdateScrollLayout();
    UpdateContentsCache();
}

void LScrollView::UpdateContentsCache()
{
    if (!IsScrollingByCopying())
    {
        return;
    }
    SetRetainedArea(RoundRectToInt(GetClientRect()));
    AddStaleRect(GetClientRect(), true);
}

// ---- bars -------------------------------------------------------------------------------------------

PointD LScrollView::GetScrollBarExtent() const
{
    if (mCorner)
    {
        return mCorner->GetSize();
    }
    return PointD{mVBar ? mVBar->GetSize().x : 0.0, mHBar ? mHBar->GetSize().y : 0.0};
}

bool LScrollView::CanHaveBar(std::int32_t axis) const
{
    // The skin's thickness, not the part's size now: a hidden bar has no size, and must
    // still be able to come back.
    return GetScrollBar(axis) && Thickness(axis) > 0.0;
}

bool LScrollView::IsScrollBarShown(std::int32_t axis) const
{
    const RCPtr<LControl>& bar = GetScrollBar(axis);
    return bar && bar->IsShown(false) && bar->GetSize().x > 0.0 && bar->GetSize().y > 0.0;
}

void LScrollView::ShowScrollBar(std::int32_t axis, bool shown)
{
    const RCPtr<LControl>& bar = GetScrollBar(axis);
    if (!bar || IsScrollBarShown(axis) == shown)
    {
        return;
    }
    const RCPtr<LControl> target = mCorner ? mCorner : bar;
    // The vertical bar takes room across (X), the horizontal one down (Y).
    const std::int32_t placementAxis = axis == kVertical ? 0 : 1;
    DockedPositionSpec position;
    SizeSpec size;
    if (const RCPtr<LLayoutDescriptor>& layout = target->GetLayoutDescriptor())
    {
        layout->GetPlacement(placementAxis, position, size);
    }
    size.reference = kSizeToSelf;
    size.relative = 0.0f;
    size.absolute = shown ? std::trunc(Thickness(axis)) : 0.0;
    target->SetPlacement(placementAxis, position, size);
    if (mCorner)
    {
        // The bars are laid out against the corner.
        bar->UpdateLayout();
    }
}

Result LScrollView::UpdateScrollLayout()
{
    if (mUpdatingBars)
    {
        return kNothingDone;
    }
    mUpdatingBars = true;
    const bool canV = CanHaveBar(kVertical);
    const bool canH = CanHaveBar(kHorizontal);
    const RectD before = GetClientArea();
    // The view without any bar shown.
    const double largestWidth = before.width + (IsScrollBarShown(kVertical) ? mVBarThickness : 0.0);
    const double largestHeight = before.height + (IsScrollBarShown(kHorizontal) ? mHBarThickness : 0.0);
    UpdateAutoClientExtent();
    bool needV = canV && mClientExtent.y > largestHeight;
    const bool needH = canH && mClientExtent.x > largestWidth - (needV ? mVBarThickness : 0.0);
    if (needH && !needV)
    {
        needV = canV && mClientExtent.y > largestHeight - mHBarThickness;
    }
    ShowScrollBar(kVertical, needV);
    ShowScrollBar(kHorizontal, needH);
    UpdateScrollBars();
    if (IsScrollBarShown(kVertical) != canV)
    {
        OnScrollBarAvailabilityChanged(kVertical);
    }
    if (IsScrollBarShown(kHorizontal) != canH)
    {
        OnScrollBarAvailabilityChanged(kHorizontal);
    }
    const RectD after = GetClientArea();
    if (after.x != before.x || after.y != before.y || after.width != before.width ||
        after.height != before.height)
    {
        OnScrollClientRectChanged();
    }
    UpdateAutoClientExtent();
    mUpdatingBars = false;
    return kOk;
}

void LScrollView::UpdateScrollBars()
{
    for (const std::int32_t axis : {kHorizontal, kVertical})
    {
        const RCPtr<LControl> bar = GetScrollBar(axis);
        IScrollbar* const scrollbar = AsBar(bar);
        if (!bar || !scrollbar || !bar->GetParent())
        {
            continue;
        }
        const double visible = Along(GetClientArea(), axis);
        const double extent = Along(mClientExtent, axis);
        if (!UsesLines(axis))
        {
            double thumb = 1.0;
            double page = 1.0;
            if (visible < extent)
            {
                thumb = std::clamp(visible / extent, 0.0, 1.0);
                page = std::clamp(visible / (extent - visible), 0.0, 1.0);
            }
            const double range = std::max(0.0, extent - visible);
            bar->SetValueScaling(0.0, range, 0);
            scrollbar->SetThumbSize(static_cast<float>(thumb));
            scrollbar->SetPageStep(static_cast<float>(page));
            scrollbar->SetLineStep(static_cast<float>(page) / 10.0f);
            scrollbar->Recompute();
            const double offset = std::max(0.0, RoundHalfAwayFromZero(range * bar->GetValue()));
            PointD now = GetScrollOffset();
            if (offset != Along(now, axis))
            {
                (axis == kVertical ? now.y : now.x) = offset;
                SetScrollOffset(now);
            }
            continue;
        }
        const double size = mLineSize[axis];
        const double lines = std::trunc(extent / size);
        const double visibleLines = std::trunc(visible / size);
        double lineStep = 1.0;
        double thumb = 1.0;
        if (visibleLines < lines)
        {
            lineStep = 1.0 / (lines - visibleLines);
            thumb = visibleLines / lines;
        }
        scrollbar->SetLineStep(lineStep);
        scrollbar->SetThumbSize(thumb);
        scrollbar->SetPageStep(std::min(1.0, visibleLines * lineStep));
        scrollbar->Recompute();
        const double firstLine = bar->InterpolateValue(bar->GetValue());
        const double last = std::max(0.0, lines - visibleLines);
        bar->SetValueScaling(0.0, last, 0);
        bar->SetValue(bar->NormalizeValue(std::min(firstLine, last)));
    }
}

Result LScrollView::OnBarValueChange(const RCPtr<LNotificationDistributor>& sender,
                                     const RCPtr<LNotification>&)
{
    const RCPtr<LControl> bar(dynamic_cast<LControl*>(sender.Get()));
    if (!bar || (bar != mHBar && bar != mVBar))
    {
        return 1;
    }
    const std::int32_t axis = bar == mVBar ? kVertical : kHorizontal;
    const double position = bar->InterpolateValue(bar->GetValue());
    // Whole lines are truncated, but a value that lands a rounding error short of a line (a
    // step of 1/n added to k/n) still reaches it: otherwise wheel notches on a long list get lost.
    const double offset = UsesLines(axis) ? std::trunc(position + kLineTolerance) * mLineSize[axis]
                                          : RoundHalfAwayFromZero(position);
    PointD now = GetScrollOffset();
    (axis == kVertical ? now.y : now.x) = offset;
    SetScrollOffset(now);
    return 1;
}

// ---- the control's slots ------------------------------------------------------------------------------

void LScrollView::UpdateClientRect()
{
    mFrameChanging = true;
    LControl::UpdateClientRect();
}

void LScrollView::CheckClientRect()
{
    LControl::CheckClientRect();
    mFrameChanging = false;
    UpdateAutoClientExtent();
    UpdateScrollLayout();
}

void LScrollView::ScrollContent(const PointD& oldOffset, const PointD& newOffset)
{
    const RectD client = GetClientArea();
    for (const std::int32_t axis : {kHorizontal, kVertical})
    {
        const RCPtr<LControl>& bar = GetScrollBar(axis);
        if (!bar)
        {
            continue;
        }
        const double range = Along(mClientExtent, axis) - Along(client, axis);
        const double value = range > 0.0 ? Along(newOffset, axis) / range : 0.0;
        if (mBarsRegistered)
        {
            // The bar follows the offset without telling the view what it already knows.
            CAutoNotificationDisabler<LScrollView> quiet(mBarHandler, RCPtr<LNotificationDistributor>(bar),
                                                         u"NID_VALUE_CHANGE");
            bar->SetValue(value);
        }
        else
        {
            bar->SetValue(value);
        }
    }
    LControl::ScrollContent(oldOffset, newOffset);
}

void LScrollView::OnChildRectChanged(const RCPtr<LControl>& child)
{
    if (!mUpdatingBars && !mScrollingSelf && !mFrameChanging)
    {
        if (child && DockedOn(*child, 0) && DockedOn(*child, 1))
        {
            UpdateScrollLayout();
        }
        else
        {
            UpdateAutoClientExtent();
        }
    }
    LControl::OnChildRectChanged(child);
}

void LScrollView::SetScrollOffset(const PointD& offset)
{
    const bool outer = !mScrollingSelf;
    mScrollingSelf = true;
    LControl::SetScrollOffset(offset);
    if (outer)
    {
        mScrollingSelf = false;
    }
}

void LScrollView::GetSizeLimits(const LControl* forControl, PointD& minimum, PointD& maximum)
{
    // The limits are those of the scroll offset; a child placed inside is not bound by them.
    if (forControl != this)
    {
        LControl::GetSizeLimits(forControl, minimum, maximum);
        return;
    }
    minimum = PointD{};
    const RectD client = GetClientArea();
    maximum.x = mClientExtent.x <= 0.0 ? kMaxExactDouble : std::max(0.0, mClientExtent.x - client.width);
    maximum.y = mClientExtent.y <= 0.0 ? kMaxExactDouble : std::max(0.0, mClientExtent.y - client.height);
}

RectD LScrollView::GetClientArea()
{
    RectD area = LControl::GetClientArea();
    area.x = ClampExact(area.x);
    area.y = ClampExact(area.y);
    if (IsScrollBarShown(kVertical))
    {
        area.width = std::max(0.0, area.width - mVBarThickness);
    }
    if (IsScrollBarShown(kHorizontal))
    {
        area.height = std::max(0.0, area.height - mHBarThickness);
    }
    return area;
}

RectD LScrollView::GetClientRect()
{
    const RectD look = GetClientArea();
    const RectD children = GetChildrenBounds();
    const PointD offset = GetScrollOffset();
    RectD content;
    for (const std::int32_t axis : {kHorizontal, kVertical})
    {
        const double lookSize = Along(look, axis);
        const double minimum = Along(mMinimumContent, axis);
        const double childrenEnd =
            axis == kVertical ? children.y + children.height : children.x + children.width;
        const double size = std::max(1.0, std::min(std::max(lookSize, minimum), childrenEnd));
        const double position = std::max(0.0, Along(offset, axis) - std::max(0.0, minimum - lookSize) / 2.0);
        (axis == kVertical ? content.height : content.width) = size;
        (axis == kVertical ? content.y : content.x) = position;
    }
    return content;
}

Result LScrollView::OnConditionsChanged(const RCPtr<LConditionsParam>& conditions)
{
    if (mDragScroll && conditions && (conditions->current & Condition::kLeftDrag) != 0 &&
        (conditions->previous & Condition::kLeftDrag) == 0)
    {
        SetDragMode(6, 1);
    }
    return LControl::OnConditionsChanged(conditions);
}

void LScrollView::OnChildRemoved(std::int32_t index)
{
    LControl::OnChildRemoved(index);
    if (GetRootWindow())
    {
        UpdateAutoClientExtent();
    }
}

Result LScrollView::OnVerticalWheel(const RCPtr<LMouseWheelParam>& wheel)
{
    const bool vertical = IsScrollBarShown(kVertical);
    const bool horizontal = IsScrollBarShown(kHorizontal);
    if (!wheel || (!vertical && !horizontal))
    {
        return kNothingDone;
    }
    const bool alt = (wheel->modifiers & ModifierFlag::kAlt) != 0;
    const RCPtr<LControl>& bar = vertical && (!horizontal || !alt) ? mVBar : mHBar;
    IScrollbar* const scrollbar = AsBar(bar);
    const double step =
        (wheel->modifiers & ModifierFlag::kShift) != 0 ? scrollbar->GetPageStep() : scrollbar->GetLineStep();
    bar->SetValue(bar->GetValue() + (wheel->direction == WheelDirection::kTowardsUser ? step : -step));
    return kOk;
}

Result LScrollView::OnHorizontalWheel(const RCPtr<LMouseWheelParam>& wheel)
{
    const bool vertical = IsScrollBarShown(kVertical);
    const bool horizontal = IsScrollBarShown(kHorizontal);
    if (!wheel || (!vertical && !horizontal))
    {
        return kNothingDone;
    }
    const RCPtr<LControl>& bar = horizontal ? mHBar : mVBar;
    IScrollbar* const scrollbar = AsBar(bar);
    const double step =
        (wheel->modifiers & ModifierFlag::kShift) != 0 ? scrollbar->GetPageStep() : scrollbar->GetLineStep();
    bar->SetValue(bar->GetValue() + (wheel->direction == WheelDirection::kLeft ? step : -step));
    return kOk;
}

void LScrollView::SetLineMode(std::int32_t axis, bool on)
{
    mLineMode[axis == kVertical ? 1 : 0] = on ? 1 : 0;
    UpdateScrollBars();
}

void LScrollView::SetLineSize(std::int32_t axis, std::int32_t size)
{
    mLineSize[axis == kVertical ? 1 : 0] = size;
    UpdateScrollBars();
}

} // namespace KR
