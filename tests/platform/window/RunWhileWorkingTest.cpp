// Work handed to a thread of its own while the UI thread's loop keeps turning: the loop's
// own sources run meanwhile, and the call returns only once the work has ended, however
// the loop ends.

#include "platform/window/MessageLoop.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace
{

namespace P = KR::Platform;
using KR::TestSupport::WaitUntil;

TEST(RunWhileWorking, TheLoopTurnsWhileTheWorkWaitsAndTheCallOutlastsTheWork)
{
    const struct
    {
        const char* what;
        bool quit; // the work posts a quit before it ends
        P::MessageLoop::Outcome outcome;
    } rows[] = {
        {"work that ends", false, P::MessageLoop::kEnded},
        {"a quit while it works", true, P::MessageLoop::kQuit},
    };
    for (const auto& row : rows)
    {
        std::atomic<bool> idleRan{false};
        std::atomic<bool> sawIdle{false};
        std::atomic<bool> workEnded{false};
        const P::MessageLoop::Outcome outcome = P::RunWhileWorking(
            [&]
            {
                // Only the loop's idle pass can let this wait end.
                sawIdle = WaitUntil([&] { return idleRan.load(); });
                if (row.quit)
                {
                    P::PostQuitMessage(0);
                    // Time for the loop to end first: the call must still wait for the work.
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
                }
                workEnded = true;
            },
            [&](int)
            {
                idleRan = true;
                return false;
            });
        EXPECT_EQ(outcome, row.outcome) << row.what;
        EXPECT_TRUE(sawIdle.load()) << row.what;
        EXPECT_TRUE(workEnded.load()) << row.what;
    }
}

TEST(RunWhileWorking, WhatTheWorkThrowsIsThrownToTheCaller)
{
    EXPECT_THROW(P::RunWhileWorking([] { throw std::runtime_error("refused"); }), std::runtime_error);
}

} // namespace
