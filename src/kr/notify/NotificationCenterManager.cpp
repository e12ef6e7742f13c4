#include "kr/notify/NotificationCenterManager.h"

#include <utility>

namespace KR
{
namespace
{

struct ManagerInstance
{
    Mutex lock;
    RCPtr<LNotificationCenterManager> manager;
};

ManagerInstance& GetManagerInstance()
{
    // Never destroyed: centers that nobody released stay until the process ends
    // rather than being torn down in an unknown order among the static objects.
    static ManagerInstance* const instance = new ManagerInstance;
    return *instance;
}

} // namespace

RCPtr<LNotificationCenterManager> LNotificationCenterManager::GetInstance()
{
    ManagerInstance& instance = GetManagerInstance();
    const MutexLocker lock(instance.lock);
    if (!instance.manager)
    {
        instance.manager = new LNotificationCenterManager;
    }
    return instance.manager;
}

void LNotificationCenterManager::ReleaseInstance()
{
    RCPtr<LNotificationCenterManager> released;
    {
        ManagerInstance& instance = GetManagerInstance();
        const MutexLocker lock(instance.lock);
        released = std::move(instance.manager);
    }
    // The centers are torn down here, outside the lock.
}

RCPtr<LNotificationCenter> LNotificationCenterManager::GetNotificationCenter(const String& name)
{
    if (name.IsEmpty())
    {
        return nullptr;
    }
    const MutexLocker lock(mLock);
    RCPtr<LNotificationCenter> center = FindCenterLocked(name);
    if (!center)
    {
        center = new LNotificationCenter(name);
        mCenters.AddItem(center);
    }
    return center;
}

RCPtr<LNotificationCenter> LNotificationCenterManager::GetApplicationCenter()
{
    {
        const MutexLocker lock(mLock);
        if (mApplicationCenter)
        {
            return mApplicationCenter;
        }
    }
    // Centers are never taken out of the list, so the one found or made stays the one.
    RCPtr<LNotificationCenter> center = GetNotificationCenter(String(kApplicationCenterName));
    const MutexLocker lock(mLock);
    mApplicationCenter = center;
    return center;
}

RCPtr<LNotificationCenter> LNotificationCenterManager::FindCenter(const String& name) const
{
    const MutexLocker lock(mLock);
    return FindCenterLocked(name);
}

RCPtr<LNotificationCenter> LNotificationCenterManager::FindCenterLocked(const String& name) const
{
    for (std::uint32_t i = 0; i < mCenters.GetCount(); ++i)
    {
        if (mCenters[i]->GetName() == name)
        {
            return mCenters[i];
        }
    }
    return nullptr;
}

bool LNotificationCenterManager::ProcessNotifications(bool sendIdle)
{
    std::uint32_t count = 0;
    {
        const MutexLocker lock(mLock);
        count = mCenters.GetCount();
    }
    bool remaining = false;
    // Centers are only ever appended, so their indices hold while a receiver asks for a
    // new one; each is drained outside the lock.
    for (std::uint32_t i = count; i-- > 0;)
    {
        RCPtr<LNotificationCenter> center;
        {
            const MutexLocker lock(mLock);
            center = mCenters[i];
        }
        remaining = center->ProcessNotifications(sendIdle) || remaining;
    }
    return remaining;
}

} // namespace KR
