#include "kr/ui/Dialog.h"

#include "kr/core/Exception.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/RootWindow.h"

namespace KR
{
namespace
{

struct StandardButton
{
    const char16_t* name;
    Result result;
    bool needsFocus;
};

// In the order Initialize registers them and a click is matched.
constexpr StandardButton kStandardButtons[] = {
    {u"buttonOK", LDialog::kOkResult, true},    {u"buttonClose", LDialog::kOkResult, true},
    {u"buttonCancel", LDialog::kCancel, false}, {u"buttonAbort", LDialog::kAbort, false},
    {u"buttonRetry", LDialog::kRetry, false},   {u"buttonIgnore", LDialog::kIgnore, false},
    {u"buttonYes", LDialog::kYes, false},       {u"buttonNo", LDialog::kNo, false},
};

} // namespace

LDialog::~LDialog() = default;

Result LDialog::Initialize()
{
    const Result result = LPanel::Initialize();
    if (!mHandler)
    {
        mHandler = LNotificationHandler<LDialog>::Create(this);
    }
    for (const StandardButton& button : kStandardButtons)
    {
        const RCPtr<LControl>& child = FindChildControl(String(button.name));
        if (!child)
        {
            continue;
        }
        const Result registered = mHandler->Register(
            &LDialog::OnButtonClick, RCPtr<LNotificationDistributor>(child), u"NID_LEFT_CLICK");
        if (Failed(registered))
        {
            ThrowFailedResult(registered, " : KR::LDialog::Initialize : Controls\\Dialog");
        }
    }
    return result;
}

Result LDialog::Receive(const RCPtr<LNotificationDistributor>& sender,
                        const RCPtr<LNotification>& notification)
{
    if (mHandler)
    {
        const Result handled = mHandler->HandleNotification(sender, notification);
        if (handled != 0)
        {
            return handled;
        }
    }
    return LPanel::Receive(sender, notification);
}

Result LDialog::UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                          NotificationName name)
{
    if (mHandler)
    {
        mHandler->Unregister(sender, name);
    }
    return LPanel::UnregisterForNotification(sender, name);
}

Result LDialog::DoModal()
{
    return IFrameworkApp::GetInstance().RunModal(RCPtr<LControl>(this), true);
}

void LDialog::Close(Result result)
{
    mResult = result;
    if (RaiseClosing()->cancel)
    {
        return;
    }
    const RCPtr<IRootWindowServices> window = GetRootWindow();
    if (auto* root = dynamic_cast<LRootWindow*>(window.Get()))
    {
        root->EndModal(result);
    }
    SendNotificationByName(u"NID_DIALOG_CLOSED");
    OnClosed();
}

RCPtr<LCancelArgs> LDialog::RaiseClosing()
{
    const RCPtr<LCancelArgs> args(new LCancelArgs);
    SendNotificationByName(u"NID_DIALOG_CLOSING", args);
    return args;
}

Result LDialog::OnButtonClick(const RCPtr<LNotificationDistributor>& sender, const RCPtr<LNotification>&)
{
    auto* button = dynamic_cast<LControl*>(sender.Get());
    if (!button)
    {
        return 1;
    }
    for (const StandardButton& standard : kStandardButtons)
    {
        if (button->GetName() != String(standard.name))
        {
            continue;
        }
        if (!standard.needsFocus || button->SetFocus(true) >= 0)
        {
            Close(standard.result);
        }
        break;
    }
    return 1;
}

} // namespace KR
