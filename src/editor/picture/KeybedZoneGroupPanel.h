#pragma once
// The four keybed zones on the picture as the model's zone group; a click binds the zone
// edit panel to that zone and then opens it.

#include "device/ControlGroups.h"
#include "editor/edit/KeybedZoneEditPanel.h"
#include "editor/picture/GroupPanel.h"
#include "editor/picture/KeybedZonePanel.h"

class LKeybedZoneGroupPanel : public LGroupPanel<LKeybedZoneGroupPanel, IKeybedZones, IKeybedZone,
                                                 LKeybedZonePanel, LKeybedZoneEditPanel>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainControl.KeybedZones";

    using LGroupPanel::LGroupPanel;

    KR::RCPtr<IKeybedZone> GetKeybedZone(std::int32_t index) override { return GetMember(index); }

protected:
    const GroupPanelSite& GetSite() const override;
    void FindViewPanels() override;
};
