#pragma once
// KR::LStatusBar: one line of status text in its "label1" part, which any thread may set.
// A posted text travels as "NID_SET_STATUS_TEXT" (an LWrapperStringable<String> payload)
// through the bar's own queue and reaches the label on the UI thread at the next idle pass,
// or at once through SetTextNow. Without "label1" texts are taken and dropped. Takes no
// input and never the focus.
//
// The queue holds the bar as its distributor; that reference is counted as internal, so
// ReleaseInternalReferences shuts the queue down (queued texts dropped) and the bar goes
// once nothing else holds it. Posting afterwards fails with the queue's kFail.

#include "kr/core/StringT.h"
#include "kr/notify/NotificationHandler.h"
#include "kr/notify/NotificationQueue.h"
#include "kr/ui/Control.h"

namespace KR
{

class LStatusBar : public LControl
{
public:
    static constexpr char16_t kClassName[] = u"Framework.StatusBar";

    LStatusBar(const RCPtr<LControl>& parent, const String& name);
    ~LStatusBar() override;

    Result ReleaseInternalReferences() override;
    // Offers a notification to the bar's own table, then to the control's.
    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;
    // Clears its own table, then the base class's chain and the client's registration.
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;

    Result Initialize() override;       // 87
    Result ReadCreateParams() override; // 88
    Result PlaceParts() override;       // 90

    // The label's "LABEL" string; empty without one.
    String GetDefaultText();
    // Applies what was posted before, then `text`, and repaints the window now. 0.
    Result SetTextNow(const String& text);
    // Any thread: queues `text` for the next idle pass; the post's result.
    Result PostText(const String& text);

    double GetLastHeight() const { return mLastHeight; }
    const RCPtr<LControl>& GetLabel() const { return mLabel; }

protected:
    Result OnIdle(const RCPtr<LNotificationDistributor>& sender,
                  const RCPtr<LNotification>& notification) override;

private:
    Result OnSetStatusText(const RCPtr<LNotificationDistributor>& sender,
                           const RCPtr<LNotification>& notification);

    // Made by the constructor so that PostText never meets a null queue; it takes posts
    // only once Initialize has attached the bar as its distributor.
    RCPtr<LNotificationQueue> mQueue;
    RCPtr<LNotificationHandler<LStatusBar>> mHandler;
    RCPtr<LControl> mLabel;
    double mLastHeight = 0.0;
    bool mQueueHoldsBar = false;
};

} // namespace KR
