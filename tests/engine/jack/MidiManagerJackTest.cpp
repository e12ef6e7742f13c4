// The MIDI manager for real, one test per road to the keyboard: the framework's MIDI
// ports on the test JACK server, the simulated keyboard as its own process, the engine
// and the model behind the manager. The branches (old firmware, silence, missing ports,
// stray replies) are taken by the tests over the fake ports.

#include "engine/MidiManager.h"

#include "kr/midi/MidiComm.h"
#include "support/Wait.h"
#include "support/engine/ApplicationCenter.h"
#include "support/engine/MidiManagerTestSupport.h"
#include "support/engine/ScriptedBridge.h"
#include "support/engine/SysExTestSupport.h"
#include "support/simkeyboard/PrivateJackServer.h"
#include "support/simkeyboard/SimKeyboardProcess.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace
{

using KR::TestSupport::kLinuxClient;

using KR::LMidiManager;
using support::ParameterListener;

const std::string kPrefix = "F0 00 01 05 7F 31 05 6D 00 01 01 F7";
const std::string kIdentityRequest = "F0 7E 7F 06 01 F7";

class MidiManagerJackTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        engine = LRootModuleEngine::Create(bridge);
        ASSERT_EQ(engine->Initialize(0), KR::kOk);
        app.Drain();
        midi = LMidiManager::Create();
        midi->SetRootModuleEngine(engine);
        std::string error;
        keyboard = KR::TestSupport::SimKeyboardProcess::Start({}, &error);
        ASSERT_TRUE(keyboard) << error;
    }
    void TearDown() override
    {
        midi = nullptr;
        engine = nullptr;
    }

    support::ApplicationCenter app;
    KR::RCPtr<ScriptedBridge> bridge = ScriptedBridge::Create();
    KR::RCPtr<LRootModuleEngine> engine;
    KR::RCPtr<LMidiManager> midi;
    std::unique_ptr<KR::TestSupport::SimKeyboardProcess> keyboard;
};

TEST_F(MidiManagerJackTest, SendingToSlotThreePutsPrefixIdentityPrefixAndTheDumpInTheKeyboardsLog)
{
    ASSERT_EQ(midi->SendPresetToMidiDevice(3), KR::kOk);
    const std::vector<std::string> lines = keyboard->WaitForLogLines(4);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], kPrefix);
    EXPECT_EQ(lines[1], kIdentityRequest);
    EXPECT_EQ(lines[2], kPrefix);
    const std::vector<std::uint8_t> dump = support::ParseHex(lines[3]);
    ASSERT_EQ(dump.size(), 1350u);
    EXPECT_EQ(support::Hex(std::span(dump).first(11)), "F0 00 01 05 7F 31 05 61 0A 3B 03");
    EXPECT_EQ(std::vector<std::uint8_t>(dump.begin() + 11, dump.end() - 1), support::ModelData(*engine));
}

TEST_F(MidiManagerJackTest, RetrievingSlotFiveMakesTheModelHoldTheKeyboardsSlot)
{
    // What the simulator keeps in a slot it was never sent: byte i is (i + slot) % 128.
    std::vector<std::uint8_t> slotFive(KeyboardSysEx::kPresetDataBytes);
    for (std::size_t i = 0; i < slotFive.size(); ++i)
    {
        slotFive[i] = static_cast<std::uint8_t>((i + 5) % 128);
    }
    ASSERT_EQ(midi->GetPresetFromMidiDevice(5), KR::kOk);
    EXPECT_EQ(support::ModelData(*engine), slotFive);
    const std::vector<std::string> lines = keyboard->WaitForLogLines(4);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[3], "F0 00 01 05 7F 31 05 62 05 F7");
}

TEST_F(MidiManagerJackTest, AKeyboardUnderItsLinuxNamesIsReachedOnItsFourthPortOnly)
{
    for (const char* ports : {"4", "3"})
    {
        keyboard.reset(); // first, or its own port names would win
        std::string error;
        keyboard = KR::TestSupport::SimKeyboardProcess::Start(
            {"--linux", kLinuxClient, "--linux-ports", ports}, &error);
        ASSERT_TRUE(keyboard) << error;
        if (ports[0] == '3')
        {
            EXPECT_EQ(midi->SendPresetToMidiDevice(3), LMidiManager::kPortsUnavailable);
            EXPECT_TRUE(keyboard->LogLines().empty());
            continue;
        }
        ASSERT_EQ(midi->SendPresetToMidiDevice(3), KR::kOk);
        ASSERT_EQ(midi->GetPresetFromMidiDevice(5), KR::kOk);
        // What reaches the other ports is logged as "port <k>: ...".
        const std::vector<std::string> lines = keyboard->WaitForLogLines(8);
        ASSERT_EQ(lines.size(), 8u);
        EXPECT_EQ(lines[2], kPrefix);
        EXPECT_EQ(support::ParseHex(lines[3]).size(), 1350u);
        EXPECT_EQ(lines[7], "F0 00 01 05 7F 31 05 62 05 F7");
    }
}

