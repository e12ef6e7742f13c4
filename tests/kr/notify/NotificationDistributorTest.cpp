#include "kr/notify/NotificationDistributor.h"

#include "kr/notify/NotificationClient.h"
#include "kr/notify/NotifyTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using KR::LNotification;
using KR::LNotificationClient;
using KR::LNotificationDistributor;
using KR::NotificationID;
using KR::RCPtr;
using KR::Testing::NewLog;
using KR::Testing::RecordingClient;
using KR::Testing::TrackedDistributor;
using Log = std::vector<std::string>;

constexpr const char16_t* kPing = u"NID_TEST_PING";

struct Fixture
{
    RCPtr<LNotificationDistributor> distributor{new LNotificationDistributor};
    std::shared_ptr<Log> log = NewLog();

    RCPtr<RecordingClient> Client(const std::string& name, std::uint32_t flags = 0)
    {
        RCPtr<RecordingClient> client(new RecordingClient(name, log));
        EXPECT_NE(client->RegisterForNotification(distributor, kPing, flags), 0);
        return client;
    }

    KR::Result Send() { return distributor->SendNotificationByName(kPing); }
};

TEST(NotificationDistributor, SendingToNobodyOrSendingNothing)
{
    Fixture f;
    EXPECT_EQ(f.Send(), KR::kNothingDone);
    EXPECT_EQ(f.distributor->SendNotification(nullptr), KR::kInvalidArg);
    EXPECT_EQ(f.distributor->SendNotificationByName(u""), KR::kInvalidArg);
}

TEST(NotificationDistributor, TwoClientsOnOneIDReceiveNewestFirst)
{
    Fixture f;
    const auto older = f.Client("older");
    const auto newer = f.Client("newer");
    EXPECT_EQ(f.Send(), KR::kOk);
    EXPECT_EQ(*f.log, (Log{"newer", "older"}));
    EXPECT_EQ(older->senders.at(0), f.distributor.Get());
}

TEST(NotificationDistributor, RegisteringAgainKeepsThePlaceAndReplacesTheFlags)
{
    Fixture f;
    const auto a = f.Client("a");
    const auto b = f.Client("b");
    const NotificationID id = KR::GetNotificationID(kPing);
    EXPECT_EQ(a->RegisterForNotification(f.distributor, kPing, 6), id);
    EXPECT_EQ(f.distributor->AddClient(a, kPing, 4), KR::kNothingDone);
    EXPECT_EQ(f.distributor->GetRegistrationCount(), 2);
    EXPECT_EQ(a->GetRegistrationCount(), 1);
    std::uint32_t flags = 0;
    EXPECT_EQ(f.distributor->GetClientFlags(a.Get(), kPing, flags), KR::kOk);
    EXPECT_EQ(flags, 4u);
    EXPECT_EQ(f.distributor->GetClientFlags(a.Get(), u"NID_TEST_NEVER_USED", flags), KR::kFail);
    f.Send();
    EXPECT_EQ(*f.log, (Log{"b", "a"}));
}

TEST(NotificationDistributor, AddingAndRemovingDirectlyKeepsTheClientsBooks)
{
    Fixture f;
    RCPtr<RecordingClient> client(new RecordingClient("c", f.log));
    const auto destroyed = client->DestroyedFlag();
    EXPECT_EQ(f.distributor->AddClient(client, kPing), KR::kOk);
    EXPECT_EQ(client->GetRegistrationCount(), 1);
    EXPECT_EQ(f.distributor->RemoveClient(client, kPing), KR::kOk);
    EXPECT_EQ(client->GetRegistrationCount(), 0);
    EXPECT_EQ(f.distributor->RemoveClient(client, kPing), KR::kNothingDone);
    EXPECT_EQ(f.distributor->AddClient(nullptr, kPing), KR::kInvalidArg);
    EXPECT_EQ(f.distributor->AddClient(client, u""), KR::kNothingDone);
    EXPECT_EQ(f.distributor->RemoveClient(client, u""), KR::kInvalidArg);

    f.distributor->AddClient(client, kPing);
    f.distributor->AddClient(client, u"NID_TEST_PONG");
    EXPECT_EQ(f.distributor->RemoveClientFromAllPools(client), 2);
    EXPECT_EQ(client->GetRegistrationCount(), 0);
    client = nullptr;
    EXPECT_TRUE(*destroyed);
}

