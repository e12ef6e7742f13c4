#pragma once
// KR::LListBox: the skinned list. The items (text tag, selected value, alternate and blank
// flags) live apart from the few row controls on screen: row k shows item first shown + k,
// and scrolling rebinds the rows instead of making one control per item. The rows are the
// skin's own "item1", "item2".. children, or clones of its "templateItem" child made until
// they cover the visible height.
// Keeps a selection with an anchor and a caret and the count of selected items; loads its
// items from the "ITEM.nn" texts of its string table.
// Sends (UI thread, no payload) "NID_SELECTION_CHANGE" (not in drop-down mode),
// "NID_ITEM_ACTIVATED", "NID_ITEM_DOUBLE_CLICKED" (not in drop-down mode); and with an
// LItemConditionsParam "NID_ITEM_HOVER_CONDITION_CHANGE" and
// "NID_ITEM_LEFT_DRAG_CONDITION_CHANGE" when a row's condition changes.

#include "kr/core/TaggableObject.h"
#include "kr/notify/NotificationHandler.h"
#include "kr/ui/LayoutDescriptor.h"
#include "kr/ui/ScrollView.h"

#include <cstdint>
#include <vector>

namespace KR
{

class LFont;
class LListBoxItem;
class LMeasurementRenderer;
class LStringTable;

class LListBox : public LScrollView
{
public:
    static constexpr char16_t kClassName[] = u"Framework.ListBox";
    static constexpr char16_t kNoScrollClassName[] = u"Framework.listboxNoScroll";
    static constexpr std::int32_t kDefaultRowHeight = 14;

    struct Item
    {
        ConstRCPtr<LTaggableObject> tag;
        double value = 0.0;
        bool alternate = false;
        bool blank = false;
    };

    LListBox(const RCPtr<LControl>& parent, const String& name);
    ~LListBox() override;

    Result ReleaseInternalReferences() override;
    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;
    // Clears its own table, then the base class's chain and the client's registration.
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;
    void SetScrollOffset(const PointD& offset) override;                            // 11
    Result OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override; // 36
    void OnChildRemoved(std::int32_t index) override;                               // 39
    // A list hidden on its own makes the rows it owes just before it shows.
    bool SetVisible(bool visible) override;                                           // 40
    Result ApplyLayoutDescriptor(ConstRCPtr<LControlDescriptor> descriptor) override; // 50
    Result OnMouseMoved(const RCPtr<LPointWithModifiersParam>& point) override;       // 63
    Result OnLeftButtonUp(const RCPtr<LMouseButtonParam>& button) override;           // 58
    Result OnKeyDown(const RCPtr<LKeyParam>& key) override;                           // 75
    void OnLayoutChanged() override;                                                  // 83
    Result Initialize() override;                                                     // 87
    // A "templateItem" descriptor offered without a control becomes the row template; a
    // row "item<n>" becomes row n - 1; any other descriptor without a control is refused.
    Result AddChildControl(const RCPtr<LControl>& child,
                           ConstRCPtr<LControlDescriptor> descriptor) override; // 89
    void OnScrollClientRectChanged() override;                                  // 95
    void OnScrollBarAvailabilityChanged(std::int32_t axis) override;            // 96

    // ---- its own slots ----------------------------------------------------------------------
    virtual std::int32_t GetItemDataCount() const { return static_cast<std::int32_t>(mItems.size()); }
    virtual std::int32_t SetItemCount(std::int32_t count);
    virtual void OnSelectionChanged() {}
    virtual void OnItemActivated() {}
    virtual Result AddItemControl();
    // 1 when no row shows the item.
    virtual Result UpdateItemControl(std::int32_t itemIndex);
    virtual std::int32_t GetItemWidth(std::int32_t index);
    virtual std::int32_t GetContentHeight() const { return GetItemDataCount() * mRowHeight; }
    virtual bool IsItemSelectable(std::int32_t) const { return true; }
    virtual void SwapItemData(std::int32_t a, std::int32_t b);
    // The record at the index; the caller checks the range.
    virtual Item& GetItemData(std::int32_t index) { return mItems[static_cast<std::size_t>(index)]; }
    virtual void InsertItemData(std::int32_t index);
    virtual void RemoveItemData(std::int32_t index);

