#pragma once
// KR::LFrameworkApp: the framework's application object, one per process. What
// stands here so far is the part that the engine, the MIDI manager and the preset
// manager reach without an application instance: the application-wide notification
// center. The start-up steps, the root windows, idle processing and the rest of the
// shell grow on this class.
//
//     const KR::RCPtr<KR::LNotificationCenter> app = KR::LFrameworkApp::GetNotificationCenter();
//     app->PostNotificationByName(u"NID_DEVICE_CONNECTION_STATE_CHANGE", state);   // any thread
//
// The UI thread drains the center's queue at idle.

#include "kr/core/RCPtr.h"
#include "kr/notify/NotificationCenter.h"

namespace KR
{

class LFrameworkApp
{
public:
    // The center named "application", made on first use through the process-wide
    // center manager. After the manager has been released (at shut-down) a new one,
    // with a new center, is made on the next call. Safe from any thread.
    static RCPtr<LNotificationCenter> GetNotificationCenter();
};

} // namespace KR
