#pragma once
// The editor of a touch-pad axis' note set (the axis panel's "NOTE" page): a mode (a
// range between two notes, or 3 to 8 notes), a scale that fills the notes from the first
// one, and eight note boxes. The editor owns no parameter: its owner shows a block and
// builds one, and hears "NID_PARAMETERS_CHANGED" from the editor after every change.
//
// The block is nine bytes: the note count (2 for a range), the first note, the last note,
// then the notes between in order and the hidden fields' notes. The fields show the notes
// in rising order, so showing moves the last note into place (in the caller's block) and
// building moves it back; the field whose label reads "LAST" marks it.
//
//     KR::Array<signed char> block = {8, 60, 72, 62, 64, 65, 67, 69, 71};
//     notes->ShowNoteModeBlock(block);   // fields 60 62 64 65 67 69 71 72, "Major"
//     notes->BuildNoteModeBlock();       // 8 60 72 62 64 65 67 69 71
//
// Showing does not suspend the editor's handlers: a show runs them as the user's edits
// would, and the owner hears each change.

#include "editor/edit/OwnHandlerPanel.h"
#include "kr/controls/ComboBox.h"
#include "kr/controls/NumericUpDown.h"
#include "kr/core/Array.h"
#include "kr/core/RCPtrArray.h"

#include <cstdint>

class LNoteModeEditPanel : public LOwnHandlerPanel<LNoteModeEditPanel, HandlerOffer::OnceCreated>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainControl.EditPanel.XYPadNotes";
    static constexpr std::uint32_t kBlockSize = 9;
    static constexpr std::uint32_t kFieldCount = 8;
    // Mode list index + this is the note count.
    static constexpr std::int32_t kRangeCount = 2;

    using LOwnHandlerPanel::LOwnHandlerPanel;

    // Takes both lists and the eight boxes and registers with them; a missing list box
    // throws (a missing list field fails at its registration).
    KR::Result Initialize() override;
    KR::Result ReleaseInternalReferences() override;

    // Shows a block; moves the last note of the caller's block into field order. A count
    // outside 2..8 is shown as the nearest; a block of another size is ignored.
    virtual void ShowNoteModeBlock(KR::Array<signed char>& block);
    virtual KR::Array<signed char> BuildNoteModeBlock();
    virtual KR::Result OnNoteValueChange(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                         const KR::RCPtr<KR::LNotification>& notification);
    virtual KR::Result OnNoteModeTypeChange(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                            const KR::RCPtr<KR::LNotification>& notification);
    virtual KR::Result OnNoteScaleTypeChange(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                             const KR::RCPtr<KR::LNotification>& notification);

    // The scale list, the mode list and every note box; a refused registration throws.
    void RegisterForAllParameterNotifications();

    const KR::RCPtr<KR::LComboBox>& GetNoteModeTypeSelector() const { return mNoteModeTypeSelector; }
    const KR::RCPtr<KR::LComboBox>& GetNoteScaleTypeSelector() const { return mNoteScaleTypeSelector; }
    const KR::RCPtrArray<KR::LNumericUpDown>& GetNoteSelectors() const { return mNoteSelectors; }

private:
    // Shows fields 1..count (the first always), the last of them reading "LAST".
    void UpdateNoteFields(std::uint8_t count);
    // Selects the scale the eight notes follow from the first, or "Off".
    void DetectNoteScale();
    // Fills the notes from the first with the selected scale, with every handler off.
    void ApplyNoteScale();

    std::int32_t ModeIndex() const;
    std::int32_t ScaleIndex() const;
    // The note of box k (0 for a box the page lacks), and a note set on it.
    std::int32_t Note(std::uint32_t k) const;
    void SetNote(std::uint32_t k, signed char note);
    KR::RCPtr<KR::LControl> FieldLabel(std::uint32_t field) const;

    KR::RCPtrArray<KR::LNumericUpDown> mNoteSelectors;
    KR::RCPtr<KR::LComboBox> mNoteModeTypeSelector;
    KR::RCPtr<KR::LComboBox> mNoteScaleTypeSelector;
};