TEST(NotificationDistributor, UnregisteringOneOfTwoRegistrationsKeepsTheOther)
{
    Fixture f;
    RCPtr<RecordingClient> client(new RecordingClient("c", f.log));
    client->RegisterForNotification(f.distributor, kPing);
    client->RegisterForNotification(f.distributor, u"NID_TEST_PONG");
    EXPECT_EQ(client->UnregisterForNotification(f.distributor, u"NID_TEST_PONG"), KR::kOk);
    EXPECT_EQ(client->GetRegistrationCount(), 1);
    EXPECT_EQ(f.distributor->GetRegistrationCount(), 1);
    EXPECT_EQ(client->GetInternalRefCount(), 1);
    f.Send();
    EXPECT_EQ(*f.log, (Log{"c"}));
}

TEST(NotificationDistributor, UnregisteringWithoutRegistrationsOrWithBadArguments)
{
    Fixture f;
    RCPtr<LNotificationClient> bare(new LNotificationClient);
    EXPECT_EQ(bare->UnregisterForNotification(nullptr, nullptr), KR::kNothingDone);
    const auto client = f.Client("c");
    EXPECT_EQ(client->UnregisterForNotification(nullptr, kPing), KR::kInvalidArg);
    EXPECT_EQ(client->UnregisterForNotification(f.distributor, u""), KR::kInvalidArg);
    EXPECT_EQ(client->UnregisterForNotification(f.distributor, u"NID_TEST_PONG"), KR::kNothingDone);
    EXPECT_EQ(client->RegisterForNotification(nullptr, kPing), 0);
    EXPECT_EQ(client->RegisterForNotification(f.distributor, u""), 0);
    EXPECT_EQ(client->UnregisterForNotification(f.distributor, kPing), KR::kOk);
}

TEST(NotificationDistributor, AClientLeavingDuringASendIsNotCalledAgainAndNobodyIsSkipped)
{
    Fixture f;
    const auto a = f.Client("a");
    const auto b = f.Client("b");
    const auto c = f.Client("c");
    b->onReceive = [&](const RCPtr<LNotification>&) { b->UnregisterForNotification(f.distributor, kPing); };
    f.Send();
    f.Send();
    EXPECT_EQ(*f.log, (Log{"c", "b", "a", "c", "a"}));
}

TEST(NotificationDistributor, RemovingOlderRegistrationsDuringASendNeitherSkipsNorRepeats)
{
    Fixture f;
    const auto a = f.Client("a");
    const auto b = f.Client("b");
    const auto c = f.Client("c");
    const auto d = f.Client("d");
    // The newest one, called first, takes out one registration below it; the one after
    // it then takes itself and the oldest out.
    d->onReceive = [&](const RCPtr<LNotification>&) { b->UnregisterForNotification(f.distributor, kPing); };
    c->onReceive = [&](const RCPtr<LNotification>&)
    {
        c->UnregisterForNotification(f.distributor, kPing);
        a->UnregisterForNotification(f.distributor, kPing);
    };
    f.Send();
    EXPECT_EQ(*f.log, (Log{"d", "c"}));
}

TEST(NotificationDistributor, AClientRegisteredDuringASendWaitsForTheNextOne)
{
    Fixture f;
    const auto a = f.Client("a");
    RCPtr<RecordingClient> late(new RecordingClient("late", f.log));
    a->onReceive = [&](const RCPtr<LNotification>&) { late->RegisterForNotification(f.distributor, kPing); };
    f.Send();
    EXPECT_EQ(*f.log, (Log{"a"}));
    f.Send();
    EXPECT_EQ(*f.log, (Log{"a", "late", "a"}));
}

TEST(NotificationDistributor, ANestedSendOfTheSameNotificationLeavesTheOuterWalkWhole)
{
    Fixture f;
    const auto a = f.Client("a");
    const auto b = f.Client("b");
    const auto c = f.Client("c");
    bool nested = false;
    c->onReceive = [&](const RCPtr<LNotification>& n)
    {
        if (!nested)
        {
            nested = true;
            f.distributor->SendNotification(n);
        }
    };
    const RCPtr<LNotification> n = LNotification::Create(kPing);
    f.distributor->SendNotification(n);
    EXPECT_EQ(*f.log, (Log{"c", "c", "b", "a", "b", "a"}));
}

