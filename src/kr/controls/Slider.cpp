#include "kr/controls/Slider.h"

#include "kr/controls/OwnHandlers.h"
#include "kr/core/Holder.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/NotificationParams.h"
#include "kr/ui/RootWindowServices.h"

#include <algorithm>
#include <cmath>

namespace KR
{

namespace
{

constexpr std::uint32_t kRightDown = 0x20270000;
constexpr std::uint32_t kUpDown = 0x20260000;
constexpr std::uint32_t kLeftDown = 0x20250000;
constexpr std::uint32_t kDownDown = 0x20280000;

double Distance(const PointD& a, const PointD& b)
{
    return std::hypot(b.x - a.x, b.y - a.y);
}

PointD ToDouble(const PointI& point)
{
    return PointD{IntToDouble(point.x), IntToDouble(point.y)};
}

std::int32_t RoundToInt(double value)
{
    return static_cast<std::int32_t>(RoundHalfAwayFromZero(value));
}

const String& ThumbName()
{
    static const String name(u"thumb");
    return name;
}

} // namespace

// ---- the value controls' shared input ------------------------------------------------------

Result LValueKeyRun::OnKey(LControl& control, const RCPtr<LKeyParam>& key)
{
    if (!key)
    {
        return kNothingDone;
    }
    const std::uint32_t code = key->key.code;
    const double step = (code == kRightDown || code == kUpDown)    ? 1.0
                        : (code == kLeftDown || code == kDownDown) ? -1.0
                                                                   : 0.0;
    if (step != 0.0)
    {
        if (!mHeld)
        {
            mHeld = true;
            control.SendNotificationByName(u"NID_VALUE_CHANGE_KEY_DOWN", key);
        }
        control.SetValue(control.NormalizeValue(control.InterpolateValue(control.GetValue()) + step));
        return kOk;
    }
    const std::uint8_t virtualKey = key->key.GetVirtualKey();
    if (virtualKey >= 0x25 && virtualKey <= 0x28 && (code & (KeyCode::kDownBit | KeyCode::kNoKey)) == 0)
    {
        mHeld = false;
        control.SendNotificationByName(u"NID_VALUE_CHANGE_KEY_UP", key);
        return kOk;
    }
    return kNothingDone;
}

void LValueKeyRun::OnFocusLost(LControl& control)
{
    // A listener pairing the key notifications gets the end of the run it saw start, and
    // no end without a start.
    if (mHeld)
    {
        mHeld = false;
        control.SendNotificationByName(u"NID_VALUE_CHANGE_KEY_UP");
    }
}

void StepValueByWheel(LControl& control, const RCPtr<LMouseWheelParam>& wheel, std::uint32_t upDirection)
{
    const double step = wheel && wheel->direction == upDirection ? 1.0 : -1.0;
    control.SetValue(control.NormalizeValue(control.InterpolateValue(control.GetValue()) + step));
}

void SendCaptureChange(LControl& control, bool captured)
{
    control.SendNotificationByName(u"NID_VALUE_CHANGE_CAPTURE",
                                   RCPtr<LHolder<bool>>(new LHolder<bool>(captured)));
}

// ---- creation ------------------------------------------------------------------------------

LSlider::~LSlider() = default;

Result LSlider::Receive(const RCPtr<LNotificationDistributor>& sender,
                        const RCPtr<LNotification>& notification)
{
    const Result handled = OfferToOwnHandlers(mHandler, *this, sender, notification);
    return handled != 0 ? handled : LPanel::Receive(sender, notification);
}

Result LSlider::UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                          NotificationName name)
{
    if (mHandler)
    {
        mHandler->Unregister(sender, name);
    }
    return LPanel::UnregisterForNotification(sender, name);
}

Result LSlider::Initialize()
{
    if (Failed(LPanel::Initialize()))
    {
        return kFail;
    }
    mHandler = LNotificationHandler<LSlider>::Create(this);
    mThumbEnd = FindChildControl(String(u"thumbEnd"));
    mThumbStart = FindChildControl(String(u"thumbStart"));
    const RCPtr<LControlFactory> factory = IFrameworkApp::GetInstance().GetControlFactory();
    if (mThumbStart && mThumbStart->GetControlDescriptor() && factory)
    {
        const RCPtr<LControlDescriptor> descriptor =
            factory->CloneControlDescriptor(RCPtr<LControlDescriptor>(const_cast<LControlDescriptor*>(
                                                mThumbStart->GetControlDescriptor().Get())),
                                            MakeThumbLayout(), ThumbName());
        const RCPtr<LControl> thumb = factory->CreateControl(descriptor, RCPtr<LControl>(this));
        if (thumb)
        {
            thumb->SetVisible(true);
            AdoptThumb(thumb);
        }
    }
    OnLookChanged();
    SetValueScaling(0.0, 127.0, 0);
    if (const RCPtr<LLayoutDescriptor>& layout = GetLayoutDescriptor())
    {
        layout->SetTextOverflowX(kTextOverflowClip);
    }
    return kOk;
}