    // ---- selection ----------------------------------------------------------------------------
    // Returns first, or kInvalidArg for a first outside the items.
    Result SelectRange(std::int32_t first, std::int32_t last, bool exclusive);
    // 1 when out of range or not selected.
    Result DeselectItem(std::int32_t index);
    void DeselectAll();
    const std::vector<std::int32_t>& GetSelectedIndices();
    void SetItemSelectedValue(std::int32_t index, double value);
    std::int32_t GetSelectedCount() const { return mSelectedCount; }
    std::int32_t GetAnchor() const { return mAnchor; }
    std::int32_t GetCaret() const { return mCaret; }
    bool IsItemSelected(std::int32_t index) const;
    // Nothing in the program allows more than one selected item through the check boxes.
    bool IsMultipleSelection() const { return mMultipleSelection; }

    // ---- items --------------------------------------------------------------------------------
    Result EnsureItemVisible(std::int32_t index);
    void SetItemTag(std::int32_t index, const ConstRCPtr<LTaggableObject>& tag);
    void SetItem(std::int32_t index, const ConstRCPtr<LTaggableObject>& tag, double value, bool alternate,
                 bool blank);
    Result SetItemAlternate(std::int32_t index, bool alternate);
    Result SetItemBlank(std::int32_t index, bool blank);
    Result SetItemForcedHover(std::int32_t index, bool forced);
    Result SetRowLook(std::int32_t index, std::int32_t look);
    String GetItemText(std::int32_t index) const;
    std::int32_t InsertItem(std::int32_t index, const ConstRCPtr<LTaggableObject>& tag);
    Result RemoveItem(std::int32_t index);
    Result RemoveAllItems();
    // The first match after `start`; the one-argument form the last match.
    std::int32_t FindItemByText(const String& text, std::int32_t start) const;
    std::int32_t FindItemByText(const String& text) const;
    // The item under a point in window coordinates, or -1.
    std::int32_t HitTestItem(const PointD& point);
    RectD GetItemRect(std::int32_t index);
    // kInvalidArg for a null table.
    Result LoadItemTexts(const ConstRCPtr<LStringTable>& section);
    void SetDropDownMode(bool dropDown);
    bool IsDropDownMode() const { return mDropDown; }
    // Nothing for an index out of range or not selectable; hides a drop-down list.
    virtual void ActivateItem(std::int32_t index);
    // Enter: the caret's item.
    virtual void ActivateCurrentItem();
    std::int32_t RowIndexOfItem(std::int32_t index) const;
    std::int32_t ItemIndexOfRow(const LControl* row) const;
    std::int32_t GetRowCount() const { return static_cast<std::int32_t>(mRows.size()); }
    // The rows a list hidden on its own has not made yet; 0 once it showed.
    std::int32_t GetOwedRowCount() const { return mOwedRows; }
    RCPtr<LListBoxItem> GetRow(std::int32_t row) const;
    std::int32_t GetRowHeight() const { return mRowHeight; }
    std::int32_t GetFirstShown() const { return mFirstShown; }
    std::int32_t GetWidestWidth() const { return mWidestWidth; }
    void SnapToRows();
    void SetListHeight(double height);
    void SetListWidth(double width);
    void RebindRows(std::int32_t fromItem);

protected:
    // The widest of the items' widths (GetItemWidth). A list that measures its items in a way
    // of its own measures them so here too.
    virtual std::int32_t MeasureWidest();
    void UpdateWidestItem();
    // After items came or went: the widest measured, the extent, the rows' places and a
    // drop-down's height set for them.
    void FitToItems();
    // A wider item becomes the widest; the extent and, for rows that expand, the list follow.
    void RaiseWidest(std::int32_t width);
    void UpdateClientExtent();
    void FillRows();
    void AnnounceSelectionChange();
    void TakeRowGeometry(LControl& row);

private:
    Result OnRowMouseDown(const RCPtr<LNotificationDistributor>& sender,
                          const RCPtr<LNotification>& notification);
    Result OnRowHover(const RCPtr<LNotificationDistributor>& sender,
                      const RCPtr<LNotification>& notification);
    Result OnRowLeftDrag(const RCPtr<LNotificationDistributor>& sender,
                         const RCPtr<LNotification>& notification);
    // Passes a row's condition change on as the item's.
    void SendItemConditions(const RCPtr<LControl>& row, const RCPtr<LConditionsParam>& conditions,
                            NotificationName name);
    // The template's descriptor becomes the rows' model and gives their geometry.
    void TakeTemplate(const RCPtr<LControlDescriptor>& descriptor, LControl& measured);
    bool TemplateExpandsX() const;
    bool TemplateSizedBySelf() const;
    void TakeWidest(std::int32_t width);
    void FollowVerticalBar();
    void KeepPartsInView();
    void ListenToRow(const RCPtr<LControl>& row);
    void SetItemText(std::int32_t index);
    void SelectStep(std::int32_t from, std::int32_t step);
    bool PassKeyToBar(std::int32_t axis, const RCPtr<LKeyParam>& key);
    void FollowCountInDropDown();
    // `made` false: only the first row is made, the others are counted as owed.
    void FillRows(bool made);
    void MakeOwedRows();
    bool OwnVisibleFlag() const;
    void PlaceRowAtWidest(LListBoxItem& row);
    // What measuring an item needs that is the same for every item; the list has rows.
    struct ItemMeasure
    {
        RCPtr<LMeasurementRenderer> renderer;
        RCPtr<LFont> font;
        double room = 0.0;
    };
    ItemMeasure PrepareItemMeasure() const;
    std::int32_t MeasureItem(const ItemMeasure& measure, std::int32_t index) const;
    // Items that came or went in a bulk change rebind the rows from the first of them once,
    // when the change ends (FitToItems), not each time.
    void RebindAfterBulk(std::int32_t fromItem);
    // Scrolling (ListBoxScroll.cpp): what each row's drawing depends on besides its place.
    struct RowFace;
    std::vector<RowFace> RowFaces() const;
    // The rows' pixels moved by `step` rows in the window, and the rows that show something
    // else than what they receive invalidated; false, with nothing done, when they cannot be.
    bool MoveRowPixels(std::int32_t step, const std::vector<RowFace>& before);

