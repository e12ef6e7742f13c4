#pragma once
// KR::LNumericUpDown: the number field of the edit panels ("Framework.NumericUpDown"): a
// text box showing the scaled value (InterpolateValue of the control's 0..1 value) and two
// auto-repeating arrow buttons that step it. Typed numbers are read with "C" conventions,
// clamped into the range and shown again in the field's own format.
// Children, each optional: "textBox" (LTextBox), "buttonUp" and "buttonDown" (LButton).
// A skin without one of them still makes a working field with what it has.
// Sends (UI thread) "NID_TEXTBOX_VALIDATING" and "NID_TEXTBOX_VALIDATED" with the text
// box's LTextValidationParams, before acting on them itself, and "NID_VALUE_CHANGE".
//
//     upDown->SetValueScaling(0.0, 127.0, 0);   // shows "0".."127", "-" refused
//     upDown->SetValue(upDown->NormalizeValue(64.0));

#include "kr/notify/NotificationHandler.h"
#include "kr/ui/Panel.h"

#include <cstdint>

namespace KR
{

class LButton;
class LTextBox;

class LNumericUpDown : public LPanel
{
public:
    static constexpr char16_t kClassName[] = u"Framework.NumericUpDown";
    // Up and Down going down, without modifiers.
    static constexpr std::uint32_t kUpKey = 0x20260000;
    static constexpr std::uint32_t kDownKey = 0x20280000;

    using LPanel::LPanel;
    ~LNumericUpDown() override;

    Result ReleaseInternalReferences() override;
    // Its own table first, then the panel's.
    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;
    // Its own table's entry goes first, then the chain's.
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;

    // The text read as a number (0 when it does not start with one), clamped into the range.
    bool SetTextFromString(const String& text) override; // 0
    void OnValueChanged() override;                      // 2
    // Mode 1 needs a minimum and a maximum above 0, else kInvalidArg and nothing changes.
    Result SetValueScaling(double minimum, double maximum, std::int32_t mode) override; // 3
    Result OnKeyDown(const RCPtr<LKeyParam>& key) override;                             // 75
    // Up and Down become presses of the arrow buttons; every other key goes on up.
    Result DispatchKey(const RCPtr<LKeyParam>& key) override; // 77
    Result Initialize() override;                             // 87
    Result PlaceParts() override;                             // 90

    // The change of the scaled value per step of an arrow.
    void SetStep(double step) { mStep = step; }
    double GetStep() const { return mStep; }
    // Digits after the decimal point in the text; refreshes the allowed characters and text.
    void SetDecimals(std::int32_t decimals);
    std::int32_t GetDecimals() const { return mDecimals; }
    // The scaled value as the field shows it ("%0.<decimals>f").
    String FormatValue() const;
    // The characters the field lets through: digits, "." with decimals, "-" below 0.
    String GetAllowedCharacters() const;

    const RCPtr<LTextBox>& GetTextBox() const { return mTextBox; }
    const RCPtr<LButton>& GetUpButton() const { return mUpButton; }
    const RCPtr<LButton>& GetDownButton() const { return mDownButton; }

private:
    Result OnValidating(const RCPtr<LNotificationDistributor>& sender,
                        const RCPtr<LNotification>& notification);
    Result OnValidated(const RCPtr<LNotificationDistributor>& sender,
                       const RCPtr<LNotification>& notification);
    Result OnStep(const RCPtr<LNotificationDistributor>& sender, const RCPtr<LNotification>& notification);
    // 0 when the key pressed an arrow button; 1 for any other key or a missing button.
    Result PressArrowForKey(const RCPtr<LKeyParam>& key);
    void RefreshTextBox();
    // The scaled number a text stands for, inside the range.
    double ReadClamped(const String& text) const;

    RCPtr<LNotificationHandler<LNumericUpDown>> mHandler;
    RCPtr<LTextBox> mTextBox;
    RCPtr<LButton> mUpButton;
    RCPtr<LButton> mDownButton;
    double mStep = 1.0;
    std::int32_t mDecimals = 0;
    // The field's validation is under way.
    bool mValidating = false;
};

} // namespace KR
