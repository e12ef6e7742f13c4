#pragma once
// KR::LDropDownControl: the base of the controls with a part that drops down while open
// (combo box, combo slider, combo menu). A left press opens it, a left press while it is
// open closes it (that press does not open it again), losing the focus closes it. The
// derived class says whether its part is shown and shows or hides it. No skin class of
// its own; sends nothing; its own handler table stands in front of the control's.

#include "kr/notify/NotificationHandler.h"
#include "kr/ui/Control.h"

namespace KR
{

class LDropDownControl : public LControl
{
public:
    using LControl::LControl;
    ~LDropDownControl() override;

    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;
    Result OnFocusLost() override;

    Result SetFocus(bool forward) override;                                         // 33
    Result OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override; // 36
    Result Initialize() override;                                                   // 87

    // True only while the part exists, is visible and has an area.
    virtual bool IsDropDownShown() = 0;
    // 0, or a failure code.
    virtual Result ShowDropDown(bool show) = 0;

private:
    Result OnMouseDownNotification(const RCPtr<LNotificationDistributor>& sender,
                                   const RCPtr<LNotification>& notification);

    RCPtr<LNotificationHandler<LDropDownControl>> mHandler;
    // The last SetFocus closed the drop-down.
    bool mClosedByFocus = false;
    // The press under way closed it: the left button's going down must not reopen it.
    bool mClosingPress = false;
};

} // namespace KR
