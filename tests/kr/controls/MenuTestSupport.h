#pragma once
// Shared by the menu tests: a window of 1024 x 768 over a fake system window (a real root
// window, so menus post into its queue), the program's File and Help menus in the bar's
// strings and its global hot keys, text measured at 10 units a character, and clocks that
// move when the test says.

#include "ControlsTestSupport.h"
#include "kr/controls/ComboMenu.h"
#include "kr/controls/ControlClasses.h"
#include "kr/controls/MainMenu.h"
#include "kr/controls/PopupMenu.h"
#include "kr/notify/NotificationQueue.h"
#include "kr/ui/ControlTestSupport.h"
#include "kr/ui/HotKeyTestSupport.h"
#include "kr/ui/NotificationParams.h"
#include "kr/ui/RootWindow.h"
#include "support/FakeWindowServices.h"
#include "support/FrameworkAppStandIn.h"
#include "support/LookStandIn.h"
#include "support/RecordingRenderer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace KR::MenuTest
{

using ControlsTest::LookList;
using ControlsTest::TenPerUnit;

inline std::string Utf8(const String& text)
{
    return text.ToUtf8().GetPtr();
}

// A popup element: rows 120 x 20, the check box at 4 (8 wide), the key text from 60 to 110.
inline std::string PopupElement(const char* name, const char* placement)
{
    return std::string(R"(<SubControl Class="Framework.PopupMenu" Name=")") + name + "\" " + placement +
           R"( XSizeAbs="120" YSizeAbs="0" IsVisible="False" ClipToParent="False"><Skin Name="p" LookList="one">)"
           R"(<SubControl Class="Framework.MenuItem" Name="templateItem" XSizeAbs="120" YSizeAbs="20">)"
           R"(<CreateParamList><CreateParam ID="NOT_FOCUSABLE">True</CreateParam></CreateParamList>)"
           R"(<Skin Name="row" LookList="r14">)"
           R"(<SubControl Class="Framework.Label" Name="hotKeyLabel" XPositionAbs="60" XSizeAbs="50" YSizeAbs="20"><Skin Name="k" LookList="one"/></SubControl>)"
           R"(<SubControl Class="Framework.Button" Name="checkBox" XPositionAbs="4" YPositionAbs="6" XSizeAbs="8" YSizeAbs="8"><Skin Name="c" LookList="r14"/></SubControl>)"
           R"(</Skin></SubControl></Skin></SubControl>)";
}

// The window's tree: a bar of titles 60 wide at the top, a text box and a plain control
// with a context menu below it; the skin's "contextMenu" beside it.
enum class Template
{
    kNone,
    kWithPopup,
    kWithoutPopup,
};
inline std::string MenuSkin(Template kind = Template::kWithPopup)
{
    const std::string opening =
        R"(<SubControl Class="Framework.ComboMenu" Name="templateMenu" XPositionAbs="8" XSizeAbs="60" YSizeAbs="20"><Skin Name="t" LookList="m4">)";
    const std::string templateMenu =
        kind == Template::kNone ? std::string()
        : kind == Template::kWithoutPopup
            ? opening + "</Skin></SubControl>"
            : opening +
                  PopupElement(
                      "popupMenu",
                      R"(XPositionToControl="Parent" YPositionToControl="Parent" YPositionRel="1")") +
                  "</Skin></SubControl>";
    return R"(<?xml version="1.0" encoding="utf-8"?><Test_Skins><Application Name="PresetEditor">)"
           R"(<Looks><Look Name="plain"/></Looks><LookLists>)" +
           LookList("r14", 14) + LookList("m4", 4) + LookList("one", 1) +
           R"(</LookLists><Skins><Skin Name="One">)"
           R"(<SubControl Class="Test.Group" Name="main" XSizeAbs="1024" YSizeAbs="768"><Skin Name="main" LookList="one">)"
           R"(<SubControl Class="Framework.MainMenu" Name="mainMenu" XSizeAbs="1024" YSizeAbs="20"><Skin Name="bar" LookList="one">)" +
           templateMenu +
           R"(</Skin></SubControl>)"
           R"(<SubControl Class="Framework.TextBox" Name="edit" XPositionAbs="10" YPositionAbs="300" XSizeAbs="200" YSizeAbs="20"><Skin Name="e" LookList="r14"/></SubControl>)"
           R"(<SubControl Class="Test.Group" Name="owner" XPositionAbs="400" YPositionAbs="300" XSizeAbs="100" YSizeAbs="50"><Skin Name="o" LookList="one"/></SubControl>)"
           R"(</Skin></SubControl>)" +
           PopupElement("contextMenu", "") + "</Skin></Skins></Application></Test_Skins>";
}

// The bar's strings as the program ships them (English), and a context menu for "owner".
inline const char* MenuStrings()
{
    return R"(<?xml version="1.0" encoding="utf-8"?><Test_Strings>
<StringTable ID="Test.Group|mainMenu">
<String ID="MENU_LABEL.00"><Locale LCID="9">File</Locale></String>
<String ID="MENU_LABEL.01"><Locale LCID="9">Help</Locale></String>
<String ID="CONTEXT_MENU0.00.NID_MENU_FILE_SEND_PRESET_TO_DEVICE"><Locale LCID="9">Send Preset| Send this preset to the controller.</Locale></String>
<String ID="CONTEXT_MENU0.01.NID_MENU_FILE_LOAD_PRESET_FROM_DEVICE"><Locale LCID="9">Retrieve Preset| Retreive a preset from the controller.</Locale></String>
<String ID="CONTEXT_MENU0.02.-"><Locale LCID="9">-</Locale></String>
<String ID="CONTEXT_MENU0.03.NID_MENU_FILE_LOAD_PRESET_FROM_FILE"><Locale LCID="9">Load Preset | Load Preset from disk.</Locale></String>
<String ID="CONTEXT_MENU0.04.NID_MENU_FILE_SAVE_PRESET_TO_FILE"><Locale LCID="9">Save Preset | Save Preset to disk</Locale></String>
<String ID="CONTEXT_MENU0.05.-"><Locale LCID="9">-</Locale></String>
<String ID="CONTEXT_MENU0.06.NID_MENU_FILE_GLOBALSETTINGS_REQ"><Locale LCID="9">Global Settings</Locale></String>
<String ID="CONTEXT_MENU0.07.-"><Locale LCID="9">-</Locale></String>
<String ID="CONTEXT_MENU0.08.NID_MENU_FILE_EXIT_REQ"><Locale LCID="9">Exit|Exit Vantor Preset Editor</Locale></String>
<String ID="CONTEXT_MENU1.00.NID_MENU_HELP_OPEN_USER_GUIDE_REQ"><Locale LCID="9">Open User Guide</Locale></String>
<String ID="CONTEXT_MENU1.01.NID_MENU_HELP_ABOUT_REQ"><Locale LCID="9">About Vantor Preset Editor|About Vantor Preset Editor</Locale></String>
</StringTable>
<StringTable ID="Test.Group|owner">
<String ID="CONTEXT_MENU.00.NID_TEST_FIRST"><Locale LCID="9">First</Locale></String>
<String ID="CONTEXT_MENU.01.NID_TEST_SECOND"><Locale LCID="9">Second</Locale></String>
</StringTable>
</Test_Strings>)";
}

