#pragma once
// A 2D renderer with one context, and the pixels of that context's front surface.

#include "kr/render/gdi/GDIRenderer.h"

#include <cstdint>

namespace KR::Test
{

inline constexpr std::uint32_t kRed = 0xFFFF0000;
inline constexpr std::uint32_t kBlue = 0xFF0000FF;

inline ColorF Argb(std::uint32_t argb)
{
    ColorF color;
    color.SetARGB(argb);
    return color;
}

struct RendererFrame
{
    RendererFrame(std::int32_t width, std::int32_t height, bool offscreen = true,
                  LGDIRenderer::Clock clock = {}, WindowHandle window = nullptr)
        : renderer(new LGDIRenderer(std::move(clock)))
    {
        renderer->InitRenderContextInfo(RectI{0, 0, width, height}, window, offscreen, context);
    }

    LGDIRenderContextInfo& Gdi() const { return *RCPtr<LGDIRenderContextInfo>(context); }
    const Platform::Surface& Image() const { return Gdi().GetFrontSurface()->GetBitmap(); }
    std::uint32_t Pixel(std::int32_t x, std::int32_t y) const { return Image().GetPixel(x, y); }
    // How many pixels hold the colour.
    int Count(std::uint32_t argb) const
    {
        int n = 0;
        for (std::int32_t i = 0; i < Image().GetWidth() * Image().GetHeight(); ++i)
        {
            n += Pixel(i % Image().GetWidth(), i / Image().GetWidth()) == argb ? 1 : 0;
        }
        return n;
    }
    void Start() { renderer->RenderStart(context); }
    void Finish() { renderer->RenderFinish(context); }

    RCPtr<LGDIRenderer> renderer;
    RCPtr<LRenderContextInfo> context;
};

} // namespace KR::Test
