#pragma once
// KR::LTextBox: the single-line editable field of the skins ("Framework.TextBox"): the
// preset name, every number field, the combo box's text. Positions and lengths count
// UTF-16 units of the control's text. Every change of the text goes through ApplyText, so
// the extent, the selection and "NID_TEXTBOX_TEXT_CHANGE" (no payload) always follow it.
//
// Typing and pasting obey one rule: a printable unit other than Tab that the character
// filter lets through. A paste is cut at its first line break and loses what typing
// would refuse, so the keyboard never receives a line feed in a name, nor a digits field
// a letter.
//
// Validation ("NID_TEXTBOX_VALIDATING", then "NID_TEXTBOX_VALIDATED", payload
// LTextValidationParams) runs on Enter, before the field takes the focus and when the
// focus would leave it: an invalid entry keeps the focus.
//
//     RCPtr<LTextBox> name(new LTextBox(parent, String(u"name")));
//     name->SetMaxLength(6);
//     name->SetText(String(u"Piano"), true);
//
// UI thread only.

#include "kr/controls/TextValidationParams.h"
#include "kr/core/RCPtr.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"
#include "kr/ui/ScrollView.h"

#include <cstdint>
#include <string>

namespace KR
{

class LTextBox : public LScrollView
{
public:
    static constexpr const char16_t* kClassName = u"Framework.TextBox";

    LTextBox(const RCPtr<LControl>& parent, const String& name);
    LTextBox(const RCPtr<IRootWindowServices>& rootWindow, const String& name);
    ~LTextBox() override;

    // ---- slots it overrides ---------------------------------------------------------------
    bool SetTextFromString(const String& text) override;                            // 0
    void SetScrollOffset(const PointD& offset) override;                            // 11
    bool IsEditTarget() override { return true; }                                   // 13
    bool CanPerformEdit(std::int32_t operation) override;                           // 15
    Result PerformEdit(std::int32_t operation) override;                            // 16
    Result SetFocus(bool forward) override;                                         // 33
    Result OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override; // 36
    void RegisterIdleHandlers() override;                                           // 38
    Result UpdateMenuItem(std::int32_t index, const String& notificationName,
                          MenuItemInfo& state) override; // 43
    // The edit menu, made on the first call after the box joined a window.
    const RCPtr<LMenuDescriptor>& GetContextMenu() override;                          // 44
    Result ApplyLayoutDescriptor(ConstRCPtr<LControlDescriptor> descriptor) override; // 50
    Result OnLeftButtonDown(const RCPtr<LMouseButtonParam>& button) override;         // 57
    Result OnMouseMoved(const RCPtr<LPointWithModifiersParam>& point) override;       // 63
    Result OnLeftClick(const RCPtr<LMouseButtonParam>& button) override;              // 67
    Result OnKeyDown(const RCPtr<LKeyParam>& key) override;                           // 75
    Result DrawOverlay(const RCPtr<LRenderer>& renderer) override;                    // 85
    Result Initialize() override;                                                     // 87
    String GetToolTipText() override;                                                 // 91
    bool CanReleaseFocus() override;

    // ---- its own slots ----------------------------------------------------------------------
    // The one path by which the text changes: the control's text, the extent, the selection
    // cleared, the caret to 0 with `caretToStart`, "NID_TEXTBOX_TEXT_CHANGE". 1 and nothing
    // else when the text is what it was.
    virtual Result ApplyText(const String& text, bool caretToStart);

    Result SetText(const String& text, bool caretToStart) { return ApplyText(text, caretToStart); }
    const String& GetText() const { return LControl::GetText(); }
    std::int32_t GetTextLength() const { return static_cast<std::int32_t>(GetText().GetLength()); }

    // 0 or less: no limit. A longer text is cut to the maximum, the caret at its end.
    void SetMaxLength(std::int32_t maximum);
    std::int32_t GetMaxLength() const { return mMaxLength; }
    void SetAutoScroll(std::int32_t axis, bool on);

