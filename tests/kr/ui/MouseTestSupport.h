#pragma once
// Shared by the pointer, drag and idle tests: a window whose buttons are down, an
// application whose clocks the test drives, and a control that records what its hooks
// see and takes a drag mode when its left press arrives, as the controls that drag do.

#include "ControlTestSupport.h"
#include "kr/ui/NotificationParams.h"
#include "support/FrameworkAppStandIn.h"
#include "support/LookStandIn.h"

#include <string>
#include <vector>

namespace KR::MouseTest
{

class MouseWindow : public UiTest::FakeRootWindow
{
public:
    static RCPtr<MouseWindow> Create() { return RCPtr<MouseWindow>(new MouseWindow()); }
    std::uint32_t GetMouseButtons() override { return buttons; }
    void MakeHoverControl(const RCPtr<LControl>& control) override
    {
        hover = control.Get();
        control->OnMouseEnter();
    }

    std::uint32_t buttons = MouseButton::kLeft | MouseButton::kMiddle | MouseButton::kRight;
    LControl* hover = nullptr;
};

class MouseControl : public UiTest::TestControl
{
public:
    static RCPtr<MouseControl> Make(const RCPtr<LControl>& parent, const String& name, RectD frame,
                                    bool focusable = true)
    {
        RCPtr<MouseControl> control(new MouseControl(parent, name));
        control->SetFrame(PointD{frame.x, frame.y}, PointD{frame.width, frame.height});
        control->SetNotFocusable(!focusable);
        control->InitializeConditions();
        return control;
    }
    using TestControl::TestControl;

    // An opaque look of weight 1, so that the hit test finds the control.
    void AddOpaqueLook()
    {
        RCPtr<TestSupport::LStandInLook> look(new TestSupport::LStandInLook(nullptr, false));
        look->color = 0xFF000000;
        AddLook(look);
        SetLookWeight(static_cast<std::int32_t>(GetLookCount()) - 1, 1.0f, false);
    }

    Result OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override
    {
        const std::uint32_t turnedOn = conditions->current & ~conditions->previous;
        if ((turnedOn & Condition::kLeftPressed) != 0 && modeOnPress != 0)
        {
            SetDragMode(modeOnPress, axesOnPress);
        }
        return kOk;
    }
    Result OnMouseMoved(const RCPtr<LPointWithModifiersParam>& point) override
    {
        moves.push_back(point->GetPoint());
        return kOk;
    }
    Result OnDragMove(const RCPtr<LPointWithModifiersParam>& point) override
    {
        dragMoves.push_back(point->GetPoint());
        return LControl::OnDragMove(point);
    }
    Result OnVerticalWheel(const RCPtr<LMouseWheelParam>&) override
    {
        wheel.push_back(GetName().ToUtf8().GetPtr());
        return takesWheel ? kOk : kNothingDone;
    }
    RCPtr<LControl> FindDropTarget(const RCPtr<LControl>&, const PointI&) override
    {
        return acceptsDrop ? RCPtr<LControl>(this) : nullptr;
    }
    Result OnDrop(const RCPtr<LControl>& dragged) override
    {
        drops.push_back("drop " + std::string(dragged->GetName().ToUtf8().GetPtr()));
        return kOk;
    }
    Result OnDropEnded(const RCPtr<LControl>& dragged) override
    {
        drops.push_back("ended " + std::string(dragged->GetName().ToUtf8().GetPtr()));
        return kOk;
    }
    void OnLayoutChanged() override { ++idleHooks; }

    std::int32_t modeOnPress = 0;
    std::int32_t axesOnPress = 0;
    bool takesWheel = false;
    bool acceptsDrop = false;
    std::vector<PointI> moves;
    std::vector<PointI> dragMoves;
    std::vector<std::string> wheel;
    std::vector<std::string> drops;
    int idleHooks = 0;
};

inline Result Press(LControl& control, std::int32_t x, std::int32_t y,
                    std::uint32_t button = MouseButton::kLeft, std::uint32_t modifiers = 0)
{
    return control.OnMouseDown(LMouseButtonParam::Create(button, PointI{x, y}, modifiers, false, button));
}

inline Result Move(LControl& control, std::int32_t x, std::int32_t y)
{
    return control.OnMouseMove(LPointWithModifiersParam::Create(PointI{x, y}, 0));
}

inline Result Release(LControl& control, std::int32_t x, std::int32_t y,
                      std::uint32_t button = MouseButton::kLeft)
{
    return control.OnMouseUp(LMouseButtonParam::Create(button, PointI{x, y}, 0, false, 0));
}

// A window with a 100 x 100 root control, on an application whose clocks stand still
// until the test advances them.
struct Scene
{
    Scene()
    {
        root->AddOpaqueLook();
        root->SetFrame(PointD{}, PointD{100, 100});
        root->SetNotFocusable(false);
    }
    ~Scene() { root->ReleaseInternalReferences(); }

    TestSupport::LStandInFrameworkApp app;
    RCPtr<MouseWindow> window = MouseWindow::Create();
    RCPtr<MouseControl> root =
        RCPtr<MouseControl>(new MouseControl(RCPtr<IRootWindowServices>(window), u"root"));
};

} // namespace KR::MouseTest
