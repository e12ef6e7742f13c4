// Posting, recording and sending from several threads while the test thread, in the
// role of the UI thread, drains, registers and unregisters. Run under ThreadSanitizer
// too (the program's "threads" label).

#include "kr/notify/NotificationCenter.h"
#include "kr/notify/NotificationClient.h"

#include "kr/notify/NotifyTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace
{

using KR::LNotification;
using KR::LNotificationCenter;
using KR::LNotificationDistributor;
using KR::RCPtr;
using KR::Testing::PoolingScope;

constexpr const char16_t* kItem = u"NID_TEST_ITEM";
constexpr auto kPatience = std::chrono::seconds(60);

class Item : public virtual KR::LRefCountedObject
{
public:
    Item(int producer, int sequence) : producer(producer), sequence(sequence) {}
    const int producer;
    const int sequence;
};

// Keeps, per producer, the sequence numbers in the order they arrived.
class Collector : public KR::LNotificationClient
{
public:
    explicit Collector(int producers) : perProducer(producers) {}

    KR::Result Receive(const RCPtr<LNotificationDistributor>&,
                       const RCPtr<LNotification>& notification) override
    {
        const RCPtr<Item> item = notification->GetDataAs<Item>();
        perProducer.at(item->producer).push_back(item->sequence);
        received.fetch_add(1);
        return 1;
    }

    std::vector<std::vector<int>> perProducer;
    std::atomic<int> received{0};
};

// Releases every waiting thread at once.
class StartGate
{
public:
    void Open() { mOpen.store(true, std::memory_order_release); }
    void Wait() const
    {
        while (!mOpen.load(std::memory_order_acquire))
        {
            std::this_thread::yield();
        }
    }

private:
    std::atomic<bool> mOpen{false};
};

TEST(ThreadedNotification, FourThreadsPostingWhileTheUIThreadDrainsEachDeliveredOnceInOrder)
{
    constexpr int kProducers = 4;
    constexpr int kPerProducer = 1000;
    const PoolingScope pooling(true);
    RCPtr<LNotificationCenter> center(new LNotificationCenter(u"threaded"));
    RCPtr<Collector> collector(new Collector(kProducers));
    collector->RegisterForNotification(center, kItem);

    StartGate gate;
    std::atomic<int> refused{0};
    std::vector<std::thread> producers;
    for (int p = 0; p < kProducers; ++p)
    {
        producers.emplace_back(
            [&, p]
            {
                gate.Wait();
                for (int s = 0; s < kPerProducer; ++s)
                {
                    if (center->PostNotificationByName(kItem, RCPtr<Item>(new Item(p, s))) != KR::kOk)
                    {
                        refused.fetch_add(1);
                    }
                }
            });
    }
    gate.Open();
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (collector->received.load() < kProducers * kPerProducer &&
           std::chrono::steady_clock::now() < deadline)
    {
        center->ProcessNotifications(false);
        std::this_thread::yield();
    }
    for (std::thread& producer : producers)
    {
        producer.join();
    }
    EXPECT_FALSE(center->ProcessNotifications(false));

    EXPECT_EQ(refused.load(), 0);
    std::vector<int> expected;
    for (int s = 0; s < kPerProducer; ++s)
    {
        expected.push_back(s);
    }
    for (int p = 0; p < kProducers; ++p)
    {
        EXPECT_EQ(collector->perProducer[p], expected) << "producer " << p;
    }
    center->Shutdown();
}

TEST(ThreadedNotification, TheLastPostedIsDeliveredWhileTheUIThreadChangesRegistrations)
{
    constexpr int kPostings = 2000;
    RCPtr<LNotificationCenter> center(new LNotificationCenter(u"status"));
    RCPtr<Collector> status(new Collector(1));
    status->RegisterForNotification(center, kItem, LNotificationDistributor::kOnlyLastPosted);

    std::atomic<bool> done{false};
    std::thread producer(
        [&]
        {
            for (int s = 1; s <= kPostings; ++s)
            {
                center->PostNotificationByName(kItem, RCPtr<Item>(new Item(0, s)));
            }
            done.store(true);
        });
    // Registrations come and go in the pool the producer records into.
    std::vector<RCPtr<Collector>> passers;
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!done.load() && std::chrono::steady_clock::now() < deadline)
    {
        RCPtr<Collector> passer(new Collector(1));
        passer->RegisterForNotification(center, kItem, passers.size() % 2 == 0 ? 1u : 0u);
        passers.push_back(passer);
        if (passers.size() > 4)
        {
            passers.front()->UnregisterForAllNotifications();
            passers.erase(passers.begin());
        }
        center->ProcessNotifications(false);
    }
    producer.join();
    while (center->ProcessNotifications(false))
    {
    }

    const std::vector<int>& seen = status->perProducer[0];
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), kPostings);
    for (std::size_t i = 1; i < seen.size(); ++i)
    {
        EXPECT_LT(seen[i - 1], seen[i]);
    }
    for (const RCPtr<Collector>& passer : passers)
    {
        passer->UnregisterForAllNotifications();
    }
    center->Shutdown();
}

TEST(ThreadedNotification, AWorkerSendsWhileTheUIThreadRegistersAndUnregisters)
{
    constexpr int kSends = 3000;
    RCPtr<LNotificationDistributor> midi(new LNotificationDistributor);
    RCPtr<Collector> steady(new Collector(1));
    steady->RegisterForNotification(midi, kItem);

    std::atomic<bool> done{false};
    std::thread worker(
        [&]
        {
            for (int s = 0; s < kSends; ++s)
            {
                midi->SendNotificationByName(kItem, RCPtr<Item>(new Item(0, s)));
            }
            done.store(true);
        });
    std::vector<RCPtr<KR::LNotificationClient>> passers;
    while (!done.load())
    {
        RCPtr<KR::LNotificationClient> passer(new KR::LNotificationClient);
        passer->RegisterForNotification(midi, kItem);
        passers.push_back(passer);
        if (passers.size() > 8)
        {
            // Dropped while the worker may be sending to it: the send's own reference
            // keeps it alive until its Receive returns.
            passers.front()->UnregisterForNotification(midi, kItem);
            passers.erase(passers.begin());
        }
    }
    worker.join();
    EXPECT_EQ(steady->received.load(), kSends);
    std::vector<int> expected;
    for (int s = 0; s < kSends; ++s)
    {
        expected.push_back(s);
    }
    EXPECT_EQ(steady->perProducer[0], expected);
    passers.clear();
    steady->UnregisterForAllNotifications();
    EXPECT_FALSE(midi->IsActive());
}

} // namespace
