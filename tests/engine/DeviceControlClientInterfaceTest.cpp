#include "engine/DeviceControlClientInterface.h"

#include "EngineTestSupport.h"
#include "libs/devicecontrol_standin/StandIn.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <vector>

namespace
{

using KR::DeviceControlClientInterface;
using support::BesideTheTests;

KR::Variant StandInDevice()
{
    KR::Variant device;
    device.SetString(StandIn::kStandInDeviceName);
    return device;
}

TEST(DeviceControlClientInterfaceTest, AMissingLibraryOrOneWithoutTheEntryPointsAnswersMinusOneForEachCall)
{
    EXPECT_EQ(DeviceControlClientInterface::DefaultLibraryPath(),
              BesideTheTests("libDeviceControlClient.so"));
    DeviceControlClientInterface missing(support::MissingLibraryPath());
    EXPECT_FALSE(missing.IsLoaded());
    EXPECT_FALSE(missing.GetLoadError().empty());
    // A real library of the program, but not this one.
    DeviceControlClientInterface other(BesideTheTests("libIniFileManager.so"));
    ASSERT_TRUE(other.IsLoaded()) << other.GetLoadError();
    EXPECT_EQ(other.GetMissingEntryPoints().size(), 14u);

    for (DeviceControlClientInterface* client : {&missing, &other})
    {
        const KR::Array<KR::Guid> noFilter;
        const KR::Variant device = StandInDevice();
        KR::Variant out;
        KR::ParamRanges ranges;
        KR::ParamValues values;
        DCCI_DeviceInfo info{};
        const std::int32_t answers[] = {
            client->FindDevices(noFilter, out),
            client->FindRemoteDevices(noFilter, out, 1),
            client->ConnectDevice(device, nullptr, nullptr),
            client->RequestParamRanges(device, KR::ParamRanges()),
            client->RequestParamValues(device, KR::ParamDescriptors()),
            client->GetParamRanges(device, KR::Variant(), ranges),
            client->GetParamValues(device, KR::ParamDescriptors(), values),
            client->GetParamValue(device, KR::ParamDescriptor(-9), out),
            client->SetParamValue(device, KR::ParamDescriptor(5), KR::Variant()),
            client->SetParamValues(device, KR::ParamValues()),
            client->DisconnectDevice(device),
            client->GetDeviceInfo(device, info),
        };
        for (std::size_t k = 0; k < std::size(answers); ++k)
        {
            EXPECT_EQ(answers[k], DeviceControlClientInterface::kMissing) << "call " << k;
        }
        EXPECT_FALSE(client->IsDeviceConnected(device));
    }
}

TEST(DeviceControlClientInterfaceTest, DeviceListsAndInfoArriveWholeWithTheLibrarysResult)
{
    DeviceControlClientInterface client(BesideTheTests(StandIn::kLibraryFileName));
    ASSERT_TRUE(client.IsLoaded()) << client.GetLoadError();
    EXPECT_TRUE(client.GetMissingEntryPoints().empty());
    KR::Variant devices;
    EXPECT_EQ(client.FindRemoteDevices(KR::Array<KR::Guid>(), devices, 1), DCCI_LIST_COMPLETE);
    ASSERT_EQ(devices.GetArraySize(), 1u);
    KR::Variant first;
    devices.GetArrayElement(0, first);
    EXPECT_EQ(first, StandInDevice());
    EXPECT_EQ(client.FindRemoteDevices(KR::Array<KR::Guid>{KR::Guid{1, 2, 3, {4}}}, devices, 0), DCCI_OK);
    EXPECT_EQ(client.FindDevices(KR::Array<KR::Guid>(), devices), DCCI_LIST_COMPLETE);
    EXPECT_EQ(devices.GetArraySize(), 1u);

    DCCI_DeviceInfo info{};
    ASSERT_EQ(client.GetDeviceInfo(StandInDevice(), info), DCCI_OK);
    EXPECT_STREQ(info.product, StandIn::kStandInDeviceName);
    EXPECT_EQ(info.present, 1);
}

// Collects what a connection delivers, from the library's thread.
struct Deliveries
{
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<std::uint32_t> sequences;
    std::vector<KR::ParamValues> lists;

    static void Receive(void* context, std::uint32_t sequence, KR::ParamValues& values)
    {
        auto& self = *static_cast<Deliveries*>(context);
        const std::lock_guard lock(self.mutex);
        self.sequences.push_back(sequence);
        self.lists.push_back(values);
        self.arrived.notify_all();
    }
    bool WaitFor(std::size_t count)
    {
        std::unique_lock lock(mutex);
        return arrived.wait_for(lock, support::kPatience, [&] { return lists.size() >= count; });
    }
};

TEST(DeviceControlClientInterfaceTest, DeliveriesReachTheCallbackAsParameterListsInOrder)
{
    Deliveries deliveries;
    {
        DeviceControlClientInterface client(BesideTheTests(StandIn::kLibraryFileName));
        ASSERT_EQ(client.ConnectDevice(StandInDevice(), &Deliveries::Receive, &deliveries), DCCI_OK);
        ASSERT_TRUE(deliveries.WaitFor(StandIn::kStandInDeliveryCount));
        EXPECT_EQ(client.DisconnectDevice(StandInDevice()), DCCI_OK);
    }
    const std::lock_guard lock(deliveries.mutex);
    ASSERT_EQ(deliveries.lists.size(), StandIn::kStandInDeliveryCount);
    for (std::uint32_t n = 0; n < StandIn::kStandInDeliveryCount; ++n)
    {
        EXPECT_EQ(deliveries.sequences[n], n);
        KR::ParamValue entry;
        ASSERT_EQ(deliveries.lists[n].GetAt(0, entry), 0);
        EXPECT_EQ(entry.descriptor.id, StandIn::kStandInFirstParamId + static_cast<std::int32_t>(n));
        EXPECT_EQ(entry.value.ToInt32(), static_cast<std::int32_t>(n));
    }
}

TEST(DeviceControlClientInterfaceTest, ReleasingTheClientInTheMidstOfDeliveriesEndsThemCleanly)
{
    Deliveries deliveries;
    {
        DeviceControlClientInterface client(BesideTheTests(StandIn::kLibraryFileName));
        ASSERT_EQ(client.ConnectDevice(StandInDevice(), &Deliveries::Receive, &deliveries), DCCI_OK);
        ASSERT_TRUE(deliveries.WaitFor(1));
        // The destructor releases the library while its thread is still delivering.
    }
    const std::lock_guard lock(deliveries.mutex);
    ASSERT_LE(deliveries.sequences.size(), StandIn::kStandInDeliveryCount);
    for (std::uint32_t n = 0; n < deliveries.sequences.size(); ++n)
    {
        EXPECT_EQ(deliveries.sequences[n], n);
    }
}

} // namespace
