#pragma once
// The base of every object that listens to notifications: the application object, the
// MIDI manager, the engine, every control, panel and dialog. A client registers with
// the distributors it listens to, remembers them, and leaves them all when it goes.
//
//     class LMeter : public KR::LNotificationClient
//     {
//         Result Receive(const RCPtr<LNotificationDistributor>& sender,
//                        const RCPtr<LNotification>& notification) override;
//     };
//     meter->RegisterForNotification(midiComm, u"NID_MIDI_DATA_CAPTURED");
//
// Most classes route Receive through a handler table (NotificationHandler.h) instead of
// testing ids by hand.
//
// Lifetime: each registration holds a reference to the client, counted as one of the
// client's internal references. When nothing but its registrations holds a client any
// more, releasing the last other reference calls ReleaseInternalReferences, which
// unregisters it everywhere; the registrations' references go, and the client is
// destroyed. So a client never has to be unregistered by hand before it is dropped.
// Registering from a constructor is allowed: the registration then takes the first
// reference.
//
// Threads: a client's registrations are made and removed on one thread at a time (its
// owner's). Its Receive runs on whichever thread sends.

#include "kr/core/Array.h"
#include "kr/core/RCPtr.h"
#include "kr/core/Types.h"
#include "kr/notify/NotificationDistributor.h"
#include "kr/notify/NotificationID.h"
#include "kr/notify/NotificationReceiver.h"

#include <cstdint>

namespace KR
{

class LNotificationClient : public LNotificationReceiver
{
public:
    LNotificationClient() = default;
    ~LNotificationClient() override = default;
    LNotificationClient(const LNotificationClient&) = delete;
    LNotificationClient& operator=(const LNotificationClient&) = delete;

    // Registers this client with `sender` for `name` (flags: see
    // LNotificationDistributor::kOnlyLastPosted). Returns the id, also when the client
    // was registered already (then only its flags are replaced); 0 for a null sender or
    // a name that gives no id.
    NotificationID RegisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                           NotificationName name, std::uint32_t flags = 0);

    // Removes this client's registration for `name` at `sender`: 0, 1 when there is
    // none (at once, without looking at the arguments, when the client has no
    // registrations at all), kInvalidArg for a null sender or a name without id.
    // Overrides that keep their own tables (handler entries) clear them, then call this.
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;

    // Removes every registration of this client; returns how many.
    std::int32_t UnregisterForAllNotifications();

    // Does nothing; listening classes override it.
    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;

    // Unregisters everywhere; kOk when that leaves the caller's as the only reference.
    Result ReleaseInternalReferences() override;

    std::int32_t GetRegistrationCount() const { return mRegistrationCount; }

private:
    std::int32_t mRegistrationCount = 0;
    // The distributors holding at least one registration of this client, in order of
    // first registration. Plain pointers: each registration keeps its distributor alive.
    Array<LNotificationDistributor*> mDistributors;
};

} // namespace KR
