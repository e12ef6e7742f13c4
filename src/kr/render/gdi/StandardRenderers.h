#pragma once
// The renderers windows get in the program: LRenderer::Create checks the kind and asks
// the installed factory, and this is the factory the program installs at start-up.
//
//     KR::InstallStandardRenderers(clock);       // once, before the first window
//     auto renderer = KR::LRenderer::Create(1, clientRect, window);   // a 2D renderer

#include "kr/render/Renderer.h"
#include "kr/render/gdi/GDIRenderer.h"

namespace KR
{

// Kind 1: an LGDIRenderer on the clock; kind 2: an LD3D9Renderer. Kind 0 is an inert
// renderer of that kind until the OpenGL renderer exists (no setting selects it).
RCPtr<LRenderer> MakeStandardRenderer(std::int32_t kind, const LGDIRenderer::Clock& clock);

// Installs MakeStandardRenderer as the renderer factory. The clock is the application's
// millisecond clock; without one the process's monotonic milliseconds serve.
void InstallStandardRenderers(LGDIRenderer::Clock clock = {});

} // namespace KR
