#pragma once
// KR::LDialog: the skinned dialog, a panel whose skin gives it standard buttons by name.
// A click on one closes the dialog with that button's result; closing asks the listeners
// of "NID_DIALOG_CLOSING" first (a KR::LCancelArgs they may set), ends the modal loop of
// the dialog's window at the window's next idle step, then sends "NID_DIALOG_CLOSED".
//
//     const RCPtr<LControl> made = factory->CreateControlByName(u"SaveChangesDialog", nullptr);
//     const RCPtr<LDialog> dialog(made);
//     if (dialog->DoModal() == LDialog::kYes) ...
//
// The desktop's close box of a dialog's window is a close with kCancel. Closing does not
// destroy the dialog. The framework's class table has no entry for it: the application's
// dialogs derive from it and register under their own names. UI thread only.

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/Types.h"
#include "kr/notify/NotificationHandler.h"
#include "kr/ui/Panel.h"

namespace KR
{

// The parameter of "NID_DIALOG_CLOSING": a listener sets cancel to keep the dialog open.
class LCancelArgs : public virtual LRefCountedObject
{
public:
    bool cancel = false;
};

class LDialog : public LPanel
{
public:
    // The results of the standard buttons.
    static constexpr Result kOkResult = 1;
    static constexpr Result kCancel = 2;
    static constexpr Result kAbort = 3;
    static constexpr Result kRetry = 4;
    static constexpr Result kIgnore = 5;
    static constexpr Result kYes = 6;
    static constexpr Result kNo = 7;

    using LPanel::LPanel;
    ~LDialog() override;

    // The panel's own set-up, then a click handler for each standard button the skin has.
    Result Initialize() override;                // 87
    Result PlaceParts() override { return kOk; } // 90
    // The dialog's button handlers first, then the panel's.
    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;

    // Shows the dialog in a modal window of its own and gives the result it closed with;
    // kFail when no window could be made.
    virtual Result DoModal(); // 97
    // After "NID_DIALOG_CLOSED"; for dialogs that derive from this one.
    virtual void OnClosed() {} // 98

    // Closes with `result` unless a listener cancels; the result is kept either way.
    void Close(Result result);
    // Sends "NID_DIALOG_CLOSING" and gives the arguments as the listeners left them.
    RCPtr<LCancelArgs> RaiseClosing();
    // A standard button's click: the result of its name. OK and Close only when the button
    // could take the focus (the focused control may refuse to give it up). 1.
    Result OnButtonClick(const RCPtr<LNotificationDistributor>& sender,
                         const RCPtr<LNotification>& notification);

    Result GetResult() const { return mResult; }

private:
    RCPtr<LNotificationHandler<LDialog>> mHandler;
    Result mResult = 0;
};

} // namespace KR
