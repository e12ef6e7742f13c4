#include "kr/thread/EventPool.h"

#include "kr/core/Types.h"
#include "kr/thread/ThreadTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace KR
{
namespace
{

TEST(EventPoolTest, EventsAreDistinctAutoResetAndStartClear)
{
    EventPool pool(3);
    ASSERT_EQ(pool.GetCount(), 3u);
    EXPECT_NE(pool.GetEvent(0).Get(), pool.GetEvent(1).Get());
    for (std::uint32_t i = 0; i < pool.GetCount(); ++i)
    {
        EXPECT_FALSE(pool.GetEvent(i)->IsSignaled());
    }
    pool.GetEvent(2)->Set();
    EXPECT_TRUE(pool.GetEvent(2)->IsSignaled());
    EXPECT_FALSE(pool.GetEvent(2)->IsSignaled());
    EXPECT_EQ(pool.GetEvent(3).Get(), nullptr);
}

TEST(EventPoolTest, WaitReturnsTheLowestSetEventAndLeavesTheOthersSet)
{
    EventPool pool(4);
    pool.GetEvent(3)->Set();
    pool.GetEvent(1)->Set();
    EXPECT_EQ(pool.WaitForAnyEvent(kInfinite), 1);
    EXPECT_TRUE(pool.GetEvent(3)->IsSignaled());
}

TEST(EventPoolTest, WaitWithNothingSetTimesOutWithMinusOne)
{
    EventPool pool(2);
    EXPECT_EQ(pool.WaitForAnyEvent(0), -1);
    EXPECT_EQ(pool.WaitForAnyEvent(5), -1);
}

TEST(EventPoolTest, EmptyPoolNeverWaits)
{
    EventPool pool(0);
    EXPECT_EQ(pool.GetCount(), 0u);
    EXPECT_EQ(pool.WaitForAnyEvent(kInfinite), -1);
}

TEST(EventPoolTest, SetFromAnotherThreadWakesTheWait)
{
    EventPool pool(3);
    std::atomic<std::int32_t> index{-2};
    std::thread waiter([&] { index = pool.WaitForAnyEvent(kInfinite); });
    ASSERT_TRUE(Testing::WaitUntil([&] { return pool.GetEvent(1)->GetWaiterCount() == 1; }));
    pool.GetEvent(1)->Set();
    waiter.join();
    EXPECT_EQ(index.load(), 1);
}

} // namespace
} // namespace KR
