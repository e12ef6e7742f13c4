// The look lists the controls choose from, and the rules the program's code relies on
// the skin to keep.

#include "SkinFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

namespace KR::SkinTest
{
namespace
{

void Walk(const LControlDescriptor& d, const std::string& path,
          const std::function<void(const LControlDescriptor&, const std::string&)>& visit)
{
    visit(d, path);
    for (std::uint32_t i = 0; i < d.GetChildren().GetCount(); ++i)
    {
        Walk(*d.GetChildren()[i], path + "/" + Utf8(d.GetChildren()[i]->GetName()), visit);
    }
}

class SkinLooks : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(skin.loaded, kOk); }
    void ForEach(const std::function<void(const LControlDescriptor&, const std::string&)>& visit)
    {
        for (const char* top : kTopLevel)
        {
            const LControlDescriptor* root = skin.Find(top);
            ASSERT_TRUE(root) << top;
            Walk(*root, top, visit);
        }
    }
    std::uint32_t Count(const LControlDescriptor& d)
    {
        const RCPtr<LSkinDescriptor>& s = d.GetSkin();
        return s && s->lookList ? s->lookList->GetCount() : 0;
    }
    EditorSkin skin;
};

TEST_F(SkinLooks, LookListsHaveTheSizeTheirControlsSelectFromAndNoEmptySlot)
{
    // The number of looks each class chooses among; 1 for the others.
    const std::map<std::string, std::uint32_t> looks = {
        {"Framework.Button", 14},
        {"Framework.ComboBox", 7},
        {"Framework.ListBox", 3},
        {"Framework.ListBoxItem", 14},
        {"Framework.TextBox", 14},
        {"Framework.MenuItem", 14},
        {"Framework.ComboMenu", 4},
        {"PresetEditor.MainControl.ButtonView.Button.ColorIndicator", 8},
        {"PresetEditor.MainControl.PadView.Pad.ColorIndicator", 14},
    };
    int lists = 0;
    ForEach(
        [&](const LControlDescriptor& d, const std::string& path)
        {
            const std::uint32_t count = Count(d);
            if (count == 0)
            {
                return; // drawn by nothing: hidden parts such as a numeric up/down's slider
            }
            const auto expected = looks.find(Utf8(d.GetClass()));
            EXPECT_EQ(count, expected == looks.end() ? 1u : expected->second) << path;
            for (std::uint32_t i = 0; i < count; ++i)
            {
                EXPECT_NE(EditorSkin::LookName(d, i), "") << path << " look " << i;
            }
            ++lists;
        });
    EXPECT_GT(lists, 1000);
}

TEST_F(SkinLooks, MenuLookListsHoldTheirLooksByName)
{
    const std::pair<const char*, std::vector<std::string>> named[] = {
        {"mainControl/mainMenu/templateMenu/popupMenu/templateItem",
         {"CE.MenuItem.Unselected", "CE.MenuItem.UnselectedHover", "CE.MenuItem.UnselectedPressed",
          "CE.MenuItem.UnselectedSubmenu", "CE.MenuItem.UnselectedSubmenuHover",
          "CE.MenuItem.UnselectedSubmenuPressed", "CE.MenuItem.UnselectedDisabled", "CE.MenuItem.Selected",
          "CE.MenuItem.SelectedHover", "CE.MenuItem.SelectedPressed", "CE.MenuItem.SelectedSubmenu",
          "CE.MenuItem.SelectedSubmenuHover", "CE.MenuItem.SelectedSubmenuPressed", "CE.MenuItem.Separator"}},
        {"mainControl/mainMenu/templateMenu",
         {"CE.MenuItem.Unselected.MainMenu", "CE.MenuItem.SelectedHover.MainMenu",
          "CE.MenuItem.SelectedPressed.MainMenu", "CE.MenuItem.UnselectedDisabled.MainMenu"}},
        {"contextMenu/templateItem/checkBox",
         {"CE.MenuItem.Check.Transparent", "CE.MenuItem.Check.Transparent", "CE.MenuItem.Check.Transparent",
          "CE.MenuItem.Check.Transparent", "CE.MenuItem.Check.Transparent", "CE.MenuItem.Check.Transparent",
          "CE.MenuItem.Check.Transparent", "CE.MenuItem.Check.Unselect", "CE.MenuItem.Check.Select",
          "CE.MenuItem.Check.Select", "CE.MenuItem.Check.Transparent", "CE.MenuItem.Check.Transparent",
          "CE.MenuItem.Check.Transparent", "CE.MenuItem.Check.Transparent"}},
    };
    for (const auto& [path, names] : named)
    {
        const LControlDescriptor* d = skin.Find(path);
        ASSERT_TRUE(d) << path;
        ASSERT_EQ(Count(*d), names.size()) << path;
        for (std::uint32_t i = 0; i < names.size(); ++i)
        {
            EXPECT_EQ(EditorSkin::LookName(*d, i), names[i]) << path << " look " << i;
        }
    }
    // The list names the menus and the tool tip ask for.
    const std::pair<const char*, const char*> lists[] = {
        {"contextMenu", "CE.MainMenu"},
        {"mainControl/mainMenu/templateMenu/popupMenu", "CE.MainMenu"},
        {"contextMenu/templateItem", "CE.MenuItem"},
        {"contextMenu/templateItem/hotKeyLabel", "CE.Text.CenterRight"},
        {"contextMenu/templateItem/checkBox", "CE.MenuItem.Check"},
        {"mainControl/mainMenu/templateMenu", "CE.MainMenu.MenuItem"},
        {"toolTip", "ToolTip"},
    };
    for (const auto& [path, list] : lists)
    {
        const LControlDescriptor* d = skin.Find(path);
        ASSERT_TRUE(d && d->GetSkin()) << path;
        EXPECT_EQ(skin.factory->GetReader().FindLookList(String(list)).Get(), d->GetSkin()->lookList.Get())
            << path << " takes " << list;
    }
}

