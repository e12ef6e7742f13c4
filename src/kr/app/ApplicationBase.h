#pragma once
// KR::LApplicationBase<T>: what the framework application asks of the system, answered
// for this desktop: the version block, folders and settings files, the language, the
// system font and time, the INI manager. T is the program's own application class,
// derived from this one; the editor's LApplication adds the MIDI manager and the engine.
//
//     class LApplication : public KR::LApplicationBase<LApplication> { ... };
//     LApplication* app = LApplication::GetApp();   // null when none lives
//
// UI thread only, as the framework application.

#include "kr/app/ApplicationFolders.h"
#include "kr/app/ApplicationHost.h"
#include "kr/app/ApplicationWindows.h"
#include "kr/app/FrameworkApp.h"
#include "kr/app/SystemTime.h"
#include "kr/app/Version.h"
#include "kr/render/Bitmap.h"
#include "kr/system/IniFileManager.h"
#include "kr/ui/Control.h"
#include "kr/ui/ControlFactory.h"
#include "platform/system/Locale.h"

#include <vector>

namespace KR
{

template <typename T>
class LApplicationBase : public LFrameworkApp
{
public:
    // Loads the INI library from the program's own folder; without it the settings are
    // simply not kept (every settings file answers 0). The program's form takes the factory
    // it made and loaded, its framework table and the command line.
    LApplicationBase(const RCPtr<LControlFactory>& factory, const RCPtr<LStringTable>& frameworkStrings,
                     const String& commandLine)
        : LFrameworkApp(factory, frameworkStrings, commandLine), mIniFileManager(CreateIniFileManager())
    {
        mIniFileManager->LoadLibrary(String());
    }
    // Tests' form: a factory of its own, loaded by the test.
    explicit LApplicationBase(const String& applicationName)
        : LFrameworkApp(applicationName), mIniFileManager(CreateIniFileManager())
    {
        mIniFileManager->LoadLibrary(String());
    }
    // The settings files are written here, so a skin chosen during the run is kept.
    ~LApplicationBase() override
    {
        mSettingsFiles.CloseAll(*mIniFileManager, true);
        mIniFileManager->UnloadLibrary();
    }

    static T* GetApp() { return dynamic_cast<T*>(&IFrameworkApp::GetInstance()); }

    // What the program makes before the application: the factory the string tables and
    // skins are loaded into, and the INI manager.
    static RCPtr<LControlFactory> CreateControlFactory(const String& applicationName)
    {
        return RCPtr<LControlFactory>(new LControlFactory(applicationName));
    }
    static RCPtr<LIniFileManager> CreateIniFileManager()
    {
        return RCPtr<LIniFileManager>(new LIniFileManager);
    }

    // The current skin's control of that name for the main window (CreateControlInMainWindow);
    // null for an unknown name or before the main window has a root control.
    virtual RCPtr<LControl> CreateControl(const String& name)
    {
        return CreateControlInMainWindow(*this, name);
    }
    // Company, "_" and product: the main window's class and the profile's section.
    String GetTitleText() const override
    {
        if (mTitle.IsEmpty())
        {
            mTitle = GetCompanyName() + u"_" + GetProductName();
        }
        return mTitle;
    }

    // --- The version block (throws as KR::Version does when the program has none) ---------
    String GetCompanyName() const override { return Version().GetCompanyName(); }
    virtual String GetProductName() const { return Version().GetProductName(); }
    virtual String GetProductVersion() const { return Version().GetProductVersion(); }
    // Passed to the INI manager with every settings file.
    virtual String GetSettingsVersion() const = 0;

    virtual std::uint16_t GetLanguageID() const { return Platform::GetUserLanguageId(); }
    virtual SystemTime GetSystemTime() const { return GetSystemTimeUtc(); }

    // The folder of that id (ApplicationFolders.h); an id past 6 throws.
    virtual String GetFolder(std::uint32_t id)
    {
        return GetApplicationFolder(id, GetCompanyName(), GetProductName());
    }

    IIniFileManager* GetIniFileManager() const override { return mIniFileManager.Get(); }
    // Kind 0 "AppSettings.ini" in folder 2, kind 1 "UserSettings.ini" in folder 3, opened
    // on first use; 0 for any other kind and while the file cannot be opened.
    std::int32_t GetSettingsIniFile(std::int32_t kind) override
    {
        if (kind != LSettingsFiles::kApplicationSettings && kind != LSettingsFiles::kUserSettings)
        {
            return 0;
        }
        const String folder =
            GetFolder(kind == LSettingsFiles::kApplicationSettings ? kSharedDataFolder : kUserSettingsFolder);
        return mSettingsFiles.Get(kind, *mIniFileManager, folder, GetSettingsVersion(), GetProductName());
    }

    // A power event is always granted.
    Result OnPowerBroadcast(std::uintptr_t, std::intptr_t) override { return 1; }

    // --- The program's host (ApplicationHost.h), when one runs the process ----------------

    // The box on the screen, owned by the active root window (else the first, none before
    // the main window); without a host only the debug log sees it.
    std::int32_t ShowMessageBox(const String& text, const String& caption, std::uint32_t style) override
    {
        return IApplicationHost::Get() != nullptr ? ShowApplicationMessageBox(this, text, caption, style)
                                                  : LFrameworkApp::ShowMessageBox(text, caption, style);
    }
    // The host's loop, whose idle rule decides the idle passes, until the quit.
    void RunMessageLoop() override
    {
        if (IApplicationHost* host = IApplicationHost::Get())
        {
            RunHostMessageLoop(*host);
        }
        else
        {
            LFrameworkApp::RunMessageLoop();
        }
    }

private:
    RCPtr<LIniFileManager> mIniFileManager;
    LSettingsFiles mSettingsFiles;
    mutable String mTitle;
};

} // namespace KR
