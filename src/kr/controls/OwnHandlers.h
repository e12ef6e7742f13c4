#pragma once
// What the standard controls share around their own handler tables and clocks.

#include "kr/notify/NotificationHandler.h"
#include "kr/ui/Control.h"
#include "kr/ui/FrameworkApp.h"

namespace KR
{

// A control class's own table is offered a notification before the control's, once the
// control's creator has finished; 0 when the own table does not take it.
template <typename T>
Result OfferToOwnHandlers(const RCPtr<LNotificationHandler<T>>& handlers, const LControl& control,
                          const RCPtr<LNotificationDistributor>& sender,
                          const RCPtr<LNotification>& notification)
{
    return handlers && control.IsCreationFinished() ? handlers->HandleNotification(sender, notification) : 0;
}

// The application's clock, in seconds.
inline double SecondsNow()
{
    return IFrameworkApp::GetInstance().GetSecondsSinceStart();
}

// Idle ticks add up in steps that need not sum exactly to a period.
inline constexpr double kIdleTimeSlack = 1e-9;

} // namespace KR
