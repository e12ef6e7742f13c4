#pragma once
// The one scene of the control tests: an application whose clocks the test drives, a
// factory with the framework's class table and the skin the test gives, stand-in looks
// made opaque (so the hit test finds what they cover), and the tree made from "main" in a
// test window. Scene puts the tree in a stand-in window whose pointer the test places;
// MenuScene in a real root window over a fake system window (menus post into its queue),
// with the program's File and Help menus, its global hot keys and text measured at 10
// units a character.

#include "kr/controls/ComboMenu.h"
#include "kr/controls/ControlClasses.h"
#include "kr/controls/MainMenu.h"
#include "kr/controls/PopupMenu.h"
#include "kr/notify/NotificationQueue.h"
#include "kr/render/MeasurementRenderer.h"
#include "kr/ui/ControlTestSupport.h"
#include "kr/ui/HotKeyTestSupport.h"
#include "kr/ui/MouseTestSupport.h"
#include "kr/ui/NotificationParams.h"
#include "kr/ui/RootWindow.h"
#include "support/FakeWindowServices.h"
#include "support/FrameworkAppStandIn.h"
#include "support/LookStandIn.h"
#include "support/RecordingRenderer.h"
#include "support/ScrollbarStandIn.h"
#include "support/Utf8.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace KR::ControlsTest
{

using MouseTest::Move;
using MouseTest::Press;
using MouseTest::Release;
using TestSupport::Utf8;
using UiTest::Recorder;

// A look list of `count` plain looks named `name`.
inline std::string LookList(const char* name, int count)
{
    std::string list =
        std::string("<LookList Name=\"") + name + "\" NumLooks=\"" + std::to_string(count) + "\">";
    for (int i = 0; i < count; ++i)
    {
        list += "<Look Name=\"plain\" Index=\"" + std::to_string(i) + "\"/>";
    }
    return list + "</LookList>";
}

// The skin document around the sub-controls of skin "One": look lists "b14" (buttons),
// "r14" (rows), "m4" (menu titles), "c3" (channels) and "one", then `lookLists`.
inline std::string SkinDocument(const std::string& subControls, const std::string& lookLists = "")
{
    return R"(<?xml version="1.0" encoding="utf-8"?><Test_Skins><Application Name="PresetEditor">)"
           R"(<Looks><Look Name="plain"/></Looks><LookLists>)" +
           LookList("b14", 14) + LookList("r14", 14) + LookList("m4", 4) + LookList("c3", 3) +
           LookList("one", 1) + lookLists + R"(</LookLists><Skins><Skin Name="One">)" + subControls +
           "</Skin></Skins></Application></Test_Skins>";
}

// Text measured at 10 units a character (empty text measures nothing), in lines of the
// metrics given.
inline RCPtr<LMeasurementRenderer> TenPerUnit(std::int32_t lineHeight = 16, std::int32_t ascent = -12,
                                              std::int32_t descent = 4)
{
    const RCPtr<TestSupport::LRecordingRenderer> renderer(new TestSupport::LRecordingRenderer);
    renderer->charWidth = 10.0f;
    renderer->lineHeight = lineHeight;
    renderer->ascent = ascent;
    renderer->descent = descent;
    return RCPtr<LMeasurementRenderer>(renderer);
}

// A bar that keeps the last key handed to it: the skins' "Test.Bar".
class KeyBar : public TestSupport::LScrollbarStandIn
{
public:
    using LScrollbarStandIn::LScrollbarStandIn;
    bool TakeKey(const KeyCode& key) override
    {
        lastKey = key.code;
        return true;
    }
    std::uint32_t lastKey = 0;
};

// 5 whole rows of 14 in a list 75 high; the template is cloned as the rows.
inline const std::string kTemplateList = R"(
<SubControl Class="Test.Group" Name="main" XSizeAbs="400" YSizeAbs="300"><Skin Name="main">
  <SubControl Class="Framework.ListBox" Name="list" XSizeAbs="200" YSizeAbs="75"><Skin Name="list" LookList="one">
    <SubControl Class="Framework.ListBoxItem" Name="templateItem" XSizeAbs="180" YSizeAbs="14"><Skin Name="row" LookList="r14"/></SubControl>
    <SubControl Class="Test.Bar" Name="vBar" XPositionAbs="190" XSizeAbs="10" YSizeAbs="75"><Skin Name="bar" LookList="one"/></SubControl>
  </Skin></SubControl>
</Skin></SubControl>)";

