#pragma once
// A renderer for tests: it draws nothing and records every drawing call with its
// arguments and the state in force (origin, clip, scale factor, stencil), counts the
// pushes and pops, and records each call of the three state setters, so a test sees what
// an override of a real renderer would see. It measures a text as `charWidth` per
// character and answers font metrics from its fields.
//
//     KR::RCPtr<KR::TestSupport::LRecordingRenderer> renderer(new KR::TestSupport::LRecordingRenderer);
//     auto context = renderer->MakeContext({0, 0, 200, 100});
//     renderer->RenderStart(context);
//     ... draw ...
//     renderer->RenderFinish(context);
//     EXPECT_EQ(renderer->calls[0].op, "FillRect");

#include "kr/render/Bitmap.h"
#include "kr/render/Font.h"
#include "kr/render/Renderer.h"

#include <string>
#include <vector>

namespace KR::TestSupport
{

struct RecordedCall
{
    std::string op;
    RectI rect{};
    PointI point{};
    PointD offsetArgument{};
    PointT<float> from{};
    PointT<float> to{};
    ColorF color{};
    ColorF outline{};
    float penWidth = 0.0f;
    bool flag = false;
    std::int32_t resizeType = 0;
    String text;
    RCPtr<LFont> font;
    ConstRCPtr<LBitmap> bitmap;
    std::vector<PointT<float>> points;
    // The state in force when the call came.
    PointD offset{};
    RectD clip{};
    float scaleFactor = 1.0f;
    bool stencilInForce = false;
};

class LRecordingContext : public LRenderContextInfo
{
public:
    using LRenderContextInfo::LRenderContextInfo;
    PointI GetMaxImageSize() const override { return maxImageSize; }
    PointI maxImageSize{4096, 4096};
};

class LRecordingRenderer : public LRenderer
{
public:
    explicit LRecordingRenderer(std::int32_t kind = kRenderer2D) : kind(kind) {}

    RCPtr<LRenderContextInfo> MakeContext(const RectI& viewport, bool offscreen = false)
    {
        RCPtr<LRenderContextInfo> context;
        InitRenderContextInfo(viewport, nullptr, offscreen, context);
        return context;
    }

    // The calls of one operation, in order.
    std::vector<RecordedCall> CallsOf(const std::string& op) const
    {
        std::vector<RecordedCall> found;
        for (const RecordedCall& call : calls)
        {
            if (call.op == op)
            {
                found.push_back(call);
            }
        }
        return found;
    }

    void ClearRecord()
    {
        calls.clear();
        translations.clear();
        clipRects.clear();
        stencils.clear();
        pushOffsets = pushClips = saves = restores = 0;
    }

    Result GetFontMetrics(const RCPtr<LFont>&, std::int32_t& height, std::int32_t& ascentOut,
                          std::int32_t& descentOut) override
    {
        ++metricsCalls;
        height = lineHeight;
        ascentOut = ascent;
        descentOut = descent;
        return kOk;
    }

    Result MeasureText(RectT<float>& box, const String& text, const RCPtr<LFont>&) override
    {
        box = text.IsEmpty() ? RectT<float>{}
                             : RectT<float>{0.0f, static_cast<float>(ascent), charWidth * text.GetLength(),
                                            static_cast<float>(lineHeight)};
        return kOk;
    }

    std::int32_t GetKind() const override { return kind; }

    Result InitRenderContextInfo(const RectI& viewport, WindowHandle window, bool offscreen,
                                 RCPtr<LRenderContextInfo>& context) override
    {
        context = RCPtr<LRenderContextInfo>(new LRecordingContext(viewport, window, offscreen));
        return kOk;
    }

    Result DrawText(const String& text, const RCPtr<LFont>& font, const PointI& position,
                    const ColorF& color) override
    {
        RecordedCall& call = Record("DrawText");
        call.text = text;
        call.font = font;
        call.point = position;
        call.color = color;
        return kOk;
    }

    Result DrawRect(const RectI& rect, const ColorF& color, float penWidth) override
    {
        RecordedCall& call = Record("DrawRect");
        call.rect = rect;
        call.color = color;
        call.penWidth = penWidth;
        return kOk;
    }

    Result FillRect(const RectI& rect, const ColorF& color, bool blend) override
    {
        RecordedCall& call = Record("FillRect");
        call.rect = rect;
        call.color = color;
        call.flag = blend;
        return kOk;
    }

    Result FillColorRects(ColorRectListT<float>& list, const PointD& offset, bool flag) override
    {
        RecordedCall& call = Record("FillColorRects");
        call.offsetArgument = offset;
        call.flag = flag;
        for (const RectT<float>& r : list.rects)
        {
            call.points.push_back({r.x, r.y});
        }
        return kOk;
    }

