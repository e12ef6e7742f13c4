#pragma once
// The 16 pads of the picture as the model's pad group; a click binds the pad edit panel to
// that pad and then opens it.

#include "device/ControlGroups.h"
#include "editor/edit/PadEditPanel.h"
#include "editor/picture/GroupPanel.h"
#include "editor/picture/PadPanel.h"

class LPadGroupPanel : public LGroupPanel<LPadGroupPanel, IPads, IPad, LPadPanel, LPadEditPanel>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainControl.PadView";

    using LGroupPanel::LGroupPanel;

    KR::RCPtr<IPad> GetPad(std::int32_t index) override { return GetMember(index); }

protected:
    const GroupPanelSite& GetSite() const override;
    void FindViewPanels() override;
};
