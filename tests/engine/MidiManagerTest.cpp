// The MIDI manager at its port seam: what goes on the wire, in which pieces and with
// which pauses, and what replies do to the model and the listeners. The keyboard is the
// test's (FakeKeyboardPorts.h); the engine and the model are real.

#include "engine/MidiManager.h"

#include "EngineTestSupport.h"
#include "device/ParamLayout.h"
#include "engine/SysExMessages.h"
#include "kr/core/Exception.h"
#include "support/engine/FakeKeyboardPorts.h"
#include "support/engine/MidiManagerTestSupport.h"
#include "support/engine/ScriptedBridge.h"
#include "support/engine/SysExTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace
{

using KR::LMidiManager;
using support::Bytes;
using support::FakeKeyboard;
using support::Hex;
using support::ParseHex;
namespace kp = KeyboardSysEx;

const std::string kPrefix = "F0 00 01 05 7F 31 05 6D 00 01 01 F7";
const std::string kIdentityRequest = "F0 7E 7F 06 01 F7";

// A reply wait short enough for tests in which every try runs out.
constexpr std::uint32_t kShortWaitMs = 20;

// The data of a preset reply that differs from the model's defaults: byte i is
// (i * 7 + seed) % 128.
Bytes PatternData(std::uint8_t seed)
{
    Bytes data(kp::kPresetDataBytes);
    for (std::size_t i = 0; i < data.size(); ++i)
    {
        data[i] = static_cast<std::uint8_t>((i * 7 + seed) % 128);
    }
    return data;
}

Bytes PresetReply(std::uint8_t slot, const Bytes& data)
{
    Bytes reply(kp::kDeviceHeader.begin(), kp::kDeviceHeader.end());
    reply.push_back(kp::kPresetReply);
    reply.insert(reply.end(), {kp::kPresetCount[0], kp::kPresetCount[1], slot});
    reply.insert(reply.end(), data.begin(), data.end());
    reply.push_back(kp::kSysExEnd);
    return reply;
}

Bytes GlobalReply(std::uint8_t index, std::uint16_t value)
{
    Bytes reply = ParseHex("F0 00 01 05 7F 31 05 6C 00 04 00");
    reply.insert(reply.end(), {index, static_cast<std::uint8_t>(value / 128),
                               static_cast<std::uint8_t>(value % 128), kp::kSysExEnd});
    return reply;
}

bool IsIdentityRequest(const Bytes& message)
{
    return Hex(message) == kIdentityRequest;
}

class MidiManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        engine = LRootModuleEngine::Create(bridge);
        ASSERT_EQ(engine->Initialize(0), KR::kOk);
        app.Drain();
        app.log->Clear();
        UseReplyWait(LMidiManager::kReplyWaitMs);
    }
    void TearDown() override
    {
        midi = nullptr;
        engine = nullptr;
    }

    void UseReplyWait(std::uint32_t ms)
    {
        midi = LMidiManager::Create(keyboard.ManagerOptions(ms));
        midi->SetRootModuleEngine(engine);
    }

    // A keyboard with usable firmware that answers preset requests with `data` and
    // global requests with `value`.
    void AnswerAsKeyboard(const Bytes& data, std::uint16_t value = 0)
    {
        keyboard.SetResponder(
            [data, value](const Bytes& message) -> std::vector<Bytes>
            {
                if (IsIdentityRequest(message))
                {
                    return {FakeKeyboard::IdentityReply("1041")};
                }
                if (message.size() == kp::kPresetRequestBytes &&
                    message[kp::kCommandAt] == kp::kPresetRequest)
                {
                    return {PresetReply(message[kp::kPresetRequestSlotAt], data)};
                }
                if (message.size() == kp::kGlobalRequestBytes &&
                    message[kp::kCommandAt] == kp::kGlobalRequest)
                {
                    return {GlobalReply(message[kp::kGlobalIndexAt], value)};
                }
                return {};
            });
    }

    Bytes ModelData() { return support::ModelData(*engine); }

    std::vector<std::string> Messages() { return keyboard.Messages(); }

    support::ApplicationCenter app;
    KR::RCPtr<ScriptedBridge> bridge = ScriptedBridge::Create();
    KR::RCPtr<LRootModuleEngine> engine;
    FakeKeyboard keyboard;
    KR::RCPtr<LMidiManager> midi;
};

