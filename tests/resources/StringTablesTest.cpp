// The program's string tables, read from the embedded documents by the real factory as
// the program reads them: every text the program looks up by (table key, id) stands there
// byte for byte, misspellings and doubled blanks included, and every list has its count.

#include "kr/ui/ControlFactory.h"
#include "platform/system/Resources.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace
{

using KR::String;

struct TextRow
{
    const char16_t* key;
    const char16_t* id;
    const char16_t* text;
};

// The firmware text names the maker's download page between two fixed halves.
#define FIRMWARE_TEXT                                                                                        \
    u"The firmware version of your device is not compatible with this version of the Preset Editor.  Visit " \
    u"https://www.tarsil.example/firmware for the latest firmware updates."
#define NOT_COMPATIBLE u"Preset file is not compatible with this vesion of the preset editor"
#define CONNECT_ERROR                                                                                        \
    u"Error connecting to device. Verify your Quillan Keyboard is plugged into the USB port and try again."

constexpr TextRow kTexts[] = {
    // Framework
    {u"Framework", u"EXCEPTION_ID",
     u"The application has encountered Error ID %d.  Please contact Tarsil Technical Support."},
    {u"Framework", u"STARTUP_ERROR",
     u"The application encountered problems during startup and will now close."},
    {u"Framework", u"STARTUP_ERROR_CAPTION", u"Error"},
    {u"Framework", u"UNDO_IN_PROGRESS", u"Undo in progress"},
    {u"Framework", u"REDO_IN_PROGRESS", u"Redo in progress"},
    {u"Framework", u"EDIT_CUT", u"Cut"},
    {u"Framework", u"EDIT_COPY", u"Copy"},
    {u"Framework", u"EDIT_PASTE", u"Paste"},
    {u"Framework", u"EDIT_DELETE", u"Delete"},
    {u"Framework", u"GL_ERROR_CAPTION", u"OpenGL Error"},
    {u"Framework", u"GL_ERROR_UPDATE_DRIVER",
     u"Updating your video card driver, with the latest driver from the manufacturer of your video card, may "
     u"solve this issue."},
    {u"Framework", u"GL_ERROR_MESSAGE_CHOOSE_PIXEL_FORMAT", u"ChoosePixelFormat failed."},
    {u"Framework", u"GL_ERROR_MESSAGE_SET_PIXEL_FORMAT", u"SetPixelFormat failed."},
    {u"Framework", u"GL_ERROR_MESSAGE_CREATE_CONTEXT", u"wglCreateContext failed."},
    {u"Framework", u"GL_ERROR_MESSAGE_GET_PROC_ADDRESS", u"wglGetProcAddress failed with error %d: %s."},
    {u"Framework", u"GL_ERROR_MESSAGE_MAKE_CONTEXT_CURRENT", u"wglMakeCurrent failed with error %d: %s."},
    {u"Framework", u"HOURS_SINGULAR", u"Hour"},
    {u"Framework", u"HOURS_PLURAL", u"Hours"},
    {u"Framework", u"MINUTES_SINGULAR", u"Minute"},
    {u"Framework", u"MINUTES_PLURAL", u"Minutes"},
    {u"Framework", u"SECONDS_SINGULAR", u"Second"},
    {u"Framework", u"SECONDS_PLURAL", u"Seconds"},
    {u"Framework", u"REMAINING", u"Remaining"},
    // The application's own table: hot keys
    {u"|PresetEditor", u"GHK.NID_EDIT_COPY_REQ", u"Ctrl+VKEY_C"},
    {u"|PresetEditor", u"GHK.NID_EDIT_CUT_REQ", u"Ctrl+VKEY_X"},
    {u"|PresetEditor", u"GHK.NID_EDIT_DELETE_REQ", u"VKEY_DELETE"},
    {u"|PresetEditor", u"GHK.NID_EDIT_PASTE_REQ", u"Ctrl+VKEY_V"},
    {u"|PresetEditor", u"GHK.NID_BUTTON_TOGGLE_DIALOG_BUTTON", u"VKEY_D"},
    {u"|PresetEditor", u"GHK.NID_MENU_FILE_SAVE_PRESET_TO_FILE", u"Ctrl+VKEY_S"},
    {u"|PresetEditor", u"GHK.NID_MENU_FILE_SEND_PRESET_TO_DEVICE", u"SHIFT+CTRL+VKEY_S"},
    {u"|PresetEditor", u"GHK.NID_MENU_FILE_LOAD_PRESET_FROM_DEVICE", u"SHIFT+CTRL+VKEY_R"},
    {u"|PresetEditor", u"GHK.NID_MENU_FILE_LOAD_PRESET_FROM_FILE", u"Ctrl+VKEY_O"},
    // ... preset files, the user guide, the about box
    {u"|PresetEditor", u"USER_GUIDE_FILE_NAME", u"Vantor Preset Editor - User Guide - v1.0.pdf"},
    {u"|PresetEditor", u"APP_VERSION", u"Version"},
    {u"|PresetEditor", u"LOAD_PRESET_DIALOG_TITLE", u"Select Preset File"},
    {u"|PresetEditor", u"SAVE_PRESET_DIALOG_TITLE", u"Select Save Location"},
    {u"|PresetEditor", u"CONTROL_PANEL_SETTINGS_FILTER_SEGMENT_1", u"Control Panel Settings (*."},
    {u"|PresetEditor", u"CONTROL_PANEL_SETTINGS_FILTER_SEGMENT_2", u"|All Files (*.*)|*.*"},
    {u"|PresetEditor", u"SETTINGS_FILE_LOAD_CAPTION", u"Preset File Load"},
    {u"|PresetEditor", u"SETTINGS_FILE_LOAD_OLDER_MESSAGE", NOT_COMPATIBLE},
    {u"|PresetEditor", u"SETTINGS_FILE_LOAD_NEWER_MESSAGE",
     u"Preset file is not compatible with this version of the editor"},
    {u"|PresetEditor", u"SETTINGS_FILE_LOAD_CORRUPT_MESSAGE", NOT_COMPATIBLE},
    {u"|PresetEditor", u"SETTINGS_FILE_LOAD_WRONG_DEVICE_MESSAGE", NOT_COMPATIBLE},
    {u"|PresetEditor", u"SETTINGS_FILE_TRANSLATION_FAILURE_MESSAGE", NOT_COMPATIBLE},
    {u"|PresetEditor", u"SETTINGS_FILE_SAVE_CAPTION", u"Preset File Save"},
    {u"|PresetEditor", u"SETTINGS_FILE_SAVE_FAILED_MESSAGE", u"The preset file could not be saved."},
    {u"|PresetEditor", u"LABEL_OPEN_USERGUIDE_FILE_FAILED_MSGBOX_TEXT",
     u"The user guide could not be opened."},
    {u"|PresetEditor", u"LABEL_OPEN_USERGUIDE_FILE_FAILED_MSGBOX_CAPTION", u"Open User Guide Error"},
    // ... the box that ends the program says why
    {u"|PresetEditor", u"HARDWARE_CONFIG_ERROR_TITLE", u"Hardware Configuration Error"},
    {u"|PresetEditor", u"HARDWARE_CONFIG_ERROR_MESSAGE",
     u"The keyboard's configuration could not be read. The application will now close."},
    // ... sending, retrieving, global settings
    {u"|PresetEditor", u"LABEL_SEND_PRESET_SUCEESS_MSGBOX_CAPTION", u"Send Sucess"},
    {u"|PresetEditor", u"LABEL_SEND_PRESET_SUCEESS_MSGBOX_TEXT",
     u"The preset has been sucessfully sent to the device"},
    {u"|PresetEditor", u"LABEL_SEND_PRESET_FAILED_MSGBOX_CAPTION", u"Send Preset Error"},
    {u"|PresetEditor", u"LABEL_SEND_PRESET_FAILED_MIDI_ERROR_MSGBOX_TEXT", CONNECT_ERROR},
    {u"|PresetEditor", u"LABEL_SEND_PRESET_FAILED_FW_COMPATIBILITY_ERROR_MSGBOX_TEXT", FIRMWARE_TEXT},
    {u"|PresetEditor", u"LABEL_GET_PRESET_SUCEESS_MSGBOX_CAPTION", u"Retrieve Sucessful"},
    {u"|PresetEditor", u"LABEL_GET_PRESET_SUCEESS_MSGBOX_TEXT",
     u"The preset has been sucessfully retreived."},
    {u"|PresetEditor", u"LABEL_GET_PRESET_FAILED_MSGBOX_CAPTION", u"Retrieve Preset Error"},
    {u"|PresetEditor", u"LABEL_GET_PRESET_FAILED_MIDI_ERROR_MSGBOX_TEXT",
     u"The Preset has failed to get from the device. Verify the device is connected to your computer via the "
     u"USB "
     u"cable."},
    {u"|PresetEditor", u"LABEL_GET_PRESET_FAILED_FW_COMPATIBILITY_ERROR_MSGBOX_TEXT", FIRMWARE_TEXT},
    {u"|PresetEditor", u"LABEL_GLOBALSETTINGS_FAILED_MIDI_ERROR_MESSAGEBOX_CAPTION",
     u"Global Settings Error"},
    {u"|PresetEditor", u"LABEL_GLOBALSETTINGS_FAILED_MIDI_ERROR_MESSAGEBOX_TEXT", CONNECT_ERROR},
    // The main menu
    {u"PresetEditor.MainControl|mainMenu", u"MENU_LABEL.00", u"File"},
    {u"PresetEditor.MainControl|mainMenu", u"MENU_LABEL.01", u"Help"},
    {u"PresetEditor.MainControl|mainMenu", u"CONTEXT_MENU0.00.NID_MENU_FILE_SEND_PRESET_TO_DEVICE",
     u"Send Preset| Send this preset to the controller."},
    {u"PresetEditor.MainControl|mainMenu", u"CONTEXT_MENU0.01.NID_MENU_FILE_LOAD_PRESET_FROM_DEVICE",
     u"Retrieve Preset| Retreive a preset from the controller."},
    {u"PresetEditor.MainControl|mainMenu", u"CONTEXT_MENU0.02.-", u"-"},
    {u"PresetEditor.MainControl|mainMenu", u"CONTEXT_MENU0.03.NID_MENU_FILE_LOAD_PRESET_FROM_FILE",
     u"Load Preset | Load Preset from disk."},
    {u"PresetEditor.MainControl|mainMenu", u"CONTEXT_MENU0.04.NID_MENU_FILE_SAVE_PRESET_TO_FILE",
     u"Save Preset | Save Preset to disk"},
    {u"PresetEditor.MainControl|mainMenu", u"CONTEXT_MENU0.05.-", u"-"},
    {u"PresetEditor.MainControl|mainMenu", u"CONTEXT_MENU0.06.NID_MENU_FILE_GLOBALSETTINGS_REQ",
     u"Global Settings"},
    {u"PresetEditor.MainControl|mainMenu", u"CONTEXT_MENU0.07.-", u"-"},
    {u"PresetEditor.MainControl|mainMenu", u"CONTEXT_MENU0.08.NID_MENU_FILE_EXIT_REQ",
     u"Exit|Exit Vantor Preset Editor"},
    {u"PresetEditor.MainControl|mainMenu", u"CONTEXT_MENU1.00.NID_MENU_HELP_OPEN_USER_GUIDE_REQ",
     u"Open User Guide"},
    {u"PresetEditor.MainControl|mainMenu", u"CONTEXT_MENU1.01.NID_MENU_HELP_ABOUT_REQ",
     u"About Vantor Preset Editor|About Vantor Preset Editor"},
    // Dialogs
    {u"PresetEditor|dialogAbout", u"LABEL", u"About Tarsil Vantor Preset Editor"},
    {u"PresetEditor.Dialog.SendPresetToHardware|header", u"LABEL", u"SEND PRESET TO DEVICE"},
    {u"PresetEditor.Dialog.SendPresetToHardware|send", u"LABEL", u"SEND"},
    {u"PresetEditor.Dialog.RetrievePresetFromHardware|header", u"LABEL", u"GET PRESET FROM DEVICE"},
    {u"PresetEditor.Dialog.RetrievePresetFromHardware|getButton", u"LABEL", u"GET"},
    {u"PresetEditor.GlobalEditorControl|header", u"LABEL", u"GLOBAL SETTINGS"},
    {u"PresetEditor.GlobalEditorControl|getGlobalSettingsButton", u"LABEL", u"Get Settings"},
    {u"PresetEditor.GlobalEditorControl|sendGlobalSettingsButton", u"LABEL", u"Send Settings"},
    {u"PresetEditor.Control.Global.LabeledGlobalChannel|label", u"LABEL", u"CHANNEL"},
    {u"PresetEditor.Control.Global.LabeledGlobalChannel|label", u"GLOBAL_LABEL", u"GLOBAL CHANNEL"},
    {u"PresetEditor.Control.Global.LabeledMackieHUIToggle|label", u"LABEL", u"MACKIE CONTROL / HUI"},
    {u"PresetEditor.Control.Global.LabeledKeyOctave|label", u"LABEL", u"KEY OCTAVE"},
    {u"PresetEditor.Control.Global.LabeledKeyTranspose|label", u"LABEL", u"KEY TRANSPOSE"},
    {u"PresetEditor.Control.Global.LabeledKeySensitivity|label", u"LABEL", u"KEY CURVE"},
    {u"PresetEditor.Control.Global.LabeledPadOctave|label", u"LABEL", u"PAD OCTAVE"},
    {u"PresetEditor.Control.Global.LabeledPadTranspose|label", u"LABEL", u"PAD TRANSPOSE"},
    {u"PresetEditor.Control.Global.LabeledPadSensitivity|label", u"LABEL", u"PAD CURVE"},
    {u"PresetEditor.Control.Global.LabeledControlCurve|label", u"LABEL", u"ENCODER CURVE"},
    {u"PresetEditor.Control.Global.LabeledxyPadSensitivity|label", u"LABEL", u"XY PAD CURVE"},
    // The keyboard picture's read-outs and number labels
    {u"PresetEditor.MainControl.ButtonView.Button|buttonNumberLabel", u"LABEL", u"B%d"},
    {u"PresetEditor.MainControl.PadView.Pad|padNumberLabel", u"LABEL", u"P%d"},
    {u"PresetEditor.MainControl.EncoderView.Encoder|encoderNameLabel", u"LABEL", u"E%d"},
    {u"PresetEditor.MainControl.FaderView.Fader|faderNumberLabel", u"LABEL", u"F%d"},
    {u"PresetEditor.MainControl.MIDIChannelView|label", u"GLOBAL_LABEL", u"CH:G"},
    {u"PresetEditor.MainControl.MIDIChannelView|label", u"CHANNEL_LABEL", u"CH:%d"},
    {u"PresetEditor.MainControl.MIDIChannelView|label", u"ZONE_LABEL", u"CH:Z%d"},
    {u"PresetEditor.MainControl.MIDIChannelView|label", u"OMNI_LABEL", u"CH:OM"},
    {u"PresetEditor.MainControl.MoveableType.ViewPanel|infoLabel", u"CC_LABEL", u"CC:\n%u"},
    {u"PresetEditor.MainControl.MoveableType.ViewPanel|infoLabel", u"RPN_LABEL", u"RPN:\n%u"},
    {u"PresetEditor.MainControl.MoveableType.ViewPanel|infoLabel", u"NRPN_LABEL", u"NRPN:\n%u"},
    {u"PresetEditor.MainControl.MoveableType.ViewPanel|infoLabel", u"OTHER_LABEL", u"OTHER"},
    {u"PresetEditor.MainControl.MoveableType.ViewPanel|infoLabel", u"AFTERTOUCH_LABEL", u"CH. AFT."},
    {u"PresetEditor.MainControl.MoveableType.ViewPanel|infoLabel", u"PITCHBEND_LABEL", u"PITCH\nBEND"},
    {u"PresetEditor.MainControl.MoveableType.ViewPanel|infoLabel", u"SYSEX_LABEL", u"SYSEX"},
    {u"PresetEditor.MainControl.PushButtonType.ViewPanel|infoLabel", u"NOTE_LABEL", u"NT:\n%u"},
    {u"PresetEditor.MainControl.PushButtonType.ViewPanel|infoLabel", u"PROGRAM_LABEL", u"PG:\n%u"},
    {u"PresetEditor.MainControl.PushButtonType.ViewPanel|infoLabel", u"PROGRAM_INC_DEC_LABEL",
     u"PG\nINC/DEC"},
    {u"PresetEditor.MainControl.PushButtonType.ViewPanel|infoLabel", u"PROGRAM_CYCLE_LABEL", u"PG\nCYCLE"},
    {u"PresetEditor.MainControl.PushButtonType.ViewPanel|infoLabel", u"MMC_OTHER_LABEL", u"MMC"},
    {u"PresetEditor.MainControl.PushButtonType.ViewPanel|infoLabel", u"MMC_DEFERREDPLAY_LABEL", u"PLAY"},
    {u"PresetEditor.MainControl.PushButtonType.ViewPanel|infoLabel", u"MMC_FASTFORWARD_LABEL", u"FF"},
    {u"PresetEditor.MainControl.PushButtonType.ViewPanel|infoLabel", u"MMC_REWIND_LABEL", u"RR"},
    {u"PresetEditor.MainControl.PushButtonType.ViewPanel|infoLabel", u"MMC_RECORDPAUSE_LABEL", u"REC"},
    {u"PresetEditor.MainControl.PushButtonType.ViewPanel|infoLabel", u"MMC_MMCRESET_LABEL", u"RESET"},
    {u"PresetEditor.MainControl.KeybedZones.Zone|infoLabel", u"INFO_TEXT", u"First: %s %s | Last %s %s"},
    {u"PresetEditor.MainControl.KeybedZones.Zone|zoneName", u"LABEL", u"ZONE %d"},
    {u"PresetEditor.MainControl.DeviceView.PresetNameEditPanel|controlNameLabel", u"LABEL", u"PRESET NAME"},
    // Edit panels: titles
    {u"PresetEditor.MainPage.ButtonEditPanel|buttonName", u"LABEL", u"BUTTON %d"},
    {u"PresetEditor.MainPage.ButtonEditPanel|bankName", u"LABEL", u"BANK %d"},
    {u"PresetEditor.MainPage.PadEditPanel|padName", u"LABEL", u"PAD %d"},
    {u"PresetEditor.MainPage.KnobEditPanel|knobName", u"LABEL", u"ENCODER %d"},
    {u"PresetEditor.MainPage.FaderEditPanel|faderName", u"LABEL", u"FADER %d"},
    {u"PresetEditor.TabControl.PageHolder.WheelsPage.Wheel|wheelName", u"PITCH_LABEL", u"P. WHEEL"},
    {u"PresetEditor.TabControl.PageHolder.WheelsPage.Wheel|wheelName", u"MOD_LABEL", u"M. WHEEL"},
    {u"PresetEditor.MainPage.VolumeEditPanel|controlNameLabel", u"LABEL", u"VOLUME"},
    {u"PresetEditor.MainPage.SustainEditPanel|sustainName", u"LABEL", u"SUSTAIN"},
    {u"PresetEditor.MainPage.SustainEditPanel|midiLabel", u"LABEL", u"MIDI"},
    {u"PresetEditor.MainPage.ZoneEditPanel|zoneName", u"LABEL", u"ZONE %d"},
    {u"PresetEditor.MainPage.ZoneEditPanel|zoneOnOffLabel", u"LABEL", u"ON/OFF"},
    {u"PresetEditor.MainPage.XYPadEditPanel|axisName", u"LABEL", u""},
    {u"PresetEditor.MainPage.XYPadEditPanel|axisName", u"LABEL_X_AXIS", u"X-AXIS"},
    {u"PresetEditor.MainPage.XYPadEditPanel|axisName", u"LABEL_Y_AXIS", u"Y-AXIS"},
    // ... tab captions
    {u"PresetEditor.MainPage.ButtonEditPanel.TabControl.ButtonHolder|colorPage", u"LABEL", u"COLORS"},
    {u"PresetEditor.MainPage.ButtonEditPanel.TabControl.ButtonHolder|asciiPage", u"LABEL", u"HID"},
    {u"PresetEditor.MainPage.PadEditPanel.TabControl.ButtonHolder|colorPage", u"LABEL", u"COLOR"},
    {u"PresetEditor.MainPage.XYPadEditPanel.TabControl.ButtonHolder|noteModePage", u"LABEL", u"NOTE"},
    {u"PresetEditor.Control.ButtonModesControl.TabControl.ButtonHolder|ccIncDecPage", u"LABEL",
     u"CC INC/DEC"},
    {u"PresetEditor.Control.ButtonModesControl.TabControl.ButtonHolder|programCyclePage", u"LABEL",
     u"PROGRAM CYCLE"},
    {u"PresetEditor.Control.ButtonModesControl.TabControl.ButtonHolder|nrpnRpnPage", u"LABEL", u"RPN/NRPN"},
    {u"PresetEditor.Control.MovementTypes.TabControl.ButtonHolder|ccRelativePage", u"LABEL", u"CC RELATIVE"},
    // ... selector labels, the crossed cycle ids among them
    {u"PresetEditor.Control.LabeledMidiChannelSelector|controlNameLabel", u"LABEL", u"CHAN"},
    {u"PresetEditor.Control.LabeledPressedSelector|controlNameLabel", u"LABEL", u"DOWN"},
    {u"PresetEditor.Control.LabeledReleasedSelector|controlNameLabel", u"LABEL", u"UP"},
    {u"PresetEditor.Control.LabeledLatchingSelector|controlNameLabel", u"LABEL", u"LATCH"},
    {u"PresetEditor.Control.LabeledCCValueSelector|controlNameLabel", u"VALUE1_LABEL", u"FIRST"},
    {u"PresetEditor.Control.LabeledCCValueSelector|controlNameLabel", u"VALUE2_LABEL", u"LAST"},
    {u"PresetEditor.Control.LabeledCCValueSelector|controlNameLabel", u"VALUE3_LABEL", u"VALUE 2"},
    {u"PresetEditor.Control.LabeledCCValueSelector|controlNameLabel", u"VALUE4_LABEL", u"VALUE 3"},
    {u"PresetEditor.Control.LabeledProgramSelector|controlNameLabel", u"PROGRAM1_LABEL", u"FIRST"},
    {u"PresetEditor.Control.LabeledProgramSelector|controlNameLabel", u"PROGRAM2_LABEL", u"LAST"},
    {u"PresetEditor.Control.LabeledProgramSelector|controlNameLabel", u"PROGRAM4_LABEL", u"VALUE 3"},
    {u"PresetEditor.Control.LabeledNoteSelector|controlNameLabel", u"START_NOTE_LABEL", u"FIRST"},
    {u"PresetEditor.Control.LabeledNoteSelector|controlNameLabel", u"END_NOTE_LABEL", u"LAST"},
    {u"PresetEditor.Control.LabeledNoteSelector|controlNameLabel", u"KEY_LABEL", u"KEY"},
    {u"PresetEditor.Control.LabeledNoteSelector|controlNameLabel", u"MULTI_NOTE_LABEL", u"NOTE %d"},
    {u"PresetEditor.Control.LabeledKeyZoneNoteSelector|controlNameLabel", u"START_NOTE_LABEL", u"FIRST"},
    {u"PresetEditor.Control.LabeledKeyZoneNoteSelector|controlNameLabel", u"END_NOTE_LABEL", u"LAST"},
    {u"PresetEditor.Control.LabeledNoteScaleSelector|controlNameLabel", u"LABEL", u"SCALE"},
    {u"PresetEditor.Control.LabeledButtonColorSelector|colorNameLabel", u"NUMBERED_COLOR_LABEL", u"COLOR %d"},
    {u"PresetEditor.Control.LabeledButtonColorSelector|colorNameLabel", u"ASCII_COLOR_LABEL", u"HID COLOR"},
    {u"PresetEditor.Control.LabeledPadColorSelector|colorNameLabel", u"NUMBERED_COLOR_LABEL", u"COLOR %d"},
    {u"PresetEditor.Control.LabeledModifierKeySelector|controlNameLabel", u"LABEL", u"MOD KEY"},
    // ... list items the programs name by position
    {u"PresetEditor.Control.LabeledModifierKeySelector|comboBox", u"ITEM.20", u"Shift  + Cmd (Mac)"},
    {u"PresetEditor.Control.LabeledModifierKeySelector|comboBox", u"ITEM.23", u"Cmd + Option (Mac)"},
    {u"PresetEditor.Control.LabeledModifierKeySelector|comboBox", u"ITEM.24", u"Cmd + Option (Mac)"},
    {u"PresetEditor.Control.LabeledKeySelector|comboBox", u"ITEM.00", u"Off"},
    {u"PresetEditor.Control.LabeledKeySelector|comboBox", u"ITEM.62", u"\\"},
    {u"PresetEditor.Control.LabeledKeySelector|comboBox", u"ITEM.86", u"Num 0"},
    {u"PresetEditor.Control.LabeledMMCSelector|comboBox", u"ITEM.12", u"Other"},
    {u"PresetEditor.Control.LabeledOtherSelector|comboBox", u"ITEM.07", u"Fine Tune(Sysex)"},
    {u"PresetEditor.Control.LabeledOtherSelector|comboBox", u"ITEM.12", u"Pitch Bend"},
    {u"PresetEditor.Control.LabeledMidiChannelSelector|comboBox", u"ITEM.21", u"Omni"},
    {u"PresetEditor.Control.LabeledNoteScaleSelector|comboBox", u"ITEM.07", u"Dorian"},
    {u"PresetEditor.Control.LabeledNoteScaleSelector|comboBox", u"ITEM.08", u"Lydian"},
    {u"PresetEditor.Control.NoteSelector|octaveNameLabel", u"ITEM.00", u"(-1)"},
    {u"PresetEditor.Control.ZoneNoteSelector|octaveNameLabel", u"ITEM.10", u"(11)"},
    {u"PresetEditor.Control.CCSelector|label", u"TEXT.003", u"Controller 3"},
    {u"PresetEditor.Control.CCSelector|label", u"TEXT.007", u"Channel Volume"},
    {u"PresetEditor.Control.CCSelector|label", u"TEXT.012", u"Effects Controller1"},
    {u"PresetEditor.Control.CCSelector|label", u"TEXT.066", u"Sostenuto"},
    {u"PresetEditor.Control.CCSelector|label", u"TEXT.127", u"Poly Mode On"},
    {u"PresetEditor.Control.PresetSlotCombobox|comboBox", u"ITEM.00", u"RAM"},
    {u"PresetEditor.Control.PresetSlotCombobox|comboBox", u"ITEM.12", u"Preset 12"},
};

struct ListRow
{
    const char16_t* key;
    std::size_t count;
    const char16_t* prefix;
};

// Lists read by position: an entry missing or one too many shifts every code after it.
constexpr ListRow kLists[] = {
    {u"PresetEditor.Control.PresetSlotCombobox|comboBox", 13, u"ITEM."},
    {u"PresetEditor.Control.LabeledMidiChannelSelector|comboBox", 22, u"ITEM."},
    {u"PresetEditor.Control.LabeledKeyZoneMidiChannelSelector|comboBox", 17, u"ITEM."},
    {u"PresetEditor.Control.LabeledCycleTypeSelector|comboBox", 3, u"ITEM."},
    {u"PresetEditor.Control.LabeledINCDecTypeSelector|comboBox", 2, u"ITEM."},
    {u"PresetEditor.Control.LabeledMMCSelector|comboBox", 13, u"ITEM."},
    {u"PresetEditor.Control.LabeledNrpnRpnSelector|comboBox", 4, u"ITEM."},
    {u"PresetEditor.Control.LabeledOtherSelector|comboBox", 16, u"ITEM."},
    {u"PresetEditor.Control.LabeledRelativeTypeSelector|comboBox", 4, u"ITEM."},
    {u"PresetEditor.Control.LabeledButtonColorSelector|comboBox", 8, u"ITEM."},
    {u"PresetEditor.Control.LabeledPadColorSelector|comboBox", 14, u"ITEM."},
    {u"PresetEditor.Control.LabeledKeySelector|comboBox", 87, u"ITEM."},
    {u"PresetEditor.Control.LabeledModifierKeySelector|comboBox", 29, u"ITEM."},
    {u"PresetEditor.Control.LabeledNoteModeTypeSelector|comboBox", 7, u"ITEM."},
    {u"PresetEditor.Control.LabeledNoteScaleSelector|comboBox", 11, u"ITEM."},
    {u"PresetEditor.Control.NoteSelector|noteNameLabel", 12, u"ITEM."},
    {u"PresetEditor.Control.NoteSelector|octaveNameLabel", 11, u"ITEM."},
    {u"PresetEditor.Control.ZoneNoteSelector|noteNameLabel", 12, u"ITEM."},
    {u"PresetEditor.Control.ZoneNoteSelector|octaveNameLabel", 11, u"ITEM."},
    {u"PresetEditor.Control.CCSelector|label", 128, u"TEXT."},
    {u"PresetEditor.Control.Global.LabeledGlobalChannel|comboBox", 16, u"ITEM."},
    {u"PresetEditor.Control.Global.LabeledMackieHUIToggle|comboBox", 2, u"ITEM."},
    {u"PresetEditor.Control.Global.LabeledKeySensitivity|comboBox", 7, u"ITEM."},
    {u"PresetEditor.Control.Global.LabeledPadSensitivity|comboBox", 10, u"ITEM."},
    {u"PresetEditor.Control.Global.LabeledControlCurve|comboBox", 4, u"ITEM."},
    {u"PresetEditor.Control.Global.LabeledxyPadSensitivity|comboBox", 10, u"ITEM."},
    {u"PresetEditor.MainControl|mainMenu", 11, u"CONTEXT_MENU"},
    {u"PresetEditor.MainControl.PushButtonType.ViewPanel|infoLabel", 24, u""},
    {u"|PresetEditor", 9, u"GHK."},
    {u"Framework", 23, u""},
};

std::string Utf8(const char16_t* text)
{
    return String(text).ToUtf8().GetPtr();
}

class EmbeddedStringTables : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(mFactory.LoadStringTables(String(u"::FRAMEWORK_STRINGS"), String(u"::APP_STRINGS"), 0x0409),
                  KR::kOk);
        ASSERT_TRUE(mFactory.GetReader().GetParseErrorText().IsEmpty())
            << mFactory.GetReader().GetParseErrorText().ToUtf8().GetPtr();
    }

    KR::LControlFactory mFactory{String(u"PresetEditor")};
};

