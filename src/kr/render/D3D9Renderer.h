#pragma once
// KR::LD3D9Renderer, renderer kind 2: takes every call and draws nothing, so a window can
// be given this kind without any drawing back end. Unlike the inert renderer it derives
// from, it enters no context at all: RenderStart and RenderFinish do nothing, so the
// state operations find no current context and do nothing either. Plain C++: there is no
// Direct3D anywhere.

#include "kr/render/InertRenderer.h"

namespace KR
{

class LD3D9RenderContextInfo : public LInertRenderContextInfo
{
public:
    using LInertRenderContextInfo::LInertRenderContextInfo;
};

class LD3D9Renderer : public LInertRenderer
{
public:
    LD3D9Renderer() : LInertRenderer(kRendererInert) {}

    // Returns kOk and leaves the three values as they were.
    Result GetFontMetrics(const RCPtr<LFont>& font, std::int32_t& lineHeight, std::int32_t& ascent,
                          std::int32_t& descent) override;
    Result InitRenderContextInfo(const RectI& viewport, WindowHandle window, bool offscreen,
                                 RCPtr<LRenderContextInfo>& context) override;
    Result RenderStart(const RCPtr<LRenderContextInfo>&) override { return kOk; }
    Result RenderFinish(const RCPtr<LRenderContextInfo>&) override { return kOk; }
    // Not implemented: 0x80004001.
    Result DrawImage(const RCPtr<LRenderContextInfo>& source, const PointI& destination,
                     const RectI& sourceRect) override;
    Result ScrollImage(const RCPtr<LRenderContextInfo>& context, const PointI& offset) override;
};

} // namespace KR
