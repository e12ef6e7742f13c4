#include "kr/thread/Event.h"

#include "kr/core/Types.h"
#include "kr/thread/EventHandle.h"
#include "kr/thread/ThreadLog.h"

#include <new>

namespace KR
{

Event::Event(bool autoReset) : mHandle(new (std::nothrow) EventHandle(autoReset))
{
    if (!mHandle)
    {
        LogThreadProblem("KR::Event: out of memory, the event could not be created");
    }
}

Event::~Event()
{
    delete mHandle;
}

bool Event::Set() const
{
    if (!mHandle)
    {
        return false;
    }
    mHandle->Set();
    return true;
}

bool Event::Reset() const
{
    if (!mHandle)
    {
        return false;
    }
    mHandle->Reset();
    return true;
}

std::uint32_t Event::Wait(std::uint32_t timeoutMs) const
{
    return mHandle ? mHandle->Wait(timeoutMs) : kWaitFailed;
}

bool Event::IsSignaled() const
{
    return Wait(0) == kWaitObject0;
}

std::int32_t Event::GetWaiterCount() const
{
    return mHandle ? mHandle->GetWaiterCount() : 0;
}

RCPtr<LEvent> LEvent::Create(bool autoReset)
{
    return RCPtr<LEvent>(new LEvent(autoReset));
}

} // namespace KR