RCPtr<LLayoutDescriptor> LSlider::MakeThumbLayout() const
{
    const RCPtr<LLayoutDescriptor>& source = mThumbStart ? mThumbStart->GetLayoutDescriptor() : nullptr;
    const RCPtr<LLayoutDescriptor> layout = source ? source->Clone() : LLayoutDescriptor::Create();
    layout->xDocked = false;
    layout->yDocked = false;
    for (PositionSpec* position : {&layout->xPosition, &layout->yPosition})
    {
        position->anchor = 0.0f;
        position->relative = 0.0f;
        // A position measured from a sibling would move the thumb with that sibling.
        if (position->reference == kPositionToNamed)
        {
            position->reference = kPositionToClient;
            position->referenceName = String();
        }
    }
    layout->visible = true;
    return layout;
}

void LSlider::AdoptThumb(const RCPtr<LControl>& thumb)
{
    mThumb = thumb;
    if (mHandler)
    {
        mHandler->Register(&LSlider::OnThumbMove, thumb, u"NID_MOUSE_MOVE");
        mHandler->Register(&LSlider::OnThumbDrag, thumb, u"NID_LEFT_DRAG_CONDITION_CHANGE");
    }
    if (const RCPtr<LButton> button{thumb})
    {
        button->pressedWhenDraggedOff = true;
    }
}

Result LSlider::AddChildControl(const RCPtr<LControl>& child, ConstRCPtr<LControlDescriptor> descriptor)
{
    if (!child || child->GetName() != ThumbName() || (descriptor && descriptor->GetLayout()))
    {
        return LPanel::AddChildControl(child, std::move(descriptor));
    }
    if (!mThumbStart)
    {
        mThumbStart = FindChildControl(String(u"thumbStart"));
    }
    const Result result = child->SetParent(RCPtr<LControl>(this));
    if (Succeeded(result))
    {
        child->SetLayoutDescriptor(MakeThumbLayout());
        child->SetVisible(true);
        child->UpdateLayout();
    }
    return result;
}

Result LSlider::PlaceParts()
{
    for (const RCPtr<LControl>& marker : {mThumbStart, mThumbEnd})
    {
        if (marker)
        {
            marker->SetVisible(false);
        }
    }
    if (mThumbStart)
    {
        const PointD size = mThumbStart->GetSize();
        mAnchorOffset = RoundPointToInt(PointD{size.x * 0.5, size.y * 0.5});
        if (const RCPtr<LLayoutDescriptor>& layout = mThumbStart->GetLayoutDescriptor())
        {
            if (layout->xPosition.anchor != 0.0f)
            {
                mAnchorOffset.x = RoundToInt(layout->xPosition.anchor * size.x);
            }
            if (layout->yPosition.anchor != 0.0f)
            {
                mAnchorOffset.y = RoundToInt(layout->yPosition.anchor * size.y);
            }
        }
    }
    OnLookChanged();
    return kOk;
}

void LSlider::OnChildRectChanged(const RCPtr<LControl>& child)
{
    LPanel::OnChildRectChanged(child);
    // The markers are laid out after Initialize; the thumb follows them.
    if (child && (child == mThumbStart || child == mThumbEnd))
    {
        PlaceThumb();
    }
}

void LSlider::OnLookChanged()
{
    if (!mThumb)
    {
        const RCPtr<LControl>& thumb = FindChildControl(ThumbName());
        if (!thumb)
        {
            return;
        }
        AdoptThumb(thumb);
    }
    PlaceThumb();
}

// ---- geometry ------------------------------------------------------------------------------

bool LSlider::GetTrack(PointI& start, PointI& end, double& length) const
{
    if (!mThumb || !mThumbStart || !mThumbEnd)
    {
        return false;
    }
    start = RoundPointToInt(mThumbStart->GetPosition());
    end = RoundPointToInt(mThumbEnd->GetPosition());
    length = Distance(mThumbStart->GetPosition(), mThumbEnd->GetPosition());
    return length > 0.0;
}

