// The device list as the engine sees it through the bridge and the real library:
// the keyboard is listed while the simulated keyboard's ports exist.

#include "engine/DeviceCommunicationBridge.h"

#include "kr/core/Types.h"
#include "libs/devicecontrol/DeviceControlClientApi.h"
#include "support/simkeyboard/SimKeyboardProcess.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace
{

// Long enough for a loaded machine; the wait ends as soon as the list changes.
constexpr std::uint32_t kListChangeTimeoutMs = 10000;

KR::Variant Keyboard()
{
    KR::Variant device;
    device.SetString(DCCI_KEYBOARD_NAME);
    return device;
}

class DeviceListJackTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mBridge = LDeviceCommunicationBridge::Create();
        ASSERT_EQ(mBridge->Init(), KR::kOk);
    }

    // Waits for the list to change from what `devices` holds.
    std::int32_t WaitForChange(KR::Array<KR::Variant>& devices)
    {
        return mBridge->WaitForDeviceListChange(KR::Array<KR::Guid>(), devices, kListChangeTimeoutMs);
    }

    KR::RCPtr<LDeviceCommunicationBridge> mBridge;
};

TEST_F(DeviceListJackTest, KeyboardIsListedWhileTheSimulatorRunsAndGoneAfterItQuits)
{
    KR::Array<KR::Variant> devices;
    ASSERT_GE(mBridge->QueryDeviceList(KR::Array<KR::Guid>(), devices), 0);
    ASSERT_EQ(devices.GetCount(), 0u) << "a keyboard is there before the simulator started";

    std::string error;
    std::unique_ptr<KR::TestSupport::SimKeyboardProcess> keyboard =
        KR::TestSupport::SimKeyboardProcess::Start({}, &error);
    ASSERT_TRUE(keyboard) << error;
    EXPECT_EQ(WaitForChange(devices), LDeviceCommunicationInterface::kListChanged);
    ASSERT_EQ(devices.GetCount(), 1u);
    EXPECT_EQ(devices.ElementAt(0), Keyboard());
    EXPECT_EQ(mBridge->QueryDeviceList(KR::Array<KR::Guid>(), devices),
              LDeviceCommunicationInterface::kListComplete);
    EXPECT_EQ(devices.GetCount(), 1u);

    keyboard.reset();
    EXPECT_EQ(WaitForChange(devices), LDeviceCommunicationInterface::kListChanged);
    EXPECT_EQ(devices.GetCount(), 0u);
    EXPECT_GE(mBridge->QueryDeviceList(KR::Array<KR::Guid>(), devices), 0);
    EXPECT_EQ(devices.GetCount(), 0u);
}

TEST_F(DeviceListJackTest, KeyboardConnectsAndAsksForItsConnectionToBeWatched)
{
    std::string error;
    const std::unique_ptr<KR::TestSupport::SimKeyboardProcess> keyboard =
        KR::TestSupport::SimKeyboardProcess::Start({}, &error);
    ASSERT_TRUE(keyboard) << error;
    KR::Array<KR::Variant> devices;
    ASSERT_EQ(WaitForChange(devices), LDeviceCommunicationInterface::kListChanged);
    ASSERT_EQ(devices.GetCount(), 1u);

    DeviceInfoRecord info;
    ASSERT_GE(mBridge->GetDeviceInfo(devices.ElementAt(0), info), 0);
    EXPECT_TRUE(info.IsWatched());
    ASSERT_GE(mBridge->ConnectDevice(devices.ElementAt(0)), 0);
    // With the library there, even the names come from it.
    KR::Variant maker;
    EXPECT_EQ(mBridge->GetParamValue(KR::ParamDescriptor(-9), maker), KR::kOk);
    EXPECT_STREQ(maker.GetString(), DCCI_KEYBOARD_MAKER);
    KR::Variant connected;
    EXPECT_EQ(mBridge->GetParamValue(KR::ParamDescriptor(-2), connected), KR::kOk);
    EXPECT_TRUE(connected.ToBool());
    EXPECT_EQ(mBridge->DisconnectDevice(), DCCI_OK);
}

} // namespace
