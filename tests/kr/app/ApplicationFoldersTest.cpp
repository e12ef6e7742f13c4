#include "kr/app/ApplicationFolders.h"

#include "support/Files.h"
#include "support/ScopedVariable.h"
#include "support/Utf8.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace
{

using KR::GetApplicationFolder;
using KR::LSettingsFiles;
using KR::String;
using KR::TestSupport::ScopedVariable;
using KR::TestSupport::TempFolder;

// The real library, counting the opens; the first `failures` of them are refused.
class CountingIniFileManager : public KR::LIniFileManager
{
public:
    KR::Result OpenIniFile(const String& path, const String& version, const String& product,
                           std::int32_t& handle) override
    {
        opened.push_back(KR::TestSupport::Utf8(path));
        if (failures > 0)
        {
            --failures;
            handle = 0;
            return KR::kFail;
        }
        return LIniFileManager::OpenIniFile(path, version, product, handle);
    }
    std::vector<std::string> opened;
    int failures = 0;
};

TEST(ApplicationFolders, IdsNameTheProgramResourceAndDocumentFoldersAndNoMore)
{
    const std::string program = KR::TestSupport::Utf8(GetApplicationFolder(KR::kProgramFolder, u"C", u"P"));
    EXPECT_EQ(program, std::filesystem::canonical("/proc/self/exe").parent_path().string());
    EXPECT_NE(program.back(), '/');
    EXPECT_EQ(KR::TestSupport::Utf8(GetApplicationFolder(KR::kResourceFolder, u"C", u"P")), "::");
    {
        const ScopedVariable resources("KR_RESOURCE_FOLDER", "/skins/mine");
        EXPECT_EQ(KR::TestSupport::Utf8(GetApplicationFolder(KR::kResourceFolder, u"C", u"P")),
                  "/skins/mine");
    }
    const TempFolder home;
    const ScopedVariable homeVariable("HOME", home.Path().c_str());
    const ScopedVariable config("XDG_CONFIG_HOME", nullptr);
    for (std::uint32_t id : {4u, 5u, 6u})
    {
        EXPECT_EQ(KR::TestSupport::Utf8(GetApplicationFolder(id, u"C", u"P")), home.Path().string()) << id;
    }
    try
    {
        GetApplicationFolder(7, u"C", u"P");
        ADD_FAILURE() << "no exception";
    }
    catch (const std::out_of_range& error)
    {
        EXPECT_STREQ(error.what(),
                     "Out of Range : Unknown Path ID. : KR::MFCFrameworkApp<class LApplication>::GetFolder : "
                     "krframework\\include\\../Application/ApplicationBaseWin : Line 570");
    }
}

TEST(ApplicationFolders, SettingsFoldersSitUnderTheXdgFolderMadeFromValidNames)
{
    const TempFolder home;
    const ScopedVariable homeVariable("HOME", home.Path().c_str());
    // Unset and relative both mean the default under HOME.
    for (const char* xdg : {static_cast<const char*>(nullptr), "relative/config"})
    {
        const ScopedVariable config("XDG_CONFIG_HOME", xdg);
        const std::filesystem::path expected = home / ".config/A_B_/Vantor Preset Editor";
        std::filesystem::create_directories(home / ".config");
        EXPECT_EQ(KR::TestSupport::Utf8(
                      GetApplicationFolder(KR::kUserSettingsFolder, u"A:B?", u"Vantor Preset Editor")),
                  expected.string());
        EXPECT_TRUE(std::filesystem::is_directory(expected));
    }
    const ScopedVariable data("XDG_DATA_HOME", (home / "data").c_str());
    EXPECT_EQ(KR::TestSupport::Utf8(GetApplicationFolder(KR::kSharedDataFolder, u"Tarsil", u"P")),
              (home / "data/Tarsil/P").string());
    EXPECT_TRUE(std::filesystem::is_directory(home / "data/Tarsil/P"));
}

TEST(ApplicationFolders, EachSettingsFileOpensOnceAndAFailedOpenIsTriedAgain)
{
    const TempFolder folder;
    CountingIniFileManager ini;
    ASSERT_GE(ini.LoadLibrary(String()), 0);
    LSettingsFiles files;
    const String where(folder.Path().c_str());

    EXPECT_EQ(files.Get(2, ini, where, u"1_0_0", u"P"), 0);
    EXPECT_EQ(files.Get(-1, ini, where, u"1_0_0", u"P"), 0);
    EXPECT_TRUE(ini.opened.empty());

    ini.failures = 1;
    EXPECT_EQ(files.Get(LSettingsFiles::kUserSettings, ini, where, u"1_0_0", u"P"), 0);
    const std::int32_t user = files.Get(LSettingsFiles::kUserSettings, ini, where, u"1_0_0", u"P");
    EXPECT_NE(user, 0);
    EXPECT_EQ(files.Get(LSettingsFiles::kUserSettings, ini, where, u"1_0_0", u"P"), user);
    const std::string userFile = (folder / "UserSettings.ini").string();
    EXPECT_EQ(ini.opened, (std::vector<std::string>{userFile, userFile}));

    const std::int32_t shared = files.Get(LSettingsFiles::kApplicationSettings, ini, where, u"1_0_0", u"P");
    EXPECT_NE(shared, 0);
    EXPECT_NE(shared, user);
    EXPECT_EQ(ini.opened.back(), (folder / "AppSettings.ini").string());
    ini.CloseIniFile(user, 0);
    ini.CloseIniFile(shared, 0);
}

TEST(ApplicationFolders, WithoutAnyHomeThereIsNoSettingsFileAtTheRoot)
{
    const ScopedVariable home("HOME", nullptr);
    const ScopedVariable config("XDG_CONFIG_HOME", nullptr);
    const String folder = GetApplicationFolder(KR::kUserSettingsFolder, u"Tarsil", u"P");
    EXPECT_TRUE(folder.IsEmpty());
    CountingIniFileManager ini;
    ASSERT_GE(ini.LoadLibrary(String()), 0);
    LSettingsFiles files;
    EXPECT_EQ(files.Get(LSettingsFiles::kUserSettings, ini, folder, u"1_0_0", u"P"), 0);
    EXPECT_TRUE(ini.opened.empty());
    EXPECT_FALSE(std::filesystem::exists("/UserSettings.ini"));
}

} // namespace
