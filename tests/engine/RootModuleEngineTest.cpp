#include "engine/RootModuleEngine.h"

#include "EngineTestSupport.h"
#include "PresetTestSupport.h"
#include "support/engine/ScriptedBridge.h"

#include <gtest/gtest.h>

namespace
{

using support::WaitUntil;
using State = LRootModuleEngine::DeviceConnectionState;

KR::Variant Device(const char* name)
{
    KR::Variant device;
    device.SetString(name);
    return device;
}

KR::ParamDescriptors DescriptorsOf(std::initializer_list<std::int32_t> ids)
{
    std::vector<KR::ParamDescriptor> list;
    for (std::int32_t id : ids)
    {
        list.emplace_back(id);
    }
    KR::ParamDescriptors descriptors;
    descriptors.SetDescriptors(list.data(), static_cast<std::uint32_t>(list.size()));
    return descriptors;
}

class RootModuleEngineTest : public ::testing::Test
{
protected:
    void TearDown() override { engine = nullptr; }

    // An engine over the scripted bridge, started, with its start-up notifications
    // drained and forgotten.
    void Start()
    {
        engine = LRootModuleEngine::Create(bridge);
        ASSERT_EQ(engine->Initialize(0), KR::kOk);
        app.Drain();
        app.log->Clear();
    }

    std::vector<State> PostedStates()
    {
        std::vector<State> states;
        for (const auto& holder :
             app.log->Payloads<LRootModuleEngine::StateHolder>(kNidDeviceConnectionStateChange))
        {
            states.push_back(holder ? holder->Get() : static_cast<State>(-1));
        }
        return states;
    }

    support::ApplicationCenter app;
    KR::RCPtr<ScriptedBridge> bridge = ScriptedBridge::Create();
    KR::RCPtr<LRootModuleEngine> engine;
};

TEST_F(RootModuleEngineTest, StartUpPostsTheWholePresetOnceAndTheConnectedState)
{
    engine = LRootModuleEngine::Create(bridge);
    ASSERT_EQ(engine->Initialize(0), KR::kOk);
    EXPECT_EQ(app.Queued(), 2u);
    app.Drain();

    const auto values = app.log->Payloads<LParamValuesWrapper>(kNidParamModuleStateChange);
    ASSERT_EQ(values.size(), 1u);
    ASSERT_TRUE(values[0]);
    const KR::ParamValues& list = values[0]->GetValue();
    ASSERT_EQ(list.GetArraySize(), 131u);
    const auto blocks = expected::DefaultBlocks();
    for (std::uint32_t i = 0; i < 131; ++i)
    {
        KR::ParamValue value;
        ASSERT_EQ(list.GetAt(i, value), 0);
        EXPECT_EQ(value.descriptor.id, static_cast<std::int32_t>(i));
        EXPECT_EQ(support::BytesOf(value.value), blocks[i]) << "parameter " << i;
    }
    EXPECT_EQ(PostedStates(), std::vector<State>{LRootModuleEngine::kConnected});
    EXPECT_EQ(engine->GetConnectionState(), LRootModuleEngine::kConnected);
    EXPECT_EQ(engine->GetFirstParamID(), 0);
    EXPECT_FALSE(engine->IsWorkerRunning()) << "the empty device needs no watching";
}

TEST_F(RootModuleEngineTest, OneOrTwoValuesPostOneNotificationEachThreeOrMorePostOne)
{
    Start();
    engine->RequestParamValues(DescriptorsOf({4, 9}));
    app.Drain();
    const auto pairs = app.log->Payloads<LParamChangePair>(kNidParamModuleStateChange);
    ASSERT_EQ(pairs.size(), 2u);
    ASSERT_TRUE(pairs[0] && pairs[1]);
    EXPECT_EQ(pairs[0]->first.id, 4);
    EXPECT_EQ(pairs[1]->first.id, 9);
    EXPECT_EQ(support::BytesOf(pairs[1]->second), expected::DefaultBlocks()[9]);

    app.log->Clear();
    engine->RequestParamValues(DescriptorsOf({4, 9, 130}));
    app.Drain();
    const auto lists = app.log->Payloads<LParamValuesWrapper>(kNidParamModuleStateChange);
    ASSERT_EQ(lists.size(), 1u);
    ASSERT_TRUE(lists[0]);
    EXPECT_EQ(lists[0]->GetValue().GetArraySize(), 3u);

    app.log->Clear();
    engine->RequestParamValues(KR::ParamDescriptors());
    KR::ParamDescriptors notAList;
    notAList.SetInt32(4);
    engine->RequestParamValues(notAList);
    EXPECT_EQ(app.Queued(), 0u);
}

TEST_F(RootModuleEngineTest, EachChangedValueIsPostedAsItHappens)
{
    Start();
    const KR::Variant fader = support::Blob({0, 0, 7, 1, 2, 0x7F});
    const KR::Variant encoder = support::Blob({0, 0, 9, 1, 2, 0x7F});
    ASSERT_EQ(engine->SetParamValue(KR::ParamDescriptor(61), fader), KR::kOk);
    ASSERT_EQ(engine->SetParamValue(KR::ParamDescriptor(97), encoder), KR::kOk);
    // The same value again is no change.
    ASSERT_EQ(engine->SetParamValue(KR::ParamDescriptor(97), encoder), KR::kOk);
    app.Drain();
    const auto pairs = app.log->Payloads<LParamChangePair>(kNidParamModuleStateChange);
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0]->first.id, 61);
    EXPECT_EQ(pairs[0]->second, fader);
    EXPECT_EQ(pairs[1]->first.id, 97);

    KR::Variant read;
    ASSERT_EQ(engine->GetParamValue(KR::ParamDescriptor(61), read), KR::kOk);
    EXPECT_EQ(read, fader);
}

