#pragma once
// A renderer that takes every call and draws nothing: the renderer windows get before a
// real one is installed, and a model for stand-ins. It keeps the shared state stack, so
// a frame through it behaves as through any renderer; it measures every text as empty
// and every font as 0.

#include "kr/render/Renderer.h"

namespace KR
{

class LInertRenderContextInfo : public LRenderContextInfo
{
public:
    using LRenderContextInfo::LRenderContextInfo;
    PointI GetMaxImageSize() const override { return PointI{0, 0}; }
};

class LInertRenderer : public LRenderer
{
public:
    explicit LInertRenderer(std::int32_t kind) : mKind(kind) {}

    Result GetFontMetrics(const RCPtr<LFont>& font, std::int32_t& lineHeight, std::int32_t& ascent,
                          std::int32_t& descent) override;
    Result MeasureText(RectT<float>& box, const String& text, const RCPtr<LFont>& font) override;
    std::int32_t GetKind() const override { return mKind; }
    Result InitRenderContextInfo(const RectI& viewport, WindowHandle window, bool offscreen,
                                 RCPtr<LRenderContextInfo>& context) override;
    Result DrawText(const String&, const RCPtr<LFont>&, const PointI&, const ColorF&) override { return kOk; }
    Result DrawRect(const RectI&, const ColorF&, float) override { return kOk; }
    Result FillRect(const RectI&, const ColorF&, bool) override { return kOk; }
    Result FillColorRects(ColorRectListT<float>&, const PointD&, bool) override { return kOk; }
    Result DrawLine(const PointT<float>&, const PointT<float>&, const ColorF&, float) override { return kOk; }
    Result DrawLineSegments(PolylineT<float>&, const ColorF&, const PointT<float>&, const PointT<float>&,
                            bool) override
    {
        return kOk;
    }
    Result DrawPolyline(PolylineT<float>&, const ColorF&, const PointT<float>&, const PointT<float>&,
                        bool) override
    {
        return kOk;
    }
    Result DrawPolygon(PolylineT<float>&, const ColorF&, const PointT<float>&, const PointT<float>&,
                       bool) override
    {
        return kOk;
    }
    Result FillPolygon(PolylineT<float>&, const ColorF&, const PointT<float>&, const PointT<float>&,
                       bool) override
    {
        return kOk;
    }
    Result DrawBitmap(const ConstRCPtr<LBitmap>&, const RectI&, std::int32_t) override { return kOk; }
    Result DrawImage(const RCPtr<LRenderContextInfo>&, const PointI&, const RectI&) override { return kOk; }
    Result ScrollImage(const RCPtr<LRenderContextInfo>&, const PointI&) override { return kOk; }

private:
    std::int32_t mKind;
};

} // namespace KR
