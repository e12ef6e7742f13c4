#pragma once
// The state behind every event of the framework (Event, TrafficLight, LEvent, the
// events of an EventPool): one implementation of set, reset and the two waits.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>

namespace KR
{

// Behaves like a Win32 event object. In particular, setting an auto-reset event that
// a thread is blocked on releases that thread at once and leaves the event
// non-signalled, so two sets in quick succession release two blocked waiters (or one
// waiter and a signal that stays), never just one.
class EventHandle
{
public:
    explicit EventHandle(bool autoReset) : mAutoReset(autoReset) {}
    EventHandle(const EventHandle&) = delete;
    EventHandle& operator=(const EventHandle&) = delete;

    void Set();
    void Reset();

    // 0 when signalled, 258 when the time-out (in ms, 0xFFFFFFFF = forever) ran out.
    std::uint32_t Wait(std::uint32_t timeoutMs);

    // Waits until any of the events is signalled; returns the lowest signalled index
    // (consuming that event's signal when it is auto-reset), or -1 when the time-out
    // ran out, the list is empty or holds a null handle.
    static std::int32_t WaitForAny(EventHandle* const* handles, std::size_t count, std::uint32_t timeoutMs);

    // Threads blocked in a wait on this event right now.
    std::int32_t GetWaiterCount();

private:
    struct Watcher;
    struct WatchLink;
    class LockAll;

    // Under mMutex: takes the signal when there is one.
    bool TryConsume();

    std::mutex mMutex;
    std::condition_variable mWakeSingle;
    const bool mAutoReset;
    bool mSignaled = false;
    // Auto-reset only: single waiters blocked now, and how many of them have been
    // handed a signal they have not yet picked up.
    std::int32_t mBlocked = 0;
    std::int32_t mHandedOver = 0;
    // Multi-object waits registered on this event.
    WatchLink* mWatchers = nullptr;
};

} // namespace KR
