#include "kr/thread/EventPool.h"

#include "kr/thread/EventHandle.h"
#include "kr/thread/ThreadLog.h"

#include <new>

namespace KR
{

EventPool::EventPool(std::uint32_t count)
{
    try
    {
        mEvents.reserve(count);
        mHandles.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i)
        {
            mEvents.push_back(LEvent::Create(true));
            mHandles.push_back(mEvents.back()->GetHandle());
        }
    }
    catch (const std::bad_alloc&)
    {
        mEvents.clear();
        mHandles.clear();
        LogThreadProblem("KR::EventPool: out of memory, the pool has no events");
    }
}

EventPool::~EventPool() = default;

const RCPtr<LEvent>& EventPool::GetEvent(std::uint32_t index) const
{
    static const RCPtr<LEvent> none;
    return index < mEvents.size() ? mEvents[index] : none;
}

std::int32_t EventPool::WaitForAnyEvent(std::uint32_t timeoutMs) const
{
    return EventHandle::WaitForAny(mHandles.data(), mHandles.size(), timeoutMs);
}

} // namespace KR
