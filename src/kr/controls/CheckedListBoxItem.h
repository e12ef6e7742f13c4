#pragma once
// KR::LCheckedListBoxItem: a list row with a check box, its child button "checkBox". The
// check box never takes the focus, shows the row's tooltip and keeps the row looking hot
// while the pointer is over it. The checked state lives in the list's items; the check
// box only shows it.

#include "kr/controls/ListBoxItem.h"
#include "kr/notify/NotificationHandler.h"

#include <cstdint>

namespace KR
{

class LButton;

class LCheckedListBoxItem : public LListBoxItem
{
public:
    static constexpr char16_t kClassName[] = u"Framework.CheckedListBoxItem";

    LCheckedListBoxItem(const RCPtr<LControl>& parent, const String& name);
    ~LCheckedListBoxItem() override;

    Result ReleaseInternalReferences() override;
    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;
    // Clears its own table, then the base class's chain and the client's registration.
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;
    Result Initialize() override; // 87

    // Makes the look the row's only one: 1, or 0 for an index the row has no look at.
    virtual Result SetRowLook(std::int32_t look, bool flag);

    // Null without a "checkBox" button.
    RCPtr<LButton> GetCheckBox() const;
    // 1 before the row is made; else the check box's look is set.
    Result SetCheckBoxLook(std::int32_t look, bool flag);

private:
    Result OnCheckBoxHover(const RCPtr<LNotificationDistributor>& sender,
                           const RCPtr<LNotification>& notification);

    RCPtr<LNotificationHandler<LCheckedListBoxItem>> mHandler;
};

} // namespace KR
