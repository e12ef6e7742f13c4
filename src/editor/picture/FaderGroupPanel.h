#pragma once
// The 36 faders of the picture, four banks of nine, as the model's fader group; a click
// opens the fader edit panel on that fader. The group listens to the edit panel's hiding
// only from the first fader click on.

#include "device/ControlGroups.h"
#include "editor/edit/FaderEditPanel.h"
#include "editor/picture/FaderPanel.h"
#include "editor/picture/GroupPanel.h"

class LFaderGroupPanel : public LGroupPanel<LFaderGroupPanel, IFaders, IFader, LFaderPanel, LFaderEditPanel>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainControl.FaderView";

    using LGroupPanel::LGroupPanel;

    KR::RCPtr<IFader> GetFader(std::int32_t index) override { return GetMember(index); }

protected:
    const GroupPanelSite& GetSite() const override;
    void FindViewPanels() override;
};
