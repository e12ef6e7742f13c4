#include "kr/app/ApplicationHost.h"
#include "kr/app/FrameworkApp.h"
#include "kr/notify/Notification.h"

#include <gtest/gtest.h>

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

} // namespace