TEST_F(EmbeddedStringTables, EveryQuotedTextStandsUnderItsKeyAndId)
{
    for (const TextRow& row : kTexts)
    {
        const KR::RCPtr<KR::LStringTable> table = mFactory.GetReader().GetStringTable(String(row.key));
        ASSERT_TRUE(table) << Utf8(row.key);
        String text(u"<missing>");
        table->GetString(String(row.id), text);
        EXPECT_EQ(text.ToUtf8().GetPtr(), Utf8(row.text)) << Utf8(row.key) << " " << Utf8(row.id);
    }
}

TEST_F(EmbeddedStringTables, EveryListHasItsCountWithoutGaps)
{
    for (const ListRow& row : kLists)
    {
        const KR::RCPtr<KR::LStringTable> table = mFactory.GetReader().GetStringTable(String(row.key));
        ASSERT_TRUE(table) << Utf8(row.key);
        std::size_t count = 0;
        for (const auto& [id, text] : table->GetTexts())
        {
            if (id.GetView().starts_with(std::u16string_view(row.prefix)))
            {
                EXPECT_FALSE(text.IsEmpty()) << Utf8(row.key) << " " << id.ToUtf8().GetPtr();
                ++count;
            }
        }
        EXPECT_EQ(count, row.count) << Utf8(row.key);
    }
}

