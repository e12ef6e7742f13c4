#include "kr/render/PurgableObjectCache.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace KR
{
namespace
{

class Thing : public virtual LRefCountedObject
{
};

std::int32_t HandleOf(const std::int32_t& key)
{
    return key;
}

using Cache = PurgableObjectCache<Thing, std::int32_t, std::int32_t, &HandleOf>;

// Looks each handle up and fills its slot when empty.
void Use(Cache& cache, std::initializer_list<std::int32_t> handles)
{
    for (std::int32_t h : handles)
    {
        RCPtr<Thing>& slot = cache.GetEntry(h, false);
        if (!slot)
        {
            slot = new Thing;
        }
    }
}

// Which handle each entry holds and whether it is full: "a+", "b-", ...
std::string Layout(const Cache& cache)
{
    std::string text;
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(cache.GetIndexCount()); ++i)
    {
        const Cache::Entry& e = cache.GetEntryAt(i);
        text += std::to_string(e.handle) + (e.IsEmpty() ? "- " : "+ ");
    }
    return text;
}

TEST(PurgableObjectCache, ClaimsReplacesDropsAndPurges)
{
    struct Case
    {
        const char* name;
        std::int32_t capacity;
        std::function<void(Cache&)> run;
        std::string layout;
    };
    const Case cases[] = {
        {"new handles claim entries in order", 3,
         [](Cache& c) {
             Use(c, {16, 32});
         },
         "16+ 32+ "},
        {"a full cache replaces the oldest at equal use counts", 2,
         [](Cache& c) {
             Use(c, {16, 32, 48});
         },
         "48+ 32+ "},
        {"a recent lookup saves an entry", 2,
         [](Cache& c) {
             Use(c, {16, 32, 16, 48});
         },
         "16+ 48+ "},
        {"a dropped entry keeps its handle and its place", 2,
         [](Cache& c)
         {
             Use(c, {16, 32});
             c.Drop(16);
             c.Drop(99);
         },
         "16- 32+ "},
        {"an empty entry is taken before older full ones", 3,
         [](Cache& c)
         {
             Use(c, {16, 32, 48});
             c.Drop(32);
             Use(c, {16, 48, 64});
         },
         "16+ 64+ 48+ "},
        {"a handle looked up again keeps its one entry", 4,
         [](Cache& c) {
             Use(c, {5, 5, 5});
         },
         "5+ "},
        {"a capacity of 0 still holds one entry", 0,
         [](Cache& c) {
             Use(c, {16, 32});
         },
         "32+ "},
    };
    for (const Case& c : cases)
    {
        Cache cache(c.capacity);
        c.run(cache);
        EXPECT_EQ(Layout(cache), c.layout) << c.name;
        EXPECT_LE(cache.GetIndexCount(), static_cast<std::uint32_t>(cache.GetCapacity())) << c.name;
    }
}

TEST(PurgableObjectCache, AfterADropTheSameEntryComesBackEmptyWithoutANewIndexPair)
{
    Cache cache(4);
    Use(cache, {16, 32});
    cache.Drop(16);
    const RCPtr<Thing>& slot = cache.GetEntry(16, false);
    EXPECT_FALSE(slot);
    EXPECT_EQ(&slot, &cache.GetEntryAt(0).object);
    EXPECT_EQ(cache.GetIndexCount(), 2u);
}

TEST(PurgableObjectCache, AReplacedHandleLeavesTheIndex)
{
    Cache cache(2);
    Use(cache, {16, 32, 48});
    EXPECT_EQ(cache.FindEntry(16), -1);
    EXPECT_EQ(cache.FindEntry(48), 0);
    EXPECT_EQ(cache.GetIndexCount(), 2u);
}

TEST(PurgableObjectCache, DiscardEmptiesTheSlotAndRestartsTheUseCount)
{
    Cache cache(2);
    Use(cache, {16, 16, 16});
    EXPECT_FALSE(cache.GetEntry(16, true));
    EXPECT_EQ(cache.GetEntryAt(0).useCount, 1u);
}

TEST(PurgableObjectCache, PurgeReleasesWhatWasNotUsedForAWholePeriod)
{
    Cache cache(8);
    Use(cache, {16, 32, 48});
    EXPECT_EQ(cache.Purge(), 0) << "the first purge has a mark of 0";
    EXPECT_EQ(cache.Purge(), 2) << "all but the latest lookup, whose stamp equals the mark";
    EXPECT_EQ(Layout(cache), "16- 32- 48+ ");
    EXPECT_EQ(cache.Purge(), 0);
    Use(cache, {16});
    EXPECT_EQ(cache.Purge(), 0);
    EXPECT_EQ(cache.Purge(), 1);
    EXPECT_EQ(Layout(cache), "16+ 32- 48- ");
}

TEST(PurgableObjectCache, UseCountStopsAtItsMaximum)
{
    Cache cache(1);
    Use(cache, {16});
    const_cast<Cache::Entry&>(cache.GetEntryAt(0)).useCount = 0xFFFFFFFEu;
    Use(cache, {16, 16});
    EXPECT_EQ(cache.GetEntryAt(0).useCount, 0xFFFFFFFFu);
}

} // namespace
} // namespace KR
