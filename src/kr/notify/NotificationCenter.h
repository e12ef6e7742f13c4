#pragma once
// A named distributor with a queue of its own: the meeting point of parts that do not
// know each other. Clients register with the center for a notification; anyone may send
// through it (synchronously) or post into it (from any thread, delivered by the UI
// thread's idle drain).
//
//     RCPtr<LNotificationCenter> app =
//         LNotificationCenterManager::GetInstance()->GetNotificationCenter(kApplicationCenterName);
//     client->RegisterForNotification(app, u"NID_APP_EXIT_REQ");
//     app->PostNotificationByName(u"NID_APP_EXIT_REQ");       // any thread
//
// Centers are made by the center manager (NotificationCenterManager.h), one per name.
// A center's queue holds the center's own distributor part, and its posting receiver
// holds the center: both references are internal. So when the manager lets a center go
// and nothing else holds it, ReleaseInternalReferences asks every client to unregister,
// shuts the queue down, and the center is destroyed.

#include "kr/core/RCPtr.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"
#include "kr/notify/NotificationDistributor.h"
#include "kr/notify/NotificationQueue.h"

namespace KR
{

class LNotificationCenter : public LNotificationDistributor, public LNotificationQueue
{
public:
    explicit LNotificationCenter(const String& name);
    ~LNotificationCenter() override = default;

    const String& GetName() const { return mName; }

    // Removes every client (RemoveAllClients), shuts the queue down; kOk when that
    // leaves the caller's as the only reference.
    Result ReleaseInternalReferences() override;

private:
    const String mName;
};

} // namespace KR
