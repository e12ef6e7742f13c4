#pragma once
// The program's message boxes: a modal GTK message dialog with the caption as its title,
// the text, one OK button and the icon the style's bits ask for (0x10 error, 0x20
// question, 0x30 warning, 0x40 information), kept above its owner. The call returns when
// the box is answered (Return, OK or its close box), running a message loop of its own
// meanwhile; the program's other windows take no input until then.
//
//     KR::Platform::MessageBox(0, "The file could not be saved.", "Error", 0x10);   // 1
//
// UI thread only.

#include "platform/window/Messages.h"

#include <cstdint>
#include <string>

namespace KR::Platform
{

// 1 (IDOK) once answered; 0 when it was not: no display to show it on, or the boxes were
// cancelled (ModalBoxes.h) before or while it showed. Texts are UTF-8.
int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption, std::uint32_t style);

} // namespace KR::Platform
