#include "kr/app/FrameworkApp.h"

#include "kr/controls/ControlClasses.h"
#include "kr/controls/StatusBar.h"
#include "kr/core/Exception.h"
#include "kr/notify/ApplicationCenter.h"
#include "kr/notify/Notification.h"
#include "kr/notify/NotificationCenterManager.h"
#include "kr/render/Font.h"
#include "kr/render/FrameworkTexts.h"
#include "kr/render/RendererFactory.h"
#include "kr/render/gdi/StandardRenderers.h"
#include "kr/system/DebugLog.h"
#include "kr/ui/BusyIndicator.h"
#include "kr/ui/Clipboard.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/GlobalHotKeyManager.h"
#include "kr/ui/NotificationParams.h"
#include "kr/ui/OSWindow.h"
#include "kr/ui/RootWindow.h"
#include "kr/ui/RootWindowServices.h"
#include "kr/ui/StringTable.h"
#include "platform/fonts/FontFiles.h"
#include "platform/window/MessageLoop.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <atomic>
#include <exception>

namespace KR
{
namespace
{

constexpr char kSecondAppText[] =
    "Logic Error : A framework application exists already : "
    "KR::LFrameworkApp::LFrameworkApp : krframework\\app\\FrameworkApp : Line 31";

constexpr char kNoFactoryText[] =
    "Invalid Argument : No control factory : KR::LFrameworkApp::LFrameworkApp : "
    "krframework\\app\\FrameworkApp : Line 31";

constexpr char kNoSkinText[] =
    "Runtime Error : No skin is loaded. : KR::LFrameworkApp::RunApplicationStartup : "
    "Application\\FrameworkApp : Line 137";
constexpr std::string_view kSetSkinSite =
    " : KR::LFrameworkApp::SetSkin : Application\\FrameworkApp : Line 225";
constexpr const char16_t* kLoadingSkinText = u"Loading Skin...";
constexpr const char16_t* kCurrentSkinIndexNode = u"CurrentSkinIndex";
constexpr std::int32_t kUserSettingsKind = 1;
constexpr std::uint32_t kErrorIconStyle = 0x10;

std::atomic<bool> gAppExists{false};

} // namespace

LFrameworkApp::LFrameworkApp(const RCPtr<LControlFactory>& factory,
                             const RCPtr<LStringTable>& frameworkStrings, const String& identification)
    : mIdentification(identification), mFrameworkStrings(frameworkStrings),
      mStart(std::chrono::steady_clock::now()), mFactory(factory)
{
    if (!mFactory)
    {
        Throw<std::invalid_argument>(kNoFactoryText);
    }
    mApplicationName = mFactory->GetApplicationName();
    if (gAppExists.exchange(true))
    {
        Throw<std::logic_error>(kSecondAppText);
    }
    try
    {
        const RCPtr<LNotificationCenter> center = GetNotificationCenter();
        mHotKeys = LGlobalHotKeyManager::Create(center ? center->GetPostingReceiver() : nullptr);
        mClipboard = LClipboard::Create();
        mApplicationStrings = mFactory->GetApplicationStringTable();
    }
    catch (...)
    {
        gAppExists.store(false);
        throw;
    }
    mPrevious = IsInstalled(&GetInstance()) ? &GetInstance() : nullptr;
    SetInstance(this);
    InstallStandardRenderers([this] { return GetMilliseconds(); });
    SetBitmapSource(&mBitmapSource);
    SetFrameworkTextSource(
        [this](std::string_view key)
        {
            const RCPtr<LStringTable> table = GetFrameworkStringTable();
            String id;
            String text;
            id.AssignUtf8(key.data(), static_cast<std::uint32_t>(key.size()));
            if (!table || !table->GetString(id, text))
            {
                return std::string();
            }
            const Utf8String bytes = text.ToUtf8();
            return std::string(bytes.GetView());
        });
    SetFrameworkMessageBox(
        [this](const std::string& text, const std::string& caption, std::uint32_t style)
        {
            String wideText;
            String wideCaption;
            wideText.AssignUtf8(text.data(), static_cast<std::uint32_t>(text.size()));
            wideCaption.AssignUtf8(caption.data(), static_cast<std::uint32_t>(caption.size()));
            ShowMessageBox(wideText, wideCaption, style);
        });
}

LFrameworkApp::LFrameworkApp(const String& applicationName)
    : LFrameworkApp(RCPtr<LControlFactory>(new LControlFactory(applicationName)), nullptr, String())
{
}

LFrameworkApp::~LFrameworkApp()
{
    // The factory's clock reads this object.
    SetRendererFactory({});
    SetFrameworkTextSource({});
    SetFrameworkMessageBox({});
    if (GetBitmapSource() == &mBitmapSource)
    {
        SetBitmapSource(nullptr);
    }
    if (IsInstalled(this))
    {
        SetInstance(mPrevious);
    }
    gAppExists.store(false);
}

RCPtr<LNotificationCenter> LFrameworkApp::GetNotificationCenter()
{
    return GetApplicationNotificationCenter();
}

std::uint32_t LFrameworkApp::GetRootWindowCount() const
{
    return static_cast<std::uint32_t>(mRootWindows.size());
}

RCPtr<IRootWindowServices> LFrameworkApp::GetRootWindow(std::uint32_t index) const
{
    return index < mRootWindows.size() ? mRootWindows[index] : nullptr;
}

RCPtr<LMeasurementRenderer> LFrameworkApp::GetMeasurementRenderer()
{
    return mRootWindows.empty() ? nullptr : RCPtr<LMeasurementRenderer>(mRootWindows.front()->GetRenderer());
}

Result LFrameworkApp::AddRootWindow(const RCPtr<IRootWindowServices>& window)
{
    if (!window)
    {
        return kInvalidArg;
    }
    const auto found = std::find(mRootWindows.begin(), mRootWindows.end(), window);
    if (found == mRootWindows.end())
    {
        mRootWindows.push_back(window);
        return static_cast<Result>(mRootWindows.size() - 1);
    }
    return static_cast<Result>(found - mRootWindows.begin());
}

Result LFrameworkApp::RemoveRootWindow(const RCPtr<IRootWindowServices>& window)
{
    const auto found = std::find(mRootWindows.begin(), mRootWindows.end(), window);
    if (!window || found == mRootWindows.end())
    {
        return -1;
    }
    mRootWindows.erase(found);
    if (mActiveRootWindow == window)
    {
        mActiveRootWindow = nullptr;
    }
    return kOk;
}

RCPtr<IRootWindowServices> LFrameworkApp::GetActiveRootWindow() const
{
    if (mActiveRootWindow)
    {
        return mActiveRootWindow;
    }
    for (auto listed = mRootWindows.rbegin(); listed != mRootWindows.rend(); ++listed)
    {
        const auto* root = dynamic_cast<const LRootWindow*>(listed->Get());
        if (root != nullptr && root->GetOSServices() != nullptr && root->GetOSServices()->IsActiveWindow())
        {
            return *listed;
        }
    }
    return nullptr;
}

void LFrameworkApp::SetActiveRootWindow(const RCPtr<IRootWindowServices>& window)
{
    mActiveRootWindow = window;
}

bool LFrameworkApp::OnIdle(bool sendIdle)
{
    ShowKeptStatusText();
    bool more = LNotificationCenterManager::GetInstance()->ProcessNotifications(sendIdle);
    // A copy: a window's idle step may close a window and take it off the list.
    const std::vector<RCPtr<IRootWindowServices>> windows = mRootWindows;
    for (auto window = windows.rbegin(); window != windows.rend(); ++window)
    {
        more = (*window)->OnIdle(sendIdle) || more;
    }
    return more;
}

std::uint32_t LFrameworkApp::LoadCursorByName(const String& name)
{
    return CursorHandleFromShape(GetCursorShape(name));
}

bool LFrameworkApp::GetKeyState(std::uint32_t virtualKey)
{
    return virtualKey <= 0xFF && Platform::GetKeyState(static_cast<std::uint8_t>(virtualKey));
}

PointI LFrameworkApp::GetCursorPos()
{
    const Platform::WindowPoint point = Platform::GetCursorPos();
    return PointI{point.x, point.y};
}

std::uint32_t LFrameworkApp::GetMouseButtons()
{
    const std::uint32_t buttons = Platform::GetPointerButtons();
    return ((buttons & Platform::MK_LBUTTON) ? MouseButton::kLeft : 0) |
           ((buttons & Platform::MK_MBUTTON) ? MouseButton::kMiddle : 0) |
           ((buttons & Platform::MK_RBUTTON) ? MouseButton::kRight : 0);
}

Result LFrameworkApp::RunModal(const RCPtr<LControl>& control, bool modal)
{
    if (!control)
    {
        return kFail;
    }
    if (modal)
    {
        return GetModalRootWindow(control, true);
    }
    const RectD frame = control->GetFrame();
    const std::int32_t width = std::max(1, RoundToInt32(frame.width));
    const std::int32_t height = std::max(1, RoundToInt32(frame.height));
    const RectI work = GetWorkArea();
    const RectI client{work.x + (work.width - width) / 2, work.y + (work.height - height) / 2, width, height};
    std::uintptr_t owner = 0;
    for (const auto& listed : mRootWindows)
    {
        if (const auto* root = dynamic_cast<const LRootWindow*>(listed.Get()); root && root->GetOSServices())
        {
            owner = root->GetOSServices()->GetWindowHandle();
            break;
        }
    }
    const RCPtr<OSWindow> window = new OSWindow;
    if (Failed(window->Create(control->GetText(), client, owner)) || Failed(window->CreateRenderer(1)))
    {
        window->EndModal(0); // closes what was made
        return kFail;
    }
    window->GetRootWindow()->SetRootControl(control);
    // The window stays open on its own until it is closed, which lets the control go.
    window->Show(Platform::SW_SHOWNORMAL);
    return kOk;
}

RectI LFrameworkApp::GetWorkArea()
{
    const Platform::WindowRect area = Platform::GetWorkArea();
    return RectI{area.x, area.y, area.width, area.height};
}

double LFrameworkApp::GetSecondsSinceStart() const
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - mStart).count();
}

