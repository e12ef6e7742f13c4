// An edit writes the bytes of the control the user opened and nothing else, and a list
// shows what that control's block holds: the editors one family shares keep no byte of the
// control shown before, and a panel bound to a new control writes nothing until that
// control's own block is on it.

#include "GroupsFixture.h"

#include "kr/ui/TabControl.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace
{

using namespace KR::TestSupport;

class EditRouting : public Groups
{
protected:
    std::int32_t IdOf(const std::string& control) const
    {
        return dynamic_cast<LParameterizedModule*>(At(control))->GetFirstParamID();
    }
    void Open(const std::string& control)
    {
        Click(control + "/button");
        editor.Idle();
    }
    KR::LControl* OpenPanel() const
    {
        const std::vector<std::string> shown = Shown();
        EXPECT_EQ(shown.size(), 1u);
        return shown.empty() ? nullptr : At(shown.front());
    }
    static std::vector<KR::LControl*> Descendants(KR::LControl* panel, const char16_t* name)
    {
        KR::RCPtrArray<KR::LControl> found;
        panel->FindDescendantControls(KR::String(name), found);
        std::vector<KR::LControl*> controls;
        for (std::uint32_t i = 0; i < found.GetCount(); ++i)
        {
            controls.push_back(found[i].Get());
        }
        return controls;
    }
    // The texts of a control and everything below it.
    static std::string Texts(const KR::LControl& control)
    {
        std::string texts = std::string(control.GetText().ToUtf8().GetPtr()) + "|";
        const KR::LControl::ChildControlList& children = control.GetChildren();
        for (std::uint32_t i = 0; i < children.GetCount(); ++i)
        {
            texts += Texts(*children.GetAt(i, KR::kInsertionOrder));
        }
        return texts;
    }
    // Every list of the panel shows its selected item, or nothing when it has none.
    static void ExpectListsShowTheirOwnItem(KR::LControl* panel, const std::string& where)
    {
        for (KR::LControl* control : Descendants(panel, u"comboBox"))
        {
            const auto* list = dynamic_cast<KR::LComboBox*>(control);
            ASSERT_TRUE(list);
            const std::int32_t item = list->GetSelectedIndex();
            EXPECT_EQ(list->GetText(), item < 0 ? KR::String() : list->GetItemText(item))
                << where << ": " << list->GetParent()->GetName().ToUtf8().GetPtr() << " item " << item;
        }
    }
};

// Control `first` holds a byte its list has no item for, on `page` at `at`; `second`, of
// the same family, holds listed bytes only. Both orders are opened; choosing each page of
// the control opened second writes its block alone, in 7-bit bytes, and never the first
// control's kept byte. The pedals are single controls: their second block is loaded over
// the first while the pedal is open.
TEST_F(EditRouting, EachPageOfTheSecondControlWritesNoneOfTheFirstsBytes)
{
    const struct
    {
        const char* first;
        const char* second;
        const char* firstBlock;
        const char* secondBlock;
        const char* page;
        std::size_t at;
    } rows[] = {
        {"keybedZones/zone1", "keybedZones/zone2", "01 11 00 00 00 00 30 05 0C", "01 05 0A 00 01 0C 24 06 0E",
         "", 1},
        {"buttons/buttonBank1/button1", "buttons/buttonBank1/button2",
         "05 09 09 09 09 01 15 00 00 00 00 00 00 00 09 56 7F",
         "01 03 01 02 00 01 13 3C 00 00 00 00 00 7F 03 57 01", "mmcPage", 8},
        {"pads/pad1", "pads/pad2", "05 09 09 09 09 01 30 00 40 00 00 00 00 00",
         "01 03 01 02 00 00 07 00 00 00 00 00 00 7F", "otherPage", 6},
        {"encoders/encoderBank1/encoder1", "encoders/encoderBank1/encoder2", "00 01 30 00 40 7F",
         "00 00 07 00 00 7F", "otherPage", 2},
        {"encoders/encoderBank1/encoder3", "encoders/encoderBank1/encoder4", "16 00 0A 01 09 00",
         "03 00 0B 00 05 63", "ccRelativePage", 4},
        {"faders/faderBank1/fader1", "faders/faderBank1/fader2", "00 01 40 00 00 7F", "02 00 07 00 00 7F",
         "otherPage", 2},
        {"wheels/pitchWheel", "wheels/modWheel", "00 01 50 00 7F", "00 00 01 00 7F", "otherPage", 2},
        {"pedals/sustainPedal", "pedals/sustainPedal", "00 01 30 00 40 00", "00 00 40 00 00 7F", "otherPage",
         2},
        {"pedals/volumePedal", "pedals/volumePedal", "00 01 30 00 00 7F", "00 00 07 00 00 7F", "otherPage",
         2},
        {"xyPad/xAxis", "xyPad/yAxis", "00 01 30 00 00 7F 08 3C 48 3E 40 41 43 45 47",
         "00 00 10 00 00 7F 02 30 3C 00 00 00 00 00 00", "otherPage", 2},
    };
    for (const auto& row : rows)
    {
        for (const bool keptFirst : {true, false})
        {
            const std::string opened = keptFirst ? row.first : row.second;
            const std::string edited = keptFirst ? row.second : row.first;
            const std::vector<int> openedBlock = Numbers(keptFirst ? row.firstBlock : row.secondBlock, 16);
            const std::vector<int> editedBlock = Numbers(keptFirst ? row.secondBlock : row.firstBlock, 16);
            SCOPED_TRACE(opened + " then " + edited);
            const std::int32_t id = IdOf(edited);
            ASSERT_EQ(engine.SetAsLoaded(IdOf(opened), openedBlock), KR::kOk);
            editor.Idle();
            Open(opened);
            ASSERT_EQ(engine.SetAsLoaded(id, editedBlock), KR::kOk);
            editor.Idle();
            Open(edited);
            KR::LControl* panel = OpenPanel();
            ASSERT_TRUE(panel);
            ExpectListsShowTheirOwnItem(panel, "opened");
            const std::vector<std::vector<int>> loaded = engine.All();

            std::vector<std::string> chosen;
            const auto check = [&](const std::string& page)
            {
                editor.Idle();
                std::vector<std::vector<int>> now = engine.All();
                const std::vector<int> written = now[static_cast<std::size_t>(id)];
                ASSERT_EQ(written.size(), editedBlock.size()) << page;
                EXPECT_TRUE(std::all_of(written.begin(), written.end(), [](int byte) { return byte < 0x80; }))
                    << page << ": " << ::testing::PrintToString(written);
                if (keptFirst && page == row.page)
                {
                    EXPECT_NE(written[row.at], openedBlock[row.at]) << page << ": the first control's byte";
                }
                now[static_cast<std::size_t>(id)] = loaded[static_cast<std::size_t>(id)];
                EXPECT_EQ(now, loaded) << page << ": another control's block changed";
                ExpectListsShowTheirOwnItem(panel, page);
                // The picture reads what the model holds: handed the model's value afresh,
                // the control's read-out stays as it is.
                KR::LControl* picture = At(edited);
                const std::string readOut = Texts(*picture);
                dynamic_cast<LParameterizedModule*>(picture)->SetParamValueLocal(KR::ParamDescriptor(id),
                                                                                 engine.Value(id), false);
                EXPECT_EQ(Texts(*picture), readOut) << page << ": the picture's read-out";
                chosen.push_back(page);
            };
            for (KR::LControl* control : Descendants(panel, u"tabControl"))
            {
                auto* tabs = dynamic_cast<KR::LTabControl*>(control);
                ASSERT_TRUE(tabs);
                for (std::uint32_t i = 0; i < tabs->GetPageCount(); ++i)
                {
                    const KR::String name = tabs->GetPage(static_cast<std::int32_t>(i))->GetName();
                    const KR::RCPtr<KR::LControl>& tab = tabs->GetButtonHolder()->FindChildControl(name);
                    if (tab && tab->IsShown(false))
                    {
                        tabs->SelectPage(name);
                        check(name.ToUtf8().GetPtr());
                    }
                }
            }
            if (chosen.empty())
            {
                // A zone has no pages: its switch is its edit.
                Click(Shown().front() + "/zoneEnabledToggleButton");
                check("");
            }
            EXPECT_EQ(std::count(chosen.begin(), chosen.end(), std::string(row.page)), 1)
                << "the kept byte's page was chosen";
        }
    }
}

// Between the click on another control and the arrival of its block at the next idle pass,
// the panel still shows the control opened before: an edit then writes nothing, and once
// the block is on the panel the same edit writes that control's block.
TEST_F(EditRouting, AnEditBeforeTheNewBlockArrivesWritesNothing)
{
    const std::string first = "encoders/encoderBank1/encoder1";
    const std::string second = "encoders/encoderBank1/encoder2";
    ASSERT_EQ(engine.SetAsLoaded(IdOf(first), Numbers("03 00 0B 00 05 63", 16)), KR::kOk);
    ASSERT_EQ(engine.SetAsLoaded(IdOf(second), Numbers("00 00 07 00 00 7F", 16)), KR::kOk);
    editor.Idle();
    Open(first);
    const std::vector<std::vector<int>> loaded = engine.All();
    auto* max =
        editor.Find<KR::LNumericUpDown>("viewDevice/knobEditPanel/moveableTypePanel/tabControl/pageHolder/"
                                        "ccAbsolutePage/minMaxSelectors/max/numericUpDown");
    ASSERT_TRUE(max);
    ASSERT_EQ(InProcessEditor::Number(*max), 0x63);

    Click(second + "/button");
    InProcessEditor::Enter(max, u"100");
    EXPECT_EQ(engine.All(), loaded) << "nothing written before encoder 2's block was shown";

    editor.Idle();
    EXPECT_EQ(InProcessEditor::Number(*max), 0x7F) << "encoder 2's own block";
    InProcessEditor::Enter(max, u"100");
    EXPECT_EQ(engine.Bytes(IdOf(second)), Numbers("00 00 07 00 00 64", 16));
    EXPECT_EQ(engine.Bytes(IdOf(first)), Numbers("03 00 0B 00 05 63", 16));
}

// A preset of arbitrary 7-bit blocks: every control of the first bank and the rest opened
// in turn, one way and back, and every page of each chosen, writes only the opened
// control's block, only bytes below 0x80, and leaves every list showing its own item or
// nothing.
TEST_F(EditRouting, EveryPageOfEveryControlOnArbitraryBlocksWritesOnlyItsOwn)
{
    std::mt19937 random(65);
    for (std::int32_t id = 0; id < InstalledEngine::kParamCount; ++id)
    {
        std::vector<int> bytes = engine.Bytes(id);
        for (int& byte : bytes)
        {
            byte = static_cast<int>(random() % 128);
        }
        ASSERT_EQ(engine.SetAsLoaded(id, bytes), KR::kOk);
    }
    editor.Idle();
    std::vector<std::string> controls;
    for (int k = 1; k <= 9; ++k)
    {
        const std::string n = std::to_string(k);
        controls.push_back("buttons/buttonBank1/button" + n);
        controls.push_back("faders/faderBank1/fader" + n);
        if (k <= 8)
        {
            controls.push_back("encoders/encoderBank1/encoder" + n);
        }
    }
    for (int k = 1; k <= 16; ++k)
    {
        controls.push_back("pads/pad" + std::to_string(k));
    }
    for (const char* other :
         {"keybedZones/zone1", "keybedZones/zone2", "wheels/pitchWheel", "wheels/modWheel",
          "pedals/sustainPedal", "pedals/volumePedal", "xyPad/xAxis", "xyPad/yAxis"})
    {
        controls.emplace_back(other);
    }
    for (const bool back : {false, true})
    {
        if (back)
        {
            std::reverse(controls.begin(), controls.end());
        }
        for (const std::string& control : controls)
        {
            SCOPED_TRACE(control);
            const std::int32_t id = IdOf(control);
            Open(control);
            KR::LControl* panel = OpenPanel();
            ASSERT_TRUE(panel);
            ExpectListsShowTheirOwnItem(panel, "opened");
            const std::vector<std::vector<int>> loaded = engine.All();
            for (KR::LControl* found : Descendants(panel, u"tabControl"))
            {
                auto* tabs = dynamic_cast<KR::LTabControl*>(found);
                ASSERT_TRUE(tabs);
                for (std::uint32_t i = 0; i < tabs->GetPageCount(); ++i)
                {
                    const KR::String name = tabs->GetPage(static_cast<std::int32_t>(i))->GetName();
                    tabs->SelectPage(name);
                    editor.Idle();
                    std::vector<std::vector<int>> now = engine.All();
                    const std::vector<int>& written = now[static_cast<std::size_t>(id)];
                    EXPECT_TRUE(
                        std::all_of(written.begin(), written.end(), [](int byte) { return byte < 0x80; }))
                        << name.ToUtf8().GetPtr() << ": " << ::testing::PrintToString(written);
                    now[static_cast<std::size_t>(id)] = loaded[static_cast<std::size_t>(id)];
                    ASSERT_EQ(now, loaded) << name.ToUtf8().GetPtr() << ": another control's block changed";
                    ExpectListsShowTheirOwnItem(panel, name.ToUtf8().GetPtr());
                }
            }
        }
    }
}

} // namespace
