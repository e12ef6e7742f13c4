#include "GLTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace KR::Test
{
namespace
{

using Platform::GLFunctions;


ConstRCPtr<LBitmap> Red(std::int32_t width, std::int32_t height)
{
    return LBitmap::CreateFilledBitmap(width, height, ColorF::FromARGB(kRed));
}

bool IsRed(const GLFrame& frame, const std::vector<std::uint32_t>& pixels, std::int32_t x, std::int32_t y)
{
    return NearColor(pixels[static_cast<std::size_t>(y * frame.width + x)], kRed);
}

TEST(GLRendererPicturesTest, DrawsBitmapsStretchedTiledAndCentred)
{
    KR_REQUIRE_EGL();
    struct Probe
    {
        std::int32_t x;
        std::int32_t y;
        bool red;
    };
    struct Row
    {
        const char* name;
        RectI destination;
        std::int32_t resizeType;
        int quads;
        std::vector<Probe> probes;
    };
    const Row rows[] = {
        {"tiled: nine tiles, the last ones cut by the clip",
         {0, 0, 25, 25},
         1,
         9,
         {{0, 0, true}, {24, 24, true}, {29, 29, true}, {30, 30, false}}},
        {"centred into a larger box",
         {0, 0, 15, 15},
         2,
         1,
         {{1, 1, false}, {2, 2, true}, {11, 11, true}, {12, 12, false}}},
        {"centred into a smaller box", {0, 0, 5, 5}, 2, 1, {{0, 0, true}, {7, 7, true}, {8, 8, false}}},
        {"type 7 at the source size stretches",
         {3, 3, 10, 10},
         7,
         1,
         {{3, 3, true}, {12, 12, true}, {13, 13, false}}},
        {"stretched", {0, 0, 20, 30}, 0, 1, {{1, 1, true}, {17, 27, true}, {21, 20, false}}},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        GLFrame frame(40, 40);
        frame.Start();
        // The tiles past the destination are cut at 30 x 30.
        frame.renderer->PushClip({0, 0, 30, 30}, {0, 0, 30, 30}, nullptr, true);
        CountedCall<&GLFunctions::glBegin> quads;
        frame.renderer->DrawBitmap(Red(10, 10), row.destination, row.resizeType);
        EXPECT_EQ(quads.count, row.quads);
        frame.renderer->RestoreState();
        const std::vector<std::uint32_t> pixels = frame.Read();
        frame.Finish();
        for (const Probe& probe : row.probes)
        {
            EXPECT_EQ(IsRed(frame, pixels, probe.x, probe.y), probe.red) << probe.x << ", " << probe.y;
        }
    }
}

TEST(GLRendererPicturesTest, CutsOfOneSheetShareOneTexture)
{
    KR_REQUIRE_EGL();
    GLFrame frame;
    frame.Start();
    const ConstRCPtr<LBitmap> sheet = Red(20, 10);
    CountedCall<&GLFunctions::glGenTextures> textures;
    frame.renderer->DrawBitmap(sheet->CreateSubBitmap(0, 0, 10, 10), RectI{0, 0, 10, 10}, 0);
    frame.renderer->DrawBitmap(sheet->CreateSubBitmap(10, 0, 10, 10), RectI{10, 0, 10, 10}, 0);
    EXPECT_EQ(textures.count, 1);
    EXPECT_EQ(frame.renderer->GetTextureCache().GetIndexCount(), 1u);
    // Tiling a bitmap without area draws nothing and ends.
    CountedCall<&GLFunctions::glBegin> quads;
    frame.renderer->DrawBitmap(ConstRCPtr<LBitmap>(new LBitmap(sheet, RectI{0, 0, 0, 10})),
                               RectI{0, 0, 10, 10}, 1);
    EXPECT_EQ(quads.count, 0);
    frame.Finish();
}

TEST(GLRendererPicturesTest, RefusesWhatItCannotDraw)
{
    KR_REQUIRE_EGL();
    GLFrame frame;
    frame.Start();
    struct Row
    {
        const char* name;
        std::function<void()> call;
        const char* text;
    };
    const Row rows[] = {
        {"null bitmap",
         [&] {
             frame.renderer->DrawBitmap(nullptr, RectI{0, 0, 4, 4}, 0);
         },
         "Failed Result : KRRESULT = 80070057 : KR::LGLRenderer::DrawBitmap : Renderer\\OpenGL\\GLRenderer : "
         "Line 1102"},
        {"type 7 at another size",
         [&] {
             frame.renderer->DrawBitmap(Red(4, 4), RectI{0, 0, 8, 8}, 7);
         },
         "Logic Error : Invalid ResizeType passed to DrawBitmap! : KR::LGLRenderer::DrawBitmap : "
         "Renderer\\OpenGL\\GLRenderer : Line 1152"},
        {"scrolling the entered context",
         [&] {
             frame.renderer->ScrollImage(frame.context, PointI{1, 1});
         },
         LRenderer::kContextReenteredText},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        CountedCall<&GLFunctions::glBegin> quads;
        try
        {
            row.call();
            ADD_FAILURE() << "no throw";
        }
        catch (const std::exception& error)
        {
            EXPECT_STREQ(error.what(), row.text);
        }
        EXPECT_EQ(quads.count, 0);
    }
    RCPtr<LRenderContextInfo> window;
    frame.renderer->InitRenderContextInfo(RectI{0, 0, 8, 8}, nullptr, false, window);
    EXPECT_EQ(frame.renderer->DrawImage(window, PointI{0, 0}, RectI{0, 0, 8, 8}), kInvalidArg);
    EXPECT_EQ(frame.renderer->ScrollImage(window, PointI{0, 0}), kInvalidArg);
    EXPECT_EQ(frame.renderer->DrawImage(frame.context, PointI{0, 0}, RectI{0, 0, 8, 8}), kOk);
    frame.Finish();
}

} // namespace
} // namespace KR::Test
