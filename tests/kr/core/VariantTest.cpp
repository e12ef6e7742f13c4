#include "kr/core/Variant.h"

#include "kr/core/VariantTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace
{

using KR::Variant;
using namespace KRTest;

constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kMin64 = std::numeric_limits<std::int64_t>::min();

// --- Conversions -------------------------------------------------------------------------

TEST(VariantConvert, FloatsRoundHalfAwayFromZero)
{
    EXPECT_EQ(Float(2.5f).ToInt32(), 3);
    EXPECT_EQ(Float(-2.5f).ToInt32(), -3);
    EXPECT_EQ(Float(2.5f).ToInt64(), 3);
    EXPECT_EQ(Float(-2.5f).ToInt64(), -3);
    EXPECT_EQ(Double(-0.4).ToInt32(), 0);
    EXPECT_EQ(Double(1234567.5).ToInt64(), 1234568);
    EXPECT_EQ(Double(-1234567.5).ToInt64(), -1234568);
}

TEST(VariantConvert, AFloatJustBelowOneHalfRoundsDifferentlyAt32And64Bits)
{
    // The 32-bit conversion adds the half in double precision, the 64-bit one in single.
    const Variant v = Float(0.49999997f);
    EXPECT_EQ(v.ToInt32(), 0);
    EXPECT_EQ(v.ToInt64(), 1);
}

TEST(VariantConvert, OutOfRangeAndNaNGiveTheSmallestValueOfTheTarget)
{
    EXPECT_EQ(Double(2147483647.0).ToInt32(), 2147483647);
    EXPECT_EQ(Double(2147483647.5).ToInt32(), kMin32);
    EXPECT_EQ(Double(-2147483648.4).ToInt32(), kMin32);
    EXPECT_EQ(Double(-2147483648.6).ToInt32(), kMin32);
    EXPECT_EQ(Double(1e300).ToInt32(), kMin32);
    EXPECT_EQ(Double(1e300).ToInt64(), kMin64);
    EXPECT_EQ(Double(9223372036854775807.0).ToInt64(), kMin64); // 2^63 after rounding to double
    EXPECT_EQ(Float(3e38f).ToInt64(), kMin64);
    EXPECT_EQ(Double(std::numeric_limits<double>::infinity()).ToInt32(), kMin32);
    EXPECT_EQ(Double(-std::numeric_limits<double>::infinity()).ToInt64(), kMin64);
    EXPECT_EQ(Double(std::nan("")).ToInt32(), kMin32);
    EXPECT_EQ(Float(std::nanf("")).ToInt64(), kMin64);
}

TEST(VariantConvert, NaNIsTrueAndNeverEqual)
{
    const Variant nan = Double(std::nan(""));
    const Variant nanf = Float(std::nanf(""));
    EXPECT_TRUE(nan.ToBool());
    EXPECT_TRUE(nanf.ToBool());
    EXPECT_FALSE(nan == nan);
    EXPECT_FALSE(nanf == nanf);
    EXPECT_TRUE(Double(0.0) == Double(-0.0));
    EXPECT_FALSE(Double(0.0).ToBool());
}

TEST(VariantConvert, IntegersWidenAndNarrowAsTheTableSays)
{
    Variant big;
    big.SetInt64(0x1'2345'6789LL);
    EXPECT_EQ(big.ToInt32(), 0x2345'6789);
    EXPECT_EQ(Int32(-5).ToInt64(), -5);
    EXPECT_EQ(Int32(-5).ToDouble(), -5.0);
    EXPECT_FLOAT_EQ(Int32(16777217).ToFloat(), 16777216.0f);
    Variant b;
    b.SetValue(Variant::kBool, "\xC8", 1);
    EXPECT_EQ(b.ToInt32(), 200);
    EXPECT_EQ(b.ToInt64(), 200);
    EXPECT_TRUE(b.ToBool());
    EXPECT_EQ(b.ToDouble(), 200.0);
}

TEST(VariantConvert, BlobsReadTheirFirstBytesLittleEndianAndOnlyThoseThatExist)
{
    const Variant wide = Blob({0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x88, 0x99});
    EXPECT_EQ(wide.ToInt32(), 0x04030201);
    EXPECT_EQ(wide.ToInt64(), static_cast<std::int64_t>(0x8807060504030201ULL));
    EXPECT_EQ(wide.ToFloat(), static_cast<float>(0x04030201));
    EXPECT_EQ(wide.ToDouble(), static_cast<double>(static_cast<std::int64_t>(0x8807060504030201ULL)));

    // Short payloads read as if zero-extended: never past their end.
    const Variant two = Blob({0x34, 0x12});
    EXPECT_EQ(two.ToInt32(), 0x1234);
    EXPECT_EQ(two.ToInt64(), 0x1234);
    const Variant five = Blob({0xFF, 0xFF, 0xFF, 0xFF, 0x7F});
    EXPECT_EQ(five.ToInt32(), -1);
    EXPECT_EQ(five.ToInt64(), 0x7FFFFFFFFFLL);
    EXPECT_EQ(Blob({}).ToInt32(), 0);
    EXPECT_FALSE(Blob({}).ToBool());
    EXPECT_TRUE(Blob({0}).ToBool());

    Variant bare;
    bare.SetByteRange(nullptr, 8);
    EXPECT_EQ(bare.GetSize(), 0u);
    EXPECT_EQ(bare.ToInt64(), 0);
    EXPECT_FALSE(bare.ToBool());
}

TEST(VariantConvert, StringsConvertTheirLength)
{
    const Variant empty = Text("");
    EXPECT_EQ(empty.GetSize(), 1u);
    EXPECT_FALSE(empty.ToBool());
    EXPECT_EQ(empty.ToInt32(), 0);
    ASSERT_NE(empty.GetString(), nullptr);
    EXPECT_EQ(*empty.GetString(), '\0');

    const Variant hello = Text("hello");
    EXPECT_TRUE(hello.ToBool());
    EXPECT_EQ(hello.ToInt32(), 5);
    EXPECT_EQ(hello.ToInt64(), 5);
    EXPECT_EQ(hello.ToFloat(), 5.0f);
    EXPECT_EQ(hello.ToDouble(), 5.0);
    EXPECT_STREQ(Text(nullptr).GetString(), "");
}

TEST(VariantConvert, EmptyAndArrayConvertToNothing)
{
    const Variant empty;
    EXPECT_FALSE(empty.ToBool());
    EXPECT_EQ(empty.ToInt32(), 0);
    EXPECT_EQ(empty.ToDouble(), 0.0);
    const Variant array = ArrayOf({Int32(5)});
    EXPECT_TRUE(array.ToBool());
    EXPECT_EQ(array.ToInt32(), 0);
    EXPECT_EQ(array.ToInt64(), 0);
    EXPECT_EQ(array.ToFloat(), 0.0f);
    EXPECT_FALSE(ArrayOf({}).ToBool());
}

// --- Bytes and elements ------------------------------------------------------------------

TEST(VariantBytes, GetBytesAndGetElementsDifferOnlyWhereTheTableSays)
{
    std::uint32_t n = 99;
    Variant v;
    EXPECT_EQ(v.GetBytes(n), nullptr);
    EXPECT_EQ(n, 0u);

    v.SetBool(true);
    EXPECT_NE(v.GetBytes(n), nullptr);
    EXPECT_EQ(n, 1u);
    v.SetDouble(2.0);
    v.GetBytes(n);
    EXPECT_EQ(n, 8u);
    v.GetElements(n);
    EXPECT_EQ(n, 1u);

    static const std::uint8_t bytes[] = {1, 2, 3};
    v.SetByteRange(bytes, 3);
    EXPECT_EQ(v.GetBytes(n), bytes);
    EXPECT_EQ(v.GetElements(n), bytes);
    EXPECT_EQ(n, 3u);
    v.SetByteRange(bytes, 3, Variant::kOpaqueByteRange);
    EXPECT_EQ(v.GetBytes(n), bytes);
    EXPECT_EQ(v.GetElements(n), nullptr);
    EXPECT_EQ(n, 0u);

    v = ArrayOf({Int32(1)});
    EXPECT_NE(v.GetBytes(n), nullptr);
    EXPECT_EQ(v.GetElements(n), nullptr);
    EXPECT_EQ(v.GetString(), nullptr);
    EXPECT_EQ(v.SetByteRange(bytes, 3, Variant::kBlob), 0u);
    EXPECT_TRUE(v.IsEmpty());
}

// --- Setting, copying, ownership ---------------------------------------------------------

TEST(VariantSet, SetValueTakesScalarsOnlyAtTheirWidth)
{
    const std::uint8_t eight[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    Variant v;
    EXPECT_EQ(v.SetValue(Variant::kInt32, eight, 4), static_cast<std::uint32_t>(Variant::kInt32));
    EXPECT_EQ(v.ToInt32(), 1);
    EXPECT_EQ(v.SetValue(Variant::kInt32, eight, 8), 0u);
    EXPECT_TRUE(v.IsEmpty());
    EXPECT_EQ(v.SetValue(Variant::kBool, eight, 1), static_cast<std::uint32_t>(Variant::kBool));
    EXPECT_EQ(v.SetValue(Variant::kDouble, eight, 4), 0u);
    EXPECT_EQ(v.SetValue(Variant::kInt64, eight, 8), static_cast<std::uint32_t>(Variant::kInt64));
    EXPECT_EQ(v.SetValue(Variant::kEmpty, eight, 8), 0u);
    EXPECT_EQ(v.SetValue(11, eight, 8), 0u);
    EXPECT_EQ(v.SetValue(Variant::kByteRange, eight, 3), static_cast<std::uint32_t>(Variant::kBlob));
    EXPECT_EQ(PayloadOf(v), (Bytes{1, 0, 0}));
    EXPECT_EQ(v.SetValue(Variant::kString, "abc", 2), static_cast<std::uint32_t>(Variant::kString));
    EXPECT_STREQ(v.GetString(), "ab");
    EXPECT_EQ(v.SetValue(Variant::kArray, eight, 8), static_cast<std::uint32_t>(Variant::kArray));
    EXPECT_EQ(v.GetSize(), 8u);
    EXPECT_EQ(v.SetValue(Variant::kInt32, nullptr, 4), 0u);
}

TEST(VariantSet, CopiesAreDeepForOwnedPayloadsAndShallowForByteRanges)
{
    Variant blob = Blob({1, 2, 3});
    Variant copy = blob;
    EXPECT_EQ(copy, blob);
    std::uint32_t n = 0;
    EXPECT_NE(copy.GetBytes(n), blob.GetBytes(n));
    blob.SetBlob("\x09", 1);
    EXPECT_EQ(PayloadOf(copy), (Bytes{1, 2, 3}));

    static const std::uint8_t bytes[] = {4, 5};
    Variant range;
    range.SetByteRange(bytes, 2);
    Variant rangeCopy = range;
    EXPECT_EQ(rangeCopy.GetBytes(n), bytes);
    EXPECT_EQ(rangeCopy, range);

    // Byte ranges are equal only when they are the same bytes.
    static const std::uint8_t same[] = {4, 5};
    Variant other;
    other.SetByteRange(same, 2);
    EXPECT_FALSE(other == range);
}

TEST(VariantSet, SelfAssignmentAndMovesKeepTheValue)
{
    Variant v = Text("keep");
    const Variant& alias = v;
    v = alias;
    EXPECT_STREQ(v.GetString(), "keep");

    Variant moved = std::move(v);
    EXPECT_STREQ(moved.GetString(), "keep");
    EXPECT_TRUE(v.IsEmpty()); // NOLINT(bugprone-use-after-move): a moved-from variant is empty
    v = std::move(moved);
    EXPECT_STREQ(v.GetString(), "keep");
}

TEST(VariantSet, ASetterMayReadFromTheVariantsOwnPayload)
{
    Variant v = Text("abcdef");
    v.SetBlob(v.GetString() + 2, 3);
    EXPECT_EQ(PayloadOf(v), (Bytes{'c', 'd', 'e'}));
    v = Text("xyz");
    v.SetString(v.GetString() + 1);
    EXPECT_STREQ(v.GetString(), "yz");
    v.SetValue(Variant::kString, v.GetString() + 1, 1);
    EXPECT_STREQ(v.GetString(), "z");
}

TEST(VariantSet, EqualityNeedsTheSameTypeAndContents)
{
    EXPECT_TRUE(Variant() == Variant());
    EXPECT_FALSE(Int32(1) == Double(1.0));
    EXPECT_FALSE(Blob({'a', 0}) == Text("a"));
    EXPECT_TRUE(Text("a") == Text("a"));
    EXPECT_FALSE(Blob({1, 2}) == Blob({1, 3}));
    EXPECT_FALSE(Blob({1, 2}) == Blob({1, 2, 0}));
    EXPECT_TRUE(ArrayOf({Int32(1)}) == ArrayOf({Int32(1)}));
    Variant b1, b2;
    b1.SetValue(Variant::kBool, "\x01", 1);
    b2.SetValue(Variant::kBool, "\x02", 1);
    EXPECT_FALSE(b1 == b2);
    Variant wide;
    wide.SetInt64(1);
    EXPECT_FALSE(wide == Int32(1));
}

// --- Arrays ------------------------------------------------------------------------------

TEST(VariantArray, ElementsReadBackInOrder)
{
    const Variant array = ArrayOf({Int32(7), Text("AB"), Blob({1, 2}), Variant(), ArrayOf({Double(0.5)})});
    ASSERT_EQ(array.GetArraySize(), 5u);
    Variant e;
    EXPECT_EQ(array.GetArrayElement(0, e), 0);
    EXPECT_EQ(e, Int32(7));
    EXPECT_EQ(array.GetArrayElement(1, e), 0);
    EXPECT_STREQ(e.GetString(), "AB");
    EXPECT_EQ(array.GetArrayElement(2, e), 0);
    EXPECT_EQ(e, Blob({1, 2}));
    EXPECT_EQ(array.GetArrayElement(3, e), 0);
    EXPECT_TRUE(e.IsEmpty());
    EXPECT_EQ(array.GetArrayElement(4, e), 0);
    EXPECT_EQ(e, ArrayOf({Double(0.5)}));
}

TEST(VariantArray, AnIndexAtTheEndOrAWrongTypeGivesMinusOneAndAnEmptyOut)
{
    const Variant array = ArrayOf({Int32(1), Int32(2)});
    Variant out = Text("stale");
    EXPECT_EQ(array.GetArrayElement(2, out), -1);
    EXPECT_TRUE(out.IsEmpty());
    out = Text("stale");
    EXPECT_EQ(Text("x").GetArrayElement(0, out), -1);
    EXPECT_TRUE(out.IsEmpty());
    EXPECT_EQ(Text("x").GetArraySize(), 0u);
}

TEST(VariantArray, AnEmptyArrayHasNoElements)
{
    const Variant array = ArrayOf({});
    EXPECT_EQ(array.GetType(), static_cast<std::uint32_t>(Variant::kArray));
    EXPECT_EQ(array.GetSize(), 0u);
    EXPECT_EQ(array.GetArraySize(), 0u);
    Variant out;
    EXPECT_EQ(array.GetArrayElement(0, out), -1);
}

TEST(VariantArray, AnEmptyBlobElementCountsButReadsAsEmpty)
{
    const Variant array = ArrayOf({Blob({}), Int32(3)});
    ASSERT_EQ(array.GetArraySize(), 2u);
    Variant out = Int32(1);
    EXPECT_EQ(array.GetArrayElement(0, out), 0);
    EXPECT_TRUE(out.IsEmpty());
}

TEST(VariantArray, AByteRangeWithoutBytesIsWrittenAsAnEmptyRecord)
{
    static const std::uint8_t bytes[] = {1};
    Variant bare;
    bare.SetByteRange(bytes, 0);
    const Variant array = ArrayOf({bare, Int32(3)});
    EXPECT_EQ(Hex(PayloadOf(array)), "0C 00 00 00 00 00 00 00 00 00 00 00 "
                                     "10 00 00 00 00 00 00 00 02 00 00 00 03 00 00 00");
    Variant out;
    EXPECT_EQ(array.GetArrayElement(1, out), 0);
    EXPECT_EQ(out, Int32(3));
}

TEST(VariantArray, MalformedLengthsEndTheWalk)
{
    const Bytes good = Record(16, 0, 2, {1, 0, 0, 0});
    struct Case
    {
        const char* name;
        Bytes payload;
        std::uint32_t count;
    };
    const std::vector<Case> cases = {
        {"zero length after a good record", Concat({good, Record(0, 0, 2, {2, 0, 0, 0})}), 1},
        {"length below a head", Concat({good, Record(4, 0, 2, {2, 0, 0, 0})}), 1},
        {"length past the payload", Concat({good, Record(17, 0, 2, {2, 0, 0, 0})}), 1},
        {"huge length", Concat({Record(0xFFFFFFF0u, 0, 2, {2, 0, 0, 0}), good}), 0},
        {"trailing bytes shorter than a head", Concat({good, {1, 2, 3, 4, 5}}), 1},
        {"zero length first", Record(0, 0, 0), 0},
        {"four bytes", {16, 0, 0, 0}, 0},
    };
    for (const Case& c : cases)
    {
        Variant array;
        array.SetValue(Variant::kArray, c.payload.data(), static_cast<std::uint32_t>(c.payload.size()));
        EXPECT_EQ(array.GetArraySize(), c.count) << c.name;
        Variant out;
        EXPECT_EQ(array.GetArrayElement(c.count, out), -1) << c.name;
        if (c.count != 0)
        {
            EXPECT_EQ(array.GetArrayElement(0, out), 0) << c.name;
            EXPECT_EQ(out, Int32(1)) << c.name;
        }
    }
}

TEST(VariantArray, AMalformedElementStillCountsAndReadsAsEmptyWithSuccess)
{
    const Bytes payload = Concat({Record(16, 5, 2, {1, 0, 0, 0}), Record(16, 0, 2, {2, 0, 0, 0})});
    Variant array;
    array.SetValue(Variant::kArray, payload.data(), static_cast<std::uint32_t>(payload.size()));
    ASSERT_EQ(array.GetArraySize(), 2u);
    Variant out = Int32(9);
    EXPECT_EQ(array.GetArrayElement(0, out), 0);
    EXPECT_TRUE(out.IsEmpty());
    EXPECT_EQ(array.GetArrayElement(1, out), 0);
    EXPECT_EQ(out, Int32(2));
}

TEST(VariantArray, AnArrayMayContainAndBeReadIntoItself)
{
    Variant v = ArrayOf({Int32(1), Text("two")});
    v.SetArray(&v, 1);
    ASSERT_EQ(v.GetArraySize(), 1u);
    EXPECT_EQ(v.GetArrayElement(0, v), 0);
    ASSERT_EQ(v.GetArraySize(), 2u);
    EXPECT_EQ(v.GetArrayElement(1, v), 0);
    EXPECT_STREQ(v.GetString(), "two");
}

} // namespace
