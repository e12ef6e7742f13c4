#include "kr/render/RendererFactory.h"

#include "kr/render/InertRenderer.h"

#include <utility>

namespace KR
{
namespace
{

RendererFactory& InstalledFactory()
{
    static RendererFactory factory;
    return factory;
}

} // namespace

void SetRendererFactory(RendererFactory factory)
{
    InstalledFactory() = std::move(factory);
}

RCPtr<LRenderer> MakeRenderer(std::int32_t kind, const RectI& clientRect, WindowHandle window)
{
    const RendererFactory& factory = InstalledFactory();
    if (factory)
    {
        return factory(kind, clientRect, window);
    }
    return RCPtr<LRenderer>(new LInertRenderer(kind));
}

} // namespace KR
