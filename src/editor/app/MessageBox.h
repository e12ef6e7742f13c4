#pragma once
// The message box the editor's windows show: the application's own box, owned by its
// root window. A box always reaches the debug log first as
// "MessageBox: <caption> | <text> | <style>", also where no application shows boxes.
//
//     ShowMessageBox(u"The preset file could not be saved.", u"Preset File Save", 0x10);

#include "kr/core/StringT.h"

#include <cstdint>

// The box's result (1, OK).
std::int32_t ShowMessageBox(const KR::String& text, const KR::String& caption, std::uint32_t flags);
