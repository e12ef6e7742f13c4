// The request thread that bounds every wait on the JACK server, with the server stood in
// for by requests that hold the thread until the test lets them go.

#include "platform/midi/JackRequests.h"
#include "platform/midi/MidiApi.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

namespace KR::Platform::Detail
{
namespace
{

using namespace std::chrono_literals;
using TestSupport::kPatience;

constexpr auto kAskersTime = 200ms;

enum class Earlier
{
    kNone,
    kPastTheAskersTime, // under way until twice the asker's own time has passed
    kUntilTheAskerGaveUp,
};

struct QueueCase
{
    const char* name;
    std::chrono::milliseconds answerTime; // SetMidiServerTimeout
    Earlier earlier;                      // a request queued just before
    bool ownHeld;                         // the asker's request holds until the asker gave up
    bool posted;                          // PostJackRequest rather than RunJackRequest
    bool answered;
    const char* reason; // part of the error when not answered
    bool ran;           // the asker's request, once everything has ended
    bool undone;
};

const QueueCase kQueueCases[] = {
    {"behind one answered slowly but in time", kPatience, Earlier::kPastTheAskersTime, false, false, true, "",
     true, false},
    {"posted behind one answered slowly but in time", kPatience, Earlier::kPastTheAskersTime, false, true,
     true, "", true, false},
    {"behind one the server does not answer", kAskersTime, Earlier::kUntilTheAskerGaveUp, false, false, false,
     "has not answered an earlier request", false, false},
    {"not answered itself", kPatience, Earlier::kNone, true, false, false, "did not answer within 200 ms",
     true, true},
};

TEST(JackRequests, ARequestsTimeCountsFromItsTurnAndAServerThatStoppedStillFailsIt)
{
    for (const QueueCase& c : kQueueCases)
    {
        SCOPED_TRACE(c.name);
        SetMidiServerTimeout(c.answerTime);
        std::promise<void> releaseEarlier;
        std::promise<void> releaseOwn;
        if (c.earlier != Earlier::kNone)
        {
            PostJackRequest([held = releaseEarlier.get_future().share()] { held.wait(); });
        }
        std::atomic<bool> ran = false;
        std::atomic<bool> undone = false;
        std::string error;
        const auto own = [&ran, held = releaseOwn.get_future().share(), wait = c.ownHeld]
        {
            if (wait)
            {
                held.wait();
            }
            ran = true;
        };
        const auto askedAt = std::chrono::steady_clock::now();
        auto asked = std::async(std::launch::async,
                                [&]
                                {
                                    return c.posted ? PostJackRequest(own, kAskersTime)
                                                    : RunJackRequest(
                                                          own, [&] { undone = true; }, &error, kAskersTime);
                                });
        if (c.earlier == Earlier::kPastTheAskersTime)
        {
            std::this_thread::sleep_until(askedAt + 2 * kAskersTime);
            releaseEarlier.set_value();
        }
        ASSERT_EQ(asked.wait_for(kPatience), std::future_status::ready) << "the asker hung";
        EXPECT_EQ(asked.get(), c.answered) << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        if (c.earlier == Earlier::kUntilTheAskerGaveUp)
        {
            releaseEarlier.set_value();
        }
        if (c.ownHeld)
        {
            releaseOwn.set_value();
        }
        // Everything queued has ended once a new request is answered.
        SetMidiServerTimeout(3s);
        EXPECT_TRUE(TestSupport::WaitUntil([] { return RunJackRequest([] {}, {}, nullptr); }));
        EXPECT_EQ(ran.load(), c.ran);
        EXPECT_EQ(undone.load(), c.undone);
    }
}

} // namespace
} // namespace KR::Platform::Detail
