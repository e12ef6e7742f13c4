#pragma once
// Shared by the control tests: a window stand-in that records what controls ask of it, a
// control class that counts its destructions, and a listener that records notification
// names in the order they arrive.

#include "kr/notify/NotificationID.h"
#include "kr/ui/Control.h"
#include "kr/ui/ControlFactory.h"

#include <cstring>
#include <string>
#include <vector>

namespace KR::UiTest
{

class FakeRootWindow : public IRootWindowServices
{
public:
    static RCPtr<FakeRootWindow> Create() { return RCPtr<FakeRootWindow>(new FakeRootWindow()); }

    // Held by plain pointer: the window must not keep its own tree alive.
    RCPtr<LControl> GetFocusControl() const override { return RCPtr<LControl>(focus); }
    void SetFocusControl(const RCPtr<LControl>& control) override { focus = control.Get(); }
    void SaveAndClearFocus() override { focus = nullptr; }
    Result SetCapture(const RCPtr<LControl>& control) override
    {
        capture = control.Get();
        return kOk;
    }
    Result ReleaseCapture() override
    {
        capture = nullptr;
        return kOk;
    }
    std::uint32_t SetCursor(std::uint32_t shown) override { return std::exchange(cursor, shown); }
    PointI GetMousePosition() override { return mouse; }
    std::uint32_t GetMouseButtons() override { return 0; }
    void UpdateHoverAtPointer() override { ++hoverUpdates; }
    void InvalidateRect(const RectD& rect) override { invalidated.push_back(rect); }
    PointI GetClientSize() override { return PointI{1024, 768}; }
    void SetTitle(const String& text) override { title = text; }

    // Sends "NID_IDLE" as the window's idle step does.
    void Idle() { SendNotificationByName(u"NID_IDLE"); }

    LControl* focus = nullptr;
    LControl* capture = nullptr;
    std::uint32_t cursor = 0;
    PointI mouse{-1000, -1000};
    int hoverUpdates = 0;
    std::vector<RectD> invalidated;
    String title;
};

class TestControl : public LControl
{
public:
    // A control with a frame and, unless asked otherwise, able to hold the focus.
    static RCPtr<TestControl> Make(const RCPtr<LControl>& parent, const String& name,
                                   RectD frame = RectD{0, 0, 10, 10}, bool focusable = true)
    {
        RCPtr<TestControl> control(new TestControl(parent, name));
        control->SetFrame(PointD{frame.x, frame.y}, PointD{frame.width, frame.height});
        control->SetNotFocusable(!focusable);
        control->InitializeConditions();
        return control;
    }
    static RCPtr<TestControl> MakeRoot(const RCPtr<IRootWindowServices>& window, const String& name = u"root")
    {
        RCPtr<TestControl> control(new TestControl(window, name));
        control->SetFrame(PointD{}, PointD{100, 100});
        control->SetNotFocusable(false);
        control->InitializeConditions();
        return control;
    }

    TestControl(const RCPtr<LControl>& parent, const String& name) : LControl(parent, name) {}
    TestControl(const RCPtr<IRootWindowServices>& window, const String& name) : LControl(window, name) {}
    ~TestControl() override
    {
        if (destroyed)
        {
            ++*destroyed;
        }
    }

    bool CanReleaseFocus() override { return releasesFocus; }
    Result OnUpdateLayout(std::int32_t width, std::int32_t height) override
    {
        ++layoutCalls;
        return LControl::OnUpdateLayout(width, height);
    }

    using LControl::SetHover;

    int* destroyed = nullptr;
    bool releasesFocus = true;
    int layoutCalls = 0;
};

// Records "<sender name>:<notification name>" for every notification it is registered for.
class Recorder : public LNotificationClient
{
public:
    static RCPtr<Recorder> Create() { return RCPtr<Recorder>(new Recorder()); }

    void Listen(const RCPtr<LControl>& control, std::initializer_list<const char16_t*> names)
    {
        for (const char16_t* name : names)
        {
            RegisterForNotification(control, name);
        }
    }

    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override
    {
        const RCPtr<LControl> control(sender);
        std::string entry = control ? control->GetName().ToUtf8().GetPtr() : "?";
        entry += ":";
        entry += GetNotificationName(notification->GetID()).ToUtf8().GetPtr();
        received.push_back(entry);
        last = notification->GetData();
        return kOk;
    }

    std::vector<std::string> received;
    RCPtr<LRefCountedObject> last;
};

// Every condition notification a control sends.
inline constexpr std::initializer_list<const char16_t*> kConditionNames = {
    u"NID_CONDITION_CHANGE",
    u"NID_HAS_FOCUS_CONDITION_CHANGE",
    u"NID_CONTAINS_FOCUS_CONDITION_CHANGE",
    u"NID_HOVER_CONDITION_CHANGE",
    u"NID_CAPTURE_CONDITION_CHANGE",
    u"NID_LEFT_DRAG_CONDITION_CHANGE",
    u"NID_MIDDLE_DRAG_CONDITION_CHANGE",
    u"NID_RIGHT_DRAG_CONDITION_CHANGE",
    u"NID_ENABLED_CONDITION_CHANGE",
    u"NID_VISIBLITY_CONDITION_CHANGE"};

// A factory of the application "PresetEditor" whose resources "::SKINS" and "::STRINGS"
// are the documents given (null: an empty one), with the skins loaded and the strings
// read in language 9.
inline RCPtr<LControlFactory> MakeFactory(const char* skins, const char* strings)
{
    RCPtr<LControlFactory> factory(new LControlFactory(String(u"PresetEditor")));
    factory->SetResourceProvider(
        [skins, strings](const String& name, std::vector<char>& bytes)
        {
            const char* text = name == u"SKINS" && skins       ? skins
                               : name == u"STRINGS" && strings ? strings
                                                               : "<none/>";
            bytes.assign(text, text + std::strlen(text));
            return true;
        });
    if (skins)
    {
        factory->LoadSkins(String(u"::SKINS"));
    }
    if (strings)
    {
        factory->LoadStringTables(String(u"::NONE"), String(u"::STRINGS"), 9);
    }
    return factory;
}

} // namespace KR::UiTest
