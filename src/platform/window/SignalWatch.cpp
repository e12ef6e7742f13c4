#include "platform/window/SignalWatch.h"

#include "platform/window/MessageLoop.h"

#include <glib-unix.h>
#include <glib.h>

#include <utility>

namespace KR::Platform
{

SignalWatch::SignalWatch(int signal, std::function<void()> onSignal) : mOnSignal(std::move(onSignal))
{
    mSource = g_unix_signal_add(signal, &SignalWatch::OnSignal, this);
}

SignalWatch::~SignalWatch()
{
    if (mSource != 0)
    {
        g_source_remove(mSource);
    }
}

std::uint32_t SignalWatch::Take()
{
    const std::uint32_t count = mCount;
    mCount = 0;
    return count;
}

int SignalWatch::OnSignal(void* self)
{
    auto* watch = static_cast<SignalWatch*>(self);
    ++watch->mCount;
    RearmIdle();
    if (watch->mOnSignal)
    {
        watch->mOnSignal();
    }
    return G_SOURCE_CONTINUE;
}

} // namespace KR::Platform
