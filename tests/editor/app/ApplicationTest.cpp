#include "editor/app/Application.h"
#include "editor/edit/RootModuleEngineAccess.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/RootWindow.h"
#include "support/FakeWindowServices.h"
#include "support/Files.h"
#include "support/RecordingRenderer.h"
#include "support/ScopedVariable.h"
#include "support/engine/FakeKeyboardPorts.h"
#include "support/engine/ScriptedBridge.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

namespace
{

using KR::RCPtr;
using KR::String;
using KR::TestSupport::ScopedVariable;
using Log = std::vector<std::string>;

constexpr const char* kSkins = R"(<Test_Skins><Application Name="Test"><Skins>
  <Skin Name="One"><SubControl Class="Test.Panel" Name="main"/></Skin>
</Skins></Application></Test_Skins>)";

constexpr const char* kFrameworkStrings =
    R"(<Tarsil_StringTable_Definitions><StringTable ID="Framework">
  <String ID="STARTUP_ERROR"><Locale LCID="9">Start failed.</Locale></String>
</StringTable></Tarsil_StringTable_Definitions>)";

// The editor's application over a scripted bridge and a fake keyboard, its exit recorded.
class TestApplication : public LApplication
{
public:
    explicit TestApplication(const char* skins) : LApplication(u"Test") { Load(*GetControlFactory(), skins); }
    // The program's form: the factory made and loaded before the application.
    TestApplication(const RCPtr<KR::LControlFactory>& factory, const RCPtr<KR::LStringTable>& framework,
                    const String& commandLine)
        : LApplication(factory, framework, commandLine)
    {
    }
    static void Load(KR::LControlFactory& factory, const char* skins)
    {
        factory.SetResourceProvider(
            [skins](const String& name, std::vector<char>& bytes)
            {
                const char* text = name == u"SKINS" && skins != nullptr ? skins
                                   : name == u"FW"                      ? kFrameworkStrings
                                                                        : "<none/>";
                bytes.assign(text, text + std::strlen(text));
                return true;
            });
        factory.LoadStringTables(String(u"::FW"), String(u"::NONE"), 0x0409);
        factory.LoadSkins(String(u"::SKINS"));
    }
    bool CanExit() override { return canExit; }

    support::FakeKeyboard keyboard;
    RCPtr<ScriptedBridge> bridge = ScriptedBridge::Create();
    bool canExit = true;
    Log log;

protected:
    void RegisterApplicationControlClasses() override { log.push_back("classes"); }
    RCPtr<KR::LMidiManager> CreateMidiManager() override
    {
        log.push_back("midi");
        return KR::LMidiManager::Create(keyboard.ManagerOptions());
    }
    RCPtr<LRootModuleEngine> CreateRootModuleEngine() override
    {
        log.push_back("engine");
        return LRootModuleEngine::Create(bridge);
    }
    void PostCloseMessage(std::uintptr_t window) override
    {
        log.push_back("close " + std::to_string(window));
    }
    void PostQuitMessage(int code) override { log.push_back("quit " + std::to_string(code)); }
};

class Application : public ::testing::Test
{
protected:
    KR::TestSupport::TempFolder folder;
    ScopedVariable config{"XDG_CONFIG_HOME", (folder / "config").c_str()};
    ScopedVariable data{"XDG_DATA_HOME", (folder / "data").c_str()};
};

void PostExitRequest(TestApplication& app)
{
    KR::LFrameworkApp::GetNotificationCenter()->PostNotificationByName(u"NID_APP_EXIT_REQ");
    app.OnIdle(false);
}

