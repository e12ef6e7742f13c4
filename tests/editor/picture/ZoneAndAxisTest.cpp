// The keybed zones and the touch pad's axes on the picture, in the real tree over the real
// engine: their names and read-outs, and clicks that open their edit
// panels with the picture following the model's echo.

#include "editor/picture/GroupsFixture.h"
#include "editor/picture/KeybedZoneGroupPanel.h"
#include "editor/picture/PadGroupPanel.h"
#include "editor/picture/XYPadDirectionGroupPanel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using KR::TestSupport::Blob;
using KR::TestSupport::Groups;
using KR::TestSupport::InProcessEditor;
using KR::TestSupport::LShownWithID;
using Bytes = std::vector<int>;

TEST_F(Groups, ZonesAndAxesAreNamedAndShowTheirBlocks)
{
    const char* channels[] = {"CH:G", "CH:1", "CH:2", "CH:3"};
    for (int zone = 1; zone <= 4; ++zone)
    {
        const std::string panel = "keybedZones/zone" + std::to_string(zone);
        EXPECT_EQ(Text(panel + "/zoneName"), "ZONE " + std::to_string(zone));
        EXPECT_EQ(Text(panel + "/infoLabel"), "First: C (1) | Last C (5)") << zone;
        EXPECT_EQ(Text(panel + "/midiChannel/label"), channels[zone - 1]) << zone;
    }
    auto* zone3 = dynamic_cast<LParameterizedModule*>(At("keybedZones/zone3"));
    ASSERT_TRUE(zone3);
    EXPECT_EQ(zone3->GetFirstParamID(), 3);
    EXPECT_EQ(zone3->GetIndex(), 2);
    EXPECT_EQ(Text("xyPad/xAxis/viewPanel/infoLabel"), "CC:\n112");
    EXPECT_EQ(Text("xyPad/yAxis/viewPanel/infoLabel"), "CC:\n113");
    auto* axis = dynamic_cast<LParameterizedModule*>(At("xyPad/yAxis"));
    ASSERT_TRUE(axis);
    EXPECT_EQ(axis->SetParamValueLocal(KR::ParamDescriptor(130), Blob({0, 0, 7, 0, 0, 0x7F}), true),
              KR::kFail);
    EXPECT_EQ(Text("xyPad/yAxis/viewPanel/infoLabel"), "CC:\n113");
}

TEST_F(Groups, AClickOnAZoneOrAnAxisOpensItsEditPanel)
{
    auto* zones = editor.Find<LKeybedZoneGroupPanel>("viewDevice/keybedZones");
    auto* axes = editor.Find<LXYPadDirectionGroupPanel>("viewDevice/xyPad");
    ASSERT_TRUE(zones && axes);
    const KR::RCPtr<LShownWithID> zoneShown(new LShownWithID(At("zoneEditPanel")));
    const KR::RCPtr<LShownWithID> axisShown(new LShownWithID(At("xyPadEditPanel")));

    Click("keybedZones/zone2/button");
    editor.Idle();
    EXPECT_EQ(Shown(), std::vector<std::string>{"zoneEditPanel"});
    EXPECT_EQ(zoneShown->ids, std::vector<std::int32_t>{2}) << "bound, then shown";
    std::uint32_t cleared = 0;
    EXPECT_EQ(Marked(*zones, cleared), std::vector<std::uint32_t>{1});
    EXPECT_EQ(cleared, 3u);
    EXPECT_EQ(zones->GetKeybedZone(1).Get(), static_cast<IKeybedZone*>(zones->GetEditPanel().Get()));
    EXPECT_EQ(zones->GetKeybedZone(2).Get(), static_cast<IKeybedZone*>(zones->GetViewPanel(2).Get()));
    EXPECT_FALSE(zones->GetKeybedZone(4));
    InProcessEditor::Enter(
        editor.Find<KR::LNumericUpDown>(
            "viewDevice/zoneEditPanel/startEndNoteSelector/startNote/noteSelector/numericUpDown"),
        u"13");
    editor.Idle();
    EXPECT_EQ(engine.DataBytes()[20], 0x0D);
    EXPECT_EQ(Text("keybedZones/zone2/infoLabel"), "First: Db (2) | Last C (5)");
    Click("pads/pad1/button");
    EXPECT_TRUE(Marked(*zones, cleared).empty());
    EXPECT_EQ(cleared, 4u);

    Click("xyPad/yAxis/button");
    editor.Idle();
    EXPECT_EQ(Shown(), std::vector<std::string>{"xyPadEditPanel"});
    EXPECT_EQ(axisShown->ids, std::vector<std::int32_t>{0}) << "shown, then bound";
    EXPECT_EQ(axes->GetEditPanel()->GetFirstParamID(), 130);
    EXPECT_EQ(axes->GetEditPanel()->GetIndex(), 1);
    EXPECT_EQ(Text("xyPadEditPanel/axisName"), "Y-AXIS");
    EXPECT_EQ(Marked(*axes, cleared), std::vector<std::uint32_t>{1});
    const std::string cc =
        "xyPadEditPanel/viewTabControl/pageHolder/midiPage/tabControl/pageHolder/ccAbsolutePage/"
        "cc/ccSelector/numericUpDown";
    EXPECT_EQ(InProcessEditor::Number(*editor.Find<KR::LNumericUpDown>("viewDevice/" + cc)), 113);
    InProcessEditor::Enter(editor.Find<KR::LNumericUpDown>("viewDevice/" + cc), u"20");
    editor.Idle();
    EXPECT_EQ(Text("xyPad/yAxis/viewPanel/infoLabel"), "CC:\n20");
    EXPECT_EQ(Text("xyPad/xAxis/viewPanel/infoLabel"), "CC:\n112");
    zoneShown->UnregisterForAllNotifications();
    axisShown->UnregisterForAllNotifications();
}

} // namespace
