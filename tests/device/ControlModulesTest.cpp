#include "device/ControlModules.h"
#include "device/RootModule.h"

#include "device/ExpectedPreset.h"
#include "device/ModelTestSupport.h"
#include "device/RecordingBridge.h"

#include <gtest/gtest.h>

namespace
{

using support::Blob;
using support::BytesOf;
using support::LogicErrorOf;

// A root module set up with first id 0 over a recording bridge.
class ControlModules : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = LRootModule::Create(false);
        bridge = RecordingBridge::Create();
        root->Setup(&support::ChangeLog::Callback, &log, LParamCache::Create(131), bridge, 0);
        bridge->Forget();
    }

    KR::RCPtr<LParameterizedModule> Control(std::int32_t id) { return root->GetModuleForParamID(id); }

    support::ChangeLog log;
    KR::RCPtr<LRootModule> root;
    KR::RCPtr<RecordingBridge> bridge;
};

struct KindTexts
{
    std::int32_t id; // a parameter of the kind
    std::int32_t foreignFirstParamID;
    const char* name;
    const char* source;
    int setFirstLine;
    int getLocalLine;
    int getDefaultLine;
};

const KindTexts kKinds[] = {
    {0, 1, "LPresetName", "PresetName", 72, 91, 210},
    {1, 5, "LKeybedZone", "KeybedZone", 78, 97, 217},
    {5, 7, "LWheel", "Wheel", 74, 93, 218},
    {7, 8, "LVolumePedal", "VolumePedal", 72, 91, 210},
    {8, 7, "LSustainPedal", "SustainPedal", 72, 91, 210},
    {9, 25, "LPad", "Pad", 102, 121, 241},
    {25, 61, "LPushButton", "PushButton", 142, 161, 281},
    {61, 97, "LFader", "Fader", 142, 161, 281},
    {97, 129, "LEncoder", "Encoder", 134, 153, 273},
    {129, 128, "LTouchPadAxis", "TouchPadAxis", 74, 93, 221},
};

std::string Text(const char* head, const KindTexts& kind, const char* operation, int line)
{
    return std::string(head) + kind.name + "::" + operation +
           " : DeviceControl\\GeneratedCode\\Engine\\Src\\" + kind.source + " : Line " + std::to_string(line);
}

TEST_F(ControlModules, EveryKindThrowsItsOwnTextsForAForeignId)
{
    for (const KindTexts& kind : kKinds)
    {
        SCOPED_TRACE(kind.name);
        const KR::RCPtr<LParameterizedModule> control = Control(kind.id);
        ASSERT_TRUE(control);
        const std::int32_t foreign = kind.id + 1;
        EXPECT_EQ(LogicErrorOf([&] { control->GetParamValueLocal(KR::ParamDescriptor(foreign)); }),
                  Text("Logic Error : ", kind, "GetParamValueLocal", kind.getLocalLine));
        EXPECT_EQ(LogicErrorOf([&] { control->GetParamValueDefault(foreign); }),
                  Text("Logic Error : ", kind, "GetParamValueDefault", kind.getDefaultLine));
        LParameterizedModule* parent = control->GetParent().Get();
        EXPECT_EQ(LogicErrorOf([&] { control->SetFirstParamID(parent, kind.foreignFirstParamID, 3); }),
                  Text("Logic Error : Invalid FirstParamID : ", kind, "SetFirstParamID", kind.setFirstLine));
    }
}

TEST_F(ControlModules, WrongPlacementKeepsTheFieldsJustStored)
{
    const KR::RCPtr<LParameterizedModule> encoder = Control(100);
    LParameterizedModule* group = encoder->GetParent().Get();
    EXPECT_THROW(encoder->SetFirstParamID(group, 129, 7), std::logic_error);
    EXPECT_EQ(encoder->GetFirstParamID(), 129);
    EXPECT_EQ(encoder->GetIndex(), 7);
    EXPECT_EQ(encoder->GetParent().Get(), group);
}

TEST(ControlModuleWithoutParent, TouchPadAxisPastTheSecondHasAnEmptyDefault)
{
    const KR::RCPtr<LTouchPadAxis> axis = LTouchPadAxis::Create();
    // Outside a tree the axis is its own root and refuses the place, but keeps the index.
    EXPECT_THROW(axis->SetFirstParamID(nullptr, 0, 2), std::logic_error);
    ASSERT_EQ(axis->GetIndex(), 2);
    EXPECT_EQ(axis->GetParamValueDefault(0).GetType(), KR::Variant::kEmpty);
}

