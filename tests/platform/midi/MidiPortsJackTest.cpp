// The ports for real: JACK's dummy driver and the simulated keyboard as another client.

#include "platform/midi/MidiInput.h"
#include "platform/midi/MidiOutput.h"
#include "platform/midi/PortList.h"
#include "support/MidiTestMessages.h"
#include "support/Wait.h"

#include "simkeyboard/HexText.h"
#include "simkeyboard/KeyboardProtocol.h"
#include "support/simkeyboard/PrivateJackServer.h"
#include "support/simkeyboard/SimKeyboardProcess.h"

#include <jack/jack.h>

#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <future>
#include <map>
#include <mutex>
#include <thread>

#include <unistd.h>

namespace KR::Platform
{
namespace
{

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;
namespace kp = KeyboardProtocol;

constexpr auto kReplyTimeout = 5s;

// Collects what an input port delivers, for bounded waits on it.
class Received
{
public:
    MidiInput::Callback Callback()
    {
        return [this](std::span<const std::uint8_t> bytes, std::uint32_t)
        {
            {
                std::lock_guard lock(mutex_);
                messages_.emplace_back(bytes.begin(), bytes.end());
            }
            changed_.notify_all();
        };
    }

    // The messages so far, once there are `count` of them or the time is up.
    std::vector<Bytes> WaitFor(std::size_t count, std::chrono::milliseconds timeout = kReplyTimeout)
    {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, timeout, [&] { return messages_.size() >= count; });
        return messages_;
    }

    std::size_t Count()
    {
        std::lock_guard lock(mutex_);
        return messages_.size();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Bytes> messages_;
};

std::vector<std::size_t> Sizes(const std::vector<Bytes>& messages)
{
    std::vector<std::size_t> sizes;
    for (const Bytes& message : messages)
    {
        sizes.push_back(message.size());
    }
    return sizes;
}

using TestSupport::SysExOfSize;

using TestSupport::ThreadCount;

// Every JACK port now, and how many connections each has.
std::map<std::string, int> JackPorts()
{
    std::map<std::string, int> ports;
    jack_client_t* probe = jack_client_open("kr-test-probe", JackNoStartServer, nullptr);
    if (probe == nullptr)
    {
        ADD_FAILURE() << "no JACK server";
        return ports;
    }
    const char** names = jack_get_ports(probe, nullptr, nullptr, 0);
    for (const char** name = names; name != nullptr && *name != nullptr; ++name)
    {
        const char** peers = jack_port_get_all_connections(probe, jack_port_by_name(probe, *name));
        int& count = ports[*name];
        for (const char** peer = peers; peer != nullptr && *peer != nullptr; ++peer)
        {
            ++count;
        }
        jack_free(peers);
    }
    jack_free(names);
    jack_client_close(probe);
    return ports;
}

// JackPorts once no port is connected any more (a closed connection leaves the
// server's graph at its next cycle), or as they are when the time is up.
std::map<std::string, int> UnconnectedJackPorts()
{
    const auto deadline = std::chrono::steady_clock::now() + kReplyTimeout;
    std::map<std::string, int> ports = JackPorts();
    while (std::any_of(ports.begin(), ports.end(), [](const auto& port) { return port.second > 0; }) &&
           std::chrono::steady_clock::now() < deadline)
    {
        std::this_thread::sleep_for(10ms);
        ports = JackPorts();
    }
    return ports;
}

class MidiPortsOnJack : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string error;
        sim_ = TestSupport::SimKeyboardProcess::Start({}, &error);
        ASSERT_NE(sim_, nullptr) << error;
    }

    std::unique_ptr<TestSupport::SimKeyboardProcess> sim_;
};

TEST_F(MidiPortsOnJack, ListsTheKeyboardsPorts)
{
    const auto has = [](const std::vector<std::string>& names, const std::string& part)
    {
        return std::any_of(names.begin(), names.end(),
                           [&](const std::string& n) { return n.find(part) != n.npos; });
    };
    EXPECT_TRUE(has(ListInputPorts(), "MIDIIN4 (Vantor)"));
    EXPECT_TRUE(has(ListOutputPorts(), "MIDIOUT4 (Vantor)"));
    EXPECT_FALSE(has(ListOutputPorts(), "MIDIIN4 (Vantor)"));

    // This process's own connection ports send and receive too, but are nobody's device.
    std::string error;
    auto output = MidiOutput::Open("MIDIOUT4 (Vantor)", {}, &error);
    ASSERT_NE(output, nullptr) << error;
    EXPECT_FALSE(has(ListInputPorts(), " " + std::to_string(getpid()) + ":"));
}

