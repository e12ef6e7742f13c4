#include "MouseTestSupport.h"

#include <gtest/gtest.h>

namespace KR
{
namespace
{

using namespace MouseTest;

// Each row drags a 20 x 20 control at (10, 10) in the 100 x 100 root: pressed at one
// point of its own, moved to another (its own coordinates at the press).
TEST(ControlDrag, MovesAndResizesStayInsideTheParentAndKeepAUnitOfSize)
{
    const struct Row
    {
        const char* name;
        std::int32_t mode;
        std::int32_t axes;
        PointI press;
        PointI to;
        RectD expected;
    } rows[] = {
        {"move, both axes", 2, 3, {5, 5}, {25, 30}, {30, 35, 20, 20}},
        {"move, X only", 2, 1, {5, 5}, {25, 30}, {30, 10, 20, 20}},
        {"move, held at the parent's right edge", 2, 1, {5, 5}, {200, 5}, {94, 10, 20, 20}},
        {"move, held at the parent's left edge", 2, 1, {5, 5}, {-200, 5}, {-5, 10, 20, 20}},
        {"resize by the right edge", 4, 0x4, {19, 5}, {29, 5}, {10, 10, 30, 20}},
        {"right edge past the left one", 4, 0x4, {19, 5}, {-15, 5}, {10, 10, 1, 20}},
        {"left edge past the right one", 4, 0x8, {0, 5}, {50, 5}, {29, 10, 1, 20}},
        {"top edge past the bottom one", 4, 0x10, {5, 0}, {5, 60}, {10, 29, 20, 1}},
        {"bottom edge down", 5, 0x20, {5, 19}, {5, 24}, {10, 10, 20, 25}},
        {"both X edges: the right one", 4, 0xC, {19, 5}, {24, 5}, {10, 10, 25, 20}},
    };
    for (const Row& row : rows)
    {
        Scene scene;
        const RCPtr<MouseControl> c = MouseControl::Make(scene.root, u"c", RectD{10, 10, 20, 20});
        c->modeOnPress = row.mode;
        c->axesOnPress = row.axes;
        Press(*c, row.press.x, row.press.y);
        Move(*c, row.to.x, row.to.y);
        EXPECT_EQ(c->GetFrame(), row.expected) << row.name;
        Release(*c, row.to.x, row.to.y);
        EXPECT_EQ(c->GetFrame(), row.expected) << row.name << ": the release keeps it";
    }
}

TEST(ControlDrag, APointerRestingInTheEdgeZoneKeepsTheParentScrollingAndTheControlUnderIt)
{
    Scene scene;
    const RCPtr<MouseControl> c = MouseControl::Make(scene.root, u"c", RectD{10, 10, 20, 20});
    c->modeOnPress = 3;
    c->axesOnPress = 3;
    Press(*c, 5, 5);
    // The pointer ends 9 units inside the 30-unit zone at the right: x = 79 in the root.
    Move(*c, 69, 5);
    scene.window->mouse = PointI{79, 15};
    const LControl::Timer& timer = scene.root->GetTimer(0);
    ASSERT_TRUE(timer.running);
    EXPECT_DOUBLE_EQ(timer.values[0], 15.0 * 10) << "15 units per second per unit of depth";
    EXPECT_EQ(timer.target.Get(), c.Get());
    EXPECT_FALSE(scene.root->GetTimer(1).running) << "no zone at the top while nothing is scrolled there";

    for (int i = 0; i < 3; ++i)
    {
        scene.app.Advance(100);
        scene.window->Idle();
    }
    EXPECT_EQ(scene.root->GetScrollOffset().x, 45.0) << "15 units per tenth of a second";
    EXPECT_TRUE(scene.root->GetTimer(0).running) << "still scrolling while the pointer rests";
    EXPECT_EQ(c->GetPosition().x - scene.root->GetScrollOffset().x, 74.0)
        << "the control stays under the pointer";

    Move(*c, -34, 5); // to x = 40 in the root

    EXPECT_FALSE(scene.root->GetTimer(0).running) << "out of the zone";
    Release(*c, -34, 5);
    EXPECT_EQ(scene.root->GetIdleRequestCount(), 0);
}

TEST(ControlDrag, AMoveInAScrolledParentLeavesFromWhereTheControlIs)
{
    for (const std::int32_t mode : {1, 2})
    {
        Scene scene;
        const RCPtr<MouseControl> c = MouseControl::Make(scene.root, u"c", RectD{10, 40, 20, 20});
        scene.root->SetScrollOffset(PointD{0, 20});
        c->modeOnPress = mode;
        c->axesOnPress = 3;
        Press(*c, 5, 5);
        Move(*c, 6, 7);
        EXPECT_EQ(c->GetPosition(), (PointD{11, 42})) << "mode " << mode;
        Release(*c, 6, 7);
        EXPECT_EQ(c->GetPosition(), (PointD{11, 42})) << "mode " << mode;
    }
}

TEST(ControlDrag, ADropTargetTakesTheDropAndTheCursorFollowsAcceptance)
{
    Scene scene;
    const RCPtr<MouseControl> dragged = MouseControl::Make(scene.root, u"dragged", RectD{10, 10, 20, 20});
    const RCPtr<MouseControl> bin = MouseControl::Make(scene.root, u"bin", RectD{60, 10, 30, 30});
    dragged->AddOpaqueLook();
    bin->AddOpaqueLook();
    bin->acceptsDrop = true;
    dragged->modeOnPress = 1;
    dragged->axesOnPress = 3;

    Press(*dragged, 5, 5);
    Move(*dragged, 10, 5); // still over itself: it is passed by, and the root takes nothing
    EXPECT_FALSE(dragged->ClipsToParent()) << "it travels over its siblings";
    EXPECT_EQ(scene.app.cursorNames, (std::vector<String>{u"UI_CURSOR_NO_DROP"}));
    EXPECT_FALSE(dragged->GetDropTarget());

    Move(*dragged, 55, 5); // the pointer over the bin at (70, 15)
    EXPECT_EQ(dragged->GetDropTarget().Get(), bin.Get());
    EXPECT_EQ(scene.app.cursorNames.back(), String(u"UI_CURSOR_DROP_MOVE"));
    EXPECT_EQ(scene.window->cursor, 2u);

    Release(*dragged, 55, 5);
    EXPECT_EQ(bin->drops, (std::vector<std::string>{"drop dragged", "ended dragged"}));
    EXPECT_FALSE(dragged->GetDropTarget());
    EXPECT_EQ(scene.window->cursor, 0u) << "the default cursor again";
    EXPECT_TRUE(dragged->ClipsToParent());
    EXPECT_EQ(dragged->GetPosition(), (PointD{65, 10}));
}

} // namespace
} // namespace KR
