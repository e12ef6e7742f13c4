#include "kr/notify/ApplicationCenter.h"

#include "kr/notify/NotificationCenterManager.h"

namespace KR
{

RCPtr<LNotificationCenter> GetApplicationNotificationCenter()
{
    return LNotificationCenterManager::GetInstance()->GetApplicationCenter();
}

} // namespace KR
