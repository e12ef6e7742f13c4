#pragma once
// The editor's application object with its real main control in a root window on the
// fake window services, in the test process: the embedded resources, the engine over the
// scripted bridge (or the program's own, over the device-control library), the MIDI
// manager as the program makes it (the test's JACK server when KR_MIDI_API says so).
// Message boxes and modal runs are recorded instead of shown.
//
//     CommandsEditor editor;
//     editor.View()->LoadPreset();
//     EXPECT_EQ(editor.app->boxes, (std::vector<std::string>{"MessageBox: ... | 16"}));

#include "TestPaths.h"
#include "editor/app/Application.h"
#include "editor/app/DeviceView.h"
#include "editor/program/PlainClasses.h"
#include "kr/notify/Notification.h"
#include "kr/render/Font.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/RootWindow.h"
#include "support/FakeWindowServices.h"
#include "support/Files.h"
#include "support/RecordingRenderer.h"
#include "support/ScopedVariable.h"
#include "support/engine/ScriptedBridge.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace KR::TestSupport
{

// Which engine the editor runs on.
enum class CommandsEngine
{
    kScriptedBridge,
    // The program's own: its bridge loads the device-control library, which finds the
    // keyboard among the MIDI system's ports.
    kProgram,
};

class CommandsApplication : public LApplication
{
public:
    // The resources of `folder` ("::" the embedded ones).
    explicit CommandsApplication(const String& folder,
                                 CommandsEngine engine = CommandsEngine::kScriptedBridge)
        : LApplication(String(u"PresetEditor")), engine(engine)
    {
        const RCPtr<LControlFactory> factory = GetControlFactory();
        if (folder == u"::")
        {
            loaded = factory->LoadStringTablesAndSkins(folder, 1033);
            return;
        }
        // The pictures stay the program's own whatever texts and skins a test gives.
        factory->SetImagePathPrefix(String(u"::"));
        loaded =
            factory->LoadStringTables(folder + u"/FrameworkStrings.xml", folder + u"/StringTables.xml", 1033);
        if (Succeeded(loaded))
        {
            loaded = factory->LoadSkins(folder + u"/Skins.xml");
        }
    }

    // One line per box, as the program's debug log has it.
    std::int32_t ShowMessageBox(const String& text, const String& caption, std::uint32_t style) override
    {
        boxes.push_back(std::string("MessageBox: ") + caption.ToUtf8().GetPtr() + " | " +
                        text.ToUtf8().GetPtr() + " | " + std::to_string(style));
        return 1;
    }
    // The control, not run: a test has no one to close it.
    Result GetModalRootWindow(const RCPtr<LControl>& control, bool close) override
    {
        modal.push_back(control);
        modalClose.push_back(close);
        return 1;
    }

    const CommandsEngine engine;
    Result loaded = kFail;
    RCPtr<ScriptedBridge> bridge = ScriptedBridge::Create();
    std::vector<std::string> boxes;
    std::vector<RCPtr<LControl>> modal;
    std::vector<bool> modalClose;
    std::vector<std::string> exits;

protected:
    RCPtr<LRootModuleEngine> CreateRootModuleEngine() override
    {
        return engine == CommandsEngine::kProgram ? LApplication::CreateRootModuleEngine()
                                                  : LRootModuleEngine::Create(bridge);
    }
    void RegisterApplicationControlClasses() override
    {
        LApplication::RegisterApplicationControlClasses();
        RegisterPlainPanelsForUnbuiltClasses(*GetControlFactory());
    }
    void PostCloseMessage(std::uintptr_t window) override
    {
        exits.push_back("close " + std::to_string(window));
    }
    void PostQuitMessage(int code) override { exits.push_back("quit " + std::to_string(code)); }
};

// The editor's resource files in a folder of the test's own, with the first `from` in one
// of them ("Skins.xml", "StringTables.xml") replaced by `to`.
class EditedResources
{
public:
    EditedResources(const std::string& file, const std::string& from, const std::string& to)
    {
        const std::filesystem::path xml(KR_EDITOR_XML_FOLDER);
        const std::pair<const char*, const char*> files[] = {
            {"APP_STRINGS.xml", "StringTables.xml"},
            {"FRAMEWORK_STRINGS.xml", "FrameworkStrings.xml"},
            {"APP_SKINS.xml", "Skins.xml"},
        };
        for (const auto& [source, target] : files)
        {
            const std::vector<std::uint8_t> bytes = FileBytes(xml / source);
            std::string text(bytes.begin(), bytes.end());
            if (file == target)
            {
                const std::size_t at = text.find(from);
                EXPECT_NE(at, std::string::npos) << from;
                if (at != std::string::npos)
                {
                    text.replace(at, from.size(), to);
                }
            }
            std::ofstream(folder / target, std::ios::binary) << text;
        }
    }
    // A skin without the first control named `name` (it is renamed).
    static EditedResources SkinWithout(const std::string& name)
    {
        return EditedResources("Skins.xml", "Name=\"" + name + "\"", "Name=\"" + name + "Gone\"");
    }
    String Folder() const { return folder.Text(); }

private:
    TempFolder folder;
};

class CommandsEditor
{
public:
    explicit CommandsEditor(const String& resources = String(u"::"),
                            CommandsEngine engine = CommandsEngine::kScriptedBridge)
        : app(new CommandsApplication(resources, engine))
    {
        EXPECT_EQ(app->loaded, kOk);
        EXPECT_EQ(app->RunApplicationStartup(), kOk);
        app->SetDefaultFont(LFont::GetFont(String(u"Arial"), 8.25f, 0));
        os->clientSize = PointI{1200, 750};
        os->handle = 11;
        window = RCPtr<LRootWindow>(new LRootWindow(renderer, os.Get()));
        app->AddRootWindow(window);
        main = app->GetControlFactory()->CreateControlByName(String(u"mainControl"), window);
        if (main)
        {
            window->SetRootControl(main);
        }
    }
    ~CommandsEditor()
    {
        if (main)
        {
            main->Detach();
        }
        window->ReleaseInternalReferences();
        app->RemoveRootWindow(window);
    }
    CommandsEditor(const CommandsEditor&) = delete;
    CommandsEditor& operator=(const CommandsEditor&) = delete;

    LDeviceView* View() const
    {
        return main ? dynamic_cast<LDeviceView*>(main->FindChildControl(String(u"viewDevice")).Get())
                    : nullptr;
    }
    // Delivers what waits in the queues, as the idle step does.
    void Idle() { app->OnIdle(false); }

    TempFolder folder;
    ScopedVariable config{"XDG_CONFIG_HOME", (folder / "config").c_str()};
    ScopedVariable data{"XDG_DATA_HOME", (folder / "data").c_str()};
    RCPtr<CommandsApplication> app;
    RCPtr<LFakeWindowServices> os{new LFakeWindowServices};
    RCPtr<LRenderer> renderer{new LRecordingRenderer};
    RCPtr<LRootWindow> window;
    RCPtr<LControl> main;
};

} // namespace KR::TestSupport
