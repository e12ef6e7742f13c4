// The keyboard picture's view in the editor's real tree, without a display: the banks it
// switches, the edit panel it shows for each kind of control, and skins that lack what
// it needs.

#include "TestPaths.h"
#include "editor/support/InProcessEditor.h"
#include "editor/support/InstalledEngine.h"
#include "kr/controls/MainMenu.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{

using KR::TestSupport::InProcessEditor;

// The banks of the three groups that show, as "faderBank2" and the like.
std::set<std::string> ShownBanks(const InProcessEditor& editor)
{
    std::set<std::string> shown;
    for (const char* group : {"faders/faderBank", "buttons/buttonBank", "encoders/encoderBank"})
    {
        for (int bank = 1; bank <= 4; ++bank)
        {
            const std::string path = std::string("viewDevice/") + group + std::to_string(bank);
            if (const KR::LControl* child = editor.Find(path); child && child->IsShown(false))
            {
                shown.insert(path.substr(path.rfind('/') + 1));
            }
        }
    }
    return shown;
}

std::set<std::string> BanksNumbered(int bank, const std::set<std::string>& except = {})
{
    std::set<std::string> banks;
    for (const char* prefix : {"faderBank", "buttonBank", "encoderBank"})
    {
        const std::string name = prefix + std::to_string(bank);
        if (!except.contains(name))
        {
            banks.insert(name);
        }
    }
    return banks;
}

std::vector<double> BankValues(const LDeviceView& view)
{
    std::vector<double> values;
    for (int bank = 1; bank <= 4; ++bank)
    {
        values.push_back(view.GetBankButton(bank)->GetValue());
    }
    return values;
}

void Click(const KR::RCPtr<KR::LNotificationDistributor>& sender)
{
    sender->SendNotification(KR::LNotification::Create(u"NID_LEFT_CLICK"));
}

TEST(DeviceView, BankButtonsSwitchTheBanksOfAllThreeGroupsAsOneRadioGroup)
{
    KR::TestSupport::InstalledEngine engine;
    InProcessEditor editor;
    LDeviceView* view = editor.DeviceView();
    ASSERT_TRUE(view);
    EXPECT_EQ(ShownBanks(editor), BanksNumbered(1));
    EXPECT_EQ(BankValues(*view), (std::vector<double>{1, 0, 0, 0}));

    const KR::RCPtr<KR::LNotificationDistributor> stranger(editor.Find("viewDevice/groupBankPanel"));
    const struct
    {
        KR::RCPtr<KR::LNotificationDistributor> sender;
        int shownBank;
    } clicks[] = {
        {KR::RCPtr<KR::LNotificationDistributor>(view->GetBankButton(3)), 3},
        {stranger, 3},
        {KR::RCPtr<KR::LNotificationDistributor>(view->GetBankButton(2)), 2},
        {KR::RCPtr<KR::LNotificationDistributor>(view->GetBankButton(4)), 4},
        {KR::RCPtr<KR::LNotificationDistributor>(view->GetBankButton(1)), 1},
    };
    for (const auto& click : clicks)
    {
        if (click.sender == stranger)
        {
            EXPECT_EQ(view->OnBankButtonClicked(stranger, KR::LNotification::Create(u"NID_LEFT_CLICK")), 1);
        }
        else
        {
            Click(click.sender);
        }
        EXPECT_EQ(ShownBanks(editor), BanksNumbered(click.shownBank));
        std::vector<double> values(4, 0.0);
        values[click.shownBank - 1] = 1.0;
        EXPECT_EQ(BankValues(*view), values) << click.shownBank;
    }
}

// The ten panels below the view that ShowEditPanel may touch, and the one it never does.
const char* const kEditPanels[] = {
    "padEditPanel",   "knobEditPanel",   "faderEditPanel", "volumePedalEditPanel", "wheelEditPanel",
    "xyPadEditPanel", "sustainEditPage", "zoneEditPanel",  "buttonEditPanel",      "presetNameEditPanel"};

std::set<std::string> ShownPanels(const InProcessEditor& editor)
{
    std::set<std::string> shown;
    for (const char* name : kEditPanels)
    {
        if (editor.Find(std::string("viewDevice/") + name)->IsShown(false))
        {
            shown.insert(name);
        }
    }
    return shown;
}

