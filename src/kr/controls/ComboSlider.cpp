#include "kr/controls/ComboSlider.h"

#include "kr/controls/OwnHandlers.h"
#include "kr/ui/NotificationParams.h"

#include <algorithm>

namespace KR
{

LComboSlider::~LComboSlider() = default;

Result LComboSlider::Receive(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification)
{
    const Result handled = OfferToOwnHandlers(mHandler, *this, sender, notification);
    return handled != 0 ? handled : LDropDownControl::Receive(sender, notification);
}

Result LComboSlider::UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                               NotificationName name)
{
    if (mHandler)
    {
        mHandler->Unregister(sender, name);
    }
    return LDropDownControl::UnregisterForNotification(sender, name);
}

// ---- creation ------------------------------------------------------------------------------

Result LComboSlider::Initialize()
{
    if (Failed(LDropDownControl::Initialize()))
    {
        return kFail;
    }
    mPanel = RCPtr<LPanel>(FindChildControl(String(u"dropDownPanel")));
    if (!mPanel)
    {
        return kOk;
    }
    mPanel->SetVisible(false);
    mHandler = LNotificationHandler<LComboSlider>::Create(this);
    if (const RCPtr<LControl>& slider = FindSlider())
    {
        mHandler->Register(&LComboSlider::OnSliderValue, slider, u"NID_VALUE_CHANGE");
    }
    return kOk;
}

const RCPtr<LControl>& LComboSlider::FindSlider() const
{
    return mPanel ? mPanel->FindChildControl(String(u"slider")) : NullControl();
}

// ---- value and looks -----------------------------------------------------------------------

double LComboSlider::SetValue(double value)
{
    if (const RCPtr<LControl>& slider = FindSlider())
    {
        slider->SetValue(value);
    }
    return LControl::SetValue(value);
}

void LComboSlider::OnValueChanged()
{
    if (const RCPtr<LControl>& slider = FindSlider())
    {
        slider->SetValue(GetValue());
    }
    SetTextFromString(FormatValue());
}

void LComboSlider::SetDecimals(std::int32_t decimals)
{
    // A negative precision would read as no precision at all.
    mDecimals = std::max(decimals, 0);
    SetTextFromString(FormatValue());
}

String LComboSlider::FormatValue() const
{
    const double value = InterpolateValue(GetValue());
    if (mDecimals == 0)
    {
        return String::Format(u"%0.0f", value);
    }
    const String format = String(u"%0.") + String::Format(u"%df", mDecimals);
    return String::Format(format.GetPtr(), value);
}

Result LComboSlider::OnConditionsChanged(const RCPtr<LConditionsParam>& conditions)
{
    const Result result = LDropDownControl::OnConditionsChanged(conditions);
    UpdateLook();
    return result;
}

void LComboSlider::UpdateLook()
{
    const std::uint32_t conditions = GetConditions();
    const bool hovered = (conditions & Condition::kHover) != 0;
    const bool focused = (conditions & (Condition::kHasFocus | Condition::kContainsFocus)) != 0;
    if (!IsEnabled(true))
    {
        SelectLook(kDisabledLook);
    }
    else if (IsDropDownShown())
    {
        SelectLook(kOpenLook + (hovered ? 1 : 0));
    }
    else
    {
        SelectLook((hovered ? kHoverLook : kNormalLook) + (focused ? 1 : 0));
    }
}

// ---- the drop-down -------------------------------------------------------------------------

bool LComboSlider::IsDropDownShown()
{
    return mPanel && mPanel->IsShown(false);
}

Result LComboSlider::ShowDropDown(bool show)
{
    if (!mPanel)
    {
        return kFail;
    }
    const RCPtr<LControl> root = GetRootControl();
    const RCPtr<LLayoutDescriptor>& layout = mPanel->GetLayoutDescriptor();
    if (show && root && layout)
    {
        DockedPositionSpec position;
        SizeSpec size;
        layout->GetPlacement(0, position, size);
        // The skin's X, not the one an earlier opening moved it to: the window may have grown.
        const ConstRCPtr<LControlDescriptor>& skin = mPanel->GetControlDescriptor();
        const double skinX =
            skin && skin->GetLayout() ? skin->GetLayout()->xPosition.absolute : position.absolute;
        const double offset = GetAbsolutePosition().x - root->GetAbsolutePosition().x;
        double x = skinX + offset;
        const double width = mPanel->GetSize().x;
        const double rootWidth = root->GetSize().x;
        if (x + width > rootWidth)
        {
            x = std::max(rootWidth - width, 0.0);
        }
        x -= offset;
        if (x != position.absolute)
        {
            position.absolute = x;
            mPanel->SetPlacement(0, position, size);
        }
    }
    mPanel->SetVisible(show);
    UpdateLook();
    return kOk;
}

// ---- the slider ----------------------------------------------------------------------------

Result LComboSlider::OnSliderValue(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&)
{
    if (const RCPtr<LControl>& slider = FindSlider())
    {
        LControl::SetValue(slider->GetValue());
    }
    return 1;
}

} // namespace KR
