// Every control the program looks up by name in its skin, with the class it must have;
// every class among the registered ones; the look lists the controls select from.

#include "SkinFixture.h"

#include <gtest/gtest.h>

#include <set>

namespace KR::SkinTest
{
namespace
{

struct Lookup
{
    const char* path; // below the top-level control; "{a-b}" repeats
    const char* cls;
};

const char* const kMain = "mainControl/";

// The main window: the device view's children, the picture's groups and cells, the menu.
const Lookup kMainLookups[] = {
    {"", "PresetEditor.MainControl"},
    {"viewDevice", "PresetEditor.MainControl.DeviceView"},
    {"viewStatus", "Framework.Panel"},
    {"viewStatus/statusText", "Framework.Label"},
    {"viewStatus/statusProduct", "Framework.Label"},
    {"mainMenu", "Framework.MainMenu"},
    {"mainMenu/templateMenu", "Framework.ComboMenu"},
    {"mainMenu/templateMenu/popupMenu", "Framework.PopupMenu"},
    {"mainMenu/templateMenu/popupMenu/templateItem", "Framework.MenuItem"},
    {"mainMenu/templateMenu/popupMenu/templateItem/hotKeyLabel", "Framework.Label"},
    {"mainMenu/templateMenu/popupMenu/templateItem/checkBox", "Framework.Button"},
    {"mainMenu/templateMenu/popupMenu/hBar", "Framework.ScrollBar"},
    {"mainMenu/templateMenu/popupMenu/vBar/channel/thumb", "Framework.Button"},
    {"mainMenu/templateMenu/popupMenu/corner", "Framework.Panel"},
    {"viewDevice/devicePicture", "Framework.Label"},
    {"viewDevice/editAreaHint", "Framework.Label"},
    {"viewDevice/padEditPanel", "PresetEditor.MainPage.PadEditPanel"},
    {"viewDevice/knobEditPanel", "PresetEditor.MainPage.KnobEditPanel"},
    {"viewDevice/faderEditPanel", "PresetEditor.MainPage.FaderEditPanel"},
    {"viewDevice/volumePedalEditPanel", "PresetEditor.MainPage.VolumeEditPanel"},
    {"viewDevice/wheelEditPanel", "PresetEditor.TabControl.PageHolder.WheelsPage.Wheel"},
    {"viewDevice/xyPadEditPanel", "PresetEditor.MainPage.XYPadEditPanel"},
    {"viewDevice/sustainEditPage", "PresetEditor.MainPage.SustainEditPanel"},
    {"viewDevice/zoneEditPanel", "PresetEditor.MainPage.ZoneEditPanel"},
    {"viewDevice/buttonEditPanel", "PresetEditor.MainPage.ButtonEditPanel"},
    {"viewDevice/pads", "PresetEditor.MainControl.PadView"},
    {"viewDevice/encoders", "PresetEditor.MainControl.EncoderView"},
    {"viewDevice/faders", "PresetEditor.MainControl.FaderView"},
    {"viewDevice/wheels", "PresetEditor.MainControl.WheelView"},
    {"viewDevice/pedals", "PresetEditor.MainControl.Pedals"},
    {"viewDevice/keybedZones", "PresetEditor.MainControl.KeybedZones"},
    {"viewDevice/buttons", "PresetEditor.MainControl.ButtonView"},
    {"viewDevice/xyPad", "PresetEditor.MainControl.XYPadView"},
    {"viewDevice/presetNameEditPanel", "PresetEditor.MainControl.DeviceView.PresetNameEditPanel"},
    {"viewDevice/presetNameEditPanel/controlNameLabel", "Framework.Label"},
    {"viewDevice/presetNameEditPanel/textBox", "Framework.TextBox"},
    {"viewDevice/groupBankPanel", "PresetEditor.MainControl.DeviceView.GroupBanks"},
    {"viewDevice/groupBankPanel/bank{1-4}", "Framework.Button"},
    // Buttons: 4 banks of 9, each with its button, LED, number and read-out.
    {"viewDevice/buttons/buttonBank{1-4}", "PresetEditor.MainControl.ButtonView.ButtonBank"},
    {"viewDevice/buttons/buttonBank{1-4}/button{1-9}", "PresetEditor.MainControl.ButtonView.Button"},
    {"viewDevice/buttons/buttonBank{1-4}/button{1-9}/button", "Framework.Button"},
    {"viewDevice/buttons/buttonBank{1-4}/button{1-9}/color",
     "PresetEditor.MainControl.ButtonView.Button.ColorIndicator"},
    {"viewDevice/buttons/buttonBank{1-4}/button{1-9}/buttonNumberLabel", "Framework.Label"},
    {"viewDevice/buttons/buttonBank{1-4}/button{1-9}/viewPanel",
     "PresetEditor.MainControl.PushButtonType.ViewPanel"},
    {"viewDevice/buttons/buttonBank{1-4}/button{1-9}/viewPanel/infoLabel", "Framework.Label"},
    {"viewDevice/buttons/buttonBank{1-4}/button{1-9}/viewPanel/midiChannel",
     "PresetEditor.MainControl.MIDIChannelView"},
    {"viewDevice/buttons/buttonBank{1-4}/button{1-9}/viewPanel/midiChannel/label", "Framework.Label"},
    // Encoders: 4 banks of 8.
    {"viewDevice/encoders/encoderBank{1-4}", "PresetEditor.MainControl.EncoderView.EncoderBank"},
    {"viewDevice/encoders/encoderBank{1-4}/encoder{1-8}", "PresetEditor.MainControl.EncoderView.Encoder"},
    {"viewDevice/encoders/encoderBank{1-4}/encoder{1-8}/button", "Framework.Button"},
    {"viewDevice/encoders/encoderBank{1-4}/encoder{1-8}/encoderNameLabel", "Framework.Label"},
    {"viewDevice/encoders/encoderBank{1-4}/encoder{1-8}/viewPanel",
     "PresetEditor.MainControl.MoveableType.ViewPanel"},
    {"viewDevice/encoders/encoderBank{1-4}/encoder{1-8}/viewPanel/infoLabel", "Framework.Label"},
    {"viewDevice/encoders/encoderBank{1-4}/encoder{1-8}/viewPanel/midiChannel/label", "Framework.Label"},
    // Faders: 4 banks of 9.
    {"viewDevice/faders/faderBank{1-4}", "PresetEditor.MainControl.FaderView.FaderBank"},
    {"viewDevice/faders/faderBank{1-4}/fader{1-9}", "PresetEditor.MainControl.FaderView.Fader"},
    {"viewDevice/faders/faderBank{1-4}/fader{1-9}/button", "Framework.Button"},
    {"viewDevice/faders/faderBank{1-4}/fader{1-9}/faderNumberLabel", "Framework.Label"},
    {"viewDevice/faders/faderBank{1-4}/fader{1-9}/viewPanel/midiChannel",
     "PresetEditor.MainControl.MIDIChannelView"},
    {"viewDevice/faders/faderBank{1-4}/fader{1-9}/viewPanel/infoLabel", "Framework.Label"},
    // Pads, wheels, pedals, zones, axes.
    {"viewDevice/pads/pad{1-16}", "PresetEditor.MainControl.PadView.Pad"},
    {"viewDevice/pads/pad{1-16}/button", "Framework.Button"},
    {"viewDevice/pads/pad{1-16}/color", "PresetEditor.MainControl.PadView.Pad.ColorIndicator"},
    {"viewDevice/pads/pad{1-16}/padNumberLabel", "Framework.Label"},
    {"viewDevice/pads/pad{1-16}/viewPanel", "PresetEditor.MainControl.PushButtonType.ViewPanel"},
    {"viewDevice/pads/pad{1-16}/viewPanel/midiChannel/label", "Framework.Label"},
    {"viewDevice/wheels/pitchWheel", "PresetEditor.MainControl.WheelView.Wheel"},
    {"viewDevice/wheels/modWheel", "PresetEditor.MainControl.WheelView.Wheel"},
    {"viewDevice/wheels/modWheel/button", "Framework.Button"},
    {"viewDevice/wheels/pitchWheel/viewPanel", "PresetEditor.MainControl.MoveableType.ViewPanel"},
    {"viewDevice/pedals/sustainPedal", "PresetEditor.MainControl.Pedals.SustainPedal"},
    {"viewDevice/pedals/sustainPedal/button", "Framework.Button"},
    {"viewDevice/pedals/sustainPedal/viewPanel", "PresetEditor.MainControl.PushButtonType.ViewPanel"},
    {"viewDevice/pedals/volumePedal", "PresetEditor.MainControl.Pedals.VolumePedal"},
    {"viewDevice/pedals/volumePedal/viewPanel", "PresetEditor.MainControl.MoveableType.ViewPanel"},
    {"viewDevice/keybedZones/zone{1-4}", "PresetEditor.MainControl.KeybedZones.Zone"},
    {"viewDevice/keybedZones/zone{1-4}/button", "Framework.Button"},
    {"viewDevice/keybedZones/zone{1-4}/infoLabel", "Framework.Label"},
    {"viewDevice/keybedZones/zone{1-4}/zoneName", "Framework.Label"},
    {"viewDevice/keybedZones/zone{1-4}/midiChannel", "PresetEditor.MainControl.MIDIChannelView"},
    {"viewDevice/keybedZones/zone{1-4}/midiChannel/label", "Framework.Label"},
    {"viewDevice/xyPad/xAxis", "PresetEditor.MainControl.XYPadView.Axis"},
    {"viewDevice/xyPad/yAxis", "PresetEditor.MainControl.XYPadView.Axis"},
    {"viewDevice/xyPad/yAxis/button", "Framework.Button"},
    {"viewDevice/xyPad/xAxis/viewPanel", "PresetEditor.MainControl.MoveableType.ViewPanel"},
    // Edit panels' own parts.
    {"viewDevice/buttonEditPanel/buttonName", "Framework.Label"},
    {"viewDevice/buttonEditPanel/bankName", "Framework.Label"},
    {"viewDevice/buttonEditPanel/viewTabControl", "PresetEditor.MainPage.ButtonEditPanel.TabControl"},
    {"viewDevice/buttonEditPanel/viewTabControl/buttonHolder/midiPage", "Framework.Button"},
    {"viewDevice/buttonEditPanel/viewTabControl/pageHolder/colorPage",
     "PresetEditor.MainPage.ButtonEditPanel.ColorPage"},
    {"viewDevice/buttonEditPanel/viewTabControl/pageHolder/colorPage/color{1-4}",
     "PresetEditor.Control.LabeledButtonColorSelector"},
    {"viewDevice/buttonEditPanel/viewTabControl/pageHolder/colorPage/color{1-4}/comboBox",
     "Framework.ComboBox"},
    {"viewDevice/buttonEditPanel/viewTabControl/pageHolder/colorPage/color{1-4}/colorNameLabel",
     "Framework.Label"},
    {"viewDevice/buttonEditPanel/viewTabControl/pageHolder/colorPage/asciiColor/comboBox",
     "Framework.ComboBox"},
    {"viewDevice/buttonEditPanel/viewTabControl/pageHolder/asciiPage",
     "PresetEditor.MainPage.ButtonEditPanel.AsciiPage"},
    {"viewDevice/buttonEditPanel/viewTabControl/pageHolder/asciiPage/key",
     "PresetEditor.Control.LabeledKeySelector"},
    {"viewDevice/buttonEditPanel/viewTabControl/pageHolder/asciiPage/key/comboBox", "Framework.ComboBox"},
    {"viewDevice/buttonEditPanel/viewTabControl/pageHolder/asciiPage/modifierKey",
     "PresetEditor.Control.LabeledModifierKeySelector"},
    {"viewDevice/buttonEditPanel/viewTabControl/pageHolder/asciiPage/modifierKey/comboBox",
     "Framework.ComboBox"},
    {"viewDevice/padEditPanel/padName", "Framework.Label"},
    {"viewDevice/padEditPanel/viewTabControl", "PresetEditor.MainPage.PadEditPanel.TabControl"},
    {"viewDevice/padEditPanel/viewTabControl/pageHolder/colorPage",
     "PresetEditor.MainPage.PadEditPanel.ColorPage"},
    {"viewDevice/padEditPanel/viewTabControl/pageHolder/colorPage/color{1-4}",
     "PresetEditor.Control.LabeledPadColorSelector"},
    {"viewDevice/padEditPanel/viewTabControl/pageHolder/colorPage/color{1-4}/comboBox", "Framework.ComboBox"},
    {"viewDevice/padEditPanel/viewTabControl/pageHolder/colorPage/color{1-4}/colorNameLabel",
     "Framework.Label"},
    {"viewDevice/sustainEditPage/sustainName", "Framework.Label"},
    {"viewDevice/sustainEditPage/midiLabel", "Framework.Label"},
    {"viewDevice/knobEditPanel/knobName", "Framework.Label"},
    {"viewDevice/knobEditPanel/bankName", "Framework.Label"},
    {"viewDevice/knobEditPanel/midiLabel", "Framework.Label"},
    {"viewDevice/faderEditPanel/faderName", "Framework.Label"},
    {"viewDevice/faderEditPanel/bankName", "Framework.Label"},
    {"viewDevice/wheelEditPanel/wheelName", "Framework.Label"},
    {"viewDevice/volumePedalEditPanel/controlNameLabel", "Framework.Label"},
    {"viewDevice/xyPadEditPanel/axisName", "Framework.Label"},
    {"viewDevice/xyPadEditPanel/viewTabControl", "PresetEditor.MainPage.XYPadEditPanel.TabControl"},
    {"viewDevice/xyPadEditPanel/viewTabControl/buttonHolder/noteModePage", "Framework.Button"},
    {"viewDevice/xyPadEditPanel/viewTabControl/pageHolder/noteModePage",
     "PresetEditor.MainControl.EditPanel.XYPadNotes"},
    {"viewDevice/xyPadEditPanel/viewTabControl/pageHolder/noteModePage/noteModeType/comboBox",
     "Framework.ComboBox"},
    {"viewDevice/xyPadEditPanel/viewTabControl/pageHolder/noteModePage/noteScaleType/comboBox",
     "Framework.ComboBox"},
    {"viewDevice/xyPadEditPanel/viewTabControl/pageHolder/noteModePage/note{1-8}",
     "PresetEditor.Control.LabeledNoteSelector"},
    {"viewDevice/xyPadEditPanel/viewTabControl/pageHolder/noteModePage/note{1-8}/controlNameLabel",
     "Framework.Label"},
    {"viewDevice/xyPadEditPanel/viewTabControl/pageHolder/noteModePage/note{1-8}/noteSelector/numericUpDown",
     "Framework.NumericUpDown"},
    {"viewDevice/zoneEditPanel/zoneName", "Framework.Label"},
    {"viewDevice/zoneEditPanel/zoneEnabledToggleButton", "Framework.Button"},
    {"viewDevice/zoneEditPanel/zoneOnOffLabel", "Framework.Label"},
    {"viewDevice/zoneEditPanel/midiLabel", "Framework.Label"},
    {"viewDevice/zoneEditPanel/midiChannel", "PresetEditor.Control.LabeledKeyZoneMidiChannelSelector"},
    {"viewDevice/zoneEditPanel/midiChannel/comboBox", "Framework.ComboBox"},
    {"viewDevice/zoneEditPanel/octave", "PresetEditor.Control.LabeledOctaveSelector"},
    {"viewDevice/zoneEditPanel/octave/numericUpDown", "Framework.NumericUpDown"},
    {"viewDevice/zoneEditPanel/transpose", "PresetEditor.Control.LabeledTransposeSelector"},
    {"viewDevice/zoneEditPanel/transpose/numericUpDown", "Framework.NumericUpDown"},
    {"viewDevice/zoneEditPanel/program", "PresetEditor.Control.LabeledProgramSelector"},
    {"viewDevice/zoneEditPanel/program/numericUpDown", "Framework.NumericUpDown"},
    {"viewDevice/zoneEditPanel/msbLSBSelectors/msb", "PresetEditor.Control.LabeledMSBSelector"},
    {"viewDevice/zoneEditPanel/msbLSBSelectors/lsb/numericUpDown", "Framework.NumericUpDown"},
    {"viewDevice/zoneEditPanel/startEndNoteSelector", "PresetEditor.Control.KeyZoneStartEndNoteSelector"},
    {"viewDevice/zoneEditPanel/startEndNoteSelector/startNote",
     "PresetEditor.Control.LabeledKeyZoneNoteSelector"},
    {"viewDevice/zoneEditPanel/startEndNoteSelector/startNote/controlNameLabel", "Framework.Label"},
    {"viewDevice/zoneEditPanel/startEndNoteSelector/startNote/noteSelector",
     "PresetEditor.Control.ZoneNoteSelector"},
    {"viewDevice/zoneEditPanel/startEndNoteSelector/startNote/noteSelector/noteNameLabel", "Framework.Label"},
    {"viewDevice/zoneEditPanel/startEndNoteSelector/startNote/noteSelector/octaveNameLabel",
     "Framework.Label"},
    {"viewDevice/zoneEditPanel/startEndNoteSelector/endNote/noteSelector/numericUpDown",
     "Framework.NumericUpDown"},
};

// The button-mode editor, below each of its three places.
const char* const kButtonModeEditors[] = {
    "viewDevice/buttonEditPanel/viewTabControl/pageHolder/midiPage",
    "viewDevice/padEditPanel/viewTabControl/pageHolder/midiPage",
    "viewDevice/sustainEditPage/buttonTypePanel",
};

const Lookup kButtonModeLookups[] = {
    {"", "PresetEditor.MainControl.EditPanel.ButtonTypePanel"},
    {"tabControl", "PresetEditor.Control.ButtonModesControl.TabControl"},
    {"tabControl/buttonHolder", "PresetEditor.Control.ButtonModesControl.TabControl.ButtonHolder"},
    {"tabControl/pageHolder", "PresetEditor.Control.ButtonModesControl.TabControl.PageHolder"},
    {"tabControl/buttonHolder/otherPage", "Framework.Button"},
    {"tabControl/pageHolder/notePage", "PresetEditor.Control.PadModes.TabControl.PageHolder.NotePage"},
    {"tabControl/pageHolder/notePage/midiChannel", "PresetEditor.Control.LabeledMidiChannelSelector"},
    {"tabControl/pageHolder/notePage/midiChannel/comboBox", "Framework.ComboBox"},
    {"tabControl/pageHolder/notePage/midiChannel/controlNameLabel", "Framework.Label"},
    {"tabControl/pageHolder/notePage/note/noteSelector", "PresetEditor.Control.NoteSelector"},
    {"tabControl/pageHolder/notePage/note/noteSelector/numericUpDown", "Framework.NumericUpDown"},
    {"tabControl/pageHolder/notePage/latching/button", "Framework.Button"},
    {"tabControl/pageHolder/notePage/onOffSelectors/on/numericUpDown", "Framework.NumericUpDown"},
    {"tabControl/pageHolder/notePage/onOffSelectors/off/numericUpDown", "Framework.NumericUpDown"},
    {"tabControl/pageHolder/ccAbsolutePage",
     "PresetEditor.Control.ButtonModesControl.TabControl.PageHolder.CCAbsolutePage"},
    {"tabControl/pageHolder/ccAbsolutePage/cc/ccSelector", "PresetEditor.Control.CCSelector"},
    {"tabControl/pageHolder/ccAbsolutePage/cc/ccSelector/numericUpDown", "Framework.NumericUpDown"},
    {"tabControl/pageHolder/ccAbsolutePage/cc/ccSelector/label", "Framework.Label"},
    {"tabControl/pageHolder/ccAbsolutePage/pressedReleasedSelectors/pressed/numericUpDown",
     "Framework.NumericUpDown"},
    {"tabControl/pageHolder/ccAbsolutePage/pressedReleasedSelectors/released/numericUpDown",
     "Framework.NumericUpDown"},
    {"tabControl/pageHolder/ccIncDecPage",
     "PresetEditor.Control.PadModes.TabControl.PageHolder.CCIncDecPage"},
    {"tabControl/pageHolder/ccIncDecPage/incDec/comboBox", "Framework.ComboBox"},
    {"tabControl/pageHolder/ccIncDecPage/cc/ccSelector/numericUpDown", "Framework.NumericUpDown"},
    {"tabControl/pageHolder/ccIncDecPage/minMaxSelectors/min/numericUpDown", "Framework.NumericUpDown"},
    {"tabControl/pageHolder/ccIncDecPage/minMaxSelectors/max/numericUpDown", "Framework.NumericUpDown"},
    {"tabControl/pageHolder/ccCyclePage", "PresetEditor.Control.PadModes.TabControl.PageHolder.CCCyclePage"},
    {"tabControl/pageHolder/ccCyclePage/cc/ccSelector/numericUpDown", "Framework.NumericUpDown"},
    {"tabControl/pageHolder/ccCyclePage/ccValue{1-4}", "PresetEditor.Control.LabeledCCValueSelector"},
    {"tabControl/pageHolder/ccCyclePage/ccValue{1-4}/numericUpDown", "Framework.NumericUpDown"},
    {"tabControl/pageHolder/ccCyclePage/ccValue{1-4}/controlNameLabel", "Framework.Label"},
    {"tabControl/pageHolder/ccCyclePage/cycleType", "PresetEditor.Control.LabeledCycleTypeSelector"},
    {"tabControl/pageHolder/ccCyclePage/cycleType/comboBox", "Framework.ComboBox"},
    {"tabControl/pageHolder/programPage", "PresetEditor.Control.PadModes.TabControl.PageHolder.ProgramPage"},
    {"tabControl/pageHolder/programPage/program/numericUpDown", "Framework.NumericUpDown"},
    {"tabControl/pageHolder/programPage/msbLSBSelectors/lsb/numericUpDown", "Framework.NumericUpDown"},
    {"tabControl/pageHolder/programPage/msbLSBSelectors/msb/numericUpDown", "Framework.NumericUpDown"},
    {"tabControl/pageHolder/programIncDecPage",
     "PresetEditor.Control.PadModes.TabControl.PageHolder.ProgramIncDecPage"},
    {"tabControl/pageHolder/programIncDecPage/minMaxSelectors/min/numericUpDown", "Framework.NumericUpDown"},
    {"tabControl/pageHolder/programIncDecPage/minMaxSelectors/max/numericUpDown", "Framework.NumericUpDown"},
    {"tabControl/pageHolder/programIncDecPage/incDecType/comboBox", "Framework.ComboBox"},
    {"tabControl/pageHolder/programCyclePage",
     "PresetEditor.Control.PadModes.TabControl.PageHolder.ProgramCyclePage"},
    {"tabControl/pageHolder/programCyclePage/program{1-4}/numericUpDown", "Framework.NumericUpDown"},
    {"tabControl/pageHolder/programCyclePage/program{1-4}/controlNameLabel", "Framework.Label"},
    {"tabControl/pageHolder/programCyclePage/cycleType/comboBox", "Framework.ComboBox"},
    {"tabControl/pageHolder/mmcPage", "PresetEditor.Control.PadModes.TabControl.PageHolder.MMCPage"},
    {"tabControl/pageHolder/mmcPage/mmc", "PresetEditor.Control.LabeledMMCSelector"},
    {"tabControl/pageHolder/mmcPage/mmc/comboBox", "Framework.ComboBox"},
    {"tabControl/pageHolder/nrpnRpnPage",
     "PresetEditor.Control.ButtonModesControl.TabControl.PageHolder.NrpnRpnPage"},
    {"tabControl/pageHolder/nrpnRpnPage/NrpnRpn/comboBox", "Framework.ComboBox"},
    {"tabControl/pageHolder/nrpnRpnPage/msbLSBSelectors/lsb/numericUpDown", "Framework.NumericUpDown"},
    {"tabControl/pageHolder/nrpnRpnPage/msbLSBSelectors/msb/numericUpDown", "Framework.NumericUpDown"},
    {"tabControl/pageHolder/nrpnRpnPage/value/numericUpDown", "Framework.NumericUpDown"},
    {"tabControl/pageHolder/otherPage",
     "PresetEditor.Control.ButtonModesControl.TabControl.PageHolder.OtherPage"},
    {"tabControl/pageHolder/otherPage/type/comboBox", "Framework.ComboBox"},
    {"tabControl/pageHolder/otherPage/value/numericUpDown", "Framework.NumericUpDown"},
};

// The movement editor, below each of its five places.
const char* const kMovementEditors[] = {
    "viewDevice/knobEditPanel/moveableTypePanel",
    "viewDevice/faderEditPanel/moveableTypePanel",
    "viewDevice/volumePedalEditPanel/moveableTypePanel",
    "viewDevice/wheelEditPanel/moveableTypePanel",
    "viewDevice/xyPadEditPanel/viewTabControl/pageHolder/midiPage",
};

const Lookup kMovementLookups[] = {
    {"", "PresetEditor.MainControl.EditPanel.MoveableTypePanel"},
    {"tabControl", "PresetEditor.Control.MovementTypes.TabControl"},
    {"tabControl/buttonHolder", "PresetEditor.Control.MovementTypes.TabControl.ButtonHolder"},
    {"tabControl/buttonHolder/ccRelativePage", "Framework.Button"},
    {"tabControl/pageHolder", "PresetEditor.Control.MovementTypes.TabControl.PageHolder"},
    {"tabControl/pageHolder/ccAbsolutePage",
     "PresetEditor.Control.MovementTypes.TabControl.PageHolder.CCAbsolutePage"},
    {"tabControl/pageHolder/ccAbsolutePage/cc", "PresetEditor.Control.LabeledCCSelector"},
    {"tabControl/pageHolder/ccAbsolutePage/cc/ccSelector/numericUpDown", "Framework.NumericUpDown"},
    {"tabControl/pageHolder/ccAbsolutePage/minMaxSelectors", "PresetEditor.Control.MinMaxSelectors"},
    {"tabControl/pageHolder/ccAbsolutePage/minMaxSelectors/min/numericUpDown", "Framework.NumericUpDown"},
    {"tabControl/pageHolder/ccAbsolutePage/minMaxSelectors/max/numericUpDown", "Framework.NumericUpDown"},
    {"tabControl/pageHolder/ccAbsolutePage/midiChannel", "PresetEditor.Control.LabeledMidiChannelSelector"},
    {"tabControl/pageHolder/ccAbsolutePage/midiChannel/comboBox", "Framework.ComboBox"},
    {"tabControl/pageHolder/ccRelativePage",
     "PresetEditor.Control.MovementTypes.TabControl.PageHolder.CCRelativePage"},
    {"tabControl/pageHolder/ccRelativePage/cc/ccSelector/numericUpDown", "Framework.NumericUpDown"},
    {"tabControl/pageHolder/ccRelativePage/midiChannel/comboBox", "Framework.ComboBox"},
    {"tabControl/pageHolder/ccRelativePage/relativeType", "PresetEditor.Control.LabeledRelativeTypeSelector"},
    {"tabControl/pageHolder/ccRelativePage/relativeType/comboBox", "Framework.ComboBox"},
    {"tabControl/pageHolder/nrpnRpnPage",
     "PresetEditor.Control.MovementTypes.TabControl.PageHolder.NrpnRpnPage"},
    {"tabControl/pageHolder/nrpnRpnPage/midiChannel/comboBox", "Framework.ComboBox"},
    {"tabControl/pageHolder/nrpnRpnPage/NrpnRpnSelector", "PresetEditor.Control.LabeledNrpnRpnSelector"},
    {"tabControl/pageHolder/nrpnRpnPage/NrpnRpnSelector/comboBox", "Framework.ComboBox"},
    {"tabControl/pageHolder/nrpnRpnPage/msbLSBSelectors", "PresetEditor.Control.MSBLSBSelectors"},
    {"tabControl/pageHolder/nrpnRpnPage/msbLSBSelectors/lsb/numericUpDown", "Framework.NumericUpDown"},
    {"tabControl/pageHolder/nrpnRpnPage/msbLSBSelectors/msb/numericUpDown", "Framework.NumericUpDown"},
    {"tabControl/pageHolder/otherPage", "PresetEditor.Control.MovementTypes.TabControl.PageHolder.OtherPage"},
    {"tabControl/pageHolder/otherPage/otherType", "PresetEditor.Control.LabeledOtherSelector"},
    {"tabControl/pageHolder/otherPage/otherType/comboBox", "Framework.ComboBox"},
    {"tabControl/pageHolder/otherPage/minMaxSelectors/min/numericUpDown", "Framework.NumericUpDown"},
    {"tabControl/pageHolder/otherPage/midiChannel/comboBox", "Framework.ComboBox"},
};

// The standard controls' own parts: a numeric up/down's, then a combo box's.
const char* const kNumericUpDown = "viewDevice/zoneEditPanel/octave/numericUpDown";
const char* const kComboBox = "viewDevice/zoneEditPanel/midiChannel/comboBox";
const std::size_t kNumericParts = 4;

const Lookup kStandardPartLookups[] = {
    {"textBox", "Framework.TextBox"},
    {"buttonUp", "Framework.Button"},
    {"buttonDown", "Framework.Button"},
    {"slider1", "Framework.Slider"},
    {"listBox", "Framework.ListBox"},
    {"listBox/templateItem", "Framework.ListBoxItem"},
    {"listBox/vBar", "Framework.ScrollBar"},
    {"listBox/vBar/channel", "Framework.ScrollChannel"},
    {"listBox/vBar/channel/thumb", "Framework.Button"},
};

// The dialogs, the tool tip and the context menu: top-level controls made by name.
const Lookup kTopLevelLookups[] = {
    {"dialogSendPreset", "PresetEditor.Dialog.SendPresetToHardware"},
    {"dialogSendPreset/send", "Framework.Button"},
    {"dialogSendPreset/header", "Framework.Label"},
    {"dialogSendPreset/presetSlot", "PresetEditor.Control.PresetSlotCombobox"},
    {"dialogSendPreset/presetSlot/comboBox", "Framework.ComboBox"},
    {"dialogRetrievePresetFromHardware", "PresetEditor.Dialog.RetrievePresetFromHardware"},
    {"dialogRetrievePresetFromHardware/getButton", "Framework.Button"},
    {"dialogRetrievePresetFromHardware/presetSlot", "PresetEditor.Control.PresetSlotCombobox"},
    {"dialogRetrievePresetFromHardware/presetSlot/comboBox", "Framework.ComboBox"},
    {"globalEditorControl", "PresetEditor.GlobalEditorControl"},
    {"globalEditorControl/getGlobalSettingsButton", "Framework.Button"},
    {"globalEditorControl/sendGlobalSettingsButton", "Framework.Button"},
    {"globalEditorControl/controlCurve", "PresetEditor.Control.Global.LabeledControlCurve"},
    {"globalEditorControl/controlCurve/comboBox", "Framework.ComboBox"},
    {"globalEditorControl/keyOctave", "PresetEditor.Control.Global.LabeledKeyOctave"},
    {"globalEditorControl/keyOctave/numericUpDown", "Framework.NumericUpDown"},
    {"globalEditorControl/keyTranspose/numericUpDown", "Framework.NumericUpDown"},
    {"globalEditorControl/keySensitivity/comboBox", "Framework.ComboBox"},
    {"globalEditorControl/padOctave/numericUpDown", "Framework.NumericUpDown"},
    {"globalEditorControl/padTranspose/numericUpDown", "Framework.NumericUpDown"},
    {"globalEditorControl/padSensitivity/comboBox", "Framework.ComboBox"},
    {"globalEditorControl/mackieHUIToggle/comboBox", "Framework.ComboBox"},
    {"globalEditorControl/xyPadSensitivity/comboBox", "Framework.ComboBox"},
    {"globalEditorControl/program", "PresetEditor.Control.LabeledProgramSelector"},
    {"globalEditorControl/program/numericUpDown", "Framework.NumericUpDown"},
    {"globalEditorControl/msb", "PresetEditor.Control.LabeledMSBSelector"},
    {"globalEditorControl/msb/numericUpDown", "Framework.NumericUpDown"},
    {"globalEditorControl/lsb", "PresetEditor.Control.LabeledLSBSelector"},
    {"globalEditorControl/lsb/numericUpDown", "Framework.NumericUpDown"},
    {"globalEditorControl/midiChannel/comboBox", "Framework.ComboBox"},
    {"globalEditorControl/midiChannel/label", "Framework.Label"},
    {"dialogAbout", "PresetEditor.DialogAbout"},
    {"dialogAbout/labelProduct", "Framework.Label"},
    {"dialogAbout/labelCopyright", "Framework.Label"},
    {"dialogAbout/buttonOK", "Framework.Button"},
    {"toolTip", "Framework.ToolTip"},
    {"contextMenu", "Framework.PopupMenu"},
    {"contextMenu/templateItem", "Framework.MenuItem"},
    {"contextMenu/templateItem/hotKeyLabel", "Framework.Label"},
    {"contextMenu/templateItem/checkBox", "Framework.Button"},
};

std::string Join(const std::string& a, const std::string& b)
{
    return b.empty() ? a : a.empty() ? b : a + "/" + b;
}

// Every expansion of the row below `base`, with the class it must have.
void ExpectLookups(const EditorSkin& skin, const std::string& base, const Lookup* rows, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
    {
        for (const std::string& path : Expand(Join(base, rows[i].path)))
        {
            const LControlDescriptor* descriptor = skin.Find(path);
            if (!descriptor)
            {
                ADD_FAILURE() << "missing: " << path;
                continue;
            }
            EXPECT_EQ(Utf8(descriptor->GetClass()), rows[i].cls) << path;
        }
    }
}

class SkinLookups : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(skin.loaded, kOk) << Utf8(skin.factory->GetReader().GetParseErrorText());
    }
    EditorSkin skin;
};

