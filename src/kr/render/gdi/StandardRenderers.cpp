#include "kr/render/gdi/StandardRenderers.h"

#include "kr/render/D3D9Renderer.h"
#include "kr/render/RendererFactory.h"

namespace KR
{

RCPtr<LRenderer> MakeStandardRenderer(std::int32_t kind, const LGDIRenderer::Clock& clock)
{
    switch (kind)
    {
    case kRenderer2D:
        return RCPtr<LRenderer>(new LGDIRenderer(clock));
    case kRendererInert:
        return RCPtr<LRenderer>(new LD3D9Renderer);
    default:
        return RCPtr<LRenderer>(new LInertRenderer(kind));
    }
}

void InstallStandardRenderers(LGDIRenderer::Clock clock)
{
    SetRendererFactory([clock = std::move(clock)](std::int32_t kind, const RectI&, WindowHandle)
                       { return MakeStandardRenderer(kind, clock); });
}

} // namespace KR
