#include "kr/app/ApplicationHost.h"

#include "kr/app/ApplicationFolders.h"
#include "kr/app/FrameworkApp.h"
#include "kr/app/StartupOptions.h"
#include "kr/app/Version.h"
#include "kr/core/Exception.h"
#include "kr/notify/ApplicationCenter.h"
#include "kr/notify/Notification.h"
#include "kr/notify/NotificationCenterManager.h"
#include "kr/notify/NotificationQueue.h"
#include "kr/render/Bitmap.h"
#include "kr/system/DebugLog.h"
#include "kr/system/Paths.h"
#include "kr/thread/Thread.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/OSWindow.h"
#include "kr/ui/RootWindow.h"
#include "kr/ui/SkinDocumentsReadAhead.h"
#include "kr/ui/SplashScreen.h"
#include "kr/ui/StringTable.h"
#include "platform/graphics/Font.h"
#include "platform/system/Locale.h"
#include "platform/window/MessageBox.h"
#include "platform/window/MessageLoop.h"
#include "platform/window/ModalBoxes.h"
#include "platform/window/Window.h"

#include <chrono>
#include <csignal>
#include <exception>
#include <thread>
#include <utility>

namespace KR
{
namespace
{

IApplicationHost* gHost = nullptr;

constexpr char16_t kStartupErrorText[] =
    u"The application encountered problems during startup and will now close.";
constexpr char16_t kStartupErrorCaption[] = u"Error";
constexpr char kHostSource[] = "krframework\\include\\../Application/ApplicationBaseWin";

constexpr std::int32_t kLineLoadFailed = 161;
constexpr std::int32_t kLineMainWindow = 349;
constexpr std::int32_t kLineRootControl = 350;
constexpr std::int32_t kLineStartup = 368;

// How long a second start waits for the running instance's listener, and how often it looks.
constexpr std::chrono::seconds kWaitForListener{5};
constexpr std::chrono::milliseconds kListenerPoll{20};

LRootWindow* RootWindowAt(const IFrameworkApp& app, std::uint32_t index)
{
    return dynamic_cast<LRootWindow*>(app.GetRootWindow(index).Get());
}

std::uintptr_t SystemWindowOf(const LRootWindow* root)
{
    return root != nullptr ? root->GetSystemWindowHandle() : 0;
}

std::string Utf8(const String& text)
{
    return std::string(text.ToUtf8().GetPtr());
}

} // namespace

IApplicationHost* IApplicationHost::Get()
{
    return gHost;
}

void IApplicationHost::Install(IApplicationHost* host)
{
    gHost = host;
}

std::int32_t RunHostMessageLoop(IApplicationHost& host)
{
    Platform::MessageLoop loop([&host](int pass) { return host.OnIdle(pass); },
                               Platform::MessageLoop::kWhileIdleAsks);
    loop.Run();
    return host.ExitInstance();
}

std::int32_t ShowApplicationMessageBox(const IFrameworkApp* app, const String& text, const String& caption,
                                       std::uint32_t style)
{
    GetDebugLog().Narrow() << "MessageBox: " << Utf8(caption) << " | " << Utf8(text) << " | " << style
                           << '\n';
    std::uintptr_t owner = 0;
    if (app != nullptr && app->GetRootWindowCount() > 0)
    {
        const auto* active = dynamic_cast<const LRootWindow*>(app->GetActiveRootWindow().Get());
        owner = SystemWindowOf(active != nullptr ? active : RootWindowAt(*app, 0));
    }
    return Platform::MessageBox(owner, Utf8(text), Utf8(caption), style);
}

bool LApplicationHost::IsQuietStartupResult(Result result)
{
    const auto code = static_cast<std::uint32_t>(result);
    return (code >= 0x8000A000u && code <= 0x8000A003u) || code == 0x8000A010u || code == 0x8000A020u;
}

LApplicationHost::LApplicationHost()
{
    if (const RCPtr<LNotificationCenter> center = GetApplicationNotificationCenter())
    {
        mPostingReceiver = center->GetPostingReceiver();
    }
    Install(this);
}

LApplicationHost::~LApplicationHost()
{
    if (Get() == this)
    {
        Install(nullptr);
    }
    mListener.Stop();
    mPostingReceiver = nullptr;
    LNotificationCenterManager::ReleaseInstance();
    LNotification::SetPoolingEnabled(false);
}

std::int32_t LApplicationHost::WinMain(int argc, const char* const* argv, std::int32_t languageId)
{
    std::int32_t code = -1;
    mCommandLineUtf8 = JoinCommandLine(argc, argv);
    mCommandLine = Utf8ToStringReplacing(mCommandLineUtf8);
    const std::uint32_t language =
        languageId == -1 ? Platform::GetUserLanguageId() : static_cast<std::uint32_t>(languageId);
    // Neither the documents nor the font configuration need the display: both are read
    // while the window system starts. The documents first: the start waits for them once
    // the window system is up, and for the fonts only much later.
    mReadAhead = std::make_unique<SkinDocumentsReadAhead>(GetProductName(), GetResourceFolder(),
                                                          static_cast<std::int32_t>(language));
    mFontWarmUp = std::make_unique<Thread>(
        []
        {
            Platform::PrepareFontMatching();
            return 0u;
        });
    if (mFontWarmUp->IsCreated())
    {
        mFontWarmUp->Resume();
    }
    if (Platform::InitializeWindowSystem())
    {
        Platform::AllowModalBoxes();
        WatchEndSignals();
        mLanguageId = language;
        if (InitApplication())
        {
            if (!InitInstance())
            {
                code = ExitInstance();
            }
            else
            {
                try
                {
                    code = Run();
                }
                catch (const std::exception& error)
                {
                    // A start that cannot go on ends here, with the reason in the log.
                    GetDebugLog().Narrow() << error.what() << '\n';
                    HideSplashScreen();
                    ShowStartupError();
                    TearDown();
                    code = -1;
                }
            }
        }
    }
    mReadAhead.reset();
    mFontWarmUp.reset();
    RCPtr<LControlFactory> factory = std::move(mFactory);
    factory = nullptr;
    RCPtr<LStringTable> strings = std::move(mFrameworkStrings);
    strings = nullptr;
    return code;
}

bool LApplicationHost::InitApplication()
{
    try
    {
        mHosted = false;
        ShowSplashScreen();
        mFactory = CreateControlFactory(GetProductName());
        mFactory->SetReadAhead(std::move(mReadAhead));
        const Result loaded =
            mFactory->LoadStringTablesAndSkins(GetResourceFolder(), static_cast<std::int32_t>(mLanguageId));
        if (Failed(loaded))
        {
            ThrowFailed(loaded, "InitApplication", kLineLoadFailed);
        }
        if (mSplash)
        {
            mSplash->PaintPending();
        }
        mFrameworkStrings = mFactory->GetFrameworkStringTable();
        mTitle = GetApplicationTitle();
        return CheckSingleInstance();
    }
    catch (const std::exception& error)
    {
        GetDebugLog().Narrow() << error.what() << '\n';
    }
    catch (...)
    {
        GetDebugLog().Narrow() << "An unknown failure during start-up\n";
    }
    HideSplashScreen();
    ShowStartupError();
    return false;
}

bool LApplicationHost::InitInstance()
{
    ApplyStartupOptions(ParseStartupOptions(mCommandLineUtf8), GetDebugLog());
    if (!InitializeOle())
    {
        ShowStartupError();
        return false;
    }
    // The company name only names the profile; its values live in the user's settings.
    return true;
}

std::int32_t LApplicationHost::Run()
{
    const RCPtr<LFrameworkApp> app = CreateApplication(mFactory, mFrameworkStrings, mCommandLine);
    mApplication = app;
    app->PreStartup(mCommandLine);
    const Result started = app->RunApplicationStartup();
    if (Failed(started) && IsQuietStartupResult(started))
    {
        HideSplashScreen();
        mRunning = true;
        if (mEndRequested)
        {
            RequestExit();
        }
        RunHostMessageLoop(*this);
        mRunning = false;
    }
    else
    {
        if (Failed(started))
        {
            ThrowFailed(started, "Run", kLineStartup);
        }
        app->PostStartup(mCommandLine);
        OnBeforeMainWindow();
        if (const Result created = CreateMainWindow(); Failed(created))
        {
            ThrowFailed(created, "Run", kLineMainWindow);
        }
        LRootWindow* root = RootWindowAt(*app, 0);
        const Result set = root != nullptr ? root->SetRootControlByName(GetMainControlName()) : kFail;
        if (Failed(set))
        {
            ThrowFailed(set, "Run", kLineRootControl);
        }
        ShowMainWindow();
        HideSplashScreen();
        StartListening();
        mRunning = true;
        for (const std::string& pending : std::exchange(mPendingCommandLines, {}))
        {
            ReceiveCommandLine(pending);
        }
        if (mEndRequested)
        {
            RequestExit();
        }
        app->Run();
        mRunning = false;
    }
    TearDown();
    return 1;
}

void LApplicationHost::TearDown()
{
    mListener.Stop();
    if (mApplication)
    {
        mApplication->Shutdown();
    }
    RCPtr<LFrameworkApp> app = std::move(mApplication);
    app = nullptr;
    if (mSplash)
    {
        mSplash->Stop();
        mSplash.reset();
    }
}

bool LApplicationHost::OnIdle(std::int32_t count)
{
    return ApplyIdleRule(mApplication.Get(), count);
}

bool LApplicationHost::ApplyIdleRule(LFrameworkApp* app, std::int32_t count)
{
    if (app == nullptr || app->IsExiting())
    {
        return false;
    }
    if (!app->OnIdle(count == 0))
    {
        return false;
    }
    return count < 2;
}

String LApplicationHost::GetSplashImagePath()
{
    const String folder = GetResourceFolder();
    if (folder == u"::")
    {
        return String();
    }
    String path = folder;
    path += u"/Splash.png";
    return FileExists(path) ? path : String();
}

void LApplicationHost::ShowSplashScreen()
{
    const String path = GetSplashImagePath();
    if (path.IsEmpty() || mSplash)
    {
        return;
    }
    const ConstRCPtr<LBitmap> bitmap = LBitmap::GetBitmap(path);
    mSplash = std::make_unique<LSplashScreen>();
    mSplash->SetImage(bitmap);
    mSplash->Start();
    mSplash->SetProgressRange(0, 100, 8);
    mSplash->PaintPending();
}

void LApplicationHost::HideSplashScreen()
{
    if (!mSplash)
    {
        return;
    }
    mSplash->SetProgressPos(100);
    mSplash->Stop();
    mSplash.reset();
}

void LApplicationHost::ShowStartupError()
{
    String text(kStartupErrorText);
    String caption(kStartupErrorCaption);
    if (mFrameworkStrings)
    {
        String found;
        if (mFrameworkStrings->GetString(u"STARTUP_ERROR", found))
        {
            text = found;
        }
        if (mFrameworkStrings->GetString(u"STARTUP_ERROR_CAPTION", found))
        {
            caption = found;
        }
    }
    ShowStartupMessageBox(text, caption);
}

std::int32_t LApplicationHost::ShowStartupMessageBox(const String& text, const String& caption)
{
    return ShowApplicationMessageBox(nullptr, text, caption, kErrorIconStyle);
}

String LApplicationHost::GetProductName()
{
    return Version().GetProductName();
}

String LApplicationHost::GetCompanyName()
{
    return Version().GetCompanyName();
}

String LApplicationHost::GetResourceFolder()
{
    return GetApplicationFolder(kResourceFolder, String(), String());
}

Platform::WindowHandle LApplicationHost::GetMainWindowHandle() const
{
    return mApplication ? SystemWindowOf(RootWindowAt(*mApplication, 0)) : 0;
}

bool LApplicationHost::CheckSingleInstance()
{
    String stem = mTitle;
    stem += u"Prevent";
    mInstancePaths = Platform::GetInstancePaths(Utf8(MakeValidFileName(stem)));
    if (!mInstancePaths.problem.empty())
    {
        GetDebugLog().Narrow() << "Single instance: " << mInstancePaths.problem << '\n';
    }
    if (mInstancePaths.lockPath.empty())
    {
        return true;
    }
    mFirstInstance = mInstanceLock.Acquire(mInstancePaths.lockPath);
    if (!mFirstInstance && mInstancePaths.handOff)
    {
        // A start a moment before this one (a double click) may hold the lock and not listen
        // yet: wait for its listener, bounded. Only a lock whose holder has gone lets this
        // start go on; a holder that never listens ends it.
        const auto deadline = std::chrono::steady_clock::now() + kWaitForListener;
        for (;;)
        {
            if (Platform::SendCommandLine(mInstancePaths.socketPath, mCommandLineUtf8) !=
                Platform::HandOffResult::kNoListener)
            {
                return false;
            }
            mFirstInstance = mInstanceLock.Acquire(mInstancePaths.lockPath);
            if (mFirstInstance)
            {
                break;
            }
            if (std::chrono::steady_clock::now() >= deadline)
            {
                GetDebugLog().Narrow() << "Single instance: the running instance holds its lock but does not "
                                          "listen; not starting a second editor\n";
                return false;
            }
            std::this_thread::sleep_for(kListenerPoll);
        }
    }
    if (mFirstInstance)
    {
        // Listening from here on, before the windows exist: a second start need not wait
        // for them, and what it hands over is kept until the main window can take it.
        StartListening();
    }
    return true;
}

void LApplicationHost::StartListening()
{
    if (!mInstanceLock.IsHeld() || !mInstancePaths.handOff || mListener.IsListening())
    {
        return;
    }
    std::string problem;
    if (!mListener.Start(
            mInstancePaths.socketPath, [this](const std::string& text) { ReceiveCommandLine(text); },
            problem))
    {
        GetDebugLog().Narrow() << "Single instance: " << problem << '\n';
    }
}

void LApplicationHost::WatchEndSignals()
{
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
    {
        mEndSignals.push_back(
            std::make_unique<Platform::SignalWatch>(signal, [this, signal] { OnEndSignal(signal); }));
    }
}

void LApplicationHost::OnEndSignal(int signal)
{
    GetDebugLog().Narrow() << "Signal " << signal << ": ending as the close request does\n";
    mEndRequested = true;
    // Nobody may be there to answer: an open box or chooser is closed as if cancelled, and
    // what runs after it shows none, so that control comes back to the loops that end the
    // program.
    Platform::CancelModalBoxes();
    if (mRunning)
    {
        RequestExit();
    }
}

void LApplicationHost::RequestExit()
{
    // Sent, not posted: a dialog opened by a queued notification (a hot key's command) runs
    // its loop inside the drain of that queue, which no loop drains again until the dialog
    // has ended, so a posted request would wait for the user. This runs on the UI thread,
    // from its loop, as a message does.
    if (const RCPtr<LNotificationCenter> center = GetApplicationNotificationCenter())
    {
        center->SendNotificationByName(u"NID_APP_EXIT_REQ");
    }
    Platform::RearmIdle();
}

void LApplicationHost::ReceiveCommandLine(const std::string& utf8)
{
    const String text = Utf8ToStringReplacing(utf8);
    const Platform::WindowHandle main = GetMainWindowHandle();
    if (main == 0 || !mRunning)
    {
        mPendingCommandLines.push_back(utf8);
        return;
    }
    GetDebugLog().Narrow() << "Command line received: " << Utf8(text) << '\n';
    Platform::PresentWindow(main);
    const std::uint32_t count = mApplication->GetRootWindowCount();
    if (const Platform::WindowHandle last = SystemWindowOf(RootWindowAt(*mApplication, count - 1));
        last != 0 && last != main)
    {
        Platform::PresentWindow(last);
    }
    Platform::CopyData data;
    data.dwData = OSWindow::kCopyDataCommandLine;
    data.cbData = (text.GetLength() + 1) * sizeof(char16_t);
    data.lpData = text.GetPtr();
    Platform::SendMessage(main, Platform::WM_COPYDATA, OSWindow::kCopyDataCommandLine,
                          reinterpret_cast<std::intptr_t>(&data));
    Platform::RearmIdle();
}

void LApplicationHost::ThrowFailed(Result result, const char* operation, int line) const
{
    std::string site =
        " : " + GetHostName() + "::" + operation + " : " + kHostSource + " : Line " + std::to_string(line);
    ThrowFailedResult(result, site);
}

} // namespace KR
