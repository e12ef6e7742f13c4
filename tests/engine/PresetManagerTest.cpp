#include "engine/PresetManager.h"

#include "EngineTestSupport.h"
#include "PresetTestSupport.h"
#include "support/Files.h"
#include "support/engine/ScriptedBridge.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

namespace
{

using namespace KR::PresetFile;
using KR::TestSupport::FileBytes;
using KR::TestSupport::WidePath;
using KR::TestSupport::WriteBytes;

class PresetManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        engine = LRootModuleEngine::Create(bridge);
        ASSERT_EQ(engine->Initialize(0), KR::kOk);
        manager = KR::LPresetManager::Create(engine);
        loads = support::NotificationLog::Create();
        loads->RegisterForNotification(manager, KR::kNidPresetFilePreLoad);
        loads->RegisterForNotification(manager, KR::kNidPresetFilePostLoad);
        app.Drain();
        app.log->Clear();
    }
    void TearDown() override
    {
        loads->UnregisterForAllNotifications();
        manager = nullptr;
        engine = nullptr;
    }

    KR::Array<KR::ParamValue> Preset()
    {
        KR::Array<KR::ParamValue> values;
        engine->GetParamValues(KR::ParamRange{0, 131}, values, 0);
        return values;
    }
    void SetPreset(const KR::Array<KR::ParamValue>& values)
    {
        for (std::uint32_t i = 0; i < values.GetCount(); ++i)
        {
            ASSERT_EQ(engine->SetParamValue(values.ElementAt(i).descriptor, values.ElementAt(i).value),
                      KR::kOk);
        }
    }
    KR::Result Save(const std::filesystem::path& path) { return manager->SavePresetFile(WidePath(path)); }
    KR::Result Load(const std::filesystem::path& path) { return manager->LoadPresetFile(WidePath(path)); }

    // The results that "NID_PRESETFILE_POST_LOAD" carried, with -100 for a
    // "NID_PRESETFILE_PRE_LOAD" before each.
    std::vector<KR::Result> LoadNotifications()
    {
        std::vector<KR::Result> seen;
        const auto pre = loads->Payloads<KR::LRefCountedObject>(KR::kNidPresetFilePreLoad);
        const auto post = loads->Payloads<KR::LPresetFileLoadNotificationData>(KR::kNidPresetFilePostLoad);
        for (std::size_t i = 0; i < post.size(); ++i)
        {
            if (i < pre.size())
            {
                seen.push_back(-100);
            }
            seen.push_back(post[i] ? post[i]->GetResult() : -200);
        }
        return seen;
    }

    support::ApplicationCenter app;
    KR::TestSupport::TempFolder folder;
    KR::RCPtr<ScriptedBridge> bridge = ScriptedBridge::Create();
    KR::RCPtr<LRootModuleEngine> engine;
    KR::RCPtr<KR::LPresetManager> manager;
    KR::RCPtr<support::NotificationLog> loads;
};

TEST_F(PresetManagerTest, TheKeyboardsPresetIsSavedIn4494BytesAndLoadsBack)
{
    const auto path = folder / "factory.VantorPresetEditor";
    ASSERT_EQ(Save(path), KR::kOk);
    const std::vector<std::uint8_t> bytes = FileBytes(path);
    ASSERT_EQ(bytes.size(), 4494u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 12, bytes.begin() + 36),
              expected::Hex("1E 00 00 00 00 00 00 00 00 00 00 00 12 00 00 00 00 00 00 00 08 00 00 00"));

    SetPreset(support::PresetOf(support::RandomBlocks(7)));
    ASSERT_NE(Preset(), support::FactoryPreset());
    EXPECT_EQ(Load(path), kLoaded);
    EXPECT_EQ(Preset(), support::FactoryPreset());
    EXPECT_EQ(LoadNotifications(), (std::vector<KR::Result>{-100, kLoaded}));
}

TEST_F(PresetManagerTest, ARefusedFileLeavesThePresetUntouched)
{
    const auto good = folder / "good.preset";
    ASSERT_EQ(Save(good), KR::kOk);
    const std::vector<std::uint8_t> image = FileBytes(good);
    const auto withWord = [&](std::size_t offset, std::uint32_t value)
    {
        std::vector<std::uint8_t> changed = image;
        support::StoreU32(changed, offset, value);
        return changed;
    };
    const std::size_t lastChunk = support::ChunkOffsets(image)[130];
    std::vector<std::uint8_t> highByte = image;
    // No system-exclusive message could carry a data byte of 80 or more.
    highByte[lastChunk + 24] = 0x80;
    struct Case
    {
        const char* name;
        std::vector<std::uint8_t> bytes;
        KR::Result result;
    };
    // The codec's own tests take every refusal; here, one of each result.
    const Case cases[] = {
        {"version 0", withWord(0, 0), kOlderFormat},
        {"version 2", withWord(0, 2), kNewerFormat},
        {"device word", withWord(4, 1), kOtherDevice},
        {"index 131", withWord(lastChunk + 8, 131), kCorrupt},
        {"a data byte of 80", highByte, kCorrupt},
        {"cut before the last chunk", std::vector<std::uint8_t>(image.begin(), image.begin() + lastChunk),
         kCorrupt},
    };
    const KR::Array<KR::ParamValue> current = support::PresetOf(support::RandomBlocks(42));
    SetPreset(current);
    const auto path = folder / "bad.preset";
    for (const Case& c : cases)
    {
        WriteBytes(path, c.bytes);
        loads->Clear();
        EXPECT_EQ(Load(path), c.result) << c.name;
        EXPECT_EQ(LoadNotifications(), (std::vector<KR::Result>{-100, c.result})) << c.name;
        ASSERT_EQ(Preset(), current) << c.name;
    }
    // A FIFO without a writer is refused, not waited on; a device or a /proc file is no file.
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    for (const std::filesystem::path& path :
         {folder / "missing.preset", folder.Path(), folder / "fifo", std::filesystem::path("/dev/zero"),
          std::filesystem::path("/proc/self/status")})
    {
        EXPECT_EQ(Load(path), kCorrupt) << path;
    }
    EXPECT_EQ(Preset(), current);
}

