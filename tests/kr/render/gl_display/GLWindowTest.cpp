#include "kr/render/gl/GLRenderer.h"
#include "platform/gl/GLFunctions.h"
#include "platform/gl/GLPlatform.h"
#include "platform/window/MessageLoop.h"
#include "platform/window/Window.h"
#include "platform/window_display/DisplayFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace KR::Test
{
namespace
{

using namespace KR::Platform;

using KR::Platform::Test::PumpUntil;
using KR::Platform::Test::RecordingProcedure;

const bool kSoftware = []
{
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    return true;
}();

std::uint32_t PixelAt(const std::vector<std::uint32_t>& pixels, std::int32_t width, std::int32_t x,
                      std::int32_t y)
{
    return pixels[static_cast<std::size_t>(y * width + x)];
}

TEST(GLWindowTest, AKindZeroWindowShowsItsFillAfterTheSwapAtEverySize)
{
    if (std::getenv("DISPLAY") == nullptr || !InitializeWindowSystem())
    {
        GTEST_SKIP() << "no display";
    }
    std::shared_ptr<IGLPlatform> platform = MakeGlxPlatform();
    if (!platform)
    {
        GTEST_SKIP() << "the display has no GLX 1.3";
    }
    RecordingProcedure procedure;
    WindowCreateParams params;
    params.title = "GL window";
    params.client = {60, 60, 160, 120};
    params.procedure = &procedure;
    const Platform::WindowHandle window = CreateWindow(params);
    ASSERT_NE(window, 0u);
    void* const windowKey = reinterpret_cast<void*>(window);
    {
        std::vector<std::string> messages;
        LGLRenderer::Services services;
        services.messageBox = [&](const std::string& text, const std::string&, std::uint32_t)
        { messages.push_back(text); };
        RCPtr<LGLRenderer> renderer(new LGLRenderer(windowKey, platform, services));
        EXPECT_TRUE(renderer->IsDoubleBuffered());
        // Mesa offers copying swaps through GLX_OML_swap_method.
        EXPECT_TRUE(renderer->SwapsCopy());
        RCPtr<LRenderContextInfo> context;
        // Realises the window with the format's visual, before it is shown.
        renderer->InitRenderContextInfo(RectI{0, 0, 160, 120}, windowKey, false, context);
        EXPECT_GT(context->GetMaxImageSize().x, 0);
        ShowWindow(window, SW_SHOWNORMAL);
        ASSERT_TRUE(PumpUntil([&] { return !procedure.Of(WM_PAINT).empty(); }));

        std::vector<std::uint32_t> pixels;
        std::int32_t width = 0;
        std::int32_t height = 0;
        // A black window with a red rectangle; whether the server shows it at the probe.
        auto frameShows = [&](const RectI& red, std::int32_t probeX, std::int32_t probeY)
        {
            const RectI& all = context->viewport;
            renderer->RenderStart(context);
            renderer->FillRect(RectI{0, 0, all.width, all.height}, ColorF::FromARGB(0xFF000000), false);
            renderer->FillRect(red, ColorF::FromARGB(0xFFFF0000), true);
            renderer->RenderFinish(context);
            GetGL().glFinish();
            return ReadWindowPixels(window, pixels, width, height) && width == all.width &&
                   height == all.height && (PixelAt(pixels, width, probeX, probeY) & 0xFFFFFF) == 0xFF0000;
        };
        // The server may still be mapping the window when the first frame goes out.
        ASSERT_TRUE(PumpUntil([&] { return frameShows(RectI{40, 30, 50, 40}, 60, 50); }));
        EXPECT_EQ(PixelAt(pixels, width, 40, 30) & 0xFFFFFF, 0xFF0000u);
        EXPECT_EQ(PixelAt(pixels, width, 89, 69) & 0xFFFFFF, 0xFF0000u);
        EXPECT_EQ(PixelAt(pixels, width, 39, 50) & 0xFFFFFF, 0u);
        EXPECT_EQ(PixelAt(pixels, width, 90, 50) & 0xFFFFFF, 0u);
        EXPECT_EQ(PixelAt(pixels, width, 5, 5) & 0xFFFFFF, 0u);

        // A window drawable follows its window: a larger client area draws whole once the
        // context's viewport says so.
        SetWindowPos(window, WindowRect{60, 60, 240, 180});
        ASSERT_TRUE(
            PumpUntil([&] { return ReadWindowPixels(window, pixels, width, height) && width == 240; }));
        context->viewport = RectI{0, 0, 240, 180};
        ASSERT_TRUE(PumpUntil([&] { return frameShows(RectI{200, 150, 30, 20}, 229, 169); }));
        EXPECT_EQ(PixelAt(pixels, width, 199, 160) & 0xFFFFFF, 0u);
        EXPECT_EQ(PixelAt(pixels, width, 235, 175) & 0xFFFFFF, 0u);
        EXPECT_TRUE(messages.empty());
    }
    DestroyWindow(window);
}

} // namespace
} // namespace KR::Test
