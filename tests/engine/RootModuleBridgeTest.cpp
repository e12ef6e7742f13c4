// The device model's root module on the real bridge: what the stand-in library
// delivers on its thread reaches the model on the bridge's worker.

#include "engine/DeviceCommunicationBridge.h"

#include "EngineTestSupport.h"
#include "device/ParamCache.h"
#include "device/RootModule.h"
#include "libs/devicecontrol_standin/StandIn.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace
{

// The engine's part: what the root module announces as changed.
struct Announcements
{
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<KR::ParamValue> changes;
    std::vector<std::thread::id> threads;

    static void Collect(void* context, KR::Array<KR::ParamValue>& changed)
    {
        auto& self = *static_cast<Announcements*>(context);
        const std::lock_guard lock(self.mutex);
        for (std::uint32_t i = 0; i < changed.GetCount(); ++i)
        {
            self.changes.push_back(changed.ElementAt(i));
            self.threads.push_back(std::this_thread::get_id());
        }
        self.arrived.notify_all();
    }
    bool WaitFor(std::size_t count)
    {
        std::unique_lock lock(mutex);
        return arrived.wait_for(lock, support::kPatience, [&] { return changes.size() >= count; });
    }
};

TEST(RootModuleBridgeTest, DeliveriesOfTheConnectedDeviceReachTheModelOnTheBridgesWorker)
{
    Announcements announced;
    const KR::RCPtr<LDeviceCommunicationBridge> bridge =
        LDeviceCommunicationBridge::Create(support::BesideTheTests(StandIn::kLibraryFileName));
    ASSERT_EQ(bridge->Init(), KR::kOk);
    KR::RCPtr<LRootModule> root = LRootModule::Create(false);
    root->Setup(&Announcements::Collect, &announced, LParamCache::Create(131), bridge, 0);
    ASSERT_TRUE(bridge->IsReceiving());

    KR::Variant device;
    device.SetString(StandIn::kStandInDeviceName);
    ASSERT_GE(root->ConnectDevice(device), 0);
    ASSERT_TRUE(announced.WaitFor(StandIn::kStandInDeliveryCount));
    {
        const std::lock_guard lock(announced.mutex);
        ASSERT_EQ(announced.changes.size(), StandIn::kStandInDeliveryCount);
        for (std::int32_t n = 0; n < static_cast<std::int32_t>(announced.changes.size()); ++n)
        {
            EXPECT_EQ(announced.changes[n].descriptor.id, StandIn::kStandInFirstParamId + n);
            EXPECT_EQ(announced.changes[n].value.ToInt32(), n);
            EXPECT_EQ(announced.threads[n], announced.threads[0]);
        }
        EXPECT_NE(announced.threads[0], std::this_thread::get_id());
    }
    root->StopReceiving();
    EXPECT_FALSE(bridge->IsReceiving());
    root = KR::RCPtr<LRootModule>();
}

} // namespace
