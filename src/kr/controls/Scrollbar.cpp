#include "kr/controls/Scrollbar.h"

#include "kr/controls/OwnHandlers.h"
#include "kr/ui/NotificationParams.h"
#include "kr/ui/RegionFromRect.h"
#include "kr/ui/RootWindowServices.h"

#include <cmath>

namespace KR
{

namespace
{

double& On(PointD& point, std::int32_t axis)
{
    return axis == 0 ? point.x : point.y;
}

double On(const PointD& point, std::int32_t axis)
{
    return axis == 0 ? point.x : point.y;
}

struct SiblingKeyRow
{
    std::uint32_t maskBit;
    std::uint32_t code;
    std::int32_t axis; // -1: either
    double lines;      // steps of the line step
    double pages;      // steps of the page step
    double setTo;      // -1: relative
};

constexpr SiblingKeyRow kSiblingKeys[] = {
    {0x01, 0x20260000, 1, -1, 0, -1}, // Up
    {0x02, 0x20280000, 1, 1, 0, -1},  // Down
    {0x04, 0x20250000, 0, -1, 0, -1}, // Left
    {0x08, 0x20270000, 0, 1, 0, -1},  // Right
    {0x10, 0x20210000, 1, 0, -1, -1}, // Page Up
    {0x20, 0x20220000, 1, 0, 1, -1},  // Page Down
    {0x40, 0x20240000, -1, 0, 0, 0},  // Home
    {0x80, 0x20230000, -1, 0, 0, 1},  // End
};
} // namespace

LScrollbar::LScrollbar(const RCPtr<LControl>& parent, const String& name) : LControl(parent, name)
{
    LControl::SetValueScaling(0.0, 100.0, 0);
}

LScrollbar::~LScrollbar() = default;

Result LScrollbar::Receive(const RCPtr<LNotificationDistributor>& sender,
                           const RCPtr<LNotification>& notification)
{
    const Result handled = OfferToOwnHandlers(mHandler, *this, sender, notification);
    return handled != 0 ? handled : LControl::Receive(sender, notification);
}

Result LScrollbar::UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                             NotificationName name)
{
    if (mHandler)
    {
        mHandler->Unregister(sender, name);
    }
    return LControl::UnregisterForNotification(sender, name);
}

// ---- creation ----------------------------------------------------------------------------------

Result LScrollbar::Initialize()
{
    if (Failed(LControl::Initialize()))
    {
        return kFail;
    }
    mHandler = LNotificationHandler<LScrollbar>::Create(this);
    mChannel = FindChildControl(String(u"channel"));
    if (mChannel)
    {
        mHandler->Register(&LScrollbar::OnChannelPress, mChannel, u"NID_LEFT_DRAG_CONDITION_CHANGE");
        mHandler->Register(&LScrollbar::OnChannelHover, mChannel, u"NID_HOVER_CONDITION_CHANGE");
        mThumb = RCPtr<LButton>(mChannel->FindChildControl(String(u"thumb")));
        if (mThumb)
        {
            mHandler->Register(&LScrollbar::OnThumbMove, mThumb, u"NID_MOUSE_MOVE");
            mHandler->Register(&LScrollbar::OnThumbDrag, mThumb, u"NID_LEFT_DRAG_CONDITION_CHANGE");
            mThumb->pressedWhenDraggedOff = true;
        }
    }
    const RCPtr<LButton> dec(FindChildControl(String(u"dec")));
    const RCPtr<LButton> inc(FindChildControl(String(u"inc")));
    for (const RCPtr<LButton>& arrow : {dec, inc})
    {
        if (arrow)
        {
            mHandler->Register(&LScrollbar::OnArrow, arrow, u"NID_BUTTON_AUTOREPEAT");
            arrow->autoRepeat = true;
            arrow->SetRepeating(false);
        }
    }
    if (dec && inc)
    {
        const double dx = inc->GetPosition().x - dec->GetPosition().x;
        const double dy = inc->GetPosition().y - dec->GetPosition().y;
        mVertical = !(dx > dy);
    }
    OnLookChanged();
    SetKeyMask(kAllKeys);
    return kOk;
}

Result LScrollbar::PlaceParts()
{
    SetNotFocusable(true);
    for (const char16_t* part : {u"dec", u"inc", u"channel"})
    {
        if (const RCPtr<LControl>& control = FindChildControl(String(part)))
        {
            control->SetNotFocusable(true);
        }
    }
    if (mThumb)
    {
        mThumb->SetNotFocusable(true);
        mMinThumbLength = On(mThumb->GetSize(), 1 - Axis());
    }
    OnLookChanged();
    return kOk;
}

