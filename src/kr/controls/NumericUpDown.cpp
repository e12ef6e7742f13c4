#include "kr/controls/NumericUpDown.h"

#include "kr/controls/Button.h"
#include "kr/controls/OwnHandlers.h"
#include "kr/controls/TextBox.h"
#include "kr/controls/TextValidationParams.h"
#include "kr/core/StringFunctions.h"

#include <algorithm>

namespace KR
{

LNumericUpDown::~LNumericUpDown() = default;

Result LNumericUpDown::ReleaseInternalReferences()
{
    mHandler = nullptr;
    mTextBox = nullptr;
    mUpButton = nullptr;
    mDownButton = nullptr;
    return LPanel::ReleaseInternalReferences();
}

Result LNumericUpDown::Receive(const RCPtr<LNotificationDistributor>& sender,
                               const RCPtr<LNotification>& notification)
{
    const Result handled = OfferToOwnHandlers(mHandler, *this, sender, notification);
    return handled != 0 ? handled : LPanel::Receive(sender, notification);
}

Result LNumericUpDown::UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                                 NotificationName name)
{
    if (mHandler)
    {
        mHandler->Unregister(sender, name);
    }
    return LPanel::UnregisterForNotification(sender, name);
}

Result LNumericUpDown::Initialize()
{
    const Result result = LPanel::Initialize();
    mTextBox = RCPtr<LTextBox>(FindChildControl(String(u"textBox")));
    mUpButton = RCPtr<LButton>(FindChildControl(String(u"buttonUp")));
    mDownButton = RCPtr<LButton>(FindChildControl(String(u"buttonDown")));
    // Skins come from files too: a part the skin leaves out is simply not used.
    for (const RCPtr<LButton>& button : {mUpButton, mDownButton})
    {
        if (button)
        {
            button->autoRepeat = true;
            button->SetRepeating(false);
        }
    }
    mHandler = LNotificationHandler<LNumericUpDown>::Create(this);
    if (mTextBox)
    {
        const RCPtr<LNotificationDistributor> box(mTextBox);
        mHandler->Register(&LNumericUpDown::OnValidating, box, u"NID_TEXTBOX_VALIDATING");
        mHandler->Register(&LNumericUpDown::OnValidated, box, u"NID_TEXTBOX_VALIDATED");
    }
    for (const RCPtr<LButton>& button : {mUpButton, mDownButton})
    {
        if (button)
        {
            mHandler->Register(&LNumericUpDown::OnStep, RCPtr<LNotificationDistributor>(button),
                               u"NID_BUTTON_AUTOREPEAT");
        }
    }
    // The value may have been set before the field was known (INITIAL_VALUE).
    RefreshTextBox();
    return result;
}

Result LNumericUpDown::PlaceParts()
{
    SetNotFocusable(false);
    for (const RCPtr<LButton>& button : {mUpButton, mDownButton})
    {
        if (button)
        {
            button->SetNotFocusable(true);
        }
    }
    return kOk;
}

// ---- value and text ----------------------------------------------------------------------------

String LNumericUpDown::FormatValue() const
{
    return DoubleToString(InterpolateValue(GetValue()), mDecimals);
}

String LNumericUpDown::GetAllowedCharacters() const
{
    String allowed(u"0123456789");
    if (mDecimals > 0)
    {
        allowed += String(u".");
    }
    if (std::min(InterpolateValue(0.0), InterpolateValue(1.0)) < 0.0)
    {
        allowed += String(u"-");
    }
    return allowed;
}

void LNumericUpDown::RefreshTextBox()
{
    if (mTextBox)
    {
        mTextBox->characterFilter = GetAllowedCharacters();
        mTextBox->filterIsAllowList = true;
        mTextBox->SetText(FormatValue(), true);
    }
}

void LNumericUpDown::SetDecimals(std::int32_t decimals)
{
    mDecimals = std::max(0, decimals);
    RefreshTextBox();
}

double LNumericUpDown::ReadClamped(const String& text) const
{
    const double low = std::min(InterpolateValue(0.0), InterpolateValue(1.0));
    const double high = std::max(InterpolateValue(0.0), InterpolateValue(1.0));
    const double value = ParseDouble(text);
    // "Not >= low" also catches NaN.
    return !(value >= low) ? low : std::min(value, high);
}