    Result DrawLine(const PointT<float>& from, const PointT<float>& to, const ColorF& color,
                    float penWidth) override
    {
        RecordedCall& call = Record("DrawLine");
        call.from = from;
        call.to = to;
        call.color = color;
        call.penWidth = penWidth;
        return kOk;
    }

    Result DrawLineSegments(PolylineT<float>& line, const ColorF& color, const PointT<float>& offset,
                            const PointT<float>& scale, bool keepCached) override
    {
        return RecordLine("DrawLineSegments", line, color, offset, scale, keepCached);
    }
    Result DrawPolyline(PolylineT<float>& line, const ColorF& color, const PointT<float>& offset,
                        const PointT<float>& scale, bool keepCached) override
    {
        return RecordLine("DrawPolyline", line, color, offset, scale, keepCached);
    }
    Result DrawPolygon(PolylineT<float>& line, const ColorF& color, const PointT<float>& offset,
                       const PointT<float>& scale, bool keepCached) override
    {
        return RecordLine("DrawPolygon", line, color, offset, scale, keepCached);
    }
    Result FillPolygon(PolylineT<float>& line, const ColorF& color, const PointT<float>& offset,
                       const PointT<float>& scale, bool keepCached) override
    {
        return RecordLine("FillPolygon", line, color, offset, scale, keepCached);
    }

    Result DrawBitmap(const ConstRCPtr<LBitmap>& bitmap, const RectI& destination,
                      std::int32_t resizeType) override
    {
        RecordedCall& call = Record("DrawBitmap");
        call.bitmap = bitmap;
        call.rect = destination;
        call.resizeType = resizeType;
        return kOk;
    }

    Result DrawImage(const RCPtr<LRenderContextInfo>&, const PointI& destination,
                     const RectI& sourceRect) override
    {
        RecordedCall& call = Record("DrawImage");
        call.point = destination;
        call.rect = sourceRect;
        return kOk;
    }

    Result ScrollImage(const RCPtr<LRenderContextInfo>&, const PointI& offset) override
    {
        Record("ScrollImage").point = offset;
        return kOk;
    }

    Result PushOffset(const PointD& offset) override
    {
        ++pushOffsets;
        return LRenderer::PushOffset(offset);
    }
    Result PushClip(const RectD& bounds, const RectD& clip, const RCPtr<LStencil>& stencil,
                    bool toBounds) override
    {
        ++pushClips;
        return LRenderer::PushClip(bounds, clip, stencil, toBounds);
    }
    Result SaveState() override
    {
        ++saves;
        return LRenderer::SaveState();
    }
    Result RestoreState() override
    {
        ++restores;
        return LRenderer::RestoreState();
    }
    Result SetClipRect(const RectD& clip) override
    {
        clipRects.push_back(clip);
        return LRenderer::SetClipRect(clip);
    }
    Result Translate(const PointD& offset) override
    {
        translations.push_back(offset);
        return LRenderer::Translate(offset);
    }
    Result SetStencil(const RCPtr<LStencil>& stencil) override
    {
        stencils.push_back(stencil);
        return LRenderer::SetStencil(stencil);
    }

    std::int32_t kind;
    std::int32_t lineHeight = 14;
    std::int32_t ascent = -11;
    std::int32_t descent = 3;
    float charWidth = 7.0f;
    int metricsCalls = 0;

    std::vector<RecordedCall> calls;
    std::vector<PointD> translations;
    std::vector<RectD> clipRects;
    std::vector<RCPtr<LStencil>> stencils;
    int pushOffsets = 0;
    int pushClips = 0;
    int saves = 0;
    int restores = 0;

private:
    RecordedCall& Record(const char* op)
    {
        RecordedCall call;
        call.op = op;
        if (const RenderState* state = GetCurrentState())
        {
            call.offset = state->offset;
            call.clip = state->clip;
            call.scaleFactor = state->scaleFactor;
            call.stencilInForce = state->stencilInForce;
        }
        calls.push_back(std::move(call));
        return calls.back();
    }

    Result RecordLine(const char* op, PolylineT<float>& line, const ColorF& color,
                      const PointT<float>& offset, const PointT<float>& scale, bool keepCached)
    {
        RecordedCall& call = Record(op);
        call.points = line.points;
        call.color = color;
        call.from = offset;
        call.to = scale;
        call.flag = keepCached;
        call.penWidth = line.lineWidth;
        return kOk;
    }
};

} // namespace KR::TestSupport
