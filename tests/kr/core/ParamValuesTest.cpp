#include "kr/core/ParamValues.h"

#include "kr/core/VariantTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

using KR::ParamDescriptor;
using KR::ParamDescriptors;
using KR::ParamRange;
using KR::ParamRanges;
using KR::ParamValue;
using KR::ParamValues;
using KR::Variant;
using namespace KRTest;

// Value blocks shaped like a whole preset: 131 blobs of 5 to 17 bytes, 1338 bytes in all.
std::vector<ParamValue> PresetLikeValues()
{
    const struct
    {
        int count;
        std::uint8_t size;
    } runs[] = {{1, 6}, {4, 9}, {2, 5}, {1, 6}, {1, 6}, {16, 14}, {36, 17}, {36, 6}, {32, 6}, {2, 15}};
    std::vector<ParamValue> values;
    for (const auto& run : runs)
    {
        for (int i = 0; i < run.count; ++i)
        {
            const auto id = static_cast<std::int32_t>(values.size());
            Bytes block(run.size);
            for (std::size_t b = 0; b < block.size(); ++b)
            {
                block[b] = static_cast<std::uint8_t>(id * 7 + b * 13);
            }
            values.emplace_back(ParamDescriptor(id), Blob(block));
        }
    }
    return values;
}

TEST(ParamValues, APresetOf131BlobsReadsBackIdentical)
{
    const std::vector<ParamValue> values = PresetLikeValues();
    ASSERT_EQ(values.size(), 131u);
    ParamValues list;
    ASSERT_EQ(list.SetValues(values.data(), static_cast<std::uint32_t>(values.size())), 0);
    ASSERT_EQ(list.GetArraySize(), 131u);

    std::uint32_t blockBytes = 0;
    for (std::uint32_t i = 0; i < 131; ++i)
    {
        ParamValue back;
        ASSERT_EQ(list.GetAt(i, back), 0) << i;
        EXPECT_EQ(back, values[i]) << i;
        blockBytes += back.value.GetSize();
    }
    EXPECT_EQ(blockBytes, 1338u);
    // Each entry: 12 + (12 + B) + 16 + 12 bytes.
    EXPECT_EQ(list.GetSize(), 1338u + 131u * 52u);
}

TEST(ParamValues, AnEntryIsPackedAsAnArrayOfValueIdAndSelector)
{
    const ParamValue value(ParamDescriptor(5, Int32(1)), Blob({0xAA}));
    ParamValues list;
    ASSERT_EQ(list.SetValues(&value, 1), 0);
    EXPECT_EQ(Hex(PayloadOf(list)), "39 00 00 00 00 00 00 00 0A 00 00 00 "
                                    "0D 00 00 00 00 00 00 00 08 00 00 00 AA "
                                    "10 00 00 00 00 00 00 00 02 00 00 00 05 00 00 00 "
                                    "10 00 00 00 00 00 00 00 02 00 00 00 01 00 00 00");
}

TEST(ParamValues, SelectorsAndValuesOfAnyTypeRoundTrip)
{
    Variant wide;
    wide.SetInt64(-9);
    const std::vector<ParamValue> values = {
        {ParamDescriptor(-2), Text("Tarsil")},
        {ParamDescriptor(7, Text("sub")), wide},
        {ParamDescriptor(8, ArrayOf({Int32(1), Text("x")})), Double(0.5)},
    };
    ParamValues list;
    ASSERT_EQ(list.SetValues(values.data(), 3), 0);
    for (std::uint32_t i = 0; i < 3; ++i)
    {
        Variant value;
        std::int32_t id = 0;
        Variant selector;
        ASSERT_EQ(list.GetAt(i, value, id, selector), 0);
        EXPECT_EQ(value, values[i].value);
        EXPECT_EQ(id, values[i].descriptor.id);
        EXPECT_EQ(selector, values[i].descriptor.selector);
    }
}

TEST(ParamValues, AnEmptyBlobValueComesBackEmptyWithSuccess)
{
    const ParamValue value(ParamDescriptor(3), Blob({}));
    ParamValues list;
    ASSERT_EQ(list.SetValues(&value, 1), 0);
    ParamValue back;
    back.value = Int32(1);
    EXPECT_EQ(list.GetAt(0, back), 0);
    EXPECT_TRUE(back.value.IsEmpty());
    EXPECT_EQ(back.descriptor.id, 3);
}

