#pragma once
// A note number picked with an up/down (0..127) and spelt beside it by two labels: the
// note name and the octave, each the entry of its label's own string table at that
// position ("C" "(4)" for 60 in a note selector, "C" "(6)" in a zone note selector, whose
// octave table counts from 1). The edit panels read and set the up/down's value.
//
//     auto* selector = ...;                          // skin child "noteSelector"
//     selector->GetNumericUpDown()->SetScaledValue(60.0);
//     // a change of the up/down's value updates both labels

#include "kr/controls/Label.h"
#include "kr/controls/NumericUpDown.h"
#include "kr/core/RCPtr.h"
#include "kr/notify/NotificationHandler.h"
#include "kr/ui/Panel.h"
#include "kr/ui/StringTable.h"

#include <cstdint>

class LMidiNoteSelector : public KR::LPanel
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.Control.NoteSelector";
    static constexpr char16_t kZoneClassName[] = u"PresetEditor.Control.ZoneNoteSelector";

    using KR::LPanel::LPanel;

    // Children "numericUpDown" (required), "noteNameLabel" and "octaveNameLabel"; the
    // up/down gets the range 0..127 and the labels show its value.
    KR::Result Initialize() override;
    KR::Result ReleaseInternalReferences() override;
    KR::Result Receive(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                       const KR::RCPtr<KR::LNotification>& notification) override;
    KR::Result UnregisterForNotification(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                         KR::NotificationName name) override;

    // Shows the `index`-th entry (in key order) of `table` on `label`; an index past the
    // table, a missing table or label leaves the label as it is.
    virtual void SetLabelFromTable(const KR::RCPtr<KR::LStringTable>& table, std::uint32_t index,
                                   const KR::RCPtr<KR::LLabel>& label);
    // Both labels from the up/down's value (truncated): note name value % 12, octave value / 12.
    void UpdateNoteLabels();

    const KR::RCPtr<KR::LNumericUpDown>& GetNumericUpDown() const { return mNumericUpDown; }
    const KR::RCPtr<KR::LLabel>& GetNoteNameLabel() const { return mNoteNameLabel; }
    const KR::RCPtr<KR::LLabel>& GetOctaveNameLabel() const { return mOctaveNameLabel; }

private:
    KR::Result OnUpDownValueChanged(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                    const KR::RCPtr<KR::LNotification>& notification);

    KR::RCPtr<KR::LNotificationHandler<LMidiNoteSelector>> mHandler;
    KR::RCPtr<KR::LLabel> mNoteNameLabel;
    KR::RCPtr<KR::LLabel> mOctaveNameLabel;
    KR::RCPtr<KR::LNumericUpDown> mNumericUpDown;
};