PointI LSlider::ThumbAt() const
{
    return mThumb ? RoundPointToInt(mThumb->GetPosition()) : PointI{};
}

void LSlider::MoveThumbTo(const PointI& point)
{
    const double values[2] = {IntToDouble(point.x), IntToDouble(point.y)};
    for (std::int32_t axis = 0; axis < 2; ++axis)
    {
        DockedPositionSpec position;
        SizeSpec size;
        if (const RCPtr<LLayoutDescriptor>& layout = mThumb->GetLayoutDescriptor())
        {
            layout->GetPlacement(axis, position, size);
        }
        else
        {
            size.absolute = axis == 0 ? mThumb->GetSize().x : mThumb->GetSize().y;
        }
        position.absolute = values[axis];
        mThumb->SetPlacement(axis, position, size);
    }
}

void LSlider::PlaceThumb()
{
    PointI start{};
    PointI end{};
    double length = 0.0;
    if (mDragging || !GetTrack(start, end, length))
    {
        return;
    }
    const double t = GetValue();
    const PointI target{start.x + RoundToInt((end.x - start.x) * t),
                        start.y + RoundToInt((end.y - start.y) * t)};
    if (target != ThumbAt())
    {
        MoveThumbTo(target);
    }
}

void LSlider::SetValueFromThumb(const PointI& point)
{
    PointI start{};
    PointI end{};
    double length = 0.0;
    if (!GetTrack(start, end, length))
    {
        return;
    }
    LControl::SetValue(Distance(mThumbStart->GetPosition(), ToDouble(point)) / length);
    PlaceThumb();
}

void LSlider::PageToward(const PointI& point)
{
    PointI start{};
    PointI end{};
    double length = 0.0;
    if (!GetTrack(start, end, length))
    {
        return;
    }
    const PointD target{IntToDouble(point.x - mAnchorOffset.x), IntToDouble(point.y - mAnchorOffset.y)};
    const double toThumb = Distance(ToDouble(start), ToDouble(ThumbAt()));
    const double toTarget = Distance(ToDouble(start), target);
    const double atTarget = toTarget / length;
    LControl::SetValue(toThumb > toTarget ? std::max(GetValue() - kPageStep, atTarget)
                                          : std::min(GetValue() + kPageStep, atTarget));
    PlaceThumb();
}

// ---- value and looks -----------------------------------------------------------------------

double LSlider::SetValue(double value)
{
    if (mDragging)
    {
        mPendingValue = value;
        return GetValue();
    }
    LControl::SetValue(value);
    PlaceThumb();
    return GetValue();
}

Result LSlider::OnConditionsChanged(const RCPtr<LConditionsParam>& conditions)
{
    const Result result = LPanel::OnConditionsChanged(conditions);
    if (!conditions)
    {
        return result;
    }
    const std::uint32_t turnedOn = conditions->current & ~conditions->previous;
    const std::uint32_t turnedOff = conditions->previous & ~conditions->current;
    if ((turnedOn & Condition::kLeftDrag) != 0 && IsEnabled(true) && !mRepeating)
    {
        mRepeating = true;
        BeginIdleProcessing();
        mLastRepeatTime = SecondsNow();
        mRepeatCountdown = kRepeatDelay;
    }
    else if ((turnedOff & Condition::kLeftDrag) != 0 && mRepeating)
    {
        StopRepeating();
    }
    if ((turnedOff & Condition::kContainsFocus) != 0)
    {
        mKeys.OnFocusLost(*this);
    }
    if (((turnedOn | turnedOff) & (Condition::kContainsFocus | Condition::kEnabled)) != 0)
    {
        SelectLookFor(conditions->current);
    }
    return result;
}

void LSlider::SelectLookFor(std::uint32_t conditions)
{
    if ((conditions & Condition::kEnabled) == 0)
    {
        SelectLook(kDisabledLook);
    }
    else
    {
        SelectLook((conditions & Condition::kContainsFocus) != 0 ? kFocusLook : kNormalLook);
    }
}

// ---- input ---------------------------------------------------------------------------------

Result LSlider::OnVerticalWheel(const RCPtr<LMouseWheelParam>& wheel)
{
    StepValueByWheel(*this, wheel, WheelDirection::kAwayFromUser);
    return kOk;
}

Result LSlider::OnHorizontalWheel(const RCPtr<LMouseWheelParam>& wheel)
{
    StepValueByWheel(*this, wheel, WheelDirection::kRight);
    return kOk;
}

