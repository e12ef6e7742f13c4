// The ALSA path on a machine without an ALSA sequencer (as this one, and most build
// machines): every entry point fails as a result, nothing of alsa-lib's or RtMidi's
// reaches standard error, and the MIDI log says once why. Each case runs in a process of
// its own, which starts with no sequencer answer remembered and no log installed, and
// whose standard error the test reads whole.

#include "platform/midi/AlsaSequencer.h"
#include "platform/midi/MidiApi.h"
#include "platform/midi/MidiInput.h"
#include "platform/midi/MidiOutput.h"
#include "platform/midi/PortList.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

namespace KR::Platform
{
namespace
{

const MidiPortOptions kAlsa{MidiApi::kAlsa, {}};

std::mutex gLoggedMutex;
std::vector<std::string> gLogged;

void KeepLogged(std::string_view message)
{
    std::lock_guard lock(gLoggedMutex);
    gLogged.emplace_back(message);
}

std::vector<std::string> TakeLogged()
{
    std::lock_guard lock(gLoggedMutex);
    return std::exchange(gLogged, {});
}

std::string Listed(const std::vector<std::string>& messages)
{
    std::string text = std::to_string(messages.size()) + " messages:";
    for (const std::string& message : messages)
    {
        text += "\n  " + message;
    }
    return text;
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// In the child: a failed check says what it saw on standard error, which the parent
// expects empty, so the test's output shows it beside whatever else came there.
[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "check failed: %s\n", what.c_str());
    std::exit(1);
}

void IgnoreInput(std::span<const std::uint8_t>, std::uint32_t)
{
}

[[noreturn]] void UseEveryAlsaEntryWithoutASequencer()
{
    SetMidiLogSink(&KeepLogged);
    // The keyboard's polls ask again and again: the first made 56 clients in seconds.
    for (int round = 0; round < 5; ++round)
    {
        if (!ListInputPorts(MidiApi::kAlsa).empty() || !ListOutputPorts(MidiApi::kAlsa).empty())
        {
            Fail("ports listed without a sequencer");
        }
        GetPortsFingerprint(MidiApi::kAlsa);
        if (FindInputPort("MIDIIN4 (Vantor)", kAlsa) || FindOutputPort("MIDIOUT4 (Vantor)", kAlsa))
        {
            Fail("a port found without a sequencer");
        }
        const char* const names[] = {"MidiInput::Open", "MidiOutput::Open", "MidiInput::CreateVirtual",
                                     "MidiOutput::CreateVirtual"};
        std::string errors[4];
        const bool opened[4] = {
            MidiInput::Open("MIDIIN4 (Vantor)", &IgnoreInput, kAlsa, &errors[0]) != nullptr,
            MidiOutput::Open("MIDIOUT4 (Vantor)", kAlsa, &errors[1]) != nullptr,
            MidiInput::CreateVirtual("in", &IgnoreInput, kAlsa, &errors[2]) != nullptr,
            MidiOutput::CreateVirtual("out", kAlsa, &errors[3]) != nullptr,
        };
        for (int i = 0; i < 4; ++i)
        {
            if (opened[i] || !Contains(errors[i], "no ALSA sequencer (/dev/snd/seq"))
            {
                Fail(std::string(names[i]) + " gave \"" + errors[i] + "\"");
            }
        }
        if (CheckMidiSystem(MidiApi::kAlsa) || !CheckMidiSystem(MidiApi::kJack))
        {
            Fail("CheckMidiSystem");
        }
    }
    const std::vector<std::string> logged = TakeLogged();
    if (logged.size() != 1 ||
        !Contains(logged[0], "no ALSA sequencer (/dev/snd/seq: No such file or directory)"))
    {
        Fail("the log holds " + Listed(logged));
    }
    std::exit(0);
}

// A node that comes and goes at a path of the test's: each change asks alsa-lib anew
// (which, without /dev/snd/seq, fails and says so), and the log hears of each new reason once.
[[noreturn]] void WatchANodeThatComesAndGoes()
{
    SetMidiLogSink(&KeepLogged);
    std::string folder = std::filesystem::temp_directory_path().string() + "/kr-alsa-XXXXXX";
    if (::mkdtemp(folder.data()) == nullptr)
    {
        Fail("no temporary folder");
    }
    const std::string node = folder + "/seq";
    Detail::AlsaSequencerWatch watch(node);
    enum class Step
    {
        kAsk,
        kCreate,
        kRemove,
        kForget
    };
    const struct
    {
        Step step;
        std::string reason;              // the error IsReachable gives
        std::vector<std::string> logged; // a part of each message logged, in order
    } steps[] = {
        {Step::kAsk,
         "no ALSA sequencer (" + node + ": No such file or directory)",
         {"MIDI: no ALSA sequencer"}},
        {Step::kAsk, "no ALSA sequencer (" + node, {}},
        {Step::kCreate,
         "the ALSA sequencer cannot be opened (No such file or directory)",
         {"MIDI: alsa-lib reports (seq_hw.c:", "MIDI: the ALSA sequencer cannot be opened"}},
        {Step::kAsk, "the ALSA sequencer cannot be opened", {}},
        {Step::kRemove, "no ALSA sequencer", {"MIDI: no ALSA sequencer"}},
        {Step::kForget, "no ALSA sequencer", {}},
    };
    int index = 0;
    for (const auto& step : steps)
    {
        const std::string at = "step " + std::to_string(index++) + ": ";
        if (step.step == Step::kCreate)
        {
            std::ofstream(node).put('x');
        }
        else if (step.step == Step::kRemove)
        {
            std::filesystem::remove(node);
        }
        else if (step.step == Step::kForget)
        {
            watch.Forget();
        }
        std::string error;
        if (watch.IsReachable(&error) || !Contains(error, step.reason))
        {
            Fail(at + "reachable, or gave \"" + error + "\"");
        }
        const std::vector<std::string> logged = TakeLogged();
        bool matches = logged.size() == step.logged.size();
        for (std::size_t i = 0; matches && i < logged.size(); ++i)
        {
            matches = Contains(logged[i], step.logged[i]);
        }
        if (!matches)
        {
            Fail(at + "the log holds " + Listed(logged));
        }
    }
    std::filesystem::remove_all(folder);
    std::exit(0);
}

class MidiPortsOnAlsa : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (std::filesystem::exists("/dev/snd/seq"))
        {
            GTEST_SKIP() << "this machine has an ALSA sequencer";
        }
        GTEST_FLAG_SET(death_test_style, "threadsafe");
    }
};

TEST_F(MidiPortsOnAlsa, WithoutASequencerNothingReachesStandardErrorAndTheLogSaysSoOnce)
{
    EXPECT_EXIT(UseEveryAlsaEntryWithoutASequencer(), ::testing::ExitedWithCode(0), ::testing::IsEmpty());
}

TEST_F(MidiPortsOnAlsa, ASequencerNodeThatComesAndGoesIsAskedAgainAndEachNewReasonLoggedOnce)
{
    EXPECT_EXIT(WatchANodeThatComesAndGoes(), ::testing::ExitedWithCode(0), ::testing::IsEmpty());
}

} // namespace
} // namespace KR::Platform
