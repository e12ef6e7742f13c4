#include "kr/notify/NotificationHandler.h"

#include "kr/core/Exception.h"
#include "kr/core/TypeName.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using KR::LNotification;
using KR::LNotificationDistributor;
using KR::LNotificationHandler;
using KR::RCPtr;
using KR::Result;

constexpr const char16_t* kChange = u"NID_TEST_CHANGE";

// A client that routes everything through its table, as controls and panels do.
class Panel : public KR::LNotificationClient
{
public:
    Panel() : handler(LNotificationHandler<Panel>::Create(this)) {}

    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override
    {
        return handler->HandleNotification(sender, notification);
    }

    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     KR::NotificationName name) override
    {
        return refuseUnregistering ? KR::kFail : LNotificationClient::UnregisterForNotification(sender, name);
    }

    Result OnFirst(const RCPtr<LNotificationDistributor>& sender, const RCPtr<LNotification>&)
    {
        calls.push_back(sender ? "first" : "first without sender");
        return 1;
    }
    Result OnSecond(const RCPtr<LNotificationDistributor>& sender, const RCPtr<LNotification>&)
    {
        calls.push_back(sender ? "second" : "second without sender");
        return 2;
    }

    RCPtr<LNotificationHandler<Panel>> handler;
    std::vector<std::string> calls;
    bool refuseUnregistering = false;
};

// The disabler's texts name the owner class as the scroll view's do.
const bool kPanelNamed = (KR::RegisterTypeName<Panel>("class KR::LScrollView"), true);

struct PanelAndSlider
{
    RCPtr<Panel> panel{new Panel};
    RCPtr<LNotificationDistributor> slider{new LNotificationDistributor};
    RCPtr<LNotificationDistributor> other{new LNotificationDistributor};

    ~PanelAndSlider() { panel->UnregisterForAllNotifications(); }
};

TEST(NotificationHandler, ARegisteredMemberHandlesItsSendersNotifications)
{
    PanelAndSlider f;
    EXPECT_EQ(f.panel->handler->Register(&Panel::OnFirst, f.slider, kChange), KR::kOk);
    EXPECT_TRUE(f.slider->HasClient(f.panel.Get()));
    f.panel->RegisterForNotification(f.other, kChange);
    f.slider->SendNotificationByName(kChange);
    // The other sender has no entry of its own and there is no sender-less one.
    f.other->SendNotificationByName(kChange);
    EXPECT_EQ(f.panel->calls, (std::vector<std::string>{"first"}));
    EXPECT_EQ(f.panel->handler->HandleNotification(f.slider, LNotification::Create(kChange)), 1);
    EXPECT_EQ(f.panel->handler->HandleNotification(f.slider, LNotification::Create(u"NID_TEST_OTHER")), 0);
    EXPECT_EQ(f.panel->handler->HandleNotification(f.slider, nullptr), 0);
}

TEST(NotificationHandler, AnExactEntryComesBeforeTheSenderlessOne)
{
    PanelAndSlider f;
    EXPECT_EQ(f.panel->handler->AddHandler(&Panel::OnSecond, kChange), KR::kOk);
    EXPECT_EQ(f.panel->handler->Register(&Panel::OnFirst, f.slider, kChange), KR::kOk);
    f.panel->RegisterForNotification(f.other, kChange);
    f.slider->SendNotificationByName(kChange);
    f.other->SendNotificationByName(kChange);
    EXPECT_EQ(f.panel->handler->HandleNotification(nullptr, LNotification::Create(kChange)), 2);
    EXPECT_EQ(f.panel->calls, (std::vector<std::string>{"first", "second", "second without sender"}));
}

TEST(NotificationHandler, TheFirstHandlerForAPairStaysWhileTheFlagsChange)
{
    PanelAndSlider f;
    f.panel->handler->Register(&Panel::OnFirst, f.slider, kChange, 2);
    EXPECT_EQ(f.panel->handler->Register(&Panel::OnSecond, f.slider, kChange, 4), KR::kOk);
    LNotificationHandler<Panel>::Handler handler = nullptr;
    std::uint32_t flags = 0;
    EXPECT_EQ(f.panel->handler->GetRegistration(f.slider, kChange, handler, flags), KR::kOk);
    EXPECT_EQ(handler, &Panel::OnFirst);
    EXPECT_EQ(flags, 4u);
    EXPECT_EQ(f.panel->handler->GetRegistration(f.other, kChange, handler, flags), KR::kFail);
}

