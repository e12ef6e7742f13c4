#pragma once
// Events: a signalled/non-signalled flag that threads wait on.

#include <cstdint>

namespace KR
{

class EventHandle;

// An owned event, auto-reset (one set releases one waiter) or manual-reset (set stays
// set for every waiter until reset). Starts non-signalled. Nothing here throws: when
// the event cannot be created it is reported once, set and reset return false and
// waits return the failed result 0xFFFFFFFF.
class Event
{
public:
    explicit Event(bool autoReset);
    virtual ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    bool Set();
    bool Reset();

    // 0 when signalled, 258 when the time-out (ms; 0xFFFFFFFF = forever) ran out,
    // 0xFFFFFFFF when the event does not exist.
    std::uint32_t Wait(std::uint32_t timeoutMs);

    // Polls without waiting. On an auto-reset event a true answer takes the signal.
    // A failed wait is not a signal.
    bool IsSignaled();

    EventHandle* GetHandle() const { return mHandle; }

    // Threads blocked on this event right now (lets a caller, a test above all, know
    // that a waiter has really gone to sleep).
    std::int32_t GetWaiterCount() const;

private:
    EventHandle* mHandle;
};

// A manual-reset event used as a gate: red (closed) when made; green lets every
// waiter through until it turns red again.
class TrafficLight : public Event
{
public:
    TrafficLight() : Event(false) {}

    void SetGreen() { Set(); }
    void SetRed() { Reset(); }
};

} // namespace KR
