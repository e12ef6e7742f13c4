#include "editor/app/PresetTransferDlg.h"

#include "editor/app/PresetTransferOutcome.h"
#include "kr/core/Exception.h"

#include <string>

using KR::RCPtr;
using KR::Result;

LPresetTransferDlg::LPresetTransferDlg(const RCPtr<KR::LControl>& parent, const KR::String& name,
                                       const Site& site, Transfer transfer)
    : KR::LDialog(parent, name), mSite(site), mTransfer(transfer)
{
}

Result LPresetTransferDlg::Initialize()
{
    const Result result = KR::LDialog::Initialize();
    if (KR::Failed(result))
    {
        return result;
    }
    const auto site = [this](int line) {
        return std::string(" : ") + mSite.operation + " : " + mSite.source + " : Line " +
               std::to_string(line);
    };
    mHandler = KR::LNotificationHandler<LPresetTransferDlg>::Create(this);
    if (!mHandler)
    {
        KR::ThrowFailedResult(kHandlerNotMade, site(mSite.handlerLine));
    }
    mButton = RCPtr<KR::LButton>(FindChildControl(KR::String(mSite.buttonName)));
    if (!mButton)
    {
        KR::Throw<std::runtime_error>(KR::ErrorText<std::runtime_error>(
            {"Null Pointer", mSite.missingButton}, mSite.operation, mSite.source, mSite.buttonLine));
    }
    KR::ThrowIfFailed(mHandler->Register(&LPresetTransferDlg::OnTransferClicked,
                                         RCPtr<KR::LNotificationDistributor>(mButton), u"NID_LEFT_CLICK"),
                      site(mSite.registerLine));
    return result;
}

Result LPresetTransferDlg::ReleaseInternalReferences()
{
    mButton = nullptr;
    mHandler = nullptr;
    return KR::LDialog::ReleaseInternalReferences();
}

Result LPresetTransferDlg::Receive(const RCPtr<KR::LNotificationDistributor>& sender,
                                   const RCPtr<KR::LNotification>& notification)
{
    if (mHandler && IsCreationFinished())
    {
        if (const Result handled = mHandler->HandleNotification(sender, notification); handled != 0)
        {
            return handled;
        }
    }
    return KR::LDialog::Receive(sender, notification);
}

Result LPresetTransferDlg::UnregisterForNotification(const RCPtr<KR::LNotificationDistributor>& sender,
                                                     KR::NotificationName name)
{
    if (mHandler)
    {
        mHandler->Unregister(sender, name);
    }
    return KR::LDialog::UnregisterForNotification(sender, name);
}

Result LPresetTransferDlg::OnTransferClicked(const RCPtr<KR::LNotificationDistributor>& /*sender*/,
                                             const RCPtr<KR::LNotification>& /*notification*/)
{
    mTransfer(GetSelectedPresetSlot(*this));
    return 1;
}
