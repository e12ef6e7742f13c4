#pragma once
// KR::LGDIRenderer, renderer kind 1: the renderer every window of the program draws
// through. Each window context keeps two back surfaces (GDIRenderContextInfo.h); a frame
// draws into the front one under the context's translation and clip, and RenderFinish
// copies only the window's dirty rectangles into the window (platform/graphics/Present.h).
// The front surface keeps its pixels between frames unless the viewport changed size or
// the whole of it is dirty, so a partial repaint draws over the last frame.
//
// Shapes are drawn without antialiasing, images with nearest-neighbour sampling; text
// comes from the font files fontconfig chooses, at points x DPI / 72 pixels, and is
// measured from the fonts' own tables. The renderer belongs to the user-interface thread.

#include "kr/core/RCPtr.h"
#include "kr/render/Bitmap.h"
#include "kr/render/PurgableObjectCache.h"
#include "kr/render/Renderer.h"
#include "kr/render/gdi/GDIRenderContextInfo.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Path.h"
#include "platform/graphics/Surface.h"

#include <cstdint>
#include <functional>
#include <unordered_map>

namespace KR
{

class LGDIRenderer : public LRenderer
{
public:
    // A 32-bit millisecond clock; it decides when the bitmap cache is purged.
    using Clock = std::function<std::uint32_t()>;

    // The polyline's outline, kept untransformed between frames.
    class LGraphicsPath : public virtual LRefCountedObject
    {
    public:
        Platform::Path path;
    };

    // The bitmap cache's key: a bitmap resized to a destination size. Equal when they hold
    // the same bitmap object and size.
    template <int Bits>
    struct CashableBitmapDescriptor
    {
        ConstRCPtr<LBitmap> bitmap;
        std::int32_t width = 0;
        std::int32_t height = 0;

        friend bool operator==(const CashableBitmapDescriptor& a, const CashableBitmapDescriptor& b)
        {
            return a.bitmap == b.bitmap && a.width == b.width && a.height == b.height;
        }
    };
    using BitmapDescriptor = CashableBitmapDescriptor<8>;

    // A bitmap resized once to a destination size, then only copied.
    class LCachedBitmap : public virtual LRefCountedObject
    {
    public:
        explicit LCachedBitmap(Platform::Surface image) : image(std::move(image)) {}
        Platform::Surface image;
    };

    static std::int32_t PathHandle(const PolylineT<float>& line) { return line.handle; }
    static BitmapDescriptor BitmapHandle(const BitmapDescriptor& key) { return key; }
    // All cuts of one image sheet share a bucket.
    static std::uint32_t BitmapBucket(const BitmapDescriptor& key);

    using PathCache = PurgableObjectCache<LGraphicsPath, PolylineT<float>, std::int32_t, &PathHandle>;
    using BitmapCache =
        PurgableObjectCache<LCachedBitmap, BitmapDescriptor, BitmapDescriptor, &BitmapHandle, &BitmapBucket>;

    static constexpr std::uint32_t kPurgeInterval = 300000;
    static constexpr std::int32_t kCacheEntries = 256;

    // Without a clock the process's monotonic milliseconds serve.
    explicit LGDIRenderer(Clock clock = {});
    ~LGDIRenderer() override;

    Result GetFontMetrics(const RCPtr<LFont>& font, std::int32_t& lineHeight, std::int32_t& ascent,
                          std::int32_t& descent) override;
    Result MeasureText(RectT<float>& box, const String& text, const RCPtr<LFont>& font) override;
    std::int32_t GetKind() const override { return kRenderer2D; }
    Result InitRenderContextInfo(const RectI& viewport, WindowHandle window, bool offscreen,
                                 RCPtr<LRenderContextInfo>& context) override;
    Result RenderStart(const RCPtr<LRenderContextInfo>& context) override;
    Result RenderFinish(const RCPtr<LRenderContextInfo>& context) override;
    Result DrawText(const String& text, const RCPtr<LFont>& font, const PointI& position,
                    const ColorF& color) override;
    Result DrawRect(const RectI& rect, const ColorF& color, float penWidth) override;
    // Blend false writes the colour into the front surface's pixels (bitmap coordinates:
    // neither translation nor clip applies), only those inside the surface.
    Result FillRect(const RectI& rect, const ColorF& color, bool blend) override;
    Result FillColorRects(ColorRectListT<float>& rects, const PointD& offset, bool flag) override;
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
    // The bitmap resized by the type (0 stretch, 1 tile, 2 centre; a bitmap drawn at its own
    // size is copied whatever the type) into a picture made once per (bitmap, size) and
    // kept in the bitmap cache, then copied to the destination's corner. Throws without a
    // context and for another type at another size.
    Result DrawBitmap(const ConstRCPtr<LBitmap>& bitmap, const RectI& destination,
                      std::int32_t resizeType) override;
    Result DrawImage(const RCPtr<LRenderContextInfo>& source, const PointI& destination,
                     const RectI& sourceRect) override;
    Result ScrollImage(const RCPtr<LRenderContextInfo>& context, const PointI& offset) override;
    bool CanMoveFramePixels() const override { return true; }
    Result MoveFramePixels(const RectI& area, const PointI& delta) override;
    // What the base's PushClip and RestoreState do through SetClipRect and Translate,
    // done in one go: a paint pushes and pops a clip for every control it draws.
    Result PushClip(const RectD& bounds, const RectD& clip, const RCPtr<LStencil>& stencil,
                    bool clipToBounds) override;
    Result RestoreState() override;
    Result SetClipRect(const RectD& clip) override;
    Result Translate(const PointD& offset) override;

    // Text measures R((9600 / dpi) x right / 100 + 3) wide off 96 DPI, `right` at 96.
    static float ScaleMeasuredWidth(float right, std::int32_t screenDpi);

    // 96 each (the program never changes them); tests reach the other branches.
    void SetScreenDpi(std::int32_t dpi) { mScreenDpi = dpi; }
    void SetFrameDpi(std::int32_t dpi) { mFrameDpi = dpi; }
    float GetScale() const { return mScale; }

    const RCPtr<LGDIRenderContextInfo>& GetCurrentGDIContext() const { return mCurrent; }
    const PathCache& GetPathCache() const { return mPathCache; }
    BitmapCache& GetBitmapCache() { return mBitmapCache; }
    std::uint32_t GetLastPurgeTime() const { return mLastPurgeTime; }

private:
    enum class PathKind
    {
        kSegments,
        kPolyline,
        kPolygon,
    };
    Result DrawPath(PolylineT<float>& line, const ColorF& color, const PointT<float>& offset,
                    const PointT<float>& scale, bool keepCached, PathKind kind, bool fill);
    // The newest entered context when it is one of ours, else null.
    void FindCurrentContext();
    // The device translation and clip of the context's front surface, set whole from its state.
    static void ApplyDeviceState(LGDIRenderContextInfo& context);
    // The current context's front canvas, given the translation and clip the frame set
    // since it last drew. Only with a current context.
    Platform::Canvas& Graphics();
    const Platform::Font& FontFor(const LFont& font);
    double PixelsPerPoint() const;

    Clock mClock;
    float mScale = 1.0f;
    RCPtr<LGDIRenderContextInfo> mCurrent;
    std::int32_t mScreenDpi = 96;
    std::int32_t mFrameDpi = 96;
    BitmapCache mBitmapCache{kCacheEntries};
    PathCache mPathCache{kCacheEntries};
    std::uint32_t mLastPurgeTime = 0;
    // Fonts by unique id, which is never reused: one fontconfig answer per font object.
    std::unordered_map<std::int32_t, const Platform::Font*> mFonts;
};

} // namespace KR
