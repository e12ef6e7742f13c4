#include "engine/DeviceCommunicationBridge.h"

#include "EngineTestSupport.h"
#include "kr/core/Types.h"
#include "libs/devicecontrol/DeviceControlClientApi.h"
#include "libs/devicecontrol_standin/StandIn.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <set>
#include <thread>

namespace
{

using support::Received;
using support::RecordingReceiver;
using support::WaitUntil;

constexpr std::int32_t kNoClient = LDeviceCommunicationInterface::kNoClient;
constexpr std::uint32_t kDeliveries = StandIn::kStandInDeliveryCount;

KR::Variant Text(const char* text)
{
    KR::Variant value;
    value.SetString(text);
    return value;
}

KR::RCPtr<LDeviceCommunicationBridge> StandInBridge()
{
    auto bridge = LDeviceCommunicationBridge::Create(support::BesideTheTests(StandIn::kLibraryFileName));
    EXPECT_EQ(bridge->Init(), KR::kOk);
    return bridge;
}

// Receiving on, connected to the stand-in, and its first delivery held inside the receiver.
testing::AssertionResult ConnectWithTheFirstDeliveryHeld(LDeviceCommunicationBridge& bridge,
                                                         RecordingReceiver& receiver)
{
    bridge.SetReceiver(&receiver);
    bridge.EnableReceiving(true);
    receiver.Hold(true);
    if (bridge.ConnectDevice(Text(StandIn::kStandInDeviceName)) != DCCI_OK || !receiver.WaitUntilInside())
    {
        return testing::AssertionFailure() << "no delivery of the stand-in reached the receiver";
    }
    return testing::AssertionSuccess();
}

TEST(DeviceCommunicationBridgeTest, WithoutALibraryTheBridgeAnswersItsOwnIdsAndRefusesTheRest)
{
    const KR::RCPtr<LDeviceCommunicationBridge> notStarted = LDeviceCommunicationBridge::Create();
    const KR::RCPtr<LDeviceCommunicationBridge> missing =
        LDeviceCommunicationBridge::Create(support::MissingLibraryPath());
    EXPECT_EQ(missing->Init(), KR::kOk);
    EXPECT_EQ(missing->Init(), 1);
    for (const auto& [name, bridge] :
         {std::pair{"before Init", notStarted}, std::pair{"library missing", missing}})
    {
        KR::Variant value;
        EXPECT_EQ(bridge->GetParamValue(KR::ParamDescriptor(-2), value), KR::kOk) << name;
        EXPECT_EQ(value.GetType(), KR::Variant::kBool) << name;
        EXPECT_TRUE(value.ToBool()) << name;
        EXPECT_EQ(bridge->GetParamValue(KR::ParamDescriptor(-9), value), KR::kOk) << name;
        EXPECT_EQ(value, Text("Tarsil")) << name;
        EXPECT_EQ(bridge->GetParamValue(KR::ParamDescriptor(-10), value), KR::kOk) << name;
        EXPECT_EQ(value, Text("Vantor")) << name;

        const KR::Variant device = Text(StandIn::kStandInDeviceName);
        KR::Array<KR::Variant> devices;
        KR::ParamRanges ranges;
        KR::ParamValues values;
        DeviceInfoRecord info;
        const std::int32_t answers[] = {
            bridge->ConnectDevice(device),
            bridge->DisconnectDevice(),
            bridge->WaitForDeviceListChange(KR::Array<KR::Guid>(), devices, 0),
            bridge->QueryDeviceList(KR::Array<KR::Guid>(), devices),
            bridge->GetDeviceInfo(device, info),
            bridge->RequestParamRanges(KR::ParamRanges()),
            bridge->RequestParamValues(KR::ParamDescriptor(3)),
            bridge->RequestParamValuesForDescriptors(KR::ParamDescriptors()),
            bridge->GetParamRanges(KR::Variant(), ranges),
            bridge->GetParamValues(KR::ParamDescriptors(), values),
            bridge->SetParamValues(KR::ParamValues()),
            bridge->GetReservedParamValue(value),
            bridge->SetReservedParamValue(value),
            bridge->GetParamValue(KR::ParamDescriptor(-8), value),
        };
        for (std::size_t k = 0; k < std::size(answers); ++k)
        {
            EXPECT_EQ(answers[k], kNoClient) << name << ", call " << k;
        }
        // The device last asked for is the current one.
        EXPECT_EQ(bridge->GetCurrentDevice(value), KR::kOk);
        EXPECT_EQ(value, device);
    }
    KR::Variant value;
    value.SetInt32(5);
    EXPECT_EQ(notStarted->GetParamValue(KR::ParamDescriptor(12), value), KR::kFail);
    EXPECT_TRUE(value.IsEmpty());
    RecordingReceiver receiver;
    missing->SetReceiver(&receiver);
    EXPECT_EQ(missing->GetParamValue(KR::ParamDescriptor(12), value), kNoClient);
    EXPECT_EQ(missing->SetParamValue(KR::ParamDescriptor(12), value), kNoClient);
    EXPECT_EQ(missing->SetParamValue(KR::ParamDescriptor(-4), value), 0);
    missing->SetReceiver(nullptr);
}

TEST(DeviceCommunicationBridgeTest, ConnectionStatusIsLoopedBackToTheReceiverAtOnce)
{
    const KR::RCPtr<LDeviceCommunicationBridge> bridge = LDeviceCommunicationBridge::Create();
    RecordingReceiver receiver;
    KR::Variant status;
    status.SetInt64(0x123456789A);
    EXPECT_EQ(bridge->SetParamValue(KR::ParamDescriptor(-4), status), KR::kFail) << "no receiver yet";
    EXPECT_FALSE(bridge->PostConnectionStatus(1));

    bridge->SetReceiver(&receiver);
    EXPECT_EQ(bridge->SetParamValue(KR::ParamDescriptor(-4), status), 0);
    // Handed over on the calling thread, before SetParamValue returned.
    const std::vector<Received> entries = receiver.Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].id, -4);
    EXPECT_TRUE(entries[0].selector.IsEmpty());
    EXPECT_EQ(entries[0].thread, std::this_thread::get_id());
    ASSERT_EQ(entries[0].value.GetArraySize(), 2u);
    KR::Variant part;
    entries[0].value.GetArrayElement(0, part);
    EXPECT_EQ(part.GetType(), KR::Variant::kInt64);
    EXPECT_EQ(part.ToInt64(), 0x123456789A);
    entries[0].value.GetArrayElement(1, part);
    EXPECT_EQ(part.GetType(), KR::Variant::kBool);
    EXPECT_TRUE(part.ToBool());
    bridge->SetReceiver(nullptr);
}