TEST_F(MidiPortsOnJack, OpensPortsByANamePartInAnotherLetterCase)
{
    std::string error;
    auto output = MidiOutput::Open("midiout4 (vantor)", {}, &error);
    ASSERT_NE(output, nullptr) << error;
    EXPECT_NE(output->Name().find("MIDIOUT4 (Vantor)"), std::string::npos);
    Received received;
    auto input = MidiInput::Open("MidiIn4 (VANTOR)", received.Callback(), {}, &error);
    ASSERT_NE(input, nullptr) << error;
    EXPECT_NE(input->Name().find("MIDIIN4 (Vantor)"), std::string::npos);

    ASSERT_TRUE(output->Send(kp::kIdentityRequest)) << output->LastError();
    EXPECT_EQ(received.WaitFor(1), std::vector<Bytes>{kp::IdentityReply(0x00, "1041")});
    EXPECT_EQ(sim_->WaitForLogLines(1), std::vector<std::string>{"F0 7E 7F 06 01 F7"});
}

TEST_F(MidiPortsOnJack, UnknownNameFailsWithAReason)
{
    std::string error;
    EXPECT_EQ(MidiOutput::Open("MIDIOUT5 (Nobody)", {}, &error), nullptr);
    EXPECT_NE(error.find("MIDIOUT5 (Nobody)"), std::string::npos) << error;
    error.clear();
    EXPECT_EQ(MidiInput::Open(
                  "MIDIIN5 (Nobody)", [](std::span<const std::uint8_t>, std::uint32_t) {}, {}, &error),
              nullptr);
    EXPECT_FALSE(error.empty());
}

TEST_F(MidiPortsOnJack, DeliversWholeMessagesInTheOrderTheyWereSent)
{
    Received received;
    std::string error;
    auto input = MidiInput::Open("MIDIIN4 (Vantor)", received.Callback(), {}, &error);
    ASSERT_NE(input, nullptr) << error;

    // The long message leaves the simulator as two events, 256 and 44 bytes.
    const Bytes sysEx = SysExOfSize(300);
    ASSERT_TRUE(sim_->Command("sendpieces 256 " + HexText::Format(sysEx))) << sim_->LastAnswer();
    ASSERT_TRUE(sim_->Command("send 90 3C 64"));
    ASSERT_TRUE(sim_->Command("send C0 05"));
    ASSERT_TRUE(sim_->Command("send F8"));

    const std::vector<Bytes> messages = received.WaitFor(4);
    EXPECT_EQ(Sizes(messages), (std::vector<std::size_t>{300, 3, 2, 1}));
    EXPECT_EQ(messages, (std::vector<Bytes>{sysEx, {0x90, 0x3C, 0x64}, {0xC0, 0x05}, {0xF8}}));
}

TEST_F(MidiPortsOnJack, PacedSysExPiecesArriveWholeAndAreAnswered)
{
    std::string error;
    auto output = MidiOutput::Open("MIDIOUT4 (Vantor)", {}, &error);
    ASSERT_NE(output, nullptr) << error;
    Received received;
    auto input = MidiInput::Open("MIDIIN4 (Vantor)", received.Callback(), {}, &error);
    ASSERT_NE(input, nullptr) << error;

    Bytes data(kp::kPresetDataBytes);
    for (std::size_t i = 0; i < data.size(); ++i)
    {
        data[i] = static_cast<std::uint8_t>((i * 7) % 128);
    }
    const Bytes dump = kp::PresetMessage(kp::kPresetDump, 5, data);
    ASSERT_EQ(dump.size(), kp::kPresetMessageBytes);
    const std::span<const std::uint8_t> all(dump);
    for (std::size_t at = 0; at < all.size(); at += 256)
    {
        ASSERT_TRUE(output->Send(all.subspan(at, std::min<std::size_t>(256, all.size() - at))));
        std::this_thread::sleep_for(10ms); // the editor's pacing between pieces
    }
    EXPECT_EQ(sim_->WaitForLogLines(1), std::vector<std::string>{HexText::Format(dump)});

    // The simulator stored it: asking for slot 5 brings the same data back.
    ASSERT_TRUE(output->Send(kp::PresetRequest(5)));
    EXPECT_EQ(received.WaitFor(1), std::vector<Bytes>{kp::PresetMessage(kp::kPresetReply, 5, data)});
}

