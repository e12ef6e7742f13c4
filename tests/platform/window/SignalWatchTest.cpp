// A process signal reaches the UI thread's loop as a source of its own: counted there, not
// by the signal's default action (which would end the test program).

#include "platform/window/SignalWatch.h"
#include "platform/window/MessageLoop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>

namespace
{

namespace P = KR::Platform;

TEST(SignalWatch, EachSignalIsCountedOnTheLoopUntilTaken)
{
    P::SignalWatch watch(SIGUSR1);
    ASSERT_TRUE(watch.IsWatching());
    EXPECT_EQ(watch.Take(), 0u);
    ASSERT_EQ(std::raise(SIGUSR1), 0);
    // Bounded: the loop sees the signal within a few dispatches.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    std::uint32_t taken = 0;
    while (taken == 0 && std::chrono::steady_clock::now() < deadline)
    {
        P::DispatchPendingMessages(16);
        taken = watch.Take();
    }
    EXPECT_EQ(taken, 1u);
    EXPECT_EQ(watch.Take(), 0u) << "taken once";
}

} // namespace