TEST_F(EmbeddedStringTables, TheApplicationTablesGoWithTheSkinsApplicationName)
{
    EXPECT_EQ(mFactory.GetReader().GetApplicationName(), u"PresetEditor");
    EXPECT_TRUE(mFactory.GetApplicationStringTable());
    EXPECT_TRUE(mFactory.GetFrameworkStringTable());
}

// Every (parent class, child name) pair the skin holds; top-level controls stand under the
// application's name, as their tables are keyed.
void CollectPairs(const KR::LControlDescriptor& parent, const String& parentKey,
                  std::set<std::u16string>& pairs)
{
    const auto& children = parent.GetChildren();
    for (std::size_t i = 0; i < children.GetCount(); ++i)
    {
        const KR::LControlDescriptor& child = *children.GetAt(i);
        pairs.insert(std::u16string((parentKey + String(u"|") + child.GetName()).GetView()));
        CollectPairs(child, child.GetClass(), pairs);
    }
}

// A table keyed by a class and a child name is read only by a child of that name inside a
// control of that class: a key the skin does not hold is a text nobody shows, and most
// likely a renamed control whose text went missing.
TEST_F(EmbeddedStringTables, EveryControlTableNamesAChildOfThatClassInTheSkin)
{
    ASSERT_EQ(mFactory.LoadSkins(String(u"::APP_SKINS")), KR::kOk);
    std::set<std::u16string> pairs;
    const auto& roots = mFactory.GetReader().GetSkinRoots();
    for (std::size_t i = 0; i < roots.GetCount(); ++i)
    {
        CollectPairs(*roots.GetAt(i), mFactory.GetApplicationName(), pairs);
    }
    for (const auto& [key, texts] : mFactory.GetReader().GetStringTables().GetAll())
    {
        if (key == u"Framework" || key.GetView().starts_with(u"|"))
        {
            continue;
        }
        EXPECT_TRUE(pairs.contains(std::u16string(key.GetView()))) << key.ToUtf8().GetPtr();
    }
}

