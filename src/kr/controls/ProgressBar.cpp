#include "kr/controls/ProgressBar.h"

#include "kr/controls/OwnHandlerTable.h"
#include "kr/controls/PartPlacement.h"
#include "kr/core/StringFunctions.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/StringTable.h"

#include <cmath>
#include <limits>
#include <string>

namespace KR
{

namespace
{
double Now()
{
    return IFrameworkApp::GetInstance().GetSecondsSinceStart();
}

// Whole seconds, half away from zero. A tiny rate gives a quotient far beyond any count
// of seconds, so it is held to the 32-bit range before it becomes one.
std::int32_t ToWholeSeconds(double seconds)
{
    constexpr double kLow = std::numeric_limits<std::int32_t>::min();
    constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
    if (std::isnan(seconds))
    {
        return 0;
    }
    const double rounded = seconds < 0.0 ? seconds - 0.5 : seconds + 0.5;
    return static_cast<std::int32_t>(rounded <= kLow ? kLow : rounded >= kHigh ? kHigh : rounded);
}

String Number(std::int32_t value)
{
    return String(std::to_string(value).c_str());
}
} // namespace

LProgressBar::LProgressBar(const RCPtr<LControl>& parent, const String& name) : LControl(parent, name)
{
}

LProgressBar::~LProgressBar() = default;

Result LProgressBar::Receive(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification)
{
    return ReceiveThroughOwnTable(*this, mHandler, sender, notification);
}

Result LProgressBar::UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                               NotificationName name)
{
    if (mHandler)
    {
        mHandler->Unregister(sender, name);
    }
    return LControl::UnregisterForNotification(sender, name);
}

Result LProgressBar::ReleaseInternalReferences()
{
    mBar = nullptr;
    mTimeLabel = nullptr;
    mPercentLabel = nullptr;
    return LControl::ReleaseInternalReferences();
}

// ---- creation ------------------------------------------------------------------------------

Result LProgressBar::Initialize()
{
    const Result result = LControl::Initialize();
    mHandler = LNotificationHandler<LProgressBar>::Create(this);
    mBar = FindChildControl(String(u"activeOverlay"));
    mTimeLabel = FindChildControl(String(u"timeRemainingLabel"));
    mPercentLabel = FindChildControl(String(u"percentCompleteLabel"));
    if (mTimeLabel)
    {
        mTimeLabel->SetVisible(false);
    }
    const RCPtr<LControlFactory> factory = IFrameworkApp::GetInstance().GetControlFactory();
    const RCPtr<LStringTable> framework = factory ? factory->GetFrameworkStringTable() : nullptr;
    const auto word = [this, &framework](const char16_t* key)
    {
        String text = GetLocalizedString(String(key));
        if (text.IsEmpty() && framework)
        {
            framework->GetString(String(key), text);
        }
        return text;
    };
    mHourText = word(u"HOURS_SINGULAR");
    mHoursText = word(u"HOURS_PLURAL");
    mMinuteText = word(u"MINUTES_SINGULAR");
    mMinutesText = word(u"MINUTES_PLURAL");
    mSecondText = word(u"SECONDS_SINGULAR");
    mSecondsText = word(u"SECONDS_PLURAL");
    mRemainingText = word(u"REMAINING");
    SetValue(0.0);
    SetValueScaling(0.0, 100.0, 0);
    return result;
}

Result LProgressBar::PlaceParts()
{
    SetNotFocusable(true);
    OnValueChanged();
    return kOk;
}

// ---- state to parts ------------------------------------------------------------------------

void LProgressBar::OnValueChanged()
{
    const double value = GetValue();
    const double percent = value * 100.0;
    if (mBar)
    {
        const double width = RoundHalfAwayFromZero(GetSize().x * percent / 100.0);
        if (width < 1.0)
        {
            mBar->SetVisible(false);
        }
        else
        {
            mBar->SetVisible(true);
            SetPartAbsoluteSize(*mBar, 0, width);
        }
    }
    if (mPercentLabel)
    {
        mPercentLabel->SetText(DoubleToString(percent, 0));
    }
    if (mEstimating)
    {
        const double now = Now();
        if (value - mLastValue > 0.0 && now - mLastTime > 0.0)
        {
            const double rate = (value - mStartValue) / (now - mStartTime);
            if (now - mLastTime > 1.0)
            {
                mLastValue = value;
                mLastTime = now;
            }
            SetTimeRemaining(ToWholeSeconds((1.0 - value) / rate));
        }
    }
    if (value >= 1.0)
    {
        mEstimating = false;
    }
}

void LProgressBar::SetEstimating(bool estimating)
{
    if (estimating == mEstimating)
    {
        return;
    }
    mEstimating = estimating;
    if (estimating)
    {
        mStartTime = mLastTime = Now();
        mStartValue = mLastValue = GetValue();
    }
}

// ---- the time left -------------------------------------------------------------------------

void LProgressBar::SetTimeRemaining(std::int32_t seconds)
{
    if (mTimeLabel)
    {
        mTimeLabel->SetVisible(true);
        mTimeLabel->SetText(FormatTimeRemaining(seconds));
    }
}

String LProgressBar::FormatTimeRemaining(std::int32_t t) const
{
    const std::int32_t h = t >= 3600 ? t / 3600 : 0;
    const std::int32_t m = t >= 60 ? (t % 3600) / 60 : 0;
    const std::int32_t s = t >= 1 ? (t % 3600) % 60 : 0;
    String text;
    if (h >= 1)
    {
        text += Number(h) + u" " + (h == 1 ? mHourText : mHoursText) + u" ";
        if (m == 0)
        {
            text += String(u"0 ") + mMinutesText + u" ";
        }
    }
    if (m >= 1)
    {
        text += Number(m) + u" " + (m == 1 ? mMinuteText : mMinutesText) + u" ";
    }
    text += Number(s) + u" " + (s == 1 ? mSecondText : mSecondsText) + u" " + mRemainingText;
    return text;
}

} // namespace KR
