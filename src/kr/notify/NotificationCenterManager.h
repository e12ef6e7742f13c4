#pragma once
// The process-wide directory of notification centers: finds or makes a center by name
// and drains every center's queue when the application is idle.
//
//     // anywhere (the engine, the MIDI manager, a dialog):
//     RCPtr<LNotificationCenter> app =
//         LNotificationCenterManager::GetInstance()->GetNotificationCenter(kApplicationCenterName);
//
//     // the application's idle step, on the UI thread:
//     bool more = LNotificationCenterManager::GetInstance()->ProcessNotifications(firstPass);
//
// The manager is made on first use and lives until ReleaseInstance (the application
// object calls it when it is destroyed, then switches notification pooling off). Its
// centers live as long as it does, unless something else still holds them.
//
// Threads: GetInstance, GetNotificationCenter and FindCenter are safe from any thread;
// ProcessNotifications belongs to the UI thread.

#include "kr/core/RCPtr.h"
#include "kr/core/RCPtrArray.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/notify/NotificationCenter.h"
#include "kr/thread/Mutex.h"

namespace KR
{

// The name of the application-wide center, through which the application shell, the
// engine and the MIDI manager talk and into which hot keys are posted.
inline constexpr const char16_t* kApplicationCenterName = u"application";

class LNotificationCenterManager : public virtual LRefCountedObject
{
public:
    // The manager, made on first use (and again after ReleaseInstance).
    static RCPtr<LNotificationCenterManager> GetInstance();

    // Lets go of the process-wide manager; the next GetInstance makes a new one.
    static void ReleaseInstance();

    // The center named `name`, made on first request; null for an empty name.
    RCPtr<LNotificationCenter> GetNotificationCenter(const String& name);

    // The center named kApplicationCenterName, made on first request and kept at hand
    // after: every control asks for it when it is made.
    RCPtr<LNotificationCenter> GetApplicationCenter();

    // The center named `name` (equal code unit for code unit), or null.
    RCPtr<LNotificationCenter> FindCenter(const String& name) const;

    // Drains every center, the newest first (LNotificationQueue::ProcessNotifications
    // with `sendIdle`); true when any of them still has notifications queued.
    bool ProcessNotifications(bool sendIdle);

private:
    RCPtr<LNotificationCenter> FindCenterLocked(const String& name) const;

    mutable Mutex mLock;
    RCPtrArray<LNotificationCenter, 4, 4> mCenters;
    // One of mCenters once asked for.
    RCPtr<LNotificationCenter> mApplicationCenter;
};

} // namespace KR
