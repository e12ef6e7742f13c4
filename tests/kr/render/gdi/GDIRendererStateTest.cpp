#include "RendererFrame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace KR::Test
{
namespace
{

// Equal, NaN equal to NaN.
bool Same(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

template <typename T>
bool Same(const RectT<T>& a, const RectT<T>& b)
{
    return Same(a.x, b.x) && Same(a.y, b.y) && Same(a.width, b.width) && Same(a.height, b.height);
}

template <typename T>
bool Same(const PointT<T>& a, const PointT<T>& b)
{
    return Same(a.x, b.x) && Same(a.y, b.y);
}

// A clip pushed by the 2D renderer in one go leaves the state, the clip the canvas is
// given and every pixel drawn as the general push through SetClipRect and Translate.
TEST(GDIRendererState, ClipsPushedInOneGoDrawAndRestoreAsTheGeneralPush)
{
    struct Push
    {
        RectD bounds;
        RectD clip;
    };
    struct Case
    {
        const char* name;
        std::vector<Push> pushes;
    };
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {"nested, each inside its parent",
         {{{10, 10, 60, 40}, {10, 10, 60, 40}}, {{5, 5, 20, 10}, {5, 5, 20, 10}}}},
        {"child partly outside its parent",
         {{{10, 10, 30, 30}, {10, 10, 30, 30}}, {{20, -5, 30, 20}, {20, -5, 30, 20}}}},
        {"child wholly outside its parent",
         {{{10, 10, 20, 20}, {10, 10, 20, 20}}, {{40, 40, 5, 5}, {40, 40, 5, 5}}}},
        {"half pixels and a narrower clip",
         {{{10.5, 9.5, 40.25, 30.75}, {12.3, 11.7, 20.2, 10.1}}, {{-2.5, 3.5, 10, 10}, {0, 0, 10, 10}}}},
        {"negative size and NaN",
         {{{30, 30, -20, -10}, {30, 30, -20, -10}}, {{kNaN, 5, 10, 10}, {0, 0, kNaN, 5}}}},
        {"beyond the 32-bit range",
         {{{-3e9, -3e9, 6e9, 6e9}, {-3e9, -3e9, 6e9, 6e9}}, {{2.5e9, 0, 10, 10}, {2.5e9, 0, 10, 10}}}},
        {"window edge", {{{90, 50, 40, 40}, {90, 50, 40, 40}}, {{0, 0, 100, 100}, {0, 0, 100, 100}}}},
    };
    for (const Case& c : cases)
    {
        RendererFrame oneGo(100, 60);
        RendererFrame general(100, 60);
        oneGo.Start();
        general.Start();
        const auto expectSame = [&](const char* step)
        {
            const RenderState& a = oneGo.context->state;
            const RenderState& b = general.context->state;
            EXPECT_TRUE(Same(a.clip, b.clip) && Same(a.offset, b.offset) && a.scaleFactor == b.scaleFactor)
                << c.name << ", " << step;
            const LGDIRenderContextInfo::DeviceState& x = oneGo.Gdi().wanted;
            const LGDIRenderContextInfo::DeviceState& y = general.Gdi().wanted;
            EXPECT_TRUE(Same(x.clip, y.clip) && Same(x.clipOrigin, y.clipOrigin) &&
                        Same(x.translation, y.translation))
                << c.name << ", " << step;
        };
        // Each step fills as far as its clip lets it, in a colour of its own.
        std::uint32_t colour = 0xFF102030;
        const auto fill = [&](const char* step)
        {
            colour += 0x00101010;
            std::vector<std::uint32_t> pixels[2];
            for (RendererFrame* frame : {&oneGo, &general})
            {
                frame->renderer->FillRect(RectI{-200, -200, 400, 400}, Argb(colour), true);
                frame->Gdi().GetFrontSurface()->GetGraphics().Flush();
                for (std::int32_t y = 0; y < 60; ++y)
                {
                    for (std::int32_t x = 0; x < 100; ++x)
                    {
                        pixels[frame == &general].push_back(frame->Pixel(x, y));
                    }
                }
            }
            EXPECT_TRUE(pixels[0] == pixels[1]) << c.name << ", " << step;
        };
        for (const Push& push : c.pushes)
        {
            oneGo.renderer->PushClip(push.bounds, push.clip, nullptr, true);
            general.renderer->LRenderer::PushClip(push.bounds, push.clip, nullptr, true);
            expectSame("pushed");
            fill("pushed");
        }
        for (std::size_t i = 0; i < c.pushes.size(); ++i)
        {
            oneGo.renderer->RestoreState();
            general.renderer->LRenderer::RestoreState();
            expectSame("restored");
            fill("restored");
        }
        oneGo.Finish();
        general.Finish();
    }
}

} // namespace
} // namespace KR::Test
