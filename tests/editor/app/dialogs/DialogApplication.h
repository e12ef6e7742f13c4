#pragma once
// The editor's application for the dialog tests: the real skin, string tables and class
// tables from the embedded resources (or a skin file of the test's own), the engine on a
// scripted bridge, and the MIDI manager on a fake keyboard whose answers come from the
// simulated keyboard's own logic. Message boxes are recorded as the debug log writes them
// ("<caption> | <text> | <style>") instead of shown.
//
//     DialogFolders folders;                            // before the application
//     const KR::RCPtr<DialogApplication> app(new DialogApplication);
//     ASSERT_TRUE(app->Start());
//     const KR::RCPtr<KR::LControl> dialog = app->CreateStandalone(u"dialogSendPreset");
//     app->sim.SetFaults({.silent = true});

#include "editor/app/Application.h"
#include "simkeyboard/SimKeyboard.h"
#include "support/Files.h"
#include "support/ScopedVariable.h"
#include "support/engine/FakeKeyboardPorts.h"
#include "support/engine/ScriptedBridge.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace KR::TestSupport
{

// The settings folders of one test, in a temporary folder.
struct DialogFolders
{
    TempFolder folder;
    ScopedVariable config{"XDG_CONFIG_HOME", (folder / "config").c_str()};
    ScopedVariable data{"XDG_DATA_HOME", (folder / "data").c_str()};
};

class DialogApplication : public LApplication
{
public:
    // A short wait per try, so that tests in which every try runs out stay short.
    static constexpr std::uint32_t kReplyWaitMs = 20;
    static constexpr std::int32_t kLanguage = 1033;

    explicit DialogApplication(const std::string& skinFile = std::string()) : LApplication(u"PresetEditor")
    {
        const RCPtr<LControlFactory> factory = GetControlFactory();
        if (skinFile.empty())
        {
            factory->LoadStringTablesAndSkins(String(u"::"), kLanguage);
        }
        else
        {
            factory->SetImagePathPrefix(String(u"::"));
            factory->LoadStringTables(String(u"::FRAMEWORK_STRINGS"), String(u"::APP_STRINGS"), kLanguage);
            factory->LoadSkins(String(skinFile.c_str()));
        }
        AnswerAsTheSimulator();
    }

    void AnswerAsTheSimulator()
    {
        keyboard.SetResponder([this](const support::Bytes& message) { return sim.Receive(message); });
    }

    bool Start() { return RunApplicationStartup() == kOk; }

    // A control of the skin made on its own, in no window (CreateControl makes it in the
    // main window).
    RCPtr<LControl> CreateStandalone(const char16_t* name)
    {
        return GetControlFactory()->CreateControlByName(String(name), nullptr);
    }

    std::int32_t ShowMessageBox(const String& text, const String& caption, std::uint32_t style) override
    {
        boxes.push_back(std::string(caption.ToUtf8().GetPtr()) + " | " + text.ToUtf8().GetPtr() + " | " +
                        std::to_string(style));
        return 1;
    }

    // Usable firmware, but no other answer.
    void AnswerOnlyTheIdentityRequest()
    {
        keyboard.SetResponder(
            [this](const support::Bytes& message)
            {
                const bool identity = message.size() > 3 && message[1] == 0x7E && message[3] == 0x06;
                return identity ? sim.Receive(message) : std::vector<support::Bytes>{};
            });
    }

    // The messages the keyboard received since the last Reset, as hex lines.
    std::vector<std::string> Received() const
    {
        const std::vector<std::string> all = keyboard.Messages();
        return std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(mMark), all.end());
    }
    // Sends fail from the `n`-th piece of the next operation on (counted from 0).
    void FailPiecesFrom(int n)
    {
        int pieces = 0;
        for (const support::FakeKeyboard::WireEvent& event : keyboard.Wire())
        {
            pieces += event.pause ? 0 : 1;
        }
        keyboard.failSendsFrom = pieces + n;
    }
    // A block byte the preset dump cannot carry (0x80), so the manager refuses the preset.
    void SpoilModel()
    {
        mSpoiled.emplace();
        GetRootModuleEngine()->GetParamValue(ParamDescriptor(0), *mSpoiled);
        std::uint32_t count = 0;
        const std::uint8_t* bytes = mSpoiled->GetBytes(count);
        std::vector<std::uint8_t> bad(bytes, bytes + count);
        bad[0] = 0x80;
        Variant value;
        value.SetBlob(bad.data(), count);
        GetRootModuleEngine()->SetParamValue(ParamDescriptor(0), value);
    }
    // No boxes, no faults, the model as before any SpoilModel; Received starts afresh.
    void Reset()
    {
        boxes.clear();
        AnswerAsTheSimulator();
        sim.SetFaults({});
        sim.SetFirmware("1041");
        keyboard.inputPresent = true;
        keyboard.outputPresent = true;
        keyboard.failSendsFrom = -1;
        keyboard.stuckFromPiece = -1;
        if (mSpoiled)
        {
            GetRootModuleEngine()->SetParamValue(ParamDescriptor(0), *mSpoiled);
            mSpoiled.reset();
        }
        mMark = keyboard.Messages().size();
    }

    SimKeyboard sim;
    support::FakeKeyboard keyboard;
    RCPtr<ScriptedBridge> bridge = ScriptedBridge::Create();
    std::vector<std::string> boxes;

protected:
    RCPtr<LMidiManager> CreateMidiManager() override
    {
        return LMidiManager::Create(keyboard.ManagerOptions(kReplyWaitMs));
    }
    RCPtr<LRootModuleEngine> CreateRootModuleEngine() override { return LRootModuleEngine::Create(bridge); }

private:
    std::size_t mMark = 0;
    std::optional<Variant> mSpoiled;
};

} // namespace KR::TestSupport
