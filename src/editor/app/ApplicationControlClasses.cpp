#include "editor/app/ApplicationControlClasses.h"

#include "editor/app/AboutDlg.h"
#include "editor/app/DeviceView.h"
#include "editor/app/GetPresetFromMidiDeviceDlg.h"
#include "editor/app/GlobalSettingsDlg.h"
#include "editor/app/MainControl.h"
#include "editor/app/MidiNoteSelector.h"
#include "editor/app/NumberBoxTextSelector.h"
#include "editor/app/SendPresetToMidiDeviceDlg.h"
#include "editor/edit/ButtonControlEditPanel.h"
#include "editor/edit/ButtonEditPanel.h"
#include "editor/edit/EncoderEditPanel.h"
#include "editor/edit/FaderEditPanel.h"
#include "editor/edit/KeybedZoneEditPanel.h"
#include "editor/edit/MoveableControlEditPanel.h"
#include "editor/edit/NoteModeEditPanel.h"
#include "editor/edit/PadEditPanel.h"
#include "editor/edit/PresetNamePanel.h"
#include "editor/edit/SustainEditPanel.h"
#include "editor/edit/VolumePedalEditPanel.h"
#include "editor/edit/WheelEditPanel.h"
#include "editor/edit/XYPadEditPanel.h"
#include "editor/picture/ButtonControlViewPanel.h"
#include "editor/picture/ButtonGroupPanel.h"
#include "editor/picture/ButtonPanel.h"
#include "editor/picture/EncoderGroupPanel.h"
#include "editor/picture/EncoderPanel.h"
#include "editor/picture/FaderGroupPanel.h"
#include "editor/picture/FaderPanel.h"
#include "editor/picture/KeybedZoneGroupPanel.h"
#include "editor/picture/KeybedZonePanel.h"
#include "editor/picture/MIDIChannelViewPanel.h"
#include "editor/picture/MoveableControlViewPanel.h"
#include "editor/picture/PadGroupPanel.h"
#include "editor/picture/PadPanel.h"
#include "editor/picture/PedalGroupPanel.h"
#include "editor/picture/SustainPedalPanel.h"
#include "editor/picture/VolumePedalPanel.h"
#include "editor/picture/WheelGroupPanel.h"
#include "editor/picture/WheelPanel.h"
#include "editor/picture/XYPadDirectionGroupPanel.h"
#include "editor/picture/XYPadDirectionPanel.h"

#include "kr/ui/ControlFactory.h"
#include "kr/ui/Panel.h"
#include "kr/ui/TabControl.h"

