#include "kr/render/PurgableObjectCache.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

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

// Looks each handle up and fills its slot when empty; a negative number drops its handle.
void Use(Cache& cache, std::initializer_list<std::int32_t> handles)
{
    for (std::int32_t h : handles)
    {
        if (h < 0)
        {
            cache.Drop(-h);
        }
        else if (RCPtr<Thing>& slot = cache.GetEntry(h, false); !slot)
        {
            slot = new Thing;
        }
    }
}

// Each claimed entry's handle, "+" when it holds an object: "16+ 32- ".
std::string Layout(const Cache& cache)
{
    std::string text;
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(cache.GetIndexCount()); ++i)
    {
        text += std::to_string(cache.GetEntryAt(i).handle) + (cache.GetEntryAt(i).IsEmpty() ? "- " : "+ ");
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
        {"a full cache replaces the oldest", 2,
         [](Cache& c) {
             Use(c, {16, 32, 48});
         },
         "48+ 32+ "},
        {"a recent lookup saves an entry", 2,
         [](Cache& c) {
             Use(c, {16, 32, 16, 48});
         },
         "16+ 48+ "},
        {"a dropped entry keeps its handle and place", 2,
         [](Cache& c) {
             Use(c, {16, 32, -16, -99});
         },
         "16- 32+ "},
        {"a dropped entry comes back in place", 2,
         [](Cache& c) {
             Use(c, {16, 32, -16, 16});
         },
         "16+ 32+ "},
        {"an empty entry goes before older full ones", 3,
         [](Cache& c) {
             Use(c, {16, 32, 48, -32, 16, 48, 64});
         },
         "16+ 64+ 48+ "},
        {"a capacity of 0 still holds one entry", 0,
         [](Cache& c) {
             Use(c, {16, 32});
         },
         "32+ "},
        {"a whole period without a lookup releases an entry; the mark's own lookup survives", 8,
         [](Cache& c)
         {
             Use(c, {16, 32, 48});
             EXPECT_EQ(c.Purge(), 0) << "the first purge";
             Use(c, {32});
             EXPECT_EQ(c.Purge(), 1);
         },
         "16- 32+ 48+ "},
    };
    for (const Case& c : cases)
    {
        Cache cache(c.capacity);
        c.run(cache);
        EXPECT_EQ(Layout(cache), c.layout) << c.name;
    }
}

TEST(PurgableObjectCache, ReplacedHandlesLeaveTheIndexAndUseCountsRestartOrStop)
{
    Cache cache(2);
    Use(cache, {16, 16, 32, 48});
    EXPECT_EQ(cache.FindEntry(16), -1);
    EXPECT_EQ(cache.FindEntry(48), 0);
    EXPECT_EQ(cache.GetIndexCount(), 2u);
    EXPECT_EQ(cache.GetEntryAt(0).useCount, 1u) << "a new claim counts from 0";
    EXPECT_FALSE(cache.GetEntry(32, true)) << "discard empties the slot";
    EXPECT_EQ(cache.GetEntryAt(1).useCount, 1u);
    const_cast<Cache::Entry&>(cache.GetEntryAt(1)).useCount = 0xFFFFFFFEu;
    Use(cache, {32, 32});
    EXPECT_EQ(cache.GetEntryAt(1).useCount, 0xFFFFFFFFu);
}

} // namespace
} // namespace KR
