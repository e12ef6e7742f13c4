#include "kr/system/DebugLog.h"

#include "kr/system/UdpListener.h"
#include "kr/thread/ThreadLog.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <unistd.h>

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

// Sockets this process has open, counted from its descriptor table.
int CountOpenSockets()
{
    int count = 0;
    DIR* folder = ::opendir("/proc/self/fd");
    while (const dirent* entry = folder ? ::readdir(folder) : nullptr)
    {
        char target[256] = {};
        const std::string link = std::string("/proc/self/fd/") + entry->d_name;
        if (::readlink(link.c_str(), target, sizeof(target) - 1) > 0 &&
            std::string(target).rfind("socket:", 0) == 0)
        {
            ++count;
        }
    }
    if (folder)
    {
        ::closedir(folder);
    }
    return count;
}

// The three datagrams that open the log's first output to a collector on this machine.
void ExpectAnnouncement(const KRTest::UdpListener& listener)
{
    EXPECT_EQ(listener.Receive(), "*** APPLICATION Launched on ");
    EXPECT_EQ(listener.Receive(), "127.0.0.1");
    EXPECT_EQ(listener.Receive(), "***\n");
}

TEST(DebugLogTest, WithoutTargetTextGoesToDebuggerOutputAndNoSocketIsMade)
{
    const int socketsBefore = CountOpenSockets();
    KR::DebugLog log;
    Pieces pieces;
    log.SetDebuggerOutput(pieces.Output());

    log.GetNarrowStream() << "Skin loaded: " << 3 << std::flush;
    log.Write("second line\n");

    EXPECT_EQ(pieces.Get(), (std::vector<std::string>{"Skin loaded: 3", "second line\n"}));
    EXPECT_EQ(log.GetPort(), -1);
    EXPECT_FALSE(log.HasSocket());
    EXPECT_EQ(CountOpenSockets(), socketsBefore);
}

TEST(DebugLogTest, UdpTargetGetsAnnouncementThenEachPieceAsOneDatagram)
{
    KRTest::UdpListener listener;
    ASSERT_GT(listener.Port(), 0);
    KR::DebugLog log;
    Pieces pieces;
    log.SetDebuggerOutput(pieces.Output());
    log.SetTarget("127.0.0.1", listener.Port());

    log.Write("first text");
    log.Write("second text");

    ExpectAnnouncement(listener);
    EXPECT_EQ(listener.Receive(), "first text");
    // The announcement is made once: the next datagram is the next text.
    EXPECT_EQ(listener.Receive(), "second text");
    EXPECT_TRUE(log.HasSocket());
    EXPECT_TRUE(pieces.Get().empty());
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

TEST(DebugLogTest, EmptyFlushToUdpTargetAnnouncesWithoutSendingText)
{
    KRTest::UdpListener listener;
    ASSERT_GT(listener.Port(), 0);
    KR::DebugLog log;
    log.SetTarget("127.0.0.1", listener.Port());

    log.GetNarrowStream().flush();
    log.Write("after");

    ExpectAnnouncement(listener);
    EXPECT_EQ(listener.Receive(), "after");
}

TEST(DebugLogTest, SetTargetWithNullHostKeepsHostAndBelowOnePortReturnsToDebuggerOutput)
{
    KRTest::UdpListener listener;
    ASSERT_GT(listener.Port(), 0);
    KR::DebugLog log;
    Pieces pieces;
    log.SetDebuggerOutput(pieces.Output());
    log.SetTarget("127.0.0.1", 0);
    log.SetTarget(nullptr, listener.Port());
    EXPECT_EQ(log.GetHost(), "127.0.0.1");

    log.Write("to the collector");
    log.SetTarget(nullptr, -1);
    log.Write("to the debugger");

    ExpectAnnouncement(listener);
    EXPECT_EQ(listener.Receive(), "to the collector");
    EXPECT_EQ(pieces.Get(), std::vector<std::string>{"to the debugger"});

    log.SetTarget("", -1);
    EXPECT_EQ(log.GetHost(), "");
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

TEST(DebugLogTest, FullPieceDoesNotCutUtf8CharacterInTwo)
{
    KR::DebugLog log;
    Pieces pieces;
    log.SetDebuggerOutput(pieces.Output());

    log.GetWideStream() << std::u16string(1022, u'a') << u"\u20AC and more" << std::flush;

    const std::vector<std::string> got = pieces.Get();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], std::string(1022, 'a'));
    EXPECT_EQ(got[1], "\xE2\x82\xAC and more");
}

TEST(DebugLogTest, WideStreamWritesUtf16TextAndNumbersAsUtf8)
{
    KR::DebugLog log;
    Pieces pieces;
    log.SetDebuggerOutput(pieces.Output());

    log.GetWideStream() << u"Gr\u00FC\u00DFe " << 42 << u' ' << KR::String(u"\u00E9t\u00E9") << std::endl;
    log.Write(u"line\n");

    EXPECT_EQ(pieces.Get(), (std::vector<std::string>{"Gr\xC3\xBC\xC3\x9F"
                                                      "e 42 \xC3\xA9t\xC3\xA9\n",
                                                      "line\n"}));
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