Result LScrollbar::OnParentSizeChanged(const RCPtr<LControl>& child)
{
    const Result result = LControl::OnParentSizeChanged(child);
    if (child && child == mChannel)
    {
        OnLookChanged();
    }
    return result;
}

// ---- geometry --------------------------------------------------------------------------------

void LScrollbar::OnLookChanged()
{
    if (!mThumb || !mChannel)
    {
        return;
    }
    const RectD client = mChannel->GetLookRect(-1);
    mChannelClientOrigin = PointD{client.x, client.y};
    mChannelOrigin = On(mChannel->GetPosition(), Axis()) + On(mChannelClientOrigin, Axis());
    mTrackStart = 0.0;
    mTrackEnd = mVertical ? client.height : client.width;
    UpdateThumb();
}

void LScrollbar::UpdateThumb()
{
    if (!mThumb)
    {
        return;
    }
    // A content shorter than its view gives a fraction past 1: the thumb fills the track, no more.
    const double length = (mTrackEnd - mTrackStart) * std::min(mVisibleFraction, 1.0);
    mThumbLength =
        std::trunc(std::max(mMinThumbLength, std::isfinite(length) ? length : mMinThumbLength) + 0.5);
    SetThumbSpec(false, mThumbLength);
    PlaceThumb();
}

void LScrollbar::PlaceThumb()
{
    if (mDragging || !mThumb)
    {
        return;
    }
    const double position = std::round((mTrackEnd - mTrackStart - mThumbLength) * GetValue() + mTrackStart);
    if (position != ThumbStart())
    {
        SetThumbSpec(true, position);
    }
}

double LScrollbar::ThumbStart() const
{
    return mThumb ? On(mThumb->GetPosition(), Axis()) : 0.0;
}

void LScrollbar::SetThumbSpec(bool position, double value)
{
    const std::int32_t axis = Axis();
    DockedPositionSpec place;
    SizeSpec size;
    if (const RCPtr<LLayoutDescriptor>& layout = mThumb->GetLayoutDescriptor())
    {
        layout->GetPlacement(axis, place, size);
    }
    else
    {
        place.absolute = On(mThumb->GetPosition(), axis);
        size.absolute = On(mThumb->GetSize(), axis);
    }
    (position ? place.absolute : size.absolute) = value;
    mThumb->SetPlacement(axis, place, size);
}

std::int32_t LScrollbar::HitChannel(const PointD& point) const
{
    if (!mThumb)
    {
        return 0;
    }
    const double p = On(point, Axis());
    const double thumbStart = ThumbStart();
    if (mTrackStart <= p && p <= thumbStart)
    {
        return 1;
    }
    if (thumbStart + mThumbLength <= p && p <= mTrackEnd)
    {
        return 2;
    }
    return 0;
}

PointD LScrollbar::PointerInChannel() const
{
    const RCPtr<IRootWindowServices> window = GetRootWindow();
    if (!window || !mChannel)
    {
        return PointD{-1.0e9, -1.0e9};
    }
    const PointI pointer = window->GetMousePosition();
    const PointD origin = mChannel->GetAbsolutePosition();
    return PointD{pointer.x - origin.x - mChannelClientOrigin.x,
                  pointer.y - origin.y - mChannelClientOrigin.y};
}

// ---- value ----------------------------------------------------------------------------------------

double LScrollbar::SetValue(double value)
{
    if (mDragging)
    {
        mPendingValue = value;
        return GetValue();
    }
    return SetValueNow(value);
}

double LScrollbar::SetValueNow(double value)
{
    LControl::SetValue(value);
    PlaceThumb();
    return GetValue();
}

Result LScrollbar::SetValueScaling(double minimum, double maximum, std::int32_t mode)
{
    const double position = InterpolateValue(GetValue());
    const Result result = LControl::SetValueScaling(minimum, maximum, mode);
    if (Failed(result))
    {
        return result;
    }
    SetValue(NormalizeValue(position));
    PlaceThumb();
    return kOk;
}

// ---- channel: paging ------------------------------------------------------------------------------

void LScrollbar::Page()
{
    SetValue(GetValue() + (mPagingMode == 1 ? -mPageStep : mPageStep));
}

