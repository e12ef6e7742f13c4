#pragma once
// The sustain pedal on the picture: the read-out of its mode. Its 6-byte block holds the
// record's channel, kind, number and first value (bytes 0..4) and its last value (byte 5);
// a pedal has no second or third value.

#include "device/ControlModules.h"
#include "editor/picture/ButtonControlViewPanel.h"
#include "editor/picture/PicturePanel.h"

class LSustainPedalPanel : public LPicturePanel<LSustainPedalPanel, ISustainPedal>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainControl.Pedals.SustainPedal";
    static constexpr std::uint32_t kBlockSize = 6;

    LSustainPedalPanel(const KR::RCPtr<KR::LControl>& parent, const KR::String& name);

    KR::Result Initialize() override;
    KR::Result ReleaseInternalReferences() override;

    // 0 when shown; 0x80004005 for another id or a block not of 6 bytes.
    std::int32_t SetParamValueLocal(const KR::ParamDescriptor& descriptor, const KR::Variant& value,
                                    bool fromDevice) override;

    const KR::RCPtr<LButtonControlViewPanel>& GetReadOut() const { return mReadOut; }

private:
    KR::RCPtr<LButtonControlViewPanel> mReadOut;
};
