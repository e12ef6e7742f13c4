#include "kr/controls/CheckedListBox.h"

#include "kr/controls/Button.h"
#include "kr/controls/CheckedListBoxItem.h"
#include "kr/controls/IndexedDataWithValueParam.h"
#include "kr/ui/Look.h"
#include "kr/ui/NotificationParams.h"

#include <algorithm>

namespace KR
{

LCheckedListBox::LCheckedListBox(const RCPtr<LControl>& parent, const String& name) : LListBox(parent, name)
{
    mRowsWaitForShow = false;
}

LCheckedListBox::~LCheckedListBox() = default;

Result LCheckedListBox::ReleaseInternalReferences()
{
    mHandler = nullptr;
    return LListBox::ReleaseInternalReferences();
}

Result LCheckedListBox::Receive(const RCPtr<LNotificationDistributor>& sender,
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
    return LListBox::Receive(sender, notification);
}

Result LCheckedListBox::UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                                  NotificationName name)
{
    if (mHandler)
    {
        mHandler->Unregister(sender, name);
    }
    return LListBox::UnregisterForNotification(sender, name);
}

Result LCheckedListBox::Initialize()
{
    // The table comes first: the list box makes its first rows while it initialises, and
    // each row's check box is wired as it comes.
    mHandler = LNotificationHandler<LCheckedListBox>::Create(this);
    const Result result = LListBox::Initialize();
    if (Failed(result))
    {
        return result;
    }
    if (TakesIconsFromLooks())
    {
        ReadIcons();
    }
    return result;
}

void LCheckedListBox::ReadIcons()
{
    if (GetLookCount() <= static_cast<std::uint32_t>(kIconLook))
    {
        return;
    }
    const RCPtr<LLook>& look = GetActiveLook(kIconLook);
    if (!look || !look->GetDescriptor())
    {
        return;
    }
    const auto& parts = look->GetDescriptor()->nonClientParts;
    for (std::uint32_t i = 0; i < parts.GetCount(); ++i)
    {
        const ConstRCPtr<LDockedPart>& part = parts.GetAt(i);
        const RCPtr<LVisualPart> visual = part ? part->GetVisualPart() : nullptr;
        if (visual && visual->GetBitmap())
        {
            mIcons.push_back(visual->GetBitmap());
        }
    }
    SetCheckBoxLookFollowsRow(true);
    RebindRows(GetFirstShown());
}

// ---- records ---------------------------------------------------------------------------------

std::int32_t LCheckedListBox::SetItemCount(std::int32_t count)
{
    const std::int32_t result = LListBox::SetItemCount(count);
    mCheckedCount = static_cast<std::int32_t>(std::count_if(
        mRecords.begin(), mRecords.end(), [](const ItemData& record) { return record.checked; }));
    return result;
}

void LCheckedListBox::SwapItemData(std::int32_t a, std::int32_t b)
{
    std::swap(mRecords[static_cast<std::size_t>(a)], mRecords[static_cast<std::size_t>(b)]);
}

void LCheckedListBox::InsertItemData(std::int32_t index)
{
    mRecords.insert(mRecords.begin() + std::clamp(index, 0, GetItemDataCount()), ItemData{});
}

void LCheckedListBox::RemoveItemData(std::int32_t index)
{
    // A checked item that leaves is no longer counted, whoever removes it.
    if (mRecords[static_cast<std::size_t>(index)].checked)
    {
        --mCheckedCount;
    }
    mRecords.erase(mRecords.begin() + index);
}

bool LCheckedListBox::IsItemChecked(std::int32_t index) const
{
    return index >= 0 && index < GetItemDataCount() && mRecords[static_cast<std::size_t>(index)].checked;
}

void LCheckedListBox::SetItemChecked(std::int32_t index, bool checked)
{
    if (index < 0 || index >= GetItemDataCount() || IsItemChecked(index) == checked)
    {
        return;
    }
    mRecords[static_cast<std::size_t>(index)].checked = checked;
    mCheckedCount += checked ? 1 : -1;
    UpdateItemControl(index);
}

ConstRCPtr<LBitmap> LCheckedListBox::GetItemIcon(std::int32_t index) const
{
    if (index < 0 || index >= GetItemDataCount())
    {
        return nullptr;
    }
    if (mIcons.empty())
    {
        return mRecords[static_cast<std::size_t>(index)].icon;
    }
    return mIcons[static_cast<std::size_t>(index) % mIcons.size()];
}

void LCheckedListBox::SetItemIcon(std::int32_t index, const ConstRCPtr<LBitmap>& icon)
{
    if (index < 0 || index >= GetItemDataCount())
    {
        return;
    }
    mRecords[static_cast<std::size_t>(index)].icon = icon;
    UpdateItemControl(index);
}

// ---- rows ------------------------------------------------------------------------------------

RCPtr<LCheckedListBoxItem> LCheckedListBox::GetRowControl(std::int32_t row) const
{
    const RCPtr<LListBoxItem> control = GetRow(row);
    return RCPtr<LCheckedListBoxItem>(dynamic_cast<LCheckedListBoxItem*>(control.Get()));
}