using Classes = std::initializer_list<std::pair<const char16_t*, ControlCreateFunction>>;

template <typename Window>
class BasicScene
{
public:
    // `skin`: the sub-controls of skin "One" (SkinDocument), or a whole skin document;
    // `strings`: a string document or null. `extraClasses`: classes the table does not have
    // yet, registered before it. `lookLists`: LookList elements besides the shared ones.
    BasicScene(const std::string& skinText, const char* stringsText, Classes extraClasses,
               const std::string& lookLists)
        : skin(skinText.starts_with("<?xml") ? skinText : SkinDocument(skinText, lookLists)),
          strings(stringsText ? stringsText : "")
    {
        // The strings first: the skin's controls read theirs as they are made.
        app.factory = UiTest::MakeFactory(nullptr, stringsText ? strings.c_str() : nullptr);
        app.factory->SetResourceProvider(
            [this](const String& name, std::vector<char>& bytes)
            {
                const std::string& text = name == u"SKINS" ? skin : strings;
                bytes.assign(text.begin(), text.end());
                return true;
            });
        app.factory->LoadSkins(String(u"::SKINS"));
        for (const auto& [name, create] : extraClasses)
        {
            app.factory->RegisterControlClass(String(name), create);
        }
        RegisterFrameworkControlClasses(*app.factory);
        // A plain control that holds others, and a bar that keeps its keys.
        app.factory->RegisterControlClass(String(u"Test.Group"), &LControl::CreateFromSkin<LControl>);
        app.factory->RegisterControlClass(String(u"Test.Bar"), &LControl::CreateFromSkin<KeyBar>);
    }
    ~BasicScene()
    {
        if (main)
        {
            main->ReleaseInternalReferences();
        }
    }
    BasicScene(const BasicScene&) = delete;
    BasicScene& operator=(const BasicScene&) = delete;

    // A control of the tree by name.
    template <typename T = LControl>
    RCPtr<T> Find(const char16_t* name)
    {
        RCPtrArray<LControl> found;
        main->FindDescendantControls(String(name), found);
        return found.GetCount() > 0 ? RCPtr<T>(found.GetAt(0)) : nullptr;
    }
    // Every look, made so far or later, is opaque, so the hit test finds what it covers.
    void Opaque() { looks.SetColor(0xFF000000); }
    // Both clocks move by `ms`, then the window's idle step runs (a root window's queue
    // drains).
    void Step(std::uint32_t ms)
    {
        app.Advance(ms);
        if constexpr (std::is_same_v<Window, LRootWindow>)
        {
            window->OnIdle(true);
        }
        else
        {
            window->Idle();
        }
    }

    TestSupport::LookStandIns looks;
    TestSupport::LStandInFrameworkApp app;
    std::string skin;
    std::string strings;
    RCPtr<Window> window;
    RCPtr<LControl> main;

protected:
    void MakeMain()
    {
        app.activeRootWindow = window;
        main = app.factory->CreateControlByName(String(u"main"), RCPtr<IRootWindowServices>(window));
        Opaque();
    }
};

// The tree in a stand-in window whose pointer the test places.
class Scene : public BasicScene<MouseTest::MouseWindow>
{
public:
    explicit Scene(const std::string& skin, const char* strings = nullptr, Classes extraClasses = {},
                   const std::string& lookLists = "")
        : BasicScene(skin, strings, extraClasses, lookLists)
    {
        window = MouseTest::MouseWindow::Create();
        MakeMain();
        if (main)
        {
            main->UpdateLayout();
        }
    }
};

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

