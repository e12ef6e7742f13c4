// The MIDI object and its ports for real: JACK's dummy driver, and the simulated
// keyboard as another client.

#include "MidiTestSupport.h"

#include "kr/midi/MidiComm.h"
#include "kr/thread/ThreadLog.h"
#include "platform/midi/MidiApi.h"

#include "simkeyboard/HexText.h"
#include "simkeyboard/KeyboardProtocol.h"
#include "support/simkeyboard/PrivateJackServer.h"
#include "support/simkeyboard/SimKeyboardProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <barrier>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

namespace KR::MidiTest
{
namespace
{

namespace kp = KeyboardProtocol;

const String kKeyboardIn = u"MIDIIN4 (Vantor)";
const String kKeyboardOut = u"MIDIOUT4 (Vantor)";
const std::string kClientName = "kr-test-midicomm";

class MidiCommOnJack : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string error;
        mSim = TestSupport::SimKeyboardProcess::Start({}, &error);
        ASSERT_NE(mSim, nullptr) << error;
        mComm = LMidiComm::Create(Options());
        mClient = CaptureClient::Create();
        ASSERT_NE(mClient->RegisterForNotification(mComm, kNidMidiDataCaptured), 0);
    }

    void TearDown() override
    {
        // A set-up that failed early (no JACK server) leaves nothing to take down.
        if (!mClient)
        {
            return;
        }
        mClient->UnregisterForAllNotifications();
        mClient = nullptr;
        mComm = nullptr;
        // Every port the test held is gone, so every device is closed.
        EXPECT_TRUE(WaitUntil([] { return !JackClientIsConnected(kClientName); }));
    }

    static Platform::MidiPortOptions Options()
    {
        Platform::MidiPortOptions options;
        options.clientName = kClientName;
        return options;
    }

    std::unique_ptr<TestSupport::SimKeyboardProcess> mSim;
    RCPtr<LMidiComm> mComm;
    RCPtr<CaptureClient> mClient;
};

TEST_F(MidiCommOnJack, OneNamePartInAnyLetterCaseGivesOnePortWhileHeldAndTheLastHolderClosesIt)
{
    for (const bool capture : {false, true})
    {
        RCPtr<LRefCountedObject> port(LMidiCaptureNotificationData::Create({}, String(), 0));
        const String name = capture ? u"MIDIIN5 (Nobody)" : u"MIDIOUT5 (Nobody)";
        EXPECT_EQ(capture ? mComm->OpenCapturePort(name, port) : mComm->OpenRenderPort(name, port), kFail);
        EXPECT_EQ(port, nullptr) << "an unknown name clears the port";
        EXPECT_GE(mComm->GetLastOpenError().Find(name), 0);
    }
    RCPtr<LRefCountedObject> first;
    RCPtr<LRefCountedObject> second;
    RCPtr<LRefCountedObject> third;
    ASSERT_EQ(mComm->OpenCapturePort(kKeyboardIn, first), kOk);
    ASSERT_EQ(mComm->OpenCapturePort(u"midiin4 (vANTOR)", second), kOk);
    EXPECT_GE(RCPtr<LMidiCapturePort>(first)->GetName().Find(kKeyboardIn), 0);
    // An empty part matches every name: the port opened last.
    ASSERT_EQ(mComm->OpenCapturePort(u"", third), kOk);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first, third);
    EXPECT_EQ(mComm->GetCapturePortCount(), 1u);

    // An output port of the same device part is another port.
    RCPtr<LRefCountedObject> out;
    ASSERT_EQ(mComm->OpenRenderPort(u"vantor", out), kOk);
    EXPECT_NE(out, first);
    EXPECT_GE(RCPtr<LMidiRenderPort>(out)->GetName().Find(kKeyboardOut), 0);

    first = nullptr;
    third = nullptr;
    EXPECT_EQ(mComm->GetCapturePortCount(), 1u);
    EXPECT_TRUE(JackClientIsConnected(kClientName));
    second = nullptr;
    EXPECT_EQ(mComm->GetCapturePortCount(), 0u);
    EXPECT_EQ(mComm->GetRenderPortCount(), 1u);
    out = nullptr;
    EXPECT_EQ(mComm->GetRenderPortCount(), 0u);
    EXPECT_TRUE(WaitUntil([] { return !JackClientIsConnected(kClientName); }));

    // Opened anew, and working.
    ASSERT_EQ(mComm->OpenCapturePort(kKeyboardIn, first), kOk);
    ASSERT_TRUE(mSim->Command("send C0 05"));
    EXPECT_EQ(Sizes(mClient->WaitFor(1)), std::vector<std::size_t>{2});
}