TEST_F(MidiManagerTest, APresetDumpGoesOutAsSixPiecesEachFollowedByATenMillisecondPause)
{
    AnswerAsKeyboard(PatternData(0));
    ASSERT_EQ(midi->SendPresetToMidiDevice(3), KR::kOk);

    // The firmware check, then the prefix and the dump, each piece followed by a pause.
    std::vector<std::string> wire;
    for (const FakeKeyboard::WireEvent& event : keyboard.Wire())
    {
        wire.push_back(event.pause ? "pause " + std::to_string(event.ms)
                                   : "piece " + std::to_string(event.bytes.size()));
    }
    const std::vector<std::string> expected = {
        "piece 12",  "pause 10", "piece 6",   "pause 10", "piece 12",  "pause 10",
        "piece 256", "pause 10", "piece 256", "pause 10", "piece 256", "pause 10",
        "piece 256", "pause 10", "piece 256", "pause 10", "piece 70",  "pause 10",
    };
    EXPECT_EQ(wire, expected);

    const std::vector<std::string> messages = Messages();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0], kPrefix);
    EXPECT_EQ(messages[1], kIdentityRequest);
    EXPECT_EQ(messages[2], kPrefix);
    const Bytes dump = ParseHex(messages[3]);
    ASSERT_EQ(dump.size(), 1350u);
    EXPECT_EQ(Hex(std::span(dump).first(11)), "F0 00 01 05 7F 31 05 61 0A 3B 03");
    EXPECT_EQ(Bytes(dump.begin() + 11, dump.end() - 1), ModelData());
}

TEST_F(MidiManagerTest, APieceThatFailsEndsTheSendWithMinusOneNotTheBytesSentBefore)
{
    AnswerAsKeyboard(PatternData(0));
    // Pieces 0-2: prefix, identity request, prefix; 3 and 4: the first two of the dump.
    keyboard.failSendsFrom = 5;
    EXPECT_EQ(midi->SendPresetToMidiDevice(3), LMidiManager::kPortsUnavailable);
    std::size_t pieces = 0;
    for (const FakeKeyboard::WireEvent& event : keyboard.Wire())
    {
        pieces += event.pause ? 0 : 1;
    }
    EXPECT_EQ(pieces, 5u);
}

// A JACK server that stalls or goes away keeps what was queued for it: the keyboard never
// has the dump, and the send must not say it does.
TEST_F(MidiManagerTest, ASendWhoseLastPieceDoesNotLeaveFailsWithTheConnectionError)
{
    AnswerAsKeyboard(PatternData(0));
    const struct
    {
        const char* send;
        std::function<KR::Result()> run;
        int checkPieces; // of the firmware check ahead of it
        int pieces;      // of the send itself
    } cases[] = {
        {"preset into RAM", [&] { return midi->SendPresetToMidiDevice(0); }, 2, 7},
        {"preset into slot 3", [&] { return midi->SendPresetToMidiDevice(3); }, 2, 7},
        {"global setting", [&] { return midi->SendNonPresetParameterToDevice(u"KEY_TRANSPOSE", 5, false); },
         2, 2},
        {"global setting, no firmware check",
         [&] { return midi->SendNonPresetParameterToDevice(u"KEY_TRANSPOSE", 5, true); }, 0, 2},
    };
    for (const auto& entry : cases)
    {
        SCOPED_TRACE(entry.send);
        const int before = keyboard.PiecesSent() + entry.checkPieces;
        keyboard.stuckFromPiece = before + entry.pieces - 1; // the last one
        EXPECT_EQ(entry.run(), LMidiManager::kPortsUnavailable);
        EXPECT_EQ(keyboard.PiecesSent(), before + entry.pieces);
        // Asked once everything had been sent, not before.
        ASSERT_FALSE(keyboard.SentChecks().empty());
        EXPECT_EQ(keyboard.SentChecks().back(), before + entry.pieces);

        keyboard.stuckFromPiece = -1;
        EXPECT_EQ(entry.run(), KR::kOk);
    }
}

