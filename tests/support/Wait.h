#pragma once
// Bounded waits on conditions that another thread makes true: a test never sleeps a
// guessed time, and a hang fails after a limit no loaded machine reaches.

#include <chrono>
#include <functional>
#include <thread>

namespace KR::TestSupport
{

inline constexpr std::chrono::milliseconds kPatience{20000};

// Polls `condition` until it holds or `limit` has passed; its last answer.
inline bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = kPatience)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition())
    {
        if (std::chrono::steady_clock::now() >= deadline)
        {
            return condition();
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

} // namespace KR::TestSupport