bool LNumericUpDown::SetTextFromString(const String& text)
{
    const double before = GetValue();
    return SetValue(NormalizeValue(ReadClamped(text))) == before;
}

void LNumericUpDown::OnValueChanged()
{
    if (mTextBox)
    {
        mTextBox->SetText(FormatValue(), true);
        // Inside the field's own validation the value follows the entry: that validation
        // goes on with the formatted text, and a second one would announce it twice.
        if (!mValidating)
        {
            mTextBox->Validate();
        }
    }
}

Result LNumericUpDown::SetValueScaling(double minimum, double maximum, std::int32_t mode)
{
    const Result result = LPanel::SetValueScaling(minimum, maximum, mode);
    if (Failed(result))
    {
        return result;
    }
    RefreshTextBox();
    return kOk;
}

// ---- the children's notifications ---------------------------------------------------------------

Result LNumericUpDown::OnValidating(const RCPtr<LNotificationDistributor>&,
                                    const RCPtr<LNotification>& notification)
{
    const RCPtr<LTextValidationParams> params =
        notification ? notification->GetDataAs<LTextValidationParams>() : nullptr;
    if (!params)
    {
        return 1;
    }
    // Our own listeners see the entry before we act on it.
    DistributeNotification(RCPtr<LNotificationDistributor>(this), u"NID_TEXTBOX_VALIDATING", params);
    if (!params->valid)
    {
        return 1;
    }
    // Compared as normalised values: the scaled one carries the mapping's rounding, so
    // "64" at 64 would otherwise count as a change.
    const double typed = NormalizeValue(ReadClamped(params->text));
    const double current = GetValue();
    if (typed != current)
    {
        mValidating = true;
        SetValue(typed);
        mValidating = false;
        params->text = FormatValue();
        params->valid = true;
    }
    else if (current <= 0.0 || current >= 1.0)
    {
        params->text = FormatValue();
        params->valid = true;
    }
    return 1;
}

Result LNumericUpDown::OnValidated(const RCPtr<LNotificationDistributor>&,
                                   const RCPtr<LNotification>& notification)
{
    DistributeNotification(RCPtr<LNotificationDistributor>(this), u"NID_TEXTBOX_VALIDATED",
                           notification ? notification->GetData() : nullptr);
    return 1;
}

Result LNumericUpDown::OnStep(const RCPtr<LNotificationDistributor>& sender, const RCPtr<LNotification>&)
{
    const LNotificationDistributor* from = sender.Get();
    double direction = 0.0;
    if (mUpButton && from == static_cast<const LNotificationDistributor*>(mUpButton.Get()))
    {
        direction = 1.0;
    }
    else if (mDownButton && from == static_cast<const LNotificationDistributor*>(mDownButton.Get()))
    {
        direction = -1.0;
    }
    if (direction != 0.0)
    {
        SetValue(NormalizeValue(InterpolateValue(GetValue()) + direction * mStep));
    }
    return 1;
}

// ---- keys --------------------------------------------------------------------------------------

Result LNumericUpDown::PressArrowForKey(const RCPtr<LKeyParam>& key)
{
    if (!key)
    {
        return kNothingDone;
    }
    RCPtr<LButton> button;
    if (key->key.code == kUpKey)
    {
        button = mUpButton;
    }
    else if (key->key.code == kDownKey)
    {
        button = mDownButton;
    }
    if (!button)
    {
        return kNothingDone;
    }
    // Straight to the button, from no sender, as a click from the keyboard.
    button->Receive(nullptr, LNotification::Create(u"NID_SIMULATE_CLICK"));
    return kOk;
}

Result LNumericUpDown::OnKeyDown(const RCPtr<LKeyParam>& key)
{
    return PressArrowForKey(key);
}

Result LNumericUpDown::DispatchKey(const RCPtr<LKeyParam>& key)
{
    // The panel's routing, not ours again: RouteKeyToParent is this very slot.
    return PressArrowForKey(key) == kOk ? kOk : LPanel::DispatchKey(key);
}

} // namespace KR
