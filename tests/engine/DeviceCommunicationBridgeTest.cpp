#include "engine/DeviceCommunicationBridge.h"

#include "BridgeTestSupport.h"
#include "kr/core/Types.h"
#include "libs/devicecontrol/DeviceControlClientApi.h"
#include "libs/devicecontrol_standin/StandIn.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <cstring>
#include <set>
#include <string>
#include <thread>

namespace
{

using EngineTest::BesideTheTests;
using EngineTest::Received;
using EngineTest::RecordingReceiver;
using EngineTest::WaitUntil;

constexpr std::int32_t kNoClient = LDeviceCommunicationInterface::kNoClient;

KR::Variant Text(const char* text)
{
    KR::Variant value;
    value.SetString(text);
    return value;
}

KR::Variant StandInDevice()
{
    return Text(StandIn::kStandInDeviceName);
}

KR::RCPtr<LDeviceCommunicationBridge> StandInBridge()
{
    KR::RCPtr<LDeviceCommunicationBridge> bridge =
        LDeviceCommunicationBridge::Create(BesideTheTests(StandIn::kLibraryFileName));
    EXPECT_EQ(bridge->Init(), KR::kOk);
    return bridge;
}

// Receiving on, connected to the stand-in, and its first delivery held inside the
// receiver.
testing::AssertionResult ConnectWithTheFirstDeliveryHeld(LDeviceCommunicationBridge& bridge,
                                                         RecordingReceiver& receiver)
{
    bridge.SetReceiver(&receiver);
    bridge.EnableReceiving(true);
    receiver.Hold();
    if (bridge.ConnectDevice(StandInDevice()) != DCCI_OK)
    {
        return testing::AssertionFailure() << "the stand-in refused the connection";
    }
    if (!receiver.WaitUntilInside())
    {
        return testing::AssertionFailure() << "no delivery reached the receiver";
    }
    return testing::AssertionSuccess();
}

// The operations that need the library, each expected to answer `expected`.
void ExpectPassThroughsAnswer(LDeviceCommunicationBridge& bridge, std::int32_t expected)
{
    KR::Array<KR::Variant> devices;
    KR::Variant value;
    KR::ParamRanges ranges;
    KR::ParamValues values;
    DeviceInfoRecord info;
    EXPECT_EQ(bridge.ConnectDevice(StandInDevice()), expected);
    EXPECT_EQ(bridge.DisconnectDevice(), expected);
    EXPECT_EQ(bridge.WaitForDeviceListChange(KR::Array<KR::Guid>(), devices, 0), expected);
    EXPECT_EQ(bridge.QueryDeviceList(KR::Array<KR::Guid>(), devices), expected);
    EXPECT_EQ(bridge.GetDeviceInfo(StandInDevice(), info), expected);
    EXPECT_EQ(bridge.RequestParamRanges(KR::ParamRanges()), expected);
    EXPECT_EQ(bridge.RequestParamValues(KR::ParamDescriptor(3)), expected);
    EXPECT_EQ(bridge.RequestParamValuesForDescriptors(KR::ParamDescriptors()), expected);
    EXPECT_EQ(bridge.GetParamRanges(KR::Variant(), ranges), expected);
    EXPECT_EQ(bridge.GetParamValues(KR::ParamDescriptors(), values), expected);
    EXPECT_EQ(bridge.SetParamValues(KR::ParamValues()), expected);
    EXPECT_EQ(bridge.GetReservedParamValue(value), expected);
    EXPECT_EQ(bridge.SetReservedParamValue(value), expected);
    EXPECT_EQ(bridge.GetParamValue(KR::ParamDescriptor(-8), value), expected);
}

void ExpectOwnAnswers(LDeviceCommunicationBridge& bridge)
{
    KR::Variant value;
    EXPECT_EQ(bridge.GetParamValue(KR::ParamDescriptor(-2), value), KR::kOk);
    EXPECT_EQ(value.GetType(), KR::Variant::kBool);
    EXPECT_TRUE(value.ToBool());
    EXPECT_EQ(bridge.GetParamValue(KR::ParamDescriptor(-9), value), KR::kOk);
    EXPECT_EQ(value, Text("Tarsil"));
    EXPECT_EQ(bridge.GetParamValue(KR::ParamDescriptor(-10), value), KR::kOk);
    EXPECT_EQ(value, Text("Vantor"));
}

TEST(DeviceCommunicationBridgeTest, BeforeInitTheBridgeAnswersItsOwnIdsAndRefusesTheRest)
{
    const KR::RCPtr<LDeviceCommunicationBridge> bridge = LDeviceCommunicationBridge::Create();
    ExpectOwnAnswers(*bridge);
    KR::Variant value;
    value.SetInt32(5);
    EXPECT_EQ(bridge->GetParamValue(KR::ParamDescriptor(12), value), KR::kFail);
    EXPECT_TRUE(value.IsEmpty());
    ExpectPassThroughsAnswer(*bridge, kNoClient);
}

TEST(DeviceCommunicationBridgeTest, WithoutTheLibraryBesideItReservedIdsWorkAndTheRestAnswerMinusOne)
{
    const KR::RCPtr<LDeviceCommunicationBridge> bridge =
        LDeviceCommunicationBridge::Create(EngineTest::MissingLibraryPath());
    EXPECT_EQ(bridge->Init(), KR::kOk);
    EXPECT_EQ(bridge->Init(), 1);
    ExpectOwnAnswers(*bridge);
    KR::Variant value;
    EXPECT_EQ(bridge->GetParamValue(KR::ParamDescriptor(12), value), kNoClient);
    ExpectPassThroughsAnswer(*bridge, kNoClient);

    RecordingReceiver receiver;
    bridge->SetReceiver(&receiver);
    EXPECT_EQ(bridge->SetParamValue(KR::ParamDescriptor(12), value), kNoClient);
    EXPECT_EQ(bridge->SetParamValue(KR::ParamDescriptor(-4), value), 0);
    bridge->SetReceiver(nullptr);
}

TEST(DeviceCommunicationBridgeTest, EmptyDeviceIsTheOneDeviceFindDevicesKnows)
{
    const KR::RCPtr<LDeviceCommunicationBridge> bridge = StandInBridge();
    KR::Array<KR::Variant> devices{Text("left over"), Text("and another")};
    EXPECT_EQ(bridge->FindDevices(KR::Array<KR::Guid>(), devices), KR::kOk);
    ASSERT_EQ(devices.GetCount(), 1u);
    EXPECT_TRUE(devices.ElementAt(0).IsEmpty());
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

TEST(DeviceCommunicationBridgeTest, IdsFrom242To240AreNeverSent)
{
    const KR::RCPtr<LDeviceCommunicationBridge> bridge = StandInBridge();
    RecordingReceiver receiver;
    bridge->SetReceiver(&receiver);
    for (const std::int32_t id : {-242, -241, -240})
    {
        EXPECT_EQ(bridge->SetParamValue(KR::ParamDescriptor(id), KR::Variant()), KR::kFail) << id;
    }
    // Their neighbours go to the library, which takes them.
    EXPECT_EQ(bridge->SetParamValue(KR::ParamDescriptor(-243), KR::Variant()), DCCI_OK);
    EXPECT_EQ(bridge->SetParamValue(KR::ParamDescriptor(-239), KR::Variant()), DCCI_OK);
    bridge->SetReceiver(nullptr);
    EXPECT_EQ(bridge->SetParamValue(KR::ParamDescriptor(-239), KR::Variant()), KR::kFail) << "no receiver";
}

TEST(DeviceCommunicationBridgeTest, WithTheLibraryEveryIdGoesToIt)
{
    const KR::RCPtr<LDeviceCommunicationBridge> bridge = StandInBridge();
    KR::Variant value;
    // The stand-in answers no parameter reads.
    for (const std::int32_t id : {-2, -8, -9, -10, 7})
    {
        EXPECT_EQ(bridge->GetParamValue(KR::ParamDescriptor(id), value), DCCI_E_NOTIMPL) << id;
    }
    EXPECT_EQ(bridge->RequestParamValues(KR::ParamDescriptor(-8)), DCCI_OK);
    DeviceInfoRecord info;
    ASSERT_EQ(bridge->GetDeviceInfo(StandInDevice(), info), DCCI_OK);
    EXPECT_STREQ(reinterpret_cast<const char*>(info.bytes.data() + offsetof(DCCI_DeviceInfo, product)),
                 StandIn::kStandInDeviceName);
    EXPECT_FALSE(info.IsWatched());
}

TEST(DeviceCommunicationBridgeTest, CurrentDeviceIsTheOneLastConnected)
{
    const KR::RCPtr<LDeviceCommunicationBridge> bridge = LDeviceCommunicationBridge::Create();
    EXPECT_EQ(bridge->ConnectDevice(Text("first")), kNoClient);
    EXPECT_EQ(bridge->ConnectDevice(Text("second")), kNoClient);
    KR::Variant device;
    EXPECT_EQ(bridge->GetCurrentDevice(device), KR::kOk);
    EXPECT_EQ(device, Text("second"));
    std::int32_t row = -1;
    EXPECT_EQ(bridge->GetDeviceTableIndex(row), KR::kOk);
    EXPECT_EQ(row, 0);
}

TEST(DeviceCommunicationBridgeTest, DeviceListQueriesConvertTheLibrarysList)
{
    const KR::RCPtr<LDeviceCommunicationBridge> bridge = StandInBridge();
    KR::Array<KR::Variant> devices;
    EXPECT_EQ(bridge->QueryDeviceList(KR::Array<KR::Guid>(), devices),
              LDeviceCommunicationInterface::kListComplete);
    ASSERT_EQ(devices.GetCount(), 1u);
    EXPECT_EQ(devices.ElementAt(0), StandInDevice());

    // Unchanged: a time-out of 0 asks once and says so.
    EXPECT_EQ(bridge->WaitForDeviceListChange(KR::Array<KR::Guid>(), devices, 0),
              LDeviceCommunicationInterface::kListUnchanged);
    EXPECT_EQ(devices.GetCount(), 1u);
    // Changed, whatever the time-out: at once.
    devices.RemoveAll();
    EXPECT_EQ(bridge->WaitForDeviceListChange(KR::Array<KR::Guid>(), devices, 60000),
              LDeviceCommunicationInterface::kListChanged);
    ASSERT_EQ(devices.GetCount(), 1u);
    EXPECT_EQ(devices.ElementAt(0), StandInDevice());
}

TEST(DeviceCommunicationBridgeTest, HundredDeliveriesReachTheReceiverInOrderOnTheWorkerThread)
{
    const KR::RCPtr<LDeviceCommunicationBridge> bridge = StandInBridge();
    RecordingReceiver receiver;
    // The library's thread does not wait for the held delivery: the other 99 queue
    // up behind it.
    ASSERT_TRUE(ConnectWithTheFirstDeliveryHeld(*bridge, receiver));
    ASSERT_TRUE(
        WaitUntil([&] { return bridge->GetPendingDeliveryCount() == StandIn::kStandInDeliveryCount - 1; }));
    receiver.Release();
    ASSERT_TRUE(receiver.WaitForLists(StandIn::kStandInDeliveryCount));

    const std::vector<Received> entries = receiver.Entries();
    ASSERT_EQ(entries.size(), StandIn::kStandInDeliveryCount);
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
    ASSERT_EQ(bridge->ConnectDevice(StandInDevice()), DCCI_OK);
    ASSERT_TRUE(
        WaitUntil([&] { return bridge->GetDroppedDeliveryCount() == StandIn::kStandInDeliveryCount; }));
    EXPECT_EQ(receiver.ListCount(), 0u);

    // Switched on, only a new connection's deliveries arrive.
    bridge->EnableReceiving(true);
    ASSERT_EQ(bridge->ConnectDevice(StandInDevice()), DCCI_OK);
    ASSERT_TRUE(receiver.WaitForLists(StandIn::kStandInDeliveryCount));
    EXPECT_EQ(bridge->DisconnectDevice(), DCCI_OK);
    bridge->EnableReceiving(false);
    EXPECT_EQ(receiver.ListCount(), StandIn::kStandInDeliveryCount);
    EXPECT_EQ(bridge->GetDroppedDeliveryCount(), StandIn::kStandInDeliveryCount);
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
    receiver.Release();
    switcher.join();
    EXPECT_TRUE(deliveryDoneAtReturn);
    EXPECT_EQ(bridge->DisconnectDevice(), DCCI_OK);
    bridge->SetReceiver(nullptr);
    EXPECT_EQ(receiver.ListCount(), 1u);
}

} // namespace
