#pragma once
// KR::LSplashScreen: the start-up picture in a borderless window centred on the work area,
// with a progress bar that steps by itself every 250 ms while the program loads.
//
//     KR::LSplashScreen splash;
//     splash.SetImage(bitmap);
//     splash.Start();
//     splash.SetProgressRange(0, 100, 8);   // 32 steps of 3 over 8 seconds
//     ... each step of the start-up:
//     splash.PaintPending();
//     splash.Stop();
//
// The window belongs to the user-interface thread, as every window of the program does, so
// the start-up code calls the splash directly and the bar's steps come from a timer of the
// window layer (a GLib timeout). While the start-up holds the thread, nothing paints or
// steps until it calls PaintPending. UI thread only.

#include "kr/core/RCPtr.h"
#include "kr/core/StringT.h"
#include "kr/render/Bitmap.h"
#include "platform/window/Window.h"

#include <cstdint>

namespace KR
{

class LSplashScreen : public Platform::IWindowProcedure
{
public:
    static constexpr std::uintptr_t kStepTimer = 10;
    static constexpr std::uint32_t kStepMs = 250;
    // The bar's own range, and where it sits: 4 from the sides, 20 from the bottom, 16 high.
    static constexpr std::int32_t kBarMinimum = 0;
    static constexpr std::int32_t kBarMaximum = 100;
    static constexpr std::int32_t kBarInset = 4;
    static constexpr std::int32_t kBarBottom = 20;
    static constexpr std::int32_t kBarHeight = 16;
    static constexpr std::uint32_t kDefaultBarColor = 0xFF06B025;

    LSplashScreen() = default;
    ~LSplashScreen() override;
    LSplashScreen(const LSplashScreen&) = delete;
    LSplashScreen& operator=(const LSplashScreen&) = delete;

    // Keeps a copy of the bitmap's pixels; only when no image is held yet.
    void SetImage(const ConstRCPtr<LBitmap>& bitmap);
    bool HasImage() const { return mImage != nullptr; }
    // A title makes the window an ordinary one for the desktop's task list; empty (the
    // default) keeps it off. Takes effect at Start.
    void SetTitle(const String& title) { mTitle = title; }
    const String& GetTitle() const { return mTitle; }

    // Shows the window, once; nothing without an image. A window that cannot be made is
    // reported on standard error and the program carries on without one.
    void Start();
    // Stops the steps and closes the window, then lets go of the image and the title.
    void Stop();
    bool IsRunning() const { return mWindow != 0; }
    Platform::WindowHandle GetWindow() const { return mWindow; }

    // The bar to `start`, then (end - start) / (4 x steps) every 250 ms, 4 x steps times;
    // steps 0 (or below) sets the position only.
    void SetProgressRange(std::int32_t start, std::int32_t end, std::int32_t steps);
    // The bar's position, clamped to 0..100.
    void SetProgressPos(std::int32_t position);
    // 0xAARRGGBB; painted opaque.
    void SetBarColor(std::uint32_t argb);

    // One step of the timer: the bar advances by the step and the countdown by one; the
    // timer stops when the countdown is out.
    void Tick();
    // Paints the window and runs the steps that are due, without waiting.
    void PaintPending();

    bool HasBar() const { return mHasBar; }
    std::int32_t GetPosition() const { return mPosition; }
    std::int32_t GetStep() const { return mStep; }
    std::int32_t GetTicksLeft() const { return mTicksLeft; }
    bool IsStepping() const { return mStepping; }
    std::uint32_t GetBarColor() const { return mBarColor; }

    std::intptr_t WindowProc(Platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) override;

private:
    void EnsureBar();
    void InvalidateBar();
    void StopStepping();
    void Paint();

    ConstRCPtr<LBitmap> mImage;
    Platform::WindowHandle mWindow = 0;
    String mTitle;
    bool mHasBar = false;
    std::int32_t mPosition = kBarMinimum;
    std::int32_t mStep = 10; // the bar's own step before a range sets one
    std::int32_t mTicksLeft = 0;
    bool mStepping = false;
    std::uint32_t mBarColor = kDefaultBarColor;
};

} // namespace KR
