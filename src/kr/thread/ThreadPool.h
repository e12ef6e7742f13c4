#pragma once
// A fixed set of threads that run submitted jobs, at once when a thread is free and
// otherwise from a queue ordered by priority.

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/Types.h"
#include "kr/thread/Event.h"
#include "kr/thread/EventPool.h"
#include "kr/thread/Mutex.h"
#include "kr/thread/RetriggerableThreader.h"
#include "kr/thread/ReuseAllocator.h"
#include "kr/thread/ThreadWorker.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace KR
{

// A job is (worker, parameter, priority): the worker's DoWork runs once with the
// parameter, on a pool thread set to the job's thread priority; the priority is also
// the job's rank in the queue (higher first, equal priorities oldest first). No thread
// is made per job, and job records come from a recycling pool.
//
// Besides its worker threads the pool has a queue threader, "LThreadPool::mQueueThreader",
// that hands queued jobs to threads as they become free; the queue is never left
// non-empty without it running.
class LThreadPool : public virtual LRefCountedObject
{
public:
    // One queued job; its storage comes from a process-wide, locked recycling pool,
    // since jobs are made on the submitting thread and released on pool threads.
    class LWorkerParams : public LRefCountedObject, public PooledObject<LWorkerParams, 1, true>
    {
    public:
        static RCPtr<LWorkerParams> Create(RCPtr<LThreadWorker> worker, RCPtr<LRefCountedObject> param,
                                           std::int32_t priority);
        LWorkerParams(RCPtr<LThreadWorker> worker, RCPtr<LRefCountedObject> param, std::int32_t priority);

        RCPtr<LThreadWorker> mWorker;
        RCPtr<LRefCountedObject> mParam;
        const std::int32_t mPriority;
    };

    // threadCount worker threads (0 or less: a pool that drops every job); the queue
    // threader runs at queueThreaderPriority.
    static RCPtr<LThreadPool> Create(std::int32_t threadCount, std::int32_t queueThreaderPriority);
    LThreadPool(std::int32_t threadCount, std::int32_t queueThreaderPriority);
    // Shuts down, joining every thread.
    ~LThreadPool() override;

    // Runs the job now on a free thread, or queues it. In a one-thread pool a new job
    // never passes jobs already queued, so jobs run one at a time in the order of
    // submission within a priority. After Shutdown the job is dropped.
    void Execute(RCPtr<LThreadWorker> worker, RCPtr<LRefCountedObject> param, std::int32_t priority);

    // Runs the job now on a free thread and returns that thread's index; -1 (nothing
    // done) when no thread is free, when a one-thread pool has jobs queued, and after
    // Shutdown.
    std::int32_t ExecuteOnFreeThread(const RCPtr<LThreadWorker>& worker,
                                     const RCPtr<LRefCountedObject>& param, std::int32_t priority);

    // Drops the queued jobs and stops every thread, waiting for running jobs to end
    // (reporting a late one). From then on jobs are dropped. Safe from a job's own
    // thread, and more than once.
    void Shutdown();

    std::int32_t GetThreadCount() const { return mThreadCount.load(); }
    std::size_t GetQueuedCount() const;
    const RetriggerableThreader& GetThreader(std::int32_t index) const { return mThreaders[index]; }
    const RetriggerableThreader& GetQueueThreader() const { return mQueueThreader; }

private:
    class QueueDispatcher;
    // Jobs by priority, highest first, each priority oldest first.
    using JobQueue = std::map<std::int32_t, std::deque<RCPtr<LWorkerParams>>, std::greater<>>;

    // The queue threader's job: hands queued jobs to threads as they become free.
    Result DispatchQueue();
    // Under the lock: the next job to run (highest priority, oldest), or null.
    RCPtr<LWorkerParams>* NextQueued();
    void PopNextQueued();
    // Under the lock: threader `index` takes the job. Its references move into the
    // threader, so this thread never holds the last reference to a worker.
    Result StartOn(std::int32_t index, RCPtr<LThreadWorker> worker, RCPtr<LRefCountedObject> param,
                   std::int32_t priority);

    RetriggerableThreader mQueueThreader;
    mutable Mutex mLock;
    JobQueue mQueue;
    std::size_t mQueuedCount = 0;
    std::atomic<std::int32_t> mThreadCount{0};
    // Event i is the done event of every job run on threader i.
    EventPool mDoneEvents;
    std::unique_ptr<RetriggerableThreader[]> mThreaders;
    // Set while the queue threader is not running its job.
    RCPtr<LEvent> mQueueIdle;
    // Wakes the queue threader from its wait for a free thread when the pool shuts down.
    RCPtr<LEvent> mStopDispatch;
    // The done events followed by the stop event: what the queue threader waits on.
    std::vector<EventHandle*> mDispatchWaits;
    RCPtr<QueueDispatcher> mDispatcher;
    std::int32_t mQueueThreaderPriority;
};

} // namespace KR
