#include "GLTestSupport.h"
#include "kr/render/FrameworkTexts.h"
#include "platform/gl/FakeGLPlatform.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace KR::Test
{
namespace
{

using Platform::FakeGLPlatform;
using Platform::FakeGLScript;

struct Box
{
    std::string text;
    std::string caption;
    std::uint32_t style = 0;
};

struct FakeSetUp
{
    explicit FakeSetUp(FakeGLScript script) : platform(std::make_shared<FakeGLPlatform>(std::move(script))) {}

    // The renderer, or the text it threw.
    std::string Make()
    {
        LGLRenderer::Services services;
        services.messageBox = [this](const std::string& text, const std::string& caption, std::uint32_t style)
        {
            boxes.push_back(Box{text, caption, style});
        };
        try
        {
            renderer = RCPtr<LGLRenderer>(new LGLRenderer(&window, platform, services));
        }
        catch (const std::exception& error)
        {
            return error.what();
        }
        return {};
    }
    bool Called(const std::string& prefix) const
    {
        return std::any_of(platform->calls.begin(), platform->calls.end(),
                           [&](const std::string& call) { return call.rfind(prefix, 0) == 0; });
    }

    char window = 0;
    std::shared_ptr<FakeGLPlatform> platform;
    std::vector<Box> boxes;
    RCPtr<LGLRenderer> renderer;
};

const std::string kAdvice(LGLRenderer::EnglishText("GL_ERROR_UPDATE_DRIVER"));

FakeGLScript SingleBuffered()
{
    FakeGLScript script;
    script.formats[1] = 0x24;
    return script;
}

TEST(GLRendererSetupTest, WithoutABoxOfItsOwnTheFailureIsShownInTheApplicationsBox)
{
    std::vector<Box> shown;
    SetFrameworkMessageBox(
        [&](const std::string& text, const std::string& caption, std::uint32_t style) {
            shown.push_back(Box{text, caption, style});
        });
    FakeGLScript script;
    script.chosenFormat = 0;
    char window = 0;
    EXPECT_THROW(RCPtr<LGLRenderer>(new LGLRenderer(&window, std::make_shared<FakeGLPlatform>(script), {})),
                 std::runtime_error);
    SetFrameworkMessageBox({});
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "ChoosePixelFormat failed." + kAdvice);
    EXPECT_EQ(shown[0].caption, "OpenGL Error");
    EXPECT_EQ(shown[0].style, 0x30u);
}

TEST(GLRendererSetupTest, ChoosesFormatsAndReportsFailures)
{
    struct Row
    {
        const char* name;
        std::function<void(FakeGLScript&)> script;
        std::string thrown;
        std::int32_t format;
        std::uint32_t flags;
        std::optional<Box> box;
    };
    const Row rows[] = {
        {"double-buffered swap copy", [](FakeGLScript&) {}, "", 1, 0x421, std::nullopt},
        {"format 14 as hardware",
         [](FakeGLScript& s)
         {
             s = SingleBuffered();
             s.formats[14] = 0x8465;
             s.extendedFormats = {14, 2};
         },
         "", 14, 0x8425, std::nullopt},
        {"format 7 generic",
         [](FakeGLScript& s)
         {
             s = SingleBuffered();
             s.formats[7] = 0x8465;
             s.extendedFormats = {7};
         },
         "", 1, 0x24, std::nullopt},
        {"choice fails", [](FakeGLScript& s) { s.chosenFormat = 0; }, LGLRenderer::kChooseFailedText, 0, 0,
         Box{"ChoosePixelFormat failed." + kAdvice, "OpenGL Error", 0x30}},
        {"no temporary drawable", [](FakeGLScript& s) { s.temporaryDrawable = false; },
         LGLRenderer::kNoTemporaryText, 0, 0, std::nullopt},
        {"temporary refuses the format", [](FakeGLScript& s) { s.refusedFormats = {1}; },
         LGLRenderer::kSetFailedText, 0, 0, Box{"SetPixelFormat failed." + kAdvice, "OpenGL Error", 0x30}},
        {"no context", [](FakeGLScript& s) { s.contexts = {false}; }, LGLRenderer::kCreateFailedText, 0, 0,
         Box{"wglCreateContext failed." + kAdvice, "OpenGL Error", 0x30}},
        {"window refuses the extended format",
         [](FakeGLScript& s)
         {
             s = SingleBuffered();
             s.formats[5] = 0x425;
             s.extendedFormats = {5};
             s.refusedFormats = {5};
         },
         LGLRenderer::kExtendedSetFailedText, 0, 0,
         Box{"SetPixelFormat failed." + kAdvice, "OpenGL Error", 0x30}},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        FakeGLScript script;
        row.script(script);
        FakeSetUp setUp(script);
        EXPECT_EQ(setUp.Make(), row.thrown);
        if (row.thrown.empty())
        {
            EXPECT_EQ(setUp.renderer->GetPixelFormat(), row.format);
            EXPECT_EQ(setUp.renderer->GetFormatFlags(), row.flags);
            EXPECT_EQ(setUp.platform->liveContexts, 1);
        }
        else
        {
            // Nothing is left behind by a set-up that threw.
            EXPECT_EQ(setUp.platform->liveContexts, 0);
        }
        ASSERT_EQ(setUp.boxes.size(), row.box ? 1u : 0u);
        if (row.box)
        {
            EXPECT_EQ(setUp.boxes[0].text, row.box->text);
            EXPECT_EQ(setUp.boxes[0].caption, row.box->caption);
            EXPECT_EQ(setUp.boxes[0].style, row.box->style);
        }
    }
}

TEST(GLRendererSetupTest, AsksForNoExtensionWhenTheFirstFormatSwapsByCopying)
{
    FakeSetUp setUp{FakeGLScript{}};
    ASSERT_EQ(setUp.Make(), "");
    EXPECT_TRUE(setUp.renderer->IsDoubleBuffered());
    EXPECT_TRUE(setUp.renderer->SwapsCopy());
    EXPECT_FALSE(setUp.Called("HasEntryPoint"));
    EXPECT_FALSE(setUp.Called("GetExtensionsString"));
    EXPECT_EQ(setUp.platform->calls.back(), "ReleaseDrawable");
}

TEST(GLRendererSetupTest, MissingExtensionEntryShowsACutMessageAndGoesOn)
{
    FakeGLScript script = SingleBuffered();
    script.extensions.reset();
    script.error = Platform::GLError{13, std::string(150, 'x')};
    FakeSetUp setUp(script);
    ASSERT_EQ(setUp.Make(), "");
    ASSERT_EQ(setUp.boxes.size(), 1u);
    EXPECT_EQ(setUp.boxes[0].style, 0u);
    EXPECT_EQ(setUp.boxes[0].text.size(), 179u);
    EXPECT_EQ(setUp.boxes[0].text.rfind("wglGetProcAddress failed with error 13: xxx", 0), 0u);
    EXPECT_EQ(setUp.renderer->GetPixelFormat(), 1);
}

TEST(GLRendererSetupTest, FailedSecondContextKeepsTheFirstAndTheWindowRefusesIt)
{
    FakeGLScript script = SingleBuffered();
    script.formats[5] = 0x425;
    script.extendedFormats = {5};
    script.contexts = {true, false};
    FakeSetUp setUp(script);
    ASSERT_EQ(setUp.Make(), "");
    EXPECT_EQ(setUp.renderer->GetPixelFormat(), 1);
    EXPECT_FALSE(setUp.renderer->IsDoubleBuffered());

    RCPtr<LRenderContextInfo> context;
    try
    {
        setUp.renderer->InitRenderContextInfo(RectI{0, 0, 8, 8}, &setUp.window, false, context);
        ADD_FAILURE() << "no throw";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ(error.what(), LGLRenderer::kContextSetFailedText);
    }
    EXPECT_TRUE(context);
    ASSERT_EQ(setUp.boxes.size(), 1u);
    EXPECT_EQ(setUp.boxes[0].text, "SetPixelFormat failed." + kAdvice);
}

TEST(GLRendererSetupTest, FrameThatCannotMakeTheContextCurrentShowsAndThrows)
{
    FakeSetUp setUp{FakeGLScript{}};
    ASSERT_EQ(setUp.Make(), "");
    RCPtr<LRenderContextInfo> context;
    setUp.renderer->InitRenderContextInfo(RectI{0, 0, 8, 8}, &setUp.window, false, context);
    setUp.platform->script.makeCurrent = false;
    EXPECT_THROW(setUp.renderer->RenderStart(context), std::runtime_error);
    EXPECT_FALSE(setUp.renderer->IsRendering());
    ASSERT_EQ(setUp.boxes.size(), 1u);
    EXPECT_EQ(setUp.boxes[0].text,
              "wglMakeCurrent failed with error 2: No such file or directory." + kAdvice);
    EXPECT_EQ(setUp.boxes[0].style, 0x30u);
}

TEST(GLRendererSetupTest, InstalledFrameworkTextsServeTheBoxesAndEnglishFillsTheGaps)
{
    SetFrameworkTextSource(
        [](std::string_view key)
        {
            if (key == "GL_ERROR_CAPTION")
            {
                return std::string("Erreur OpenGL");
            }
            return key == "GL_ERROR_MESSAGE_CHOOSE_PIXEL_FORMAT" ? std::string("Format %d refus\xC3\xA9. ")
                                                                 : std::string();
        });
    FakeGLScript script;
    script.chosenFormat = 0;
    FakeSetUp setUp(script);
    const std::string thrown = setUp.Make();
    SetFrameworkTextSource({});
    EXPECT_EQ(thrown, LGLRenderer::kChooseFailedText);
    ASSERT_EQ(setUp.boxes.size(), 1u);
    EXPECT_EQ(setUp.boxes[0].caption, "Erreur OpenGL");
    // A table text is taken as it stands: only the errors with a code fill %d in.
    EXPECT_EQ(setUp.boxes[0].text, "Format %d refus\xC3\xA9. " + kAdvice);
}

TEST(GLRendererSetupTest, FindsExtensionNamesOnlyWhole)
{
    struct Row
    {
        const char* list;
        const char* name;
        bool supported;
    };
    const Row rows[] = {
        {"WGL_ARB_pixel_format", "", false},
        {"A B WGL_ARB_pixel_format", "A B", false},
        {"WGL_ARB_pixel_format_float", "WGL_ARB_pixel_format", false},
        {"WGL_ARB_pixel_format_float WGL_ARB_pixel_format", "WGL_ARB_pixel_format", true},
        {"WGL_ARB_pixel_format WGL_EXT_x", "WGL_ARB_pixel_format", true},
        {"WGL_EXT_x WGL_ARB_pixel_format WGL_EXT_y", "WGL_ARB_pixel_format", true},
        {"XWGL_ARB_pixel_format", "WGL_ARB_pixel_format", false},
    };
    FakeSetUp setUp{FakeGLScript{}};
    ASSERT_EQ(setUp.Make(), "");
    for (const Row& row : rows)
    {
        setUp.platform->script.extensions = row.list;
        EXPECT_EQ(setUp.renderer->IsExtensionSupported(nullptr, row.name), row.supported)
            << row.list << " / " << row.name;
    }
}

TEST(GLRendererSetupTest, PureRules)
{
    const std::pair<std::int32_t, std::int32_t> powers[] = {{-1, 0}, {0, 0},       {1, 1},
                                                            {3, 4},  {4096, 4096}, {20000, 16384}};
    for (const auto& [n, expected] : powers)
    {
        EXPECT_EQ(NextPowerOfTwo(n), expected) << n;
    }

    const std::pair<std::uint32_t, std::uint8_t> alphas[] = {{0xFFFFFFFF, 0}, {0xFF000000, 255}, {0, 0}};
    for (auto [pixel, expected] : alphas)
    {
        GLPixelImage image;
        image.Set(&pixel, 4, 4, 1, 1, Platform::GLc::kBGRA, Platform::GLc::kUnsignedByte);
        image.MakeAlpha();
        EXPECT_EQ(image.pixels[0], expected) << std::hex << pixel;
        EXPECT_EQ(image.stride, 4);
    }

    RectT<float> overlap;
    EXPECT_FALSE(RectT<float>::Intersect({0, 0, 10, 10}, {10, 0, 10, 10}, overlap)) << "touching";
    EXPECT_EQ(overlap.width, 0.0f);
    EXPECT_TRUE(RectT<float>::Intersect({0, 0, 10, 10}, {5, 2, 10, 10}, overlap));
    EXPECT_EQ(overlap, (RectT<float>{5, 2, 5, 8}));
}

} // namespace
} // namespace KR::Test
