#pragma once
// KR::LComboSlider: a drop-down whose closed face shows the scaled value as a number
// ("%0.0f", or with SetDecimals that many digits after the point) and whose drop-down part,
// "dropDownPanel" (a panel, hidden until opened), holds a "slider". The value goes both
// ways: set on the combo slider it moves the slider; moved on the slider it becomes the
// combo slider's. Opened, the panel keeps its skin's X unless it would pass the root
// control's right edge; then it moves left to meet that edge, never past the left one.
// Without "dropDownPanel" it opens nothing (ShowDropDown gives kFail).
// Looks: 0 normal, 1 focused, 2 hovered, 3 hovered and focused, 4 open, 5 open and
// hovered, 6 disabled.
// Sends "NID_VALUE_CHANGE" (LValueParam, UI thread) through the base when its value
// changes. Input is the drop-down base's: a press opens or closes, losing the focus closes.

#include "kr/controls/DropDownControl.h"
#include "kr/notify/NotificationHandler.h"
#include "kr/ui/Panel.h"

#include <cstdint>

namespace KR
{

class LComboSlider : public LDropDownControl
{
public:
    static constexpr char16_t kClassName[] = u"Framework.ComboSlider";
    static constexpr std::int32_t kNormalLook = 0;
    static constexpr std::int32_t kHoverLook = 2;
    static constexpr std::int32_t kOpenLook = 4;
    static constexpr std::int32_t kDisabledLook = 6;

    using LDropDownControl::LDropDownControl;
    ~LComboSlider() override;

    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;
    // Clears its own table, then the base class's chain and the client's registration.
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;

    double SetValue(double value) override;                                         // 1
    void OnValueChanged() override;                                                 // 2
    Result OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override; // 36
    Result Initialize() override;                                                   // 87

    bool IsDropDownShown() override;
    Result ShowDropDown(bool show) override;

    // Digits after the point in the face's number; the face is written again.
    void SetDecimals(std::int32_t decimals);
    std::int32_t GetDecimals() const { return mDecimals; }
    // The face's text for the current value.
    String FormatValue() const;
    const RCPtr<LPanel>& GetDropDownPanel() const { return mPanel; }
    // Chooses the one look from the conditions and whether the panel is open.
    void UpdateLook();

private:
    Result OnSliderValue(const RCPtr<LNotificationDistributor>& sender,
                         const RCPtr<LNotification>& notification);
    const RCPtr<LControl>& FindSlider() const;

    RCPtr<LNotificationHandler<LComboSlider>> mHandler;
    RCPtr<LPanel> mPanel;
    std::int32_t mDecimals = 0;
};

} // namespace KR
