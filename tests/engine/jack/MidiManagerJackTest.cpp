// The MIDI manager for real, one test per road to the keyboard: the framework's MIDI
// ports on the test JACK server, the simulated keyboard as its own process, the engine
// and the model behind the manager. The branches (old firmware, silence, missing ports,
// stray replies) are taken by the tests over the fake ports.

#include "engine/MidiManager.h"

#include "support/engine/ApplicationCenter.h"
#include "support/engine/MidiManagerTestSupport.h"
#include "support/engine/ScriptedBridge.h"
#include "support/engine/SysExTestSupport.h"
#include "support/simkeyboard/SimKeyboardProcess.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <memory>
#include <string>
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

} // namespace
