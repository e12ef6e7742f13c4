#include "device/RootModule.h"

#include "device/ExpectedPreset.h"
#include "device/ModelTestSupport.h"
#include "device/RecordingBridge.h"

#include <gtest/gtest.h>

#include <thread>

namespace
{

using support::Blob;
using support::BytesOf;

class RootModule : public ::testing::Test
{
protected:
    explicit RootModule(bool noDevice = false) : root(LRootModule::Create(noDevice)) {}

    void SetUp() override
    {
        ASSERT_EQ(root->Setup(&support::ChangeLog::Callback, &log, cache, bridge, 0), 0);
        bridge->Forget();
    }

    std::vector<std::uint8_t> Cached(std::int32_t index)
    {
        KR::Variant value;
        cache->GetValue(KR::ParamDescriptor(index), value);
        return BytesOf(value);
    }

    support::ChangeLog log;
    KR::RCPtr<LParamCache> cache = LParamCache::Create(131);
    KR::RCPtr<RecordingBridge> bridge = RecordingBridge::Create();
    KR::RCPtr<LRootModule> root;
};

class RootModuleWithoutDevice : public RootModule
{
protected:
    RootModuleWithoutDevice() : RootModule(true) {}
};

TEST(RootModuleSetup, FillsTheCacheWithTheFactoryPresetAndRegistersWithTheBridge)
{
    support::ChangeLog log;
    const KR::RCPtr<LParamCache> cache = LParamCache::Create(131);
    const KR::RCPtr<RecordingBridge> bridge = RecordingBridge::Create();
    const KR::RCPtr<LRootModule> root = LRootModule::Create(false);
    EXPECT_EQ(root->Setup(&support::ChangeLog::Callback, &log, cache, bridge, 0), 0);

    std::vector<std::uint8_t> preset;
    for (std::int32_t i = 0; i < 131; ++i)
    {
        KR::Variant value;
        ASSERT_EQ(cache->GetValue(KR::ParamDescriptor(i), value), 0);
        EXPECT_EQ(value.GetType(), KR::Variant::kBlob) << i;
        const auto bytes = BytesOf(value);
        preset.insert(preset.end(), bytes.begin(), bytes.end());
    }
    EXPECT_EQ(preset.size(), 1338u);
    EXPECT_EQ(preset, expected::DefaultPresetData());

    EXPECT_TRUE(log.Changes().empty()); // defaults are not announced
    EXPECT_EQ(bridge->Operations(), (std::vector<std::string>{"SetReceiver", "EnableReceiving(true)"}));
    EXPECT_EQ(bridge->Receiver(), static_cast<DeviceCommunicationReceiver*>(root.Get()));
    EXPECT_EQ(root->GetParamCache().Get(), cache.Get());
    EXPECT_EQ(root->GetDeviceCommunicationInterface().Get(), bridge.Get());
}

TEST(RootModuleSetup, NumbersFromTheGivenFirstId)
{
    const KR::RCPtr<LParamCache> cache = LParamCache::Create(131);
    const KR::RCPtr<LRootModule> root = LRootModule::Create(false);
    root->Setup(nullptr, nullptr, cache, RecordingBridge::Create(), 1000);
    EXPECT_EQ(root->GetFirstParamID(), 1000);
    KR::Variant value;
    EXPECT_EQ(root->GetParamValueByID(KR::ParamDescriptor(1000 + 128), value), 0);
    EXPECT_EQ(BytesOf(value), expected::Hex("00 00 47 00 00 7F"));
    EXPECT_EQ(root->GetParamValueByID(KR::ParamDescriptor(128), value), KR::kFail);
    EXPECT_EQ(value.GetType(), KR::Variant::kEmpty);
}

TEST_F(RootModule, ANewValueIsStoredAnnouncedOnceAndSentToTheDevice)
{
    bridge->setResult = 7;
    const KR::Variant value = Blob({0, 0, 9, 0, 0, 0x7F});
    EXPECT_EQ(root->SetRootParamValue(KR::ParamDescriptor(61), value), 7);
    EXPECT_EQ(Cached(61), BytesOf(value));
    auto changes = log.Changes();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].id, 61);
    EXPECT_TRUE(changes[0].value == value);
    ASSERT_EQ(bridge->Calls().size(), 1u);
    EXPECT_EQ(bridge->Calls()[0].operation, "SetParamValue");

    // The same value again: no announcement, but the device is still told.
    EXPECT_EQ(root->SetRootParamValue(KR::ParamDescriptor(61), Blob({0, 0, 9, 0, 0, 0x7F})), 7);
    EXPECT_EQ(log.Changes().size(), 1u);
    EXPECT_EQ(bridge->Calls().size(), 2u);
}

TEST_F(RootModule, AnEmptyValueChangesNothing)
{
    root->SetRootParamValue(KR::ParamDescriptor(3), KR::Variant());
    EXPECT_EQ(Cached(3), expected::DefaultBlocks()[3]);
    EXPECT_TRUE(log.Changes().empty());
}

