#include "kr/system/DebugLog.h"

#include "kr/system/UdpListener.h"
#include "kr/thread/ThreadLog.h"

#include <gtest/gtest.h>

#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace
{

// Collects the pieces that reach the debugger output.
class Pieces
{
public:
    KR::DebugLog::Output Output()
    {
        return [this](std::string_view piece)
        {
            const std::lock_guard<std::mutex> lock(mLock);
            mPieces.emplace_back(piece);
        };
    }
    std::vector<std::string> Get() const
    {
        const std::lock_guard<std::mutex> lock(mLock);
        return mPieces;
    }

private:
    mutable std::mutex mLock;
    std::vector<std::string> mPieces;
};

// The three datagrams that open the log's first output to a collector on this machine.
void ExpectAnnouncement(const KRTest::UdpListener& listener)
{
    EXPECT_EQ(listener.Receive(), "*** APPLICATION Launched on ");
    EXPECT_EQ(listener.Receive(), "127.0.0.1");
    EXPECT_EQ(listener.Receive(), "***\n");
}

TEST(DebugLogTest, TextGoesToTheDebuggerUntilATargetIsSetThenAnnouncementAndOneDatagramPerPiece)
{
    KRTest::UdpListener listener;
    ASSERT_GT(listener.Port(), 0);
    KR::DebugLog log;
    Pieces pieces;
    log.SetDebuggerOutput(pieces.Output());
    log.GetNarrowStream() << "Skin loaded: " << 3 << std::flush;
    EXPECT_FALSE(log.HasSocket());

    // A null host keeps the one set before; an empty flush announces without text.
    log.SetTarget("127.0.0.1", 0);
    log.SetTarget(nullptr, listener.Port());
    EXPECT_EQ(log.GetHost(), "127.0.0.1");
    log.GetNarrowStream().flush();
    log.Write("first text");
    log.Write("second text");
    log.SetTarget(nullptr, -1);
    log.Write("back to the debugger\n");

    ExpectAnnouncement(listener);
    EXPECT_EQ(listener.Receive(), "first text");
    EXPECT_EQ(listener.Receive(), "second text") << "the announcement is made once";
    EXPECT_EQ(pieces.Get(), (std::vector<std::string>{"Skin loaded: 3", "back to the debugger\n"}));
    log.SetTarget("", -1);
    EXPECT_EQ(log.GetHost(), "");
}

TEST(DebugLogTest, LongWriteArrivesInPiecesOf1023AndTheRestAtFlush)
{
    KRTest::UdpListener listener;
    ASSERT_GT(listener.Port(), 0);
    KR::DebugLog log;
    log.SetTarget("127.0.0.1", listener.Port());
    const std::string text = std::string(1023, 'a') + std::string(1023, 'b') + std::string(954, 'c');

    log.GetNarrowStream() << text;
    ExpectAnnouncement(listener);
    EXPECT_EQ(listener.Receive(), std::string(1023, 'a'));
    EXPECT_EQ(listener.Receive(), std::string(1023, 'b'));

    log.GetNarrowStream().flush();
    EXPECT_EQ(listener.Receive(), std::string(954, 'c'));
}

TEST(DebugLogTest, SingleCharactersDoNotGrowThePieceBeyond1023)
{
    KR::DebugLog log;
    Pieces pieces;
    log.SetDebuggerOutput(pieces.Output());

    for (int i = 0; i < 2500; ++i)
    {
        log.GetNarrowStream().put('x');
    }
    EXPECT_EQ(pieces.Get(), (std::vector<std::string>{std::string(1023, 'x'), std::string(1023, 'x')}));
    log.GetNarrowStream().flush();
    EXPECT_EQ(pieces.Get().back(), std::string(454, 'x'));
}

TEST(DebugLogTest, WideTextIsWrittenAsUtf8AndAFullPieceDoesNotCutACharacterInTwo)
{
    KR::DebugLog log;
    Pieces pieces;
    log.SetDebuggerOutput(pieces.Output());

    log.GetWideStream() << u"Gr\u00FC\u00DFe " << 42 << u' ' << KR::String(u"\u00E9t\u00E9") << std::endl;
    log.Write(u"line\n");
    log.GetWideStream() << std::u16string(1022, u'a') << u"\u20AC and more" << std::flush;

    EXPECT_EQ(pieces.Get(),
              (std::vector<std::string>{"Gr\xC3\xBC\xC3\x9F"
                                        "e 42 \xC3\xA9t\xC3\xA9\n",
                                        "line\n", std::string(1022, 'a'), "\xE2\x82\xAC and more"}));
}

TEST(DebugLogTest, ConsoleTakesTheCurrentStreamsWhileDebugStreamsKeepTheirOutput)
{
    // The console outlives the log that writes to it.
    std::ostringstream console;
    KR::DebugLog log;
    Pieces pieces;
    log.SetDebuggerOutput(pieces.Output());

    KR::CreateDebugConsole(log, console);
    log.Narrow() << "narrow " << 1 << '\n';
    log.Wide() << u"wide " << 2 << u'\n';
    log.GetNarrowStream() << "direct" << std::flush;

    EXPECT_EQ(console.str(), "narrow 1\nwide 2\n");
    EXPECT_EQ(pieces.Get(), std::vector<std::string>{"direct"});
}

TEST(DebugLogTest, WritersOnSeveralThreadsNeverMixWithinAPiece)
{
    KR::DebugLog log;
    Pieces pieces;
    log.SetDebuggerOutput(pieces.Output());
    constexpr int kThreads = 6;
    constexpr int kMessages = 200;

    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t)
    {
        writers.emplace_back(
            [&log, t]
            {
                const std::string body(40, static_cast<char>('a' + t));
                for (int m = 0; m < kMessages; ++m)
                {
                    if (t % 2 == 0)
                    {
                        log.Narrow() << body.substr(0, 20) << body.substr(20) << '\n';
                    }
                    else
                    {
                        log.Write(body + "\n");
                    }
                }
            });
    }
    for (std::thread& writer : writers)
    {
        writer.join();
    }

    const std::vector<std::string> got = pieces.Get();
    ASSERT_EQ(got.size(), static_cast<std::size_t>(kThreads * kMessages));
    for (const std::string& piece : got)
    {
        ASSERT_EQ(piece, std::string(40, piece[0]) + "\n");
    }
}

TEST(DebugLogTest, ThreadLayerProblemsReachTheProcessLog)
{
    KR::DebugLog& log = KR::GetDebugLog();
    Pieces pieces;
    log.SetDebuggerOutput(pieces.Output());

    KR::LogThreadProblem("worker threw");
    log.SetDebuggerOutput(nullptr);

    EXPECT_EQ(pieces.Get(), std::vector<std::string>{"worker threw\n"});
}

} // namespace
