// The retained contents of a control that scrolls by copying, and the rectangles its
// invalidations are clipped to.

#include "ControlTestSupport.h"
#include "kr/render/gdi/GDIRenderer.h"
#include "support/LookStandIn.h"

#include <gtest/gtest.h>

#include <vector>

namespace KR
{
namespace
{

using UiTest::TestControl;

std::vector<EdgesI> Nodes(const LRegion& region)
{
    std::vector<EdgesI> nodes;
    for (const RegionNode* node = region.GetFirst(); node; node = node->next)
    {
        nodes.push_back(node->rect);
    }
    return nodes;
}

TEST(ControlRetained, ClipRectanglesAndTheRootOffset)
{
    const RCPtr<TestControl> root = TestControl::Make(nullptr, u"root", RectD{5, 5, 100, 100});
    const RCPtr<TestControl> child = TestControl::Make(root, u"child", RectD{10, 10, 30, 30});
    EXPECT_EQ(child->GetParentRectInControl(), (RectD{-10, -10, 100, 100}));
    EXPECT_EQ(root->GetParentRectInControl(), (RectD{0, 0, 100, 100})) << "no window: its own rectangle";
    EXPECT_EQ(child->GetRootToControlOffset(), (PointD{-15, -15}));
}

TEST(ControlRetained, StaleRectanglesComeFromInvalidationAndGoToDrawing)
{
    const RCPtr<TestControl> view = TestControl::Make(nullptr, u"view", RectD{0, 0, 100, 100});
    view->SetScrollsByCopying(true);
    view->SetRetainedArea(RectI{0, 0, 200, 200});
    const RCPtr<TestControl> child = TestControl::Make(view, u"child", RectD{20, 20, 10, 10});
    EXPECT_EQ(Nodes(view->GetRetainedRegion()), std::vector<EdgesI>{(EdgesI{20, 20, 30, 30})})
        << "a child placed: its rectangle is stale";

    LRegion taken;
    view->TakeStaleRects(RectI{0, 0, 100, 100}, taken);
    EXPECT_EQ(Nodes(taken), std::vector<EdgesI>{(EdgesI{20, 20, 30, 30})});
    EXPECT_TRUE(view->GetRetainedRegion().IsEmpty());

    child->Invalidate(RectD{0, 0, 4.4, 4.6}, true);
    EXPECT_EQ(Nodes(view->GetRetainedRegion()), std::vector<EdgesI>{(EdgesI{20, 20, 24, 25})})
        << "a child's invalidation, rounded half up";
    view->TakeStaleRects(RectI{0, 0, 100, 100}, taken);

    view->AddStaleRect(RectD{100, 0, 20, 10}, false);
    view->AddStaleRect(RectD{99, 40, 10, 10}, false);
    view->AddStaleRect(RectD{300, 300, 10, 10}, false);
    view->TakeStaleRects(RectI{0, 0, 100, 100}, taken);
    EXPECT_EQ(Nodes(taken), std::vector<EdgesI>{(EdgesI{99, 40, 109, 50})}) << "overlapping by one: whole";
    EXPECT_EQ(Nodes(view->GetRetainedRegion()), std::vector<EdgesI>{(EdgesI{100, 0, 120, 10})})
        << "touching the edge stays; outside the retained area never came";
}

TEST(ControlRetained, ASizeChangeRefreshesTheContentsOnlyFromTheTolerance)
{
    struct Row
    {
        const char* name;
        double height;
        bool refreshed;
    };
    const Row rows[] = {{"1e-16", 0.5 + 1e-16, false}, {"1e-14", 0.5 + 1e-14, true}};
    for (const Row& row : rows)
    {
        const RCPtr<TestControl> view = TestControl::Make(nullptr, u"view", RectD{0, 0, 100, 0.5});
        view->SetScrollsByCopying(true);
        view->SetRetainedArea(RectI{0, 0, 100, 100});
        view->SetFrame(PointD{}, PointD{100, row.height});
        EXPECT_EQ(!view->GetRetainedRegion().IsEmpty(), row.refreshed) << row.name;
    }
}

TEST(ControlRetained, TextIsClippedOnlyWithALookThatShowsSomeOfIt)
{
    const RCPtr<TestControl> control = TestControl::Make(nullptr, u"label", RectD{0, 0, 10, 10});
    control->SetText(String(u"Send"));
    EXPECT_FALSE(control->IsTextClipped()) << "no look";
    control->AddLook(RCPtr<LLook>(new TestSupport::LStandInLook(nullptr, false)));
    control->SetLookWeight(0, 1.0f, true);
    EXPECT_TRUE(control->IsTextClipped()) << "no lines laid out: some text";
    control->SetText(String());
    EXPECT_FALSE(control->IsTextClipped());
}

// Fills its whole rectangle with its colour.
class Filled : public TestControl
{
public:
    Filled(const RCPtr<LControl>& parent, const String& name, RectD frame, std::uint32_t argb)
        : TestControl(parent, name), argb(argb)
    {
        SetFrame(PointD{frame.x, frame.y}, PointD{frame.width, frame.height});
    }
    Result DrawContent(const RCPtr<LRenderer>& renderer) override
    {
        renderer->FillRect(RectI{0, 0, RoundToInt32(GetSize().x), RoundToInt32(GetSize().y)},
                           ColorF::FromARGB(argb), true);
        return kOk;
    }
    std::uint32_t argb;
};

TEST(ControlRetained, ChildrenDrawThroughTheBackBufferWhoseStalePartsAreClearedFirst)
{
    const RCPtr<LGDIRenderer> renderer(new LGDIRenderer);
    RCPtr<LRenderContextInfo> window, buffer;
    renderer->InitRenderContextInfo(RectI{0, 0, 200, 100}, nullptr, true, window);
    renderer->InitRenderContextInfo(RectI{0, 0, 80, 60}, nullptr, true, buffer);
    const RCPtr<TestControl> root = TestControl::Make(nullptr, u"root", RectD{0, 0, 200, 100});
    const RCPtr<Filled> view(new Filled(RCPtr<LControl>(root), u"view", RectD{20, 10, 80, 60}, 0xFFFFFFFF));
    view->SetScrollsByCopying(true);
    view->SetRetainedArea(RectI{0, 0, 80, 60});
    view->SetBackBuffer(buffer, RectI{0, 0, 80, 60}, false);
    const RCPtr<Filled> child(new Filled(RCPtr<LControl>(view), u"child", RectD{5, 5, 20, 20}, 0xFFFF0000));

    const auto paint = [&]
    {
        renderer->RenderStart(window);
        LRegion invalid;
        invalid.AddRect(EdgesI{0, 0, 200, 100});
        RCPtrArray<LControl> deferred;
        root->Draw(RCPtr<LRenderer>(renderer), invalid, deferred, false);
        renderer->RenderFinish(window);
    };
    const auto pixel = [](const RCPtr<LRenderContextInfo>& context, std::int32_t x, std::int32_t y)
    { return RCPtr<LGDIRenderContextInfo>(context)->GetFrontSurface()->GetBitmap().GetPixel(x, y); };
    paint();
    EXPECT_EQ(pixel(buffer, 6, 6), 0xFFFF0000u) << "drawn into the buffer at its client corner";
    EXPECT_EQ(pixel(window, 26, 16), 0xFFFF0000u) << "and copied over the view";
    EXPECT_EQ(pixel(window, 60, 40), 0xFFFFFFFFu) << "the view's own content under the copy";

    // Moved: the buffer is cleared where it was before the child draws where it is.
    child->SetFrame(PointD{40, 30}, PointD{20, 20});
    paint();
    EXPECT_EQ(pixel(buffer, 6, 6), 0u);
    EXPECT_EQ(pixel(window, 26, 16), 0xFFFFFFFFu);
    EXPECT_EQ(pixel(window, 61, 41), 0xFFFF0000u);
}

} // namespace
} // namespace KR
