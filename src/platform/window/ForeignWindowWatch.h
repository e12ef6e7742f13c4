#pragma once
// Watches the top-level windows of another process on the X display, for benchmarks that
// time a program's start from outside, as its user sees it: when its window is mapped and
// what the display server shows in it frame by frame.
//
//     KR::Platform::ForeignWindowWatch watch;     // before the program starts
//     ... start the program as pid ...
//     std::uint64_t window = watch.MappedWindowOf(pid);   // 0 until it maps
//     KR::Platform::ForeignFrame frame;
//     watch.Grab(window, frame);
//
// It opens a display connection of its own (DISPLAY), so it neither needs nor disturbs the
// caller's window layer.

#include <sys/types.h>

#include <cstdint>

namespace KR::Platform
{

// What one read-back of a window showed: a hash of its pixels and whether they are all one
// colour (a window mapped but not yet painted).
struct ForeignFrame
{
    std::uint64_t hash = 0;
    bool uniform = true;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

class ForeignWindowWatch
{
public:
    ForeignWindowWatch();
    ~ForeignWindowWatch();
    ForeignWindowWatch(const ForeignWindowWatch&) = delete;
    ForeignWindowWatch& operator=(const ForeignWindowWatch&) = delete;

    // False without a display.
    bool IsOpen() const { return mDisplay != nullptr; }

    // Reads the map events that have arrived; the first mapped top-level window that the
    // process marked as its own (_NET_WM_PID), or 0 while there is none.
    std::uint64_t MappedWindowOf(pid_t pid);

    // GDK keeps the visuals it chose by probing OpenGL on the root window (GDK_VISUALS), and
    // a later GTK program on the same display takes them from there instead of probing
    // again. Dropping them before a start measures the start on its own, whatever ran
    // before it on the display.
    void ForgetCachedVisuals();

    // Waits (at most the limit) until the window is gone, so the next program measured does
    // not map its window below the last one's. False at the limit.
    // A black window over the whole screen, below what maps later. A window shows the pixels
    // below it until it first paints, and without it those would be whatever the program
    // measured before left there: a frame that is not all one colour but not this program's.
    void ShowBackdrop();
    bool WaitUntilGone(std::uint64_t window, int limitMilliseconds);

    // The window's pixels as the display server holds them now; false when it is not (or
    // no longer) viewable.
    bool Grab(std::uint64_t window, ForeignFrame& frame);

private:
    void* mDisplay = nullptr;
    std::uint64_t mMapped = 0;
    std::uint64_t mBackdrop = 0;
    pid_t mMappedPid = -1;
};

} // namespace KR::Platform
