#include "platform/gl/GLPlatform.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace KR::Platform
{
namespace
{

// A pbuffer made when the drawable takes its format, since EGL ties a surface to its
// config from the start.
struct EglDrawable
{
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::int32_t format = 0;
    EGLSurface surface = EGL_NO_SURFACE;
};

class EglPlatform final : public IGLPlatform
{
public:
    EglPlatform(EGLDisplay display, std::vector<EGLConfig> configs)
        : mDisplay(display), mConfigs(std::move(configs))
    {
    }
    ~EglPlatform() override
    {
        eglMakeCurrent(mDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglTerminate(mDisplay);
    }

    GLDrawable GetDrawable(void*, std::int32_t width, std::int32_t height) override
    {
        auto* drawable = new EglDrawable;
        drawable->width = width > 0 ? width : 1;
        drawable->height = height > 0 ? height : 1;
        return drawable;
    }
    void ReleaseDrawable(GLDrawable handle) override
    {
        auto* drawable = static_cast<EglDrawable*>(handle);
        if (drawable == nullptr)
        {
            return;
        }
        if (drawable->surface != EGL_NO_SURFACE)
        {
            if (eglGetCurrentSurface(EGL_DRAW) == drawable->surface)
            {
                eglMakeCurrent(mDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, eglGetCurrentContext());
            }
            eglDestroySurface(mDisplay, drawable->surface);
        }
        delete drawable;
    }
    GLDrawable CreateTemporaryDrawable() override { return GetDrawable(nullptr, 1, 1); }
    void DestroyTemporaryDrawable(GLDrawable drawable) override { ReleaseDrawable(drawable); }

    std::int32_t ChoosePixelFormat(GLDrawable, std::uint32_t) override { return mConfigs.empty() ? 0 : 1; }
    bool DescribePixelFormat(GLDrawable, std::int32_t format, std::uint32_t& flags) override
    {
        if (format < 1 || format > static_cast<std::int32_t>(mConfigs.size()))
        {
            return false;
        }
        // Pbuffers have one buffer: frames end with a flush.
        flags = GLFormatFlags::kDrawToWindow | GLFormatFlags::kSupportOpenGL;
        return true;
    }
    bool SetPixelFormat(GLDrawable handle, std::int32_t format) override
    {
        auto* drawable = static_cast<EglDrawable*>(handle);
        if (drawable == nullptr || format < 1 || format > static_cast<std::int32_t>(mConfigs.size()))
        {
            return false;
        }
        if (drawable->surface != EGL_NO_SURFACE)
        {
            return drawable->format == format;
        }
        const EGLint attributes[] = {EGL_WIDTH, drawable->width, EGL_HEIGHT, drawable->height, EGL_NONE};
        drawable->surface = eglCreatePbufferSurface(mDisplay, Config(format), attributes);
        drawable->format = format;
        return drawable->surface != EGL_NO_SURFACE;
    }
    bool ChoosePixelFormatExtended(GLDrawable, const std::int32_t*, std::vector<std::int32_t>&,
                                   std::uint32_t) override
    {
        return false;
    }

    GLContext CreateContext(GLDrawable handle) override
    {
        auto* drawable = static_cast<EglDrawable*>(handle);
        const std::int32_t format = drawable != nullptr && drawable->format != 0 ? drawable->format : 1;
        if (mConfigs.empty())
        {
            return nullptr;
        }
        EGLContext context = eglCreateContext(mDisplay, Config(format), EGL_NO_CONTEXT, nullptr);
        return context == EGL_NO_CONTEXT ? nullptr : context;
    }
    bool DeleteContext(GLContext context) override
    {
        return context != nullptr && eglDestroyContext(mDisplay, context) == EGL_TRUE;
    }
    bool MakeCurrent(GLDrawable handle, GLContext context) override
    {
        auto* drawable = static_cast<EglDrawable*>(handle);
        EGLSurface surface = context != nullptr && drawable != nullptr ? drawable->surface : EGL_NO_SURFACE;
        if (context != nullptr && drawable != nullptr && surface == EGL_NO_SURFACE)
        {
            return false;
        }
        return eglMakeCurrent(mDisplay, surface, surface, context != nullptr ? context : EGL_NO_CONTEXT) ==
               EGL_TRUE;
    }
    bool SwapBuffers(GLDrawable) override { return true; }

    bool HasEntryPoint(const char* name) override { return std::string(name) == "wglGetExtensionsStringARB"; }
    std::string GetExtensionsString(GLDrawable) override
    {
        const char* names = eglQueryString(mDisplay, EGL_EXTENSIONS);
        return names != nullptr ? names : "";
    }
    GLError GetLastError() override
    {
        const EGLint code = eglGetError();
        char text[32];
        std::snprintf(text, sizeof text, "EGL error 0x%04X", static_cast<unsigned>(code));
        return GLError{code, text};
    }

private:
    EGLConfig Config(std::int32_t format) const { return mConfigs[static_cast<std::size_t>(format - 1)]; }

    EGLDisplay mDisplay;
    std::vector<EGLConfig> mConfigs;
};

EGLDisplay OpenDisplay()
{
    // The surfaceless platform needs neither a window system nor a device node.
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    EGLDisplay display = EGL_NO_DISPLAY;
    if (getPlatformDisplay != nullptr)
    {
        display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    }
    if (display == EGL_NO_DISPLAY)
    {
        display = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    }
    return display;
}

} // namespace

std::unique_ptr<IGLPlatform> MakeEglPlatform()
{
    EGLDisplay display = OpenDisplay();
    if (display == EGL_NO_DISPLAY || eglInitialize(display, nullptr, nullptr) != EGL_TRUE)
    {
        return nullptr;
    }
    if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE)
    {
        eglTerminate(display);
        return nullptr;
    }
    const EGLint wanted[] = {EGL_SURFACE_TYPE,
                             EGL_PBUFFER_BIT,
                             EGL_RENDERABLE_TYPE,
                             EGL_OPENGL_BIT,
                             EGL_RED_SIZE,
                             8,
                             EGL_GREEN_SIZE,
                             8,
                             EGL_BLUE_SIZE,
                             8,
                             EGL_ALPHA_SIZE,
                             8,
                             EGL_NONE};
    EGLint count = 0;
    std::vector<EGLConfig> configs(64);
    if (eglChooseConfig(display, wanted, configs.data(), static_cast<EGLint>(configs.size()), &count) !=
            EGL_TRUE ||
        count <= 0)
    {
        eglTerminate(display);
        return nullptr;
    }
    configs.resize(static_cast<std::size_t>(count));
    return std::make_unique<EglPlatform>(display, std::move(configs));
}

} // namespace KR::Platform
