#pragma once
// Building blocks of the notification tests: a client that records what reaches it,
// payloads that report their destruction, and a scope that switches pooling.

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/notify/Notification.h"
#include "kr/notify/NotificationClient.h"
#include "kr/notify/NotificationDistributor.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace KR::Testing
{

// Sets a flag when destroyed; the flag outlives the object.
class Tracked
{
public:
    Tracked() : mDestroyed(std::make_shared<bool>(false)) {}
    virtual ~Tracked() { *mDestroyed = true; }
    std::shared_ptr<bool> DestroyedFlag() const { return mDestroyed; }

private:
    std::shared_ptr<bool> mDestroyed;
};

class Payload : public virtual LRefCountedObject, public Tracked
{
public:
    explicit Payload(int value = 0) : value(value) {}
    const int value;
};

// Appends "<name>" (or what `onReceive` decides) to a shared log for every notification.
class RecordingClient : public LNotificationClient, public Tracked
{
public:
    using Log = std::vector<std::string>;

    RecordingClient(std::string name, std::shared_ptr<Log> log) : mName(std::move(name)), mLog(std::move(log))
    {
    }

    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override
    {
        mLog->push_back(mName);
        received.push_back(notification);
        senders.push_back(sender.Get());
        if (onReceive)
        {
            onReceive(notification);
        }
        return 1;
    }

    std::function<void(const RCPtr<LNotification>&)> onReceive;
    std::vector<RCPtr<LNotification>> received;
    std::vector<const LNotificationDistributor*> senders;

private:
    std::string mName;
    std::shared_ptr<Log> mLog;
};

class TrackedDistributor : public LNotificationDistributor, public Tracked
{
};

inline std::shared_ptr<RecordingClient::Log> NewLog()
{
    return std::make_shared<RecordingClient::Log>();
}

// Switches notification pooling for one test and off again afterwards (off is the
// state every test starts from).
class PoolingScope
{
public:
    explicit PoolingScope(bool enabled) { LNotification::SetPoolingEnabled(enabled); }
    ~PoolingScope() { LNotification::SetPoolingEnabled(false); }
    PoolingScope(const PoolingScope&) = delete;
    PoolingScope& operator=(const PoolingScope&) = delete;
};

} // namespace KR::Testing
