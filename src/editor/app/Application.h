#pragma once
// LApplication: the editor's application object. Beyond what the framework and the
// application base give, it owns the MIDI manager and the root module engine, names the
// settings version and the main control, and turns "NID_APP_EXIT_REQ" into closing the
// main window and quitting the message loop.
//
//     const KR::RCPtr<KR::LControlFactory> factory = LApplication::CreateControlFactory(product);
//     ... load the string tables and skins into it ...
//     const KR::RCPtr<LApplication> app(new LApplication(factory, factory->GetFrameworkStringTable(),
//     commandLine)); if (KR::Failed(app->RunApplicationStartup())) ...   // then nothing is subscribed
//     app->CreateMainWindow(app->GetRendererKind());
//     app->Run();
//     app->Shutdown();
//
// UI thread only. Tests give their own MIDI manager and engine through the creators.

#include "engine/MidiManager.h"
#include "engine/RootModuleEngine.h"
#include "kr/app/ApplicationBase.h"

#include <memory>
#include <thread>

class LTreeDump;

class LApplication : public KR::LApplicationBase<LApplication>
{
public:
    LApplication(const KR::RCPtr<KR::LControlFactory>& factory,
                 const KR::RCPtr<KR::LStringTable>& frameworkStrings, const KR::String& commandLine);
    // Tests' form: a factory of its own, named so.
    explicit LApplication(const KR::String& applicationName);
    // The MIDI manager goes first, then the engine it talks to.
    ~LApplication() override;

    // "Tarsil_Vantor Preset Editor": company, "_" and product of the version block, built
    // on first use and kept for the process.
    static const KR::String& GetApplicationTitle();

    KR::String GetSettingsVersion() const override { return u"1_0_0"; }
    KR::String GetMainControlName() const override { return u"mainControl"; }
    virtual bool CanExit() { return true; }

    // The framework's start-up; then the exit request subscribed, the editor's control
    // classes, the MIDI manager and the engine, initialised and handed to the manager.
    // kFail when the framework's start-up fails: nothing after it is done. An engine that
    // fails to initialise is written to the debug log and the start goes on.
    KR::Result RunApplicationStartup() override;

    // The framework's idle step; then the tree dump a test asked for (TreeDump.h).
    bool OnIdle(bool sendIdle) override;

    // "NID_APP_EXIT_REQ": when CanExit, the framework's exit, a close posted to the main
    // window when there is one, and a quit. Everything else goes to the framework.
    KR::Result Receive(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                       const KR::RCPtr<KR::LNotification>& notification) override;

    KR::RCPtr<KR::LMidiManager> GetMidiManager() const { return mMidiManager; }
    KR::RCPtr<LRootModuleEngine> GetRootModuleEngine() const { return mRootModuleEngine; }

    // The splash picture in the resource folder ("/Splash.png"), empty when there is none.
    KR::String GetSplashImagePath();

protected:
    virtual KR::RCPtr<KR::LMidiManager> CreateMidiManager();
    virtual KR::RCPtr<LRootModuleEngine> CreateRootModuleEngine();
    // The editor's own control classes, in the order of its class table.
    virtual void RegisterApplicationControlClasses();
    // What the exit posts: the close to the main window (by its system handle) and the quit.
    virtual void PostCloseMessage(std::uintptr_t window);
    virtual void PostQuitMessage(int exitCode);

private:
    // Matches and opens the current skin's font, plain and bold, on a thread of its own.
    void PrepareSkinFont();

    KR::RCPtr<LRootModuleEngine> mRootModuleEngine;
    KR::RCPtr<KR::LMidiManager> mMidiManager;
    std::unique_ptr<LTreeDump> mTreeDump;
    std::thread mSkinFont;
};
