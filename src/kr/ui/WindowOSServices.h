#pragma once
// KR::IWindowOSServices: the operations of one top-level system window that its root
// window and the controls use without knowing the platform. The platform's window
// implements it; tests use a fake that records what was asked.
//
// Unless said otherwise each operation returns kOk, or kFail when the system window is
// gone. UI thread only.

#include "kr/core/Point.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"

#include <cstdint>

namespace KR
{

class IWindowOSServices : public virtual LRefCountedObject
{
public:
    virtual Result SetTitle(const String& text) = 0;
    // The whole window.
    virtual Result Invalidate() = 0;
    virtual Result InvalidateRect(std::int32_t x, std::int32_t y, std::int32_t width,
                                  std::int32_t height) = 0;
    // Written only when the window has a well-formed client rectangle.
    virtual Result GetClientRect(std::int32_t& x, std::int32_t& y, std::int32_t& width,
                                 std::int32_t& height) = 0;
    virtual Result ScreenToClient(PointI& out, PointI point) = 0;
    virtual Result ClientToScreen(PointI& out, PointI point) = 0;
    // The client area's rectangle in screen coordinates; the frame goes around it.
    virtual Result SetWindowRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) = 0;
    // True when the window was visible before.
    virtual bool Show(std::int32_t command) = 0;
    // Repaints at once.
    virtual Result Redraw() = 0;
    virtual Result BringToTop() = 0;
    virtual Result SetTopMost(bool topMost) = 0;
    // Ends the modal loop with the result; a window not in one is destroyed.
    virtual Result EndModal(Result result) = 0;
    virtual Result RunModalLoop() = 0;
    virtual bool IsModal() = 0;
    virtual bool IsActiveWindow() = 0;
    virtual bool HasFocus() = 0;
    virtual Result SetFocus() = 0;
    // The cursor in force before.
    virtual std::uint32_t SetCursor(std::uint32_t cursor) = 0;
    // The pointer in client coordinates; while the window holds the capture, the last one
    // its events reported.
    virtual Result GetCursorPosition(PointI& out) = 0;
    // The buttons down (MouseButton bits), read like the position.
    virtual std::uint32_t GetKeyState() = 0;
    // The platform's handle of the window; 0 when there is none.
    virtual std::uintptr_t GetWindowHandle() = 0;
    virtual Result SetTextInputState(std::uint32_t state, std::uint32_t value) = 0;
};

} // namespace KR
