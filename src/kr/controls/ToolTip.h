#pragma once
// KR::LToolTip: the text a control shows after the pointer rests on it (the skin's
// "toolTip", made inside that control). Shown 500 ms after it is asked for, or at once
// when another was hidden less than 50 ms before (moving from control to control); hidden
// again 5 s after it appeared. It sizes itself to its text up to the window's width less
// 8 and stands 20 below the pointer, kept inside the window. Never takes the focus; sends
// nothing; takes no input. Times on the application's millisecond clock.

#include "kr/ui/Control.h"
#include "kr/ui/PopupControls.h"

#include <cstdint>

namespace KR
{

class LToolTip : public LControl, public IToolTip
{
public:
    static constexpr char16_t kClassName[] = u"Framework.ToolTip";
    static constexpr std::uint32_t kDelayMs = 500;
    static constexpr std::uint32_t kLifeMs = 5000;
    static constexpr std::uint32_t kQuickShowMs = 50;

    enum State : std::uint32_t
    {
        kIdle = 0,
        kWaiting = 1,
        kShown = 2,
    };

    using LControl::LControl;

    Result ReadCreateParams() override; // 88
    Result PlaceParts() override;       // 90

    Result Show() override;
    Result Hide() override;

    State GetState() const { return mState; }
    // Beside the pointer, inside the window's client area; nothing without a parent or a
    // window.
    void Place();
    // Tests start from no tooltip hidden before.
    static void ForgetLastHide();

protected:
    Result OnIdle(const RCPtr<LNotificationDistributor>& sender,
                  const RCPtr<LNotification>& notification) override;

private:
    void Appear();

    State mState = kIdle;
    std::uint32_t mStateTime = 0;
    bool mIdleHeld = false;
};

} // namespace KR
