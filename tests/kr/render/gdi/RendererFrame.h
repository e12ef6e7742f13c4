#pragma once
// A 2D renderer with one context, and the pixels of that context's front surface.

#include "kr/render/gdi/GDIRenderer.h"

#include <cstdint>

namespace KR::Test
{

inline constexpr std::uint32_t kRed = 0xFFFF0000;
inline constexpr std::uint32_t kBlue = 0xFF0000FF;

struct RendererFrame
{
    explicit RendererFrame(std::int32_t width, std::int32_t height, bool offscreen = true,
                           LGDIRenderer::Clock clock = {}, WindowHandle window = nullptr)
        : renderer(new LGDIRenderer(std::move(clock)))
    {
        renderer->InitRenderContextInfo(RectI{0, 0, width, height}, window, offscreen, context);
    }

    LGDIRenderContextInfo& Gdi() const { return *RCPtr<LGDIRenderContextInfo>(context); }
    std::uint32_t Pixel(std::int32_t x, std::int32_t y) const
    {
        return Gdi().GetFrontSurface()->GetBitmap().GetPixel(x, y);
    }
    // Pixels of the front surface that hold the colour.
    int Count(std::uint32_t argb) const
    {
        int n = 0;
        const PointI size = Gdi().GetFrontSurface()->GetSize();
        for (std::int32_t y = 0; y < size.y; ++y)
        {
            for (std::int32_t x = 0; x < size.x; ++x)
            {
                n += Pixel(x, y) == argb ? 1 : 0;
            }
        }
        return n;
    }
    void Start() { renderer->RenderStart(context); }
    void Finish() { renderer->RenderFinish(context); }

    RCPtr<LGDIRenderer> renderer;
    RCPtr<LRenderContextInfo> context;
};

inline ColorF Argb(std::uint32_t argb)
{
    ColorF color;
    color.SetARGB(argb);
    return color;
}

} // namespace KR::Test
