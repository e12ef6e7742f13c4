#pragma once
// The window messages the framework's windows handle, with the numbers and parameter
// packing of the platform the framework was written for, so the window code reads as
// the message tables it implements. Only what the framework uses is here.
//
// Parameters: wParam and lParam are pointer-sized. Points travel in lParam as two 32-bit
// halves (x low, y high) instead of two 16-bit ones, so no coordinate is cut; key
// messages carry the usual key flags in lParam (repeat count, scan code, context bit 29,
// previous state bit 30, transition bit 31).

#include <cstdint>

namespace KR::Platform
{

// Windows are numbered, never reused: a message for a closed window finds nothing.
using WindowHandle = std::uintptr_t;

struct WindowPoint
{
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const WindowPoint&, const WindowPoint&) = default;
};

struct WindowRect
{
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

// --- Messages ---------------------------------------------------------------------------
inline constexpr std::uint32_t WM_DESTROY = 0x0002;
inline constexpr std::uint32_t WM_MOVE = 0x0003;
inline constexpr std::uint32_t WM_SIZE = 0x0005;
inline constexpr std::uint32_t WM_SETFOCUS = 0x0007;
inline constexpr std::uint32_t WM_KILLFOCUS = 0x0008;
inline constexpr std::uint32_t WM_PAINT = 0x000F;
inline constexpr std::uint32_t WM_CLOSE = 0x0010;
inline constexpr std::uint32_t WM_QUIT = 0x0012;
inline constexpr std::uint32_t WM_COPYDATA = 0x004A;
inline constexpr std::uint32_t WM_DISPLAYCHANGE = 0x007E;
inline constexpr std::uint32_t WM_KEYDOWN = 0x0100;
inline constexpr std::uint32_t WM_KEYUP = 0x0101;
inline constexpr std::uint32_t WM_CHAR = 0x0102;
inline constexpr std::uint32_t WM_SYSKEYDOWN = 0x0104;
inline constexpr std::uint32_t WM_SYSKEYUP = 0x0105;
inline constexpr std::uint32_t WM_SYSCOMMAND = 0x0112;
inline constexpr std::uint32_t WM_TIMER = 0x0113;
inline constexpr std::uint32_t WM_ENTERIDLE = 0x0121;
inline constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr std::uint32_t WM_RBUTTONDBLCLK = 0x0206;
inline constexpr std::uint32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr std::uint32_t WM_MBUTTONUP = 0x0208;
inline constexpr std::uint32_t WM_MBUTTONDBLCLK = 0x0209;
inline constexpr std::uint32_t WM_MOUSEWHEEL = 0x020A;
inline constexpr std::uint32_t WM_MOUSEHWHEEL = 0x020E;
inline constexpr std::uint32_t WM_CAPTURECHANGED = 0x0215;
inline constexpr std::uint32_t WM_POWERBROADCAST = 0x0218;
inline constexpr std::uint32_t WM_MOUSELEAVE = 0x02A3;
// The clipboard's content was replaced (sent to the window that wrote it).
inline constexpr std::uint32_t WM_DESTROYCLIPBOARD = 0x0307;
inline constexpr std::uint32_t WM_KICKIDLE = 0x036A;
// The first message number free for a program's own use.
inline constexpr std::uint32_t WM_USER = 0x0400;

// WM_SIZE types.
inline constexpr std::uintptr_t SIZE_RESTORED = 0;
inline constexpr std::uintptr_t SIZE_MINIMIZED = 1;
inline constexpr std::uintptr_t SIZE_MAXIMIZED = 2;

// WM_SYSCOMMAND: the window's close box.
inline constexpr std::uintptr_t SC_CLOSE = 0xF060;

// WM_POWERBROADCAST events (wParam): the machine goes to sleep, or woke up by itself.
inline constexpr std::uintptr_t PBT_APMSUSPEND = 0x0004;
inline constexpr std::uintptr_t PBT_APMRESUMEAUTOMATIC = 0x0012;

// WM_ENTERIDLE and WM_KICKIDLE from a dialog's modal loop.
inline constexpr std::uintptr_t MSGF_DIALOGBOX = 0;

// Mouse-message wParam flags.
inline constexpr std::uintptr_t MK_LBUTTON = 0x0001;
inline constexpr std::uintptr_t MK_RBUTTON = 0x0002;
inline constexpr std::uintptr_t MK_SHIFT = 0x0004;
inline constexpr std::uintptr_t MK_CONTROL = 0x0008;
inline constexpr std::uintptr_t MK_MBUTTON = 0x0010;

// One notch of a wheel.
inline constexpr std::int32_t WHEEL_DELTA = 120;

// ShowWindow commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_SHOWNA = 8;
inline constexpr int SW_RESTORE = 9;

// Virtual keys of the mouse buttons, answered by GetKeyState like the others.
inline constexpr std::uint8_t VK_LBUTTON = 0x01;
inline constexpr std::uint8_t VK_RBUTTON = 0x02;
inline constexpr std::uint8_t VK_MBUTTON = 0x04;

// Key-message flags in lParam.
inline constexpr std::intptr_t kKeyContextBit = 0x20000000;  // Alt held
inline constexpr std::intptr_t kKeyPreviousBit = 0x40000000; // was down already
inline constexpr std::intptr_t kKeyTransitionBit = static_cast<std::intptr_t>(0x80000000u);

// The second start of the program hands its command line over in this record
// (WM_COPYDATA, lParam points at it while the message is handled).
struct CopyData
{
    std::uintptr_t dwData = 0;
    std::uint32_t cbData = 0; // bytes at lpData
    const void* lpData = nullptr;
};

// --- Packing -----------------------------------------------------------------------------

inline std::intptr_t MakePointParam(std::int32_t x, std::int32_t y)
{
    return static_cast<std::intptr_t>((static_cast<std::uint64_t>(static_cast<std::uint32_t>(y)) << 32) |
                                      static_cast<std::uint32_t>(x));
}
inline WindowPoint PointFromParam(std::intptr_t lParam)
{
    const auto bits = static_cast<std::uint64_t>(lParam);
    return {static_cast<std::int32_t>(static_cast<std::uint32_t>(bits)),
            static_cast<std::int32_t>(static_cast<std::uint32_t>(bits >> 32))};
}

// Wheel messages: the signed delta in bits 16-31 of wParam, the MK_ flags below.
inline std::uintptr_t MakeWheelParam(std::int16_t delta, std::uintptr_t keyFlags)
{
    return (static_cast<std::uintptr_t>(static_cast<std::uint16_t>(delta)) << 16) | (keyFlags & 0xFFFF);
}
inline std::int16_t WheelDeltaFromParam(std::uintptr_t wParam)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(wParam >> 16));
}

// The key flags the key handlers read: the upper half of the key message's lParam.
inline std::uint32_t KeyFlagsFromParam(std::intptr_t lParam)
{
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(lParam) >> 16) & 0xFFFF);
}

// A double from the display system as a 32-bit integer, truncated toward zero and kept
// inside the 32-bit range; NaN gives 0.
std::int32_t ClampToInt32(double value);

} // namespace KR::Platform