TEST_F(ControlModules, ForeignIdsAreRefusedWithoutThrowingOnWrite)
{
    const KR::RCPtr<LParameterizedModule> fader = Control(70);
    const KR::Variant value = Blob({1, 2, 3, 4, 5, 6});
    EXPECT_EQ(fader->SetParamValueLocal(KR::ParamDescriptor(71), value, false), -1);
    for (std::int32_t id : {-128, -1, -257, INT32_MIN})
    {
        EXPECT_EQ(fader->SetParamValueLocal(KR::ParamDescriptor(id), value, false), -1) << id;
    }
    EXPECT_TRUE(log.Changes().empty());
    EXPECT_TRUE(bridge->Calls().empty());
}

TEST_F(ControlModules, DeviceMetaValuesGoToTheBridgeOnlyWhenEditedLocally)
{
    const KR::RCPtr<LParameterizedModule> pad = Control(9);
    const KR::Variant value = Blob({9});
    EXPECT_EQ(pad->SetParamValueLocal(KR::ParamDescriptor(-129), value, true), 1);
    EXPECT_EQ(pad->SetParamValueLocal(KR::ParamDescriptor(-256), value, true), 1);
    EXPECT_TRUE(bridge->Calls().empty());

    EXPECT_EQ(pad->SetParamValueLocal(KR::ParamDescriptor(-129), value, false), 1);
    EXPECT_EQ(pad->SetParamValueLocal(KR::ParamDescriptor(-256), value, false), 1);
    const auto calls = bridge->Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].operation, "SetParamValue");
    EXPECT_EQ(calls[0].id, -129);
    EXPECT_TRUE(calls[0].value == value);
    EXPECT_EQ(calls[1].id, -256);
    EXPECT_TRUE(log.Changes().empty()); // nothing climbs to the cache
}

TEST_F(ControlModules, OwnValueOfAnySizeClimbsToTheCacheUnchanged)
{
    const KR::RCPtr<LParameterizedModule> encoder = Control(97);
    const KR::Variant shortBlock = Blob({1, 2, 3});
    EXPECT_EQ(encoder->SetParamValueLocal(KR::ParamDescriptor(97), shortBlock, false), 0);
    EXPECT_EQ(BytesOf(encoder->GetParamValueLocal(KR::ParamDescriptor(97))),
              (std::vector<std::uint8_t>{1, 2, 3}));
    ASSERT_EQ(log.Changes().size(), 1u);
    EXPECT_EQ(log.Changes()[0].id, 97);
}

TEST_F(ControlModules, RoutingOnAControlAnswersTheControlForAnyId)
{
    const KR::RCPtr<LParameterizedModule> wheel = Control(6);
    EXPECT_EQ(wheel->GetModuleForParamID(-5).Get(), wheel.Get());
    EXPECT_EQ(wheel->GetModuleForParamID(1000).Get(), wheel.Get());
    EXPECT_EQ(wheel->GetConstModuleForParamID(0).Get(), wheel.Get());
}

TEST(ControlModuleWithoutParent, AnswersMinusOneAndEmptyInsteadOfFollowingANullParent)
{
    const KR::RCPtr<LEncoder> encoder = LEncoder::Create();
    EXPECT_EQ(encoder->GetFirstParamID(), 0);
    EXPECT_FALSE(encoder->GetParent());
    const KR::Variant value = Blob({1, 2, 3, 4, 5, 6});
    EXPECT_EQ(encoder->SetParamValueLocal(KR::ParamDescriptor(0), value, false), -1);
    EXPECT_EQ(encoder->SetParamValue(KR::ParamDescriptor(0), value), -1);
    EXPECT_EQ(encoder->GetParamValueLocal(KR::ParamDescriptor(0)).GetType(), KR::Variant::kEmpty);
    EXPECT_EQ(encoder->GetParamValue(KR::ParamDescriptor(0)).GetType(), KR::Variant::kEmpty);
    EXPECT_EQ(encoder->SetCachedParamValue(KR::ParamDescriptor(0), value), KR::kFail);
    // A meta value edited on a control outside any root reaches no bridge, and says so.
    EXPECT_EQ(encoder->SetParamValueLocal(KR::ParamDescriptor(-200), value, false), 1);
    EXPECT_EQ(encoder->GetRootModule().Get(), encoder.Get());
}

TEST(ControlModuleWithoutParent, BuildsItsDefaultFromItsIndexAlone)
{
    const KR::RCPtr<LTouchPadAxis> axis = LTouchPadAxis::Create();
    EXPECT_EQ(BytesOf(axis->GetParamValueDefault(0)), expected::DefaultBlocks()[129]);
    const KR::RCPtr<LPresetName> name = LPresetName::Create();
    name->SetFirstParamID(nullptr, 40, 0); // its own root: offset 0, the preset name's place
    EXPECT_EQ(BytesOf(name->GetParamValueDefault(40)), expected::Hex("50 52 45 53 45 54"));
}

} // namespace