std::uint32_t LFrameworkApp::GetMilliseconds() const
{
    // The system's millisecond tick: a count that wraps, read only for differences.
    const auto sinceBoot = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceBoot).count());
}

RCPtr<LGlobalHotKeyManager> LFrameworkApp::GetGlobalHotKeyManager() const
{
    return mHotKeys;
}

RCPtr<LControlFactory> LFrameworkApp::GetControlFactory() const
{
    return mFactory;
}

RCPtr<LClipboard> LFrameworkApp::GetClipboard() const
{
    return mClipboard;
}

namespace
{

RCPtr<LStatusBar> FindStatusBar(const RCPtr<LControl>& control)
{
    if (!control)
    {
        return nullptr;
    }
    if (auto* bar = dynamic_cast<LStatusBar*>(control.Get()))
    {
        return RCPtr<LStatusBar>(bar);
    }
    const LControl::ChildControlList& children = control->GetChildren();
    for (std::uint32_t index = 0; index < children.GetCount(); ++index)
    {
        if (RCPtr<LStatusBar> found = FindStatusBar(children.GetAt(index, kInsertionOrder)))
        {
            return found;
        }
    }
    return nullptr;
}

} // namespace

RCPtr<LStringTable> LFrameworkApp::GetFrameworkStringTable() const
{
    if (mFrameworkStrings)
    {
        return mFrameworkStrings;
    }
    return mFactory ? mFactory->GetFrameworkStringTable() : nullptr;
}

