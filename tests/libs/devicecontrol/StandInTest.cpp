#include "DeviceControlApi.h"

#include "libs/devicecontrol_standin/StandIn.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

namespace
{

// The bridge's tests take the stand-in's deliveries in order; this one holds it to the
// rule they rely on when they tear down: no delivery runs once the disconnect has
// returned. A late one would write into a freed receiver and show under the address
// sanitizer.
struct Receiver
{
    std::atomic<int> count{0};
    static void Callback(void* context, std::uint32_t, const DCCI_Value*)
    {
        ++static_cast<Receiver*>(context)->count;
    }
};

TEST(StandIn, NoDeliveryRunsOnceDisconnectOrReleaseAllHasReturned)
{
    const KRTest::RunTimeLibrary library(StandIn::kLibraryFileName);
    ASSERT_TRUE(library.IsLoaded()) << library.Error();
    const KRTest::DeviceControlApi api(library);
    ASSERT_EQ(api.missing, "");
    const DeviceControl::Record::Bytes device = DeviceControl::Record::String(StandIn::kStandInDeviceName);
    const DCCI_Value deviceValue = KRTest::AsValue(device);

    for (const bool releaseAll : {false, true})
    {
        auto receiver = std::make_unique<Receiver>();
        ASSERT_EQ(api.DCCI_ConnectDevice(&deviceValue, &Receiver::Callback, receiver.get()), DCCI_OK);
        ASSERT_TRUE(KR::TestSupport::WaitUntil([&] { return receiver->count > 0; }));
        EXPECT_EQ(releaseAll ? api.DCCI_ReleaseAll() : api.DCCI_DisconnectDevice(&deviceValue), DCCI_OK)
            << (releaseAll ? "release all" : "disconnect");
        receiver.reset();
    }
}

} // namespace