// A request that does not leave (a JACK server no longer taking what is sent) never reached
// the keyboard, whose silence then says nothing: the cycle ends at once with the connection
// error, the firmware check's too, and no further try queues up behind it.
TEST_F(MidiManagerTest, ARequestThatDoesNotLeaveEndsItsCycleWithTheConnectionError)
{
    UseReplyWait(kShortWaitMs);
    AnswerAsKeyboard(PatternData(0));
    const struct
    {
        const char* operation;
        std::function<KR::Result()> run;
        int stuckAt; // the piece that stays queued, counted from the operation's first
    } cases[] = {
        {"firmware check of a send", [&] { return midi->SendPresetToMidiDevice(3); }, 1},
        {"firmware check of a global set",
         [&] { return midi->SendNonPresetParameterToDevice(u"KEY_OCTAVE", 4, false); }, 1},
        {"retrieve", [&] { return midi->GetPresetFromMidiDevice(5); }, 3},
        {"global request", [&] { return midi->RequestNonPresetParameterFromDevice(u"KEY_OCTAVE", true); }, 1},
    };
    for (const auto& entry : cases)
    {
        SCOPED_TRACE(entry.operation);
        const int before = keyboard.PiecesSent();
        keyboard.stuckFromPiece = before + entry.stuckAt;
        EXPECT_EQ(entry.run(), LMidiManager::kPortsUnavailable);
        EXPECT_EQ(keyboard.PiecesSent(), before + entry.stuckAt + 1);
    }
    keyboard.stuckFromPiece = keyboard.PiecesSent() + 1;
    EXPECT_FALSE(midi->IsDeviceFirmwareVersionUseable());
    keyboard.stuckFromPiece = -1;
    EXPECT_TRUE(midi->IsDeviceFirmwareVersionUseable());
}

TEST_F(MidiManagerTest, RetrievingASlotWritesTheReplyIntoTheModelCutByTheFixedBlockSizes)
{
    const Bytes data = PatternData(9);
    AnswerAsKeyboard(data);
    ASSERT_NE(ModelData(), data);

    ASSERT_EQ(midi->GetPresetFromMidiDevice(5), KR::kOk);
    const std::vector<std::string> messages = Messages();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[2], kPrefix);
    EXPECT_EQ(messages[3], "F0 00 01 05 7F 31 05 62 05 F7");
    EXPECT_EQ(ModelData(), data);

    // Each value holds exactly its own block.
    KR::Array<KR::ParamValue> values;
    engine->GetParamValues(KR::ParamRange{0, 131}, values, -1);
    ASSERT_EQ(values.GetCount(), 131u);
    for (std::int32_t i = 0; i < 131; ++i)
    {
        std::uint32_t count = 0;
        const std::uint8_t* bytes = values[static_cast<std::uint32_t>(i)].value.GetBytes(count);
        ASSERT_EQ(count, ParamLayout::BlockSize(i));
        EXPECT_EQ(Bytes(bytes, bytes + count), Bytes(data.begin() + ParamLayout::BlockOffset(i),
                                                     data.begin() + ParamLayout::BlockOffset(i + 1)));
    }
}

TEST_F(MidiManagerTest, MalformedPresetRepliesAreNotAppliedAndTheRetrieveRunsOutOfTries)
{
    UseReplyWait(kShortWaitMs);
    const Bytes before = ModelData();
    Bytes shortReply = PresetReply(5, PatternData(1));
    shortReply.erase(shortReply.end() - 2);
    Bytes longReply = PresetReply(5, PatternData(2));
    longReply.insert(longReply.end() - 1, 0x00);
    Bytes statusInside = PresetReply(5, PatternData(3));
    statusInside[500] = 0xF8;
    for (const Bytes& bad : {shortReply, longReply, statusInside})
    {
        keyboard.SetResponder(
            [bad](const Bytes& message) -> std::vector<Bytes>
            {
                if (IsIdentityRequest(message))
                {
                    return {FakeKeyboard::IdentityReply("1041")};
                }
                return message[kp::kCommandAt] == kp::kPresetRequest ? std::vector<Bytes>{bad}
                                                                     : std::vector<Bytes>{};
            });
        EXPECT_EQ(midi->GetPresetFromMidiDevice(5), LMidiManager::kNoReply);
        EXPECT_EQ(ModelData(), before);
    }
}