TEST_F(MidiCommOnJack, ThreadsOpeningOneNameAtOnceShareOnePortAndTheLastToLetGoClosesIt)
{
    constexpr int kThreads = 8;
    for (int round = 0; round < 10; ++round)
    {
        std::vector<RCPtr<LRefCountedObject>> ports(kThreads);
        std::vector<Result> results(kThreads, kFail);
        std::barrier opened(kThreads + 1);
        std::barrier release(kThreads + 1);
        std::vector<std::thread> threads;
        for (int i = 0; i < kThreads; ++i)
        {
            threads.emplace_back(
                [&, i]
                {
                    results[i] = mComm->OpenRenderPort(kKeyboardOut, ports[i]);
                    opened.arrive_and_wait();
                    release.arrive_and_wait();
                    ports[i] = nullptr;
                });
        }
        opened.arrive_and_wait();
        EXPECT_EQ(std::count(results.begin(), results.end(), kOk), kThreads);
        EXPECT_EQ(std::count(ports.begin(), ports.end(), ports[0]), kThreads);
        EXPECT_EQ(mComm->GetRenderPortCount(), 1u);
        release.arrive_and_wait();
        for (std::thread& thread : threads)
        {
            thread.join();
        }
        ASSERT_EQ(mComm->GetRenderPortCount(), 0u) << "round " << round;
    }
    EXPECT_TRUE(WaitUntil([] { return !JackClientIsConnected(kClientName); }));
}

TEST_F(MidiCommOnJack, CapturedMessagesArriveWholeAndInOrderOnTheWorkerThread)
{
    RCPtr<LRefCountedObject> in;
    ASSERT_EQ(mComm->OpenCapturePort(kKeyboardIn, in), kOk);

    // The long message leaves the simulator as two events, 256 and 44 bytes.
    const Bytes sysEx = TestSupport::SysExOfSize(300);
    ASSERT_TRUE(mSim->Command("sendpieces 256 " + HexText::Format(sysEx))) << mSim->LastAnswer();
    ASSERT_TRUE(mSim->Command("send 90 3C 64"));
    ASSERT_TRUE(mSim->Command("send C0 05"));
    ASSERT_TRUE(mSim->Command("send F8"));

    const std::vector<Captured> messages = mClient->WaitFor(4);
    ASSERT_EQ(Sizes(messages), (std::vector<std::size_t>{300, 3, 2, 1}));
    EXPECT_EQ(messages[0].bytes, sysEx);
    EXPECT_EQ(messages[1].bytes, (Bytes{0x90, 0x3C, 0x64}));
    EXPECT_EQ(messages[2].bytes, (Bytes{0xC0, 0x05}));
    EXPECT_EQ(messages[3].bytes, (Bytes{0xF8}));
    EXPECT_EQ(messages[0].timeStamp, 0u);

    const std::thread::id pool = PoolThread(*mComm);
    EXPECT_NE(pool, std::this_thread::get_id());
    for (const Captured& message : messages)
    {
        EXPECT_EQ(message.thread, pool);
        EXPECT_EQ(message.portName, RCPtr<LMidiCapturePort>(in)->GetName().ToUtf8().GetPtr());
        EXPECT_EQ(message.sender, mComm.Get());
    }
}

