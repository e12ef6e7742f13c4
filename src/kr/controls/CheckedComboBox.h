#pragma once
// KR::LCheckedComboBox: a combo box whose list is a checked list, its items with check boxes
// and, in icon mode, icons ("Framework.CheckedComboBox", "Framework.ComboBoxWithIcons").
// The face's optional "checkBox" button shows the selected item's check state and icon.
// While any item is checked the face takes its second set of looks (7-13, in the order of
// the combo box's 0-6).
// Sends (UI thread) "NID_ITEM_CHECK_CHANGE" with the list's own LIndexedDataWithValueParam
// when the user checks or clears an item, besides what the combo box sends.

#include "kr/controls/ComboBox.h"
#include "kr/notify/NotificationHandler.h"

#include <cstdint>

namespace KR
{

class LBitmap;
class LButton;
class LCheckedListBox;

class LCheckedComboBox : public LComboBox
{
public:
    static constexpr char16_t kClassName[] = u"Framework.CheckedComboBox";
    static constexpr char16_t kIconsClassName[] = u"Framework.ComboBoxWithIcons";
    // Added to a look while any item is checked.
    static constexpr std::int32_t kCheckedLooks = 7;

    using LComboBox::LComboBox;
    ~LCheckedComboBox() override;

    Result ReleaseInternalReferences() override;
    // Its own table first, then the combo box's.
    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;
    // Its own table's entry goes first, then the chain's.
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;

    // kFail unless the list is a checked list.
    Result Initialize() override; // 87
    Result PlaceParts() override; // 90
    std::int32_t SetItemCount(std::int32_t count) override;
    std::int32_t SetSelectedIndex(std::int32_t index) override;
    Result UpdateLook() override;

    const RCPtr<LCheckedListBox>& GetCheckedList() const { return mCheckedList; }
    bool IsIconMode() const { return mIconMode; }
    // The face's look index is also chosen on "checkBox".
    bool checkBoxMirrorsFaceLook = false;

private:
    Result OnCheckChange(const RCPtr<LNotificationDistributor>& sender,
                         const RCPtr<LNotification>& notification);
    RCPtr<LButton> GetFaceCheckBox() const;
    // The icon in every look of "checkBox", from the last look to the first (null clears).
    void ShowIconOnCheckBox(const ConstRCPtr<LBitmap>& icon);

    RCPtr<LNotificationHandler<LCheckedComboBox>> mHandler;
    RCPtr<LCheckedListBox> mCheckedList;
    bool mIconMode = false;
};

} // namespace KR
