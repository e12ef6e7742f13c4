#pragma once
// One keybed zone on the picture: "ZONE n", the zone's channel and the keys it covers
// ("First: C (1) | Last C (5)"). The note and octave names are those of the zone edit
// panel's first-key selector, so that the picture and the editor name keys alike.

#include "device/ControlModules.h"
#include "editor/picture/PicturePanel.h"
#include "kr/controls/Label.h"

class LKeybedZonePanel : public LPicturePanel<LKeybedZonePanel, IKeybedZone>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainControl.KeybedZones.Zone";
    static constexpr std::uint32_t kBlockSize = 9;

    LKeybedZonePanel(const KR::RCPtr<KR::LControl>& parent, const KR::String& name);

    KR::Result Initialize() override;
    KR::Result ReleaseInternalReferences() override;

    // Also numbers the zone's name label, once; throws when the skin gave it none.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::int32_t index) override;

    // The zone's channel (byte 1) and keys (bytes 5 and 6): 0, or 0x80004005 for another id
    // or a block not of 9 bytes. A key outside 0..127, or one the borrowed name lists do not
    // reach, is named "?". Nothing is passed on.
    std::int32_t SetParamValueLocal(const KR::ParamDescriptor& descriptor, const KR::Variant& value,
                                    bool fromDevice) override;

private:
    // The texts of the edit panel's first-key selector label `label`, by key; empty when
    // the panel is not where the device view keeps it.
    KR::Array<KR::Pair<KR::String, KR::String>> BorrowNames(const char16_t* label) const;

    KR::RCPtr<KR::LLabel> mInfoLabel;
};
