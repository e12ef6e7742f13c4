#include "kr/controls/CheckedListBoxItem.h"

#include "kr/controls/Button.h"
#include "kr/ui/NotificationParams.h"

namespace KR
{

LCheckedListBoxItem::LCheckedListBoxItem(const RCPtr<LControl>& parent, const String& name)
    : LListBoxItem(parent, name)
{
}

LCheckedListBoxItem::~LCheckedListBoxItem() = default;

Result LCheckedListBoxItem::ReleaseInternalReferences()
{
    mHandler = nullptr;
    return LListBoxItem::ReleaseInternalReferences();
}

Result LCheckedListBoxItem::Receive(const RCPtr<LNotificationDistributor>& sender,
                                    const RCPtr<LNotification>& notification)
{
    if (mHandler && IsCreationFinished())
    {
        const Result handled = mHandler->HandleNotification(sender, notification);
        if (handled != 0)
        {
            return handled;
        }
    }
    return LListBoxItem::Receive(sender, notification);
}

Result LCheckedListBoxItem::UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                                      NotificationName name)
{
    if (mHandler)
    {
        mHandler->Unregister(sender, name);
    }
    return LListBoxItem::UnregisterForNotification(sender, name);
}

Result LCheckedListBoxItem::Initialize()
{
    const Result result = LListBoxItem::Initialize();
    mHandler = LNotificationHandler<LCheckedListBoxItem>::Create(this);
    if (const RCPtr<LButton> checkBox = GetCheckBox())
    {
        mHandler->Register(&LCheckedListBoxItem::OnCheckBoxHover, RCPtr<LNotificationDistributor>(checkBox),
                           u"NID_HOVER_CONDITION_CHANGE");
        checkBox->SetNotFocusable(true);
        checkBox->SetUseParentToolTip(true);
    }
    return result;
}

RCPtr<LButton> LCheckedListBoxItem::GetCheckBox() const
{
    const RCPtr<LControl>& child = FindChildControl(String(u"checkBox"));
    return RCPtr<LButton>(dynamic_cast<LButton*>(child.Get()));
}

Result LCheckedListBoxItem::OnCheckBoxHover(const RCPtr<LNotificationDistributor>&,
                                            const RCPtr<LNotification>& notification)
{
    const RCPtr<LConditionsParam> conditions(notification ? notification->GetData() : nullptr);
    const bool entered = conditions && (conditions->current & Condition::kHover) != 0 &&
                         (conditions->previous & Condition::kHover) == 0;
    SetForcedHover(entered);
    return 0;
}

Result LCheckedListBoxItem::SetRowLook(std::int32_t look, bool)
{
    return Failed(SetLookWeight(look, 1.0f, true)) ? 0 : 1;
}

Result LCheckedListBoxItem::SetCheckBoxLook(std::int32_t look, bool)
{
    const RCPtr<LButton> checkBox = GetCheckBox();
    if (!IsCreationFinished() || !checkBox)
    {
        return 1;
    }
    return checkBox->SetLookWeight(look, 1.0f, true);
}

} // namespace KR
