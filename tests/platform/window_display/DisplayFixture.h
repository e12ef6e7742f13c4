#pragma once
// A window on the test display that records its messages, pumping with bounded waits, and
// xdotool at hand.

#include "platform/window/MessageLoop.h"
#include "platform/window/Window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace KR::Platform::Test
{

struct Message
{
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
};

class RecordingProcedure : public IWindowProcedure
{
public:
    std::intptr_t WindowProc(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) override
    {
        messages.push_back({message, wParam, lParam});
        return hook ? hook(window, message, wParam, lParam) : 0;
    }
    std::vector<Message> Of(std::uint32_t message) const
    {
        std::vector<Message> found;
        for (const Message& m : messages)
        {
            if (m.message == message)
            {
                found.push_back(m);
            }
        }
        return found;
    }
    // Messages of these kinds only, in order.
    std::vector<std::uint32_t> Sequence(const std::vector<std::uint32_t>& kinds) const
    {
        std::vector<std::uint32_t> found;
        for (const Message& m : messages)
        {
            for (std::uint32_t kind : kinds)
            {
                if (m.message == kind)
                {
                    found.push_back(kind);
                }
            }
        }
        return found;
    }

    std::vector<Message> messages;
    std::function<std::intptr_t(WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t)> hook;
};

// Runs the message loop until done() holds, looking every 5 ms, for at most `seconds`;
// with an idle function, the loop's idle passes call it as the program's main loop does.
inline bool PumpUntil(const std::function<bool()>& done, double seconds = 10.0,
                      std::function<bool(int pass)> idle = {})
{
    if (done())
    {
        return true;
    }
    struct Poll : IWindowProcedure
    {
        MessageLoop* loop = nullptr;
        std::function<bool()> finished;
        std::intptr_t WindowProc(WindowHandle, std::uint32_t message, std::uintptr_t, std::intptr_t) override
        {
            if (message == WM_TIMER && finished())
            {
                loop->End();
            }
            return 0;
        }
    } poll;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    MessageLoop loop(std::move(idle));
    poll.loop = &loop;
    poll.finished = [&] { return done() || std::chrono::steady_clock::now() > deadline; };
    WindowCreateParams params;
    params.procedure = &poll;
    const WindowHandle timer = CreateWindow(params);
    SetTimer(timer, 1, 5);
    loop.Run();
    DestroyWindow(timer);
    return done();
}

// Whether a test can drive the display: one is named and xdotool is installed.
inline bool CanDriveDisplay()
{
    return std::getenv("DISPLAY") != nullptr && std::system("command -v xdotool >/dev/null 2>&1") == 0;
}

inline int Xdo(const std::string& arguments)
{
    return std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str());
}

inline std::string Capture(const std::string& command)
{
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r"))
    {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
        {
            out += buffer;
        }
        pclose(pipe);
    }
    return out;
}

// The editor's main window is 1200 x 750 and keeps that size: on a smaller screen part of it
// lies off the screen, where a test can neither click it nor read it back.
inline constexpr int kMainWindowWidth = 1200;
inline constexpr int kMainWindowHeight = 750;

// Why a test that shows the main window cannot run on this display's screen, "" when it can
// (or when xdotool cannot tell the screen's size).
inline std::string ScreenTooSmallForTheMainWindow()
{
    int width = 0, height = 0;
    if (std::sscanf(Capture("xdotool getdisplaygeometry 2>/dev/null").c_str(), "%d %d", &width, &height) !=
            2 ||
        (width >= kMainWindowWidth && height >= kMainWindowHeight))
    {
        return {};
    }
    return "the screen (" + std::to_string(width) + " x " + std::to_string(height) +
           ") is smaller than the main window (" + std::to_string(kMainWindowWidth) + " x " +
           std::to_string(kMainWindowHeight) + ")";
}

// Why a test cannot drive the main window on the display, "" when it can.
inline std::string WhyTheMainWindowCannotBeDriven()
{
    return CanDriveDisplay() ? ScreenTooSmallForTheMainWindow() : "no display or no xdotool";
}

// The places (X=, Y=) of what an xdotool command with --shell reported, in order.
inline std::vector<std::pair<int, int>> ReportedPlaces(const std::string& report)
{
    std::vector<std::pair<int, int>> places;
    std::istringstream in(report);
    for (std::string line; std::getline(in, line);)
    {
        if (line.rfind("X=", 0) == 0)
        {
            places.emplace_back(std::atoi(line.c_str() + 2), 0);
        }
        else if (line.rfind("Y=", 0) == 0 && !places.empty())
        {
            places.back().second = std::atoi(line.c_str() + 2);
        }
    }
    return places;
}

