#pragma once
// What the display tests of modal windows share: the system window a control lives in,
// and a timer that acts from inside whatever loop runs (the modal loop of DoModal does not
// return to the test before the dialog ends).

#include "kr/ui/Control.h"
#include "kr/ui/RootWindow.h"
#include "platform/window/Window.h"

#include <chrono>
#include <cstdint>
#include <functional>

namespace KR::TestSupport
{

// The system window of the root window a control lives in.
inline std::uintptr_t WindowOf(const RCPtr<LControl>& control)
{
    const auto* root = dynamic_cast<LRootWindow*>(control->GetRootWindow().Get());
    return root && root->GetOSServices() ? root->GetOSServices()->GetWindowHandle() : 0;
}

// Does `act` once, from inside whatever loop runs, as soon as `ready` holds: the modal
// loop of DoModal does not return to the test before the dialog ends.
class OnceReady : public Platform::IWindowProcedure
{
public:
    OnceReady(std::function<bool()> ready, std::function<void()> act, std::function<void()> giveUp)
        : mReady(std::move(ready)), mAct(std::move(act)), mGiveUp(std::move(giveUp))
    {
        Platform::WindowCreateParams params;
        params.procedure = this;
        mTimer = Platform::CreateWindow(params);
        Platform::SetTimer(mTimer, 1, 5);
    }
    ~OnceReady() override { Platform::DestroyWindow(mTimer); }
    std::intptr_t WindowProc(Platform::WindowHandle, std::uint32_t message, std::uintptr_t,
                             std::intptr_t) override
    {
        if (message != Platform::WM_TIMER)
        {
            return 0;
        }
        if (!done && mReady())
        {
            done = true;
            mAct();
        }
        else if (std::chrono::steady_clock::now() > mDeadline && mGiveUp)
        {
            // Bounded: a dialog that never ends would hold the test for good.
            Platform::KillTimer(mTimer, 1);
            mGiveUp();
        }
        return 0;
    }
    bool done = false;

private:
    std::function<bool()> mReady;
    std::function<void()> mAct;
    std::function<void()> mGiveUp;
    std::chrono::steady_clock::time_point mDeadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(10);
    Platform::WindowHandle mTimer = 0;
};

} // namespace KR::TestSupport
