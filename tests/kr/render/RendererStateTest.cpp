#include "kr/render/Renderer.h"

#include "kr/core/Exception.h"
#include "kr/render/RendererFactory.h"
#include "support/RecordingRenderer.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

using KR::LRenderContextInfo;
using KR::LStencil;
using KR::PointD;
using KR::RCPtr;
using KR::RectD;
using KR::RenderState;
using KR::TestSupport::LRecordingRenderer;

class RendererState : public ::testing::Test
{
protected:
    RCPtr<LRecordingRenderer> renderer{new LRecordingRenderer};
    RCPtr<LRenderContextInfo> context = renderer->MakeContext({0, 0, 200, 100});

    const RenderState& State() const { return context->state; }
};

std::string ThrownText(const std::function<void()>& call)
{
    try
    {
        call();
    }
    catch (const std::runtime_error& e)
    {
        return e.what();
    }
    return "nothing thrown";
}

TEST_F(RendererState, PushClipClipsTheDeviceInOldCoordinatesAndMovesTheOrigin)
{
    renderer->RenderStart(context);
    renderer->PushClip({10.4, 20.6, 50, 50}, {0, 0, 100, 100}, nullptr, true);
    ASSERT_EQ(renderer->clipRects.size(), 1u);
    EXPECT_EQ(renderer->clipRects[0], (RectD{10, 20, 50, 50}));
    EXPECT_EQ(renderer->translations, (std::vector<PointD>{{10, 21}}));
    EXPECT_EQ(State().offset, (PointD{10, 21}));
    EXPECT_EQ(State().clip, (RectD{0, -1, 50, 50}));

    // Window coordinates: the origin goes to the bounds, the clip stays as given.
    renderer->PushClip({15, 30, 10, 10}, {15, 30, 10, 10}, nullptr, false);
    EXPECT_EQ(State().offset, (PointD{15, 30}));
    EXPECT_EQ(State().clip, (RectD{15, 30, 10, 10}));
    renderer->RestoreState();
    renderer->RestoreState();
    EXPECT_EQ(State().offset, (PointD{0, 0}));
    EXPECT_EQ(State().clip, RenderState::kNoClip);
}

TEST_F(RendererState, PushOffsetRoundsAwayFromZeroAndNeedsASavedState)
{
    renderer->RenderStart(context);
    renderer->PushOffset({2.5, -2.5});
    EXPECT_TRUE(renderer->translations.empty());
    EXPECT_TRUE(context->savedStates.empty());

    renderer->SaveState();
    renderer->PushOffset({2.5, -2.5});
    EXPECT_EQ(renderer->translations, (std::vector<PointD>{{3, -3}}));
    EXPECT_EQ(context->savedStates.size(), 2u);
    EXPECT_EQ(State().clip.x, RenderState::kNoClip.x - 3);
}

TEST_F(RendererState, RestoreStateBringsEverythingBackWithOneCallOfEachSetter)
{
    renderer->RenderStart(context);
    RCPtr<LStencil> first(new LStencil(40, 30));
    renderer->PushClip({5, 5, 80, 60}, {0, 0, 100, 100}, first, true);
    EXPECT_EQ(State().stencil, first);
    EXPECT_TRUE(State().stencilInForce);

    const RenderState before = State();
    RCPtr<LStencil> second(new LStencil(8, 6));
    renderer->PushClip({1, 2, 10, 10}, {0, 0, 10, 10}, second, true);
    context->state.scaleFactor = 0.25f;
    // A stencil in force gets a fresh one of the new one's size, not the new one.
    ASSERT_TRUE(State().stencil);
    EXPECT_NE(State().stencil, second);
    EXPECT_EQ(State().stencil->rect, (KR::RectI{0, 0, 8, 6}));

    renderer->ClearRecord();
    renderer->RestoreState();
    EXPECT_EQ(renderer->translations.size(), 1u);
    EXPECT_EQ(renderer->clipRects.size(), 1u);
    EXPECT_EQ(renderer->stencils.size(), 1u);
    EXPECT_EQ(State().offset, before.offset);
    EXPECT_EQ(State().clip, before.clip);
    EXPECT_EQ(State().scaleFactor, before.scaleFactor);
    EXPECT_EQ(State().stencil, first);
    EXPECT_TRUE(State().stencilInForce);

    renderer->RestoreState();
    renderer->ClearRecord();
    renderer->RestoreState();
    EXPECT_TRUE(renderer->translations.empty());
    EXPECT_TRUE(renderer->clipRects.empty());
    EXPECT_EQ(State().clip, RenderState::kNoClip);
    EXPECT_FALSE(State().stencil);
}

