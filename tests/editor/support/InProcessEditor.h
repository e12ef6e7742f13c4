#pragma once
// The editor's real control tree in the test process: "mainControl" from the embedded
// resources (skin and string tables) in a 1200 x 750 root window on the fake window
// services, with the framework's and the editor's class tables (and the program's plain
// panels for the classes not built yet). Nothing is shown and
// nothing sleeps; the tree is the program's own.
//
//     KR::TestSupport::InProcessEditor editor;
//     auto* panel = editor.Find<LMoveableControlEditPanel>("viewDevice/knobEditPanel/moveableTypePanel");
//     editor.Enter(editor.Find<KR::LNumericUpDown>(".../max/numericUpDown"), u"100");

#include "editor/app/ApplicationControlClasses.h"
#include "editor/app/DeviceView.h"
#include "editor/app/MainControl.h"
#include "editor/program/PlainClasses.h"
#include "editor/support/StandInMainControl.h"
#include "kr/controls/ComboBox.h"
#include "kr/controls/ControlClasses.h"
#include "kr/controls/NumericUpDown.h"
#include "kr/controls/TextBox.h"
#include "kr/notify/NotificationCenterManager.h"
#include "kr/notify/NotificationClient.h"
#include "kr/render/Font.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/KeyCode.h"
#include "kr/ui/RootWindow.h"
#include "support/FakeWindowServices.h"
#include "support/FrameworkAppStandIn.h"
#include "support/RecordingRenderer.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace KR::TestSupport
{

// Counts the notifications it was registered for, by name.
class LNotificationCounter : public LNotificationClient
{
public:
    void Listen(const RCPtr<LNotificationDistributor>& sender, const char16_t* name)
    {
        const NotificationID id = RegisterForNotification(sender, name, 0);
        names[id] = String(name).ToUtf8().GetPtr();
    }
    Result Receive(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>& notification) override
    {
        ++counts[names[notification->GetID()]];
        return 1;
    }
    int Count(const char* name) { return counts[name]; }
    void Clear() { counts.clear(); }

    std::map<NotificationID, std::string> names;
    std::map<std::string, int> counts;
};

class InProcessEditor
{
public:
    static constexpr std::int32_t kLanguage = 1033;

    // `mainControl` false: only the factory, for tests that make their own tree. A skin
    // or string-table file replaces the embedded one (images stay embedded).
    // `registerFirst` registers classes of the test's own before the tables (the first
    // registration of a name holds).
    explicit InProcessEditor(bool mainControl = true, const std::string& skinFile = std::string(),
                             const std::string& stringsFile = std::string(),
                             const std::function<void(LControlFactory&)>& registerFirst = nullptr)
        : factory(new LControlFactory(String(u"PresetEditor")))
    {
        if (skinFile.empty() && stringsFile.empty())
        {
            loaded = factory->LoadStringTablesAndSkins(String(u"::"), kLanguage);
        }
        else
        {
            factory->SetImagePathPrefix(String(u"::"));
            loaded = factory->LoadStringTables(
                String(u"::FRAMEWORK_STRINGS"),
                String(stringsFile.empty() ? "::APP_STRINGS" : stringsFile.c_str()), kLanguage);
            if (Succeeded(loaded))
            {
                loaded = factory->LoadSkins(String(skinFile.empty() ? "::APP_SKINS" : skinFile.c_str()));
            }
        }
        if (registerFirst)
        {
            registerFirst(*factory);
        }
        RegisterFrameworkControlClasses(*factory);
        RegisterApplicationControlClasses(*factory);
        RegisterPlainPanelsForUnbuiltClasses(*factory);
        app.factory = factory;
        app.defaultFont = LFont::GetFont(String(u"Arial"), 8.25f, 0);
        os->clientSize = PointI{1200, 750};
        window = RCPtr<LRootWindow>(new LRootWindow(renderer, os.Get()));
        app.activeRootWindow = window;
        if (mainControl && Succeeded(loaded))
        {
            main = factory->CreateControlByName(String(u"mainControl"), window);
            if (main)
            {
                window->SetRootControl(main);
            }
        }
    }

    // The text of one of the editor's resource files with `edit` applied, written to a file
    // of the test's own: a skin that lacks what the program's always has, a string table as
    // a user may have edited it. The file is the process's own: test cases run side by side
    // (and other checkouts' runs too) gave one name to different edits, and a case read
    // another's skin now and then.
    static std::string EditedFile(const char* source, const std::string& name,
                                  const std::function<void(std::string&)>& edit)
    {
        std::ifstream in(source, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        edit(text);
        const std::string path = ::testing::TempDir() + name + "-" + std::to_string(getpid()) + ".xml";
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    // Renames every child named `name` that follows `after` (the whole text when empty)
    // up to the next `after`, so a skin loses that child in those places.
    static void RenameChildren(std::string& text, const std::string& after, const std::string& name)
    {
        const std::string from = "Name=\"" + name + "\"";
        const std::string to = "Name=\"" + name + "Gone\"";
        if (after.empty())
        {
            for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at))
            {
                text.replace(at, from.size(), to);
            }
            return;
        }
        for (std::size_t at = text.find(after); at != std::string::npos; at = text.find(after, at + 1))
        {
            const std::size_t found = text.find(from, at);
            if (found != std::string::npos)
            {
                text.replace(found, from.size(), to);
            }
        }
    }
    ~InProcessEditor()
    {
        if (main)
        {
            main->Detach();
        }
        window->ReleaseInternalReferences();
    }
    InProcessEditor(const InProcessEditor&) = delete;
    InProcessEditor& operator=(const InProcessEditor&) = delete;

    // The real main control and its device view, or null when the skin made none.
    LMainControl* MainControl() const { return dynamic_cast<LMainControl*>(main.Get()); }
    LDeviceView* DeviceView() const { return Find<LDeviceView>("viewDevice"); }

    // The control at "child/child/..." below `from` (the main control when null), as T.
    template <typename T = LControl>
    T* Find(const std::string& path, const RCPtr<LControl>& from = nullptr) const
    {
        RCPtr<LControl> at = from ? from : main;
        std::size_t start = 0;
        while (at && start <= path.size())
        {
            const std::size_t slash = path.find('/', start);
            const std::string name =
                path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
            at = at->FindChildControl(String(name.c_str()));
            if (slash == std::string::npos)
            {
                break;
            }
            start = slash + 1;
        }
        return dynamic_cast<T*>(at.Get());
    }
    // A panel of the device view shown as its group shows it: hidden controls take no keys.
    template <typename T>
    T* ShownPanel(const char* name) const
    {
        LControl* control = Find(std::string("viewDevice/") + name);
        EXPECT_TRUE(control) << name;
        if (control)
        {
            control->SetVisible(true);
        }
        return dynamic_cast<T*>(control);
    }

    // Types the text into the number box's field and confirms it with Return, as the
    // field receives a user's typing.
    static void Enter(LNumericUpDown* box, const char16_t* text)
    {
        ASSERT_TRUE(box && box->GetTextBox());
        box->GetTextBox()->SetText(String(text), false);
        KeyCode key;
        key.code = 0x200D0000; // Return, pressed
        box->GetTextBox()->OnKey(LKeyParam::Create(key, false));
    }

    // The item texts of a combo box, in order.
    static std::vector<std::string> Items(const LComboBox& list)
    {
        std::vector<std::string> items;
        for (std::int32_t i = 0; i < list.GetItemCount(); ++i)
        {
            items.push_back(list.GetItemText(i).ToUtf8().GetPtr());
        }
        return items;
    }
    // Picks the item of that text in the list, as the user's pick in its drop list
    // reports the selection.
    static void Choose(LComboBox* list, const char* item)
    {
        ASSERT_TRUE(list);
        const std::vector<std::string> items = Items(*list);
        const auto found = std::find(items.begin(), items.end(), item);
        ASSERT_NE(found, items.end()) << item;
        list->SetSelectedIndex(static_cast<std::int32_t>(found - items.begin()));
    }
    static std::string Selected(const LComboBox& list)
    {
        return list.GetSelectedIndex() < 0 ? "" : list.GetItemText(list.GetSelectedIndex()).ToUtf8().GetPtr();
    }
    static int Number(const LNumericUpDown& box)
    {
        return static_cast<int>(box.InterpolateValue(box.GetValue()));
    }
    // Whether a key that a sibling of `panel` left (one its parent is handed) reaches the
    // receivers of siblings' keys below the panel, as the local hot keys of its children.
    static bool SiblingKeysReach(LControl& panel)
    {
        const RCPtr<LNotificationCounter> below(new LNotificationCounter);
        below->Listen(RCPtr<LNotificationDistributor>(&panel), u"NID_SIBLING_KEY");
        const RCPtr<LControl> parent = panel.GetParent();
        KeyCode key;
        key.code = KeyCode::kDownBit | (std::uint32_t{'Q'} << KeyCode::kVirtualKeyShift);
        if (parent)
        {
            parent->DispatchKey(LKeyParam::Create(key, false));
        }
        below->UnregisterForAllNotifications();
        return below->Count("NID_SIBLING_KEY") > 0;
    }

    // ---- input as the window layer hands it on, and the idle pass -------------------------

    // The control's frame in window coordinates (the root control fills the window).
    static RectI FrameInWindow(const LControl& control)
    {
        const PointI corner = RoundPointToInt(control.GetAbsolutePosition());
        const PointD size = control.GetSize();
        return RectI{corner.x, corner.y, static_cast<std::int32_t>(size.x),
                     static_cast<std::int32_t>(size.y)};
    }

    // A left click at the middle of `control`, as a real one arrives: the pointer moves
    // there, the press and the release go through the root window (its hit test picks the
    // control under the pointer, which may be a child or a control lying above), with the
    // modifier keys `modifiers` (ModifierFlag::kCtrl, kShift, kAlt) held down during the
    // click. What the click does to a value is the control's own rule (a button's
    // AUTO_VALUE_SET, its radio flag).
    void Click(const LControl* control, std::uint32_t modifiers = 0)
    {
        ASSERT_TRUE(control);
        const RectI frame = FrameInWindow(*control);
        const PointI at{frame.x + frame.width / 2, frame.y + frame.height / 2};
        const std::pair<std::uint32_t, std::uint8_t> keys[] = {{ModifierFlag::kCtrl, VirtualKey::kControl},
                                                               {ModifierFlag::kShift, VirtualKey::kShift},
                                                               {ModifierFlag::kAlt, VirtualKey::kMenu}};
        for (const auto& [flag, key] : keys)
        {
            if ((modifiers & flag) != 0)
            {
                app.keysDown.insert(key);
            }
        }
        os->mouse = at;
        os->buttons = 0;
        window->OnMouseMove(at, modifiers);
        os->buttons = MouseButton::kLeft;
        window->OnMouseButton(MouseAction::kPress, MouseButton::kLeft, modifiers, at);
        os->buttons = 0;
        window->OnMouseButton(MouseAction::kRelease, MouseButton::kLeft, modifiers, at);
        for (const auto& [flag, key] : keys)
        {
            app.keysDown.erase(key);
        }
    }

    // Characters typed on the keyboard, each handed to the focused control as the window
    // layer hands a typed character on.
    void Type(const char16_t* text)
    {
        for (const char16_t* unit = text; *unit != 0; ++unit)
        {
            window->DispatchKey(LKeyParam::Create(KeyCode{*unit, 0, 0}, false));
        }
    }
    // A key going down (a virtual key, with KeyCode::kShiftBit, kCtrlBit... for the
    // modifiers held), handed to the focused control.
    void Press(std::uint8_t virtualKey, std::uint32_t modifierBits = 0)
    {
        const std::uint32_t code =
            KeyCode::kDownBit | modifierBits | (std::uint32_t{virtualKey} << KeyCode::kVirtualKeyShift);
        window->DispatchKey(LKeyParam::Create(KeyCode{code, 0, 0}, false));
    }

    // The main loop's idle step: every notification center drains its queue (what other
    // threads and the engine posted reaches its handlers), then the window's idle step
    // runs; as the loop does, the first pass sends "NID_IDLE" and further passes follow
    // while there is work left, at most three in all.
    void Idle()
    {
        for (int pass = 0; pass < 3; ++pass)
        {
            bool more = LNotificationCenterManager::GetInstance()->ProcessNotifications(pass == 0);
            more = window->OnIdle(pass == 0) || more;
            if (!more)
            {
                break;
            }
        }
    }

    LStandInFrameworkApp app;
    RCPtr<LControlFactory> factory;
    Result loaded = kFail;
    RCPtr<LFakeWindowServices> os{new LFakeWindowServices};
    RCPtr<LRenderer> renderer{new LRecordingRenderer};
    RCPtr<LRootWindow> window;
    RCPtr<LControl> main;
};

} // namespace KR::TestSupport
