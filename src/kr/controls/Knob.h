#pragma once
// KR::LKnob: a rotary control that shows its value as one frame of a film strip of looks:
// looks 0..N-1 are the frames (value 0 to 1), look N is empty and ends the strip, look N+1
// (optional) is the focus overlay and look N+2 (optional) the disabled overlay, drawn over
// every frame. A left drag turns it: linearly (right or up increases; the full range of
// travel is "LINEAR_GESTURE_FULL_RANGE" pixels, by default 128 rounded to a multiple of N),
// or radially when "RADIAL_GESTURE_START_ANGLE" or "RADIAL_GESTURE_END_ANGLE" is not 0
// (degrees clockwise from 12 o'clock: the pointer's angle around the centre sets the
// value; the dead zone past the end snaps to the nearer end). Ctrl scales a linear step by
// "FINE_ADJUST_MULTIPLIER" (0: 0.25). A knob without frames, or with a linear range under 2
// pixels, shows no frame and ignores drags. Value scaling 0..127.
// Sends, synchronously on the UI thread: "NID_VALUE_CHANGE" (LValueParam) through the
// base; "NID_VALUE_CHANGE_CAPTURE" (LHolder<bool>) true when a drag starts, false when it
// ends; "NID_VALUE_CHANGE_KEY_DOWN" / "_KEY_UP" around an arrow-key run, as the slider.
// Input: the arrows without modifiers and both wheels step one unit (taken); other keys climb.

#include "kr/controls/Slider.h"
#include "kr/core/Point.h"
#include "kr/ui/Control.h"

#include <cstdint>

namespace KR
{

class LKnob : public LControl
{
public:
    static constexpr char16_t kClassName[] = u"Framework.Knob";
    static constexpr double kDefaultFineMultiplier = 0.25;

    using LControl::LControl;
    ~LKnob() override;

    // During a drag the value is held and applied when the drag ends.
    double SetValue(double value) override;                                         // 1
    void OnValueChanged() override;                                                 // 2
    Result OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override; // 36
    Result OnMouseMoved(const RCPtr<LPointWithModifiersParam>& point) override;     // 63
    Result OnVerticalWheel(const RCPtr<LMouseWheelParam>& wheel) override;          // 64: taken
    Result OnHorizontalWheel(const RCPtr<LMouseWheelParam>& wheel) override;        // 65: taken
    Result OnKeyDown(const RCPtr<LKeyParam>& key) override;                         // 75: arrows taken
    Result Initialize() override;                                                   // 87
    Result ReadCreateParams() override;                                             // 88
    Result PlaceParts() override;                                                   // 90

    bool IsRadial() const { return mRadial; }
    std::int32_t GetLinearFullRange() const { return mLinearFullRange; }
    double GetStartAngle() const { return mStartAngle; }
    double GetEndAngle() const { return mEndAngle; }
    double GetFineAdjustMultiplier() const { return mFineMultiplier; }
    std::uint32_t GetFrameCount() const { return mFrameCount; }
    std::int32_t GetFocusLookIndex() const { return mFocusLook; }
    std::int32_t GetDisabledLookIndex() const { return mDisabledLook; }
    PointI GetCentre() const { return mCentre; }
    bool IsKeyHeld() const { return mKeys.IsHeld(); }

    // An angle in degrees brought into [0, 360).
    static double NormalizeAngle(double degrees);

private:
    bool IsDragging() const { return (GetConditions() & Condition::kLeftDrag) != 0; }
    void DragLinear(const PointI& point);
    void DragRadial(const PointI& point);
    // Every frame shows the overlay look's client part over its own (null: none).
    void SetFrameOverlays(std::int32_t overlayLook);
    void ApplyOverlays();

    bool mRadial = false;
    std::int32_t mLinearFullRange = 0;
    double mStartAngle = 0.0;
    double mEndAngle = 0.0;
    double mFineMultiplier = 0.0;
    std::uint32_t mFrameCount = 0;
    PointI mLast{};
    PointI mPrevious{};
    PointI mCentre{};
    double mPendingValue = -1.0;
    bool mApplyPendingAtRelease = true;
    std::int32_t mFocusLook = -1;
    std::int32_t mDisabledLook = -1;
    LValueKeyRun mKeys;
};

} // namespace KR