TEST(NotificationDistributor, OnlyLastPostedRegistrationsIgnoreDirectSends)
{
    Fixture f;
    const auto plain = f.Client("plain");
    const auto lastOnly = f.Client("lastOnly", LNotificationDistributor::kOnlyLastPosted);
    EXPECT_EQ(f.Send(), KR::kOk);
    EXPECT_EQ(*f.log, (Log{"plain"}));
}

TEST(NotificationDistributor, SendingToOneRegistrationByIndex)
{
    Fixture f;
    const auto a = f.Client("a");
    const auto b = f.Client("b", LNotificationDistributor::kOnlyLastPosted);
    const auto pool = f.distributor->FindClientPool(KR::GetNotificationID(kPing));
    ASSERT_TRUE(pool);
    EXPECT_EQ(pool->GetClientCount(), 2u);
    EXPECT_EQ(pool->GetClient(0).Get(), a.Get());
    EXPECT_EQ(pool->FindClient(b.Get()), 1);
    EXPECT_EQ(pool->GetCombinedFlags(), LNotificationDistributor::kOnlyLastPosted);
    const RCPtr<LNotification> n = LNotification::Create(kPing);
    EXPECT_EQ(pool->SendNotificationToClient(f.distributor, 0, n), KR::kOk);
    EXPECT_EQ(pool->SendNotificationToClient(f.distributor, 1, n), KR::kNothingDone);
    EXPECT_EQ(pool->SendNotificationToClient(f.distributor, 2, n), KR::kInvalidArg);
    EXPECT_EQ(*f.log, (Log{"a"}));
    EXPECT_FALSE(f.distributor->FindClientPool(KR::GetNotificationID(u"NID_TEST_PONG")));
}

TEST(NotificationDistributor, TheActiveListHoldsExactlyTheDistributorsWithRegistrations)
{
    Fixture f;
    EXPECT_FALSE(f.distributor->IsActive());
    const auto a = f.Client("a");
    EXPECT_TRUE(f.distributor->IsActive());
    a->RegisterForNotification(f.distributor, u"NID_TEST_PONG");
    EXPECT_EQ(f.distributor->GetRegistrationCount(), 2);
    a->UnregisterForNotification(f.distributor, kPing);
    EXPECT_TRUE(f.distributor->IsActive());
    a->UnregisterForNotification(f.distributor, u"NID_TEST_PONG");
    EXPECT_FALSE(f.distributor->IsActive());
    EXPECT_EQ(f.distributor->GetRegistrationCount(), 0);
    EXPECT_EQ(f.distributor->GetRefCount(), 1);
}

TEST(NotificationDistributor, AClientHeldOnlyByItsRegistrationsIsReleased)
{
    Fixture f;
    RCPtr<LNotificationDistributor> other(new LNotificationDistributor);
    RCPtr<RecordingClient> client(new RecordingClient("c", f.log));
    const auto destroyed = client->DestroyedFlag();
    client->RegisterForNotification(f.distributor, kPing);
    client->RegisterForNotification(f.distributor, u"NID_TEST_PONG");
    client->RegisterForNotification(other, kPing);
    client = nullptr;
    EXPECT_TRUE(*destroyed);
    EXPECT_EQ(f.distributor->GetRegistrationCount(), 0);
    EXPECT_FALSE(other->IsActive());
    EXPECT_EQ(other->GetRefCount(), 1);
}

// Registers itself before anything holds it.
class SelfRegistering : public RecordingClient
{
public:
    SelfRegistering(const RCPtr<LNotificationDistributor>& distributor, std::shared_ptr<Log> log)
        : RecordingClient("self", std::move(log))
    {
        RegisterForNotification(distributor, kPing);
    }
};

TEST(NotificationDistributor, AClientMayRegisterFromItsConstructor)
{
    Fixture f;
    RCPtr<SelfRegistering> client(new SelfRegistering(f.distributor, f.log));
    const auto destroyed = client->DestroyedFlag();
    f.Send();
    EXPECT_EQ(*f.log, (Log{"self"}));
    client = nullptr;
    EXPECT_TRUE(*destroyed);
    EXPECT_FALSE(f.distributor->IsActive());
}

