#pragma once
// Events: a signalled/non-signalled flag that threads wait on.

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"

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

    // The event's state lives in its handle, so a const event (held through a
    // ConstRCPtr<LEvent>) is still set and waited on.
    bool Set() const;
    bool Reset() const;

    // 0 when signalled, 258 when the time-out (ms; 0xFFFFFFFF = forever) ran out,
    // 0xFFFFFFFF when the event does not exist.
    std::uint32_t Wait(std::uint32_t timeoutMs) const;

    // Polls without waiting. On an auto-reset event a true answer takes the signal.
    // A failed wait is not a signal.
    bool IsSignaled() const;

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

// A reference-counted event, shared through RCPtr<LEvent> between the thread that
// sets it and the one that waits (the gate of an LEventGatedThreader, the events of
// an EventPool, a job's done event).
class LEvent : public virtual LRefCountedObject, public Event
{
public:
    // A new event, non-signalled; auto-reset unless asked otherwise.
    static RCPtr<LEvent> Create(bool autoReset = true);

protected:
    explicit LEvent(bool autoReset) : Event(autoReset) {}
};

} // namespace KR
