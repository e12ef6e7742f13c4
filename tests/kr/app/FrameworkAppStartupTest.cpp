#include "kr/app/FrameworkApp.h"
#include "kr/controls/StatusBar.h"
#include "kr/notify/Notification.h"
#include "kr/system/CursorNames.h"
#include "kr/system/DebugLog.h"
#include "kr/system/IniFileManager.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/ControlTestSupport.h"
#include "kr/ui/RootWindow.h"
#include "support/FakeWindowServices.h"
#include "support/Files.h"
#include "support/RecordingRenderer.h"
#include "support/Utf8.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace
{

using KR::kOk;
using KR::LFrameworkApp;
using KR::LRootWindow;
using KR::RCPtr;
using KR::String;
using KR::TestSupport::LFakeWindowServices;
using Log = std::vector<std::string>;

using KR::TestSupport::Utf8;

constexpr const char* kFrameworkStrings =
    R"(<Tarsil_StringTable_Definitions><StringTable ID="Framework">
  <String ID="STARTUP_ERROR"><Locale LCID="9">Start failed.</Locale></String>
  <String ID="STARTUP_ERROR_CAPTION"><Locale LCID="9">Error</Locale></String>
</StringTable></Tarsil_StringTable_Definitions>)";

constexpr const char* kTwoSkins = R"(<Test_Skins><Application Name="Test"><Skins>
  <Skin Name="One"><SubControl Class="Test.Panel" Name="main"/></Skin>
  <Skin Name="Two"><SubControl Class="Test.Panel" Name="main"/></Skin>
</Skins></Application></Test_Skins>)";

// The application parts the framework leaves to the program: settings through the real
// INI library, a system font that can fail, a message loop and boxes that are recorded.
class TestApp : public LFrameworkApp
{
public:
    explicit TestApp(const char* skins) : LFrameworkApp(u"Test")
    {
        GetControlFactory()->SetResourceProvider(
            [skins](const String& name, std::vector<char>& bytes)
            {
                const char* text = name == u"FW" ? kFrameworkStrings : name == u"SKINS" ? skins : "<none/>";
                bytes.assign(text, text + std::strlen(text));
                return true;
            });
        EXPECT_EQ(GetControlFactory()->LoadStringTables(String(u"::FW"), String(u"::NONE"), 0x0409), kOk);
        if (skins != nullptr)
        {
            EXPECT_EQ(GetControlFactory()->LoadSkins(String(u"::SKINS")), kOk);
        }
        EXPECT_GE(ini->LoadLibrary(String()), 0);
        EXPECT_GE(ini->OpenIniFile(folder.Text("UserSettings.ini"), u"1_0_0", u"Test", settings), 0);
    }
    ~TestApp() override
    {
        ini->CloseIniFile(settings, 0);
        UnregisterForAllNotifications();
    }

    KR::IIniFileManager* GetIniFileManager() const override { return ini.Get(); }
    std::int32_t GetSettingsIniFile(std::int32_t kind) override { return kind == 1 ? settings : 0; }
    KR::Result GetSystemFont(String& face, float& size, std::int32_t& style) override
    {
        face = u"Sans";
        size = 9.0f;
        style = 0;
        return systemFontFails ? KR::kFail : kOk;
    }
    void RunMessageLoop() override
    {
        log.push_back("loop");
        if (loopThrows)
        {
            throw std::runtime_error("broken");
        }
    }
    std::int32_t ShowMessageBox(const String& text, const String& caption, std::uint32_t style) override
    {
        log.push_back("box " + Utf8(caption) + " | " + Utf8(text) + " | " + std::to_string(style));
        return 1;
    }

    std::optional<std::int32_t> StoredSkin()
    {
        if (!ini->DoesNodeExist(settings, u"CurrentSkinIndex"))
        {
            return std::nullopt;
        }
        std::int32_t index = -100;
        ini->GetIniValueInt(settings, u"CurrentSkinIndex", -100, index);
        return index;
    }

    KR::TestSupport::TempFolder folder;
    RCPtr<KR::LIniFileManager> ini{new KR::LIniFileManager};
    std::int32_t settings = 0;
    bool systemFontFails = false;
    bool loopThrows = false;
    Log log;
};

// A system window that writes the modal results it is given into a shared log.
class LoggingWindowServices : public LFakeWindowServices
{
public:
    LoggingWindowServices(Log& log, std::string name) : log(log), name(std::move(name)) {}
    KR::Result EndModal(KR::Result result) override
    {
        log.push_back(name + ":" + std::to_string(result));
        return kOk;
    }
    std::uint32_t SetCursor(std::uint32_t shape) override
    {
        if (logCursors)
        {
            log.push_back(name + " cursor " + std::to_string(shape));
        }
        return LFakeWindowServices::SetCursor(shape);
    }
    bool logCursors = false;
    Log& log;
    std::string name;
};

