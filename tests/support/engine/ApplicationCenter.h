#pragma once
// The application center as the engine's notifications reach it: a log of what arrives
// and the draining of its queue (the UI thread's idle step, played by the test thread).

#include "engine/RootModuleEngine.h"
#include "kr/notify/ApplicationCenter.h"
#include "kr/notify/NotificationCenterManager.h"

#include <mutex>
#include <utility>
#include <vector>

namespace support
{

// Records each notification it receives, in order, with its payload.
class NotificationLog final : public KR::LNotificationClient
{
public:
    static KR::RCPtr<NotificationLog> Create() { return KR::RCPtr<NotificationLog>(new NotificationLog()); }

    KR::Result Receive(const KR::RCPtr<KR::LNotificationDistributor>& /*sender*/,
                       const KR::RCPtr<KR::LNotification>& notification) override
    {
        std::lock_guard lock(mMutex);
        mEntries.emplace_back(notification->GetID(), notification->GetData());
        return 1;
    }

    // The payloads of the notifications named `name`, as T (null where not a T).
    template <typename T>
    std::vector<KR::RCPtr<T>> Payloads(const char16_t* name)
    {
        const KR::NotificationID id = KR::GetNotificationID(name);
        std::lock_guard lock(mMutex);
        std::vector<KR::RCPtr<T>> payloads;
        for (const auto& [entryId, data] : mEntries)
        {
            if (entryId == id)
            {
                payloads.push_back(KR::RCPtr<T>(data));
            }
        }
        return payloads;
    }

    std::size_t Count() const
    {
        std::lock_guard lock(mMutex);
        return mEntries.size();
    }
    void Clear()
    {
        std::lock_guard lock(mMutex);
        mEntries.clear();
    }

private:
    NotificationLog() = default;

    mutable std::mutex mMutex;
    std::vector<std::pair<KR::NotificationID, KR::RCPtr<KR::LRefCountedObject>>> mEntries;
};

// A fresh application center for each test, with a log registered for the engine's
// notifications; Drain delivers what was posted, as the UI thread's idle step does.
class ApplicationCenter
{
public:
    ApplicationCenter()
    {
        KR::LNotificationCenterManager::ReleaseInstance();
        center = KR::GetApplicationNotificationCenter();
        log = NotificationLog::Create();
        for (const char16_t* name :
             {kNidParamModuleStateChange, kNidDeviceConnectionStateChange, kNidRemoteDeviceListChange})
        {
            log->RegisterForNotification(center, name);
        }
    }
    ~ApplicationCenter()
    {
        log->UnregisterForAllNotifications();
        center = nullptr;
        KR::LNotificationCenterManager::ReleaseInstance();
    }
    ApplicationCenter(const ApplicationCenter&) = delete;
    ApplicationCenter& operator=(const ApplicationCenter&) = delete;

    std::uint32_t Queued() const { return center->GetQueuedCount(); }
    void Drain() { center->ProcessNotifications(false); }

    KR::RCPtr<KR::LNotificationCenter> center;
    KR::RCPtr<NotificationLog> log;
};

} // namespace support
