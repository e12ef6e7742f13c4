#include "kr/thread/Thread.h"

#include "kr/core/Types.h"
#include "kr/thread/Event.h"
#include "kr/thread/ThreadTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <thread>

#include <pthread.h>

namespace KR
{
namespace
{

using Testing::WaitUntil;

std::uint32_t CountRun(void* context)
{
    ++*static_cast<std::atomic<int>*>(context);
    return 0;
}

TEST(ThreadTest, RoutineRunsOnItsOwnThreadOnlyAfterResume)
{
    std::atomic<int> runs{0};
    {
        Thread neverResumed(&CountRun, &runs);
    }
    EXPECT_EQ(runs.load(), 0);

    Event release(false);
    std::thread::id ranOn;
    Thread thread(
        [&]
        {
            ranOn = std::this_thread::get_id();
            return release.Wait(kInfinite);
        });
    ASSERT_TRUE(thread.IsCreated());
    EXPECT_FALSE(thread.WaitForExit(0));
    thread.Resume();
    EXPECT_FALSE(thread.WaitForExit(1));
    EXPECT_FALSE(thread.IsFinished());
    release.Set();
    EXPECT_TRUE(thread.WaitForExit(kInfinite));
    EXPECT_TRUE(thread.IsFinished());
    EXPECT_NE(ranOn, std::this_thread::get_id());
}

TEST(ThreadTest, DestructorWaitsForTheRoutineToEnd)
{
    Event release(false);
    std::atomic<bool> routineEnded{false};
    std::atomic<bool> destructorReturned{false};
    bool endedBeforeDestructorReturned = false;
    auto thread = std::make_unique<Thread>(
        [&]
        {
            release.Wait(kInfinite);
            routineEnded = true;
            return 0u;
        });
    thread->Resume();
    std::thread destroyer(
        [&]
        {
            thread.reset();
            endedBeforeDestructorReturned = routineEnded;
            destructorReturned = true;
        });
    // The destructor is now waiting; it must not return before the routine ends.
    EXPECT_FALSE(destructorReturned.load());
    release.Set();
    destroyer.join();
    EXPECT_TRUE(endedBeforeDestructorReturned);
}

TEST(ThreadTest, JoinReportsALateThreadAndKeepsWaiting)
{
    Testing::LogCapture log;
    Event release(false);
    Thread thread([&] { return release.Wait(kInfinite); });
    thread.Resume();
    std::atomic<bool> joined{false};
    std::thread owner(
        [&]
        {
            thread.Join("ThreadTest owner", 1);
            joined = true;
        });
    ASSERT_TRUE(log.WaitFor("ThreadTest owner: the thread is late"));
    EXPECT_FALSE(joined.load());
    release.Set();
    owner.join();
    EXPECT_TRUE(thread.IsFinished());
}

TEST(ThreadTest, ThreadNeverWaitsForItself)
{
    Testing::LogCapture log;
    Thread* self = nullptr;
    std::atomic<int> result{-1};
    Thread thread(
        [&]
        {
            result = self->WaitForExit(kInfinite) ? 1 : 0;
            self->Join("self");
            return 0u;
        });
    self = &thread;
    thread.Resume();
    ASSERT_TRUE(thread.WaitForExit(kInfinite));
    EXPECT_EQ(result.load(), 0);
    EXPECT_TRUE(log.Contains("cannot wait for its own end"));
}

TEST(ThreadTest, ThreadDestroyedOnItsOwnThreadLetsItselfGo)
{
    std::atomic<bool> ranOn{false};
    Thread* thread = nullptr;
    thread = new Thread(
        [&]
        {
            delete thread;
            ranOn = true;
            return 0u;
        });
    thread->Resume();
    EXPECT_TRUE(WaitUntil([&] { return ranOn.load(); }));
}

TEST(ThreadTest, RoutineExceptionIsLoggedNotFatalAndPriorityIsRecordedEvenWhenRefused)
{
    Testing::LogCapture log;
    Thread thread([]() -> std::uint32_t { throw std::runtime_error("boom"); });
    EXPECT_TRUE(thread.SetPriority(kThreadPriorityHighest));
    EXPECT_EQ(thread.GetPriority(), kThreadPriorityHighest);
    EXPECT_TRUE(thread.SetPriorityBoost(false));
    thread.Resume();
    ASSERT_TRUE(thread.WaitForExit(kInfinite));
    EXPECT_TRUE(log.Contains("boom"));
}

TEST(ThreadTest, ThreadWithoutMemoryForItsRecordIsReported)
{
    Testing::LogCapture log;
    std::atomic<int> runs{0};
    auto thread = [&]
    {
        Testing::FailNothrowAllocations failing(1);
        return std::make_unique<Thread>(&CountRun, &runs);
    }();
    EXPECT_FALSE(thread->IsCreated());
    EXPECT_TRUE(log.Contains("could not be created"));
    thread->Resume();
    EXPECT_FALSE(thread->IsFinished());
    EXPECT_FALSE(thread->WaitForExit(kInfinite));
    EXPECT_FALSE(thread->SetPriority(kThreadPriorityHighest));
    EXPECT_EQ(runs.load(), 0);
}

TEST(ThreadTest, ThreadTheSystemRefusesIsReported)
{
    // No stack of this size can be mapped, so the system refuses the thread.
    pthread_attr_t saved;
    ASSERT_EQ(pthread_getattr_default_np(&saved), 0);
    pthread_attr_t huge;
    pthread_attr_init(&huge);
    pthread_attr_setstacksize(&huge, std::size_t{1} << 50);
    ASSERT_EQ(pthread_setattr_default_np(&huge), 0);

    Testing::LogCapture log;
    std::atomic<int> runs{0};
    {
        Thread thread(&CountRun, &runs);
        pthread_setattr_default_np(&saved);
        EXPECT_FALSE(thread.IsCreated());
        thread.Resume();
        EXPECT_FALSE(thread.WaitForExit(0));
    }
    pthread_setattr_default_np(&saved);
    pthread_attr_destroy(&huge);
    pthread_attr_destroy(&saved);
    EXPECT_TRUE(log.Contains("could not be created"));
    EXPECT_EQ(runs.load(), 0);
}

} // namespace
} // namespace KR