Result LScrollbar::OnChannelPress(const RCPtr<LNotificationDistributor>&,
                                  const RCPtr<LNotification>& notification)
{
    const RCPtr<LConditionsParam> conditions =
        notification ? notification->GetDataAs<LConditionsParam>() : nullptr;
    if (!conditions || !mChannel)
    {
        return 1;
    }
    const std::uint32_t turnedOn = conditions->current & ~conditions->previous;
    const std::uint32_t turnedOff = conditions->previous & ~conditions->current;
    if ((turnedOn & Condition::kLeftPressed) != 0)
    {
        const PointD press{conditions->point.x - mChannel->GetPosition().x - mChannelClientOrigin.x,
                           conditions->point.y - mChannel->GetPosition().y - mChannelClientOrigin.y};
        const bool wasPaging = mPagingMode != 0;
        mPagingMode = HitChannel(press);
        // A press on the thumb or beside the track pages nothing and holds no idle.
        if (mPagingMode != 0)
        {
            Page();
            mLastPagingTick = SecondsNow();
            mPagingCountdown = mPagingDelay;
            if (!wasPaging)
            {
                BeginIdleProcessing();
            }
        }
        else if (wasPaging)
        {
            EndIdleProcessing();
        }
    }
    else if ((turnedOff & Condition::kCapture) != 0 && mPagingMode != 0)
    {
        StopPaging();
    }
    if (mPagingMode != 0)
    {
        UpdateChannelLook();
    }
    return 1;
}

void LScrollbar::StopPaging()
{
    mPagingMode = 0;
    ResetChannelLook();
    EndIdleProcessing();
}

Result LScrollbar::OnChannelHover(const RCPtr<LNotificationDistributor>&,
                                  const RCPtr<LNotification>& notification)
{
    const RCPtr<LConditionsParam> conditions =
        notification ? notification->GetDataAs<LConditionsParam>() : nullptr;
    if (conditions && (conditions->current & ~conditions->previous & Condition::kHoverOrForced) != 0)
    {
        mLastPagingTick = SecondsNow();
    }
    if (mPagingMode != 0)
    {
        UpdateChannelLook();
    }
    return 1;
}

void LScrollbar::UpdateChannelLook()
{
    const PointD pointer = PointerInChannel();
    const bool over = (mChannel->GetConditions() & Condition::kHover) != 0;
    if (!over || HitChannel(pointer) != mPagingMode)
    {
        ResetChannelLook();
        return;
    }
    const std::int32_t axis = Axis();
    const double thumbStart = ThumbStart() + On(mChannelClientOrigin, axis);
    const double channelLength = On(mChannel->GetSize(), axis);
    const double from = mPagingMode == 1 ? 0.0 : thumbStart + mThumbLength;
    const double to = mPagingMode == 1 ? thumbStart : channelLength;
    const RectD strip = mVertical ? RectD{0.0, from, mChannel->GetSize().x, to - from}
                                  : RectD{from, 0.0, to - from, mChannel->GetSize().y};
    LRegion region;
    RegionFromRect(strip, region);
    mChannel->SetLookWeight(kChannelClickedLook, 1.0f, false);
    mChannel->SetLookRegion(kChannelClickedLook, region);
    mChannel->CombineLookRegions(kChannelNormalLook, kChannelClickedLook);
}

void LScrollbar::ResetChannelLook()
{
    mChannel->ClearLookRegions();
    mChannel->SetLookWeight(kChannelNormalLook, 1.0f, true);
}

// ---- thumb: dragging ---------------------------------------------------------------------------------

Result LScrollbar::OnThumbDrag(const RCPtr<LNotificationDistributor>&,
                               const RCPtr<LNotification>& notification)
{
    const RCPtr<LConditionsParam> conditions =
        notification ? notification->GetDataAs<LConditionsParam>() : nullptr;
    if (!conditions || !mThumb)
    {
        return 1;
    }
    const std::uint32_t turnedOn = conditions->current & ~conditions->previous;
    const std::uint32_t turnedOff = conditions->previous & ~conditions->current;
    if ((turnedOn & Condition::kLeftDrag) != 0)
    {
        mDragging = true;
        mGrabOffset = RoundPointToInt(PointD{conditions->point.x - mThumb->GetPosition().x,
                                             conditions->point.y - mThumb->GetPosition().y});
        mPendingValue = -1.0;
    }
    else if ((turnedOff & Condition::kLeftDrag) != 0)
    {
        mDragging = false;
        if (mApplyPendingValue && mPendingValue >= 0.0 && mPendingValue <= 1.0)
        {
            SetValueNow(mPendingValue);
        }
        mPendingValue = -1.0;
        PlaceThumb();
    }
    return 1;
}

