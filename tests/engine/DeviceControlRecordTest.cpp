#include "engine/DeviceControlRecord.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{

std::vector<std::uint8_t> RecordOf(const KR::Variant& variant)
{
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(KR::Variant::GetRecordLength(variant)));
    KR::Variant::Serialize(variant, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return bytes;
}

KR::Variant TextList(std::size_t count)
{
    std::vector<KR::Variant> devices(count);
    for (std::size_t i = 0; i < count; ++i)
    {
        devices[i].SetString(("device number " + std::to_string(i)).c_str());
    }
    KR::Variant list;
    list.SetArray(devices.data(), static_cast<std::uint32_t>(count));
    return list;
}

// A library call that answers with `record` the way the library does: the size it
// needs when the buffer is too small, else the bytes and `result`.
struct ScriptedCall
{
    std::vector<std::uint8_t> record;
    std::int32_t result = DCCI_OK;
    int calls = 0;

    std::int32_t operator()(DCCI_ValueBuffer* buffer)
    {
        ++calls;
        buffer->size = static_cast<std::uint32_t>(record.size());
        if (buffer->capacity < record.size())
        {
            return DCCI_BUFFER_TOO_SMALL;
        }
        std::memcpy(buffer->data, record.data(), record.size());
        return result;
    }
};

TEST(DeviceControlRecordTest, AnAnswerIsReadWithTheLibrarysResultAskingAgainOnceWhenItNamesALargerSize)
{
    const KR::Variant big = TextList(40);
    ASSERT_GT(KR::Variant::GetRecordLength(big), KR::kDeviceControlFirstCapacity);
    struct Case
    {
        KR::Variant record;
        std::int32_t result;
        int calls;
    };
    const Case cases[] = {
        {TextList(2), DCCI_LIST_COMPLETE, 1}, {big, DCCI_OK, 2}, {TextList(1), DCCI_E_NOTIMPL, 1}};
    for (const Case& c : cases)
    {
        ScriptedCall call{RecordOf(c.record), c.result};
        KR::Variant out;
        EXPECT_EQ(KR::ReadDeviceControlOutput(std::ref(call), out), c.result) << c.result;
        EXPECT_EQ(call.calls, c.calls) << c.result;
        // A failure of the library's own is passed on as it is, with nothing read.
        EXPECT_EQ(out, c.result >= 0 ? c.record : KR::Variant()) << c.result;
    }
}

TEST(DeviceControlRecordTest, ListThatGrowsBetweenTriesIsAskedAgainUntilTheTriesRunOut)
{
    // Each answer needs more room than the last try was given.
    int calls = 0;
    auto growing = [&](DCCI_ValueBuffer* buffer)
    {
        ++calls;
        buffer->size = buffer->capacity + 1;
        return DCCI_BUFFER_TOO_SMALL;
    };
    KR::Variant out;
    EXPECT_EQ(KR::ReadDeviceControlOutput(growing, out), DCCI_BUFFER_TOO_SMALL);
    EXPECT_EQ(calls, KR::kDeviceControlOutputTries);
    EXPECT_TRUE(out.IsEmpty());
}

TEST(DeviceControlRecordTest, BrokenAnswersAreFailuresWithAnEmptyResult)
{
    const std::vector<std::uint8_t> good = RecordOf(TextList(1));
    std::vector<std::uint8_t> shortLength = good;
    shortLength[0] = static_cast<std::uint8_t>(shortLength[0] - 1);
    std::vector<std::uint8_t> badType = good;
    badType[8] = 11;

    struct Case
    {
        const char* what;
        std::function<std::int32_t(DCCI_ValueBuffer*)> call;
    };
    const Case cases[] = {
        {"too small, but names no larger size",
         [](DCCI_ValueBuffer* buffer)
         {
             buffer->size = buffer->capacity;
             return DCCI_BUFFER_TOO_SMALL;
         }},
        {"names an absurd size",
         [](DCCI_ValueBuffer* buffer)
         {
             buffer->size = KR::kDeviceControlLargestRecord + 1;
             return DCCI_BUFFER_TOO_SMALL;
         }},
        {"claims to have written more than fits",
         [](DCCI_ValueBuffer* buffer)
         {
             buffer->size = buffer->capacity + 1;
             return DCCI_OK;
         }},
        {"success without a record",
         [](DCCI_ValueBuffer* buffer)
         {
             buffer->size = 0;
             return DCCI_OK;
         }},
        {"record whose length is not what was written", ScriptedCall{shortLength}},
        {"record of an unknown type", ScriptedCall{badType}},
    };
    for (const Case& c : cases)
    {
        KR::Variant out;
        out.SetInt32(7);
        EXPECT_EQ(KR::ReadDeviceControlOutput(c.call, out), KR::kFail) << c.what;
        EXPECT_TRUE(out.IsEmpty()) << c.what;
    }
}

TEST(DeviceControlRecordTest, VariantWithoutARecordIsNotSent)
{
    KR::Variant range;
    range.SetByteRange(nullptr, 4);
    EXPECT_FALSE(KR::DeviceControlInRecord(range).IsValid());
    const KR::DeviceControlInRecord empty{KR::Variant()};
    ASSERT_TRUE(empty.IsValid());
    EXPECT_EQ(empty.Get()->size, DCCI_RECORD_HEADER_SIZE);
}

} // namespace
