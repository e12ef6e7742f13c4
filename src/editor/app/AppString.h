#pragma once
// GetAppString: one text of the editor's own string table ("|PresetEditor"), which holds
// the message-box texts, file-dialog titles and filter pieces every command and dialog
// shows. A key the table lacks gives an empty text, so a user's edited table that drops a
// text shows an empty box instead of stopping the program.
//
//     ShowMessageBox(GetAppString(u"SETTINGS_FILE_SAVE_FAILED_MESSAGE"),
//                    GetAppString(u"SETTINGS_FILE_SAVE_CAPTION"), 0x10);
//
// UI thread only, as the application whose table it reads.

#include "kr/core/StringT.h"

// Empty also while no application (nor a factory with that table) is installed.
KR::String GetAppString(const KR::String& key);