void LCheckedListBox::SetCheckBoxLookFollowsRow(bool follows)
{
    mCheckBoxLookFollowsRow = follows;
    for (std::int32_t row = GetRowCount(); row-- > 0;)
    {
        const RCPtr<LCheckedListBoxItem> control = GetRowControl(row);
        if (const RCPtr<LButton> checkBox = control ? control->GetCheckBox() : nullptr)
        {
            checkBox->mouseTransparent = follows;
        }
    }
}

Result LCheckedListBox::AddItemControl()
{
    const Result result = LListBox::AddItemControl();
    if (Failed(result))
    {
        return result;
    }
    const RCPtr<LCheckedListBoxItem> row = GetRowControl(GetRowCount() - 1);
    const RCPtr<LButton> checkBox = row ? row->GetCheckBox() : nullptr;
    if (checkBox)
    {
        checkBox->mouseTransparent = mCheckBoxLookFollowsRow;
        checkBox->SetAutoValueSet(true);
        if (mHandler)
        {
            mHandler->Register(&LCheckedListBox::OnCheckBoxValueChange,
                               RCPtr<LNotificationDistributor>(checkBox), u"NID_VALUE_CHANGE");
        }
    }
    return result;
}

void LCheckedListBox::ShowCheckValue(const RCPtr<LButton>& checkBox, double value)
{
    // An unchanged value sends nothing: no registration needs to be taken out.
    if (checkBox->GetValue() == value)
    {
        return;
    }
    LNotificationHandler<LCheckedListBox>::Handler handler = nullptr;
    std::uint32_t flags = 0;
    const RCPtr<LNotificationDistributor> sender(checkBox);
    if (mHandler && Succeeded(mHandler->GetRegistration(sender, u"NID_VALUE_CHANGE", handler, flags)))
    {
        const CAutoNotificationDisabler<LCheckedListBox> quiet(mHandler, sender, u"NID_VALUE_CHANGE");
        checkBox->SetValue(value);
    }
    else
    {
        checkBox->SetValue(value);
    }
}

void LCheckedListBox::ShowIcon(std::int32_t row, const RCPtr<LButton>& checkBox,
                               const ConstRCPtr<LBitmap>& icon)
{
    if (mRowIcons.size() <= static_cast<std::size_t>(row))
    {
        mRowIcons.resize(static_cast<std::size_t>(row) + 1);
    }
    ConstRCPtr<LBitmap>& shown = mRowIcons[static_cast<std::size_t>(row)];
    if (shown.Get() == icon.Get())
    {
        return;
    }
    shown = icon;
    for (std::uint32_t look = checkBox->GetLookCount(); look-- > 0;)
    {
        checkBox->SetLookImage(static_cast<std::int32_t>(look), icon, kResizeCenter);
    }
}

Result LCheckedListBox::UpdateItemControl(std::int32_t itemIndex)
{
    const std::int32_t row = itemIndex - GetFirstShown();
    if (row < 0 || row >= GetRowCount())
    {
        return 1;
    }
    const Result result = LListBox::UpdateItemControl(itemIndex);
    const RCPtr<LCheckedListBoxItem> control = GetRowControl(row);
    const RCPtr<LButton> checkBox = control ? control->GetCheckBox() : nullptr;
    if (!checkBox)
    {
        return result;
    }
    const bool present = itemIndex >= 0 && itemIndex < GetItemDataCount();
    ShowCheckValue(checkBox, present && IsItemChecked(itemIndex) ? 1.0 : 0.0);
    ShowIcon(row, checkBox, present ? GetItemIcon(itemIndex) : nullptr);
    checkBox->SetVisible(present);
    return result;
}

Result LCheckedListBox::OnCheckBoxValueChange(const RCPtr<LNotificationDistributor>& sender,
                                              const RCPtr<LNotification>&)
{
    const RCPtr<LControl> checkBox(sender);
    const RCPtr<LControl> row = checkBox ? checkBox->GetParent() : nullptr;
    const std::int32_t index = row ? ItemIndexOfRow(row.Get()) : -1;
    if (index < 0 || index >= GetItemDataCount())
    {
        return 1;
    }
    const double value = checkBox->GetValue();
    const bool checked = value >= 0.5;
    const RCPtr<LIndexedDataWithValueParam> param =
        LIndexedDataWithValueParam::Create(nullptr, index, checked ? 1.0 : 0.0);
    ItemData& record = mRecords[static_cast<std::size_t>(index)];
    // The count follows the flag, also when a value change leaves the flag as it was.
    if (record.checked != checked)
    {
        record.checked = checked;
        mCheckedCount += checked ? 1 : -1;
    }
    SelectRange(index, index, !IsMultipleSelection());
    SendNotificationByName(u"NID_ITEM_CHECK_CHANGE", param);
    return 1;
}

} // namespace KR
