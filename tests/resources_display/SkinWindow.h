#pragma once
// What the display tests of the editor's skin undo when a test ends: the renderers and
// pictures they installed, the root window's references and the window itself.

#include "kr/render/BitmapSource.h"
#include "kr/render/RendererFactory.h"
#include "kr/ui/OSWindow.h"
#include "kr/ui/RootWindow.h"

namespace KR::SkinTest
{

inline void CloseSkinWindow(const RCPtr<LRootWindow>& rootWindow, const RCPtr<OSWindow>& window)
{
    SetRendererFactory(nullptr);
    SetBitmapSource(nullptr);
    if (rootWindow)
    {
        rootWindow->ReleaseInternalReferences();
    }
    if (window->GetWindowHandle() != 0)
    {
        window->EndModal(0);
    }
}

} // namespace KR::SkinTest
