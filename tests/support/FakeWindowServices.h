#pragma once
// A system window for tests: it answers from its fields and records the invalidated
// rectangles, the modal results and the cursors it was given.
//
//     KR::RCPtr<KR::TestSupport::LFakeWindowServices> os(new KR::TestSupport::LFakeWindowServices);
//     os->active = false;   // input to the root window is dropped now

#include "kr/ui/WindowOSServices.h"

#include <vector>

namespace KR::TestSupport
{

class LFakeWindowServices : public IWindowOSServices
{
public:
    Result SetTitle(const String&) override { return kOk; }
    Result Invalidate() override
    {
        ++wholeInvalidations;
        return kOk;
    }
    Result InvalidateRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) override
    {
        invalidated.push_back(RectI{x, y, width, height});
        return kOk;
    }
    Result GetClientRect(std::int32_t& x, std::int32_t& y, std::int32_t& width, std::int32_t& height) override
    {
        x = 0;
        y = 0;
        width = clientSize.x;
        height = clientSize.y;
        return kOk;
    }
    Result ScreenToClient(PointI& out, PointI point) override
    {
        out = point;
        return kOk;
    }
    Result ClientToScreen(PointI& out, PointI point) override
    {
        out = point;
        return kOk;
    }
    Result SetWindowRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) override
    {
        windowRects.push_back(RectI{x, y, width, height});
        return kOk;
    }
    bool Show(std::int32_t) override { return true; }
    Result Redraw() override { return kOk; }
    Result BringToTop() override { return kOk; }
    Result SetTopMost(bool) override { return kOk; }
    Result EndModal(Result result) override
    {
        modalResults.push_back(result);
        return kOk;
    }
    Result RunModalLoop() override { return kOk; }
    bool IsModal() override { return false; }
    bool IsActiveWindow() override { return active; }
    bool HasFocus() override { return true; }
    Result SetFocus() override { return kOk; }
    std::uint32_t SetCursor(std::uint32_t cursor) override { return std::exchange(this->cursor, cursor); }
    Result GetCursorPosition(PointI& out) override
    {
        out = mouse;
        return kOk;
    }
    std::uint32_t GetKeyState() override { return buttons; }
    std::uintptr_t GetWindowHandle() override { return handle; }
    Result SetTextInputState(std::uint32_t, std::uint32_t) override { return kOk; }

    PointI clientSize{1024, 768};
    bool active = true;
    std::uintptr_t handle = 0;
    PointI mouse{};
    std::uint32_t buttons = 0;
    std::uint32_t cursor = 0;
    std::vector<RectI> invalidated;
    std::vector<RectI> windowRects;
    int wholeInvalidations = 0;
    std::vector<Result> modalResults;
};

} // namespace KR::TestSupport
