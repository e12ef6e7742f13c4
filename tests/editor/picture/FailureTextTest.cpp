// Skins that lack what the picture's panels need: the main control is not made, and the
// error names the child or the refused result, the operation, its source and line.

#include "TestPaths.h"
#include "editor/support/InProcessEditor.h"
#include "editor/support/InstalledEngine.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace
{

using KR::TestSupport::InProcessEditor;

TEST(PictureSkins, AMissingChildStopsTheTreeWithItsText)
{
    using Renames = std::vector<std::pair<const char*, const char*>>; // (after, child)
    const struct
    {
        Renames renames;
        const char* text;
    } cases[] = {
        {{{"", "encoderBank3"}},
         "Runtime Error : Null Pointer : can not find child encoderBank3 : LEncoderGroupPanel::Initialize : "
         "UI\\QuillanCommon\\EncoderGroupPanel : Line 48"},
        {{{"", "encoderBank3"}, {"", "encoderBank2"}},
         "Runtime Error : Null Pointer : can not find child encoderBank2 : LEncoderGroupPanel::Initialize : "
         "UI\\QuillanCommon\\EncoderGroupPanel : Line 47"},
        {{{"", "faderBank3"}},
         "Runtime Error : Null Pointer : can not find child faderBank3 : LFaderGroupPanel::Initialize : "
         "UI\\QuillanCommon\\FaderGroupPanel : Line 42"},
        {{{"Name=\"faderBank2\"", "fader7"}},
         "Failed Result : KRRESULT = 80004005 : LFaderGroupPanel::Initialize : "
         "UI\\QuillanCommon\\FaderGroupPanel : Line 87"},
        {{{"", "knobEditPanel"}},
         "Failed Result : KRRESULT = 80070057 : LEncoderGroupPanel::Initialize : "
         "UI\\QuillanCommon\\EncoderGroupPanel : Line 37"},
        {{{"", "faderEditPanel"}},
         "Runtime Error : Null Pointer : faderEditPanel knob found : LFaderGroupPanel::Initialize : "
         "UI\\QuillanCommon\\FaderGroupPanel : Line 37"},
        {{{"", "wheelEditPanel"}},
         "Failed Result : KRRESULT = 80070057 : LWheelGroupPanel::Initialize : "
         "UI\\QuillanCommon\\WheelGroupPanel : Line 39"},
        {{{"", "modWheel"}},
         "Failed Result : KRRESULT = 80004005 : LWheelGroupPanel::Initialize : "
         "UI\\QuillanCommon\\WheelGroupPanel : Line 61"},
        {{{"Name=\"pitchWheel\"", "button"}},
         "Failed Result : KRRESULT = 80070057 : LWheelGroupPanel::Initialize : "
         "UI\\QuillanCommon\\WheelGroupPanel : Line 51"},
        {{{"Class=\"PresetEditor.MainControl.FaderView.Fader\"", "viewPanel"}},
         "Runtime Error : Null Pointer : cannot find child viewPanel : LFaderPanel::Initialize : "
         "UI\\QuillanCommon\\FaderPanel : Line 33"},
        {{{"Class=\"PresetEditor.MainControl.ButtonView.Button\"", "color"}},
         "Runtime Error : Null Pointer : child: color not found : LButtonPanel::Initialize : "
         "UI\\QuillanCommon\\ButtonPanel : Line 33"},
        {{{"Class=\"PresetEditor.MainControl.PadView.Pad\"", "button"}},
         "Failed Result : KRRESULT = 80070057 : LPadPanel::Initialize : UI\\QuillanCommon\\PadPanel : Line "
         "37"},
        {{{"Class=\"PresetEditor.MainControl.Pedals.SustainPedal\"", "viewPanel"}},
         "Runtime Error : Null Pointer : child: viewPanel not found : LSustainPedalPanel::Initialize : "
         "UI\\QuillanCommon\\SustainPedalPanel : Line 32"},
        {{{"Name=\"buttonBank3\"", "button7"}},
         "Failed Result : KRRESULT = 80004005 : LButtonGroupPanel::Initialize : "
         "UI\\QuillanCommon\\ButtonGroupPanel : Line 85"},
        {{{"", "buttonBank3"}},
         "Runtime Error : Null Pointer : can not find child buttonBank3 : LButtonGroupPanel::Initialize : "
         "UI\\QuillanCommon\\ButtonGroupPanel : Line 46"},
        {{{"", "padEditPanel"}},
         "Failed Result : KRRESULT = 80070057 : LPadGroupPanel::Initialize : "
         "UI\\QuillanCommon\\PadGroupPanel : Line 53"},
        {{{"", "volumePedalEditPanel"}},
         "Runtime Error : Null Pointer : volumeEditPanel not found : LPedalGroupPanel::Initialize : "
         "UI\\QuillanCommon\\PedalGroupPanel : Line 34"},
        {{{"", "sustainEditPage"}},
         "Runtime Error : Null Pointer : sustainEditPanel not found : LPedalGroupPanel::Initialize : "
         "UI\\QuillanCommon\\PedalGroupPanel : Line 36"},
        {{{"", "sustainPedal"}},
         "Runtime Error : Null Pointer : sustainPedal not found : LPedalGroupPanel::Initialize : "
         "UI\\QuillanCommon\\PedalGroupPanel : Line 41"},
        {{{"Name=\"volumePedal\"", "button"}},
         "Failed Result : KRRESULT = 80070057 : LPedalGroupPanel::Initialize : "
         "UI\\QuillanCommon\\PedalGroupPanel : Line 44"},
        {{{"", "zone4"}},
         "Failed Result : KRRESULT = 80004005 : LKeybedZoneGroupPanel::Initialize : "
         "UI\\QuillanCommon\\KeybedZoneGroupPanel : Line 59"},
        {{{"", "zoneEditPanel"}},
         "Failed Result : KRRESULT = 80070057 : LKeybedZoneGroupPanel::Initialize : "
         "UI\\QuillanCommon\\KeybedZoneGroupPanel : Line 34"},
        {{{"Class=\"PresetEditor.MainControl.KeybedZones.Zone\"", "infoLabel"}},
         "Runtime Error : Null Pointer : Cannot find child: infoLabel  : LKeybedZonePanel::Initialize : "
         "UI\\QuillanCommon\\KeybedZonePanel : Line 33"},
        {{{"Class=\"PresetEditor.MainControl.XYPadView.Axis\"", "viewPanel"}},
         "Runtime Error : Null Pointer : cannot find child viewPanel : LXYPadDirectionPanel::Initialize : "
         "UI\\QuillanCommon\\XYPadDirectionPanel : Line 32"},
        {{{"", "yAxis"}},
         "Failed Result : KRRESULT = 80004005 : LXYPadDirectionGroupPanel::Initialize : "
         "UI\\QuillanCommon\\XYPadDirectionGroupPanel : Line 64"},
        {{{"", "xyPadEditPanel"}},
         "Runtime Error : Null Pointer : Cannot find child xyPadEditPanel : "
         "LXYPadDirectionGroupPanel::Initialize : "
         "UI\\QuillanCommon\\XYPadDirectionGroupPanel : Line 35"},
        // Found at the id pass, once the main control numbers the tree.
        {{{"", "padNumberLabel"}},
         "Runtime Error : Null Pointer : Cannot find child: padNumberLabel : LPadPanel::SetFirstParamID : "
         "UI\\QuillanCommon\\PadPanel : Line 146"},
        {{{"", "encoderNameLabel"}},
         "Runtime Error : Null Pointer : Cannot find child: encoderNameLabel : "
         "LEncoderPanel::SetFirstParamID : "
         "UI\\QuillanCommon\\EncoderPanel : Line 69"},
    };
    KR::TestSupport::InstalledEngine engine;
    for (const auto& c : cases)
    {
        std::string name = "without";
        for (const auto& [after, child] : c.renames)
        {
            name += std::string("_") + child;
        }
        const std::string skin =
            InProcessEditor::EditedFile(KR_EDITOR_SKIN_FILE, name,
                                        [&](std::string& text)
                                        {
                                            for (const auto& [after, child] : c.renames)
                                            {
                                                InProcessEditor::RenameChildren(text, after, child);
                                            }
                                        });
        std::string thrown;
        try
        {
            InProcessEditor editor(true, skin);
            EXPECT_EQ(editor.loaded, KR::kOk) << name;
        }
        catch (const std::exception& error)
        {
            thrown = error.what();
        }
        EXPECT_EQ(thrown, c.text) << name;
    }
}

} // namespace