TEST_F(MidiPortsOnJack, SendRefusesWhatIsNoMessage)
{
    std::string error;
    auto output = MidiOutput::Open("MIDIOUT4 (Vantor)", {}, &error);
    ASSERT_NE(output, nullptr) << error;
    EXPECT_FALSE(output->Send({}));
    EXPECT_FALSE(output->Send(Bytes{0x90, 0x3C})); // a note-on lacking its velocity
    EXPECT_TRUE(output->Send(Bytes{0xC0, 0x05}));
    EXPECT_TRUE(output->Send(Bytes{0x90, 0x3C, 0x64, 0x00})); // only the message's own bytes go
    output->Close();
    EXPECT_FALSE(output->Send(Bytes{0xF8}));
    EXPECT_EQ(sim_->WaitForLogLines(2), (std::vector<std::string>{"C0 05", "90 3C 64"}));
}

TEST_F(MidiPortsOnJack, ASendAfterTheKeyboardWentFails)
{
    std::string error;
    auto output = MidiOutput::Open("MIDIOUT4 (Vantor)", {}, &error);
    ASSERT_NE(output, nullptr) << error;
    sim_.reset();
    // The connection leaves the server's graph at its next cycle.
    const auto deadline = std::chrono::steady_clock::now() + kReplyTimeout;
    while (output->Send(Bytes{0xC0, 0x05}) && std::chrono::steady_clock::now() < deadline)
    {
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_FALSE(output->Send(Bytes{0xC0, 0x05}));
    EXPECT_NE(output->LastError().find("no longer there"), std::string::npos) << output->LastError();
}

TEST_F(MidiPortsOnJack, AThousandOpensUnderAFloodLeaveNoThreadPortOrConnection)
{
    ASSERT_TRUE(sim_->Command("flood on"));
    Received received;
    std::string error;
    // One round first, so what the JACK library keeps for the process is in the count.
    {
        auto input = MidiInput::Open("MIDIIN4 (Vantor)", received.Callback(), {}, &error);
        auto output = MidiOutput::Open("MIDIOUT4 (Vantor)", {}, &error);
        ASSERT_TRUE(input && output) << error;
    }
    const std::size_t threadsBefore = ThreadCount();
    const std::map<std::string, int> portsBefore = UnconnectedJackPorts();

    std::promise<std::string> done;
    std::thread cycler(
        [&]
        {
            for (int round = 0; round < 1000; ++round)
            {
                auto input = MidiInput::Open("MIDIIN4 (Vantor)", received.Callback(), {}, &error);
                auto output = MidiOutput::Open("MIDIOUT4 (Vantor)", {}, &error);
                // Sent right after the open, so it must arrive: the simulator logs it.
                if (!input || !output || !output->Send(Bytes{0xC0, static_cast<std::uint8_t>(round % 128)}))
                {
                    done.set_value("round " + std::to_string(round) + ": " + error);
                    return;
                }
                // Closing in both orders: explicitly, then by destruction.
                if (round % 2 == 0)
                {
                    input->Close();
                }
            }
            done.set_value("");
        });
    auto finished = done.get_future();
    if (finished.wait_for(300s) != std::future_status::ready)
    {
        ADD_FAILURE() << "opening and closing hung";
        std::abort(); // a deadlocked thread cannot be joined
    }
    cycler.join();
    EXPECT_EQ(finished.get(), "");
    EXPECT_TRUE(sim_->Command("flood off"));
    EXPECT_EQ(sim_->WaitForLogLines(1000).size(), 1000u) << "a message sent right after an open was lost";
    EXPECT_GT(received.Count(), 0u) << "the flood never arrived";
    EXPECT_LE(ThreadCount(), threadsBefore) << "threads left behind";
    // The same clients and ports as before, none of them connected.
    EXPECT_EQ(UnconnectedJackPorts(), portsBefore);
}

TEST_F(MidiPortsOnJack, ACallbackMayCloseItsOwnPort)
{
    ASSERT_TRUE(sim_->Command("flood on"));
    std::mutex mutex;
    std::condition_variable closed;
    int calls = 0;
    std::unique_ptr<MidiInput> input;
    std::string error;
    {
        std::lock_guard lock(mutex); // the callback cannot see the port before it is stored
        input = MidiInput::Open(
            "MIDIIN4 (Vantor)",
            [&](std::span<const std::uint8_t>, std::uint32_t)
            {
                std::lock_guard lock(mutex);
                if (++calls == 1)
                {
                    input->Close();
                }
                closed.notify_all();
            },
            {}, &error);
        ASSERT_NE(input, nullptr) << error;
    }
    std::unique_lock lock(mutex);
    EXPECT_TRUE(closed.wait_for(lock, kReplyTimeout, [&] { return calls > 0; }));
    EXPECT_EQ(calls, 1); // nothing after the close, though the flood goes on
    lock.unlock();
    input.reset();
    EXPECT_TRUE(sim_->Command("flood off"));
}

// A server of the test's own, stopped (SIGSTOP) while what was sent is still queued: a
// loaded machine can hold the server back like this, and the shared one must never stop.
class MidiPortsOnAStoppedJack : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server_.Ready());
        std::string error;
        sim_ = TestSupport::SimKeyboardProcess::Start({}, &error);
        ASSERT_NE(sim_, nullptr) << error;
        output_ = MidiOutput::Open("MIDIOUT4 (Vantor)", options_, &error);
        ASSERT_NE(output_, nullptr) << error;
    }

    void TearDown() override { SetMidiServerTimeout(kDefaultServerTimeout); }

    static constexpr auto kDefaultServerTimeout = 3s; // MidiApi.h

    TestSupport::PrivateJackServer server_;
    std::unique_ptr<TestSupport::SimKeyboardProcess> sim_;
    // A client of its own: the process's default one may be on the shared server.
    const MidiPortOptions options_{.clientName = "kr-stopped-" + std::to_string(getpid())};
    std::unique_ptr<MidiOutput> output_;
};

