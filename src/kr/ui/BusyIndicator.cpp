#include "kr/ui/BusyIndicator.h"

#include "kr/system/CursorNames.h"
#include "kr/ui/FrameworkApp.h"
#include "platform/window/MessageLoop.h"
#include "platform/window/Window.h"

#include <vector>

namespace KR
{

LBusyIndicator::LBusyIndicator(const String& text)
{
    IFrameworkApp& app = IFrameworkApp::GetInstance();
    mRootWindow = app.GetActiveRootWindow();
    if (!mRootWindow)
    {
        mRootWindow = app.GetRootWindow(0);
    }
    if (mRootWindow)
    {
        mSavedCursor = mRootWindow->SetCursor(app.LoadCursorByName(kCursorWait));
    }
    app.SetStatusText(text, true);
    app.OnIdle(true);
}

LBusyIndicator::~LBusyIndicator()
{
    if (mRootWindow)
    {
        mRootWindow->SetCursor(mSavedCursor);
    }
    IFrameworkApp::GetInstance().ResetStatusText(true);
    mRootWindow = nullptr;
}

bool RunWhileWindowsWait(const std::function<void()>& work)
{
    namespace P = Platform;
    IFrameworkApp& app = IFrameworkApp::GetInstance();
    const P::WindowHandle active = P::GetActiveWindow();
    std::vector<P::WindowHandle> disabled;
    for (std::uint32_t i = 0; i < app.GetRootWindowCount(); ++i)
    {
        const RCPtr<IRootWindowServices> window = app.GetRootWindow(i);
        const P::WindowHandle handle = window ? window->GetSystemWindowHandle() : 0;
        if (handle != 0 && P::IsWindowEnabled(handle))
        {
            P::EnableWindow(handle, false);
            disabled.push_back(handle);
        }
    }
    struct Enabler
    {
        const std::vector<P::WindowHandle>& windows;
        P::WindowHandle active;
        // A window closed meanwhile is simply no longer found.
        ~Enabler()
        {
            for (const P::WindowHandle handle : windows)
            {
                P::EnableWindow(handle, true);
            }
            if (active != 0 && P::IsWindow(active))
            {
                P::SetFocus(active);
            }
        }
    } enabler{disabled, active};
    return P::RunWhileWorking(work, [&app](int pass) { return app.OnIdle(pass == 0); }) ==
           P::MessageLoop::kEnded;
}

} // namespace KR
