#pragma once
// Opens a document with the desktop's own viewer for its type, through "xdg-open" found
// on PATH, without waiting for it: the program's windows go on answering while the viewer
// starts. Whether it worked is told once, on the UI thread.
//
//     KR::Platform::OpenDocument("/opt/editor/Guide.pdf", [](bool opened) { ... });
//
// UI thread only; the answer comes from the message loop (DispatchPendingMessages or a
// running loop), or at once, inside the call, when the opener cannot be started.

#include <functional>
#include <string>

namespace KR::Platform
{

// `opened` is false when xdg-open cannot be started or ends with a status other than 0
// (the file is missing, no viewer takes it), true when it ends with 0.
void OpenDocument(const std::string& path, std::function<void(bool opened)> done);

} // namespace KR::Platform
