#pragma once
// Reading the clipboard that another program holds, over a display connection of the
// window layer's own: a plain request and answer that runs no message loop, so nothing
// of the program runs while it waits. Only for an owner that is not this program (this
// program could not answer while it waits).

#include "platform/window/Clipboard.h"

#include <cstdint>

namespace KR::Platform::Detail
{

// How often the clipboard has gone to an owner that is not one of this program's windows,
// as the display server reports it, up to now.
std::uint32_t CountForeignOwnerChanges(const char* displayName);

// False when the display cannot be reached; an owner that does not answer in time counts
// as an empty clipboard.
bool ReadForeignClipboard(const char* displayName, const char* privateTarget, ClipboardContents& out);

} // namespace KR::Platform::Detail