TEST_F(Application, StartsInOrderAndKeepsTheSkinInTheUsersSettings)
{
    {
        const RCPtr<TestApplication> app(new TestApplication(kSkins));
        EXPECT_EQ(app->RunApplicationStartup(), KR::kOk);
        EXPECT_EQ(app->log, (Log{"classes", "midi", "engine"}));
        EXPECT_TRUE(app->GetMidiManager());
        EXPECT_TRUE(app->GetRootModuleEngine());
        EXPECT_EQ(::GetRootModuleEngine(), app->GetRootModuleEngine()) << "installed for the panels";
        EXPECT_EQ(LApplication::GetApplicationTitle(), u"Tarsil_Vantor Preset Editor");
        EXPECT_EQ(app->GetSettingsVersion(), u"1_0_0");
        EXPECT_EQ(app->GetMainControlName(), u"mainControl");
        EXPECT_TRUE(app->GetSplashImagePath().IsEmpty()); // the resources hold no file
    }
    EXPECT_FALSE(::GetRootModuleEngine()) << "taken back with the application";
    std::ifstream in(folder / "config/Tarsil/Vantor Preset Editor/UserSettings.ini");
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("CurrentSkinIndex = 0"), std::string::npos) << text;
    EXPECT_FALSE(std::filesystem::exists(folder / "data/Tarsil/Vantor Preset Editor/AppSettings.ini"));
}

TEST_F(Application, TheProgramsFormRunsOnTheFactoryAndTablesItWasGiven)
{
    const RCPtr<KR::LControlFactory> factory = LApplication::CreateControlFactory(u"Test");
    TestApplication::Load(*factory, kSkins);
    const RCPtr<KR::LStringTable> framework = factory->GetFrameworkStringTable();
    ASSERT_TRUE(framework);
    const RCPtr<TestApplication> app(new TestApplication(factory, framework, u"editor -x"));
    EXPECT_EQ(app->GetControlFactory(), factory);
    EXPECT_EQ(app->GetFrameworkStringTable(), framework);
    EXPECT_EQ(app->GetIdentificationText(), u"editor -x");
    EXPECT_EQ(app->GetApplicationName(), u"Test");
    EXPECT_EQ(app->RunApplicationStartup(), KR::kOk);
    EXPECT_EQ(app->log, (Log{"classes", "midi", "engine"}));
    EXPECT_FALSE(app->CreateControl(u"main")); // no main window yet
    EXPECT_TRUE(app->LoadAppIcon().empty());   // this program embeds no icon
}

TEST_F(Application, AFailedFrameworkStartupSubscribesAndCreatesNothing)
{
    const RCPtr<TestApplication> app(new TestApplication(nullptr));
    EXPECT_EQ(app->RunApplicationStartup(), KR::kFail);
    EXPECT_TRUE(app->log.empty());
    EXPECT_FALSE(app->GetMidiManager());
    PostExitRequest(*app);
    EXPECT_FALSE(app->IsExiting());
}

TEST_F(Application, TheExitRequestClosesTheMainWindowAndQuits)
{
    struct Case
    {
        int windows;
        bool canExit;
        Log log;
        bool exiting;
    };
    const Case cases[] = {
        {3, true, {"close 7", "quit 0"}, true},
        {0, true, {"quit 0"}, true},
        {1, false, {}, false},
    };
    for (const Case& c : cases)
    {
        const RCPtr<TestApplication> app(new TestApplication(kSkins));
        ASSERT_EQ(app->RunApplicationStartup(), KR::kOk);
        app->log.clear();
        app->canExit = c.canExit;
        std::vector<RCPtr<KR::TestSupport::LFakeWindowServices>> os;
        std::vector<RCPtr<KR::LRootWindow>> roots;
        const RCPtr<KR::LRenderer> renderer(new KR::TestSupport::LRecordingRenderer);
        for (int i = 0; i < c.windows; ++i)
        {
            os.emplace_back(new KR::TestSupport::LFakeWindowServices);
            os.back()->handle = 7 + i;
            roots.emplace_back(new KR::LRootWindow(renderer, os.back().Get()));
            app->AddRootWindow(roots.back());
        }
        PostExitRequest(*app);
        EXPECT_EQ(app->log, c.log) << c.windows;
        EXPECT_EQ(app->IsExiting(), c.exiting) << c.windows;
        for (int i = 0; i < c.windows; ++i)
        {
            // Dialogs are ended; the main window closes through its close message.
            EXPECT_EQ(os[i]->modalResults.size(), i > 0 && c.exiting ? 1u : 0u) << i;
            roots[i]->ReleaseInternalReferences();
        }
    }
}

} // namespace