// The menu window's tree: a bar of titles 60 wide at the top, a text box and a plain
// control with a context menu below it; the skin's "contextMenu" beside it.
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
    return SkinDocument(
        R"(<SubControl Class="Test.Group" Name="main" XSizeAbs="1024" YSizeAbs="768"><Skin Name="main" LookList="one">)"
        R"(<SubControl Class="Framework.MainMenu" Name="mainMenu" XSizeAbs="1024" YSizeAbs="20"><Skin Name="bar" LookList="one">)" +
        templateMenu +
        R"(</Skin></SubControl>)"
        R"(<SubControl Class="Framework.TextBox" Name="edit" XPositionAbs="10" YPositionAbs="300" XSizeAbs="200" YSizeAbs="20"><Skin Name="e" LookList="r14"/></SubControl>)"
        R"(<SubControl Class="Test.Group" Name="owner" XPositionAbs="400" YPositionAbs="300" XSizeAbs="100" YSizeAbs="50"><Skin Name="o" LookList="one"/></SubControl>)"
        R"(</Skin></SubControl>)" +
        PopupElement("contextMenu", ""));
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

// The tree in a window of 1024 x 768 over a fake system window.
class MenuScene : public BasicScene<LRootWindow>
{
public:
    explicit MenuScene(const std::string& skin = MenuSkin(), const char* strings = MenuStrings())
        : BasicScene(skin, strings, {}, "")
    {
        window = RCPtr<LRootWindow>(
            new LRootWindow(RCPtr<LRenderer>(new TestSupport::LRecordingRenderer), os.Get()));
        app.measurementRenderer = TenPerUnit();
        app.hotKeys =
            LGlobalHotKeyManager::Create(RCPtr<LNotificationReceiver>(appQueue->GetPostingReceiver()));
        app.hotKeys->GetHotKeyMap().AddFromStringTable(Testing::ApplicationHotKeyTable(), u"GHK");
        app.AddRootWindow(window);
        MakeMain();
        if (main)
        {
            window->SetRootControl(main);
            main->UpdateLayout();
            bar = RCPtr<LMainMenu>(main->FindChildControl(String(u"mainMenu")));
        }
    }
    ~MenuScene()
    {
        // The window holds the tree: it lets go of it, not the tree of itself.
        window->ReleaseInternalReferences();
        main = nullptr;
        appQueue->Shutdown();
    }

    RCPtr<LComboMenu> Title(std::int32_t index) const { return bar ? bar->GetMenuTitle(index) : nullptr; }
    RCPtr<LPopupMenu> Popup(std::int32_t index) const
    {
        const RCPtr<LComboMenu> title = Title(index);
        return title ? title->GetPopup() : nullptr;
    }
    // The pointer moves to (x, y) in the window; the buttons held are `buttons`.
    void MoveTo(std::int32_t x, std::int32_t y, std::uint32_t buttons = 0)
    {
        Opaque();
        os->mouse = PointI{x, y};
        os->buttons = buttons;
        window->OnMouseMove(PointI{x, y}, 0);
    }
    // `action`: MouseAction::kDoubleClick for the second press of a double click.
    void Press(std::int32_t x, std::int32_t y, std::int32_t action = MouseAction::kPress)
    {
        Opaque();
        os->mouse = PointI{x, y};
        os->buttons = MouseButton::kLeft;
        window->OnMouseButton(action, MouseButton::kLeft, 0, PointI{x, y});
    }
    void Release(std::int32_t x, std::int32_t y)
    {
        Opaque();
        os->mouse = PointI{x, y};
        os->buttons = 0;
        window->OnMouseButton(MouseAction::kRelease, MouseButton::kLeft, 0, PointI{x, y});
    }
    void Key(std::uint32_t code) { window->DispatchKey(LKeyParam::Create(KeyCode{code, 0, 0}, false)); }

    RCPtr<LNotificationQueue> appQueue{new LNotificationQueue};
    RCPtr<TestSupport::LFakeWindowServices> os{new TestSupport::LFakeWindowServices};
    RCPtr<LMainMenu> bar;
};

} // namespace KR::ControlsTest
