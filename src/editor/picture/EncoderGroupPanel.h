#pragma once
// The 32 encoders of the picture, four banks of eight, as the model's encoder group; a click
// opens the encoder edit panel ("knobEditPanel") on that encoder.

#include "device/ControlGroups.h"
#include "editor/edit/EncoderEditPanel.h"
#include "editor/picture/EncoderPanel.h"
#include "editor/picture/GroupPanel.h"

class LEncoderGroupPanel
    : public LGroupPanel<LEncoderGroupPanel, IEncoders, IEncoder, LEncoderPanel, LEncoderEditPanel>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainControl.EncoderView";

    using LGroupPanel::LGroupPanel;

    KR::RCPtr<IEncoder> GetEncoder(std::int32_t index) override { return GetMember(index); }

protected:
    const GroupPanelSite& GetSite() const override;
    void FindViewPanels() override;
};
