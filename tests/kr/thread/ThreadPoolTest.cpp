#include "kr/thread/ThreadPool.h"

#include "kr/core/Types.h"
#include "kr/thread/TestWorker.h"
#include "kr/thread/ThreadTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <semaphore>
#include <thread>
#include <vector>

namespace KR
{
namespace
{

using Testing::TestWorker;
using Testing::WaitUntil;

// A job parameter that says which job it is.
class Numbered : public LRefCountedObject
{
public:
    explicit Numbered(int number) : mNumber(number) {}
    const int mNumber;
};

RCPtr<LRefCountedObject> Number(int number)
{
    return RCPtr<LRefCountedObject>(new Numbered(number));
}

int NumberOf(const RCPtr<LRefCountedObject>& param)
{
    const RCPtr<Numbered> numbered(param);
    return numbered ? numbered->mNumber : -1;
}

// Records the numbers of the jobs it ran, in the order they ran.
class OrderLog
{
public:
    void Add(int number)
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mNumbers.push_back(number);
    }
    std::vector<int> Numbers() const
    {
        std::lock_guard<std::mutex> lock(mMutex);
        return mNumbers;
    }

private:
    mutable std::mutex mMutex;
    std::vector<int> mNumbers;
};

RCPtr<TestWorker> LoggingWorker(OrderLog& log)
{
    auto worker = TestWorker::Create();
    worker->OnRun([&log](RCPtr<LRefCountedObject>& param) { log.Add(NumberOf(param)); });
    return worker;
}

// Gives the pool a job that stays inside DoWork until blocker->LetRunsEnd().
bool OccupyThread(LThreadPool& pool, const RCPtr<TestWorker>& blocker)
{
    blocker->HoldRuns();
    pool.Execute(blocker, nullptr, kThreadPriorityNormal);
    return WaitUntil([&] { return blocker->Inside(); });
}

TEST(ThreadPoolTest, JobSubmittedWhileAThreadIsFreeRunsAtOnceOnThatThreadNamedForIt)
{
    auto pool = LThreadPool::Create(1, kThreadPriorityHighest);
    EXPECT_EQ(pool->GetQueueThreader().ToString(), String(u"LThreadPool::mQueueThreader"));
    EXPECT_TRUE(pool->GetThreader(0).ToString().IsEmpty());
    auto worker = TestWorker::Create();
    pool->Execute(worker, Number(7), kThreadPriorityNormal);
    ASSERT_TRUE(WaitUntil([&] { return worker->Runs() == 1; }));
    EXPECT_EQ(pool->GetQueuedCount(), 0u);
    EXPECT_NE(worker->Threads().front(), std::this_thread::get_id());
    EXPECT_EQ(pool->GetThreader(0).ToString(), worker->ToString());
    ASSERT_TRUE(WaitUntil([&] { return pool->GetThreader(0).IsAvailable(); }));
    EXPECT_EQ(pool->ExecuteOnFreeThread(worker, nullptr, kThreadPriorityNormal), 0);
}

TEST(ThreadPoolTest, QueuedJobsRunByPriorityThenInOrderOfSubmission)
{
    auto pool = LThreadPool::Create(1, kThreadPriorityHighest);
    auto blocker = TestWorker::Create();
    ASSERT_TRUE(OccupyThread(*pool, blocker));

    OrderLog order;
    auto worker = LoggingWorker(order);
    pool->Execute(worker, Number(1), kThreadPriorityNormal);
    pool->Execute(worker, Number(2), kThreadPriorityHighest);
    pool->Execute(worker, Number(3), kThreadPriorityNormal);
    EXPECT_EQ(pool->GetQueuedCount(), 3u);
    EXPECT_EQ(pool->ExecuteOnFreeThread(worker, Number(4), kThreadPriorityTimeCritical), -1);

    blocker->LetRunsEnd();
    // The log, not the run count: a run is counted before its logging action has run.
    ASSERT_TRUE(WaitUntil([&] { return order.Numbers().size() == 3; }));
    EXPECT_EQ(order.Numbers(), (std::vector<int>{2, 1, 3}));
}

TEST(ThreadPoolTest, EveryThreadRunsAJobAtOnceAndTheNextWaitsForAFreeOne)
{
    constexpr int kThreads = 4;
    auto pool = LThreadPool::Create(kThreads, kThreadPriorityHighest);
    std::vector<RCPtr<TestWorker>> held;
    for (int i = 0; i < kThreads; ++i)
    {
        held.push_back(TestWorker::Create());
        held.back()->HoldRuns();
        pool->Execute(held.back(), nullptr, kThreadPriorityNormal);
    }
    for (const auto& worker : held)
    {
        ASSERT_TRUE(WaitUntil([&] { return worker->Inside(); }));
    }
    auto waiting = TestWorker::Create();
    pool->Execute(waiting, nullptr, kThreadPriorityNormal);
    EXPECT_EQ(pool->GetQueuedCount(), 1u);

    held[2]->LetRunsEnd();
    ASSERT_TRUE(WaitUntil([&] { return waiting->Runs() == 1; }));
    // It ran on the thread that became free.
    EXPECT_EQ(waiting->Threads().front(), held[2]->Threads().front());
    for (const auto& worker : held)
    {
        worker->LetRunsEnd();
    }
}

TEST(ThreadPoolTest, AfterShutdownNothingRunsAndDestructionDoesNotHang)
{
    auto pool = LThreadPool::Create(1, kThreadPriorityHighest);
    auto blocker = TestWorker::Create();
    ASSERT_TRUE(OccupyThread(*pool, blocker));
    auto queued = TestWorker::Create();
    pool->Execute(queued, nullptr, kThreadPriorityNormal);

    std::thread stopper([&] { pool->Shutdown(); });
    // Shutdown drops the queue at once, then waits for the running job.
    ASSERT_TRUE(WaitUntil([&] { return pool->GetThreadCount() == 0 && pool->GetQueuedCount() == 0; }));
    auto late = TestWorker::Create();
    pool->Execute(late, nullptr, kThreadPriorityNormal);
    EXPECT_EQ(pool->ExecuteOnFreeThread(late, nullptr, kThreadPriorityNormal), -1);
    EXPECT_EQ(pool->GetQueuedCount(), 0u);
    blocker->LetRunsEnd();
    stopper.join();

    pool = nullptr;
    EXPECT_EQ(blocker->Runs(), 1);
    EXPECT_EQ(queued->Runs(), 0);
    EXPECT_EQ(late->Runs(), 0);
}

TEST(ThreadPoolTest, JobExceptionIsLoggedAndThePoolGoesOn)
{
    Testing::LogCapture log;
    auto pool = LThreadPool::Create(1, kThreadPriorityHighest);
    auto worker = TestWorker::Create();
    worker->ThrowNextRun();
    pool->Execute(worker, nullptr, kThreadPriorityNormal);
    ASSERT_TRUE(log.WaitFor("DoWork threw: worker failure"));
    pool->Execute(worker, nullptr, kThreadPriorityNormal);
    EXPECT_TRUE(WaitUntil([&] { return worker->Runs() == 2; }));
}

TEST(ThreadPoolTest, TenThousandJobsFromAnotherThreadEachRunOnceInOrder)
{
    constexpr int kJobs = 10000;
    constexpr int kInFlight = 256;
    auto& jobPool = LThreadPool::LWorkerParams::GetPool();
    const std::size_t blocksBefore = jobPool.GetBlockCount();

    auto pool = LThreadPool::Create(1, kThreadPriorityHighest);
    std::vector<std::atomic<int>> runs(kJobs);
    std::counting_semaphore<kInFlight> window(kInFlight);
    std::atomic<int> lastNumber{-1};
    std::atomic<bool> inOrder{true};
    auto worker = TestWorker::Create();
    worker->OnRun(
        [&](RCPtr<LRefCountedObject>& param)
        {
            const int number = NumberOf(param);
            ++runs[number];
            if (lastNumber.exchange(number) != number - 1)
            {
                inOrder = false;
            }
            window.release();
        });
    std::thread submitter(
        [&]
        {
            for (int number = 0; number < kJobs; ++number)
            {
                window.acquire();
                pool->Execute(worker, Number(number), kThreadPriorityNormal);
            }
        });
    submitter.join();
    ASSERT_TRUE(WaitUntil([&] { return worker->Runs() == kJobs; }));
    pool = nullptr;

    for (int number = 0; number < kJobs; ++number)
    {
        ASSERT_EQ(runs[number].load(), 1) << "job " << number;
    }
    // One thread, one priority: jobs ran in the order they were handed over.
    EXPECT_TRUE(inOrder.load());
    // Job records were recycled: the pool grew to about the jobs waiting at once (a
    // record is let go just after its job has run), not to the number of jobs.
    EXPECT_LE(jobPool.GetBlockCount() - blocksBefore, static_cast<std::size_t>(2 * kInFlight));
    EXPECT_EQ(jobPool.GetFreeCount(), jobPool.GetBlockCount());
}

// A worker that owns the pool it runs on, as the MIDI object does: when its last
// reference goes on a pool thread, the pool is destroyed there.
class PoolOwner : public LThreadWorker
{
public:
    PoolOwner(std::atomic<bool>& destroyed) : mDestroyed(destroyed) {}
    ~PoolOwner() override { mDestroyed = true; }