TEST_F(RootModuleEngineTest, ValuesAreWrittenOnlyWhileConnected)
{
    bridge->connected = false;
    Start();
    EXPECT_EQ(engine->GetConnectionState(), LRootModuleEngine::kNoDevice);
    EXPECT_EQ(engine->SetParamValue(KR::ParamDescriptor(61), support::Blob({0, 0, 7, 1, 2, 3})), KR::kFail);
    KR::Variant read;
    engine->GetParamValue(KR::ParamDescriptor(61), read);
    EXPECT_EQ(support::BytesOf(read), expected::DefaultBlocks()[61]);
    app.Drain();
    EXPECT_EQ(app.log->Count(), 0u);
}

TEST_F(RootModuleEngineTest, AChangeRequestThroughTheApplicationCenterSetsTheValue)
{
    const KR::Variant fader = support::Blob({0, 0, 7, 1, 2, 0x7F});
    // Before start-up the engine is not registered, so nothing takes the request.
    app.center->PostNotificationByName(kNidParamModuleChangeReq,
                                       new LParamChangePair(KR::ParamDescriptor(61), fader));
    app.Drain();
    Start();
    app.center->PostNotificationByName(kNidParamModuleChangeReq,
                                       new LParamChangePair(KR::ParamDescriptor(61), fader));
    // Another payload is not a request.
    app.center->PostNotificationByName(kNidParamModuleChangeReq, new LRootModuleEngine::CountHolder(61));
    app.Drain();
    KR::Variant read;
    engine->GetParamValue(KR::ParamDescriptor(61), read);
    EXPECT_EQ(read, fader);
}

TEST_F(RootModuleEngineTest, ValuesAreReadIntoTheCallersArrayFromAStartIndex)
{
    Start();
    KR::Array<KR::ParamValue> values;
    values.SetCount(2);
    ASSERT_EQ(engine->GetParamValues(KR::ParamRange{129, 2}, values, 3), KR::kOk);
    ASSERT_EQ(values.GetCount(), 5u);
    EXPECT_EQ(values.ElementAt(3).descriptor.id, 129);
    EXPECT_EQ(support::BytesOf(values.ElementAt(4).value), expected::DefaultBlocks()[130]);

    ASSERT_EQ(engine->GetParamValues(KR::ParamRange{0, 131}, values, -1), KR::kOk);
    ASSERT_EQ(values.GetCount(), 131u);
    EXPECT_EQ(values, support::FactoryPreset());
}