TEST(DeviceCommunicationBridgeTest, WithTheLibraryEveryIdButTheReservedOnesGoesToIt)
{
    const KR::RCPtr<LDeviceCommunicationBridge> bridge = StandInBridge();
    RecordingReceiver receiver;
    bridge->SetReceiver(&receiver);
    for (const std::int32_t id : {-242, -241, -240})
    {
        EXPECT_EQ(bridge->SetParamValue(KR::ParamDescriptor(id), KR::Variant()), KR::kFail) << id;
    }
    EXPECT_EQ(bridge->SetParamValue(KR::ParamDescriptor(-243), KR::Variant()), DCCI_OK);
    EXPECT_EQ(bridge->SetParamValue(KR::ParamDescriptor(-239), KR::Variant()), DCCI_OK);
    bridge->SetReceiver(nullptr);
    EXPECT_EQ(bridge->SetParamValue(KR::ParamDescriptor(-239), KR::Variant()), KR::kFail) << "no receiver";

    KR::Variant value;
    // The stand-in answers no parameter reads, not even the bridge's own ids.
    for (const std::int32_t id : {-2, -8, -9, -10, 7})
    {
        EXPECT_EQ(bridge->GetParamValue(KR::ParamDescriptor(id), value), DCCI_E_NOTIMPL) << id;
    }
    EXPECT_EQ(bridge->RequestParamValues(KR::ParamDescriptor(-8)), DCCI_OK);
    DeviceInfoRecord info;
    ASSERT_EQ(bridge->GetDeviceInfo(Text(StandIn::kStandInDeviceName), info), DCCI_OK);
    EXPECT_STREQ(reinterpret_cast<const char*>(info.bytes.data() + offsetof(DCCI_DeviceInfo, product)),
                 StandIn::kStandInDeviceName);
    EXPECT_FALSE(info.IsWatched());
    std::int32_t row = -1;
    EXPECT_EQ(bridge->GetDeviceTableIndex(row), KR::kOk);
    EXPECT_EQ(row, 0);
}