TEST(DeviceView, ShowEditPanelShowsTheKindsPanelAlone)
{
    KR::TestSupport::InstalledEngine engine;
    InProcessEditor editor;
    LDeviceView* view = editor.DeviceView();
    ASSERT_TRUE(view);
    EXPECT_EQ(ShownPanels(editor), (std::set<std::string>{"presetNameEditPanel"})) << "as the view starts";

    const struct
    {
        std::int32_t kind;
        std::int32_t which;
        std::set<std::string> shown; // beside the preset name panel, from every panel shown
    } cases[] = {
        {7, 1, {"sustainEditPage"}},
        {7, 0, {"volumePedalEditPanel"}},
        {7, 5, {"volumePedalEditPanel", "sustainEditPage"}},
        {7, -1, {"volumePedalEditPanel", "sustainEditPage"}},
        {0, 0, {"faderEditPanel"}},
        {1, 10, {"knobEditPanel"}},
        {2, 0, {"padEditPanel"}},
        {3, 1, {"xyPadEditPanel"}},
        {4, 1, {"wheelEditPanel"}},
        {5, 0, {"zoneEditPanel"}},
        {6, 0, {"buttonEditPanel"}},
        {8, 0, {}},
        {-1, 0, {}},
    };
    for (const auto& c : cases)
    {
        for (const char* name : kEditPanels)
        {
            editor.Find(std::string("viewDevice/") + name)->SetVisible(true);
        }
        EXPECT_EQ(view->ShowEditPanel(c.kind, c.which), KR::kOk);
        std::set<std::string> expected = c.shown;
        expected.insert("presetNameEditPanel");
        EXPECT_EQ(ShownPanels(editor), expected) << c.kind << "," << c.which;
    }
    editor.Find("viewDevice/presetNameEditPanel")->SetVisible(false);
    view->ShowEditPanel(kEditPanelPushButtons, 0);
    EXPECT_EQ(ShownPanels(editor), (std::set<std::string>{"buttonEditPanel"}))
        << "the preset name stays hidden";
}

TEST(DeviceView, SkinsWithoutWhatTheViewNeeds)
{
    KR::TestSupport::InstalledEngine engine;
    const struct
    {
        const char* child;
        const char* text;
    } cases[] = {
        // The groups are made before the view's own checks run, and refuse what they lack first.
        {"knobEditPanel", "Failed Result : KRRESULT = 80070057 : LEncoderGroupPanel::Initialize : "
                          "UI\\QuillanCommon\\EncoderGroupPanel : Line 37"},
        {"presetNameEditPanel", "Runtime Error : Null Pointer : Cannot find child: presetNameEditPanel : "
                                "LDeviceView::Initialize : UI\\DeviceView : Line 135"},
        {"viewDevice", "Runtime Error : Null Pointer : padEditPanel not found : LPadGroupPanel::Initialize : "
                       "UI\\QuillanCommon\\PadGroupPanel : Line 55"},
        {"groupBankPanel",
         "Failed Result : KRRESULT = 80070057 : LDeviceView::Initialize : UI\\DeviceView : Line 142"},
        {"bank3",
         "Failed Result : KRRESULT = 80070057 : LDeviceView::Initialize : UI\\DeviceView : Line 144"},
        {"faderBank2", "Runtime Error : Null Pointer : can not find child faderBank2 : "
                       "LFaderGroupPanel::Initialize : UI\\QuillanCommon\\FaderGroupPanel : Line 41"},
    };
    for (const auto& c : cases)
    {
        const std::string skin = InProcessEditor::EditedFile(
            KR_EDITOR_SKIN_FILE, std::string("view_without_") + c.child,
            [&](std::string& text) { InProcessEditor::RenameChildren(text, "", c.child); });
        std::string thrown;
        try
        {
            InProcessEditor editor(true, skin);
            ASSERT_EQ(editor.loaded, KR::kOk) << c.child;
        }
        catch (const std::exception& error)
        {
            thrown = error.what();
        }
        EXPECT_EQ(thrown, c.text) << c.child;
    }
}

TEST(DeviceView, GroupsThatAreNotYetGroupClassesGiveEmptyGetters)
{
    KR::TestSupport::InstalledEngine engine;
    InProcessEditor editor;
    LDeviceView* view = editor.DeviceView();
    ASSERT_TRUE(view);
    // Each getter answers the child as its group interface, or nothing; never a wrong one.
    const struct
    {
        const char* child;
        bool isGroup;
    } getters[] = {
        {"presetNameEditPanel", view->GetPresetName().Get() != nullptr},
        {"keybedZones", view->GetKeybedZones().Get() != nullptr},
        {"wheels", view->GetWheels().Get() != nullptr},
        {"pedals", view->GetPedals().Get() != nullptr},
        {"pads", view->GetPads().Get() != nullptr},
        {"buttons", view->GetPushButtons().Get() != nullptr},
        {"faders", view->GetFaders().Get() != nullptr},
        {"encoders", view->GetEncoders().Get() != nullptr},
        {"xyPad", view->GetTouchPadAxises().Get() != nullptr},
    };
    for (const auto& getter : getters)
    {
        EXPECT_EQ(getter.isGroup, dynamic_cast<LParameterizedModule*>(
                                      editor.Find(std::string("viewDevice/") + getter.child)) != nullptr)
            << getter.child;
    }
    EXPECT_TRUE(view->GetStatusView());
    EXPECT_TRUE(view->GetPresetManager());
    EXPECT_TRUE(view->GetFileDialog());
    EXPECT_EQ(editor.MainControl()->GetDevice().Get(), static_cast<IDevice*>(view));
    // The menu bar asks the view about its items (true: the view's updater is held already).
    auto* menu = editor.Find<KR::LMainMenu>("mainMenu");
    ASSERT_TRUE(menu);
    EXPECT_TRUE(menu->SetMenuItemUpdater(view->GetMenuItemUpdater()));
}

} // namespace
