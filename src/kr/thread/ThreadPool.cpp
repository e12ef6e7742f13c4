#include "kr/thread/ThreadPool.h"

#include "kr/thread/EventHandle.h"
#include "kr/thread/ThreadLog.h"

#include <string>
#include <utility>

namespace KR
{

namespace
{
constexpr char16_t kQueueThreaderName[] = u"LThreadPool::mQueueThreader";
constexpr char kPoolName[] = "KR::LThreadPool";
} // namespace

// The queue threader's worker. It refers to the pool without holding a reference:
// the pool joins the queue threader before it goes, and a pool holding a reference
// to itself could end up destroyed on its own queue thread.
class LThreadPool::QueueDispatcher : public LThreadWorker
{
public:
    explicit QueueDispatcher(LThreadPool& pool) : mPool(pool) {}

    Result DoWork(RCPtr<LRefCountedObject>&) override { return mPool.DispatchQueue(); }

private:
    LThreadPool& mPool;
};

RCPtr<LThreadPool::LWorkerParams> LThreadPool::LWorkerParams::Create(RCPtr<LThreadWorker> worker,
                                                                     RCPtr<LRefCountedObject> param,
                                                                     std::int32_t priority)
{
    return RCPtr<LWorkerParams>(new LWorkerParams(std::move(worker), std::move(param), priority));
}

LThreadPool::LWorkerParams::LWorkerParams(RCPtr<LThreadWorker> worker, RCPtr<LRefCountedObject> param,
                                          std::int32_t priority)
    : mWorker(std::move(worker)), mParam(std::move(param)), mPriority(priority)
{
}

RCPtr<LThreadPool> LThreadPool::Create(std::int32_t threadCount, std::int32_t queueThreaderPriority)
{
    return RCPtr<LThreadPool>(new LThreadPool(threadCount, queueThreaderPriority));
}

LThreadPool::LThreadPool(std::int32_t threadCount, std::int32_t queueThreaderPriority)
    : mDoneEvents(threadCount > 0 ? static_cast<std::uint32_t>(threadCount) : 0),
      mQueueThreaderPriority(queueThreaderPriority)
{
    const std::uint32_t count = mDoneEvents.GetCount();
    if (threadCount > 0 && count != static_cast<std::uint32_t>(threadCount))
    {
        LogThreadProblem(std::string(kPoolName) +
                         ": out of memory, the pool has no threads and drops every job");
    }
    mThreaders.reset(new RetriggerableThreader[count]);
    mQueueIdle = LEvent::Create(true);
    mQueueIdle->Set();
    mStopDispatch = LEvent::Create(true);
    mDispatchWaits.reserve(count + 1);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        mDispatchWaits.push_back(mDoneEvents.GetEvent(i)->GetHandle());
    }
    mDispatchWaits.push_back(mStopDispatch->GetHandle());
    mDispatcher = RCPtr<QueueDispatcher>(new QueueDispatcher(*this));
    mQueueThreader.SetName(String(kQueueThreaderName));
    mThreadCount.store(static_cast<std::int32_t>(count));
}

LThreadPool::~LThreadPool()
{
    Shutdown();
}

std::size_t LThreadPool::GetQueuedCount() const
{
    MutexLocker lock(mLock);
    return mQueuedCount;
}

void LThreadPool::Execute(RCPtr<LThreadWorker> worker, RCPtr<LRefCountedObject> param, std::int32_t priority)
{
    if (ExecuteOnFreeThread(worker, param, priority) >= 0 || mThreadCount.load() <= 0)
    {
        return;
    }
    // Declared before the lock, so a job that is dropped is released after the lock
    // is left: its worker's destruction may run any code.
    RCPtr<LWorkerParams> job = LWorkerParams::Create(std::move(worker), std::move(param), priority);
    MutexLocker lock(mLock);
    if (mThreadCount.load() <= 0)
    {
        return;
    }
    const bool wasEmpty = mQueuedCount == 0;
    std::deque<RCPtr<LWorkerParams>>& jobs = mQueue[priority];
    jobs.push_back(std::move(job));
    ++mQueuedCount;
    if (!wasEmpty)
    {
        return; // the queue threader is running and will come to it
    }
    // The queue threader ends its run only with an empty queue, and outside the lock,
    // so this wait is short.
    mQueueIdle->Wait(kInfinite);
    if (Failed(mQueueThreader.Trigger(mDispatcher, nullptr, mQueueIdle, mQueueThreaderPriority)))
    {
        mQueueIdle->Set();
        job = std::move(jobs.back());
        jobs.pop_back();
        if (jobs.empty())
        {
            mQueue.erase(priority);
        }
        --mQueuedCount;
        LogThreadProblem(std::string(kPoolName) + ": the queue threader cannot run; the job is dropped");
    }
}

