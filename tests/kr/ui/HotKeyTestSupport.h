#pragma once
// The global hot keys of the application's string table, as the program ships them.

#include "kr/core/RCPtr.h"
#include "kr/ui/StringTable.h"

namespace KR::Testing
{

inline RCPtr<LStringTable> ApplicationHotKeyTable()
{
    RCPtr<LStringTable> table(new LStringTable);
    table->SetString(u"GHK.NID_EDIT_COPY_REQ", u"Ctrl+VKEY_C");
    table->SetString(u"GHK.NID_EDIT_CUT_REQ", u"Ctrl+VKEY_X");
    table->SetString(u"GHK.NID_EDIT_DELETE_REQ", u"VKEY_DELETE");
    table->SetString(u"GHK.NID_EDIT_PASTE_REQ", u"Ctrl+VKEY_V");
    table->SetString(u"GHK.NID_BUTTON_TOGGLE_DIALOG_BUTTON", u"VKEY_D");
    table->SetString(u"GHK.NID_MENU_FILE_SAVE_PRESET_TO_FILE", u"Ctrl+VKEY_S");
    table->SetString(u"GHK.NID_MENU_FILE_SEND_PRESET_TO_DEVICE", u"SHIFT+CTRL+VKEY_S");
    table->SetString(u"GHK.NID_MENU_FILE_LOAD_PRESET_FROM_DEVICE", u"SHIFT+CTRL+VKEY_R");
    table->SetString(u"GHK.NID_MENU_FILE_LOAD_PRESET_FROM_FILE", u"Ctrl+VKEY_O");
    table->SetString(u"STATUS_IDLE", u"Ready");
    return table;
}

} // namespace KR::Testing
