#pragma once
// The receiving side of a notification: whatever a distributor can hold a registration
// of. Two kinds exist: LNotificationClient (NotificationClient.h), the base of every
// object that listens, and the posting receiver of a queue (NotificationQueue.h), which
// turns each send it gets into a posting.

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/Types.h"
#include "kr/notify/Notification.h"
#include "kr/notify/NotificationID.h"

namespace KR
{

class LNotificationDistributor;

class LNotificationReceiver : public virtual LRefCountedObject
{
public:
    // Called by `sender` on the sending thread, synchronously, for each notification
    // this receiver is registered for. `sender` is null when a notification is handed
    // on by hand rather than sent. The distributor does not look at the result; handler
    // tables report through it whether a handler took the notification (0: none did).
    // A receiver may register or unregister anything during the call, itself included.
    virtual Result Receive(const RCPtr<LNotificationDistributor>& sender,
                           const RCPtr<LNotification>& notification) = 0;

    // Asked by a distributor that removes all its clients (RemoveAllClients) to take
    // this receiver's registration for `name` out of `sender`.
    virtual Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                             NotificationName name) = 0;
};

} // namespace KR
