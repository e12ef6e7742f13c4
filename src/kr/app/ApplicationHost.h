#pragma once
// KR::LApplicationHost: the process's start-up and shut-down around the application object
// (KR::MFCFrameworkApp<T> in MFCFrameworkApp.h is the program's form of it). One lives for
// the whole process; `main` hands it the arguments:
//
//     KR::MFCFrameworkApp<LApplication> theApp;            // before main runs
//     int main(int argc, char** argv) { return theApp.WinMain(argc, argv, -1); }
//
// WinMain: the window system, the language, InitApplication (splash, control factory with
// string tables and skins, title, the single-instance mark and the hand-off to a running
// instance), InitInstance (debug-log options, the profile's key), Run (the application
// object, its start-up, the main window with its root control, the message loop, the
// tear-down), then the factory and framework table let go. Exit codes: -1 without a
// display, after a failed start or a hand-off; 1 after a normal run or a failed
// InitInstance. SIGTERM, SIGINT and SIGHUP end the run as the main window's close request
// does (the application's exit request), so its MIDI clients close and its settings are
// written; one that comes during the start-up ends the program once its loop runs. A
// message box or file chooser open then is closed as if cancelled, and none shows after it.
//
// The message loop of the application base runs through the installed host
// (IApplicationHost::Get) so that the host's idle rule decides the idle passes. UI thread.

