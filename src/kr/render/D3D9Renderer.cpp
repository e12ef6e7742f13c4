#include "kr/render/D3D9Renderer.h"

namespace KR
{

namespace
{
constexpr Result kNotImplemented = static_cast<Result>(0x80004001u);
}

Result LD3D9Renderer::GetFontMetrics(const RCPtr<LFont>&, std::int32_t&, std::int32_t&, std::int32_t&)
{
    return kOk;
}

Result LD3D9Renderer::InitRenderContextInfo(const RectI& viewport, WindowHandle window, bool offscreen,
                                            RCPtr<LRenderContextInfo>& context)
{
    context = RCPtr<LRenderContextInfo>(new LD3D9RenderContextInfo(viewport, window, offscreen));
    return kOk;
}

Result LD3D9Renderer::DrawImage(const RCPtr<LRenderContextInfo>&, const PointI&, const RectI&)
{
    return kNotImplemented;
}

Result LD3D9Renderer::ScrollImage(const RCPtr<LRenderContextInfo>&, const PointI&)
{
    return kNotImplemented;
}

} // namespace KR
