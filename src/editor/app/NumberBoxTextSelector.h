#pragma once
// A number picked with an up/down and named by a label beside it: the label shows the
// entry of its own string table (in key order) at the number's position. The controller
// selector of the edit panels ("ccSelector") is one: 7 reads "Channel Volume". The
// selector sets no range; the skin or the owning edit panel does.

#include "kr/controls/Label.h"
#include "kr/controls/NumericUpDown.h"
#include "kr/core/RCPtr.h"
#include "kr/notify/NotificationHandler.h"
#include "kr/ui/Panel.h"

class LNumberBoxTextSelector : public KR::LPanel
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.Control.CCSelector";

    using KR::LPanel::LPanel;

    // Children "numericUpDown" and "label", both required.
    KR::Result Initialize() override;
    KR::Result ReleaseInternalReferences() override;
    KR::Result Receive(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                       const KR::RCPtr<KR::LNotification>& notification) override;
    KR::Result UnregisterForNotification(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                         KR::NotificationName name) override;

    // The label from the up/down's value (truncated); a value outside the table leaves
    // the label's text as it is.
    void UpdateText();

    const KR::RCPtr<KR::LNumericUpDown>& GetNumericUpDown() const { return mNumericUpDown; }
    const KR::RCPtr<KR::LLabel>& GetLabel() const { return mLabel; }

private:
    KR::Result OnUpDownValueChanged(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                    const KR::RCPtr<KR::LNotification>& notification);

    KR::RCPtr<KR::LNotificationHandler<LNumberBoxTextSelector>> mHandler;
    KR::RCPtr<KR::LLabel> mLabel;
    KR::RCPtr<KR::LNumericUpDown> mNumericUpDown;
};