TEST_F(PresetManagerTest, AFailedOrRefusedSaveLeavesTheOldFile)
{
    const auto path = folder / "kept.preset";
    ASSERT_EQ(Save(path), KR::kOk);
    const std::vector<std::uint8_t> old = FileBytes(path);
    SetPreset(support::PresetOf(support::RandomBlocks(3)));
    {
        // Root passes every permission check, so the write is made to fail by a file
        // size limit that the new file runs into.
        const KR::TestSupport::FileSizeLimit limit(2048);
        ASSERT_TRUE(limit.Active());
        EXPECT_EQ(Save(path), static_cast<KR::Result>(0x80004005u));
    }
    EXPECT_EQ(FileBytes(path), old);
    EXPECT_EQ(KR::TestSupport::NamesIn(folder.Path()), std::vector<std::string>{"kept.preset"});

    // A folder that is a file holds no new file.
    WriteBytes(folder / "plain", {1, 2, 3});
    EXPECT_EQ(Save(folder / "plain" / "x.preset"), KR::kFail);
    // The model takes a block of the wrong length; a file of it could not be loaded.
    ASSERT_EQ(engine->SetParamValue(KR::ParamDescriptor(61), support::Blob({1, 2, 3})), KR::kOk);
    EXPECT_EQ(Save(path), KR::kFail);
    EXPECT_EQ(FileBytes(path), old);
}

TEST_F(PresetManagerTest, AReadOnlyPresetIsNotSavedOverAndALongNameIsSaved)
{
    const auto path = folder / "locked.preset";
    ASSERT_EQ(Save(path), KR::kOk);
    const std::vector<std::uint8_t> old = FileBytes(path);
    const auto current = support::PresetOf(support::RandomBlocks(4));
    SetPreset(current);
    // Made read-only by the user, for everyone or for its owner alone; root, whom no
    // permission stops, is refused all the same.
    using std::filesystem::perms;
    for (const perms mode : {perms::owner_read | perms::group_read | perms::others_read,
                             perms::owner_read | perms::group_write | perms::others_write})
    {
        std::filesystem::permissions(path, mode);
        EXPECT_EQ(Save(path), static_cast<KR::Result>(0x80004005u));
        EXPECT_EQ(FileBytes(path), old);
        EXPECT_EQ(std::filesystem::status(path).permissions(), mode);
    }
    EXPECT_EQ(KR::TestSupport::NamesIn(folder.Path()), std::vector<std::string>{"locked.preset"});

    // 250 bytes: the file system takes 255, and the save's own file must fit beside it.
    const auto longPath = folder / (std::string(243, 'n') + ".preset");
    ASSERT_EQ(Save(longPath), KR::kOk);
    SetPreset(support::PresetOf(support::RandomBlocks(5)));
    ASSERT_EQ(Load(longPath), kLoaded);
    EXPECT_EQ(Preset(), current);
}

TEST_F(PresetManagerTest, TheLoadRequestOfTheApplicationLoadsTheFileItNames)
{
    const auto path = folder / "requested.preset";
    SetPreset(support::PresetOf(support::RandomBlocks(5)));
    ASSERT_EQ(Save(path), KR::kOk);
    SetPreset(support::FactoryPreset());

    // Another payload is not a path.
    app.center->PostNotificationByName(KR::kNidGlobalLoadControlPanelSettings,
                                       new LRootModuleEngine::CountHolder(5));
    app.Drain();
    EXPECT_TRUE(LoadNotifications().empty());

    app.center->PostNotificationByName(KR::kNidGlobalLoadControlPanelSettings,
                                       KR::LWrapperStringable<KR::String>::Create(WidePath(path)));
    app.Drain();
    EXPECT_EQ(LoadNotifications(), (std::vector<KR::Result>{-100, kLoaded}));
    EXPECT_EQ(Preset(), support::PresetOf(support::RandomBlocks(5)));
}

} // namespace