TEST_F(RootModuleEngineTest, DiscoveryKeepsTheDeviceListAndPostsItsChanges)
{
    Start();
    KR::Array<KR::Variant> devices;
    ASSERT_EQ(engine->GetRemoteDeviceList(devices), KR::kOk);
    EXPECT_EQ(devices.GetCount(), 0u);

    EXPECT_EQ(engine->EnableRemoteDeviceDiscovery(true), LDeviceCommunicationInterface::kListUnchanged);
    EXPECT_TRUE(engine->IsWorkerRunning());
    const int queriesSoFar = bridge->listWaits;
    EXPECT_EQ(engine->EnableRemoteDeviceDiscovery(true), KR::kOk) << "on already";

    KR::Array<KR::Variant> two;
    two.AddItem(Device("a"));
    two.AddItem(Device("b"));
    bridge->SetRemoteDevices(two);
    ASSERT_TRUE(WaitUntil([&] { return app.Queued() > 0; }));
    app.Drain();
    const auto counts = app.log->Payloads<LRootModuleEngine::CountHolder>(kNidRemoteDeviceListChange);
    ASSERT_EQ(counts.size(), 1u);
    EXPECT_EQ(counts[0]->Get(), 2u);
    ASSERT_EQ(engine->GetRemoteDeviceList(devices), KR::kOk);
    EXPECT_EQ(devices, two);
    EXPECT_GE(bridge->listWaits.load(), queriesSoFar + 1);

    EXPECT_EQ(engine->EnableRemoteDeviceDiscovery(false), KR::kOk);
    EXPECT_TRUE(WaitUntil([&] { return !engine->IsWorkerRunning(); })) << "nothing else needs the worker";
    // Discovery off: a fresh query each time.
    KR::Array<KR::Variant> one;
    one.AddItem(Device("c"));
    bridge->SetRemoteDevices(one);
    ASSERT_EQ(engine->GetRemoteDeviceList(devices), KR::kOk);
    EXPECT_EQ(devices, one);
}

// The program's exit stops the worker, which must not first sit out a library's wait for a
// change of the device list.
TEST_F(RootModuleEngineTest, SwitchingDiscoveryOffEndsTheWorkersWaitForAListChange)
{
    Start();
    bridge->listWaitMs = 600000;
    EXPECT_EQ(engine->EnableRemoteDeviceDiscovery(true), LDeviceCommunicationInterface::kListUnchanged);
    ASSERT_TRUE(WaitUntil([&] { return bridge->listWaits.load() >= 2; })) << "the worker's first wait";
    EXPECT_EQ(engine->EnableRemoteDeviceDiscovery(false), KR::kOk);
    EXPECT_TRUE(WaitUntil([&] { return !engine->IsWorkerRunning(); }));

    // Discovery on again: the worker waits for changes as before.
    const int waitsSoFar = bridge->listWaits;
    bridge->listWaitMs = 0;
    EXPECT_TRUE(KR::Succeeded(engine->EnableRemoteDeviceDiscovery(true)));
    KR::Array<KR::Variant> one;
    one.AddItem(Device("a"));
    bridge->SetRemoteDevices(one);
    ASSERT_TRUE(WaitUntil([&] { return app.Queued() > 0; }));
    EXPECT_GT(bridge->listWaits.load(), waitsSoFar);
}

TEST_F(RootModuleEngineTest, AFailedFirstDiscoveryQuerySwitchesDiscoveryOffForGood)
{
    Start();
    bridge->listFailure = KR::kFail;
    EXPECT_EQ(engine->EnableRemoteDeviceDiscovery(true), KR::kFail);
    EXPECT_FALSE(engine->IsWorkerRunning());
    bridge->listFailure = 0;
    EXPECT_EQ(engine->EnableRemoteDeviceDiscovery(true), KR::kFail) << "the first answer stands";
    KR::Array<KR::Variant> devices;
    EXPECT_EQ(engine->GetRemoteDeviceList(devices), KR::kOk) << "a fresh query, discovery being off";
}

// The user interface switches discovery on without waiting: the first query is the worker's,
// which posts what it found, or switches discovery off again when the query fails.
TEST_F(RootModuleEngineTest, StartedDiscoveryLeavesTheFirstQueryToTheWorker)
{
    for (const bool fails : {false, true})
    {
        Start();
        bridge->listFailure = fails ? KR::kFail : 0;
        KR::Array<KR::Variant> one;
        one.AddItem(Device("a"));
        bridge->SetRemoteDevices(one);
        EXPECT_EQ(engine->StartRemoteDeviceDiscovery(), KR::kOk) << fails;
        if (fails)
        {
            EXPECT_TRUE(WaitUntil([&] { return !engine->IsWorkerRunning(); })) << "nothing else needs it";
            EXPECT_EQ(engine->StartRemoteDeviceDiscovery(), KR::kFail) << "the first answer stands";
            continue;
        }
        ASSERT_TRUE(WaitUntil([&] { return app.Queued() > 0; }));
        app.Drain();
        const auto counts = app.log->Payloads<LRootModuleEngine::CountHolder>(kNidRemoteDeviceListChange);
        ASSERT_EQ(counts.size(), 1u);
        EXPECT_EQ(counts[0]->Get(), 1u);
        KR::Array<KR::Variant> devices;
        ASSERT_EQ(engine->GetRemoteDeviceList(devices), KR::kOk);
        EXPECT_EQ(devices, one);
        EXPECT_EQ(engine->EnableRemoteDeviceDiscovery(true), KR::kOk) << "on already";
    }
}

