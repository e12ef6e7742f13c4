#include "kr/thread/EventHandle.h"

#include "kr/core/Types.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <new>

namespace KR
{

namespace
{

using Clock = std::chrono::steady_clock;

Clock::time_point DeadlineAfter(std::uint32_t timeoutMs)
{
    return Clock::now() + std::chrono::milliseconds(timeoutMs);
}

} // namespace

// One thread inside WaitForAny. Set hands an auto-reset signal over by writing its
// index here; a manual-reset event only pokes, and the waiter looks again.
struct EventHandle::Watcher
{
    std::mutex mutex;
    std::condition_variable wake;
    std::int32_t handedIndex = -1;
    bool poked = false;
};

struct EventHandle::WatchLink
{
    Watcher* watcher = nullptr;
    std::int32_t index = 0;
    WatchLink* next = nullptr;
};

// Holds the locks of several events at once, each distinct lock once, taken in
// address order so that two multi-object waits never deadlock each other.
class EventHandle::LockAll
{
public:
    LockAll(std::mutex** sorted, std::size_t count) : mLocks(sorted), mCount(count)
    {
        for (std::size_t i = 0; i < mCount; ++i)
        {
            mLocks[i]->lock();
        }
    }
    ~LockAll()
    {
        for (std::size_t i = mCount; i > 0; --i)
        {
            mLocks[i - 1]->unlock();
        }
    }
    LockAll(const LockAll&) = delete;
    LockAll& operator=(const LockAll&) = delete;

private:
    std::mutex** mLocks;
    std::size_t mCount;
};

bool EventHandle::TryConsume()
{
    if (!mSignaled)
    {
        return false;
    }
    if (mAutoReset)
    {
        mSignaled = false;
    }
    return true;
}

void EventHandle::Set()
{
    std::lock_guard<std::mutex> lock(mMutex);
    if (!mAutoReset)
    {
        mSignaled = true;
        mWakeSingle.notify_all();
        for (WatchLink* link = mWatchers; link; link = link->next)
        {
            std::lock_guard<std::mutex> watcherLock(link->watcher->mutex);
            link->watcher->poked = true;
            link->watcher->wake.notify_one();
        }
        return;
    }
    if (mBlocked > mHandedOver)
    {
        ++mHandedOver;
        mWakeSingle.notify_one();
        return;
    }
    for (WatchLink* link = mWatchers; link; link = link->next)
    {
        std::lock_guard<std::mutex> watcherLock(link->watcher->mutex);
        if (link->watcher->handedIndex < 0)
        {
            link->watcher->handedIndex = link->index;
            link->watcher->wake.notify_one();
            return;
        }
    }
    mSignaled = true;
}

void EventHandle::Reset()
{
    std::lock_guard<std::mutex> lock(mMutex);
    mSignaled = false;
}

std::uint32_t EventHandle::Wait(std::uint32_t timeoutMs)
{
    std::unique_lock<std::mutex> lock(mMutex);
    if (TryConsume())
    {
        return kWaitObject0;
    }
    if (timeoutMs == 0)
    {
        return kWaitTimeout;
    }
    const auto ready = [this] { return mAutoReset ? mHandedOver > 0 : mSignaled; };
    ++mBlocked;
    bool signalled = true;
    if (timeoutMs == kInfinite)
    {
        mWakeSingle.wait(lock, ready);
    }
    else
    {
        signalled = mWakeSingle.wait_until(lock, DeadlineAfter(timeoutMs), ready);
    }
    --mBlocked;
    if (!signalled)
    {
        return kWaitTimeout;
    }
    if (mAutoReset)
    {
        --mHandedOver;
    }
    return kWaitObject0;
}

std::int32_t EventHandle::GetWaiterCount()
{
    std::lock_guard<std::mutex> lock(mMutex);
    std::int32_t count = mBlocked;
    for (WatchLink* link = mWatchers; link; link = link->next)
    {
        ++count;
    }
    return count;
}

std::int32_t EventHandle::WaitForAny(EventHandle* const* handles, std::size_t count, std::uint32_t timeoutMs)
{
    if (count == 0 || !handles || std::find(handles, handles + count, nullptr) != handles + count)
    {
        return -1;
    }
    std::unique_ptr<WatchLink[]> links(new (std::nothrow) WatchLink[count]);
    std::unique_ptr<std::mutex*[]> locks(new (std::nothrow) std::mutex*[count]);
    if (!links || !locks)
    {
        return -1;
    }
    for (std::size_t i = 0; i < count; ++i)
    {
        locks[i] = &handles[i]->mMutex;
    }
    std::sort(locks.get(), locks.get() + count);
    const std::size_t lockCount =
        static_cast<std::size_t>(std::unique(locks.get(), locks.get() + count) - locks.get());

    Watcher watcher;
    const auto deadline = DeadlineAfter(timeoutMs == kInfinite ? 0 : timeoutMs);
    bool registered = false;
    for (;;)
    {
        {
            LockAll all(locks.get(), lockCount);
            if (registered)
            {
                for (std::size_t i = 0; i < count; ++i)
                {
                    WatchLink** slot = &handles[i]->mWatchers;
                    while (*slot != &links[i])
                    {
                        slot = &(*slot)->next;
                    }
                    *slot = links[i].next;
                }
                registered = false;
            }
            {
                // A hand-over was decided before anything we could find now.
                std::lock_guard<std::mutex> watcherLock(watcher.mutex);
                if (watcher.handedIndex >= 0)
                {
                    return watcher.handedIndex;
                }
                watcher.poked = false;
            }
            for (std::size_t i = 0; i < count; ++i)
            {
                if (handles[i]->TryConsume())
                {
                    return static_cast<std::int32_t>(i);
                }
            }
            if (timeoutMs == 0 || (timeoutMs != kInfinite && Clock::now() >= deadline))
            {
                return -1;
            }
            for (std::size_t i = 0; i < count; ++i)
            {
                links[i].watcher = &watcher;
                links[i].index = static_cast<std::int32_t>(i);
                links[i].next = handles[i]->mWatchers;
                handles[i]->mWatchers = &links[i];
            }
            registered = true;
        }
        std::unique_lock<std::mutex> watcherLock(watcher.mutex);
        const auto woken = [&watcher] { return watcher.handedIndex >= 0 || watcher.poked; };
        if (timeoutMs == kInfinite)
        {
            watcher.wake.wait(watcherLock, woken);
        }
        else
        {
            watcher.wake.wait_until(watcherLock, deadline, woken);
        }
    }
}

} // namespace KR