TEST_F(RootModule, ConnectionStatusGoesToTheBridgeAsA64BitValue)
{
    KR::Variant status;
    status.SetInt64(42);
    EXPECT_EQ(root->SetRootParamValue(KR::ParamDescriptor(-4), status), 0);
    bridge->connectionStatusResult = false;
    EXPECT_EQ(root->SetRootParamValue(KR::ParamDescriptor(-4), status), 1);
    const auto calls = bridge->Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].operation, "PostConnectionStatus");
    EXPECT_EQ(calls[0].id, 42);
    EXPECT_TRUE(log.Changes().empty());
}

TEST_F(RootModule, MetaAndForeignIdsReachOnlyTheDevice)
{
    bridge->setResult = KR::kFail;
    EXPECT_EQ(root->SetRootParamValue(KR::ParamDescriptor(-200), Blob({1})), KR::kFail);
    EXPECT_EQ(root->SetRootParamValue(KR::ParamDescriptor(131), Blob({1})), KR::kFail);
    EXPECT_EQ(bridge->Calls().size(), 2u);
    EXPECT_TRUE(log.Changes().empty());
}

TEST_F(RootModule, ReadsComeFromTheCacheAndNegativeIdsFromTheBridge)
{
    KR::Variant value;
    EXPECT_EQ(root->GetParamValueByID(KR::ParamDescriptor(0), value), 0);
    EXPECT_EQ(BytesOf(value), expected::Hex("50 52 45 53 45 54"));
    EXPECT_EQ(root->GetParamValueByID(KR::ParamDescriptor(131), value), KR::kFail);
    EXPECT_EQ(value.GetType(), KR::Variant::kEmpty);

    bridge->getAnswer.SetString("Vantor");
    bridge->getResult = 0;
    EXPECT_EQ(root->GetParamValueByID(KR::ParamDescriptor(-10), value), 0);
    EXPECT_STREQ(value.GetString(), "Vantor");
    bridge->getResult = KR::kFail;
    EXPECT_EQ(root->GetParamValueByID(KR::ParamDescriptor(-1), value), KR::kFail);
}

TEST_F(RootModuleWithoutDevice, WritesUpdateTheCacheAndSendNothing)
{
    const KR::Variant value = Blob({0, 0, 1, 0, 0, 0x7F});
    EXPECT_EQ(root->SetRootParamValue(KR::ParamDescriptor(100), value), 0);
    EXPECT_EQ(Cached(100), BytesOf(value));
    EXPECT_EQ(log.Changes().size(), 1u);
    EXPECT_EQ(root->SetRootParamValue(KR::ParamDescriptor(131), value), -1);

    KR::Variant read;
    EXPECT_EQ(root->GetParamValueByID(KR::ParamDescriptor(100), read), 0);
    EXPECT_TRUE(read == value);
    root->GetParamValueByID(KR::ParamDescriptor(-2), read);
    EXPECT_EQ(bridge->Operations(), (std::vector<std::string>{"GetParamValue"}));
}

TEST_F(RootModuleWithoutDevice, ConnectingRequestsEveryValueAndLeavesCacheOnlyMode)
{
    bridge->connectResult = 2;
    EXPECT_EQ(root->ConnectDevice(KR::Variant()), 2);
    EXPECT_FALSE(root->IsNoDevice());
    EXPECT_EQ(bridge->Operations(),
              (std::vector<std::string>{"DisconnectDevice", "ConnectDevice", "RequestParamRanges 1 0 131",
                                        "RequestParamValues"}));
    EXPECT_EQ(bridge->Calls()[3].id, -8);

    bridge->Forget();
    root->SetRootParamValue(KR::ParamDescriptor(10), Blob({1, 2}));
    EXPECT_EQ(bridge->Operations(), (std::vector<std::string>{"SetParamValue"}));
}

TEST_F(RootModule, AFailedConnectionFallsBackToTheCache)
{
    bridge->connectResult = -3;
    EXPECT_EQ(root->ConnectDevice(KR::Variant()), -3);
    EXPECT_TRUE(root->IsNoDevice());
    EXPECT_EQ(bridge->Operations(), (std::vector<std::string>{"DisconnectDevice", "ConnectDevice"}));
    bridge->Forget();
    root->SetRootParamValue(KR::ParamDescriptor(10), Blob({1, 2}));
    EXPECT_TRUE(bridge->Calls().empty());
    EXPECT_EQ(log.Changes().size(), 1u);
}

KR::ParamValues ListOf(const std::vector<KR::ParamValue>& records)
{
    KR::ParamValues list;
    list.SetValues(records.data(), static_cast<std::uint32_t>(records.size()));
    return list;
}

// A record that is not a three-element list, between well-formed ones.
KR::ParamValues ListWithMalformedMiddle(const KR::ParamValue& before, const KR::ParamValue& after)
{
    const KR::ParamValues good = ListOf({before, after});
    KR::Variant elements[3];
    good.GetArrayElement(0, elements[0]);
    elements[1].SetInt32(77);
    good.GetArrayElement(1, elements[2]);
    KR::ParamValues list;
    list.SetArray(elements, 3);
    return list;
}