// Puts the pointer at (x, y) of the screen and waits until it is there. xdotool's "--sync"
// waits for the pointer to leave where it was, even when that is the very spot: a pointer
// left there by an earlier click or an earlier test waited out xdotool's whole 15 s limit.
// So a pointer already in place is not moved.
inline bool MovePointerOnScreen(int x, int y)
{
    const std::vector<std::pair<int, int>> at =
        ReportedPlaces(Capture("xdotool getmouselocation --shell 2>/dev/null"));
    return (at.size() == 1 && at[0] == std::pair(x, y)) ||
           Xdo("mousemove --sync " + std::to_string(x) + " " + std::to_string(y)) == 0;
}

// The same at (x, y) of a window (any program's, by its X id).
inline bool MovePointer(std::uint64_t window, int x, int y)
{
    const std::vector<std::pair<int, int>> corner = ReportedPlaces(
        Capture("xdotool getwindowgeometry --shell " + std::to_string(window) + " 2>/dev/null"));
    return corner.size() == 1 && MovePointerOnScreen(corner[0].first + x, corner[0].second + y);
}

// The colour at (x, y) of a window (any program's, by its X id) as the X server has it;
// 0xFFFFFFFF when it cannot be read.
inline std::uint32_t Pixel(std::uint64_t window, int x, int y)
{
    std::vector<std::uint32_t> pixels;
    std::int32_t width = 0, height = 0;
    if (!CaptureNativeWindow(window, pixels, width, height) || x >= width || y >= height)
    {
        return 0xFFFFFFFF;
    }
    return pixels[static_cast<std::size_t>(y) * width + x] & 0xFFFFFF;
}

// A blank window of the test's own over the others (its procedure answers nothing), for
// what a covered window must do. It goes at Remove or with the object.
class CoverWindow
{
public:
    explicit CoverWindow(WindowRect client, bool decorated = true)
    {
        WindowCreateParams params;
        params.title = "cover";
        params.client = client;
        params.decorated = decorated;
        params.procedure = &blank_;
        handle_ = CreateWindow(params);
        ShowWindow(handle_, SW_SHOWNORMAL);
        BringWindowToTop(handle_);
    }
    ~CoverWindow() { Remove(); }
    CoverWindow(const CoverWindow&) = delete;
    CoverWindow& operator=(const CoverWindow&) = delete;

    void Remove()
    {
        if (handle_ != 0)
        {
            DestroyWindow(handle_);
            handle_ = 0;
        }
    }
    WindowHandle Handle() const { return handle_; }

private:
    struct Blank : IWindowProcedure
    {
        std::intptr_t WindowProc(WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) override
        {
            return 0;
        }
    } blank_;
    WindowHandle handle_ = 0;
};

// A test on the display: skipped without one, the window system started. A fixture's own
// set-up calls this one first and stops when it skipped or failed.
class OnDisplay : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
        {
            GTEST_SKIP() << "no display";
        }
        ASSERT_TRUE(InitializeWindowSystem());
    }
    bool Stopped() const { return IsSkipped() || HasFatalFailure(); }
};

// The same for a test that shows the editor's main window: skipped on a screen too small for it.
class OnMainWindowDisplay : public OnDisplay
{
protected:
    void SetUp() override
    {
        OnDisplay::SetUp();
        if (Stopped())
        {
            return;
        }
        if (const std::string why = ScreenTooSmallForTheMainWindow(); !why.empty())
        {
            GTEST_SKIP() << why;
        }
    }
};

class DisplayTest : public OnDisplay
{
protected:
    void SetUp() override
    {
        OnDisplay::SetUp();
        if (Stopped())
        {
            return;
        }
        window = Open(procedure, {100, 100, 200, 150});
        ASSERT_NE(window, 0u);
    }
    void TearDown() override
    {
        for (WindowHandle handle : opened)
        {
            DestroyWindow(handle);
        }
        ReleaseCapture();
    }

    // A shown window that has painted once.
    WindowHandle Open(RecordingProcedure& recorder, WindowRect client)
    {
        WindowCreateParams params;
        params.title = "Test window";
        params.className = "KRFrameworkWindow";
        params.client = client;
        params.procedure = &recorder;
        const WindowHandle handle = CreateWindow(params);
        opened.push_back(handle);
        ShowWindow(handle, SW_SHOWNORMAL);
        EXPECT_TRUE(PumpUntil([&] { return !recorder.Of(WM_PAINT).empty(); }));
        return handle;
    }

    // Puts the pointer at a client point; the window under it becomes active.
    void PointAt(std::int32_t x, std::int32_t y)
    {
        WindowPoint screen{x, y};
        ClientToScreen(window, screen);
        ASSERT_TRUE(MovePointerOnScreen(screen.x, screen.y));
    }
    std::string Xid() const { return std::to_string(GetNativeWindowId(window)); }

    RecordingProcedure procedure;
    WindowHandle window = 0;
    std::vector<WindowHandle> opened;
};

} // namespace KR::Platform::Test