TEST_F(MidiManagerTest, APresetReplyIsAppliedOnlyWhileARetrieveWaitsForIt)
{
    const Bytes before = ModelData();
    const Bytes first = PatternData(1);
    const Bytes second = PatternData(2);
    keyboard.SetResponder(
        [&](const Bytes& message) -> std::vector<Bytes>
        {
            if (IsIdentityRequest(message))
            {
                // A preset reply that nobody asked for comes first.
                return {PresetReply(0, second), FakeKeyboard::IdentityReply("1041")};
            }
            if (message[kp::kCommandAt] == kp::kPresetRequest)
            {
                // Only the first reply to a request counts.
                return {PresetReply(5, first), PresetReply(5, second)};
            }
            return {};
        });
    ASSERT_TRUE(midi->IsDeviceFirmwareVersionUseable());
    EXPECT_EQ(ModelData(), before);

    ASSERT_EQ(midi->GetPresetFromMidiDevice(5), KR::kOk);
    EXPECT_EQ(ModelData(), first);
    keyboard.Deliver(PresetReply(5, second));
    EXPECT_EQ(ModelData(), first);
}

TEST_F(MidiManagerTest, ASilentKeyboardMakesARequestGiveMinusThreeAfterTenTries)
{
    UseReplyWait(kShortWaitMs);
    EXPECT_EQ(midi->RequestNonPresetParameterFromDevice(u"KEY_TRANSPOSE", true), LMidiManager::kNoReply);
    const std::vector<std::string> messages = Messages();
    ASSERT_EQ(messages.size(), 20u);
    for (std::size_t i = 0; i < messages.size(); i += 2)
    {
        EXPECT_EQ(messages[i], kPrefix);
        EXPECT_EQ(messages[i + 1], "F0 00 01 05 7F 31 05 6B 00 02 00 06 F7");
    }
}

TEST_F(MidiManagerTest, OldFirmwareGivesMinusTwoAfterTenIdentityRequestsAndNothingElse)
{
    keyboard.SetResponder(
        [](const Bytes& message) -> std::vector<Bytes>
        {
            return IsIdentityRequest(message) ? std::vector<Bytes>{FakeKeyboard::IdentityReply("1040")}
                                              : std::vector<Bytes>{};
        });
    UseReplyWait(kShortWaitMs);
    for (auto operation :
         {+[](LMidiManager& m) { return m.GetPresetFromMidiDevice(1); },
          +[](LMidiManager& m) { return m.SendPresetToMidiDevice(1); },
          +[](LMidiManager& m) { return m.SendNonPresetParameterToDevice(u"KEY_OCTAVE", 4, false); },
          +[](LMidiManager& m) { return m.RequestNonPresetParameterFromDevice(u"KEY_OCTAVE", false); }})
    {
        const std::size_t before = Messages().size();
        EXPECT_EQ(operation(*midi), LMidiManager::kFirmwareNotUsable);
        const std::vector<std::string> messages = Messages();
        ASSERT_EQ(messages.size() - before, 20u);
        for (std::size_t i = before; i < messages.size(); i += 2)
        {
            EXPECT_EQ(messages[i], kPrefix);
            EXPECT_EQ(messages[i + 1], kIdentityRequest);
        }
    }
    EXPECT_FALSE(midi->IsDeviceFirmwareVersionUseable());
}

TEST_F(MidiManagerTest, TheInputAndTheOutputOpenSideBySideBeforeAnythingIsSent)
{
    // Each open waits for its connection; made one after the other, the first would
    // wait alone, and a send would take two such waits instead of one.
    AnswerAsKeyboard(PatternData(0));
    keyboard.opensWaitForAPartner = true;
    EXPECT_EQ(midi->SendPresetToMidiDevice(1), KR::kOk);
    EXPECT_EQ(keyboard.lonelyOpens, 0);
    EXPECT_EQ(Messages().size(), 4u); // prefix and identity request, prefix and dump
}

