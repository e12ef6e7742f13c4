#pragma once
// A fixed set of auto-reset events with one wait on all of them.

#include "kr/core/RCPtr.h"
#include "kr/thread/Event.h"

#include <cstdint>
#include <vector>

namespace KR
{

class EventHandle;

class EventPool
{
public:
    // Makes `count` auto-reset events, non-signalled. When memory runs out the pool
    // has no events (reported), and every wait on it fails.
    explicit EventPool(std::uint32_t count);
    virtual ~EventPool();
    EventPool(const EventPool&) = delete;
    EventPool& operator=(const EventPool&) = delete;

    std::uint32_t GetCount() const { return static_cast<std::uint32_t>(mEvents.size()); }

    // The event at index; a null pointer for an index not below the count.
    const RCPtr<LEvent>& GetEvent(std::uint32_t index) const;

    // Waits until any event is set and returns its index, the lowest when several are
    // set (only that one's signal is taken); -1 when the time-out (ms, 0xFFFFFFFF =
    // forever) ran out or the pool has no events.
    std::int32_t WaitForAnyEvent(std::uint32_t timeoutMs) const;

private:
    std::vector<RCPtr<LEvent>> mEvents;
    std::vector<EventHandle*> mHandles;
};

} // namespace KR
