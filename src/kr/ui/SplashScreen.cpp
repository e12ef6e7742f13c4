#include "kr/ui/SplashScreen.h"

#include "kr/ui/FrameworkApp.h"
#include "platform/graphics/Present.h"
#include "platform/graphics/Surface.h"
#include "platform/window/MessageLoop.h"

#include <algorithm>
#include <cstdio>

namespace KR
{

namespace
{

constexpr std::uint32_t kBarFrame = 0xFFBCBCBC;
constexpr std::uint32_t kBarTrough = 0xFFE6E6E6;

} // namespace

LSplashScreen::~LSplashScreen()
{
    Stop();
}

void LSplashScreen::SetImage(const ConstRCPtr<LBitmap>& bitmap)
{
    if (mImage || !bitmap)
    {
        return;
    }
    // A copy of the bitmap's own rectangle, whether it has an image or is a cut of a sheet.
    mImage = bitmap->Clone();
}

void LSplashScreen::Start()
{
    if (mWindow != 0 || !mImage)
    {
        return;
    }
    if (!Platform::InitializeWindowSystem())
    {
        std::fputs("Unable to create SplashWnd\n", stderr);
        return;
    }
    const std::int32_t width = mImage->GetWidth();
    const std::int32_t height = mImage->GetHeight();
    RectI area = IFrameworkApp::GetInstance().GetWorkArea();
    if (area.width <= 0 || area.height <= 0)
    {
        // The program shows its splash before it makes its application, which would tell
        // the work area: without one, the system tells it.
        const Platform::WindowRect system = Platform::GetWorkArea();
        area = RectI{system.x, system.y, system.width, system.height};
    }
    Platform::WindowCreateParams params;
    params.title = mTitle.ToUtf8().GetPtr();
    params.className = "SplashWnd";
    params.client = {(area.x + area.x + area.width - width) / 2, (area.y + area.y + area.height - height) / 2,
                     width, height};
    // Left resizable: a fixed-size window would take its size from its empty content, not
    // from the image. Without a frame no one can resize it anyway.
    // A pop-up has no frame and never takes the keyboard from the window the user works in.
    params.popup = true;
    params.procedure = this;
    mWindow = Platform::CreateWindow(params);
    if (mWindow == 0)
    {
        std::fputs("Unable to create SplashWnd\n", stderr);
        return;
    }
    Platform::ShowWindow(mWindow, Platform::SW_SHOWNA);
}

void LSplashScreen::Stop()
{
    StopStepping();
    if (mWindow != 0)
    {
        // The window goes before the image it paints.
        const Platform::WindowHandle window = mWindow;
        mWindow = 0;
        Platform::DestroyWindow(window);
    }
    mImage = nullptr;
    mTitle = String();
    mHasBar = false;
    mPosition = kBarMinimum;
    mTicksLeft = 0;
}

void LSplashScreen::SetProgressRange(std::int32_t start, std::int32_t end, std::int32_t steps)
{
    SetProgressPos(start);
    if (steps <= 0)
    {
        // No automatic steps: the caller sets the position itself.
        StopStepping();
        mTicksLeft = 0;
        return;
    }
    const std::int64_t ticks = 4 * static_cast<std::int64_t>(steps);
    mStep = static_cast<std::int32_t>((static_cast<std::int64_t>(end) - start) / ticks);
    mTicksLeft = static_cast<std::int32_t>(std::min<std::int64_t>(ticks, INT32_MAX));
    mStepping = true;
    if (mWindow != 0)
    {
        Platform::SetTimer(mWindow, kStepTimer, kStepMs);
    }
}

void LSplashScreen::SetProgressPos(std::int32_t position)
{
    EnsureBar();
    const std::int32_t clamped = std::clamp(position, kBarMinimum, kBarMaximum);
    if (clamped != mPosition)
    {
        mPosition = clamped;
        InvalidateBar();
    }
}

void LSplashScreen::SetBarColor(std::uint32_t argb)
{
    EnsureBar();
    mBarColor = argb | 0xFF000000u;
    InvalidateBar();
}

void LSplashScreen::Tick()
{
    if (!mStepping)
    {
        return;
    }
    EnsureBar();
    // Past either end the bar starts over from the other, as a stepping bar does.
    const std::int64_t span = kBarMaximum - kBarMinimum;
    std::int64_t next = static_cast<std::int64_t>(mPosition) + mStep;
    if (next > kBarMaximum || next < kBarMinimum)
    {
        next = kBarMinimum + ((next - kBarMinimum) % span + span) % span;
    }
    if (next != mPosition)
    {
        mPosition = static_cast<std::int32_t>(next);
        InvalidateBar();
    }
    if (--mTicksLeft <= 0)
    {
        mTicksLeft = 0;
        StopStepping();
    }
}

void LSplashScreen::PaintPending()
{
    if (mWindow != 0)
    {
        Platform::DispatchPendingMessages();
    }
}

std::intptr_t LSplashScreen::WindowProc(Platform::WindowHandle window, std::uint32_t message,
                                        std::uintptr_t wParam, std::intptr_t)
{
    if (window != mWindow)
    {
        return 0;
    }
    if (message == Platform::WM_PAINT)
    {
        Paint();
    }
    else if (message == Platform::WM_TIMER && wParam == kStepTimer)
    {
        Tick();
    }
    return 0;
}

void LSplashScreen::EnsureBar()
{
    if (!mHasBar)
    {
        mHasBar = true;
        mPosition = kBarMinimum;
        InvalidateBar();
    }
}

void LSplashScreen::InvalidateBar()
{
    if (mWindow != 0)
    {
        Platform::InvalidateRect(mWindow, nullptr);
    }
}

void LSplashScreen::StopStepping()
{
    if (mStepping && mWindow != 0)
    {
        Platform::KillTimer(mWindow, kStepTimer);
    }
    mStepping = false;
}

void LSplashScreen::Paint()
{
    if (!mImage)
    {
        return;
    }
    const RCPtr<LBitmapData> pixels = mImage->LockPixels();
    Platform::Surface frame = Platform::Surface::FromPixels(
        pixels->GetWidth(), pixels->GetHeight(), pixels->GetPixelAddress(0, 0), pixels->GetStride() / 4);
    if (mHasBar)
    {
        Platform::WindowRect client{};
        Platform::GetClientRect(mWindow, client);
        const Platform::PixelRect bar{kBarInset, client.height - kBarBottom, client.width - 2 * kBarInset,
                                      kBarHeight};
        if (bar.width > 2 && bar.height > 2)
        {
            frame.WritePixels(bar, kBarFrame);
            const Platform::PixelRect trough{bar.x + 1, bar.y + 1, bar.width - 2, bar.height - 2};
            frame.WritePixels(trough, kBarTrough);
            const std::int64_t filled = static_cast<std::int64_t>(trough.width) * (mPosition - kBarMinimum) /
                                        (kBarMaximum - kBarMinimum);
            frame.WritePixels({trough.x, trough.y, static_cast<std::int32_t>(filled), trough.height},
                              mBarColor);
        }
    }
    Platform::PresentToWindow(reinterpret_cast<Platform::WindowKey>(mWindow), frame,
                              {Platform::PixelRect{0, 0, frame.GetWidth(), frame.GetHeight()}});
}

} // namespace KR
