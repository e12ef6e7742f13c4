// A short seeded loop over the readers of untrusted variant bytes, through the same
// checks as the libFuzzer target in fuzz/, which makes the long runs: records and lists
// of every kind, each bent a few times where the readers decide.

#include "kr/core/VariantFuzzInput.h"

#include <gtest/gtest.h>

#include <random>

namespace
{

using KR::Variant;
using namespace KRTest;

TEST(VariantFuzz, MutatedRecordsAndListsKeepEveryReaderSound)
{
    const std::int32_t numbers[] = {1, -2, 3};
    Variant text;
    text.SetString("text");
    Variant blob;
    blob.SetBlob(numbers, sizeof(numbers));
    Variant wide;
    wide.SetInt64(-7);
    const Variant parts[] = {text, blob, wide, Variant()};
    Variant array;
    array.SetArray(parts, 4);
    const KR::ParamValue values[] = {{KR::ParamDescriptor(4, text), blob},
                                     {KR::ParamDescriptor(-2, Variant()), wide}};
    KR::ParamValues valueList;
    valueList.SetValues(values, 2);
    const KR::ParamDescriptor descriptors[] = {KR::ParamDescriptor(9, array),
                                               KR::ParamDescriptor(0, Variant())};
    KR::ParamDescriptors descriptorList;
    descriptorList.SetDescriptors(descriptors, 2);
    const KR::ParamRange ranges[] = {{0, 127}, {-5, 3}};
    KR::ParamRanges rangeList;
    rangeList.SetRanges(ranges, 2);
    std::vector<Bytes> seeds;
    for (const Variant& kind :
         {text, blob, array, Variant(valueList), Variant(descriptorList), Variant(rangeList)})
    {
        seeds.push_back(Serialized(kind));
        seeds.push_back(PayloadOf(kind));
    }

    // The length, reserved and type words are where the readers decide.
    const std::uint32_t words[] = {0, 1, 4, 11, 12, 13, 0x80000000u, 0xFFFFFFFFu};
    std::mt19937 random(0x5EED1106);
    for (int i = 0; i < 20000; ++i)
    {
        Bytes bytes = seeds[random() % seeds.size()];
        for (unsigned m = random() % 4; m > 0 && !bytes.empty(); --m)
        {
            const std::size_t at = random() % bytes.size();
            switch (random() % 4)
            {
            case 0:
                bytes[at] ^= static_cast<std::uint8_t>(1u << random() % 8);
                break;
            case 1:
                for (std::size_t b = 0, word = words[random() % std::size(words)];
                     b < 4 && at / 4 * 4 + b < bytes.size(); ++b)
                {
                    bytes[at / 4 * 4 + b] = static_cast<std::uint8_t>(word >> 8 * b);
                }
                break;
            case 2:
                bytes.resize(at);
                break;
            default:
                bytes.push_back(static_cast<std::uint8_t>(random()));
                break;
            }
        }
        const char* fault = ExerciseVariantBytes(bytes.data(), bytes.size());
        ASSERT_EQ(fault, nullptr) << "input " << i << ": " << Hex(bytes);
    }
}

} // namespace
