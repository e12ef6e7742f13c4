#include "kr/controls/Knob.h"

#include "kr/core/StringFunctions.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/KeyCode.h"
#include "kr/ui/NotificationParams.h"

#include <algorithm>
#include <cmath>

namespace KR
{

namespace
{

constexpr double kQuarterTurn = 1.5707963267948966;
constexpr double kDegreesPerRadian = 57.29577951308232;
// The default travel of the linear gesture, before it is rounded to a multiple of the frames.
constexpr double kDefaultTravel = 128.0;

} // namespace

LKnob::~LKnob() = default;

double LKnob::NormalizeAngle(double degrees)
{
    // A remainder, never a loop: a skin's angle may be any size.
    if (!std::isfinite(degrees))
    {
        return 0.0;
    }
    double angle = std::fmod(degrees, 360.0);
    if (angle < 0.0)
    {
        angle += 360.0;
    }
    return angle >= 360.0 ? 0.0 : angle;
}

// ---- creation ------------------------------------------------------------------------------

Result LKnob::ReadCreateParams()
{
    const Result result = LControl::ReadCreateParams();
    const ConstRCPtr<LControlDescriptor>& descriptor = GetControlDescriptor();
    const RCPtr<LStringTable> params = descriptor ? descriptor->GetCreateParams() : nullptr;
    if (!params)
    {
        return result;
    }
    String text;
    if (params->GetString(u"LINEAR_GESTURE_FULL_RANGE", text))
    {
        mLinearFullRange = StringToInt(text);
    }
    if (params->GetString(u"RADIAL_GESTURE_START_ANGLE", text))
    {
        mStartAngle = ParseDouble(text);
    }
    if (params->GetString(u"RADIAL_GESTURE_END_ANGLE", text))
    {
        mEndAngle = ParseDouble(text);
    }
    if (params->GetString(u"FINE_ADJUST_MULTIPLIER", text))
    {
        mFineMultiplier = ParseDouble(text);
    }
    return result;
}

Result LKnob::Initialize()
{
    const Result result = LControl::Initialize();
    if (Failed(result))
    {
        return result;
    }
    mRadial = !(mStartAngle == 0.0 && mEndAngle == 0.0);
    mStartAngle = NormalizeAngle(mStartAngle);
    mEndAngle = NormalizeAngle(mEndAngle);
    if (mFineMultiplier == 0.0)
    {
        mFineMultiplier = kDefaultFineMultiplier;
    }
    SetValueScaling(0.0, 127.0, 0);
    return result;
}

Result LKnob::PlaceParts()
{
    const std::uint32_t looks = GetLookCount();
    mFrameCount = 0;
    while (mFrameCount < looks && GetActiveLook(static_cast<std::int32_t>(mFrameCount)))
    {
        ++mFrameCount;
    }
    const auto lookOrNone = [&](std::uint32_t index)
    {
        return index < looks && GetActiveLook(static_cast<std::int32_t>(index))
                   ? static_cast<std::int32_t>(index)
                   : -1;
    };
    mFocusLook = lookOrNone(mFrameCount + 1);
    mDisabledLook = lookOrNone(mFrameCount + 2);
    ApplyOverlays();
    if (!mRadial && mLinearFullRange == 0 && mFrameCount > 0)
    {
        const double frames = static_cast<double>(mFrameCount);
        mLinearFullRange =
            static_cast<std::int32_t>(std::trunc(RoundHalfAwayFromZero(kDefaultTravel / frames) * frames));
    }
    const RectD rect = GetLookRect(-1);
    mCentre = PointI{static_cast<std::int32_t>(std::trunc(rect.x + rect.width * 0.5)),
                     static_cast<std::int32_t>(std::trunc(rect.y + rect.height * 0.5))};
    OnValueChanged();
    return kOk;
}

void LKnob::ApplyOverlays()
{
    if (HasFocus() && mFocusLook >= 0)
    {
        SetFrameOverlays(mFocusLook);
    }
    if (!IsEnabled(true) && mDisabledLook >= 0)
    {
        SetFrameOverlays(mDisabledLook);
    }
}

void LKnob::SetFrameOverlays(std::int32_t overlayLook)
{
    const RCPtr<LVisualPart> part = overlayLook >= 0 ? GetActiveLook(overlayLook)->GetClientPart() : nullptr;
    for (std::uint32_t frame = mFrameCount; frame-- > 0;)
    {
        GetActiveLook(static_cast<std::int32_t>(frame))->SetOverlayPart(part, false);
    }
    const PointD size = GetSize();
    Invalidate(RectD{0.0, 0.0, size.x, size.y}, ClipsToParent());
}

// ---- value and conditions ------------------------------------------------------------------

double LKnob::SetValue(double value)
{
    if (IsDragging())
    {
        mPendingValue = value;
        return GetValue();
    }
    return LControl::SetValue(value);
}

void LKnob::OnValueChanged()
{
    if (mFrameCount > 0)
    {
        SelectLook(static_cast<std::int32_t>(RoundHalfAwayFromZero((mFrameCount - 1) * GetValue())));
    }
}

Result LKnob::OnConditionsChanged(const RCPtr<LConditionsParam>& conditions)
{
    if (!conditions)
    {
        return kOk;
    }
    const std::uint32_t turnedOn = conditions->current & ~conditions->previous;
    const std::uint32_t turnedOff = conditions->previous & ~conditions->current;
    if ((turnedOn & Condition::kLeftDrag) != 0)
    {
        // The press point is kept in the parent's coordinates; the gestures work in the knob's.
        const PointD position = GetPosition();
        mLast = RoundPointToInt(PointD{conditions->point.x - position.x, conditions->point.y - position.y});
        mPrevious = mLast;
        if (mRadial)
        {
            DragRadial(mLast);
        }
        mPendingValue = -1.0;
        SendCaptureChange(*this, true);
    }
    else if ((turnedOff & Condition::kLeftDrag) != 0)
    {
        if (mApplyPendingAtRelease && mPendingValue >= 0.0 && mPendingValue <= 1.0)
        {
            LControl::SetValue(mPendingValue);
        }
        mPendingValue = -1.0;
        SendCaptureChange(*this, false);
    }
    if ((turnedOff & Condition::kHasFocus) != 0)
    {
        mKeys.OnFocusLost(*this);
    }
    if (((turnedOn | turnedOff) & Condition::kHasFocus) != 0 && mFocusLook >= 0)
    {
        SetFrameOverlays((conditions->current & Condition::kHasFocus) != 0 ? mFocusLook : -1);
    }
    if (((turnedOn | turnedOff) & Condition::kEnabled) != 0 && mDisabledLook >= 0)
    {
        SetFrameOverlays((conditions->current & Condition::kEnabled) == 0 ? mDisabledLook : -1);
    }
    return kOk;
}

// ---- input ---------------------------------------------------------------------------------

Result LKnob::OnMouseMoved(const RCPtr<LPointWithModifiersParam>& point)
{
    if (point && IsDragging())
    {
        if (mRadial)
        {
            DragRadial(point->GetPoint());
        }
        else
        {
            DragLinear(point->GetPoint());
        }
    }
    return kOk;
}

void LKnob::DragLinear(const PointI& point)
{
    const std::int32_t range = mLinearFullRange;
    // Without frames or travel there is no step to take (it would divide by 0).
    if (mFrameCount == 0 || range <= 1)
    {
        return;
    }
    const bool fine = IFrameworkApp::GetInstance().GetKeyState(VirtualKey::kControl);
    std::int64_t dx = std::int64_t{point.x} - mLast.x;
    std::int64_t dy = std::int64_t{point.y} - mLast.y;
    const std::int64_t p = (std::int64_t{point.x} - mPrevious.x) - (std::int64_t{point.y} - mPrevious.y);
    // A diagonal stroke counts only the axis it mostly follows, so a drift across does not
    // cancel the move.
    if (dx > 0 && dy > 0)
    {
        if (p > 0 && dy > dx)
        {
            dy = 0;
        }
        else if (p < 0 && dy < dx)
        {
            dx = 0;
        }
    }
    else if (dx < 0 && dy < 0)
    {
        if (p > 0 && dx < dy)
        {
            dx = 0;
        }
        else if (p < 0 && dx > dy)
        {
            dy = 0;
        }
    }
    double step = static_cast<double>(dx - dy) / (range - 1);
    if (fine)
    {
        step *= mFineMultiplier;
    }
    const double t = std::clamp(GetValue() + step, 0.0, 1.0);
    const double steps = fine ? range / mFineMultiplier - 1.0 : range - 1.0;
    LControl::SetValue(steps != 0.0 ? std::trunc(RoundHalfAwayFromZero(steps * t)) / steps : t);
    mPrevious = mLast;
    mLast = point;
}

void LKnob::DragRadial(const PointI& point)
{
    const double vx = IntToDouble(point.x) - mCentre.x;
    const double vy = IntToDouble(point.y) - mCentre.y;
    if (mFrameCount == 0 || (vx == 0.0 && vy == 0.0))
    {
        return;
    }
    const double angle = NormalizeAngle((std::atan2(vy, vx) + kQuarterTurn) * kDegreesPerRadian);
    const double start = mStartAngle;
    const double end = mEndAngle + (start >= mEndAngle ? 360.0 : 0.0);
    const double at = angle + (start >= angle ? 360.0 : 0.0);
    if (start <= at && at <= end)
    {
        const double value = (at - start) / (end - start);
        if (value >= 0.0 && value <= 1.0)
        {
            LControl::SetValue(value);
        }
        return;
    }
    // Past the end the pointer is in the dead zone: the nearer end.
    LControl::SetValue(end + (start + 360.0 - end) * 0.5 >= at ? 1.0 : 0.0);
}

Result LKnob::OnVerticalWheel(const RCPtr<LMouseWheelParam>& wheel)
{
    StepValueByWheel(*this, wheel, WheelDirection::kAwayFromUser);
    return kOk;
}

Result LKnob::OnHorizontalWheel(const RCPtr<LMouseWheelParam>& wheel)
{
    StepValueByWheel(*this, wheel, WheelDirection::kRight);
    return kOk;
}

Result LKnob::OnKeyDown(const RCPtr<LKeyParam>& key)
{
    return mKeys.OnKey(*this, key);
}

} // namespace KR