    Result DoWork(RCPtr<LRefCountedObject>&) override
    {
        mInside = true;
        mRelease.Wait(kInfinite);
        return kOk;
    }

    RCPtr<LThreadPool> mPool;
    std::atomic<bool> mInside{false};
    Event mRelease{false};

private:
    std::atomic<bool>& mDestroyed;
};

TEST(ThreadPoolTest, PoolDestroyedOnItsOwnThreadByAJobsWorkerEndsCleanly)
{
    std::atomic<bool> destroyed{false};
    RCPtr<PoolOwner> owner(new PoolOwner(destroyed));
    owner->mPool = LThreadPool::Create(1, kThreadPriorityHighest);
    owner->mPool->Execute(owner, nullptr, kThreadPriorityNormal);
    ASSERT_TRUE(WaitUntil([&] { return owner->mInside.load(); }));
    // Queued jobs keep the queue threader waiting for the one thread.
    auto queued = TestWorker::Create();
    owner->mPool->Execute(queued, nullptr, kThreadPriorityNormal);
    owner->mPool->Execute(queued, nullptr, kThreadPriorityNormal);

    PoolOwner* raw = owner.Get();
    owner = nullptr; // the running job now holds the last reference
    raw->mRelease.Set();
    EXPECT_TRUE(WaitUntil([&] { return destroyed.load(); }));
    EXPECT_EQ(queued->Runs(), 0);
}

} // namespace
} // namespace KR
