#pragma once
// What the send and retrieve dialogs share: the slot chosen in their "presetSlot" selector,
// the MIDI manager of the application, and the rule that turns the manager's result into
// the message box the user sees. Any negative result is a failure: a refused slot or
// preset (0x80070057, 0x80004005) is never reported as sent or retrieved.
//
//     const std::int32_t slot = GetSelectedPresetSlot(*dialog);       // -1: none chosen
//     TransferPresetSlot(slot, kSendPresetKeys, send);                 // box shown

#include "engine/MidiManager.h"
#include "kr/core/RCPtr.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"
#include "kr/ui/Control.h"

#include <cstdint>

// The string-table keys of one dialog's three boxes.
struct PresetTransferKeys
{
    const char16_t* successCaption;
    const char16_t* successText;
    const char16_t* failedCaption;
    const char16_t* connectionText;
    const char16_t* firmwareText;
};

inline constexpr PresetTransferKeys kSendPresetKeys = {
    u"LABEL_SEND_PRESET_SUCEESS_MSGBOX_CAPTION", u"LABEL_SEND_PRESET_SUCEESS_MSGBOX_TEXT",
    u"LABEL_SEND_PRESET_FAILED_MSGBOX_CAPTION", u"LABEL_SEND_PRESET_FAILED_MIDI_ERROR_MSGBOX_TEXT",
    u"LABEL_SEND_PRESET_FAILED_FW_COMPATIBILITY_ERROR_MSGBOX_TEXT"};

inline constexpr PresetTransferKeys kGetPresetKeys = {
    u"LABEL_GET_PRESET_SUCEESS_MSGBOX_CAPTION", u"LABEL_GET_PRESET_SUCEESS_MSGBOX_TEXT",
    u"LABEL_GET_PRESET_FAILED_MSGBOX_CAPTION", u"LABEL_GET_PRESET_FAILED_MIDI_ERROR_MSGBOX_TEXT",
    u"LABEL_GET_PRESET_FAILED_FW_COMPATIBILITY_ERROR_MSGBOX_TEXT"};

// What a dialog throws when its handler table cannot be made.
inline constexpr KR::Result kHandlerNotMade = static_cast<KR::Result>(0x8007000Eu);

// The keyboard's working memory is slot 0, its preset slots 1 to 12.
inline constexpr std::int32_t kLastPresetSlot = 12;

struct PresetTransferTexts
{
    KR::String caption;
    KR::String text;
};

// The selected index of the dialog's "presetSlot"/"comboBox"; -1 when either is missing
// or nothing is selected.
std::int32_t GetSelectedPresetSlot(const KR::LControl& dialog);

// The installed application's MIDI manager; null without one.
KR::RCPtr<KR::LMidiManager> GetApplicationMidiManager();

// 0 and above: the success texts; -2: the firmware text; every other negative result: the
// connection text. Texts from the application's string table.
PresetTransferTexts PresetTransferOutcome(const PresetTransferKeys& keys, KR::Result result);

// The application's plain OK box (style 0) over the active window; 1 (OK).
std::int32_t ShowDialogMessageBox(const KR::String& text, const KR::String& caption);

// A plain OK box (style 0); nothing when the text is empty (the user's table lacks it).
void ShowPresetTransferOutcome(const PresetTransferTexts& texts);

// Runs `transfer` on the application's MIDI manager for a slot of 0..12, on a thread of its
// own while the windows keep drawing and take no input, and shows the outcome by `keys`
// (no box when the program is told to end meanwhile). A slot outside them (nothing chosen) is refused without
// a transfer (0x80070057) and so shown as the connection failure; 0x80004005 without a manager.
KR::Result TransferPresetSlot(std::int32_t slot, const PresetTransferKeys& keys,
                              KR::Result (*transfer)(KR::LMidiManager& midi, std::uint8_t slot));