// Rules of the program's code on its skin.
TEST_F(SkinLooks, TheSkinKeepsTheRulesTheCodeReliesOn)
{
    // A tab control finds a page by its button's position: the holders list the same names
    // in the same order.
    int tabControls = 0;
    ForEach(
        [&](const LControlDescriptor& d, const std::string& path)
        {
            if (!Utf8(d.GetClass()).ends_with("TabControl"))
            {
                return;
            }
            const LControlDescriptor* buttons = EditorSkin::Child(d, "buttonHolder");
            const LControlDescriptor* pages = EditorSkin::Child(d, "pageHolder");
            ASSERT_TRUE(buttons && pages) << path;
            std::string buttonNames, pageNames;
            for (std::uint32_t i = 0; i < buttons->GetChildren().GetCount(); ++i)
            {
                buttonNames += Utf8(buttons->GetChildren()[i]->GetName()) + " ";
            }
            for (std::uint32_t i = 0; i < pages->GetChildren().GetCount(); ++i)
            {
                pageNames += Utf8(pages->GetChildren()[i]->GetName()) + " ";
            }
            EXPECT_EQ(pageNames, buttonNames) << path;
            ++tabControls;
        });
    EXPECT_EQ(tabControls, 3 + 5 + 3) << "three button-mode, five movement and three edit-panel tab controls";

    // The picture's buttons are marks the groups set: a click must not flip them too.
    ForEach(
        [&](const LControlDescriptor& d, const std::string& path)
        {
            const bool mark =
                (path.ends_with("/button") && path.find("/viewDevice/") != std::string::npos &&
                 path.find("EditPanel") == std::string::npos && path.find("EditPage") == std::string::npos) ||
                path.ends_with("/zoneEnabledToggleButton");
            if (mark)
            {
                String value;
                EXPECT_FALSE(d.GetCreateParams() &&
                             d.GetCreateParams()->GetString(String(u"AUTO_VALUE_SET"), value))
                    << path;
            }
        });

    // The switchable edit panels start hidden; edit panels come before the groups, whose
    // initialisation finds them.
    const std::pair<const char*, std::int32_t> orders[] = {
        {"padEditPanel", 25},
        {"knobEditPanel", 26},
        {"faderEditPanel", 27},
        {"xyPadEditPanel", 28},
        {"volumePedalEditPanel", 29},
        {"wheelEditPanel", 30},
        {"sustainEditPage", 31},
        {"zoneEditPanel", 32},
        {"buttonEditPanel", 33},
        {"presetNameEditPanel", 34},
        {"pads", 35},
        {"xyPad", 46},
    };
    for (const auto& [name, order] : orders)
    {
        const LControlDescriptor* d = skin.Find(std::string("mainControl/viewDevice/") + name);
        ASSERT_TRUE(d) << name;
        EXPECT_EQ(d->GetLayout()->layoutOrder, order) << name;
        EXPECT_EQ(d->GetLayout()->visible, order == 34 || order >= 35) << name;
    }
    const LControlDescriptor* device = skin.Find("mainControl/viewDevice");
    for (std::uint32_t i = 0; i < device->GetChildren().GetCount(); ++i)
    {
        const LControlDescriptor& child = *device->GetChildren()[i];
        const std::string name = Utf8(child.GetName());
        const std::int32_t order = child.GetLayout()->layoutOrder;
        if (name.ends_with("EditPanel") || name.ends_with("EditPage"))
        {
            EXPECT_TRUE(order >= 25 && order <= 34) << name;
        }
        else if (name != "devicePicture" && name != "editAreaHint")
        {
            EXPECT_TRUE(order >= 35 && order <= 46) << name;
        }
    }

    // Children are drawn and hit only under a look: every container has a look 0.
    ForEach(
        [&](const LControlDescriptor& d, const std::string& path)
        {
            if (d.GetChildren().GetCount() > 0)
            {
                EXPECT_NE(EditorSkin::LookName(d, 0), "") << path;
                EXPECT_NE(EditorSkin::LookName(d, 0), "(none)") << path;
            }
        });
}

