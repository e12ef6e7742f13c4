// Skins that lack a child the panels need: the main control is not made, and the error
// names the child, the operation, its source and line.

#include "TestPaths.h"
#include "editor/support/InProcessEditor.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace
{

using KR::TestSupport::InProcessEditor;

TEST(EditPanelSkins, AMissingChildStopsTheTreeWithItsText)
{
    const struct
    {
        const char* after; // the child goes below each of these ("" everywhere)
        const char* child;
        const char* text;
    } cases[] = {
        {"Name=\"knobEditPanel\"", "moveableTypePanel",
         "Runtime Error : Null Pointer : Cannot find child: moveableTypePanel : "
         "LEncoderEditPanel::Initialize : "
         "UI\\QuillanCommon\\EncoderEditPanel : Line 32"},
        {"", "otherType",
         "Runtime Error : Null Pointer : Can not find ComboBox Control: otherType : "
         "LMoveableControlEditPanel::Initialize : UI\\QuillanCommon\\MoveableControlEditPanel : Line 56"},
        {"Class=\"PresetEditor.MainControl.EditPanel.MoveableTypePanel\"", "tabControl",
         "Runtime Error : Null Pointer : Couldn't find child typeTabControl : "
         "LMoveableControlEditPanel::Initialize "
         ": UI\\QuillanCommon\\MoveableControlEditPanel : Line 30"},
        {"", "wheelName",
         "Runtime Error : Null Pointer : couldn't find child wheelName : LWheelEditPanel::Initialize : "
         "UI\\QuillanCommon\\WheelEditPanel : Line 34"},
        {"", "faderName",
         "Runtime Error : Null Pointer : Cannot find child: faderName : LFaderEditPanel::Initialize : "
         "UI\\QuillanCommon\\FaderEditPanel : Line 36"},
        {"Name=\"presetNameEditPanel\"", "textBox",
         "Runtime Error : Null Pointer : Cannot find child textBox : LPresetNamePanel::Initialize : "
         "UI\\QuillanCommon\\PresetNamePanel : Line 35"},
        {"Name=\"buttonEditPanel\"", "buttonName",
         "Runtime Error : Null Pointer : Couldn't find child ButtonName : LButtonEditPanel::Initialize : "
         "UI\\QuillanCommon\\ButtonEditPanel : Line 36"},
        {"Name=\"padEditPanel\"", "colorPage",
         "Runtime Error : Null Pointer : Cannot find child viewTabControl page: colorPage : "
         "LPadEditPanel::Initialize : UI\\QuillanCommon\\PadEditPanel : Line 42"},
        {"Name=\"sustainEditPage\"", "buttonTypePanel",
         "Runtime Error : Null Pointer : Couldn't find viewTabControl page: midiPage : "
         "LSustainPedalEditPanel::Initialize : UI\\QuillanCommon\\SustainEditPanel : Line 33"},
        {"Name=\"zoneEditPanel\"", "zoneName",
         "Runtime Error : Null Pointer : couldn't find child zoneName : LKeybedZoneEditPanel::Initialize : "
         "UI\\QuillanCommon\\KeybedZoneEditPanel : Line 35"},
        {"Name=\"startNote\"", "noteSelector",
         "Runtime Error : Null Pointer : couldn't find child comboboxType : "
         "LKeybedZoneEditPanel::Initialize : UI\\QuillanCommon\\KeybedZoneEditPanel : Line 63"},
        {"Name=\"noteScaleType\"", "comboBox",
         "Runtime Error : Null Pointer : can not find noteScaleType child comboBox : "
         "LNoteModeEditPanel::Initialize : UI\\QuillanCommon\\NoteModeEditPanel : Line 41"},
        {"", "noteModeType",
         "Failed Result : KRRESULT = 80070057 : LNoteModeEditPanel::RegisterForAllParameterNotifications : "
         "UI\\QuillanCommon\\NoteModeEditPanel : Line 322"},
        {"Name=\"xyPadEditPanel\"", "midiPage",
         "Runtime Error : Null Pointer : Cannot find child: viewTabControl: midiPage : "
         "LXYPadEditPanel::Initialize : UI\\QuillanCommon\\XYPadEditPanel : Line 33"},
        {"Class=\"PresetEditor.MainControl.MIDIChannelView\"", "label",
         "Runtime Error : Null Pointer : couldn't find child label : LMIDIChannelViewPanel::Initialize : "
         "UI\\QuillanCommon\\MIDIChannelViewPanel : Line 26"},
    };
    for (const auto& c : cases)
    {
        const std::string skin = InProcessEditor::EditedFile(
            KR_EDITOR_SKIN_FILE, std::string("without_") + c.child,
            [&](std::string& text) { InProcessEditor::RenameChildren(text, c.after, c.child); });
        std::string thrown;
        try
        {
            InProcessEditor editor(true, skin);
            EXPECT_EQ(editor.loaded, KR::kOk) << c.child;
        }
        catch (const std::exception& error)
        {
            thrown = error.what();
        }
        EXPECT_EQ(thrown, c.text) << c.child;
    }
}

} // namespace