TEST(ParamValues, BuildingFromNothingIsRefusedAndKeepsTheList)
{
    const ParamValue value(ParamDescriptor(1), Int32(1));
    ParamValues list;
    ASSERT_EQ(list.SetValues(&value, 1), 0);
    const ParamValues before = list;
    EXPECT_EQ(list.SetValues(nullptr, 3), KR::kParamListInvalid);
    EXPECT_EQ(list.SetValues(&value, 0), KR::kParamListInvalid);
    EXPECT_EQ(list, before);

    ParamDescriptors descriptors;
    EXPECT_EQ(descriptors.SetDescriptors(nullptr, 1), KR::kParamListInvalid);
    ParamRanges ranges;
    EXPECT_EQ(ranges.SetRanges(nullptr, 1), KR::kParamListInvalid);
}

TEST(ParamValues, ReadingPastTheEndOrFromANonListGivesMinusFourAndResetOutputs)
{
    const ParamValue value(ParamDescriptor(1), Int32(1));
    ParamValues list;
    list.SetValues(&value, 1);

    Variant out = Text("stale");
    std::int32_t id = 42;
    Variant selector = Text("kept");
    EXPECT_EQ(list.GetAt(1, out, id, selector), KR::kParamListInvalid);
    EXPECT_TRUE(out.IsEmpty());
    EXPECT_EQ(id, -1);
    EXPECT_STREQ(selector.GetString(), "kept") << "the selector is written only on success";

    EXPECT_EQ(ParamValues().GetAt(0, out, id, selector), KR::kParamListInvalid);
    EXPECT_EQ(ParamValues(Text("not a list")).GetAt(0, out, id, selector), KR::kParamListInvalid);

    ParamRange range{5, 5};
    EXPECT_EQ(ParamRanges().GetAt(0, range), KR::kParamListInvalid);
    EXPECT_EQ(range, (ParamRange{-1, 0}));

    selector = Text("stale");
    id = 42;
    EXPECT_EQ(ParamDescriptors().GetAt(0, id, selector), KR::kParamListInvalid);
    EXPECT_EQ(id, -1);
    EXPECT_TRUE(selector.IsEmpty());
}

TEST(ParamValues, AnEntryOfTheWrongShapeGivesMinusSeven)
{
    // Entries: a 2-record array, a plain int, a 4-record array, an empty array, and a
    // well-formed 3-record entry after them.
    const Variant wrongShapes = ArrayOf({
        ArrayOf({Int32(1), Int32(2)}),
        Int32(5),
        ArrayOf({Int32(1), Int32(2), Int32(3), Int32(4)}),
        ArrayOf({}),
        ArrayOf({Blob({1}), Int32(9), Variant()}),
    });
    const ParamValues list(wrongShapes);
    ParamValue out;
    for (std::uint32_t i = 0; i < 4; ++i)
    {
        EXPECT_EQ(list.GetAt(i, out), KR::kParamListBadEntry) << i;
    }
    // Only the entry read reports the fault; the rest of the list still reads.
    ASSERT_EQ(list.GetAt(4, out), 0);
    EXPECT_EQ(out.descriptor.id, 9);

    ParamRange range{5, 5};
    EXPECT_EQ(ParamRanges(wrongShapes).GetAt(1, range), KR::kParamListBadEntry);
    EXPECT_EQ(range, (ParamRange{5, 5})) << "left unchanged on -7";
    EXPECT_EQ(ParamRanges(wrongShapes).GetAt(0, range), 0);
    EXPECT_EQ(range, (ParamRange{1, 2}));
}

TEST(ParamValues, AListReadIntoItselfIsEmptiedNotReadAfterFree)
{
    const ParamValue value(ParamDescriptor(1), Int32(1));
    ParamValues list;
    list.SetValues(&value, 1);
    std::int32_t id = 0;
    Variant selector;
    EXPECT_EQ(list.GetAt(0, list, id, selector), KR::kParamListInvalid);

    list.SetValues(&value, 1);
    Variant out;
    EXPECT_EQ(list.GetAt(0, out, id, list), 0);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(out, Int32(1));
}

TEST(ParamDescriptors, SetFromRangesListsEveryIdInRangeOrder)
{
    const ParamRange input[] = {{10, 3}, {0, 0}, {0, 2}, {20, -4}};
    ParamRanges ranges;
    ASSERT_EQ(ranges.SetRanges(input, 4), 0);
    ParamDescriptors descriptors;
    ASSERT_EQ(descriptors.SetFromRanges(ranges), 0);
    std::vector<std::int32_t> ids;
    for (std::uint32_t i = 0; i < descriptors.GetArraySize(); ++i)
    {
        ParamDescriptor d;
        ASSERT_EQ(descriptors.GetAt(i, d), 0);
        EXPECT_TRUE(d.selector.IsEmpty());
        ids.push_back(d.id);
    }
    EXPECT_EQ(ids, (std::vector<std::int32_t>{10, 11, 12, 0, 1}));
}