#include "kr/core/RCPtr.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"
#include "kr/notify/NotificationReceiver.h"
#include "platform/window/Messages.h"
#include "platform/window/SignalWatch.h"
#include "platform/window/SingleInstance.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace KR
{

class IFrameworkApp;
class LControlFactory;
class LFrameworkApp;
class LSplashScreen;
class SkinDocumentsReadAhead;
class Thread;
class LStringTable;

// The host as the application base's message loop sees it.
class IApplicationHost
{
public:
    virtual ~IApplicationHost() = default;
    // The idle rule: count is 0 for the first pass after a message; true asks for another.
    virtual bool OnIdle(std::int32_t count) = 0;
    virtual std::int32_t ExitInstance() = 0;

    // The host of this process, null when none lives (tests that run an application alone).
    static IApplicationHost* Get();

protected:
    static void Install(IApplicationHost* host);
};

// The main message loop: idle passes while the host's OnIdle asks for them (counts 0, 1,
// 2...), restarted by every message; it ends at the quit and then calls ExitInstance.
std::int32_t RunHostMessageLoop(IApplicationHost& host);

// The application's message box: "MessageBox: <caption> | <text> | <style>" in the debug
// log, then the box itself. Owner: none while there is no main window, else the active root
// window, else the first. Its answer (1).
std::int32_t ShowApplicationMessageBox(const IFrameworkApp* app, const String& text, const String& caption,
                                       std::uint32_t style);

class LApplicationHost : public IApplicationHost
{
public:
    // The quiet results of the application's start-up: the loop runs without a main
    // window until the program is asked to quit.
    static bool IsQuietStartupResult(Result result);
    static constexpr std::uint32_t kErrorIconStyle = 0x10;
    // The idle rule over an application (null: none): its idle step runs only while it
    // exists and is not exiting, with the first pass for count 0; another pass is asked
    // for only while work remains and count is below 2.
    static bool ApplyIdleRule(LFrameworkApp* app, std::int32_t count);

    // Keeps the application center's posting receiver; installs this host.
    LApplicationHost();
    // Lets go of the notification centers, then of pooled notifications.
    ~LApplicationHost() override;
    LApplicationHost(const LApplicationHost&) = delete;
    LApplicationHost& operator=(const LApplicationHost&) = delete;

    // The program: its exit code. languageId -1 is the user's.
    std::int32_t WinMain(int argc, const char* const* argv, std::int32_t languageId);

    virtual bool InitApplication();
    virtual bool InitInstance();
    // Throws the failed-result exceptions of a start that cannot go on.
    virtual std::int32_t Run();
    bool OnIdle(std::int32_t count) override;
    std::int32_t ExitInstance() override { return 1; }

    // "Splash.png" of the resource folder, empty when there is none.
    virtual String GetSplashImagePath();
    void ShowSplashScreen();
    void HideSplashScreen();

    const RCPtr<LControlFactory>& GetControlFactory() const { return mFactory; }
    const RCPtr<LStringTable>& GetFrameworkStringTable() const { return mFrameworkStrings; }
    const RCPtr<LFrameworkApp>& GetApplication() const { return mApplication; }
    LSplashScreen* GetSplashScreen() const { return mSplash.get(); }
    bool IsFirstInstance() const { return mFirstInstance; }
    std::uint32_t GetLanguageId() const { return mLanguageId; }
    const String& GetCommandLine() const { return mCommandLine; }
    const String& GetTitle() const { return mTitle; }

    // The start-up box, with the framework table's texts once it is loaded.
    void ShowStartupError();

protected:
    // --- What the program's own application class supplies (MFCFrameworkApp<T>) ----------
    virtual RCPtr<LControlFactory> CreateControlFactory(const String& productName) = 0;
    virtual RCPtr<LFrameworkApp> CreateApplication(const RCPtr<LControlFactory>& factory,
                                                   const RCPtr<LStringTable>& frameworkStrings,
                                                   const String& commandLine) = 0;
    virtual String GetApplicationTitle() = 0;
    virtual Result CreateMainWindow() = 0;
    virtual String GetMainControlName() = 0;
    virtual void ShowMainWindow() = 0;
    // "KR::MFCFrameworkApp<class LApplication>", as failure texts name the host.
    virtual std::string GetHostName() const = 0;
    // After the application's start-up, before its main window is made.
    virtual void OnBeforeMainWindow() {}

    // --- Seams ------------------------------------------------------------------------
    virtual String GetProductName();
    virtual String GetCompanyName();
    // "::", or the folder KR_RESOURCE_FOLDER names.
    virtual String GetResourceFolder();
    // Nothing to set up on this desktop; tests make it fail.
    virtual bool InitializeOle() { return true; }
    virtual std::int32_t ShowStartupMessageBox(const String& text, const String& caption);

    // The main window as the window layer knows it; 0 without one.
    Platform::WindowHandle GetMainWindowHandle() const;
    // The single-instance mark and the hand-off (false: handed to the running instance).
    virtual bool CheckSingleInstance();
    // A command line a second start handed over.
    void ReceiveCommandLine(const std::string& utf8);

private:
    [[noreturn]] void ThrowFailed(Result result, const char* operation, int line) const;
    void StartListening();
    void TearDown();
    // SIGTERM, SIGINT and SIGHUP: the exit request, once there is an application to take it.
    void WatchEndSignals();
    void OnEndSignal(int signal);
    void RequestExit();

    RCPtr<LNotificationReceiver> mPostingReceiver;
    bool mHosted = true;
    RCPtr<LControlFactory> mFactory;
    // The start's documents, read while the window system starts, until the factory takes them.
    std::unique_ptr<SkinDocumentsReadAhead> mReadAhead;
    std::unique_ptr<Thread> mFontWarmUp;
    RCPtr<LStringTable> mFrameworkStrings;
    std::unique_ptr<LSplashScreen> mSplash;
    bool mFirstInstance = true;
    std::uint32_t mLanguageId = 0;
    String mCommandLine;
    std::string mCommandLineUtf8;
    String mTitle;
    RCPtr<LFrameworkApp> mApplication;
    Platform::InstancePaths mInstancePaths;
    Platform::InstanceLock mInstanceLock;
    Platform::CommandLineListener mListener;
    std::vector<std::unique_ptr<Platform::SignalWatch>> mEndSignals;
    // Command lines handed over before the main window could take them.
    std::vector<std::string> mPendingCommandLines;
    bool mEndRequested = false;
    bool mRunning = false; // the application's main loop runs
};

} // namespace KR