TEST_F(MidiManagerJackTest, AGlobalSetIsKeptByTheKeyboardAndRequestsAreAnsweredToTheListener)
{
    ASSERT_EQ(midi->SendNonPresetParameterToDevice(u"KEY_TRANSPOSE", 5, false), KR::kOk);
    const std::vector<std::string> expected = {kPrefix, kIdentityRequest, kPrefix,
                                               "F0 00 01 05 7F 31 05 6A 00 04 00 06 00 05 F7"};
    EXPECT_EQ(keyboard->WaitForLogLines(4), expected);

    const auto listener = ParameterListener::Create();
    listener->RegisterForNotification(midi, KR::kNidMidiManagerParameterRecieved);
    ASSERT_EQ(midi->RequestNonPresetParameterFromDevice(u"KEY_TRANSPOSE", true), KR::kOk);
    // The simulator's factory setting.
    ASSERT_EQ(midi->RequestNonPresetParameterFromDevice(u"PAD_TRANSPOSE", true), KR::kOk);
    app.Drain();
    const std::vector<ParameterListener::Heard> heard = {
        ParameterListener::OnThisThread("KEY_TRANSPOSE", 5),
        ParameterListener::OnThisThread("PAD_TRANSPOSE", 12)};
    EXPECT_EQ(listener->Taken(), heard);
    listener->UnregisterForAllNotifications();
    const std::vector<std::string> lines = keyboard->WaitForLogLines(8);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[5], "F0 00 01 05 7F 31 05 6B 00 02 00 06 F7");
}

// The manager on a JACK server of the test's own, which the test stops (SIGSTOP) as a
// starved or hung server stops answering: the server the scripts start serves every other
// test and must never stop.
class MidiManagerOnAStoppedJack : public ::testing::Test
{
protected:
    using Clock = std::chrono::steady_clock;

    void SetUp() override
    {
        ASSERT_TRUE(server.Ready());
        engine = LRootModuleEngine::Create(bridge);
        ASSERT_EQ(engine->Initialize(0), KR::kOk);
        app.Drain();
        LMidiManager::Options options;
        // A client of its own: the process's default one may be on the shared server.
        options.makeComm = []
        {
            return KR::RCPtr<KR::LMidiCommInterface>(
                KR::LMidiComm::Create({.clientName = "kr-stopped-" + std::to_string(getpid())}));
        };
        options.pause = [this](std::uint32_t ms)
        {
            if (afterPiece && afterPiece(++pieces))
            {
                server.Pause();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        };
        midi = LMidiManager::Create(options);
        midi->SetRootModuleEngine(engine);
        std::string error;
        keyboard = KR::TestSupport::SimKeyboardProcess::Start({}, &error);
        ASSERT_TRUE(keyboard) << error;
    }
    // The programs end before their server does.
    void TearDown() override
    {
        server.Resume();
        midi = nullptr;
        keyboard.reset();
    }

    // Runs `operation` on a thread of its own and waits for it at most `bound`: its
    // result, or nothing when it ran past the bound.
    std::optional<KR::Result> Within(std::chrono::milliseconds bound,
                                     const std::function<KR::Result()>& operation)
    {
        const Clock::time_point start = Clock::now();
        auto done = std::async(std::launch::async, operation);
        if (done.wait_for(bound) != std::future_status::ready)
        {
            server.Resume(); // so that it ends
            done.wait();
            return std::nullopt;
        }
        tookMs = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        return done.get();
    }

    std::size_t Count(const std::string& line)
    {
        const std::vector<std::string> lines = keyboard->LogLines();
        return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
    }

    KR::TestSupport::PrivateJackServer server; // first: the others live on it
    support::ApplicationCenter app;
    KR::RCPtr<ScriptedBridge> bridge = ScriptedBridge::Create();
    KR::RCPtr<LRootModuleEngine> engine;
    KR::RCPtr<LMidiManager> midi;
    std::unique_ptr<KR::TestSupport::SimKeyboardProcess> keyboard;
    // Called with the number of each piece sent (from 1) before its pause; the server stops
    // when it answers true.
    std::function<bool(int)> afterPiece;
    int pieces = 0;
    long tookMs = -1;
};

// Stopped as the firmware check's identity request goes out, the server takes nothing: that
// is a keyboard not reached, not one with old firmware, and no further request queues up
// behind the first to reach the keyboard in one burst once the server runs again.
TEST_F(MidiManagerOnAStoppedJack, AServerStoppedDuringTheFirmwareCheckIsAConnectionErrorNotOldFirmware)
{
    afterPiece = [](int piece) { return piece == 1; }; // the prefix ahead of the identity request
    // The server's answer time (3 s) once, with room to spare; ten tries took 11 s.
    const std::optional<KR::Result> result =
        Within(std::chrono::seconds(8), [&] { return midi->SendPresetToMidiDevice(3); });
    ASSERT_TRUE(result) << "no result within the bound";
    EXPECT_EQ(*result, LMidiManager::kPortsUnavailable);
    RecordProperty("result_after_ms", static_cast<int>(tookMs));

    // The one request queued goes once the server runs; a set sent after it comes behind it.
    afterPiece = nullptr;
    server.Resume();
    ASSERT_TRUE(KR::TestSupport::WaitUntil([&] { return Count(kIdentityRequest) == 1; }));
    const std::string set = "F0 00 01 05 7F 31 05 6A 00 04 00 06 00 05 F7";
    ASSERT_EQ(midi->SendNonPresetParameterToDevice(u"KEY_TRANSPOSE", 5, true), KR::kOk);
    ASSERT_TRUE(KR::TestSupport::WaitUntil([&] { return Count(set) == 1; }));
    EXPECT_EQ(Count(kIdentityRequest), 1u);
}

// Stopped in the middle of a dump, the server keeps its last pieces: the send fails.
TEST_F(MidiManagerOnAStoppedJack, AServerStoppedDuringTheDumpFailsTheSend)
{
    // 1 to 3: the prefix, the identity request and the prefix; the dump's second piece is 5.
    afterPiece = [](int piece) { return piece == 5; };
    const std::optional<KR::Result> result =
        Within(std::chrono::seconds(8), [&] { return midi->SendPresetToMidiDevice(3); });
    ASSERT_TRUE(result) << "no result within the bound";
    EXPECT_EQ(*result, LMidiManager::kPortsUnavailable);
    RecordProperty("result_after_ms", static_cast<int>(tookMs));
}

} // namespace