// Closing waits while the server is held back, longer than a cycle is ever waited for.
TEST_F(MidiPortsOnAStoppedJack, AMessageSentJustBeforeCloseArrivesOnceTheServerRunsAgain)
{
    SetMidiServerTimeout(TestSupport::kPatience);
    server_.Pause();
    ASSERT_TRUE(output_->Send(Bytes{0xC0, 0x05})) << output_->LastError();
    auto closed = std::async(std::launch::async, [&] { return output_->Close(); });
    std::this_thread::sleep_for(1500ms); // the stall itself, past the one second a close once waited
    server_.Resume();
    ASSERT_EQ(closed.wait_for(TestSupport::kPatience), std::future_status::ready) << "the close hung";
    EXPECT_TRUE(closed.get()) << output_->LastError();
    EXPECT_EQ(sim_->WaitForLogLines(1), std::vector<std::string>{"C0 05"});
}

// Past the server's answer time the close gives up and says so, but the message is still
// not dropped: it goes once the server runs, and the port's next open sends after it.
TEST_F(MidiPortsOnAStoppedJack, ACloseThatGivesUpSaysSoAndTheMessageStillArrives)
{
    const std::vector<std::string> portsBefore = server_.Ports();
    // A process cycle the server started just before it stopped may still run in this
    // client and carry the message away; then the close had nothing to give up on, and
    // the stop is tried again on the port opened anew.
    std::size_t sent = 0;
    bool gaveUp = false;
    while (!gaveUp && sent < 5)
    {
        std::string error;
        if (output_ == nullptr)
        {
            output_ = MidiOutput::Open("MIDIOUT4 (Vantor)", options_, &error);
            ASSERT_NE(output_, nullptr) << error;
        }
        SetMidiServerTimeout(200ms);
        server_.Pause();
        ASSERT_TRUE(output_->Send(Bytes{0xC0, 0x05})) << output_->LastError();
        ++sent;
        auto closed = std::async(std::launch::async, [&] { return output_->Close(); });
        ASSERT_EQ(closed.wait_for(TestSupport::kPatience), std::future_status::ready) << "the close hung";
        gaveUp = !closed.get();
        if (!gaveUp)
        {
            server_.Resume();
            SetMidiServerTimeout(kDefaultServerTimeout);
            EXPECT_EQ(sim_->WaitForLogLines(sent), std::vector<std::string>(sent, "C0 05"));
            output_.reset();
        }
    }
    ASSERT_TRUE(gaveUp) << "a cycle under way carried the message off " << sent << " times";
    EXPECT_NE(output_->LastError().find("had not gone to the JACK server"), std::string::npos)
        << output_->LastError();
    server_.Resume();
    SetMidiServerTimeout(kDefaultServerTimeout);
    EXPECT_EQ(sim_->WaitForLogLines(sent), std::vector<std::string>(sent, "C0 05"));

    std::string error;
    auto again = MidiOutput::Open("MIDIOUT4 (Vantor)", options_, &error);
    ASSERT_NE(again, nullptr) << error;
    ASSERT_TRUE(again->Send(Bytes{0xC0, 0x06})) << again->LastError();
    EXPECT_TRUE(again->Close()) << again->LastError();
    std::vector<std::string> expected(sent, "C0 05");
    expected.push_back("C0 06");
    EXPECT_EQ(sim_->WaitForLogLines(sent + 1), expected);
    // The port the first close left aside was closed and reused: no second one.
    EXPECT_EQ(server_.Ports(), portsBefore);
}

