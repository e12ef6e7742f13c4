// The device dialogs over JACK (dummy driver) against the simulated keyboard, as a user
// meets them: from the press on the dialog's button to its message box. A send cannot take
// less than its nine 10 ms pauses (the firmware check's prefix and identity request, the
// dump's prefix and six pieces) and one identity round trip; "vs_pauses" is the measured
// time over the pauses alone, beside the manager's own send measured the same way, so the
// dialog's share is the difference. "Get Settings" is 13 global requests after one
// firmware check: 28 pauses and 14 round trips.

#include "editor/app/Application.h"
#include "editor/app/GlobalSettingsDlg.h"
#include "editor/app/SendPresetToMidiDeviceDlg.h"
#include "kr/ui/ControlFactory.h"
#include "support/engine/ScriptedBridge.h"
#include "support/simkeyboard/SimKeyboardProcess.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace
{

using Clock = std::chrono::steady_clock;
using KR::LMidiManager;

constexpr double kSendPausesMs = 9 * LMidiManager::kPiecePauseMs;
// The firmware check (prefix, identity request) and 13 requests behind their prefixes.
constexpr double kGetSettingsPausesMs = (2 + 13 * 2) * LMidiManager::kPiecePauseMs;

// The program's application with its real MIDI manager; the engine on a scripted bridge;
// message boxes counted instead of shown.
class BenchApplication : public LApplication
{
public:
    BenchApplication() : LApplication(u"PresetEditor")
    {
        GetControlFactory()->LoadStringTablesAndSkins(KR::String(u"::"), 0x0409);
    }
    std::int32_t ShowMessageBox(const KR::String& text, const KR::String& caption, std::uint32_t) override
    {
        ++boxes;
        last = std::string(caption.ToUtf8().GetPtr()) + ": " + text.ToUtf8().GetPtr();
        return 1;
    }

    int boxes = 0;
    std::string last;
    KR::RCPtr<ScriptedBridge> bridge = ScriptedBridge::Create();

protected:
    KR::RCPtr<LRootModuleEngine> CreateRootModuleEngine() override
    {
        return LRootModuleEngine::Create(bridge);
    }
};

class Rig
{
public:
    static Rig& Get()
    {
        static Rig rig;
        return rig;
    }
    const std::string& Error() const { return mError; }
    BenchApplication& App() { return *mApp; }
    KR::LControl& Dialog(const char16_t* name)
    {
        KR::RCPtr<KR::LControl>& made = name == std::u16string_view(u"dialogSendPreset") ? mSend : mGlobal;
        if (!made)
        {
            made = mApp->GetControlFactory()->CreateControlByName(KR::String(name), nullptr);
        }
        return *made;
    }

private:
    Rig()
    {
        ::setenv("KR_MIDI_API", "jack", 1);
        const std::filesystem::path settings =
            std::filesystem::temp_directory_path() / "bench_editor_dialogs";
        ::setenv("XDG_CONFIG_HOME", settings.c_str(), 1);
        ::setenv("XDG_DATA_HOME", settings.c_str(), 1);
        mKeyboard = KR::TestSupport::SimKeyboardProcess::Start({}, &mError);
        if (!mKeyboard)
        {
            return;
        }
        mApp = KR::RCPtr<BenchApplication>(new BenchApplication);
        if (KR::Failed(mApp->RunApplicationStartup()))
        {
            mError = "the application did not start";
        }
    }

    std::string mError;
    std::unique_ptr<KR::TestSupport::SimKeyboardProcess> mKeyboard;
    KR::RCPtr<BenchApplication> mApp;
    KR::RCPtr<KR::LControl> mSend;
    KR::RCPtr<KR::LControl> mGlobal;
};

// Runs `press` once per iteration; each must show exactly `boxes` boxes (a failure box
// ends the benchmark). Reports the time per iteration over `pausesMs`.
template <typename Press>
void Run(benchmark::State& state, double pausesMs, int boxes, Press press)
{
    Rig& rig = Rig::Get();
    if (!rig.Error().empty())
    {
        state.SkipWithError(rig.Error().c_str());
        return;
    }
    const Clock::time_point start = Clock::now();
    for (auto _ : state)
    {
        const int before = rig.App().boxes;
        const std::string expected = press(rig);
        if (rig.App().boxes - before != boxes || (boxes > 0 && rig.App().last.rfind(expected, 0) != 0))
        {
            state.SkipWithError(("unexpected outcome: " + rig.App().last).c_str());
            return;
        }
    }
    const double perIteration = std::chrono::duration<double, std::milli>(Clock::now() - start).count() /
                                static_cast<double>(state.iterations());
    state.counters["pauses_ms"] = pausesMs;
    state.counters["vs_pauses"] = perIteration / pausesMs;
}

// The press on "send" with "Preset 3" selected, to the "Send Sucess" box.
void BM_SendDialogPressToBox(benchmark::State& state)
{
    Run(state, kSendPausesMs, 1,
        [](Rig& rig)
        {
            KR::LControl& dialog = rig.Dialog(u"dialogSendPreset");
            KR::RCPtr<KR::LComboBox>(
                dialog.FindChildControl(KR::String(u"presetSlot"))->FindChildControl(KR::String(u"comboBox")))
                ->SetSelectedIndex(3);
            dialog.FindChildControl(KR::String(u"send"))->SendNotificationByName(u"NID_LEFT_CLICK");
            return std::string("Send Sucess");
        });
}

// The manager's send alone, as the dialog calls it, for comparison.
void BM_ManagerSendAlone(benchmark::State& state)
{
    Run(state, kSendPausesMs, 0,
        [](Rig& rig)
        {
            return rig.App().GetMidiManager()->SendPresetToMidiDevice(3) == KR::kOk ? std::string()
                                                                                    : std::string("failed");
        });
}

// "Get Settings": 13 requests and their replies, then the idle pass that shows them.
void BM_GetSettingsPressToShown(benchmark::State& state)
{
    Run(state, kGetSettingsPausesMs, 0,
        [](Rig& rig)
        {
            rig.Dialog(u"globalEditorControl")
                .FindChildControl(KR::String(u"getGlobalSettingsButton"))
                ->SendNotificationByName(u"NID_LEFT_CLICK");
            rig.App().OnIdle(false);
            return std::string();
        });
}

BENCHMARK(BM_ManagerSendAlone)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_SendDialogPressToBox)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_GetSettingsPressToShown)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

} // namespace