TEST_F(RendererState, ContextsEnterOnceAndLeaveInOrder)
{
    RCPtr<LRenderContextInfo> offscreen = renderer->MakeContext({0, 0, 10, 10}, true);
    renderer->RenderStart(context);
    renderer->RenderStart(offscreen);
    EXPECT_EQ(ThrownText([&] { renderer->RenderStart(context); }), LRecordingRenderer::kContextReenteredText);
    EXPECT_EQ(ThrownText([&] { renderer->RenderFinish(context); }), LRecordingRenderer::kContextMismatchText);
    EXPECT_EQ(ThrownText([&] { renderer->RenderStart(nullptr); }), LRecordingRenderer::kContextNullText);
    EXPECT_EQ(renderer->GetCurrentContext(), offscreen);
    renderer->RenderFinish(offscreen);
    EXPECT_EQ(renderer->GetCurrentContext(), context);
    renderer->RenderFinish(context);
    EXPECT_FALSE(renderer->IsRendering());
    EXPECT_EQ(ThrownText([&] { renderer->RenderFinish(context); }), LRecordingRenderer::kContextMismatchText);
}

TEST_F(RendererState, StateOperationsOutsideAFrameChangeNothing)
{
    renderer->SaveState();
    renderer->PushClip({1, 1, 5, 5}, {1, 1, 5, 5}, RCPtr<LStencil>(new LStencil(1, 1)), true);
    renderer->PushOffset({4, 4});
    renderer->SetViewport({1, 2, 3, 4});
    renderer->RestoreState();
    EXPECT_TRUE(context->savedStates.empty());
    EXPECT_EQ(State().offset, (PointD{0, 0}));
    EXPECT_EQ(context->viewport, (KR::RectI{0, 0, 200, 100}));
    EXPECT_FALSE(State().stencil);
}

TEST_F(RendererState, DrawingCallsCarryTheStateInForce)
{
    renderer->RenderStart(context);
    renderer->PushClip({4, 6, 20, 20}, {0, 0, 20, 20}, nullptr, true);
    renderer->DrawFilledRect({0, 0, 5, 5}, KR::ColorF(1, 0, 0, 1), KR::ColorF(0, 0, 0, 0), 1.0f);
    renderer->DrawFilledRect({0, 0, 5, 5}, KR::ColorF(0, 0, 0, 0), KR::ColorF(0, 1, 0, 1), 2.0f);
    renderer->RestoreState();
    renderer->RenderFinish(context);
    ASSERT_EQ(renderer->calls.size(), 2u);
    EXPECT_EQ(renderer->calls[0].op, "FillRect");
    EXPECT_TRUE(renderer->calls[0].flag);
    EXPECT_EQ(renderer->calls[0].offset, (PointD{4, 6}));
    EXPECT_EQ(renderer->calls[0].clip, (RectD{0, 0, 16, 14}));
    EXPECT_EQ(renderer->calls[1].op, "DrawRect");
    EXPECT_EQ(renderer->calls[1].penWidth, 2.0f);
}

TEST(RendererCreate, KindsOutsideTheThreeThrowAndTheDefaultFactoryDrawsNothing)
{
    EXPECT_THROW(KR::LRenderer::Create(3, {}, nullptr), std::domain_error);
    EXPECT_THROW(KR::LRenderer::Create(-1, {}, nullptr), std::domain_error);
    const RCPtr<KR::LRenderer> inert = KR::LRenderer::Create(2, {}, nullptr);
    ASSERT_TRUE(inert);
    EXPECT_EQ(inert->GetKind(), 2);
    RCPtr<LRenderContextInfo> context;
    ASSERT_EQ(inert->InitRenderContextInfo({0, 0, 4, 4}, nullptr, false, context), KR::kOk);
    inert->RenderStart(context);
    EXPECT_EQ(inert->FillRect({0, 0, 4, 4}, KR::ColorF(1, 1, 1, 1), true), KR::kOk);
    inert->RenderFinish(context);

    KR::SetRendererFactory([](std::int32_t kind, const KR::RectI&, KR::WindowHandle)
                           { return RCPtr<KR::LRenderer>(new LRecordingRenderer(kind)); });
    const RCPtr<LRecordingRenderer> recording(KR::LRenderer::Create(1, {}, nullptr));
    EXPECT_TRUE(recording);
    KR::SetRendererFactory(nullptr);
}

} // namespace