RCPtr<LStringTable> LFrameworkApp::GetApplicationStringTable() const
{
    if (mApplicationStrings)
    {
        return mApplicationStrings;
    }
    return mFactory ? mFactory->GetApplicationStringTable() : nullptr;
}

RCPtr<LStatusBar> LFrameworkApp::GetStatusBar() const
{
    const auto* main =
        mRootWindows.empty() ? nullptr : dynamic_cast<const LRootWindow*>(mRootWindows.front().Get());
    return main ? FindStatusBar(main->GetRootControl()) : nullptr;
}

Result LFrameworkApp::SetStatusText(const String& text, bool now)
{
    if (std::this_thread::get_id() != mUIThread)
    {
        KeepStatusText(std::u16string(text.GetView()));
        return kOk;
    }
    const RCPtr<LStatusBar> bar = GetStatusBar();
    if (!bar)
    {
        return kFail;
    }
    return now ? bar->SetTextNow(text) : bar->PostText(text);
}

Result LFrameworkApp::ResetStatusText(bool now)
{
    if (std::this_thread::get_id() != mUIThread)
    {
        KeepStatusText(std::nullopt);
        return kOk;
    }
    const RCPtr<LStatusBar> bar = GetStatusBar();
    if (!bar)
    {
        return kFail;
    }
    const String text = bar->GetDefaultText();
    return now ? bar->SetTextNow(text) : bar->PostText(text);
}