Result LScrollbar::OnThumbMove(const RCPtr<LNotificationDistributor>&,
                               const RCPtr<LNotification>& notification)
{
    const RCPtr<LPointWithModifiersParam> point =
        notification ? notification->GetDataAs<LPointWithModifiersParam>() : nullptr;
    if (!point || !mDragging || !mThumb)
    {
        return 1;
    }
    const std::int32_t axis = Axis();
    const PointI inBar = ConvertPointFromControl(point->GetPoint(), *mThumb);
    const double pointer = axis == 0 ? inBar.x : inBar.y;
    const double grab = axis == 0 ? mGrabOffset.x : mGrabOffset.y;
    double position = std::round(pointer - mChannelOrigin) - grab;
    if (position < mTrackStart)
    {
        position = mTrackStart;
    }
    else if (position > mTrackEnd - mThumbLength)
    {
        position = mTrackEnd - mThumbLength;
    }
    if (position == ThumbStart())
    {
        return 1;
    }
    SetThumbSpec(true, position);
    // A thumb that fills its track leaves no room to move: the value stays at the start.
    const double room = mTrackEnd - mTrackStart - mThumbLength;
    const double value = room > 0.0 ? std::clamp((position - mTrackStart) / room, 0.0, 1.0) : 0.0;
    LControl::SetValue(value);
    PlaceThumb();
    return 1;
}

// ---- arrows and keys ----------------------------------------------------------------------------------

Result LScrollbar::OnArrow(const RCPtr<LNotificationDistributor>& sender, const RCPtr<LNotification>&)
{
    const RCPtr<LControl> arrow(sender);
    if (arrow)
    {
        SetValue(GetValue() + (arrow->GetName() == u"dec" ? -mLineStep : mLineStep));
    }
    return 1;
}

Result LScrollbar::SetKeyMask(std::uint32_t mask)
{
    if ((mask & ~kAllKeys) != 0)
    {
        return kInvalidArg;
    }
    if (mask != 0 && mKeyMask == 0 && mHandler)
    {
        // A bar without a parent takes the keys it is offered itself.
        if (const RCPtr<LControl>& parent = GetParent())
        {
            mHandler->Register(&LScrollbar::OnSiblingKeyOffered, parent, u"NID_SIBLING_KEY");
        }
        mHandler->Register(&LScrollbar::OnSiblingKeyOffered, RCPtr<LNotificationDistributor>(this),
                           u"NID_SIBLING_KEY");
    }
    mKeyMask = mask;
    return kOk;
}

Result LScrollbar::OnSiblingKeyOffered(const RCPtr<LNotificationDistributor>&,
                                       const RCPtr<LNotification>& notification)
{
    const RCPtr<LSiblingKeyParam> sibling =
        notification ? notification->GetDataAs<LSiblingKeyParam>() : nullptr;
    if (sibling && TakeKey(sibling->key))
    {
        sibling->result = 0;
    }
    return 1;
}

bool LScrollbar::TakeKey(const KeyCode& key)
{
    if (!IsShown(true))
    {
        return false;
    }
    for (const SiblingKeyRow& row : kSiblingKeys)
    {
        if ((mKeyMask & row.maskBit) != 0 && key.code == row.code && (row.axis < 0 || row.axis == Axis()))
        {
            SetValue(row.setTo >= 0.0 ? row.setTo
                                      : GetValue() + row.lines * mLineStep + row.pages * mPageStep);
            return true;
        }
    }
    return false;
}

// ---- idle -------------------------------------------------------------------------------------------

Result LScrollbar::OnIdle(const RCPtr<LNotificationDistributor>& sender,
                          const RCPtr<LNotification>& notification)
{
    const RCPtr<LControl> self(this);
    const Result result = LControl::OnIdle(sender, notification);
    if (mPagingMode == 0 || !mChannel)
    {
        return result;
    }
    const bool over = (mChannel->GetConditions() & Condition::kHover) != 0;
    if (!over || HitChannel(PointerInChannel()) != mPagingMode)
    {
        return result;
    }
    const double now = SecondsNow();
    mPagingCountdown -= now - mLastPagingTick;
    mLastPagingTick = now;
    if (mPagingCountdown <= kIdleTimeSlack)
    {
        mPagingCountdown = mPagingInterval;
        Page();
        UpdateChannelLook();
    }
    return result;
}

} // namespace KR
