#include "kr/thread/RetriggerableThreader.h"

#include "kr/core/Types.h"
#include "kr/thread/TestWorker.h"
#include "kr/thread/ThreadTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace KR
{
namespace
{

using Testing::Payload;
using Testing::TestWorker;
using Testing::WaitUntil;

TEST(RetriggerableThreaderTest, EachTriggerRunsTheJobOnceOnTheThreaderThread)
{
    RetriggerableThreader threader(String(u"poller"));
    EXPECT_EQ(threader.ToString(), String(u"poller"));
    auto worker = TestWorker::Create();
    auto done = LEvent::Create(true);
    RCPtr<LRefCountedObject> param(new Payload);
    for (int run = 1; run <= 3; ++run)
    {
        ASSERT_EQ(threader.Trigger(worker, param, done, kThreadPriorityNormal), kOk);
        ASSERT_EQ(done->Wait(kInfinite), kWaitObject0);
        // Free again before the done event was set.
        EXPECT_FALSE(threader.IsBusy());
        EXPECT_EQ(worker->Runs(), run);
    }
    const auto threads = worker->Threads();
    EXPECT_NE(threads.front(), std::this_thread::get_id());
    EXPECT_EQ(threads.back(), threads.front());
    EXPECT_EQ(worker->Params().back(), param.Get());
    // The threader let go of the job's references when the job ended.
    EXPECT_EQ(param->GetRefCount(), 1);
}

TEST(RetriggerableThreaderTest, TriggerOnABusyThreaderFailsAndLeavesTheRunningJobAlone)
{
    RetriggerableThreader threader;
    auto running = TestWorker::Create();
    running->HoldRuns();
    auto refused = TestWorker::Create();
    auto done = LEvent::Create(true);
    ASSERT_EQ(threader.Trigger(running, nullptr, done, kThreadPriorityNormal), kOk);
    ASSERT_TRUE(WaitUntil([&] { return running->Inside(); }));
    EXPECT_TRUE(threader.IsBusy());
    EXPECT_FALSE(threader.IsAvailable());

    EXPECT_EQ(threader.Trigger(refused, nullptr, kThreadPriorityNormal), kFail);
    // The refused job stored nothing: the running job's done event is still its own.
    EXPECT_EQ(done->Wait(0), kWaitTimeout);

    running->LetRunsEnd();
    ASSERT_EQ(done->Wait(kInfinite), kWaitObject0);
    EXPECT_EQ(running->Runs(), 1);
    EXPECT_EQ(refused->Runs(), 0);
    EXPECT_EQ(threader.Trigger(refused, nullptr, done, kThreadPriorityNormal), kOk);
    EXPECT_EQ(done->Wait(kInfinite), kWaitObject0);
    EXPECT_EQ(refused->Runs(), 1);
}

TEST(RetriggerableThreaderTest, TriggerResetsALeftOverDoneEvent)
{
    RetriggerableThreader threader;
    auto worker = TestWorker::Create();
    worker->HoldRuns();
    auto done = LEvent::Create(true);
    done->Set();
    ASSERT_EQ(threader.Trigger(worker, nullptr, done, kThreadPriorityNormal), kOk);
    ASSERT_TRUE(WaitUntil([&] { return worker->Inside(); }));
    EXPECT_EQ(done->Wait(0), kWaitTimeout);
    worker->LetRunsEnd();
    EXPECT_EQ(done->Wait(kInfinite), kWaitObject0);
}

TEST(RetriggerableThreaderTest, StopWaitsForTheRunningJobAndLaterTriggersFail)
{
    RetriggerableThreader threader;
    auto worker = TestWorker::Create();
    worker->HoldRuns();
    ASSERT_EQ(threader.Trigger(worker, nullptr, kThreadPriorityNormal), kOk);
    ASSERT_TRUE(WaitUntil([&] { return worker->Inside(); }));
    std::atomic<bool> stopped{false};
    std::thread owner(
        [&]
        {
            threader.Stop();
            stopped = true;
        });
    EXPECT_FALSE(stopped.load());
    worker->LetRunsEnd();
    owner.join();
    EXPECT_TRUE(threader.IsFinished());
    EXPECT_EQ(threader.Trigger(worker, nullptr, kThreadPriorityNormal), kFail);
    EXPECT_EQ(worker->Runs(), 1);
}

TEST(RetriggerableThreaderTest, JobExceptionIsLoggedAndTheThreaderStaysUsable)
{
    Testing::LogCapture log;
    RetriggerableThreader threader;
    auto worker = TestWorker::Create();
    worker->ThrowNextRun();
    auto done = LEvent::Create(true);
    ASSERT_EQ(threader.Trigger(worker, nullptr, done, kThreadPriorityNormal), kOk);
    ASSERT_EQ(done->Wait(kInfinite), kWaitObject0);
    EXPECT_TRUE(log.Contains("KR::RetriggerableThreader: DoWork threw: worker failure"));
    ASSERT_EQ(threader.Trigger(worker, nullptr, done, kThreadPriorityNormal), kOk);
    ASSERT_EQ(done->Wait(kInfinite), kWaitObject0);
    EXPECT_EQ(worker->Runs(), 2);
}

TEST(RetriggerableThreaderTest, ThreaderDestroyedByItsOwnJobEndsCleanly)
{
    auto* threader = new RetriggerableThreader;
    auto worker = TestWorker::Create();
    worker->OnRun([&](RCPtr<LRefCountedObject>&) { delete threader; });
    auto done = LEvent::Create(true);
    ASSERT_EQ(threader->Trigger(worker, nullptr, done, kThreadPriorityNormal), kOk);
    // The job's end is still reported after the threader has gone.
    EXPECT_EQ(done->Wait(kInfinite), kWaitObject0);
    EXPECT_EQ(worker->Runs(), 1);
}

TEST(RetriggerableThreaderTest, ThreaderWithoutAThreadOrWhoseWaitFailsRefusesEveryTrigger)
{
    Testing::LogCapture log;
    // The trigger event's record is the first allocation, the thread's the second.
    for (const int skip : {1, 0})
    {
        auto threader = [skip]
        {
            Testing::FailNothrowAllocations failing(1, skip);
            return std::make_unique<RetriggerableThreader>();
        }();
        ASSERT_TRUE(WaitUntil([&] { return skip == 1 || threader->IsFinished(); }));
        auto worker = TestWorker::Create();
        EXPECT_EQ(threader->Trigger(worker, nullptr, kThreadPriorityNormal), kFail) << skip;
        EXPECT_FALSE(threader->IsBusy());
        EXPECT_EQ(worker->Runs(), 0);
    }
    EXPECT_TRUE(log.Contains("could not be created"));
    EXPECT_TRUE(log.Contains("waiting on the trigger event failed"));
}

} // namespace
} // namespace KR
