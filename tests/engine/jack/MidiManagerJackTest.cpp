// The MIDI manager for real: the framework's MIDI ports on the test JACK server, the
// simulated keyboard as its own process, the engine and the model behind the manager.
// What the keyboard received is read from the simulator's log, one hex line a message.

#include "engine/MidiManager.h"

#include "device/ParamLayout.h"
#include "engine/EngineTestSupport.h"
#include "engine/MidiManagerTestSupport.h"
#include "engine/ScriptedBridge.h"
#include "engine/SysExTestSupport.h"
#include "support/simkeyboard/SimKeyboardProcess.h"

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace
{

using KR::LMidiManager;
using KR::TestSupport::SimKeyboardProcess;
using support::Hex;
using support::ParseHex;

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
    }
    void TearDown() override
    {
        midi = nullptr;
        engine = nullptr;
    }

    void StartKeyboard(const std::vector<std::string>& args = {})
    {
        std::string error;
        keyboard = SimKeyboardProcess::Start(args, &error);
        ASSERT_TRUE(keyboard) << error;
    }

    std::vector<std::uint8_t> ModelData() { return support::ModelData(*engine); }

    // What the simulator keeps in a slot it was never sent: byte i is (i + slot) % 128.
    static std::vector<std::uint8_t> UnwrittenSlot(std::uint8_t slot)
    {
        std::vector<std::uint8_t> data(KeyboardSysEx::kPresetDataBytes);
        for (std::size_t i = 0; i < data.size(); ++i)
        {
            data[i] = static_cast<std::uint8_t>((i + slot) % 128);
        }
        return data;
    }

    support::ApplicationCenter app;
    KR::RCPtr<ScriptedBridge> bridge = ScriptedBridge::Create();
    KR::RCPtr<LRootModuleEngine> engine;
    KR::RCPtr<LMidiManager> midi;
    std::unique_ptr<SimKeyboardProcess> keyboard;
};

TEST_F(MidiManagerJackTest, SendingToSlotThreePutsPrefixIdentityPrefixAndTheDumpInTheKeyboardsLog)
{
    StartKeyboard();
    ASSERT_EQ(midi->SendPresetToMidiDevice(3), KR::kOk);

    const std::vector<std::string> lines = keyboard->WaitForLogLines(4);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], kPrefix);
    EXPECT_EQ(lines[1], kIdentityRequest);
    EXPECT_EQ(lines[2], kPrefix);
    const std::vector<std::uint8_t> dump = ParseHex(lines[3]);
    ASSERT_EQ(dump.size(), 1350u);
    EXPECT_EQ(Hex(std::span(dump).first(11)), "F0 00 01 05 7F 31 05 61 0A 3B 03");
    EXPECT_EQ(std::vector<std::uint8_t>(dump.begin() + 11, dump.end() - 1), ModelData());
    EXPECT_EQ(dump.back(), 0xF7);
}

TEST_F(MidiManagerJackTest, RetrievingSlotFiveMakesTheModelHoldTheKeyboardsSlot)
{
    StartKeyboard();
    ASSERT_NE(ModelData(), UnwrittenSlot(5));
    ASSERT_EQ(midi->GetPresetFromMidiDevice(5), KR::kOk);
    EXPECT_EQ(ModelData(), UnwrittenSlot(5));

    const std::vector<std::string> lines = keyboard->WaitForLogLines(4);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[3], "F0 00 01 05 7F 31 05 62 05 F7");
}

TEST_F(MidiManagerJackTest, APresetSentIsThePresetRetrieved)
{
    StartKeyboard();
    ASSERT_EQ(midi->GetPresetFromMidiDevice(9), KR::kOk);
    const std::vector<std::uint8_t> slotNine = ModelData();
    ASSERT_EQ(midi->SendPresetToMidiDevice(40), KR::kOk);
    ASSERT_EQ(midi->GetPresetFromMidiDevice(41), KR::kOk);
    ASSERT_NE(ModelData(), slotNine);
    ASSERT_EQ(midi->GetPresetFromMidiDevice(40), KR::kOk);
    EXPECT_EQ(ModelData(), slotNine);
}

TEST_F(MidiManagerJackTest, APresetReplyNobodyAskedForDoesNotReachTheModel)
{
    // The first three global requests go unanswered, so the manager is listening for
    // replies for a while; meanwhile the keyboard sends a preset reply of 0x55 bytes.
    StartKeyboard({"--reply-after", "3"});
    const std::vector<std::uint8_t> before = ModelData();
    std::thread stray(
        [this]
        {
            keyboard->WaitForLogLines(2); // the prefix and the first request
            keyboard->Command("stray-reply");
        });
    EXPECT_EQ(midi->RequestNonPresetParameterFromDevice(u"KEY_OCTAVE", true), KR::kOk);
    stray.join();
    EXPECT_EQ(keyboard->LastAnswer(), "ok");
    EXPECT_EQ(ModelData(), before);
}

