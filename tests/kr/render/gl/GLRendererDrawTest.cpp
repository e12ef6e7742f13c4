#include "GLTestSupport.h"
#include "platform/png/PngCodec.h"

#include <cstdlib>
#include <functional>
#include <utility>

namespace KR::Test
{
namespace
{

using Platform::GLFunctions;

constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr std::uint32_t kNone = 0x00000000;
const ColorF kRedF = ColorF::FromARGB(kRed);

PolylineT<float> Line(std::vector<PointT<float>> points, float width = 1.0f)
{
    PolylineT<float> line;
    line.points = std::move(points);
    line.lineWidth = width;
    return line;
}

TEST(GLRendererDrawTest, DrawsIntoThePbuffer)
{
    KR_REQUIRE_EGL();
    struct Probe
    {
        std::int32_t x;
        std::int32_t y;
        std::uint32_t argb;
    };
    struct Row
    {
        const char* name;
        std::function<void(LGLRenderer&)> draw;
        std::vector<Probe> probes;
    };
    const Row rows[] = {
        {"blended fill",
         [](LGLRenderer& r) {
             r.FillRect({10, 10, 20, 20}, ColorF::FromARGB(0x80FF0000), true);
         },
         {{20, 20, 0x40800000}, {5, 5, kNone}, {31, 20, kNone}}},
        {"written fill",
         [](LGLRenderer& r) {
             r.FillRect({10, 10, 20, 20}, ColorF::FromARGB(0x80FF0000), false);
         },
         {{20, 20, 0x80FF0000}, {10, 10, 0x80FF0000}, {29, 29, 0x80FF0000}, {30, 20, kNone}, {9, 20, kNone}}},
        {"concave U keeps its notch",
         [](LGLRenderer& r)
         {
             PolylineT<float> u =
                 Line({{10, 10}, {20, 10}, {20, 40}, {40, 40}, {40, 10}, {50, 10}, {50, 50}, {10, 50}});
             r.FillPolygon(u, kRedF, {0, 0}, {1, 1}, true);
         },
         {{15, 25, kRed}, {45, 25, kRed}, {30, 45, kRed}, {30, 25, kNone}, {30, 55, kNone}}},
        {"triangle outline has three edges",
         [](LGLRenderer& r)
         {
             PolylineT<float> t = Line({{10, 10}, {50, 10}, {10, 50}}, 3.0f);
             r.DrawPolygon(t, kRedF, {0, 0}, {1, 1}, false);
         },
         {{30, 10, kRed}, {10, 30, kRed}, {30, 30, kRed}, {20, 20, kNone}}},
        {"fill after the outermost restore",
         [](LGLRenderer& r)
         {
             r.PushClip({0, 0, 8, 8}, {0, 0, 8, 8}, nullptr, true);
             r.FillRect({0, 0, 64, 64}, ColorF::FromARGB(kBlue), true);
             r.RestoreState();
             r.FillRect({40, 40, 10, 10}, kRedF, true);
         },
         {{4, 4, kBlue}, {20, 20, kNone}, {45, 45, kRed}}},
        {"offset and clip",
         [](LGLRenderer& r)
         {
             r.PushClip({20, 20, 30, 30}, {20, 20, 10, 10}, nullptr, true);
             r.FillRect({0, 0, 64, 64}, kRedF, true);
             r.RestoreState();
         },
         {{25, 25, kRed}, {19, 25, kNone}, {31, 25, kNone}, {25, 31, kNone}}},
        {"overlapping colour rects keep the first on top",
         [](LGLRenderer& r)
         {
             ColorRectListT<float> list;
             list.rects = {{10, 10, 20, 20}, {20, 20, 20, 20}};
             list.colors = {kRed, kBlue};
             r.FillColorRects(list, {0, 0}, true);
         },
         {{25, 25, kRed}, {35, 35, kBlue}, {15, 15, kRed}}},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        GLFrame frame;
        frame.Start();
        row.draw(*frame.renderer);
        const std::vector<std::uint32_t> pixels = frame.Read();
        frame.Finish();
        for (const Probe& probe : row.probes)
        {
            const std::uint32_t got = pixels[static_cast<std::size_t>(probe.y * frame.width + probe.x)];
            EXPECT_TRUE(NearColor(got, probe.argb))
                << "at " << probe.x << "," << probe.y << std::hex << ": 0x" << got << " not 0x" << probe.argb;
        }
        if (const char* folder = std::getenv("KR_GL_PNG_FOLDER"))
        {
            Platform::WritePngFile(std::string(folder) + "/" + row.name + ".png", frame.width, frame.height,
                                   pixels.data());
        }
    }
}

TEST(GLRendererDrawTest, CompilesCachedGeometryOnlyWhenItChanged)
{
    KR_REQUIRE_EGL();
    GLFrame frame;
    frame.Start();
    LGLRenderer& r = *frame.renderer;
    CountedCall<&GLFunctions::glNewList> compiles;
    CountedCall<&GLFunctions::glCallList> calls;
    CountedCall<&GLFunctions::glTranslatef> translations;

    PolylineT<float> line = Line({{1, 1}, {10, 10}, {20, 1}});
    r.DrawPolyline(line, kRedF, {0, 0}, {1, 1}, true);
    r.DrawPolyline(line, kRedF, {5, 0}, {1, 1}, true);
    EXPECT_EQ(compiles.count, 1);
    EXPECT_EQ(calls.count, 2);
    const std::int32_t entry = r.GetPolylineCache().FindEntry(line.handle);
    line.changed = true;
    r.DrawPolyline(line, kRedF, {0, 0}, {1, 1}, true);
    EXPECT_EQ(compiles.count, 2);
    EXPECT_EQ(r.GetPolylineCache().FindEntry(line.handle), entry);

    // The fill takes the flag and drops the outline's list, which compiles again.
    PolylineT<float> shape = Line({{1, 1}, {30, 1}, {30, 30}});
    r.DrawPolygon(shape, kRedF, {0, 0}, {1, 1}, true);
    shape.changed = true;
    r.FillPolygon(shape, kRedF, {0, 0}, {1, 1}, true);
    EXPECT_EQ(compiles.count, 4);
    r.DrawPolygon(shape, kRedF, {0, 0}, {1, 1}, true);
    EXPECT_EQ(compiles.count, 5);
    r.FillPolygon(shape, kRedF, {0, 0}, {1, 1}, true);
    EXPECT_EQ(compiles.count, 5);

    const RCPtr<LGLDisplayList> list = LGLDisplayList::Create(1);
    ASSERT_EQ(list->BeginList(0), kOk);
    list->EndList();
    calls.count = 0;
    EXPECT_EQ(list->CallLists(0, 2), kInvalidArg);
    EXPECT_EQ(calls.count, 0);
    EXPECT_FALSE(LGLDisplayList::Create(0));

    translations.count = 0;
    r.Translate({0, 0});
    EXPECT_EQ(translations.count, 0);
    frame.Finish();
}

TEST(GLRendererDrawTest, PurgesAtTheOutermostFinishEveryFiveMinutes)
{
    KR_REQUIRE_EGL();
    struct Row
    {
        const char* name;
        std::uint32_t start;
    };
    for (const Row& row : {Row{"plain", 1000u}, Row{"across the wrap", 0xFFFFF000u}})
    {
        SCOPED_TRACE(row.name);
        std::uint32_t now = row.start;
        GLFrame frame(64, 64, [&now] { return now; });
        LGLRenderer& r = *frame.renderer;
        RCPtr<LRenderContextInfo> inner;
        r.InitRenderContextInfo({0, 0, 16, 16}, nullptr, true, inner);
        PolylineT<float> line = Line({{1, 1}, {10, 10}});

        frame.Start();
        r.DrawPolyline(line, kRedF, {0, 0}, {1, 1}, true);
        frame.Finish();
        // Unused for a whole period, the list goes at the first outermost finish past it.
        now += LGLRenderer::kPurgeInterval;
        frame.Start();
        frame.Finish();
        EXPECT_EQ(r.GetLastPurgeTime(), row.start);
        now += 1;
        frame.Start();
        r.RenderStart(inner);
        r.RenderFinish(inner);
        EXPECT_EQ(r.GetLastPurgeTime(), row.start);
        frame.Finish();
        EXPECT_EQ(r.GetLastPurgeTime(), row.start + LGLRenderer::kPurgeInterval + 1);
    }
}

struct ViewportCall
{
    static inline Platform::GLint width = 0;
    static inline Platform::GLdouble orthoRight = 0;
    static inline decltype(GLFunctions::glViewport) viewport = nullptr;
    static inline decltype(GLFunctions::glOrtho) ortho = nullptr;
    static void Viewport(Platform::GLint x, Platform::GLint y, Platform::GLsizei w, Platform::GLsizei h)
    {
        width = w;
        viewport(x, y, w, h);
    }
    static void Ortho(Platform::GLdouble left, Platform::GLdouble right, Platform::GLdouble bottom,
                      Platform::GLdouble top, Platform::GLdouble near, Platform::GLdouble far)
    {
        orthoRight = right;
        ortho(left, right, bottom, top, near, far);
    }
};

TEST(GLRendererDrawTest, InnerOffscreenFrameGivesBackTheOuterViewport)
{
    KR_REQUIRE_EGL();
    GLFrame frame(64, 48);
    LGLRenderer& r = *frame.renderer;
    RCPtr<LRenderContextInfo> inner;
    r.InitRenderContextInfo({0, 0, 16, 16}, nullptr, true, inner);
    frame.Start();
    r.RenderStart(inner);
    r.FillRect({0, 0, 16, 16}, ColorF::FromARGB(kBlue), true);
    GLFunctions& gl = Platform::GetGL();
    ViewportCall::viewport = std::exchange(gl.glViewport, &ViewportCall::Viewport);
    ViewportCall::ortho = std::exchange(gl.glOrtho, &ViewportCall::Ortho);
    r.RenderFinish(inner);
    gl.glViewport = ViewportCall::viewport;
    gl.glOrtho = ViewportCall::ortho;
    EXPECT_EQ(ViewportCall::width, 64);
    EXPECT_EQ(ViewportCall::orthoRight, 64.0);
    // Drawing goes on into the outer context under its own projection.
    r.FillRect({60, 0, 4, 4}, kRedF, true);
    const std::vector<std::uint32_t> pixels = frame.Read();
    frame.Finish();
    EXPECT_TRUE(NearColor(pixels[62], kRed));
}

TEST(GLRendererDrawTest, TexturesTakePowerOfTwoSizes)
{
    KR_REQUIRE_EGL();
    GLFrame frame;
    frame.Start();
    std::vector<std::uint32_t> pixels(100 * 30, kRed);
    struct Row
    {
        const char* name;
        std::uint32_t flags;
        float imageWidth;
    };
    for (const Row& row : {Row{"clamped", 0u, 100.0f}, Row{"repeated", LGLTexture::kRepeat, 128.0f}})
    {
        SCOPED_TRACE(row.name);
        LGLTexture texture;
        GLPixelImage image;
        image.Set(pixels.data(), 400, 4, 100, 30, Platform::GLc::kBGRA, Platform::GLc::kUnsignedByte);
        texture.Upload(image, static_cast<std::int32_t>(Platform::GLc::kRGBA8), row.flags, 1.0f);
        EXPECT_EQ(texture.GetTextureWidth(), 128.0f);
        EXPECT_EQ(texture.GetTextureHeight(), 32.0f);
        EXPECT_EQ(texture.GetImageWidth(), row.imageWidth);
    }
    LGLTexture texture;
    GLPixelImage image;
    image.Set(pixels.data(), 400, 4, 100, 30, Platform::GLc::kBGRA, Platform::GLc::kUnsignedByte);
    texture.Upload(image, static_cast<std::int32_t>(Platform::GLc::kRGBA8), 0, 1.0f);
    static float maxS = 0.0f;
    static float maxT = 0.0f;
    GLFunctions& gl = Platform::GetGL();
    const auto texCoord = gl.glTexCoord2f;
    gl.glTexCoord2f = [](float s, float t)
    {
        maxS = std::max(maxS, s);
        maxT = std::max(maxT, t);
    };
    texture.DrawRegion({0, 0, 100, 30}, {0, 0, 100, 30});
    gl.glTexCoord2f = texCoord;
    frame.Finish();
    EXPECT_FLOAT_EQ(maxS, 0.78125f);
    EXPECT_FLOAT_EQ(maxT, 0.9375f);
}

} // namespace
} // namespace KR::Test
