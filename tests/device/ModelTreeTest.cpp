// Numbering and routing through the device, its groups and the controls.

#include "device/RootModule.h"

#include "device/ModelTestSupport.h"
#include "device/RecordingBridge.h"

#include <gtest/gtest.h>

namespace
{

using support::LogicErrorOf;

KR::RCPtr<LRootModule> SetUpRoot(std::int32_t firstParamID)
{
    KR::RCPtr<LRootModule> root = LRootModule::Create(false);
    root->Setup(nullptr, nullptr, LParamCache::Create(131), RecordingBridge::Create(), firstParamID);
    return root;
}

class ModelTree : public ::testing::TestWithParam<std::int32_t>
{
protected:
    ModelTree() : first(GetParam()), root(SetUpRoot(first)) {}

    std::int32_t first;
    KR::RCPtr<LRootModule> root;
};

INSTANTIATE_TEST_SUITE_P(FirstIds, ModelTree, ::testing::Values(0, 1000, -500));

TEST_P(ModelTree, DeviceRoutesEveryIdToTheControlThatOwnsIt)
{
    const KR::RCPtr<IDevice> device = root->GetDevice();
    EXPECT_EQ(device->GetFirstParamID(), first);
    EXPECT_FALSE(device->GetModuleForParamID(first - 1));
    EXPECT_FALSE(device->GetModuleForParamID(first + 131));
    EXPECT_FALSE(root->GetModuleForParamID(first - 1));
    EXPECT_FALSE(root->GetModuleForParamID(first + 131));
    EXPECT_EQ(device->GetModuleForParamID(first).Get(), device->GetPresetName().Get());
    EXPECT_EQ(device->GetModuleForParamID(first + 7).Get(), device->GetPedals()->GetVolumePedal().Get());
    EXPECT_EQ(device->GetModuleForParamID(first + 8).Get(), device->GetPedals()->GetSustainPedal().Get());
    EXPECT_EQ(root->GetModuleForParamID(first + 130).Get(),
              device->GetTouchPadAxises()->GetTouchPadAxis(1).Get());
    for (std::int32_t offset = 0; offset < 131; ++offset)
    {
        const KR::RCPtr<LParameterizedModule> control = root->GetModuleForParamID(first + offset);
        ASSERT_TRUE(control) << offset;
        EXPECT_EQ(control->GetFirstParamID(), first + offset);
        EXPECT_EQ(control->GetOwnParamCount(), 1);
    }
}

TEST_P(ModelTree, GroupsNumberTheirControlsByIndex)
{
    const KR::RCPtr<IDevice> device = root->GetDevice();
    const KR::RCPtr<IFader> fader = device->GetFaders()->GetFader(35);
    EXPECT_EQ(fader->GetFirstParamID(), first + 96);
    EXPECT_EQ(fader->GetIndex(), 35);
    EXPECT_EQ(fader->GetParent().Get(), device->GetFaders().Get());
    const KR::RCPtr<IPushButton> button = device->GetPushButtons()->GetPushButton(0);
    EXPECT_EQ(button->GetFirstParamID(), first + 25);
    EXPECT_EQ(button->GetIndex(), 0);
    const KR::RCPtr<IPedals> pedals = device->GetPedals();
    EXPECT_EQ(pedals->GetVolumePedal()->GetFirstParamID(), first + 7);
    EXPECT_EQ(pedals->GetSustainPedal()->GetFirstParamID(), first + 8);
    EXPECT_EQ(pedals->GetVolumePedal()->GetIndex(), 0);
    EXPECT_EQ(pedals->GetSustainPedal()->GetIndex(), 0);
    EXPECT_EQ(device->GetIndex(), 0);
    EXPECT_EQ(device->GetParent().Get(), static_cast<LParameterizedModule*>(root.Get()));
    EXPECT_EQ(root->GetRootModule().Get(), static_cast<LParameterizedModule*>(root.Get()));
    EXPECT_EQ(fader->GetRootModule().Get(), static_cast<LParameterizedModule*>(root.Get()));
}

TEST_P(ModelTree, GroupRoutesOnlyItsOwnIds)
{
    const KR::RCPtr<IEncoders> encoders = root->GetDevice()->GetEncoders();
    for (std::int32_t i = 0; i < 32; ++i)
    {
        EXPECT_EQ(encoders->GetModuleForParamID(first + 97 + i).Get(), encoders->GetEncoder(i).Get());
    }
    EXPECT_FALSE(encoders->GetModuleForParamID(first + 96));
    EXPECT_FALSE(encoders->GetModuleForParamID(first + 129));
    EXPECT_FALSE(encoders->GetModuleForParamID(INT32_MIN)); // far below: the offset is unsigned
    const KR::RCPtr<IPedals> pedals = root->GetDevice()->GetPedals();
    EXPECT_EQ(pedals->GetModuleForParamID(first + 7).Get(), pedals->GetVolumePedal().Get());
    EXPECT_FALSE(pedals->GetModuleForParamID(first + 6));
    EXPECT_FALSE(pedals->GetModuleForParamID(first + 9));
}

TEST(ModelTreeAccessors, ConstAccessorsAnswerTheSameNodes)
{
    const KR::RCPtr<LRootModule> root = SetUpRoot(0);
    const KR::RCPtr<IDevice> device = root->GetDevice();
    EXPECT_EQ(root->GetDeviceConst().Get(), device.Get());
    EXPECT_EQ(device->GetEncodersConst().Get(), device->GetEncoders().Get());
    EXPECT_EQ(device->GetEncoders()->GetEncoderConst(5).Get(), device->GetEncoders()->GetEncoder(5).Get());
    EXPECT_EQ(device->GetPedals()->GetSustainPedalConst().Get(),
              device->GetPedals()->GetSustainPedal().Get());
    EXPECT_EQ(device->GetTouchPadAxisesConst().Get(), device->GetTouchPadAxises().Get());
    EXPECT_EQ(root->GetConstModuleForParamID(3).Get(), root->GetModuleForParamID(3).Get());
    // Outside the group the accessors answer null rather than reading past the children.
    EXPECT_FALSE(device->GetEncoders()->GetEncoder(32));
    EXPECT_FALSE(device->GetEncoders()->GetEncoder(-1));
    EXPECT_FALSE(device->GetWheels()->GetWheelConst(2));
}

TEST(ModelTreeNumbering, GroupWithoutParentFailsOnItsFirstControl)
{
    const KR::RCPtr<LEncoders> encoders = LEncoders::Create();
    EXPECT_FALSE(encoders->GetEncoder(0)->GetParent()); // created, not yet numbered
    // Alone, the group is its own root, so encoder 0 sits at offset 0.
    EXPECT_EQ(LogicErrorOf([&] { encoders->SetFirstParamID(nullptr, 97, 0); }),
              "Logic Error : Invalid FirstParamID : LEncoder::SetFirstParamID : "
              "DeviceControl\\GeneratedCode\\Engine\\Src\\Encoder : Line 134");
    EXPECT_EQ(encoders->GetFirstParamID(), 97);
    EXPECT_EQ(encoders->GetEncoder(0)->GetFirstParamID(), 97);
    EXPECT_EQ(encoders->GetEncoder(1)->GetFirstParamID(), 0); // the loop stopped at encoder 0
}

TEST(ModelTreeNumbering, DeviceBelowARootWithAnotherFirstIdFailsOnThePresetName)
{
    const KR::RCPtr<LRootModule> root = SetUpRoot(0);
    const KR::RCPtr<IDevice> device = root->GetDevice();
    // Children are numbered before the device checks itself, so the first of them
    // to sit at a wrong place reports it.
    EXPECT_EQ(LogicErrorOf([&] { device->SetFirstParamID(root.Get(), 1, 0); }),
              "Logic Error : Invalid FirstParamID : LPresetName::SetFirstParamID : "
              "DeviceControl\\GeneratedCode\\Engine\\Src\\PresetName : Line 72");
}

TEST(ModelTreeNumbering, ContainersRefuseLocalAccessAndHaveNoDefault)
{
    const KR::RCPtr<LRootModule> root = SetUpRoot(0);
    const KR::RCPtr<IFaders> faders = root->GetDevice()->GetFaders();
    const char* setText = "Logic Error : LParameterizedModule::SetParamValueLocal : "
                          "DeviceControl\\GeneratedCode\\Engine\\Inc\\RootModuleInterface : Line 102";
    const char* getText = "Logic Error : LParameterizedModule::GetParamValueLocal : "
                          "DeviceControl\\GeneratedCode\\Engine\\Inc\\RootModuleInterface : Line 116";
    for (LParameterizedModule* node :
         std::initializer_list<LParameterizedModule*>{faders.Get(), root->GetDevice().Get(), root.Get()})
    {
        EXPECT_EQ(
            LogicErrorOf([&] { node->SetParamValueLocal(KR::ParamDescriptor(61), KR::Variant(), false); }),
            setText);
        EXPECT_EQ(LogicErrorOf([&] { node->GetParamValueLocal(KR::ParamDescriptor(61)); }), getText);
        EXPECT_EQ(node->GetParamValueDefault(61).GetType(), KR::Variant::kEmpty);
        EXPECT_EQ(node->GetOwnParamCount(), 0);
    }
}

TEST(ModelTreeNumbering, VisitParamsLeavesTheValuesAlone)
{
    support::ChangeLog log;
    KR::RCPtr<LRootModule> root = LRootModule::Create(false);
    const KR::RCPtr<LParamCache> cache = LParamCache::Create(131);
    root->Setup(&support::ChangeLog::Callback, &log, cache, RecordingBridge::Create(), 0);
    KR::Variant before;
    cache->GetValue(KR::ParamDescriptor(50), before);
    root->VisitParams();
    root->VisitParamsConst();
    KR::Variant after;
    cache->GetValue(KR::ParamDescriptor(50), after);
    EXPECT_TRUE(before == after);
    EXPECT_TRUE(log.Changes().empty());
}

// A panel-like encoder: records the walks that reach it.
class VisitedEncoder final : public IEncoder
{
public:
    explicit VisitedEncoder(std::vector<std::int32_t>& visits) : mVisits(visits) {}
    void VisitParams() override { mVisits.push_back(GetIndex()); }

private:
    std::vector<std::int32_t>& mVisits;
};

// A group panel: supplies only its accessor and reuses the interface's behaviour.
class EncoderGroupPanel final : public IEncoders
{
public:
    explicit EncoderGroupPanel(std::vector<std::int32_t>& visits)
    {
        for (auto& child : mChildren)
        {
            child = KR::RCPtr<VisitedEncoder>(new VisitedEncoder(visits));
        }
    }
    KR::RCPtr<IEncoder> GetEncoder(std::int32_t index) override { return mChildren[index]; }

private:
    KR::RCPtr<VisitedEncoder> mChildren[32];
};

TEST(ModelTreeGroupPanel, GetsNumberingRoutingAndWalksFromTheInterface)
{
    std::vector<std::int32_t> visits;
    const KR::RCPtr<EncoderGroupPanel> panel(new EncoderGroupPanel(visits));
    panel->SetFirstParamID(nullptr, 500, 0);
    for (std::int32_t i = 0; i < 32; ++i)
    {
        const KR::RCPtr<IEncoder> child = panel->GetEncoder(i);
        EXPECT_EQ(child->GetFirstParamID(), 500 + i);
        EXPECT_EQ(child->GetIndex(), i);
        EXPECT_EQ(child->GetParent().Get(), static_cast<LParameterizedModule*>(panel.Get()));
        EXPECT_EQ(panel->GetModuleForParamID(500 + i).Get(), child.Get());
    }
    EXPECT_FALSE(panel->GetModuleForParamID(532));
    EXPECT_EQ(panel->GetEncoderConst(3).Get(), panel->GetEncoder(3).Get());
    panel->VisitParams();
    std::vector<std::int32_t> inOrder(32);
    for (std::int32_t i = 0; i < 32; ++i)
    {
        inOrder[i] = i;
    }
    EXPECT_EQ(visits, inOrder);
}

} // namespace