TEST(ParamDescriptors, RangesThatAddNoIdsGiveAnEmptyList)
{
    const ParamRange input[] = {{10, 0}, {3, 0}};
    ParamRanges ranges;
    ranges.SetRanges(input, 2);
    ParamDescriptors descriptors;
    ASSERT_EQ(descriptors.SetFromRanges(ranges), 0);
    EXPECT_EQ(descriptors.GetArraySize(), 0u);
    std::int32_t id = 0;
    Variant selector;
    EXPECT_EQ(descriptors.GetAt(0, id, selector), KR::kParamListInvalid);
}

TEST(ParamDescriptors, OneRangeMakesOneDescriptorPerId)
{
    const ParamDescriptors descriptors(ParamRange{0, 131});
    ASSERT_EQ(descriptors.GetArraySize(), 131u);
    ParamDescriptor last;
    ASSERT_EQ(descriptors.GetAt(130, last), 0);
    EXPECT_EQ(last.id, 130);
    // Ids at the top of the range wrap rather than overflow.
    const ParamDescriptors top(ParamRange{2147483647, 2});
    ParamDescriptor d;
    ASSERT_EQ(top.GetAt(1, d), 0);
    EXPECT_EQ(d.id, -2147483647 - 1);
}

TEST(ParamDescriptors, DescriptorsWithSelectorsRoundTrip)
{
    const ParamDescriptor input[] = {ParamDescriptor(4), ParamDescriptor(-10, Text("key")),
                                     ParamDescriptor(4, Int32(2))};
    ParamDescriptors list;
    ASSERT_EQ(list.SetDescriptors(input, 3), 0);
    for (std::uint32_t i = 0; i < 3; ++i)
    {
        ParamDescriptor d;
        ASSERT_EQ(list.GetAt(i, d), 0);
        EXPECT_EQ(d, input[i]);
    }
}

TEST(ParamDescriptors, OrderIsIdFirstThenSelector)
{
    EXPECT_LT(ParamDescriptor(1, Int32(9)), ParamDescriptor(2));
    EXPECT_LT(ParamDescriptor(2), ParamDescriptor(2, Int32(0)));
    EXPECT_LT(ParamDescriptor(2, Int32(0)), ParamDescriptor(2, Int32(1)));
    EXPECT_FALSE(ParamDescriptor(2, Int32(1)) < ParamDescriptor(2, Int32(1)));
}

TEST(ParamDescriptors, TextIsTheIdAsAnUnsignedNumber)
{
    EXPECT_TRUE(ParamDescriptorToString(ParamDescriptor(-1)) == u"4294967295");
    EXPECT_TRUE(ParamDescriptorToString(ParamDescriptor(0, Text("ignored"))) == u"0");
    EXPECT_TRUE(KR::ParamDescriptorToString(ParamDescriptor(130)) == u"130");
}

TEST(ParamRanges, RangesRoundTrip)
{
    const ParamRange input[] = {{0, 131}, {-256, 128}, {7, 0}};
    ParamRanges list;
    ASSERT_EQ(list.SetRanges(input, 3), 0);
    ASSERT_EQ(list.GetArraySize(), 3u);
    for (std::uint32_t i = 0; i < 3; ++i)
    {
        ParamRange r;
        ASSERT_EQ(list.GetAt(i, r), 0);
        EXPECT_EQ(r, input[i]);
    }
}

TEST(ParamValues, ListsCopyCompareAndSerialiseAsVariants)
{
    const std::vector<ParamValue> values = PresetLikeValues();
    ParamValues list;
    list.SetValues(values.data(), 10);
    const ParamValues copy = list;
    EXPECT_EQ(copy, list);

    const Bytes record = Serialized(list);
    ParamValues back;
    ASSERT_EQ(Variant::Deserialize(back, record.data(), static_cast<std::uint32_t>(record.size())), KR::kOk);
    EXPECT_EQ(back, list);
    ParamValue tenth;
    ASSERT_EQ(back.GetAt(9, tenth), 0);
    EXPECT_EQ(tenth, values[9]);
}

} // namespace
