#pragma once
// KR::LMultiColumnListBox: a table shown as list boxes side by side, one per column, under an
// optional row of header buttons. Item i of every column is table row i: the columns keep
// their selection, hover look and vertical scroll position in step, and a click on a header
// sorts every column by that column's texts (ignoring case), ascending first, then
// descending. The panel's own bars scroll the columns, which are list boxes without bars.
// Filling every column with the same number of items, in row order, is the owner's task.
//
// Parts: "listboxNoScroll1", "listboxNoScroll2".. (list boxes; the first number without one
// ends the columns) and "buttonColumnHeader1".. (buttons, optional). A skin without any
// column makes Initialize give kFail; the box then ignores layout, extent changes and
// sorting.
// Sends (UI thread, no payload) "NID_SELECTION_CHANGE" after a column's selection changed
// (never for a sort), "NID_ITEM_ACTIVATED" and "NID_ITEM_DOUBLE_CLICKED" passed on from the
// columns, and the scroll view's own notifications.

#include "kr/notify/NotificationHandler.h"
#include "kr/ui/Panel.h"

#include <cstdint>
#include <vector>

namespace KR
{

class LButton;
class LListBox;

class LMultiColumnListBox : public LPanel
{
public:
    static constexpr char16_t kClassName[] = u"Framework.listbox2ColumnSortable";

    LMultiColumnListBox(const RCPtr<LControl>& parent, const String& name);
    ~LMultiColumnListBox() override;

    Result ReleaseInternalReferences() override;
    // The box's own table first (once created), then the panel's.
    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;

    void ScrollContent(const PointD& oldOffset, const PointD& newOffset) override; // 6
    void OnChildRectChanged(const RCPtr<LControl>& child) override;                // 7
    // kFail without a column; with headers 1 when there is one per column, else 0.
    Result Initialize() override; // 87
    Result PlaceParts() override; // 90

    std::int32_t GetColumnCount() const { return static_cast<std::int32_t>(mColumns.size()); }
    RCPtr<LListBox> GetColumn(std::int32_t column) const;
    std::int32_t GetHeaderCount() const { return static_cast<std::int32_t>(mHeaders.size()); }
    // The direction of the column's next sort; false out of range.
    bool IsNextSortAscending(std::int32_t column) const;
    // The item the pointer is over in some column, or -1.
    std::int32_t GetHoveredItem() const { return mHoveredItem; }
    // Sorts every column by the texts of `column`, as a click on its header does, and turns
    // that column's next direction round. kInvalidArg for a column that does not exist.
    Result SortByColumn(std::int32_t column);

private:
    Result OnColumnSelectionChange(const RCPtr<LNotificationDistributor>& sender,
                                   const RCPtr<LNotification>& notification);
    Result OnColumnItemHover(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification);
    Result OnColumnItemActivated(const RCPtr<LNotificationDistributor>& sender,
                                 const RCPtr<LNotification>& notification);
    Result OnColumnItemDoubleClicked(const RCPtr<LNotificationDistributor>& sender,
                                     const RCPtr<LNotification>& notification);
    Result OnFirstColumnScrolled(const RCPtr<LNotificationDistributor>& sender,
                                 const RCPtr<LNotification>& notification);
    Result OnFirstColumnExtentChange(const RCPtr<LNotificationDistributor>& sender,
                                     const RCPtr<LNotification>& notification);
    Result OnHeaderClick(const RCPtr<LNotificationDistributor>& sender,
                         const RCPtr<LNotification>& notification);

    std::int32_t ColumnIndexOf(const LNotificationDistributor* sender) const;
    void FindColumns();
    void FindHeaders();
    // The scroll step from the first column's rows, then the extent up to the last column's
    // right edge and as deep as the first column's rows.
    void UpdateExtentFromColumns();
    void LimitColumnSizes(LListBox& column);
    void PerformSort(std::int32_t column);
    // Takes the box's selection registration with every column out, or puts it back; a
    // failure raises "Failed Result" naming the sort and `line`.
    void SetSelectionRegistrations(bool registered, int line);

    RCPtr<LNotificationHandler<LMultiColumnListBox>> mHandler;
    std::vector<RCPtr<LListBox>> mColumns;
    std::vector<RCPtr<LButton>> mHeaders;
    std::vector<bool> mSortAscending;
    std::int32_t mHoveredItem = -1;
};

} // namespace KR
