// Making the system window of a KR::OSWindow, and what its style asks of the window layer.

#include "kr/ui/OSWindow.h"

#include <algorithm>

namespace KR
{

namespace P = Platform;

Result OSWindow::Create(const String& title, const RectI& client, std::uintptr_t owner, bool popup)
{
    P::WindowCreateParams params;
    params.className = kClassName;
    params.popup = popup;
    return CreateWith(params, title, client, owner);
}

Result OSWindow::Create(const String& className, const String& title, std::uint32_t style,
                        std::uint32_t exStyle, const RectI& client, std::uintptr_t owner)
{
    P::WindowCreateParams params = ParamsForStyle(style, exStyle);
    params.className = className.ToUtf8().GetPtr();
    return CreateWith(params, title, client, owner);
}

Result OSWindow::CreateWith(P::WindowCreateParams& params, const String& title, const RectI& client,
                            std::uintptr_t owner)
{
    if (mHandle != 0 || !P::InitializeWindowSystem())
    {
        return kFail;
    }
    params.title = title.ToUtf8().GetPtr();
    params.client = {client.x, client.y, client.width, client.height};
    params.owner = owner;
    params.procedure = this;
    mHandle = P::CreateWindow(params);
    if (mHandle == 0)
    {
        return kFail;
    }
    mSelf = this;
    return kOk;
}

P::WindowCreateParams OSWindow::ParamsForStyle(std::uint32_t style, std::uint32_t exStyle)
{
    P::WindowCreateParams params;
    params.decorated = (style & WindowStyle::kCaption) == WindowStyle::kCaption;
    params.resizable = (style & WindowStyle::kThickFrame) != 0;
    const auto offered = [style](std::uint32_t bit, P::WindowFunction function)
    { return (style & bit) != 0 ? static_cast<std::uint32_t>(function) : 0u; };
    params.functions = offered(WindowStyle::kSysMenu, P::kWindowFunctionClose) |
                       offered(WindowStyle::kMinimizeBox, P::kWindowFunctionMinimize) |
                       offered(WindowStyle::kMaximizeBox, P::kWindowFunctionMaximize);
    params.dialog = (exStyle & WindowStyle::kExDialogModalFrame) != 0;
    return params;
}

void OSWindow::ConstrainSizingRect(RectI& windowRect)
{
    if (!mRootWindow || mHandle == 0)
    {
        return;
    }
    P::WindowRect client;
    P::WindowRect window;
    if (!P::GetClientRect(mHandle, client) || !P::GetWindowRect(mHandle, window))
    {
        return;
    }
    const std::int32_t frameWidth = std::max(0, window.width - client.width);
    const std::int32_t frameHeight = std::max(0, window.height - client.height);
    std::int32_t width = windowRect.width - frameWidth;
    std::int32_t height = windowRect.height - frameHeight;
    if (mRootWindow->ConstrainClientSize(width, height))
    {
        windowRect.width = width + frameWidth;
        windowRect.height = height + frameHeight;
    }
}

} // namespace KR
