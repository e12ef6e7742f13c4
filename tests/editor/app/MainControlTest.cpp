// The main control between the editor's real tree and the real engine: the engine's
// changes reach the panel that owns each id and are not sent back, the panel's edits
// reach the engine once, and an unreadable keyboard configuration ends the program with
// a box that says why.

#include "editor/support/InProcessEditor.h"
#include "editor/support/InstalledEngine.h"
#include "kr/system/DebugLog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using KR::RCPtr;
using KR::TestSupport::InProcessEditor;
using KR::TestSupport::InstalledEngine;

KR::Variant Blob(std::initializer_list<std::uint8_t> bytes)
{
    KR::Variant value;
    value.SetBlob(bytes.begin(), static_cast<std::uint32_t>(bytes.size()));
    return value;
}

// A fader as a view panel is one: what the model routes to it is shown and handed on up,
// as a panel that shows a value also writes it.
class LRecordingFader : public IFader
{
public:
    explicit LRecordingFader(std::vector<std::int32_t>& applied) : mApplied(applied) { mOwnParamCount = 1; }
    std::int32_t SetParamValueLocal(const KR::ParamDescriptor& descriptor, const KR::Variant& value,
                                    bool /*fromDevice*/) override
    {
        mApplied.push_back(descriptor.id);
        return SetParamValue(descriptor, value);
    }

private:
    std::vector<std::int32_t>& mApplied;
};

// The faders' group as the picture will have it, with recording faders.
class LTestFaderGroup : public KR::LPanel, public IFaders
{
public:
    LTestFaderGroup(const RCPtr<KR::LControl>& parent, const KR::String& name) : KR::LPanel(parent, name)
    {
        for (std::int32_t i = 0; i < ParamLayout::Row(ParamLayout::ControlKind::Fader).count; ++i)
        {
            mFaders.AddItem(RCPtr<IFader>(new LRecordingFader(applied)));
        }
    }
    RCPtr<IFader> GetFader(std::int32_t index) override
    {
        return static_cast<std::uint32_t>(index) < mFaders.GetCount() ? mFaders[index] : RCPtr<IFader>();
    }
    std::vector<std::int32_t> applied;

private:
    KR::RCPtrArray<IFader> mFaders;
};

constexpr std::int32_t kFirstFader = 61;

class MainControl : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(main && group);
        ASSERT_EQ(main->GetApplyingParamID(), -1);
    }
    // The engine's announcement, as it arrives at the idle pass.
    void Announce(const RCPtr<KR::LRefCountedObject>& payload)
    {
        engine.center.center->PostNotificationByName(kNidParamModuleStateChange, payload);
        engine.center.Drain();
    }

    InstalledEngine engine;
    InProcessEditor editor{true, std::string(), std::string(),
                           [](KR::LControlFactory& factory)
                           {
                               factory.RegisterControlClass(u"PresetEditor.MainControl.FaderView",
                                                            &KR::LControl::CreateFromSkin<LTestFaderGroup>);
                           }};
    KR::LMainControl* main = editor.MainControl();
    LTestFaderGroup* group = editor.Find<LTestFaderGroup>("viewDevice/faders");
};

TEST_F(MainControl, TheEnginesChangesReachTheirPanelsInOrderAndAreNotSentBack)
{
    ASSERT_EQ(engine.Writes(), 0);
    const KR::Variant a = Blob({0, 0, 1, 0, 0, 127});
    const KR::Variant b = Blob({0, 0, 2, 0, 0, 127});
    const KR::Variant c = Blob({0, 0, 3, 0, 0, 127});
    // A list of three; then the same with a middle record the list refuses.
    KR::ParamValues three;
    const KR::ParamValue records[] = {{KR::ParamDescriptor(kFirstFader + 2), a},
                                      {KR::ParamDescriptor(kFirstFader), b},
                                      {KR::ParamDescriptor(kFirstFader + 35), c}};
    ASSERT_EQ(three.SetValues(records, 3), 0);
    KR::Variant parts[3];
    KR::Variant id;
    id.SetInt32(kFirstFader + 5);
    parts[0] = a;
    parts[1] = id;
    KR::Variant good[2];
    good[0].SetArray(parts, 3);
    KR::Variant bad;
    bad.SetArray(parts, 2); // no selector: not a record of the list
    parts[1].SetInt32(kFirstFader + 6);
    good[1].SetArray(parts, 3);
    const KR::Variant mixed[] = {good[0], bad, good[1]};
    KR::Variant list;
    list.SetArray(mixed, 3);

    const struct
    {
        RCPtr<KR::LRefCountedObject> payload;
        std::vector<std::int32_t> applied;
    } cases[] = {
        {RCPtr<KR::LRefCountedObject>(LParamValuesWrapper::Create(three)),
         {kFirstFader + 2, kFirstFader, kFirstFader + 35}},
        {RCPtr<KR::LRefCountedObject>(LParamValuesWrapper::Create(KR::ParamValues(list))),
         {kFirstFader + 5, kFirstFader + 6}},
        {RCPtr<KR::LRefCountedObject>(new LParamChangePair(KR::ParamDescriptor(kFirstFader + 1), a)),
         {kFirstFader + 1}},
        // Ids no panel owns, an empty value, a device text: nothing applied.
        {RCPtr<KR::LRefCountedObject>(new LParamChangePair(KR::ParamDescriptor(10), a)), {}},
        {RCPtr<KR::LRefCountedObject>(new LParamChangePair(KR::ParamDescriptor(500), a)), {}},
        {RCPtr<KR::LRefCountedObject>(new LParamChangePair(KR::ParamDescriptor(kFirstFader), KR::Variant())),
         {}},
        {RCPtr<KR::LRefCountedObject>(new LParamChangePair(KR::ParamDescriptor(-8), a)), {}},
        {RCPtr<KR::LRefCountedObject>(KR::LWrapper<KR::String, KR::LRefCountedObject>::Create(u"x")), {}},
    };
    for (const auto& c : cases)
    {
        group->applied.clear();
        Announce(c.payload);
        EXPECT_EQ(group->applied, c.applied);
        EXPECT_EQ(main->GetApplyingParamID(), -1);
        EXPECT_TRUE(main->GetApplyingDescriptor().IsEmpty());
        EXPECT_EQ(engine.Writes(), 0) << "nothing applied goes back";
    }
}

