#include "kr/app/FrameworkApp.h"

#include "kr/notify/NotificationCenterManager.h"

namespace KR
{

RCPtr<LNotificationCenter> LFrameworkApp::GetNotificationCenter()
{
    return LNotificationCenterManager::GetInstance()->GetNotificationCenter(kApplicationCenterName);
}

} // namespace KR