TEST(NotificationDistributor, ADistributorLivesAsLongAsAnythingIsRegisteredWithIt)
{
    auto log = NewLog();
    RCPtr<TrackedDistributor> distributor(new TrackedDistributor);
    const auto destroyed = distributor->DestroyedFlag();
    RCPtr<RecordingClient> client(new RecordingClient("c", log));
    client->RegisterForNotification(distributor, kPing);
    distributor = nullptr;
    EXPECT_FALSE(*destroyed);
    EXPECT_EQ(client->UnregisterForAllNotifications(), 1);
    EXPECT_TRUE(*destroyed);
}

TEST(NotificationDistributor, RemoveAllClientsAsksEveryClientToLeave)
{
    Fixture f;
    const auto a = f.Client("a");
    const auto b = f.Client("b");
    a->RegisterForNotification(f.distributor, u"NID_TEST_PONG");
    EXPECT_EQ(f.distributor->RemoveAllClients(), KR::kOk);
    EXPECT_EQ(a->GetRegistrationCount(), 0);
    EXPECT_EQ(b->GetRegistrationCount(), 0);
    EXPECT_EQ(f.distributor->GetRegistrationCount(), 0);
    EXPECT_FALSE(f.distributor->HasClient(a.Get()));
    EXPECT_EQ(f.Send(), KR::kNothingDone);
}

// A receiver that is not a client, as a queue's posting receiver is: the distributor
// keeps all the books of its registrations itself.
class BareReceiver : public KR::LNotificationReceiver
{
public:
    KR::Result Receive(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&) override
    {
        ++received;
        return KR::kOk;
    }
    KR::Result UnregisterForNotification(const RCPtr<LNotificationDistributor>&,
                                         KR::NotificationName) override
    {
        return KR::kNothingDone;
    }
    int received = 0;
};

TEST(NotificationDistributor, RegisteringTwiceCountsOnceForEveryKindOfReceiver)
{
    struct Case
    {
        const char* name;
        bool client;
        std::uint32_t firstFlags;
        std::uint32_t secondFlags;
    };
    const Case cases[] = {{"client, same flags", true, 0, 0},
                          {"client, flags replaced", true, 0, 6},
                          {"bare receiver, same flags", false, 2, 2},
                          {"bare receiver, flags replaced", false, 2, 0}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Fixture f;
        RCPtr<KR::LNotificationReceiver> receiver;
        if (c.client)
        {
            receiver = new RecordingClient("c", f.log);
        }
        else
        {
            receiver = new BareReceiver;
        }
        EXPECT_EQ(f.distributor->AddClient(receiver, kPing, c.firstFlags), KR::kOk);
        const std::int32_t distributorReferences = f.distributor->GetRefCount();
        const std::int32_t receiverReferences = receiver->GetRefCount();
        EXPECT_EQ(f.distributor->AddClient(receiver, kPing, c.secondFlags), KR::kNothingDone);
        EXPECT_EQ(f.distributor->GetRegistrationCount(), 1);
        EXPECT_EQ(f.distributor->GetRefCount(), distributorReferences);
        EXPECT_EQ(receiver->GetRefCount(), receiverReferences);
        std::uint32_t flags = 99;
        EXPECT_EQ(f.distributor->GetClientFlags(receiver.Get(), kPing, flags), KR::kOk);
        EXPECT_EQ(flags, c.secondFlags);
        const RCPtr<LNotificationDistributor::LNotificationClientPool> pool =
            f.distributor->FindClientPool(KR::GetNotificationID(kPing));
        ASSERT_TRUE(pool);
        EXPECT_EQ(pool->GetClientCount(), 1u);
        // A re-registration works the combined flags out afresh.
        EXPECT_EQ(pool->GetCombinedFlags(), c.secondFlags);
        if (c.client)
        {
            EXPECT_EQ(static_cast<RecordingClient*>(receiver.Get())->GetRegistrationCount(), 1);
            EXPECT_EQ(f.distributor->RemoveClient(receiver, kPing), KR::kOk);
        }
        else
        {
            EXPECT_EQ(f.distributor->RemoveClientFromAllPools(receiver), 1);
        }
        EXPECT_FALSE(f.distributor->IsActive());
        EXPECT_EQ(f.distributor->GetRefCount(), 1);
    }
}

} // namespace
