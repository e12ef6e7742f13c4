#pragma once
// The pads' edit panel: the pad's number and two tab pages, the MIDI-mode editor ("MIDI")
// and four pad colours ("COLOR"). A pad's block is 14 bytes, laid out as the first 14 of
// a push button's:
//
//     0       record byte 0 (channel)
//     1..4    colours 1..4 (0 Off, 1 Chartreuse .. 13 White)
//     5..13   record bytes 1..9
//
// On a note record the editor shows its on/off values only while latching is on.

#include "device/ControlModules.h"
#include "editor/edit/ButtonRecordEditPanel.h"
#include "kr/controls/Label.h"

class LPadEditPanel : public LButtonRecordEditPanel<IPad>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainPage.PadEditPanel";
    static constexpr std::uint32_t kBlockSize = 14;
    static constexpr std::uint32_t kPadCount = 16;

    LPadEditPanel(const KR::RCPtr<KR::LControl>& parent, const KR::String& name)
        : LButtonRecordEditPanel(parent, name)
    {
    }

    KR::Result Initialize() override;
    KR::Result ReleaseInternalReferences() override;

    // "PAD n" (n = index + 1) and the pad's block asked for once more; 0x80004005 for an
    // index of 16 or more, and nothing changes.
    KR::Result SetPadLabelText(std::int32_t index);

    // Shows a 14-byte block of the bound pad (colours first, then the record) and passes it
    // on to the parent module. 0x80004005 for another id or a block of another size, and
    // nothing is shown or passed on.
    std::int32_t SetParamValueLocal(const KR::ParamDescriptor& descriptor, const KR::Variant& value,
                                    bool fromDevice) override;

protected:
    const EditPanelErrorSite& GetErrorSite() const override;
    KR::Array<signed char> BuildBlock(const KR::Array<signed char>& record) const override;
    void OnBound(std::int32_t index) override { SetPadLabelText(index); }

private:
    KR::RCPtr<KR::LLabel> mPadName;
    ShownByteList mColors[ButtonRecordEditPanelDetail::kColorCount];
};
