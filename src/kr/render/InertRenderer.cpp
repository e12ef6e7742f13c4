#include "kr/render/InertRenderer.h"

namespace KR
{

Result LInertRenderer::GetFontMetrics(const RCPtr<LFont>&, std::int32_t& lineHeight, std::int32_t& ascent,
                                      std::int32_t& descent)
{
    lineHeight = 0;
    ascent = 0;
    descent = 0;
    return kOk;
}

Result LInertRenderer::MeasureText(RectT<float>& box, const String&, const RCPtr<LFont>&)
{
    box = RectT<float>{};
    return kOk;
}

Result LInertRenderer::InitRenderContextInfo(const RectI& viewport, WindowHandle window, bool offscreen,
                                             RCPtr<LRenderContextInfo>& context)
{
    context = RCPtr<LRenderContextInfo>(new LInertRenderContextInfo(viewport, window, offscreen));
    return kOk;
}

} // namespace KR
