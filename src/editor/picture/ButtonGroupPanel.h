#pragma once
// The 36 push buttons of the picture, four banks of nine, as the model's push-button group;
// a click opens the push-button edit panel on that button.

#include "device/ControlGroups.h"
#include "editor/edit/ButtonEditPanel.h"
#include "editor/picture/ButtonPanel.h"
#include "editor/picture/GroupPanel.h"

class LButtonGroupPanel
    : public LGroupPanel<LButtonGroupPanel, IPushButtons, IPushButton, LButtonPanel, LButtonEditPanel>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainControl.ButtonView";

    using LGroupPanel::LGroupPanel;

    KR::RCPtr<IPushButton> GetPushButton(std::int32_t index) override { return GetMember(index); }

protected:
    const GroupPanelSite& GetSite() const override;
    void FindViewPanels() override;
};
