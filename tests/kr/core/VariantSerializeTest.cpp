// The serialised record: byte-exact output for every type, and every record the reader
// must refuse. Preset files store these bytes, so they may never drift.

#include "kr/core/Variant.h"

#include "kr/core/VariantTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{

using KR::Variant;
using namespace KRTest;

struct SerializeCase
{
    const char* name;
    Variant value;
    const char* hex;
};

const std::uint8_t kRange[] = {0x01, 0x02, 0x03};

std::vector<SerializeCase> SerializeCases()
{
    Variant boolean;
    boolean.SetBool(true);
    Variant int64;
    int64.SetInt64(-2);
    Variant range;
    range.SetByteRange(kRange, 3);
    Variant opaque;
    opaque.SetByteRange(kRange, 3, Variant::kOpaqueByteRange);
    return {
        {"empty", Variant(), "0C 00 00 00 00 00 00 00 00 00 00 00"},
        {"bool true", boolean, "0D 00 00 00 00 00 00 00 01 00 00 00 01"},
        {"int32 7", Int32(7), "10 00 00 00 00 00 00 00 02 00 00 00 07 00 00 00"},
        {"int32 -1", Int32(-1), "10 00 00 00 00 00 00 00 02 00 00 00 FF FF FF FF"},
        {"int64 -2", int64, "14 00 00 00 00 00 00 00 03 00 00 00 FE FF FF FF FF FF FF FF"},
        {"float 1.5", Float(1.5f), "10 00 00 00 00 00 00 00 04 00 00 00 00 00 C0 3F"},
        {"double 1.5", Double(1.5), "14 00 00 00 00 00 00 00 05 00 00 00 00 00 00 00 00 00 F8 3F"},
        {"byte range", range, "0F 00 00 00 00 00 00 00 06 00 00 00 01 02 03"},
        {"opaque byte range", opaque, "0F 00 00 00 00 00 00 00 07 00 00 00 01 02 03"},
        {"blob", Blob({0xAA, 0xBB}), "0E 00 00 00 00 00 00 00 08 00 00 00 AA BB"},
        {"empty blob", Blob({}), "0C 00 00 00 00 00 00 00 08 00 00 00"},
        {"string AB", Text("AB"), "0F 00 00 00 00 00 00 00 09 00 00 00 41 42 00"},
        {"empty string", Text(""), "0D 00 00 00 00 00 00 00 09 00 00 00 00"},
        {"empty array", ArrayOf({}), "0C 00 00 00 00 00 00 00 0A 00 00 00"},
        {"array of int32 7 and AB", ArrayOf({Int32(7), Text("AB")}),
         "2B 00 00 00 00 00 00 00 0A 00 00 00 "
         "10 00 00 00 00 00 00 00 02 00 00 00 07 00 00 00 "
         "0F 00 00 00 00 00 00 00 09 00 00 00 41 42 00"},
    };
}

TEST(VariantSerialize, WritesTheLittleEndianRecordOfEveryType)
{
    for (const SerializeCase& c : SerializeCases())
    {
        EXPECT_EQ(Hex(Serialized(c.value)), c.hex) << c.name;
    }
}

TEST(VariantSerialize, RefusesAByteRangeWithoutBytesAndAShortOrMissingBuffer)
{
    std::uint8_t buffer[32] = {};
    Variant bare;
    bare.SetByteRange(kRange, 0);
    EXPECT_EQ(Variant::Serialize(bare, buffer, sizeof buffer), Variant::kSerializeFailed);

    const Variant seven = Int32(7);
    EXPECT_EQ(Variant::Serialize(seven, nullptr, 64), Variant::kSerializeFailed);
    EXPECT_EQ(Variant::Serialize(seven, buffer, 15), Variant::kSerializeFailed);
    EXPECT_EQ(buffer[0], 0) << "a refused record writes nothing";
    EXPECT_EQ(Variant::Serialize(seven, buffer, 16), 16u);
}

TEST(VariantSerialize, EveryTypeReadsBackEqualExceptTheEmptyBlob)
{
    for (const SerializeCase& c : SerializeCases())
    {
        const Bytes record = Serialized(c.value);
        Variant back;
        if (c.value.GetType() == Variant::kBlob && c.value.GetSize() == 0)
        {
            // Its 12-byte record is written but refused on reading, as stored files expect.
            EXPECT_EQ(Variant::Deserialize(back, record.data(), 12), KR::kFail);
            continue;
        }
        ASSERT_EQ(Variant::Deserialize(back, record.data(), static_cast<std::uint32_t>(record.size())),
                  KR::kOk)
            << c.name;
        const bool isRange =
            c.value.GetType() == Variant::kByteRange || c.value.GetType() == Variant::kOpaqueByteRange;
        if (isRange)
        {
            // A byte range held elsewhere comes back as a private copy.
            EXPECT_EQ(back.GetType(), static_cast<std::uint32_t>(Variant::kBlob)) << c.name;
            EXPECT_EQ(PayloadOf(back), PayloadOf(c.value)) << c.name;
        }
        else
        {
            EXPECT_EQ(back, c.value) << c.name;
        }
    }
}

struct RejectCase
{
    const char* name;
    Bytes record;
    std::uint32_t available;
};

