#pragma once
// The pitch and modulation wheels of the picture as the model's wheel group; a click opens
// the wheel edit panel on that wheel.

#include "device/ControlGroups.h"
#include "editor/edit/WheelEditPanel.h"
#include "editor/picture/GroupPanel.h"
#include "editor/picture/WheelPanel.h"

class LWheelGroupPanel : public LGroupPanel<LWheelGroupPanel, IWheels, IWheel, LWheelPanel, LWheelEditPanel>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainControl.WheelView";

    using LGroupPanel::LGroupPanel;

    KR::RCPtr<IWheel> GetWheel(std::int32_t index) override { return GetMember(index); }

protected:
    const GroupPanelSite& GetSite() const override;
    void FindViewPanels() override;
};
