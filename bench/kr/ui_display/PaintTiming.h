#pragma once
// What the window benchmarks share: a wait for the next paint, and a system window that
// ends it and keeps the CPU time its paints took.

#include "kr/ui/OSWindow.h"
#include "platform/window/MessageLoop.h"

#include <cstdint>
#include <ctime>

namespace KR::BenchSupport
{

namespace P = Platform;

// The loop waiting for the paint in progress; the paint ends it.
inline P::MessageLoop* gWaiting = nullptr;

// Runs `change` (which asks for a paint) and the messages until the paint was done. GTK
// paints on its frame clock, so the wall time holds a wait for the next frame: the CPU
// time is the cost.
template <typename Change>
void PaintOnce(Change&& change)
{
    P::MessageLoop loop;
    gWaiting = &loop;
    change();
    loop.Run();
    gWaiting = nullptr;
}

inline void PaintDone()
{
    if (gWaiting)
    {
        gWaiting->End();
    }
}

inline double ThreadCpuMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

// A system window that ends the wait at the end of each paint, whatever the paint drew,
// and keeps the CPU time its paints took, the display system's frame around them left out.
class PaintTimingWindow : public OSWindow
{
public:
    std::intptr_t WindowProc(P::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) override
    {
        if (message != P::WM_PAINT)
        {
            return OSWindow::WindowProc(window, message, wParam, lParam);
        }
        const double start = ThreadCpuMicroseconds();
        const std::intptr_t result = OSWindow::WindowProc(window, message, wParam, lParam);
        paintMicroseconds += ThreadCpuMicroseconds() - start;
        ++paints;
        PaintDone();
        return result;
    }
    double paintMicroseconds = 0.0;
    std::int64_t paints = 0;
};

} // namespace KR::BenchSupport
