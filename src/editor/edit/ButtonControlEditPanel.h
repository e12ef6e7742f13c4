#pragma once
// The MIDI-mode editor of push buttons, pads and the sustain pedal: ten tab pages, one
// per mode (note, CC absolute, CC inc/dec, CC cycle, program, program inc/dec, program
// cycle, MMC, RPN/NRPN, other). The page in front is the mode. The editor stores no
// record: the embedding panel shows one and builds one back (ButtonModeRecord.h).
//
//     editor->ShowModeRecord(record);        // silent; repairs `record` in place
//     ... user edits ...                     // "NID_PARAMETERS_CHANGED" from the editor
//     KR::Array<signed char> edited = editor->BuildModeRecord();   // empty: send nothing
//
// The editor sends nothing but "NID_PARAMETERS_CHANGED" and never touches the model.

#include "editor/edit/OwnHandlerPanel.h"
#include "kr/controls/Button.h"
#include "kr/controls/ComboBox.h"
#include "kr/controls/NumericUpDown.h"
#include "kr/core/Array.h"
#include "kr/core/RCPtrArray.h"
#include "kr/ui/TabControl.h"

#include <vector>

class LButtonControlEditPanel : public LOwnHandlerPanel<LButtonControlEditPanel, HandlerOffer::OnceCreated>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainControl.EditPanel.ButtonTypePanel";

    using LOwnHandlerPanel::LOwnHandlerPanel;

    KR::Result Initialize() override;
    KR::Result ReleaseInternalReferences() override;

    // Repairs the record (NormalizeModeRecord), puts it on its page and brings that page
    // to the front without reporting a change (a cycle record still reports the cycle
    // fields' relabelling once). A record that is not 10 bytes is ignored.
    virtual void ShowModeRecord(KR::Array<signed char>& record);
    // A new 10-byte record from the page in front; an empty record when no page is in
    // front (the embedding panel then sends nothing).
    virtual KR::Array<signed char> BuildModeRecord();
    // When on, a shown note record shows the ON/OFF pair only while latching is on.
    virtual void SetOnOffFollowsLatching(bool follows);

    // Registers the handlers with every control the user can change; a refused
    // registration throws. Showing a record unregisters everything and calls this.
    void RegisterForAllParameterNotifications();
    // Shows and relabels as many value fields as the selected cycle type needs, then
    // reports "NID_PARAMETERS_CHANGED".
    void UpdateCCCycleTypeVisibleParameters();
    void UpdateProgramCycleTypeVisibleParameters();

    const KR::RCPtr<KR::LTabControl>& GetTabControl() const { return mTabControl; }
    // The channel list of every page, by page index.
    const KR::RCPtrArray<KR::LComboBox>& GetChannelSelectors() const { return mChannelSelectors; }
    bool GetOnOffFollowsLatching() const { return mOnOffFollowsLatching; }

private:
    KR::Result OnControlChanged(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                const KR::RCPtr<KR::LNotification>& notification);
    KR::Result OnCCCycleTypeChanged(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                    const KR::RCPtr<KR::LNotification>& notification);
    KR::Result OnProgramCycleTypeChanged(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                         const KR::RCPtr<KR::LNotification>& notification);

    void FindMmcNoteAndRpnPages();
    void FindCcPages();
    void FindProgramPages();
    void FindOtherPage();
    void SetRanges();

    // Fills the fields of the record's page and names it; the relabelling its cycle type
    // needs once the page is in front, or null.
    using CycleUpdate = void (LButtonControlEditPanel::*)();
    CycleUpdate ShowPageFields(const KR::Array<signed char>& record, KR::String& page);
    // Drops the bytes kept for the record shown before.
    void ForgetKeptBytes();
    // With the flag set, the note page's ON/OFF pair is shown only while latching is on.
    void FollowLatching(bool latching);
    void ShowCycle(const KR::Array<signed char>& record, const KR::RCPtr<KR::LComboBox>& type,
                   const KR::RCPtr<KR::LNumericUpDown>& second, const KR::RCPtr<KR::LNumericUpDown>& third,
                   const KR::RCPtr<KR::LNumericUpDown>& fourth);
    void BuildCycle(KR::Array<signed char>& record, const KR::RCPtr<KR::LComboBox>& type,
                    const KR::RCPtr<KR::LNumericUpDown>& second, const KR::RCPtr<KR::LNumericUpDown>& third,
                    const KR::RCPtr<KR::LNumericUpDown>& fourth) const;
    void UpdateCycleFields(const char16_t* pageName, const char16_t* const fields[3],
                           const char16_t* const labelIds[3], const KR::RCPtr<KR::LComboBox>& type,
                           const char* operation, bool tellLines);

    KR::RCPtr<KR::LTabControl> mTabControl;
    KR::RCPtrArray<KR::LComboBox> mChannelSelectors;
    KR::RCPtr<KR::LNumericUpDown> mNoteField;
    KR::RCPtr<KR::LNumericUpDown> mOnValueField;
    KR::RCPtr<KR::LNumericUpDown> mOffValueField;
    KR::RCPtr<KR::LButton> mLatchingButton;
    KR::RCPtr<KR::LComboBox> mMmcSelector;
    KR::RCPtrArray<KR::LNumericUpDown> mCcNumberFields;
    KR::RCPtrArray<KR::LNumericUpDown> mValueFieldsA;
    KR::RCPtrArray<KR::LNumericUpDown> mValueFieldsB;
    KR::RCPtr<KR::LNumericUpDown> mCcValue3Field;
    KR::RCPtr<KR::LNumericUpDown> mCcValue4Field;
    KR::RCPtrArray<KR::LNumericUpDown> mProgramFields;
    KR::RCPtrArray<KR::LNumericUpDown> mProgram2Fields;
    KR::RCPtr<KR::LNumericUpDown> mProgram3Field;
    KR::RCPtr<KR::LNumericUpDown> mProgram4Field;
    KR::RCPtr<KR::LComboBox> mCcIncDecTypeSelector;
    KR::RCPtr<KR::LComboBox> mProgramIncDecTypeSelector;
    KR::RCPtr<KR::LNumericUpDown> mProgramLsbField;
    KR::RCPtr<KR::LNumericUpDown> mProgramMsbField;
    KR::RCPtr<KR::LNumericUpDown> mProgramMinField;
    KR::RCPtr<KR::LNumericUpDown> mProgramMaxField;
    KR::RCPtr<KR::LNumericUpDown> mNrpnRpnMsbField;
    KR::RCPtr<KR::LNumericUpDown> mNrpnRpnLsbField;
    KR::RCPtr<KR::LNumericUpDown> mNrpnRpnValueField;
    KR::RCPtr<KR::LComboBox> mNrpnRpnTypeSelector;
    KR::RCPtr<KR::LComboBox> mOtherTypeSelector;
    KR::RCPtr<KR::LNumericUpDown> mOtherValueField;
    KR::RCPtr<KR::LComboBox> mCcCycleTypeSelector;
    KR::RCPtr<KR::LComboBox> mProgramCycleTypeSelector;
    bool mOnOffFollowsLatching = false;

    // Bytes a shown record put into lists that have no item for them: built back while
    // the list stays without a choice (the preset writers refuse 0x80 and above), and
    // the MMC command behind an appended "Other".
    std::vector<signed char> mKeptChannels;
    signed char mKeptOtherCode = 0;
    signed char mKeptMmcCommand = 13;
};