TEST(VariantDeserialize, RefusesEveryBadRecordAndLeavesTheTargetUntouched)
{
    const Bytes payload4 = {7, 0, 0, 0};
    const std::vector<RejectCase> cases = {
        {"fewer than 12 bytes", Record(12, 0, 0), 11},
        {"total beyond the bytes available", Record(16, 0, 2, payload4), 15},
        {"total below the head", Concat({Record(11, 0, 0), {0}}), 13},
        {"total of 0", Record(0, 0, 0), 12},
        {"reserved word not 0", Record(16, 1, 2, payload4), 16},
        {"reserved word high bit", Record(16, 0x80000000u, 2, payload4), 16},
        {"type 11", Record(16, 0, 11, payload4), 16},
        {"type far out", Record(16, 0, 0xFFFFFFFFu, payload4), 16},
        {"head-only bool", Record(12, 0, 1), 12},
        {"head-only int32", Record(12, 0, 2), 12},
        {"head-only byte range", Record(12, 0, 6), 12},
        {"head-only blob", Record(12, 0, 8), 12},
        {"head-only string", Record(12, 0, 9), 12},
        {"empty type with a payload", Record(16, 0, 0, payload4), 16},
    };
    for (const RejectCase& c : cases)
    {
        Variant target = Text("untouched");
        ASSERT_LE(c.available, c.record.size()) << c.name;
        EXPECT_EQ(Variant::Deserialize(target, c.record.data(), c.available), KR::kFail) << c.name;
        EXPECT_STREQ(target.GetString(), "untouched") << c.name;
    }
    Variant target = Int32(3);
    EXPECT_EQ(Variant::Deserialize(target, nullptr, 64), KR::kFail);
    EXPECT_EQ(target, Int32(3));
}

TEST(VariantDeserialize, AcceptsHeadOnlyEmptyAndArrayRecords)
{
    Variant v = Text("old");
    const Bytes empty = Record(12, 0, 0);
    ASSERT_EQ(Variant::Deserialize(v, empty.data(), 12), KR::kOk);
    EXPECT_TRUE(v.IsEmpty());

    const Bytes array = Record(12, 0, 10);
    ASSERT_EQ(Variant::Deserialize(v, array.data(), 12), KR::kOk);
    EXPECT_EQ(v.GetType(), static_cast<std::uint32_t>(Variant::kArray));
    EXPECT_EQ(v.GetArraySize(), 0u);
}

TEST(VariantDeserialize, AScalarOfTheWrongWidthReadsAsEmptyWithSuccess)
{
    for (std::uint32_t type : {1u, 2u, 3u, 4u, 5u})
    {
        const Bytes record = Record(14, 0, type, {0x01, 0x02});
        Variant v = Int32(9);
        EXPECT_EQ(Variant::Deserialize(v, record.data(), 14), KR::kOk) << type;
        EXPECT_TRUE(v.IsEmpty()) << type;
    }
}

TEST(VariantDeserialize, ByteRangesBecomeOwnedBlobs)
{
    for (std::uint32_t type : {6u, 7u})
    {
        const Bytes record = Record(14, 0, type, {0x01, 0x02});
        Variant v;
        ASSERT_EQ(Variant::Deserialize(v, record.data(), 14), KR::kOk);
        EXPECT_EQ(v.GetType(), static_cast<std::uint32_t>(Variant::kBlob));
        EXPECT_EQ(PayloadOf(v), (Bytes{0x01, 0x02}));
    }
}

TEST(VariantDeserialize, ReadsOnlyTheTotalAndIgnoresBytesBeyondIt)
{
    Bytes record = Record(16, 0, 2, {7, 0, 0, 0});
    record.insert(record.end(), {0xEE, 0xEE});
    Variant v;
    ASSERT_EQ(Variant::Deserialize(v, record.data(), static_cast<std::uint32_t>(record.size())), KR::kOk);
    EXPECT_EQ(v, Int32(7));
}

TEST(VariantDeserialize, TextWithoutItsZeroByteEndsAtTheRecord)
{
    // The terminator is missing; the bytes behind the record must not become text.
    Bytes bytes = Record(14, 0, 9, {'A', 'B'});
    bytes.insert(bytes.end(), {'C', 'D', 0});
    Variant v;
    ASSERT_EQ(Variant::Deserialize(v, bytes.data(), 14), KR::kOk);
    EXPECT_STREQ(v.GetString(), "AB");
    EXPECT_EQ(v.GetSize(), 3u);

    const Bytes early = Record(16, 0, 9, {'A', 0, 'B', 'C'});
    ASSERT_EQ(Variant::Deserialize(v, early.data(), 16), KR::kOk);
    EXPECT_STREQ(v.GetString(), "A");
    EXPECT_EQ(v.GetSize(), 2u);
}

TEST(VariantDeserialize, CanReadARecordHeldInTheTargetItself)
{
    Variant v = ArrayOf({Text("inner"), Int32(1)});
    std::uint32_t size = 0;
    const std::uint8_t* payload = v.GetBytes(size);
    ASSERT_EQ(Variant::Deserialize(v, payload, size), KR::kOk);
    EXPECT_STREQ(v.GetString(), "inner");
}

} // namespace
