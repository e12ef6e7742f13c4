#pragma once
// A process signal (SIGUSR1 and the like) taken as a source of the UI thread's loop: the
// loop wakes, counts the signal and starts the idle passes as a message would, so whoever
// asks at idle sees it. The signal's default action is off while the watch lives.
//
//     KR::Platform::SignalWatch watch(SIGUSR1);
//     ... at idle:  if (watch.Take() > 0) WriteSomething();
//
// UI thread only (the signal itself may come at any time).

#include <cstdint>
#include <functional>

namespace KR::Platform
{

class SignalWatch
{
public:
    // `onSignal`, when given, runs on the UI thread's loop as soon as it turns after the
    // signal (also inside a modal loop), besides the count.
    explicit SignalWatch(int signal, std::function<void()> onSignal = {});
    ~SignalWatch();
    SignalWatch(const SignalWatch&) = delete;
    SignalWatch& operator=(const SignalWatch&) = delete;

    // Whether the loop watches the signal (false for a signal GLib does not take).
    bool IsWatching() const { return mSource != 0; }
    // The signals counted since the last call, and the count back to 0.
    std::uint32_t Take();

private:
    static int OnSignal(void* self);

    unsigned mSource = 0;
    std::uint32_t mCount = 0;
    std::function<void()> mOnSignal;
};

} // namespace KR::Platform
