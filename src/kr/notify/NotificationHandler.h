#pragma once
// Handler tables: how a client class binds notifications to its own member functions
// instead of testing ids in Receive.
//
//     class LVolumePanel : public KR::LNotificationClient
//     {
//     public:
//         LVolumePanel() : mHandler(KR::LNotificationHandler<LVolumePanel>::Create(this)) {}
//         void Attach(const RCPtr<LNotificationDistributor>& slider)
//         {
//             mHandler->Register(&LVolumePanel::OnSliderChange, slider, u"NID_VALUE_CHANGE");
//         }
//         Result Receive(const RCPtr<LNotificationDistributor>& sender,
//                        const RCPtr<LNotification>& notification) override
//         {
//             return mHandler->HandleNotification(sender, notification);
//         }
//
//     private:
//         Result OnSliderChange(const RCPtr<LNotificationDistributor>& sender,
//                               const RCPtr<LNotification>& notification);
//         RCPtr<KR::LNotificationHandler<LVolumePanel>> mHandler;
//     };
//
// An entry is keyed by (sender, id). HandleNotification calls the entry for exactly
// that sender first, and otherwise a sender-less entry for the id (AddHandler): those
// catch notifications handed on without a sender. A handler returns a result code;
// nonzero means it took the notification, and HandleNotification passes that on (0
// when no entry matches), so a class can offer a notification to its own table first
// and to its base class's only when the first returns 0.
//
// The table holds its owner by plain pointer (the owner holds the table). Lookups may
// run on a sending thread while the owner registers on its own; the table's lock is
// never held while a handler runs.

#include "kr/core/Exception.h"
#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/TypeName.h"
#include "kr/core/Types.h"
#include "kr/notify/Notification.h"
#include "kr/notify/NotificationClient.h"
#include "kr/notify/NotificationDistributor.h"
#include "kr/notify/NotificationID.h"
#include "kr/thread/Mutex.h"

#include <compare>
#include <cstdint>
#include <exception>
#include <map>
#include <string>
#include <type_traits>

namespace KR
{

// The key of a handler entry: the sender's address (0 for none) and the id, ordered
// by sender, then id, both as unsigned numbers.
struct Receivable
{
    std::uintptr_t mSender = 0;
    std::uintptr_t mID = 0;

    Receivable(const LNotificationDistributor* sender, NotificationID id)
        : mSender(reinterpret_cast<std::uintptr_t>(sender)), mID(static_cast<std::uintptr_t>(id))
    {
    }

    friend auto operator<=>(const Receivable&, const Receivable&) = default;
};

template <typename T>
class CAutoNotificationDisabler;

template <typename T>
class LNotificationHandler : public virtual LRefCountedObject
{
public:
    using Handler = Result (T::*)(const RCPtr<LNotificationDistributor>& sender,
                                  const RCPtr<LNotification>& notification);

    explicit LNotificationHandler(T* owner) : mOwner(owner) {}
    static RCPtr<LNotificationHandler> Create(T* owner)
    {
        return RCPtr<LNotificationHandler>(new LNotificationHandler(owner));
    }

    T* GetOwner() const { return mOwner; }

    // Registers the owner with `sender` for `name` (as its RegisterForNotification, with
    // `flags`) and binds `handler` to (sender, id). 0; kInvalidArg for a null sender;
    // kFail when the registration is refused. An existing entry for (sender, id) keeps
    // its handler (the registration's flags are replaced all the same).
    Result Register(Handler handler, const RCPtr<LNotificationDistributor>& sender, NotificationName name,
                    std::uint32_t flags = 0)
    {
        if (!sender)
        {
            return kInvalidArg;
        }
        const NotificationID id = AsClient()->RegisterForNotification(sender, name, flags);
        if (id == 0)
        {
            return kFail;
        }
        Insert(Receivable(sender.Get(), id), handler);
        return kOk;
    }

    // Binds `handler` to `name` for notifications that come without a sender (and as
    // the fallback for any sender without an entry of its own). No distributor is
    // involved. 0, or kFail when the name gives no id.
    Result AddHandler(Handler handler, NotificationName name)
    {
        const NotificationID id = name.Resolve();
        if (id == 0)
        {
            return kFail;
        }
        Insert(Receivable(nullptr, id), handler);
        return kOk;
    }

    // Calls the handler bound to (sender, id), else the one bound to (no sender, id),
    // and returns its result; 0 when there is none.
    Result HandleNotification(const RCPtr<LNotificationDistributor>& sender,
                              const RCPtr<LNotification>& notification)
    {
        if (!notification)
        {
            return 0;
        }
        Handler handler = nullptr;
        {
            const MutexLocker lock(mLock);
            auto found = mHandlers.find(Receivable(sender.Get(), notification->GetID()));
            if (found == mHandlers.end() && sender)
            {
                found = mHandlers.find(Receivable(nullptr, notification->GetID()));
            }
            if (found == mHandlers.end())
            {
                return 0;
            }
            handler = found->second;
        }
        return (mOwner->*handler)(sender, notification);
    }

