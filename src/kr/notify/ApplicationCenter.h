#pragma once
// The application-wide notification center, the one named "application": what other
// threads post for the user-interface thread goes into its queue, which the application
// drains at idle. It lives here, below the application object, so that the device engine
// and its tests reach it without linking the user interface.
//
//     KR::GetApplicationNotificationCenter()->PostNotificationByName(u"NID_APP_EXIT_REQ");

#include "kr/core/RCPtr.h"
#include "kr/notify/NotificationCenter.h"

namespace KR
{

// Made on first use through the process-wide center manager. After the manager has been
// released (at shut-down) a new one, with a new center, is made on the next call. Safe
// from any thread.
RCPtr<LNotificationCenter> GetApplicationNotificationCenter();

} // namespace KR