TEST_F(MidiManagerTest, MissingPortsFailAtOnceWithNothingSent)
{
    keyboard.inputPresent = false;
    EXPECT_FALSE(midi->AreMidiPortsAvailable());
    EXPECT_EQ(midi->GetPresetFromMidiDevice(5), LMidiManager::kPortsUnavailable);
    EXPECT_EQ(midi->SendPresetToMidiDevice(5), LMidiManager::kPortsUnavailable);
    EXPECT_EQ(midi->SendNonPresetParameterToDevice(u"KEY_OCTAVE", 4, true), LMidiManager::kPortsUnavailable);
    EXPECT_EQ(midi->RequestNonPresetParameterFromDevice(u"KEY_OCTAVE", true), KR::kFail);
    EXPECT_FALSE(midi->IsDeviceFirmwareVersionUseable());
    keyboard.inputPresent = true;
    keyboard.outputPresent = false;
    EXPECT_EQ(midi->GetPresetFromMidiDevice(5), LMidiManager::kPortsUnavailable);
    EXPECT_TRUE(keyboard.Wire().empty());
}

TEST_F(MidiManagerTest, AFailedSendEndsARetrieveAtOnceButUsesUpATryOfAGlobalRequest)
{
    UseReplyWait(kShortWaitMs);
    AnswerAsKeyboard(PatternData(0));
    // Identity check: pieces 0 and 1; the first preset request's prefix is piece 2.
    keyboard.failSendsFrom = 2;
    EXPECT_EQ(midi->GetPresetFromMidiDevice(5), LMidiManager::kPortsUnavailable);
    EXPECT_EQ(Messages().size(), 2u);

    keyboard.failSendsFrom = 0;
    EXPECT_EQ(midi->RequestNonPresetParameterFromDevice(u"KEY_OCTAVE", true),
              LMidiManager::kPortsUnavailable);
    EXPECT_EQ(Messages().size(), 2u);
}

TEST_F(MidiManagerTest, SettingAGlobalSendsTheSetMessageBehindThePrefix)
{
    AnswerAsKeyboard(PatternData(0));
    EXPECT_EQ(midi->SendNonPresetParameterToDevice(u"KEY_TRANSPOSE", 5, false), KR::kOk);
    const std::vector<std::string> messages = Messages();
    const std::vector<std::string> expected = {kPrefix, kIdentityRequest, kPrefix,
                                               "F0 00 01 05 7F 31 05 6A 00 04 00 06 00 05 F7"};
    EXPECT_EQ(messages, expected);

    EXPECT_EQ(midi->SendNonPresetParameterToDevice(u"GLOBAL_PROGRAM", 127, true), KR::kOk);
    EXPECT_EQ(Messages().back(), "F0 00 01 05 7F 31 05 6A 00 04 00 0D 00 7F F7");
}

TEST_F(MidiManagerTest, RefusedArgumentsAndAMissingEngineSendNothingAtAll)
{
    AnswerAsKeyboard(PatternData(0));
    EXPECT_EQ(midi->SendNonPresetParameterToDevice(u"XYPAD_VELOCITY", 0, false), KR::kFail);
    EXPECT_EQ(midi->SendNonPresetParameterToDevice(u"KEY_SENSITIVITY", 9, false), KR::kFail);
    EXPECT_EQ(midi->SendNonPresetParameterToDevice(u"KEY_OCTAVE", 1, false), KR::kFail);
    EXPECT_EQ(midi->SendNonPresetParameterToDevice(u"KEY_TRANSPOSE", -1, false), KR::kFail);
    EXPECT_EQ(midi->SendNonPresetParameterToDevice(u"key_transpose", 5, false), KR::kInvalidArg);
    EXPECT_EQ(midi->RequestNonPresetParameterFromDevice(u"NO_SUCH_SETTING", false), KR::kInvalidArg);
    EXPECT_EQ(midi->SendPresetToMidiDevice(128), KR::kInvalidArg);
    EXPECT_EQ(midi->GetPresetFromMidiDevice(0xFF), KR::kInvalidArg);
    // Without an engine there is no preset to send or to fill.
    midi->SetRootModuleEngine(nullptr);
    EXPECT_EQ(midi->SendPresetToMidiDevice(1), KR::kFail);
    EXPECT_EQ(midi->GetPresetFromMidiDevice(1), KR::kFail);
    EXPECT_TRUE(keyboard.Wire().empty());
}

