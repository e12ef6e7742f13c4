// The framework application's windows: the main window for the skin's main control, the
// root windows of other top-level controls and of modal dialogs, and the main window's
// saved placement.

#include "kr/app/FrameworkApp.h"

#include "kr/app/ApplicationWindows.h"
#include "kr/app/WindowPlacement.h"
#include "kr/app/WindowSizing.h"
#include "kr/core/Exception.h"
#include "kr/system/DebugLog.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/OSWindow.h"
#include "kr/ui/RootWindow.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <cmath>

namespace KR
{
namespace
{

namespace P = Platform;

constexpr char kNoMainControlText[] = "Runtime Error : Null Pointer : Invalid Control Name : "
                                      "KR::LApplicationBase<class LApplication>::CreateMainWindow : "
                                      "krframework\\include\\../Application/ApplicationBaseWin : Line 1234";
constexpr char kNoDescriptorText[] = "Runtime Error : Null Pointer : Control descriptor is null : "
                                     "KR::LApplicationBase<class LApplication>::CreateRootWindow : "
                                     "krframework\\include\\../Application/ApplicationBaseWin : Line 943";
constexpr const char16_t* kPlacementEntry = u"WP";
constexpr std::int32_t kWindowSettingsKind = 1;

std::int32_t Truncated(double value)
{
    if (!(value > -2147483648.0 && value < 2147483648.0))
    {
        return 0;
    }
    return static_cast<std::int32_t>(std::trunc(value));
}

std::vector<P::IconImage> IconImagesOf(const std::vector<ConstRCPtr<LBitmap>>& icons)
{
    std::vector<P::IconImage> images;
    for (const ConstRCPtr<LBitmap>& icon : icons)
    {
        const RCPtr<LBitmapData> data = icon ? icon->LockPixels() : nullptr;
        if (!data)
        {
            continue;
        }
        P::IconImage image;
        image.width = icon->GetWidth();
        image.height = icon->GetHeight();
        image.pixels.reserve(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
        for (std::int32_t y = 0; y < image.height; ++y)
        {
            for (std::int32_t x = 0; x < image.width; ++x)
            {
                const std::uint32_t* pixel =
                    data->GetPixelAddress(icon->GetRect().x + x, icon->GetRect().y + y);
                image.pixels.push_back(pixel ? *pixel : 0u);
            }
        }
        images.push_back(std::move(image));
    }
    return images;
}

OSWindow* SystemWindowOf(const RCPtr<IRootWindowServices>& window)
{
    const auto* root = dynamic_cast<const LRootWindow*>(window.Get());
    return root ? dynamic_cast<OSWindow*>(root->GetOSServices()) : nullptr;
}

} // namespace

Result LFrameworkApp::CreateSystemWindow(OSWindow& window, const String& className, const String& title,
                                         std::uint32_t style, std::uint32_t exStyle, const RectI& rect,
                                         std::uintptr_t parent)
{
    return window.Create(className, title, style, exStyle, rect, parent);
}

void LFrameworkApp::SetWindowIcons(OSWindow& window)
{
    P::SetWindowIcons(window.GetWindowHandle(), IconImagesOf(LoadAppIcon()));
}

std::vector<ConstRCPtr<LBitmap>> LFrameworkApp::LoadAppIcon() const
{
    return LoadApplicationIcons();
}

Result LFrameworkApp::CreateMainWindow(std::int32_t rendererKind)
{
    const RCPtr<OSWindow> window(new OSWindow);
    mMainWindow = window;
    const String company = GetCompanyName();
    const RCPtr<LControlDescriptor> descriptor =
        mFactory ? mFactory->FindControlDescriptor(GetMainControlName()) : nullptr;
    if (!descriptor)
    {
        mMainWindow = nullptr;
        Throw<std::runtime_error>(kNoMainControlText);
    }
    const RCPtr<LLayoutDescriptor> layout =
        descriptor->GetLayout() ? descriptor->GetLayout() : LLayoutDescriptor::Create();
    const RectI rect{Truncated(layout->xPosition.absolute), Truncated(layout->yPosition.absolute),
                     Truncated(layout->xSize.absolute), Truncated(layout->ySize.absolute)};
    if (Failed(CreateSystemWindow(*window, GetTitleText(), company, MainWindowStyle(*layout), 0, rect, 0)))
    {
        window->EndModal(0); // what was made goes
        mMainWindow = nullptr;
        return kFail;
    }
    SetWindowIcons(*window);
    const Result result = window->CreateRenderer(rendererKind);
    RestoreMainWindowPlacement();
    return result;
}

RCPtr<OSWindow> LFrameworkApp::GetMainOSWindow() const
{
    return mMainWindow && mMainWindow->GetWindowHandle() != 0 ? mMainWindow : nullptr;
}

void LFrameworkApp::ShowMainWindow()
{
    if (const RCPtr<OSWindow> window = GetMainOSWindow())
    {
        // Placed once more before the first show: when the window was made its root control
        // was not there to give its size limits, and setting it gave the window the skin's
        // size, which put a fixed window off the screen or lost a sizable one's stored size.
        if (!P::IsWindowVisible(window->GetWindowHandle()))
        {
            RestoreMainWindowPlacement();
        }
        window->Show(P::SW_SHOW);
        P::UpdateWindow(window->GetWindowHandle());
    }
}

void LFrameworkApp::RestoreMainWindowPlacement()
{
    const RCPtr<OSWindow> window = GetMainOSWindow();
    if (!window)
    {
        return;
    }
    const P::WindowHandle handle = window->GetWindowHandle();
    P::WindowRect current;
    P::GetWindowRect(handle, current);
    RectI rect{current.x, current.y, current.width, current.height};
    String stored;
    if (GetProfileString(GetProfileSectionName(), kPlacementEntry, stored) && !stored.IsEmpty())
    {
        if (const std::optional<RectI> placed = ParseWindowPlacement(stored))
        {
            rect = *placed;
        }
        else
        {
            GetDebugLog().Narrow() << "The main window's stored placement is not in its form; ignored.\n";
        }
    }
    if (P::IsIconic(handle))
    {
        window->Show(P::SW_RESTORE);
    }
    const P::WindowRect monitor = P::GetMonitorRect(handle);
    const RectI desktop{monitor.x, monitor.y, monitor.width, monitor.height};
    if (desktop.width > 0 && desktop.height > 0)
    {
        rect.width = std::min(rect.width, desktop.width);
        rect.height = std::min(rect.height, desktop.height);
    }
    window->ConstrainSizingRect(rect);
    if (desktop.width > 0 && desktop.height > 0)
    {
        rect.x = std::max(rect.x, desktop.x);
        rect.y = std::max(rect.y, desktop.y);
        if (rect.x + rect.width > desktop.x + desktop.width)
        {
            rect.x = std::max(desktop.x, desktop.x + desktop.width - rect.width);
        }
        if (rect.y + rect.height > desktop.y + desktop.height)
        {
            rect.y = std::max(desktop.y, desktop.y + desktop.height - rect.height);
        }
    }
    window->SetWindowRect(rect.x, rect.y, rect.width, rect.height);
    window->Invalidate();
}

Result LFrameworkApp::CreateRootWindow(const RCPtr<LControl>& control, bool close, bool minimize,
                                       bool maximize)
{
    RCPtr<OSWindow> window;
    return CreateRootWindowFor(control, true, close, minimize, maximize, window);
}

Result LFrameworkApp::GetModalRootWindow(const RCPtr<LControl>& control, bool close)
{
    // What runs after a dialog or box that the exit ended starts no new modal work: it would
    // wait for an answer the ending program no longer takes.
    if (mExiting)
    {
        return -1;
    }
    RCPtr<OSWindow> window;
    if (Failed(CreateRootWindowFor(control, false, close, false, false, window)))
    {
        return kFail;
    }
    return window->RunModalLoop();
}

Result LFrameworkApp::CreateRootWindowFor(const RCPtr<LControl>& control, bool topLevel, bool close,
                                          bool minimize, bool maximize, RCPtr<OSWindow>& made)
{
    if (!control)
    {
        return kFail;
    }
    const RCPtr<OSWindow> window(new OSWindow);
    const std::uint32_t countBefore = GetRootWindowCount();
    bool fixedSize = true;
    if (topLevel)
    {
        const ConstRCPtr<LControlDescriptor>& descriptor = control->GetControlDescriptor();
        if (!descriptor)
        {
            Throw<std::runtime_error>(kNoDescriptorText);
        }
        fixedSize = !descriptor->GetLayout() || IsFixedSizeWindow(*descriptor->GetLayout());
    }
    const std::uint32_t style = RootWindowStyle(fixedSize, close, minimize, maximize);

    RCPtr<IRootWindowServices> owner = GetActiveRootWindow();
    if (!owner)
    {
        owner = GetRootWindow(0);
    }
    OSWindow* ownerWindow = SystemWindowOf(owner);
    const RectD frame = control->GetFrame();
    RectI rect{RoundToInt32(frame.x), RoundToInt32(frame.y), std::max(1, RoundToInt32(frame.width)),
               std::max(1, RoundToInt32(frame.height))};
    if (ownerWindow != nullptr)
    {
        PointI origin;
        if (Succeeded(ownerWindow->ClientToScreen(origin, PointI{rect.x, rect.y})))
        {
            rect.x = origin.x;
            rect.y = origin.y;
        }
    }
    const std::uintptr_t parent = topLevel || ownerWindow == nullptr ? 0 : ownerWindow->GetWindowHandle();
    const std::uint32_t exStyle = topLevel ? 0 : WindowStyle::kExDialogModalFrame;
    if (Failed(CreateSystemWindow(*window, String(OSWindow::kClassName), control->GetText(), style, exStyle,
                                  rect, parent)))
    {
        window->EndModal(0);
        return kFail;
    }
    // On X the frame is the desktop's own: the client area is the window, nothing to widen.
    rect = KeepInsideArea(rect, GetWorkArea());
    window->SetWindowRect(rect.x, rect.y, rect.width, rect.height);
    SetWindowIcons(*window);
    window->CreateRenderer(GetRendererKind());
    if (GetRootWindowCount() != countBefore + 1 || !window->GetRootWindow())
    {
        window->EndModal(0);
        return kFail;
    }
    window->GetRootWindow()->SetRootControl(control);
    made = window;
    return static_cast<Result>(countBefore);
}

// --- The profile -------------------------------------------------------------------------------

String LFrameworkApp::GetProfileSectionName() const
{
    return GetTitleText();
}

Result LFrameworkApp::WriteProfileBinary(const String& section, const String& entry, const void* bytes,
                                         std::size_t count)
{
    IIniFileManager* ini = GetIniFileManager();
    const std::int32_t settings = GetSettingsIniFile(kWindowSettingsKind);
    if (ini == nullptr || settings == 0 || (bytes == nullptr && count != 0))
    {
        return kFail;
    }
    return ini->SetIniValueStr(settings, section + u"/" + entry, FormatProfileBinary(bytes, count));
}

bool LFrameworkApp::GetProfileString(const String& section, const String& entry, String& text)
{
    IIniFileManager* ini = GetIniFileManager();
    const std::int32_t settings = GetSettingsIniFile(kWindowSettingsKind);
    const String node = section + u"/" + entry;
    if (ini == nullptr || settings == 0 || !ini->DoesNodeExist(settings, node))
    {
        return false;
    }
    return Succeeded(ini->GetIniValueStr(settings, node, String(), text));
}

} // namespace KR
