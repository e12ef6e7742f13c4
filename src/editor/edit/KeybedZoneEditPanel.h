#pragma once
// The edit panel of one keybed zone ("zoneEditPanel" of the device view). The zone group
// binds it with SetFirstParamID when the user picks a zone; the zone's block then arrives
// through SetParamValueLocal and is shown, and every change the user makes is handed to
// the main control (the model's root) as the whole new block.
//
// The block is nine bytes:
//
//     0 on (0/1)    1 channel (0 Global, 1..16)    2 program    3 bank MSB    4 bank LSB
//     5 first key   6 last key (keys 0..48, the first never above the last; a block
//                   that breaks this is shown as it stands, and the user's change of a
//                   key corrects it)
//     7 octave + 5 (0..10)    8 transpose + 12 (0..24)
//
//     panel->SetFirstParamID(group, 3, 2);        // "ZONE 3"; the engine is asked for id 3
//     panel->SetParamValueLocal(descriptor, value, false); // shown, then passed to the group

#include "device/ControlModules.h"
#include "editor/edit/BlockEditPanel.h"
#include "kr/controls/Button.h"
#include "kr/controls/ComboBox.h"
#include "kr/controls/Label.h"
#include "kr/controls/NumericUpDown.h"
#include "kr/core/Array.h"

#include <cstdint>

class LKeybedZoneEditPanel
    : public LBlockEditPanel<LKeybedZoneEditPanel, IKeybedZone, HandlerOffer::OnceCreated>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainPage.ZoneEditPanel";
    static constexpr std::uint32_t kBlockSize = 9;
    // The keybed has 49 keys; the note selectors offer the whole MIDI range.
    static constexpr std::int32_t kHighestKey = 48;

    LKeybedZoneEditPanel(const KR::RCPtr<KR::LControl>& parent, const KR::String& name);

    // Takes the controls and registers with them at once; a missing control or a refused
    // registration throws.
    KR::Result Initialize() override;
    KR::Result ReleaseInternalReferences() override;

    // The block as the controls show it now; reads them only.
    virtual KR::Array<signed char> BuildZoneBlock();

    // Shows the zone's block and passes it on to the parent module. 0x80004005 for another
    // id or a value that is not nine bytes; nothing is shown then.
    std::int32_t SetParamValueLocal(const KR::ParamDescriptor& descriptor, const KR::Variant& value,
                                    bool fromDevice) override;

    // Hands the block to the main control; nothing before the panel is bound or when the
    // root is not the model's root.
    void SendZoneBlock();
    // "ZONE n" from the label's own text.
    void SetZoneLabelText(std::int32_t zoneNumber);

    const KR::RCPtr<KR::LNumericUpDown>& GetStartNote() const { return mStartNote; }
    const KR::RCPtr<KR::LNumericUpDown>& GetEndNote() const { return mEndNote; }

protected:
    // "ZONE n" once the zone's block was asked for.
    void OnBound(std::int32_t index) override { SetZoneLabelText(index + 1); }

private:
    KR::Result OnZoneEnabledClicked(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                    const KR::RCPtr<KR::LNotification>& notification);
    KR::Result OnZoneControlChanged(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                    const KR::RCPtr<KR::LNotification>& notification);
    void ShowZoneBlock(const KR::Array<signed char>& block);

    KR::RCPtr<KR::LComboBox> mMidiChannel;
    KR::RCPtr<KR::LNumericUpDown> mStartNote;
    KR::RCPtr<KR::LNumericUpDown> mEndNote;
    KR::RCPtr<KR::LNumericUpDown> mOctave;
    KR::RCPtr<KR::LNumericUpDown> mTranspose;
    KR::RCPtr<KR::LNumericUpDown> mLsb;
    KR::RCPtr<KR::LNumericUpDown> mMsb;
    KR::RCPtr<KR::LNumericUpDown> mProgram;
    KR::RCPtr<KR::LButton> mZoneEnabledToggleButton;
    KR::RCPtr<KR::LLabel> mZoneName;

    // A shown channel byte the list has no item for, built back while no item is chosen:
    // the preset writers refuse 0x80 and above, so 0xFF would make the preset unsavable.
    signed char mKeptChannel = 0;
    bool mChannelKept = false;
    // While a block is shown: its keys stand as they come.
    bool mShowing = false;
};
