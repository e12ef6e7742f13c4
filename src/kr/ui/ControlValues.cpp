// The control's value and its scaling, clipping to the parent with the unclipped-descendant
// counts, idle subscription, the scroll offset, the frame, and leaving the tree.

#include "kr/ui/Control.h"

#include "kr/ui/FrameworkApp.h"

#include <cmath>

namespace KR
{
namespace
{

constexpr std::int32_t kLinear = 0;
constexpr std::int32_t kPowerLaw = 1;

} // namespace

// ---- value ----------------------------------------------------------------------------------

double LControl::SetValue(double value)
{
    // "Not >= 0" also catches NaN.
    const double clamped = !(value >= 0.0) ? 0.0 : (value > 1.0 ? 1.0 : value);
    if (clamped == mValue)
    {
        return mValue;
    }
    mValue = clamped;
    OnValueChanged();
    SendNotificationByName(u"NID_VALUE_CHANGE", LValueParam::Create(mValue, InterpolateValue(mValue)));
    return mValue;
}

Result LControl::SetValueScaling(double minimum, double maximum, std::int32_t mode)
{
    if (mode != kLinear && mode != kPowerLaw)
    {
        return kInvalidArg;
    }
    if (mode == kPowerLaw && !(minimum > 0.0 && maximum > 0.0))
    {
        return kInvalidArg;
    }
    mMinimum = minimum;
    mMaximum = maximum;
    mScalingMode = mode;
    return kOk;
}

double LControl::InterpolateValue(double normalized) const
{
    if (mScalingMode == kPowerLaw)
    {
        return mMinimum * std::pow(mMaximum / mMinimum, normalized);
    }
    return mMinimum + (mMaximum - mMinimum) * normalized;
}

double LControl::NormalizeValue(double value) const
{
    if (mMinimum == mMaximum)
    {
        return 0.0;
    }
    const double low = std::min(mMinimum, mMaximum);
    const double high = std::max(mMinimum, mMaximum);
    const double v = !(value >= low) ? low : (value > high ? high : value);
    if (mScalingMode == kPowerLaw)
    {
        return std::log(v / mMinimum) / std::log(mMaximum / mMinimum);
    }
    return (v - mMinimum) / (mMaximum - mMinimum);
}

// ---- clipping -------------------------------------------------------------------------------

bool LControl::SetClipToParent(bool clip)
{
    if (clip == ClipsToParent())
    {
        return clip;
    }
    // Both invalidations ignore the clip: the whole area the control may cover repaints.
    const RectD whole{0.0, 0.0, mSize.x, mSize.y};
    if (clip)
    {
        Invalidate(whole, false);
    }
    EnsureLayout().clipToParent = clip;
    if (mParent)
    {
        mParent->mChildList.RaiseGeneration();
        mParent->IncrementUnclippedCount(clip ? -1 : 1);
    }
    if (!clip)
    {
        Invalidate(whole, false);
    }
    return clip;
}

void LControl::IncrementUnclippedCount(std::int32_t delta)
{
    for (LControl* control = this; control; control = control->mParent.Get())
    {
        control->mUnclippedCount += delta;
    }
}

// ---- idle -----------------------------------------------------------------------------------

Result LControl::BeginIdleProcessing()
{
    if (mIdleRequests++ > 0)
    {
        return kOk;
    }
    const RCPtr<IRootWindowServices> window = GetRootWindow();
    if (!window)
    {
        // Registered by RegisterIdleHandlers once the tree has a window.
        return kOk;
    }
    const Result result = mHandler->Register(&LControl::OnIdle, window, u"NID_IDLE");
    if (Failed(result))
    {
        mIdleRequests = 0;
    }
    return result;
}

Result LControl::EndIdleProcessing()
{
    // An end without a begin is refused rather than counted: a negative count would
    // keep the next begin from registering.
    if (mIdleRequests <= 0)
    {
        return kFail;
    }
    if (mIdleRequests-- != 1)
    {
        return kOk;
    }
    const RCPtr<IRootWindowServices> window = GetRootWindow();
    if (!window)
    {
        return kOk;
    }
    const bool hadEntry = mHandler->Unregister(window, u"NID_IDLE");
    const Result result = UnregisterForNotification(window, u"NID_IDLE");
    return hadEntry ? result : kFail;
}

void LControl::RegisterIdleHandlers()
{
    const RCPtr<IRootWindowServices> window = GetRootWindow();
    if (!window)
    {
        return;
    }
    if (mIdleRequests > 0 && Failed(mHandler->Register(&LControl::OnIdle, window, u"NID_IDLE")))
    {
        mIdleRequests = 0;
    }
    for (std::uint32_t i = 0; i < mChildList.GetCount(); ++i)
    {
        mChildList.GetAt(i, kInsertionOrder)->RegisterIdleHandlers();
    }
}

void LControl::DropIdleRegistrations(const RCPtr<IRootWindowServices>& window)
{
    if (mIdleRequests > 0)
    {
        mHandler->Unregister(window, u"NID_IDLE");
        UnregisterForNotification(window, u"NID_IDLE");
    }
    for (std::uint32_t i = 0; i < mChildList.GetCount(); ++i)
    {
        mChildList.GetAt(i, kInsertionOrder)->DropIdleRegistrations(window);
    }
}

// ---- timers ---------------------------------------------------------------------------------

Result LControl::StartTimer(std::int32_t index, double a, double b, double c, const RCPtr<LControl>& target)
{
    if (index != 0 && index != 1)
    {
        return kInvalidArg;
    }
    Timer& timer = mTimers[index];
    timer.values[0] = a;
    timer.values[1] = b;
    timer.values[2] = c;
    timer.target = target;
    if (!timer.running)
    {
        timer.running = true;
        timer.start = IFrameworkApp::GetInstance().GetSecondsSinceStart();
        BeginIdleProcessing();
    }
    return kOk;
}

Result LControl::StopTimer(std::int32_t index)
{
    if (index != 0 && index != 1)
    {
        return kInvalidArg;
    }
    Timer& timer = mTimers[index];
    timer.target = nullptr;
    if (!timer.running)
    {
        return kNothingDone;
    }
    timer.running = false;
    timer.fired = false;
    EndIdleProcessing();
    return kOk;
}

// ---- scroll offset --------------------------------------------------------------------------

void LControl::SetScrollOffset(const PointD& offset)
{
    mScrolling = true;
    const PointD rounded = IntPointToDouble(RoundPointToInt(offset));
    if (rounded == mScrollOffset)
    {
        mScrolling = false;
        return;
    }
    InvalidateSubtree();
    const PointD old = mScrollOffset;
    mScrollOffset = rounded;
    for (std::uint32_t i = 0; i < mChildList.GetCount(); ++i)
    {
        const RCPtr<LControl> child = mChildList.GetAt(i, kInsertionOrder);
        mChildIsDocked = child->IsDocked();
        child->OnSizeChanged(old, rounded);
        mChildIsDocked = false;
    }
    Invalidate(RectD{0.0, 0.0, mSize.x, mSize.y}, ClipsToParent());
    ScrollContent(old, rounded);
    SendNotificationByName(u"NID_SCROLL_OFFSET_CHANGE");
    if (const RCPtr<IRootWindowServices> window = GetRootWindow())
    {
        // The content moved under a pointer that stood still.
        const PointI pointer = window->GetMousePosition();
        const PointI origin = RoundPointToInt(GetAbsolutePosition());
        const double x = static_cast<double>(pointer.x) - origin.x;
        const double y = static_cast<double>(pointer.y) - origin.y;
        if (x >= 0.0 && x < mSize.x && y >= 0.0 && y < mSize.y)
        {
            window->UpdateHoverAtPointer();
        }
    }
    mScrolling = false;
}

Result LControl::OnSizeChanged(const PointD&, const PointD&)
{
    if (IsDocked())
    {
        UpdateLayout();
    }
    return kOk;
}

// ---- frame and layout ------------------------------------------------------------------------

Result LControl::SetFrame(const PointD& position, const PointD& size)
{
    if (position == mPosition && size == mSize)
    {
        return kNothingDone;
    }
    UpdateClientRect();
    const bool sizeChanged = SizeDiffers(size.x, mSize.x) || SizeDiffers(size.y, mSize.y);
    Invalidate(RectD{0.0, 0.0, mSize.x, mSize.y}, ClipsToParent());
    if (mUnclippedCount > 0)
    {
        InvalidateSubtree();
    }
    mPosition = position;
    mSize = size;
    mLookSize = PointI{RoundToInt32(mSize.x), RoundToInt32(mSize.y)};
    for (std::uint32_t i = 0; i < mLooks.GetCount(); ++i)
    {
        if (const RCPtr<LLook>& look = mLooks.ElementAt(i))
        {
            look->SetSize(mLookSize.x, mLookSize.y);
        }
    }
    if (sizeChanged && !mLayoutInProgress)
    {
        mLayoutInProgress = true;
        const std::int32_t width = RoundToInt32(mSize.x);
        const std::int32_t height = RoundToInt32(mSize.y);
        for (std::uint32_t i = 0; i < mChildList.GetCount(); ++i)
        {
            const RCPtr<LControl> child = mChildList.GetAt(i, kInsertionOrder);
            child->OnUpdateLayout(width, height);
        }
        // Placed again for what its children's new places change in its limits; without
        // children nothing placed it changed, and the place would come out as it is.
        if (mChildList.GetCount() > 0)
        {
            UpdateLayout();
        }
        mLayoutInProgress = false;
    }
    if (mParent)
    {
        // Later siblings may be placed relative to this one.
        const RCPtr<LControl> parent = mParent;
        const RCPtr<LControl> self(this);
        const std::int32_t index = parent->GetChildIndex(self, kInsertionOrder);
        for (std::uint32_t i = static_cast<std::uint32_t>(index + 1); i < parent->mChildList.GetCount(); ++i)
        {
            const RCPtr<LControl> sibling = parent->mChildList.GetAt(i, kInsertionOrder);
            if (sibling->UpdateLayout() != kNothingDone)
            {
                break;
            }
        }
        parent->OnParentSizeChanged(self);
    }
    else if (mRootWindow)
    {
        // A root control's size is its window's: the window follows it where it stands.
        const RectI client = mRootWindow->GetClientRectOnScreen();
        mRootWindow->MoveClientRect(RectD{IntToDouble(client.x), IntToDouble(client.y), mSize.x, mSize.y});
    }
    if ((!(mSize.x > 0.0) || !(mSize.y > 0.0)) && (mHasFocus || mContainsFocus) && mParent)
    {
        mParent->SetFocus(true);
    }
    Invalidate(RectD{0.0, 0.0, mSize.x, mSize.y}, ClipsToParent());
    CheckClientRect();
    return kOk;
}

Result LControl::OnUpdateLayout(std::int32_t, std::int32_t)
{
    UpdateLayout();
    return kOk;
}

Result LControl::OnParentSizeChanged(const RCPtr<LControl>& child)
{
    if (!mLayoutInProgress && !mMakingChildren)
    {
        UpdateLayout();
    }
    OnChildRectChanged(child);
    return kOk;
}

// ---- leaving the tree -------------------------------------------------------------------------

Result LControl::Detach()
{
    const RCPtr<LControl> self(this);
    SetVisible(false);
    SetClipToParent(true);
    if (mCapture)
    {
        OnCaptureLost();
    }
    while (mIdleRequests > 0)
    {
        EndIdleProcessing();
    }
    return mParent ? SetParent(nullptr) : SetRootWindow(nullptr);
}

} // namespace KR
