#pragma once
// KR::LGLRenderer, renderer kind 0: fixed-function GL through a GL platform (GLPlatform.h),
// one rendering context for every render context of the renderer. Built and tested in
// full, never selected by the program.
//
// Set-up chooses a pixel format on a temporary drawable and, when that format is not a
// double-buffered copying one, tries the extended choice on the window. A frame makes the
// context current on the entered context's drawable, draws under an orthographic
// projection with y down, and ends with a flush, a swap or a back-to-front copy. Geometry
// that callers mark cacheable is compiled into display lists kept in purgeable caches,
// purged at the end of an outermost frame at most every five minutes, while the context
// is still current. Bitmaps draw from one texture per sheet; text goes through a font
// renderer (the FreeType one over the GL glyph renderer when the factory makes it), and
// without one draws and measures nothing.

#include "kr/render/Bitmap.h"
#include "kr/render/PurgableObjectCache.h"
#include "kr/render/Renderer.h"
#include "kr/render/gl/FontRenderer.h"
#include "kr/render/gl/GLDisplayList.h"
#include "kr/render/gl/GLRenderContextInfo.h"
#include "kr/render/gl/GLTexture.h"
#include "platform/gl/GLPlatform.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace KR
{

class LGLRenderer : public LRenderer
{
public:
    using Clock = std::function<std::uint32_t()>;
    // A framework string by key; empty when the table has none.
    using TextSource = std::function<std::string(std::string_view key)>;
    using MessageBox =
        std::function<void(const std::string& text, const std::string& caption, std::uint32_t style)>;

    struct Services
    {
        // Without one the process's monotonic milliseconds serve.
        Clock clock;
        // Without one the installed framework texts serve (FrameworkTexts.h); the
        // built-in English texts fill in what neither gives.
        TextSource texts;
        // Without one the application's message box (FrameworkTexts.h) serves, and
        // without an application the standard error stream.
        MessageBox messageBox;
    };

    static constexpr char kChooseFailedText[] =
        "Runtime Error : KR::LGLRenderer::LGLRenderer : Renderer\\OpenGL\\GLRenderer : Line 144";
    static constexpr char kNoTemporaryText[] =
        "Runtime Error : KR::LGLRenderer::LGLRenderer : Renderer\\OpenGL\\GLRenderer : Line 150";
    static constexpr char kSetFailedText[] =
        "Runtime Error : KR::LGLRenderer::LGLRenderer : Renderer\\OpenGL\\GLRenderer : Line 161";
    static constexpr char kCreateFailedText[] =
        "Runtime Error : KR::LGLRenderer::LGLRenderer : Renderer\\OpenGL\\GLRenderer : Line 171";
    static constexpr char kExtendedSetFailedText[] =
        "Runtime Error : KR::LGLRenderer::LGLRenderer : Renderer\\OpenGL\\GLRenderer : Line 247";
    static constexpr char kContextSetFailedText[] =
        "Runtime Error : KR::LGLRenderer::InitRenderContextInfo : Renderer\\OpenGL\\GLRenderer : Line 334";
    static constexpr char kMakeCurrentFailedText[] =
        "Runtime Error : KR::LGLRenderer::RenderStart : Renderer\\OpenGL\\GLRenderer : Line 380";
    static constexpr std::uint32_t kStyleOk = 0x0;
    static constexpr std::uint32_t kStyleExclamation = 0x30;
    static constexpr std::uint32_t kPurgeInterval = 300000;
    static constexpr std::int32_t kResizeStretch = 0;
    static constexpr std::int32_t kResizeTile = 1;
    static constexpr std::int32_t kResizeCentre = 2;

    static std::int32_t ListHandle(const PolylineT<float>& line) { return line.handle; }
    static std::int32_t RectListHandle(const ColorRectListT<float>& list) { return list.handle; }
    using ListCache = PurgableObjectCache<LGLDisplayList, PolylineT<float>, std::int32_t, &ListHandle>;
    using RectListCache =
        PurgableObjectCache<LGLDisplayList, ColorRectListT<float>, std::int32_t, &RectListHandle>;
    using TextureCache =
        PurgableObjectCache<LGLTexture, ConstRCPtr<LBitmap>, std::int32_t, &LBitmap::GetHandle>;

    // The English text of a framework string key of this renderer; empty for another key.
    static std::string_view EnglishText(std::string_view key);

    // Throws the set-up errors above (after their message boxes).
    LGLRenderer(WindowHandle window, std::shared_ptr<Platform::IGLPlatform> platform, Services services = {});
    ~LGLRenderer() override;

    Result GetFontMetrics(const RCPtr<LFont>& font, std::int32_t& lineHeight, std::int32_t& ascent,
                          std::int32_t& descent) override;
    Result MeasureText(RectT<float>& box, const String& text, const RCPtr<LFont>& font) override;
    std::int32_t GetKind() const override { return kRendererOpenGL; }
    Result InitRenderContextInfo(const RectI& viewport, WindowHandle window, bool offscreen,
                                 RCPtr<LRenderContextInfo>& context) override;
    Result SetViewport(const RectI& viewport) override;
    Result RenderStart(const RCPtr<LRenderContextInfo>& context) override;
    Result RenderFinish(const RCPtr<LRenderContextInfo>& context) override;
    Result DrawText(const String& text, const RCPtr<LFont>& font, const PointI& position,
                    const ColorF& color) override;
    Result DrawRect(const RectI& rect, const ColorF& color, float penWidth) override;
    Result FillRect(const RectI& rect, const ColorF& color, bool blend) override;
    Result FillColorRects(ColorRectListT<float>& rects, const PointD& offset, bool keepCached) override;
    Result DrawLine(const PointT<float>& from, const PointT<float>& to, const ColorF& color,
                    float penWidth) override;
    Result DrawLineSegments(PolylineT<float>& line, const ColorF& color, const PointT<float>& offset,
                            const PointT<float>& scale, bool keepCached) override;
    Result DrawPolyline(PolylineT<float>& line, const ColorF& color, const PointT<float>& offset,
                        const PointT<float>& scale, bool keepCached) override;
    Result DrawPolygon(PolylineT<float>& line, const ColorF& color, const PointT<float>& offset,
                       const PointT<float>& scale, bool keepCached) override;
    Result FillPolygon(PolylineT<float>& line, const ColorF& color, const PointT<float>& offset,
                       const PointT<float>& scale, bool keepCached) override;
    Result DrawBitmap(const ConstRCPtr<LBitmap>& bitmap, const RectI& destination,
                      std::int32_t resizeType) override;
    Result DrawImage(const RCPtr<LRenderContextInfo>& source, const PointI& destination,
                     const RectI& sourceRect) override;
    Result ScrollImage(const RCPtr<LRenderContextInfo>& context, const PointI& offset) override;
    Result SetClipRect(const RectD& clip) override;
    Result Translate(const PointD& offset) override;

    // Whether the window system of the drawable lists the extension. A missing extension
    // entry point shows its message box and answers false.
    bool IsExtensionSupported(Platform::GLDrawable drawable, const char* name);
    void InitGLState();
    void CopyBuffer(std::uint32_t readBuffer, std::uint32_t drawBuffer, std::uint32_t type);
    void PurgeCaches();
    // The scissor box from a rectangle in window coordinates (y down), cut to the viewport.
    void SetScissor(const RectD& rect);

    void SetFontRenderer(RCPtr<LFontRenderer> fontRenderer) { mFontRenderer = std::move(fontRenderer); }
    const RCPtr<LFontRenderer>& GetFontRenderer() const { return mFontRenderer; }
    const TextureCache& GetTextureCache() const { return mTextures; }

    bool IsDoubleBuffered() const { return mDoubleBuffered; }
    bool SwapsCopy() const { return mSwapsCopy; }
    std::int32_t GetPixelFormat() const { return mPixelFormat; }
    std::uint32_t GetFormatFlags() const { return mFormatFlags; }
    Platform::GLContext GetRenderingContext() const { return mContext; }
    std::uint32_t GetLastPurgeTime() const { return mLastPurgeTime; }
    const ListCache& GetFilledPolygonCache() const { return mFilledPolygons; }
    const ListCache& GetPolygonOutlineCache() const { return mPolygonOutlines; }
    const ListCache& GetPolylineCache() const { return mPolylines; }

private:
    enum class LineKind
    {
        kSegments,
        kPolyline,
        kOutline,
        kFill,
    };
    Result DrawCachedLine(PolylineT<float>& line, const ColorF& color, const PointT<float>& offset,
                          const PointT<float>& scale, bool keepCached, LineKind kind);
    // Shows the set-up error of the key and throws the text.
    [[noreturn]] void Fail(std::string_view key, const char* text);
    std::string Text(std::string_view key) const;
    void ShowMessage(const std::string& text, std::uint32_t style) const;
    void ChooseExtendedFormat(Platform::GLDrawable windowDrawable);
    void ApplyContextClip();

    std::shared_ptr<Platform::IGLPlatform> mPlatform;
    Services mServices;
    WindowHandle mWindow;
    bool mDoubleBuffered = true;
    bool mSwapsCopy = true;
    std::uint32_t mLastPurgeTime = 0;
    ListCache mFilledPolygons{256};
    ListCache mPolygonOutlines{256};
    ListCache mSegments{256};
    ListCache mPolylines{256};
    RectListCache mColorRects{256};
    TextureCache mTextures{64};
    Platform::GLContext mContext = nullptr;
    std::uint32_t mFormatFlags = 0;
    std::int32_t mPixelFormat = 0;
    RCPtr<LGLRenderContextInfo> mCurrent;
    RCPtr<LFontRenderer> mFontRenderer;
};

// Installs a renderer factory that makes, for kind 0, the GL glyph renderer, the FreeType
// font renderer on it and this renderer on that, over the platform; the standard
// renderers for the other kinds.
void InstallRenderersWithOpenGL(std::shared_ptr<Platform::IGLPlatform> platform,
                                LGLRenderer::Services services);

} // namespace KR