TEST_F(MidiCommOnJack, SendMidiAnswersAsTheMessageKindSays)
{
    RCPtr<LRefCountedObject> out;
    RCPtr<LRefCountedObject> in;
    ASSERT_EQ(mComm->OpenRenderPort(kKeyboardOut, out), kOk);
    ASSERT_EQ(mComm->OpenCapturePort(kKeyboardIn, in), kOk);
    const auto noteOn = ToArray({0x90, 0x3C, 0x64});

    EXPECT_EQ(mComm->SendMidi(nullptr, noteOn), kInvalidArg);
    EXPECT_EQ(mComm->SendMidi(in, noteOn), kInvalidArg);
    EXPECT_EQ(mComm->SendMidi(RCPtr<LRefCountedObject>(LMidiCaptureNotificationData::Create({}, String(), 0)),
                              noteOn),
              kInvalidArg);
    EXPECT_EQ(mComm->SendMidi(out, ToArray({})), kInvalidArg);

    EXPECT_EQ(mComm->SendMidi(out, noteOn), 0);
    EXPECT_EQ(mComm->SendMidi(out, ToArray({0xC0, 0x05, 0x77})), 0); // only the message's own bytes go
    EXPECT_EQ(mComm->SendMidi(out, ToArray({0x80, 0x3C})), 0);       // the missing velocity goes as 0
    EXPECT_EQ(mComm->SendMidi(out, ToArray({0xF2, 0x01, 0x02})), 3);
    EXPECT_EQ(mComm->SendMidi(out, ToArray({0xF3, 0x04})), 2);
    EXPECT_EQ(mComm->SendMidi(out, ToArray({0xF8})), 1);
    EXPECT_EQ(mComm->SendMidi(out, ToArray(TestSupport::SysExOfSize(20))), 20);
    EXPECT_EQ(mSim->WaitForLogLines(7),
              (std::vector<std::string>{"90 3C 64", "C0 05", "80 3C 00", "F2 01 02", "F3 04", "F8",
                                        HexText::Format(TestSupport::SysExOfSize(20))}));
}

TEST_F(MidiCommOnJack, OpeningAndClosingUnderAFloodNeitherHangsNorLeavesClients)
{
    // One round first, so that what the JACK library keeps for the process is counted.
    {
        RCPtr<LRefCountedObject> in;
        RCPtr<LRefCountedObject> out;
        ASSERT_EQ(mComm->OpenCapturePort(kKeyboardIn, in), kOk);
        ASSERT_EQ(mComm->OpenRenderPort(kKeyboardOut, out), kOk);
    }
    const std::size_t threadsBefore = ThreadCount();
    ASSERT_TRUE(mSim->Command("flood on"));

    std::promise<std::string> done;
    std::thread cycler(
        [&]
        {
            const auto clock = ToArray({0xF8});
            for (int round = 0; round < 100; ++round)
            {
                RCPtr<LRefCountedObject> in;
                RCPtr<LRefCountedObject> out;
                if (Failed(mComm->OpenCapturePort(kKeyboardIn, in)) ||
                    Failed(mComm->OpenRenderPort(kKeyboardOut, out)))
                {
                    done.set_value("round " + std::to_string(round) + ": " +
                                   mComm->GetLastOpenError().ToUtf8().GetPtr());
                    return;
                }
                if (mComm->SendMidi(out, clock) != 1)
                {
                    done.set_value("round " + std::to_string(round) + ": the clock byte was not sent");
                    return;
                }
                // Closing in both orders.
                if (round % 2 == 0)
                {
                    in = nullptr;
                }
            }
            done.set_value("");
        });
    auto finished = done.get_future();
    if (finished.wait_for(120s) != std::future_status::ready)
    {
        ADD_FAILURE() << "opening and closing hung";
        std::abort(); // a deadlocked thread cannot be joined
    }
    cycler.join();
    EXPECT_EQ(finished.get(), "");
    EXPECT_GT(mClient->Count(), 0u) << "the flood never arrived";
    EXPECT_TRUE(mSim->Command("flood off"));
    EXPECT_EQ(mComm->GetCapturePortCount(), 0u);
    EXPECT_EQ(mComm->GetRenderPortCount(), 0u);
    EXPECT_TRUE(WaitUntil([] { return !JackClientIsConnected(kClientName); }));
    EXPECT_LE(ThreadCount(), threadsBefore) << "threads left behind";
}

