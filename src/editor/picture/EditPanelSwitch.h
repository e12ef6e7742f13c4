#pragma once
// What a group panel on the keyboard picture asks of the view that holds the edit panels:
// show the one edit panel of the kind of control the user clicked, hide the others. The
// device view ("viewDevice") implements it; the picture reaches it through the root
// control, never through the application library.
//
//     if (IEditPanelSwitch* view = FindEditPanelSwitch(*this))
//     {
//         view->ShowEditPanel(kEditPanelFaders, 0);
//     }

#include "kr/core/Types.h"
#include "kr/ui/Control.h"

#include <cstdint>

// The control kinds, as the group panels number them.
inline constexpr std::int32_t kEditPanelFaders = 0;
inline constexpr std::int32_t kEditPanelEncoders = 1;
inline constexpr std::int32_t kEditPanelPads = 2;
inline constexpr std::int32_t kEditPanelTouchPadAxes = 3;
inline constexpr std::int32_t kEditPanelWheels = 4;
inline constexpr std::int32_t kEditPanelKeybedZones = 5;
inline constexpr std::int32_t kEditPanelPushButtons = 6;
// With `which` 0 the volume pedal's panel, 1 the sustain pedal's.
inline constexpr std::int32_t kEditPanelPedals = 7;

class IEditPanelSwitch
{
public:
    // Shows the edit panel of `kind` and hides the other switchable ones; `which` picks
    // the pedal. 0.
    virtual KR::Result ShowEditPanel(std::int32_t kind, std::int32_t which) = 0;

protected:
    IEditPanelSwitch() = default;
    IEditPanelSwitch(const IEditPanelSwitch&) = default;
    IEditPanelSwitch& operator=(const IEditPanelSwitch&) = default;
    ~IEditPanelSwitch() = default;
};

// The root control's "viewDevice" as the switch, or null when the tree has none (or it is
// not one yet).
inline IEditPanelSwitch* FindEditPanelSwitch(const KR::LControl& from)
{
    const KR::RCPtr<KR::LControl> root = from.GetRootControl();
    if (!root)
    {
        return nullptr;
    }
    return dynamic_cast<IEditPanelSwitch*>(root->FindChildControl(KR::String(u"viewDevice")).Get());
}