TEST_F(SkinLookups, EveryControlTheProgramFindsByNameIsThereWithItsClass)
{
    ExpectLookups(skin, "mainControl", kMainLookups, std::size(kMainLookups));
    for (const char* editor : kButtonModeEditors)
    {
        ExpectLookups(skin, kMain + std::string(editor), kButtonModeLookups, std::size(kButtonModeLookups));
    }
    for (const char* editor : kMovementEditors)
    {
        ExpectLookups(skin, kMain + std::string(editor), kMovementLookups, std::size(kMovementLookups));
    }
    ExpectLookups(skin, kMain + std::string(kNumericUpDown), kStandardPartLookups, kNumericParts);
    ExpectLookups(skin, kMain + std::string(kComboBox), kStandardPartLookups + kNumericParts,
                  std::size(kStandardPartLookups) - kNumericParts);
    for (const Lookup& row : kTopLevelLookups)
    {
        ExpectLookups(skin, "", &row, 1);
    }
}

// Walks every descriptor below `descriptor`.
template <typename F>
void Walk(const LControlDescriptor& descriptor, const std::string& path, F&& visit)
{
    visit(descriptor, path);
    const auto& children = descriptor.GetChildren();
    for (std::uint32_t i = 0; i < children.GetCount(); ++i)
    {
        Walk(*children[i], path + "/" + Utf8(children[i]->GetName()), visit);
    }
}

TEST_F(SkinLookups, EverySkinClassIsARegisteredName)
{
    std::set<std::string> registered;
    for (const char16_t* name : kFrameworkClasses)
    {
        registered.insert(Utf8(String(name)));
    }
    for (const char16_t* name : kApplicationClasses)
    {
        registered.insert(Utf8(String(name)));
    }
    ASSERT_EQ(registered.size(), 35u + 176u);
    for (const char* top : kTopLevel)
    {
        const LControlDescriptor* root = skin.Find(top);
        ASSERT_TRUE(root) << top;
        Walk(*root, top,
             [&](const LControlDescriptor& d, const std::string& path)
             { EXPECT_TRUE(registered.count(Utf8(d.GetClass()))) << path << ": " << Utf8(d.GetClass()); });
    }
}

} // namespace
} // namespace KR::SkinTest
