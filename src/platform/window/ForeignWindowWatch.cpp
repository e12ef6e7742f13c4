#include "platform/window/ForeignWindowWatch.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace KR::Platform
{
namespace
{

// Another program's window may go at any moment: its errors are expected, not fatal. The
// handler is Xlib's one per process, so it is swapped in only around our own requests.
int IgnoreError(Display*, XErrorEvent*)
{
    return 0;
}

class ErrorsIgnored
{
public:
    explicit ErrorsIgnored(Display* display) : mDisplay(display), mOld(XSetErrorHandler(&IgnoreError)) {}
    ~ErrorsIgnored()
    {
        XSync(mDisplay, False);
        XSetErrorHandler(mOld);
    }
    ErrorsIgnored(const ErrorsIgnored&) = delete;
    ErrorsIgnored& operator=(const ErrorsIgnored&) = delete;

private:
    Display* mDisplay;
    XErrorHandler mOld;
};

pid_t WindowPid(Display* display, ::Window window)
{
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", True);
    if (pidAtom == None)
    {
        return -1;
    }
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    pid_t pid = -1;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) == Success &&
        data != nullptr && format == 32 && count == 1)
    {
        pid = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data));
    }
    if (data != nullptr)
    {
        XFree(data);
    }
    return pid;
}

} // namespace

ForeignWindowWatch::ForeignWindowWatch()
{
    Display* display = XOpenDisplay(nullptr);
    if (display != nullptr)
    {
        XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
        XSync(display, False);
    }
    mDisplay = display;
}

ForeignWindowWatch::~ForeignWindowWatch()
{
    if (mDisplay != nullptr)
    {
        if (mBackdrop != 0)
        {
            XDestroyWindow(static_cast<Display*>(mDisplay), static_cast<::Window>(mBackdrop));
        }
        XCloseDisplay(static_cast<Display*>(mDisplay));
    }
}

std::uint64_t ForeignWindowWatch::MappedWindowOf(pid_t pid)
{
    auto* display = static_cast<Display*>(mDisplay);
    if (display == nullptr)
    {
        return 0;
    }
    if (mMappedPid != pid)
    {
        mMapped = 0;
        mMappedPid = pid;
    }
    ErrorsIgnored ignored(display);
    while (XPending(display) > 0)
    {
        XEvent event{};
        XNextEvent(display, &event);
        if (event.type == MapNotify && mMapped == 0 && event.xmap.event == DefaultRootWindow(display) &&
            !event.xmap.override_redirect && WindowPid(display, event.xmap.window) == pid)
        {
            mMapped = event.xmap.window;
        }
    }
    return mMapped;
}

void ForeignWindowWatch::ForgetCachedVisuals()
{
    auto* display = static_cast<Display*>(mDisplay);
    if (display == nullptr)
    {
        return;
    }
    const Atom cached = XInternAtom(display, "GDK_VISUALS", True);
    if (cached != None)
    {
        XDeleteProperty(display, DefaultRootWindow(display), cached);
        XSync(display, False);
    }
}

bool ForeignWindowWatch::WaitUntilGone(std::uint64_t window, int limitMilliseconds)
{
    auto* display = static_cast<Display*>(mDisplay);
    if (display == nullptr)
    {
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMilliseconds);
    bool gone = false;
    while (!gone && std::chrono::steady_clock::now() < deadline)
    {
        {
            ErrorsIgnored ignored(display);
            XWindowAttributes attributes{};
            gone =
                window == 0 || XGetWindowAttributes(display, static_cast<::Window>(window), &attributes) == 0;
        }
        if (!gone)
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    return gone;
}

void ForeignWindowWatch::ShowBackdrop()
{
    auto* display = static_cast<Display*>(mDisplay);
    if (display == nullptr || mBackdrop != 0)
    {
        return;
    }
    const int screen = DefaultScreen(display);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = BlackPixel(display, screen);
    const ::Window backdrop = XCreateWindow(
        display, DefaultRootWindow(display), 0, 0, static_cast<unsigned>(DisplayWidth(display, screen)),
        static_cast<unsigned>(DisplayHeight(display, screen)), 0, CopyFromParent, InputOutput, CopyFromParent,
        CWOverrideRedirect | CWBackPixel, &attributes);
    XMapWindow(display, backdrop);
    XSync(display, False);
    // Its own map is not a program's.
    while (XPending(display) > 0)
    {
        XEvent event{};
        XNextEvent(display, &event);
    }
    mBackdrop = backdrop;
}

bool ForeignWindowWatch::Grab(std::uint64_t window, ForeignFrame& frame)
{
    auto* display = static_cast<Display*>(mDisplay);
    if (display == nullptr || window == 0)
    {
        return false;
    }
    ErrorsIgnored ignored(display);
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, static_cast<::Window>(window), &attributes) == 0 ||
        attributes.map_state != IsViewable || attributes.width <= 0 || attributes.height <= 0)
    {
        return false;
    }
    XImage* image =
        XGetImage(display, static_cast<::Window>(window), 0, 0, static_cast<unsigned>(attributes.width),
                  static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image == nullptr)
    {
        return false;
    }
    if (image->bits_per_pixel != 32)
    {
        XDestroyImage(image);
        return false;
    }
    // FNV-1a over the colour bits: the fourth byte of a 24-bit visual's pixel is padding.
    std::uint64_t hash = 14695981039346656037ull;
    bool uniform = true;
    std::uint32_t first = 0;
    for (int y = 0; y < attributes.height; ++y)
    {
        const char* row = image->data + static_cast<std::ptrdiff_t>(y) * image->bytes_per_line;
        for (int x = 0; x < attributes.width; ++x)
        {
            std::uint32_t pixel = 0;
            std::memcpy(&pixel, row + static_cast<std::ptrdiff_t>(x) * 4, 4);
            pixel &= 0xFFFFFFu;
            if (x == 0 && y == 0)
            {
                first = pixel;
            }
            uniform = uniform && pixel == first;
            hash = (hash ^ pixel) * 1099511628211ull;
        }
    }
    XDestroyImage(image);
    frame.hash = hash;
    frame.uniform = uniform;
    frame.width = attributes.width;
    frame.height = attributes.height;
    return true;
}

} // namespace KR::Platform