std::int32_t LThreadPool::ExecuteOnFreeThread(const RCPtr<LThreadWorker>& worker,
                                              const RCPtr<LRefCountedObject>& param, std::int32_t priority)
{
    for (std::int32_t i = 0; i < mThreadCount.load(); ++i)
    {
        MutexLocker lock(mLock);
        const std::int32_t count = mThreadCount.load();
        if (i >= count)
        {
            break; // shut down meanwhile
        }
        if (count == 1 && mQueuedCount > 0)
        {
            return -1; // with one thread, a new job never passes queued ones
        }
        if (mThreaders[i].IsAvailable() && Succeeded(StartOn(i, worker, param, priority)))
        {
            return i;
        }
    }
    return -1;
}

Result LThreadPool::StartOn(std::int32_t index, RCPtr<LThreadWorker> worker, RCPtr<LRefCountedObject> param,
                            std::int32_t priority)
{
    RetriggerableThreader& threader = mThreaders[index];
    threader.SetName(worker ? worker->ToString() : String());
    return threader.Trigger(std::move(worker), std::move(param),
                            mDoneEvents.GetEvent(static_cast<std::uint32_t>(index)), priority);
}

RCPtr<LThreadPool::LWorkerParams>* LThreadPool::NextQueued()
{
    return mQueue.empty() ? nullptr : &mQueue.begin()->second.front();
}

void LThreadPool::PopNextQueued()
{
    auto highest = mQueue.begin();
    highest->second.pop_front();
    if (highest->second.empty())
    {
        mQueue.erase(highest);
    }
    --mQueuedCount;
}

Result LThreadPool::DispatchQueue()
{
    const std::int32_t stopIndex = static_cast<std::int32_t>(mDispatchWaits.size()) - 1;
    for (;;)
    {
        const std::int32_t k =
            EventHandle::WaitForAny(mDispatchWaits.data(), mDispatchWaits.size(), kInfinite);
        // Released after the lock is left.
        RCPtr<LWorkerParams> job;
        JobQueue dropped;
        MutexLocker lock(mLock);
        if (mQueuedCount == 0 || k == stopIndex)
        {
            return kOk;
        }
        if (k < 0)
        {
            // Nothing will ever tell this loop of a free thread: the queue cannot be
            // served, and waiting on would hold the caller's job for ever.
            dropped.swap(mQueue);
            mQueuedCount = 0;
            LogThreadProblem(std::string(kPoolName) +
                             ": waiting for a free thread failed; the queued jobs are dropped");
            return kFail;
        }
        if (!mThreaders[k].IsAvailable())
        {
            continue; // it sets its event again when its job ends
        }
        job = std::move(*NextQueued());
        PopNextQueued();
        // The threader is free and idle under the lock (only the lock's holders
        // trigger it), so it takes the job.
        if (Failed(StartOn(k, std::move(job->mWorker), std::move(job->mParam), job->mPriority)))
        {
            LogThreadProblem(std::string(kPoolName) +
                             ": a free thread refused a queued job; the job is dropped");
        }
        if (mQueuedCount == 0)
        {
            return kOk;
        }
    }
}

void LThreadPool::Shutdown()
{
    const std::uint32_t count = mDoneEvents.GetCount();
    mThreadCount.store(0);
    JobQueue dropped;
    {
        MutexLocker lock(mLock);
        dropped.swap(mQueue);
        mQueuedCount = 0;
    }
    mStopDispatch->Set();
    mQueueThreader.Stop();
    for (std::uint32_t i = count; i > 0; --i)
    {
        mThreaders[i - 1].Stop();
    }
}

} // namespace KR