TEST_F(MainControl, APanelsEditReachesTheEngineOnce)
{
    const KR::Variant value = Blob({0, 0, 9, 0, 0, 100});
    const RCPtr<IFader> fader = group->GetFader(4);
    ASSERT_EQ(fader->GetFirstParamID(), kFirstFader + 4) << "the tree is numbered from the engine's first id";
    EXPECT_EQ(fader->SetParamValue(KR::ParamDescriptor(kFirstFader + 4), Blob({0, 0, 8, 0, 0, 100})),
              KR::kOk);
    EXPECT_EQ(fader->SetParamValue(KR::ParamDescriptor(kFirstFader + 4), value), KR::kOk);
    EXPECT_EQ(engine.Writes(), 2);
    EXPECT_EQ(engine.Bytes(kFirstFader + 4), (std::vector<int>{0, 0, 9, 0, 0, 100}));
    // The engine announces both stored edits later: the older one shown again would undo
    // the newer, so only the newest comes back to the panels.
    group->applied.clear();
    engine.center.Drain();
    EXPECT_EQ(group->applied, std::vector<std::int32_t>{kFirstFader + 4});
    group->applied.clear();
    Announce(RCPtr<KR::LRefCountedObject>(new LParamChangePair(KR::ParamDescriptor(kFirstFader + 4), value)));
    EXPECT_EQ(group->applied, std::vector<std::int32_t>{kFirstFader + 4})
        << "a value from elsewhere is shown";
    main->OnModuleParamValueChanged(KR::ParamDescriptor(kFirstFader + 5), value);
    EXPECT_EQ(engine.Writes(), 3);
}

TEST(MainControlHardware, AnUnreadableConfigurationEndsTheProgramWithItsBox)
{
    const std::string box =
        "MessageBox: Hardware Configuration Error | The keyboard's configuration could not "
        "be read. The application will now close. | 16\n";
    KR::Variant connected;
    connected.SetBool(true);
    const struct
    {
        bool listFails;
        KR::Variant value;
        bool ends;
    } cases[] = {
        {true, KR::Variant(), true},
        {true, connected, false},
        {false, KR::Variant(), false},
    };
    for (const auto& c : cases)
    {
        InstalledEngine engine;
        engine.bridge->listFailure = c.listFails ? -5 : 0;
        InProcessEditor editor;
        ASSERT_TRUE(editor.MainControl());
        const RCPtr<KR::TestSupport::LNotificationCounter> exits(new KR::TestSupport::LNotificationCounter);
        exits->Listen(engine.center.center, u"NID_APP_EXIT_REQ");
        std::string logged;
        KR::GetDebugLog().SetDebuggerOutput([&logged](std::string_view piece) { logged += piece; });
        engine.center.center->PostNotificationByName(
            kNidParamModuleStateChange,
            RCPtr<KR::LRefCountedObject>(new LParamChangePair(KR::ParamDescriptor(-2), c.value)));
        engine.center.Drain();
        engine.center.Drain();
        KR::GetDebugLog().SetDebuggerOutput(nullptr);
        EXPECT_EQ(logged.find(box) != std::string::npos, c.ends) << logged;
        EXPECT_EQ(exits->Count("NID_APP_EXIT_REQ"), c.ends ? 1 : 0);
        EXPECT_EQ(editor.MainControl()->GetApplyingParamID(), -1);
        exits->UnregisterForAllNotifications();
    }
}

} // namespace