// A wait until sent gives up on a stopped server as a close does, and keeps the port open.
// Once one wait has run out with the server running no cycle, the close that follows gives
// up at once: a send that found the server stopped reports so after one answer time, not
// after one per port it lets go of.
TEST_F(MidiPortsOnAStoppedJack, OnceAWaitFindsTheServerStoppedTheCloseDoesNotWaitAgain)
{
    SetMidiServerTimeout(2s);
    server_.Pause();
    // A cycle the server began before it stopped may carry the first messages off.
    std::size_t sent = 0;
    bool gaveUp = false;
    while (!gaveUp && sent < 5)
    {
        ASSERT_TRUE(output_->Send(Bytes{0xC0, 0x05})) << output_->LastError();
        ++sent;
        gaveUp = !output_->WaitUntilSent();
    }
    ASSERT_TRUE(gaveUp) << "a cycle under way carried the message off " << sent << " times";
    EXPECT_NE(output_->LastError().find("had not gone to the JACK server"), std::string::npos)
        << output_->LastError();

    auto closed = std::async(std::launch::async, [&] { return output_->Close(); });
    // Well under the answer time, which a second wait would take whole.
    ASSERT_EQ(closed.wait_for(1s), std::future_status::ready) << "the close waited again";
    EXPECT_FALSE(closed.get());

    // Nothing was dropped: it goes once the server runs.
    server_.Resume();
    EXPECT_EQ(sim_->WaitForLogLines(sent), std::vector<std::string>(sent, "C0 05"));
}

// The server went away with ports of ours open on it, and another one (the shared one)
// runs: the JACK library frees the clients of a server that went away once the process
// opens a client again, so nothing of ours may touch them after that, the process's end
// included (a crash there fails the test program).
TEST(MidiPortsAfterTheServerWent, TheirPortsCloseOnceAnotherServerRuns)
{
    const MidiPortOptions options{.clientName = "kr-went-" + std::to_string(getpid())};
    std::string error;
    std::unique_ptr<MidiInput> input;
    std::unique_ptr<MidiOutput> output;
    {
        TestSupport::PrivateJackServer first;
        ASSERT_TRUE(first.Ready());
        input = MidiInput::CreateVirtual(
            "in", [](std::span<const std::uint8_t>, std::uint32_t) {}, options, &error);
        output = MidiOutput::CreateVirtual("out", options, &error);
        ASSERT_TRUE(input && output) << error;
    }
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return !output->Send(Bytes{0xC0, 0x05}); }));
    EXPECT_NE(output->LastError().find("has gone"), std::string::npos) << output->LastError();

    auto again = MidiOutput::CreateVirtual("out", options, &error);
    ASSERT_NE(again, nullptr) << error;
    input->Close();
    EXPECT_TRUE(output->Close()) << output->LastError(); // nothing was left to send
    EXPECT_TRUE(again->Close()) << again->LastError();
}

} // namespace
} // namespace KR::Platform
