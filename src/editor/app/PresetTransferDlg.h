#pragma once
// What the send and the retrieve dialogs are both made of: one button that transfers the
// preset to or from the slot chosen in "presetSlot"/"comboBox", and the outcome shown in a
// message box. The dialog stays open after each transfer; it closes through its frame.
// Each of the two names its button, its texts for failures and its transfer.

#include "kr/controls/Button.h"
#include "kr/core/RCPtr.h"
#include "kr/core/StringT.h"
#include "kr/notify/NotificationHandler.h"
#include "kr/ui/Dialog.h"

#include <cstdint>

class LPresetTransferDlg : public KR::LDialog
{
public:
    // Where Initialize's failures say they come from, and the child they need.
    struct Site
    {
        const char16_t* buttonName;
        const char* operation;
        const char* source;
        const char* missingButton; // the detail of a missing button
        int handlerLine;
        int buttonLine;
        int registerLine;
    };
    // Transfers one slot and shows the outcome; the manager's result.
    using Transfer = KR::Result (*)(std::int32_t slot);

    LPresetTransferDlg(const KR::RCPtr<KR::LControl>& parent, const KR::String& name, const Site& site,
                       Transfer transfer);

    // Requires the button (a KR::LButton) and registers the click on it.
    KR::Result Initialize() override;
    KR::Result ReleaseInternalReferences() override;
    KR::Result Receive(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                       const KR::RCPtr<KR::LNotification>& notification) override;
    KR::Result UnregisterForNotification(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                         KR::NotificationName name) override;

    // The click: the selected slot (-1 without one) to the transfer. 1.
    KR::Result OnTransferClicked(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                 const KR::RCPtr<KR::LNotification>& notification);

    const KR::RCPtr<KR::LButton>& GetTransferButton() const { return mButton; }

private:
    const Site& mSite;
    const Transfer mTransfer;
    KR::RCPtr<KR::LNotificationHandler<LPresetTransferDlg>> mHandler;
    KR::RCPtr<KR::LButton> mButton;
};
