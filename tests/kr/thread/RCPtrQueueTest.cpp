#include "kr/thread/RCPtrQueue.h"

#include "kr/core/Exception.h"
#include "kr/core/TypeName.h"
#include "kr/thread/ThreadTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace
{

using KR::RCPtr;

class Item : public virtual KR::LRefCountedObject
{
public:
    Item(int producer, int sequence) : producer(producer), sequence(sequence) {}
    const int producer;
    const int sequence;
};

// The queue's text names its element class as the notification queue's does.
const bool kItemNamed = (KR::RegisterTypeName<Item>("class KR::LNotification"), true);

using Queue = KR::RCPtrQueue<Item, 256>;

RCPtr<Item> MakeItem(int sequence, int producer = 0)
{
    return RCPtr<Item>(new Item(producer, sequence));
}

// Dequeues everything and returns the sequence numbers in the order they came out.
std::vector<int> Drain(Queue& queue)
{
    std::vector<int> out;
    while (queue.GetCount() != 0)
    {
        out.push_back(queue.Dequeue()->sequence);
    }
    return out;
}

std::vector<int> Range(int first, int count)
{
    std::vector<int> values;
    for (int i = 0; i < count; ++i)
    {
        values.push_back(first + i);
    }
    return values;
}

TEST(RCPtrQueue, HoldsOneItemLessThanItsSlotsBeforeItGrows)
{
    KR::Mutex mutex;
    Queue queue(&mutex, 256);
    for (int i = 0; i < 255; ++i)
    {
        ASSERT_EQ(queue.Enqueue(MakeItem(i)), KR::kOk);
    }
    EXPECT_EQ(queue.GetSlotCount(), 256u);
    EXPECT_EQ(queue.GetCount(), 255u);
    queue.Enqueue(MakeItem(255));
    EXPECT_EQ(queue.GetSlotCount(), 257u);
    EXPECT_EQ(queue.GetCount(), 256u);
    EXPECT_EQ(Drain(queue), Range(0, 256));
}

TEST(RCPtrQueue, GrowsAtTheReadPositionOfAWrappedRingKeepingTheOrder)
{
    Queue queue(nullptr, 8);
    for (int i = 0; i < 7; ++i)
    {
        queue.Enqueue(MakeItem(i));
    }
    // Take five out and add five more, so the items wrap past the end of the slots.
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ(queue.Dequeue()->sequence, i);
    }
    for (int i = 7; i < 12; ++i)
    {
        queue.Enqueue(MakeItem(i));
    }
    EXPECT_EQ(queue.GetSlotCount(), 8u);
    // Full and wrapped: each further item grows the ring by one slot.
    for (int i = 12; i < 20; ++i)
    {
        queue.Enqueue(MakeItem(i));
    }
    EXPECT_EQ(queue.GetSlotCount(), 16u);
    EXPECT_EQ(Drain(queue), Range(5, 15));
}

TEST(RCPtrQueue, ARingWithoutSlotsGetsTwoAndOneWithASingleSlotLosesNothing)
{
    Queue none(nullptr, 0);
    EXPECT_EQ(none.GetCount(), 0u);
    none.Enqueue(MakeItem(1));
    EXPECT_EQ(none.GetSlotCount(), 2u);
    none.Enqueue(MakeItem(2));
    EXPECT_EQ(Drain(none), (std::vector<int>{1, 2}));

    Queue single(nullptr, 1);
    for (int i = 0; i < 4; ++i)
    {
        single.Enqueue(MakeItem(i));
    }
    EXPECT_EQ(single.GetCount(), 4u);
    EXPECT_EQ(Drain(single), Range(0, 4));
}

TEST(RCPtrQueue, DequeueFromAnEmptyQueueThrowsAndChangesNothing)
{
    const std::string text = "Runtime Error : KR::RCPtrQueue<class KR::LNotification,256>::Dequeue : "
                             "krframework\\utilities\\Storage/RCPtrQueue : Line 104";
    KR::Mutex mutex;
    Queue queue(&mutex);
    queue.Enqueue(MakeItem(1));
    queue.Dequeue();
    try
    {
        queue.Dequeue();
        FAIL() << "no exception";
    }
    catch (const KR::Exception<std::runtime_error>& e)
    {
        EXPECT_EQ(std::string(e.what()), text);
    }
    // The mutex was left and the indices kept: the queue goes on as before.
    EXPECT_TRUE(mutex.TryEnter());
    mutex.Leave();
    queue.Enqueue(MakeItem(2));
    queue.Enqueue(MakeItem(3));
    EXPECT_EQ(Drain(queue), (std::vector<int>{2, 3}));

    RCPtr<Item> out;
    EXPECT_FALSE(queue.TryDequeue(out));
    EXPECT_EQ(out, nullptr);

    // References move through the ring, and the ones left are released with it.
    RCPtr<Item> item = MakeItem(1);
    {
        Queue holder;
        holder.Enqueue(item);
        holder.Enqueue(item);
        EXPECT_EQ(item->GetRefCount(), 3);
        holder.Dequeue();
        EXPECT_EQ(item->GetRefCount(), 2);
    }
    EXPECT_EQ(item->GetRefCount(), 1);
}

// Producers share one ring with a consumer, as worker threads share a notification
// queue with the user-interface thread. The ring starts small so it grows while
// contended.
TEST(RCPtrQueue, ManyProducersLoseNothingAndKeepEachProducersOrder)
{
    constexpr int kProducers = 4;
    constexpr int kItemsEach = 10000;
    KR::Mutex mutex;
    KR::RCPtrQueue<Item, 4> queue(&mutex, 4);

    std::atomic<bool> go{false};
    std::vector<std::thread> producers;
    for (int p = 0; p < kProducers; ++p)
    {
        producers.emplace_back(
            [&, p]
            {
                while (!go.load())
                {
                    std::this_thread::yield();
                }
                for (int i = 0; i < kItemsEach; ++i)
                {
                    queue.Enqueue(MakeItem(i, p));
                }
            });
    }
    go = true;

    std::vector<int> next(kProducers, 0);
    int received = 0;
    bool inOrder = true;
    const bool all = KR::Testing::WaitUntil(
        [&]
        {
            RCPtr<Item> item;
            while (queue.TryDequeue(item))
            {
                inOrder = inOrder && item->sequence == next[item->producer];
                next[item->producer] = item->sequence + 1;
                ++received;
            }
            return received == kProducers * kItemsEach;
        });
    for (std::thread& producer : producers)
    {
        producer.join();
    }
    EXPECT_TRUE(all) << received << " items received";
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(next, std::vector<int>(kProducers, kItemsEach));
    EXPECT_EQ(queue.GetCount(), 0u);
}

} // namespace
