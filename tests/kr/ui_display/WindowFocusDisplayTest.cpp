// The keyboard focus of a window's controls on the real display: a click into a window
// that lacked the focus gives it to a control, Tab moves it, and the focus look shows it.

#include "PaintedWindow.h"

#include "kr/ui/KeyCode.h"

namespace KR::UiDisplayTest
{
namespace
{

// Green while it has the focus; Tab hands the focus to the next control of its parent (key
// routing proper is not this test's subject).
class Focus : public LControl
{
public:
    using LControl::LControl;
    Result OnConditionsChanged(const RCPtr<LConditionsParam>&) override
    {
        SelectLook(HasFocus() ? 1 : 0);
        return kOk;
    }
    Result OnKey(const RCPtr<LKeyParam>& key) override
    {
        if (!key || key->key.GetVirtualKey() != VirtualKey::kTab || (key->key.code & KeyCode::kDownBit) == 0)
        {
            return kNothingDone;
        }
        const RCPtr<LControl> self(this);
        if (const RCPtr<LControl> next = GetParent()->GetNextTabControl(self, false))
        {
            next->SetFocus(true);
        }
        return kOk;
    }
};

TEST_F(PaintedWindow, AClickIntoAWindowWithoutTheFocusGivesItToAControlAndTabMovesIt)
{
    app.factory->RegisterControlClass(String(u"Test.Focus"), &LControl::CreateFromSkin<Focus>);
    // Another window holds the keyboard focus while the root control is set.
    const RCPtr<OSWindow> other = new OSWindow;
    ASSERT_EQ(other->Create(u"Other", RectI{500, 150, 100, 100}, 0), kOk);
    other->Show(P::SW_SHOWNORMAL);
    ASSERT_TRUE(PumpUntil([&] { return other->SetFocus() == kOk && other->HasFocus(); }));
    Open(u"pair", 120, 60);
    ASSERT_TRUE(WaitForPixel(30, 30, kRed));
    EXPECT_FALSE(rootWindow->GetFocusControl()) << "the window does not have the focus";

    PointAt(110, 55); // the panel, beside both controls
    ASSERT_EQ(Xdo("click 1"), 0);
    ASSERT_TRUE(WaitForPixel(30, 30, kGreen)) << "the first control has the focus";
    EXPECT_EQ(Read().At(80, 30), kRed);
    WritePng(Read(), "focus-first.png");

    ASSERT_EQ(Xdo("key Tab"), 0);
    ASSERT_TRUE(WaitForPixel(80, 30, kGreen)) << "Tab moved it";
    EXPECT_EQ(Read().At(30, 30), kRed);
    WritePng(Read(), "focus-second.png");

    // Losing the window's focus takes the focus look away; getting it back returns it.
    ASSERT_TRUE(PumpUntil([&] { return other->SetFocus() == kOk && other->HasFocus(); }));
    ASSERT_TRUE(WaitForPixel(80, 30, kRed));
    EXPECT_FALSE(rootWindow->GetFocusControl());
    PointAt(112, 50); // elsewhere: a move to where the pointer is never ends
    ASSERT_EQ(Xdo("click 1"), 0);
    ASSERT_TRUE(WaitForPixel(80, 30, kGreen)) << "the control that had it";
    other->EndModal(0);
}

} // namespace
} // namespace KR::UiDisplayTest
