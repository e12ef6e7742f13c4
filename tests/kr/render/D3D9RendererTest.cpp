#include "kr/render/D3D9Renderer.h"
#include "kr/render/Bitmap.h"
#include "kr/render/Font.h"

#include <gtest/gtest.h>

namespace KR
{
namespace
{

constexpr Result kNotImplemented = static_cast<Result>(0x80004001u);

TEST(D3D9Renderer, TakesAWholeFrameDrawsNothingAndRefusesImages)
{
    const RCPtr<LD3D9Renderer> renderer(new LD3D9Renderer);
    EXPECT_EQ(renderer->GetKind(), 2);
    RCPtr<LRenderContextInfo> context;
    ASSERT_EQ(renderer->InitRenderContextInfo({0, 0, 30, 20}, nullptr, true, context), kOk);
    EXPECT_EQ(context->GetMaxImageSize(), (PointI{0, 0}));
    EXPECT_EQ(context->state.offset, (PointD{0, 0}));
    EXPECT_EQ(context->state.clip, RenderState::kNoClip);
    EXPECT_EQ(context->state.scaleFactor, 1.0f);

    const RCPtr<LFont> font = LFont::GetFont(String(u"Arial"), 12.0f, 0);
    RectT<float> box{1, 2, 3, 4};
    std::int32_t lineHeight = 7, ascent = 7, descent = 7;
    PolylineT<float> line;
    line.points = {{0, 0}, {1, 1}};
    EXPECT_NO_THROW({
        renderer->RenderStart(context);
        renderer->PushClip({1, 1, 5, 5}, {0, 0, 9, 9}, LStencil::Create(3, 3), true);
        renderer->PushOffset({2, 2});
        renderer->DrawText(String(u"x"), font, {0, 0}, ColorF{});
        renderer->DrawFilledRect({0, 0, 5, 5}, ColorF{1, 1, 1, 1}, ColorF{1, 1, 1, 1}, 1.0f);
        renderer->DrawPolygon(line, ColorF{}, {0, 0}, {1, 1}, true);
        renderer->DrawBitmap(nullptr, {0, 0, 1, 1}, 7);
        renderer->RestoreState();
        renderer->RestoreState();
        renderer->RenderFinish(context);
        renderer->RenderFinish(context);
    });
    EXPECT_FALSE(renderer->IsRendering());
    EXPECT_EQ(renderer->MeasureText(box, String(u"wide text"), font), kOk);
    EXPECT_EQ(box, (RectT<float>{0, 0, 0, 0}));
    EXPECT_EQ(renderer->GetFontMetrics(font, lineHeight, ascent, descent), kOk);
    EXPECT_EQ(lineHeight + ascent + descent, 21) << "left as they were";
    EXPECT_EQ(renderer->DrawImage(context, {0, 0}, {0, 0, 1, 1}), kNotImplemented);
    EXPECT_EQ(renderer->ScrollImage(context, {0, 1}), kNotImplemented);
}

TEST(D3D9Renderer, StencilsCoverTheirSizeAndOnlyKindsZeroToTwoAreMade)
{
    EXPECT_EQ(LStencil::Create(30, 20)->rect, (RectI{0, 0, 30, 20}));
    for (const std::int32_t kind : {3, -1})
    {
        try
        {
            LRenderer::Create(kind, {}, nullptr);
            ADD_FAILURE() << "kind " << kind << " made a renderer";
        }
        catch (const std::domain_error& e)
        {
            EXPECT_STREQ(e.what(), "Domain Error : KR::LRenderer::Create : Renderer\\Renderer : Line 114");
        }
    }
}

} // namespace
} // namespace KR
