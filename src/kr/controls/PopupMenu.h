#pragma once
// KR::LPopupMenu: a menu tree shown as a checked list of rows (KR::LMenuListBoxItem), each
// with a check box and a key-combination text. A row with sub-rows opens a sub-menu beside it,
// 250 ms after the pointer settles on it (or at once by Right, Enter or a click); a chosen
// row sends its command with a KR::LMenuActivationParam.
//
// Where a command goes: into the queue given by SetCommandQueue (the menu bar gives its
// window's queue, so commands run at that queue's next drain), else to the owner, the
// nearest ancestor that is no popup menu, at once (a context menu's control).
//
// A menu is self-closing by default: a chosen row, Escape or the loss of the focus remove
// the whole chain of menus (a context menu is made for each use). A menu bar title keeps
// its popup and clears the flag; its sub-menus take that over, and the title hides it.
//
// Sends "NID_ITEM_ACTIVATED" (no payload) when a row is chosen, before the command.

#include "kr/controls/CheckedListBox.h"
#include "kr/notify/NotificationHandler.h"
#include "kr/render/MenuDescriptor.h"
#include "kr/ui/PopupControls.h"

#include <cstdint>

namespace KR
{

class LMenuItemUpdater;
class LNotificationQueue;
class LNotificationReceiver;

class LPopupMenu : public LCheckedListBox, public IPopupMenu
{
public:
    static constexpr char16_t kClassName[] = u"Framework.PopupMenu";
    // Between the pointer settling on a row and its sub-menu opening or closing.
    static constexpr std::uint32_t kSubMenuDelayMs = 250;

    LPopupMenu(const RCPtr<LControl>& parent, const String& name);
    ~LPopupMenu() override;

    Result ReleaseInternalReferences() override;
    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;
    // The menu's own table lets go of the entry first, then the list's chain.
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;

    // ---- IPopupMenu ------------------------------------------------------------------------
    // Keeps a deep copy. kInvalidArg for null; else RebuildRows' result.
    Result SetMenu(const RCPtr<LMenuDescriptor>& menu) override;
    // At the pointer, moved back inside the window's client area; shown and focused. 0.
    Result PlaceOnScreen() override;

    // The queue's posting receiver takes the commands from now on. kInvalidArg for null,
    // kFail when a receiver is set already.
    Result SetCommandQueue(const RCPtr<LNotificationQueue>& queue);
    // kInvalidArg when the item has no sub-items.
    Result OpenSubMenu(std::int32_t index);
    Result CloseSubMenus();
    // The first menu of the chain closes its sub-menus and leaves its parent.
    Result CloseMenuChain();
    // The sub-menu's rows become the parent menu's item at `index` (shared, not copied).
    Result SetSubMenuFromParent(std::int32_t index);
    // kInvalidArg past the items; 1 when nothing differs.
    Result SetItemState(std::int32_t index, const MenuItemInfo& state);
    // 1 without a menu or without a row.
    Result RebuildRows();
    // kFail, changing nothing, without a receiver and an owner, or with a receiver outside
    // any window.
    Result AssignHotKeyTexts();
    // Offers every plain row to the owner's item updater, last to first.
    void RefreshItemStates();
    // Where a sub-menu of `subSize` opens beside `row` (both in the menu's coordinates) of
    // a menu at `menuAt` in a window's client area of `client`: right of the row, else left
    // of the menu, else right after all; at the row's top, else moved up to the bottom
    // edge, but never above the menu's top.
    static PointD PlaceBesideRow(const RectD& row, const PointD& menuAt, const PointD& subSize,
                                 const PointI& client);
    // The label and key-combination widths and the row's fixed margin; 0 past the items.
    virtual std::int32_t GetRowWidth(std::int32_t index);

