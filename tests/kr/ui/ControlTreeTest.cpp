#include "ControlTestSupport.h"
#include "UiTestSupport.h"
#include "kr/ui/RegionFromRect.h"
#include "support/LookStandIn.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace KR
{
namespace
{

using UiTest::TestControl;

RCPtr<LLayoutDescriptor> Layout(std::int32_t tabStop, std::int32_t zOrder, bool clip = true,
                                bool xDocked = false, bool yDocked = false)
{
    RCPtr<LLayoutDescriptor> layout = LLayoutDescriptor::Create();
    layout->tabStop = tabStop;
    layout->zOrder = zOrder;
    layout->clipToParent = clip;
    layout->xDocked = xDocked;
    layout->yDocked = yDocked;
    return layout;
}

std::string OrderOf(LControl& parent, std::int32_t order)
{
    std::string names;
    for (std::uint32_t i = 0; i < parent.GetChildren().GetCount(); ++i)
    {
        names += parent.GetChildren().GetAt(i, order)->GetName().ToUtf8().GetPtr();
    }
    return names;
}

TEST(ControlTree, NamesAreUniqueAmongSiblingsAndCaseCounts)
{
    const RCPtr<TestControl> parent = TestControl::Make(nullptr, u"parent");
    const RCPtr<TestControl> first = TestControl::Make(parent, u"child");
    const RCPtr<TestControl> second = TestControl::Make(nullptr, u"child");

    EXPECT_EQ(parent->GetChildren().Add(second), kFail);
    EXPECT_EQ(parent->GetChildren().Add(nullptr), kInvalidArg);
    EXPECT_EQ(parent->GetChildren().GetCount(), 1u);
    EXPECT_EQ(parent->FindChildControl(u"child"), RCPtr<LControl>(first));
    EXPECT_FALSE(parent->FindChildControl(u"Child"));
    EXPECT_FALSE(second->GetParent());
}

TEST(ControlTree, ControlsMadeUnderAParentJoinItUnlessASiblingHasTheirName)
{
    const RCPtr<TestControl> parent = TestControl::Make(nullptr, u"parent");
    const struct
    {
        const char16_t* name;
        bool joins;
    } made[] = {{u"a", true},  {u"b", true}, {u"a", false}, {u"A", true}, {u"c", true},
                {u"b", false}, {u"d", true}, {u"e", true},  {u"f", true}, {u"c", false}};
    std::vector<RCPtr<TestControl>> joined;
    for (const auto& m : made)
    {
        const RCPtr<TestControl> child = TestControl::Make(parent, m.name);
        EXPECT_EQ(child->GetParent().Get() == parent.Get(), m.joins) << KR::String(m.name).ToUtf8().GetPtr();
        if (m.joins)
        {
            joined.push_back(child);
        }
    }
    ASSERT_EQ(parent->GetChildren().GetCount(), joined.size());
    for (std::uint32_t i = 0; i < joined.size(); ++i)
    {
        EXPECT_EQ(parent->GetChildren().GetAt(i, kInsertionOrder).Get(), joined[i].Get()) << i;
    }
}

TEST(ControlTree, GetAtThrowsItsTexts)
{
    const RCPtr<TestControl> parent = TestControl::Make(nullptr, u"parent");
    TestControl::Make(parent, u"a");
    const LControl& constParent = *parent;
    const struct
    {
        std::uint32_t index;
        std::int32_t order;
        bool viaConst;
        const char* line;
    } cases[] = {{1, 0, false, "3276"}, {0, 3, false, "3296"}, {1, 1, true, "3304"}, {0, -1, true, "3324"}};
    for (const auto& c : cases)
    {
        try
        {
            c.viaConst ? constParent.GetChildren().GetAt(c.index, c.order)
                       : parent->GetChildren().GetAt(c.index, c.order);
            ADD_FAILURE() << "no throw for line " << c.line;
        }
        catch (const std::runtime_error& e)
        {
            EXPECT_EQ(
                std::string(e.what()),
                std::string("Runtime Error : KR::LControl::ChildControlList::GetAt : ControlBase\\Control : "
                            "Line ") +
                    c.line);
        }
    }
}

TEST(ControlTree, SortedOrdersFollowInsertionsAndFlags)
{
    const RCPtr<TestControl> parent = TestControl::Make(nullptr, u"parent");
    const RCPtr<TestControl> a = TestControl::Make(parent, u"a");
    const RCPtr<TestControl> b = TestControl::Make(parent, u"b");
    const RCPtr<TestControl> c = TestControl::Make(parent, u"c");
    a->SetLayoutDescriptor(Layout(2, 0, true, true, true));
    b->SetLayoutDescriptor(Layout(1, 5, false));
    c->SetLayoutDescriptor(Layout(1, 9, true, true));
    EXPECT_EQ(OrderOf(*parent, 0), "abc");
    EXPECT_EQ(OrderOf(*parent, 1), "cab");
    EXPECT_EQ(OrderOf(*parent, 2), "bca");

    const RCPtr<TestControl> d = TestControl::Make(parent, u"d");
    d->SetLayoutDescriptor(Layout(0, 0));
    EXPECT_EQ(OrderOf(*parent, 0), "abcd");
    EXPECT_EQ(OrderOf(*parent, 1), "dcab");
    EXPECT_EQ(OrderOf(*parent, 2), "dbca");

    b->SetClipToParent(true);
    EXPECT_EQ(OrderOf(*parent, 1), "dbca");
    EXPECT_EQ(parent->GetChildIndex(a, kDrawingOrder), 3);
    EXPECT_EQ(parent->GetChildIndex(a, kTabOrder), 3);
}

TEST(ControlTree, UnclippedChildCountsUpToTheRoot)
{
    const RCPtr<TestControl> root = TestControl::Make(nullptr, u"root");
    const RCPtr<TestControl> middle = TestControl::Make(root, u"middle");
    const RCPtr<TestControl> leaf = TestControl::Make(nullptr, u"leaf");
    leaf->SetLayoutDescriptor(Layout(0, 0, false));

    ASSERT_EQ(middle->GetChildren().Add(leaf), kOk);
    EXPECT_EQ(middle->GetUnclippedCount(), 1);
    EXPECT_EQ(root->GetUnclippedCount(), 1);
    leaf->SetClipToParent(true);
    EXPECT_EQ(root->GetUnclippedCount(), 0);
    leaf->SetClipToParent(false);
    EXPECT_EQ(middle->GetChildren().Remove(leaf), 0);
    EXPECT_EQ(middle->GetUnclippedCount(), 0);
    EXPECT_EQ(root->GetUnclippedCount(), 0);
    EXPECT_EQ(middle->GetChildren().Remove(leaf), -1);
}

TEST(ControlTree, ReleasedTreeDestroysEveryControlOnce)
{
    int destroyed = 0;
    {
        RCPtr<TestControl> root = TestControl::Make(nullptr, u"root");
        root->destroyed = &destroyed;
        RCPtr<TestControl> parent = root;
        for (int i = 1; i < 50; ++i)
        {
            // Every fifth control starts a new level.
            const RCPtr<TestControl> control = TestControl::Make(parent, String::Format(u"c%d", i));
            control->destroyed = &destroyed;
            if (i % 5 == 0)
            {
                parent = control;
            }
        }
        root->GetMenuItemUpdater();
        root->GetMenuItemUpdater();
        EXPECT_EQ(destroyed, 0);
    }
    EXPECT_EQ(destroyed, 50);
}

TEST(ControlTree, DetachedChildOutlivesItsReleasedParent)
{
    int destroyed = 0;
    RCPtr<TestControl> child;
    {
        const RCPtr<TestControl> parent = TestControl::Make(nullptr, u"parent");
        parent->destroyed = &destroyed;
        child = TestControl::Make(parent, u"child");
        child->destroyed = &destroyed;
    }
    EXPECT_EQ(destroyed, 1);
    EXPECT_FALSE(child->GetParent());
}

TEST(ControlTree, DescendantsAreFoundLastChildFirst)
{
    const RCPtr<TestControl> root = TestControl::Make(nullptr, u"root");
    const RCPtr<TestControl> a = TestControl::Make(root, u"x");
    const RCPtr<TestControl> b = TestControl::Make(root, u"b");
    const RCPtr<TestControl> bx = TestControl::Make(b, u"x");
    RCPtrArray<LControl> found;
    found.AddItem(root); // what the array held before is not part of the answer
    EXPECT_EQ(root->FindDescendantControls(u"x", found), 2u);
    EXPECT_EQ(found.GetCount(), 2u);
    EXPECT_EQ(found.ElementAt(0), RCPtr<LControl>(bx));
    EXPECT_EQ(found.ElementAt(1), RCPtr<LControl>(a));
}

TEST(ControlTree, ChildrenBoundsSkipDockedChildren)
{
    const RCPtr<TestControl> parent = TestControl::Make(nullptr, u"parent");
    EXPECT_EQ(parent->GetChildrenBounds(), (RectD{}));
    const RCPtr<TestControl> docked = TestControl::Make(parent, u"docked", RectD{-50, -50, 500, 500});
    docked->SetLayoutDescriptor(Layout(0, 0, true, false, true));
    EXPECT_EQ(parent->GetChildrenBounds(), (RectD{}));
    TestControl::Make(parent, u"a", RectD{10.4, 20, 5, 5});
    TestControl::Make(parent, u"b", RectD{-2.5, 30, 10, 10});
    EXPECT_EQ(parent->GetChildrenBounds(), (RectD{-3, 20, 18, 20}));
}

TEST(ControlTree, RegionFromRectTruncatesTowardZeroAfterClamping)
{
    constexpr std::int32_t kMax = 2147483647;
    constexpr std::int32_t kMin = -kMax - 1;
    const struct
    {
        RectD rect;
        EdgesI edges;
    } cases[] = {
        {{-2.5, -2.7, 10.4, 3.5}, {-2, -2, 8, 2}},
        {{0.49, 1.5, 0, 0}, {0, 2, 0, 2}},
        {{1e10, 0, 1e10, 5}, {kMax, 0, kMax, 5}},
        {{0, -1e10, 1e10, 1e10}, {0, kMin, kMax, -1}},
        {{std::nan(""), 0, 10, std::nan("")}, {kMin, 0, kMin + 10, kMin}},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(RegionEdgesFromRect(c.rect), c.edges) << c.rect.x << " " << c.rect.width;
    }
    LRegion region;
    RegionFromRect(RectD{-2.5, 0, 4, 4}, region);
    EdgesI bounds;
    ASSERT_TRUE(region.GetBounds(bounds));
    EXPECT_EQ(bounds, (EdgesI{-2, 0, 2, 4}));
    EXPECT_EQ(RoundPointToInt(PointD{-2.5, 0}).x, -3);
}

TEST(ControlTree, DeferredRemovalHidesNowAndRemovesAtIdle)
{
    const RCPtr<UiTest::FakeRootWindow> window = UiTest::FakeRootWindow::Create();
    const RCPtr<TestControl> root = TestControl::MakeRoot(window);
    const RCPtr<TestControl> child = TestControl::Make(root, u"child");
    const RCPtr<TestControl> stranger = TestControl::Make(nullptr, u"stranger");

    EXPECT_EQ(root->DeferChildRemoval(stranger), kInvalidArg);
    EXPECT_EQ(root->DeferChildRemoval(child), kOk);
    EXPECT_FALSE(child->IsShown(false));
    EXPECT_EQ(child->GetParent(), RCPtr<LControl>(root));
    window->Idle();
    EXPECT_FALSE(child->GetParent());
    EXPECT_EQ(root->GetIdleRequestCount(), 0);
    root->Detach();
}

TEST(ControlTree, ActiveLookFollowsWeightsAndGivesTheClientArea)
{
    using TestSupport::LStandInLook;
    const RCPtr<TestControl> parent = TestControl::Make(nullptr, u"parent", RectD{5, 5, 40, 40});
    const RCPtr<TestControl> child = TestControl::Make(parent, u"child", RectD{1, 2, 10, 10});
    EXPECT_FALSE(parent->GetActiveLook(-1));
    EXPECT_EQ(parent->GetLookRect(-1), (RectD{0, 0, 40, 40}));

    const RCPtr<LStandInLook> first(new LStandInLook(nullptr, false));
    const RCPtr<LStandInLook> second(new LStandInLook(nullptr, false));
    second->clientRect = RectI{3, 4, 30, 20};
    parent->AddLook(nullptr);
    parent->AddLook(first);
    parent->AddLook(second);
    EXPECT_EQ(first->GetWidth(), 40);
    EXPECT_EQ(parent->GetActiveLook(-1), RCPtr<LLook>(first));
    EXPECT_EQ(parent->GetActiveLookIndex(), -1);
    EXPECT_FALSE(parent->GetActiveLook(0));

    ASSERT_EQ(parent->SelectLook(2), kOk);
    EXPECT_EQ(parent->GetActiveLook(7), RCPtr<LLook>(second));
    EXPECT_EQ(parent->GetClientArea(), (RectD{3, 4, 30, 20}));
    EXPECT_EQ(child->GetAbsolutePosition(), (PointD{9, 11}));
    EXPECT_TRUE(parent->IsPointInLooks(PointI{}));
    second->color = 0x01000000;
    EXPECT_FALSE(parent->IsPointInLooks(PointI{}));
    EXPECT_EQ(parent->SelectLook(3), kInvalidArg);
}

TEST(ControlTree, ValueMappingClampsAndHandlesAnEmptyRange)
{
    const RCPtr<TestControl> control = TestControl::Make(nullptr, u"c");
    EXPECT_EQ(control->NormalizeValue(5.0), 0.0);
    ASSERT_EQ(control->SetValueScaling(10.0, 20.0, 0), kOk);
    EXPECT_DOUBLE_EQ(control->NormalizeValue(15.0), 0.5);
    EXPECT_DOUBLE_EQ(control->NormalizeValue(99.0), 1.0);
    EXPECT_DOUBLE_EQ(control->NormalizeValue(-1.0), 0.0);
    ASSERT_EQ(control->SetValueScaling(20.0, 20000.0, 1), kOk);
    EXPECT_NEAR(control->NormalizeValue(control->InterpolateValue(0.25)), 0.25, 1e-12);
}

} // namespace
} // namespace KR
