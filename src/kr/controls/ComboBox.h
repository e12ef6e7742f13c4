#pragma once
// KR::LComboBox: the drop-down selector of the skins ("Framework.ComboBox", and with a text
// field "Framework.ComboTextBox"). Its "listBox" child (an LListBox in drop-down mode) opens
// below or above the combo, wherever the window has room, and a press on the combo that
// opens it goes on as a drag over the rows: releasing over a row picks it. An optional
// "textBox" child selects the item matching its validated text.
// The combo's own text is the selected item's text. Items come from the "ITEM.nn" texts of
// its string table; "INITIAL_SELECTED_INDEX" picks the first selection silently.
// Sends (UI thread): "NID_DROPDOWN_OPENING" (no payload) before the list opens,
// "NID_SELECTION_CHANGE" (no payload) when the selected index changes, and passes on the
// text box's "NID_TEXTBOX_VALIDATING", "NID_TEXTBOX_VALIDATED" and "NID_TEXTBOX_TEXT_CHANGE"
// with their payloads.
//
//     combo->AddItem(String(u"Linear"));
//     combo->SetSelectedIndex(0);            // "NID_SELECTION_CHANGE", text "Linear"

#include "kr/controls/DropDownControl.h"
#include "kr/controls/ListBox.h"
#include "kr/notify/NotificationHandler.h"

#include <cstdint>

namespace KR
{

class LTextBox;

class LComboBox : public LDropDownControl
{
public:
    static constexpr char16_t kClassName[] = u"Framework.ComboBox";
    static constexpr char16_t kTextClassName[] = u"Framework.ComboTextBox";
    // Looks: 0 normal, 1 focused, 2 hot, 3 hot and focused, 4 open, 5 open and hot,
    // 6 disabled.
    static constexpr std::int32_t kLookFocused = 1;
    static constexpr std::int32_t kLookHot = 2;
    static constexpr std::int32_t kLookOpen = 4;
    static constexpr std::int32_t kLookDisabled = 6;
    // The room kept free between an open list and the window's edge.
    static constexpr double kWindowMargin = 5.0;

    LComboBox(const RCPtr<LControl>& parent, const String& name);
    ~LComboBox() override;

    Result ReleaseInternalReferences() override;
    // Its own table first, then the drop-down control's.
    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;
    // Its own table's entry goes first, then the chain's.
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;

    // Sets the text, then selects the last item of that text, whatever its case.
    bool SetTextFromString(const String& text) override;                            // 0
    Result OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override; // 36
    void SetEnabled(bool enabled) override;                                         // 49
    // Down and Enter open the list, Escape closes it.
    Result OnKeyDown(const RCPtr<LKeyParam>& key) override; // 75
    // Escape a child left closes the list.
    Result DispatchKey(const RCPtr<LKeyParam>& key) override; // 77
    Result Initialize() override;                             // 87
    Result PlaceParts() override;                             // 90
    // Its own text when it does not fit, else the skin's tooltip.
    String GetToolTipText() override; // 91

    bool IsDropDownShown() override;
    // Places the list where the window has room, selects the selected item when it shows
    // the combo's text, else the last item showing it, else item 0, shows or hides it; an
    // opening press goes on as a drag on the list.
    // kFail without a list.
    Result ShowDropDown(bool show) override;

    // ---- its own slots ----------------------------------------------------------------------
    // kFail without a list; else the list's result. A selection past the new end is cleared
    // silently; an open list is fitted again.
    virtual std::int32_t SetItemCount(std::int32_t count);
    // Selects the item alone and shows its text; -1 for a negative index or one past the
    // end. "NID_SELECTION_CHANGE" only when the index changed. Returns the selected index.
    virtual std::int32_t SetSelectedIndex(std::int32_t index);
    virtual Result UpdateLook();

    // Leaves no item selected and shows no text, without "NID_SELECTION_CHANGE": for an
    // owner whose value has no item in the list, which must not go on showing the item
    // it had before. Opening the list then marks no row, until an item is selected again.
    // (SetSelectedIndex(-1) keeps the text: a typed text that matches no item stays.)
    void ClearShownItem();

    std::int32_t GetSelectedIndex() const { return mSelectedIndex; }
    // Sets the combo's text and selects the last item of that text, whatever its case.
    bool SetText(const String& text);
    // The item at the index, or the shared empty item.
    const LListBox::Item& GetItem(std::int32_t index);
    // Empty for an index out of range or without a list.
    String GetItemText(std::int32_t index) const;
    // Appends an item of that text; what InsertItem returns.
    std::int32_t AddItem(const String& text);
    // The index the item went to; kInvalidArg for a null tag, kFail without a list. The
    // selected item stays selected.
    std::int32_t InsertItem(std::int32_t index, const ConstRCPtr<LTaggableObject>& tag);
    std::int32_t GetItemCount() const { return mList ? mList->GetItemDataCount() : 0; }

    const RCPtr<LListBox>& GetListBox() const { return mList; }
    const RCPtr<LTextBox>& GetTextBox() const { return mTextBox; }
    // Where the left button last went down on the combo, in its own coordinates.
    PointD GetComboPressPoint() const { return mPressPoint; }
    // The look index UpdateLook chooses from the state, before any offset of a derived class.
    std::int32_t ChooseLook();

private:
    Result OnListVisibility(const RCPtr<LNotificationDistributor>& sender,
                            const RCPtr<LNotification>& notification);
    Result OnItemActivated(const RCPtr<LNotificationDistributor>& sender,
                           const RCPtr<LNotification>& notification);
    Result OnTextValidated(const RCPtr<LNotificationDistributor>& sender,
                           const RCPtr<LNotification>& notification);
    Result PassTextNotificationOn(const RCPtr<LNotificationDistributor>& sender,
                                  const RCPtr<LNotification>& notification);
    Result OnTextFocus(const RCPtr<LNotificationDistributor>& sender,
                       const RCPtr<LNotification>& notification);
    // The list's place, size and limits for opening, against the window's client height.
    void PlaceList(IRootWindowServices& window);
    // The list's X minimum is the combo's width unless its skin gives one.
    void FitListWidth();
    void SelectItemShowingText();

    RCPtr<LNotificationHandler<LComboBox>> mHandler;
    RCPtr<LListBox> mList;
    RCPtr<LTextBox> mTextBox;
    std::int32_t mSelectedIndex = -1;
    std::int32_t mInitialSelectedIndex = 0;
    // Set by ClearShownItem, until an item is selected or a text set.
    bool mShowsNoItem = false;
    PointD mPressPoint;
};

} // namespace KR
