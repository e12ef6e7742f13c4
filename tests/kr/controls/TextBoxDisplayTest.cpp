#include "kr/controls/TextBox.h"

#include "ControlsTestSupport.h"
#include "kr/render/MeasurementRenderer.h"
#include "kr/render/gdi/RendererFrame.h"
#include "kr/ui/Clipboard.h"
#include "kr/ui/ControlTestSupport.h"
#include "kr/ui/Look.h"
#include "kr/ui/NotificationParams.h"
#include "support/FrameworkAppStandIn.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace KR
{
namespace
{

using ControlsTest::TenPerUnit;

struct TextBoxDisplayTest : ::testing::Test
{
    void SetUp() override
    {
        app.measurementRenderer = TenPerUnit();
        app.activeRootWindow = window;
        root = UiTest::TestControl::MakeRoot(window);
        box = RCPtr<LTextBox>(new LTextBox(RCPtr<LControl>(root), String(u"box")));
        box->SetFrame(PointD{}, PointD{100, 20});
        // Fourteen looks whose text area runs from 2 to 2 short of the right edge.
        RCPtr<LLookDescriptor> look(new LLookDescriptor(String(u"look")));
        look->text.hasTextProperties = true;
        look->text.leftAbsolute = 2;
        look->text.rightRelative = 1.0f;
        look->text.rightAbsolute = -2;
        look->text.bottomRelative = 1.0f;
        for (int i = 0; i < 14; ++i)
        {
            box->AddLook(LLook::Create(look, false));
        }
        box->SelectLook(0);
        box->SetNotFocusable(false);
        box->InitializeConditions();
        ASSERT_EQ(box->Initialize(), kOk);
        other = UiTest::TestControl::Make(root, u"other");
    }
    void TearDown() override { root->ReleaseInternalReferences(); }

    void Focus()
    {
        box->SetFocus(true);
        box->UpdateConditions();
        ASSERT_TRUE(box->HasFocus());
    }
    RCPtr<LMouseButtonParam> Press(std::int32_t x, std::uint32_t modifiers = 0, bool doubleClick = false)
    {
        return LMouseButtonParam::Create(1, PointI{x, 5}, modifiers, doubleClick, 1);
    }

    TestSupport::LStandInFrameworkApp app;
    RCPtr<UiTest::FakeRootWindow> window = UiTest::FakeRootWindow::Create();
    RCPtr<UiTest::TestControl> root;
    RCPtr<UiTest::TestControl> other;
    RCPtr<LTextBox> box;
};

TEST_F(TextBoxDisplayTest, GeometryOfTheCaretTheCharactersAndTheSelection)
{
    box->SetText(String(u"abcdef"), true);
    box->SetCaretPosition(3, true);
    EXPECT_EQ(box->GetCaretRect().x, 31.0);
    EXPECT_EQ(box->GetCaretRect().width, 1.0);
    const struct
    {
        double x;
        std::int32_t index;
    } hits[] = {{16, 1}, {17, 2}, {0, 0}, {95, 6}, {1000, 6}};
    for (const auto& hit : hits)
    {
        EXPECT_EQ(box->HitTestCharacter(PointD{hit.x, 5}), hit.index) << hit.x;
    }
    EXPECT_EQ(box->GetCharRect(7).width, 0.0);

    Focus();
    box->SetSelection(1, 2, 1);
    EXPECT_EQ(box->GetActiveLookIndex(), LTextBox::kLookFocused);
    EXPECT_EQ(box->GetLookWeight(LTextBox::kLookSelection), 1.0f);
    EdgesI bounds{};
    ASSERT_TRUE(box->GetActiveLook(LTextBox::kLookSelection)->GetRegion().GetBounds(bounds));
    EXPECT_EQ(bounds.left, 12);
    EXPECT_EQ(bounds.right, 31);

    // Scrolled by 15, the selection's start lies left of the text area and is cut there.
    box->SetScrollOffset(PointD{15, 0});
    ASSERT_TRUE(box->GetActiveLook(LTextBox::kLookSelection)->GetRegion().GetBounds(bounds));
    EXPECT_EQ(bounds.left, 2);
    EXPECT_EQ(bounds.right, 16);
}

// Drawn where the box stands in the window (here 40 right and 2 down of its corner), in
// black for a look without a text colour.
TEST_F(TextBoxDisplayTest, TheCaretIsDrawnAtTheBoxsPlaceOnlyWhileFocusedAndShown)
{
    box->SetText(String(u"abcdef"), true);
    box->SetCaretPosition(3, true);
    const auto draw = [&]
    {
        KR::Test::RendererFrame frame(140, 20);
        frame.Start();
        frame.renderer->SaveState();
        frame.renderer->PushOffset(PointD{40, 2});
        box->DrawOverlay(RCPtr<LRenderer>(frame.renderer));
        frame.renderer->RestoreState();
        frame.renderer->RestoreState();
        frame.Finish();
        return std::make_pair(frame.Pixel(71, 10), frame.Count(0xFF000000u));
    };
    EXPECT_EQ(draw().second, 0);
    Focus();
    const auto [atCaret, black] = draw();
    EXPECT_EQ(atCaret, 0xFF000000u);
    EXPECT_EQ(black, 16);
    app.Advance(500);
    window->Idle();
    EXPECT_EQ(draw().second, 0);
}

TEST_F(TextBoxDisplayTest, HitTestWithoutLinesTakesTheFirstLine)
{
    app.measurementRenderer = nullptr;
    box->SetText(String(u"abc"), true);
    EXPECT_EQ(box->HitTestCharacter(PointD{50, 50}), 3);
}

TEST_F(TextBoxDisplayTest, TheCaretBlinksAndTypingShowsIt)
{
    box->SetText(String(u"ab"), true);
    Focus();
    const struct
    {
        std::uint32_t advance;
        bool type;
        bool shown;
    } steps[] = {{500, false, false}, {300, false, true}, {500, false, false}};
    for (const auto& step : steps)
    {
        app.Advance(step.advance);
        window->Idle();
        EXPECT_EQ(box->IsCaretShown(), step.shown) << app.seconds;
    }
    // At 0.6 s from a fresh start, typing shows the caret.
    app.Advance(100);
    window->Idle();
    box->OnKeyDown(LKeyParam::Create(KeyCode{u'x'}, false));
    EXPECT_TRUE(box->IsCaretShown());
}

TEST_F(TextBoxDisplayTest, LeavingScrollsBackAndTheCueShowsOnlyWhenEmptyAndUnfocused)
{
    box->SetAutoScroll(0, true);
    // The laid-out text is the scroll view's contents: its extent, announced like any other.
    const RCPtr<UiTest::Recorder> recorder = UiTest::Recorder::Create();
    recorder->Listen(RCPtr<LControl>(box), {u"NID_CLIENT_EXTENT_CHANGE"});
    box->SetText(String(u"abcdefghijklmnopqrst"), true);
    EXPECT_EQ(box->GetClientExtent(), (PointD{200, 16}));
    EXPECT_EQ(recorder->received, std::vector<std::string>{"box:NID_CLIENT_EXTENT_CHANGE"});
    Focus();
    box->SetCaretPosition(20, false);
    EXPECT_GT(box->GetScrollOffset().x, 0.0);
    other->SetFocus(true);
    EXPECT_EQ(box->GetScrollOffset().x, 0.0);

    box->SetCueText(String(u"LABEL"));
    box->SetText(String(), true);
    EXPECT_EQ(box->GetActiveLookIndex(), LTextBox::kLookCueBase);
    EXPECT_EQ(box->GetLookWeight(LTextBox::kLookCue), 1.0f);
    EdgesI bounds{};
    ASSERT_TRUE(box->GetActiveLook(LTextBox::kLookCue)->GetRegion().GetBounds(bounds));
    EXPECT_EQ(bounds.left, 2);
    EXPECT_EQ(bounds.right, 98);
    Focus();
    EXPECT_EQ(box->GetActiveLookIndex(), LTextBox::kLookFocused);
    EXPECT_EQ(box->GetLookWeight(LTextBox::kLookCue), 0.0f);
}

TEST_F(TextBoxDisplayTest, MouseSelection)
{
    box->SetText(String(u"ab  cd"), true);
    box->OnLeftButtonDown(Press(22));
    EXPECT_EQ(box->GetCaretPosition(), 2);
    box->OnLeftButtonDown(Press(52, ModifierFlag::kShift));
    EXPECT_EQ(box->GetSelectionStart(), 2);
    EXPECT_EQ(box->GetSelectionLength(), 3);
    EXPECT_EQ(box->GetSelectionAnchor(), 2);

    const struct
    {
        std::int32_t x;
        bool doubleClick;
        std::uint32_t modifiers;
        std::int32_t start, length;
    } clicks[] = {{42, true, 0, 4, 2}, {12, true, 0, 0, 2}, {52, false, ModifierFlag::kCtrl, 4, 2}};
    for (const auto& click : clicks)
    {
        box->OnLeftButtonDown(Press(click.x, click.modifiers & ~ModifierFlag::kCtrl));
        box->OnLeftClick(Press(click.x, click.modifiers, click.doubleClick));
        EXPECT_EQ(box->GetSelectionStart(), click.start) << click.x;
        EXPECT_EQ(box->GetSelectionLength(), click.length) << click.x;
    }
    // The text area ends at 98; 4 short of it the edge band speeds at 85.
    EXPECT_EQ(box->GetEdgeScrollSpeed(94), 85.0);
    EXPECT_EQ(box->GetEdgeScrollSpeed(50), 0.0);
}

} // namespace
} // namespace KR
