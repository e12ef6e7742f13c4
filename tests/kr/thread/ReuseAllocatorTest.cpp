#include "kr/thread/ReuseAllocator.h"

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/thread/ThreadTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <semaphore>
#include <stdexcept>
#include <thread>
#include <vector>

namespace KR
{
namespace
{

struct Record
{
    double value;
    std::int64_t count;
    char tag;
};

using Pool = ReuseAllocator<Record, 4>;

bool AlignedForTheHeap(const void* pointer)
{
    return reinterpret_cast<std::uintptr_t>(pointer) % alignof(std::max_align_t) == 0;
}

TEST(ReuseAllocatorTest, TheNewestFreedBlockComesBackFirstAlignedAndABurstNeedsNoNewBlocks)
{
    Pool pool(false);
    std::vector<void*> burst;
    for (int i = 0; i < 100; ++i)
    {
        auto* record = new (pool.Allocate(sizeof(Record))) Record{1.5, i, 'x'};
        EXPECT_TRUE(AlignedForTheHeap(record));
        burst.push_back(record);
    }
    pool.Free(burst[3]);
    pool.Free(burst[7]);
    EXPECT_EQ(pool.GetFreeCount(), 2u);
    EXPECT_EQ(pool.Allocate(sizeof(Record)), burst[7]);
    EXPECT_EQ(pool.Allocate(sizeof(Record)), burst[3]);
    for (void* block : burst)
    {
        pool.Free(block);
    }
    for (int i = 0; i < 100; ++i)
    {
        pool.Allocate(sizeof(Record));
    }
    EXPECT_EQ(pool.GetBlockCount(), 100u);
    EXPECT_EQ(pool.GetFreeCount(), 0u);
}

TEST(ReuseAllocatorTest, OtherSizeGoesToTheHeapAndBackWithoutTouchingThePool)
{
    Pool pool(false);
    void* larger = pool.Allocate(sizeof(Record) + 24);
    void* smaller = pool.Allocate(1);
    EXPECT_TRUE(AlignedForTheHeap(larger));
    // The whole requested size is usable (the address sanitizer checks the bounds).
    std::memset(larger, 0xAB, sizeof(Record) + 24);
    std::memset(smaller, 0xCD, 1);
    EXPECT_EQ(pool.GetBlockCount(), 0u);
    pool.Free(larger);
    pool.Free(smaller);
    EXPECT_EQ(pool.GetBlockCount(), 0u);
    EXPECT_EQ(pool.GetFreeCount(), 0u);
}

TEST(ReuseAllocatorTest, ABlockFreedTwiceOrOfAnotherPoolIsReportedAndHandedOutOnlyOnce)
{
    Testing::LogCapture log;
    Pool pool(false);
    Pool other(false);
    void* block = pool.Allocate(sizeof(Record));
    pool.Free(block);
    pool.Free(block);
    EXPECT_TRUE(log.Contains("freed twice"));
    EXPECT_EQ(pool.GetFreeCount(), 1u);
    EXPECT_EQ(pool.Allocate(sizeof(Record)), block);
    EXPECT_NE(pool.Allocate(sizeof(Record)), block);

    void* foreign = other.Allocate(sizeof(Record));
    pool.Free(foreign);
    EXPECT_TRUE(log.Contains("does not come from this pool"));
    EXPECT_EQ(pool.GetFreeCount(), 0u);
    other.Free(foreign);
    EXPECT_EQ(other.GetFreeCount(), 1u);
}

TEST(ReuseAllocatorTest, LockedPoolServesObjectsMadeAndFreedOnDifferentThreads)
{
    ReuseAllocator<Record, 1> pool(true);
    constexpr int kRounds = 20000;
    constexpr int kInFlight = 16;
    std::vector<void*> handedOver(kRounds, nullptr);
    std::counting_semaphore<kInFlight> slots(kInFlight);
    std::counting_semaphore<kRounds> made(0);
    std::thread maker(
        [&]
        {
            for (int i = 0; i < kRounds; ++i)
            {
                slots.acquire();
                handedOver[i] = pool.Allocate(sizeof(Record));
                made.release();
            }
        });
    std::thread freer(
        [&]
        {
            for (int i = 0; i < kRounds; ++i)
            {
                made.acquire();
                pool.Free(handedOver[i]);
                slots.release();
            }
        });
    maker.join();
    freer.join();
    // Never more blocks than objects alive at once: freed blocks were reused.
    EXPECT_LE(pool.GetBlockCount(), static_cast<std::size_t>(kInFlight));
    EXPECT_EQ(pool.GetFreeCount(), pool.GetBlockCount());
}

// The pooled-class pattern, as the framework's pooled classes use it.
class PooledThing : public LRefCountedObject, public PooledObject<PooledThing, 4, false>
{
public:
    explicit PooledThing(int value, bool fail = false) : mValue(value)
    {
        if (fail)
        {
            throw std::runtime_error("refused");
        }
    }
    int mValue;
};

class LargerThing : public PooledThing
{
public:
    LargerThing() : PooledThing(7) {}
    double mMore[4] = {};
};

TEST(ReuseAllocatorTest, PooledClassRecyclesItsStorageThroughReferenceCounting)
{
    auto& pool = PooledThing::GetPool();
    const PooledThing* former;
    {
        RCPtr<PooledThing> thing(new PooledThing(1));
        former = thing.Get();
    }
    const std::size_t blocks = pool.GetBlockCount();
    RCPtr<PooledThing> again(new PooledThing(2));
    EXPECT_EQ(again.Get(), former);
    EXPECT_EQ(again->mValue, 2);
    EXPECT_EQ(pool.GetBlockCount(), blocks);
}

TEST(ReuseAllocatorTest, ADerivedClassOfAnotherSizeLivesOnTheHeapAndAFailedConstructionGivesBack)
{
    auto& pool = PooledThing::GetPool();
    RCPtr<PooledThing> keep(new PooledThing(0));
    const std::size_t blocks = pool.GetBlockCount();
    const std::size_t free = pool.GetFreeCount();
    {
        RCPtr<PooledThing> larger(new LargerThing);
        EXPECT_EQ(larger->mValue, 7);
    }
    EXPECT_EQ(pool.GetBlockCount(), blocks);
    EXPECT_EQ(pool.GetFreeCount(), free);
    EXPECT_THROW(new PooledThing(3, true), std::runtime_error);
    EXPECT_EQ(pool.GetBlockCount() - pool.GetFreeCount(), blocks - free);
}

} // namespace
} // namespace KR
