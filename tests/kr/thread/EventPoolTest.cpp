#include "kr/thread/EventPool.h"

#include "kr/core/Types.h"

#include <gtest/gtest.h>

namespace KR
{
namespace
{

// The wait itself is the events' wait for any (EventTest); the pool adds its own events
// and its answers for none set and for no events at all.
TEST(EventPoolTest, DistinctClearEventsAndAWaitForTheLowestSetOneOrMinusOne)
{
    EventPool pool(4);
    EXPECT_NE(pool.GetEvent(0).Get(), pool.GetEvent(1).Get());
    EXPECT_EQ(pool.GetEvent(4).Get(), nullptr);
    EXPECT_EQ(pool.WaitForAnyEvent(0), -1) << "events start clear";
    EXPECT_EQ(pool.WaitForAnyEvent(5), -1);

    pool.GetEvent(3)->Set();
    pool.GetEvent(1)->Set();
    EXPECT_EQ(pool.WaitForAnyEvent(kInfinite), 1);
    EXPECT_TRUE(pool.GetEvent(3)->IsSignaled()) << "the others stay set";
    EXPECT_FALSE(pool.GetEvent(3)->IsSignaled()) << "auto-reset";

    EventPool empty(0);
    EXPECT_EQ(empty.WaitForAnyEvent(kInfinite), -1);
}

} // namespace
} // namespace KR
