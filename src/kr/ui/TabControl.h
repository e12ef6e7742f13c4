#pragma once
// KR::LTabControl: a panel whose skin gives it "buttonHolder" (one tab button per page) and
// "pageHolder" (the pages). Buttons and pages match by name. Selecting a name sets that
// button on (value 1.0) and the others off, shows that page and hides the others, and sends
// "NID_TAB_SELECTED" (the selected page, or null when no page has the name; UI thread).
// A click ("NID_LEFT_CLICK") on a button selects its page. The first page in the buttons'
// tab order is selected at initialisation, and a new skin re-selects the page selected.
// Indexes: SelectTabByIndex counts buttons in tab order, GetPage pages in insertion order.

#include "kr/core/RCPtr.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"
#include "kr/notify/NotificationHandler.h"
#include "kr/ui/Panel.h"

#include <cstdint>

namespace KR
{

class LTabControl : public LPanel
{
public:
    static constexpr char16_t kClassName[] = u"Framework.TabControl";

    using LPanel::LPanel;
    ~LTabControl() override;

    // The creator the class tables register. A tab control that cannot select its first
    // page (no "buttonHolder", one without buttons, or no "pageHolder") would sit there
    // taking no clicks, so its creation throws a runtime error naming it instead.
    static RCPtr<LControl> Create(const RCPtr<LControl>& parent, const RCPtr<LControlDescriptor>& descriptor);

    Result ReleaseInternalReferences() override;
    // The tab control's table first, then the panel's.
    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;

    Result ApplyLayoutDescriptor(ConstRCPtr<LControlDescriptor> descriptor) override; // 50
    Result Initialize() override;                                                     // 87

    virtual std::uint32_t GetPageCount() const;                      // 97
    virtual std::int32_t IndexOfPage(const String& name) const;      // 98
    virtual std::int32_t GetSelectedIndex() const;                   // 99
    virtual RCPtr<LControl> GetSelectedPage() const;                 // 100
    virtual const String& GetSelectedName() const;                   // 101
    virtual RCPtr<LControl> GetPageByName(const String& name) const; // 102
    virtual RCPtr<LControl> GetPage(std::int32_t index) const;       // 103
    virtual Result SelectTab(const String& name);                    // 104
    virtual Result SelectTabByIndex(std::int32_t index);             // 105
    virtual void OnTabSelected(std::int32_t /*index*/) {}            // 106: for derived tab controls

    // The names other parts of the program know these by.
    Result SelectPage(const String& name) { return SelectTab(name); }
    Result SelectPageByIndex(std::int32_t index) { return SelectTabByIndex(index); }

    const RCPtr<LPanel>& GetButtonHolder() const { return mButtonHolder; }
    const RCPtr<LPanel>& GetPageHolder() const { return mPageHolder; }

private:
    Result OnTabButtonClick(const RCPtr<LNotificationDistributor>& sender,
                            const RCPtr<LNotification>& notification);

    RCPtr<LNotificationHandler<LTabControl>> mTabHandler;
    RCPtr<LPanel> mButtonHolder;
    RCPtr<LPanel> mPageHolder;
    String mSelectedName;
    Result mInitialized = kOk;
};

} // namespace KR