    RCPtr<LNotificationHandler<LListBox>> mHandler;
    std::int32_t mRowBaseWidth = 0;
    std::int32_t mWidestWidth = 0;
    std::vector<Item> mItems;
    std::vector<RCPtr<LListBoxItem>> mRows;
    RCPtr<LControlDescriptor> mTemplate;
    std::int32_t mAnchor = -1;
    std::int32_t mCaret = -1;
    bool mDropDown = false;
    std::int32_t mRowHeight = kDefaultRowHeight;
    std::vector<std::int32_t> mSelected;
    std::int32_t mSelectedCount = 0;
    std::int32_t mFirstShown = 0;
    std::int32_t mRowTextOverflow = kTextOverflowExpand;
    bool mFilling = false;
    bool mGeometryKnown = false;
    bool mBulkUpdate = false;
    std::int32_t mRebindFrom = -1;
    bool mApplyingLayout = false;
    bool mVerticalBarShown = false;
    bool mMultipleSelection = false;
    std::int32_t mOwedRows = 0;

protected:
    static constexpr std::int32_t kMaxRows = 4096;
    // Rows below the first wait until the list shows, when it is hidden on its own. Lists
    // whose rows are built by their owner (the checked lists, menus) make them at once.
    bool mRowsWaitForShow = true;
};

} // namespace KR