// The attribute value after `marker` at or after `from`; npos when there is none.
std::size_t FindAttribute(const std::string& text, const std::string& marker, std::size_t from,
                          std::string& value)
{
    const std::size_t at = text.find(marker, from);
    if (at == std::string::npos)
    {
        return at;
    }
    const std::size_t begin = at + marker.size();
    value = text.substr(begin, text.find('"', begin) - begin);
    return begin;
}

// Two String elements of one id in a table would join their texts into one.
TEST(StringTableDocuments, NoIdStandsTwiceInATable)
{
    for (const char* name : {"APP_STRINGS", "FRAMEWORK_STRINGS"})
    {
        const auto bytes = KR::Platform::FindResource("KRXML", name);
        ASSERT_FALSE(bytes.empty()) << name;
        const std::string text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        std::set<std::string> keys;
        std::string key;
        for (std::size_t at = FindAttribute(text, "<StringTable ID=\"", 0, key); at != std::string::npos;
             at = FindAttribute(text, "<StringTable ID=\"", at, key))
        {
            EXPECT_TRUE(keys.insert(key).second) << name << ": table " << key << " twice";
            const std::string body = text.substr(at, text.find("</StringTable>", at) - at);
            std::set<std::string> ids;
            std::string id;
            for (std::size_t in = FindAttribute(body, "<String ID=\"", 0, id); in != std::string::npos;
                 in = FindAttribute(body, "<String ID=\"", in, id))
            {
                EXPECT_TRUE(ids.insert(id).second) << name << ": " << key << " " << id;
            }
        }
        EXPECT_FALSE(keys.empty()) << name;
    }
}

} // namespace