TEST(NotificationHandler, RefusedAndRemovedEntries)
{
    PanelAndSlider f;
    EXPECT_EQ(f.panel->handler->Register(&Panel::OnFirst, nullptr, kChange), KR::kInvalidArg);
    EXPECT_EQ(f.panel->handler->Register(&Panel::OnFirst, f.slider, u""), KR::kFail);
    EXPECT_EQ(f.panel->handler->AddHandler(&Panel::OnFirst, u""), KR::kFail);
    f.panel->handler->Register(&Panel::OnFirst, f.slider, kChange);
    EXPECT_TRUE(f.panel->handler->Unregister(f.slider, kChange));
    EXPECT_FALSE(f.panel->handler->Unregister(f.slider, kChange));
    // The registration itself stays until the client unregisters.
    EXPECT_TRUE(f.slider->HasClient(f.panel.Get()));
    EXPECT_EQ(f.slider->SendNotificationByName(kChange), KR::kOk);
    EXPECT_TRUE(f.panel->calls.empty());
}

TEST(NotificationHandler, TheDisablerSilencesARegistrationForItsScopeAndRestoresItsFlags)
{
    PanelAndSlider f;
    f.panel->handler->Register(&Panel::OnFirst, f.slider, kChange, 2);
    {
        const KR::CAutoNotificationDisabler<Panel> quiet(f.panel->handler, f.slider, kChange);
        EXPECT_FALSE(f.slider->HasClient(f.panel.Get()));
        EXPECT_EQ(f.slider->SendNotificationByName(kChange), KR::kNothingDone);
    }
    EXPECT_TRUE(f.panel->calls.empty());
    LNotificationHandler<Panel>::Handler handler = nullptr;
    std::uint32_t flags = 0;
    EXPECT_EQ(f.panel->handler->GetRegistration(f.slider, kChange, handler, flags), KR::kOk);
    EXPECT_EQ(flags, 2u);
    f.slider->SendNotificationByName(kChange);
    EXPECT_EQ(f.panel->calls, (std::vector<std::string>{"first"}));
}

TEST(NotificationHandler, TheDisablerThrowsNamingItsConstructorWhenNothingIsRegistered)
{
    PanelAndSlider f;
    try
    {
        const KR::CAutoNotificationDisabler<Panel> quiet(f.panel->handler, f.slider, kChange);
        FAIL() << "no exception";
    }
    catch (const KR::FailedResultException& e)
    {
        EXPECT_STREQ(e.what(),
                     "Failed Result : KRRESULT = 80004005 : "
                     "KR::CAutoNotificationDisabler<class KR::LScrollView>::CAutoNotificationDisabler : "
                     "krframework\\notification\\NotificationHandler : Line 247");
    }
}

TEST(NotificationHandler, TheDisablerLeavesEverythingInPlaceWhenTheOwnerRefusesToLeave)
{
    PanelAndSlider f;
    f.panel->handler->Register(&Panel::OnFirst, f.slider, kChange);
    f.panel->refuseUnregistering = true;
    try
    {
        const KR::CAutoNotificationDisabler<Panel> quiet(f.panel->handler, f.slider, kChange);
        FAIL() << "no exception";
    }
    catch (const KR::FailedResultException& e)
    {
        EXPECT_NE(std::string(e.what()).find("::CAutoNotificationDisabler : krframework\\notification\\"
                                             "NotificationHandler : Line 248"),
                  std::string::npos);
    }
    f.panel->refuseUnregistering = false;
    f.slider->SendNotificationByName(kChange);
    EXPECT_EQ(f.panel->calls, (std::vector<std::string>{"first"}));
}

} // namespace