    // Removes the entry for (sender, name); true when there was one. The registration
    // at the distributor stays: callers pair this with UnregisterForNotification.
    bool Unregister(const RCPtr<LNotificationDistributor>& sender, NotificationName name)
    {
        const NotificationID id = name.Resolve();
        const MutexLocker lock(mLock);
        return mHandlers.erase(Receivable(sender.Get(), id)) != 0;
    }

    // The handler bound to (sender, name) and the flags of the owner's registration
    // there: the result of the distributor's GetClientFlags, or kFail without entry.
    Result GetRegistration(const RCPtr<LNotificationDistributor>& sender, NotificationName name,
                           Handler& handler, std::uint32_t& flags) const
    {
        const NotificationID id = name.Resolve();
        {
            const MutexLocker lock(mLock);
            const auto found = mHandlers.find(Receivable(sender.Get(), id));
            if (found == mHandlers.end())
            {
                return kFail;
            }
            handler = found->second;
        }
        return sender ? sender->GetClientFlags(AsClient(), id, flags) : kFail;
    }

private:
    friend class CAutoNotificationDisabler<T>;

    LNotificationClient* AsClient() const
    {
        static_assert(std::is_base_of_v<LNotificationClient, T>,
                      "a handler table's owner is a notification client");
        return mOwner;
    }

    // The first handler bound to a key stays.
    void Insert(const Receivable& key, Handler handler)
    {
        const MutexLocker lock(mLock);
        mHandlers.emplace(key, handler);
    }

    T* const mOwner;
    mutable Mutex mLock;
    std::map<Receivable, Handler> mHandlers;
};

namespace Detail
{
// "Failed Result : KRRESULT = <code> : <disabler class>::[~]CAutoNotificationDisabler :
// krframework\notification\NotificationHandler : Line <line>"
[[noreturn]] void ThrowNotificationDisablerFailed(Result code, const std::string& disablerClass,
                                                  bool restoring, int line);
} // namespace Detail

// Takes one handler registration out for a scope and puts it back afterwards, so that
// a control can change one of its own children in code without handling the change
// notification that the child sends:
//
//     {
//         KR::CAutoNotificationDisabler<LScrollView> quiet(mBarHandler, bar, u"NID_VALUE_CHANGE");
//         bar->SetValue(offset);      // no OnBarChange for this one
//     }
//
// The constructor removes both the table entry and the owner's registration with the
// sender (through the owner's UnregisterForNotification); the destructor registers the
// same handler again with the same flags. A registration that cannot be found or
// removed throws a "Failed Result" FailedResultException naming the constructor, and
// one that cannot be put back throws naming the destructor - unless the scope is
// being left by another exception, which is then left to travel.
template <typename T>
class CAutoNotificationDisabler
{
public:
    using Handler = typename LNotificationHandler<T>::Handler;

    CAutoNotificationDisabler(const RCPtr<LNotificationHandler<T>>& handler,
                              const RCPtr<LNotificationDistributor>& sender, NotificationName name)
        : mHandler(handler), mSender(sender), mID(name.Resolve()), mUncaught(std::uncaught_exceptions())
    {
        const Result found =
            mHandler ? mHandler->GetRegistration(mSender, mID, mMember, mFlags) : kInvalidArg;
        if (Failed(found))
        {
            Fail(found, false, kFindLine);
        }
        mHandler->Unregister(mSender, mID);
        const Result removed = mHandler->AsClient()->UnregisterForNotification(mSender, mID);
        if (Failed(removed))
        {
            // Nothing was taken out after all: the entry goes back as it was.
            mHandler->Insert(Receivable(mSender.Get(), mID), mMember);
            Fail(removed, false, kRemoveLine);
        }
    }

    ~CAutoNotificationDisabler() noexcept(false)
    {
        const Result restored = mHandler->Register(mMember, mSender, mID, mFlags);
        if (Failed(restored) && std::uncaught_exceptions() <= mUncaught)
        {
            Fail(restored, true, kRestoreLine);
        }
    }

    CAutoNotificationDisabler(const CAutoNotificationDisabler&) = delete;
    CAutoNotificationDisabler& operator=(const CAutoNotificationDisabler&) = delete;

private:
    static constexpr int kFindLine = 247;
    static constexpr int kRemoveLine = 248;
    static constexpr int kRestoreLine = 253;

    [[noreturn]] static void Fail(Result code, bool restoring, int line)
    {
        Detail::ThrowNotificationDisablerFailed(code, ClassName<CAutoNotificationDisabler>(), restoring,
                                                line);
    }

    RCPtr<LNotificationHandler<T>> mHandler;
    RCPtr<LNotificationDistributor> mSender;
    NotificationID mID;
    int mUncaught;
    Handler mMember = nullptr;
    std::uint32_t mFlags = 0;
};

} // namespace KR