TEST_F(MidiManagerJackTest, OldFirmwareGivesMinusTwoAndNoPresetRequest)
{
    StartKeyboard({"--firmware", "1040"});
    EXPECT_EQ(midi->GetPresetFromMidiDevice(5), LMidiManager::kFirmwareNotUsable);

    const std::vector<std::string> lines = keyboard->WaitForLogLines(20);
    ASSERT_EQ(lines.size(), 20u);
    for (std::size_t i = 0; i < lines.size(); i += 2)
    {
        EXPECT_EQ(lines[i], kPrefix);
        EXPECT_EQ(lines[i + 1], kIdentityRequest);
    }
}

TEST_F(MidiManagerJackTest, ASilentKeyboardGivesMinusThreeAfterTenTries)
{
    StartKeyboard({"--silent"});
    EXPECT_EQ(midi->RequestNonPresetParameterFromDevice(u"KEY_TRANSPOSE", true), LMidiManager::kNoReply);

    const std::vector<std::string> lines = keyboard->WaitForLogLines(20);
    ASSERT_EQ(lines.size(), 20u);
    for (std::size_t i = 0; i < lines.size(); i += 2)
    {
        EXPECT_EQ(lines[i], kPrefix);
        EXPECT_EQ(lines[i + 1], "F0 00 01 05 7F 31 05 6B 00 02 00 06 F7");
    }
}

TEST_F(MidiManagerJackTest, WithoutAKeyboardEveryOperationGivesMinusOneAtOnce)
{
    EXPECT_FALSE(midi->AreMidiPortsAvailable());
    EXPECT_EQ(midi->GetPresetFromMidiDevice(5), LMidiManager::kPortsUnavailable);
    EXPECT_EQ(midi->SendPresetToMidiDevice(5), LMidiManager::kPortsUnavailable);
    EXPECT_EQ(midi->SendNonPresetParameterToDevice(u"KEY_TRANSPOSE", 5, false),
              LMidiManager::kPortsUnavailable);
}

TEST_F(MidiManagerJackTest, SettingKeyTransposeToFiveSendsTheSetMessageAndTheKeyboardKeepsIt)
{
    StartKeyboard();
    ASSERT_EQ(midi->SendNonPresetParameterToDevice(u"KEY_TRANSPOSE", 5, false), KR::kOk);
    const std::vector<std::string> lines = keyboard->WaitForLogLines(4);
    const std::vector<std::string> expected = {kPrefix, kIdentityRequest, kPrefix,
                                               "F0 00 01 05 7F 31 05 6A 00 04 00 06 00 05 F7"};
    EXPECT_EQ(lines, expected);

    const auto listener = support::ParameterListener::Create();
    listener->RegisterForNotification(midi, KR::kNidMidiManagerParameterRecieved);
    ASSERT_EQ(midi->RequestNonPresetParameterFromDevice(u"KEY_TRANSPOSE", true), KR::kOk);
    app.Drain();
    const std::vector<support::ParameterListener::Heard> heard = {
        support::ParameterListener::OnThisThread("KEY_TRANSPOSE", 5)};
    EXPECT_EQ(listener->Taken(), heard);
    listener->UnregisterForAllNotifications();
}

TEST_F(MidiManagerJackTest, AGlobalRequestIsAnsweredToItsListener)
{
    StartKeyboard();
    const auto listener = support::ParameterListener::Create();
    listener->RegisterForNotification(midi, KR::kNidMidiManagerParameterRecieved);
    // The simulator's factory settings: KEY_OCTAVE 5, PAD_TRANSPOSE 12.
    ASSERT_EQ(midi->RequestNonPresetParameterFromDevice(u"KEY_OCTAVE", false), KR::kOk);
    ASSERT_EQ(midi->RequestNonPresetParameterFromDevice(u"PAD_TRANSPOSE", true), KR::kOk);
    app.Drain();
    const std::vector<support::ParameterListener::Heard> expected = {
        support::ParameterListener::OnThisThread("KEY_OCTAVE", 5),
        support::ParameterListener::OnThisThread("PAD_TRANSPOSE", 12)};
    EXPECT_EQ(listener->Taken(), expected);
    listener->UnregisterForAllNotifications();

    const std::vector<std::string> lines = keyboard->WaitForLogLines(6);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[3], "F0 00 01 05 7F 31 05 6B 00 02 00 05 F7");
    EXPECT_EQ(lines[5], "F0 00 01 05 7F 31 05 6B 00 02 00 09 F7");
}

} // namespace
