#pragma once
// The system clipboard (the CLIPBOARD selection of the display): text goes out as UTF-8
// for every text target; any other content stays inside the program and the clipboard
// carries only a private mark that says so.
//
//     WriteClipboardText(window, "abc");           // window gets WM_DESTROYCLIPBOARD later
//     ClipboardContents contents;
//     if (GetClipboardSequenceNumber() != seen && ReadClipboard(contents) && contents.hasText) ...
//
// Reading from another program waits for its answer (a few seconds at most) without
// running the message loop: nothing of this program runs meanwhile. UI thread only.

#include "platform/window/Messages.h"

#include <cstdint>
#include <string>

namespace KR::Platform
{

// Counts the changes of the clipboard's owner: a write of this program, and every time
// another program takes the clipboard. Only differences mean anything.
std::uint32_t GetClipboardSequenceNumber();

struct ClipboardContents
{
    bool privateMark = false; // written by this program with WriteClipboardMark
    bool hasText = false;     // some text target is offered
    std::string text;         // its bytes as UTF-8 (not checked: they came from another program)
};

// What the clipboard holds now; text only when there is no private mark. False when the
// clipboard cannot be asked (no display).
bool ReadClipboard(ClipboardContents& out);

// Takes the clipboard with the text (UTF-8), or with the private mark alone. `owner` is
// sent WM_DESTROYCLIPBOARD when the content is replaced (also by the next write of this
// program) and may be 0. False when the clipboard could not be taken.
bool WriteClipboardText(WindowHandle owner, const std::string& utf8);
bool WriteClipboardMark(WindowHandle owner);

} // namespace KR::Platform
