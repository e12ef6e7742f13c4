#pragma once
// KR::LListBoxItem: one row of a list box. The list binds it to an item (text, selected
// value, alternate and blank flags); the row picks one of its skin's 14 looks from that and
// its conditions: normal, hot, pressed, the same three alternate, disabled, then the six
// again for selected rows, and a last look for blank rows and disabled selected rows.
// In drop-down mode a press on the row is handed to the list, which tracks the selection
// while the button is held.

#include "kr/ui/Control.h"

#include <cstdint>

namespace KR
{

class LListBoxItem : public LControl
{
public:
    static constexpr char16_t kClassName[] = u"Framework.ListBoxItem";
    static constexpr char16_t kOverlayClassName[] = u"Framework.OverlayButton";
    static constexpr std::int32_t kLookCount = 14;
    static constexpr std::int32_t kNormalLook = 0;
    static constexpr std::int32_t kHotLook = 1;
    static constexpr std::int32_t kPressedLook = 2;
    static constexpr std::int32_t kAlternateLooks = 3; // added for the alternate set
    static constexpr std::int32_t kDisabledLook = 6;
    static constexpr std::int32_t kSelectedLooks = 7; // added for a selected row
    static constexpr std::int32_t kBlankLook = 13;

    LListBoxItem(const RCPtr<LControl>& parent, const String& name);
    ~LListBoxItem() override;

    void OnValueChanged() override;                                                 // 2
    Result OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override; // 36
    void SetEnabled(bool enabled) override;                                         // 49
    String GetToolTipText() override;                                               // 91
    Result BeginDrag(std::uint32_t button, std::int32_t x, std::int32_t y) override;

    // The look the row's state calls for, 0..13.
    virtual std::int32_t GetVisualState();

    // Both refresh the look; no effect when unchanged. A blank row's text is emptied and
    // stays so when the flag is cleared: the list binds the text again.
    void SetAlternate(bool alternate);
    void SetBlank(bool blank);
    void SetDropDown(bool dropDown) { mDropDown = dropDown; }
    bool IsAlternate() const { return mAlternate; }
    bool IsBlank() const { return mBlank; }
    bool IsDropDown() const { return mDropDown; }

    // Shows the look GetVisualState names, alone, and redraws the row.
    void RefreshLook();

private:
    bool mAlternate = false;
    bool mDropDown = false;
    bool mBlank = false;
};

} // namespace KR
