#pragma once
// The window-system side of GL: pixel formats, drawables, rendering contexts, buffer swaps.
// The renderer's set-up rules are written against this interface; the backends are EGL
// (surfaceless display, a pbuffer per drawable: headless and offscreen drawing) and a
// scripted fake for the rules themselves. A format is described by flags in the classic
// bit values below. UI thread only.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace KR::Platform
{

namespace GLFormatFlags
{
inline constexpr std::uint32_t kDoubleBuffer = 0x1;
inline constexpr std::uint32_t kDrawToWindow = 0x4;
inline constexpr std::uint32_t kSupportOpenGL = 0x20;
inline constexpr std::uint32_t kGeneric = 0x40;
inline constexpr std::uint32_t kSwapCopy = 0x400;
inline constexpr std::uint32_t kComposition = 0x8000;
} // namespace GLFormatFlags

// Opaque handles owned by the platform that made them.
using GLDrawable = void*;
using GLContext = void*;

struct GLError
{
    std::int32_t code = 0;
    std::string text;
};

class IGLPlatform
{
public:
    virtual ~IGLPlatform() = default;

    // The drawable of a window (or of an offscreen image without one) of the given size;
    // null when none can be had. Released with ReleaseDrawable.
    virtual GLDrawable GetDrawable(void* window, std::int32_t width, std::int32_t height) = 0;
    virtual void ReleaseDrawable(GLDrawable drawable) = 0;
    // A hidden 1 x 1 drawable for trying formats out; null when none can be made.
    virtual GLDrawable CreateTemporaryDrawable() = 0;
    virtual void DestroyTemporaryDrawable(GLDrawable drawable) = 0;

    // A format number (from 1) matching the flags, 0 when none does.
    virtual std::int32_t ChoosePixelFormat(GLDrawable drawable, std::uint32_t flags) = 0;
    // The format's flags; false for an unknown format.
    virtual bool DescribePixelFormat(GLDrawable drawable, std::int32_t format, std::uint32_t& flags) = 0;
    // A drawable takes one format for its life: another one afterwards fails.
    virtual bool SetPixelFormat(GLDrawable drawable, std::int32_t format) = 0;
    // The extended choice; false when the call fails. Attributes are pairs ending with 0.
    virtual bool ChoosePixelFormatExtended(GLDrawable drawable, const std::int32_t* attributes,
                                           std::vector<std::int32_t>& formats, std::uint32_t maxFormats) = 0;

    virtual GLContext CreateContext(GLDrawable drawable) = 0;
    virtual bool DeleteContext(GLContext context) = 0;
    // Null context: none current. A context with a null drawable is current without a
    // surface to draw on (enough to create and delete GL objects).
    virtual bool MakeCurrent(GLDrawable drawable, GLContext context) = 0;
    virtual bool SwapBuffers(GLDrawable drawable) = 0;

    // Whether the window system offers the named entry point ("wglGetExtensionsStringARB",
    // "wglChoosePixelFormatARB").
    virtual bool HasEntryPoint(const char* name) = 0;
    // The space-separated extension names of the drawable's window system.
    virtual std::string GetExtensionsString(GLDrawable drawable) = 0;
    // The error of the last call that failed, with its text.
    virtual GLError GetLastError() = 0;
};

// The EGL backend; null when no EGL display starts (no driver, no device).
std::unique_ptr<IGLPlatform> MakeEglPlatform();
// The GLX backend on the window layer's display: windows are the window layer's handles,
// realised with the chosen format's visual when the format is set on them, and a null
// window is a pbuffer. Null without a display that speaks GLX 1.3.
std::unique_ptr<IGLPlatform> MakeGlxPlatform();

} // namespace KR::Platform
