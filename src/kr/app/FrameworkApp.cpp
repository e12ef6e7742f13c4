#include "kr/app/FrameworkApp.h"

#include "kr/core/Exception.h"
#include "kr/notify/ApplicationCenter.h"
#include "kr/notify/NotificationCenterManager.h"
#include "kr/render/Font.h"
#include "kr/render/FrameworkTexts.h"
#include "kr/render/RendererFactory.h"
#include "kr/render/gdi/StandardRenderers.h"
#include "kr/ui/Clipboard.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/GlobalHotKeyManager.h"
#include "kr/ui/NotificationParams.h"
#include "kr/ui/OSWindow.h"
#include "kr/ui/RootWindow.h"
#include "kr/ui/RootWindowServices.h"
#include "kr/ui/StringTable.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <atomic>

namespace KR
{
namespace
{

constexpr char kSecondAppText[] =
    "Logic Error : A framework application exists already : "
    "KR::LFrameworkApp::LFrameworkApp : krframework\\app\\FrameworkApp : Line 31";

std::atomic<bool> gAppExists{false};

} // namespace

LFrameworkApp::LFrameworkApp(const String& applicationName)
    : mApplicationName(applicationName), mStart(std::chrono::steady_clock::now())
{
    if (gAppExists.exchange(true))
    {
        Throw<std::logic_error>(kSecondAppText);
    }
    try
    {
        const RCPtr<LNotificationCenter> center = GetNotificationCenter();
        mHotKeys = LGlobalHotKeyManager::Create(center ? center->GetPostingReceiver() : nullptr);
        mFactory = RCPtr<LControlFactory>(new LControlFactory(applicationName));
        mClipboard = LClipboard::Create();
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
            const RCPtr<LStringTable> table = mFactory ? mFactory->GetFrameworkStringTable() : nullptr;
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
}

LFrameworkApp::~LFrameworkApp()
{
    // The factory's clock reads this object.
    SetRendererFactory({});
    SetFrameworkTextSource({});
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
    if (std::find(mRootWindows.begin(), mRootWindows.end(), window) != mRootWindows.end())
    {
        return kNothingDone;
    }
    mRootWindows.push_back(window);
    return kOk;
}

Result LFrameworkApp::RemoveRootWindow(const RCPtr<IRootWindowServices>& window)
{
    const auto found = std::find(mRootWindows.begin(), mRootWindows.end(), window);
    if (!window || found == mRootWindows.end())
    {
        return kNothingDone;
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
    // The listed window whose system window the keyboard goes to.
    const Platform::WindowHandle active = Platform::GetActiveWindow();
    for (const auto& listed : mRootWindows)
    {
        const auto* root = dynamic_cast<const LRootWindow*>(listed.Get());
        if (active != 0 && root && root->GetOSServices() &&
            root->GetOSServices()->GetWindowHandle() == active)
        {
            return listed;
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
    if (!modal)
    {
        // The window stays open on its own until it is closed, which lets the control go.
        window->Show(Platform::SW_SHOWNORMAL);
        return kOk;
    }
    return window->RunModalLoop();
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

void LFrameworkApp::RunApplicationStartup()
{
    if (const RCPtr<LStringTable> strings = mFactory ? mFactory->GetApplicationStringTable() : nullptr)
    {
        mHotKeys->GetHotKeyMap().AddFromStringTable(strings, u"GHK");
    }
    mClipboard->Initialize();
}

RCPtr<LClipboard> LFrameworkApp::GetClipboard() const
{
    return mClipboard;
}

Result LFrameworkApp::SetStatusText(const String& text, bool)
{
    if (text == mStatusText)
    {
        return kNothingDone;
    }
    mStatusText = text;
    return kOk;
}

Result LFrameworkApp::ResetStatusText(bool now)
{
    return SetStatusText(String(), now);
}

} // namespace KR