void LFrameworkApp::KeepStatusText(std::optional<std::u16string> text)
{
    const MutexLocker lock(mKeptStatusLock);
    mKeptStatusText = std::move(text);
}

void LFrameworkApp::ShowKeptStatusText()
{
    std::optional<std::optional<std::u16string>> kept;
    {
        const MutexLocker lock(mKeptStatusLock);
        kept.swap(mKeptStatusText);
    }
    if (!kept)
    {
        return;
    }
    if (*kept)
    {
        SetStatusText(String(std::u16string_view(**kept)), false);
    }
    else
    {
        ResetStatusText(false);
    }
}

Result LFrameworkApp::Receive(const RCPtr<LNotificationDistributor>&,
                              const RCPtr<LNotification>& notification)
{
    if (!notification)
    {
        return kOk;
    }
    String name;
    {
        const MutexLocker lock(GetNotificationLock());
        name = GetNotificationName(notification->GetID());
    }
    if (name != u"NID_APP_EXIT_REQ")
    {
        return kOk;
    }
    mExiting = true;
    // The main window stays: the application closes it once the dialogs are down.
    for (std::size_t index = mRootWindows.size(); index-- > 1;)
    {
        if (auto* root = dynamic_cast<LRootWindow*>(mRootWindows[index].Get()))
        {
            root->EndModal(0);
        }
    }
    return kOk;
}

Result LFrameworkApp::PreStartup(const String&)
{
    return kOk;
}

Result LFrameworkApp::PostStartup(const String&)
{
    return kOk;
}

Result LFrameworkApp::RunApplicationStartup()
{
    try
    {
        LNotification::SetPoolingEnabled(true);
        RegisterControlClasses();
        if (const RCPtr<LStringTable> strings = GetApplicationStringTable())
        {
            mHotKeys->GetHotKeyMap().AddFromStringTable(strings, u"GHK");
        }
        mClipboard->Initialize();
        ChooseSkin();
    }
    catch (const std::exception& error)
    {
        GetDebugLog().Narrow() << error.what() << '\n';
        return kFail;
    }
    return kOk;
}

void LFrameworkApp::RegisterControlClasses()
{
    RegisterFrameworkControlClasses(*mFactory);
}

void LFrameworkApp::ChooseSkin()
{
    const std::int32_t count =
        mFactory ? static_cast<std::int32_t>(mFactory->GetReader().GetSkinRoots().GetCount()) : 0;
    // With no skin there is nothing to show; the factory takes no index outside its list.
    if (count == 0)
    {
        Throw<std::runtime_error>(kNoSkinText);
    }
    // A hand-edited index below 0 means the first skin, as one past the end means the last.
    SetSkin(std::clamp(GetCurrentSkinIndex(), 0, count - 1));
}

std::int32_t LFrameworkApp::GetCurrentSkinIndex()
{
    std::int32_t index = 0;
    IIniFileManager* ini = GetIniFileManager();
    if (const std::int32_t settings = GetSettingsIniFile(kUserSettingsKind); settings != 0 && ini != nullptr)
    {
        ini->GetIniValueInt(settings, kCurrentSkinIndexNode, 0, index);
    }
    return index;
}