namespace
{

using KR::LControl;

constexpr auto kPanel = &LControl::CreateFromSkin<KR::LPanel>;
constexpr auto kTabControl = &KR::LTabControl::Create;

// clang-format off
constexpr ApplicationControlClassRow kRows[] = {
    // Classes of their own. Until each is built, it stands as a plain panel; the comment
    // names the class the row will create.
    {u"PresetEditor.GlobalEditorControl", &LControl::CreateFromSkin<LGlobalSettingsDlg>},
    {u"PresetEditor.MainControl", &LControl::CreateFromSkin<KR::LMainControl>},
    {u"PresetEditor.MainControl.MIDIChannelView", &LControl::CreateFromSkin<LMIDIChannelViewPanel>},
    {u"PresetEditor.MainControl.DeviceView", &LControl::CreateFromSkin<LDeviceView>},
    {u"PresetEditor.MainControl.DeviceView.PresetNameEditPanel", &LControl::CreateFromSkin<LPresetNamePanel>},
    {u"PresetEditor.MainControl.EditPanel.XYPadNotes", &LControl::CreateFromSkin<LNoteModeEditPanel>},
    {u"PresetEditor.MainControl.PushButtonType.ViewPanel", &LControl::CreateFromSkin<LButtonControlViewPanel>},
    {u"PresetEditor.Dialog.SendPresetToHardware", &LControl::CreateFromSkin<LSendPresetToMidiDeviceDlg>},
    {u"PresetEditor.Dialog.RetrievePresetFromHardware", &LControl::CreateFromSkin<LGetPresetFromMidiDeviceDlg>},
    {u"PresetEditor.MainControl.EditPanel.MoveableTypePanel", &LControl::CreateFromSkin<LMoveableControlEditPanel>},
    {u"PresetEditor.MainControl.EditPanel.ButtonTypePanel", &LControl::CreateFromSkin<LButtonControlEditPanel>},
    {u"PresetEditor.MainControl.FaderView", &LControl::CreateFromSkin<LFaderGroupPanel>},
    {u"PresetEditor.MainControl.FaderView.Fader", &LControl::CreateFromSkin<LFaderPanel>},
    {u"PresetEditor.MainControl.EncoderView", &LControl::CreateFromSkin<LEncoderGroupPanel>},
    {u"PresetEditor.MainControl.EncoderView.Encoder", &LControl::CreateFromSkin<LEncoderPanel>},
    {u"PresetEditor.MainControl.ButtonView", &LControl::CreateFromSkin<LButtonGroupPanel>},
    {u"PresetEditor.MainControl.ButtonView.Button", &LControl::CreateFromSkin<LButtonPanel>},
    {u"PresetEditor.MainControl.Pedals", &LControl::CreateFromSkin<LPedalGroupPanel>},
    {u"PresetEditor.MainControl.Pedals.SustainPedal", &LControl::CreateFromSkin<LSustainPedalPanel>},
    {u"PresetEditor.MainControl.Pedals.VolumePedal", &LControl::CreateFromSkin<LVolumePedalPanel>},
    {u"PresetEditor.MainControl.KeybedZones", &LControl::CreateFromSkin<LKeybedZoneGroupPanel>},
    {u"PresetEditor.MainControl.KeybedZones.Zone", &LControl::CreateFromSkin<LKeybedZonePanel>},
    {u"PresetEditor.MainControl.WheelView", &LControl::CreateFromSkin<LWheelGroupPanel>},
    {u"PresetEditor.MainControl.WheelView.Wheel", &LControl::CreateFromSkin<LWheelPanel>},
    {u"PresetEditor.MainControl.PadView", &LControl::CreateFromSkin<LPadGroupPanel>},
    {u"PresetEditor.MainControl.PadView.Pad", &LControl::CreateFromSkin<LPadPanel>},
    {u"PresetEditor.Control.ZoneNoteSelector", &LControl::CreateFromSkin<LMidiNoteSelector>},
    {u"PresetEditor.Control.NoteSelector", &LControl::CreateFromSkin<LMidiNoteSelector>},
    {u"PresetEditor.Control.CCSelector", &LControl::CreateFromSkin<LNumberBoxTextSelector>},
    {u"PresetEditor.MainPage.ButtonEditPanel", &LControl::CreateFromSkin<LButtonEditPanel>},
    {u"PresetEditor.MainPage.VolumeEditPanel", &LControl::CreateFromSkin<LVolumePedalEditPanel>},
    {u"PresetEditor.MainPage.SustainEditPanel", &LControl::CreateFromSkin<LSustainPedalEditPanel>},
    {u"PresetEditor.TabControl.PageHolder.WheelsPage.Wheel", &LControl::CreateFromSkin<LWheelEditPanel>},
    {u"PresetEditor.MainPage.FaderEditPanel", &LControl::CreateFromSkin<LFaderEditPanel>},
    {u"PresetEditor.MainPage.ZoneEditPanel", &LControl::CreateFromSkin<LKeybedZoneEditPanel>},
    {u"PresetEditor.MainPage.KnobEditPanel", &LControl::CreateFromSkin<LEncoderEditPanel>},
    {u"PresetEditor.MainPage.XYPadEditPanel", &LControl::CreateFromSkin<LXYPadEditPanel>},
    {u"PresetEditor.MainControl.XYPadView.Axis", &LControl::CreateFromSkin<LXYPadDirectionPanel>},
    {u"PresetEditor.MainControl.XYPadView", &LControl::CreateFromSkin<LXYPadDirectionGroupPanel>},
    {u"PresetEditor.MainPage.PadEditPanel", &LControl::CreateFromSkin<LPadEditPanel>},
    {u"PresetEditor.MainControl.MoveableType.ViewPanel", &LControl::CreateFromSkin<LMoveableControlViewPanel>},
    {LAboutDlg::kClassName, &LControl::CreateFromSkin<LAboutDlg>},
    // Plain panels: their children and looks come from the skin.
    {u"PresetEditor.Control.Global.LabeledXYPadFriction", kPanel},
    {u"PresetEditor.Control.Global.LabeledGlobalXYPadRebound", kPanel},
    {u"PresetEditor.Control.Global.LabeledxyPadSensitivity", kPanel},
    {u"PresetEditor.Control.Global.LabeledMackieHUIToggle", kPanel},
    {u"PresetEditor.Control.Global.LabeledKeyOctave", kPanel},
    {u"PresetEditor.Control.Global.LabeledKeyTranspose", kPanel},
    {u"PresetEditor.Control.Global.LabeledKeySensitivity", kPanel},
    {u"PresetEditor.Control.Global.LabeledPadOctave", kPanel},
    {u"PresetEditor.Control.Global.LabeledPadTranspose", kPanel},
    {u"PresetEditor.Control.Global.LabeledPadSensitivity", kPanel},
    {u"PresetEditor.Control.Global.LabeledControlCurve", kPanel},
    {u"PresetEditor.Control.Global.LabeledGlobalXYPadVelocity", kPanel},
    {u"PresetEditor.Control.Global.LabeledGlobalChannel", kPanel},
    {u"PresetEditor.MainControl.DeviceView.PresetView", kPanel},
    {u"PresetEditor.MainControl.DeviceView.GroupBanks", kPanel},
    {u"PresetEditor.MainControl.FaderView.FaderBank", kPanel},
    {u"PresetEditor.MainControl.EncoderView.EncoderBank", kPanel},
    {u"PresetEditor.MainControl.ButtonView.ButtonBank", kPanel},
    {u"PresetEditor.MainControl.PadView.Pad.ColorIndicator", kPanel},
    {u"PresetEditor.MainControl.ButtonView.Button.ColorIndicator", kPanel},
    {u"PresetEditor.MainPage.ButtonEditPanel.MidiPage", kPanel},
    {u"PresetEditor.MainPage.ButtonEditPanel.TabControl.ButtonHolder", kPanel},
    {u"PresetEditor.MainPage.ButtonEditPanel.TabControl.PageHolder", kPanel},
    {u"PresetEditor.MainPage.ButtonEditPanel.AsciiPage", kPanel},
    {u"PresetEditor.MainPage.ButtonEditPanel.ColorPage", kPanel},
    {u"PresetEditor.MainPage.PadEditPanel.TabControl.ButtonHolder", kPanel},
    {u"PresetEditor.MainPage.PadEditPanel.TabControl.PageHolder", kPanel},
    {u"PresetEditor.MainPage.PadEditPanel.ColorPage", kPanel},
    {u"PresetEditor.MainPage.XYPadEditPanel.TabControl.ButtonHolder", kPanel},
    {u"PresetEditor.MainPage.XYPadEditPanel.TabControl.PageHolder", kPanel},
    {u"PresetEditor.Control.SustainModes.TabControl.PageHolder.NotePage", kPanel},
    {u"PresetEditor.Control.SustainModes.TabControl.PageHolder.ProgramPage", kPanel},
    {u"PresetEditor.Control.SustainModes.TabControl.PageHolder.CCAbsolutePage", kPanel},
    {u"PresetEditor.Control.SustainModes.TabControl.PageHolder.CCIncDecPage", kPanel},
    {u"PresetEditor.Control.SustainModes.TabControl.PageHolder.MMCPage", kPanel},
    {u"PresetEditor.Control.SustainModes.TabControl.PageHolder.ProgramIncDecPage", kPanel},
    {u"PresetEditor.Control.LabeledColorSelector", kPanel},
    {u"PresetEditor.Control.LabeledKeySelector", kPanel},
    {u"PresetEditor.Control.LabeledModifierSelector", kPanel},
    {u"PresetEditor.Control.LabeledButtonTypeSelector", kPanel},
    {u"PresetEditor.Control.LabeledCCSelector", kPanel},
    {u"PresetEditor.Control.LabeledCCValueSelector", kPanel},
    {u"PresetEditor.Control.LabeledMMCSelector", kPanel},
    {u"PresetEditor.Control.LabeledNoteSelector", kPanel},
    {u"PresetEditor.Control.LabeledProgramSelector", kPanel},
    {u"PresetEditor.Control.LabeledOtherSelector", kPanel},
    {u"PresetEditor.Control.LabeledCycleTypeSelector", kPanel},
    {u"PresetEditor.Control.LabeledINCDecTypeSelector", kPanel},
    {u"PresetEditor.Control.LabeledLatchingSelector", kPanel},
    {u"PresetEditor.Control.LabeledButtonColorSelector", kPanel},
    {u"PresetEditor.Control.LabeledPadColorSelector", kPanel},
    {u"PresetEditor.Control.LabeledRelativeTypeSelector", kPanel},
    {u"PresetEditor.Control.PressedReleasedSelectors", kPanel},
    {u"PresetEditor.Control.LabeledPressedSelector", kPanel},
    {u"PresetEditor.Control.LabeledReleasedSelector", kPanel},
    {u"PresetEditor.Control.LabeledModifierKeySelector", kPanel},
    {u"PresetEditor.Control.LabeledKeyZoneNoteSelector", kPanel},
    {u"PresetEditor.Control.KeyZoneStartEndNoteSelector", kPanel},
    {u"PresetEditor.Control.LabeledPressedReleasedSelector", kPanel},
    {u"PresetEditor.Control.LabeledMidiChannelSelector", kPanel},
    {u"PresetEditor.Control.LabeledKeyZoneMidiChannelSelector", kPanel},
    {u"PresetEditor.Control.MinMaxSelectors", kPanel},
    {u"PresetEditor.Control.MinSelector", kPanel},
    {u"PresetEditor.Control.MaxSelector", kPanel},
    {u"PresetEditor.Control.LabeledMinSelector", kPanel},
    {u"PresetEditor.Control.LabeledMaxSelector", kPanel},
    {u"PresetEditor.Control.StartEndNoteSelector", kPanel},
    {u"PresetEditor.Control.LabeledOctaveSelector", kPanel},
    {u"PresetEditor.Control.LabeledTransposeSelector", kPanel},
    {u"PresetEditor.Control.MSBLSBSelectors", kPanel},
    {u"PresetEditor.Control.LabeledMSBSelector", kPanel},
    {u"PresetEditor.Control.LabeledLSBSelector", kPanel},
    {u"PresetEditor.Control.OnOffSelectors", kPanel},
    {u"PresetEditor.Control.LabeledOnSelector", kPanel},
    {u"PresetEditor.Control.LabeledOffSelector", kPanel},
    {u"PresetEditor.Control.LabeledFaderTypeSelector", kPanel},
    {u"PresetEditor.Control.LabeledSustainTypeSelector", kPanel},
    {u"PresetEditor.Control.LabeledXYPadTypeSelector", kPanel},
    {u"PresetEditor.Control.PresetSlotCombobox", kPanel},
    {u"PresetEditor.Control.LabeledNoteModeTypeSelector", kPanel},
    {u"PresetEditor.Control.LabeledNoteScaleSelector", kPanel},
    {u"PresetEditor.Control.LabeledNrpnRpnSelector", kPanel},
    {u"PresetEditor.Control.ButtonModesControl.TabControl.ButtonHolder", kPanel},
    {u"PresetEditor.Control.ButtonModesControl.TabControl.PageHolder", kPanel},
    {u"PresetEditor.Control.ButtonModesControl.TabControl.PageHolder.OtherPage", kPanel},
    {u"PresetEditor.Control.ButtonModesControl.TabControl.PageHolder.CCAbsolutePage", kPanel},
    {u"PresetEditor.Control.ButtonModesControl.TabControl.PageHolder.NrpnRpnPage", kPanel},
    {u"PresetEditor.Control.MovementTypes.TabControl.PageHolder", kPanel},
    {u"PresetEditor.Control.MovementTypes.TabControl.PageHolder.CCAbsolutePage", kPanel},
    {u"PresetEditor.Control.MovementTypes.TabControl.PageHolder.CCRelativePage", kPanel},
    {u"PresetEditor.Control.MovementTypes.TabControl.PageHolder.NRPNAbsolutePage", kPanel},
    {u"PresetEditor.Control.MovementTypes.TabControl.ButtonHolder", kPanel},
    {u"PresetEditor.Control.MovementTypes.TabControl.PageHolder.PitchBendPage", kPanel},
    {u"PresetEditor.Control.MovementTypes.TabControl.PageHolder.OtherPage", kPanel},
    {u"PresetEditor.Control.MovementTypes.TabControl.PageHolder.NrpnRpnPage", kPanel},
    {u"PresetEditor.Control.XYPadModes.TabControl.ButtonHolder", kPanel},
    {u"PresetEditor.Panel.TabControl", kPanel},
    {u"PresetEditor.TabControl.ButtonHolder", kPanel},
    {u"PresetEditor.TabControl.PageHolder", kPanel},
    {u"PresetEditor.TabControl.PageHolder.ButtonsPage.AsciiPage", kPanel},
    {u"PresetEditor.TabControl.PageHolder.ButtonsPage.MidiPage", kPanel},
    {u"PresetEditor.TabControl.PageHolder.PedalsPage", kPanel},
    {u"PresetEditor.TabControl.PageHolder.WheelsPage", kPanel},
    {u"PresetEditor.TabControl.PageHolder.FadersPage", kPanel},
    {u"PresetEditor.TabControl.PageHolder.KeybedPage", kPanel},
    {u"PresetEditor.TabControl.PageHolder.KnobsPage", kPanel},
    {u"PresetEditor.TabControl.PageHolder.PadsPage", kPanel},
    {u"PresetEditor.Control.PadModes.TabControl.PageHolder.CCAbsolutePage", kPanel},
    {u"PresetEditor.Control.PadModes.TabControl.PageHolder.CCCyclePage", kPanel},
    {u"PresetEditor.Control.PadModes.TabControl.PageHolder.CCIncDecPage", kPanel},
    {u"PresetEditor.Control.PadModes.TabControl.PageHolder.MMCPage", kPanel},
    {u"PresetEditor.Control.PadModes.TabControl.PageHolder.NotePage", kPanel},
    {u"PresetEditor.Control.PadModes.TabControl.PageHolder.NRPNAbsolutePage", kPanel},
    {u"PresetEditor.Control.PadModes.TabControl.PageHolder.ProgramCyclePage", kPanel},
    {u"PresetEditor.Control.PadModes.TabControl.PageHolder.ProgramIncDecPage", kPanel},
    {u"PresetEditor.Control.PadModes.TabControl.PageHolder.ProgramPage", kPanel},
    {u"PresetEditor.TabControl.CCCyclePage.TabControl.ButtonHolder", kPanel},
    {u"PresetEditor.TabControl.CCCyclePage.TabControl.PageHolder", kPanel},
    {u"PresetEditor.TabControl.CCCyclePage.TabControl.PageHolder.CCPage", kPanel},
    {u"PresetEditor.TabControl.CCCyclePage.TabControl.PageHolder.ColorPage", kPanel},
    {u"PresetEditor.TabControl.ProgramCyclePage.TabControl.ButtonHolder", kPanel},
    {u"PresetEditor.TabControl.ProgramCyclePage.TabControl.PageHolder", kPanel},
    {u"PresetEditor.TabControl.ProgramCyclePage.TabControl.PageHolder.ProgramPage", kPanel},
    {u"MainControl.ProductImageSelector", kPanel},
    {u"MainControl.MainPage.ButtonEditPanel.MidiPage", kPanel},
    // Tab controls.
    {u"PresetEditor.Control.ButtonModesControl.TabControl", kTabControl},
    {u"PresetEditor.TabControl", kTabControl},
    {u"PresetEditor.MainPage.ButtonEditPanel.TabControl", kTabControl},
    {u"PresetEditor.TabControl.PageHolder.ButtonsPage.TabControl", kTabControl},
    {u"PresetEditor.Control.MovementTypes.TabControl", kTabControl},
    {u"PresetEditor.MainPage.PadEditPanel.TabControl", kTabControl},
    {u"PresetEditor.MainPage.XYPadEditPanel.TabControl", kTabControl},
    {u"PresetEditor.TabControl.CCCyclePage.TabControl", kTabControl},
    {u"PresetEditor.TabControl.ProgramCyclePage.TabControl", kTabControl},
    // Registered a second time with the same creator; the registry keeps one entry each.
    {u"PresetEditor.MainControl.EncoderView", &LControl::CreateFromSkin<LEncoderGroupPanel>},
    {u"PresetEditor.MainControl.EncoderView.Encoder", &LControl::CreateFromSkin<LEncoderPanel>},
    {u"PresetEditor.Control.LabeledNoteSelector", kPanel},
    {u"PresetEditor.Control.LabeledFaderTypeSelector", kPanel},
    {u"PresetEditor.Control.MovementTypes.TabControl.PageHolder", kPanel},
    {u"PresetEditor.Control.MovementTypes.TabControl.PageHolder.CCAbsolutePage", kPanel},
    {u"PresetEditor.Control.MovementTypes.TabControl.PageHolder.CCRelativePage", kPanel},
    {u"PresetEditor.Control.MovementTypes.TabControl.PageHolder.NRPNAbsolutePage", kPanel},
    {u"PresetEditor.Control.MovementTypes.TabControl.ButtonHolder", kPanel},
    {u"PresetEditor.Control.MovementTypes.TabControl.PageHolder.OtherPage", kPanel},
    {u"PresetEditor.Control.MovementTypes.TabControl.PageHolder.NrpnRpnPage", kPanel},
};
// clang-format on

} // namespace

std::span<const ApplicationControlClassRow> GetApplicationControlClasses()
{
    return kRows;
}

void RegisterApplicationControlClasses(KR::LControlFactory& factory)
{
    for (const ApplicationControlClassRow& row : kRows)
    {
        factory.RegisterControlClass(KR::String(row.name), row.create);
    }
}
