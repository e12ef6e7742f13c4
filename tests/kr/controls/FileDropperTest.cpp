// The file dropper: carried along both axes by a left drag, gone from its parent at the
// idle pass after the drag ends.

#include "kr/controls/FileDropper.h"
#include "kr/ui/MouseTestSupport.h"

#include <gtest/gtest.h>

namespace KR
{
namespace
{

TEST(FileDropper, ADragCarriesItAlongBothAxesThenItLeavesItsParentAtIdle)
{
    MouseTest::Scene scene;
    const RCPtr<LFileDropper> dropper(new LFileDropper(RCPtr<LControl>(scene.root), String(u"fileDropper1")));
    dropper->SetFrame(PointD{10, 10}, PointD{54, 38});
    dropper->InitializeConditions();
    dropper->PlaceParts();
    EXPECT_TRUE(dropper->IsNotFocusable(false));
    MouseTest::Press(*dropper, 5, 5);
    EXPECT_EQ(dropper->GetDragMode(), 1);
    MouseTest::Move(*dropper, 25, 15);
    EXPECT_EQ(dropper->GetPosition(), (PointD{30, 20}));
    MouseTest::Release(*dropper, 25, 15);
    EXPECT_EQ(dropper->GetParent().Get(), static_cast<LControl*>(scene.root.Get()))
        << "until the parent's idle pass";
    scene.window->Idle();
    EXPECT_EQ(scene.root->GetChildren().GetCount(), 0u);
    EXPECT_FALSE(dropper->GetParent());
}

} // namespace
} // namespace KR
