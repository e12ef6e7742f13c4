// The GLX backend: window drawables on the window layer's X windows, pbuffers for
// offscreen images and for a context that is current without a surface. Formats are the
// display's RGBA frame-buffer configurations that draw both to windows and to pbuffers,
// numbered from 1 in the server's order.
#include "platform/gl/GLPlatform.h"
#include "platform/window/Window.h"

#include <GL/glx.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace KR::Platform
{
namespace
{

constexpr int kSwapMethod = 0x8060;   // GLX_SWAP_METHOD_OML
constexpr int kSwapExchange = 0x8061; // GLX_SWAP_EXCHANGE_OML
constexpr int kSwapCopy = 0x8062;     // GLX_SWAP_COPY_OML

struct GlxDrawable
{
    WindowHandle window = 0; // 0: a pbuffer
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::int32_t format = 0;
    GLXDrawable surface = 0;
};

// X errors of the calls between construction and Check end up here instead of in the
// default handler, which ends the process.
class ErrorTrap
{
public:
    explicit ErrorTrap(Display* display) : mDisplay(display)
    {
        XSync(mDisplay, False);
        sLastError = 0;
        mPrevious = XSetErrorHandler(&Handle);
    }
    ~ErrorTrap() { XSetErrorHandler(mPrevious); }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // The first X error since the trap was set, 0 when none.
    int Check()
    {
        XSync(mDisplay, False);
        return sLastError;
    }

private:
    static int Handle(Display*, XErrorEvent* event)
    {
        if (sLastError == 0)
        {
            sLastError = event->error_code;
        }
        return 0;
    }

    static inline int sLastError = 0;
    Display* mDisplay;
    XErrorHandler mPrevious = nullptr;
};

class GlxPlatform final : public IGLPlatform
{
public:
    GlxPlatform(Display* display, std::vector<GLXFBConfig> configs, bool swapMethod)
        : mDisplay(display), mConfigs(std::move(configs)), mSwapMethod(swapMethod)
    {
    }
    ~GlxPlatform() override
    {
        glXMakeContextCurrent(mDisplay, None, None, nullptr);
        for (const auto& [format, pbuffer] : mNullSurfaces)
        {
            glXDestroyPbuffer(mDisplay, pbuffer);
        }
        XSync(mDisplay, False);
    }

    GLDrawable GetDrawable(void* window, std::int32_t width, std::int32_t height) override
    {
        auto* drawable = new GlxDrawable;
        drawable->window = reinterpret_cast<WindowHandle>(window);
        drawable->width = width > 0 ? width : 1;
        drawable->height = height > 0 ? height : 1;
        return drawable;
    }
    void ReleaseDrawable(GLDrawable handle) override
    {
        auto* drawable = static_cast<GlxDrawable*>(handle);
        if (drawable == nullptr)
        {
            return;
        }
        if (drawable->surface != 0)
        {
            if (glXGetCurrentDrawable() == drawable->surface)
            {
                glXMakeContextCurrent(mDisplay, None, None, nullptr);
            }
            ErrorTrap trap(mDisplay);
            if (drawable->window != 0)
            {
                glXDestroyWindow(mDisplay, drawable->surface);
            }
            else
            {
                glXDestroyPbuffer(mDisplay, drawable->surface);
            }
            trap.Check();
        }
        delete drawable;
    }
    GLDrawable CreateTemporaryDrawable() override { return GetDrawable(nullptr, 1, 1); }
    void DestroyTemporaryDrawable(GLDrawable drawable) override { ReleaseDrawable(drawable); }

    std::int32_t ChoosePixelFormat(GLDrawable, std::uint32_t flags) override
    {
        std::vector<int> attributes = BaseAttributes();
        attributes.insert(attributes.end(),
                          {GLX_DOUBLEBUFFER, (flags & GLFormatFlags::kDoubleBuffer) != 0 ? True : False});
        // A copying swap where the driver offers one; any swap otherwise.
        if ((flags & GLFormatFlags::kSwapCopy) != 0 && mSwapMethod)
        {
            std::vector<int> copying = attributes;
            copying.insert(copying.end(), {kSwapMethod, kSwapCopy});
            if (const std::int32_t format = Choose(copying); format != 0)
            {
                return format;
            }
        }
        return Choose(attributes);
    }
    bool DescribePixelFormat(GLDrawable, std::int32_t format, std::uint32_t& flags) override
    {
        if (!Known(format))
        {
            return false;
        }
        const GLXFBConfig config = Config(format);
        flags = GLFormatFlags::kSupportOpenGL;
        if ((Attribute(config, GLX_DRAWABLE_TYPE) & GLX_WINDOW_BIT) != 0)
        {
            flags |= GLFormatFlags::kDrawToWindow;
        }
        if (Attribute(config, GLX_DOUBLEBUFFER) != 0)
        {
            flags |= GLFormatFlags::kDoubleBuffer;
        }
        if (mSwapMethod && Attribute(config, kSwapMethod) == kSwapCopy)
        {
            flags |= GLFormatFlags::kSwapCopy;
        }
        return true;
    }
    bool SetPixelFormat(GLDrawable handle, std::int32_t format) override
    {
        auto* drawable = static_cast<GlxDrawable*>(handle);
        errno = 0;
        if (drawable == nullptr || !Known(format))
        {
            errno = EINVAL;
            return false;
        }
        if (drawable->surface != 0)
        {
            return drawable->format == format;
        }
        const GLXFBConfig config = Config(format);
        ErrorTrap trap(mDisplay);
        if (drawable->window != 0)
        {
            // The X window takes the configuration's visual before it is first realised.
            const std::uint64_t window = RealizeWithVisual(drawable->window, VisualOf(config));
            if (window == 0)
            {
                errno = EINVAL;
                return false;
            }
            drawable->surface = glXCreateWindow(mDisplay, config, static_cast<Window>(window), nullptr);
        }
        else
        {
            const int attributes[] = {GLX_PBUFFER_WIDTH,
                                      drawable->width,
                                      GLX_PBUFFER_HEIGHT,
                                      drawable->height,
                                      GLX_PRESERVED_CONTENTS,
                                      True,
                                      None};
            drawable->surface = glXCreatePbuffer(mDisplay, config, attributes);
        }
        if (trap.Check() != 0 || drawable->surface == 0)
        {
            drawable->surface = 0;
            errno = EIO;
            return false;
        }
        drawable->format = format;
        return true;
    }
    bool ChoosePixelFormatExtended(GLDrawable, const std::int32_t* attributes,
                                   std::vector<std::int32_t>& formats, std::uint32_t maxFormats) override
    {
        formats.clear();
        std::vector<int> wanted = BaseAttributes();
        for (const std::int32_t* at = attributes; at != nullptr && at[0] != 0; at += 2)
        {
            switch (at[0])
            {
            case 0x2011: // double buffer
                wanted.insert(wanted.end(), {GLX_DOUBLEBUFFER, at[1] != 0 ? True : False});
                break;
            case 0x2007: // swap method: 0x2028 exchange, 0x2029 copy
                if (mSwapMethod && (at[1] == 0x2028 || at[1] == 0x2029))
                {
                    wanted.insert(wanted.end(), {kSwapMethod, at[1] == 0x2029 ? kSwapCopy : kSwapExchange});
                }
                break;
            default: // windows, RGBA pixels: every format here has them
                break;
            }
        }
        wanted.push_back(None);
        int count = 0;
        GLXFBConfig* chosen = glXChooseFBConfig(mDisplay, DefaultScreen(mDisplay), wanted.data(), &count);
        for (int i = 0; i < count && formats.size() < maxFormats; ++i)
        {
            if (const std::int32_t format = FormatOf(chosen[i]); format != 0)
            {
                formats.push_back(format);
            }
        }
        if (chosen != nullptr)
        {
            XFree(chosen);
        }
        return true;
    }

    GLContext CreateContext(GLDrawable handle) override
    {
        auto* drawable = static_cast<GlxDrawable*>(handle);
        const std::int32_t format = drawable != nullptr && drawable->format != 0 ? drawable->format : 1;
        if (!Known(format))
        {
            return nullptr;
        }
        ErrorTrap trap(mDisplay);
        GLXContext context = glXCreateNewContext(mDisplay, Config(format), GLX_RGBA_TYPE, nullptr, True);
        if (trap.Check() != 0 || context == nullptr)
        {
            errno = EIO;
            return nullptr;
        }
        mContextFormats[context] = format;
        return context;
    }
    bool DeleteContext(GLContext handle) override
    {
        auto context = static_cast<GLXContext>(handle);
        if (context == nullptr || mContextFormats.erase(context) == 0)
        {
            return false;
        }
        if (glXGetCurrentContext() == context)
        {
            glXMakeContextCurrent(mDisplay, None, None, nullptr);
        }
        glXDestroyContext(mDisplay, context);
        return true;
    }
    bool MakeCurrent(GLDrawable handle, GLContext contextHandle) override
    {
        auto context = static_cast<GLXContext>(contextHandle);
        errno = 0;
        if (context == nullptr)
        {
            return glXMakeContextCurrent(mDisplay, None, None, nullptr) == True;
        }
        auto* drawable = static_cast<GlxDrawable*>(handle);
        GLXDrawable surface = 0;
        if (drawable == nullptr)
        {
            auto found = mContextFormats.find(context);
            surface = found != mContextFormats.end() ? NullSurface(found->second) : 0;
        }
        else
        {
            surface = drawable->surface;
        }
        if (surface == 0)
        {
            errno = EINVAL;
            return false;
        }
        ErrorTrap trap(mDisplay);
        const bool made = glXMakeContextCurrent(mDisplay, surface, surface, context) == True;
        if (trap.Check() != 0 || !made)
        {
            errno = EIO;
            return false;
        }
        return true;
    }
    bool SwapBuffers(GLDrawable handle) override
    {
        auto* drawable = static_cast<GlxDrawable*>(handle);
        if (drawable == nullptr || drawable->surface == 0 || drawable->window == 0)
        {
            return false;
        }
        glXSwapBuffers(mDisplay, drawable->surface);
        return true;
    }

    bool HasEntryPoint(const char* name) override
    {
        // Both have their GLX counterparts in every GLX 1.3 server.
        const std::string wanted = name != nullptr ? name : "";
        return wanted == "wglGetExtensionsStringARB" || wanted == "wglChoosePixelFormatARB";
    }
    std::string GetExtensionsString(GLDrawable) override
    {
        const char* names = glXQueryExtensionsString(mDisplay, DefaultScreen(mDisplay));
        // Frame-buffer configurations are GLX 1.3's pixel formats.
        return std::string(names != nullptr ? names : "") + " WGL_ARB_pixel_format";
    }
    GLError GetLastError() override
    {
        const int code = errno;
        return GLError{code, std::strerror(code)};
    }

private:
    static std::vector<int> BaseAttributes()
    {
        return {GLX_X_RENDERABLE,  True,
                GLX_RENDER_TYPE,   GLX_RGBA_BIT,
                GLX_DRAWABLE_TYPE, GLX_WINDOW_BIT | GLX_PBUFFER_BIT,
                GLX_RED_SIZE,      8,
                GLX_GREEN_SIZE,    8,
                GLX_BLUE_SIZE,     8};
    }
    std::int32_t Choose(std::vector<int> attributes)
    {
        attributes.push_back(None);
        int count = 0;
        GLXFBConfig* chosen = glXChooseFBConfig(mDisplay, DefaultScreen(mDisplay), attributes.data(), &count);
        std::int32_t format = 0;
        for (int i = 0; i < count && format == 0; ++i)
        {
            format = FormatOf(chosen[i]);
        }
        if (chosen != nullptr)
        {
            XFree(chosen);
        }
        return format;
    }
    int Attribute(GLXFBConfig config, int name) const
    {
        int value = 0;
        return glXGetFBConfigAttrib(mDisplay, config, name, &value) == Success ? value : 0;
    }
    std::uint64_t VisualOf(GLXFBConfig config) const
    {
        return static_cast<std::uint64_t>(Attribute(config, GLX_VISUAL_ID));
    }
    bool Known(std::int32_t format) const
    {
        return format >= 1 && format <= static_cast<std::int32_t>(mConfigs.size());
    }
    GLXFBConfig Config(std::int32_t format) const { return mConfigs[static_cast<std::size_t>(format - 1)]; }
    std::int32_t FormatOf(GLXFBConfig config) const
    {
        for (std::size_t i = 0; i < mConfigs.size(); ++i)
        {
            if (mConfigs[i] == config)
            {
                return static_cast<std::int32_t>(i + 1);
            }
        }
        return 0;
    }
    // A 1 x 1 pbuffer of the format, for a context that needs no surface of its own.
    GLXDrawable NullSurface(std::int32_t format)
    {
        auto found = mNullSurfaces.find(format);
        if (found != mNullSurfaces.end())
        {
            return found->second;
        }
        ErrorTrap trap(mDisplay);
        const int attributes[] = {GLX_PBUFFER_WIDTH, 1, GLX_PBUFFER_HEIGHT, 1, None};
        GLXPbuffer pbuffer = glXCreatePbuffer(mDisplay, Config(format), attributes);
        if (trap.Check() != 0 || pbuffer == 0)
        {
            return 0;
        }
        mNullSurfaces.emplace(format, pbuffer);
        return pbuffer;
    }

    Display* mDisplay;
    std::vector<GLXFBConfig> mConfigs;
    bool mSwapMethod;
    std::map<GLXContext, std::int32_t> mContextFormats;
    std::map<std::int32_t, GLXPbuffer> mNullSurfaces;
};

} // namespace

std::unique_ptr<IGLPlatform> MakeGlxPlatform()
{
    if (!InitializeWindowSystem())
    {
        return nullptr;
    }
    auto* display = static_cast<Display*>(GetNativeDisplay());
    int errorBase = 0;
    int eventBase = 0;
    int major = 0;
    int minor = 0;
    if (display == nullptr || !glXQueryExtension(display, &errorBase, &eventBase) ||
        !glXQueryVersion(display, &major, &minor) || major < 1 || (major == 1 && minor < 3))
    {
        return nullptr;
    }
    int count = 0;
    GLXFBConfig* all = glXGetFBConfigs(display, DefaultScreen(display), &count);
    if (all == nullptr || count <= 0)
    {
        return nullptr;
    }
    std::vector<GLXFBConfig> configs(all, all + count);
    XFree(all);
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    const bool swapMethod =
        extensions != nullptr && std::strstr(extensions, "GLX_OML_swap_method") != nullptr;
    return std::make_unique<GlxPlatform>(display, std::move(configs), swapMethod);
}

} // namespace KR::Platform
