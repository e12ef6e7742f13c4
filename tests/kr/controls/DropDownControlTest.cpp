// The drop-down base: presses toggle it, the focus leaving closes it, and a control that
// takes no focus opens again on every press.

#include "kr/controls/DropDownControl.h"
#include "ControlsTestSupport.h"

#include <gtest/gtest.h>

namespace KR
{
namespace
{

using namespace ControlsTest;

class TestDropDown : public LDropDownControl
{
public:
    static RCPtr<TestDropDown> Make(const RCPtr<LControl>& parent, const char16_t* name, double x,
                                    bool focusable)
    {
        RCPtr<TestDropDown> control(new TestDropDown(parent, String(name)));
        control->SetFrame(PointD{x, 0}, PointD{40, 20});
        control->SetNotFocusable(!focusable);
        control->InitializeConditions();
        control->Initialize();
        control->SetCreationFinished();
        return control;
    }
    using LDropDownControl::LDropDownControl;

    bool IsDropDownShown() override { return shown; }
    Result ShowDropDown(bool show) override
    {
        opens += show ? 1 : 0;
        shown = show;
        return kOk;
    }

    bool shown = false;
    int opens = 0;
};

const std::string kMain = R"(<SubControl Class="Test.Group" Name="main" XSizeAbs="400" YSizeAbs="300"/>)";

TEST(DropDownControl, PressesToggleItAndTheFocusLeavingClosesIt)
{
    Scene scene(kMain);
    scene.main->SetNotFocusable(false);
    const struct
    {
        const char* name;
        bool focusable;
        bool shownAfter[3];
        int opens;
    } rows[] = {{"focusable", true, {true, false, true}, 2}, {"NOT_FOCUSABLE", false, {true, true, true}, 3}};
    for (const auto& row : rows)
    {
        const RCPtr<TestDropDown> box = TestDropDown::Make(scene.main, u"box", 0, row.focusable);
        for (int press = 0; press < 3; ++press)
        {
            Press(*box, 5, 5);
            EXPECT_EQ(box->shown, row.shownAfter[press])
                << row.name << " press " << press << ", before the release";
            Release(*box, 5, 5);
        }
        EXPECT_EQ(box->opens, row.opens) << row.name;
        scene.window->focus = nullptr; // the window holds its focus by plain pointer
        scene.main->GetChildren().Remove(RCPtr<LControl>(box));
        box->ReleaseInternalReferences();
    }

    const RCPtr<TestDropDown> box = TestDropDown::Make(scene.main, u"box", 0, true);
    const RCPtr<TestDropDown> other = TestDropDown::Make(scene.main, u"other", 100, true);
    Press(*box, 5, 5);
    Release(*box, 5, 5);
    ASSERT_TRUE(box->shown);
    other->SetFocus(true);
    EXPECT_FALSE(box->shown);
    scene.window->focus = nullptr;
}

} // namespace
} // namespace KR
