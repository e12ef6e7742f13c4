#include "kr/app/ApplicationBase.h"
#include "kr/app/SystemTime.h"
#include "kr/ui/ControlFactory.h"
#include "support/Files.h"
#include "support/ScopedVariable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace
{

using KR::String;
using KR::SystemTime;
using KR::TestSupport::ScopedVariable;
using KR::TestSupport::TempFolder;

constexpr const char* kSkins = R"(<Test_Skins><Application Name="Test"><Skins>
  <Skin Name="One"><SubControl Class="Test.Panel" Name="main"/></Skin>
</Skins></Application></Test_Skins>)";

// The program's block of this test says "Test Company" / "Test Product".
class TestApplication : public KR::LApplicationBase<TestApplication>
{
public:
    TestApplication() : LApplicationBase(u"Test")
    {
        GetControlFactory()->SetResourceProvider(
            [](const String& name, std::vector<char>& bytes)
            {
                const char* text = name == u"SKINS" ? kSkins : "<none/>";
                bytes.assign(text, text + std::strlen(text));
                return true;
            });
        EXPECT_EQ(GetControlFactory()->LoadSkins(String(u"::SKINS")), KR::kOk);
    }
    String GetSettingsVersion() const override { return u"1_0_0"; }
};

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(ApplicationBase, StartupKeepsTheSkinInTheUsersSettingsAndOpensTheSharedFileOnlyWhenAsked)
{
    const TempFolder folder;
    const ScopedVariable config("XDG_CONFIG_HOME", (folder / "config").c_str());
    const ScopedVariable data("XDG_DATA_HOME", (folder / "data").c_str());
    const std::filesystem::path user = folder / "config/Test Company/Test Product/UserSettings.ini";
    const std::filesystem::path shared = folder / "data/Test Company/Test Product";
    {
        TestApplication app;
        EXPECT_EQ(TestApplication::GetApp(), &app);
        EXPECT_EQ(app.RunApplicationStartup(), KR::kOk);
        const std::int32_t handle = app.GetSettingsIniFile(1);
        EXPECT_NE(handle, 0);
        EXPECT_EQ(app.GetSettingsIniFile(1), handle);
        EXPECT_EQ(app.GetSettingsIniFile(2), 0);
        EXPECT_FALSE(std::filesystem::exists(shared));
        EXPECT_NE(app.GetSettingsIniFile(0), 0);
        EXPECT_TRUE(std::filesystem::is_directory(shared));
        EXPECT_EQ(app.OnPowerBroadcast(4, 0), 1);
    }
    EXPECT_EQ(TestApplication::GetApp(), nullptr);
    EXPECT_NE(ReadAll(user).find("CurrentSkinIndex = 0"), std::string::npos) << ReadAll(user);
}

TEST(ApplicationBase, TheLanguageComesFromTheLocale)
{
    const ScopedVariable all("LC_ALL", "de_DE.UTF-8");
    TestApplication app;
    EXPECT_EQ(app.GetLanguageID(), 0x0407);
}

TEST(SystemTime, MillisecondsSinceTheEpochBecomeTheEightFields)
{
    struct Case
    {
        std::int64_t milliseconds;
        SystemTime time;
    };
    const Case cases[] = {
        {0, {1970, 1, 4, 1, 0, 0, 0, 0}},
        {951868799999, {2000, 2, 2, 29, 23, 59, 59, 999}},
        {-1, {1969, 12, 3, 31, 23, 59, 59, 999}},
    };
    for (const Case& c : cases)
    {
        const SystemTime t = KR::SystemTimeFromUnixMilliseconds(c.milliseconds);
        const std::int32_t got[] = {t.year, t.month,  t.dayOfWeek, t.day,
                                    t.hour, t.minute, t.second,    t.milliseconds};
        const std::int32_t want[] = {c.time.year, c.time.month,  c.time.dayOfWeek, c.time.day,
                                     c.time.hour, c.time.minute, c.time.second,    c.time.milliseconds};
        EXPECT_TRUE(std::equal(std::begin(got), std::end(got), std::begin(want))) << c.milliseconds;
    }
}

} // namespace
