#include "ControlTestSupport.h"

#include <gtest/gtest.h>

namespace KR
{
namespace
{

using UiTest::TestControl;

TEST(ControlFocus, TabWalkSkipsDisabledChildrenAndWraps)
{
    const RCPtr<TestControl> parent = TestControl::Make(nullptr, u"parent");
    const RCPtr<TestControl> a = TestControl::Make(parent, u"a");
    const RCPtr<TestControl> b = TestControl::Make(parent, u"b");
    const RCPtr<TestControl> c = TestControl::Make(parent, u"c");
    b->SetEnabled(false);
    const struct
    {
        RCPtr<TestControl> from;
        bool backward;
        RCPtr<TestControl> expected;
    } cases[] = {{a, false, c}, {c, false, a}, {c, true, a}, {a, true, c}};
    for (const auto& row : cases)
    {
        EXPECT_EQ(parent->GetNextTabControl(row.from, row.backward), RCPtr<LControl>(row.expected))
            << row.from->GetName().ToUtf8().GetPtr() << (row.backward ? " backward" : " forward");
    }
    const RCPtr<TestControl> stranger = TestControl::Make(nullptr, u"stranger");
    EXPECT_FALSE(parent->GetNextTabControl(stranger, false));
    EXPECT_FALSE(parent->GetNextTabControl(nullptr, false));
}

TEST(ControlFocus, SingleChildWalksToItselfWhenItQualifies)
{
    const RCPtr<TestControl> parent = TestControl::Make(nullptr, u"parent");
    const RCPtr<TestControl> only = TestControl::Make(parent, u"only");
    EXPECT_EQ(parent->GetNextTabControl(only, false), RCPtr<LControl>(only));
    EXPECT_EQ(parent->GetNextTabControl(only, true), RCPtr<LControl>(only));
    only->SetVisible(false);
    EXPECT_FALSE(parent->GetNextTabControl(only, false));
}

TEST(ControlFocus, FirstAndLastFocusableChildSkipWhatCannotHoldTheFocus)
{
    const RCPtr<TestControl> parent = TestControl::Make(nullptr, u"parent");
    EXPECT_FALSE(parent->GetFirstFocusableChild());
    const RCPtr<TestControl> hidden = TestControl::Make(parent, u"hidden");
    const RCPtr<TestControl> plain = TestControl::Make(parent, u"plain", RectD{0, 0, 10, 10}, false);
    const RCPtr<TestControl> other = TestControl::Make(parent, u"other", RectD{0, 0, 10, 10}, false);
    hidden->SetVisible(false);
    // Neither shown child can hold the focus and the hidden first one is never reached
    // again: the walk must end anyway.
    EXPECT_FALSE(parent->GetFirstFocusableChild());
    EXPECT_FALSE(parent->GetLastFocusableChild());

    plain->SetNotFocusable(false);
    EXPECT_EQ(parent->GetFirstFocusableChild(), RCPtr<LControl>(plain));
    EXPECT_EQ(parent->GetLastFocusableChild(), RCPtr<LControl>(plain));
}

TEST(ControlFocus, RequestFocusClimbsPastChildrenThatCannotTakeIt)
{
    const RCPtr<UiTest::FakeRootWindow> window = UiTest::FakeRootWindow::Create();
    const RCPtr<TestControl> root = TestControl::MakeRoot(window);
    const RCPtr<TestControl> panel = TestControl::Make(root, u"panel");
    const RCPtr<TestControl> label = TestControl::Make(panel, u"label", RectD{0, 0, 10, 10}, false);
    label->RequestFocus(nullptr);
    EXPECT_TRUE(panel->HasFocus());
    EXPECT_EQ(root->GetFocusedChild(), RCPtr<LControl>(panel));
    root->Detach();
}

} // namespace
} // namespace KR
