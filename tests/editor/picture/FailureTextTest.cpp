// Skins that lack what the picture's panels need: the main control is not made, and the
// error names the child or the refused result, the operation, its source and line.

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
        {{{"Class=\"PresetEditor.MainControl.KeybedZones.Zone\"", "infoLabel"}},
         "Runtime Error : Null Pointer : Cannot find child: infoLabel  : LKeybedZonePanel::Initialize : "
         "UI\\QuillanCommon\\KeybedZonePanel : Line 33"},
        {{{"Class=\"PresetEditor.MainControl.XYPadView.Axis\"", "viewPanel"}},
         "Runtime Error : Null Pointer : cannot find child viewPanel : LXYPadDirectionPanel::Initialize : "
         "UI\\QuillanCommon\\XYPadDirectionPanel : Line 32"},
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
