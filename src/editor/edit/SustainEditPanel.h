#pragma once
// The sustain pedal's edit panel: a title, a "MIDI" label and the MIDI-mode editor as its
// child "buttonTypePanel", without tabs or colours. The pedal's block is a 6-byte cut of
// the mode record: bytes 0..4 are record bytes 0..4 and byte 5 is record byte 9 (the last
// value). The pedal keeps no second and third cycle values: a record is shown with "no
// second value" and "no third value" (bytes 5..8 as 1, 0, 1, 0).

#include "device/ControlModules.h"
#include "editor/edit/ButtonRecordEditPanel.h"

class LSustainPedalEditPanel : public LButtonRecordEditPanel<ISustainPedal>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainPage.SustainEditPanel";
    static constexpr std::uint32_t kBlockSize = 6;

    LSustainPedalEditPanel(const KR::RCPtr<KR::LControl>& parent, const KR::String& name)
        : LButtonRecordEditPanel(parent, name)
    {
    }

    KR::Result Initialize() override;

    // Shows a 6-byte block of the bound pedal and passes it on to the parent module.
    // 0x80004005 for another id or a block of another size, and nothing is shown or
    // passed on.
    std::int32_t SetParamValueLocal(const KR::ParamDescriptor& descriptor, const KR::Variant& value,
                                    bool fromDevice) override;

protected:
    const EditPanelErrorSite& GetErrorSite() const override;
    KR::Array<signed char> BuildBlock(const KR::Array<signed char>& record) const override;
    // Not a cycle's second and third values.
    bool HoldsRecord(const KR::Array<signed char>& record) const override;
};
