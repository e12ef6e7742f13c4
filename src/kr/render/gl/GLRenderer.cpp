#include "kr/render/gl/GLRenderer.h"

#include "kr/core/Exception.h"
#include "kr/render/FrameworkTexts.h"
#include "kr/render/RendererFactory.h"
#include "kr/render/gdi/StandardRenderers.h"
#include "kr/render/gl/FreetypeFontRenderer.h"
#include "kr/render/gl/GLGlyphRenderer.h"
#include "platform/gl/GLFunctions.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <string>

namespace KR
{

using namespace Platform::GLc;
using Platform::GetGL;
namespace Flags = Platform::GLFormatFlags;

namespace
{

constexpr std::string_view kCaptionKey = "GL_ERROR_CAPTION";
constexpr std::string_view kAdviceKey = "GL_ERROR_UPDATE_DRIVER";
constexpr std::string_view kChooseKey = "GL_ERROR_MESSAGE_CHOOSE_PIXEL_FORMAT";
constexpr std::string_view kSetKey = "GL_ERROR_MESSAGE_SET_PIXEL_FORMAT";
constexpr std::string_view kCreateKey = "GL_ERROR_MESSAGE_CREATE_CONTEXT";
constexpr std::string_view kProcAddressKey = "GL_ERROR_MESSAGE_GET_PROC_ADDRESS";
constexpr std::string_view kMakeCurrentKey = "GL_ERROR_MESSAGE_MAKE_CONTEXT_CURRENT";

// The extension-entry message box holds at most this many characters.
constexpr std::size_t kMessageLength = 179;

std::uint32_t MonotonicMilliseconds()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

// The first %d and the first %s of a table text filled in place; never handed to printf,
// since the table is a file anyone can edit.
std::string FillErrorText(std::string format, const Platform::GLError& error, std::size_t limit)
{
    const std::size_t number = format.find("%d");
    if (number != std::string::npos)
    {
        format.replace(number, 2, std::to_string(error.code));
    }
    const std::size_t text = format.find("%s", number == std::string::npos ? 0 : number);
    if (text != std::string::npos)
    {
        format.replace(text, 2, error.text);
    }
    if (format.size() > limit)
    {
        std::size_t cut = limit;
        // Not inside a UTF-8 sequence.
        while (cut > 0 && (static_cast<unsigned char>(format[cut]) & 0xC0) == 0x80)
        {
            --cut;
        }
        format.resize(cut);
    }
    return format;
}

} // namespace

std::string_view LGLRenderer::EnglishText(std::string_view key)
{
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kTexts{{
        {kCaptionKey, "OpenGL Error"},
        {kAdviceKey, "Updating your video card driver, with the latest driver from the manufacturer of your "
                     "video card, may solve this issue."},
        {kChooseKey, "ChoosePixelFormat failed."},
        {kSetKey, "SetPixelFormat failed."},
        {kCreateKey, "wglCreateContext failed."},
        {kProcAddressKey, "wglGetProcAddress failed with error %d: %s."},
        {kMakeCurrentKey, "wglMakeCurrent failed with error %d: %s."},
    }};
    for (const auto& [name, text] : kTexts)
    {
        if (name == key)
        {
            return text;
        }
    }
    return {};
}

std::string LGLRenderer::Text(std::string_view key) const
{
    std::string text = mServices.texts ? mServices.texts(key) : GetFrameworkText(key);
    return text.empty() ? std::string(EnglishText(key)) : text;
}

void LGLRenderer::ShowMessage(const std::string& text, std::uint32_t style) const
{
    const std::string caption = Text(kCaptionKey);
    if (mServices.messageBox)
    {
        mServices.messageBox(text, caption, style);
    }
    else if (!ShowFrameworkMessageBox(text, caption, style))
    {
        // No application to show it: the one place left where someone may read it.
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    }
}

void LGLRenderer::Fail(std::string_view key, const char* text)
{
    ShowMessage(Text(key) + Text(kAdviceKey), kStyleExclamation);
    Throw<std::runtime_error>(text);
}

LGLRenderer::LGLRenderer(WindowHandle window, std::shared_ptr<Platform::IGLPlatform> platform,
                         Services services)
    : mPlatform(std::move(platform)), mServices(std::move(services)), mWindow(window)
{
    if (!mServices.clock)
    {
        mServices.clock = &MonotonicMilliseconds;
    }
    mLastPurgeTime = mServices.clock();
    Platform::IGLPlatform& platformRef = *mPlatform;

    Platform::GLDrawable windowDrawable = platformRef.GetDrawable(mWindow, 1, 1);
    Platform::GLDrawable temporary = nullptr;
    // Whatever the set-up leaves behind when it throws.
    auto cleanUp = [&](bool keepContext)
    {
        platformRef.MakeCurrent(nullptr, nullptr);
        if (!keepContext && mContext != nullptr)
        {
            platformRef.DeleteContext(mContext);
            mContext = nullptr;
        }
        if (temporary != nullptr)
        {
            platformRef.DestroyTemporaryDrawable(temporary);
        }
        platformRef.ReleaseDrawable(windowDrawable);
    };
    try
    {
        const std::uint32_t wanted = Flags::kDrawToWindow | Flags::kSupportOpenGL | Flags::kSwapCopy |
                                     (mDoubleBuffered ? Flags::kDoubleBuffer : 0);
        mPixelFormat = platformRef.ChoosePixelFormat(windowDrawable, wanted);
        if (mPixelFormat == 0)
        {
            Fail(kChooseKey, kChooseFailedText);
        }
        temporary = platformRef.CreateTemporaryDrawable();
        if (temporary == nullptr)
        {
            Throw<std::runtime_error>(kNoTemporaryText);
        }
        if (!platformRef.SetPixelFormat(temporary, mPixelFormat))
        {
            Fail(kSetKey, kSetFailedText);
        }
        mContext = platformRef.CreateContext(temporary);
        if (mContext == nullptr)
        {
            Fail(kCreateKey, kCreateFailedText);
        }
        mFormatFlags = 0;
        platformRef.DescribePixelFormat(temporary, mPixelFormat, mFormatFlags);
        mDoubleBuffered = (mFormatFlags & Flags::kDoubleBuffer) != 0;
        mSwapsCopy = (mFormatFlags & Flags::kSwapCopy) != 0 && (mFormatFlags & Flags::kComposition) == 0;
        platformRef.MakeCurrent(temporary, mContext);
        if ((!mDoubleBuffered || !mSwapsCopy) && IsExtensionSupported(temporary, "WGL_ARB_pixel_format") &&
            platformRef.HasEntryPoint("wglChoosePixelFormatARB"))
        {
            ChooseExtendedFormat(windowDrawable);
        }
    }
    catch (...)
    {
        cleanUp(false);
        throw;
    }
    cleanUp(true);
}

void LGLRenderer::ChooseExtendedFormat(Platform::GLDrawable windowDrawable)
{
    static constexpr std::int32_t kAttributes[] = {0x2001, 1, 0x2013, 0x202B, 0x2011, 1, 0x2007, 0x2029, 0};
    std::vector<std::int32_t> formats;
    if (!mPlatform->ChoosePixelFormatExtended(windowDrawable, kAttributes, formats, 64) || formats.empty())
    {
        return;
    }
    const std::int32_t candidate = formats.front();
    std::uint32_t flags = 0;
    mPlatform->DescribePixelFormat(windowDrawable, candidate, flags);
    // A driver reports its hardware format 14 as generic; it is not.
    if (candidate == 14 && flags == 0x8465)
    {
        flags = 0x8425;
    }
    if ((flags & Flags::kGeneric) != 0)
    {
        return;
    }
    if (!mPlatform->SetPixelFormat(windowDrawable, candidate))
    {
        Fail(kSetKey, kExtendedSetFailedText);
    }
    Platform::GLContext context = mPlatform->CreateContext(windowDrawable);
    if (context == nullptr)
    {
        return;
    }
    if (mContext != nullptr)
    {
        mPlatform->DeleteContext(mContext);
    }
    mContext = context;
    mFormatFlags = flags;
    mDoubleBuffered = (flags & Flags::kDoubleBuffer) != 0;
    mPixelFormat = candidate;
    mSwapsCopy = (flags & Flags::kSwapCopy) != 0;
}

LGLRenderer::~LGLRenderer()
{
    if (mContext == nullptr)
    {
        return;
    }
    // The caches hold GL names: they are freed while the context is current.
    const bool current = mPlatform->MakeCurrent(nullptr, mContext);
    if (current)
    {
        mFilledPolygons.Clear();
        mPolygonOutlines.Clear();
        mSegments.Clear();
        mPolylines.Clear();
        mColorRects.Clear();
        mTextures.Clear();
        // The glyph atlases are textures too.
        mFontRenderer = nullptr;
    }
    mPlatform->MakeCurrent(nullptr, nullptr);
    mPlatform->DeleteContext(mContext);
}

bool LGLRenderer::IsExtensionSupported(Platform::GLDrawable drawable, const char* name)
{
    const std::string_view wanted = name != nullptr ? name : "";
    if (wanted.empty() || wanted.find(' ') != std::string_view::npos)
    {
        return false;
    }
    if (!mPlatform->HasEntryPoint("wglGetExtensionsStringARB"))
    {
        const Platform::GLError error = mPlatform->GetLastError();
        ShowMessage(FillErrorText(Text(kProcAddressKey) + Text(kAdviceKey), error, kMessageLength), kStyleOk);
        return false;
    }
    const std::string list = mPlatform->GetExtensionsString(drawable);
    for (std::size_t at = list.find(wanted); at != std::string::npos;
         at = list.find(wanted, at + wanted.size()))
    {
        const std::size_t end = at + wanted.size();
        if ((at == 0 || list[at - 1] == ' ') && (end == list.size() || list[end] == ' '))
        {
            return true;
        }
    }
    return false;
}

Result LGLRenderer::InitRenderContextInfo(const RectI& viewport, WindowHandle window, bool offscreen,
                                          RCPtr<LRenderContextInfo>& context)
{
    auto* created = new LGLRenderContextInfo(viewport, window, offscreen, mPlatform);
    context = RCPtr<LRenderContextInfo>(created);
    if (!mPlatform->SetPixelFormat(created->GetDrawable(), mPixelFormat))
    {
        ShowMessage(Text(kSetKey) + Text(kAdviceKey), kStyleExclamation);
        Throw<std::runtime_error>(kContextSetFailedText);
    }
    // With no context current the GL answers nothing and keeps no state.
    if (mPlatform->MakeCurrent(created->GetDrawable(), mContext))
    {
        Platform::GLint dimensions[2] = {0, 0};
        GetGL().glGetIntegerv(kMaxViewportDims, dimensions);
        created->maxViewportWidth = dimensions[0];
        created->maxViewportHeight = dimensions[1];
        InitGLState();
        if (mCurrent)
        {
            mPlatform->MakeCurrent(mCurrent->GetDrawable(), mContext);
        }
        else
        {
            mPlatform->MakeCurrent(nullptr, nullptr);
        }
    }
    return kOk;
}

void LGLRenderer::InitGLState()
{
    const Platform::GLFunctions& gl = GetGL();
    gl.glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    gl.glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    gl.glDisable(kLighting);
    gl.glDisable(kDither);
    gl.glDisable(kDepthTest);
    gl.glShadeModel(kSmooth);
    gl.glDisable(kCullFace);
    gl.glEnable(kTexture2D);
    gl.glEnable(kBlend);
    gl.glBlendFunc(kSrcAlpha, kOneMinusSrcAlpha);
    gl.glHint(kLineSmoothHint, kNicest);
    gl.glHint(kPerspectiveCorrectionHint, kNicest);
    gl.glHint(kPolygonSmoothHint, kNicest);
    gl.glPixelStorei(kUnpackAlignment, 1);
    gl.glEnable(kAlphaTest);
    gl.glAlphaFunc(kGreater, 0.003921569f);
    gl.glTexEnvi(kTextureEnv, kTextureEnvMode, static_cast<Platform::GLint>(kModulate));
    gl.glEnable(kPointSmooth);
    gl.glEnable(kLineSmooth);
    gl.glDisable(kPolygonSmooth);
    gl.glMatrixMode(kModelView);
    gl.glLoadIdentity();
    gl.glEnable(kScissorTest);
}

Result LGLRenderer::SetViewport(const RectI& viewport)
{
    LRenderer::SetViewport(viewport);
    if (!mCurrent)
    {
        return kOk;
    }
    const Platform::GLFunctions& gl = GetGL();
    gl.glViewport(viewport.x, viewport.y, viewport.width, viewport.height);
    Platform::GLint applied[4] = {0, 0, 0, 0};
    gl.glGetIntegerv(kViewport, applied);
    gl.glMatrixMode(kProjection);
    gl.glLoadIdentity();
    gl.glOrtho(0.0, applied[2], applied[3], 0.0, -1.0, 1.0);
    gl.glMatrixMode(kModelView);
    return kOk;
}

Result LGLRenderer::RenderStart(const RCPtr<LRenderContextInfo>& context)
{
    LRenderer::RenderStart(context);
    mCurrent = RCPtr<LGLRenderContextInfo>(GetCurrentContext());
    if (!mCurrent)
    {
        return kOk;
    }
    if (!mPlatform->MakeCurrent(mCurrent->GetDrawable(), mContext))
    {
        const Platform::GLError error = mPlatform->GetLastError();
        LRenderer::RenderFinish(context);
        mCurrent = RCPtr<LGLRenderContextInfo>(GetCurrentContext());
        ShowMessage(FillErrorText(Text(kMakeCurrentKey) + Text(kAdviceKey), error, std::string::npos),
                    kStyleExclamation);
        Throw<std::runtime_error>(kMakeCurrentFailedText);
    }
    SetViewport(mCurrent->viewport);
    GetGL().glPushMatrix();
    ApplyContextClip();
    return kOk;
}

Result LGLRenderer::RenderFinish(const RCPtr<LRenderContextInfo>& context)
{
    if (!mCurrent || context != GetCurrentContext())
    {
        LRenderer::RenderFinish(context);
        mCurrent = RCPtr<LGLRenderContextInfo>(GetCurrentContext());
        return kOk;
    }
    const Platform::GLFunctions& gl = GetGL();
    Platform::DrainGLErrors();
    gl.glPopMatrix();
    if (!mCurrent->offscreen)
    {
        if (!mDoubleBuffered)
        {
            gl.glFlush();
        }
        else if (mSwapsCopy)
        {
            mCurrent->SwapBuffers();
        }
        else
        {
            gl.glFlush();
            CopyBuffer(kBack, kFront, kColor);
        }
        Platform::DrainGLErrors();
    }
    else
    {
        gl.glFlush();
    }
    LRenderer::RenderFinish(context);
    mCurrent = RCPtr<LGLRenderContextInfo>(GetCurrentContext());
    if (!mCurrent)
    {
        const std::uint32_t now = mServices.clock();
        if (now - mLastPurgeTime > kPurgeInterval)
        {
            mLastPurgeTime = now;
            PurgeCaches();
        }
        mPlatform->MakeCurrent(nullptr, nullptr);
        return kOk;
    }
    mPlatform->MakeCurrent(mCurrent->GetDrawable(), mContext);
    SetViewport(mCurrent->viewport);
    ApplyContextClip();
    return kOk;
}

void LGLRenderer::ApplyContextClip()
{
    // The scissor box is the context's own clip, not what the last frame left.
    const RenderState& state = mCurrent->state;
    SetScissor(RectD{state.clip.x + state.offset.x, state.clip.y + state.offset.y, state.clip.width,
                     state.clip.height});
}

void LGLRenderer::CopyBuffer(std::uint32_t readBuffer, std::uint32_t drawBuffer, std::uint32_t type)
{
    const Platform::GLFunctions& gl = GetGL();
    Platform::GLint savedRead = 0;
    Platform::GLint savedDraw = 0;
    gl.glGetIntegerv(kReadBuffer, &savedRead);
    gl.glGetIntegerv(kDrawBuffer, &savedDraw);
    gl.glReadBuffer(readBuffer);
    gl.glDrawBuffer(drawBuffer);
    Platform::GLint viewport[4] = {0, 0, 0, 0};
    gl.glGetIntegerv(kViewport, viewport);
    gl.glMatrixMode(kProjection);
    gl.glPushMatrix();
    gl.glLoadIdentity();
    gl.gluOrtho2D(0.0, viewport[2], 0.0, viewport[3]);
    gl.glMatrixMode(kModelView);
    gl.glPushMatrix();
    gl.glLoadIdentity();
    Platform::GLdouble raster[4] = {0.0, 0.0, 0.0, 1.0};
    gl.glGetDoublev(kCurrentRasterPosition, raster);
    gl.glRasterPos4d(0.0, 0.0, 0.0, 1.0);
    Platform::GLint logicOp = static_cast<Platform::GLint>(kCopy);
    gl.glGetIntegerv(kLogicOpMode, &logicOp);
    gl.glLogicOp(kCopy);
    gl.glCopyPixels(0, 0, viewport[2], viewport[3], type);
    Platform::DrainGLErrors();
    gl.glLogicOp(static_cast<Platform::GLenum>(logicOp));
    gl.glRasterPos4dv(raster);
    gl.glPopMatrix();
    gl.glMatrixMode(kProjection);
    gl.glPopMatrix();
    gl.glMatrixMode(kModelView);
    gl.glReadBuffer(static_cast<Platform::GLenum>(savedRead));
    gl.glDrawBuffer(static_cast<Platform::GLenum>(savedDraw));
}

void LGLRenderer::PurgeCaches()
{
    mTextures.Purge();
    mFilledPolygons.Purge();
    mPolygonOutlines.Purge();
    mSegments.Purge();
    mPolylines.Purge();
    mColorRects.Purge();
}

void InstallRenderersWithOpenGL(std::shared_ptr<Platform::IGLPlatform> platform,
                                LGLRenderer::Services services)
{
    SetRendererFactory(
        [platform = std::move(platform), services = std::move(services)](std::int32_t kind, const RectI&,
                                                                         WindowHandle window)
        {
            if (kind == kRendererOpenGL)
            {
                const RCPtr<LGlyphProcessor> glyphs(LGLGlyphRenderer::Create());
                RCPtr<LFontRenderer> fonts(new LFreetypeFontRenderer(glyphs, glyphs));
                RCPtr<LGLRenderer> renderer(new LGLRenderer(window, platform, services));
                renderer->SetFontRenderer(fonts);
                return RCPtr<LRenderer>(renderer);
            }
            return MakeStandardRenderer(kind, services.clock);
        });
}

} // namespace KR
