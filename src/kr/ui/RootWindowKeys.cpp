// Where the Tab key goes when it has walked off the end of a window's control tree.

#include "kr/ui/FrameworkApp.h"
#include "kr/ui/RootWindow.h"

namespace KR
{

Result LRootWindow::FocusNextWindow(const RCPtr<LKeyParam>& key)
{
    // A window in the background, or one whose dialog runs above it, keeps its focus
    // where it is.
    if (!mOS || !mOS->IsActiveWindow() || mOS->IsModal())
    {
        return kNothingDone;
    }
    const bool backward = key && (key->key.code & KeyCode::kShiftBit) != 0;
    IFrameworkApp& app = IFrameworkApp::GetInstance();
    const std::int32_t count = static_cast<std::int32_t>(app.GetRootWindowCount());
    if (count < 2)
    {
        if (!mRootControl)
        {
            return kNothingDone;
        }
        // Out of the tree and in again at its other end.
        const RCPtr<LControl> root = mRootControl;
        root->OnFocusLost();
        return root->SetFocus(!backward);
    }
    std::int32_t index = -1;
    for (std::int32_t i = count; i-- > 0;)
    {
        if (app.GetRootWindow(static_cast<std::uint32_t>(i)).Get() == this)
        {
            index = i;
            break;
        }
    }
    std::int32_t next = backward ? index - 1 : index + 1;
    if (next < 0)
    {
        next = count - 1;
    }
    else if (next >= count)
    {
        next = 0;
    }
    const RCPtr<IRootWindowServices> window = app.GetRootWindow(static_cast<std::uint32_t>(next));
    return window ? window->FocusSystemWindow() : kNothingDone;
}

Result LRootWindow::FocusSystemWindow()
{
    if (!mOS)
    {
        return kFail;
    }
    return mOS->IsActiveWindow() ? kNothingDone : mOS->SetFocus();
}

} // namespace KR
