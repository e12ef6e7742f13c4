#pragma once
// KR::LProgressBar: a task's progress (the control's value, 0 to 1) as a bar growing from
// the left ("activeOverlay"), the percentage as a whole number ("percentCompleteLabel") and,
// while estimating, the time left in words ("timeRemainingLabel", hidden until the first
// estimate). The words come from the string table ("HOURS_SINGULAR" ... "REMAINING"): the
// control's own, else the framework's. A missing part is skipped. Sends only the base's
// "NID_VALUE_CHANGE"; takes no input and never the focus.
//
// The estimate is the average rate since SetEstimating(true), taken on each rise of the
// value on the application's seconds clock; it ends when the value reaches 1.

#include "kr/core/StringT.h"
#include "kr/notify/NotificationHandler.h"
#include "kr/ui/Control.h"

#include <cstdint>

namespace KR
{

class LProgressBar : public LControl
{
public:
    static constexpr char16_t kClassName[] = u"Framework.ProgressBar";

    LProgressBar(const RCPtr<LControl>& parent, const String& name);
    ~LProgressBar() override;

    // Offers a notification to the bar's own table, then to the control's.
    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;
    // Clears its own table, then the base class's chain and the client's registration.
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;
    Result ReleaseInternalReferences() override;

    void OnValueChanged() override; // 2
    Result Initialize() override;   // 87
    Result PlaceParts() override;   // 90

    // Shows the time label with the text for `seconds` (a negative count reads as 0).
    void SetTimeRemaining(std::int32_t seconds);
    void SetEstimating(bool estimating);
    bool IsEstimating() const { return mEstimating; }
    // "1 Hour 0 Minutes 0 Seconds Remaining" and its kin, in the table's words.
    String FormatTimeRemaining(std::int32_t seconds) const;

private:
    RCPtr<LNotificationHandler<LProgressBar>> mHandler;
    RCPtr<LControl> mBar;
    RCPtr<LControl> mTimeLabel;
    RCPtr<LControl> mPercentLabel;
    String mHourText;
    String mHoursText;
    String mMinuteText;
    String mMinutesText;
    String mSecondText;
    String mSecondsText;
    String mRemainingText;
    double mStartTime = 0.0;
    double mStartValue = 0.0;
    double mLastTime = 0.0;
    double mLastValue = 0.0;
    bool mEstimating = false;
};

} // namespace KR
