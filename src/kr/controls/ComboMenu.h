#pragma once
// KR::LComboMenu: one title of a menu bar, a drop-down whose drop-down is its child
// popup menu "popupMenu". A press opens the menu below the title (kept inside the window's
// root control) and, with the button held, lets the user slide into it and release on a
// row; with one title open, the pointer moving onto another title opens that one instead.
// The popup is not self-closing here: the title hides it after a chosen row and when the
// focus leaves.
//
// Looks: 0 closed, 1 closed under the pointer, 2 open, 3 disabled (it or an ancestor).

#include "kr/controls/DropDownControl.h"
#include "kr/notify/NotificationHandler.h"

namespace KR
{

class LPopupMenu;

class LComboMenu : public LDropDownControl
{
public:
    static constexpr char16_t kClassName[] = u"Framework.ComboMenu";
    static constexpr std::int32_t kClosedLook = 0;
    static constexpr std::int32_t kHotLook = 1;
    static constexpr std::int32_t kOpenLook = 2;
    static constexpr std::int32_t kDisabledLook = 3;

    LComboMenu(const RCPtr<LControl>& parent, const String& name);
    ~LComboMenu() override;

    Result ReleaseInternalReferences() override;
    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;
    // The title's own table lets go of the entry first, then the drop-down's chain.
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;

    Result OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override; // 36
    Result Initialize() override;                                                   // 87
    Result PlaceParts() override;                                                   // 90
    bool IsDropDownShown() override;
    Result ShowDropDown(bool show) override;

    // The child "popupMenu" when it is a popup menu, else null.
    RCPtr<LPopupMenu> GetPopup() const;
    // Where the left button went down, relative to the popup's position.
    PointD GetPressPoint() const { return mPressPoint; }

private:
    Result OnPopupVisibility(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification);
    Result OnPopupActivated(const RCPtr<LNotificationDistributor>& sender,
                            const RCPtr<LNotification>& notification);
    // 1 under the pointer, else 0.
    std::int32_t RestingLook() const;
    void ShowLook(std::int32_t look);

    RCPtr<LNotificationHandler<LComboMenu>> mHandler;
    double mPopupOffsetX = 0.0;
    PointD mPressPoint;
};

} // namespace KR
