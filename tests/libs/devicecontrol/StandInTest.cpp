#include "DeviceControlApi.h"

#include "libs/devicecontrol/VariantRecord.h"
#include "libs/devicecontrol_standin/StandIn.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace
{

using KRTest::DeviceControlApi;
using KRTest::RunTimeLibrary;

struct Delivery
{
    std::uint32_t sequence = 0;
    std::int32_t value = 0;
    std::int32_t id = 0;
    std::uint32_t selectorType = 0;
    std::thread::id thread;
};

// Collects what the stand-in delivers, as the bridge's callback would receive it.
struct Receiver
{
    std::mutex lock;
    std::condition_variable arrived;
    std::vector<Delivery> deliveries;

    static void Callback(void* context, std::uint32_t sequence, const DCCI_Value* values)
    {
        auto* self = static_cast<Receiver*>(context);
        Delivery delivery{sequence, INT32_MIN, INT32_MIN, 0xFFFFFFFFu, std::this_thread::get_id()};
        const std::vector<KRTest::ReadRecord> entries =
            KRTest::SplitRecords(KRTest::ReadWhole(values->data, values->size).payload);
        if (entries.size() == 1)
        {
            const std::vector<KRTest::ReadRecord> fields = KRTest::SplitRecords(entries[0].payload);
            if (fields.size() == 3)
            {
                delivery.value = KRTest::ReadInt32(fields[0]);
                delivery.id = KRTest::ReadInt32(fields[1]);
                delivery.selectorType = fields[2].type;
            }
        }
        const std::lock_guard guard(self->lock);
        self->deliveries.push_back(delivery);
        self->arrived.notify_all();
    }

    bool WaitFor(std::size_t count)
    {
        std::unique_lock guard(lock);
        return arrived.wait_for(guard, std::chrono::seconds(10), [&] { return deliveries.size() >= count; });
    }
};

class StandInTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(library_.IsLoaded()) << library_.Error();
        ASSERT_TRUE(api_.MissingEntryPoints().empty()) << api_.MissingEntryPoints().front();
    }

    RunTimeLibrary library_{StandIn::kLibraryFileName};
    DeviceControlApi api_{library_};
    const DeviceControl::Record::Bytes device_ = DeviceControl::Record::String(StandIn::kStandInDeviceName);
    const DCCI_Value deviceValue_{device_.data(), static_cast<std::uint32_t>(device_.size())};
};

TEST_F(StandInTest, DeliversOneHundredValuesInOrderFromItsOwnThread)
{
    Receiver receiver;
    ASSERT_EQ(api_.DCCI_ConnectDevice(&deviceValue_, &Receiver::Callback, &receiver), DCCI_OK);
    ASSERT_TRUE(receiver.WaitFor(StandIn::kStandInDeliveryCount));
    ASSERT_EQ(api_.DCCI_DisconnectDevice(&deviceValue_), DCCI_OK);

    ASSERT_EQ(receiver.deliveries.size(), StandIn::kStandInDeliveryCount);
    for (std::uint32_t n = 0; n < StandIn::kStandInDeliveryCount; ++n)
    {
        const Delivery& delivery = receiver.deliveries[n];
        EXPECT_EQ(delivery.sequence, n);
        EXPECT_EQ(delivery.value, static_cast<std::int32_t>(n));
        EXPECT_EQ(delivery.id, StandIn::kStandInFirstParamId + static_cast<std::int32_t>(n));
        EXPECT_EQ(delivery.selectorType, DCCI_TYPE_EMPTY);
        EXPECT_NE(delivery.thread, std::this_thread::get_id());
    }
}

TEST_F(StandInTest, NoDeliveryRunsOnceDisconnectHasReturned)
{
    Receiver receiver;
    ASSERT_EQ(api_.DCCI_ConnectDevice(&deviceValue_, &Receiver::Callback, &receiver), DCCI_OK);
    ASSERT_TRUE(receiver.WaitFor(1));
    ASSERT_EQ(api_.DCCI_DisconnectDevice(&deviceValue_), DCCI_OK);
    std::size_t seen = 0;
    {
        const std::lock_guard guard(receiver.lock);
        seen = receiver.deliveries.size();
    }
    // The receiver may go away now; a late delivery would write into freed memory
    // and show under the address sanitizer. Connecting again starts from 0.
    Receiver second;
    ASSERT_EQ(api_.DCCI_ConnectDevice(&deviceValue_, &Receiver::Callback, &second), DCCI_OK);
    ASSERT_TRUE(second.WaitFor(1));
    EXPECT_EQ(api_.DCCI_ReleaseAll(), DCCI_OK);
    EXPECT_EQ(second.deliveries.front().sequence, 0u);
    const std::lock_guard guard(receiver.lock);
    EXPECT_EQ(receiver.deliveries.size(), seen);
}

} // namespace
