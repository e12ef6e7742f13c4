#include "kr/ui/GlobalHotKeyManager.h"

#include "kr/notify/Notification.h"
#include "kr/notify/NotificationDistributor.h"

namespace KR
{

RCPtr<LGlobalHotKeyManager> LGlobalHotKeyManager::Create(const RCPtr<LNotificationReceiver>& target)
{
    return RCPtr<LGlobalHotKeyManager>(new LGlobalHotKeyManager(target));
}

Result LGlobalHotKeyManager::HandleKey(const KeyCode& key)
{
    const String name = mHotKeys.FindNotification(key);
    if (name.IsEmpty())
    {
        return kNothingDone;
    }
    const RCPtr<LNotification> notification = LNotification::Create(name);
    if (mTarget && notification)
    {
        mTarget->Receive(nullptr, notification);
    }
    return kOk;
}

} // namespace KR
