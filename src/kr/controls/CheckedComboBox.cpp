#include "kr/controls/CheckedComboBox.h"

#include "kr/controls/Button.h"
#include "kr/controls/CheckedListBox.h"
#include "kr/controls/OwnHandlers.h"
#include "kr/ui/VisualPartDescriptor.h"

namespace KR
{

LCheckedComboBox::~LCheckedComboBox() = default;

Result LCheckedComboBox::ReleaseInternalReferences()
{
    mHandler = nullptr;
    mCheckedList = nullptr;
    return LComboBox::ReleaseInternalReferences();
}

Result LCheckedComboBox::Receive(const RCPtr<LNotificationDistributor>& sender,
                                 const RCPtr<LNotification>& notification)
{
    const Result handled = OfferToOwnHandlers(mHandler, *this, sender, notification);
    return handled != 0 ? handled : LComboBox::Receive(sender, notification);
}

Result LCheckedComboBox::UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                                   NotificationName name)
{
    if (mHandler)
    {
        mHandler->Unregister(sender, name);
    }
    return LComboBox::UnregisterForNotification(sender, name);
}

RCPtr<LButton> LCheckedComboBox::GetFaceCheckBox() const
{
    return RCPtr<LButton>(FindChildControl(String(u"checkBox")));
}

Result LCheckedComboBox::Initialize()
{
    mCheckedList = RCPtr<LCheckedListBox>(FindChildControl(String(u"listBox")));
    if (Failed(LComboBox::Initialize()) || !mCheckedList)
    {
        mCheckedList = nullptr;
        return kFail;
    }
    const RCPtr<LButton> checkBox = GetFaceCheckBox();
    if (checkBox)
    {
        checkBox->SetUseParentToolTip(true);
    }
    // The list's row option: its rows hand their presses to the list as a drop-down's do.
    mCheckedList->SetDropDownMode(true);
    if (!mCheckedList->GetIcons().empty())
    {
        mIconMode = true;
        if (checkBox)
        {
            // The face chooses the check box's look from now on.
            checkBox->mouseTransparent = true;
        }
    }
    mHandler = LNotificationHandler<LCheckedComboBox>::Create(this);
    mHandler->Register(&LCheckedComboBox::OnCheckChange, RCPtr<LNotificationDistributor>(mCheckedList),
                       u"NID_ITEM_CHECK_CHANGE");
    UpdateLook();
    return kOk;
}

void LCheckedComboBox::ShowIconOnCheckBox(const ConstRCPtr<LBitmap>& icon)
{
    const RCPtr<LButton> checkBox = GetFaceCheckBox();
    if (!checkBox)
    {
        return;
    }
    for (std::int32_t look = static_cast<std::int32_t>(checkBox->GetLookCount()); look-- > 0;)
    {
        checkBox->SetLookImage(look, icon, kResizeCenter);
    }
}

Result LCheckedComboBox::PlaceParts()
{
    const std::int32_t selected = GetSelectedIndex();
    ShowIconOnCheckBox(mCheckedList && selected >= 0 ? mCheckedList->GetItemIcon(selected) : nullptr);
    return LComboBox::PlaceParts();
}

std::int32_t LCheckedComboBox::SetItemCount(std::int32_t count)
{
    const std::int32_t result = LComboBox::SetItemCount(count);
    UpdateLook();
    return result;
}

std::int32_t LCheckedComboBox::SetSelectedIndex(std::int32_t index)
{
    const RCPtr<LButton> checkBox = GetFaceCheckBox();
    if (checkBox && mCheckedList)
    {
        ConstRCPtr<LBitmap> icon;
        if (index >= 0 && index < mCheckedList->GetItemDataCount())
        {
            checkBox->SetValue(mCheckedList->IsItemChecked(index) ? 1.0 : 0.0);
            icon = mCheckedList->GetItemIcon(index);
        }
        ShowIconOnCheckBox(icon);
    }
    return LComboBox::SetSelectedIndex(index);
}

Result LCheckedComboBox::UpdateLook()
{
    std::int32_t look = ChooseLook();
    if (mCheckedList && mCheckedList->GetCheckedCount() >= 1)
    {
        look += kCheckedLooks;
    }
    SelectLook(look);
    if (checkBoxMirrorsFaceLook)
    {
        if (const RCPtr<LButton> checkBox = GetFaceCheckBox())
        {
            checkBox->SelectLook(look);
        }
    }
    return kOk;
}

Result LCheckedComboBox::OnCheckChange(const RCPtr<LNotificationDistributor>&,
                                       const RCPtr<LNotification>& notification)
{
    // At 0 or 1 the face may just have changed its set of looks.
    const std::int32_t checked = mCheckedList ? mCheckedList->GetCheckedCount() : 0;
    if (checked == 0 || checked == 1)
    {
        UpdateLook();
    }
    SendNotification(
        LNotification::Create(u"NID_ITEM_CHECK_CHANGE", notification ? notification->GetData() : nullptr));
    return 1;
}

} // namespace KR