    // kInvalidArg outside 0..length; 1 when the caret is there already and not forced.
    Result SetCaretPosition(std::int32_t position, bool force);
    std::int32_t GetCaretPosition() const { return mCaret; }
    void SetSelection(std::int32_t start, std::int32_t length, std::int32_t anchor);
    // first -1 clears; (0, -1) selects all; other negative values are ignored; else
    // first..last inclusive, limited to the text.
    void SelectRange(std::int32_t first, std::int32_t last);
    void ExtendSelectionTo(std::int32_t position);
    void ClearSelection();
    std::int32_t GetSelectionStart() const { return mSelectionStart; }
    std::int32_t GetSelectionLength() const { return mSelectionLength; }
    std::int32_t GetSelectionAnchor() const { return mAnchor; }
    bool HasSelection() const { return mSelectionLength > 0; }

    Result InsertCharacter(char16_t character);
    Result DeleteRange(std::int32_t start, std::int32_t count);
    Result DeleteSelection();
    // kFail without a selection or when the result would pass the maximum.
    Result ReplaceSelection(const String& text);
    RCPtr<LTextValidationParams> Validate();

    // Whether typing may put the unit in: printable, not Tab, let through by the filter.
    bool AcceptsCharacter(char16_t character) const;
    // The text a paste would insert: cut at the first line break, refused units dropped.
    String CleanPastedText(const String& text) const;
    // Spaces as word boundaries see them.
    static bool IsWordSpace(char16_t unit);
    // Word starts for Ctrl+Left/Right and the double click.
    std::int32_t GetNextWordStart(std::int32_t from) const;
    std::int32_t GetPreviousWordStart(std::int32_t from) const;

    // The characters the filter tests typed ones against, and whether it lists the only
    // ones allowed (else the ones refused).
    String characterFilter;
    bool filterIsAllowList = true;

    const String& GetCueText() const { return mCueText; }
    void SetCueText(const String& text) { mCueText = text; }

    // ---- display (TextBoxDisplay.cpp) -------------------------------------------------------
    // Text coordinates of the control (the scroll offset not taken off). All zero outside
    // 0..length.
    RectD GetCharRect(std::int32_t index);
    void UpdateCaretRect();
    RectD GetCaretRect() const { return mCaretRect; }
    bool IsCaretShown() const { return mCaretShown; }
    // The insertion position nearest the point (control coordinates plus the scroll offset).
    std::int32_t HitTestCharacter(const PointD& point);
    void ScrollToCaret();
    void UpdateLooks();
    // The edge-scrolling speed of a drag at pointer x (0 inside the calm band).
    double GetEdgeScrollSpeed(double x);

    static constexpr std::int32_t kLookNormal = 0;
    static constexpr std::int32_t kLookHot = 1;
    static constexpr std::int32_t kLookCueBase = 2;
    static constexpr std::int32_t kLookFocused = 3;
    static constexpr std::int32_t kLookFocusedHot = 4;
    static constexpr std::int32_t kLookDisabled = 6;
    static constexpr std::int32_t kLookCue = 9;
    static constexpr std::int32_t kLookSelection = 10;
    static constexpr std::int32_t kLookSelectionHot = 11;

protected:
    Result OnIdle(const RCPtr<LNotificationDistributor>& sender,
                  const RCPtr<LNotification>& notification) override;

    // The caret moved or the text changed: what the display keeps in step.
    void OnCaretMoved();
    void OnSelectionChanged();

private:
    void Construct();
    // The active look's text area; all zero without laid-out text.
    RectD GetTextArea();
    double MeasureWidth(std::int32_t count);
    double GetLineHeight();
    double GetScrollRoom();
    void RestartBlink();
    void InvalidateAll();
    // The clipboard's text cleaned for pasting; false when it holds no text.
    bool GetPasteText(String& out) const;
    Result Paste();
    Result CopySelection();
    Result HandleCharacter(char16_t character);
    Result HandleShiftArrow(bool right);
    void MakeEditMenu();

    String mCueText;
    std::int32_t mCaret = 0;
    std::int32_t mSelectionStart = 0;
    std::int32_t mSelectionLength = 0;
    std::int32_t mAnchor = 0;
    std::int32_t mMaxLength = 0;
    bool mAutoScroll[2] = {false, false};
    bool mCaretShown = true;
    RectD mCaretRect;
    bool mScrollInProgress = false;
    double mNextBlink = 0.0;
    bool mEditMenuOwed = false;
};

} // namespace KR