Result LSlider::OnBeforeLeftClick(const RCPtr<LMouseButtonParam>& button)
{
    if (button)
    {
        PageToward(button->GetPoint());
    }
    return kOk;
}

Result LSlider::OnKeyDown(const RCPtr<LKeyParam>& key)
{
    return mKeys.OnKey(*this, key);
}

Result LSlider::DispatchKey(const RCPtr<LKeyParam>& key)
{
    // The panel's routing, not ours again: RouteKeyToParent is this very slot.
    return mKeys.OnKey(*this, key) == kOk ? kOk : LPanel::DispatchKey(key);
}

Result LSlider::OnThumbDrag(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>& notification)
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
        SendCaptureChange(*this, true);
    }
    else if ((turnedOff & Condition::kLeftDrag) != 0)
    {
        mDragging = false;
        if (mApplyPendingAtRelease && mPendingValue >= 0.0 && mPendingValue <= 1.0)
        {
            if (mAlwaysNotify && mPendingValue == GetValue())
            {
                SendNotificationByName(u"NID_VALUE_CHANGE",
                                       LValueParam::Create(mPendingValue, InterpolateValue(GetValue())));
            }
            LControl::SetValue(mPendingValue);
            PlaceThumb();
        }
        mPendingValue = -1.0;
        SendCaptureChange(*this, false);
    }
    return 1;
}

Result LSlider::OnThumbMove(const RCPtr<LNotificationDistributor>& sender,
                            const RCPtr<LNotification>& notification)
{
    const RCPtr<LPointWithModifiersParam> point =
        notification ? notification->GetDataAs<LPointWithModifiersParam>() : nullptr;
    PointI start{};
    PointI end{};
    double length = 0.0;
    if (!point || !mDragging || sender.Get() != static_cast<LNotificationDistributor*>(mThumb.Get()) ||
        !GetTrack(start, end, length))
    {
        return 1;
    }
    const PointI at = ThumbAt();
    const PointI target{point->x + at.x - mGrabOffset.x, point->y + at.y - mGrabOffset.y};
    PointI moved{};
    if (start.x == end.x)
    {
        // Markers on one column (also a slanted pair that rounds onto one): the slope
        // would divide by 0.
        moved = PointI{static_cast<std::int32_t>(std::trunc(mThumb->GetPosition().x)), target.y};
    }
    else if (start.y == end.y)
    {
        moved = PointI{target.x, static_cast<std::int32_t>(std::trunc(mThumb->GetPosition().y))};
    }
    else
    {
        // The foot of the perpendicular from the target onto the track.
        const float m = static_cast<float>(end.y - start.y) / static_cast<float>(end.x - start.x);
        const float n = -1.0f / m;
        const float b = static_cast<float>(start.y) - static_cast<float>(start.x) * m;
        const double x = RoundHalfAwayFromZero((target.y - target.x * n - b) / (m - n));
        moved = PointI{static_cast<std::int32_t>(x), RoundToInt(x * m + b)};
    }
    moved.x = std::clamp(moved.x, std::min(start.x, end.x), std::max(start.x, end.x));
    moved.y = std::clamp(moved.y, std::min(start.y, end.y), std::max(start.y, end.y));
    if (moved != at)
    {
        MoveThumbTo(moved);
        SetValueFromThumb(moved);
    }
    return 1;
}

// ---- idle ----------------------------------------------------------------------------------

Result LSlider::OnIdle(const RCPtr<LNotificationDistributor>& sender,
                       const RCPtr<LNotification>& notification)
{
    const RCPtr<LControl> self(this);
    const Result result = LPanel::OnIdle(sender, notification);
    if (!mRepeating || (GetConditions() & Condition::kHoverOrForced) == 0 || !IsEnabled(true))
    {
        return result;
    }
    const double now = SecondsNow();
    mRepeatCountdown -= now - mLastRepeatTime;
    mLastRepeatTime = now;
    if (mRepeatCountdown <= kIdleTimeSlack)
    {
        mRepeatCountdown = kRepeatInterval;
        const RCPtr<IRootWindowServices> window = GetRootWindow();
        if (window)
        {
            const PointI pointer = window->GetMousePosition();
            const PointD origin = GetAbsolutePosition();
            PageToward(RoundPointToInt(PointD{pointer.x - origin.x, pointer.y - origin.y}));
        }
    }
    return result;
}

void LSlider::StopRepeating()
{
    mRepeating = false;
    EndIdleProcessing();
}

} // namespace KR
