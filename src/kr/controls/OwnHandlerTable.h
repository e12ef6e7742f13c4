#pragma once
// A control class with a handler table of its own offers each notification there first,
// once its creation is finished, and to the control's table only when its own takes none.

#include "kr/notify/NotificationHandler.h"
#include "kr/ui/Control.h"

namespace KR
{

template <typename T>
Result ReceiveThroughOwnTable(T& control, const RCPtr<LNotificationHandler<T>>& handler,
                              const RCPtr<LNotificationDistributor>& sender,
                              const RCPtr<LNotification>& notification)
{
    if (handler && control.IsCreationFinished())
    {
        const Result handled = handler->HandleNotification(sender, notification);
        if (handled != 0)
        {
            return handled;
        }
    }
    return control.LControl::Receive(sender, notification);
}

} // namespace KR
