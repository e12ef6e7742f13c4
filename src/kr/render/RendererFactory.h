#pragma once
// Where windows get their renderers. LRenderer::Create checks the kind and asks the
// installed factory; the program installs the one that makes its real renderers, tests
// install recording ones. With none installed every window gets an inert renderer that
// draws nothing.

#include "kr/core/RCPtr.h"
#include "kr/core/Rect.h"
#include "kr/render/RenderState.h"

#include <cstdint>
#include <functional>

namespace KR
{

class LRenderer;

using RendererFactory =
    std::function<RCPtr<LRenderer>(std::int32_t kind, const RectI& clientRect, WindowHandle window)>;

// Installs the factory; an empty one brings back the inert default. User-interface thread.
void SetRendererFactory(RendererFactory factory);

// The installed factory's renderer for a kind that LRenderer::Create accepted.
RCPtr<LRenderer> MakeRenderer(std::int32_t kind, const RectI& clientRect, WindowHandle window);

} // namespace KR
