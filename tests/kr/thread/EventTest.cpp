#include "kr/thread/Event.h"

#include "kr/core/Types.h"
#include "kr/thread/EventHandle.h"
#include "kr/thread/ThreadTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace KR
{
namespace
{

using Testing::WaitUntil;

// Starts `count` threads that each wait forever on the event once.
class Waiters
{
public:
    Waiters(Event& event, int count)
    {
        for (int i = 0; i < count; ++i)
        {
            mThreads.emplace_back(
                [this, &event]
                {
                    if (event.Wait(kInfinite) == kWaitObject0)
                    {
                        ++mReleased;
                    }
                });
        }
    }
    ~Waiters()
    {
        for (auto& thread : mThreads)
        {
            thread.join();
        }
    }
    int Released() const { return mReleased.load(); }

private:
    std::atomic<int> mReleased{0};
    std::vector<std::thread> mThreads;
};

TEST(EventTest, AutoResetSetReleasesExactlyOneWaiter)
{
    Event event(true);
    Waiters waiters(event, 2);
    ASSERT_TRUE(WaitUntil([&] { return event.GetWaiterCount() == 2; }));

    EXPECT_TRUE(event.Set());
    ASSERT_TRUE(WaitUntil([&] { return waiters.Released() == 1; }));
    // The other waiter is still asleep and the signal was used up by the first.
    EXPECT_EQ(event.GetWaiterCount(), 1);
    EXPECT_FALSE(event.IsSignaled());

    event.Set();
    ASSERT_TRUE(WaitUntil([&] { return waiters.Released() == 2; }));
}

TEST(EventTest, TwoQuickSetsReleaseTwoBlockedWaiters)
{
    // A set hands its signal to a blocked waiter at once, so a second set before the
    // first waiter has woken is not swallowed.
    Event event(true);
    Waiters waiters(event, 2);
    ASSERT_TRUE(WaitUntil([&] { return event.GetWaiterCount() == 2; }));
    event.Set();
    event.Set();
    EXPECT_TRUE(WaitUntil([&] { return waiters.Released() == 2; }));
}

TEST(EventTest, AnAutoResetSignalIsKeptUntilOneWaitOrPollTakesItOrResetDropsIt)
{
    Event event(true);
    EXPECT_FALSE(event.IsSignaled());
    EXPECT_EQ(event.Wait(0), kWaitTimeout);
    EXPECT_EQ(event.Wait(5), kWaitTimeout);
    EXPECT_EQ(event.GetWaiterCount(), 0);
    event.Set();
    EXPECT_TRUE(event.IsSignaled());
    EXPECT_FALSE(event.IsSignaled());
    event.Set();
    event.Set();
    EXPECT_EQ(event.Wait(kInfinite), kWaitObject0);
    EXPECT_EQ(event.Wait(0), kWaitTimeout);
    event.Set();
    EXPECT_TRUE(event.Reset());
    EXPECT_EQ(event.Wait(0), kWaitTimeout);
}

TEST(EventTest, TrafficLightStaysGreenForEveryWaiterUntilSetRed)
{
    TrafficLight light;
    EXPECT_FALSE(light.IsSignaled());
    {
        Waiters waiters(light, 3);
        ASSERT_TRUE(WaitUntil([&] { return light.GetWaiterCount() == 3; }));
        light.SetGreen();
        ASSERT_TRUE(WaitUntil([&] { return waiters.Released() == 3; }));
    }
    EXPECT_TRUE(light.IsSignaled());
    EXPECT_TRUE(light.IsSignaled());
    EXPECT_EQ(light.Wait(kInfinite), kWaitObject0);

    light.SetRed();
    EXPECT_FALSE(light.IsSignaled());
    EXPECT_EQ(light.Wait(0), kWaitTimeout);
}

TEST(EventTest, EventThatCouldNotBeCreatedFailsQuietlyAndIsNeverSignalled)
{
    Testing::LogCapture log;
    auto event = []
    {
        Testing::FailNothrowAllocations failing(1);
        return std::make_unique<Event>(true);
    }();
    EXPECT_TRUE(log.Contains("could not be created"));
    EXPECT_FALSE(event->Set());
    EXPECT_FALSE(event->Reset());
    EXPECT_EQ(event->Wait(0), kWaitFailed);
    EXPECT_EQ(event->Wait(kInfinite), kWaitFailed);
    // A failed wait is not a signal.
    EXPECT_FALSE(event->IsSignaled());
}

// The multi-object wait underneath the event pool.
class WaitForAnyTest : public ::testing::Test
{
protected:
    static constexpr int kCount = 4;

    WaitForAnyTest()
    {
        for (int i = 0; i < kCount; ++i)
        {
            mEvents.push_back(std::make_unique<Event>(true));
            mHandles.push_back(mEvents.back()->GetHandle());
        }
    }

    std::int32_t WaitForAny(std::uint32_t timeoutMs)
    {
        return EventHandle::WaitForAny(mHandles.data(), mHandles.size(), timeoutMs);
    }

    std::vector<std::unique_ptr<Event>> mEvents;
    std::vector<EventHandle*> mHandles;
};

TEST_F(WaitForAnyTest, LowestSignalledIndexWinsTheOthersStaySetAndABrokenListFails)
{
    EXPECT_EQ(WaitForAny(5), -1);
    mEvents[3]->Set();
    mEvents[1]->Set();
    EXPECT_EQ(WaitForAny(kInfinite), 1);
    EXPECT_EQ(WaitForAny(kInfinite), 3);
    EXPECT_EQ(WaitForAny(0), -1);
    for (auto& event : mEvents)
    {
        EXPECT_EQ(event->GetWaiterCount(), 0);
    }
    EXPECT_EQ(EventHandle::WaitForAny(mHandles.data(), 0, kInfinite), -1);
    mHandles[1] = nullptr;
    EXPECT_EQ(WaitForAny(kInfinite), -1);
}

TEST_F(WaitForAnyTest, SetWhileWaitingWakesWithThatIndexAndTakesItsSignal)
{
    std::atomic<std::int32_t> index{-2};
    std::thread waiter([&] { index = WaitForAny(kInfinite); });
    ASSERT_TRUE(WaitUntil([&] { return mEvents[2]->GetWaiterCount() == 1; }));
    mEvents[2]->Set();
    waiter.join();
    EXPECT_EQ(index.load(), 2);
    EXPECT_FALSE(mEvents[2]->IsSignaled());
    EXPECT_EQ(mEvents[2]->GetWaiterCount(), 0);
}

TEST_F(WaitForAnyTest, ManualResetEventWakesTheWaitAndStaysSet)
{
    TrafficLight light;
    mHandles[0] = light.GetHandle();
    std::atomic<std::int32_t> index{-2};
    std::thread waiter([&] { index = WaitForAny(kInfinite); });
    ASSERT_TRUE(WaitUntil([&] { return light.GetWaiterCount() == 1; }));
    light.SetGreen();
    waiter.join();
    EXPECT_EQ(index.load(), 0);
    EXPECT_TRUE(light.IsSignaled());
}

TEST_F(WaitForAnyTest, EverySetIsDeliveredOnceUnderContention)
{
    // Two multi-waiters and a single waiter share the events; each set must reach
    // exactly one of them, none lost, none doubled.
    constexpr int kSetsPerEvent = 500;
    std::atomic<int> received{0};
    std::atomic<bool> done{false};
    auto multiWaiter = [&]
    {
        while (!done)
        {
            if (WaitForAny(1) >= 0)
            {
                ++received;
            }
        }
    };
    std::thread first(multiWaiter);
    std::thread second(multiWaiter);
    std::thread single(
        [&]
        {
            while (!done)
            {
                if (mEvents[0]->Wait(1) == kWaitObject0)
                {
                    ++received;
                }
            }
        });
    int sent = 0;
    for (int round = 0; round < kSetsPerEvent; ++round)
    {
        for (int i = 0; i < kCount; ++i)
        {
            mEvents[i]->Set();
            ++sent;
            // An auto-reset event holds one signal; wait until it is taken so that
            // no set lands on a signal still pending.
            ASSERT_TRUE(WaitUntil([&] { return received.load() == sent; }));
        }
    }
    done = true;
    first.join();
    second.join();
    single.join();
    EXPECT_EQ(received.load(), sent);
}

} // namespace
} // namespace KR
