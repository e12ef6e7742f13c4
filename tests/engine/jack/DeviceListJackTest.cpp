// The device list as the engine sees it through the bridge and the real library: the
// keyboard is listed while the simulated keyboard's ports exist.

#include "engine/DeviceCommunicationBridge.h"

#include "kr/core/Types.h"
#include "libs/devicecontrol/DeviceControlClientApi.h"
#include "support/simkeyboard/SimKeyboardProcess.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <memory>
#include <string>

namespace
{

using KR::TestSupport::kLinuxClient;

TEST(DeviceListJackTest, KeyboardIsListedAndConnectsWhileTheSimulatorRunsAndIsGoneAfterItQuits)
{
    const KR::RCPtr<LDeviceCommunicationBridge> bridge = LDeviceCommunicationBridge::Create();
    ASSERT_EQ(bridge->Init(), KR::kOk);
    const KR::Array<KR::Guid> all;
    KR::Array<KR::Variant> devices;
    ASSERT_GE(bridge->QueryDeviceList(all, devices), 0);
    ASSERT_EQ(devices.GetCount(), 0u) << "a keyboard is there before the simulator started";

    std::string error;
    auto keyboard = KR::TestSupport::SimKeyboardProcess::Start({}, &error);
    ASSERT_TRUE(keyboard) << error;
    // Long enough for a loaded machine; the wait ends as soon as the list changes.
    EXPECT_EQ(bridge->WaitForDeviceListChange(all, devices, 10000),
              LDeviceCommunicationInterface::kListChanged);
    ASSERT_EQ(devices.GetCount(), 1u);
    EXPECT_STREQ(devices.ElementAt(0).GetString(), DCCI_KEYBOARD_NAME);
    EXPECT_EQ(bridge->QueryDeviceList(all, devices), LDeviceCommunicationInterface::kListComplete);

    DeviceInfoRecord info;
    ASSERT_GE(bridge->GetDeviceInfo(devices.ElementAt(0), info), 0);
    EXPECT_TRUE(info.IsWatched());
    ASSERT_GE(bridge->ConnectDevice(devices.ElementAt(0)), 0);
    // With the library there, even the names come from it.
    KR::Variant value;
    EXPECT_EQ(bridge->GetParamValue(KR::ParamDescriptor(-9), value), KR::kOk);
    EXPECT_STREQ(value.GetString(), DCCI_KEYBOARD_MAKER);
    EXPECT_EQ(bridge->GetParamValue(KR::ParamDescriptor(-2), value), KR::kOk);
    EXPECT_TRUE(value.ToBool());
    EXPECT_EQ(bridge->DisconnectDevice(), DCCI_OK);

    keyboard.reset();
    EXPECT_EQ(bridge->WaitForDeviceListChange(all, devices, 10000),
              LDeviceCommunicationInterface::kListChanged);
    EXPECT_EQ(devices.GetCount(), 0u);
}

TEST(DeviceListJackTest, KeyboardUnderItsLinuxNamesIsListedWhenItHasAFourthPort)
{
    const KR::RCPtr<LDeviceCommunicationBridge> bridge = LDeviceCommunicationBridge::Create();
    ASSERT_EQ(bridge->Init(), KR::kOk);
    for (const char* ports : {"4", "3"})
    {
        std::string error;
        const auto keyboard = KR::TestSupport::SimKeyboardProcess::Start(
            {"--linux", kLinuxClient, "--linux-ports", ports}, &error);
        ASSERT_TRUE(keyboard) << error;
        KR::Array<KR::Variant> devices;
        ASSERT_GE(bridge->QueryDeviceList(KR::Array<KR::Guid>(), devices), 0);
        EXPECT_EQ(devices.GetCount(), ports[0] == '4' ? 1u : 0u) << ports << " ports";
    }
}

} // namespace