struct Windows
{
    Windows(LFrameworkApp& app, int count)
    {
        for (int i = 0; i < count; ++i)
        {
            os.emplace_back(new LoggingWindowServices(log, std::to_string(i)));
            roots.emplace_back(new LRootWindow(renderer, os.back().Get()));
            app.AddRootWindow(roots.back());
        }
    }
    ~Windows()
    {
        for (const RCPtr<LRootWindow>& root : roots)
        {
            root->ReleaseInternalReferences();
        }
    }
    Log log;
    RCPtr<KR::LRenderer> renderer{new KR::TestSupport::LRecordingRenderer};
    std::vector<RCPtr<LoggingWindowServices>> os;
    std::vector<RCPtr<LRootWindow>> roots;
};

TEST(FrameworkAppStartup, TheStoredSkinIsChosenWithinTheSkinsLoadedAndWrittenBack)
{
    struct Case
    {
        std::optional<std::int32_t> stored;
        std::int32_t chosen;
    };
    const Case cases[] = {{5, 1}, {std::nullopt, 0}, {-1, 0}, {1, 1}, {0, 0}};
    for (const Case& c : cases)
    {
        TestApp app(kTwoSkins);
        if (c.stored)
        {
            app.ini->SetIniValueInt(app.settings, u"CurrentSkinIndex", *c.stored);
        }
        EXPECT_EQ(app.RunApplicationStartup(), kOk);
        EXPECT_EQ(app.GetControlFactory()->GetCurrentSkinIndex(), c.chosen) << c.stored.value_or(-99);
        EXPECT_EQ(app.StoredSkin(), c.chosen) << c.stored.value_or(-99);
        EXPECT_TRUE(app.GetDefaultFont());
    }
    {
        // The framework's classes are registered on the way.
        TestApp app(kTwoSkins);
        ASSERT_EQ(app.RunApplicationStartup(), kOk);
        KR::ControlCreateFunction create = nullptr;
        EXPECT_EQ(app.GetControlFactory()->GetControlCreateFunction(u"Framework.Button", create), kOk);
        EXPECT_TRUE(create);
    }
    TestApp noSkins(nullptr);
    EXPECT_EQ(noSkins.RunApplicationStartup(), KR::kFail);
    EXPECT_EQ(noSkins.StoredSkin(), std::nullopt);
}

TEST(FrameworkAppStartup, AFailingSystemFontLeavesSkinAndFontAsTheyWere)
{
    TestApp app(kTwoSkins);
    ASSERT_EQ(app.RunApplicationStartup(), kOk);
    const RCPtr<KR::LFont> font = app.GetDefaultFont();
    app.systemFontFails = true;
    EXPECT_THROW(app.SetSkin(1), KR::FailedResultException);
    EXPECT_EQ(app.GetControlFactory()->GetCurrentSkinIndex(), 0);
    EXPECT_EQ(app.StoredSkin(), 0);
    EXPECT_EQ(app.GetDefaultFont(), font);
    app.systemFontFails = false;
    EXPECT_THROW(app.SetSkin(2), KR::FailedResultException); // no third skin
    EXPECT_EQ(app.GetControlFactory()->GetCurrentSkinIndex(), 0);
}

TEST(FrameworkAppStartup, SetSkinKeepsTheFocusOfTheActiveWindowOnlyAndRepaintsEach)
{
    TestApp app(kTwoSkins);
    Windows windows(app, 2);
    windows.os[0]->active = false;
    RCPtr<KR::LControl> focused[2];
    for (int i = 0; i < 2; ++i)
    {
        const auto root = KR::UiTest::TestControl::Make(nullptr, u"root", KR::RectD{0, 0, 100, 100});
        windows.roots[i]->SetRootControl(root);
        KR::UiTest::TestControl::Make(root, u"first");
        focused[i] = KR::UiTest::TestControl::Make(root, u"second");
    }
    // The inactive window has no focus, and keeps none; the active one keeps its control.
    windows.roots[0]->SetFocusControl(nullptr);
    windows.roots[1]->SetFocusControl(focused[1]);
    app.SetSkin(1);
    EXPECT_FALSE(windows.roots[0]->GetFocusControl());
    EXPECT_EQ(windows.roots[1]->GetFocusControl(), focused[1]);
    for (const auto& os : windows.os)
    {
        ASSERT_FALSE(os->invalidated.empty());
        EXPECT_EQ(os->invalidated.back(), (KR::RectI{0, 0, 1024, 768}));
    }
    EXPECT_EQ(app.StoredSkin(), 1);
}

