// Pictures and text of the GL renderer: bitmaps from one texture per sheet, offscreen
// images as textured quads, and text through the font renderer.
#include "kr/render/gl/GLRenderer.h"

#include "kr/core/Exception.h"
#include "platform/gl/GLFunctions.h"

#include <stdexcept>

namespace KR
{

using namespace Platform::GLc;
using Platform::GetGL;

namespace
{

constexpr char kNullBitmapSite[] =
    " : KR::LGLRenderer::DrawBitmap : Renderer\\OpenGL\\GLRenderer : Line 1102";

RectT<float> Corners(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1)
{
    return RectT<float>{static_cast<float>(x0), static_cast<float>(y0), static_cast<float>(x1),
                        static_cast<float>(y1)};
}

// The source context as an offscreen GL context, or null.
RCPtr<LGLRenderContextInfo> OffscreenContext(const RCPtr<LRenderContextInfo>& context)
{
    RCPtr<LGLRenderContextInfo> gl(context);
    return gl && gl->offscreen ? gl : nullptr;
}

} // namespace

Result LGLRenderer::DrawBitmap(const ConstRCPtr<LBitmap>& bitmap, const RectI& destination,
                               std::int32_t resizeType)
{
    if (!bitmap)
    {
        ThrowFailedResult(kInvalidArg, kNullBitmapSite);
    }
    const Platform::GLFunctions& gl = GetGL();
    const RectI& source = bitmap->GetRect();
    RCPtr<LGLTexture>& slot = mTextures.GetEntry(bitmap, false);
    if (!slot || slot->GetName() == LGLTexture::kNoName || !gl.glIsTexture(slot->GetName()))
    {
        RCPtr<LGLTexture> texture(new LGLTexture);
        texture->SetBitmap(bitmap);
        slot = texture;
    }
    const RCPtr<LGLTexture> texture = slot;
    gl.glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    const std::int32_t sx = source.x;
    const std::int32_t sy = source.y;
    const std::int32_t sw = source.width;
    const std::int32_t sh = source.height;
    if (sw == destination.width && sh == destination.height)
    {
        resizeType = kResizeStretch;
    }
    const RectT<float> region = Corners(sx, sy, sx + sw, sy + sh);
    const std::int32_t dx = destination.x;
    const std::int32_t dy = destination.y;
    switch (resizeType)
    {
    case kResizeStretch:
        texture->DrawRegion(region, Corners(dx, dy, dx + destination.width, dy + destination.height));
        break;
    case kResizeTile:
        // A source without area would never advance.
        if (sw <= 0 || sh <= 0)
        {
            break;
        }
        for (std::int64_t x = dx; x < std::int64_t{dx} + destination.width; x += sw)
        {
            for (std::int64_t y = dy; y < std::int64_t{dy} + destination.height; y += sh)
            {
                texture->DrawRegion(region,
                                    RectT<float>{static_cast<float>(x), static_cast<float>(y),
                                                 static_cast<float>(x + sw), static_cast<float>(y + sh)});
            }
        }
        break;
    case kResizeCentre:
    {
        const std::int32_t x = dx + (destination.width - sw) / 2;
        const std::int32_t y = dy + (destination.height - sh) / 2;
        texture->DrawRegion(region, Corners(x, y, x + sw, y + sh));
        break;
    }
    default:
        Throw<std::logic_error>("Logic Error : Invalid ResizeType passed to DrawBitmap! : "
                                "KR::LGLRenderer::DrawBitmap : Renderer\\OpenGL\\GLRenderer : Line 1152");
    }
    return kOk;
}

Result LGLRenderer::DrawImage(const RCPtr<LRenderContextInfo>& sourceContext, const PointI& destination,
                              const RectI& sourceRect)
{
    const RCPtr<LGLRenderContextInfo> source = OffscreenContext(sourceContext);
    if (!source)
    {
        return kInvalidArg;
    }
    const Platform::GLFunctions& gl = GetGL();
    gl.glEnable(kTexture2D);
    gl.glBindTexture(kTexture2D, source->GetTextureName());
    gl.glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    const auto width = static_cast<float>(source->viewport.width);
    const auto height = static_cast<float>(source->viewport.height);
    const auto x = static_cast<float>(sourceRect.x);
    const auto y = static_cast<float>(sourceRect.y);
    const auto w = static_cast<float>(sourceRect.width);
    const auto h = static_cast<float>(sourceRect.height);
    const float s0 = x / width;
    const float t0 = (height - y) / height;
    const float s1 = (x + w) / width;
    const float t1 = (height - y - h) / height;
    const auto px = static_cast<float>(destination.x);
    const auto py = static_cast<float>(destination.y);
    gl.glBegin(kQuads);
    gl.glTexCoord2f(s0, t0);
    gl.glVertex2f(px, py);
    gl.glTexCoord2f(s0, t1);
    gl.glVertex2f(px, py + h);
    gl.glTexCoord2f(s1, t1);
    gl.glVertex2f(px + w, py + h);
    gl.glTexCoord2f(s1, t0);
    gl.glVertex2f(px + w, py);
    gl.glEnd();
    return kOk;
}

Result LGLRenderer::ScrollImage(const RCPtr<LRenderContextInfo>& context, const PointI& offset)
{
    const RCPtr<LGLRenderContextInfo> image = OffscreenContext(context);
    if (!image)
    {
        return kInvalidArg;
    }
    RenderStart(context);
    const RectI& viewport = image->viewport;
    const RectD bounds = IntRectToDouble(viewport);
    PushClip(bounds, bounds, nullptr, false);
    const Platform::GLFunctions& gl = GetGL();
    gl.glEnable(kTexture2D);
    gl.glBindTexture(kTexture2D, image->GetTextureName());
    gl.glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    const auto width = static_cast<float>(viewport.width);
    const auto height = static_cast<float>(viewport.height);
    const float s0 = static_cast<float>(viewport.x) / width;
    const float s1 = (static_cast<float>(viewport.x) + width) / width;
    const auto ox = static_cast<float>(offset.x);
    const auto oy = static_cast<float>(offset.y);
    // The image's pixels, alpha included, replace what lies under them.
    gl.glBlendFunc(kOne, kZero);
    gl.glBegin(kQuads);
    gl.glTexCoord2f(s0, 1.0f);
    gl.glVertex2f(ox, oy);
    gl.glTexCoord2f(s0, 0.0f);
    gl.glVertex2f(ox, oy + height);
    gl.glTexCoord2f(s1, 0.0f);
    gl.glVertex2f(ox + width, oy + height);
    gl.glTexCoord2f(s1, 1.0f);
    gl.glVertex2f(ox + width, oy);
    gl.glEnd();
    gl.glBlendFunc(kSrcAlpha, kOneMinusSrcAlpha);
    RestoreState();
    RenderFinish(context);
    return kOk;
}

Result LGLRenderer::DrawText(const String& text, const RCPtr<LFont>& font, const PointI& position,
                             const ColorF& color)
{
    if (!mFontRenderer || text.IsEmpty())
    {
        return kOk;
    }
    GetGL().glColor4f(color.red, color.green, color.blue, color.alpha);
    Translate(PointD{static_cast<double>(position.x), static_cast<double>(position.y)});
    try
    {
        mFontRenderer->ProcessText(text, font, mFontRenderer->GetSecondProcessor(), 0, 0.0f,
                                   LFontRenderer::kDrawFlags);
    }
    catch (...)
    {
        Translate(PointD{-static_cast<double>(position.x), -static_cast<double>(position.y)});
        throw;
    }
    Translate(PointD{-static_cast<double>(position.x), -static_cast<double>(position.y)});
    return kOk;
}

Result LGLRenderer::MeasureText(RectT<float>& box, const String& text, const RCPtr<LFont>& font)
{
    box = RectT<float>{};
    if (mFontRenderer)
    {
        mFontRenderer->MeasureText(box, text, font);
    }
    return kOk;
}

Result LGLRenderer::GetFontMetrics(const RCPtr<LFont>& font, std::int32_t& lineHeight, std::int32_t& ascent,
                                   std::int32_t& descent)
{
    if (!mFontRenderer)
    {
        return kFail;
    }
    return mFontRenderer->GetFontMetrics(font, lineHeight, ascent, descent);
}

} // namespace KR