TEST_F(RootModule, ReceivedValuesReachTheirControlsAndTheRestGoesStraightToTheCallback)
{
    const KR::Variant wheel = Blob({0, 1, 2, 3, 4});
    KR::Variant connected;
    connected.SetBool(true);
    root->ReceiveParamValues(ListOf({KR::ParamValue(KR::ParamDescriptor(5), wheel),
                                     KR::ParamValue(KR::ParamDescriptor(-2), connected),
                                     KR::ParamValue(KR::ParamDescriptor(-200), Blob({1})),
                                     KR::ParamValue(KR::ParamDescriptor(131), Blob({2}))}));
    EXPECT_EQ(Cached(5), BytesOf(wheel));
    const auto changes = log.Changes();
    ASSERT_EQ(changes.size(), 4u);
    EXPECT_EQ(changes[0].id, 5);
    EXPECT_EQ(changes[1].id, -2);
    EXPECT_TRUE(changes[1].value.ToBool());
    EXPECT_EQ(changes[2].id, -200);
    EXPECT_EQ(changes[3].id, 131);
    // Values from the device are not echoed back to it.
    EXPECT_TRUE(bridge->Calls().empty());
}

TEST_F(RootModule, ADeliveryFromAnotherThreadAppliesEverythingAroundAMalformedElement)
{
    const KR::Variant first = Blob({1, 1, 1, 1, 1, 1});
    const KR::Variant last = Blob({2, 2, 2, 2, 2, 2});
    const KR::ParamValues delivery = ListWithMalformedMiddle(KR::ParamValue(KR::ParamDescriptor(97), first),
                                                             KR::ParamValue(KR::ParamDescriptor(128), last));
    ASSERT_EQ(delivery.GetArraySize(), 3u);

    // The engine keeps writing other parameters on this thread meanwhile.
    DeviceCommunicationReceiver* receiver = bridge->Receiver();
    std::thread worker([&] { receiver->ReceiveParamValues(delivery); });
    for (std::uint8_t i = 0; i < 50; ++i)
    {
        root->SetRootParamValue(KR::ParamDescriptor(61), Blob({0, 0, i, 0, 0, 0x7F}));
        KR::Variant read;
        root->GetParamValueByID(KR::ParamDescriptor(97), read);
        root->SetCachedParamValue(KR::ParamDescriptor(62), Blob({0, 1, i, 0, 0, 0x7F}));
    }
    worker.join();

    EXPECT_EQ(Cached(97), BytesOf(first));
    EXPECT_EQ(Cached(128), BytesOf(last));
    std::vector<std::int32_t> received;
    for (const auto& change : log.Changes())
    {
        if (change.id != 61 && change.id != 62)
        {
            received.push_back(change.id);
            if (change.id == -1)
            {
                EXPECT_EQ(change.value.GetType(), KR::Variant::kEmpty);
            }
        }
    }
    EXPECT_EQ(received, (std::vector<std::int32_t>{97, -1, 128}));
}

TEST_F(RootModule, ConnectingFromThePollerWhileTheEngineWrites)
{
    std::thread poller(
        [&]
        {
            for (int i = 0; i < 50; ++i)
            {
                root->ConnectDevice(KR::Variant());
            }
        });
    for (std::uint8_t i = 0; i < 50; ++i)
    {
        root->SetRootParamValue(KR::ParamDescriptor(30), Blob({i}));
    }
    poller.join();
    EXPECT_FALSE(root->IsNoDevice());
}

TEST_F(RootModule, StopReceivingSwitchesDeliveriesOff)
{
    EXPECT_EQ(root->StopReceiving(), 0);
    EXPECT_EQ(bridge->Operations(), (std::vector<std::string>{"EnableReceiving(false)"}));
}

TEST(RootModuleLifetime, DestructionStopsDeliveriesAndDisconnects)
{
    const KR::RCPtr<RecordingBridge> bridge = RecordingBridge::Create();
    {
        KR::RCPtr<LRootModule> root = LRootModule::Create(false);
        root->Setup(nullptr, nullptr, LParamCache::Create(131), bridge, 0);
        bridge->Forget();
    }
    EXPECT_EQ(bridge->Operations(),
              (std::vector<std::string>{"EnableReceiving(false)", "SetReceiver", "DisconnectDevice"}));
    EXPECT_EQ(bridge->Receiver(), nullptr);
}

TEST(RootModuleLifetime, WorksWithoutSetupOrCallback)
{
    const KR::RCPtr<LRootModule> root = LRootModule::Create(false);
    KR::Variant value;
    EXPECT_EQ(root->GetParamValueByID(KR::ParamDescriptor(-9), value), KR::kFail);
    EXPECT_EQ(root->SetCachedParamValue(KR::ParamDescriptor(0), Blob({1})), -1);
    EXPECT_EQ(root->ConnectDevice(KR::Variant()), -1);
    EXPECT_TRUE(root->IsNoDevice());
    EXPECT_EQ(root->ReceiveReserved(1, 2), KR::kFail);
}

} // namespace
