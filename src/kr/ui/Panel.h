#pragma once
// KR::LPanel: the general skinned container, a scroll view with a table of member handlers
// for notifications and keyboard navigation among its children. Every editor panel derives
// from it; the skin's generic panel classes make plain panels.
//
// Keys a child left go first to the receivers of the panel's "NID_SIBLING_KEY", then up the
// parent chain, and at the top to the global hot keys. The panel itself registers with its
// parent for "NID_SIBLING_KEY", so keys its siblings leave reach its own receivers. Tab walks
// the children in tab order; a nested panel does not wrap (Tab past its last child leaves
// it), the root panel does; Ctrl+Tab is passed up unsearched.

#include "kr/core/RCPtr.h"
#include "kr/core/Types.h"
#include "kr/notify/NotificationHandler.h"
#include "kr/ui/ScrollView.h"

namespace KR
{

class LPanel : public LScrollView
{
public:
    static constexpr char16_t kClassName[] = u"Framework.Panel";

    using LScrollView::LScrollView;
    ~LPanel() override;

    // The panel's table first, then the scroll view's.
    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;

    const RCPtr<LControl>& GetNextTabControl(const RCPtr<LControl>& current, bool backward) override; // 74
    Result DispatchKey(const RCPtr<LKeyParam>& key) override;                                         // 77
    Result NavigateChildren(const RCPtr<LKeyParam>& key) override;                                    // 78
    Result Initialize() override;                                                                     // 87
    Result PlaceParts() override { return kOk; }                                                      // 90

    // The same operations under their panel names.
    const RCPtr<LControl>& GetNextTabChild(const RCPtr<LControl>& after, bool backward)
    {
        return GetNextTabControl(after, backward);
    }
    Result RouteKeyToParent(const RCPtr<LKeyParam>& key) { return DispatchKey(key); }

    // A key a sibling of the panel left: offered to the panel's own receivers, the result
    // written back into the sender's parameter. 1.
    Result OnSiblingKeyNotification(const RCPtr<LNotificationDistributor>& sender,
                                    const RCPtr<LNotification>& notification);

protected:
    // Made by Initialize; derived panels register their own handlers in it.
    const RCPtr<LNotificationHandler<LPanel>>& GetPanelHandler() const { return mPanelHandler; }

private:
    RCPtr<LNotificationHandler<LPanel>> mPanelHandler;
};

} // namespace KR
