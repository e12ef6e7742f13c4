#pragma once
// KR::LSlider: a thumb button that travels on a straight line between two marker parts of
// the skin, "thumbStart" (value 0) and "thumbEnd" (value 1): horizontal, vertical or
// slanted. The thumb is a copy of "thumbStart" named "thumb", placed by its absolute
// position alone; the markers are hidden. Without "thumbStart" there is no thumb; without
// "thumbEnd", or with both markers at one point, the thumb is not placed and neither the
// track nor a drag changes the value (keys and the wheel still do).
// Looks: 0 normal, 1 containing the focus, 2 disabled. Value scaling 0..127, so a key or
// a wheel notch moves one unit of 127.
// Sends, synchronously on the UI thread:
//   "NID_VALUE_CHANGE" (LValueParam) through the base on every change, and at the end of a
//       drag when always-notify is on and the value set meanwhile equals the value;
//   "NID_VALUE_CHANGE_CAPTURE" (LHolder<bool>): true when a thumb drag starts, false when
//       it ends;
//   "NID_VALUE_CHANGE_KEY_DOWN" (LKeyParam) at the first arrow press of a run,
//   "NID_VALUE_CHANGE_KEY_UP" (LKeyParam) at an arrow's release, or without payload when
//       the focus leaves during a run.
// Input: a click on the track pages 0.1 toward it; holding a drag on the track repeats the
// page (0.3 s, then every 0.1 s) while the pointer is over the slider, never past it. The
// arrows without modifiers and both wheels step the value (taken); other keys climb.

#include "kr/controls/Button.h"
#include "kr/core/Point.h"
#include "kr/notify/NotificationHandler.h"
#include "kr/ui/Panel.h"

#include <cstdint>

namespace KR
{

// An arrow-key run of a value control: the first arrow down sends
// "NID_VALUE_CHANGE_KEY_DOWN", each press steps the value one scaled unit, a release
// sends "NID_VALUE_CHANGE_KEY_UP". Shared by the slider and the knob.
class LValueKeyRun
{
public:
    // kOk for an arrow going down without modifiers or an arrow coming up; kNothingDone
    // for every other key.
    Result OnKey(LControl& control, const RCPtr<LKeyParam>& key);
    // The focus left: a run under way ends with "NID_VALUE_CHANGE_KEY_UP" without payload.
    void OnFocusLost(LControl& control);
    bool IsHeld() const { return mHeld; }

private:
    bool mHeld = false;
};

// One scaled unit up or down: +1 for the forward (vertical) or right (horizontal) notch.
void StepValueByWheel(LControl& control, const RCPtr<LMouseWheelParam>& wheel, std::uint32_t upDirection);

// "NID_VALUE_CHANGE_CAPTURE" with the flag.
void SendCaptureChange(LControl& control, bool captured);

class LSlider : public LPanel
{
public:
    static constexpr char16_t kClassName[] = u"Framework.Slider";
    static constexpr std::int32_t kNormalLook = 0;
    static constexpr std::int32_t kFocusLook = 1;
    static constexpr std::int32_t kDisabledLook = 2;
    static constexpr double kPageStep = 0.1;
    static constexpr double kRepeatDelay = 0.3;
    static constexpr double kRepeatInterval = 0.1;

    using LPanel::LPanel;
    ~LSlider() override;

    // The slider's own table, then the panel's.
    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;
    // Clears its own table, then the base class's chain and the client's registration.
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;

    // During a drag the value is held and applied when the drag ends.
    double SetValue(double value) override;                                         // 1
    void OnChildRectChanged(const RCPtr<LControl>& child) override;                 // 7
    Result OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override; // 36
    Result OnVerticalWheel(const RCPtr<LMouseWheelParam>& wheel) override;          // 64: taken
    Result OnHorizontalWheel(const RCPtr<LMouseWheelParam>& wheel) override;        // 65: taken
    Result OnBeforeLeftClick(const RCPtr<LMouseButtonParam>& button) override;      // 70
    Result OnKeyDown(const RCPtr<LKeyParam>& key) override;                         // 75: arrows taken
    // The arrows its thumb passes on, once a press gave the thumb the focus.
    Result DispatchKey(const RCPtr<LKeyParam>& key) override; // 77
    Result Initialize() override;                             // 87
    // A "thumb" added without a layout takes the thumb's copy of the start marker's.
    Result AddChildControl(const RCPtr<LControl>& child,
                           ConstRCPtr<LControlDescriptor> descriptor) override; // 89
    Result PlaceParts() override;                                               // 90

    // Adopts a "thumb" child when there is no thumb yet, then places it from the value.
    void OnLookChanged();

    // Send "NID_VALUE_CHANGE" at the end of a drag even when the value did not change.
    void SetAlwaysNotifyAtRelease(bool on) { mAlwaysNotify = on; }
    const RCPtr<LControl>& GetThumb() const { return mThumb; }
    bool IsDragging() const { return mDragging; }
    bool IsRepeating() const { return mRepeating; }
    bool IsKeyHeld() const { return mKeys.IsHeld(); }
    PointI GetAnchorOffset() const { return mAnchorOffset; }

protected:
    Result OnIdle(const RCPtr<LNotificationDistributor>& sender,
                  const RCPtr<LNotification>& notification) override;

private:
    Result OnThumbMove(const RCPtr<LNotificationDistributor>& sender,
                       const RCPtr<LNotification>& notification);
    Result OnThumbDrag(const RCPtr<LNotificationDistributor>& sender,
                       const RCPtr<LNotification>& notification);

    // The track's ends; false when the thumb cannot be placed on it (no thumb, a missing
    // marker, or both markers at one point).
    bool GetTrack(PointI& start, PointI& end, double& length) const;
    // The copy of the start marker's layout that its absolute position alone places.
    RCPtr<LLayoutDescriptor> MakeThumbLayout() const;
    void AdoptThumb(const RCPtr<LControl>& thumb);
    PointI ThumbAt() const;
    void MoveThumbTo(const PointI& point);
    void PlaceThumb();
    // The value of a thumb position on the track, then the thumb placed from it.
    void SetValueFromThumb(const PointI& point);
    void PageToward(const PointI& point);
    void StopRepeating();
    void SelectLookFor(std::uint32_t conditions);

    RCPtr<LNotificationHandler<LSlider>> mHandler;
    RCPtr<LControl> mThumb;
    RCPtr<LControl> mThumbStart;
    RCPtr<LControl> mThumbEnd;
    bool mDragging = false;
    PointI mGrabOffset{};
    bool mRepeating = false;
    double mLastRepeatTime = 0.0;
    double mRepeatCountdown = 0.0;
    double mPendingValue = -1.0;
    bool mApplyPendingAtRelease = true;
    bool mAlwaysNotify = false;
    LValueKeyRun mKeys;
    PointI mAnchorOffset{};
};

} // namespace KR
