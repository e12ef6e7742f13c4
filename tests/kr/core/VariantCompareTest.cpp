// The ordering that keeps sub-keyed parameter records sorted.

#include "kr/core/Variant.h"

#include "kr/core/VariantTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{

using KR::Variant;
using namespace KRTest;

// Every pair in order must compare strictly ascending, in both directions.
void ExpectAscending(const std::vector<Variant>& values)
{
    for (std::size_t i = 0; i < values.size(); ++i)
    {
        for (std::size_t j = 0; j < values.size(); ++j)
        {
            const int expected = i < j ? -1 : (i > j ? 1 : 0);
            const int c = Variant::Compare(values[i], values[j]);
            EXPECT_EQ((c > 0) - (c < 0), expected) << "items " << i << " and " << j;
        }
    }
}

Variant Bool(bool b)
{
    Variant v;
    v.SetBool(b);
    return v;
}

Variant Int64(std::int64_t n)
{
    Variant v;
    v.SetInt64(n);
    return v;
}

TEST(VariantOrder, SameTypeScalarsOrderByValue)
{
    ExpectAscending({Bool(false), Bool(true)});
    ExpectAscending({Int32(-5), Int32(0), Int32(3)});
    ExpectAscending({Int64(-(1LL << 40)), Int64(2), Int64(1LL << 40)});
    ExpectAscending({Float(-1.5f), Float(0.25f), Float(7.0f), Float(std::nanf(""))});
    ExpectAscending({Double(-1e9), Double(0.0), Double(1e-9), Double(std::nan(""))});
    EXPECT_EQ(Variant::Compare(Double(0.0), Double(-0.0)), 0);
    EXPECT_EQ(Variant::Compare(Double(std::nan("")), Double(std::nan(""))), 0);
}

TEST(VariantOrder, ByteBlobsShorterFirstThenUnsignedBytes)
{
    ExpectAscending({Blob({}), Blob({0xFF}), Blob({0x00, 0x01}), Blob({0x00, 0x80}), Blob({0x7F, 0x00}),
                     Blob({0x01, 0x00, 0x00})});
}

TEST(VariantOrder, TextsOfEqualLengthByTheFirstDifferingCharacterSigned)
{
    // 0xE9 is negative as a signed character, so it comes before 'a'.
    ExpectAscending({Text(""), Text("\xE9"), Text("a"), Text("b"), Text("aa")});
}

TEST(VariantOrder, EmptyComesBeforeEveryOtherType)
{
    ExpectAscending({Variant(), Bool(false)});
    ExpectAscending({Variant(), Int32(-100)});
    ExpectAscending({Variant(), Blob({})});
    ExpectAscending({Variant(), ArrayOf({})});
}

TEST(VariantOrder, MixedNumbersCompareAsDoublesAndTiesOrderByType)
{
    ExpectAscending({Int32(-1), Bool(false), Double(0.5), Int64(1), Float(1.5f)});
    // Equal values of different types are not equal variants, so the type decides.
    ExpectAscending({Int32(1), Int64(1), Double(1.0)});
}

TEST(VariantOrder, OtherMixedTypesCompareTheirBytesWithScalarsAsEightBytes)
{
    // A scalar counts as its 8 value bytes: shorter blobs come first, longer ones after.
    ExpectAscending({Blob({9, 9, 9, 9, 9, 9, 9}), Int32(2), Blob({3, 0, 0, 0, 0, 0, 0, 0}),
                     Blob({0, 0, 0, 0, 0, 0, 0, 0, 0})});
    // Same bytes: the type decides (blob 8 before text 9 before array 10).
    ExpectAscending({Blob({'a', 0}), Text("a")});
    ExpectAscending({Int32(2), Blob({2, 0, 0, 0, 0, 0, 0, 0})});
}

TEST(VariantOrder, ArraysElementByElementWithAPrefixFirst)
{
    ExpectAscending({ArrayOf({}), ArrayOf({Int32(1)}), ArrayOf({Int32(1), Int32(0)}), ArrayOf({Int32(2)}),
                     ArrayOf({Int32(2), Text("z")})});
    // Nested arrays recurse: the inner order decides.
    ExpectAscending({ArrayOf({ArrayOf({Int32(1), Int32(5)})}), ArrayOf({ArrayOf({Int32(2)})})});
    EXPECT_EQ(Variant::Compare(ArrayOf({Int32(1), Text("x")}), ArrayOf({Int32(1), Text("x")})), 0);
}

TEST(VariantOrder, ArraysWhoseElementsTieStillOrderWhenTheirBytesDiffer)
{
    // A byte-range element becomes a blob when read, so the elements tie; the arrays are
    // still unequal and must not compare as 0.
    static const std::uint8_t bytes[] = {1, 2};
    Variant range;
    range.SetByteRange(bytes, 2);
    const Variant a = ArrayOf({range});
    const Variant b = ArrayOf({Blob({1, 2})});
    ASSERT_FALSE(a == b);
    EXPECT_NE(Variant::Compare(a, b), 0);
    EXPECT_EQ(Variant::Compare(a, b), -Variant::Compare(b, a));
}

TEST(VariantOrder, ByteRangesWithEqualBytesOrderByAddress)
{
    static const std::uint8_t two[2][2] = {{1, 2}, {1, 2}};
    Variant first;
    first.SetByteRange(two[0], 2);
    Variant second;
    second.SetByteRange(two[1], 2);
    ExpectAscending({first, second});
}

// An array nested `depth` levels around one int32, built directly as bytes.
Variant Nested(std::uint32_t depth, std::int32_t innermost)
{
    const std::uint32_t total = 12 * depth + 16;
    Bytes payload;
    for (std::uint32_t level = 1; level < depth; ++level)
    {
        const Bytes head = Record(total - 12 * level, 0, Variant::kArray);
        payload.insert(payload.end(), head.begin(), head.end());
    }
    const Bytes last = Serialized(Int32(innermost));
    payload.insert(payload.end(), last.begin(), last.end());
    Variant v;
    v.SetValue(Variant::kArray, payload.data(), static_cast<std::uint32_t>(payload.size()));
    return v;
}

TEST(VariantOrder, DeeplyNestedArraysCompareWithoutExhaustingTheStack)
{
    const Variant a = Nested(100000, 1);
    const Variant b = Nested(100000, 2);
    EXPECT_LT(Variant::Compare(a, b), 0);
    EXPECT_GT(Variant::Compare(b, a), 0);
    EXPECT_EQ(Variant::Compare(a, a), 0);
    // Where one nesting ends, its int32 (8 value bytes) meets an array of 28 bytes.
    EXPECT_LT(Variant::Compare(Nested(3, 9), Nested(4, 0)), 0);
}

TEST(VariantOrder, SortingAMixedSetIsConsistentWithEquality)
{
    std::vector<Variant> values = {Text("b"),    Int32(3),  Variant(), Blob({1}), ArrayOf({Int32(1)}),
                                   Double(-2.0), Text("a"), Blob({0}), Int32(3),  ArrayOf({}),
                                   Bool(true)};
    std::sort(values.begin(), values.end());
    for (std::size_t i = 1; i < values.size(); ++i)
    {
        const int c = Variant::Compare(values[i - 1], values[i]);
        EXPECT_LE(c, 0);
        EXPECT_EQ(c == 0, values[i - 1] == values[i]) << i;
    }
}

} // namespace