    const RCPtr<LMenuDescriptor>& GetMenu() const { return mMenu; }
    const RCPtr<LPopupMenu>& GetOpenSubMenu() const { return mOpenSubMenu; }
    bool IsSelfClosing() const { return mSelfClosing; }
    void SetSelfClosing(bool selfClosing) { mSelfClosing = selfClosing; }
    bool IsSubMenuTimerArmed() const { return mTimerArmed; }
    void SetItemUpdater(const RCPtr<LMenuItemUpdater>& updater) { mItemUpdater = updater; }
    const RCPtr<LMenuItemUpdater>& GetItemUpdater() const { return mItemUpdater; }
    std::int32_t GetSeparatorRowHeight() const { return mSeparatorRowHeight; }
    std::int32_t GetSeparatorCount() const { return mSeparatorCount; }
    // The menu that opened this one, or null.
    RCPtr<LPopupMenu> GetParentMenu() const;
    // Where commands go without a receiver: the nearest ancestor that is no popup menu.
    RCPtr<LControl> GetOwnerControl() const;
    // Whether `menu` is this one, one it opened (down the chain) or one that opened it.
    bool IsInChain(const LPopupMenu* menu) const;

    // ---- LControl ---------------------------------------------------------------------------
    Result SetFocus(bool forward) override;                                           // 33
    Result OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override;   // 36
    Result ApplyLayoutDescriptor(ConstRCPtr<LControlDescriptor> descriptor) override; // 50
    Result RequestFocus(const RCPtr<LControl>& child) override;                       // 56
    Result OnMouseMoved(const RCPtr<LPointWithModifiersParam>& point) override;       // 63
    Result OnKeyDown(const RCPtr<LKeyParam>& key) override;                           // 75
    Result Initialize() override;                                                     // 87
    Result PlaceParts() override;                                                     // 90

    // ---- LListBox, LCheckedListBox ------------------------------------------------------------
    void OnSelectionChanged() override;
    Result AddItemControl() override;
    Result UpdateItemControl(std::int32_t itemIndex) override;
    // The row's width, but never below the menu's least width.
    std::int32_t GetItemWidth(std::int32_t index) override;
    std::int32_t GetContentHeight() const override;
    bool IsItemSelectable(std::int32_t index) const override;
    void ActivateItem(std::int32_t index) override;
    void ActivateCurrentItem() override;

protected:
    // A menu's check boxes show checks, never icons.
    bool TakesIconsFromLooks() const override { return false; }
    // Through GetItemWidth: a row's width is its label's and its keys'.
    std::int32_t MeasureWidest() override;
    Result OnIdle(const RCPtr<LNotificationDistributor>& sender,
                  const RCPtr<LNotification>& notification) override;

private:
    // The item at the index, or null.
    const RCPtr<LMenuItemDescriptor>& ItemAt(std::int32_t index) const;
    static bool HasSubItems(const RCPtr<LMenuItemDescriptor>& item);
    RCPtr<LCheckedListBoxItem> RowOfItem(std::int32_t index) const;
    void ArmTimer();
    void DisarmTimer();
    // The parent re-selects the row of its open sub-menu.
    void HighlightSubMenuItem();
    void SelectFirstRow();
    void ApplySizeLimits();
    void PlaceSubMenu(std::int32_t index);
    void HandDragOver();
    void AssignHotKeyTexts(LMenuDescriptor& menu, std::uint32_t depth, const RCPtr<LControl>& owner,
                           const HotKeyMap* windowKeys, const HotKeyMap* appKeys);
    // The row's "hotKeyLabel" draws its text with the colour part of the row's active look.
    static void FollowRowTextColour(const LControl& row, LControl& keys);
    Result OnRowHoverStatus(const RCPtr<LNotificationDistributor>& sender,
                            const RCPtr<LNotification>& notification);

    RCPtr<LNotificationHandler<LPopupMenu>> mHandler;
    RCPtr<LMenuDescriptor> mMenu;
    RCPtr<LPopupMenu> mOpenSubMenu;
    RCPtr<LMenuItemDescriptor> mOpenSubMenuItem;
    RCPtr<LNotificationReceiver> mCommandReceiver;
    RCPtr<LMenuItemUpdater> mItemUpdater;
    bool mTimerArmed = false;
    bool mIdleBegun = false;
    std::uint32_t mTimerStart = 0;
    bool mFocusHandOver = false;
    bool mSelfClosing = true;
    bool mClosing = false;
    std::int32_t mSeparatorRowHeight = 0;
    std::int32_t mSeparatorCount = 0;
    // Check box to label, the gap before the key text, and the key text's right margin.
    std::int32_t mRowMargin = -1;
};

} // namespace KR
