#include "kr/ui/FrameworkApp.h"

#include "kr/render/Font.h"
#include "kr/render/Renderer.h"
#include "kr/ui/Clipboard.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/GlobalHotKeyManager.h"
#include "kr/ui/RootWindowServices.h"

#include <atomic>

namespace KR
{
namespace
{

std::atomic<IFrameworkApp*> gInstance{nullptr};

} // namespace

IFrameworkApp& IFrameworkApp::GetInstance()
{
    static IFrameworkApp nothing;
    IFrameworkApp* app = gInstance.load(std::memory_order_acquire);
    return app ? *app : nothing;
}

void IFrameworkApp::SetInstance(IFrameworkApp* app)
{
    gInstance.store(app, std::memory_order_release);
    SetMeasurementRendererSource(app);
}

bool IFrameworkApp::IsInstalled(const IFrameworkApp* app)
{
    return app && gInstance.load(std::memory_order_acquire) == app;
}

// The answers of an application that has nothing.

std::uint32_t IFrameworkApp::GetRootWindowCount() const
{
    return 0;
}

RCPtr<IRootWindowServices> IFrameworkApp::GetRootWindow(std::uint32_t) const
{
    return nullptr;
}

Result IFrameworkApp::AddRootWindow(const RCPtr<IRootWindowServices>&)
{
    return kFail;
}

Result IFrameworkApp::RemoveRootWindow(const RCPtr<IRootWindowServices>&)
{
    return kNothingDone;
}

RCPtr<IRootWindowServices> IFrameworkApp::GetActiveRootWindow() const
{
    return nullptr;
}

Result IFrameworkApp::RunModal(const RCPtr<LControl>&, bool)
{
    return kFail;
}

bool IFrameworkApp::OnIdle(bool)
{
    return false;
}

std::uint32_t IFrameworkApp::LoadCursorByName(const String&)
{
    return 0;
}

bool IFrameworkApp::GetKeyState(std::uint32_t)
{
    return false;
}

PointI IFrameworkApp::GetCursorPos()
{
    return PointI{};
}

std::uint32_t IFrameworkApp::GetMouseButtons()
{
    return 0;
}

RectI IFrameworkApp::GetWorkArea()
{
    return RectI{};
}

void IFrameworkApp::OnCommandLineReceived(const String&)
{
}

Result IFrameworkApp::OnPowerBroadcast(std::uintptr_t, std::intptr_t)
{
    return kOk;
}

double IFrameworkApp::GetSecondsSinceStart() const
{
    return 0.0;
}

std::uint32_t IFrameworkApp::GetMilliseconds() const
{
    return 0;
}

RCPtr<LFont> IFrameworkApp::GetDefaultFont() const
{
    return nullptr;
}

RCPtr<LGlobalHotKeyManager> IFrameworkApp::GetGlobalHotKeyManager() const
{
    return nullptr;
}

RCPtr<LControlFactory> IFrameworkApp::GetControlFactory() const
{
    return nullptr;
}

RCPtr<LClipboard> IFrameworkApp::GetClipboard() const
{
    return nullptr;
}

Result IFrameworkApp::SetStatusText(const String&, bool)
{
    return kFail;
}

Result IFrameworkApp::ResetStatusText(bool)
{
    return kFail;
}

String IFrameworkApp::GetProfileSectionName() const
{
    return String();
}

Result IFrameworkApp::WriteProfileBinary(const String&, const String&, const void*, std::size_t)
{
    return kFail;
}

std::int32_t IFrameworkApp::GetRendererKind() const
{
    return kRenderer2D;
}

RCPtr<LMeasurementRenderer> IFrameworkApp::GetMeasurementRenderer()
{
    return nullptr;
}

} // namespace KR