TEST_F(MidiManagerTest, AGlobalValueReachesTheListenersOnTheThreadThatDrainsTheApplicationQueue)
{
    AnswerAsKeyboard(PatternData(0), 133);
    const auto listener = support::ParameterListener::Create();
    listener->RegisterForNotification(midi, KR::kNidMidiManagerParameterRecieved);

    ASSERT_EQ(midi->RequestNonPresetParameterFromDevice(u"XY_SENSITIVITY", false), KR::kOk);
    EXPECT_EQ(Messages().back(), "F0 00 01 05 7F 31 05 6B 00 02 00 0C F7");
    // Not on the MIDI thread: it waits in the application queue for the UI thread.
    EXPECT_TRUE(listener->Taken().empty());
    app.Drain();
    const std::vector<support::ParameterListener::Heard> expected = {
        support::ParameterListener::OnThisThread("XY_SENSITIVITY", 133)};
    EXPECT_EQ(listener->Taken(), expected);
    listener->UnregisterForAllNotifications();
}

TEST_F(MidiManagerTest, ARequestEndsOnlyOnTheReplyToItsOwnIndexAndRepliesPastTheTableAreIgnored)
{
    const auto listener = support::ParameterListener::Create();
    // Each row: the replies to a request of wire index i, as offsets from i.
    struct Case
    {
        const char16_t* request;
        std::vector<int> replies;
        KR::Result result;
    };
    const Case cases[] = {
        {u"KEY_OCTAVE", {1}, LMidiManager::kNoReply},
        {u"KEY_OCTAVE", {1, 0}, KR::kOk},
        {u"GLOBAL_BANK_LSB", {1, 0x7F - 15}, LMidiManager::kNoReply}, // wire indices 16 and 127
    };
    for (const Case& c : cases)
    {
        const std::string row = KR::String(c.request).ToUtf8().GetPtr() + std::to_string(c.replies.size());
        keyboard.SetResponder(
            [&c](const Bytes& message) -> std::vector<Bytes>
            {
                std::vector<Bytes> replies;
                for (const int offset : c.replies)
                {
                    replies.push_back(
                        GlobalReply(static_cast<std::uint8_t>(message[kp::kGlobalIndexAt] + offset), 4));
                }
                return message[kp::kCommandAt] == kp::kGlobalRequest ? replies : std::vector<Bytes>{};
            });
        UseReplyWait(c.result == KR::kOk ? LMidiManager::kReplyWaitMs : kShortWaitMs);
        listener->RegisterForNotification(midi, KR::kNidMidiManagerParameterRecieved);
        const std::size_t before = Messages().size();
        const std::size_t heard = listener->Taken().size();
        EXPECT_EQ(midi->RequestNonPresetParameterFromDevice(c.request, true), c.result) << row;
        EXPECT_EQ(Messages().size() - before, c.result == KR::kOk ? 2u : 20u) << row;
        app.Drain();
        if (c.request == std::u16string_view(u"GLOBAL_BANK_LSB"))
        {
            EXPECT_EQ(listener->Taken().size(), heard) << "a reply past the table reached the listener";
        }
    }
    listener->UnregisterForAllNotifications();
}