TEST(DeviceCommunicationBridgeTest, DeviceListsAreTheLibrarysAndFindDevicesKnowsOnlyTheEmptyDevice)
{
    const KR::RCPtr<LDeviceCommunicationBridge> bridge = StandInBridge();
    KR::Array<KR::Variant> devices{Text("left over"), Text("and another")};
    EXPECT_EQ(bridge->FindDevices(KR::Array<KR::Guid>(), devices), KR::kOk);
    ASSERT_EQ(devices.GetCount(), 1u);
    EXPECT_TRUE(devices.ElementAt(0).IsEmpty());

    EXPECT_EQ(bridge->QueryDeviceList(KR::Array<KR::Guid>(), devices),
              LDeviceCommunicationInterface::kListComplete);
    ASSERT_EQ(devices.GetCount(), 1u);
    EXPECT_EQ(devices.ElementAt(0), Text(StandIn::kStandInDeviceName));
    // Unchanged: a time-out of 0 asks once and says so. Changed, whatever the time-out: at once.
    EXPECT_EQ(bridge->WaitForDeviceListChange(KR::Array<KR::Guid>(), devices, 0),
              LDeviceCommunicationInterface::kListUnchanged);
    devices.RemoveAll();
    EXPECT_EQ(bridge->WaitForDeviceListChange(KR::Array<KR::Guid>(), devices, 60000),
              LDeviceCommunicationInterface::kListChanged);
    ASSERT_EQ(devices.GetCount(), 1u);
}

// The worker that waits is being stopped: its wait ends, and further waits ask once, until
// the waits are let be again.
TEST(DeviceCommunicationBridgeTest, AnInterruptEndsAListWaitUnderWayAndTheNextOnesUntilLifted)
{
    const KR::RCPtr<LDeviceCommunicationBridge> bridge = StandInBridge();
    KR::Array<KR::Variant> devices;
    ASSERT_EQ(bridge->QueryDeviceList(KR::Array<KR::Guid>(), devices),
              LDeviceCommunicationInterface::kListComplete);
    std::atomic<std::int32_t> result = KR::kFail;
    std::atomic<bool> returned = false;
    std::thread waiter(
        [&]
        {
            KR::Array<KR::Variant> same = devices;
            result = bridge->WaitForDeviceListChange(KR::Array<KR::Guid>(), same, 600000);
            returned = true;
        });
    std::this_thread::sleep_for(std::chrono::milliseconds(2 * LDeviceCommunicationBridge::kListPollMs));
    EXPECT_FALSE(returned.load()) << "the wait ended by itself";
    bridge->InterruptListWaits(true);
    EXPECT_TRUE(WaitUntil([&] { return returned.load(); }));
    waiter.join();
    EXPECT_EQ(result.load(), LDeviceCommunicationInterface::kListUnchanged);

    // Still interrupted: a change is reported all the same, and no change ends the wait at once.
    KR::Array<KR::Variant> none;
    EXPECT_EQ(bridge->WaitForDeviceListChange(KR::Array<KR::Guid>(), none, 600000),
              LDeviceCommunicationInterface::kListChanged);
    EXPECT_EQ(bridge->WaitForDeviceListChange(KR::Array<KR::Guid>(), devices, 600000),
              LDeviceCommunicationInterface::kListUnchanged);
    bridge->InterruptListWaits(false);
    none.RemoveAll();
    EXPECT_EQ(bridge->WaitForDeviceListChange(KR::Array<KR::Guid>(), none, 600000),
              LDeviceCommunicationInterface::kListChanged);
}

