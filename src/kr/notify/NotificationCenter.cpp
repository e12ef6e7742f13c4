#include "kr/notify/NotificationCenter.h"

namespace KR
{

LNotificationCenter::LNotificationCenter(const String& name) : mName(name)
{
    AttachOwnDistributor(this);
}

Result LNotificationCenter::ReleaseInternalReferences()
{
    RemoveAllClients();
    Shutdown();
    return LRefCountedObject::ReleaseInternalReferences();
}

} // namespace KR
