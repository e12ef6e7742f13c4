#include "device/ParamCache.h"

#include "device/ModelTestSupport.h"

#include <gtest/gtest.h>

namespace
{

using support::Blob;

// Counts the cache's own change notifications.
class CountingCache final : public LParamCache
{
public:
    static KR::RCPtr<CountingCache> Create(std::uint32_t count)
    {
        return KR::RCPtr<CountingCache>(new CountingCache(count));
    }

    std::int32_t OnValueChanged(std::uint32_t index, const KR::Variant& value) override
    {
        lastIndex = index;
        lastValue = value;
        ++notifications;
        return LParamCache::OnValueChanged(index, value);
    }

    int notifications = 0;
    std::uint32_t lastIndex = 0;
    KR::Variant lastValue;

private:
    using LParamCache::LParamCache;
};

KR::ParamDescriptor Key(std::int32_t index, const KR::Variant& selector = KR::Variant())
{
    return KR::ParamDescriptor(index, selector);
}

KR::Variant Int(std::int32_t number)
{
    KR::Variant value;
    value.SetInt32(number);
    return value;
}

// The selectors of a selector-keyed entry, in stored order.
std::vector<KR::Variant> SelectorsOf(const LParamCache& cache, std::int32_t index)
{
    KR::ParamValues entry;
    cache.GetValue(Key(index), entry);
    std::vector<KR::Variant> selectors;
    for (std::uint32_t i = 0; i < entry.GetArraySize(); ++i)
    {
        KR::Variant value;
        KR::Variant selector;
        std::int32_t id = 0;
        EXPECT_EQ(entry.GetAt(i, value, id, selector), 0);
        EXPECT_EQ(id, index);
        selectors.push_back(selector);
    }
    return selectors;
}

TEST(ParamCache, PlainValuesAreStoredOnceAndRepeatsReportUnchanged)
{
    const KR::RCPtr<CountingCache> cache = CountingCache::Create(131);
    EXPECT_EQ(cache->SetValue(Key(130), Blob({1, 2}), true), 0);
    EXPECT_EQ(cache->notifications, 1);
    EXPECT_EQ(cache->lastIndex, 130u);
    EXPECT_EQ(cache->SetValue(Key(130), Blob({1, 2}), true), 1);
    EXPECT_EQ(cache->notifications, 1);
    EXPECT_EQ(cache->SetValue(Key(130), Blob({3}), false), 0);
    EXPECT_EQ(cache->notifications, 1);

    KR::Variant value = Int(5);
    EXPECT_EQ(cache->GetValue(Key(130), value), 0);
    EXPECT_TRUE(value == Blob({3}));
    EXPECT_EQ(cache->GetValue(Key(0), value), 0);
    EXPECT_EQ(value.GetType(), KR::Variant::kEmpty); // never set
}

TEST(ParamCache, IndicesOutsideTheCacheAreRefused)
{
    const KR::RCPtr<LParamCache> cache = LParamCache::Create(131);
    EXPECT_EQ(cache->SetValue(Key(131), Blob({1}), false), -1);
    EXPECT_EQ(cache->SetValue(Key(-1), Blob({1}), false), -1);
    EXPECT_EQ(cache->SetValue(Key(-1, Int(1)), Blob({1}), false), -1);
    KR::Variant value = Int(5);
    EXPECT_EQ(cache->GetValue(Key(131), value), -1);
    EXPECT_EQ(value.GetType(), KR::Variant::kEmpty);
    EXPECT_EQ(cache->GetCount(), 131u);
}

TEST(ParamCache, SelectorKeyedValuesAreKeptApartInSelectorOrder)
{
    const KR::RCPtr<CountingCache> cache = CountingCache::Create(4);
    EXPECT_EQ(cache->SetValue(Key(2, Int(5)), Blob({5}), true), 0);
    EXPECT_EQ(cache->SetValue(Key(2, Int(-3)), Blob({3}), true), 0);
    EXPECT_EQ(cache->SetValue(Key(2, Int(9)), Blob({9}), true), 0);
    EXPECT_EQ(cache->notifications, 3);
    const auto selectors = SelectorsOf(*cache, 2);
    ASSERT_EQ(selectors.size(), 3u);
    EXPECT_EQ(selectors[0].ToInt32(), -3);
    EXPECT_EQ(selectors[1].ToInt32(), 5);
    EXPECT_EQ(selectors[2].ToInt32(), 9);

    // A new value under an existing selector replaces only that record.
    EXPECT_EQ(cache->SetValue(Key(2, Int(5)), Blob({55}), true), 0);
    EXPECT_EQ(cache->SetValue(Key(2, Int(5)), Blob({55}), true), 1);
    EXPECT_EQ(cache->notifications, 4);
    KR::Variant value;
    EXPECT_EQ(cache->GetValue(Key(2, Int(5)), value), 0);
    EXPECT_TRUE(value == Blob({55}));
    EXPECT_EQ(cache->GetValue(Key(2, Int(-3)), value), 0);
    EXPECT_TRUE(value == Blob({3}));
    EXPECT_EQ(SelectorsOf(*cache, 2).size(), 3u);
}

TEST(ParamCache, AnAbsentSelectorReadsAsNotPresentAndEmpty)
{
    const KR::RCPtr<LParamCache> cache = LParamCache::Create(4);
    KR::Variant value = Int(1);
    EXPECT_EQ(cache->GetValue(Key(1, Int(7)), value), 1);
    EXPECT_EQ(value.GetType(), KR::Variant::kEmpty);
    cache->SetValue(Key(1, Int(6)), Blob({6}), false);
    EXPECT_EQ(cache->GetValue(Key(1, Int(7)), value), 1);
    // A plain value is no list of selectors.
    cache->SetValue(Key(3), Blob({1}), false);
    EXPECT_EQ(cache->GetValue(Key(3, Int(7)), value), 1);
}

TEST(ParamCache, SelectorsOfMixedTypesFollowTheVariantOrder)
{
    const KR::RCPtr<LParamCache> cache = LParamCache::Create(1);
    KR::Variant half;
    half.SetDouble(0.5);
    KR::Variant longBlob = Blob({0, 0});
    KR::Variant shortBlob = Blob({0xFF});
    for (const KR::Variant& selector : {longBlob, Int(1), shortBlob, half})
    {
        ASSERT_EQ(cache->SetValue(Key(0, selector), Blob({1}), false), 0);
    }
    const auto selectors = SelectorsOf(*cache, 0);
    ASSERT_EQ(selectors.size(), 4u);
    // Numbers compare as numbers; a number counts as 8 bytes against a blob, and
    // shorter payloads come first whatever their bytes.
    EXPECT_TRUE(selectors[0] == shortBlob);
    EXPECT_TRUE(selectors[1] == longBlob);
    EXPECT_TRUE(selectors[2] == half);
    EXPECT_TRUE(selectors[3] == Int(1));
}

} // namespace
