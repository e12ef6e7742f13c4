#include "kr/controls/StatusBar.h"

#include "kr/controls/OwnHandlerTable.h"
#include "kr/core/Wrapper.h"
#include "kr/ui/RootWindow.h"

namespace KR
{

namespace
{
constexpr const char16_t* kNidSetStatusText = u"NID_SET_STATUS_TEXT";
using StatusText = LWrapperStringable<String>;
} // namespace

LStatusBar::LStatusBar(const RCPtr<LControl>& parent, const String& name)
    : LControl(parent, name), mQueue(new LNotificationQueue())
{
}

LStatusBar::~LStatusBar() = default;

Result LStatusBar::ReleaseInternalReferences()
{
    // The last texts are dropped unsent; the queue lets go of the bar.
    mQueue->Shutdown();
    if (mQueueHoldsBar)
    {
        mQueueHoldsBar = false;
        AdjustInternalRefCount(-1);
    }
    mLabel = nullptr;
    return LControl::ReleaseInternalReferences();
}

Result LStatusBar::Receive(const RCPtr<LNotificationDistributor>& sender,
                           const RCPtr<LNotification>& notification)
{
    return ReceiveThroughOwnTable(*this, mHandler, sender, notification);
}

Result LStatusBar::UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                             NotificationName name)
{
    if (mHandler)
    {
        mHandler->Unregister(sender, name);
    }
    return LControl::UnregisterForNotification(sender, name);
}

// ---- creation ------------------------------------------------------------------------------

Result LStatusBar::Initialize()
{
    const Result result = LControl::Initialize();
    const RCPtr<LStatusBar> self(this);
    mHandler = LNotificationHandler<LStatusBar>::Create(this);
    mHandler->Register(&LStatusBar::OnSetStatusText, self, kNidSetStatusText);
    if (!mQueueHoldsBar && mQueue->SetDistributor(self) == kOk)
    {
        mQueueHoldsBar = true;
        AdjustInternalRefCount(1);
    }
    BeginIdleProcessing();
    mLabel = FindChildControl(String(u"label1"));
    return result;
}

Result LStatusBar::ReadCreateParams()
{
    const Result result = LControl::ReadCreateParams();
    SetNotFocusable(true);
    return result;
}

Result LStatusBar::PlaceParts()
{
    mLastHeight = GetSize().y;
    return kOk;
}

// ---- texts ---------------------------------------------------------------------------------

String LStatusBar::GetDefaultText()
{
    return mLabel ? mLabel->GetLocalizedString(String(u"LABEL")) : String();
}

Result LStatusBar::SetTextNow(const String& text)
{
    // An older posted text must not land after this one.
    mQueue->ProcessNotifications(false);
    if (mLabel)
    {
        mLabel->SetText(text);
    }
    if (LRootWindow* window = dynamic_cast<LRootWindow*>(GetRootWindow().Get()))
    {
        window->RedrawNow();
    }
    return kOk;
}

Result LStatusBar::PostText(const String& text)
{
    return mQueue->PostNotificationByName(kNidSetStatusText, StatusText::Create(text));
}

Result LStatusBar::OnSetStatusText(const RCPtr<LNotificationDistributor>&,
                                   const RCPtr<LNotification>& notification)
{
    const RCPtr<StatusText> text(notification ? notification->GetDataAs<StatusText>() : nullptr);
    if (mLabel && text)
    {
        mLabel->SetText(text->GetValue());
    }
    return 1;
}

// ---- idle ----------------------------------------------------------------------------------

Result LStatusBar::OnIdle(const RCPtr<LNotificationDistributor>& sender,
                          const RCPtr<LNotification>& notification)
{
    mQueue->ProcessNotifications(false);
    return LControl::OnIdle(sender, notification);
}

} // namespace KR