TEST(FrameworkAppStartup, SetSkinShowsTheWaitCursorOnTheActiveWindowOncePerWindow)
{
    TestApp app(kTwoSkins);
    Windows windows(app, 2);
    windows.os[0]->active = false;
    for (const auto& os : windows.os)
    {
        os->logCursors = true;
    }
    const std::uint32_t wait = app.LoadCursorByName(KR::kCursorWait);
    app.SetSkin(1);
    const std::string busy = "1 cursor " + std::to_string(wait);
    EXPECT_EQ(windows.log, (Log{busy, "1 cursor 0", busy, "1 cursor 0"}));
}

TEST(FrameworkAppStartup, TheStatusTextGoesToTheStatusBarOfTheMainWindow)
{
    LFrameworkApp app(u"Test");
    EXPECT_EQ(app.SetStatusText(u"Saving", true), KR::kFail); // no window
    Windows windows(app, 2);
    const auto root = KR::UiTest::TestControl::Make(nullptr, u"root", KR::RectD{0, 0, 100, 100});
    windows.roots[0]->SetRootControl(root);
    EXPECT_EQ(app.SetStatusText(u"Saving", true), KR::kFail); // no status bar
    EXPECT_EQ(app.ResetStatusText(true), KR::kFail);

    const auto panel = KR::UiTest::TestControl::Make(root, u"panel");
    const RCPtr<KR::LStatusBar> bar(new KR::LStatusBar(panel, u"status"));
    const auto label = KR::UiTest::TestControl::Make(bar, u"label1");
    bar->Initialize();
    bar->SetCreationFinished();
    EXPECT_EQ(app.GetStatusBar(), bar);
    EXPECT_EQ(app.SetStatusText(u"Saving", true), kOk);
    EXPECT_EQ(Utf8(label->GetText()), "Saving");
    EXPECT_EQ(app.SetStatusText(u"Later", false), kOk);
    EXPECT_EQ(Utf8(label->GetText()), "Saving");
    app.OnIdle(true);
    EXPECT_EQ(Utf8(label->GetText()), "Later");
    EXPECT_EQ(app.ResetStatusText(true), kOk);
    EXPECT_EQ(Utf8(label->GetText()), ""); // the bar's default text: no "LABEL" here
    bar->ReleaseInternalReferences();
}

TEST(FrameworkAppStartup, TheExitRequestEndsEveryDialogButTheMainWindowLastFirst)
{
    TestApp app(kTwoSkins);
    Windows windows(app, 3);
    app.Receive(nullptr, KR::LNotification::Create(u"NID_TEST_OTHER"));
    EXPECT_FALSE(app.IsExiting());
    app.OnIdle(false);
    EXPECT_TRUE(windows.log.empty());

    app.Receive(nullptr, KR::LNotification::Create(u"NID_APP_EXIT_REQ"));
    EXPECT_TRUE(app.IsExiting());
    app.OnIdle(false);
    EXPECT_EQ(windows.log, (Log{"2:0", "1:0"}));
}

TEST(FrameworkAppStartup, ALoopThatThrowsShowsTheStartupErrorAndTheLastIdlePassExits)
{
    // On the heap, as the program holds it: the registration takes a reference.
    const RCPtr<TestApp> app(new TestApp(kTwoSkins));
    app->RegisterForNotification(LFrameworkApp::GetNotificationCenter(), u"NID_APP_EXIT_REQ");
    app->loopThrows = true;
    std::string logged;
    KR::GetDebugLog().SetDebuggerOutput([&logged](std::string_view piece) { logged += piece; });
    EXPECT_EQ(app->Run(), kOk);
    KR::GetDebugLog().SetDebuggerOutput(nullptr);
    EXPECT_EQ(app->log, (Log{"loop", "box Error | Start failed. | 16"}));
    EXPECT_NE(logged.find("broken"), std::string::npos) << logged;
    EXPECT_TRUE(app->IsExiting());
    app->UnregisterForAllNotifications();
}

TEST(FrameworkAppStartup, TheActiveRootWindowIsTheLastWhoseSystemWindowIsActive)
{
    LFrameworkApp app(u"Test");
    Windows windows(app, 3);
    struct Case
    {
        bool active[3];
        int expected;
    };
    const Case cases[] = {{{false, true, true}, 2}, {{true, false, false}, 0}, {{false, false, false}, -1}};
    for (const Case& c : cases)
    {
        for (int i = 0; i < 3; ++i)
        {
            windows.os[i]->active = c.active[i];
        }
        const RCPtr<KR::IRootWindowServices> active = app.GetActiveRootWindow();
        EXPECT_EQ(active.Get(), c.expected < 0 ? nullptr : windows.roots[c.expected].Get()) << c.expected;
    }
}

} // namespace