void LFrameworkApp::SetSkin(std::int32_t index)
{
    String face;
    float size = 0.0f;
    std::int32_t style = 0;
    ThrowIfFailed(GetSystemFont(face, size, style), kSetSkinSite);
    const std::int32_t count =
        mFactory ? static_cast<std::int32_t>(mFactory->GetReader().GetSkinRoots().GetCount()) : 0;
    if (index < 0 || index >= count)
    {
        ThrowFailedResult(kInvalidArg, kSetSkinSite);
    }
    mFactory->SetCurrentSkinIndex(index);
    mFactory->GetCurrentSkinFont(face, size, style);
    mDefaultFont = LFont::GetFont(face, size, style);

    const std::vector<RCPtr<IRootWindowServices>> windows = mRootWindows;
    for (const RCPtr<IRootWindowServices>& window : windows)
    {
        auto* root = dynamic_cast<LRootWindow*>(window.Get());
        if (root == nullptr)
        {
            continue;
        }
        const LBusyIndicator busy(kLoadingSkinText);
        // Only the window the keyboard is in has a focus to keep across the change.
        const bool active = root->GetOSServices() != nullptr && root->GetOSServices()->IsActiveWindow();
        if (active)
        {
            root->SaveAndClearFocus();
        }
        if (root->GetRootControl())
        {
            mFactory->ApplySkinToControl(root->GetRootControl());
        }
        if (root->GetOSServices() != nullptr)
        {
            root->GetScreenClientRect();
        }
        const PointI client = root->GetClientSize();
        root->InvalidateRect(RectD{0.0, 0.0, static_cast<double>(client.x), static_cast<double>(client.y)});
        if (active)
        {
            root->RestoreFocus();
        }
    }

    IIniFileManager* ini = GetIniFileManager();
    if (const std::int32_t settings = GetSettingsIniFile(kUserSettingsKind); settings != 0 && ini != nullptr)
    {
        ini->SetIniValueInt(settings, kCurrentSkinIndexNode, index);
    }
}

namespace
{

// What left the message loop (a handler's failure the window layer caught) goes to the log
// before the box tells the user.
void LogLoopException(const std::exception_ptr& error)
{
    try
    {
        std::rethrow_exception(error);
    }
    catch (const std::exception& failure)
    {
        GetDebugLog().Narrow() << "Left the message loop: " << failure.what() << '\n';
    }
    catch (...)
    {
        GetDebugLog().Narrow() << "Left the message loop: an unknown failure\n";
    }
}

} // namespace

Result LFrameworkApp::Run()
{
    if (auto* main = mRootWindows.empty() ? nullptr : dynamic_cast<LRootWindow*>(mRootWindows.front().Get()))
    {
        main->RedrawNow();
    }
    OnBeforeMessageLoop();
    OnIdle(true);
    try
    {
        RunMessageLoop();
    }
    catch (...)
    {
        LogLoopException(std::current_exception());
        const RCPtr<LStringTable> texts = GetFrameworkStringTable();
        String text;
        String caption;
        if (texts)
        {
            texts->GetString(u"STARTUP_ERROR", text);
            texts->GetString(u"STARTUP_ERROR_CAPTION", caption);
        }
        ShowMessageBox(text, caption, kErrorIconStyle);
        if (const RCPtr<LNotificationCenter> center = GetNotificationCenter())
        {
            center->PostNotificationByName(u"NID_APP_EXIT_REQ");
        }
    }
    OnIdle(true);
    return kOk;
}

void LFrameworkApp::RunMessageLoop()
{
    Platform::MessageLoop loop([this](int pass) { return OnIdle(pass == 0); });
    loop.Run();
}

Result LFrameworkApp::Shutdown()
{
    // Each pointer is cleared before its object goes, so nothing it calls on the way out
    // finds it half gone.
    RCPtr<LControlFactory> factory = std::move(mFactory);
    factory = nullptr;
    RCPtr<LGlobalHotKeyManager> hotKeys = std::move(mHotKeys);
    hotKeys = nullptr;
    RCPtr<LClipboard> clipboard = std::move(mClipboard);
    clipboard = nullptr;
    return kOk;
}

std::int32_t LFrameworkApp::ShowMessageBox(const String& text, const String& caption, std::uint32_t style)
{
    GetDebugLog().Narrow() << "MessageBox: " << caption.ToUtf8().GetPtr() << " | " << text.ToUtf8().GetPtr()
                           << " | " << style << '\n';
    return 1;
}

std::int32_t LFrameworkApp::ShowCursor(bool show)
{
    return Platform::ShowCursor(show);
}

Result LFrameworkApp::SetCursorPos(std::int32_t x, std::int32_t y)
{
    return Platform::SetCursorPos(x, y) ? kOk : kFail;
}

std::int32_t LFrameworkApp::GetSettingsIniFile(std::int32_t)
{
    return 0;
}

Result LFrameworkApp::GetSystemFont(String& face, float& size, std::int32_t& style)
{
    const Platform::SystemFontName name = Platform::GetSystemFontName();
    if (name.family.empty())
    {
        face = String();
        size = 0.0f;
        style = 0;
        return kFail;
    }
    face = String(name.family.c_str());
    size = name.size;
    style = static_cast<std::int32_t>(name.style);
    return kOk;
}

} // namespace KR