// What a distributor sent, with the payload of the last one.
class Heard : public LNotificationClient
{
public:
    static RCPtr<Heard> Create() { return RCPtr<Heard>(new Heard()); }
    Result Receive(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>& notification) override
    {
        names.push_back(GetNotificationName(notification->GetID()).ToUtf8().GetPtr());
        last = RCPtr<LMenuActivationParam>(notification->GetData());
        return kOk;
    }
    std::vector<std::string> names;
    RCPtr<LMenuActivationParam> last;
};

struct Scene
{
    explicit Scene(const std::string& skin = MenuSkin(), const char* strings = MenuStrings()) : skinText(skin)
    {
        app.factory = UiTest::MakeFactory(skinText.c_str(), strings);
        RegisterFrameworkControlClasses(*app.factory);
        app.factory->RegisterControlClass(String(u"Test.Group"), &LControl::CreateFromSkin<LControl>);
        app.measurementRenderer = TenPerUnit();
        app.hotKeys =
            LGlobalHotKeyManager::Create(RCPtr<LNotificationReceiver>(appQueue->GetPostingReceiver()));
        app.hotKeys->GetHotKeyMap().AddFromStringTable(Testing::ApplicationHotKeyTable(), u"GHK");
        app.activeRootWindow = window;
        app.AddRootWindow(window);
        main = app.factory->CreateControlByName(String(u"main"), RCPtr<IRootWindowServices>(window));
        Opaque();
        if (main)
        {
            window->SetRootControl(main);
            main->UpdateLayout();
            bar = RCPtr<LMainMenu>(main->FindChildControl(String(u"mainMenu")));
        }
    }
    ~Scene()
    {
        window->ReleaseInternalReferences();
        appQueue->Shutdown();
    }
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    RCPtr<LComboMenu> Title(std::int32_t index) const { return bar ? bar->GetMenuTitle(index) : nullptr; }
    RCPtr<LPopupMenu> Popup(std::int32_t index) const
    {
        const RCPtr<LComboMenu> title = Title(index);
        return title ? title->GetPopup() : nullptr;
    }
    // Every look made so far is opaque, so the hit test finds what it covers.
    void Opaque()
    {
        for (const RCPtr<TestSupport::LStandInLook>& look : looks.made)
        {
            look->color = 0xFF000000;
        }
    }
    // The pointer moves to (x, y) in the window; the buttons held are `buttons`.
    void MoveTo(std::int32_t x, std::int32_t y, std::uint32_t buttons = 0)
    {
        Opaque();
        os->mouse = PointI{x, y};
        os->buttons = buttons;
        window->OnMouseMove(PointI{x, y}, 0);
    }
    void Press(std::int32_t x, std::int32_t y)
    {
        Opaque();
        os->mouse = PointI{x, y};
        os->buttons = MouseButton::kLeft;
        window->OnMouseButton(MouseAction::kPress, MouseButton::kLeft, 0, PointI{x, y});
    }
    void Release(std::int32_t x, std::int32_t y)
    {
        Opaque();
        os->mouse = PointI{x, y};
        os->buttons = 0;
        window->OnMouseButton(MouseAction::kRelease, MouseButton::kLeft, 0, PointI{x, y});
    }
    void Key(std::uint32_t code) { window->DispatchKey(LKeyParam::Create(KeyCode{code, 0, 0}, false)); }
    // The clocks move by `ms`, then the window's idle step runs (its queue drains).
    void Step(std::uint32_t ms)
    {
        app.Advance(ms);
        window->OnIdle(true);
    }

    TestSupport::LookStandIns looks;
    TestSupport::LStandInFrameworkApp app;
    std::string skinText;
    RCPtr<LNotificationQueue> appQueue{new LNotificationQueue};
    RCPtr<TestSupport::LFakeWindowServices> os{new TestSupport::LFakeWindowServices};
    RCPtr<LRootWindow> window{
        new LRootWindow(RCPtr<LRenderer>(new TestSupport::LRecordingRenderer), os.Get())};
    RCPtr<LControl> main;
    RCPtr<LMainMenu> bar;
};

} // namespace KR::MenuTest