TEST_F(RootModuleEngineTest, AFullQueryAfterTheChangeWaitsPostsOnlyARealChange)
{
    Start();
    bridge->blindWaits = true;
    bridge->queryResult = LDeviceCommunicationInterface::kListComplete;
    KR::Array<KR::Variant> one;
    one.AddItem(Device("a"));
    bridge->SetRemoteDevices(one);
    ASSERT_EQ(engine->EnableRemoteDeviceDiscovery(true), LDeviceCommunicationInterface::kListUnchanged);
    ASSERT_TRUE(WaitUntil([&] { return app.Queued() > 0; }));
    EXPECT_EQ(bridge->listQueries.load(), 1);
    EXPECT_EQ(bridge->listWaits.load(), 1 + LRootModuleEngine::kChangeWaitRounds);
    // The list is complete, so full queries follow, a pause apart; the same list again
    // is no change.
    ASSERT_TRUE(WaitUntil([&] { return bridge->listQueries.load() >= 2; }));
    EXPECT_EQ(bridge->listWaits.load(), 1 + LRootModuleEngine::kChangeWaitRounds);
    app.Drain();
    const auto counts = app.log->Payloads<LRootModuleEngine::CountHolder>(kNidRemoteDeviceListChange);
    ASSERT_EQ(counts.size(), 1u);
    EXPECT_EQ(counts[0]->Get(), 1u);
}

TEST_F(RootModuleEngineTest, AFailedConnectForgetsTheDeviceUnlessToldToWaitThenTheWorkerCompletesIt)
{
    bridge->connected = false;
    Start();
    bridge->watched = true;
    bridge->connectResult = -1;
    const KR::Variant keyboard = Device("keyboard");
    EXPECT_EQ(engine->ConnectDevice(keyboard, false), -1);
    EXPECT_EQ(engine->GetConnectionState(), LRootModuleEngine::kNoDevice);
    EXPECT_FALSE(engine->IsWorkerRunning());

    EXPECT_EQ(engine->ConnectDevice(keyboard, true), -1);
    EXPECT_EQ(engine->GetConnectionState(), LRootModuleEngine::kWaitingForDevice);
    EXPECT_TRUE(engine->IsWorkerRunning());
    bridge->connectResult = 0;
    // The worker sets the state before it posts it, so wait for the post itself.
    ASSERT_TRUE(WaitUntil(
        [&]
        {
            app.Drain();
            return PostedStates().size() >= 2;
        }));
    EXPECT_EQ(PostedStates(),
              (std::vector<State>{LRootModuleEngine::kWaitingForDevice, LRootModuleEngine::kConnected}));
    // Connected to a watched device, the worker goes on watching it.
    EXPECT_TRUE(engine->IsWorkerRunning());
    EXPECT_EQ(engine->Disconnect(), KR::kOk);
    EXPECT_TRUE(WaitUntil([&] { return !engine->IsWorkerRunning(); }));
}

TEST_F(RootModuleEngineTest, ReleasingTheEngineStopsItsWorkerAndFreesIt)
{
    Start();
    ASSERT_EQ(engine->EnableRemoteDeviceDiscovery(true), LDeviceCommunicationInterface::kListUnchanged);
    ASSERT_TRUE(engine->IsWorkerRunning());
    // The engine holds the bridge; once the engine is gone, only the test does.
    const std::int32_t withEngine = bridge->GetRefCount();
    ASSERT_GT(withEngine, 1);
    engine = nullptr;
    EXPECT_EQ(bridge->GetRefCount(), 1);
}

TEST_F(RootModuleEngineTest, ABridgeThatCannotStartLeavesTheEngineWithoutDevice)
{
    bridge->initResult = KR::kFail;
    engine = LRootModuleEngine::Create(bridge);
    // The model is numbered from the first id given.
    ASSERT_EQ(engine->Initialize(1000), KR::kOk);
    EXPECT_EQ(engine->GetFirstParamID(), 1000);
    KR::Variant value;
    ASSERT_EQ(engine->GetParamValue(KR::ParamDescriptor(1130), value), KR::kOk);
    EXPECT_EQ(support::BytesOf(value), expected::DefaultBlocks()[130]);
    EXPECT_EQ(bridge->connects.load(), 0);
    EXPECT_EQ(engine->GetConnectionState(), LRootModuleEngine::kNoDevice);
    app.Drain();
    EXPECT_EQ(app.log->Payloads<LParamValuesWrapper>(kNidParamModuleStateChange).size(), 1u);
}

} // namespace
