#include "ControlTestSupport.h"
#include "kr/render/AutoClip.h"
#include "kr/ui/LayoutDescriptor.h"
#include "support/LookStandIn.h"
#include "support/RecordingRenderer.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace KR
{
namespace
{

using TestSupport::LRecordingRenderer;
using UiTest::TestControl;

// Every drawing step of the tree in one log: "<control>:<step>@<opacity>".
std::vector<std::string> gLog;

std::string Entry(const std::string& who, const std::string& step, const LRenderer& renderer)
{
    const float opacity = renderer.GetCurrentState() ? renderer.GetCurrentState()->scaleFactor : -1.0f;
    return who + ":" + step + "@" + std::to_string(opacity).substr(0, 4);
}

class LoggingLook : public TestSupport::LStandInLook
{
public:
    explicit LoggingLook(std::string owner) : LStandInLook(nullptr, false), mOwner(std::move(owner)) {}
    Result DrawClientPart(LRenderer& renderer, const LRegion&) override
    {
        gLog.push_back(Entry(mOwner, "look", renderer));
        return kOk;
    }

private:
    std::string mOwner;
};

class DrawnControl : public TestControl
{
public:
    static RCPtr<DrawnControl> Make(const RCPtr<LControl>& parent, const char16_t* name, RectD frame,
                                    bool clip = true, std::int32_t zOrder = 0)
    {
        RCPtr<DrawnControl> control(new DrawnControl(parent, name));
        control->SetFrame(PointD{frame.x, frame.y}, PointD{frame.width, frame.height});
        control->SetClipToParent(clip);
        if (zOrder != 0)
        {
            control->GetLayoutDescriptor()->zOrder = zOrder;
            parent->GetChildren().RaiseGeneration();
        }
        return control;
    }
    using TestControl::TestControl;
    Result DrawContent(const RCPtr<LRenderer>& renderer) override
    {
        gLog.push_back(Entry(GetName().ToUtf8().GetPtr(), "content", *renderer));
        return kOk;
    }
    // An opaque look of weight 1 at index 0, so the hit test sees the control.
    void AddOpaqueLook(std::uint32_t color = 0xFF000000)
    {
        RCPtr<TestSupport::LStandInLook> look(new TestSupport::LStandInLook(nullptr, false));
        look->color = color;
        AddLook(look);
        SetLookWeight(static_cast<std::int32_t>(GetLookCount()) - 1, 1.0f, false);
    }
};

// Draws the tree as a window does: the normal pass, then the deferred controls.
void Paint(const RCPtr<LRecordingRenderer>& renderer, LControl& root,
           const RectI& area = RectI{0, 0, 1000, 1000})
{
    const RCPtr<LRenderer> shared(renderer);
    auto context = renderer->MakeContext(area);
    renderer->RenderStart(context);
    LRegion invalid;
    invalid.AddRect(EdgesFromRect(area));
    RCPtrArray<LControl> deferred;
    root.Draw(shared, invalid, deferred, false);
    for (std::uint32_t i = 0; i < deferred.GetCount(); ++i)
    {
        RCPtrArray<LControl> none;
        deferred.ElementAt(i)->Draw(shared, invalid, none, true);
    }
    renderer->RenderFinish(context);
}

std::string Joined()
{
    std::string all;
    for (const std::string& entry : gLog)
    {
        all += (all.empty() ? "" : " ") + entry;
    }
    gLog.clear();
    return all;
}

TEST(ControlDrawing, OrderOpacityAndDeferredControls)
{
    struct Row
    {
        const char* name;
        void (*build)(const RCPtr<DrawnControl>& root);
        const char* expected;
    };
    const Row rows[] = {
        {"opacity times look weight",
         [](const RCPtr<DrawnControl>& root)
         {
             root->SetOpacity(0.5f);
             const RCPtr<LoggingLook> look(new LoggingLook("r"));
             root->AddLook(look);
             root->SetLookWeight(0, 0.5f, false);
         },
         "r:look@0.25 root:content@0.50"},
        {"children once under each weighted look",
         [](const RCPtr<DrawnControl>& root)
         {
             root->AddLook(RCPtr<LLook>(new LoggingLook("a")));
             root->AddLook(RCPtr<LLook>(new LoggingLook("b")));
             root->SetLookWeight(0, 0.5f, false);
             root->SetLookWeight(1, 0.25f, false);
             DrawnControl::Make(root, u"c", RectD{1, 1, 5, 5});
         },
         "a:look@0.50 b:look@0.25 root:content@1.00 c:content@0.50 c:content@0.25"},
        {"more weighted looks than fit at hand: slot order, weight 0 passed over",
         [](const RCPtr<DrawnControl>& root)
         {
             const float weights[] = {0.5f, 0.0f, 1.0f, 0.25f, 1.0f, 0.75f};
             for (std::int32_t i = 0; i < 6; ++i)
             {
                 root->AddLook(RCPtr<LLook>(new LoggingLook(std::string(1, static_cast<char>('a' + i)))));
                 root->SetLookWeight(i, weights[i], false);
             }
             DrawnControl::Make(root, u"k", RectD{1, 1, 5, 5});
         },
         "a:look@0.50 c:look@1.00 d:look@0.25 e:look@1.00 f:look@0.75 root:content@1.00 "
         "k:content@0.50 k:content@1.00 k:content@0.25 k:content@1.00 k:content@0.75"},
        {"a look of weight 0 hides the children with it",
         [](const RCPtr<DrawnControl>& root)
         {
             root->AddLook(RCPtr<LLook>(new LoggingLook("a")));
             root->SetLookWeight(0, 0.0f, false);
             DrawnControl::Make(root, u"k", RectD{1, 1, 5, 5});
         },
         "root:content@1.00"},
        {"unclipped children after the tree, by Z_Order then tree order",
         [](const RCPtr<DrawnControl>& root)
         {
             root->AddOpaqueLook();
             DrawnControl::Make(root, u"u", RectD{90, 90, 50, 50}, false, 2);
             DrawnControl::Make(root, u"v", RectD{90, 90, 50, 50}, false, 1);
             DrawnControl::Make(root, u"w", RectD{90, 90, 50, 50}, false, 1);
             DrawnControl::Make(root, u"k", RectD{1, 1, 5, 5});
         },
         "root:content@1.00 k:content@1.00 v:content@1.00 w:content@1.00 u:content@1.00"},
        {"zero-width control still gives its unclipped descendant",
         [](const RCPtr<DrawnControl>& root)
         {
             root->AddOpaqueLook();
             const RCPtr<DrawnControl> flat = DrawnControl::Make(root, u"flat", RectD{1, 1, 0, 5});
             flat->AddOpaqueLook();
             DrawnControl::Make(flat, u"free", RectD{0, 0, 5, 5}, false);
         },
         "root:content@1.00 free:content@1.00"},
    };
    for (const Row& row : rows)
    {
        gLog.clear();
        const RCPtr<DrawnControl> root = DrawnControl::Make(nullptr, u"root", RectD{0, 0, 100, 100});
        row.build(root);
        gLog.clear();
        const RCPtr<LRecordingRenderer> renderer(new LRecordingRenderer);
        Paint(renderer, *root);
        EXPECT_EQ(Joined(), row.expected) << row.name;
        EXPECT_EQ(renderer->saves, renderer->restores) << row.name;
        root->ReleaseInternalReferences();
    }
}

TEST(ControlDrawing, WrongPassIsRefusedAndBadClipFlavourLeavesTheStack)
{
    RCPtr<LRecordingRenderer> renderer(new LRecordingRenderer);
    auto context = renderer->MakeContext(RectI{0, 0, 100, 100});
    renderer->RenderStart(context);
    const RCPtr<DrawnControl> root = DrawnControl::Make(nullptr, u"root", RectD{0, 0, 100, 100});
    const RCPtr<DrawnControl> free = DrawnControl::Make(root, u"free", RectD{0, 0, 10, 10}, false);
    RCPtrArray<LControl> deferred;
    gLog.clear();
    EXPECT_EQ(free->Draw(renderer, LRegion(), deferred, false), kInvalidArg);
    EXPECT_EQ(root->Draw(renderer, LRegion(), deferred, true), kInvalidArg);
    EXPECT_TRUE(gLog.empty());
    EXPECT_EQ(renderer->saves, 0);

    {
        CAutoClip outer(renderer, ClipDescriptor{ClipDescriptor::kSaveState});
        EXPECT_THROW(CAutoClip(renderer, ClipDescriptor{7}), std::runtime_error);
        EXPECT_EQ(renderer->saves, 1);
        EXPECT_EQ(renderer->restores, 0);
    }
    EXPECT_EQ(renderer->restores, 1);
    renderer->RenderFinish(context);
    root->ReleaseInternalReferences();
}

TEST(ControlDrawing, HitTestTakesTheTopmostOfTheHighestRank)
{
    struct Row
    {
        const char* name;
        void (*build)(const RCPtr<DrawnControl>& root);
        PointI point;
        const char16_t* expected;
    };
    const Row rows[] = {
        {"equal ranks: the topmost",
         [](const RCPtr<DrawnControl>& root)
         {
             DrawnControl::Make(root, u"a", RectD{10, 10, 20, 20})->AddOpaqueLook();
             DrawnControl::Make(root, u"b", RectD{15, 15, 20, 20})->AddOpaqueLook();
         },
         PointI{20, 20}, u"b"},
        {"unclipped child of higher Z_Order beats a later clipped sibling",
         [](const RCPtr<DrawnControl>& root)
         {
             DrawnControl::Make(root, u"free", RectD{10, 10, 20, 20}, false, 3)->AddOpaqueLook();
             DrawnControl::Make(root, u"b", RectD{15, 15, 20, 20})->AddOpaqueLook();
         },
         PointI{20, 20}, u"free"},
        {"transparent look passes to the parent",
         [](const RCPtr<DrawnControl>& root) {
             DrawnControl::Make(root, u"glass", RectD{10, 10, 20, 20})->AddOpaqueLook(0x00FFFFFF);
         },
         PointI{20, 20}, u"root"},
        {"excluded control is skipped",
         [](const RCPtr<DrawnControl>& root)
         {
             const RCPtr<DrawnControl> a = DrawnControl::Make(root, u"a", RectD{10, 10, 20, 20});
             a->AddOpaqueLook();
             a->SetExcludedFromHitTest(true);
         },
         PointI{20, 20}, u"root"},
        {"child point is in the parent's client coordinates",
         [](const RCPtr<DrawnControl>& root)
         {
             const RCPtr<DrawnControl> a = DrawnControl::Make(root, u"a", RectD{10, 10, 40, 40});
             a->AddOpaqueLook();
             DrawnControl::Make(a, u"inner", RectD{5, 5, 5, 5})->AddOpaqueLook();
         },
         PointI{17, 17}, u"inner"},
    };
    for (const Row& row : rows)
    {
        const RCPtr<DrawnControl> root = DrawnControl::Make(nullptr, u"root", RectD{0, 0, 100, 100});
        root->AddOpaqueLook();
        row.build(root);
        PointI local{};
        const RCPtr<LControl> hit = root->HitTest(row.point, local, true);
        ASSERT_TRUE(hit) << row.name;
        EXPECT_EQ(hit->GetName(), String(row.expected)) << row.name;
        root->ReleaseInternalReferences();
    }
}

} // namespace
} // namespace KR