// The note and controller selectors show entry n of their labels' tables for number n:
// anything but the numbered entries would shift every name after it.
TEST_F(SkinLooks, NoteOctaveAndControllerNameTablesHoldOnlyTheirNumberedEntries)
{
    ASSERT_EQ(
        skin.factory->LoadStringTables(String(u"::FRAMEWORK_STRINGS"), String(u"::APP_STRINGS"), 0x0409),
        kOk);
    const std::string xy = "mainControl/viewDevice/xyPadEditPanel/viewTabControl/pageHolder/noteModePage/";
    const std::string zone = "mainControl/viewDevice/zoneEditPanel/startEndNoteSelector/";
    const std::string cc = "mainControl/viewDevice/sustainEditPage/buttonTypePanel/tabControl/pageHolder/";
    const struct
    {
        std::string selector;
        const char* label;
        const char* prefix;
        std::size_t count;
    } tables[] = {
        {xy + "note1/noteSelector", "noteNameLabel", "ITEM.", 12},
        {xy + "note1/noteSelector", "octaveNameLabel", "ITEM.", 11},
        {zone + "startNote/noteSelector", "noteNameLabel", "ITEM.", 12},
        {zone + "endNote/noteSelector", "octaveNameLabel", "ITEM.", 11},
        {cc + "ccAbsolutePage/cc/ccSelector", "label", "TEXT.", 128},
    };
    for (const auto& row : tables)
    {
        const LControlDescriptor* selector = skin.Find(row.selector);
        ASSERT_TRUE(selector) << row.selector;
        const RCPtr<LStringTable> table = skin.factory->GetControlStringTable(selector, String(row.label));
        ASSERT_TRUE(table) << Utf8(selector->GetClass()) << "|" << row.label;
        EXPECT_EQ(table->GetCount(), row.count) << Utf8(selector->GetClass()) << "|" << row.label;
        for (const auto& [id, text] : table->GetTexts())
        {
            EXPECT_TRUE(Utf8(id).starts_with(row.prefix))
                << Utf8(selector->GetClass()) << "|" << row.label << ": " << Utf8(id);
        }
    }
}

// A table keyed "<parent class>|<child>" reaches a control only when the skin has such a
// child under such a parent: the two documents are written apart, so check them together.
TEST_F(SkinLooks, EveryTableKeyedByASkinPathNamesAChildTheSkinHas)
{
    ASSERT_EQ(
        skin.factory->LoadStringTables(String(u"::FRAMEWORK_STRINGS"), String(u"::APP_STRINGS"), 0x0409),
        kOk);
    std::set<std::string> paths;
    ForEach(
        [&](const LControlDescriptor& d, const std::string&)
        {
            // A top-level control's tables go by the application's name.
            const LControlDescriptor* parent = d.GetParent();
            const bool top = !parent || Utf8(parent->GetClass()) == "Application";
            paths.insert((top ? std::string("PresetEditor") : Utf8(parent->GetClass())) + "|" +
                         Utf8(d.GetName()));
        });
    int keyed = 0;
    for (const auto& [key, texts] : skin.factory->GetReader().GetStringTables().GetAll())
    {
        const std::string name = Utf8(key);
        if (name.find('|') == std::string::npos || name.front() == '|')
        {
            continue; // the framework's and the application's own tables
        }
        EXPECT_TRUE(paths.count(name)) << name;
        ++keyed;
    }
    EXPECT_GT(keyed, 100);
}

} // namespace
} // namespace KR::SkinTest
