#pragma once
// KR::LRootWindowOSAdapter: lets a KR::OSWindow carry a KR::LRootWindow. The system window
// speaks IOSWindowRoot; the root window keeps the names its controls already use, so this
// only translates.
//
//     RCPtr<OSWindow> window = new OSWindow;
//     RCPtr<LRootWindow> root = new LRootWindow(renderer, window.Get());
//     window->AttachRoot(new LRootWindowOSAdapter(root));
//
// UI thread only.

#include "kr/ui/OSWindowRoot.h"
#include "kr/ui/RootWindow.h"

namespace KR
{

class LRootWindowOSAdapter : public IOSWindowRoot
{
public:
    explicit LRootWindowOSAdapter(const RCPtr<LRootWindow>& root) : mRoot(root) {}

    const RCPtr<LRootWindow>& GetRootWindow() const { return mRoot; }

    bool HasFocusControl() override { return mRoot->GetFocusControl() != nullptr; }
    void RestoreFocus() override { mRoot->RestoreFocus(); }
    void LoseFocus() override { mRoot->LoseFocus(); }
    void UpdateLayout() override { mRoot->UpdateLayout(); }
    void SetFullRepaint() override { mRoot->SetFullRepaintPending(); }
    void NotifyCaptureLost() override { mRoot->NotifyCaptureLost(); }
    void OnMouseButton(std::uint32_t action, std::uint32_t button, std::uint32_t modifiers,
                       PointI point) override
    {
        mRoot->OnMouseButton(static_cast<std::int32_t>(action), button, modifiers, point);
    }
    void OnMouseMove(PointI point, std::uint32_t modifiers) override { mRoot->OnMouseMove(point, modifiers); }
    void OnMouseWheel(PointI point, std::uint32_t modifiers, std::uint32_t direction) override
    {
        mRoot->OnMouseWheel(point, modifiers, direction);
    }
    void DispatchKey(const RCPtr<LKeyParam>& key) override { mRoot->DispatchKey(key); }
    void RequestClose() override { mRoot->RequestClose(); }
    LRegion TakeInvalidRegion(const RectI* paintingNow) override
    {
        LRegion region;
        mRoot->TakeInvalidRegion(region, paintingNow);
        return region;
    }
    void TakeFrameMoves(std::vector<FrameMove>& moves, LRegion& covered) override
    {
        mRoot->TakeFrameMoves(moves, covered);
    }
    void Paint(const LRegion& region) override { mRoot->Paint(region); }
    IRootWindowServices* GetListedRootWindow() override { return mRoot.Get(); }

private:
    RCPtr<LRootWindow> mRoot;
};

} // namespace KR