TEST(DeviceCommunicationBridgeTest, HundredDeliveriesReachTheReceiverInOrderOnTheWorkerThread)
{
    const KR::RCPtr<LDeviceCommunicationBridge> bridge = StandInBridge();
    RecordingReceiver receiver;
    // The library's thread does not wait for the held delivery: the other 99 queue up.
    ASSERT_TRUE(ConnectWithTheFirstDeliveryHeld(*bridge, receiver));
    ASSERT_TRUE(WaitUntil([&] { return bridge->GetPendingDeliveryCount() == kDeliveries - 1; }));
    receiver.Hold(false);
    ASSERT_TRUE(receiver.WaitForLists(kDeliveries));

    const std::vector<Received> entries = receiver.Entries();
    ASSERT_EQ(entries.size(), kDeliveries);
    std::set<std::thread::id> threads;
    for (std::int32_t n = 0; n < static_cast<std::int32_t>(entries.size()); ++n)
    {
        EXPECT_EQ(entries[n].id, StandIn::kStandInFirstParamId + n);
        EXPECT_EQ(entries[n].value.ToInt32(), n);
        threads.insert(entries[n].thread);
    }
    ASSERT_EQ(threads.size(), 1u);
    EXPECT_NE(*threads.begin(), std::this_thread::get_id());
    EXPECT_EQ(bridge->DisconnectDevice(), DCCI_OK);
    bridge->EnableReceiving(false);
    bridge->SetReceiver(nullptr);
}

TEST(DeviceCommunicationBridgeTest, DeliveriesWhileReceivingIsOffAreDroppedNotKeptForLater)
{
    const KR::RCPtr<LDeviceCommunicationBridge> bridge = StandInBridge();
    RecordingReceiver receiver;
    bridge->SetReceiver(&receiver);
    ASSERT_EQ(bridge->ConnectDevice(Text(StandIn::kStandInDeviceName)), DCCI_OK);
    ASSERT_TRUE(WaitUntil([&] { return bridge->GetDroppedDeliveryCount() == kDeliveries; }));
    EXPECT_EQ(receiver.ListCount(), 0u);

    // Switched on, only a new connection's deliveries arrive.
    bridge->EnableReceiving(true);
    ASSERT_EQ(bridge->ConnectDevice(Text(StandIn::kStandInDeviceName)), DCCI_OK);
    ASSERT_TRUE(receiver.WaitForLists(kDeliveries));
    EXPECT_EQ(bridge->DisconnectDevice(), DCCI_OK);
    bridge->EnableReceiving(false);
    EXPECT_EQ(receiver.ListCount(), kDeliveries);
    EXPECT_EQ(receiver.Entries().front().value.ToInt32(), 0);
    bridge->SetReceiver(nullptr);
}

TEST(DeviceCommunicationBridgeTest, SwitchingReceivingOffReturnsOnlyAfterTheDeliveryInProgress)
{
    const KR::RCPtr<LDeviceCommunicationBridge> bridge = StandInBridge();
    RecordingReceiver receiver;
    ASSERT_TRUE(ConnectWithTheFirstDeliveryHeld(*bridge, receiver));
    std::atomic<bool> deliveryDoneAtReturn{false};
    std::thread switcher(
        [&]
        {
            bridge->EnableReceiving(false);
            deliveryDoneAtReturn = !receiver.IsInside() && receiver.ListCount() == 1;
        });
    // Once the flag is off the call is past its first step, and must still wait for
    // the receiver to finish.
    ASSERT_TRUE(WaitUntil([&] { return !bridge->IsReceiving(); }));
    receiver.Hold(false);
    switcher.join();
    EXPECT_TRUE(deliveryDoneAtReturn);
    EXPECT_EQ(bridge->DisconnectDevice(), DCCI_OK);
    bridge->SetReceiver(nullptr);
    EXPECT_EQ(receiver.ListCount(), 1u);
}

} // namespace
