#include "kr/app/ApplicationHost.h"
#include "kr/app/FrameworkApp.h"
#include "kr/notify/Notification.h"
#include "kr/system/DebugLog.h"
#include "kr/ui/ControlFactory.h"
#include "support/ApplicationHostStandIn.h"
#include "support/Files.h"
#include "support/ScopedVariable.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace
{

using KR::LApplicationHost;

// An application whose idle step reports work for its first `busyPasses` calls.
class IdleApp : public KR::LFrameworkApp
{
public:
    explicit IdleApp(int busyPasses) : LFrameworkApp(u"Idle"), mBusy(busyPasses) {}
    bool OnIdle(bool sendIdle) override
    {
        firstPasses.push_back(sendIdle);
        return static_cast<int>(firstPasses.size()) <= mBusy;
    }
    std::vector<bool> firstPasses;

private:
    int mBusy;
};

TEST(ApplicationHost, TheIdleRuleRunsTheApplicationsIdleStepAtMostThreeTimesAfterAMessage)
{
    struct Row
    {
        const char* what;
        bool app;
        bool exiting;
        int busyPasses;
        int calls; // of the application's idle step
    };
    const Row rows[] = {
        {"no application", false, false, 0, 0},           {"exiting", true, true, 100, 0},
        {"no work on the first call", true, false, 0, 1}, {"work once", true, false, 1, 2},
        {"work that never ends", true, false, 100, 3},
    };
    for (const Row& row : rows)
    {
        KR::RCPtr<IdleApp> app = row.app ? new IdleApp(row.busyPasses) : nullptr;
        if (row.exiting)
        {
            app->Receive(nullptr, KR::LNotification::Create(u"NID_APP_EXIT_REQ"));
        }
        // As the main loop asks: 0 after a message, then on while the rule answers true.
        int count = 0;
        while (LApplicationHost::ApplyIdleRule(app.Get(), count))
        {
            ++count;
            ASSERT_LT(count, 10) << row.what;
        }
        const int calls = app ? static_cast<int>(app->firstPasses.size()) : 0;
        EXPECT_EQ(calls, row.calls) << row.what;
        for (int index = 0; index < calls; ++index)
        {
            EXPECT_EQ(app->firstPasses[index], index == 0) << row.what;
        }
    }
}

TEST(ApplicationHost, OnlyTheQuietStartupResultsRunTheLoopWithoutAMainWindow)
{
    for (const std::uint32_t code :
         {0x8000A000u, 0x8000A001u, 0x8000A002u, 0x8000A003u, 0x8000A010u, 0x8000A020u})
    {
        EXPECT_TRUE(LApplicationHost::IsQuietStartupResult(static_cast<KR::Result>(code)))
            << std::hex << code;
    }
    for (const std::uint32_t code : {0x80004005u, 0x8000A004u, 0x8000A011u, 0u})
    {
        EXPECT_FALSE(LApplicationHost::IsQuietStartupResult(static_cast<KR::Result>(code)))
            << std::hex << code;
    }
}

// A host whose start-up box is recorded, whose OLE step can fail, over a resource folder
// of the test's own.
class RecordingHost : public KR::TestSupport::LApplicationHostStandIn
{
public:
    explicit RecordingHost(const KR::String& folder) : mFolder(folder) {}
    std::vector<std::string> boxes;
    bool oleWorks = true;

protected:
    KR::String GetResourceFolder() override { return mFolder; }
    bool InitializeOle() override { return oleWorks; }
    std::int32_t ShowStartupMessageBox(const KR::String& text, const KR::String& caption) override
    {
        boxes.push_back(std::string(caption.ToUtf8().GetPtr()) + " | " + text.ToUtf8().GetPtr());
        return 1;
    }

private:
    KR::String mFolder;
};

TEST(ApplicationHost, StartupFailuresShowTheBoxInTheWordsAvailableThen)
{
    KR::TestSupport::TempFolder runtime;
    const KR::TestSupport::ScopedVariable runtimeDir("XDG_RUNTIME_DIR", runtime.Path().c_str());
    const std::string english =
        "Error | The application encountered problems during startup and will now close.";
    const std::string table = "Fehler | Der Start ist misslungen.";
    struct Row
    {
        const char* what;
        const char* skins; // null: no documents at all
        bool oleWorks;
        bool applicationStarts;
        std::string box;
        const char* logged; // part of the debug log's line
    };
    const Row rows[] = {
        {"no documents", nullptr, true, false, english, "Runtime Error"},
        {"a broken skin", "<Test_Skin_Definitions><Application", true, false, english,
         "Failed Result : KRRESULT = 80004005 : KR::MFCFrameworkApp<class LApplication>::InitApplication : "
         "krframework\\include\\../Application/ApplicationBaseWin : Line 161"},
        {"OLE fails", "<Test_Skin_Definitions/>", false, true, table, ""},
    };
    for (const Row& row : rows)
    {
        KR::TestSupport::TempFolder folder;
        if (row.skins != nullptr)
        {
            std::ofstream(folder / "Skins.xml") << row.skins;
            std::ofstream(folder / "StringTables.xml") << "<Tarsil_StringTable_Definitions/>";
            std::ofstream(folder / "FrameworkStrings.xml")
                << R"(<Tarsil_StringTable_Definitions><StringTable ID="Framework">
<String ID="STARTUP_ERROR"><Locale LCID="9">Der Start ist misslungen.</Locale></String>
<String ID="STARTUP_ERROR_CAPTION"><Locale LCID="9">Fehler</Locale></String>
</StringTable></Tarsil_StringTable_Definitions>)";
        }
        std::string log;
        KR::GetDebugLog().SetDebuggerOutput([&log](std::string_view piece) { log += piece; });
        {
            RecordingHost host(folder.Text());
            host.oleWorks = row.oleWorks;
            EXPECT_EQ(host.InitApplication(), row.applicationStarts) << row.what;
            if (row.applicationStarts)
            {
                EXPECT_TRUE(host.IsFirstInstance()) << row.what;
                EXPECT_FALSE(host.InitInstance()) << row.what;
                EXPECT_EQ(host.ExitInstance(), 1) << row.what;
            }
            EXPECT_EQ(host.boxes, std::vector<std::string>{row.box}) << row.what;
            EXPECT_EQ(host.GetSplashScreen(), nullptr) << row.what;
        }
        KR::GetDebugLog().SetDebuggerOutput(nullptr);
        EXPECT_NE(log.find(row.logged), std::string::npos) << row.what << ": " << log;
    }
}

} // namespace
