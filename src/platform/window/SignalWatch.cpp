#include "platform/window/SignalWatch.h"

#include "platform/window/MessageLoop.h"

#include <glib-unix.h>
#include <glib.h>

namespace KR::Platform
{

SignalWatch::SignalWatch(int signal)
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
    ++static_cast<SignalWatch*>(self)->mCount;
    RearmIdle();
    return G_SOURCE_CONTINUE;
}

} // namespace KR::Platform
