#pragma once
// KR::LCheckedListBox: a list box whose rows carry a check box and, in icon mode, an icon.
// The checked flag and the icon of every item live in the list's own records; the rows'
// check boxes only show them, and setting them in code never looks like a click. The list
// keeps the number of checked items.
// Icon mode: the non-client parts of the list's look 3 give an icon list, repeated down the
// items; the check boxes then take their looks from their rows.
// Sends (UI thread) "NID_ITEM_CHECK_CHANGE" with an LIndexedDataWithValueParam (no data, the
// item, 1 checked or 0 clear) when the user clicks a check box; the item is selected first.

#include "kr/controls/ListBox.h"
#include "kr/notify/NotificationHandler.h"
#include "kr/render/Bitmap.h"

#include <cstdint>
#include <vector>

namespace KR
{

class LButton;
class LCheckedListBoxItem;

class LCheckedListBox : public LListBox
{
public:
    static constexpr char16_t kClassName[] = u"Framework.CheckedListBox";
    static constexpr char16_t kIconsClassName[] = u"Framework.ListBoxWithIcons";
    // The look whose non-client parts give the icons.
    static constexpr std::int32_t kIconLook = 3;

    struct ItemData : Item
    {
        bool checked = false;
        ConstRCPtr<LBitmap> icon;
    };

    LCheckedListBox(const RCPtr<LControl>& parent, const String& name);
    ~LCheckedListBox() override;

    Result ReleaseInternalReferences() override;
    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;
    // Clears its own table, then the base class's chain and the client's registration.
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;
    Result Initialize() override; // 87

    // ---- the list's slots -------------------------------------------------------------------
    std::int32_t GetItemDataCount() const override { return static_cast<std::int32_t>(mRecords.size()); }
    // The count, else the negated count held; the checked count is recounted.
    std::int32_t SetItemCount(std::int32_t count) override;
    Result AddItemControl() override;
    Result UpdateItemControl(std::int32_t itemIndex) override;
    void SwapItemData(std::int32_t a, std::int32_t b) override;
    Item& GetItemData(std::int32_t index) override { return GetCheckedItemData(index); }
    void InsertItemData(std::int32_t index) override;
    void RemoveItemData(std::int32_t index) override;
    // The whole record; the caller checks the range.
    virtual ItemData& GetCheckedItemData(std::int32_t index)
    {
        return mRecords[static_cast<std::size_t>(index)];
    }

    // False past the items.
    bool IsItemChecked(std::int32_t index) const;
    // Sends nothing; an index past the items or an unchanged flag does nothing.
    void SetItemChecked(std::int32_t index, bool checked);
    // In icon mode the icon list's entry at index modulo its length, else the record's;
    // null past the items.
    ConstRCPtr<LBitmap> GetItemIcon(std::int32_t index) const;
    void SetItemIcon(std::int32_t index, const ConstRCPtr<LBitmap>& icon);
    void SetCheckBoxLookFollowsRow(bool follows);
    bool GetCheckBoxLookFollowsRow() const { return mCheckBoxLookFollowsRow; }
    // Null past the rows or for a row that is not a checked row.
    RCPtr<LCheckedListBoxItem> GetRowControl(std::int32_t row) const;
    std::int32_t GetCheckedCount() const { return mCheckedCount; }
    const std::vector<ConstRCPtr<LBitmap>>& GetIcons() const { return mIcons; }

protected:
    // Whether Initialize reads the icon list from look 3; the popup menu answers false.
    virtual bool TakesIconsFromLooks() const { return true; }

private:
    Result OnCheckBoxValueChange(const RCPtr<LNotificationDistributor>& sender,
                                 const RCPtr<LNotification>& notification);
    void ReadIcons();
    // The value set in code, without the list hearing it as a click.
    void ShowCheckValue(const RCPtr<LButton>& checkBox, double value);
    void ShowIcon(std::int32_t row, const RCPtr<LButton>& checkBox, const ConstRCPtr<LBitmap>& icon);

    RCPtr<LNotificationHandler<LCheckedListBox>> mHandler;
    std::vector<ItemData> mRecords;
    bool mCheckBoxLookFollowsRow = false;
    std::int32_t mCheckedCount = 0;
    std::vector<ConstRCPtr<LBitmap>> mIcons;
    // The icon each row's check box shows, so that a rebind touches the looks only when it
    // changes and a row never given one keeps its skin's images.
    std::vector<ConstRCPtr<LBitmap>> mRowIcons;
};

} // namespace KR
