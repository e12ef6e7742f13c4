#include "editor/app/Application.h"

#include "editor/app/ApplicationControlClasses.h"
#include "editor/app/TreeDump.h"
#include "editor/edit/RootModuleEngineAccess.h"

#include "kr/notify/Notification.h"
#include "kr/system/DebugLog.h"
#include "kr/system/Paths.h"
#include "kr/ui/RootWindow.h"
#include "platform/graphics/Font.h"
#include "platform/midi/MidiApi.h"
#include "platform/window/MessageLoop.h"
#include "platform/window/Messages.h"
#include "platform/window/Window.h"

#include <string>
#include <string_view>

namespace
{

void WriteMidiMessageToLog(std::string_view message)
{
    std::string line(message);
    line += '\n';
    KR::GetDebugLog().Write(line);
}

} // namespace

LApplication::LApplication(const KR::RCPtr<KR::LControlFactory>& factory,
                           const KR::RCPtr<KR::LStringTable>& frameworkStrings, const KR::String& commandLine)
    : LApplicationBase(factory, frameworkStrings, commandLine)
{
}

LApplication::LApplication(const KR::String& applicationName) : LApplicationBase(applicationName)
{
}

LApplication::~LApplication()
{
    if (mSkinFont.joinable())
    {
        mSkinFont.join();
    }
    if (mMidiManager)
    {
        mMidiManager->SetRootModuleEngine(nullptr);
    }
    mMidiManager = nullptr;
    if (::GetRootModuleEngine() == mRootModuleEngine)
    {
        ::SetRootModuleEngine(nullptr);
    }
    mRootModuleEngine = nullptr;
    KR::Platform::SetMidiLogSink(nullptr);
}

const KR::String& LApplication::GetApplicationTitle()
{
    static const KR::String title = []
    {
        const KR::Version version;
        KR::String text = version.GetCompanyName();
        text += u"_";
        text += version.GetProductName();
        return text;
    }();
    return title;
}

KR::Result LApplication::RunApplicationStartup()
{
    GetApplicationTitle();
    if (KR::Failed(LApplicationBase::RunApplicationStartup()))
    {
        return KR::kFail;
    }
    PrepareSkinFont();
    RegisterForNotification(GetNotificationCenter(), u"NID_APP_EXIT_REQ", 0);
    RegisterApplicationControlClasses();
    // What the MIDI ports cannot tell their callers (no ALSA sequencer on this machine,
    // RtMidi's and alsa-lib's errors) goes to the program's log, not the terminal.
    KR::Platform::SetMidiLogSink(&WriteMidiMessageToLog);
    KR::Platform::CheckMidiSystem();
    mMidiManager = CreateMidiManager();
    mRootModuleEngine = CreateRootModuleEngine();
    if (mRootModuleEngine)
    {
        // The editor still edits and saves presets without a keyboard or its library.
        if (const KR::Result result = mRootModuleEngine->Initialize(0); KR::Failed(result))
        {
            KR::GetDebugLog().Narrow() << "The engine did not start: " << KR::ResultToString(result) << '\n';
        }
    }
    if (mMidiManager)
    {
        mMidiManager->SetRootModuleEngine(mRootModuleEngine);
    }
    // The panels reach the model through it.
    ::SetRootModuleEngine(mRootModuleEngine);
    mTreeDump = LTreeDump::FromEnvironment();
    return KR::kOk;
}

void LApplication::PrepareSkinFont()
{
    // The main tree measures its first text in the skin's font once the engine and the main
    // window are made; matching and opening the font beside that work takes it off the way
    // to the first frame. The first measurement finds it, or waits for it to be opened.
    const KR::RCPtr<KR::LControlFactory> factory = GetControlFactory();
    KR::String face;
    float size = 0.0f;
    std::int32_t style = 0;
    if (!factory || KR::Failed(factory->GetCurrentSkinFont(face, size, style)) || face.IsEmpty() ||
        mSkinFont.joinable())
    {
        return;
    }
    mSkinFont = std::thread(
        [face = std::u16string(face.GetView()), style]
        {
            try
            {
                KR::Platform::ResolveFont(face, style);
                KR::Platform::ResolveFont(face, style | KR::Platform::kFontBold);
            }
            catch (...)
            {
                // Out of memory here leaves the fonts to be resolved where they are used.
            }
        });
}

bool LApplication::OnIdle(bool sendIdle)
{
    const bool more = LApplicationBase::OnIdle(sendIdle);
    if (mTreeDump)
    {
        // Every window's tree, the main window's first: a dialog's idle passes come through
        // here too, so a test can find the controls of the dialog it opened.
        std::vector<KR::RCPtr<KR::LControl>> roots;
        for (std::uint32_t i = 0; i < GetRootWindowCount(); ++i)
        {
            if (const auto* window = dynamic_cast<const KR::LRootWindow*>(GetRootWindow(i).Get()))
            {
                if (window->GetRootControl())
                {
                    roots.push_back(window->GetRootControl());
                }
            }
        }
        mTreeDump->WriteIfAsked(roots);
    }
    return more;
}

KR::Result LApplication::Receive(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                 const KR::RCPtr<KR::LNotification>& notification)
{
    KR::String name;
    if (notification)
    {
        const KR::MutexLocker lock(KR::GetNotificationLock());
        name = KR::GetNotificationName(notification->GetID());
    }
    if (name != u"NID_APP_EXIT_REQ")
    {
        return LFrameworkApp::Receive(sender, notification);
    }
    if (!CanExit())
    {
        return KR::kOk;
    }
    LFrameworkApp::Receive(sender, notification);
    if (const auto* main = dynamic_cast<const KR::LRootWindow*>(GetMainWindow().Get()))
    {
        PostCloseMessage(main->GetSystemWindowHandle());
    }
    PostQuitMessage(0);
    return KR::kOk;
}

KR::String LApplication::GetSplashImagePath()
{
    KR::String path = GetFolder(KR::kResourceFolder);
    path += u"/Splash.png";
    return KR::FileExists(path) ? path : KR::String();
}

KR::RCPtr<KR::LMidiManager> LApplication::CreateMidiManager()
{
    return KR::LMidiManager::Create();
}

KR::RCPtr<LRootModuleEngine> LApplication::CreateRootModuleEngine()
{
    return LRootModuleEngine::Create();
}

void LApplication::RegisterApplicationControlClasses()
{
    if (const KR::RCPtr<KR::LControlFactory> factory = GetControlFactory())
    {
        ::RegisterApplicationControlClasses(*factory);
    }
}

void LApplication::PostCloseMessage(std::uintptr_t window)
{
    if (window != 0)
    {
        KR::Platform::PostMessage(window, KR::Platform::WM_CLOSE, 0, 0);
    }
}

void LApplication::PostQuitMessage(int exitCode)
{
    KR::Platform::PostQuitMessage(exitCode);
}