TEST_F(MidiCommOnJack, AHandlerMayLetGoOfThePortsAndTheMidiObject)
{
    {
        RCPtr<LRefCountedObject> in;
        ASSERT_EQ(mComm->OpenCapturePort(kKeyboardIn, in), kOk);
    }
    const std::size_t threadsBefore = ThreadCount();
    // Everything the handler drops; the test keeps no reference of its own.
    struct Held
    {
        RCPtr<LMidiComm> comm;
        RCPtr<LRefCountedObject> in;
        RCPtr<LRefCountedObject> out;
    };
    auto held = std::make_shared<Held>();
    std::atomic<bool> dropped = false;
    const RCPtr<CaptureClient> client = CaptureClient::Create(
        [held, &dropped](CaptureClient& self)
        {
            if (!held->comm)
            {
                return;
            }
            const RCPtr<LMidiComm> comm = held->comm;
            self.UnregisterForAllNotifications();
            held->in = nullptr; // closes the port whose message is being delivered
            held->out = nullptr;
            held->comm = nullptr;
            dropped = true;
        });
    held->comm = LMidiComm::Create(Options());
    ASSERT_NE(client->RegisterForNotification(held->comm, kNidMidiDataCaptured), 0);
    ASSERT_EQ(held->comm->OpenCapturePort(kKeyboardIn, held->in), kOk);
    ASSERT_EQ(held->comm->OpenRenderPort(kKeyboardOut, held->out), kOk);
    ASSERT_TRUE(mSim->Command("flood on"));

    EXPECT_TRUE(WaitUntil([&] { return dropped.load(); }));
    // The MIDI object goes on its own worker thread, once the handler's job is done.
    EXPECT_TRUE(WaitUntil([&] { return !JackClientIsConnected(kClientName); }));
    EXPECT_TRUE(WaitUntil([&] { return ThreadCount() <= threadsBefore; })) << ThreadCount() << " threads";
    EXPECT_TRUE(mSim->Command("flood off"));
}

// What the thread log says while a test runs.
std::mutex gLogMutex;
std::vector<std::string> gLogged;

void KeepLogged(std::string_view message)
{
    const std::lock_guard lock(gLogMutex);
    gLogged.emplace_back(message);
}

// A render port whose close gives up (a server held back past its answer time, with what
// was sent still queued) says so in the log when its last holder lets it go: nobody else is
// left to be told. What was sent still arrives once the server runs again.
TEST(MidiCommOnAStoppedJack, ARenderPortWhoseCloseGivesUpSaysSoInTheLog)
{
    TestSupport::PrivateJackServer server;
    ASSERT_TRUE(server.Ready());
    std::string error;
    const auto sim = TestSupport::SimKeyboardProcess::Start({}, &error);
    ASSERT_NE(sim, nullptr) << error;
    // A client of its own: the process's other one is on the shared server.
    Platform::MidiPortOptions options;
    options.clientName = "kr-stopped-midicomm-" + std::to_string(getpid());
    RCPtr<LMidiComm> comm = LMidiComm::Create(options);
    const auto gaveUp = []
    {
        const std::lock_guard lock(gLogMutex);
        return std::count_if(gLogged.begin(), gLogged.end(),
                             [](const std::string& line)
                             {
                                 return line.starts_with("KR::LMidiRenderPort: closing \"") &&
                                        line.find("MIDIOUT4 (Vantor)\" gave up: what was sent") !=
                                            std::string::npos;
                             });
    };

    // A process cycle the server started just before it stopped may still run in this
    // client and carry the message away; then the close had nothing to give up on, and
    // the stop is tried again.
    std::size_t sent = 0;
    while (sent < 5 && gaveUp() == 0)
    {
        RCPtr<LRefCountedObject> out;
        ASSERT_EQ(comm->OpenRenderPort(kKeyboardOut, out), kOk);
        SetThreadLogSink(&KeepLogged);
        Platform::SetMidiServerTimeout(200ms);
        server.Pause();
        EXPECT_EQ(comm->SendMidi(out, ToArray({0xC0, 0x05})), kOk);
        ++sent;
        out = nullptr; // the last holder: the port closes here
        server.Resume();
        Platform::SetMidiServerTimeout(3s); // MidiApi.h
        SetThreadLogSink(nullptr);
    }
    {
        const std::lock_guard lock(gLogMutex);
        EXPECT_EQ(gLogged.size(), 1u) << ::testing::PrintToString(gLogged);
    }
    EXPECT_EQ(gaveUp(), 1);
    EXPECT_EQ(sim->WaitForLogLines(sent), std::vector<std::string>(sent, "C0 05"));
}

} // namespace
} // namespace KR::MidiTest
