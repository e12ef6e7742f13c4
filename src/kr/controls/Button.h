#pragma once
// KR::LButton: the skinned push button, also toggle, radio and auto-repeating arrow, and the
// part type of the scroll bar's arrows, thumb and of other controls' arrows. It draws
// nothing itself: it picks one of its skin's 14 looks (0..6 off, 7..13 on: normal, hover,
// pressed, the three focused, disabled). Its value is on at 0.5 or more.
// Sends "NID_BUTTON_AUTOREPEAT" (no payload, UI thread) while an auto-repeat button is held,
// and through the base "NID_LEFT_CLICK" and "NID_VALUE_CHANGE". Takes Enter (without
// modifiers) and "NID_SIMULATE_CLICK" as a click; every other key climbs on.

#include "kr/notify/NotificationHandler.h"
#include "kr/ui/Control.h"

#include <cstdint>

namespace KR
{

class LButton : public LControl
{
public:
    static constexpr char16_t kClassName[] = u"Framework.Button";
    static constexpr std::int32_t kLookCount = 14;
    static constexpr std::int32_t kOnLooks = 7; // added to an off look for the on one
    static constexpr std::int32_t kFocusedLooks = 3;
    static constexpr std::int32_t kNormalLook = 0;
    static constexpr std::int32_t kHoverLook = 1;
    static constexpr std::int32_t kPressedLook = 2;
    static constexpr std::int32_t kDisabledLook = 6;
    // Enter going down, without modifiers.
    static constexpr std::uint32_t kEnterKey = 0x200D0000;

    LButton(const RCPtr<LControl>& parent, const String& name);
    ~LButton() override;

    // Offers a notification to the button's own table, then to the control's.
    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;

    void OnValueChanged() override;                                                              // 2
    Result OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override;              // 36
    void SetEnabled(bool enabled) override;                                                      // 49
    RCPtr<LControl> HitTest(const PointI& point, PointI& localPoint, bool visibleOnly) override; // 54
    Result OnBeforeLeftClick(const RCPtr<LMouseButtonParam>& button) override;                   // 70
    Result OnKeyDown(const RCPtr<LKeyParam>& key) override;                                      // 75
    Result Initialize() override;                                                                // 87

    // Presses the button from the program or the keyboard: the pressed look for a moment,
    // then the click. A press still showing is completed first.
    void SimulateClick();
    // Chooses the one active look from the value and the conditions.
    void UpdateLook();

    bool IsAutoValueSet() const { return mAutoValueSet; }
    // As the create parameter AUTO_VALUE_SET: a click toggles the value.
    void SetAutoValueSet(bool on) { mAutoValueSet = on; }
    bool IsRadio() const { return mIsRadio; }
    bool IsRepeating() const { return mRepeating; }
    bool IsSimulatedPressShowing() const { return mSimulatedPressShowing; }

    // Set by owning controls before use.
    bool autoRepeat = false;
    // Never hit by the pointer; its owner sets its look.
    bool mouseTransparent = false;
    // A captured, dragged button keeps its pressed look with the pointer outside it (thumbs).
    bool pressedWhenDraggedOff = false;
    // Cleared by an owner that takes the button over.
    void SetRepeating(bool repeating);

protected:
    Result OnIdle(const RCPtr<LNotificationDistributor>& sender,
                  const RCPtr<LNotification>& notification) override;

private:
    Result OnSimulateClickNotification(const RCPtr<LNotificationDistributor>& sender,
                                       const RCPtr<LNotification>& notification);
    // The click at the end of a simulated press.
    void FinishSimulatedClick();
    // One idle request while repeating or a simulated press holds; none otherwise.
    void HoldIdleWhileBusy();

    RCPtr<LNotificationHandler<LButton>> mHandler;
    bool mAutoValueSet = false;
    bool mIsRadio = false;
    bool mRepeating = false;
    double mRepeatInterval = 0.1;
    double mRepeatDelay = 0.3;
    double mLastRepeatTick = 0.0;
    double mRepeatCountdown = 0.0;
    double mSimulatedPressTime = 0.15;
    double mSimulatedPressStart = 0.0;
    bool mSimulatedPressShowing = false;
    bool mIdleHeld = false;
};

} // namespace KR
