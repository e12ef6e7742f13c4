#include "kr/thread/EventGatedThreader.h"

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

TEST(EventGatedThreaderTest, RunsTheWorkerOncePerSetOnItsOwnThreadWithItsParam)
{
    auto gate = LEvent::Create(true);
    auto worker = TestWorker::Create();
    RCPtr<LRefCountedObject> param(new Payload);
    {
        auto threader = LEventGatedThreader::Create(gate, worker, param, kThreadPriorityNormal);
        for (int run = 1; run <= 3; ++run)
        {
            gate->Set();
            ASSERT_TRUE(WaitUntil([&] { return worker->Runs() == run; }));
        }
    }
    // Destruction wakes the thread once more, to stop it, not to run the worker.
    EXPECT_EQ(worker->Runs(), 3);
    for (const auto& thread : worker->Threads())
    {
        EXPECT_NE(thread, std::this_thread::get_id());
        EXPECT_EQ(thread, worker->Threads().front());
    }
    for (const auto* seen : worker->Params())
    {
        EXPECT_EQ(seen, param.Get());
    }
}

TEST(EventGatedThreaderTest, DestructionWaitsForARunningWorkerAndDoesNotCallItAgain)
{
    auto gate = LEvent::Create(true);
    auto worker = TestWorker::Create();
    worker->HoldRuns();
    auto threader = LEventGatedThreader::Create(gate, worker, nullptr, kThreadPriorityNormal);
    gate->Set();
    ASSERT_TRUE(WaitUntil([&] { return worker->Inside(); }));

    std::atomic<bool> destroyed{false};
    int runsWhenDestroyed = -1;
    std::thread owner(
        [&]
        {
            threader = nullptr;
            runsWhenDestroyed = worker->Runs();
            destroyed = true;
        });
    // The destructor sets the stop flag, then the gate. Taking that signal here does
    // no harm (the loop reads the flag before it waits again) and tells the test the
    // destructor is past that point, waiting for the run.
    ASSERT_TRUE(WaitUntil([&] { return gate->IsSignaled(); }));
    EXPECT_FALSE(destroyed.load());
    // A set arriving after the stop must not give another run.
    gate->Set();
    worker->LetRunsEnd();
    owner.join();
    EXPECT_EQ(runsWhenDestroyed, 1);
    EXPECT_EQ(worker->Runs(), 1);
}

TEST(EventGatedThreaderTest, WorkerExceptionIsLoggedAndTheThreadGoesOn)
{
    Testing::LogCapture log;
    auto gate = LEvent::Create(true);
    auto worker = TestWorker::Create();
    worker->ThrowNextRun();
    auto threader = LEventGatedThreader::Create(gate, worker, nullptr, kThreadPriorityNormal);
    gate->Set();
    ASSERT_TRUE(log.WaitFor("DoWork threw: worker failure"));
    gate->Set();
    EXPECT_TRUE(WaitUntil([&] { return worker->Runs() == 2; }));
}

TEST(EventGatedThreaderTest, FailedGateWaitEndsTheThreadInsteadOfSpinning)
{
    Testing::LogCapture log;
    RCPtr<LEvent> brokenGate = []
    {
        Testing::FailNothrowAllocations failing(1);
        return LEvent::Create(true);
    }();
    auto worker = TestWorker::Create();
    auto threader = LEventGatedThreader::Create(brokenGate, worker, nullptr, kThreadPriorityNormal);
    ASSERT_TRUE(WaitUntil([&] { return threader->IsFinished(); }));
    EXPECT_TRUE(log.Contains("waiting on the gate event failed"));
    EXPECT_EQ(worker->Runs(), 0);
}

TEST(EventGatedThreaderTest, ThreaderReleasedInsideItsOwnWorkerEndsCleanly)
{
    auto gate = LEvent::Create(true);
    auto worker = TestWorker::Create();
    auto threader = LEventGatedThreader::Create(gate, worker, nullptr, kThreadPriorityNormal);
    std::atomic<bool> released{false};
    // The worker drops the last reference to the threader that runs it.
    RCPtr<LEventGatedThreader> held = threader;
    threader = nullptr;
    worker->OnRun(
        [&](RCPtr<LRefCountedObject>&)
        {
            held = nullptr;
            released = true;
        });
    gate->Set();
    // The run count, not the flag: the flag is set inside the run, before it is counted.
    ASSERT_TRUE(WaitUntil([&] { return worker->Runs() == 1; }));
    EXPECT_TRUE(released.load());
    // The thread let itself go; the worker is still whole and may be run elsewhere.
}

} // namespace
} // namespace KR