TEST_F(MidiManagerTest, SendSysExFramesWhatIsMissingAndRefusesWhatCannotGoOut)
{
    // The ports of an operation are let go when it ends; hold a fresh set here.
    KR::RCPtr<KR::LRefCountedObject> render;
    ASSERT_TRUE(midi->OpenMidiPorts(u"in", u"out"));
    keyboard.Comms().back()->OpenRenderPort(u"out", render);

    struct Case
    {
        const char* given;
        KR::Result result;
        const char* sent; // behind the prefix; empty: nothing at all goes out
    };
    const Case cases[] = {
        {"05", KR::kOk, "F0 05 F7"},
        {"00 01 02", KR::kOk, "F0 00 01 02 F7"},
        {"F0 00 01", KR::kOk, "F0 00 01 F7"},
        {"01 02 F7", KR::kOk, "F0 01 02 F7"},
        {"F0", KR::kFail, ""},
        {"F7", KR::kFail, ""},
        {"", KR::kInvalidArg, ""},
        {"F0 00 90 3C F7", KR::kInvalidArg, ""},
        {"F0 00 01 05 7F 31 05 6A 00 04 00 06 7F 80 F7", KR::kInvalidArg, ""},
    };
    for (const Case& c : cases)
    {
        const std::size_t before = Messages().size();
        Bytes message = ParseHex(c.given);
        EXPECT_EQ(midi->SendSysEx(message, render, false), c.result) << c.given;
        const std::vector<std::string> messages = Messages();
        if (*c.sent == '\0')
        {
            EXPECT_EQ(messages.size(), before) << c.given;
            continue;
        }
        ASSERT_EQ(messages.size(), before + 2) << c.given;
        EXPECT_EQ(messages[before], kPrefix);
        EXPECT_EQ(messages[before + 1], c.sent);
    }

    Bytes message = ParseHex("F0 01 F7");
    EXPECT_EQ(midi->SendSysEx(message, nullptr, false), LMidiManager::kPortsUnavailable);
    EXPECT_EQ(midi->SendDeviceInquiry(nullptr), KR::kFail);
}

// Each port check opens the ports on a communication object of its own, so the objects
// made count the checks.
TEST_F(MidiManagerTest, APortCheckOpensThePortsOnlyWhenTheSystemsPortsChangedSinceTheLastFound)
{
    std::uint64_t fingerprint = 1;
    LMidiManager::Options options = keyboard.ManagerOptions();
    options.portsFingerprint = [&fingerprint] { return fingerprint; };
    midi = LMidiManager::Create(options);
    midi->SetRootModuleEngine(engine);
    const struct
    {
        const char* name;
        std::function<void()> before;
        bool found;
        std::size_t opens;
    } steps[] = {
        {"the first check", [] {}, true, 1},
        {"nothing changed", [] {}, true, 0},
        {"nothing changed, again", [] {}, true, 0},
        {"the ports changed", [&] { fingerprint = 2; }, true, 1},
        {"the keyboard's input went",
         [&]
         {
             keyboard.inputPresent = false;
             fingerprint = 3;
         },
         false, 1},
        // A failure is never kept: it may have been a moment's.
        {"nothing changed since it was missing", [] {}, false, 1},
        {"back",
         [&]
         {
             keyboard.inputPresent = true;
             fingerprint = 4;
         },
         true, 1},
        // The system did not tell, but a device operation found the ports missing.
        {"missing to a retrieve",
         [&]
         {
             keyboard.inputPresent = false;
             EXPECT_EQ(midi->GetPresetFromMidiDevice(5), LMidiManager::kPortsUnavailable);
         },
         false, 1},
    };
    for (const auto& step : steps)
    {
        step.before();
        const std::size_t made = keyboard.Comms().size();
        EXPECT_EQ(midi->AreMidiPortsAvailable(), step.found) << step.name;
        EXPECT_EQ(keyboard.Comms().size() - made, step.opens) << step.name;
    }
}

TEST_F(MidiManagerTest, DroppingTheManagerLeavesEveryDistributorItListensTo)
{
    AnswerAsKeyboard(PatternData(0));
    ASSERT_TRUE(midi->AreMidiPortsAvailable());
    const KR::RCPtr<support::FakeMidiComm> comm = keyboard.Comms().back();
    const auto listener = support::ParameterListener::Create();
    listener->RegisterForNotification(midi, KR::kNidMidiManagerParameterRecieved);
    EXPECT_TRUE(comm->IsActive());
    midi = nullptr;
    EXPECT_FALSE(comm->IsActive());
    EXPECT_EQ(listener->GetRegistrationCount(), 0);
}

} // namespace
